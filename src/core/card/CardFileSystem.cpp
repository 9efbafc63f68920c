#include "card/CardFileSystem.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tolvane {

namespace fs = std::filesystem;

bool StdCardFileSystem::exists(const std::string& path) const {
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

std::optional<std::vector<std::uint8_t>> StdCardFileSystem::read(const std::string& path, std::size_t maxBytes) const {
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // Never more than one byte past the limit, and no more than the file holds, so a huge limit costs nothing.
    const auto size = fs::file_size(fs::path(path), ec);
    const std::size_t want = ec ? maxBytes + 1 : static_cast<std::size_t>(std::min<std::uintmax_t>(size, maxBytes) + 1);
    std::vector<std::uint8_t> data(want);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (in.bad()) {
        return std::nullopt;
    }
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

bool StdCardFileSystem::write(const std::string& path, std::span<const std::uint8_t> data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    out.flush();
    return out.good();
}

bool StdCardFileSystem::replaceWithCopy(const std::string& from, const std::string& to) {
    const fs::path target(to);
    fs::path temporary = target;
    temporary += ".tmp~";
    const auto data = read(from, static_cast<std::size_t>(1) << 30);
    if (!data || !write(temporary.string(), *data)) {
        remove(temporary.string());
        return false;
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        remove(temporary.string());
        return false;
    }
    return true;
}

void StdCardFileSystem::remove(const std::string& path) {
    std::error_code ec;
    fs::remove(fs::path(path), ec);
}

} // namespace tolvane
