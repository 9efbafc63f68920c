#include "gui/schedules/CPropPlan.h"

#include "TextNumbers.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/app/CTarvelinView.h"
#include "platform/NativeFile.h"
#include "platform/PlatformCardFileSystem.h"
#include "platform/SafeFile.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "report/DayPlanCalendar.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextCharFormat>
#include <QVBoxLayout>

namespace tolvane {

namespace {

// Enough days to cover a month's page of the calendar (six weeks).
constexpr int PageDays = 42;

calendar::Date toDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

PageId pageOf(ProgramKind kind) {
    switch (kind) {
    case Weekly:
        return PageId::Tyg;
    case HolidayDay:
        return PageId::Swi;
    case Annual:
        return PageId::Rok;
    case OneTime:
        return PageId::Jed;
    case Funeral:
        return PageId::Pog;
    case SpecialTolling:
        return PageId::PogSpec;
    }
    return PageId::Programy;
}

QTableWidget* makeList(QWidget* parent, const char* name) {
    auto* list = new QTableWidget(0, 5, parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setTabKeyNavigation(false);
    list->verticalHeader()->hide();
    list->horizontalHeader()->setStretchLastSection(true);
    list->setColumnWidth(0, 150);
    list->setColumnWidth(1, 90);
    list->setColumnWidth(2, 60);
    list->setColumnWidth(3, 60);
    return list;
}

} // namespace

CPropPlan::CPropPlan(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), calendar_(new QCalendarWidget(this)), dayTitle_(new QLabel(this)),
      dayList_(makeList(this, "planDayList")), onDemandTitle_(new QLabel(this)),
      onDemandList_(makeList(this, "planOnDemandList")), readings_(new QLabel(this)),
      exportFromLabel_(new QLabel(this)), exportFrom_(new QDateEdit(QDate::currentDate(), this)),
      exportDaysLabel_(new QLabel(this)), exportDays_(new QSpinBox(this)), exportRange_(new QLabel(this)),
      exportButton_(new QPushButton(this)) {
    calendar_->setObjectName(QStringLiteral("planCalendar"));
    calendar_->setGridVisible(true);
    calendar_->setFirstDayOfWeek(Qt::Monday);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    calendar_->setMinimumDate(QDate(2000, 1, 1));
    calendar_->setMaximumDate(QDate(2099, 12, 31));
    // Weekends in the text colour: on this calendar the warning colour means a collision, nothing else.
    const QTextCharFormat plain = calendar_->weekdayTextFormat(Qt::Monday);
    calendar_->setWeekdayTextFormat(Qt::Saturday, plain);
    calendar_->setWeekdayTextFormat(Qt::Sunday, plain);
    connect(calendar_, &QCalendarWidget::selectionChanged, this, &CPropPlan::showDay);
    connect(calendar_, &QCalendarWidget::currentPageChanged, this, [this](int year, int) {
        if (year != readingsYear_) {
            showReadings(year);
        }
        markMonth();
    });
    // Dates are changed with the calendar's own keys; Enter goes to the day's list.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* enter = new QShortcut(keys, calendar_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            if (dayList_->rowCount() > 0) {
                dayList_->setFocus(Qt::ShortcutFocusReason);
                dayList_->selectRow(std::max(dayList_->currentRow(), 0));
            }
        });
    }
    for (QTableWidget* list : {dayList_, onDemandList_}) {
        connect(list, &QTableWidget::cellDoubleClicked, this, [this, list](int row, int) { openProgram(list, row); });
        for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
            auto* open = new QShortcut(keys, list, nullptr, nullptr, Qt::WidgetShortcut);
            connect(open, &QShortcut::activated, this, [this, list] { openProgram(list, list->currentRow()); });
        }
        auto* back = new QShortcut(QKeySequence(Qt::Key_Escape), list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(back, &QShortcut::activated, this, [this] { calendar_->setFocus(Qt::ShortcutFocusReason); });
    }
    QFont bold = dayTitle_->font();
    bold.setBold(true);
    dayTitle_->setFont(bold);
    onDemandTitle_->setWordWrap(true);
    readings_->setWordWrap(true);
    readings_->setObjectName(QStringLiteral("planReadings"));
    dayTitle_->setObjectName(QStringLiteral("planDayTitle"));
    dayTitle_->setBuddy(dayList_);

    // The calendar export: its range, shown as the plan's range text, and its button.
    exportFrom_->setObjectName(QStringLiteral("planExportFrom"));
    exportFrom_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    exportFrom_->setCalendarPopup(true);
    exportFrom_->setDateRange(calendar_->minimumDate(), calendar_->maximumDate());
    exportDays_->setObjectName(QStringLiteral("planExportDays"));
    exportDays_->setRange(1, dayplan::MaxDays);
    exportDays_->setValue(dayplan::MaxDays);
    exportRange_->setObjectName(QStringLiteral("planExportRange"));
    exportButton_->setObjectName(QStringLiteral("planExport"));
    exportButton_->setAutoDefault(true);
    exportFromLabel_->setBuddy(exportFrom_);
    exportDaysLabel_->setBuddy(exportDays_);
    connect(exportFrom_, &QDateEdit::dateChanged, this, &CPropPlan::showExportRange);
    connect(exportDays_, qOverload<int>(&QSpinBox::valueChanged), this, &CPropPlan::showExportRange);
    connect(exportButton_, &QPushButton::clicked, this, &CPropPlan::exportCalendar);

    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(exportFromLabel_);
    exportRow->addWidget(exportFrom_);
    exportRow->addSpacing(12);
    exportRow->addWidget(exportDaysLabel_);
    exportRow->addWidget(exportDays_);
    exportRow->addStretch(1);
    auto* exportButtonRow = new QHBoxLayout;
    exportButtonRow->addWidget(exportButton_);
    exportButtonRow->addWidget(exportRange_, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(calendar_);
    left->addWidget(readings_, 1, Qt::AlignTop);
    left->addLayout(exportRow);
    left->addLayout(exportButtonRow);
    auto* right = new QVBoxLayout;
    right->addWidget(dayTitle_);
    right->addWidget(dayList_, 3);
    right->addWidget(onDemandTitle_);
    right->addWidget(onDemandList_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 10, 12, 12);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);
    chainTabOrder({calendar_, dayList_, onDemandList_, exportFrom_, exportDays_, exportButton_});
}

