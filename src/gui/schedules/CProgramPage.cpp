#include "gui/schedules/CProgramPage.h"

#include "gui/app/CTarvelinView.h"
#include "gui/choosers/CSelMlotek.h"
#include "gui/choosers/CSelNumerDlg.h"
#include "gui/choosers/CSelSekwDlg.h"
#include "gui/schedules/CProgramDelegate.h"
#include "gui/schedules/CPropSwieta.h"
#include "gui/widgets/CCellCheckBox.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/widgets/CTrackEdytorCtrl.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "schedules/HammerChoice.h"
#include "schedules/ProgramEditing.h"
#include "schedules/ProgramEntryText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int TextCount = 240;
constexpr int TextTableFull = ScheduleProgram::TableFullText;
constexpr int TextNoWeekday = 413;
constexpr int TextBell = 110;
constexpr int TextTime = 231;
constexpr int TextEndDate = 234;
constexpr int TextWeekdays = 236;
constexpr int TextPriority = 237;
constexpr int TextAction = 230;
constexpr int TextSummer = 267;
constexpr int TextWinter = 268;
constexpr int TextAngelus = 560;
constexpr int TextEvenWeeks = 561;
constexpr int TextOddWeeks = 562;
constexpr int TextRingingTime = 281;
constexpr int TextMelody = 223;
constexpr int TextRepetitions = 224;
constexpr int TextSequence = 554;
constexpr int TextSilence = 222;
constexpr int TextForBells = 503;
constexpr int TextForGongs = 504;
constexpr int TextNotChosen = 567;
constexpr int TextSequenceName = SequenceTable::NameText;
constexpr int TextHammerName = 534;
constexpr int TextDateHint = 205;
constexpr int TextFirstWeekday = 197; // Monday's check box caption; Sunday is 203
constexpr int TextSecondStartOption = 457;
constexpr int TextSecondOtherwise = 458;
constexpr int TextHoliday = 232;
constexpr int TextFuneralDays = 248;
constexpr int TextByClock = 510;
constexpr int TextBeforeAngelus = 551;
constexpr int TextAfterAngelus = 552;
constexpr int MaxBellSeconds = programediting::MaxBellSeconds;

QString twoDigits(int n) {
    return QString::asprintf("%.2d", n);
}

} // namespace

CProgramPage::CProgramPage(AppContext& context, ProgramPageSpec spec, QWidget* parent)
    : CDataPage(context, parent), spec_(std::move(spec)),
      actionIcons_(context.paths.dataFile(QStringLiteral("Gfx/actions.png"))),
      buttonIcons_(context.paths.dataFile(QStringLiteral("Gfx/buttons.png"))) {
    model_ = new CProgramModel(
        spec_.kind, spec_.columns, [this] { return project(); }, [this](int id) { return text(id); },
        [this](int index) { return actionIcon(index); }, context.texts, this);

    add_ = new QPushButton(this);
    add_->setObjectName(QStringLiteral("addButton"));
    delete_ = new QPushButton(this);
    delete_->setObjectName(QStringLiteral("deleteButton"));
    copy_ = new QPushButton(this);
    copy_->setObjectName(QStringLiteral("copyButton"));
    add_->setIcon(buttonIcons_.icon(0));
    delete_->setIcon(buttonIcons_.icon(1));
    copy_->setIcon(buttonIcons_.icon(2));
    connect(add_, &QPushButton::clicked, this, &CProgramPage::addProgram);
    connect(delete_, &QPushButton::clicked, this, &CProgramPage::deleteSelected);
    connect(copy_, &QPushButton::clicked, this, &CProgramPage::copySelected);

    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("programList"));
    list_->setModel(model_);
    list_->setItemDelegate(new CProgramDelegate(list_));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setTabKeyNavigation(false);
    list_->setIconSize(QSize(16, 16));
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->horizontalHeader()->setSectionsClickable(true);
    for (int c = 0; c < static_cast<int>(spec_.columns.size()); ++c) {
        // Column widths are given in dialog units; a dialog unit is about one and a half pixels.
        list_->setColumnWidth(c, spec_.columns[static_cast<std::size_t>(c)].width * 3 / 2);
    }
    list_->horizontalHeader()->setStretchLastSection(true);
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, &CProgramPage::sortByColumn);
    connect(list_, &QTableView::doubleClicked, this, [this] { changeNumber(); });
    watchSelection(list_);

    const auto listKey = [this](const QKeySequence& keys, const std::function<void()>& action) {
        auto* shortcut = new QShortcut(keys, list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    listKey(QKeySequence(Qt::Key_Insert), [this] { addProgram(); });
    listKey(QKeySequence(Qt::Key_Delete), [this] { deleteSelected(); });
    listKey(QKeySequence(Qt::CTRL | Qt::Key_D), [this] { copySelected(); });
    listKey(QKeySequence(QKeySequence::Copy), [this] { copyToClipboard(); });
    listKey(QKeySequence(QKeySequence::Paste), [this] { pasteFromClipboard(); });
    listKey(QKeySequence(Qt::Key_F2), [this] { changeNumber(); });
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        listKey(keys, [this] {
            if (editor_->isVisible()) {
                actionList_->setFocus(Qt::ShortcutFocusReason);
            }
        });
    }

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("usedBar"));
    progress_->setRange(0, PageLimit);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(14);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("countLabel"));

    buildEditor();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(delete_);
    buttons->addWidget(copy_);
    buttons->addStretch(1);
    auto* footer = new QHBoxLayout;
    footer->addWidget(progress_, 1);
    footer->addWidget(count_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 8, 12, 8);
    layout->addLayout(buttons);
    layout->addWidget(list_, 1);
    layout->addWidget(editor_);
    layout->addLayout(footer);
    // The eight funeral programs are always there, in their fixed order.
    if (spec_.kind == Funeral) {
        for (QWidget* w : std::initializer_list<QWidget*>{add_, delete_, copy_, progress_, count_}) {
            w->hide();
        }
        list_->horizontalHeader()->setSectionsClickable(false);
    }
    showItem(false, 0);
}

CFireEdit* CProgramPage::numberField(const char* name, int lower, int upper, int width) {
    auto* field = new CFireEdit(editor_);
    field->setObjectName(QLatin1String(name));
    field->setUp(lower, upper, width, false);
    return field;
}

QCheckBox* CProgramPage::checkBox(const char* name) {
    auto* box = new QCheckBox(editor_);
    box->setObjectName(QLatin1String(name));
    return box;
}

// A field stores on every keystroke; leaving it puts the list in order and ends the burst of typing, so the next
// keystroke is a new step.
void CProgramPage::connectField(CFireEdit* field, const std::function<void()>& store) {
    connect(field, &QLineEdit::textEdited, this, [store] { store(); });
    connect(field, &QLineEdit::editingFinished, this, [this] { finishField(); });
}

// A row of the editor with its label and a clickable value that opens a chooser.
QWidget* CProgramPage::linkRow(QLabel*& label, CLinkStatic*& link, const char* name, void (CProgramPage::*open)()) {
    auto* panel = new QWidget(editor_);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    label = new QLabel(panel);
    link = new CLinkStatic(panel);
    link->setObjectName(QLatin1String(name));
    label->setBuddy(link);
    connect(link, &CLinkStatic::clicked, this, open);
    row->addWidget(label);
    row->addWidget(link);
    row->addStretch(1);
    return panel;
}

