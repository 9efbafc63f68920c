#include "gui/card/CPropWymiana.h"

#include "TextNumbers.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/app/CTarvelinView.h"
#include "gui/app/CardExchange.h"
#include "gui/common/ChangesQuestion.h"
#include "gui/report/CPorownanieDlg.h"
#include "gui/widgets/CLamp.h"
#include "gui/widgets/CRemoveDirCombo.h"
#include "platform/PlatformCardFileSystem.h"
#include "project/TextFormat.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace tolvane {

namespace {

// The text numbers of a row: its caption and the questions asked before reading and writing, in DAT mode and in
// card mode.
struct RowTexts {
    card::FileKind kind;
    int caption;
    int readDat;
    int readCard;
    int writeDat;
    int writeCard;
};

// In the order the page shows them.
constexpr RowTexts Rows[] = {
    {card::FileKind::Programs, 188, 713, 648, 716, 655},
    {card::FileKind::Sequences, 599, 712, 647, 715, 654},
    {card::FileKind::Config, 189, 711, 646, 714, 653},
    {card::FileKind::Chimes, 825, 854, 856, 855, 857},
};

const RowTexts& rowTexts(card::FileKind kind) {
    for (const RowTexts& row : Rows) {
        if (row.kind == kind) {
            return row;
        }
    }
    return Rows[0];
}

// The pages whose content a card file carries: what the differences before a write of that file are shown for.
bool carries(card::FileKind kind, IssuePage page) {
    switch (kind) {
    case card::FileKind::Programs:
        return page == IssuePage::WeeklyPrograms || page == IssuePage::AnnualPrograms ||
               page == IssuePage::HolidayPrograms || page == IssuePage::OneTimePrograms ||
               page == IssuePage::FuneralTolling || page == IssuePage::SpecialTolling || page == IssuePage::Holidays;
    case card::FileKind::Sequences:
        return page == IssuePage::Sequences;
    case card::FileKind::Config:
        return page == IssuePage::Settings || page == IssuePage::UserSettings || page == IssuePage::TimeCorrections ||
               page == IssuePage::Striking || page == IssuePage::CrossConnection;
    case card::FileKind::Chimes:
        return page == IssuePage::Chimes;
    }
    return false;
}

} // namespace

CPropWymiana::CPropWymiana(AppContext& context, QWidget* parent, std::unique_ptr<VolumeSource> volumes)
    : CDataPage(context, parent), cardLabel_(new QLabel(this)),
      driveList_(new CRemoveDirCombo(this, std::move(volumes))),
      folderLabel_(new QLabel(QStringLiteral("Katalog"), this)), folderPath_(new QLabel(this)),
      group_(new QGroupBox(this)), compare_(new QPushButton(this)), warningText_(new QLabel(this)), warningIcon_(new QLabel(this)) {
    driveList_->setObjectName(QStringLiteral("cardDriveList"));
    cardLabel_->setBuddy(driveList_);
    folderPath_->setObjectName(QStringLiteral("datFolder"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, HeaderHeight + 8, 8, 8);
    auto* target = new QGridLayout;
    target->addWidget(cardLabel_, 0, 0);
    target->addWidget(driveList_, 0, 1);
    target->addWidget(folderLabel_, 1, 0);
    target->addWidget(folderPath_, 1, 1);
    target->setColumnStretch(2, 1);
    layout->addLayout(target);

    auto* rows = new QGridLayout(group_);
    int line = 0;
    for (const RowTexts& texts : Rows) {
        Row& row = rows_[index(texts.kind)];
        row.label = new QLabel(group_);
        row.lamp = new CLamp(group_);
        // The lamp tells whether the card holds this file at its full size; its tip names the file.
        const std::string_view name = card::fileName(texts.kind);
        const QString file = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        row.lamp->setStateTexts(file, file);
        row.read = new QPushButton(group_);
        row.write = new QPushButton(group_);
        rows->addWidget(row.label, line, 0);
        rows->addWidget(row.lamp, line, 1);
        rows->addWidget(row.read, line, 2);
        rows->addWidget(row.write, line, 3);
        ++line;
        const card::FileKind kind = texts.kind;
        connect(row.read, &QPushButton::clicked, this, [this, kind] { read(kind); });
        connect(row.write, &QPushButton::clicked, this, [this, kind] { write(kind); });
        setLamp(kind, false);
    }
    rows->setColumnStretch(0, 1);
    layout->addWidget(group_);
    compare_->setObjectName(QStringLiteral("compareWithCard"));
    connect(compare_, &QPushButton::clicked, this, [this] { compareWithCard(); });
    auto* compareRow = new QHBoxLayout;
    compareRow->addWidget(compare_);
    compareRow->addStretch(1);
    layout->addLayout(compareRow);

    auto* warning = new QHBoxLayout;
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    warningIcon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize, iconSize));
    warningIcon_->setFixedSize(iconSize, iconSize);
    warning->addWidget(warningIcon_);
    warning->addWidget(warningText_, 1);
    layout->addLayout(warning);
    layout->addStretch(1);
    warningText_->hide();
    warningIcon_->hide();

    blink_.setInterval(500);
    connect(&blink_, &QTimer::timeout, this, [this] { warningIcon_->setVisible(!warningIcon_->isVisible()); });
    connect(driveList_, &CRemoveDirCombo::cardInserted, this, &CPropWymiana::cardInserted);
    connect(driveList_, &CRemoveDirCombo::cardRemoved, this, &CPropWymiana::cardRemoved);
    connect(driveList_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });

    refreshTexts();
    refresh();
    showModeControls();
}

