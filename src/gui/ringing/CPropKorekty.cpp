#include "gui/ringing/CPropKorekty.h"

#include "TextNumbers.h"
#include "device/TypedNumber.h"
#include "gui/settings/EditorSupport.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/wiring/CSelectPKDlg.h"
#include "project/CorrectionsEditing.h"
#include "project/ProjectData.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <algorithm>

namespace tolvane {

namespace {

namespace ce = correctionsedit;
using TC = TimeCorrectionSettings;
using Mark = GeneralSettings::Mark;

// Captions (catalog texts).
constexpr std::array<int, 2> SourceTexts{335, 336};
constexpr std::array<int, 3> ActivityTexts{338, 337, 339};
constexpr std::array<int, 2> DarkTexts{838, 839};

// Fields of the undo keys (each its own step).
enum Field : int {
    FieldSource = 1,
    FieldSummer,
    FieldWinter,
    FieldActivity,
    FieldAutoChange,
    FieldDrift,
    FieldStartHour,
    FieldStartMinute,
    FieldStopHour,
    FieldStopMinute,
    FieldFrames,
    FieldPowerOnSync,
    FieldSunrise,
    FieldSunset,
    FieldPlace,
    FieldLatitude,
    FieldLongitude,
    FieldRelay,
    FieldDark,
    FieldGps,
};

QString withColon(const QString& s) {
    return s + QLatin1Char(':');
}

QString signText(bool negative) {
    return negative ? QStringLiteral("-") : QStringLiteral("+");
}

// The field of a control that the user typed in and has not left yet keeps what was typed.
bool typing(const QWidget* field) {
    return field->property("typed").toBool();
}

} // namespace

CPropKorekty::CPropKorekty(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), scroll_(new QScrollArea(this)), content_(new QWidget) {
    buildSource();
    buildOffsets();
    buildActivity();
    buildDrift();
    buildWindow();
    buildAstro();

    // Two columns: the clock's own time keeping on the left, its DCF window and the astronomical clock on the
    // right.
    auto* columns = new QHBoxLayout(content_);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (QGroupBox* g : {sourceGroup_, offsetsGroup_, activityGroup_, driftGroup_}) {
        left->addWidget(g);
    }
    right->addWidget(windowGroup_);
    right->addWidget(astroGroup_);
    left->addStretch(1);
    right->addStretch(1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    scroll_->setObjectName(QStringLiteral("correctionsScroll"));
    placeInScrollArea(scroll_, content_);

    // Tab goes down the left column, then the right one.
    const auto sign = [this](Signed which) { return signButton(which); };
    const auto field = [this](Signed which) { return signedField(which); };
    chainTabOrder({sources_[0],
                   sources_[1],
                   sign(Signed::Summer),
                   field(Signed::Summer),
                   sign(Signed::Winter),
                   field(Signed::Winter),
                   autoChange_,
                   activities_[0],
                   activities_[1],
                   activities_[2],
                   sign(Signed::Drift),
                   field(Signed::Drift),
                   window_[0],
                   window_[1],
                   window_[2],
                   window_[3],
                   frames_,
                   powerOnSync_,
                   sign(Signed::Sunrise),
                   field(Signed::Sunrise),
                   sign(Signed::Sunset),
                   field(Signed::Sunset),
                   place_,
                   coordinates_[0].hemisphere,
                   coordinates_[0].degrees,
                   coordinates_[0].minutes,
                   coordinates_[1].hemisphere,
                   coordinates_[1].degrees,
                   coordinates_[1].minutes,
                   relay_,
                   dark_[0],
                   dark_[1],
                   gps_});
}

// ---- building ----

QGroupBox* CPropKorekty::group(const char* name) {
    auto* box = new QGroupBox(content_);
    box->setObjectName(QLatin1String(name));
    return box;
}

QRadioButton* CPropKorekty::radio(QGroupBox* parent, QButtonGroup* buttons, int id, const char* name) {
    auto* button = new QRadioButton(parent);
    button->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(id));
    buttons->addButton(button, id);
    return button;
}

CFireEdit* CPropKorekty::numberField(QWidget* parent, const char* name, double lower, double upper, int width,
                                     bool decimal, int step) {
    auto* f = new CFireEdit(parent);
    f->setObjectName(QLatin1String(name));
    f->setUp(lower, upper, width, true, decimal, step);
    f->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return f;
}

void CPropKorekty::buildSource() {
    sourceGroup_ = group("sourceGroup");
    auto* box = new QVBoxLayout(sourceGroup_);
    auto* buttons = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        sources_[static_cast<std::size_t>(i)] = radio(sourceGroup_, buttons, i, "source");
        box->addWidget(sources_[static_cast<std::size_t>(i)]);
    }
    connect(buttons, &QButtonGroup::idClicked, this, [this](int source) {
        store(FieldSource, text::SyncSourceGroup,
              [source](ProjectData& p) { p.timeCorrection().setSyncSource(source); });
    });
}