void CProgramPage::buildEditor() {
    editor_ = new QWidget(this);
    editor_->setObjectName(QStringLiteral("programEditor"));
    auto* grid = new QGridLayout(editor_);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    const auto colon = [](QWidget* first) {
        auto* row = new QHBoxLayout;
        row->setSpacing(2);
        row->addWidget(first);
        return row;
    };

    // Action.
    actionLabel_ = new QLabel(editor_);
    actionList_ = new QComboBox(editor_);
    actionList_->setObjectName(QStringLiteral("actionList"));
    actionLabel_->setBuddy(actionList_);
    connect(actionList_, &QComboBox::activated, this, &CProgramPage::actionChosen);
    grid->addWidget(actionLabel_, 0, 0);
    grid->addWidget(actionList_, 0, 1, 1, 3, Qt::AlignLeft);

    // Time and priority.
    timeLabel_ = new QLabel(editor_);
    hour_ = numberField("hourField", 0, 23, 2);
    minute_ = numberField("minuteField", 0, 59, 2);
    second_ = numberField("secondField", 0, 59, 2);
    timeLabel_->setBuddy(hour_);
    auto* time = colon(hour_);
    time->addWidget(new QLabel(QStringLiteral(":"), editor_));
    time->addWidget(minute_);
    time->addWidget(new QLabel(QStringLiteral(":"), editor_));
    time->addWidget(second_);
    time->addStretch(1);
    for (CFireEdit* f : {hour_, minute_, second_}) {
        connectField(f, [this] { storeTime(); });
    }
    grid->addWidget(timeLabel_, 1, 0);
    grid->addLayout(time, 1, 1);

    priorityLabel_ = new QLabel(editor_);
    priority_ = numberField("priorityField", 1, 16, 2);
    priorityLabel_->setBuddy(priority_);
    specialLabel_ = new QLabel(editor_);
    connectField(priority_, [this] { storePriority(); });
    auto* priority = colon(priority_);
    priority->addWidget(specialLabel_);
    priority->addStretch(1);
    grid->addWidget(priorityLabel_, 1, 2);
    grid->addLayout(priority, 1, 3);

    // Dates.
    dateLabel_ = new QLabel(editor_);
    startDay_ = numberField("startDayField", 1, 31, 2);
    startMonth_ = numberField("startMonthField", 1, 12, 2);
    dateLabel_->setBuddy(startDay_);
    year_ = new QLineEdit(editor_);
    year_->setObjectName(QStringLiteral("yearField"));
    year_->setValidator(new QIntValidator(0, 99999, year_));
    year_->setMaxLength(5);
    year_->setFixedWidth(year_->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 10);
    dateHint_ = new QLabel(editor_);
    auto* date = colon(startDay_);
    auto* dateDot = new QLabel(QStringLiteral("."), editor_);
    date->addWidget(dateDot);
    date->addWidget(startMonth_);
    date->addWidget(year_);
    date->addWidget(dateHint_);
    date->addStretch(1);
    connectField(startDay_, [this] { storeStartDate(); });
    connectField(startMonth_, [this] { storeStartDate(); });
    connect(year_, &QLineEdit::textEdited, this, [this] { storeYear(); });
    connect(year_, &QLineEdit::editingFinished, this, [this] { finishField(); });
    grid->addWidget(dateLabel_, 2, 0);
    grid->addLayout(date, 2, 1);

    endLabel_ = new QLabel(editor_);
    endDay_ = numberField("endDayField", 1, 31, 2);
    endMonth_ = numberField("endMonthField", 1, 12, 2);
    endLabel_->setBuddy(endDay_);
    auto* end = colon(endDay_);
    auto* endDot = new QLabel(QStringLiteral("."), editor_);
    end->addWidget(endDot);
    end->addWidget(endMonth_);
    end->addStretch(1);
    connectField(endDay_, [this] { storeEndDate(); });
    connectField(endMonth_, [this] { storeEndDate(); });
    grid->addWidget(endLabel_, 2, 2);
    grid->addLayout(end, 2, 3);
    for (QWidget* w : std::initializer_list<QWidget*>{endLabel_, endDay_, endDot, endMonth_}) {
        w->setVisible(spec_.endDate);
    }
    year_->setVisible(spec_.year);
    if (!spec_.date) {
        for (QWidget* w : std::initializer_list<QWidget*>{dateLabel_, startDay_, dateDot, startMonth_, dateHint_}) {
            w->hide();
        }
    }

    // Weekdays.
    weekdaysLabel_ = new QLabel(editor_);
    auto* days = new QHBoxLayout;
    for (int d = 0; d < 7; ++d) {
        // A weekday shows its name only while ticked: the whole box answers a click.
        auto* box = new CCellCheckBox(editor_);
        box->setObjectName(QStringLiteral("weekday%1").arg(d));
        weekdays_[static_cast<std::size_t>(d)] = box;
        connect(weekdays_[static_cast<std::size_t>(d)], &QCheckBox::clicked, this, [this] { weekdayToggled(); });
        days->addWidget(weekdays_[static_cast<std::size_t>(d)]);
    }
    days->addStretch(1);
    weekdaysLabel_->setBuddy(weekdays_[0]);
    grid->addWidget(weekdaysLabel_, 3, 0);
    grid->addLayout(days, 3, 1, 1, 3);
    weekdaysLabel_->setVisible(spec_.weekdays);
    for (QCheckBox* box : weekdays_) {
        box->setVisible(spec_.weekdays);
    }

    // Season, Angelus and parity.
    summer_ = checkBox("summerBox");
    winter_ = checkBox("winterBox");
    offLabel_ = new QLabel(editor_);
    angelus_ = checkBox("angelusBox");
    evenWeeks_ = checkBox("evenWeeksBox");
    oddWeeks_ = checkBox("oddWeeksBox");
    evenMonths_ = checkBox("evenMonthsBox");
    oddMonths_ = checkBox("oddMonthsBox");
    connect(summer_, &QCheckBox::clicked, this, [this] { seasonToggled(); });
    connect(winter_, &QCheckBox::clicked, this, [this] { seasonToggled(); });
    connect(angelus_, &QCheckBox::clicked, this, [this](bool on) {
        editShown(static_cast<int>(EntryField::Angelus), [on](ScheduleProgram& s, int row) { s.setAngelus(row, on); });
    });
    connect(evenWeeks_, &QCheckBox::clicked, this, [this] { parityToggled(true); });
    connect(oddWeeks_, &QCheckBox::clicked, this, [this] { parityToggled(true); });
    connect(evenMonths_, &QCheckBox::clicked, this, [this] { parityToggled(false); });
    connect(oddMonths_, &QCheckBox::clicked, this, [this] { parityToggled(false); });
    auto* flags = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{summer_, winter_, offLabel_, angelus_, evenWeeks_, oddWeeks_,
                                                      evenMonths_, oddMonths_}) {
        flags->addWidget(w);
    }
    flags->addStretch(1);
    grid->addLayout(flags, 4, 0, 1, 4);
    for (QCheckBox* box : {evenWeeks_, oddWeeks_, evenMonths_, oddMonths_}) {
        box->setVisible(spec_.parity);
    }
    if (spec_.kind == Funeral) {
        summer_->hide();
        winter_->hide();
        offLabel_->hide();
    }
    // The holiday and funeral controls take the places of the date, weekday and season rows they do without.
    if (spec_.kind == HolidayDay) {
        buildHolidayControls(grid);
    }
    if (spec_.kind == Funeral) {
        buildFuneralControls(grid);
    }

    // Bell ringing: per bell its check box and two minute:second pairs, the ringing time and the graph.
    bellPanel_ = new QWidget(editor_);
    bellPanel_->setObjectName(QStringLiteral("bellPanel"));
    auto* bellGrid = new QGridLayout(bellPanel_);
    bellGrid->setContentsMargins(0, 0, 0, 0);
    bellGrid->setVerticalSpacing(2);
    firstColumnLabel_ = new QLabel(bellPanel_);
    secondColumnLabel_ = new QLabel(bellPanel_);
    secondColumnLabel_->setObjectName(QStringLiteral("secondColumnLabel"));
    bellGrid->addWidget(firstColumnLabel_, 0, 1);
    bellGrid->addWidget(secondColumnLabel_, 0, 2);
    for (int b = 0; b < 5; ++b) {
        TimePair& pair = bells_[static_cast<std::size_t>(b)];
        pair.bell = new CCellCheckBox(bellPanel_);
        pair.bell->setObjectName(QStringLiteral("bellBox%1").arg(b));
        const auto field = [this](const QString& name, int upper) {
            auto* f = new CFireEdit(bellPanel_);
            f->setObjectName(name);
            f->setUp(0, upper, 2, false);
            return f;
        };
        pair.minutes = field(QStringLiteral("bellMinutes%1").arg(b), 60);
        pair.seconds = field(QStringLiteral("bellSeconds%1").arg(b), 59);
        pair.secondMinutes = field(QStringLiteral("secondMinutes%1").arg(b), 60);
        pair.secondSeconds = field(QStringLiteral("secondSeconds%1").arg(b), 59);
        connect(pair.bell, &QCheckBox::clicked, this, [this, b](bool on) { bellToggled(b, on); });
        connectField(pair.minutes, [this, b] { storeBellPair(b, false); });
        connectField(pair.seconds, [this, b] { storeBellPair(b, false); });
        connectField(pair.secondMinutes, [this, b] { storeBellPair(b, true); });
        connectField(pair.secondSeconds, [this, b] { storeBellPair(b, true); });
        auto* first = new QHBoxLayout;
        first->setSpacing(2);
        first->addWidget(pair.minutes);
        pair.firstColon = new QLabel(QStringLiteral(":"), bellPanel_);
        first->addWidget(pair.firstColon);
        first->addWidget(pair.seconds);
        auto* second = new QHBoxLayout;
        second->setSpacing(2);
        second->addWidget(pair.secondMinutes);
        pair.secondColon = new QLabel(QStringLiteral(":"), bellPanel_);
        second->addWidget(pair.secondColon);
        second->addWidget(pair.secondSeconds);
        bellGrid->addWidget(pair.bell, b + 1, 0);
        bellGrid->addLayout(first, b + 1, 1);
        bellGrid->addLayout(second, b + 1, 2);
    }
    ringingLabel_ = new QLabel(bellPanel_);
    ringingMinutes_ = new CFireEdit(bellPanel_);
    ringingMinutes_->setObjectName(QStringLiteral("ringingMinutesField"));
    ringingMinutes_->setUp(0, 59, 2, false);
    ringingSeconds_ = new CFireEdit(bellPanel_);
    ringingSeconds_->setObjectName(QStringLiteral("ringingSecondsField"));
    ringingSeconds_->setUp(0, 59, 2, false);
    ringingLabel_->setBuddy(ringingMinutes_);
    connectField(ringingMinutes_, [this] { storeRingingTime(); });
    connectField(ringingSeconds_, [this] { storeRingingTime(); });
    auto* ringing = new QHBoxLayout;
    ringing->setSpacing(2);
    ringing->addWidget(ringingLabel_);
    ringing->addWidget(ringingMinutes_);
    ringing->addWidget(new QLabel(QStringLiteral(":"), bellPanel_));
    ringing->addWidget(ringingSeconds_);
    ringing->addStretch(1);
    bellGrid->addLayout(ringing, 6, 0, 1, 3);
    graph_ = new CTrackEdytorCtrl(bellPanel_);
    graph_->setObjectName(QStringLiteral("ringingGraph"));
    graph_->setMinimumSize(260, 130);
    connect(graph_, &CTrackEdytorCtrl::firstValueChanged, this, [this](int n) { graphValueChanged(n, false); });
    connect(graph_, &CTrackEdytorCtrl::secondValueChanged, this, [this](int n) { graphValueChanged(n, true); });
    bellGrid->addWidget(graph_, 0, 3, 7, 1);
    bellGrid->setColumnStretch(3, 1);
    grid->addWidget(bellPanel_, 5, 0, 1, 4);

    // Melody.
    melodyPanel_ = new QWidget(editor_);
    auto* melody = new QHBoxLayout(melodyPanel_);
    melody->setContentsMargins(0, 0, 0, 0);
    melodyLabel_ = new QLabel(melodyPanel_);
    melody_ = new CFireEdit(melodyPanel_);
    melody_->setObjectName(QStringLiteral("melodyField"));
    melody_->setUp(1, 1000, 4, false);
    repetitionsLabel_ = new QLabel(melodyPanel_);
    repetitions_ = new CFireEdit(melodyPanel_);
    repetitions_->setObjectName(QStringLiteral("repetitionsField"));
    repetitions_->setUp(1, 9, 1, false);
    melodyLabel_->setBuddy(melody_);
    repetitionsLabel_->setBuddy(repetitions_);
    connectField(melody_, [this] {
        editShown(static_cast<int>(EntryField::MelodyNumber),
                  [v = melody_->readInteger()](ScheduleProgram& s, int row) {
                      s.setMelodyNumber(row, static_cast<std::uint16_t>(v));
                  });
    });
    connectField(repetitions_, [this] {
        editShown(static_cast<int>(EntryField::Repetitions),
                  [v = repetitions_->readInteger()](ScheduleProgram& s, int row) {
                      s.setRepetitions(row, static_cast<std::uint8_t>(v));
                  });
    });
    for (QWidget* w : std::initializer_list<QWidget*>{melodyLabel_, melody_, repetitionsLabel_, repetitions_}) {
        melody->addWidget(w);
    }
    melody->addStretch(1);
    grid->addWidget(melodyPanel_, 6, 0, 1, 4);

    // Hammer and sequence: clickable labels opening their choosers.
    hammerPanel_ = linkRow(hammerLabel_, hammer_, "hammerLink", &CProgramPage::chooseHammer);
    grid->addWidget(hammerPanel_, 7, 0, 1, 4);
    sequencePanel_ = linkRow(sequenceLabel_, sequence_, "sequenceLink", &CProgramPage::chooseSequence);
    grid->addWidget(sequencePanel_, 8, 0, 1, 4);

    // Silence: days - hours:minutes, seconds not used, and whom it silences.
    silencePanel_ = new QWidget(editor_);
    auto* silence = new QHBoxLayout(silencePanel_);
    silence->setContentsMargins(0, 0, 0, 0);
    silence->setSpacing(2);
    silenceLabel_ = new QLabel(silencePanel_);
    const auto silenceField = [this](const char* name, int upper) {
        auto* f = new CFireEdit(silencePanel_);
        f->setObjectName(QLatin1String(name));
        f->setUp(0, upper, 2, false);
        return f;
    };
    silenceDays_ = silenceField("silenceDaysField", 30);
    silenceHours_ = silenceField("silenceHoursField", 23);
    silenceMinutes_ = silenceField("silenceMinutesField", 59);
    silenceSeconds_ = silenceField("silenceSecondsField", 59);
    silenceSeconds_->setEnabled(false);
    silenceLabel_->setBuddy(silenceDays_);
    silenceBells_ = new QCheckBox(silencePanel_);
    silenceBells_->setObjectName(QStringLiteral("silenceBellsBox"));
    silenceGongs_ = new QCheckBox(silencePanel_);
    silenceGongs_->setObjectName(QStringLiteral("silenceGongsBox"));
    for (CFireEdit* f : {silenceDays_, silenceHours_, silenceMinutes_}) {
        connectField(f, [this] { storeSilence(); });
    }
    connect(silenceBells_, &QCheckBox::clicked, this, [this] { silenceTargetsToggled(); });
    connect(silenceGongs_, &QCheckBox::clicked, this, [this] { silenceTargetsToggled(); });
    silence->addWidget(silenceLabel_);
    silence->addWidget(silenceDays_);
    silence->addWidget(new QLabel(QStringLiteral(" - "), silencePanel_));
    silence->addWidget(silenceHours_);
    silence->addWidget(new QLabel(QStringLiteral(":"), silencePanel_));
    silence->addWidget(silenceMinutes_);
    silence->addWidget(new QLabel(QStringLiteral(":"), silencePanel_));
    silence->addWidget(silenceSeconds_);
    silence->addSpacing(12);
    silence->addWidget(silenceBells_);
    silence->addWidget(silenceGongs_);
    silence->addStretch(1);
    grid->addWidget(silencePanel_, 9, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    // The editor is as tall as what it shows; the list takes the rest of the page.
    editor_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    // Escape in the editor goes back to the list.
    auto* escape =
        new QShortcut(QKeySequence(Qt::Key_Escape), editor_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        endEditBurst();
        list_->setFocus(Qt::ShortcutFocusReason);
    });

    // Tab goes through the editor top to bottom, left to right.
    QWidget* previous = list_;
    const auto chain = [&previous](QWidget* next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    chain(actionList_);
    if (holidayList_) {
        chain(holidayList_);
        chain(holidayButton_);
    }
    if (timeOn_[0]) {
        chain(timeOn_[0]);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{hour_, minute_, second_, priority_}) {
        chain(w);
    }
    if (relay_) {
        for (int t = 0; t < 2; ++t) {
            chain(timeOn_[static_cast<std::size_t>(t) + 1]);
            for (CFireEdit* f : laterTimes_[static_cast<std::size_t>(t)]) {
                chain(f);
            }
        }
        for (QWidget* w : std::initializer_list<QWidget*>{relay_, relayDelay_, funeralDays_, byClock_, beforeAngelus_,
                                                          afterAngelus_}) {
            chain(w);
        }
    }
    for (QWidget* w : std::initializer_list<QWidget*>{startDay_, startMonth_, year_, endDay_, endMonth_}) {
        chain(w);
    }
    for (QCheckBox* box : weekdays_) {
        chain(box);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{summer_, winter_, angelus_, evenWeeks_, oddWeeks_, evenMonths_, oddMonths_}) {
        chain(w);
    }
    for (TimePair& pair : bells_) {
        for (QWidget* w : std::initializer_list<QWidget*>{pair.bell, pair.minutes, pair.seconds, pair.secondMinutes,
                                                          pair.secondSeconds}) {
            chain(w);
        }
    }
    for (QWidget* w : std::initializer_list<QWidget*>{ringingMinutes_, ringingSeconds_, graph_, melody_, repetitions_,
                                                      hammer_, sequence_, silenceDays_, silenceHours_, silenceMinutes_,
                                                      silenceBells_, silenceGongs_}) {
        chain(w);
    }
}

