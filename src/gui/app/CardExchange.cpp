#include "gui/app/CardExchange.h"

#include "TextNumbers.h"
#include "gui/app/AppContext.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/card/CCopyProgress.h"
#include "platform/CardBackups.h"
#include "platform/NativeFile.h"
#include "platform/PlatformCardFileSystem.h"

#include <functional>
#include <string>

namespace tolvane {

card::ReadResult CardExchange::readOne(card::FileKind kind, const QString& folder) {
    PlatformCardFileSystem files;
    const std::string path = card::joinPath(toNativePath(folder), card::fileName(kind));
    card::ReadResult result;
    const EditKey key{ReadStepSection, -1, static_cast<int>(kind)};
    document_.edit({text::ReadFileStep, {std::string(card::fileName(kind))}}, key, [&](ProjectData& project) {
        result = card::readCardFile(project, kind, path, files);
        if (result.ok && kind == card::FileKind::Chimes) {
            project.chimes().markAllChanged();
        }
        if (result.ok && kind == card::FileKind::Programs) {
            // Each schedule page lists its programs in its list's order; reading is where they are put in it.
            project.sortSchedules(document_.listOrders());
        }
    });
    return result;
}

std::vector<CardExchange::FileRead> CardExchange::readAll(const QString& folder) {
    std::vector<FileRead> reads;
    if (folder.isEmpty()) {
        return reads;
    }
    PlatformCardFileSystem files;
    document_.changeAndRestart([&](ProjectData& project) {
        const auto readOne = [&](card::FileKind kind, bool onlyWhenPresent) {
            const std::string path = card::joinPath(toNativePath(folder), card::fileName(kind));
            if (onlyWhenPresent && !files.exists(path)) {
                return;
            }
            reads.push_back({kind, card::readCardFile(project, kind, path, files)});
        };
        readOne(card::FileKind::Programs, true);
        readOne(card::FileKind::Sequences, true);
        readOne(card::FileKind::Config, false);
        readOne(card::FileKind::Chimes, false);
        project.sortSchedules(document_.listOrders());
    });
    return reads;
}

bool CardExchange::allRead(const QString& folder, const std::vector<FileRead>& reads) {
    if (folder.isEmpty()) {
        return false;
    }
    for (const FileRead& read : reads) {
        if (!read.result.ok) {
            return false;
        }
    }
    return true;
}

std::vector<card::WriteResult> CardExchange::write(std::span<const card::FileKind> kinds, const QString& folder,
                                                   QWidget* progressOwner) {
    const std::function<std::vector<card::WriteResult>(ProjectData&)> writeAll = [&](ProjectData& project) {
        CardBackups backups(context_.cardBackupFolder);
        PlatformCardFileSystem files(&backups);
        return card::writeCardFiles(project, kinds, toNativePath(folder), toNativePath(context_.tempFolder), files);
    };
    std::vector<card::WriteResult> results;
    // Writing clears the written groups' marks and changes nothing else: no undo step.
    document_.changeMarks([&](ProjectData& project) {
        if (!progressOwner) {
            results = writeAll(project);
            return;
        }
        const QString destination =
            kinds.size() == 1 ? QString::fromStdString(card::joinPath(folder.toStdString(), card::fileName(kinds[0])))
                              : folder;
        results = CCopyProgress::run<std::vector<card::WriteResult>>(
            destination, progressOwner,
            std::function<std::vector<card::WriteResult>()>([&] { return writeAll(project); }));
    });
    return results;
}

std::vector<card::FileKind> CardExchange::writeBackKinds() const {
    return card::writeBackKinds(document_.project());
}

} // namespace tolvane
