#include "gui/settings/CPropSettings.h"

#include "TextNumbers.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/settings/CDzwonEdyDlg.h"
#include "gui/settings/CMlotekEdy.h"
#include "gui/settings/CZegarEdyDlg.h"
#include "gui/settings/EditorSupport.h"
#include "gui/widgets/CCellCheckBox.h"
#include "gui/widgets/CLamp.h"
#include "gui/widgets/CStaticHelp.h"
#include "gui/widgets/ChangeHighlight.h"
#include "gui/wiring/CSelectPKDlg.h"
#include "project/ProjectData.h"
#include "project/SettingsEditing.h"
#include "ringing/EquipmentEditing.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tolvane {

namespace {

using Mark = GeneralSettings::Mark;
using Protection = GeneralSettings::Protection;

// Captions (catalog texts).
constexpr std::array<int, 2> StartModeTexts{328, 326};
constexpr std::array<int, 2> StopModeTexts{327, 325};
// The protection boxes in page order (bells, menu, programs, failures) with their texts.
constexpr std::array<Protection, 4> Protections{Protection::Bells, Protection::Menu, Protection::Programs,
                                                Protection::Failures};
constexpr std::array<int, 4> ProtectionMarks{Mark::ProtectsBells, Mark::ProtectsMenu, Mark::ProtectsPrograms,
                                             Mark::ProtectsFailures};
constexpr std::array<int, 5> KeyFunctionTexts{574, 575, 576, 554, 241};

// The validation codes of the settings on this page without records of their own.
constexpr int IssueLeadTime = 37;
constexpr int IssueSwitchOffDelay = 38;
constexpr int IssueNoAmplifierRelay = 39;

// Help tips of the captions.
constexpr int TipAmplifierSwitch = 109;
constexpr int TipLeadTime = 108;
constexpr int TipDelay = 107;
constexpr int TipRelay = 106;
constexpr int TipStartMode = 146;
constexpr int TipStopMode = 147;
constexpr int TipClockLock = 175;

// Fields of the undo keys (their own burst each).
enum Field : int {
    FieldAmplifierSwitch = 1,
    FieldLeadTime,
    FieldDelay,
    FieldRelay,
    FieldClockLock,
    FieldStart,
    FieldStop,
    FieldLocation,
    FieldUserCode,
    FieldServiceCode,
    FieldProtection,
    FieldF2,
    FieldF3,
    FieldFuneral,
    FieldSpecial,
};

EditKey generalKey(int field) {
    return {SectionId::General, -1, field};
}

// Whether an editor's OK changed any section it edits, compared with the project it was opened on.
bool dialogChanged(const CDialogEdy& dialog, const ProjectData& project) {
    if (!dialog.copy()) {
        return false;
    }
    for (SectionId id : dialog.editedSections()) {
        if (dialog.copy()->state(id).content != project.state(id).content) {
            return true;
        }
    }
    return false;
}

} // namespace

CPropSettings::CPropSettings(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), scroll_(new QScrollArea(this)), content_(new QWidget),
      amplifierGroup_(new QGroupBox(content_)), bellsGroup_(new QGroupBox(content_)),
      hammersGroup_(new QGroupBox(content_)), clocksGroup_(new QGroupBox(content_)),
      modesGroup_(new QGroupBox(content_)), codesGroup_(new QGroupBox(content_)), keysGroup_(new QGroupBox(content_)),
      locationGroup_(new QGroupBox(content_)), funeralGroup_(new QGroupBox(content_)) {
    amplifierGroup_->setObjectName(QStringLiteral("amplifierGroup"));
    bellsGroup_->setObjectName(QStringLiteral("bellsGroup"));
    hammersGroup_->setObjectName(QStringLiteral("hammersGroup"));
    clocksGroup_->setObjectName(QStringLiteral("clocksGroup"));
    modesGroup_->setObjectName(QStringLiteral("modesGroup"));
    codesGroup_->setObjectName(QStringLiteral("codesGroup"));
    keysGroup_->setObjectName(QStringLiteral("keysGroup"));
    locationGroup_->setObjectName(QStringLiteral("locationGroup"));
    funeralGroup_->setObjectName(QStringLiteral("funeralGroup"));
    buildAmplifier();
    buildOverview();
    buildModes();
    buildCodes();
    buildKeys();
    buildLocationAndFuneral();

    // Two columns: the equipment on the left, the controller's behaviour and access on the right.
    auto* columns = new QHBoxLayout(content_);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (QGroupBox* group : {amplifierGroup_, bellsGroup_, hammersGroup_, clocksGroup_}) {
        left->addWidget(group);
    }
    for (QGroupBox* group : {modesGroup_, codesGroup_, keysGroup_, locationGroup_, funeralGroup_}) {
        right->addWidget(group);
    }
    left->addStretch(1);
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    scroll_->setObjectName(QStringLiteral("settingsScroll"));
    placeInScrollArea(scroll_, content_);

    // Tab goes down the left column, then the right one.
    chainTabOrder({ampSwitch_,
                   leadTime_,
                   delay_,
                   ampRelay_,
                   bellLinks_[0],
                   bellLinks_[1],
                   bellLinks_[2],
                   bellLinks_[3],
                   bellLinks_[4],
                   hammerLinks_[0],
                   hammerLinks_[1],
                   hammerLinks_[2],
                   hammerLinks_[3],
                   hammerLinks_[4],
                   clockLinks_[0],
                   clockLinks_[1],
                   clockLock_,
                   startModes_[0],
                   startModes_[1],
                   stopModes_[0],
                   stopModes_[1],
                   userCode_,
                   serviceCode_,
                   protections_[0],
                   protections_[1],
                   protections_[2],
                   protections_[3],
                   f2_,
                   f3_,
                   location_,
                   funeralOption_,
                   special_});
}

