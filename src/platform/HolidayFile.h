#pragma once

#include "schedules/HolidayTable.h"

#include <QString>

namespace tolvane {

// Reads the holiday file at `path` into `table`: 0 read (the table replaced), 1 the file cannot be opened,
// 2 not a holiday file, 3 another version of it. On any result but 0 the table is unchanged.
int readHolidayFile(HolidayTable& table, const QString& path);

} // namespace tolvane
