#include "LanguageCatalog.h"

#include "NativeFile.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <algorithm>

namespace tolvane {
namespace {

// A text number: plain decimal digits without sign, spaces or leading zeros, 0-65535. One spelling per number, so
// "102" and "0102" can never both claim text 102.
std::optional<int> textId(const QString& key) {
    if (key.isEmpty() || key.size() > 5 || (key.size() > 1 && key.front() == u'0')) {
        return std::nullopt;
    }
    int id = 0;
    for (const QChar c : key) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        id = id * 10 + (c.unicode() - u'0');
    }
    if (id > LanguageCatalog::MaxTextId) {
        return std::nullopt;
    }
    return id;
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

std::optional<std::uint32_t> versionNumber(const QJsonValue& value) {
    const QString text = value.toString();
    if (text.size() < 3 || text.size() > 10 || !text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (qsizetype i = 2; i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0) {
            return std::nullopt;
        }
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return number;
}

// Cuts a text at its first NUL and to MaxTextLength code points, and gives it as UTF-8.
std::string catalogText(const QString& text) {
    // Nearly every text holds no NUL and no surrogate and is no longer than the limit: it is taken as it stands,
    // without the round trip through code points.
    if (text.size() <= LanguageCatalog::MaxTextLength &&
        std::none_of(text.begin(), text.end(), [](QChar c) { return c.isNull() || c.isSurrogate(); })) {
        return text.toStdString();
    }
    std::u32string codePoints = text.toStdU32String();
    const auto nul = codePoints.find(U'\0');
    if (nul != std::u32string::npos) {
        codePoints.resize(nul);
    }
    if (codePoints.size() > static_cast<std::size_t>(LanguageCatalog::MaxTextLength)) {
        codePoints.resize(LanguageCatalog::MaxTextLength);
    }
    return QString::fromStdU32String(codePoints).toStdString();
}

void setError(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
}

} // namespace

std::optional<LanguageCatalog> LanguageCatalog::load(const QString& path, QString* error) {
    if (!QFileInfo::exists(path)) {
        setError(error, QStringLiteral("%1: no such file").arg(path));
        return std::nullopt;
    }
    const FileContent content = readRegularFile(toNativePath(path), MaxFileSize);
    if (!content.ok()) {
        setError(error, QStringLiteral("%1: %2").arg(path, content.failure == ReadFailure::TooLarge
                                                               ? QStringLiteral("file too large")
                                                               : content.error));
        return std::nullopt;
    }
    const QByteArray& data = content.data;
    QString parseError;
    auto catalog = parse(data, &parseError);
    if (!catalog) {
        setError(error, QStringLiteral("%1: %2").arg(path, parseError));
    }
    return catalog;
}

std::optional<LanguageCatalog> LanguageCatalog::parse(const QByteArray& json, QString* error) {
    if (json.size() > MaxFileSize) {
        setError(error, QStringLiteral("too large"));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        setError(error,
                 QStringLiteral("not JSON (%1 at byte %2)").arg(parseError.errorString()).arg(parseError.offset));
        return std::nullopt;
    }
    if (!document.isObject()) {
        setError(error, QStringLiteral("not a JSON object"));
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    const QJsonValue texts = root.value(QLatin1String("texts"));
    if (!texts.isObject()) {
        setError(error, QStringLiteral("\"texts\" is missing or not an object"));
        return std::nullopt;
    }
    LanguageCatalog catalog;
    catalog.version_ = versionNumber(root.value(QLatin1String("version")));
    const QJsonObject entries = texts.toObject();
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const auto id = textId(it.key());
        if (!id || !it.value().isString()) {
            ++catalog.skipped_;
            continue;
        }
        catalog.texts_[*id] = catalogText(it.value().toString());
    }
    return catalog;
}

std::optional<std::string> LanguageCatalog::find(int id) const {
    const auto it = texts_.find(id);
    if (it == texts_.end()) {
        return std::nullopt;
    }
    return it->second;
}

} // namespace tolvane
