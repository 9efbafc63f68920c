#include "gui/schedules/CProgramEditor.h"

#include "TextNumbers.h"
#include "gui/choosers/CSelMlotek.h"
#include "gui/choosers/CSelSekwDlg.h"
#include "gui/schedules/CBellRingingPanel.h"
#include "gui/schedules/CFuneralProgramPart.h"
#include "gui/schedules/CHolidayProgramPart.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/widgets/CCellCheckBox.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "project/ProjectData.h"
#include "schedules/HammerChoice.h"
#include "schedules/ProgramEditing.h"
#include "schedules/ProgramEntryText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTableView>

namespace tolvane {

void ProgramChangeMarker::field(QWidget* control, bool changed) const {
    CDataPage::markChangedField(control, changed);
    control->setAccessibleDescription(changed ? description : QString());
}

void ProgramChangeMarker::option(QWidget* control, bool changed) const {
    CDataPage::markChangedOption(control, changed);
    control->setAccessibleDescription(changed ? description : QString());
}

CProgramEditor::CProgramEditor(CProgramPage& page) : QWidget(&page), page_(page) {
    const ProgramPageSpec& spec = page_.spec();
    setObjectName(QStringLiteral("programEditor"));
    auto* grid = new QGridLayout(this);
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
    actionLabel_ = new QLabel(this);
    actionList_ = new QComboBox(this);
    actionList_->setObjectName(QStringLiteral("actionList"));
    actionLabel_->setBuddy(actionList_);
    connect(actionList_, &QComboBox::activated, this, &CProgramEditor::actionChosen);
    grid->addWidget(actionLabel_, 0, 0);
    grid->addWidget(actionList_, 0, 1, 1, 3, Qt::AlignLeft);

    // Time and priority.
    timeLabel_ = new QLabel(this);
    hour_ = numberField("hourField", 0, 23, 2);
    minute_ = numberField("minuteField", 0, 59, 2);
    second_ = numberField("secondField", 0, 59, 2);
    timeLabel_->setBuddy(hour_);
    auto* time = colon(hour_);
    time->addWidget(new QLabel(QStringLiteral(":"), this));
    time->addWidget(minute_);
    time->addWidget(new QLabel(QStringLiteral(":"), this));
    time->addWidget(second_);
    time->addStretch(1);
    for (CFireEdit* f : {hour_, minute_, second_}) {
        connectField(f, [this] { storeTime(); });
    }
    grid->addWidget(timeLabel_, 1, 0);
    grid->addLayout(time, 1, 1);

    priorityLabel_ = new QLabel(this);
    priority_ = numberField("priorityField", 1, 16, 2);
    priorityLabel_->setBuddy(priority_);
    specialLabel_ = new QLabel(this);
    connectField(priority_, [this] { storePriority(); });
    auto* priority = colon(priority_);
    priority->addWidget(specialLabel_);
    priority->addStretch(1);
    grid->addWidget(priorityLabel_, 1, 2);
    grid->addLayout(priority, 1, 3);

    // Dates.
    dateLabel_ = new QLabel(this);
    startDay_ = numberField("startDayField", 1, 31, 2);
    startMonth_ = numberField("startMonthField", 1, 12, 2);
    dateLabel_->setBuddy(startDay_);
    year_ = new QLineEdit(this);
    year_->setObjectName(QStringLiteral("yearField"));
    year_->setValidator(new QIntValidator(0, 99999, year_));
    year_->setMaxLength(5);
    year_->setFixedWidth(year_->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 10);
    dateHint_ = new QLabel(this);
    auto* date = colon(startDay_);
    auto* dateDot = new QLabel(QStringLiteral("."), this);
    date->addWidget(dateDot);
    date->addWidget(startMonth_);
    date->addWidget(year_);
    date->addWidget(dateHint_);
    date->addStretch(1);
    connectField(startDay_, [this] { storeStartDate(); });
    connectField(startMonth_, [this] { storeStartDate(); });
    connect(year_, &QLineEdit::textEdited, this, [this] { storeYear(); });
    connect(year_, &QLineEdit::editingFinished, this, [this] { page_.finishField(); });
    grid->addWidget(dateLabel_, 2, 0);
    grid->addLayout(date, 2, 1);

    endLabel_ = new QLabel(this);
    endDay_ = numberField("endDayField", 1, 31, 2);
    endMonth_ = numberField("endMonthField", 1, 12, 2);
    endLabel_->setBuddy(endDay_);
    auto* end = colon(endDay_);
    auto* endDot = new QLabel(QStringLiteral("."), this);
    end->addWidget(endDot);
    end->addWidget(endMonth_);
    end->addStretch(1);
    connectField(endDay_, [this] { storeEndDate(); });
    connectField(endMonth_, [this] { storeEndDate(); });
    grid->addWidget(endLabel_, 2, 2);
    grid->addLayout(end, 2, 3);
    for (QWidget* w : std::initializer_list<QWidget*>{endLabel_, endDay_, endDot, endMonth_}) {
        w->setVisible(spec.endDate);
    }
    year_->setVisible(spec.year);
    if (!spec.date) {
        for (QWidget* w : std::initializer_list<QWidget*>{dateLabel_, startDay_, dateDot, startMonth_, dateHint_}) {
            w->hide();
        }
    }

    // Weekdays.
    weekdaysLabel_ = new QLabel(this);
    auto* days = new QHBoxLayout;
    for (int d = 0; d < 7; ++d) {
        // A weekday shows its name only while ticked: the whole box answers a click.
        auto* box = new CCellCheckBox(this);
        box->setObjectName(QStringLiteral("weekday%1").arg(d));
        weekdays_[static_cast<std::size_t>(d)] = box;
        connect(weekdays_[static_cast<std::size_t>(d)], &QCheckBox::clicked, this, [this] { weekdayToggled(); });
        days->addWidget(weekdays_[static_cast<std::size_t>(d)]);
    }
    days->addStretch(1);
    weekdaysLabel_->setBuddy(weekdays_[0]);
    grid->addWidget(weekdaysLabel_, 3, 0);
    grid->addLayout(days, 3, 1, 1, 3);
    weekdaysLabel_->setVisible(spec.weekdays);
    for (QCheckBox* box : weekdays_) {
        box->setVisible(spec.weekdays);
    }

    // Season, Angelus and parity.
    summer_ = checkBox("summerBox");
    winter_ = checkBox("winterBox");
    offLabel_ = new QLabel(this);
    angelus_ = checkBox("angelusBox");
    evenWeeks_ = checkBox("evenWeeksBox");
    oddWeeks_ = checkBox("oddWeeksBox");
    evenMonths_ = checkBox("evenMonthsBox");
    oddMonths_ = checkBox("oddMonthsBox");
    connect(summer_, &QCheckBox::clicked, this, [this] { seasonToggled(); });
    connect(winter_, &QCheckBox::clicked, this, [this] { seasonToggled(); });
    connect(angelus_, &QCheckBox::clicked, this, [this](bool on) {
        page_.editShown(static_cast<int>(EntryField::Angelus),
                        [on](ScheduleProgram& s, int row) { s.setAngelus(row, on); });
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
        box->setVisible(spec.parity);
    }
    if (spec.kind == Funeral) {
        summer_->hide();
        winter_->hide();
        offLabel_->hide();
    }
    // The holiday and funeral controls take the places of the date, weekday and season rows they do without.
    if (spec.kind == HolidayDay) {
        holiday_ = std::make_unique<CHolidayProgramPart>(page_, *this, grid);
    }
    if (spec.kind == Funeral) {
        funeral_ = std::make_unique<CFuneralProgramPart>(page_, *this, grid, timeLabel_,
                                                         std::array<CFireEdit*, 3>{hour_, minute_, second_});
    }

    // Bell ringing: per bell its check box and two minute:second pairs, the ringing time and the graph.
    bellPanel_ = new CBellRingingPanel(page_, *this);
    grid->addWidget(bellPanel_, 5, 0, 1, 4);

    // Melody.
    melodyPanel_ = new QWidget(this);
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
        page_.editShown(static_cast<int>(EntryField::MelodyNumber),
                        [v = melody_->readInteger()](ScheduleProgram& s, int row) {
                            s.setMelodyNumber(row, static_cast<std::uint16_t>(v));
                        });
    });
    connectField(repetitions_, [this] {
        page_.editShown(static_cast<int>(EntryField::Repetitions),
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
    hammerPanel_ = linkRow(hammerLabel_, hammer_, "hammerLink", &CProgramEditor::chooseHammer);
    grid->addWidget(hammerPanel_, 7, 0, 1, 4);
    sequencePanel_ = linkRow(sequenceLabel_, sequence_, "sequenceLink", &CProgramEditor::chooseSequence);
    grid->addWidget(sequencePanel_, 8, 0, 1, 4);

    // Silence: days - hours:minutes, seconds not used, and whom it silences.
    silencePanel_ = new QWidget(this);
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
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    // Escape in the editor goes back to the list.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        page_.endEditBurst();
        page_.list()->setFocus(Qt::ShortcutFocusReason);
    });

    chainTabs();
}

CProgramEditor::~CProgramEditor() = default;

CFireEdit* CProgramEditor::numberField(const char* name, int lower, int upper, int width) {
    auto* field = new CFireEdit(this);
    field->setObjectName(QLatin1String(name));
    field->setUp(lower, upper, width, false);
    return field;
}

QCheckBox* CProgramEditor::checkBox(const char* name) {
    auto* box = new QCheckBox(this);
    box->setObjectName(QLatin1String(name));
    return box;
}

void CProgramEditor::connectField(CFireEdit* field, const std::function<void()>& store) {
    connect(field, &QLineEdit::textEdited, this, [store] { store(); });
    connect(field, &QLineEdit::editingFinished, this, [this] { page_.finishField(); });
}

// A row of the editor with its label and a clickable value that opens a chooser.
QWidget* CProgramEditor::linkRow(QLabel*& label, CLinkStatic*& link, const char* name, void (CProgramEditor::*open)()) {
    auto* panel = new QWidget(this);
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

void CProgramEditor::chainTabs() {
    QWidget* previous = page_.list();
    const auto chain = [&previous](QWidget* next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    const auto chainAll = [&chain](const std::vector<QWidget*>& widgets) {
        for (QWidget* w : widgets) {
            chain(w);
        }
    };
    chain(actionList_);
    if (holiday_) {
        chainAll(holiday_->tabOrder());
    }
    if (funeral_) {
        chain(funeral_->firstTimeBox());
    }
    chainAll({hour_, minute_, second_, priority_});
    if (funeral_) {
        chainAll(funeral_->tabOrder());
    }
    chainAll({startDay_, startMonth_, year_, endDay_, endMonth_});
    chainAll(std::vector<QWidget*>(weekdays_.begin(), weekdays_.end()));
    chainAll({summer_, winter_, angelus_, evenWeeks_, oddWeeks_, evenMonths_, oddMonths_});
    chainAll(bellPanel_->tabOrder());
    chainAll({melody_, repetitions_, hammer_, sequence_, silenceDays_, silenceHours_, silenceMinutes_, silenceBells_,
              silenceGongs_});
}

void CProgramEditor::focusFirstField() {
    actionList_->setFocus(Qt::ShortcutFocusReason);
}

int CProgramEditor::rememberedHoliday() const {
    return holiday_ ? holiday_->rememberedHoliday() : 0;
}

// ---- showing ----

void CProgramEditor::showEntry(int row) {
    const ScheduleProgram* programs = page_.programs();
    if (!programs || row < 0 || row >= programs->usedCount()) {
        return;
    }
    const ProgramEntry e = page_.shown(row);
    const bool funeral = page_.kind() == Funeral;
    actionList_->setCurrentIndex(programediting::actionPosition(e.action(), funeral));
    CProgramPage::setItemTwoDigits(hour_, e.hour());
    CProgramPage::setItemTwoDigits(minute_, e.minute());
    CProgramPage::setItemTwoDigits(second_, e.second());
    CProgramPage::setItemTwoDigits(startDay_, e.startDay());
    CProgramPage::setItemTwoDigits(startMonth_, e.startMonth());
    year_->setText(QString::fromStdString(programediting::yearText(e.year())));
    CProgramPage::setItemTwoDigits(endDay_, e.endDay());
    CProgramPage::setItemTwoDigits(endMonth_, e.endMonth());
    for (int d = 0; d < 7; ++d) {
        QCheckBox* box = weekdays_[static_cast<std::size_t>(d)];
        box->setChecked(e.onWeekday(d));
        box->setText(box->isChecked() ? page_.text(text::Monday + d) : QString());
    }
    CProgramPage::setItemTwoDigits(priority_, e.priority() + 1);
    showPriorityLabel(e);
    summer_->setChecked(e.summer());
    winter_->setChecked(e.winter());
    showSeasonLabel();
    angelus_->setChecked(e.angelus());
    evenWeeks_->setChecked(e.evenWeeks());
    oddWeeks_->setChecked(e.oddWeeks());
    evenMonths_->setChecked(e.evenMonths());
    oddMonths_->setChecked(e.oddMonths());
    if (holiday_) {
        holiday_->show(e);
    }
    if (funeral_) {
        funeral_->show(e);
    }
    showActionControls(e);
    showMarks();
}

void CProgramEditor::showActionControls(const ProgramEntry& e) {
    const std::uint8_t action = e.action();
    bellPanel_->setVisible(action == ProgramEntry::ActionBells);
    melodyPanel_->setVisible(action == ProgramEntry::ActionMelody);
    hammerPanel_->setVisible(action == ProgramEntry::ActionHammers);
    sequencePanel_->setVisible(action == ProgramEntry::ActionSequence);
    silencePanel_->setVisible(action == ProgramEntry::ActionSilence);
    angelus_->setVisible(page_.kind() != Funeral &&
                         (action == ProgramEntry::ActionBells || action == ProgramEntry::ActionHammers ||
                          action == ProgramEntry::ActionSequence));
    switch (action) {
    case ProgramEntry::ActionBells:
        bellPanel_->showEntry(e);
        break;
    case ProgramEntry::ActionMelody:
        melody_->setText(QString::asprintf("%.4d", e.melodyNumber()));
        repetitions_->setText(QString::asprintf("%.1d", e.repetitions()));
        break;
    case ProgramEntry::ActionHammers:
        hammer_->setText(hammerText(e));
        hammer_->setAccessibleName(page_.text(text::HammerChooser) + QLatin1String(": ") + hammerText(e));
        break;
    case ProgramEntry::ActionSequence:
        sequence_->setText(sequenceText(e));
        sequence_->setAccessibleName(page_.text(text::Sequence) + QLatin1String(": ") + sequenceText(e));
        break;
    case ProgramEntry::ActionSilence: {
        const std::uint32_t seconds = e.silenceSeconds();
        CProgramPage::setItemTwoDigits(silenceDays_, static_cast<int>(seconds / 86400));
        CProgramPage::setItemTwoDigits(silenceHours_, static_cast<int>(seconds % 86400 / 3600));
        CProgramPage::setItemTwoDigits(silenceMinutes_, static_cast<int>(seconds % 3600 / 60));
        CProgramPage::setItemTwoDigits(silenceSeconds_, static_cast<int>(seconds % 60));
        silenceBells_->setChecked(e.silenceForBells());
        silenceGongs_->setChecked(e.silenceForGongs());
        break;
    }
    default:
        break;
    }
}

void CProgramEditor::showPriorityLabel(const ProgramEntry& e) {
    specialLabel_->setVisible(e.priority() == 15);
}

void CProgramEditor::showSeasonLabel() {
    offLabel_->setVisible(page_.kind() != Funeral && !summer_->isChecked() && !winter_->isChecked());
}

void CProgramEditor::showMarks() {
    const int row = page_.currentItem();
    const ScheduleProgram* p = page_.programs();
    if (!p || row < 0 || row >= p->usedCount()) {
        return;
    }
    const ProgramChangeMarker mark{page_.text(text::ChangedDescription)};
    const auto marked = [&](EntryField f) { return p->isMarked(row, f); };
    mark.field(actionList_, marked(EntryField::Action));
    mark.field(hour_, marked(EntryField::Hour));
    mark.field(minute_, marked(EntryField::Minute));
    mark.field(second_, marked(EntryField::Second));
    mark.field(startDay_, marked(EntryField::StartDay));
    mark.field(startMonth_, marked(EntryField::StartMonth));
    mark.field(year_, marked(EntryField::Year));
    mark.field(endDay_, marked(EntryField::EndDay));
    mark.field(endMonth_, marked(EntryField::EndMonth));
    mark.field(priority_, marked(EntryField::Priority));
    for (QCheckBox* box : weekdays_) {
        mark.option(box, marked(EntryField::Days));
    }
    mark.option(summer_, marked(EntryField::Summer));
    mark.option(winter_, marked(EntryField::Winter));
    mark.option(angelus_, marked(EntryField::Angelus));
    mark.option(evenWeeks_, marked(EntryField::WeekParity));
    mark.option(oddWeeks_, marked(EntryField::WeekParity));
    mark.option(evenMonths_, marked(EntryField::MonthParity));
    mark.option(oddMonths_, marked(EntryField::MonthParity));
    bellPanel_->showMarks(mark, marked);
    mark.field(melody_, marked(EntryField::MelodyNumber));
    mark.field(repetitions_, marked(EntryField::Repetitions));
    mark.option(hammer_, marked(EntryField::Hammers));
    mark.option(sequence_, marked(EntryField::Sequence));
    mark.field(silenceDays_, marked(EntryField::SilenceDuration));
    mark.field(silenceHours_, marked(EntryField::SilenceDuration));
    mark.field(silenceMinutes_, marked(EntryField::SilenceDuration));
    mark.option(silenceBells_, marked(EntryField::SilenceTargets));
    mark.option(silenceGongs_, marked(EntryField::SilenceTargets));
    if (holiday_) {
        holiday_->showMarks(mark, marked);
    }
    if (funeral_) {
        funeral_->showMarks(mark, marked);
    }
}

QString CProgramEditor::sequenceText(const ProgramEntry& e) const {
    const int index = e.sequenceIndex();
    const ProjectData* project = page_.project();
    if (!project || index >= SequenceTable::Count || !project->sequences().isUsed(index)) {
        return page_.text(text::NotChosen);
    }
    return page_.formatted(text::SequenceName, index + 1);
}

QString CProgramEditor::hammerText(const ProgramEntry& e) const {
    const std::uint8_t index = hammerBitToIndex(e.hammerBits());
    return index == NoHammer ? page_.text(text::NotChosen) : page_.formatted(text::Hammer, index + 1);
}

// ---- handlers ----

void CProgramEditor::actionChosen(int position) {
    const std::uint8_t code = programediting::actionCodeAt(position, page_.kind() == Funeral);
    page_.editShown(static_cast<int>(EntryField::Action),
                    [code](ScheduleProgram& s, int row) { s.setAction(row, code); });
    page_.settleOrder();
    // The parameters are read anew under the new action.
    if (page_.currentItem() >= 0) {
        const ProgramEntry e = page_.shown(page_.currentItem());
        showActionControls(e);
        showMarks();
    }
}

void CProgramEditor::storeTime() {
    const auto h = static_cast<std::uint8_t>(hour_->readInteger());
    const auto m = static_cast<std::uint8_t>(minute_->readInteger());
    const auto sec = static_cast<std::uint8_t>(second_->readInteger());
    CFireEdit* focused = qobject_cast<CFireEdit*>(QApplication::focusWidget());
    const int field = focused == minute_   ? static_cast<int>(EntryField::Minute)
                      : focused == second_ ? static_cast<int>(EntryField::Second)
                                           : static_cast<int>(EntryField::Hour);
    page_.editShown(field, [=](ScheduleProgram& s, int row) { s.setTime(row, h, m, sec); });
}

void CProgramEditor::storeStartDate() {
    const auto d = static_cast<std::uint8_t>(startDay_->readInteger());
    const auto m = static_cast<std::uint8_t>(startMonth_->readInteger());
    const bool month = QApplication::focusWidget() == startMonth_;
    page_.editShown(static_cast<int>(month ? EntryField::StartMonth : EntryField::StartDay),
                    [=](ScheduleProgram& s, int row) { s.setStartDate(row, d, m); });
}

void CProgramEditor::storeEndDate() {
    const auto d = static_cast<std::uint8_t>(endDay_->readInteger());
    const auto m = static_cast<std::uint8_t>(endMonth_->readInteger());
    const bool month = QApplication::focusWidget() == endMonth_;
    page_.editShown(static_cast<int>(month ? EntryField::EndMonth : EntryField::EndDay),
                    [=](ScheduleProgram& s, int row) { s.setEndDate(row, d, m); });
}

// The year is read together with the day and the month, as they are typed.
void CProgramEditor::storeYear() {
    const auto d = static_cast<std::uint8_t>(startDay_->readInteger());
    const auto m = static_cast<std::uint8_t>(startMonth_->readInteger());
    const std::uint8_t y = programediting::yearByte(year_->text().toLong());
    page_.editShown(static_cast<int>(EntryField::Year), [=](ScheduleProgram& s, int row) {
        s.setStartDate(row, d, m);
        s.setYear(row, y);
    });
}

void CProgramEditor::storePriority() {
    const auto p = static_cast<std::uint8_t>(priority_->readInteger() - 1);
    page_.editShown(static_cast<int>(EntryField::Priority),
                    [p](ScheduleProgram& s, int row) { s.setPriority(row, p); });
    if (page_.currentItem() >= 0) {
        showPriorityLabel(page_.programs()->entry(page_.currentItem()));
    }
}

void CProgramEditor::storeSilence() {
    const std::uint32_t seconds = static_cast<std::uint32_t>(silenceDays_->readInteger()) * 86400u +
                                  static_cast<std::uint32_t>(silenceHours_->readInteger()) * 3600u +
                                  static_cast<std::uint32_t>(silenceMinutes_->readInteger()) * 60u;
    page_.editShown(static_cast<int>(EntryField::SilenceDuration),
                    [seconds](ScheduleProgram& s, int row) { s.setSilenceDuration(row, seconds); });
}

void CProgramEditor::weekdayToggled() {
    std::uint8_t mask = 0;
    for (int d = 0; d < 7; ++d) {
        QCheckBox* box = weekdays_[static_cast<std::size_t>(d)];
        if (box->isChecked()) {
            mask = static_cast<std::uint8_t>(mask | (1u << d));
        }
        box->setText(box->isChecked() ? page_.text(text::Monday + d) : QString());
    }
    page_.editShown(static_cast<int>(EntryField::Days), [mask](ScheduleProgram& s, int row) { s.setDays(row, mask); });
    page_.finishField();
    if (mask == 0 && (page_.kind() == Weekly || page_.kind() == HolidayDay)) {
        page_.showMessage(page_.text(text::NoWeekday));
    }
}

void CProgramEditor::seasonToggled() {
    const bool summer = summer_->isChecked();
    const bool winter = winter_->isChecked();
    QWidget* from = QApplication::focusWidget();
    page_.editShown(static_cast<int>(from == winter_ ? EntryField::Winter : EntryField::Summer),
                    [=](ScheduleProgram& s, int row) {
                        s.setSummer(row, summer);
                        s.setWinter(row, winter);
                    });
    page_.endEditBurst();
    showSeasonLabel();
}

// Each pair keeps at least one of its boxes: unticking the last one ticks "even" again.
void CProgramEditor::parityToggled(bool weeks) {
    QCheckBox* even = weeks ? evenWeeks_ : evenMonths_;
    QCheckBox* odd = weeks ? oddWeeks_ : oddMonths_;
    if (!even->isChecked() && !odd->isChecked()) {
        even->setChecked(true);
    }
    const bool isOdd = odd->isChecked();
    const bool isEven = even->isChecked();
    page_.editShown(static_cast<int>(weeks ? EntryField::WeekParity : EntryField::MonthParity),
                    [=](ScheduleProgram& s, int row) {
                        if (weeks) {
                            s.setWeekParity(row, isOdd, isEven);
                        } else {
                            s.setMonthParity(row, isOdd, isEven);
                        }
                    });
    page_.endEditBurst();
}

void CProgramEditor::silenceTargetsToggled() {
    if (!silenceBells_->isChecked() && !silenceGongs_->isChecked()) {
        silenceBells_->setChecked(true);
    }
    const bool bells = silenceBells_->isChecked();
    const bool gongs = silenceGongs_->isChecked();
    page_.editShown(static_cast<int>(EntryField::SilenceTargets),
                    [=](ScheduleProgram& s, int row) { s.setSilenceTargets(row, bells, gongs); });
    page_.endEditBurst();
}

void CProgramEditor::chooseSequence() {
    const int row = page_.currentItem();
    if (row < 0 || !page_.programs()) {
        return;
    }
    AppContext& context = page_.context();
    CSelSekwDlg chooser(page_.project(), page_.shown(row).sequenceIndex(), context.texts, context.prompts, &page_);
    if (context.dialogs.run(chooser) != QDialog::Accepted || chooser.chosenIndex() < 0) {
        return;
    }
    const auto index = static_cast<std::uint8_t>(chooser.chosenIndex());
    page_.endEditBurst();
    page_.editShown(static_cast<int>(EntryField::Sequence),
                    [index](ScheduleProgram& s, int r) { s.setSequenceIndex(r, index); });
    page_.endEditBurst();
    showActionControls(page_.shown(row));
    showMarks();
}

void CProgramEditor::chooseHammer() {
    const int row = page_.currentItem();
    if (row < 0 || !page_.programs()) {
        return;
    }
    AppContext& context = page_.context();
    CSelMlotek chooser(false, hammerBitToIndex(page_.shown(row).hammerBits()), context.texts, context.prompts, &page_);
    if (context.dialogs.run(chooser) != QDialog::Accepted || chooser.chosen() > 4) {
        return;
    }
    const std::uint8_t bits = hammerIndexToBit(chooser.chosen());
    page_.endEditBurst();
    page_.editShown(static_cast<int>(EntryField::Hammers),
                    [bits](ScheduleProgram& s, int r) { s.setHammerBits(r, bits); });
    page_.endEditBurst();
    showActionControls(page_.shown(row));
    showMarks();
}

// ---- texts ----

void CProgramEditor::refreshTexts() {
    const ProgramPageSpec& spec = page_.spec();
    const auto text = [this](int id) { return page_.text(id); };
    actionLabel_->setText(text(text::ActionColumn) + QLatin1Char(':'));
    {
        const int current = actionList_->currentIndex();
        actionList_->clear();
        const bool funeral = spec.kind == Funeral;
        for (int i = 0; i < programediting::actionCount(funeral); ++i) {
            const std::uint8_t code = programediting::actionCodeAt(i, funeral);
            actionList_->addItem(page_.actionIcon(ProgramEntryText::actionIcon(code)),
                                 text(programediting::ActionTexts[static_cast<std::size_t>(i)]));
        }
        actionList_->setCurrentIndex(current);
    }
    timeLabel_->setText(text(text::TimeColumn) + QLatin1Char(':'));
    hour_->setAccessibleName(text(text::HourField));
    minute_->setAccessibleName(text(text::MinuteField));
    second_->setAccessibleName(text(text::SecondField));
    priorityLabel_->setText(text(text::PriorityColumn) + QLatin1Char(':'));
    priority_->setAccessibleName(text(text::PriorityColumn));
    specialLabel_->setText(text(text::SpecialPriorityLabel));
    dateLabel_->setText(text(spec.dateLabelText) + QLatin1Char(':'));
    startDay_->setAccessibleName(text(spec.dateLabelText) + QLatin1String(", ") + text(text::DayField));
    startMonth_->setAccessibleName(text(spec.dateLabelText) + QLatin1String(", ") + text(text::MonthField));
    year_->setAccessibleName(text(text::YearField));
    dateHint_->setText(text(spec.year ? text::YearDateHint : text::DateHint));
    endLabel_->setText(text(text::EndDateColumn) + QLatin1Char(':'));
    endDay_->setAccessibleName(text(text::EndDateColumn) + QLatin1String(", ") + text(text::DayField));
    endMonth_->setAccessibleName(text(text::EndDateColumn) + QLatin1String(", ") + text(text::MonthField));
    weekdaysLabel_->setText(text(text::WeekdaysColumn) + QLatin1Char(':'));
    // The seven check box captions follow each other in the catalog, Monday first and Sunday last.
    for (int d = 0; d < 7; ++d) {
        QCheckBox* box = weekdays_[static_cast<std::size_t>(d)];
        box->setAccessibleName(text(text::Monday + d));
        box->setText(box->isChecked() ? text(text::Monday + d) : QString());
    }
    summer_->setText(text(text::Summer));
    winter_->setText(text(text::Winter));
    offLabel_->setText(text(text::SeasonOff));
    angelus_->setText(text(text::Angelus));
    evenWeeks_->setText(text(text::EvenWeeks));
    oddWeeks_->setText(text(text::OddWeeks));
    evenMonths_->setText(text(text::EvenMonthsBox));
    oddMonths_->setText(text(text::OddMonthsBox));

    bellPanel_->refreshTexts();
    melodyLabel_->setText(text(text::Melody) + QLatin1Char(':'));
    melody_->setAccessibleName(text(text::Melody));
    repetitionsLabel_->setText(text(text::MelodyRepetitions) + QLatin1Char(':'));
    repetitions_->setAccessibleName(text(text::MelodyRepetitions));
    hammerLabel_->setText(text(text::HammerChooser) + QLatin1Char(':'));
    sequenceLabel_->setText(text(text::Sequence) + QLatin1Char(':'));
    silenceLabel_->setText(text(text::SilenceDuration) + QLatin1Char(':'));
    const QString silence = text(text::SilenceDuration) + QLatin1String(", ");
    silenceDays_->setAccessibleName(silence + text(text::DaysWord));
    silenceHours_->setAccessibleName(silence + text(text::HoursWord));
    silenceMinutes_->setAccessibleName(silence + text(text::MinutesWord));
    silenceSeconds_->setAccessibleName(silence + text(text::SecondsWord));
    silenceBells_->setText(text(text::SilenceForBells));
    silenceGongs_->setText(text(text::SilenceForGongs));
    if (holiday_) {
        holiday_->refreshTexts();
    }
    if (funeral_) {
        funeral_->refreshTexts();
    }
}

void CProgramEditor::refreshBellTexts() {
    bellPanel_->refreshBellTexts();
}

} // namespace tolvane
