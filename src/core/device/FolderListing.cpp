#include "device/FolderListing.h"

#include "device/DeviceText.h"

#include <algorithm>
#include <system_error>

namespace tolvane {

namespace {

char32_t foldAscii(char32_t c) {
    return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c;
}

std::string toUtf8(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

} // namespace

// Iterative matching with one remembered '*' position: linear in practice and without recursion, so a hostile
// pattern cannot exhaust the stack.
bool matchesWildcard(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") {
        return true;
    }
    const std::u32string n = utf8ToCodePoints(name);
    const std::u32string p = utf8ToCodePoints(pattern);
    std::size_t ni = 0;
    std::size_t pi = 0;
    std::size_t starPi = std::u32string::npos;
    std::size_t starNi = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == U'?' || (p[pi] != U'*' && foldAscii(p[pi]) == foldAscii(n[ni])))) {
            ++ni;
            ++pi;
        } else if (pi < p.size() && p[pi] == U'*') {
            starPi = pi++;
            starNi = ni;
        } else if (starPi != std::u32string::npos) {
            pi = starPi + 1;
            ni = ++starNi;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*') {
        ++pi;
    }
    return pi == p.size();
}

FolderListing FolderListing::list(const std::filesystem::path& folder, std::string_view pattern, bool fullPaths) {
    namespace fs = std::filesystem;
    struct Found {
        std::string name;
        fs::path path;
    };
    std::vector<Found> found;
    FolderListing result;

    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return result;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            break;
        }
        const fs::directory_entry& entry = *it;
        std::error_code statusError;
        // Only plain files are listed: sub-folders (also through links) and anything we cannot look at stay out.
        if (!entry.is_regular_file(statusError) || statusError) {
            continue;
        }
        std::string name = toUtf8(entry.path().filename());
        if (name == "." || name == ".." || !matchesWildcard(name, pattern)) {
            continue;
        }
        std::error_code sizeError;
        const std::uintmax_t size = entry.file_size(sizeError);
        if (!sizeError) {
            result.totalSize += size;
        }
        found.push_back({std::move(name), entry.path()});
    }

    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.name < b.name; });
    result.entries.reserve(found.size());
    for (auto& f : found) {
        result.entries.push_back(fullPaths ? toUtf8(f.path) : std::move(f.name));
    }
    return result;
}

std::string folderOfPath(std::string_view path) {
    const std::size_t last = path.find_last_of("/\\");
    if (last == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, last + 1));
}

} // namespace tolvane
