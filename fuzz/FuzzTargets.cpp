#include "FuzzTargets.h"

#include "TextNumbers.h"
#include "card/CardFiles.h"
#include "card/CardImages.h"
#include "platform/LanguageCatalog.h"
#include "project/ProjectFile.h"
#include "project/TextFormat.h"
#include "schedules/HolidayTable.h"

#include <QByteArray>

#include <algorithm>
#include <map>
#include <vector>

namespace tolvane::fuzz {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The offset of the first byte where two buffers differ, as text for a finding.
std::string firstDifference(const Bytes& a, const Bytes& b) {
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return "sizes " + std::to_string(a.size()) + "/" + std::to_string(b.size()) + ", first difference at byte " +
           std::to_string(ia - a.begin());
}

// Card files held in memory, so a check reads its input through the same calls as a real card.
class MemoryCardFiles final : public CardFileSystem {
public:
    std::map<std::string, Bytes> files;

    bool exists(const std::string& path) const override { return files.count(path) != 0; }
    std::optional<Bytes> read(const std::string& path, std::size_t maxBytes) const override {
        const auto it = files.find(path);
        if (it == files.end()) {
            return std::nullopt;
        }
        const std::size_t n = std::min(it->second.size(), maxBytes + 1);
        return Bytes(it->second.begin(), it->second.begin() + static_cast<std::ptrdiff_t>(n));
    }
    bool write(const std::string& path, std::span<const std::uint8_t> data) override {
        files[path] = Bytes(data.begin(), data.end());
        return true;
    }
    bool replaceWithCopy(const std::string& from, const std::string& to) override {
        const auto it = files.find(from);
        if (it == files.end()) {
            return false;
        }
        files[to] = it->second;
        return true;
    }
    void remove(const std::string& path) override { files.erase(path); }
};

Bytes packCard(ProjectData& project, card::FileKind kind) {
    Bytes image(card::fileSize(kind), 0xFF);
    const std::span<std::uint8_t> all(image);
    switch (kind) {
    case card::FileKind::Programs:
        card::packProgramsImage(project, all.first<card::ImageSize>());
        break;
    case card::FileKind::Config:
        card::packConfigImage(project, all.first<card::ImageSize>());
        break;
    case card::FileKind::Sequences:
        card::packSequencesImage(project, all.first<card::ImageSize>());
        break;
    case card::FileKind::Chimes:
        card::packChimesImage(project, all.first<card::ChimesImageSize>());
        break;
    }
    return image;
}

// Reads `file` as the card file of `kind` into `project`.
card::ReadResult readCard(ProjectData& project, card::FileKind kind, const Bytes& file) {
    MemoryCardFiles files;
    const std::string path = card::joinPath("card", card::fileName(kind));
    files.files[path] = file;
    return card::readCardFile(project, kind, path, files);
}

std::string cardFile(card::FileKind kind, std::span<const std::uint8_t> data) {
    // The bytes as they are: mostly refused (size, format tag, checksum), always with a text.
    {
        ProjectData project;
        const card::ReadResult raw = readCard(project, kind, Bytes(data.begin(), data.end()));
        if (!raw.ok && raw.text == 0) {
            return "a refused file gave no text";
        }
        if (raw.ok) {
            (void)project.validate();
        }
    }

    // The bytes made into a file the reader accepts (full size, format tag, matching checksum), so that every
    // input reaches the unpackers and the check of the content.
    Bytes file(card::fileSize(kind), 0xFF);
    std::copy_n(data.begin(), std::min(data.size(), file.size()), file.begin());
    if (kind != card::FileKind::Chimes) {
        const std::string_view tag = CardIdentity::CardFormatTag;
        std::copy(tag.begin(), tag.end(), file.begin() + card::TrailerOffset);
        bytes::putU16BE(file, card::ChecksumOffset, card::imageChecksum(file));
    }
    ProjectData project;
    const card::ReadResult read = readCard(project, kind, file);
    if (!read.ok) {
        return "a well-formed file was refused with text " + std::to_string(read.text);
    }
    (void)project.validate();

    // Writing what was read and reading that back is stable: the second file equals the first.
    const Bytes first = packCard(project, kind);
    ProjectData again;
    const card::ReadResult reread = readCard(again, kind, first);
    if (!reread.ok) {
        return "a packed file was refused with text " + std::to_string(reread.text);
    }
    const Bytes second = packCard(again, kind);
    if (first != second) {
        return "packing the file read back gives other bytes: " + firstDifference(first, second);
    }
    return {};
}

// A well-formed UTF-8 text's length in code points: every byte that does not continue a sequence.
std::size_t codePoints(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

std::string projectFile(std::span<const std::uint8_t> data) {
    constexpr int Refusals[] = {text::NotAProject, text::ProjectWrongFormat, text::UnknownSection,
                                text::ProjectDamaged};
    auto opened = projectfile::open(data);
    if (!opened.project) {
        if (std::find(std::begin(Refusals), std::end(Refusals), opened.errorText) == std::end(Refusals)) {
            return "refused with text " + std::to_string(opened.errorText);
        }
        return {};
    }
    (void)opened.project->validate();

    // An accepted file stores as a whole project, and storing what that reads back gives the same bytes.
    const Bytes first = projectfile::store(*opened.project);
    if (first.size() != 121663) {
        return "a stored project has " + std::to_string(first.size()) + " bytes";
    }
    auto again = projectfile::open(first);
    if (!again.project) {
        return "a stored project was refused with text " + std::to_string(again.errorText);
    }
    const Bytes second = projectfile::store(*again.project);
    if (first != second) {
        return "storing the project read back gives other bytes: " + firstDifference(first, second);
    }
    return {};
}

std::string programsFile(std::span<const std::uint8_t> data) {
    return cardFile(card::FileKind::Programs, data);
}
std::string configFile(std::span<const std::uint8_t> data) {
    return cardFile(card::FileKind::Config, data);
}
std::string sequencesFile(std::span<const std::uint8_t> data) {
    return cardFile(card::FileKind::Sequences, data);
}
std::string chimesFile(std::span<const std::uint8_t> data) {
    return cardFile(card::FileKind::Chimes, data);
}

std::string holidayFile(std::span<const std::uint8_t> data) {
    HolidayTable table;
    const int result = table.readHolidayFile(data);
    if (result == HolidayTable::FileBadMark || result == HolidayTable::FileBadVersion) {
        return {};
    }
    if (result != HolidayTable::FileRead) {
        return "unexpected result " + std::to_string(result);
    }
    // Everything the holiday page and the report show of the slots.
    for (int i = 0; i < HolidayTable::Count; ++i) {
        (void)table.name(i);
        (void)table.dateText(i);
        (void)table.offsetText(i);
        (void)table.sortKey(i);
    }
    IssueList issues;
    table.validate(issues);
    for (const ValidationIssue& issue : issues) {
        if (issue.item < 0 || issue.item >= HolidayTable::Count) {
            return "an issue names slot " + std::to_string(issue.item);
        }
    }
    Bytes first(HolidayTable::ImageSize, 0xFF);
    table.packImage(first);
    HolidayTable again;
    again.unpackImage(first);
    Bytes second(HolidayTable::ImageSize, 0xFF);
    again.packImage(second);
    if (first != second) {
        return "packing the table read back gives other bytes: " + firstDifference(first, second);
    }
    return {};
}

// The input is a format and its arguments separated by NUL bytes. An argument that begins with '#' is a number
// made of the (up to eight) bytes after it, little-endian; any other argument is a string.
std::string textFormat(std::span<const std::uint8_t> data) {
    const std::string_view all(reinterpret_cast<const char*>(data.data()), data.size());
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t end = all.find('\0', start);
        pieces.push_back(all.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    const std::string_view format = pieces.front();
    std::vector<TextArg> args;
    std::size_t argumentBytes = 0;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        const std::string_view piece = pieces[i];
        if (!piece.empty() && piece.front() == '#') {
            unsigned long long value = 0;
            for (std::size_t b = 1; b < piece.size() && b <= 8; ++b) {
                value |= static_cast<unsigned long long>(static_cast<unsigned char>(piece[b])) << (8 * (b - 1));
            }
            args.emplace_back(static_cast<long long>(value));
            argumentBytes += 24; // the longest number text, with its sign
        } else {
            args.emplace_back(std::string(piece));
            argumentBytes += piece.size();
        }
    }
    const std::string out = formatText(format, args);
    (void)placeholderKinds(format);
    // Each placeholder adds at most 255 characters of padding, of one byte each, or one code point (%c).
    const auto percents = static_cast<std::size_t>(std::count(format.begin(), format.end(), '%'));
    const std::size_t limit = format.size() + argumentBytes + percents * 255 + args.size() * 4;
    if (out.size() > limit) {
        return "output of " + std::to_string(out.size()) + " bytes, limit " + std::to_string(limit);
    }
    return {};
}

std::string languageCatalog(std::span<const std::uint8_t> data) {
    const QByteArray json(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    const auto catalog = LanguageCatalog::parse(json);
    if (!catalog) {
        return {};
    }
    for (const auto& [id, text] : catalog->texts()) {
        if (id < 0 || id > LanguageCatalog::MaxTextId) {
            return "a text numbered " + std::to_string(id);
        }
        if (text.find('\0') != std::string::npos) {
            return "text " + std::to_string(id) + " holds a NUL";
        }
        if (codePoints(text) > static_cast<std::size_t>(LanguageCatalog::MaxTextLength)) {
            return "text " + std::to_string(id) + " is longer than allowed";
        }
        if (catalog->find(id) != text) {
            return "text " + std::to_string(id) + " is not found by its number";
        }
        // The program fills catalog texts with its own arguments; a hostile text must not get more than it is given.
        (void)placeholderKinds(text);
        (void)formatText(text, {42LL, std::string("Tolvane"), -1LL});
        (void)formatText(text, {std::string("Tolvane"), 0x10FFFFLL});
        (void)formatText(text, {});
    }
    return {};
}

} // namespace tolvane::fuzz