void CPropKorekty::makeSigned(Signed which, QWidget* parent, const char* name, double upper, int width, bool decimal,
                              int step, int labelText, int field) {
    SignedRow& row = signed_[index(which)];
    row.caption = new QLabel(parent);
    row.sign = new QPushButton(parent);
    row.sign->setObjectName(QStringLiteral("%1Sign").arg(QLatin1String(name)));
    row.sign->setAutoDefault(false);
    row.sign->setFixedWidth(28);
    row.field = numberField(parent, name, 0, upper, width, decimal, step);
    row.caption->setBuddy(row.field);
    row.unit = new QLabel(parent);
    row.labelText = labelText;
    row.undoField = field;
    connect(row.sign, &QPushButton::clicked, this, [this, which] { flipSign(which); });
    whenLeftAfterTyping(row.field, [this, which] { storeSigned(which); });
}

// Caption, sign button, field and unit in row `line` of a grid whose last column takes the spare width.
void CPropKorekty::signedRow(Signed which, QGridLayout* grid, int line) {
    SignedRow& row = signed_[index(which)];
    grid->addWidget(row.caption, line, 0);
    grid->addWidget(row.sign, line, 1);
    grid->addWidget(row.field, line, 2);
    grid->addWidget(row.unit, line, 3);
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), line, 4);
}

void CPropKorekty::buildOffsets() {
    offsetsGroup_ = group("offsetsGroup");
    auto* grid = new QGridLayout(offsetsGroup_);
    // Offsets are typed in hours with one decimal, in steps of half an hour.
    makeSigned(Signed::Summer, offsetsGroup_, "summerOffset", 12, 4, true, 5, text::SummerOffset, FieldSummer);
    makeSigned(Signed::Winter, offsetsGroup_, "winterOffset", 12, 4, true, 5, text::WinterOffset, FieldWinter);
    signedRow(Signed::Summer, grid, 0);
    signedRow(Signed::Winter, grid, 1);
    autoChange_ = new QCheckBox(offsetsGroup_);
    autoChange_->setObjectName(QStringLiteral("autoTimeChange"));
    grid->addWidget(autoChange_, 2, 0, 1, 5);
    connect(autoChange_, &QCheckBox::clicked, this, [this](bool on) {
        store(FieldAutoChange, text::AutoTimeChange,
              [on](ProjectData& p) { p.timeCorrection().setAutoTimeChange(on); });
    });
}

void CPropKorekty::buildActivity() {
    activityGroup_ = group("activityGroup");
    auto* box = new QHBoxLayout(activityGroup_);
    activityButtons_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        activities_[static_cast<std::size_t>(i)] = radio(activityGroup_, activityButtons_, i, "activity");
        box->addWidget(activities_[static_cast<std::size_t>(i)]);
    }
    box->addStretch(1);
    connect(activityButtons_, &QButtonGroup::idClicked, this, [this](int index) {
        store(FieldActivity, text::CorrectionActivityGroup,
              [index](ProjectData& p) { p.timeCorrection().setCorrectionActivityRadio(index); });
    });
}

void CPropKorekty::buildDrift() {
    driftGroup_ = group("driftGroup");
    auto* grid = new QGridLayout(driftGroup_);
    makeSigned(Signed::Drift, driftGroup_, "weeklyDrift", 10, 2, false, 1, text::DriftGroup, FieldDrift);
    signedRow(Signed::Drift, grid, 0);
}

