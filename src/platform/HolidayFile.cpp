#include "HolidayFile.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>
#include <vector>

namespace tolvane {

int readHolidayFile(HolidayTable& table, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return HolidayTable::FileCannotOpen;
    }
    // The header and one image at most: whatever follows is not read.
    const QByteArray data = file.read(static_cast<qint64>(3 + HolidayTable::ImageSize));
    const std::vector<std::uint8_t> bytes(data.begin(), data.end());
    return table.readHolidayFile(bytes);
}

} // namespace tolvane