const ScheduleProgram* CProgramPage::programs() const {
    return project() ? &project()->program(spec_.kind) : nullptr;
}

QIcon CProgramPage::actionIcon(int index) const {
    return actionIcons_.icon(index);
}

QString CProgramPage::formatted(int id, long long n) const {
    return QString::fromStdString(formatText(context().texts.text(id), {TextArg(n)}));
}

ProgramEntry CProgramPage::shown(int row) const {
    return programediting::shownEntry(programs()->entry(row));
}

// ---- the list ----

void CProgramPage::reload(int item) {
    // An edit still open is finished first (the list's order included), as leaving its field would.
    settleOrder();
    refreshBellTexts();
    beginListUpdate(list_);
    const ScheduleProgram* p = programs();
    const int used = p ? p->usedCount() : 0;
    focused_ = used == 0 ? 0 : std::clamp(item, 0, used - 1);
    // Selecting the row notifies the selection; the editor is filled once, below, not also on the way.
    reloading_ = true;
    endListUpdate(list_, used == 0 ? -1 : focused_);
    reloading_ = false;
    progress_->setValue(used);
    count_->setText(formatted(TextCount, used));
    onSelectionChanged();
}

void CProgramPage::reloadKeepingRecord() {
    reload(focused_);
}

void CProgramPage::rebuild(int row) {
    reload(row);
    if (isVisible() && list_->model()->rowCount() > 0) {
        list_->setFocus(Qt::OtherFocusReason);
    }
}

void CProgramPage::onSelectionChanged() {
    if (reloading_) {
        return;
    }
    // Choosing another program ends the burst of typing: its edits are steps of their own.
    orderPending_ = false;
    endEditBurst();
    const int selected = showSelectedItem(list_);
    if (list_->currentIndex().isValid()) {
        focused_ = list_->currentIndex().row();
    }
    const int used = programs() ? programs()->usedCount() : 0;
    add_->setEnabled(project() && selected < PageLimit);
    delete_->setEnabled(selected > 0);
    copy_->setEnabled(selected > 0 && selected < PageLimit && used < PageLimit);
}

void CProgramPage::showItem(bool single, int item) {
    editor_->setVisible(single && project());
    if (single && project()) {
        showEntry(item);
    }
}

void CProgramPage::refreshMarks() {
    model_->allRowsChanged();
    showMarks();
}

