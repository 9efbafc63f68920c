#include "gui/schedules/CBellRingingPanel.h"

#include "TextNumbers.h"
#include "gui/schedules/CProgramEditor.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/widgets/CCellCheckBox.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CTrackEdytorCtrl.h"
#include "project/ProjectData.h"
#include "schedules/ProgramEditing.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace tolvane {

namespace {

constexpr int MaxBellSeconds = programediting::MaxBellSeconds;

QString twoDigits(int n) {
    return QString::asprintf("%.2d", n);
}

} // namespace

CBellRingingPanel::CBellRingingPanel(CProgramPage& page, CProgramEditor& editor)
    : QWidget(&editor), page_(page), editor_(editor) {
    setObjectName(QStringLiteral("bellPanel"));
    auto* bellGrid = new QGridLayout(this);
    bellGrid->setContentsMargins(0, 0, 0, 0);
    bellGrid->setVerticalSpacing(2);
    firstColumnLabel_ = new QLabel(this);
    secondColumnLabel_ = new QLabel(this);
    secondColumnLabel_->setObjectName(QStringLiteral("secondColumnLabel"));
    bellGrid->addWidget(firstColumnLabel_, 0, 1);
    bellGrid->addWidget(secondColumnLabel_, 0, 2);
    for (int b = 0; b < ProgramEntry::BellCount; ++b) {
        TimePair& pair = bells_[static_cast<std::size_t>(b)];
        pair.bell = new CCellCheckBox(this);
        pair.bell->setObjectName(QStringLiteral("bellBox%1").arg(b));
        const auto field = [this](const QString& name, int upper) {
            auto* f = new CFireEdit(this);
            f->setObjectName(name);
            f->setUp(0, upper, 2, false);
            return f;
        };
        pair.minutes = field(QStringLiteral("bellMinutes%1").arg(b), 60);
        pair.seconds = field(QStringLiteral("bellSeconds%1").arg(b), 59);
        pair.secondMinutes = field(QStringLiteral("secondMinutes%1").arg(b), 60);
        pair.secondSeconds = field(QStringLiteral("secondSeconds%1").arg(b), 59);
        connect(pair.bell, &QCheckBox::clicked, this, [this, b](bool on) { bellToggled(b, on); });
        editor_.connectField(pair.minutes, [this, b] { storeBellPair(b, false); });
        editor_.connectField(pair.seconds, [this, b] { storeBellPair(b, false); });
        editor_.connectField(pair.secondMinutes, [this, b] { storeBellPair(b, true); });
        editor_.connectField(pair.secondSeconds, [this, b] { storeBellPair(b, true); });
        // One time as minutes ":" seconds in a tight row.
        const auto timeRow = [this](CFireEdit* minutes, CFireEdit* seconds, QLabel*& colon) {
            auto* row = new QHBoxLayout;
            row->setSpacing(2);
            row->addWidget(minutes);
            colon = new QLabel(QStringLiteral(":"), this);
            row->addWidget(colon);
            row->addWidget(seconds);
            return row;
        };
        QHBoxLayout* first = timeRow(pair.minutes, pair.seconds, pair.firstColon);
        QHBoxLayout* second = timeRow(pair.secondMinutes, pair.secondSeconds, pair.secondColon);
        bellGrid->addWidget(pair.bell, b + 1, 0);
        bellGrid->addLayout(first, b + 1, 1);
        bellGrid->addLayout(second, b + 1, 2);
    }
    ringingLabel_ = new QLabel(this);
    ringingMinutes_ = new CFireEdit(this);
    ringingMinutes_->setObjectName(QStringLiteral("ringingMinutesField"));
    ringingMinutes_->setUp(0, 59, 2, false);
    ringingSeconds_ = new CFireEdit(this);
    ringingSeconds_->setObjectName(QStringLiteral("ringingSecondsField"));
    ringingSeconds_->setUp(0, 59, 2, false);
    ringingLabel_->setBuddy(ringingMinutes_);
    editor_.connectField(ringingMinutes_, [this] { storeRingingTime(); });
    editor_.connectField(ringingSeconds_, [this] { storeRingingTime(); });
    auto* ringing = new QHBoxLayout;
    ringing->setSpacing(2);
    ringing->addWidget(ringingLabel_);
    ringing->addWidget(ringingMinutes_);
    ringing->addWidget(new QLabel(QStringLiteral(":"), this));
    ringing->addWidget(ringingSeconds_);
    ringing->addStretch(1);
    bellGrid->addLayout(ringing, 6, 0, 1, 3);
    graph_ = new CTrackEdytorCtrl(this);
    graph_->setObjectName(QStringLiteral("ringingGraph"));
    graph_->setMinimumSize(260, 130);
    connect(graph_, &CTrackEdytorCtrl::firstValueChanged, this, [this](int n) { graphValueChanged(n, false); });
    connect(graph_, &CTrackEdytorCtrl::secondValueChanged, this, [this](int n) { graphValueChanged(n, true); });
    bellGrid->addWidget(graph_, 0, 3, 7, 1);
    bellGrid->setColumnStretch(3, 1);
}

