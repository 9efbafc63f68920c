#include "gui/settings/CMlotekEdy.h"

#include "TextNumbers.h"
#include "device/TypedNumber.h"
#include "gui/settings/CSelectDzwonDlg.h"
#include "gui/settings/EditorSupport.h"
#include "gui/wiring/CSelectPKDlg.h"
#include "project/ProjectData.h"
#include "ringing/EquipmentEditing.h"

#include <QGridLayout>
#include <QLabel>

namespace tolvane {

namespace {

constexpr int TipBell = 549;
constexpr int TipPulse = 550;

} // namespace

CMlotekEdy::CMlotekEdy(AppContext& context, const ProjectData* project, int hammer, QWidget* parent)
    : CDialogEdy(context, project, parent), hammer_(hammer), bellCaption_(new QLabel(this)),
      pulseCaption_(new QLabel(this)), relayCaption_(new QLabel(this)),
      bell_(editorsupport::linkValue(this, "bell", bellCaption_)),
      pulse_(editorsupport::numberField(this, "pulse", 0.1, 2, 3, true)),
      relay_(editorsupport::linkValue(this, "relay", relayCaption_)) {
    workOnCopy({SectionId::Hammers, SectionId::Outputs});
    setWindowTitle(editorsupport::numbered(context, TitleText, hammer_ + 1));
    addControl(Bell, bell_);
    addControl(Pulse, pulse_);
    addControl(Relay, relay_);
    bellCaption_->setText(text(text::LinkedBell) + QLatin1Char(':'));
    pulseCaption_->setText(text(text::PulseLength) + QLatin1Char(':'));
    pulseCaption_->setBuddy(pulse_);
    relayCaption_->setText(text(text::HammerRelay) + QLatin1Char(':'));
    bell_->setAccessibleDescription(text(TipBell));
    pulseCaption_->setToolTip(text(TipPulse));
    pulse_->setAccessibleDescription(text(TipPulse));
    bellCaption_->setToolTip(text(TipBell));

    auto* grid = new QGridLayout;
    grid->addWidget(bellCaption_, 0, 0);
    grid->addWidget(bell_, 0, 1, 1, 2);
    grid->addWidget(pulseCaption_, 1, 0);
    grid->addWidget(pulse_, 1, 1);
    grid->addWidget(new QLabel(text(text::SecondsUnit), this), 1, 2);
    grid->addWidget(relayCaption_, 2, 0);
    grid->addWidget(relay_, 2, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(1, 60);
    body()->addLayout(grid);
    setMinimumWidth(260);

    connect(bell_, &CLinkStatic::clicked, this, &CMlotekEdy::chooseBell);
    connect(relay_, &CLinkStatic::clicked, this, &CMlotekEdy::chooseRelay);
    connect(pulse_, &QLineEdit::editingFinished, this, [this] {
        storePulse();
        showValues();
    });
    setTabOrder(bell_, pulse_);
    setTabOrder(pulse_, relay_);
    showValues();
}

void CMlotekEdy::showValues() {
    if (!copy()) {
        return;
    }
    const HammerRecord& r = copy()->hammers().record(hammer_);
    const std::uint8_t linked = r.linkedBell();
    const QString bell = linked == HammerRecord::NoBell ? text(text::NoneChoice)
                                                        : editorsupport::numbered(context(), text::Bell, linked + 1);
    bell_->setText(bell);
    bell_->setAccessibleName(text(text::LinkedBell) + QStringLiteral(": ") + bell);
    pulse_->setText(editorsupport::tenthsText(r.pulseTenths()));
    const QString relay =
        editorsupport::labelString(context(), OutputMap::relayText(copy()->outputs().hammerRelay(hammer_)));
    relay_->setText(relay);
    relay_->setAccessibleName(text(text::HammerRelay) + QStringLiteral(": ") + relay);
    const std::uint32_t mark = copy()->hammers().changeMark(hammer_);
    markChangedField(Bell, (mark & HammerTable::MarkLinkedBell) != 0);
    markChangedField(Pulse, (mark & HammerTable::MarkPulse) != 0);
    markChangedField(Relay, (mark & HammerTable::MarkRelay) != 0);
}

// The pulse as typed in seconds with one decimal, stored in tenths and truncated (".05" stores 0).
void CMlotekEdy::storePulse() {
    if (!copy()) {
        return;
    }
    HammerTable& hammers = copy()->hammers();
    const std::uint16_t before = hammers.record(hammer_).pulseTenths();
    hammers.setPulseSeconds(hammer_, typedReal(pulse_->text().toStdString()));
    if (hammers.record(hammer_).pulseTenths() != before) {
        setChange(HammerTable::MarkPulse);
    }
}

bool CMlotekEdy::acceptDialog() {
    storePulse();
    return true;
}

void CMlotekEdy::chooseBell() {
    if (!copy()) {
        return;
    }
    HammerTable& hammers = copy()->hammers();
    const std::uint8_t current = hammers.record(hammer_).linkedBell();
    CSelectDzwonDlg chooser(context(), copy(), hammer_, current, this);
    if (context().dialogs.run(chooser) == QDialog::Accepted) {
        const auto chosen = static_cast<std::uint8_t>(chooser.value());
        if (chosen != current && hammers.setLinkedBell(hammer_, chosen)) {
            setChange(HammerTable::MarkLinkedBell);
        }
    }
    showValues();
    bell_->setFocus(Qt::OtherFocusReason);
}

void CMlotekEdy::chooseRelay() {
    if (!copy()) {
        return;
    }
    OutputMap& map = copy()->outputs();
    const std::uint8_t current = map.hammerRelay(hammer_);
    CSelectPKDlg chooser(context(), copy(), current, this);
    if (context().dialogs.run(chooser) == QDialog::Accepted) {
        const auto chosen = static_cast<std::uint8_t>(chooser.value());
        if (chosen != current &&
            map.chooseRelay(OutputMapRecord::HammerRelays + static_cast<std::size_t>(hammer_), chosen)) {
            copy()->hammers().markRelayChanged(hammer_);
            setChange(HammerTable::MarkRelay);
        }
    }
    showValues();
    relay_->setFocus(Qt::OtherFocusReason);
}

} // namespace tolvane
