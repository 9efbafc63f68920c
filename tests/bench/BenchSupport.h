#pragma once

#include "FullProject.h"

#include "project/ProjectFile.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tolvane::bench {

// The middle value of timings taken alternately in one run; 0 when there are none.
inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Writes a project filled to every table's capacity to `path`, for benchmarks that start whole programs on it.
inline bool writeFullProject(const QString& path) {
    ProjectData project;
    testing_support::fillProject(project);
    const std::vector<std::uint8_t> bytes = projectfile::encode(project);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

} // namespace tolvane::bench
