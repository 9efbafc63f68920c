#include "gui/settings/CPropUser.h"

#include "TextNumbers.h"
#include "gui/settings/EditorSupport.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CStaticHelp.h"
#include "project/ProjectData.h"
#include "settings/UserSettingsEditing.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace tolvane {

namespace {

namespace us = usersettings;
using Mark = GeneralSettings::Mark;

// Captions (catalog texts).
// The controller's languages in list order.
constexpr std::array<int, 6> LanguageTexts{329, 330, 333, 331, 334, 332};
constexpr std::array<int, 3> SortingTexts{510, 511, 512};
constexpr std::array<int, 2> RingModeTexts{629, 626};

// Help tips of the captions.
constexpr int TipContrast = 103;
constexpr int TipBrightness = 104;
constexpr int TipLightingTime = 105;
constexpr int TipLanguage = 174;

// Fields of the undo keys. The page edits a few fields of the general settings, which the settings page edits
// too: its keys carry fields of their own, from FirstField on, so an undo brings this page to the front.
enum Field : int {
    FirstField = 1000,
    FieldContrast,
    FieldBrightness,
    FieldLightingTime,
    FieldLanguage,
    FieldSorting,
    FieldRingMode,
    FieldRingTime,
    FieldInterval,
    LastField = FieldInterval,
};

bool typing(const QWidget* field) {
    return field->property("typed").toBool();
}

// A value label in the warning colour while the stored value lies where the slider cannot show it.
void paintOutsideRange(QLabel* label, bool on) {
    label->setAutoFillBackground(on);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, on ? QColor(CPropUser::WarningColor) : QPalette().color(QPalette::Window));
    label->setPalette(palette);
    label->setProperty("outsideRange", on);
}

} // namespace

CPropUser::CPropUser(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), scroll_(new QScrollArea(this)), content_(new QWidget) {
    buildDisplay();
    buildLanguage();
    buildSorting();
    buildManual();

    // The controller's display and language on the left, how it lists programs and rings by hand on the right.
    auto* columns = new QHBoxLayout(content_);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    left->addWidget(displayGroup_);
    left->addWidget(languageGroup_);
    right->addWidget(sortingGroup_);
    right->addWidget(manualGroup_);
    left->addStretch(1);
    right->addStretch(1);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    scroll_->setObjectName(QStringLiteral("userScroll"));
    placeInScrollArea(scroll_, content_);

    chainTabOrder({sliders_[0].slider, sliders_[1].slider, sliders_[2].slider, language_, sorting_[0], sorting_[1],
                   sorting_[2], ringModes_[0], ringModes_[1], ringMinutes_, ringSeconds_, interval_});
}

// ---- building ----

void CPropUser::buildDisplay() {
    displayGroup_ = new QGroupBox(content_);
    displayGroup_->setObjectName(QStringLiteral("displayGroup"));
    auto* grid = new QGridLayout(displayGroup_);
    struct Setup {
        const char* name;
        int minimum;
        int maximum;
        int pageStep;
        int labelText;
        int field;
        int mark;
    };
    const Setup setups[] = {
        {"contrast", 0, us::MaxPercent, 10, text::Contrast, FieldContrast, Mark::DisplayContrast},
        {"brightness", 0, us::MaxPercent, 10, text::Brightness, FieldBrightness, Mark::DisplayBrightness},
        {"lightingTime", us::MinDisplayMinutes, us::MaxDisplayMinutes, 5, text::LightingTime, FieldLightingTime,
         Mark::DisplayTime},
    };
    // The value labels are as wide as their longest text may be, so the sliders do not jump while they move.
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        const Setup& setup = setups[i];
        SliderRow& row = sliders_[i];
        row.caption = new CStaticHelp(QString(), displayGroup_);
        row.slider = new QSlider(Qt::Horizontal, displayGroup_);
        row.slider->setObjectName(QLatin1String(setup.name));
        row.slider->setRange(setup.minimum, setup.maximum);
        row.slider->setPageStep(setup.pageStep);
        row.slider->setTickPosition(QSlider::TicksBelow);
        row.slider->setTickInterval(setup.pageStep);
        row.slider->setFocusPolicy(Qt::StrongFocus);
        row.slider->installEventFilter(this);
        row.value = new QLabel(displayGroup_);
        row.value->setObjectName(QStringLiteral("%1Value").arg(QLatin1String(setup.name)));
        row.value->setMinimumWidth(110);
        row.labelText = setup.labelText;
        row.field = setup.field;
        row.mark = setup.mark;
        const int line = static_cast<int>(i);
        grid->addWidget(row.caption, line, 0);
        grid->addWidget(row.slider, line, 1);
        grid->addWidget(row.value, line, 2);
        const auto which = static_cast<Slider>(i);
        QSlider* slider = row.slider;
        // The value label follows the slider; keys and the wheel store at once, a drag when it is released.
        connect(slider, &QSlider::valueChanged, this, [this, which, slider](int value) {
            showSliderText(which, value, false);
            if (!slider->isSliderDown()) {
                storeSlider(which);
            }
        });
        connect(slider, &QSlider::sliderReleased, this, [this, which] {
            endEditBurst();
            storeSlider(which);
            endEditBurst();
        });
    }
    grid->setColumnStretch(1, 1);
}

