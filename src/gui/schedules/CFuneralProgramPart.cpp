#include "gui/schedules/CFuneralProgramPart.h"

#include "TextNumbers.h"
#include "gui/schedules/CProgramEditor.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/widgets/CFireEdit.h"
#include "schedules/ProgramEditing.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

namespace tolvane {

CFuneralProgramPart::CFuneralProgramPart(CProgramPage& page, CProgramEditor& editor, QGridLayout* grid,
                                         QLabel* timeLabel, const std::array<CFireEdit*, 3>& firstTime)
    : page_(page), firstTime_(firstTime) {
    const auto box = [&editor](const QString& name) {
        auto* b = new QCheckBox(&editor);
        b->setObjectName(name);
        return b;
    };
    // Time 1 is the common time row; its box takes the place of the time label.
    timeOn_[0] = box(QStringLiteral("time1Box"));
    timeLabel->hide();
    grid->addWidget(timeOn_[0], 1, 0);
    for (int t = 0; t < 2; ++t) {
        const std::size_t at = static_cast<std::size_t>(t);
        timeOn_[at + 1] = box(QStringLiteral("time%1Box").arg(t + 2));
        auto* row = new QWidget(&editor);
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
            editor.connectField(f, [this, t] { storeLaterTime(t + 2); });
        }
        fields->addStretch(1);
        grid->addWidget(timeOn_[at + 1], 2 + t, 0);
        grid->addWidget(row, 2 + t, 1);
    }
    for (int which = 1; which <= 3; ++which) {
        QObject::connect(timeOn_[static_cast<std::size_t>(which) - 1], &QCheckBox::clicked, &editor,
                         [this, which](bool on) { timeOnToggled(which, on); });
    }