// --- Building ---

void CPropSettings::buildAmplifier() {
    auto* grid = new QGridLayout(amplifierGroup_);
    ampSwitchCaption_ = new CStaticHelp(QString(), amplifierGroup_);
    ampSwitch_ = new CCellCheckBox(amplifierGroup_);
    ampSwitch_->setObjectName(QStringLiteral("amplifierSwitch"));
    leadCaption_ = new CStaticHelp(QString(), amplifierGroup_);
    leadTime_ = editorsupport::numberField(amplifierGroup_, "leadTime", 1, 60, 2);
    delayCaption_ = new CStaticHelp(QString(), amplifierGroup_);
    delay_ = editorsupport::numberField(amplifierGroup_, "switchOffDelay", 1, 60, 2);
    relayCaption_ = new CStaticHelp(QString(), amplifierGroup_);
    ampRelay_ = editorsupport::linkValue(amplifierGroup_, "amplifierRelay", nullptr);
    for (QLabel*& unit : secondsUnits_) {
        unit = new QLabel(amplifierGroup_);
    }
    grid->addWidget(ampSwitch_, 0, 0);
    grid->addWidget(ampSwitchCaption_, 0, 1, 1, 3);
    grid->addWidget(leadCaption_, 1, 1);
    grid->addWidget(leadTime_, 1, 2);
    grid->addWidget(secondsUnits_[0], 1, 3);
    grid->addWidget(delayCaption_, 2, 1);
    grid->addWidget(delay_, 2, 2);
    grid->addWidget(secondsUnits_[1], 2, 3);
    grid->addWidget(relayCaption_, 3, 1);
    grid->addWidget(ampRelay_, 3, 2, 1, 2);
    grid->setColumnStretch(3, 1);

    connect(ampSwitch_, &QCheckBox::clicked, this, [this](bool on) {
        act(text::AmplifierSwitch, {SectionId::Amplifier, -1, FieldAmplifierSwitch},
            [on](ProjectData& p) { p.amplifier().setSwitchingOn(on); });
    });
    connect(leadTime_, &QLineEdit::textEdited, this,
            [this] { typeAmplifierTime(leadTime_, text::AmplifierLeadTime, FieldLeadTime); });
    connect(delay_, &QLineEdit::textEdited, this,
            [this] { typeAmplifierTime(delay_, text::AmplifierDelay, FieldDelay); });
    for (CFireEdit* field : {leadTime_, delay_}) {
        connect(field, &QLineEdit::editingFinished, this, [this] {
            endEditBurst();
            showValues();
        });
    }
    connect(ampRelay_, &CLinkStatic::clicked, this, &CPropSettings::chooseAmplifierRelay);
}