void CProgramPage::addProgram() {
    const ScheduleProgram* p = programs();
    if (!p || isTollingKind(spec_.kind)) {
        return;
    }
    if (p->usedCount() >= PageLimit) {
        showMessage(text(TextTableFull));
        return;
    }
    listAction({TextAddStep, {}}, -1, [this](ProjectData& project, ScheduleProgram& s) {
        const int added = s.addEntry();
        if (spec_.kind == HolidayDay) {
            s.setHolidayIndex(added, programediting::holidayForNewProgram(&project.holidays(), rememberedHoliday_));
        }
        return added;
    });
}

// One action on the list as a whole (Add, Delete, Copy, Paste, a new number, a column click): an undo step of its
// own, inside which the list is put in the order of the chosen column; the list is then rebuilt with the entry
// that `change` names focused.
void CProgramPage::listAction(const EditLabel& label, int record,
                              const std::function<int(ProjectData&, ScheduleProgram&)>& change, int field) {
    int focus = 0;
    endEditBurst();
    edit(label, {sectionId(), record, field}, [&](ProjectData& project) {
        ScheduleProgram& s = project.program(spec_.kind);
        focus = s.sortEntries(static_cast<SortKey>(sortKey_), change(project, s));
    });
    endEditBurst();
    rebuild(focus);
}

void CProgramPage::deleteSelected() {
    const QList<int> rows = selectedRows(list_);
    if (!programs() || programs()->usedCount() == 0 || rows.isEmpty() || isTollingKind(spec_.kind)) {
        return;
    }
    const std::vector<int> selected(rows.begin(), rows.end());
    listAction({TextDeleteStep, {}}, -1,
               [&selected](ProjectData&, ScheduleProgram& s) { return s.deleteEntries(selected); });
}

void CProgramPage::copySelected() {
    const QList<int> rows = selectedRows(list_);
    if (!programs() || rows.isEmpty() || programs()->usedCount() >= PageLimit || isTollingKind(spec_.kind)) {
        return;
    }
    const std::vector<int> selected(rows.begin(), rows.end());
    CopyResult copied;
    listAction({TextCopyStep, {}}, -1, [&](ProjectData&, ScheduleProgram& s) {
        copied = s.copyEntries(selected);
        return copied.focus;
    });
    if (copied.tableFull) {
        showMessage(text(TextTableFull));
    }
}

void CProgramPage::copyToClipboard() {
    const QList<int> rows = selectedRows(list_);
    if (!programs() || rows.isEmpty() || isTollingKind(spec_.kind)) {
        return;
    }
    const std::vector<int> selected(rows.begin(), rows.end());
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(programediting::programsToText(*programs(), selected)));
}

void CProgramPage::pasteFromClipboard() {
    if (!programs() || isTollingKind(spec_.kind)) {
        return;
    }
    const auto pasted = programediting::programsFromText(QGuiApplication::clipboard()->text().toStdString());
    if (!pasted || pasted->kind != spec_.kind) {
        showMessage(text(TextNotPrograms));
        return;
    }
    if (programs()->usedCount() >= PageLimit) {
        showMessage(text(TextTableFull));
        return;
    }
    programediting::PasteResult result;
    listAction({TextPasteStep, {}}, -1, [&](ProjectData&, ScheduleProgram& s) {
        result = programediting::pastePrograms(s, pasted->entries);
        return result.first;
    });
    if (result.tableFull) {
        showMessage(text(TextTableFull));
    }
}

void CProgramPage::changeNumber() {
    const int row = currentItem();
    if (row < 0 || !programs() || isTollingKind(spec_.kind)) {
        return;
    }
    CSelNumerDlg chooser(*project(), programs()->entry(row).identifier(), context().texts, context().prompts, this);
    if (context().dialogs.run(chooser) != QDialog::Accepted || chooser.chosenNumber() <= 0) {
        return;
    }
    const auto number = static_cast<std::uint16_t>(chooser.chosenNumber());
    listAction(
        {TextNumberStep, {static_cast<long long>(number)}}, row,
        [row, number](ProjectData&, ScheduleProgram& s) {
            s.storeShownValues(row);
            s.setIdentifier(row, number);
            return row;
        },
        static_cast<int>(EntryField::Identifier));
}

void CProgramPage::sortByColumn(int section) {
    const int key = model_->sortKeyOf(section);
    if (key < 0 || !programs()) {
        return;
    }
    sortKey_ = key;
    if (document()) {
        document()->setListOrder(spec_.kind, static_cast<SortKey>(key));
    }
    const QList<int> rows = selectedRows(list_);
    const int focus = currentItem() >= 0 ? currentItem() : (rows.isEmpty() ? 0 : rows.front());
    listAction({TextSortStep, {}}, -1, [focus](ProjectData&, ScheduleProgram&) { return focus; });
}

// ---- the editor ----

void CProgramPage::editShown(int field, const std::function<void(ScheduleProgram&, int)>& change) {
    const int row = currentItem();
    if (row < 0 || !programs() || row >= programs()->usedCount()) {
        return;
    }
    const EditLabel label =
        spec_.kind == Funeral ? EditLabel{TextFuneralStep, {static_cast<long long>(row + 1)}}
                              : EditLabel{TextEditStep, {static_cast<long long>(programs()->entry(row).identifier())}};
    const EditKey key{sectionId(), row, field};
    if (edit(label, key, [&](ProjectData& project) {
            ScheduleProgram& s = project.program(spec_.kind);
            s.storeShownValues(row);
            change(s, row);
        })) {
        orderPending_ = true;
        pendingLabel_ = label;
        pendingKey_ = key;
    }
    model_->rowChanged(row);
    showMarks();
}

void CProgramPage::settleOrder() {
    if (!orderPending_) {
        return;
    }
    orderPending_ = false;
    const int row = currentItem();
    if (row < 0 || !programs() || row >= programs()->usedCount() || isTollingKind(spec_.kind)) {
        return;
    }
    int moved = row;
    // The same label and key as the edit itself: the new order joins the edit's step, and one undo takes both back.
    const bool reordered = edit(pendingLabel_, pendingKey_, [&](ProjectData& project) {
        moved = project.program(spec_.kind).sortEntries(static_cast<SortKey>(sortKey_), row);
    });
    if (reordered) {
        document()->moveLastStepRecord(moved);
        showOrder(moved);
    }
}

void CProgramPage::finishField() {
    settleOrder();
    endEditBurst();
}

void CProgramPage::showOrder(int row) {
    reloading_ = true;
    beginListUpdate(list_);
    endListUpdate(list_, row, false);
    reloading_ = false;
    setCurrentItem(row);
    focused_ = row;
}

void CProgramPage::showEntry(int row) {
    if (!programs() || row < 0 || row >= programs()->usedCount()) {
        return;
    }
    const ProgramEntry e = shown(row);
    const bool funeral = spec_.kind == Funeral;
    actionList_->setCurrentIndex(programediting::actionPosition(e.action(), funeral));
    setItemTwoDigits(hour_, e.hour());
    setItemTwoDigits(minute_, e.minute());
    setItemTwoDigits(second_, e.second());
    setItemTwoDigits(startDay_, e.startDay());
    setItemTwoDigits(startMonth_, e.startMonth());
    year_->setText(QString::fromStdString(programediting::yearText(e.year())));
    setItemTwoDigits(endDay_, e.endDay());
    setItemTwoDigits(endMonth_, e.endMonth());
    for (int d = 0; d < 7; ++d) {
        QCheckBox* box = weekdays_[static_cast<std::size_t>(d)];
        box->setChecked(e.onWeekday(d));
        box->setText(box->isChecked() ? text(TextFirstWeekday + d) : QString());
    }
    setItemTwoDigits(priority_, e.priority() + 1);
    showPriorityLabel(e);
    summer_->setChecked(e.summer());
    winter_->setChecked(e.winter());
    showSeasonLabel();
    angelus_->setChecked(e.angelus());
    evenWeeks_->setChecked(e.evenWeeks());
    oddWeeks_->setChecked(e.oddWeeks());
    evenMonths_->setChecked(e.evenMonths());
    oddMonths_->setChecked(e.oddMonths());
    if (spec_.kind == HolidayDay) {
        showHolidayChoice(e);
    }
    if (spec_.kind == Funeral) {
        showFuneralControls(e);
    }
    showActionControls(e);
    showMarks();
}

void CProgramPage::showActionControls(const ProgramEntry& e) {
    const std::uint8_t action = e.action();
    bellPanel_->setVisible(action == ProgramEntry::ActionBells);
    melodyPanel_->setVisible(action == ProgramEntry::ActionMelody);
    hammerPanel_->setVisible(action == ProgramEntry::ActionHammers);
    sequencePanel_->setVisible(action == ProgramEntry::ActionSequence);
    silencePanel_->setVisible(action == ProgramEntry::ActionSilence);
    angelus_->setVisible(spec_.kind != Funeral &&
                         (action == ProgramEntry::ActionBells || action == ProgramEntry::ActionHammers ||
                          action == ProgramEntry::ActionSequence));
    switch (action) {
    case ProgramEntry::ActionBells:
        showBellControls(e);
        break;
    case ProgramEntry::ActionMelody:
        melody_->setText(QString::asprintf("%.4d", e.melodyNumber()));
        repetitions_->setText(QString::asprintf("%.1d", e.repetitions()));
        break;
    case ProgramEntry::ActionHammers:
        hammer_->setText(hammerText(e));
        hammer_->setAccessibleName(text(TextHammer) + QLatin1String(": ") + hammerText(e));
        break;
    case ProgramEntry::ActionSequence:
        sequence_->setText(sequenceText(e));
        sequence_->setAccessibleName(text(TextSequence) + QLatin1String(": ") + sequenceText(e));
        break;
    case ProgramEntry::ActionSilence: {
        const std::uint32_t seconds = e.silenceSeconds();
        setItemTwoDigits(silenceDays_, static_cast<int>(seconds / 86400));
        setItemTwoDigits(silenceHours_, static_cast<int>(seconds % 86400 / 3600));
        setItemTwoDigits(silenceMinutes_, static_cast<int>(seconds % 3600 / 60));
        setItemTwoDigits(silenceSeconds_, static_cast<int>(seconds % 60));
        silenceBells_->setChecked(e.silenceForBells());
        silenceGongs_->setChecked(e.silenceForGongs());
        break;
    }
    default:
        break;
    }
}