    // The funeral relay and its delay, the number of days.
    relay_ = box(QStringLiteral("funeralRelayBox"));
    relayDelayLabel_ = new QLabel(&editor);
    relayDelay_ = editor.numberField("relayDelayField", 0, 99, 2);
    relayDelayLabel_->setBuddy(relayDelay_);
    relayUnit_ = new QLabel(QStringLiteral("[s]"), &editor);
    QObject::connect(relay_, &QCheckBox::clicked, &editor, [this](bool on) { relayToggled(on); });
    editor.connectField(relayDelay_, [this] {
        const auto seconds = static_cast<std::uint8_t>(relayDelay_->readInteger());
        page_.editShown(static_cast<int>(EntryField::RelayDelay),
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

    daysLabel_ = new QLabel(&editor);
    days_ = editor.numberField("funeralDaysField", 1, 9, 1);
    daysLabel_->setBuddy(days_);
    editor.connectField(days_, [this] {
        const auto days = static_cast<std::uint8_t>(days_->readInteger());
        page_.editShown(static_cast<int>(EntryField::Days),
                        [days](ScheduleProgram& s, int row) { s.setDays(row, days); });
    });
    grid->addWidget(daysLabel_, 3, 2);
    grid->addWidget(days_, 3, 3, Qt::AlignLeft);

    // How the tolling is started.
    startMode_ = new QGroupBox(&editor);
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
        QObject::connect(radio, &QRadioButton::clicked, &editor, [this, m = mode] { startModeChosen(m); });
    }
    modes->addStretch(1);
    grid->addWidget(startMode_, 4, 0, 1, 4);
}

QWidget* CFuneralProgramPart::firstTimeBox() const {
    return timeOn_[0];
}

std::vector<QWidget*> CFuneralProgramPart::tabOrder() const {
    std::vector<QWidget*> order;
    for (std::size_t t = 0; t < 2; ++t) {
        order.push_back(timeOn_[t + 1]);
        order.insert(order.end(), laterTimes_[t].begin(), laterTimes_[t].end());
    }
    order.insert(order.end(), {relay_, relayDelay_, days_, byClock_, beforeAngelus_, afterAngelus_});
    return order;
}

void CFuneralProgramPart::show(const ProgramEntry& e) {
    for (int which = 1; which <= 3; ++which) {
        timeOn_[static_cast<std::size_t>(which) - 1]->setChecked(e.timeOn(which));
    }
    const std::array<std::array<int, 3>, 2> later{
        {{e.time2Hour(), e.time2Minute(), e.time2Second()}, {e.time3Hour(), e.time3Minute(), e.time3Second()}}};
    for (std::size_t t = 0; t < 2; ++t) {
        for (std::size_t part = 0; part < 3; ++part) {
            CProgramPage::setItemTwoDigits(laterTimes_[t][part], later[t][part]);
        }
    }
    relay_->setChecked(e.funeralRelayUsed());
    for (QWidget* w : std::initializer_list<QWidget*>{relayDelayLabel_, relayDelay_, relayUnit_}) {
        w->setVisible(e.funeralRelayUsed());
    }
    CProgramPage::setItemTwoDigits(relayDelay_, e.relayDelay());
    days_->setText(QString::asprintf("%.1d", e.days()));
    byClock_->setChecked(e.startMode() == FuneralStartMode::ByClock);
    beforeAngelus_->setChecked(e.startMode() == FuneralStartMode::BeforeAngelus);
    afterAngelus_->setChecked(e.startMode() == FuneralStartMode::AfterAngelus);
    enableTimes(e);
}

void CFuneralProgramPart::enableTimes(const ProgramEntry& e) {
    const bool boxes = programediting::funeralTimeBoxesEnabled(e);
    for (QCheckBox* b : timeOn_) {
        b->setEnabled(boxes);
    }
    for (CFireEdit* f : firstTime_) {
        f->setEnabled(programediting::funeralTimeFieldsEnabled(e, 1));
    }
    for (std::size_t t = 0; t < 2; ++t) {
        for (CFireEdit* f : laterTimes_[t]) {
            f->setEnabled(programediting::funeralTimeFieldsEnabled(e, static_cast<int>(t) + 2));
        }
    }
}

void CFuneralProgramPart::showMarks(const ProgramChangeMarker& mark, const std::function<bool(EntryField)>& marked) {
    static constexpr std::array<std::array<EntryField, 3>, 2> later{
        {{EntryField::Time2Hour, EntryField::Time2Minute, EntryField::Time2Second},
         {EntryField::Time3Hour, EntryField::Time3Minute, EntryField::Time3Second}}};
    for (std::size_t t = 0; t < 3; ++t) {
        mark.option(timeOn_[t],
                    marked(static_cast<EntryField>(static_cast<int>(EntryField::Time1On) + static_cast<int>(t))));
    }
    for (std::size_t t = 0; t < 2; ++t) {
        for (std::size_t part = 0; part < 3; ++part) {
            mark.field(laterTimes_[t][part], marked(later[t][part]));
        }
    }
    mark.option(relay_, marked(EntryField::FuneralRelay));
    mark.field(relayDelay_, marked(EntryField::RelayDelay));
    mark.field(days_, marked(EntryField::Days));
    for (QRadioButton* mode : {byClock_, beforeAngelus_, afterAngelus_}) {
        mark.option(mode, marked(EntryField::StartMode));
    }
}

void CFuneralProgramPart::timeOnToggled(int which, bool on) {
    page_.endEditBurst();
    page_.editShown(static_cast<int>(EntryField::Time1On) + which - 1,
                    [which, on](ScheduleProgram& s, int row) { s.setTimeOn(row, which, on); });
    page_.endEditBurst();
    if (page_.currentItem() >= 0) {
        enableTimes(page_.shown(page_.currentItem()));
    }
}

void CFuneralProgramPart::startModeChosen(FuneralStartMode mode) {
    page_.endEditBurst();
    page_.editShown(static_cast<int>(EntryField::StartMode),
                    [mode](ScheduleProgram& s, int row) { s.setStartMode(row, mode); });
    page_.endEditBurst();
    if (page_.currentItem() >= 0) {
        enableTimes(page_.shown(page_.currentItem()));
    }
}

void CFuneralProgramPart::storeLaterTime(int which) {
    const std::array<CFireEdit*, 3>& fields = laterTimes_[static_cast<std::size_t>(which) - 2];
    const auto h = static_cast<std::uint8_t>(fields[0]->readInteger());
    const auto m = static_cast<std::uint8_t>(fields[1]->readInteger());
    const auto sec = static_cast<std::uint8_t>(fields[2]->readInteger());
    QWidget* focused = QApplication::focusWidget();
    const int part = focused == fields[1] ? 1 : focused == fields[2] ? 2 : 0;
    const int first = static_cast<int>(which == 2 ? EntryField::Time2Hour : EntryField::Time3Hour);
    page_.editShown(first + part, [=](ScheduleProgram& s, int row) {
        if (which == 2) {
            s.setTime2(row, h, m, sec);
        } else {
            s.setTime3(row, h, m, sec);
        }
    });
}

void CFuneralProgramPart::relayToggled(bool on) {
    page_.endEditBurst();
    page_.editShown(static_cast<int>(EntryField::FuneralRelay),
                    [on](ScheduleProgram& s, int row) { s.setFuneralRelayUsed(row, on); });
    page_.endEditBurst();
    for (QWidget* w : std::initializer_list<QWidget*>{relayDelayLabel_, relayDelay_, relayUnit_}) {
        w->setVisible(on);
    }
}

void CFuneralProgramPart::refreshTexts() {
    const auto text = [this](int id) { return page_.text(id); };
    for (int which = 1; which <= 3; ++which) {
        timeOn_[static_cast<std::size_t>(which) - 1]->setText(page_.formatted(text::FuneralStartTime, which));
    }
    for (std::size_t t = 0; t < 2; ++t) {
        const QString time =
            page_.formatted(text::FuneralStartTime, static_cast<long long>(t) + 2) + QLatin1String(", ");
        laterTimes_[t][0]->setAccessibleName(time + text(text::HourField));
        laterTimes_[t][1]->setAccessibleName(time + text(text::MinuteField));
        laterTimes_[t][2]->setAccessibleName(time + text(text::SecondField));
    }
    // Start time 1 is the editor's own time row: its fields are named as the first of the three.
    const QString first = page_.formatted(text::FuneralStartTime, 1) + QLatin1String(", ");
    firstTime_[0]->setAccessibleName(first + text(text::HourField));
    firstTime_[1]->setAccessibleName(first + text(text::MinuteField));
    firstTime_[2]->setAccessibleName(first + text(text::SecondField));
    relay_->setText(text(text::FuneralRelay));
    relayDelayLabel_->setText(text(text::FuneralRelayDelay) + QLatin1Char(':'));
    daysLabel_->setText(text(text::NumberOfDays) + QLatin1Char(':'));
    startMode_->setTitle(text(text::FuneralStartMode));
    byClock_->setText(text(text::ByClock));
    beforeAngelus_->setText(text(text::BeforeAngelus));
    afterAngelus_->setText(text(text::AfterAngelus));
}

} // namespace tolvane