void CPropWymiana::refreshTexts() {
    setItemText(cardLabel_, text::CardLabel);
    driveList_->setAccessibleName(text(text::CardLabel));
    group_->setTitle(text(text::CardDataGroup));
    for (const RowTexts& texts : Rows) {
        const Row& row = rows_[index(texts.kind)];
        setItemText(row.label, texts.caption);
        setItemText(row.read, text::CardRead);
        setItemText(row.write, text::CardWrite);
    }
    setItemText(compare_, text::CompareWithCard);
    setItemText(warningText_, text::CriticalWarning);
}

void CPropWymiana::followChange(const ProjectChange&) {
    if (isVisible() && project()) {
        applyValidity();
    }
}

void CPropWymiana::reload(int) {
    if (project()) {
        applyValidity();
        refresh();
    }
    showModeControls();
}

void CPropWymiana::setDatMode(bool on, const QString& folder) {
    datMode_ = on;
    datFolder_ = folder;
    showModeControls();
    refresh();
}

void CPropWymiana::showModeControls() {
    showControlIf(cardLabel_, !datMode_);
    showControlIf(driveList_, !datMode_);
    showControlIf(folderLabel_, datMode_);
    showControlIf(folderPath_, datMode_);
    folderPath_->setText(datMode_ ? datFolder_ : QString());
}

QString CPropWymiana::targetFolder() const {
    return datMode_ ? datFolder_ : driveList_->selectedRoot();
}

void CPropWymiana::applyValidity() {
    const ProjectData* current = project();
    if (!current) {
        return;
    }
    const bool valid = !hasCritical(current->validate());
    for (const card::FileKind kind : {card::FileKind::Programs, card::FileKind::Config, card::FileKind::Sequences}) {
        enableControl(writeButton(kind), valid);
    }
    if (valid) {
        blink_.stop();
        warningText_->hide();
        warningIcon_->hide();
    } else {
        warningIcon_->hide();
        warningText_->show();
        blink_.start();
    }
}

bool CPropWymiana::warningShown() const {
    return !warningText_->isHidden();
}

void CPropWymiana::setLamp(card::FileKind kind, bool lit) {
    rows_[index(kind)].lamp->setLit(lit);
}

bool CPropWymiana::lampLit(card::FileKind kind) const {
    return rows_[index(kind)].lamp->isLit();
}

void CPropWymiana::refresh() {
    const QString folder = targetFolder();
    for (const card::FileKind kind : card::AllKinds) {
        const Row& row = rows_[index(kind)];
        bool lit = false;
        if (!folder.isEmpty()) {
            const QFileInfo file(QString::fromStdString(card::joinPath(folder.toStdString(), card::fileName(kind))));
            lit = file.isFile() && static_cast<std::size_t>(file.size()) == card::fileSize(kind);
        }
        setLamp(kind, lit);
        enableControl(row.read, lit);
        enableControl(row.write, !folder.isEmpty());
    }
    enableControl(compare_, !folder.isEmpty());
}