void CPropUser::buildLanguage() {
    languageGroup_ = new QGroupBox(content_);
    languageGroup_->setObjectName(QStringLiteral("languageGroup"));
    auto* row = new QHBoxLayout(languageGroup_);
    languageCaption_ = new CStaticHelp(QString(), languageGroup_);
    language_ = new QComboBox(languageGroup_);
    language_->setObjectName(QStringLiteral("controllerLanguage"));
    row->addWidget(languageCaption_);
    row->addWidget(language_, 1);
    connect(language_, &QComboBox::activated, this, [this](int position) {
        act(text::LanguageGroup, FieldLanguage, [position](ProjectData& p) {
            p.general().setControllerLanguage(GeneralSettings::controllerLanguageForPosition(position));
        });
    });
}

void CPropUser::buildSorting() {
    sortingGroup_ = new QGroupBox(content_);
    sortingGroup_->setObjectName(QStringLiteral("sortingGroup"));
    auto* box = new QVBoxLayout(sortingGroup_);
    sortingButtons_ = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto*& radio = sorting_[static_cast<std::size_t>(i)];
        radio = new QRadioButton(sortingGroup_);
        radio->setObjectName(QStringLiteral("sorting%1").arg(i));
        sortingButtons_->addButton(radio, i);
        box->addWidget(radio);
    }
    connect(sortingButtons_, &QButtonGroup::idClicked, this, [this](int order) {
        act(text::SortingGroup, FieldSorting, [order](ProjectData& p) { p.general().setProgramOrder(order); });
    });
}

CFireEdit* CPropUser::numberField(QWidget* parent, const char* name, int upper) {
    CFireEdit* f = editorsupport::numberField(parent, name, 0, upper, 2);
    f->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Leaving the field ends its step and shows the stored value again (padded, or as it was when the field
    // did not hold a number the controller takes).
    connect(f, &QLineEdit::editingFinished, this, [this, f] {
        f->setProperty("typed", false);
        endEditBurst();
        showValues();
    });
    return f;
}

void CPropUser::buildManual() {
    manualGroup_ = new QGroupBox(content_);
    manualGroup_->setObjectName(QStringLiteral("manualGroup"));
    auto* box = new QVBoxLayout(manualGroup_);
    ringModeGroup_ = new QGroupBox(manualGroup_);
    ringModeGroup_->setObjectName(QStringLiteral("ringModeGroup"));
    auto* modes = new QVBoxLayout(ringModeGroup_);
    auto* modeButtons = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto*& radio = ringModes_[static_cast<std::size_t>(i)];
        radio = new QRadioButton(ringModeGroup_);
        radio->setObjectName(QStringLiteral("ringMode%1").arg(i));
        modeButtons->addButton(radio, i);
        modes->addWidget(radio);
    }
    connect(modeButtons, &QButtonGroup::idClicked, this, [this](int index) {
        act(text::RingModeGroup, FieldRingMode,
            [index](ProjectData& p) { p.general().setManualRingUsesDefaultTime(index == 1); });
    });
    box->addWidget(ringModeGroup_);

    auto* grid = new QGridLayout;
    ringTimeCaption_ = new QLabel(manualGroup_);
    ringMinutes_ = numberField(manualGroup_, "ringMinutes", us::MaxRingMinutes);
    ringSeconds_ = numberField(manualGroup_, "ringSeconds", us::MaxRingSeconds);
    ringTimeCaption_->setBuddy(ringMinutes_);
    intervalCaption_ = new QLabel(manualGroup_);
    interval_ = numberField(manualGroup_, "startInterval", us::MaxStartInterval);
    intervalCaption_->setBuddy(interval_);
    for (QLabel*& unit : secondsUnits_) {
        unit = new QLabel(manualGroup_);
    }
    grid->addWidget(ringTimeCaption_, 0, 0);
    grid->addWidget(ringMinutes_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral(":"), manualGroup_), 0, 2);
    grid->addWidget(ringSeconds_, 0, 3);
    grid->addWidget(secondsUnits_[0], 0, 4);
    grid->addWidget(intervalCaption_, 1, 0);
    grid->addWidget(interval_, 1, 1);
    grid->addWidget(secondsUnits_[1], 1, 2, 1, 3);
    grid->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 5);
    // Wide enough for a stored value of three digits (a new project's 255).
    interval_->setMinimumWidth(interval_->sizeHint().width() + interval_->fontMetrics().horizontalAdvance('0'));
    box->addLayout(grid);

    connect(ringMinutes_, &QLineEdit::textEdited, this, [this] { typeRingTime(ringMinutes_); });
    connect(ringSeconds_, &QLineEdit::textEdited, this, [this] { typeRingTime(ringSeconds_); });
    connect(interval_, &QLineEdit::textEdited, this, [this] { typeInterval(); });
}