void CPropKorekty::storeOnLeave(CFireEdit* f, int field, int labelText,
                                const std::function<void(ProjectData&)>& change) {
    whenLeftAfterTyping(f, [this, f, field, labelText, change] {
        if (f->text().isEmpty()) {
            showValues();
            return;
        }
        store(field, labelText, change);
    });
}

void CPropKorekty::whenLeftAfterTyping(CFireEdit* f, const std::function<void()>& store) {
    // Only a field the user typed in stores: showing a value never changes the project.
    connect(f, &QLineEdit::textEdited, this, [f] { f->setProperty("typed", true); });
    connect(f, &QLineEdit::editingFinished, this, [f, store] {
        if (!typing(f)) {
            return;
        }
        f->setProperty("typed", false);
        store();
    });
}

void CPropKorekty::buildWindow() {
    windowGroup_ = group("windowGroup");
    auto* grid = new QGridLayout(windowGroup_);
    windowCaption_ = new QLabel(windowGroup_);
    startCaption_ = new QLabel(windowGroup_);
    stopCaption_ = new QLabel(windowGroup_);
    const char* names[] = {"windowStartHour", "windowStartMinute", "windowStopHour", "windowStopMinute"};
    for (std::size_t i = 0; i < window_.size(); ++i) {
        window_[i] = numberField(windowGroup_, names[i], 0, i % 2 == 0 ? 23 : 59, 2);
    }
    startCaption_->setBuddy(window_[0]);
    stopCaption_->setBuddy(window_[2]);
    const auto read = [](CFireEdit* f) { return f->readInteger(); };
    CFireEdit* startHour = window_[0];
    CFireEdit* startMinute = window_[1];
    CFireEdit* stopHour = window_[2];
    CFireEdit* stopMinute = window_[3];
    storeOnLeave(startHour, FieldStartHour, text::DcfWindow,
                 [=](ProjectData& p) { p.timeCorrection().setSyncStartHour(read(startHour)); });
    storeOnLeave(startMinute, FieldStartMinute, text::DcfWindow,
                 [=](ProjectData& p) { p.timeCorrection().setSyncStartMinute(read(startMinute)); });
    storeOnLeave(stopHour, FieldStopHour, text::DcfWindow,
                 [=](ProjectData& p) { p.timeCorrection().setSyncStopHour(read(stopHour)); });
    storeOnLeave(stopMinute, FieldStopMinute, text::DcfWindow,
                 [=](ProjectData& p) { p.timeCorrection().setSyncStopMinute(read(stopMinute)); });
    for (QLabel*& unit : windowUnits_) {
        unit = new QLabel(windowGroup_);
    }
    framesCaption_ = new QLabel(windowGroup_);
    frames_ = numberField(windowGroup_, "frameCount", 3, 9, 1);
    framesCaption_->setBuddy(frames_);
    CFireEdit* frames = frames_;
    storeOnLeave(frames, FieldFrames, text::DcfFrames,
                 [frames](ProjectData& p) { p.timeCorrection().setSyncFrameCount(frames->readInteger()); });
    powerOnSync_ = new QCheckBox(windowGroup_);
    powerOnSync_->setObjectName(QStringLiteral("powerOnSync"));
    connect(powerOnSync_, &QCheckBox::clicked, this, [this](bool on) {
        store(FieldPowerOnSync, text::PowerOnSync,
              [on](ProjectData& p) { p.timeCorrection().setSyncAfterPowerOn(on); });
    });

    grid->addWidget(windowCaption_, 0, 0, 1, 5);
    for (int row = 0; row < 2; ++row) {
        grid->addWidget(row == 0 ? startCaption_ : stopCaption_, row + 1, 0);
        grid->addWidget(window_[static_cast<std::size_t>(row * 2)], row + 1, 1);
        grid->addWidget(new QLabel(QStringLiteral(":"), windowGroup_), row + 1, 2);
        grid->addWidget(window_[static_cast<std::size_t>(row * 2 + 1)], row + 1, 3);
        grid->addWidget(windowUnits_[static_cast<std::size_t>(row)], row + 1, 4);
    }
    grid->addWidget(framesCaption_, 3, 0);
    grid->addWidget(frames_, 3, 1);
    grid->addWidget(powerOnSync_, 4, 0, 1, 5);
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 5);
}