void CPropWymiana::write(card::FileKind kind) {
    const QString folder = targetFolder();
    if (!document() || folder.isEmpty()) {
        refresh();
        return;
    }
    // The value being typed on another page belongs in the file.
    if (view()) {
        view()->commitPendingEdit();
    }
    try {
        if (kind != card::FileKind::Chimes && hasCritical(project()->validate())) {
            showMessage(text(text::CriticalErrors));
            emit reportRequested();
            if (view()) {
                view()->showPage(PageId::Raport);
            }
            refresh();
            return;
        }
        if (!confirmWrite(kind, folder)) {
            refresh();
            return;
        }
        const card::FileKind kinds[] = {kind};
        const card::WriteResult result = CardExchange(context(), *document()).write(kinds, folder, this).front();
        if (result.text != 0) {
            showMessage(cardWriteMessage(context().texts, result));
        }
    } catch (const std::exception&) {
        showMessage(text(text::UnexpectedCardError));
    }
    refresh();
}

void CPropWymiana::read(card::FileKind kind) {
    // Without a target nothing is read (an empty folder would name the working folder).
    if (!document() || targetFolder().isEmpty()) {
        refresh();
        return;
    }
    const RowTexts& texts = rowTexts(kind);
    if (askYesNo(text(datMode_ ? texts.readDat : texts.readCard)) != PromptService::Answer::Yes) {
        return;
    }
    try {
        // One file read is one undo step; a refused file changes nothing and makes none.
        const card::ReadResult result = CardExchange(context(), *document()).readOne(kind, targetFolder());
        if (result.text != 0) {
            showMessage(text(result.text));
        }
        if (result.ok) {
            // Every page shows what was read, and the status bar the card's identity.
            if (view()) {
                view()->reloadPages();
            }
            applyValidity();
        }
    } catch (const std::exception&) {
        showMessage(text(text::UnexpectedCardError));
        refresh();
    }
}

bool CPropWymiana::confirmWrite(card::FileKind kind, const QString& folder) {
    const QString question = text(datMode_ ? rowTexts(kind).writeDat : rowTexts(kind).writeCard);
    auto* changes = dynamic_cast<ChangesQuestion*>(&context().prompts);
    if (!changes) {
        return askYesNo(question) == PromptService::Answer::Yes;
    }
    while (true) {
        const ChangesQuestion::Answer answer = changes->askWithChanges(this, question);
        if (answer != ChangesQuestion::Answer::ShowChanges) {
            return answer == ChangesQuestion::Answer::Yes;
        }
        if (showWriteChanges(kind, folder)) {
            return false; // the user went to a record: nothing is written
        }
    }
}

QString CPropWymiana::cardName(const QString& folder) const {
    return QString::fromStdString(formatText(context().texts.text(text::CardName), {TextArg{folder.toStdString()}}));
}

bool CPropWymiana::showWriteChanges(card::FileKind kind, const QString& folder) {
    ProjectData onCard;
    onCard.setTextSource(&context().texts);
    PlatformCardFileSystem files;
    // A file the card lacks, or cannot give, is replaced whole: compared as a default one.
    if (!card::readCardFile(onCard, kind, card::joinPath(toNativePath(folder), card::fileName(kind)), files).ok) {
        onCard.resetAll(false);
    }
    onCard.sortSchedulesByTime();
    std::vector<Difference> differences = ProjectDifference::between(onCard, *project(), context().texts);
    differences.erase(std::remove_if(differences.begin(), differences.end(),
                                     [kind](const Difference& d) { return !carries(kind, d.page); }),
                      differences.end());
    return CPorownanieDlg::showAndOpen(context(), view(), this, std::move(differences), cardName(folder),
                                       text(text::ThisProject));
}

void CPropWymiana::compareWithCard() {
    const QString folder = targetFolder();
    if (!project() || folder.isEmpty()) {
        showMessage(text(text::NoCardChosen));
        return;
    }
    if (view()) {
        view()->commitPendingEdit();
    }
    try {
        int failure = 0;
        std::vector<Difference> differences =
            CPorownanieDlg::againstFolder(*project(), folder, context().texts, failure);
        if (failure != 0) {
            showMessage(text(failure));
            return;
        }
        CPorownanieDlg::showAndOpen(context(), view(), this, std::move(differences), cardName(folder),
                                    text(text::ThisProject));
    } catch (const std::exception&) {
        showMessage(text(text::UnexpectedCardError));
    }
}

void CPropWymiana::cardInserted() {
    refresh();
    cardInserted_ = true;
}

void CPropWymiana::cardRemoved() {
    if (!cardInserted_) {
        return;
    }
    cardInserted_ = false;
    refresh();
    if (project() && project()->isModifiedAll()) {
        showMessage(text(text::CardRemovedUnwritten));
    }
}

} // namespace tolvane