void CPropSettings::buildOverview() {
    auto* bells = new QGridLayout(bellsGroup_);
    for (int b = 0; b < 5; ++b) {
        auto& lamp = bellLamps_[static_cast<std::size_t>(b)];
        auto& link = bellLinks_[static_cast<std::size_t>(b)];
        auto& marker = bellMarkers_[static_cast<std::size_t>(b)];
        lamp = new CLamp(bellsGroup_);
        link = editorsupport::linkValue(bellsGroup_, "", nullptr);
        link->setObjectName(QStringLiteral("bell%1").arg(b + 1));
        marker = new QLabel(bellsGroup_);
        bells->addWidget(lamp, b, 0);
        bells->addWidget(link, b, 1);
        bells->addWidget(marker, b, 2);
        connect(link, &CLinkStatic::clicked, this, [this, b] { openBell(b); });
    }
    bells->setColumnStretch(2, 1);

    auto* hammers = new QGridLayout(hammersGroup_);
    for (int h = 0; h < 5; ++h) {
        auto& lamp = hammerLamps_[static_cast<std::size_t>(h)];
        auto& link = hammerLinks_[static_cast<std::size_t>(h)];
        lamp = new CLamp(hammersGroup_);
        link = editorsupport::linkValue(hammersGroup_, "", nullptr);
        link->setObjectName(QStringLiteral("hammer%1").arg(h + 1));
        hammers->addWidget(lamp, h, 0);
        hammers->addWidget(link, h, 1);
        connect(link, &CLinkStatic::clicked, this, [this, h] { openHammer(h); });
    }
    hammers->setColumnStretch(2, 1);

    auto* clocks = new QGridLayout(clocksGroup_);
    for (int c = 0; c < 2; ++c) {
        auto& lamp = clockLamps_[static_cast<std::size_t>(c)];
        auto& link = clockLinks_[static_cast<std::size_t>(c)];
        auto& state = clockStates_[static_cast<std::size_t>(c)];
        lamp = new CLamp(clocksGroup_);
        link = editorsupport::linkValue(clocksGroup_, "", nullptr);
        link->setObjectName(QStringLiteral("clock%1").arg(c + 1));
        state = new QLabel(clocksGroup_);
        clocks->addWidget(lamp, c, 0);
        clocks->addWidget(link, c, 1);
        clocks->addWidget(state, c, 2);
        connect(link, &CLinkStatic::clicked, this, [this, c] { openClock(c); });
    }
    lockCaption_ = new CStaticHelp(QString(), clocksGroup_);
    clockLock_ = new CCellCheckBox(clocksGroup_);
    clockLock_->setObjectName(QStringLiteral("clockLock"));
    clocks->addWidget(clockLock_, 2, 0);
    clocks->addWidget(lockCaption_, 2, 1, 1, 2);
    clocks->setColumnStretch(2, 1);
    connect(clockLock_, &QCheckBox::clicked, this, [this](bool ticked) {
        act(text::ClockLock, generalKey(FieldClockLock),
            [ticked](ProjectData& p) { settingsedit::setClockLockTicked(p, ticked); });
    });
}

void CPropSettings::buildModes() {
    auto* grid = new QGridLayout(modesGroup_);
    startCaption_ = new CStaticHelp(QString(), modesGroup_);
    stopCaption_ = new CStaticHelp(QString(), modesGroup_);
    auto* starts = new QButtonGroup(this);
    auto* stops = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto& start = startModes_[static_cast<std::size_t>(i)];
        auto& stop = stopModes_[static_cast<std::size_t>(i)];
        start = new QRadioButton(modesGroup_);
        start->setObjectName(QStringLiteral("startMode%1").arg(i));
        stop = new QRadioButton(modesGroup_);
        stop->setObjectName(QStringLiteral("stopMode%1").arg(i));
        starts->addButton(start, i);
        stops->addButton(stop, i);
        grid->addWidget(start, 1, i);
        grid->addWidget(stop, 3, i);
    }
    grid->addWidget(startCaption_, 0, 0, 1, 2);
    grid->addWidget(stopCaption_, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(starts, &QButtonGroup::idClicked, this, [this](int index) {
        act(text::StartMode, generalKey(FieldStart), [index](ProjectData& p) { p.general().setStartMode(index); });
    });
    connect(stops, &QButtonGroup::idClicked, this, [this](int index) {
        act(text::StopMode, generalKey(FieldStop), [index](ProjectData& p) { p.general().setStopMode(index); });
    });
}