void CProgramPage::showBellControls(const ProgramEntry& e, bool keepUnrung) {
    for (int b = 0; b < ProgramEntry::BellCount; ++b) {
        TimePair& pair = bells_[static_cast<std::size_t>(b)];
        const bool rung = e.bellRung(b);
        pair.bell->setChecked(rung);
        pair.bell->setText(rung ? QString::number(b + 1) : QString());
        if (rung || !keepUnrung) {
            const int delay = rung ? e.bellDelay(b) : 0;
            setItemTwoDigits(pair.minutes, delay / 60);
            setItemTwoDigits(pair.seconds, delay % 60);
            setItemTwoDigits(pair.secondMinutes, e.secondTime(b) / 60);
            setItemTwoDigits(pair.secondSeconds, e.secondTime(b) % 60);
        }
        for (QWidget* w : std::initializer_list<QWidget*>{pair.minutes, pair.firstColon, pair.seconds,
                                                          pair.secondMinutes, pair.secondColon, pair.secondSeconds}) {
            w->setVisible(rung);
        }
    }
    setItemTwoDigits(ringingMinutes_, e.ringingTime() / 60);
    setItemTwoDigits(ringingSeconds_, e.ringingTime() % 60);
    fillGraph(e);
}

// The graph shows each bell's delay within the ringing time and its second value within an hour.
void CProgramPage::fillGraph(const ProgramEntry& e) {
    graph_->clear();
    const int ringing = e.ringingTime();
    graph_->setRegions(ringing, MaxBellSeconds);
    for (int b = 0; b < ProgramEntry::BellCount; ++b) {
        graph_->addTrack(e.bellDelay(b), e.secondTime(b));
        graph_->setLimits(b, 0, std::max(ringing - 5, 0), 0, MaxBellSeconds);
    }
}

void CProgramPage::showPriorityLabel(const ProgramEntry& e) {
    specialLabel_->setVisible(e.priority() == 15);
}

void CProgramPage::showSeasonLabel() {
    offLabel_->setVisible(spec_.kind != Funeral && !summer_->isChecked() && !winter_->isChecked());
}

void CProgramPage::showMarks() {
    const int row = currentItem();
    const ScheduleProgram* p = programs();
    if (!p || row < 0 || row >= p->usedCount()) {
        return;
    }
    const QString changed = text(TextChangedDescription);
    const auto field = [&](QWidget* w, bool on) {
        markChangedField(w, on);
        w->setAccessibleDescription(on ? changed : QString());
    };
    const auto option = [&](QWidget* w, bool on) {
        markChangedOption(w, on);
        w->setAccessibleDescription(on ? changed : QString());
    };
    const auto marked = [&](EntryField f) { return p->isMarked(row, f); };
    field(actionList_, marked(EntryField::Action));
    field(hour_, marked(EntryField::Hour));
    field(minute_, marked(EntryField::Minute));
    field(second_, marked(EntryField::Second));
    field(startDay_, marked(EntryField::StartDay));
    field(startMonth_, marked(EntryField::StartMonth));
    field(year_, marked(EntryField::Year));
    field(endDay_, marked(EntryField::EndDay));
    field(endMonth_, marked(EntryField::EndMonth));
    field(priority_, marked(EntryField::Priority));
    for (QCheckBox* box : weekdays_) {
        option(box, marked(EntryField::Days));
    }
    option(summer_, marked(EntryField::Summer));
    option(winter_, marked(EntryField::Winter));
    option(angelus_, marked(EntryField::Angelus));
    option(evenWeeks_, marked(EntryField::WeekParity));
    option(oddWeeks_, marked(EntryField::WeekParity));
    option(evenMonths_, marked(EntryField::MonthParity));
    option(oddMonths_, marked(EntryField::MonthParity));
    for (int b = 0; b < 5; ++b) {
        TimePair& pair = bells_[static_cast<std::size_t>(b)];
        const bool delay = marked(static_cast<EntryField>(static_cast<int>(EntryField::BellDelay1) + b));
        const bool second = marked(static_cast<EntryField>(static_cast<int>(EntryField::SecondTime1) + b));
        option(pair.bell, delay);
        field(pair.minutes, delay);
        field(pair.seconds, delay);
        field(pair.secondMinutes, second);
        field(pair.secondSeconds, second);
    }
    field(ringingMinutes_, marked(EntryField::RingingTime));
    field(ringingSeconds_, marked(EntryField::RingingTime));
    field(melody_, marked(EntryField::MelodyNumber));
    field(repetitions_, marked(EntryField::Repetitions));
    option(hammer_, marked(EntryField::Hammers));
    option(sequence_, marked(EntryField::Sequence));
    field(silenceDays_, marked(EntryField::SilenceDuration));
    field(silenceHours_, marked(EntryField::SilenceDuration));
    field(silenceMinutes_, marked(EntryField::SilenceDuration));
    option(silenceBells_, marked(EntryField::SilenceTargets));
    option(silenceGongs_, marked(EntryField::SilenceTargets));
    if (holidayList_) {
        field(holidayList_, marked(EntryField::Holiday));
    }
    if (relay_) {
        static constexpr std::array<std::array<EntryField, 3>, 2> later{
            {{EntryField::Time2Hour, EntryField::Time2Minute, EntryField::Time2Second},
             {EntryField::Time3Hour, EntryField::Time3Minute, EntryField::Time3Second}}};
        for (std::size_t t = 0; t < 3; ++t) {
            option(timeOn_[t],
                   marked(static_cast<EntryField>(static_cast<int>(EntryField::Time1On) + static_cast<int>(t))));
        }
        for (std::size_t t = 0; t < 2; ++t) {
            for (std::size_t part = 0; part < 3; ++part) {
                field(laterTimes_[t][part], marked(later[t][part]));
            }
        }
        option(relay_, marked(EntryField::FuneralRelay));
        field(relayDelay_, marked(EntryField::RelayDelay));
        field(funeralDays_, marked(EntryField::Days));
        for (QRadioButton* mode : {byClock_, beforeAngelus_, afterAngelus_}) {
            option(mode, marked(EntryField::StartMode));
        }
    }
}

QString CProgramPage::sequenceText(const ProgramEntry& e) const {
    const int index = e.sequenceIndex();
    if (!project() || index >= SequenceTable::Count || !project()->sequences().isUsed(index)) {
        return text(TextNotChosen);
    }
    return formatted(TextSequenceName, index + 1);
}

QString CProgramPage::hammerText(const ProgramEntry& e) const {
    const std::uint8_t index = hammerBitToIndex(e.hammerBits());
    return index == NoHammer ? text(TextNotChosen) : formatted(TextHammerName, index + 1);
}

// ---- handlers ----

void CProgramPage::actionChosen(int position) {
    const std::uint8_t code = programediting::actionCodeAt(position, spec_.kind == Funeral);
    editShown(static_cast<int>(EntryField::Action), [code](ScheduleProgram& s, int row) { s.setAction(row, code); });
    settleOrder();
    // The parameters are read anew under the new action.
    if (currentItem() >= 0) {
        const ProgramEntry e = shown(currentItem());
        showActionControls(e);
        showMarks();
    }
}

void CProgramPage::storeTime() {
    const auto h = static_cast<std::uint8_t>(hour_->readInteger());
    const auto m = static_cast<std::uint8_t>(minute_->readInteger());
    const auto sec = static_cast<std::uint8_t>(second_->readInteger());
    CFireEdit* focused = qobject_cast<CFireEdit*>(QApplication::focusWidget());
    const int field = focused == minute_   ? static_cast<int>(EntryField::Minute)
                      : focused == second_ ? static_cast<int>(EntryField::Second)
                                           : static_cast<int>(EntryField::Hour);
    editShown(field, [=](ScheduleProgram& s, int row) { s.setTime(row, h, m, sec); });
}

void CProgramPage::storeStartDate() {
    const auto d = static_cast<std::uint8_t>(startDay_->readInteger());
    const auto m = static_cast<std::uint8_t>(startMonth_->readInteger());
    const bool month = QApplication::focusWidget() == startMonth_;
    editShown(static_cast<int>(month ? EntryField::StartMonth : EntryField::StartDay),
              [=](ScheduleProgram& s, int row) { s.setStartDate(row, d, m); });
}

void CProgramPage::storeEndDate() {
    const auto d = static_cast<std::uint8_t>(endDay_->readInteger());
    const auto m = static_cast<std::uint8_t>(endMonth_->readInteger());
    const bool month = QApplication::focusWidget() == endMonth_;
    editShown(static_cast<int>(month ? EntryField::EndMonth : EntryField::EndDay),
              [=](ScheduleProgram& s, int row) { s.setEndDate(row, d, m); });
}

