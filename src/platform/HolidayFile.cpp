#include "HolidayFile.h"

#include <cstdint>
#include <span>

namespace tolvane {

int readHolidayFile(HolidayTable& table, const NativePath& path, QString* error) {
    const FileContent content = readRegularFile(path, static_cast<qint64>(HolidayTable::MaxFileSize));
    if (!content.ok()) {
        if (error) {
            *error = content.error;
        }
        return HolidayTable::FileCannotOpen;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(content.data.constData());
    return table.readHolidayFile(std::span(bytes, static_cast<std::size_t>(content.data.size())));
}

int readHolidayFile(HolidayTable& table, const QString& path, QString* error) {
    return readHolidayFile(table, toNativePath(path), error);
}

} // namespace tolvane