std::vector<QWidget*> CBellRingingPanel::tabOrder() const {
    std::vector<QWidget*> order;
    for (const TimePair& pair : bells_) {
        order.insert(order.end(), {pair.bell, pair.minutes, pair.seconds, pair.secondMinutes, pair.secondSeconds});
    }
    order.insert(order.end(), {ringingMinutes_, ringingSeconds_, graph_});
    return order;
}

void CBellRingingPanel::showEntry(const ProgramEntry& e, bool keepUnrung) {
    for (int b = 0; b < ProgramEntry::BellCount; ++b) {
        TimePair& pair = bells_[static_cast<std::size_t>(b)];
        const bool rung = e.bellRung(b);
        pair.bell->setChecked(rung);
        pair.bell->setText(rung ? QString::number(b + 1) : QString());
        if (rung || !keepUnrung) {
            const int delay = rung ? e.bellDelay(b) : 0;
            CProgramPage::setItemTwoDigits(pair.minutes, delay / 60);
            CProgramPage::setItemTwoDigits(pair.seconds, delay % 60);
            CProgramPage::setItemTwoDigits(pair.secondMinutes, e.secondTime(b) / 60);
            CProgramPage::setItemTwoDigits(pair.secondSeconds, e.secondTime(b) % 60);
        }
        for (QWidget* w : std::initializer_list<QWidget*>{pair.minutes, pair.firstColon, pair.seconds,
                                                          pair.secondMinutes, pair.secondColon, pair.secondSeconds}) {
            w->setVisible(rung);
        }
    }
    CProgramPage::setItemTwoDigits(ringingMinutes_, e.ringingTime() / 60);
    CProgramPage::setItemTwoDigits(ringingSeconds_, e.ringingTime() % 60);
    fillGraph(e);
}

// The graph shows each bell's delay within the ringing time and its second value within an hour.
void CBellRingingPanel::fillGraph(const ProgramEntry& e) {
    graph_->clear();
    const int ringing = e.ringingTime();
    graph_->setRegions(ringing, MaxBellSeconds);
    for (int b = 0; b < ProgramEntry::BellCount; ++b) {
        graph_->addTrack(e.bellDelay(b), e.secondTime(b));
        graph_->setLimits(b, 0, std::max(ringing - 5, 0), 0, MaxBellSeconds);
    }
}

void CBellRingingPanel::showMarks(const ProgramChangeMarker& mark, const std::function<bool(EntryField)>& marked) {
    for (int b = 0; b < ProgramEntry::BellCount; ++b) {
        TimePair& pair = bells_[static_cast<std::size_t>(b)];
        const bool delay = marked(static_cast<EntryField>(static_cast<int>(EntryField::BellDelay1) + b));
        const bool second = marked(static_cast<EntryField>(static_cast<int>(EntryField::SecondTime1) + b));
        mark.option(pair.bell, delay);
        mark.field(pair.minutes, delay);
        mark.field(pair.seconds, delay);
        mark.field(pair.secondMinutes, second);
        mark.field(pair.secondSeconds, second);
    }
    mark.field(ringingMinutes_, marked(EntryField::RingingTime));
    mark.field(ringingSeconds_, marked(EntryField::RingingTime));
}

void CBellRingingPanel::storeRingingTime() {
    const auto seconds =
        static_cast<std::uint16_t>(ringingMinutes_->readInteger() * 60 + ringingSeconds_->readInteger());
    page_.editShown(static_cast<int>(EntryField::RingingTime),
                    [seconds](ScheduleProgram& s, int row) { s.setRingingTime(row, seconds); });
    if (page_.currentItem() >= 0) {
        fillGraph(page_.shown(page_.currentItem()));
    }
}

