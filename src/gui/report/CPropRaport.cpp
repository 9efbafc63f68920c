#include "gui/report/CPropRaport.h"

#include "TextNumbers.h"
#include "gui/app/CTarvelinView.h"
#include "gui/app/RecordFocus.h"
#include "gui/report/CRaportModel.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tolvane {

namespace {

constexpr int PlaceWidth = 200;

// The filter button's index of a severity (ShowAll first).
std::size_t filterIndex(int severity) {
    return static_cast<std::size_t>(severity + 1);
}

// Gives the focus to the first control of `page` that takes it with Tab; false when it has none.
bool focusFirstControl(QWidget* page) {
    QWidget* w = page->nextInFocusChain();
    for (int guard = 0; w && w != page && guard < 10000; w = w->nextInFocusChain(), ++guard) {
        if (page->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) != 0) {
            w->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace

CPropRaport::CPropRaport(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), severityIcons_(context.paths.dataFile(QStringLiteral("Gfx/severity.png"))),
      model_(new CRaportModel(severityIcons_, this)), filterCaption_(new QLabel(this)),
      filterGroup_(new QButtonGroup(this)), list_(new QTableView(this)), status_(new QLabel(this)) {
    auto* filters = new QHBoxLayout;
    filters->addWidget(filterCaption_);
    for (int severity = ShowAll; severity <= severity::Note; ++severity) {
        auto* button = new QRadioButton(this);
        button->setObjectName(severity == ShowAll ? QStringLiteral("reportShowAll")
                                                  : QStringLiteral("reportShowSeverity%1").arg(severity));
        if (severity != ShowAll) {
            button->setIcon(severityIcons_.icon(severity));
        }
        filterGroup_->addButton(button, severity);
        filters_[filterIndex(severity)] = button;
        filters->addWidget(button);
    }
    filters->addStretch(1);
    filters_[filterIndex(ShowAll)]->setChecked(true);
    showFilterFocus();
    // The arrow keys move between the choices (one group); each choice filters at once.
    connect(filterGroup_, &QButtonGroup::idToggled, this, [this](int severity, bool checked) {
        if (checked && severity != shown_) {
            setShownSeverity(severity);
        }
    });

    list_->setObjectName(QStringLiteral("reportList"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTabKeyNavigation(false);
    // A long description wraps onto a second line rather than being cut off in a narrow window.
    list_->setWordWrap(true);
    list_->setIconSize(QSize(IconStrip::Size, IconStrip::Size));
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->horizontalHeader()->setHighlightSections(false);
    // The description takes what the place leaves.
    list_->horizontalHeader()->setSectionResizeMode(CRaportModel::DescriptionColumn, QHeaderView::Stretch);
    list_->horizontalHeader()->setSectionResizeMode(CRaportModel::PlaceColumn, QHeaderView::Interactive);
    list_->setColumnWidth(CRaportModel::PlaceColumn, PlaceWidth);
    watchSelection(list_);
    connect(list_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            openIssue(index.row());
        }
    });
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* open = new QShortcut(keys, list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, [this] { openIssue(list_->currentIndex().row()); });
    }

    status_->setObjectName(QStringLiteral("reportStatus"));
    status_->setWordWrap(true);
    status_->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 10, 12, 12);
    layout->addLayout(filters);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);
    // Tab: the filter (its chosen button; the arrow keys move within it), then the list.
    for (std::size_t i = 1; i < filters_.size(); ++i) {
        setTabOrder(filters_[i - 1], filters_[i]);
    }
    setTabOrder(filters_.back(), list_);
}

QRadioButton* CPropRaport::filterButton(int severity) const {
    if (severity < ShowAll || severity > severity::Note) {
        return nullptr;
    }
    return filters_[filterIndex(severity)];
}

void CPropRaport::setShownSeverity(int severity) {
    if (severity < ShowAll || severity > severity::Note) {
        return;
    }
    shown_ = severity;
    filters_[filterIndex(severity)]->setChecked(true);
    showFilterFocus();
    reload(0);
}

// Tab and Shift+Tab stop at the chosen filter only, as at a group of radio buttons anywhere; the arrow keys move
// between the choices.
void CPropRaport::showFilterFocus() {
    for (QRadioButton* button : filters_) {
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        if (button->isChecked()) {
            filterCaption_->setBuddy(button);
        }
    }
}

void CPropRaport::showEvent(QShowEvent* event) {
    CDataPage::showEvent(event);
    // The page checks the project whenever it comes to the front.
    reload(std::max(list_->currentIndex().row(), 0));
}

void CPropRaport::followChange(const ProjectChange&) {
    reload(std::max(list_->currentIndex().row(), 0));
}