void CPropKorekty::buildAstro() {
    astroGroup_ = group("astroGroup");
    auto* box = new QVBoxLayout(astroGroup_);
    auto* shifts = new QGridLayout;
    makeSigned(Signed::Sunrise, astroGroup_, "sunriseShift", 90, 2, false, 1, text::Sunrise, FieldSunrise);
    makeSigned(Signed::Sunset, astroGroup_, "sunsetShift", 90, 2, false, 1, text::Sunset, FieldSunset);
    signedRow(Signed::Sunrise, shifts, 0);
    signedRow(Signed::Sunset, shifts, 1);
    box->addLayout(shifts);
    box->addWidget(buildCoordinates(astroGroup_));
    box->addWidget(buildRelay(astroGroup_));
}

QWidget* CPropKorekty::buildCoordinates(QWidget* parent) {
    coordinatesGroup_ = new QGroupBox(parent);
    coordinatesGroup_->setObjectName(QStringLiteral("coordinatesGroup"));
    auto* grid = new QGridLayout(coordinatesGroup_);
    placeCaption_ = new QLabel(coordinatesGroup_);
    place_ = new QComboBox(coordinatesGroup_);
    place_->setObjectName(QStringLiteral("place"));
    placeCaption_->setBuddy(place_);
    grid->addWidget(placeCaption_, 0, 0);
    grid->addWidget(place_, 0, 1, 1, 6);
    connect(place_, &QComboBox::activated, this, &CPropKorekty::choosePlace);

    for (int which = 0; which < 2; ++which) {
        const bool latitude = which == 0;
        Coordinate& c = coordinates_[static_cast<std::size_t>(which)];
        c.caption = new QLabel(coordinatesGroup_);
        c.hemisphere = new QComboBox(coordinatesGroup_);
        c.hemisphere->setObjectName(latitude ? QStringLiteral("latitudeHemisphere")
                                             : QStringLiteral("longitudeHemisphere"));
        // The hemispheres are the same letters in every language.
        c.hemisphere->addItems(latitude ? QStringList{QStringLiteral("N"), QStringLiteral("S")}
                                        : QStringList{QStringLiteral("E"), QStringLiteral("W")});
        c.degrees = numberField(coordinatesGroup_, latitude ? "latitudeDegrees" : "longitudeDegrees", 0,
                                latitude ? 90 : ce::MaxStoredDegrees, latitude ? 2 : 3);
        c.minutes = numberField(coordinatesGroup_, latitude ? "latitudeMinutes" : "longitudeMinutes", 0, 59, 2);
        c.caption->setBuddy(c.hemisphere);
        c.symbols = {new QLabel(QStringLiteral("°"), coordinatesGroup_),
                     new QLabel(QStringLiteral("'"), coordinatesGroup_)};
        const int row = 1 + which;
        grid->addWidget(c.caption, row, 0);
        grid->addWidget(c.hemisphere, row, 1);
        grid->addWidget(c.degrees, row, 2);
        grid->addWidget(c.symbols[0], row, 3);
        grid->addWidget(c.minutes, row, 4);
        grid->addWidget(c.symbols[1], row, 5);
        connect(c.hemisphere, &QComboBox::activated, this, [this, latitude] { storeCoordinate(latitude); });
        for (CFireEdit* f : {c.degrees, c.minutes}) {
            whenLeftAfterTyping(f, [this, latitude] { storeCoordinate(latitude); });
        }
    }
    grid->setColumnStretch(6, 1);
    return coordinatesGroup_;
}

