#include "gui/settings/CPropDruk.h"

#include "platform/PlatformCardFileSystem.h"
#include "platform/PrintWriter.h"
#include "project/TextFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tolvane {

namespace {
constexpr int TextList = 699;
constexpr int TextDetails = 700;
constexpr int TextPrint = 701;
} // namespace

CPropDruk::CPropDruk(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), formatGroup_(new QGroupBox(this)), list_(new QRadioButton(formatGroup_)),
      details_(new QRadioButton(formatGroup_)), print_(new QPushButton(this)) {
    formatGroup_->setObjectName(QStringLiteral("formatGroup"));
    list_->setObjectName(QStringLiteral("listFormat"));
    details_->setObjectName(QStringLiteral("detailsFormat"));
    print_->setObjectName(QStringLiteral("print"));
    list_->setChecked(true);
    // Enter presses the focused button, as Space does.
    print_->setAutoDefault(true);

    connect(list_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            format_ = PrintFormat::List;
        }
    });
    connect(details_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            format_ = PrintFormat::Details;
        }
    });
    connect(print_, &QPushButton::clicked, this, &CPropDruk::print);

    auto* radios = new QVBoxLayout(formatGroup_);
    radios->addWidget(list_);
    radios->addWidget(details_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 10, 12, 12);
    layout->addWidget(formatGroup_, 0, Qt::AlignLeft);
    layout->addLayout(buttons);
    layout->addStretch(1);
    setTabOrder(list_, details_);
    setTabOrder(details_, print_);
}

void CPropDruk::refreshTexts() {
    formatGroup_->setTitle(text(TextFormatGroup));
    list_->setText(text(TextList));
    details_->setText(text(TextDetails));
    print_->setText(text(TextPrint));
    // A radio button is announced with its group, so the reader hears what the choice is about.
    list_->setAccessibleName(text(TextFormatGroup) + QStringLiteral(": ") + text(TextList));
    details_->setAccessibleName(text(TextFormatGroup) + QStringLiteral(": ") + text(TextDetails));
    print_->setAccessibleName(text(TextPrint));
}

QString CPropDruk::formatted(int textId, const QString& argument) const {
    return QString::fromStdString(formatText(context().texts.text(textId), {argument.toStdString()}));
}

// Writes Print.html into the editor's folder of this run (removed when the editor ends, and nobody else's) and
// hands it to the desktop. A document that could not be written is reported and nothing is opened.
void CPropDruk::print() {
    if (!project()) {
        return;
    }
    const std::string html = PrintDocument::html(*project(), context().texts, format_);
    const PrintWriter writer(context().tempFolder, context().paths.printFolder());
    const PrintWriter::Result result =
        writer.writeAndOpen(html, [this](const QString& path) { return context().starter.openDocument(path); });
    if (!result.written) {
        const QString path = QDir(context().tempFolder).filePath(QString::fromLatin1(PrintWriter::FileName));
        QString message = formatted(TextWriteFailed, QDir::toNativeSeparators(path));
        if (!result.error.isEmpty()) {
            message += QLatin1Char('\n') + formatted(TextSystemReason, result.error);
        }
        showWarning(message);
        return;
    }
    guardPrintout(result.path);
    if (!result.opened) {
        showWarning(formatted(TextOpenFailed, QDir::toNativeSeparators(result.path)));
    }
}

void CPropDruk::guardPrintout(const QString& document) {
    if (!guards_.empty()) {
        return; // the same names each time
    }
    guards_.emplace_back(toNativePath(document), RemoveOnSignal::Kind::File);
    const QDir copies(QFileInfo(document).dir().filePath(QString::fromLatin1(PrintWriter::FolderName)));
    for (const QString& name : QDir(context().paths.printFolder()).entryList(QDir::Files, QDir::Name)) {
        guards_.emplace_back(toNativePath(copies.filePath(name)), RemoveOnSignal::Kind::File);
    }
    guards_.emplace_back(toNativePath(copies.path()), RemoveOnSignal::Kind::Folder);
}

} // namespace tolvane
