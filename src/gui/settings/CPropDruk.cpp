#include "gui/settings/CPropDruk.h"

#include "TextNumbers.h"
#include "gui/app/CTarvelinDoc.h"
#include "pdf/PdfWriter.h"
#include "platform/PlatformCardFileSystem.h"
#include "platform/PrintWriter.h"
#include "project/TextFormat.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tolvane {

CPropDruk::CPropDruk(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), formatGroup_(new QGroupBox(this)), list_(new QRadioButton(formatGroup_)),
      details_(new QRadioButton(formatGroup_)), whole_(new QCheckBox(this)), print_(new QPushButton(this)),
      exportPdf_(new QPushButton(this)), pdfHolds_(new QLabel(this)) {
    formatGroup_->setObjectName(QStringLiteral("formatGroup"));
    list_->setObjectName(QStringLiteral("listFormat"));
    details_->setObjectName(QStringLiteral("detailsFormat"));
    print_->setObjectName(QStringLiteral("print"));
    whole_->setObjectName(QStringLiteral("wholeConfiguration"));
    exportPdf_->setObjectName(QStringLiteral("exportPdf"));
    list_->setChecked(true);
    // Enter presses the focused button, as Space does.
    print_->setAutoDefault(true);
    exportPdf_->setAutoDefault(true);
    pdfHolds_->setBuddy(exportPdf_);

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
    connect(exportPdf_, &QPushButton::clicked, this, &CPropDruk::exportPdf);

    auto* radios = new QVBoxLayout(formatGroup_);
    radios->addWidget(list_);
    radios->addWidget(details_);
    formatGroup_->setMinimumWidth(220);
    auto* printRow = new QHBoxLayout;
    printRow->addWidget(print_);
    printRow->addStretch(1);
    auto* pdfRow = new QHBoxLayout;
    pdfRow->addWidget(exportPdf_);
    pdfRow->addWidget(pdfHolds_);
    pdfRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 10, 12, 12);
    layout->addWidget(formatGroup_, 0, Qt::AlignLeft);
    layout->addWidget(whole_);
    layout->addLayout(printRow);
    layout->addSpacing(16);
    layout->addLayout(pdfRow);
    layout->addStretch(1);
    setTabOrder(list_, details_);
    setTabOrder(details_, whole_);
    setTabOrder(whole_, print_);
    setTabOrder(print_, exportPdf_);
}

void CPropDruk::refreshTexts() {
    formatGroup_->setTitle(text(text::PrintFormatGroup));
    list_->setText(text(text::PrintList));
    details_->setText(text(text::PrintDetails));
    print_->setText(text(text::Print));
    // A radio button is announced with its group, so the reader hears what the choice is about.
    list_->setAccessibleName(text(text::PrintFormatGroup) + QStringLiteral(": ") + text(text::PrintList));
    details_->setAccessibleName(text(text::PrintFormatGroup) + QStringLiteral(": ") + text(text::PrintDetails));
    print_->setAccessibleName(text(text::Print));
    whole_->setText(text(text::WholeConfiguration));
    whole_->setAccessibleName(text(text::WholeConfiguration));
    exportPdf_->setText(text(text::ExportPdf));
    exportPdf_->setAccessibleName(text(text::ExportPdf));
    exportPdf_->setAccessibleDescription(text(text::PdfHolds));
    pdfHolds_->setText(text(text::PdfHolds));
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
    const std::string html =
        PrintDocument::html(*project(), context().texts, format_,
                            whole_->isChecked() ? PrintContent::WholeConfiguration : PrintContent::Programs);
    const PrintWriter writer(context().tempFolder, context().paths.printFolder());
    const PrintWriter::Result result =
        writer.writeAndOpen(html, [this](const QString& path) { return context().starter.openDocument(path); });
    if (!result.written) {
        const QString path = QDir(context().tempFolder).filePath(QString::fromLatin1(PrintWriter::FileName));
        QString message = formatted(text::PrintWriteFailed, QDir::toNativeSeparators(path));
        if (!result.error.isEmpty()) {
            message += QLatin1Char('\n') + formatted(text::SystemReason, result.error);
        }
        showWarning(message);
        return;
    }
    guardPrintout(result.path);
    if (!result.opened) {
        showWarning(formatted(text::PrintOpenFailed, QDir::toNativeSeparators(result.path)));
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

QString CPropDruk::suggestedPdfPath() const {
    const QString projectPath = document() ? document()->path() : QString();
    if (!projectPath.isEmpty()) {
        const QFileInfo project(projectPath);
        return project.dir().filePath(project.completeBaseName() + QStringLiteral(".pdf"));
    }
    const QString folder = context().current.lastDir.isEmpty() ? QDir::homePath() : context().current.lastDir;
    return QDir(folder).filePath(QStringLiteral("Tolvane.pdf"));
}

// The whole configuration, always: the PDF is the record of the tower. The file is written whole or not at all,
// and never over the project file it documents.
void CPropDruk::exportPdf() {
    if (!project()) {
        return;
    }
    QString target =
        context().choosers.saveFile(this, text(text::PdfChooserTitle), suggestedPdfPath(), text(text::PdfFilter));
    if (target.isEmpty()) {
        return;
    }
    if (!target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        target += QStringLiteral(".pdf");
    }
    const QString shown = QDir::toNativeSeparators(target);
    const QString projectPath = document()->path();
    if (!projectPath.isEmpty() && isSameFile(toNativePath(target), toNativePath(projectPath))) {
        showWarning(formatted(text::PdfFailed, shown));
        return;
    }
    const std::string html =
        PrintDocument::html(*project(), context().texts, format_, PrintContent::WholeConfiguration);
    const QString location = QString::fromStdString(project()->general().locationName());
    const QString projectFile = QFileInfo(projectPath).fileName();
    const PdfWriter::Footer footer{PdfWriter::footerText(location, projectFile, QDate::currentDate()),
                                   text(text::PageNumber)};
    const PdfWriter writer(QFileInfo(context().paths.printFolder()).absolutePath());
    // Laying out a large tower takes a few seconds.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const PdfWriter::Result result = writer.write(html, target, footer, location.isEmpty() ? projectFile : location);
    QGuiApplication::restoreOverrideCursor();
    if (!result.written) {
        QString message = formatted(text::PdfFailed, shown);
        if (!result.error.isEmpty()) {
            message += QLatin1Char('\n') + formatted(text::SystemReason, result.error);
        }
        showWarning(message);
        return;
    }
    showMessage(formatted(text::PdfWritten, shown));
}

} // namespace tolvane