QWidget* CPropKorekty::buildRelay(QWidget* parent) {
    relayGroup_ = new QGroupBox(parent);
    relayGroup_->setObjectName(QStringLiteral("relayGroup"));
    auto* grid = new QGridLayout(relayGroup_);
    relayCaption_ = new QLabel(relayGroup_);
    relay_ = editorsupport::linkValue(relayGroup_, "astroRelay", relayCaption_);
    connect(relay_, &CLinkStatic::clicked, this, &CPropKorekty::chooseRelay);
    darkCaption_ = new QLabel(relayGroup_);
    auto* darkButtons = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        dark_[static_cast<std::size_t>(i)] = radio(relayGroup_, darkButtons, i, "darkState");
    }
    connect(darkButtons, &QButtonGroup::idClicked, this, [this](int id) {
        store(FieldDark, text::RelayDark, [id](ProjectData& p) { p.general().setAstroRelayOnWhenDark(id == 0); });
    });
    gps_ = new QCheckBox(relayGroup_);
    gps_->setObjectName(QStringLiteral("gps"));
    connect(gps_, &QCheckBox::clicked, this, [this](bool on) {
        store(FieldGps, text::UseGps, [on](ProjectData& p) { p.general().setAstroUseGps(on); });
    });
    grid->addWidget(relayCaption_, 0, 0);
    grid->addWidget(relay_, 0, 1);
    grid->addWidget(darkCaption_, 1, 0, 1, 3);
    grid->addWidget(dark_[0], 2, 0);
    grid->addWidget(dark_[1], 2, 1, 1, 2);
    grid->addWidget(gps_, 3, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    return relayGroup_;
}

// ---- storing ----

void CPropKorekty::store(int field, int labelText, const std::function<void(ProjectData&)>& change) {
    if (!project()) {
        return;
    }
    endEditBurst();
    edit({labelText, {}}, {SectionId::TimeCorrection, -1, field}, change);
    endEditBurst();
    showValues();
}

// The magnitude in the field with the sign on the button; an emptied field stores nothing.
void CPropKorekty::storeSigned(Signed which) {
    const SignedRow& row = signed_[index(which)];
    if (row.field->text().isEmpty()) {
        showValues();
        return;
    }
    const bool negative = row.negative;
    const std::string typed = row.field->text().toStdString();
    std::function<void(ProjectData&)> change;
    switch (which) {
    case Signed::Summer:
        change = [negative, hours = typedReal(typed)](ProjectData& p) {
            p.timeCorrection().setSummerOffset(hours, negative);
        };
        break;
    case Signed::Winter:
        change = [negative, hours = typedReal(typed)](ProjectData& p) {
            p.timeCorrection().setWinterOffset(hours, negative);
        };
        break;
    case Signed::Drift:
        change = [negative, seconds = typedInteger(typed)](ProjectData& p) {
            p.timeCorrection().setWeeklyDrift(static_cast<int>(std::clamp<long long>(seconds, 0, 1000)), negative);
        };
        break;
    case Signed::Sunrise:
        change = [negative, minutes = typedInteger(typed)](ProjectData& p) {
            p.general().setSunriseShiftMinutes(ce::signedFromTyped(minutes, negative));
        };
        break;
    case Signed::Sunset:
        change = [negative, minutes = typedInteger(typed)](ProjectData& p) {
            p.general().setSunsetShiftMinutes(ce::signedFromTyped(minutes, negative));
        };
        break;
    }
    store(row.undoField, row.labelText, change);
}

// The sign flips at each press and the signed value is stored at once; with a value of 0 the button keeps the
// sign chosen, so "-" can be set before the value is typed.
void CPropKorekty::flipSign(Signed which) {
    SignedRow& row = signed_[index(which)];
    row.negative = !row.negative;
    row.field->setProperty("typed", false);
    storeSigned(which);
}

void CPropKorekty::storeCoordinate(bool latitude) {
    Coordinate& c = coordinates_[latitude ? 0 : 1];
    if (c.degrees->text().isEmpty() || c.minutes->text().isEmpty()) {
        c.degrees->setProperty("typed", false);
        c.minutes->setProperty("typed", false);
        showValues();
        return;
    }
    const bool negative = c.hemisphere->currentIndex() == 1;
    const int degrees = c.degrees->readInteger();
    const int minutes = c.minutes->readInteger();
    if (degrees > ce::MaxStoredDegrees) {
        // The byte would carry the degrees into the hemisphere bit: the field shows the stored value again.
        c.degrees->setProperty("typed", false);
        showValues();
        showMessage(text(text::DegreesLimit));
        return;
    }
    store(latitude ? FieldLatitude : FieldLongitude, latitude ? text::Latitude : text::Longitude,
          [latitude, negative, degrees, minutes](ProjectData& p) {
              latitude ? p.general().setLatitude(negative, degrees, minutes)
                       : p.general().setLongitude(negative, degrees, minutes);
          });
}

