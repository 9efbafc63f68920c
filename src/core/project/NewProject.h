#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvane {

// What a new project takes from the editor's language: the country's holiday file in the Data folder and the
// language of the controller's own menus. Other languages leave the holidays empty and the language unchanged.
struct NewProjectLanguage {
    bool known = false;
    std::string holidayFile; // file name inside the Data folder
    std::uint8_t controllerLanguage = 0;
};

inline NewProjectLanguage newProjectLanguage(std::string_view language) {
    if (language == "Polski") {
        return {true, "swietaPL.dat", 0};
    }
    if (language == "Deutsch") {
        return {true, "swietaDE.dat", 1};
    }
    if (language == "Francais") {
        return {true, "swietaFR.dat", 3};
    }
    return {};
}

} // namespace tolvane