// The year is read together with the day and the month, as they are typed.
void CProgramPage::storeYear() {
    const auto d = static_cast<std::uint8_t>(startDay_->readInteger());
    const auto m = static_cast<std::uint8_t>(startMonth_->readInteger());
    const std::uint8_t y = programediting::yearByte(year_->text().toLong());
    editShown(static_cast<int>(EntryField::Year), [=](ScheduleProgram& s, int row) {
        s.setStartDate(row, d, m);
        s.setYear(row, y);
    });
}

void CProgramPage::storePriority() {
    const auto p = static_cast<std::uint8_t>(priority_->readInteger() - 1);
    editShown(static_cast<int>(EntryField::Priority), [p](ScheduleProgram& s, int row) { s.setPriority(row, p); });
    if (currentItem() >= 0) {
        showPriorityLabel(programs()->entry(currentItem()));
    }
}

void CProgramPage::storeRingingTime() {
    const auto seconds =
        static_cast<std::uint16_t>(ringingMinutes_->readInteger() * 60 + ringingSeconds_->readInteger());
    editShown(static_cast<int>(EntryField::RingingTime),
              [seconds](ScheduleProgram& s, int row) { s.setRingingTime(row, seconds); });
    if (currentItem() >= 0) {
        fillGraph(shown(currentItem()));
    }
}

void CProgramPage::storeSilence() {
    const std::uint32_t seconds = static_cast<std::uint32_t>(silenceDays_->readInteger()) * 86400u +
                                  static_cast<std::uint32_t>(silenceHours_->readInteger()) * 3600u +
                                  static_cast<std::uint32_t>(silenceMinutes_->readInteger()) * 60u;
    editShown(static_cast<int>(EntryField::SilenceDuration),
              [seconds](ScheduleProgram& s, int row) { s.setSilenceDuration(row, seconds); });
}

void CProgramPage::storeBellPair(int bell, bool second) {
    TimePair& pair = bells_[static_cast<std::size_t>(bell)];
    CFireEdit* minutes = second ? pair.secondMinutes : pair.minutes;
    CFireEdit* seconds = second ? pair.secondSeconds : pair.seconds;
    const int typedMinutes = minutes->readInteger();
    const int typedSeconds = seconds->readInteger();
    const std::uint16_t value = ProgramEntry::bellTimeFrom(typedMinutes, typedSeconds);
    if (typedMinutes * 60 + typedSeconds >= 3600) {
        // An hour or more wraps to 00:00, and the fields say so.
        minutes->setText(twoDigits(0));
        seconds->setText(twoDigits(0));
    }
    const int field = static_cast<int>(second ? EntryField::SecondTime1 : EntryField::BellDelay1) + bell;
    editShown(field, [=](ScheduleProgram& s, int row) {
        if (second) {
            s.setBellSecondTime(row, bell, value);
        } else {
            s.setBellDelay(row, bell, value);
        }
    });
    if (currentItem() >= 0) {
        fillGraph(shown(currentItem()));
    }
}

void CProgramPage::bellToggled(int bell, bool on) {
    TimePair& pair = bells_[static_cast<std::size_t>(bell)];
    const std::uint16_t delay =
        on ? ProgramEntry::bellTimeFrom(pair.minutes->readInteger(), pair.seconds->readInteger())
           : ProgramEntry::BellNotRung;
    const std::uint16_t second =
        ProgramEntry::bellTimeFrom(pair.secondMinutes->readInteger(), pair.secondSeconds->readInteger());
    editShown(static_cast<int>(EntryField::BellDelay1) + bell, [=](ScheduleProgram& s, int row) {
        s.setBellDelay(row, bell, delay);
        if (on) {
            s.setBellSecondTime(row, bell, second);
        }
    });
    if (currentItem() >= 0) {
        showBellControls(shown(currentItem()), true);
        showMarks();
    }
}

void CProgramPage::weekdayToggled() {
    std::uint8_t mask = 0;
    for (int d = 0; d < 7; ++d) {
        QCheckBox* box = weekdays_[static_cast<std::size_t>(d)];
        if (box->isChecked()) {
            mask = static_cast<std::uint8_t>(mask | (1u << d));
        }
        box->setText(box->isChecked() ? text(TextFirstWeekday + d) : QString());
    }
    editShown(static_cast<int>(EntryField::Days), [mask](ScheduleProgram& s, int row) { s.setDays(row, mask); });
    finishField();
    if (mask == 0 && (spec_.kind == Weekly || spec_.kind == HolidayDay)) {
        showMessage(text(TextNoWeekday));
    }
}

void CProgramPage::seasonToggled() {
    const bool summer = summer_->isChecked();
    const bool winter = winter_->isChecked();
    QWidget* from = QApplication::focusWidget();
    editShown(static_cast<int>(from == winter_ ? EntryField::Winter : EntryField::Summer),
              [=](ScheduleProgram& s, int row) {
                  s.setSummer(row, summer);
                  s.setWinter(row, winter);
              });
    endEditBurst();
    showSeasonLabel();
}

// Each pair keeps at least one of its boxes: unticking the last one ticks "even" again.
void CProgramPage::parityToggled(bool weeks) {
    QCheckBox* even = weeks ? evenWeeks_ : evenMonths_;
    QCheckBox* odd = weeks ? oddWeeks_ : oddMonths_;
    if (!even->isChecked() && !odd->isChecked()) {
        even->setChecked(true);
    }
    const bool isOdd = odd->isChecked();
    const bool isEven = even->isChecked();
    editShown(static_cast<int>(weeks ? EntryField::WeekParity : EntryField::MonthParity),
              [=](ScheduleProgram& s, int row) {
                  if (weeks) {
                      s.setWeekParity(row, isOdd, isEven);
                  } else {
                      s.setMonthParity(row, isOdd, isEven);
                  }
              });
    endEditBurst();
}

void CProgramPage::silenceTargetsToggled() {
    if (!silenceBells_->isChecked() && !silenceGongs_->isChecked()) {
        silenceBells_->setChecked(true);
    }
    const bool bells = silenceBells_->isChecked();
    const bool gongs = silenceGongs_->isChecked();
    editShown(static_cast<int>(EntryField::SilenceTargets),
              [=](ScheduleProgram& s, int row) { s.setSilenceTargets(row, bells, gongs); });
    endEditBurst();
}

void CProgramPage::graphValueChanged(int trackNumber, bool second) {
    const int bell = trackNumber - 1;
    if (bell < 0 || bell >= ProgramEntry::BellCount || currentItem() < 0) {
        return;
    }
    const std::uint16_t value = second ? graph_->secondValue(bell) : graph_->firstValue(bell);
    const int field = static_cast<int>(second ? EntryField::SecondTime1 : EntryField::BellDelay1) + bell;
    editShown(field, [=](ScheduleProgram& s, int row) {
        if (second) {
            s.setBellSecondTime(row, bell, value);
        } else {
            s.setBellDelay(row, bell, value);
        }
    });
    TimePair& pair = bells_[static_cast<std::size_t>(bell)];
    setItemTwoDigits(second ? pair.secondMinutes : pair.minutes, value / 60);
    setItemTwoDigits(second ? pair.secondSeconds : pair.seconds, value % 60);
}

void CProgramPage::chooseSequence() {
    const int row = currentItem();
    if (row < 0 || !programs()) {
        return;
    }
    CSelSekwDlg chooser(project(), shown(row).sequenceIndex(), context().texts, context().prompts, this);
    if (context().dialogs.run(chooser) != QDialog::Accepted || chooser.chosenIndex() < 0) {
        return;
    }
    const auto index = static_cast<std::uint8_t>(chooser.chosenIndex());
    endEditBurst();
    editShown(static_cast<int>(EntryField::Sequence),
              [index](ScheduleProgram& s, int r) { s.setSequenceIndex(r, index); });
    endEditBurst();
    showActionControls(shown(row));
    showMarks();
}

void CProgramPage::chooseHammer() {
    const int row = currentItem();
    if (row < 0 || !programs()) {
        return;
    }
    CSelMlotek chooser(false, hammerBitToIndex(shown(row).hammerBits()), context().texts, context().prompts, this);
    if (context().dialogs.run(chooser) != QDialog::Accepted || chooser.chosen() > 4) {
        return;
    }
    const std::uint8_t bits = hammerIndexToBit(chooser.chosen());
    endEditBurst();
    editShown(static_cast<int>(EntryField::Hammers), [bits](ScheduleProgram& s, int r) { s.setHammerBits(r, bits); });
    endEditBurst();
    showActionControls(shown(row));
    showMarks();
}

// ---- texts ----