void CPropKorekty::choosePlace(int position) {
    store(FieldPlace, text::Place, [position](ProjectData& p) { p.general().choosePlace(position); });
}

void CPropKorekty::chooseRelay() {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    const std::uint8_t current = ce::astroRelay(*p);
    CSelectPKDlg chooser(context(), p, current, this);
    if (context().dialogs.run(chooser) == QDialog::Accepted && chooser.value() >= 0 && chooser.value() != current) {
        const auto relay = static_cast<std::uint8_t>(chooser.value());
        store(FieldRelay, text::AstroRelayGroup,
              [relay](ProjectData& project) { ce::chooseAstroRelay(project, relay); });
    }
    relay_->setFocus(Qt::OtherFocusReason);
}

// ---- showing ----

// Reading the project again (the page brought to the front, an undo) forgets the signs chosen for values of 0.
void CPropKorekty::reload(int) {
    for (CFireEdit* f : findChildren<CFireEdit*>()) {
        f->setProperty("typed", false);
    }
    for (SignedRow& row : signed_) {
        row.negative = false;
    }
    showValues();
}

void CPropKorekty::refreshMarks() {
    showMarks();
}

// Every control from the project; a field being typed in keeps its text.
void CPropKorekty::showValues() {
    const ProjectData* p = project();
    content_->setEnabled(p != nullptr);
    if (!p) {
        return;
    }
    const TC& tc = p->timeCorrection();
    const GeneralSettings& g = p->general();
    const auto put = [](CFireEdit* f, const QString& value) {
        if (!typing(f) && f->text() != value) {
            f->setText(value);
        }
    };
    const auto check = [](QButtonGroup* buttons, int id) {
        // A value no radio stands for (a card written elsewhere) leaves them all clear.
        QAbstractButton* button = buttons->button(id);
        if (button) {
            button->setChecked(true);
            return;
        }
        buttons->setExclusive(false);
        for (QAbstractButton* each : buttons->buttons()) {
            each->setChecked(false);
        }
        buttons->setExclusive(true);
    };
    check(sources_[0]->group(), tc.syncSource());
    check(activityButtons_, tc.correctionActivity() - 1);
    autoChange_->setChecked(tc.autoTimeChange());
    powerOnSync_->setChecked(tc.syncAfterPowerOn());

    const std::array<int, 5> values{tc.summerOffsetHalfHours(), tc.winterOffsetHalfHours(), tc.weeklyDriftSeconds(),
                                    g.sunriseShiftMinutes(), g.sunsetShiftMinutes()};
    for (std::size_t i = 0; i < signed_.size(); ++i) {
        SignedRow& row = signed_[i];
        const auto value = static_cast<std::int8_t>(values[i]);
        const ce::SignedShown shown = ce::shownSigned(value);
        if (value != 0) {
            row.negative = shown.negative;
        }
        row.sign->setText(signText(row.negative));
        const bool halves = i <= index(Signed::Winter);
        put(row.field,
            halves ? QString::fromStdString(ce::halfHoursText(value)) : QString::asprintf("%.2d", shown.magnitude));
        showSignName(static_cast<Signed>(i));
    }

    put(window_[0], QString::asprintf("%.2d", tc.syncStartHour()));
    put(window_[1], QString::asprintf("%.2d", tc.syncStartMinute()));
    put(window_[2], QString::asprintf("%.2d", tc.syncStopHour()));
    put(window_[3], QString::asprintf("%.2d", tc.syncStopMinute()));
    put(frames_, QString::asprintf("%d", tc.syncFrameCount()));

    place_->setCurrentIndex(g.placeListPosition());
    const ce::Coordinates shown = ce::shownCoordinates(g);
    const bool byHand = ce::coordinatesEditable(g);
    const std::array<std::array<int, 3>, 2> parts{
        {{shown.south ? 1 : 0, shown.latitudeDegrees, shown.latitudeMinutes},
         {shown.west ? 1 : 0, shown.longitudeDegrees, shown.longitudeMinutes}}};
    for (std::size_t which = 0; which < 2; ++which) {
        Coordinate& c = coordinates_[which];
        c.hemisphere->setCurrentIndex(parts[which][0]);
        put(c.degrees, QString::asprintf(which == 0 ? "%.2d" : "%.3d", parts[which][1]));
        put(c.minutes, QString::asprintf("%.2d", parts[which][2]));
        for (QWidget* w : {static_cast<QWidget*>(c.hemisphere), static_cast<QWidget*>(c.degrees),
                           static_cast<QWidget*>(c.minutes)}) {
            w->setEnabled(byHand);
        }
    }

    const QString relay = editorsupport::labelString(context(), ce::astroRelayLabel(*p));
    relay_->setText(relay);
    relay_->setAccessibleName(text(text::AstroRelayGroup) + QStringLiteral(": ") + relay);
    dark_[g.astroRelayOnWhenDark() ? 0 : 1]->setChecked(true);
    gps_->setChecked(g.astroUseGps());
    showMarks();
}

