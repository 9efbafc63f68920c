#include "LaunchParameters.h"

#include <QFileInfo>

namespace tolvane::launch {

namespace {

struct Token {
    EditorCommand command;
    const char* text;
};
constexpr Token Tokens[] = {
    {EditorCommand::Open, "open"},
    {EditorCommand::New, "new"},
    {EditorCommand::Card, "card"},
    {EditorCommand::Dat, "dat"},
};

const QString Escape = QStringLiteral("$$");

QString decodeArgument(QString argument) {
    return argument.replace(Escape, QStringLiteral(" "));
}

} // namespace

std::optional<QString> editorParameters(EditorCommand command, const QString& argument) {
    if (command == EditorCommand::Nothing) {
        return QString();
    }
    QString encoded = argument;
    if (command == EditorCommand::Open) {
        encoded.replace(QLatin1Char(' '), Escape);
    }
    // The editor splits at the first ';' and turns every "$$" into a space: an argument that does not survive
    // that would reach it as another path.
    if (argument.contains(QLatin1Char(';')) || decodeArgument(encoded) != argument) {
        return std::nullopt;
    }
    for (const Token& token : Tokens) {
        if (token.command == command) {
            return encoded + QLatin1Char(';') + QLatin1String(token.text);
        }
    }
    return std::nullopt;
}

EditorRequest parseEditorParameters(const QString& parameters) {
    if (parameters.isEmpty()) {
        return {};
    }
    const qsizetype split = parameters.indexOf(QLatin1Char(';'));
    if (split < 0) {
        return {EditorCommand::Open, parameters};
    }
    EditorRequest request{EditorCommand::Nothing, decodeArgument(parameters.left(split))};
    const QString token = parameters.mid(split + 1);
    for (const Token& known : Tokens) {
        if (token == QLatin1String(known.text)) {
            request.command = known.command;
        }
    }
    if (request.command == EditorCommand::Dat) {
        request.argument = withTrailingSeparator(request.argument);
    }
    return request;
}

EditorRequest editorRequestFromArgument(const QString& argument) {
    if (!argument.isEmpty() && QFileInfo(argument).isFile()) {
        return {EditorCommand::Open, QDir::cleanPath(QFileInfo(argument).absoluteFilePath())};
    }
    EditorRequest request = parseEditorParameters(argument);
    if (request.command == EditorCommand::Open && !request.argument.isEmpty()) {
        request.argument = QDir::cleanPath(QFileInfo(request.argument).absoluteFilePath());
    }
    return request;
}

QString withTrailingSeparator(const QString& folder, QChar separator) {
    if (folder.endsWith(separator) || folder.endsWith(QLatin1Char('/'))) {
        return folder;
    }
    return folder + separator;
}

QString nativeFolder(const QString& folder) {
    return withTrailingSeparator(QDir::toNativeSeparators(folder));
}

} // namespace tolvane::launch