void CPropSettings::buildCodes() {
    auto* grid = new QGridLayout(codesGroup_);
    userCodeCaption_ = new QLabel(codesGroup_);
    serviceCodeCaption_ = new QLabel(codesGroup_);
    userCode_ = new QLineEdit(codesGroup_);
    serviceCode_ = new QLineEdit(codesGroup_);
    userCode_->setObjectName(QStringLiteral("userCode"));
    serviceCode_->setObjectName(QStringLiteral("serviceCode"));
    for (QLineEdit* field : {userCode_, serviceCode_}) {
        field->setMaxLength(GeneralSettings::CodeDigits);
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), field));
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    }
    userCodeCaption_->setBuddy(userCode_);
    serviceCodeCaption_->setBuddy(serviceCode_);
    grid->addWidget(userCodeCaption_, 0, 0);
    grid->addWidget(userCode_, 0, 1);
    grid->addWidget(serviceCodeCaption_, 1, 0);
    grid->addWidget(serviceCode_, 1, 1);
    for (std::size_t k = 0; k < protections_.size(); ++k) {
        auto*& box = protections_[k];
        box = new QCheckBox(codesGroup_);
        box->setObjectName(QStringLiteral("protects%1").arg(k));
        grid->addWidget(box, 2 + static_cast<int>(k) / 2, static_cast<int>(k) % 2);
        const Protection what = Protections[k];
        connect(box, &QCheckBox::clicked, this, [this, what, k](bool on) {
            act(text::FirstProtection + static_cast<int>(k), generalKey(FieldProtection + 100 * static_cast<int>(k)),
                [what, on](ProjectData& p) { p.general().setCodeProtects(what, on); });
        });
    }
    grid->setColumnStretch(1, 1);
    connect(userCode_, &QLineEdit::textEdited, this, [this] { typeCode(userCode_, false); });
    connect(serviceCode_, &QLineEdit::textEdited, this, [this] { typeCode(serviceCode_, true); });
    connect(userCode_, &QLineEdit::editingFinished, this, [this] { leaveCode(userCode_, false); });
    connect(serviceCode_, &QLineEdit::editingFinished, this, [this] { leaveCode(serviceCode_, true); });
}

void CPropSettings::buildKeys() {
    auto* grid = new QGridLayout(keysGroup_);
    f2Caption_ = new QLabel(keysGroup_);
    f3Caption_ = new QLabel(keysGroup_);
    f2_ = new QComboBox(keysGroup_);
    f3_ = new QComboBox(keysGroup_);
    f2_->setObjectName(QStringLiteral("keyF2"));
    f3_->setObjectName(QStringLiteral("keyF3"));
    f2Caption_->setBuddy(f2_);
    f3Caption_->setBuddy(f3_);
    grid->addWidget(f2Caption_, 0, 0);
    grid->addWidget(f2_, 0, 1);
    grid->addWidget(f3Caption_, 1, 0);
    grid->addWidget(f3_, 1, 1);
    grid->setColumnStretch(1, 1);
    connect(f2_, &QComboBox::activated, this, [this](int position) {
        act(text::KeyF2, generalKey(FieldF2),
            [position](ProjectData& p) { p.general().setKeyF2Function(static_cast<std::uint8_t>(position)); });
    });
    connect(f3_, &QComboBox::activated, this, [this](int position) {
        act(text::KeyF3, generalKey(FieldF3),
            [position](ProjectData& p) { p.general().setKeyF3Function(static_cast<std::uint8_t>(position)); });
    });
}

void CPropSettings::buildLocationAndFuneral() {
    auto* locationLayout = new QVBoxLayout(locationGroup_);
    location_ = new QLineEdit(locationGroup_);
    location_->setObjectName(QStringLiteral("location"));
    location_->setMaxLength(static_cast<int>(GeneralSettings::MaxLocationChars));
    locationLayout->addWidget(location_);
    // Typing is one step however many letters it takes; leaving the field ends it.
    connect(location_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        edit({text::LocationGroup, {}}, generalKey(FieldLocation),
             [name = typed.toStdString()](ProjectData& p) { p.general().setLocationName(name); });
        paintMarks();
    });
    connect(location_, &QLineEdit::editingFinished, this, [this] { endEditBurst(); });

    auto* funeral = new QVBoxLayout(funeralGroup_);
    funeralOption_ = new QCheckBox(funeralGroup_);
    special_ = new QCheckBox(funeralGroup_);
    funeralOption_->setObjectName(QStringLiteral("funeralOption1"));
    special_->setObjectName(QStringLiteral("specialTolling"));
    funeral->addWidget(funeralOption_);
    funeral->addWidget(special_);
    connect(funeralOption_, &QCheckBox::clicked, this, [this](bool on) {
        act(text::FuneralOption, generalKey(FieldFuneral),
            [on](ProjectData& p) { p.general().setFuneralOption1On(on); });
    });
    // The view adds or removes the special-tolling item as soon as the project changes.
    connect(special_, &QCheckBox::clicked, this, [this](bool on) {
        act(text::SpecialTolling, generalKey(FieldSpecial),
            [on](ProjectData& p) { p.general().setSpecialTollingOn(on); });
    });
}

// --- Texts ---