void CPropKorekty::showSignName(Signed which) {
    const SignedRow& row = signed_[index(which)];
    row.sign->setAccessibleName(formatted(text::SignName, text(row.labelText)) + QStringLiteral(": ") +
                                signText(row.negative));
}

void CPropKorekty::showMarks() {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    const std::uint32_t tc = p->timeCorrection().changeMask();
    const GeneralSettings& g = p->general();
    const QString changed = text(text::ChangedDescription);
    // What the colour says, and a field's tip (the limit of the longitude's degrees), for screen readers.
    const auto field = [&](QWidget* w, bool on) {
        markChangedField(w, on);
        QStringList said;
        if (on) {
            said << changed;
        }
        if (const QString tip = w->property("plainTip").toString(); !tip.isEmpty()) {
            said << tip;
        }
        w->setAccessibleDescription(said.join(QStringLiteral("; ")));
    };
    const auto option = [&](QWidget* w, bool on) {
        markChangedOption(w, on);
        w->setAccessibleDescription(on ? changed : QString());
    };
    const auto is = [tc](std::uint32_t bit) { return (tc & bit) != 0; };
    for (QRadioButton* r : sources_) {
        option(r, is(TC::MarkSource));
    }
    for (QRadioButton* r : activities_) {
        option(r, is(TC::MarkActivity));
    }
    option(autoChange_, is(TC::MarkAutoChange));
    option(powerOnSync_, is(TC::MarkPowerOnSync));
    const std::array<bool, 5> signedMarks{is(TC::MarkSummerOffset), is(TC::MarkWinterOffset), is(TC::MarkWeeklyDrift),
                                          g.isMarked(Mark::SunriseShift), g.isMarked(Mark::SunsetShift)};
    for (std::size_t i = 0; i < signed_.size(); ++i) {
        field(signed_[i].field, signedMarks[i]);
    }
    field(window_[0], is(TC::MarkStartHour));
    field(window_[1], is(TC::MarkStartMinute));
    field(window_[2], is(TC::MarkStopHour));
    field(window_[3], is(TC::MarkStopMinute));
    field(frames_, is(TC::MarkFrameCount));
    const bool latitude = g.isMarked(Mark::Latitude);
    const bool longitude = g.isMarked(Mark::Longitude);
    // A place choice marks latitude and longitude together.
    field(place_, latitude && longitude);
    const std::array<bool, 2> coordinateMarks{latitude, longitude};
    for (std::size_t which = 0; which < 2; ++which) {
        const Coordinate& c = coordinates_[which];
        for (QWidget* w : {static_cast<QWidget*>(c.hemisphere), static_cast<QWidget*>(c.degrees),
                           static_cast<QWidget*>(c.minutes)}) {
            field(w, coordinateMarks[which]);
        }
    }
    field(relay_, g.isMarked(Mark::AstroRelay));
    for (QRadioButton* r : dark_) {
        option(r, g.isMarked(Mark::AstroDarkPolarity));
    }
    option(gps_, g.isMarked(Mark::AstroGps));
}

QString CPropKorekty::formatted(int id, const QString& argument) const {
    return QString::fromStdString(formatText(context().texts.text(id), {TextArg(argument.toStdString())}));
}

// ---- texts ----

