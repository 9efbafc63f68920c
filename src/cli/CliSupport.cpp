#include "cli/CliSupport.h"

#include "platform/AppPaths.h"
#include "platform/HolidayFile.h"
#include "platform/SafeFile.h"
#include "project/NewProject.h"
#include "project/ProjectFile.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

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
            p.values[name].push_back(*value);
        } else {
            p.error = "unknown option " + a;
            return p;
        }
    }
    return p;
}

int Context::fail(int code, const std::string& what) {
    err << "tolvane-cli: " << printable(what) << '\n';
    return code;
}

std::string outputRefusal(const NativePath& path, bool force) {
    switch (pathKind(path)) {
    case PathKind::Missing:
        return {};
    case PathKind::Folder:
        return path + " is a folder; name a file to write";
    case PathKind::Other:
        return path + " is not a regular file (a device, a pipe or a socket); it is never written";
    case PathKind::RegularFile:
        break;
    }
    return force ? std::string() : path + " already exists (use --force to replace it)";
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::unique_ptr<ProjectData> openProject(Context& c, const NativePath& path, int& exitCode) {
    const FileContent file = readRegularFile(path, static_cast<qint64>(projectfile::MaxFileSize));
    if (!file.ok()) {
        // Larger than any project file is a file refused as not a project; anything else could not be read.
        exitCode = c.fail(file.failure == ReadFailure::TooLarge ? Refused : UsageOrIo,
                          "cannot read " + path + ": " + file.error.toStdString());
        return nullptr;
    }
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(file.data.constData()),
                                 static_cast<std::size_t>(file.data.size()));
    auto result = projectfile::open(bytes, &c.texts);
    if (!result.project) {
        exitCode = c.fail(Refused, path + ": " + textWithNumber(c, result.errorText));
        return nullptr;
    }
    return std::move(result.project);
}

int saveProject(Context& c, ProjectData& project, const NativePath& path) {
    const auto bytes = projectfile::encode(project);
    const QByteArrayView data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    const FileResult written = writeFileAtomically(path, data);
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
    if (!pathExists(toNativePath(holidayFile))) {
        return; // an installation without holiday files: the holidays stay empty
    }
    QString error;
    const int result = readHolidayFile(project.holidays(), holidayFile, &error);
    if (result == HolidayTable::FileCannotOpen) {
        c.err << "tolvane-cli: cannot read " << holidayFile.toStdString() << ": " << error.toStdString()
              << "; no holidays set\n";
    } else if (result != HolidayTable::FileRead) {
        c.err << "tolvane-cli: " << holidayFile.toStdString() << " is not a holiday file; no holidays set\n";
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

std::string printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        char escape[8] = {};
        if (byte == '\n') {
            shown += "\\n";
        } else if (byte == '\t') {
            shown += "\\t";
        } else if (byte == '\r') {
            shown += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            shown += escape;
        } else if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080 to U+009F in UTF-8: the C1 controls, among them the one-character escape sequence starter.
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(text[++i]));
            shown += escape;
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}

} // namespace tolvane::cli