void CProgramPage::refreshTexts() {
    add_->setText(text(TextAdd));
    delete_->setText(text(TextDelete));
    copy_->setText(text(TextCopy));
    list_->setAccessibleName(text(spec_.captionText));
    model_->textsChanged();
    actionLabel_->setText(text(TextAction) + QLatin1Char(':'));
    {
        const int current = actionList_->currentIndex();
        actionList_->clear();
        const bool funeral = spec_.kind == Funeral;
        for (int i = 0; i < programediting::actionCount(funeral); ++i) {
            const std::uint8_t code = programediting::actionCodeAt(i, funeral);
            actionList_->addItem(actionIcon(ProgramEntryText::actionIcon(code)),
                                 text(programediting::ActionTexts[static_cast<std::size_t>(i)]));
        }
        actionList_->setCurrentIndex(current);
    }
    timeLabel_->setText(text(TextTime) + QLatin1Char(':'));
    hour_->setAccessibleName(text(TextHour));
    minute_->setAccessibleName(text(TextMinute));
    second_->setAccessibleName(text(TextSecond));
    priorityLabel_->setText(text(TextPriority) + QLatin1Char(':'));
    priority_->setAccessibleName(text(TextPriority));
    specialLabel_->setText(text(TextSpecial));
    dateLabel_->setText(text(spec_.dateLabelText) + QLatin1Char(':'));
    startDay_->setAccessibleName(text(spec_.dateLabelText) + QLatin1String(", ") + text(TextDay));
    startMonth_->setAccessibleName(text(spec_.dateLabelText) + QLatin1String(", ") + text(TextMonth));
    year_->setAccessibleName(text(TextYear));
    dateHint_->setText(text(spec_.year ? TextYearDateHint : TextDateHint));
    endLabel_->setText(text(TextEndDate) + QLatin1Char(':'));
    endDay_->setAccessibleName(text(TextEndDate) + QLatin1String(", ") + text(TextDay));
    endMonth_->setAccessibleName(text(TextEndDate) + QLatin1String(", ") + text(TextMonth));
    weekdaysLabel_->setText(text(TextWeekdays) + QLatin1Char(':'));
    for (int d = 0; d < 7; ++d) {
        QCheckBox* box = weekdays_[static_cast<std::size_t>(d)];
        box->setAccessibleName(text(TextFirstWeekday + d));
        box->setText(box->isChecked() ? text(TextFirstWeekday + d) : QString());
    }
    summer_->setText(text(TextSummer));
    winter_->setText(text(TextWinter));
    offLabel_->setText(text(TextOff));
    angelus_->setText(text(TextAngelus));
    evenWeeks_->setText(text(TextEvenWeeks));
    oddWeeks_->setText(text(TextOddWeeks));
    evenMonths_->setText(text(TextEvenMonths));
    oddMonths_->setText(text(TextOddMonths));

    refreshBellTexts();
    ringingLabel_->setText(text(TextRingingTime) + QLatin1Char(':'));
    ringingMinutes_->setAccessibleName(text(TextRingingTime) + QLatin1String(", ") + text(TextMinutes));
    ringingSeconds_->setAccessibleName(text(TextRingingTime) + QLatin1String(", ") + text(TextSeconds));
    graph_->setAccessibleName(text(TextGraph));
    melodyLabel_->setText(text(TextMelody) + QLatin1Char(':'));
    melody_->setAccessibleName(text(TextMelody));
    repetitionsLabel_->setText(text(TextRepetitions) + QLatin1Char(':'));
    repetitions_->setAccessibleName(text(TextRepetitions));
    hammerLabel_->setText(text(TextHammer) + QLatin1Char(':'));
    sequenceLabel_->setText(text(TextSequence) + QLatin1Char(':'));
    silenceLabel_->setText(text(TextSilence) + QLatin1Char(':'));
    silenceDays_->setAccessibleName(text(TextSilence) + QLatin1String(", ") + text(TextDays));
    silenceHours_->setAccessibleName(text(TextSilence) + QLatin1String(", ") + text(TextHours));
    silenceMinutes_->setAccessibleName(text(TextSilence) + QLatin1String(", ") + text(TextMinutes));
    silenceSeconds_->setAccessibleName(text(TextSilence) + QLatin1String(", ") + text(TextSeconds));
    silenceBells_->setText(text(TextForBells));
    silenceGongs_->setText(text(TextForGongs));
    add_->setAccessibleName(text(TextAdd));
    delete_->setAccessibleName(text(TextDelete));
    copy_->setAccessibleName(text(TextCopy));
    if (holidayLabel_) {
        holidayLabel_->setText(text(TextHoliday) + QLatin1Char(':'));
        holidayButton_->setToolTip(text(TextShowHolidays));
        holidayButton_->setAccessibleName(text(TextShowHolidays));
    }
    if (relay_) {
        refreshFuneralTexts();
    }
    const ScheduleProgram* p = programs();
    count_->setText(formatted(TextCount, p ? p->usedCount() : 0));
    if (currentItem() >= 0) {
        showEntry(currentItem());
    }
}

// The second value's name follows the start option of the settings (bit 9 of the option flags): read again whenever
// the page is filled, so a change on the settings page or its undo shows here too.
void CProgramPage::refreshBellTexts() {
    const bool startOption = project() && project()->general().startMode() == 1;
    const QString secondName = text(startOption ? TextSecondStartOption : TextSecondOtherwise);
    firstColumnLabel_->setText(text(TextSwitchOnDelay));
    secondColumnLabel_->setText(secondName);
    for (int b = 0; b < 5; ++b) {
        TimePair& pair = bells_[static_cast<std::size_t>(b)];
        const QString bell = formatted(TextBell, b + 1);
        pair.bell->setAccessibleName(bell);
        pair.minutes->setAccessibleName(bell + QLatin1String(", ") + text(TextSwitchOnDelay) + QLatin1String(", ") +
                                        text(TextMinutes));
        pair.seconds->setAccessibleName(bell + QLatin1String(", ") + text(TextSwitchOnDelay) + QLatin1String(", ") +
                                        text(TextSeconds));
        pair.secondMinutes->setAccessibleName(bell + QLatin1String(", ") + secondName + QLatin1String(", ") +
                                              text(TextMinutes));
        pair.secondSeconds->setAccessibleName(bell + QLatin1String(", ") + secondName + QLatin1String(", ") +
                                              text(TextSeconds));
    }
    graph_->setTexts(
        QString::fromStdString(context().texts.text(TextBell)).replace(QLatin1String("%d"), QLatin1String("%1")),
        text(TextSwitchOnDelay), secondName);
}

// ---- holiday-day programs ----