// ---- storing ----

void CPropUser::act(int labelText, int field, const std::function<void(ProjectData&)>& change) {
    endEditBurst();
    edit({labelText, {}}, {SectionId::General, -1, field}, change);
    endEditBurst();
    showValues();
}

void CPropUser::burst(int labelText, int field, const std::function<void(ProjectData&)>& change) {
    edit({labelText, {}}, {SectionId::General, -1, field}, change);
    showMarks();
}

// The slider's position: percent, or the lighting time as minutes x 60,000 ms.
void CPropUser::storeSlider(Slider which) {
    const SliderRow& row = sliders_[static_cast<std::size_t>(which)];
    const int value = row.slider->value();
    burst(row.labelText, row.field, [which, value](ProjectData& p) {
        switch (which) {
        case Contrast:
            p.general().setDisplayContrast(static_cast<std::uint8_t>(value));
            break;
        case Brightness:
            p.general().setDisplayBrightness(static_cast<std::uint8_t>(value));
            break;
        case LightingTime:
            p.general().setDisplayTimeMs(us::displayTimeMs(value));
            break;
        }
    });
}

// The first keystroke of a visit to a field remembers the value stored when the field was entered: while the field
// does not hold a number within its range, that value is stored again, so a half-typed "45" minutes leaves the
// ringing time as it was (and the visit's step goes away with it).
int CPropUser::enteredValue(CFireEdit* field, int stored) {
    if (!typing(field)) {
        field->setProperty("typed", true);
        field->setProperty("entered", stored);
    }
    return field->property("entered").toInt();
}

// Minutes x 60 + seconds, stored as either field is typed; the other part is the stored one.
void CPropUser::typeRingTime(CFireEdit* field) {
    if (!project()) {
        return;
    }
    const std::uint16_t stored = project()->general().defaultRingTimeSeconds();
    const auto entered = static_cast<std::uint16_t>(enteredValue(field, stored));
    const bool minutes = field == ringMinutes_;
    const std::optional<int> typed =
        us::typedInRange(field->text().toStdString(), 0, minutes ? us::MaxRingMinutes : us::MaxRingSeconds);
    const us::RingTimeFields parts = us::ringTimeFields(stored);
    const std::uint16_t seconds = !typed    ? entered
                                  : minutes ? us::ringTimeSeconds(*typed, parts.seconds)
                                            : us::ringTimeSeconds(parts.minutes, *typed);
    burst(text::DefaultRingTime, FieldRingTime,
          [seconds](ProjectData& p) { p.general().setDefaultRingTimeSeconds(seconds); });
}

