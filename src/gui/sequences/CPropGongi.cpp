#include "gui/sequences/CPropGongi.h"

#include "TextNumbers.h"
#include "gui/choosers/CSelMlotek.h"
#include "gui/choosers/CSelSekwDlg.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/wiring/CSelectPKDlg.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "report/WiringText.h"
#include "ringing/StrikingEditing.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr std::array<int, 3> BlockTitles{379, 623, 693};
constexpr std::array<NightBlock, 3> Blocks{NightBlock::Hour, NightBlock::Quarter, NightBlock::Repeat};
constexpr int FirstSeriesField = static_cast<int>(StrikingField::Series1);
constexpr int FirstCountField = static_cast<int>(StrikingField::SeriesCount1);
// Edit-key fields of values kept outside the striking record.
constexpr int FullHourField = 100;

StrikingField blockFieldBit(NightBlock b, int which) {
    const int base = b == NightBlock::Hour ? 0 : (b == NightBlock::Quarter ? 4 : 8);
    return static_cast<StrikingField>(base + which);
}

QString withColon(const QString& s) {
    return s + QLatin1Char(':');
}

} // namespace

CPropGongi::CPropGongi(AppContext& context, QWidget* parent) : CDataPage(context, parent) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(buildHours(), 0, 0);
    grid->addWidget(buildQuarters(), 0, 1, 2, 1);
    grid->addWidget(buildHerald(0), 1, 0);
    grid->addWidget(buildHerald(1), 2, 1);
    auto* blocks = new QVBoxLayout;
    for (NightBlock b : Blocks) {
        blocks->addWidget(buildBlock(b));
    }
    blocks->addStretch(1);
    grid->addLayout(blocks, 0, 2, 3, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 10, 12, 12);
    layout->addLayout(grid, 1);

    // Tab goes down the hours, the hour herald, the quarters, the quarter herald and the night blocks.
    QList<QWidget*> order;
    order << modes_[0] << modes_[1] << modes_[2] << strokeInterval_ << hammer_ << delayMinutes_ << delaySeconds_
          << advanced_ << full_;
    const auto herald = [&order](const Herald& h) { order << h.on << h.advance << h.hold << h.relay; };
    herald(heralds_[0]);
    order << quarterOn_ << quarter4Advance_;
    for (const Quarter& q : quarters_) {
        order << q.count;
        for (CLinkStatic* s : q.series) {
            order << s;
        }
    }
    herald(heralds_[1]);
    for (const Block& b : blocks_) {
        for (CFireEdit* f : b.fields) {
            order << f;
        }
    }
    for (int i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

CFireEdit* CPropGongi::numberField(QWidget* parent, const char* name, double lower, double upper, int width,
                                   bool decimal) {
    auto* f = new CFireEdit(parent);
    f->setObjectName(QLatin1String(name));
    f->setUp(lower, upper, width, true, decimal);
    return f;
}

const StrikingSettings* CPropGongi::striking() const {
    return project() ? &project()->striking() : nullptr;
}

QString CPropGongi::formatted(int id, long long n) const {
    return QString::fromStdString(formatText(context().texts.text(id), {TextArg(n)}));
}

// ---- building ----

QWidget* CPropGongi::buildHours() {
    hours_ = new QGroupBox(this);
    hours_->setObjectName(QStringLiteral("hoursGroup"));
    auto* grid = new QGridLayout(hours_);
    modeLabel_ = new QLabel(hours_);
    grid->addWidget(modeLabel_, 0, 0, 1, 3);
    auto* modeGroup = new QButtonGroup(hours_);
    for (int mode = 0; mode < 3; ++mode) {
        auto* radio = new QRadioButton(hours_);
        radio->setObjectName(QStringLiteral("hourMode%1").arg(mode));
        modeGroup->addButton(radio, mode);
        modes_[static_cast<std::size_t>(mode)] = radio;
        grid->addWidget(radio, 1 + mode, 0, 1, 3);
        connect(radio, &QRadioButton::clicked, this, [this, mode] { modeChosen(mode); });
    }

    strokeLabel_ = new QLabel(hours_);
    strokeInterval_ = numberField(hours_, "strokeInterval", 0.5, 9, 3, true);
    strokeLabel_->setBuddy(strokeInterval_);
    strokeUnit_ = new QLabel(hours_);
    storeOnLeave(
        strokeInterval_, StrikingField::StrokeIntervalSingle, [this] { return text(text::StrokeInterval); },
        [this](ProjectData& p) {
            const int mode = p.striking().record().hourMode();
            p.striking().setStrokeInterval(strokeInterval_->text().toStdString(), mode == 2 ? 2 : 1);
        });
    grid->addWidget(strokeLabel_, 4, 0);
    grid->addWidget(strokeInterval_, 4, 1);
    grid->addWidget(strokeUnit_, 4, 2);

    hammerLabel_ = new QLabel(hours_);
    hammer_ = new CLinkStatic(hours_);
    hammer_->setObjectName(QStringLiteral("hourHammer"));
    hammerLabel_->setBuddy(hammer_);
    connect(hammer_, &CLinkStatic::clicked, this, &CPropGongi::chooseHammer);
    grid->addWidget(hammerLabel_, 5, 0);
    grid->addWidget(hammer_, 5, 1, 1, 2);

    delayRow_ = new QWidget(hours_);
    auto* delay = new QHBoxLayout(delayRow_);
    delay->setContentsMargins(0, 0, 0, 0);
    delay->setSpacing(2);
    delayLabel_ = new QLabel(delayRow_);
    delayMinutes_ = numberField(delayRow_, "delayMinutes", 0, 9, 1);
    delaySeconds_ = numberField(delayRow_, "delaySeconds", 0, 59, 2);
    delayLabel_->setBuddy(delayMinutes_);
    delayUnit_ = new QLabel(delayRow_);
    const auto storeDelay = [this](ProjectData& p) {
        p.striking().setRepeatDelay(delayMinutes_->readInteger(), delaySeconds_->readInteger());
    };
    storeOnLeave(
        delayMinutes_, StrikingField::RepeatDelay, [this] { return text(text::RepetitionDelay); }, storeDelay);
    storeOnLeave(
        delaySeconds_, StrikingField::RepeatDelay, [this] { return text(text::RepetitionDelay); }, storeDelay);
    delay->addWidget(delayLabel_);
    delay->addStretch(1);
    delay->addWidget(delayMinutes_);
    delay->addWidget(new QLabel(QStringLiteral(":"), delayRow_));
    delay->addWidget(delaySeconds_);
    delay->addWidget(delayUnit_);
    grid->addWidget(delayRow_, 6, 0, 1, 3);

    fullHour_ = new QGroupBox(hours_);
    auto* fullLayout = new QVBoxLayout(fullHour_);
    advanced_ = new QRadioButton(fullHour_);
    advanced_->setObjectName(QStringLiteral("fullHourAdvanced"));
    full_ = new QRadioButton(fullHour_);
    full_->setObjectName(QStringLiteral("fullHourFull"));
    fullLayout->addWidget(advanced_);
    fullLayout->addWidget(full_);
    for (QRadioButton* radio : {advanced_, full_}) {
        const bool isAdvanced = radio == advanced_;
        connect(radio, &QRadioButton::clicked, this, [this, isAdvanced] {
            store(FullHourField, text(text::FullHourGroup),
                  [isAdvanced](ProjectData& p) { p.general().setFullHourStrikingAdvanced(isAdvanced); });
        });
    }
    grid->addWidget(fullHour_, 7, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    return hours_;
}

QWidget* CPropGongi::buildHerald(int which) {
    Herald& h = heralds_[static_cast<std::size_t>(which)];
    const bool hour = which == 0;
    h.group = new QGroupBox(this);
    h.group->setObjectName(hour ? QStringLiteral("hourHerald") : QStringLiteral("quarterHerald"));
    auto* grid = new QGridLayout(h.group);
    h.on = new QCheckBox(h.group);
    h.on->setObjectName(hour ? QStringLiteral("hourHeraldOn") : QStringLiteral("quarterHeraldOn"));
    connect(h.on, &QCheckBox::clicked, this, [this, hour](bool on) {
        store(static_cast<int>(hour ? StrikingField::HourHerald : StrikingField::QuarterHerald),
              heralds_[hour ? 0 : 1].group->title(), [hour, on](ProjectData& p) {
                  if (hour) {
                      p.striking().setHourHerald(on);
                  } else {
                      p.striking().setQuarterHerald(on);
                  }
              });
    });
    grid->addWidget(h.on, 0, 0, 1, 3);
    h.advanceLabel = new QLabel(h.group);
    h.advance = numberField(h.group, hour ? "hourHeraldAdvance" : "quarterHeraldAdvance", 1, 60, 2);
    h.advanceLabel->setBuddy(h.advance);
    h.holdLabel = new QLabel(h.group);
    h.hold = numberField(h.group, hour ? "hourHeraldHold" : "quarterHeraldHold", 1, 60, 2);
    h.holdLabel->setBuddy(h.hold);
    CFireEdit* advance = h.advance;
    CFireEdit* hold = h.hold;
    storeOnLeave(
        advance, hour ? StrikingField::HourHeraldAdvance : StrikingField::QuarterHeraldAdvance,
        [this, which] { return heralds_[static_cast<std::size_t>(which)].advance->accessibleName(); },
        [hour, advance](ProjectData& p) {
            if (hour) {
                p.striking().setHourHeraldAdvance(advance->readInteger());
            } else {
                p.striking().setQuarterHeraldAdvance(advance->readInteger());
            }
        });
    storeOnLeave(
        hold, hour ? StrikingField::HourHeraldHold : StrikingField::QuarterHeraldHold,
        [this, which] { return heralds_[static_cast<std::size_t>(which)].hold->accessibleName(); },
        [hour, hold](ProjectData& p) {
            if (hour) {
                p.striking().setHourHeraldHold(hold->readInteger());
            } else {
                p.striking().setQuarterHeraldHold(hold->readInteger());
            }
        });
    h.units = {new QLabel(h.group), new QLabel(h.group)};
    grid->addWidget(h.advanceLabel, 1, 0);
    grid->addWidget(h.advance, 1, 1);
    grid->addWidget(h.units[0], 1, 2);
    grid->addWidget(h.holdLabel, 2, 0);
    grid->addWidget(h.hold, 2, 1);
    grid->addWidget(h.units[1], 2, 2);
    h.relayLabel = new QLabel(h.group);
    h.relay = new CLinkStatic(h.group);
    h.relay->setObjectName(hour ? QStringLiteral("hourHeraldRelay") : QStringLiteral("quarterHeraldRelay"));
    h.relayLabel->setBuddy(h.relay);
    connect(h.relay, &CLinkStatic::clicked, this, [this, which] { chooseRelay(which); });
    grid->addWidget(h.relayLabel, 3, 0);
    grid->addWidget(h.relay, 3, 1, 1, 2);
    grid->setColumnStretch(0, 1);
    return h.group;
}

QWidget* CPropGongi::buildQuarters() {
    quartersGroup_ = new QGroupBox(this);
    quartersGroup_->setObjectName(QStringLiteral("quartersGroup"));
    auto* layout = new QVBoxLayout(quartersGroup_);
    quarterOn_ = new QCheckBox(quartersGroup_);
    quarterOn_->setObjectName(QStringLiteral("quarterStrikingOn"));
    connect(quarterOn_, &QCheckBox::clicked, this, [this](bool on) {
        store(static_cast<int>(StrikingField::QuarterStriking), quarterOn_->text(),
              [on](ProjectData& p) { p.striking().setQuarterStriking(on); });
    });
    layout->addWidget(quarterOn_);
    auto* advance = new QHBoxLayout;
    quarter4Label_ = new QLabel(quartersGroup_);
    quarter4Advance_ = numberField(quartersGroup_, "quarter4Advance", 0, 20, 4, true);
    quarter4Label_->setBuddy(quarter4Advance_);
    quarter4Unit_ = new QLabel(quartersGroup_);
    storeOnLeave(
        quarter4Advance_, StrikingField::Quarter4Advance, [this] { return text(text::Quarter4Advance); },
        [this](ProjectData& p) { p.striking().setQuarter4Advance(quarter4Advance_->text().toStdString()); });
    advance->addWidget(quarter4Label_);
    advance->addStretch(1);
    advance->addWidget(quarter4Advance_);
    advance->addWidget(quarter4Unit_);
    layout->addLayout(advance);
    auto* quarterGrid = new QGridLayout;
    for (int q = 0; q < StrikingRecord::Quarters; ++q) {
        Quarter& quarter = quarters_[static_cast<std::size_t>(q)];
        quarter.group = new QGroupBox(quartersGroup_);
        auto* grid = new QGridLayout(quarter.group);
        quarter.countLabel = new QLabel(quarter.group);
        quarter.count =
            numberField(quarter.group, QStringLiteral("seriesCount%1").arg(q + 1).toLatin1().constData(), 0, 4, 1);
        quarter.countLabel->setBuddy(quarter.count);
        CFireEdit* count = quarter.count;
        storeOnLeave(
            count, static_cast<StrikingField>(FirstCountField + q),
            [this, q] { return quarters_[static_cast<std::size_t>(q)].group->title(); },
            [q, count](ProjectData& p) { p.striking().setSeriesCount(q, count->readInteger()); });
        grid->addWidget(quarter.countLabel, 0, 0);
        grid->addWidget(quarter.count, 0, 1);
        for (int s = 0; s < StrikingRecord::SeriesPerQuarter; ++s) {
            auto* label = new QLabel(quarter.group);
            auto* link = new CLinkStatic(quarter.group);
            link->setObjectName(QStringLiteral("series%1_%2").arg(q + 1).arg(s + 1));
            label->setBuddy(link);
            connect(link, &CLinkStatic::clicked, this, [this, q, s] { chooseSeries(q, s); });
            quarter.labels[static_cast<std::size_t>(s)] = label;
            quarter.series[static_cast<std::size_t>(s)] = link;
            grid->addWidget(label, 1 + s, 0);
            grid->addWidget(link, 1 + s, 1);
        }
        grid->setColumnStretch(1, 1);
        quarterGrid->addWidget(quarter.group, q / 2, q % 2);
    }
    layout->addLayout(quarterGrid);
    layout->addStretch(1);
    return quartersGroup_;
}

QWidget* CPropGongi::buildBlock(NightBlock block) {
    const auto index = static_cast<std::size_t>(block);
    Block& b = blocks_[index];
    b.group = new QGroupBox(this);
    auto* grid = new QGridLayout(b.group);
    b.startLabel = new QLabel(b.group);
    b.endLabel = new QLabel(b.group);
    static const char* const names[] = {"hourBlock", "quarterBlock", "repeatBlock"};
    for (int which = 0; which < 4; ++which) {
        const bool hourField = which % 2 == 0;
        CFireEdit* f = numberField(
            b.group, QStringLiteral("%1%2").arg(QLatin1String(names[index])).arg(which).toLatin1().constData(), 0,
            hourField ? 23 : 59, 2);
        b.fields[static_cast<std::size_t>(which)] = f;
        storeOnLeave(
            f, blockFieldBit(block, which), [f] { return f->accessibleName(); },
            [block, which, f](ProjectData& p) {
                StrikingSettings& s = p.striking();
                const long long v = f->readInteger();
                switch (which) {
                case 0:
                    s.setBlockStartHour(block, v);
                    break;
                case 1:
                    s.setBlockStartMinute(block, v);
                    break;
                case 2:
                    s.setBlockEndHour(block, v);
                    break;
                default:
                    s.setBlockEndMinute(block, v);
                    break;
                }
            });
    }
    b.startLabel->setBuddy(b.fields[0]);
    b.endLabel->setBuddy(b.fields[2]);
    b.units = {new QLabel(b.group), new QLabel(b.group)};
    for (int row = 0; row < 2; ++row) {
        grid->addWidget(row == 0 ? b.startLabel : b.endLabel, row, 0);
        grid->addWidget(b.fields[static_cast<std::size_t>(row * 2)], row, 1);
        grid->addWidget(new QLabel(QStringLiteral(":"), b.group), row, 2);
        grid->addWidget(b.fields[static_cast<std::size_t>(row * 2 + 1)], row, 3);
        grid->addWidget(b.units[static_cast<std::size_t>(row)], row, 4);
    }
    grid->setColumnStretch(0, 1);
    return b.group;
}

CFireEdit* CPropGongi::blockField(NightBlock block, int which) const {
    return blocks_[static_cast<std::size_t>(block)].fields[static_cast<std::size_t>(which)];
}

// ---- storing ----

void CPropGongi::storeOnLeave(CFireEdit* f, StrikingField field, const std::function<QString()>& label,
                              const std::function<void(ProjectData&)>& change) {
    // Only a field the user typed in stores: showing a value never changes the project.
    connect(f, &QLineEdit::textEdited, this, [f] { f->setProperty("typed", true); });
    connect(f, &QLineEdit::editingFinished, this, [this, f, field, label, change] {
        if (!f->property("typed").toBool()) {
            return;
        }
        f->setProperty("typed", false);
        store(static_cast<int>(field), label(), change);
    });
}

void CPropGongi::store(int field, const QString& label, const std::function<void(ProjectData&)>& change) {
    if (!project()) {
        return;
    }
    endEditBurst();
    edit({text::StrikingStep, {label.toStdString()}}, {SectionId::Striking, -1, field}, change);
    endEditBurst();
    showValues();
}

// ---- showing ----

void CPropGongi::reload(int) {
    for (QWidget* w : findChildren<CFireEdit*>()) {
        w->setProperty("typed", false);
    }
    showValues();
}

// Every control from the project; the field being typed in keeps its text.
void CPropGongi::showValues() {
    const StrikingSettings* s = striking();
    setEnabled(s != nullptr);
    if (!s) {
        return;
    }
    const StrikingRecord& r = s->record();
    QWidget* focused = QApplication::focusWidget();
    const auto put = [focused](CFireEdit* f, const QString& value) {
        if (f != focused && f->text() != value) {
            f->setText(value);
        }
    };
    const int mode = r.hourMode();
    const strikingediting::HourModeView view = strikingediting::hourModeView(mode);
    modes_[static_cast<std::size_t>(mode)]->setChecked(true);
    put(strokeInterval_, QString::fromStdString(strikingediting::tenthsText(strikingediting::strokeInterval(r, mode))));
    strokeInterval_->setEnabled(view.fieldsEnabled);
    hammer_->setEnabled(view.fieldsEnabled);
    const LabelText hammer = s->hourHammerLabel(view.singleFields);
    hammer_->setText(QString::fromStdString(labelText(hammer, context().texts)));
    hammer_->setAccessibleName(text(text::StrikingHammer) + QLatin1String(": ") + hammer_->text());
    delayRow_->setVisible(view.delayShown);
    const strikingediting::DelayFields delay = strikingediting::delayFields(r.repeatDelayTenths());
    put(delayMinutes_, QString::asprintf("%.1d", delay.minutes));
    put(delaySeconds_, QString::asprintf("%.2d", delay.seconds));
    const bool advanced = project()->general().fullHourStrikingAdvanced();
    advanced_->setChecked(advanced);
    full_->setChecked(!advanced);

    quarterOn_->setChecked(r.quarterStrikingOn());
    put(quarter4Advance_, QString::fromStdString(strikingediting::tenthsText(r.quarter4AdvanceTenths())));
    for (int q = 0; q < StrikingRecord::Quarters; ++q) {
        Quarter& quarter = quarters_[static_cast<std::size_t>(q)];
        put(quarter.count, QString::asprintf("%.1d", r.seriesCount(q)));
        for (int k = 0; k < StrikingRecord::SeriesPerQuarter; ++k) {
            CLinkStatic* link = quarter.series[static_cast<std::size_t>(k)];
            link->setText(QString::fromStdString(s->seriesText(q, k, context().texts)));
            link->setEnabled(strikingediting::seriesEnabled(r, q, k));
            link->setAccessibleName(quarter.group->title() + QLatin1String(", ") +
                                    formatted(text::QuarterSeries, k + 1) + QLatin1String(": ") + link->text());
        }
    }
    for (int which = 0; which < 2; ++which) {
        Herald& h = heralds_[static_cast<std::size_t>(which)];
        const bool hour = which == 0;
        h.on->setChecked(hour ? r.hourHeraldOn() : r.quarterHeraldOn());
        put(h.advance, QString::asprintf("%.2d", hour ? r.hourHeraldAdvance() : r.quarterHeraldAdvance()));
        put(h.hold, QString::asprintf("%.2d", hour ? r.hourHeraldHold() : r.quarterHeraldHold()));
        const std::uint8_t relay = hour ? s->hourHeraldRelay() : s->quarterHeraldRelay();
        h.relay->setText(relay == OutputMapRecord::NoRelay ? text(text::NoneChoice)
                                                           : formatted(text::RelayName, relay + 1));
        h.relay->setAccessibleName(h.group->title() + QLatin1String(", ") + text(text::HeraldRelay) +
                                   QLatin1String(": ") + h.relay->text());
    }
    for (NightBlock b : Blocks) {
        const Block& block = blocks_[static_cast<std::size_t>(b)];
        put(block.fields[0], QString::asprintf("%.2d", r.blockStartHour(b)));
        put(block.fields[1], QString::asprintf("%.2d", r.blockStartMinute(b)));
        put(block.fields[2], QString::asprintf("%.2d", r.blockEndHour(b)));
        put(block.fields[3], QString::asprintf("%.2d", r.blockEndMinute(b)));
    }
    showMarks();
}

void CPropGongi::showMarks() {
    const StrikingSettings* s = striking();
    if (!s) {
        return;
    }
    const QString changed = text(text::ChangedDescription);
    const auto field = [&](QWidget* w, bool on) {
        markChangedField(w, on);
        w->setAccessibleDescription(on ? changed : QString());
    };
    const auto option = [&](QWidget* w, bool on) {
        markChangedOption(w, on);
        w->setAccessibleDescription(on ? changed : QString());
    };
    const auto is = [s](StrikingField f) { return s->isChanged(f); };
    const bool repeatMode = s->record().hourMode() == 2;
    for (QRadioButton* radio : modes_) {
        option(radio, is(StrikingField::HourMode));
    }
    field(strokeInterval_, is(repeatMode ? StrikingField::StrokeIntervalRepeat : StrikingField::StrokeIntervalSingle));
    field(hammer_, is(repeatMode ? StrikingField::HourHammerRepeat : StrikingField::HourHammerSingle));
    field(delayMinutes_, is(StrikingField::RepeatDelay));
    field(delaySeconds_, is(StrikingField::RepeatDelay));
    const bool fullHour = project()->general().isMarked(GeneralSettings::Mark::FullHourStriking);
    option(advanced_, fullHour);
    option(full_, fullHour);
    option(quarterOn_, is(StrikingField::QuarterStriking));
    field(quarter4Advance_, is(StrikingField::Quarter4Advance));
    for (int q = 0; q < StrikingRecord::Quarters; ++q) {
        Quarter& quarter = quarters_[static_cast<std::size_t>(q)];
        field(quarter.count, is(static_cast<StrikingField>(FirstCountField + q)));
        for (CLinkStatic* link : quarter.series) {
            field(link, is(static_cast<StrikingField>(FirstSeriesField + q)));
        }
    }
    option(heralds_[0].on, is(StrikingField::HourHerald));
    field(heralds_[0].advance, is(StrikingField::HourHeraldAdvance));
    field(heralds_[0].hold, is(StrikingField::HourHeraldHold));
    field(heralds_[0].relay, is(StrikingField::HourHeraldRelay));
    option(heralds_[1].on, is(StrikingField::QuarterHerald));
    field(heralds_[1].advance, is(StrikingField::QuarterHeraldAdvance));
    field(heralds_[1].hold, is(StrikingField::QuarterHeraldHold));
    field(heralds_[1].relay, is(StrikingField::QuarterHeraldRelay));
    for (NightBlock b : Blocks) {
        for (int which = 0; which < 4; ++which) {
            field(blocks_[static_cast<std::size_t>(b)].fields[static_cast<std::size_t>(which)],
                  is(blockFieldBit(b, which)));
        }
    }
}

void CPropGongi::refreshMarks() {
    showMarks();
}

// ---- choices ----

void CPropGongi::modeChosen(int mode) {
    store(static_cast<int>(StrikingField::HourMode), modeLabel_->text(),
          [mode](ProjectData& p) { p.striking().setHourMode(mode); });
}

void CPropGongi::chooseHammer() {
    const StrikingSettings* s = striking();
    if (!s) {
        return;
    }
    const bool single = strikingediting::hourModeView(s->record().hourMode()).singleFields;
    const std::uint8_t current = single ? s->record().hourHammerSingle() : s->record().hourHammerRepeat();
    CSelMlotek chooser(false, current, context().texts, context().prompts, this);
    if (context().dialogs.run(chooser) != QDialog::Accepted || chooser.chosen() == CSelMlotek::None) {
        return;
    }
    const int index = chooser.chosen();
    store(static_cast<int>(single ? StrikingField::HourHammerSingle : StrikingField::HourHammerRepeat),
          text(text::StrikingHammer), [index, single](ProjectData& p) { p.striking().setHourHammer(index, single); });
    hammer_->setFocus(Qt::OtherFocusReason);
}

// The herald relays live in the cross-connection; the striking settings keep their change marks.
void CPropGongi::chooseRelay(int which) {
    const StrikingSettings* s = striking();
    if (!s) {
        return;
    }
    const bool hour = which == 0;
    const std::uint8_t current = hour ? s->hourHeraldRelay() : s->quarterHeraldRelay();
    CSelectPKDlg chooser(context(), project(), current, this);
    if (context().dialogs.run(chooser) != QDialog::Accepted || chooser.value() < 0 || chooser.value() == current) {
        heraldRelay(which)->setFocus(Qt::OtherFocusReason);
        return;
    }
    const auto relay = static_cast<std::uint8_t>(chooser.value());
    store(static_cast<int>(hour ? StrikingField::HourHeraldRelay : StrikingField::QuarterHeraldRelay),
          heralds_[static_cast<std::size_t>(which)].group->title(), [hour, relay](ProjectData& p) {
              const std::size_t byte = hour ? OutputMapRecord::HourHeraldRelay : OutputMapRecord::QuarterHeraldRelay;
              if (relay == OutputMapRecord::NoRelay) {
                  p.outputs().chooseRelay(byte, relay);
              } else {
                  // The cross-connection page marks the relay the function went to, as its own choices do.
                  p.outputs().assignRelay(hour ? 19 : 18, relay);
              }
              p.striking().markChanged(hour ? StrikingField::HourHeraldRelay : StrikingField::QuarterHeraldRelay);
          });
    heraldRelay(which)->setFocus(Qt::OtherFocusReason);
}

void CPropGongi::chooseSeries(int quarter, int s) {
    const StrikingSettings* striking = this->striking();
    if (!striking || !strikingediting::seriesEnabled(striking->record(), quarter, s)) {
        return;
    }
    CSelSekwDlg chooser(project(), striking->record().seriesSequence(quarter, s), context().texts, context().prompts,
                        this);
    const bool chosen = context().dialogs.run(chooser) == QDialog::Accepted && chooser.chosenIndex() >= 0;
    CLinkStatic* link = series(quarter, s);
    if (chosen) {
        const int index = chooser.chosenIndex();
        if (const int refusal = strikingediting::seriesRefusal(project()->sequences(), index)) {
            showMessage(text(refusal));
        } else {
            store(FirstSeriesField + quarter, link->accessibleName(),
                  [quarter, s, index](ProjectData& p) { p.striking().setSeriesSequence(quarter, s, index); });
        }
    }
    link->setFocus(Qt::OtherFocusReason);
}

// ---- texts ----

void CPropGongi::refreshTexts() {
    hours_->setTitle(text(text::StrikingHoursGroup));
    modeLabel_->setText(withColon(text(text::StrikingMode)));
    for (int mode = 0; mode < 3; ++mode) {
        modes_[static_cast<std::size_t>(mode)]->setText(text(text::StrikingModeOff + mode));
    }
    strokeLabel_->setText(withColon(text(text::StrokeInterval)));
    strokeUnit_->setText(text(text::SecondsUnit));
    hammerLabel_->setText(withColon(text(text::StrikingHammer)));
    delayLabel_->setText(withColon(text(text::RepetitionDelay)));
    delayUnit_->setText(text(text::MinutesSecondsUnit));
    delayMinutes_->setAccessibleName(text(text::RepetitionDelay) + QLatin1String(", ") + text(text::MinutesWord));
    delaySeconds_->setAccessibleName(text(text::RepetitionDelay) + QLatin1String(", ") + text(text::SecondsWord));
    fullHour_->setTitle(text(text::FullHourGroup));
    advanced_->setText(text(text::FullHourAdvanced));
    full_->setText(text(text::FullHourOnTime));

    quartersGroup_->setTitle(text(text::QuartersGroup));
    quarterOn_->setText(text(text::QuarterStrikingOn));
    quarter4Label_->setText(withColon(text(text::Quarter4Advance)));
    quarter4Unit_->setText(text(text::SecondsUnit));
    for (int q = 0; q < StrikingRecord::Quarters; ++q) {
        Quarter& quarter = quarters_[static_cast<std::size_t>(q)];
        quarter.group->setTitle(text(text::Quarter1 + q));
        quarter.countLabel->setText(withColon(text(text::QuarterSeriesCount)));
        quarter.count->setAccessibleName(quarter.group->title() + QLatin1String(", ") + text(text::QuarterSeriesCount));
        for (int s = 0; s < StrikingRecord::SeriesPerQuarter; ++s) {
            quarter.labels[static_cast<std::size_t>(s)]->setText(withColon(formatted(text::QuarterSeries, s + 1)));
        }
    }
    for (int which = 0; which < 2; ++which) {
        Herald& h = heralds_[static_cast<std::size_t>(which)];
        h.group->setTitle(text(which == 0 ? text::HourHeraldGroup : text::QuarterHeraldGroup));
        h.on->setText(text(text::HeraldOn));
        h.on->setAccessibleName(h.group->title() + QLatin1String(", ") + text(text::HeraldOn));
        h.advanceLabel->setText(withColon(text(text::HeraldAdvance)));
        h.advance->setAccessibleName(h.group->title() + QLatin1String(", ") + text(text::HeraldAdvance));
        h.holdLabel->setText(withColon(text(text::HeraldHold)));
        h.hold->setAccessibleName(h.group->title() + QLatin1String(", ") + text(text::HeraldHold));
        h.relayLabel->setText(withColon(text(text::HeraldRelay)));
        for (QLabel* unit : h.units) {
            unit->setText(text(text::SecondsUnit));
        }
    }
    for (NightBlock b : Blocks) {
        Block& block = blocks_[static_cast<std::size_t>(b)];
        block.group->setTitle(text(BlockTitles[static_cast<std::size_t>(b)]));
        block.startLabel->setText(withColon(text(text::NightStart)));
        block.endLabel->setText(withColon(text(text::NightEnd)));
        for (QLabel* unit : block.units) {
            unit->setText(text(text::HoursMinutesUnit));
        }
        for (int which = 0; which < 4; ++which) {
            block.fields[static_cast<std::size_t>(which)]->setAccessibleName(
                block.group->title() + QLatin1String(", ") + text(which < 2 ? text::NightStart : text::NightEnd) +
                QLatin1String(", ") + text(which % 2 == 0 ? text::HourField : text::MinuteField));
        }
    }
    showValues();
}

} // namespace tolvane
