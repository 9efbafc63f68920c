#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tolvane {

// One language catalog: the user-interface texts of one language by number, read from a JSON file
//   {"version": "0x02000001", "texts": {"102": "Tak", "103": "Nie", ...}}
// Catalogs are data that anyone can edit, so reading one never trusts it: a file that is not JSON, not an object,
// whose "texts" is not an object, or that is larger than MaxFileSize is refused as a whole; an entry whose key is
// not a number 0-65535 written in plain digits, or whose value is not a string, is skipped (that text is then
// missing). Every text is cut at its first NUL character and to at most MaxTextLength characters (code points).
class LanguageCatalog {
public:
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;
    static constexpr int MaxTextLength = 255;
    static constexpr int MaxTextId = 65535;

    // Reads a catalog file; without one (missing, unreadable, too large, malformed) the reason goes to *error.
    static std::optional<LanguageCatalog> load(const QString& path, QString* error = nullptr);
    // Reads a catalog from the bytes of its file.
    static std::optional<LanguageCatalog> parse(const QByteArray& json, QString* error = nullptr);

    // The number in "version" ("0x" and one to eight hex digits), none when it is missing or written otherwise.
    std::optional<std::uint32_t> version() const { return version_; }
    // The text with this number as UTF-8, none when the catalog does not have it.
    std::optional<std::string> find(int id) const;
    const std::map<int, std::string>& texts() const { return texts_; }
    // Entries skipped because of a bad key or a value that is not a string.
    int skippedEntries() const { return skipped_; }

private:
    std::optional<std::uint32_t> version_;
    std::map<int, std::string> texts_;
    int skipped_ = 0;
};

} // namespace tolvane