// The interval is stored as it is typed when it lies within 0-15; until then the byte stored when the field was
// entered stays (a new project's 255, the controller's "not set", included).
void CPropUser::typeInterval() {
    if (!project()) {
        return;
    }
    const int entered = enteredValue(interval_, project()->general().manualStartIntervalSeconds());
    const std::optional<int> typed = us::typedInRange(interval_->text().toStdString(), 0, us::MaxStartInterval);
    burst(text::ManualInterval, FieldInterval, [value = typed.value_or(entered)](ProjectData& p) {
        p.general().setManualStartIntervalSeconds(static_cast<std::uint8_t>(value));
    });
}

bool CPropUser::eventFilter(QObject* watched, QEvent* event) {
    // Leaving a slider ends the run of key presses that made its step.
    if (event->type() == QEvent::FocusOut) {
        for (const SliderRow& row : sliders_) {
            if (watched == row.slider) {
                endEditBurst();
            }
        }
    }
    return CDataPage::eventFilter(watched, event);
}

// ---- showing ----

void CPropUser::reload(int) {
    for (CFireEdit* f : {ringMinutes_, ringSeconds_, interval_}) {
        f->setProperty("typed", false);
    }
    showValues();
}

void CPropUser::refreshMarks() {
    showMarks();
}

QString CPropUser::sliderText(Slider which, int value) const {
    if (which == LightingTime) {
        return editorsupport::labelString(context(), us::displayTimeLabel(value));
    }
    return QString::asprintf("%d %%", value);
}

void CPropUser::showSliderText(Slider which, int value, bool outside) {
    QLabel* label = sliders_[static_cast<std::size_t>(which)].value;
    label->setText(sliderText(which, value));
    if (outside != label->property("outsideRange").toBool()) {
        paintOutsideRange(label, outside);
    }
}

void CPropUser::showValues() {
    const ProjectData* p = project();
    content_->setEnabled(p != nullptr);
    if (!p) {
        return;
    }
    const GeneralSettings& g = p->general();
    const std::array<int, 3> stored{g.displayContrast(), g.displayBrightness(), us::displayMinutes(g.displayTimeMs())};
    const std::array<bool, 3> outside{!us::percentInRange(stored[0]), !us::percentInRange(stored[1]),
                                      !us::displayMinutesInRange(stored[2])};
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        // Showing a value is no move of the slider: nothing is stored.
        const QSignalBlocker quiet(sliders_[i].slider);
        sliders_[i].slider->setValue(stored[i]);
        showSliderText(static_cast<Slider>(i), stored[i], outside[i]);
    }
    language_->setCurrentIndex(GeneralSettings::positionOfControllerLanguage(g.controllerLanguage()));
    // An order the two bits hold but no radio stands for (a card written elsewhere) leaves them all clear.
    if (QAbstractButton* order = sortingButtons_->button(g.programOrder())) {
        order->setChecked(true);
    } else {
        sortingButtons_->setExclusive(false);
        for (QRadioButton* radio : sorting_) {
            radio->setChecked(false);
        }
        sortingButtons_->setExclusive(true);
    }
    ringModes_[g.manualRingUsesDefaultTime() ? 1 : 0]->setChecked(true);
    const auto put = [](CFireEdit* f, int value) {
        const QString shown = QString::asprintf("%.2d", value);
        if (!typing(f) && f->text() != shown) {
            f->setText(shown);
        }
    };
    const us::RingTimeFields ring = us::ringTimeFields(g.defaultRingTimeSeconds());
    put(ringMinutes_, ring.minutes);
    put(ringSeconds_, ring.seconds);
    put(interval_, g.manualStartIntervalSeconds());
    showMarks();
}

