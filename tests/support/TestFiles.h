#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <span>
#include <string_view>
#include <vector>

namespace tolvane::testing_support {

// The whole content of a file; empty when it cannot be read.
inline std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Creates or replaces a file with exactly these bytes.
inline void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    writeFile(path, std::span<const std::uint8_t>(bytes));
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names in a folder (not below it).
inline std::set<std::string> names(const std::filesystem::path& folder) {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        found.insert(entry.path().filename().string());
    }
    return found;
}

// Every regular file below a folder with its bytes, by its path relative to the folder.
inline std::map<std::string, std::vector<std::uint8_t>> contents(const std::filesystem::path& folder) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), folder).string()] = readFile(entry.path());
        }
    }
    return files;
}

} // namespace tolvane::testing_support
