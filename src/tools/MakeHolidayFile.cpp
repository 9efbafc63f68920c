// Build step: turns a readable holiday table (data/holidays/XX.tsv) into the holiday seed file the editor loads
// into a new project. Any malformed line stops the build with the file, the line and what is wrong.

#include "schedules/HolidaySource.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: MakeHolidayFile SOURCE.tsv OUTPUT.dat\n";
        return 2;
    }
    const fs::path source = argv[1];
    const fs::path output = argv[2];

    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << source.string() << ": error: cannot be read\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    tolvane::HolidayTable table;
    const auto errors = tolvane::HolidaySource::parse(text, table);
    for (const auto& e : errors) {
        std::cerr << source.string() << ":" << e.line << ": error: " << e.message << "\n";
    }
    if (!errors.empty()) {
        return 1;
    }

    // Written beside the target and renamed, so an interrupted build never leaves a half-written seed file.
    std::error_code ec;
    fs::create_directories(output.parent_path(), ec);
    const fs::path partial = output.string() + ".part";
    {
        const auto bytes = tolvane::HolidaySource::holidayFile(table);
        const std::string data(bytes.begin(), bytes.end());
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        if (!out.flush()) {
            std::cerr << output.string() << ": error: cannot be written\n";
            return 1;
        }
    }
    fs::rename(partial, output, ec);
    if (ec) {
        std::cerr << output.string() << ": error: " << ec.message() << "\n";
        return 1;
    }
    return 0;
}
