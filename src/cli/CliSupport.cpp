#include "cli/CliSupport.h"

#include "platform/AppPaths.h"
#include "platform/SafeFile.h"
#include "project/NewProject.h"
#include "project/ProjectFile.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <optional>

namespace tolvane::cli {

Parsed parse(const Args& args, const std::vector<std::string>& valueOptions, const std::vector<std::string>& flags) {
    Parsed p;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a == "--") {
            p.positional.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (std::find(flags.begin(), flags.end(), name) != flags.end() && !value) {
            p.options[name] = "";
        } else if (std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end()) {
            if (!value) {
                if (i + 1 >= args.size()) {
                    p.error = "option --" + name + " needs a value";
                    return p;
                }
                value = args[++i];
            }
            p.options[name] = *value;
        } else {
            p.error = "unknown option " + a;
            return p;
        }
    }
    return p;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::unique_ptr<ProjectData> openProject(Context& c, const std::string& path, int& exitCode) {
    QString error;
    const auto data = readWholeFile(qs(path), &error);
    if (!data) {
        exitCode = c.fail(UsageOrIo, "cannot read " + path + ": " + error.toStdString());
        return nullptr;
    }
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(data->constData()), static_cast<std::size_t>(data->size()));
    auto result = projectfile::open(bytes, &c.texts);
    if (!result.project) {
        exitCode = c.fail(Refused, path + ": " + textWithNumber(c, result.errorText));
        return nullptr;
    }
    return std::move(result.project);
}

int saveProject(Context& c, ProjectData& project, const std::string& path) {
    const auto bytes = projectfile::encode(project);
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    const FileResult written = writeFileAtomically(qs(path), data);
    if (!written.ok) {
        return c.fail(UsageOrIo, "cannot write " + path + ": " + written.error.toStdString());
    }
    projectfile::markSaved(project);
    return Success;
}

void applyLanguageDefaults(Context& c, ProjectData& project) {
    const NewProjectLanguage defaults = newProjectLanguage(c.language);
    if (!defaults.known) {
        return;
    }
    project.general().setControllerLanguage(defaults.controllerLanguage);
    const QString holidayFile = QDir(AppPaths::forApplication().dataFolder()).filePath(qs(defaults.holidayFile));
    if (const auto data = readWholeFile(holidayFile)) {
        const auto bytes =
            std::span(reinterpret_cast<const std::uint8_t*>(data->constData()), static_cast<std::size_t>(data->size()));
        if (readHolidayFile(project.holidays(), bytes) != 0) {
            c.err << "tolvane-cli: " << holidayFile.toStdString() << " is not a holiday file; no holidays set\n";
        }
    }
}

void startNewProject(Context& c, ProjectData& project) {
    project.setTextSource(&c.texts);
    applyLanguageDefaults(c, project);
    project.clearModifiedAll();
}

std::string textWithNumber(const Context& c, int id) {
    return c.texts.text(id) + " (text " + std::to_string(id) + ")";
}

} // namespace tolvane::cli