void CPropSettings::refreshTexts() {
    amplifierGroup_->setTitle(text(text::AmplifierGroup));
    ampSwitchCaption_->setText(text(text::AmplifierSwitch));
    ampSwitch_->setAccessibleName(text(text::AmplifierSwitch));
    leadCaption_->setText(text(text::AmplifierLeadTime) + QLatin1Char(':'));
    leadTime_->setAccessibleName(text(text::AmplifierLeadTime) + QLatin1Char(' ') + text(text::SecondsUnit));
    delayCaption_->setText(text(text::AmplifierDelay) + QLatin1Char(':'));
    delay_->setAccessibleName(text(text::AmplifierDelay) + QLatin1Char(' ') + text(text::SecondsUnit));
    for (QLabel* unit : secondsUnits_) {
        unit->setText(text(text::SecondsUnit));
    }
    relayCaption_->setText(text(text::AmplifierRelay) + QLatin1Char(':'));
    bellsGroup_->setTitle(text(text::BellsGroup));
    hammersGroup_->setTitle(text(text::HammersGroup));
    clocksGroup_->setTitle(text(text::ClocksGroup));
    lockCaption_->setText(text(text::ClockLock));
    clockLock_->setAccessibleName(text(text::ClockLock));
    modesGroup_->setTitle(text(text::ModesGroup));
    startCaption_->setText(text(text::StartMode) + QLatin1Char(':'));
    stopCaption_->setText(text(text::StopMode) + QLatin1Char(':'));
    for (std::size_t i = 0; i < 2; ++i) {
        startModes_[i]->setText(text(StartModeTexts[i]));
        startModes_[i]->setAccessibleName(text(text::StartMode) + QStringLiteral(": ") + text(StartModeTexts[i]));
        stopModes_[i]->setText(text(StopModeTexts[i]));
        stopModes_[i]->setAccessibleName(text(text::StopMode) + QStringLiteral(": ") + text(StopModeTexts[i]));
    }
    codesGroup_->setTitle(text(text::CodesGroup));
    userCodeCaption_->setText(text(text::UserCode) + QLatin1Char(':'));
    serviceCodeCaption_->setText(text(text::ServiceCode) + QLatin1Char(':'));
    for (std::size_t k = 0; k < protections_.size(); ++k) {
        protections_[k]->setText(text(text::FirstProtection + static_cast<int>(k)));
    }
    keysGroup_->setTitle(text(text::KeysGroup));
    f2Caption_->setText(text(text::KeyF2) + QLatin1Char(':'));
    f3Caption_->setText(text(text::KeyF3) + QLatin1Char(':'));
    for (QComboBox* list : {f2_, f3_}) {
        const int position = list->currentIndex();
        list->clear();
        for (int textId : KeyFunctionTexts) {
            list->addItem(text(textId));
        }
        list->setCurrentIndex(position);
    }
    locationGroup_->setTitle(text(text::LocationGroup));
    location_->setAccessibleName(text(text::LocationGroup));
    funeralGroup_->setTitle(text(text::FuneralGroup));
    funeralOption_->setText(text(text::FuneralOption));
    special_->setText(text(text::SpecialTolling));

    const bool help = helpAvailable();
    const std::pair<CStaticHelp*, int> helps[] = {{ampSwitchCaption_, TipAmplifierSwitch},
                                                  {leadCaption_, TipLeadTime},
                                                  {delayCaption_, TipDelay},
                                                  {relayCaption_, TipRelay},
                                                  {startCaption_, TipStartMode},
                                                  {stopCaption_, TipStopMode},
                                                  {lockCaption_, TipClockLock}};
    for (const auto& [caption, tip] : helps) {
        caption->setHelpActive(help);
        setHelpTip(caption, tip);
    }
    showValues();
}

// --- Showing ---

void CPropSettings::reload(int) {
    showValues();
}

void CPropSettings::refreshMarks() {
    paintMarks();
}