void CPropPlan::reload(int) {
    if (!project()) {
        return;
    }
    showReadings(calendar_->yearShown());
    markMonth();
    showDay();
}

void CPropPlan::showReadings(int year) {
    readingsYear_ = year;
    if (!project()) {
        readings_->setText(QString());
        return;
    }
    std::vector<std::string> lines = dayplan::readingLines(*project(), context().texts, year, year);
    QStringList text;
    for (const std::string& line : lines) {
        text << qtext(line);
    }
    readings_->setText(text.join(QLatin1Char('\n')));
}

// Bold for the days with programs, the warning colour for the days with a collision, over the month's page.
void CPropPlan::markMonth() {
    for (const QDate& d : marked_) {
        calendar_->setDateTextFormat(d, QTextCharFormat());
    }
    marked_.clear();
    if (!project()) {
        return;
    }
    const QDate first = QDate(calendar_->yearShown(), calendar_->monthShown(), 1).addDays(-7);
    const std::vector<dayplan::DayMark> marks = dayplan::marks(*project(), toDate(first), PageDays + 7);
    for (const dayplan::DayMark& mark : marks) {
        if (!mark.hasPrograms) {
            continue;
        }
        const QDate day(mark.date.year, mark.date.month, mark.date.day);
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        if (mark.hasCollision) {
            format.setForeground(QColor(CollisionColor));
        }
        calendar_->setDateTextFormat(day, format);
        marked_.push_back(day);
    }
}

void CPropPlan::fillRow(QTableWidget* list, int row, const dayplan::PlannedProgram& program) {
    const ProjectData& p = *project();
    const TextSource& texts = context().texts;
    const QStringList cells{qtext(dayplan::timeText(p, program, texts)), qtext(dayplan::kindText(program.kind, texts)),
                            qtext(dayplan::numberText(p, program)), qtext(dayplan::priorityText(program)),
                            qtext(dayplan::actionText(p, program, texts))};
    // How many programs of the list start in this program's minute.
    long long together = 0;
    const std::vector<dayplan::PlannedProgram>& all = list == dayList_ ? dayPrograms_ : onDemand_;
    for (const dayplan::PlannedProgram& other : all) {
        together += other.time / 60 == program.time / 60 ? 1 : 0;
    }
    const QString collision =
        program.collision ? QString::fromStdString(formatText(texts.text(dayplan::CollisionText), {TextArg(together)}))
                          : QString();
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (program.collision) {
            item->setBackground(QColor(CollisionBackground));
            item->setData(Qt::AccessibleDescriptionRole, collision);
            item->setToolTip(collision);
        }
        list->setItem(row, c, item);
    }
}

void CPropPlan::showDay() {
    if (!project()) {
        return;
    }
    const QDate day = calendar_->selectedDate();
    const dayplan::PlanDay planned = dayplan::planDay(*project(), toDate(day));
    dayPrograms_ = planned.programs;
    dayTitle_->setText(qtext(dayplan::dayTitle(planned.date, context().texts)));
    dayList_->setRowCount(0);
    dayList_->setRowCount(static_cast<int>(dayPrograms_.size()));
    for (int row = 0; row < static_cast<int>(dayPrograms_.size()); ++row) {
        fillRow(dayList_, row, dayPrograms_[static_cast<std::size_t>(row)]);
    }
    dayList_->setAccessibleDescription(dayPrograms_.empty() ? text(dayplan::NothingText) : QString());
    onDemand_ = dayplan::onDemand(*project());
    onDemandList_->setRowCount(0);
    onDemandList_->setRowCount(static_cast<int>(onDemand_.size()));
    for (int row = 0; row < static_cast<int>(onDemand_.size()); ++row) {
        fillRow(onDemandList_, row, onDemand_[static_cast<std::size_t>(row)]);
    }
}