void CPropUser::showMarks() {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    const GeneralSettings& g = p->general();
    const QString changed = text(text::ChangedDescription);
    const QString outside = text(text::OutsideRange);
    const auto describe = [&](QWidget* w, bool marked, bool warning) {
        QStringList said;
        if (marked) {
            said << changed;
        }
        if (warning) {
            said << outside;
        }
        w->setAccessibleDescription(said.join(QStringLiteral("; ")));
    };
    for (const SliderRow& row : sliders_) {
        const bool marked = g.isMarked(row.mark);
        // The slider itself has no text to colour: its value label carries the mark.
        markChangedOption(row.value, marked);
        describe(row.slider, marked, row.value->property("outsideRange").toBool());
    }
    markChangedField(language_, g.isMarked(Mark::ControllerLanguage));
    describe(language_, g.isMarked(Mark::ControllerLanguage), false);
    for (QRadioButton* radio : sorting_) {
        markChangedOption(radio, g.isMarked(Mark::ProgramOrder));
        describe(radio, g.isMarked(Mark::ProgramOrder), false);
    }
    for (QRadioButton* radio : ringModes_) {
        markChangedOption(radio, g.isMarked(Mark::ManualRingTimeMode));
        describe(radio, g.isMarked(Mark::ManualRingTimeMode), false);
    }
    for (CFireEdit* f : {ringMinutes_, ringSeconds_}) {
        markChangedField(f, g.isMarked(Mark::DefaultRingTime));
        describe(f, g.isMarked(Mark::DefaultRingTime), f->isOutOfRange());
    }
    markChangedField(interval_, g.isMarked(Mark::ManualStartInterval));
    describe(interval_, g.isMarked(Mark::ManualStartInterval), interval_->isOutOfRange());
}

void CPropUser::focusSetting(int code) {
    QSlider* target = nullptr;
    if (code == GeneralSettings::IssueContrast) {
        target = slider(Contrast);
    } else if (code == GeneralSettings::IssueBrightness) {
        target = slider(Brightness);
    } else if (code == GeneralSettings::IssueDisplayTime) {
        target = slider(LightingTime);
    }
    if (!target) {
        return;
    }
    content_->adjustSize();
    scroll_->ensureWidgetVisible(target);
    target->setFocus(Qt::OtherFocusReason);
}

bool CPropUser::showsEdit(const EditKey& key) const {
    return key.section == SectionId::General && key.field > FirstField && key.field <= LastField;
}

// ---- texts ----

void CPropUser::refreshTexts() {
    displayGroup_->setTitle(text(text::DisplayGroup));
    const std::array<int, 3> tips{TipContrast, TipBrightness, TipLightingTime};
    const bool help = helpAvailable();
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        SliderRow& row = sliders_[i];
        row.caption->setText(text(row.labelText) + QLatin1Char(':'));
        row.caption->setHelpActive(help);
        setHelpTip(row.caption, tips[i]);
        row.slider->setAccessibleName(text(row.labelText));
    }
    languageGroup_->setTitle(text(text::LanguageGroup));
    languageCaption_->setText(text(text::Language) + QLatin1Char(':'));
    languageCaption_->setHelpActive(help);
    setHelpTip(languageCaption_, TipLanguage);
    language_->setAccessibleName(text(text::LanguageGroup) + QStringLiteral(": ") + text(text::Language));
    const int position = language_->currentIndex();
    language_->clear();
    for (int id : LanguageTexts) {
        language_->addItem(text(id));
    }
    language_->setCurrentIndex(position);

    sortingGroup_->setTitle(text(text::SortingGroup));
    for (std::size_t i = 0; i < sorting_.size(); ++i) {
        sorting_[i]->setText(text(SortingTexts[i]));
        sorting_[i]->setAccessibleName(text(text::SortingGroup) + QStringLiteral(": ") + text(SortingTexts[i]));
    }
    manualGroup_->setTitle(text(text::ManualGroup));
    ringModeGroup_->setTitle(text(text::RingModeGroup));
    for (std::size_t i = 0; i < ringModes_.size(); ++i) {
        ringModes_[i]->setText(text(RingModeTexts[i]));
        ringModes_[i]->setAccessibleName(text(text::RingModeGroup) + QStringLiteral(": ") + text(RingModeTexts[i]));
    }
    ringTimeCaption_->setText(text(text::DefaultRingTime) + QLatin1Char(':'));
    ringMinutes_->setAccessibleName(text(text::DefaultRingTime) + QStringLiteral(", ") + text(text::MinutesWord));
    ringSeconds_->setAccessibleName(text(text::DefaultRingTime) + QStringLiteral(", ") + text(text::SecondsWord));
    intervalCaption_->setText(text(text::ManualInterval) + QLatin1Char(':'));
    interval_->setAccessibleName(text(text::ManualInterval) + QLatin1Char(' ') + text(text::SecondsUnit));
    for (QLabel* unit : secondsUnits_) {
        unit->setText(text(text::SecondsUnit));
    }
    showValues();
}

} // namespace tolvane