void CPropSettings::showValues() {
    const ProjectData* p = project();
    content_->setEnabled(p != nullptr);
    if (!p) {
        return;
    }
    const GeneralSettings& g = p->general();
    const AmplifierSettings& amp = p->amplifier();
    ampSwitch_->setChecked(amp.switchingOn());
    if (!leadTime_->hasFocus() || !leadTime_->text().isEmpty()) {
        leadTime_->writeInteger(amp.leadTimeSeconds());
    }
    if (!delay_->hasFocus() || !delay_->text().isEmpty()) {
        delay_->writeInteger(amp.switchOffDelaySeconds());
    }
    const QString relay =
        editorsupport::labelString(context(), settingsedit::relayLabel(p->outputs().amplifierRelay()));
    ampRelay_->setText(relay);
    ampRelay_->setAccessibleName(text(text::AmplifierRelay) + QStringLiteral(": ") + relay);

    const QString on = text(text::ClockStateOn);
    const QString off = text(text::ClockStateOff);
    for (int b = 0; b < 5; ++b) {
        const auto i = static_cast<std::size_t>(b);
        bellLinks_[i]->setText(text(text::FirstBell + b));
        bellLamps_[i]->setStateTexts(on, off);
        bellLamps_[i]->setLit(settingsedit::bellLampLit(*p, b));
        const int marker = settingsedit::bellMarkerText(*p, b);
        bellMarkers_[i]->setText(marker ? text(marker) : QString());
        bellLinks_[i]->setAccessibleName(text(text::FirstBell + b) + QStringLiteral(": ") +
                                         (settingsedit::bellLampLit(*p, b) ? on : off));
    }
    for (int h = 0; h < 5; ++h) {
        const auto i = static_cast<std::size_t>(h);
        const QString name = editorsupport::numbered(context(), text::Hammer, h + 1);
        hammerLinks_[i]->setText(name);
        const std::uint8_t bell = p->hammers().record(h).linkedBell();
        const QString linked = bell == HammerRecord::NoBell ? text(text::NoneChoice)
                                                            : editorsupport::numbered(context(), text::Bell, bell + 1);
        hammerLamps_[i]->setStateTexts(linked, linked);
        hammerLamps_[i]->setLit(settingsedit::hammerLampLit(*p, h));
        hammerLinks_[i]->setAccessibleName(name + QStringLiteral(": ") + linked);
    }
    for (int c = 0; c < 2; ++c) {
        const auto i = static_cast<std::size_t>(c);
        clockLinks_[i]->setText(text(text::FirstClock + c));
        clockLamps_[i]->setStateTexts(on, off);
        clockLamps_[i]->setLit(settingsedit::clockLampLit(*p, c));
        clockStates_[i]->setText(text(settingsedit::clockStateText(*p, c)));
        clockLinks_[i]->setAccessibleName(text(text::FirstClock + c) + QStringLiteral(": ") +
                                          text(settingsedit::clockStateText(*p, c)));
    }
    clockLock_->setChecked(settingsedit::clockLockTicked(*p));
    startModes_[static_cast<std::size_t>(g.startMode())]->setChecked(true);
    stopModes_[static_cast<std::size_t>(g.stopMode())]->setChecked(true);
    showCode(userCode_, false);
    showCode(serviceCode_, true);
    for (std::size_t k = 0; k < protections_.size(); ++k) {
        protections_[k]->setChecked(g.codeProtects(Protections[k]));
    }
    f2_->setCurrentIndex(GeneralSettings::positionOfKeyFunction(g.keyF2Function()));
    f3_->setCurrentIndex(GeneralSettings::positionOfKeyFunction(g.keyF3Function()));
    const QString name = QString::fromStdString(g.locationName());
    if (location_->text() != name) {
        location_->setText(name);
    }
    funeralOption_->setChecked(g.funeralOption1On());
    special_->setChecked(g.specialTollingOn());
    paintMarks();
}

// The stored code, unless the user is typing one that is not complete yet (it stays as typed, in the warning
// colour, until it is four digits or the field is left).
void CPropSettings::showCode(QLineEdit* field, bool service) {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    const int stored = service ? p->general().serviceCode() : p->general().userCode();
    const bool typing = field->hasFocus() && !GeneralSettings::codeFromTyped(field->text().toStdString());
    if (!typing) {
        field->setText(QString::fromStdString(GeneralSettings::codeText(stored)));
    }
}

void CPropSettings::describe(QWidget* control, bool changed, const QString& more) {
    QStringList said;
    if (changed) {
        said << text(text::ChangedDescription);
    }
    if (!more.isEmpty()) {
        said << more;
    }
    control->setAccessibleDescription(said.join(QStringLiteral("; ")));
}

