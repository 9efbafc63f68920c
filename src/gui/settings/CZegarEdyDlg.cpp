#include "gui/settings/CZegarEdyDlg.h"

#include "TextNumbers.h"
#include "device/TypedNumber.h"
#include "gui/settings/EditorSupport.h"
#include "gui/wiring/CSelectPKDlg.h"
#include "gui/wiring/CSelectWeDlg.h"
#include "project/ProjectData.h"
#include "ringing/EquipmentEditing.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace tolvane {

CZegarEdyDlg::CZegarEdyDlg(AppContext& context, const ProjectData* project, int clock, QWidget* parent)
    : CDialogEdy(context, project, parent), clock_(clock), clockOn_(new QCheckBox(this)), type_(new QComboBox(this)),
      sign_(new QPushButton(this)), hours_(editorsupport::numberField(this, "offsetHours", 0, 11, 2)),
      minutes_(editorsupport::numberField(this, "offsetMinutes", 0, 59, 2)), contact_(new QCheckBox(this)),
      contactInput_(editorsupport::linkValue(this, "contactInput", nullptr)),
      gap_(editorsupport::numberField(this, "gap", 0.3, 1, 3, true)),
      pulse_(editorsupport::numberField(this, "pulse", 1, 60, 2)),
      relayA_(editorsupport::linkValue(this, "relayA", nullptr)),
      relayB_(editorsupport::linkValue(this, "relayB", nullptr)),
      singleRelay_(editorsupport::linkValue(this, "singleRelay", nullptr)),
      minuteInput_(editorsupport::linkValue(this, "minuteInput", nullptr)),
      longPulse_(editorsupport::numberField(this, "longPulse", 1, 10, 3, true)), modeCaption_(new QLabel(this)),
      firstMode_(new QRadioButton(this)), secondMode_(new QRadioButton(this)) {
    workOnCopy({SectionId::Clocks, SectionId::Outputs});
    setWindowTitle(editorsupport::numbered(context, TitleText, clock_ + 1));
    clockOn_->setObjectName(QStringLiteral("clockOn"));
    type_->setObjectName(QStringLiteral("type"));
    sign_->setObjectName(QStringLiteral("sign"));
    contact_->setObjectName(QStringLiteral("contact"));
    firstMode_->setObjectName(QStringLiteral("firstMode"));
    secondMode_->setObjectName(QStringLiteral("secondMode"));
    auto* modes = new QButtonGroup(this);
    modes->addButton(firstMode_);
    modes->addButton(secondMode_);

    clockOn_->setText(text(text::ClockOn));
    for (int typeText : equipment::ClockTypeTexts) {
        type_->addItem(text(typeText));
    }
    sign_->setFixedWidth(28);
    sign_->setAccessibleName(text(text::ShiftSign));
    sign_->setAutoDefault(false);

    const auto caption = [this](int id, int textId, QWidget* buddy) {
        auto* label = new QLabel(text(textId) + QLatin1Char(':'), this);
        label->setBuddy(buddy);
        addControl(id, label);
        return label;
    };
    const auto unit = [this](int id, int textId) {
        auto* label = new QLabel(text(textId), this);
        addControl(id, label);
        return label;
    };

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(clockOn_, row++, 0, 1, 3);
    grid->addWidget(caption(0, text::ClockType, type_), row, 0);
    grid->addWidget(type_, row++, 1, 1, 2);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(sign_);
    offsetRow->addWidget(hours_);
    offsetRow->addWidget(new QLabel(QStringLiteral(":"), this));
    offsetRow->addWidget(minutes_);
    offsetRow->addWidget(new QLabel(text(text::HoursMinutesUnit), this));
    offsetRow->addStretch(1);
    hours_->setAccessibleName(text(text::ClockShiftGroup) + QLatin1Char(' ') + text(text::HoursMinutesUnit));
    minutes_->setAccessibleName(text(text::ClockShiftGroup) + QLatin1Char(' ') + text(text::HoursMinutesUnit));
    grid->addWidget(new QLabel(text(text::ClockShiftGroup) + QLatin1Char(':'), this), row, 0);
    grid->addLayout(offsetRow, row++, 1, 1, 2);
    grid->addWidget(contact_, row, 0);
    grid->addWidget(contactInput_, row++, 1, 1, 2);
    grid->addWidget(caption(RelayACaption, text::ClockRelayA, relayA_), row, 0);
    grid->addWidget(relayA_, row++, 1, 1, 2);
    grid->addWidget(caption(RelayBCaption, text::ClockRelayB, relayB_), row, 0);
    grid->addWidget(relayB_, row++, 1, 1, 2);
    grid->addWidget(caption(SingleRelayCaption, text::ClockSingleRelay, singleRelay_), row, 0);
    grid->addWidget(singleRelay_, row++, 1, 1, 2);
    grid->addWidget(caption(MinuteInputCaption, text::ClockMinuteInput, minuteInput_), row, 0);
    grid->addWidget(minuteInput_, row++, 1, 1, 2);
    grid->addWidget(caption(PulseCaption, text::PulseLength, pulse_), row, 0);
    grid->addWidget(pulse_, row, 1);
    grid->addWidget(unit(PulseUnit, text::SecondsUnit), row++, 2);
    grid->addWidget(caption(GapCaption, text::ClockPulseGap, gap_), row, 0);
    grid->addWidget(gap_, row, 1);
    grid->addWidget(unit(GapUnit, text::SecondsUnit), row++, 2);
    grid->addWidget(caption(LongPulseCaption, text::LongPulse, longPulse_), row, 0);
    grid->addWidget(longPulse_, row, 1);
    grid->addWidget(unit(LongPulseUnit, text::SecondsUnit), row++, 2);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(firstMode_);
    modeRow->addWidget(secondMode_);
    modeRow->addStretch(1);
    grid->addWidget(modeCaption_, row, 0);
    grid->addLayout(modeRow, row++, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(1, 50);
    body()->addLayout(grid);
    setMinimumWidth(340);

    addControl(ClockOn, clockOn_);
    addControl(Type, type_);
    addControl(Sign, sign_);
    addControl(OffsetHours, hours_);
    addControl(OffsetMinutes, minutes_);
    addControl(Contact, contact_);
    addControl(ContactInput, contactInput_);
    addControl(Gap, gap_);
    addControl(Pulse, pulse_);
    addControl(RelayA, relayA_);
    addControl(RelayB, relayB_);
    addControl(SingleRelay, singleRelay_);
    addControl(MinuteInput, minuteInput_);
    addControl(LongPulse, longPulse_);
    addControl(FirstMode, firstMode_);
    addControl(SecondMode, secondMode_);
    addControl(ModeCaption, modeCaption_);

    connect(clockOn_, &QCheckBox::clicked, this, [this](bool on) {
        if (copy()) {
            copy()->clocks().setClockEnabled(clock_, on);
            showValues();
        }
    });
    connect(contact_, &QCheckBox::clicked, this, [this](bool used) {
        if (copy()) {
            copy()->clocks().setCorrectionContactUsed(clock_, used);
            showValues();
        }
    });
    connect(type_, &QComboBox::activated, this, [this](int position) {
        if (copy()) {
            copy()->clocks().setClockType(clock_, equipment::clockTypeOfPosition(position));
            showValues();
        }
    });
    connect(sign_, &QPushButton::clicked, this, [this] {
        negative_ = !negative_;
        storeOffset();
        showValues();
    });
    connect(firstMode_, &QRadioButton::clicked, this, [this] {
        if (copy()) {
            const bool type5 = equipment::clockControls(copy()->clocks().shownType(clock_)).type5Modes;
            type5 ? copy()->clocks().setType5FirstMode(clock_, true) : copy()->clocks().setTwelveHourMode(clock_, true);
        }
    });
    connect(secondMode_, &QRadioButton::clicked, this, [this] {
        if (copy()) {
            const bool type5 = equipment::clockControls(copy()->clocks().shownType(clock_)).type5Modes;
            type5 ? copy()->clocks().setType5FirstMode(clock_, false)
                  : copy()->clocks().setTwelveHourMode(clock_, false);
        }
    });
    for (int id : {OffsetHours, OffsetMinutes, Gap, Pulse, LongPulse}) {
        connect(qobject_cast<CFireEdit*>(control(id)), &QLineEdit::editingFinished, this, [this, id] {
            storeField(id);
            showValues();
        });
    }
    for (int id : {RelayA, RelayB, SingleRelay}) {
        connect(qobject_cast<CLinkStatic*>(control(id)), &CLinkStatic::clicked, this, [this, id] { chooseRelay(id); });
    }
    for (int id : {ContactInput, MinuteInput}) {
        connect(qobject_cast<CLinkStatic*>(control(id)), &CLinkStatic::clicked, this, [this, id] { chooseInput(id); });
    }

    QWidget* order[] = {clockOn_, type_,        sign_,        hours_, minutes_, contact_,   contactInput_, relayA_,
                        relayB_,  singleRelay_, minuteInput_, pulse_, gap_,     longPulse_, firstMode_,    secondMode_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    if (copy()) {
        negative_ = copy()->clocks().record(clock_).offsetMinutes() < 0;
    }
    showValues();
}

void CZegarEdyDlg::showValues() {
    if (!copy()) {
        return;
    }
    const ClockRecord& r = copy()->clocks().record(clock_);
    const OutputMap& map = copy()->outputs();
    clockOn_->setChecked(!r.clockOff());
    type_->setCurrentIndex(equipment::clockTypePosition(r.clockType()));
    const equipment::ShownOffset offset = equipment::shownOffset(r.offsetMinutes());
    // A shift of zero keeps the sign the user chose, so that "-" can be set before the hours are typed.
    if (r.offsetMinutes() != 0) {
        negative_ = offset.negative;
    }
    sign_->setText(negative_ ? QStringLiteral("-") : QStringLiteral("+"));
    hours_->writeInteger(offset.hours);
    minutes_->writeInteger(offset.minutes);
    contact_->setChecked(!r.correctionContactUnused());
    gap_->setText(editorsupport::tenthsText(r.gapTenths()));
    pulse_->writeInteger(r.pulseSeconds());
    longPulse_->setText(editorsupport::tenthsText(r.longPulseTenths()));

    const auto setLink = [this](CLinkStatic* link, int captionText, const LabelText& value) {
        const QString shown = editorsupport::labelString(context(), value);
        link->setText(shown);
        link->setAccessibleName(text(captionText) + QStringLiteral(": ") + shown);
    };
    setLink(relayA_, text::ClockRelayA, OutputMap::relayText(map.clockRelayA(clock_)));
    setLink(relayB_, text::ClockRelayB, OutputMap::relayText(map.clockRelayB(clock_)));
    setLink(singleRelay_, text::ClockSingleRelay, OutputMap::relayText(map.clockSingleRelay(clock_)));
    setLink(minuteInput_, text::ClockMinuteInput,
            OutputMap::inputText(map.clockInput(clock_, OutputMapRecord::RoleClockMinute)));
    const equipment::ClockControls shown = equipment::clockControls(copy()->clocks().shownType(clock_));
    setLink(contactInput_, shown.contactText,
            OutputMap::inputText(map.clockInput(clock_, OutputMapRecord::RoleClockContact)));
    showTypeControls();
    paintMarks();
}

// The controls of the shown type: the others are hidden, the pulse field takes the type's range and the mode pair
// and the contact their captions.
void CZegarEdyDlg::showTypeControls() {
    const int type = copy()->clocks().shownType(clock_);
    const equipment::ClockControls c = equipment::clockControls(type);
    for (int id : {RelayA, RelayACaption, RelayB, RelayBCaption}) {
        showControlIf(id, c.relaysAB);
    }
    for (int id : {Pulse, PulseCaption, PulseUnit}) {
        showControlIf(id, c.pulse);
    }
    for (int id : {Gap, GapCaption, GapUnit}) {
        showControlIf(id, c.gap);
    }
    for (int id : {SingleRelay, SingleRelayCaption, MinuteInput, MinuteInputCaption, LongPulse, LongPulseCaption,
                   LongPulseUnit}) {
        showControlIf(id, c.singleRelay);
    }
    for (int id : {ModeCaption, FirstMode, SecondMode}) {
        showControlIf(id, c.modeRadios);
    }
    if (c.pulse && static_cast<int>(pulse_->upperBound()) != c.pulseMax) {
        const QString typed = pulse_->text();
        pulse_->setUp(1, c.pulseMax, 2);
        pulse_->setText(typed);
    }
    contact_->setText(text(c.contactText));
    modeCaption_->setText(text(c.radioTexts[0]) + QLatin1Char(':'));
    firstMode_->setText(text(c.radioTexts[1]));
    secondMode_->setText(text(c.radioTexts[2]));
    const bool first = equipment::firstModeChosen(copy()->clocks().record(clock_).clockFlags(), c.type5Modes);
    (first ? firstMode_ : secondMode_)->setChecked(true);
}

void CZegarEdyDlg::paintMarks() {
    const std::uint32_t mark = copy()->clocks().changeMark(clock_);
    const auto has = [mark](std::uint32_t bits) { return (mark & bits) != 0; };
    markChangedLabel(ClockOn, has(TowerClockTable::MarkEnabled));
    markChangedField(Type, has(TowerClockTable::MarkType));
    markChangedField(OffsetHours, has(TowerClockTable::MarkOffsetHours));
    markChangedField(OffsetMinutes, has(TowerClockTable::MarkOffsetMinutes));
    markChangedLabel(Contact, has(TowerClockTable::MarkContact));
    markChangedField(ContactInput, has(TowerClockTable::MarkContactInput));
    markChangedField(Gap, has(TowerClockTable::MarkGap));
    markChangedField(Pulse, has(TowerClockTable::MarkPulse));
    markChangedField(RelayA, has(TowerClockTable::MarkRelayA));
    markChangedField(RelayB, has(TowerClockTable::MarkRelayB));
    markChangedField(SingleRelay, has(TowerClockTable::MarkSingleRelay));
    markChangedField(MinuteInput, has(TowerClockTable::MarkMinuteInput));
    markChangedField(LongPulse, has(TowerClockTable::MarkLongPulse));
}

void CZegarEdyDlg::storeOffset() {
    if (copy()) {
        copy()->clocks().setOffset(clock_, negative_, hours_->readInteger(), minutes_->readInteger());
    }
}

// Stores one field as typed; values outside the field's range are kept (warning colour, validation).
void CZegarEdyDlg::storeField(int id) {
    if (!copy()) {
        return;
    }
    TowerClockTable& clocks = copy()->clocks();
    switch (id) {
    case OffsetHours:
    case OffsetMinutes:
        storeOffset();
        break;
    case Gap:
        clocks.setGapSeconds(clock_, typedReal(gap_->text().toStdString()));
        break;
    case Pulse:
        clocks.setPulseSeconds(clock_, pulse_->readInteger());
        break;
    case LongPulse:
        clocks.setLongPulseSeconds(clock_, typedReal(longPulse_->text().toStdString()));
        break;
    default:
        break;
    }
}

bool CZegarEdyDlg::acceptDialog() {
    if (auto* focused = qobject_cast<CFireEdit*>(focusWidget())) {
        focused->finishEditing();
    }
    if (!copy()) {
        return true;
    }
    // Only the fields of the shown type count: a hidden field keeps what the record holds.
    const equipment::ClockControls c = equipment::clockControls(copy()->clocks().shownType(clock_));
    storeField(OffsetHours);
    if (c.pulse) {
        storeField(Pulse);
    }
    if (c.gap) {
        storeField(Gap);
    }
    if (c.singleRelay) {
        storeField(LongPulse);
    }
    return true;
}

void CZegarEdyDlg::chooseRelay(int id) {
    if (!copy()) {
        return;
    }
    OutputMap& map = copy()->outputs();
    const std::size_t byte =
        (id == RelayB ? OutputMapRecord::ClockRelayB : OutputMapRecord::ClockRelayA) + static_cast<std::size_t>(clock_);
    const std::uint8_t current = map.record().relay(byte);
    CSelectPKDlg chooser(context(), copy(), current, this);
    if (context().dialogs.run(chooser) == QDialog::Accepted) {
        const auto chosen = static_cast<std::uint8_t>(chooser.value());
        if (chosen != current && map.chooseRelay(byte, chosen)) {
            const std::uint32_t bit = id == RelayA   ? TowerClockTable::MarkRelayA
                                      : id == RelayB ? TowerClockTable::MarkRelayB
                                                     : TowerClockTable::MarkSingleRelay;
            copy()->clocks().addChangeBits(clock_, bit);
            setChange(bit);
        }
    }
    showValues();
    control(id)->setFocus(Qt::OtherFocusReason);
}

void CZegarEdyDlg::chooseInput(int id) {
    if (!copy()) {
        return;
    }
    OutputMap& map = copy()->outputs();
    const std::uint8_t role = id == MinuteInput ? OutputMapRecord::RoleClockMinute : OutputMapRecord::RoleClockContact;
    const std::uint8_t current = map.clockInput(clock_, role);
    CSelectWeDlg chooser(context(), copy(), current, this);
    if (context().dialogs.run(chooser) == QDialog::Accepted) {
        const auto chosen = static_cast<std::uint8_t>(chooser.value());
        if (chosen != current && map.setClockInput(clock_, role, chosen)) {
            const std::uint32_t bit =
                id == MinuteInput ? TowerClockTable::MarkMinuteInput : TowerClockTable::MarkContactInput;
            copy()->clocks().addChangeBits(clock_, bit);
            setChange(bit);
        }
    }
    showValues();
    control(id)->setFocus(Qt::OtherFocusReason);
}

} // namespace tolvane
