#include "gui/app/CTarvelinDoc.h"

#include "platform/AppPaths.h"
#include "platform/HolidayFile.h"
#include "platform/SafeFile.h"
#include "project/ProjectFile.h"

#include <QFileInfo>

#include <span>

namespace tolvane {

CTarvelinDoc::CTarvelinDoc(const TextSource* texts, QObject* parent)
    : QObject(parent), texts_(texts), project_(std::make_unique<ProjectData>()) {
    project_->setTextSource(texts_);
}

CTarvelinDoc::~CTarvelinDoc() = default;

void CTarvelinDoc::notifyChanged() {
    emit projectChanged();
}

void CTarvelinDoc::notifyReplaced() {
    emit projectReplaced();
}

void CTarvelinDoc::applyLanguageDefaults(const QString& language, const AppPaths& paths) {
    struct LanguageDefault {
        const char* language;
        const char* holidayFile;
        std::uint8_t controllerLanguage;
    };
    static constexpr LanguageDefault Defaults[] = {
        {"Polski", "swietaPL.dat", 0},
        {"Deutsch", "swietaDE.dat", 1},
        {"Francais", "swietaFR.dat", 3},
    };
    for (const LanguageDefault& entry : Defaults) {
        if (language != QLatin1String(entry.language)) {
            continue;
        }
        project_->general().setControllerLanguage(entry.controllerLanguage);
        const QString file = paths.dataFile(QString::fromLatin1(entry.holidayFile));
        if (QFileInfo::exists(file)) {
            readHolidayFile(project_->holidays(), file);
        }
        return;
    }
}

int CTarvelinDoc::open(const QString& path, QString* systemError) {
    const std::optional<QByteArray> bytes = readWholeFile(path, systemError);
    if (!bytes) {
        // The file cannot be read at all: the refusal of a file that ends before its header.
        return projectfile::TextDamaged;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->constData());
    projectfile::OpenResult result =
        projectfile::open(std::span<const std::uint8_t>(data, static_cast<std::size_t>(bytes->size())), texts_);
    if (!result.project) {
        return result.errorText;
    }
    project_ = std::move(result.project);
    project_->setTextSource(texts_);
    path_ = path;
    emit projectReplaced();
    return 0;
}

QString CTarvelinDoc::save(const QString& path) {
    // The marks are cleared only once the file is safely written: a failed save leaves the project unsaved.
    const std::vector<std::uint8_t> bytes = projectfile::encode(*project_);
    const FileResult written = writeFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    if (!written.ok) {
        return written.error.isEmpty() ? QStringLiteral("?") : written.error;
    }
    projectfile::markSaved(*project_);
    path_ = path;
    emit projectReplaced();
    return {};
}

} // namespace tolvane