void CPropSettings::paintMarks() {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    const GeneralSettings& g = p->general();
    const std::uint32_t amp = p->amplifier().changeMask();
    const auto field = [this](QWidget* control, bool changed) {
        markChangedField(control, changed);
        describe(control, changed);
    };
    const auto option = [this](QWidget* control, bool changed) {
        markChangedOption(control, changed);
        describe(control, changed);
    };
    option(ampSwitch_, (amp & AmplifierSettings::MarkSwitching) != 0);
    field(leadTime_, (amp & AmplifierSettings::MarkLeadTime) != 0);
    field(delay_, (amp & AmplifierSettings::MarkSwitchOffDelay) != 0);
    field(ampRelay_, g.isMarked(Mark::AmplifierRelay));
    for (int b = 0; b < 5; ++b) {
        field(bellLinks_[static_cast<std::size_t>(b)], g.isMarked(Mark::Bell1 + b));
    }
    for (int h = 0; h < 5; ++h) {
        field(hammerLinks_[static_cast<std::size_t>(h)], g.isMarked(Mark::Hammer1 + h));
    }
    for (int c = 0; c < 2; ++c) {
        field(clockLinks_[static_cast<std::size_t>(c)], g.isMarked(Mark::Clock1 + c));
    }
    option(clockLock_, g.isMarked(Mark::ClockLock));
    for (QRadioButton* start : startModes_) {
        option(start, g.isMarked(Mark::StartMode));
    }
    for (QRadioButton* stop : stopModes_) {
        option(stop, g.isMarked(Mark::StopMode));
    }
    field(location_, g.isMarked(Mark::LocationName));
    for (std::size_t k = 0; k < protections_.size(); ++k) {
        option(protections_[k], g.isMarked(ProtectionMarks[k]));
    }
    field(f2_, g.isMarked(Mark::KeyF2));
    field(f3_, g.isMarked(Mark::KeyF3));
    // A code field that does not hold four digits is drawn in the warning colour whatever its mark says.
    const std::pair<QLineEdit*, int> codes[] = {{userCode_, Mark::UserCode}, {serviceCode_, Mark::ServiceCode}};
    for (const auto& [code, mark] : codes) {
        const bool incomplete = !GeneralSettings::codeFromTyped(code->text().toStdString());
        const bool changed = g.isMarked(mark);
        if (incomplete) {
            changehighlight::markField(code, false);
            QPalette palette = code->palette();
            palette.setColor(QPalette::Base, QColor::fromRgba(WarningColor));
            code->setPalette(palette);
            code->setProperty("codeWarning", true);
        } else {
            if (code->property("codeWarning").toBool()) {
                code->setPalette(QPalette());
                code->setProperty("codeWarning", false);
            }
            markChangedField(code, changed);
        }
        describe(code, changed, incomplete ? text(text::CodeNeedsFourDigits) : QString());
    }
}

// --- Actions ---

void CPropSettings::act(int labelText, const EditKey& key, const std::function<void(ProjectData&)>& change,
                        std::vector<TextArg> args) {
    endEditBurst();
    edit({labelText, std::move(args)}, key, change);
    endEditBurst();
    showValues();
}

// Lead time and switch-off delay are stored as they are typed (one step per field visit); an emptied field stores
// nothing and shows the stored value again when it is left.
void CPropSettings::typeAmplifierTime(CFireEdit* field, int labelText, int fieldKey) {
    if (field->text().isEmpty()) {
        return;
    }
    const auto seconds = static_cast<std::uint16_t>(std::clamp(field->readInteger(), 0, 0xFFFF));
    const bool lead = field == leadTime_;
    edit({labelText, {}}, {SectionId::Amplifier, -1, fieldKey}, [seconds, lead](ProjectData& p) {
        lead ? p.amplifier().setLeadTimeSeconds(seconds) : p.amplifier().setSwitchOffDelaySeconds(seconds);
    });
    paintMarks();
}

// A code is stored only when its field holds exactly four digits; until then the stored code stays.
void CPropSettings::typeCode(QLineEdit* field, bool service) {
    const auto code = GeneralSettings::codeFromTyped(field->text().toStdString());
    if (code) {
        edit({service ? text::ServiceCode : text::UserCode, {}}, generalKey(service ? FieldServiceCode : FieldUserCode),
             [code = *code, service](ProjectData& p) {
                 service ? p.general().setServiceCode(code) : p.general().setUserCode(code);
             });
    }
    paintMarks();
}

// Leaving a code field that does not hold four digits shows the stored code again.
void CPropSettings::leaveCode(QLineEdit* field, bool service) {
    endEditBurst();
    if (!GeneralSettings::codeFromTyped(field->text().toStdString())) {
        const ProjectData* p = project();
        if (p) {
            const int stored = service ? p->general().serviceCode() : p->general().userCode();
            field->setText(QString::fromStdString(GeneralSettings::codeText(stored)));
        }
    }
    paintMarks();
}

void CPropSettings::chooseAmplifierRelay() {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    CSelectPKDlg chooser(context(), p, p->outputs().amplifierRelay(), this);
    if (context().dialogs.run(chooser) == QDialog::Accepted) {
        const auto relay = static_cast<std::uint8_t>(chooser.value());
        act(text::AmplifierRelay, generalKey(FieldRelay),
            [relay](ProjectData& project) { settingsedit::chooseAmplifierRelay(project, relay); });
    }
    ampRelay_->setFocus(Qt::OtherFocusReason);
}