void CBellRingingPanel::storeBellPair(int bell, bool second) {
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
    page_.editShown(field, [=](ScheduleProgram& s, int row) {
        if (second) {
            s.setBellSecondTime(row, bell, value);
        } else {
            s.setBellDelay(row, bell, value);
        }
    });
    if (page_.currentItem() >= 0) {
        fillGraph(page_.shown(page_.currentItem()));
    }
}

void CBellRingingPanel::bellToggled(int bell, bool on) {
    TimePair& pair = bells_[static_cast<std::size_t>(bell)];
    const std::uint16_t delay =
        on ? ProgramEntry::bellTimeFrom(pair.minutes->readInteger(), pair.seconds->readInteger())
           : ProgramEntry::BellNotRung;
    const std::uint16_t second =
        ProgramEntry::bellTimeFrom(pair.secondMinutes->readInteger(), pair.secondSeconds->readInteger());
    page_.editShown(static_cast<int>(EntryField::BellDelay1) + bell, [=](ScheduleProgram& s, int row) {
        s.setBellDelay(row, bell, delay);
        if (on) {
            s.setBellSecondTime(row, bell, second);
        }
    });
    if (page_.currentItem() >= 0) {
        showEntry(page_.shown(page_.currentItem()), true);
        editor_.showMarks();
    }
}

void CBellRingingPanel::graphValueChanged(int trackNumber, bool second) {
    const int bell = trackNumber - 1;
    if (bell < 0 || bell >= ProgramEntry::BellCount || page_.currentItem() < 0) {
        return;
    }
    const std::uint16_t value = second ? graph_->secondValue(bell) : graph_->firstValue(bell);
    const int field = static_cast<int>(second ? EntryField::SecondTime1 : EntryField::BellDelay1) + bell;
    page_.editShown(field, [=](ScheduleProgram& s, int row) {
        if (second) {
            s.setBellSecondTime(row, bell, value);
        } else {
            s.setBellDelay(row, bell, value);
        }
    });
    TimePair& pair = bells_[static_cast<std::size_t>(bell)];
    CProgramPage::setItemTwoDigits(second ? pair.secondMinutes : pair.minutes, value / 60);
    CProgramPage::setItemTwoDigits(second ? pair.secondSeconds : pair.seconds, value % 60);
}

void CBellRingingPanel::refreshTexts() {
    refreshBellTexts();
    const QString ringing = page_.text(text::RingingTime);
    ringingLabel_->setText(ringing + QLatin1Char(':'));
    ringingMinutes_->setAccessibleName(ringing + QLatin1String(", ") + page_.text(text::MinutesWord));
    ringingSeconds_->setAccessibleName(ringing + QLatin1String(", ") + page_.text(text::SecondsWord));
    graph_->setAccessibleName(page_.text(text::RingingGraph));
}

// The second value's name follows the start option of the settings (bit 9 of the option flags): read again whenever
// the page is filled, so a change on the settings page or its undo shows here too.
void CBellRingingPanel::refreshBellTexts() {
    const ProjectData* project = page_.project();
    const bool startOption = project && project->general().startMode() == 1;
    const QString secondName = page_.text(startOption ? text::SecondTimeOptionColumn : text::SecondTimeColumn);
    const QString delayName = page_.text(text::SwitchOnDelay);
    const QString minutes = page_.text(text::MinutesWord);
    const QString seconds = page_.text(text::SecondsWord);
    const QString comma = QStringLiteral(", ");
    firstColumnLabel_->setText(delayName);
    secondColumnLabel_->setText(secondName);
    for (int b = 0; b < ProgramEntry::BellCount; ++b) {
        TimePair& pair = bells_[static_cast<std::size_t>(b)];
        const QString bell = page_.formatted(text::Bell, b + 1);
        pair.bell->setAccessibleName(bell);
        pair.minutes->setAccessibleName(bell + comma + delayName + comma + minutes);
        pair.seconds->setAccessibleName(bell + comma + delayName + comma + seconds);
        pair.secondMinutes->setAccessibleName(bell + comma + secondName + comma + minutes);
        pair.secondSeconds->setAccessibleName(bell + comma + secondName + comma + seconds);
    }
    graph_->setTexts(QString::fromStdString(page_.context().texts.text(text::Bell))
                         .replace(QLatin1String("%d"), QLatin1String("%1")),
                     delayName, secondName);
}

} // namespace tolvane