void CPropPlan::openProgram(const QTableWidget* list, int row) {
    const std::vector<dayplan::PlannedProgram>& programs = list == dayList_ ? dayPrograms_ : onDemand_;
    if (row < 0 || row >= static_cast<int>(programs.size()) || !view()) {
        return;
    }
    const dayplan::PlannedProgram& program = programs[static_cast<std::size_t>(row)];
    const PageId page = pageOf(program.kind);
    view()->showPage(page);
    view()->page(page)->reload(program.entry);
}

void CPropPlan::showExportRange() {
    const QDate first = exportFrom_->date();
    const QDate last = first.addDays(exportDays_->value() - 1);
    exportRange_->setText(qtext(formatText(context().texts.text(dayplan::RangeText),
                                           {calendar::isoText(toDate(first)), calendar::isoText(toDate(last)),
                                            static_cast<long long>(exportDays_->value())})));
    exportButton_->setAccessibleDescription(text(text::PlanExportHolds) + QLatin1Char(' ') + exportRange_->text());
}

// Beside the project, with its name; a project never saved: in the last folder.
QString CPropPlan::suggestedCalendarPath() const {
    const QString projectPath = document() ? document()->path() : QString();
    if (!projectPath.isEmpty()) {
        const QFileInfo file(projectPath);
        return file.dir().filePath(file.completeBaseName() + QStringLiteral(".ics"));
    }
    const QString folder = context().current.lastDir.isEmpty() ? QDir::homePath() : context().current.lastDir;
    return QDir(folder).filePath(QStringLiteral("Tolvane.ics"));
}

// The file is written whole or not at all, and never over the project file.
void CPropPlan::exportCalendar() {
    if (!project()) {
        return;
    }
    QString target = context().choosers.saveFile(this, text(text::PlanExportTitle), suggestedCalendarPath(),
                                                 text(text::PlanExportFilter));
    if (target.isEmpty()) {
        return;
    }
    if (!target.endsWith(QStringLiteral(".ics"), Qt::CaseInsensitive)) {
        target += QStringLiteral(".ics");
    }
    const TextSource& texts = context().texts;
    const QString shown = QDir::toNativeSeparators(target);
    const QString failed = qtext(formatText(texts.text(text::PlanExportFailed), {shown.toStdString()}));
    const QString projectPath = document()->path();
    if (!projectPath.isEmpty() && isSameFile(toNativePath(target), toNativePath(projectPath))) {
        showWarning(failed);
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const dayplan::UtcTime stamp{toDate(now.date()), now.time().hour(), now.time().minute(), now.time().second()};
    const dayplan::CalendarFile file =
        dayplan::calendarFile(*project(), texts, toDate(exportFrom_->date()), exportDays_->value(), stamp);
    if (file.errorText != 0) {
        showWarning(failed + QLatin1Char('\n') + text(file.errorText));
        return;
    }
    const FileResult written =
        writeFileAtomically(target, QByteArrayView(file.text.data(), static_cast<qsizetype>(file.text.size())));
    if (!written.ok) {
        showWarning(failed + QLatin1Char('\n') +
                    qtext(formatText(texts.text(text::SystemReason), {written.error.toStdString()})));
        return;
    }
    QString message = qtext(
        formatText(texts.text(text::PlanExportWritten), {shown.toStdString(), static_cast<long long>(file.events)}));
    if (!dayplan::seasonsFollowEuropeanRule(*project())) {
        message += QStringLiteral("\n\n") + text(dayplan::NoAutoChangeText);
    }
    showMessage(message);
}

void CPropPlan::refreshTexts() {
    const QStringList headers{text(text::TimeColumn), text(text::CalendarKind), text(text::ProgramNumber),
                              text(text::PriorityColumn), text(text::ActionColumn)};
    for (QTableWidget* list : {dayList_, onDemandList_}) {
        list->setHorizontalHeaderLabels(headers);
    }
    calendar_->setAccessibleName(text(dayplan::TitleText));
    // The keyboard works in the calendar's table of days, which a screen reader asks for its own name.
    if (auto* days = calendar_->findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"))) {
        days->setAccessibleName(text(dayplan::TitleText));
    }
    dayList_->setAccessibleName(text(dayplan::TitleText));
    onDemandTitle_->setText(text(dayplan::OnDemandText));
    onDemandList_->setAccessibleName(text(dayplan::OnDemandText));
    exportFromLabel_->setText(text(text::PlanExportFrom));
    exportFrom_->setAccessibleName(text(text::PlanExportFrom));
    exportDaysLabel_->setText(text(text::PlanExportDays));
    exportDays_->setAccessibleName(text(text::PlanExportDays));
    exportButton_->setText(text(text::PlanExport));
    exportButton_->setAccessibleName(text(text::PlanExport));
    showExportRange();
    reload();
}

} // namespace tolvane