void CPropRaport::reload(int item) {
    beginListUpdate(list_);
    std::vector<CRaportModel::Entry> entries;
    counts_ = {};
    if (const ProjectData* p = project()) {
        const IssueList issues = p->validate();
        const std::vector<Report::Row> rows = Report::rows(issues, &p->holidays(), context().texts);
        counts_ = Report::severityCounts(issues);
        for (std::size_t i = 0; i < issues.size() && i < rows.size(); ++i) {
            if (shown_ == ShowAll || issues[i].severity == shown_) {
                entries.push_back({issues[i], rows[i]});
            }
        }
    }
    const int rows = static_cast<int>(entries.size());
    model_->setEntries(std::move(entries));
    // A keyboard user choosing a filter with the arrow keys stays on the filter (the list would take the focus).
    QWidget* focused = QApplication::focusWidget();
    const bool onFilter = std::find(filters_.begin(), filters_.end(), focused) != filters_.end();
    endListUpdate(list_, rows == 0 ? -1 : std::clamp(item, 0, rows - 1));
    if (onFilter) {
        focused->setFocus(Qt::OtherFocusReason);
    }
    showCounts();
    showStatus();
}

void CPropRaport::showCounts() {
    const int all = counts_[0] + counts_[1] + counts_[2];
    filters_[filterIndex(ShowAll)]->setText(formatted(text::ReportAll, all));
    for (int severity = severity::Critical; severity <= severity::Note; ++severity) {
        filters_[filterIndex(severity)]->setText(
            formatted(text::ReportAll + 1 + severity, counts_[static_cast<std::size_t>(severity)]));
    }
    for (QRadioButton* button : filters_) {
        button->setAccessibleName(text(text::ReportFilterCaption) + QLatin1Char(' ') + button->text());
    }
}

void CPropRaport::showStatus() {
    QStringList lines;
    const bool anyIssue = counts_[0] + counts_[1] + counts_[2] > 0;
    if (!anyIssue) {
        lines << text(text::NothingFound);
    } else if (model_->rowCount() == 0) {
        lines << text(text::NothingOfThisKind);
    } else {
        lines << text(text::HowToJump);
    }
    if (counts_[severity::Critical] > 0) {
        lines << text(text::CriticalBlocksCard);
    }
    status_->setText(lines.join(QLatin1Char('\n')));
    // A screen reader on the list hears why it is empty, or how to use it.
    list_->setAccessibleDescription(lines.join(QLatin1Char(' ')));
}

QString CPropRaport::formatted(int textId, int number) const {
    return QString::fromStdString(formatText(context().texts.text(textId), {TextArg(static_cast<long long>(number))}));
}

void CPropRaport::refreshTexts() {
    filterCaption_->setText(text(text::ReportFilterCaption));
    list_->setAccessibleName(text(Report::TitleText));
    model_->setTexts(text(Report::DescriptionHeaderText), text(Report::PlaceHeaderText),
                     {text(text::FirstSeverity), text(text::FirstSeverity + 1), text(text::FirstSeverity + 2)});
    for (int severity = severity::Critical; severity <= severity::Note; ++severity) {
        filters_[filterIndex(severity)]->setToolTip(text(text::FirstSeverity + severity));
    }
    // Descriptions and places are catalog texts too.
    reload(std::max(list_->currentIndex().row(), 0));
}

std::optional<PageId> CPropRaport::pageOf(IssuePage page) {
    switch (page) {
    case IssuePage::WeeklyPrograms:
        return PageId::Tyg;
    case IssuePage::HolidayPrograms:
        return PageId::Swi;
    case IssuePage::AnnualPrograms:
        return PageId::Rok;
    case IssuePage::OneTimePrograms:
        return PageId::Jed;
    case IssuePage::FuneralTolling:
        return PageId::Pog;
    case IssuePage::SpecialTolling:
        return PageId::PogSpec;
    case IssuePage::Holidays:
        return PageId::Swieta;
    case IssuePage::Sequences:
        return PageId::Sekwencje;
    case IssuePage::Striking:
        return PageId::Gongi;
    case IssuePage::Settings:
        return PageId::Settings;
    case IssuePage::UserSettings:
        return PageId::User;
    case IssuePage::TimeCorrections:
        return PageId::Korekty;
    case IssuePage::CrossConnection:
        return PageId::Krosownica;
    case IssuePage::Chimes:
        return PageId::Kuranty;
    case IssuePage::None:
        break;
    }
    return std::nullopt;
}

// The page of the cause comes to the front and selects its record (or focuses its setting); the keyboard lands
// there too, so the user can fix the value at once.
void CPropRaport::openIssue(int row) {
    const CRaportModel::Entry* entry = model_->entryAt(row);
    if (!entry || !view()) {
        return;
    }
    openTarget(*view(), issueTarget(entry->issue));
}

void CPropRaport::openTarget(CTarvelinView& view, const IssueTarget& target) {
    const std::optional<PageId> id = pageOf(target.page);
    if (!id) {
        return;
    }
    // Nothing keeps the focus on this page: the page in front gives it to its list as it selects the record.
    if (QWidget* focused = QApplication::focusWidget()) {
        focused->clearFocus();
    }
    view.showPage(*id);
    CDataPage* page = view.page(*id);
    page->reload(std::max(target.record, 0));
    if (target.setting != 0) {
        page->focusSetting(target.setting);
    }
    if (auto* records = dynamic_cast<RecordFocus*>(page); records && target.record >= 0) {
        records->focusRecord(target.kind, target.record);
    }
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !page->isAncestorOf(focused)) {
        if (!focusFirstControl(page)) {
            view.tree()->setFocus(Qt::OtherFocusReason);
        }
    }
}

} // namespace tolvane