void CPropSettings::openBell(int bell) {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    CDzwonEdyDlg dialog(context(), p, bell, this);
    if (context().dialogs.run(dialog) == QDialog::Accepted && dialogChanged(dialog, *p)) {
        act(text::FirstBell + bell, {SectionId::Bells, bell, 0}, [&dialog, bell](ProjectData& project) {
            dialog.commitTo(project);
            project.general().markChanged(Mark::Bell1 + bell);
        });
    }
    bellLink(bell)->setFocus(Qt::OtherFocusReason);
}

void CPropSettings::openHammer(int hammer) {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    CMlotekEdy dialog(context(), p, hammer, this);
    if (context().dialogs.run(dialog) == QDialog::Accepted && dialogChanged(dialog, *p)) {
        act(text::Hammer, {SectionId::Hammers, hammer, 0},
            [&dialog, hammer](ProjectData& project) {
                dialog.commitTo(project);
                project.general().markChanged(Mark::Hammer1 + hammer);
            },
            {TextArg{static_cast<long long>(hammer) + 1}});
    }
    hammerLink(hammer)->setFocus(Qt::OtherFocusReason);
}

void CPropSettings::openClock(int clock) {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    CZegarEdyDlg dialog(context(), p, clock, this);
    if (context().dialogs.run(dialog) == QDialog::Accepted && dialogChanged(dialog, *p)) {
        act(text::FirstClock + clock, {SectionId::Clocks, clock, 0}, [&dialog, clock](ProjectData& project) {
            dialog.commitTo(project);
            project.general().markChanged(Mark::Clock1 + clock);
        });
    }
    clockLink(clock)->setFocus(Qt::OtherFocusReason);
}

// --- Tree entries ---

QGroupBox* CPropSettings::groupOfTreeEntry(int textId) const {
    switch (textId) {
    case TreeAmplifier:
        return amplifierGroup_;
    case TreeBellsAndHammers:
        return bellsGroup_;
    case TreeClocks:
        return clocksGroup_;
    case TreeCodesAndKeys:
        return codesGroup_;
    default:
        return nullptr;
    }
}

void CPropSettings::showTreeEntry(int textId) {
    // Make sure the page has its layout, so the scroll area knows where each group lies.
    content_->adjustSize();
    scroll_->widget()->layout()->activate();
    QGroupBox* group = groupOfTreeEntry(textId);
    if (!group) {
        scroll_->verticalScrollBar()->setValue(0);
        return;
    }
    // The group below the one named goes with it (hammers with bells, keys with codes) when there is room.
    if (group == bellsGroup_) {
        scroll_->ensureWidgetVisible(hammersGroup_, 0, 0);
    } else if (group == codesGroup_) {
        scroll_->ensureWidgetVisible(keysGroup_, 0, 0);
    }
    scroll_->ensureWidgetVisible(group, 0, 0);
}

// --- Report rows ---

void CPropSettings::bringForward(QWidget* control) {
    content_->adjustSize();
    scroll_->widget()->layout()->activate();
    scroll_->ensureWidgetVisible(control);
    control->setFocus(Qt::OtherFocusReason);
    // A field is ready to be typed over.
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->selectAll();
    }
}

void CPropSettings::focusSetting(int code) {
    QWidget* control = nullptr;
    switch (code) {
    case IssueLeadTime:
        control = leadTime_;
        break;
    case IssueSwitchOffDelay:
        control = delay_;
        break;
    case IssueNoAmplifierRelay:
        control = ampRelay_;
        break;
    case GeneralSettings::IssueLocationEmpty:
        control = location_;
        break;
    case GeneralSettings::IssueDefaultCode: {
        const ProjectData* p = project();
        control =
            p && !p->general().userCodeIsDefault() && p->general().serviceCodeIsDefault() ? serviceCode_ : userCode_;
        break;
    }
    default:
        return;
    }
    bringForward(control);
}

void CPropSettings::focusRecord(IssueRecord kind, int record) {
    const auto at = [record](const auto& controls) -> QWidget* {
        return record >= 0 && record < static_cast<int>(controls.size()) ? controls[static_cast<std::size_t>(record)]
                                                                         : nullptr;
    };
    QWidget* control = nullptr;
    switch (kind) {
    case IssueRecord::Bell:
        control = at(bellLinks_);
        break;
    case IssueRecord::Hammer:
        control = at(hammerLinks_);
        break;
    case IssueRecord::Clock:
        control = at(clockLinks_);
        break;
    case IssueRecord::AccessCode:
        control = at(std::array<QWidget*, 2>{userCode_, serviceCode_});
        break;
    default:
        break;
    }
    if (control) {
        bringForward(control);
    }
}

} // namespace tolvane
