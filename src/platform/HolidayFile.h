#pragma once

#include "NativeFile.h"
#include "schedules/HolidayTable.h"

#include <QString>

namespace tolvane {

// Reads the holiday file at `path` into `table`: 0 read (the table replaced), 1 the file cannot be opened or is
// refused unread (not a regular file, or larger than the largest holiday file; `error` says why), 2 not a holiday
// file, 3 another version of it. On any result but 0 the table is unchanged.
int readHolidayFile(HolidayTable& table, const NativePath& path, QString* error = nullptr);
int readHolidayFile(HolidayTable& table, const QString& path, QString* error = nullptr);

} // namespace tolvane