void CPropKorekty::refreshTexts() {
    sourceGroup_->setTitle(text(text::SyncSourceGroup));
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        sources_[i]->setText(text(SourceTexts[i]));
        sources_[i]->setAccessibleName(text(text::SyncSourceGroup) + QStringLiteral(": ") + text(SourceTexts[i]));
    }
    offsetsGroup_->setTitle(text(text::TimeOffsetsGroup));
    activityGroup_->setTitle(text(text::CorrectionActivityGroup));
    for (std::size_t i = 0; i < activities_.size(); ++i) {
        activities_[i]->setText(text(ActivityTexts[i]));
        activities_[i]->setAccessibleName(text(text::CorrectionActivityGroup) + QStringLiteral(": ") +
                                          text(ActivityTexts[i]));
    }
    autoChange_->setText(text(text::AutoTimeChange));
    driftGroup_->setTitle(text(text::DriftGroup));
    const std::array<int, 5> units{text::OffsetHours, text::OffsetHours, text::SecondsUnit, text::AstroMinutesUnit,
                                   text::AstroMinutesUnit};
    for (std::size_t i = 0; i < signed_.size(); ++i) {
        SignedRow& row = signed_[i];
        // The weekly drift sits in a group of its own name.
        row.caption->setText(i == index(Signed::Drift) ? QString() : withColon(text(row.labelText)));
        row.unit->setText(text(units[i]));
        row.field->setAccessibleName(text(row.labelText) + QLatin1Char(' ') + text(units[i]));
        showSignName(static_cast<Signed>(i));
    }

    windowGroup_->setTitle(text(text::DcfGroup));
    windowCaption_->setText(withColon(text(text::DcfWindow)));
    startCaption_->setText(withColon(text(text::DcfWindowStart)));
    stopCaption_->setText(withColon(text(text::DcfWindowStop)));
    for (QLabel* unit : windowUnits_) {
        unit->setText(text(text::HoursMinutesUnit));
    }
    for (std::size_t i = 0; i < window_.size(); ++i) {
        window_[i]->setAccessibleName(text(text::DcfWindow) + QStringLiteral(", ") +
                                      text(i < 2 ? text::DcfWindowStart : text::DcfWindowStop) + QStringLiteral(", ") +
                                      text(i % 2 == 0 ? text::HourField : text::MinuteField));
    }
    framesCaption_->setText(withColon(text(text::DcfFrames)));
    powerOnSync_->setText(text(text::PowerOnSync));

    astroGroup_->setTitle(text(text::AstroGroup));
    coordinatesGroup_->setTitle(text(text::CoordinatesGroup));
    placeCaption_->setText(withColon(text(text::Place)));
    const int position = place_->currentIndex();
    place_->clear();
    for (int i = 0; i < AstroPlaces::Count; ++i) {
        place_->addItem(text(text::FirstPlace + i));
    }
    place_->addItem(text(text::PlaceByHand));
    place_->setCurrentIndex(position);
    for (int which = 0; which < 2; ++which) {
        Coordinate& c = coordinates_[static_cast<std::size_t>(which)];
        const QString name = text(which == 0 ? text::Latitude : text::Longitude);
        c.caption->setText(withColon(name));
        c.hemisphere->setAccessibleName(name + QStringLiteral(", ") + text(text::Hemisphere));
        c.degrees->setAccessibleName(name + QStringLiteral(", ") + text(text::Degrees));
        c.minutes->setAccessibleName(name + QStringLiteral(", ") + text(text::MinutesWord));
    }
    // Why the degrees of longitude end at 127: on the field, where a larger number turns it light red. As a
    // paragraph, so the tip wraps; its words alone for screen readers.
    CFireEdit* longitude = coordinates_[1].degrees;
    longitude->setToolTip(QStringLiteral("<p>%1</p>").arg(text(text::DegreesLimit).toHtmlEscaped()));
    longitude->setProperty("plainTip", text(text::DegreesLimit));
    relayGroup_->setTitle(text(text::AstroRelayGroup));
    relayCaption_->setText(withColon(text(text::AstroRelay)));
    darkCaption_->setText(withColon(text(text::RelayDark)));
    for (std::size_t i = 0; i < dark_.size(); ++i) {
        dark_[i]->setText(text(DarkTexts[i]));
        dark_[i]->setAccessibleName(text(text::RelayDark) + QStringLiteral(": ") + text(DarkTexts[i]));
    }
    gps_->setText(text(text::UseGps));
    showValues();
}

} // namespace tolvane