void CProgramPage::buildHolidayControls(QGridLayout* grid) {
    holidayPanel_ = new QWidget(editor_);
    auto* row = new QHBoxLayout(holidayPanel_);
    row->setContentsMargins(0, 0, 0, 0);
    holidayLabel_ = new QLabel(editor_);
    holidayList_ = new QComboBox(holidayPanel_);
    holidayList_->setObjectName(QStringLiteral("holidayList"));
    holidayList_->setMinimumContentsLength(24);
    holidayLabel_->setBuddy(holidayList_);
    holidayButton_ = new QPushButton(QStringLiteral("..."), holidayPanel_);
    holidayButton_->setObjectName(QStringLiteral("holidayTableButton"));
    holidayButton_->setFixedWidth(holidayButton_->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(holidayList_, &QComboBox::activated, this, &CProgramPage::holidayChosen);
    connect(holidayButton_, &QPushButton::clicked, this, &CProgramPage::showHolidayTable);
    row->addWidget(holidayList_);
    row->addWidget(holidayButton_);
    row->addStretch(1);
    grid->addWidget(holidayLabel_, 2, 0);
    grid->addWidget(holidayPanel_, 2, 1, 1, 3);
}

// The list names every used holiday in slot order after "no holiday"; a program whose holiday is gone shows none
// chosen.
void CProgramPage::showHolidayChoice(const ProgramEntry& e) {
    const HolidayTable& holidays = project()->holidays();
    holidayList_->clear();
    for (const std::string& name : holidays.choiceList(context().texts)) {
        holidayList_->addItem(QString::fromStdString(name));
    }
    holidayList_->setEnabled(holidayList_->count() > 0);
    holidayList_->setCurrentIndex(holidays.indexToChoice(e.holidayIndex()));
}

void CProgramPage::holidayChosen(int position) {
    if (currentItem() < 0 || !project()) {
        return;
    }
    const std::uint8_t index = project()->holidays().choiceToIndex(position);
    endEditBurst();
    editShown(static_cast<int>(EntryField::Holiday),
              [index](ScheduleProgram& s, int row) { s.setHolidayIndex(row, index); });
    finishField();
    rememberedHoliday_ = index;
    showActionControls(shown(currentItem()));
    showMarks();
}

void CProgramPage::showHolidayTable() {
    if (!view() || currentItem() < 0) {
        return;
    }
    const int index = programs()->entry(currentItem()).holidayIndex();
    view()->showPage(PageId::Swieta);
    if (auto* table = qobject_cast<CPropSwieta*>(view()->page(PageId::Swieta))) {
        table->showHoliday(index < HolidayTable::Count ? index : 0);
    }
}

// ---- funeral tolling ----

void CProgramPage::buildFuneralControls(QGridLayout* grid) {
    const auto box = [this](const QString& name) {
        auto* b = new QCheckBox(editor_);
        b->setObjectName(name);
        return b;
    };
    // Time 1 is the common time row; its box takes the place of the time label.
    timeOn_[0] = box(QStringLiteral("time1Box"));
    timeLabel_->hide();
    grid->addWidget(timeOn_[0], 1, 0);
    for (int t = 0; t < 2; ++t) {
        const std::size_t at = static_cast<std::size_t>(t);
        timeOn_[at + 1] = box(QStringLiteral("time%1Box").arg(t + 2));
        auto* row = new QWidget(editor_);
        laterTimeRows_[at] = row;
        auto* fields = new QHBoxLayout(row);
        fields->setContentsMargins(0, 0, 0, 0);
        fields->setSpacing(2);
        const char* parts[] = {"Hour", "Minute", "Second"};
        for (std::size_t part = 0; part < 3; ++part) {
            auto* f = new CFireEdit(row);
            f->setObjectName(QStringLiteral("time%1%2Field").arg(t + 2).arg(QLatin1String(parts[part])));
            f->setUp(0, part == 0 ? 23 : 59, 2, false);
            laterTimes_[at][part] = f;
            if (part > 0) {
                fields->addWidget(new QLabel(QStringLiteral(":"), row));
            }
            fields->addWidget(f);
            connectField(f, [this, t] { storeTime2or3(t + 2); });
        }
        fields->addStretch(1);
        grid->addWidget(timeOn_[at + 1], 2 + t, 0);
        grid->addWidget(row, 2 + t, 1);
    }
    for (int which = 1; which <= 3; ++which) {
        connect(timeOn_[static_cast<std::size_t>(which) - 1], &QCheckBox::clicked, this,
                [this, which](bool on) { timeOnToggled(which, on); });
    }

    // The funeral relay and its delay, the number of days.
    relay_ = box(QStringLiteral("funeralRelayBox"));
    relayDelayLabel_ = new QLabel(editor_);
    relayDelay_ = numberField("relayDelayField", 0, 99, 2);
    relayDelayLabel_->setBuddy(relayDelay_);
    relayUnit_ = new QLabel(QStringLiteral("[s]"), editor_);
    connect(relay_, &QCheckBox::clicked, this, &CProgramPage::relayToggled);
    connectField(relayDelay_, [this] {
        const auto seconds = static_cast<std::uint8_t>(relayDelay_->readInteger());
        editShown(static_cast<int>(EntryField::RelayDelay),
                  [seconds](ScheduleProgram& s, int row) { s.setRelayDelay(row, seconds); });
    });
    auto* relay = new QHBoxLayout;
    relay->setSpacing(4);
    relay->addWidget(relay_);
    relay->addSpacing(8);
    relay->addWidget(relayDelayLabel_);
    relay->addWidget(relayDelay_);
    relay->addWidget(relayUnit_);
    relay->addStretch(1);
    grid->addLayout(relay, 2, 2, 1, 2);

    funeralDaysLabel_ = new QLabel(editor_);
    funeralDays_ = numberField("funeralDaysField", 1, 9, 1);
    funeralDaysLabel_->setBuddy(funeralDays_);
    connectField(funeralDays_, [this] {
        const auto days = static_cast<std::uint8_t>(funeralDays_->readInteger());
        editShown(static_cast<int>(EntryField::Days), [days](ScheduleProgram& s, int row) { s.setDays(row, days); });
    });
    grid->addWidget(funeralDaysLabel_, 3, 2);
    grid->addWidget(funeralDays_, 3, 3, Qt::AlignLeft);

    // How the tolling is started.
    startMode_ = new QGroupBox(editor_);
    startMode_->setObjectName(QStringLiteral("startModeGroup"));
    auto* modes = new QHBoxLayout(startMode_);
    byClock_ = new QRadioButton(startMode_);
    byClock_->setObjectName(QStringLiteral("byClockRadio"));
    beforeAngelus_ = new QRadioButton(startMode_);
    beforeAngelus_->setObjectName(QStringLiteral("beforeAngelusRadio"));
    afterAngelus_ = new QRadioButton(startMode_);
    afterAngelus_->setObjectName(QStringLiteral("afterAngelusRadio"));
    auto* group = new QButtonGroup(startMode_);
    const std::array<std::pair<QRadioButton*, FuneralStartMode>, 3> choices{
        {{byClock_, FuneralStartMode::ByClock},
         {beforeAngelus_, FuneralStartMode::BeforeAngelus},
         {afterAngelus_, FuneralStartMode::AfterAngelus}}};
    for (const auto& [radio, mode] : choices) {
        group->addButton(radio);
        modes->addWidget(radio);
        connect(radio, &QRadioButton::clicked, this, [this, m = mode] { startModeChosen(m); });
    }
    modes->addStretch(1);
    grid->addWidget(startMode_, 4, 0, 1, 4);
}

void CProgramPage::showFuneralControls(const ProgramEntry& e) {
    for (int which = 1; which <= 3; ++which) {
        timeOn_[static_cast<std::size_t>(which) - 1]->setChecked(e.timeOn(which));
    }
    const std::array<std::array<int, 3>, 2> later{
        {{e.time2Hour(), e.time2Minute(), e.time2Second()}, {e.time3Hour(), e.time3Minute(), e.time3Second()}}};
    for (std::size_t t = 0; t < 2; ++t) {
        for (std::size_t part = 0; part < 3; ++part) {
            setItemTwoDigits(laterTimes_[t][part], later[t][part]);
        }
    }
    relay_->setChecked(e.funeralRelayUsed());
    for (QWidget* w : std::initializer_list<QWidget*>{relayDelayLabel_, relayDelay_, relayUnit_}) {
        w->setVisible(e.funeralRelayUsed());
    }
    setItemTwoDigits(relayDelay_, e.relayDelay());
    funeralDays_->setText(QString::asprintf("%.1d", e.days()));
    byClock_->setChecked(e.startMode() == FuneralStartMode::ByClock);
    beforeAngelus_->setChecked(e.startMode() == FuneralStartMode::BeforeAngelus);
    afterAngelus_->setChecked(e.startMode() == FuneralStartMode::AfterAngelus);
    enableFuneralTimes(e);
}

void CProgramPage::enableFuneralTimes(const ProgramEntry& e) {
    const bool boxes = programediting::funeralTimeBoxesEnabled(e);
    for (QCheckBox* b : timeOn_) {
        b->setEnabled(boxes);
    }
    for (CFireEdit* f : {hour_, minute_, second_}) {
        f->setEnabled(programediting::funeralTimeFieldsEnabled(e, 1));
    }
    for (std::size_t t = 0; t < 2; ++t) {
        for (CFireEdit* f : laterTimes_[t]) {
            f->setEnabled(programediting::funeralTimeFieldsEnabled(e, static_cast<int>(t) + 2));
        }
    }
}

void CProgramPage::timeOnToggled(int which, bool on) {
    endEditBurst();
    editShown(static_cast<int>(EntryField::Time1On) + which - 1,
              [which, on](ScheduleProgram& s, int row) { s.setTimeOn(row, which, on); });
    endEditBurst();
    if (currentItem() >= 0) {
        enableFuneralTimes(shown(currentItem()));
    }
}

void CProgramPage::startModeChosen(FuneralStartMode mode) {
    endEditBurst();
    editShown(static_cast<int>(EntryField::StartMode),
              [mode](ScheduleProgram& s, int row) { s.setStartMode(row, mode); });
    endEditBurst();
    if (currentItem() >= 0) {
        enableFuneralTimes(shown(currentItem()));
    }
}

void CProgramPage::storeTime2or3(int which) {
    const std::array<CFireEdit*, 3>& fields = laterTimes_[static_cast<std::size_t>(which) - 2];
    const auto h = static_cast<std::uint8_t>(fields[0]->readInteger());
    const auto m = static_cast<std::uint8_t>(fields[1]->readInteger());
    const auto sec = static_cast<std::uint8_t>(fields[2]->readInteger());
    QWidget* focused = QApplication::focusWidget();
    const int part = focused == fields[1] ? 1 : focused == fields[2] ? 2 : 0;
    const int first = static_cast<int>(which == 2 ? EntryField::Time2Hour : EntryField::Time3Hour);
    editShown(first + part, [=](ScheduleProgram& s, int row) {
        if (which == 2) {
            s.setTime2(row, h, m, sec);
        } else {
            s.setTime3(row, h, m, sec);
        }
    });
}

void CProgramPage::relayToggled(bool on) {
    endEditBurst();
    editShown(static_cast<int>(EntryField::FuneralRelay),
              [on](ScheduleProgram& s, int row) { s.setFuneralRelayUsed(row, on); });
    endEditBurst();
    for (QWidget* w : std::initializer_list<QWidget*>{relayDelayLabel_, relayDelay_, relayUnit_}) {
        w->setVisible(on);
    }
}

void CProgramPage::refreshFuneralTexts() {
    for (int which = 1; which <= 3; ++which) {
        timeOn_[static_cast<std::size_t>(which) - 1]->setText(formatted(TextStartTime, which));
    }
    for (std::size_t t = 0; t < 2; ++t) {
        const QString time = formatted(TextStartTime, static_cast<long long>(t) + 2) + QLatin1String(", ");
        laterTimes_[t][0]->setAccessibleName(time + text(TextHour));
        laterTimes_[t][1]->setAccessibleName(time + text(TextMinute));
        laterTimes_[t][2]->setAccessibleName(time + text(TextSecond));
    }
    const QString first = formatted(TextStartTime, 1) + QLatin1String(", ");
    hour_->setAccessibleName(first + text(TextHour));
    minute_->setAccessibleName(first + text(TextMinute));
    second_->setAccessibleName(first + text(TextSecond));
    relay_->setText(text(TextFuneralRelay));
    relayDelayLabel_->setText(text(TextRelayDelay) + QLatin1Char(':'));
    funeralDaysLabel_->setText(text(TextFuneralDays) + QLatin1Char(':'));
    startMode_->setTitle(text(TextStartMode));
    byClock_->setText(text(TextByClock));
    beforeAngelus_->setText(text(TextBeforeAngelus));
    afterAngelus_->setText(text(TextAfterAngelus));
}

} // namespace tolvane
