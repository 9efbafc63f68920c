#pragma once

#include "schedules/HolidayTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The readable form of a country's holiday table, from which the holiday seed files are made at build time.
// One holiday per line, four fields separated by tabs:
//
//   kind    fixed | movable
//   date    fixed: day.month (25.12); movable: signed days from Easter Sunday (+1, -2, 0)
//   days    how many days the holiday lasts, 1-366
//   name    the name in the country's language (UTF-8), as the controller shows it
//
// Blank lines and lines starting with '#' are ignored. Anything the controller could not show exactly (a name
// wider than the display or with a character the device font lacks), a date that does not exist, a duplicate or
// a 129th holiday is an error: a seed file must read back as exactly the table it was written from.
class HolidaySource {
public:
    struct Error {
        int line = 0; // 1-based; 0 for errors of the table as a whole
        std::string message;
    };

    // Resets `table` and fills slots 0, 1, 2, ... in line order. On errors the table holds the lines read
    // without error; every error is returned, so a build reports all of them at once.
    static std::vector<Error> parse(std::string_view text, HolidayTable& table);

    // The bytes of a holiday file: 'Q', 1, 2, then the table's 11,264-byte image.
    static std::vector<std::uint8_t> holidayFile(const HolidayTable& table);
};

} // namespace tolvane
