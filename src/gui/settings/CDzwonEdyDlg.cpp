#include "gui/settings/CDzwonEdyDlg.h"

#include "TextNumbers.h"
#include "gui/settings/CPhaseChart.h"
#include "gui/settings/EditorSupport.h"
#include "gui/wiring/CSelectPKDlg.h"
#include "project/ProjectData.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>

namespace tolvane {

namespace {

constexpr std::array<int, 5> TimeTexts{279, 280, 281, 282, 283};
constexpr int FirstLegendText = 270; // 270-274 the five phases, 275 the time axis

QLabel* colouredCaption(QWidget* parent, QRgb color) {
    auto* label = new QLabel(parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgba(color));
    label->setPalette(palette);
    return label;
}

} // namespace

CDzwonEdyDlg::CDzwonEdyDlg(AppContext& context, const ProjectData* project, int bell, QWidget* parent)
    : CDialogEdy(context, project, parent), bell_(bell), bellOn_(new QCheckBox(this)), feedback_(new QCheckBox(this)),
      secondFeedback_(new QCheckBox(this)), relay_(nullptr), relayCaption_(new QLabel(this)),
      runUp_(editorsupport::numberField(this, "runUp", 1, 60, 2)),
      settle_(editorsupport::numberField(this, "settle", 1, 60, 2)),
      ringingMinutes_(editorsupport::numberField(this, "ringingMinutes", 0, 30, 2)),
      ringingSeconds_(editorsupport::numberField(this, "ringingSeconds", 0, 59, 2)),
      damp_(editorsupport::numberField(this, "damp", 1, 60, 2)),
      swingMinutes_(editorsupport::numberField(this, "swingMinutes", 0, 9, 1)),
      swingSeconds_(editorsupport::numberField(this, "swingSeconds", 0, 59, 2)), chart_(new CPhaseChart(this)),
      scroll_(new QScrollBar(Qt::Horizontal, this)) {
    workOnCopy({SectionId::Bells, SectionId::Outputs});
    setWindowTitle(editorsupport::numbered(context, TitleText, bell_ + 1));
    relay_ = editorsupport::linkValue(this, "relay", relayCaption_);
    bellOn_->setObjectName(QStringLiteral("bellOn"));
    feedback_->setObjectName(QStringLiteral("feedback"));
    secondFeedback_->setObjectName(QStringLiteral("secondFeedback"));
    chart_->setObjectName(QStringLiteral("phaseChart"));
    scroll_->setObjectName(QStringLiteral("phaseScroll"));
    scroll_->setRange(0, ScrollRange);
    scroll_->setPageStep(60);

    addControl(BellOn, bellOn_);
    addControl(Relay, relay_);
    addControl(Feedback, feedback_);
    addControl(SecondFeedback, secondFeedback_);
    addControl(RunUp, runUp_);
    addControl(Settle, settle_);
    addControl(RingingMinutes, ringingMinutes_);
    addControl(RingingSeconds, ringingSeconds_);
    addControl(Damp, damp_);
    addControl(SwingMinutes, swingMinutes_);
    addControl(SwingSeconds, swingSeconds_);
    addControl(Chart, chart_);
    addControl(ChartScroll, scroll_);

    bellOn_->setText(text(text::BellOn));
    feedback_->setText(text(text::BellFeedback));
    secondFeedback_->setText(text(text::SecondFeedback));
    relayCaption_->setText(text(text::BellRelay) + QLatin1Char(':'));

    auto* grid = new QGridLayout;
    grid->addWidget(bellOn_, 0, 0, 1, 4);
    grid->addWidget(relayCaption_, 1, 0);
    grid->addWidget(relay_, 1, 1, 1, 3);
    grid->addWidget(feedback_, 2, 0, 1, 4);
    grid->addWidget(secondFeedback_, 3, 0, 1, 4);
    // The five times: caption (in its bar's colour), field(s), unit.
    const std::array<std::pair<CFireEdit*, CFireEdit*>, 5> timeFields{{{runUp_, nullptr},
                                                                       {settle_, nullptr},
                                                                       {ringingMinutes_, ringingSeconds_},
                                                                       {damp_, nullptr},
                                                                       {swingMinutes_, swingSeconds_}}};
    for (std::size_t t = 0; t < timeFields.size(); ++t) {
        const int row = 4 + static_cast<int>(t);
        QLabel* caption = colouredCaption(this, TimeColors[t]);
        caption->setText(text(TimeTexts[t]) + QLatin1Char(':'));
        caption->setBuddy(timeFields[t].first);
        timeCaptions_[t] = caption;
        grid->addWidget(caption, row, 0);
        auto* fields = new QHBoxLayout;
        fields->addWidget(timeFields[t].first);
        if (timeFields[t].second) {
            fields->addWidget(new QLabel(QStringLiteral(":"), this));
            fields->addWidget(timeFields[t].second);
            timeFields[t].first->setAccessibleName(text(TimeTexts[t]) + QLatin1Char(' ') +
                                                   text(text::MinutesSecondsUnit));
            timeFields[t].second->setAccessibleName(text(TimeTexts[t]) + QLatin1Char(' ') +
                                                    text(text::MinutesSecondsUnit));
        }
        fields->addStretch(1);
        grid->addLayout(fields, row, 1);
        grid->addWidget(new QLabel(text(timeFields[t].second ? text::MinutesSecondsUnit : text::SecondsUnit), this),
                        row, 2);
    }
    grid->setColumnStretch(3, 1);
    body()->addLayout(grid);

    // The chart, its scroll bar and the legend in the bars' colours.
    QStringList names;
    for (int b = 0; b < BellPhases::BarCount; ++b) {
        names << text(FirstLegendText + b);
    }
    chart_->setBarNames(names, text(text::ChartReading));
    chart_->setAccessibleDescription(text(text::ChartKeys));
    chart_->setMinimumWidth(460);
    scroll_->setAccessibleName(text(text::ChartScroll));
    body()->addWidget(chart_);
    body()->addWidget(scroll_);
    auto* legend = new QHBoxLayout;
    for (int b = 0; b < BellPhases::BarCount; ++b) {
        auto* entry = colouredCaption(this, BellPhases::Colors[static_cast<std::size_t>(b)]);
        entry->setText(QStringLiteral("\u25A0 ") + names[b]);
        legend->addWidget(entry);
    }
    legend->addStretch(1);
    legend->addWidget(new QLabel(text(FirstLegendText + BellPhases::BarCount), this));
    body()->addLayout(legend);

    connect(scroll_, &QScrollBar::valueChanged, chart_, &CPhaseChart::setFirstSecond);
    connect(chart_, &CPhaseChart::phasesEdited, this, &CDzwonEdyDlg::phasesEdited);
    connect(relay_, &CLinkStatic::clicked, this, &CDzwonEdyDlg::chooseRelay);
    connect(bellOn_, &QCheckBox::clicked, this, [this](bool on) {
        if (copy()) {
            copy()->bells().setBellEnabled(bell_, on);
            showValues();
        }
    });
    connect(feedback_, &QCheckBox::clicked, this, [this](bool on) {
        if (copy()) {
            copy()->bells().setFeedbackOn(bell_, on);
            showValues();
        }
    });
    connect(secondFeedback_, &QCheckBox::clicked, this, [this](bool on) {
        if (copy()) {
            copy()->bells().setSecondFeedbackOn(bell_, on);
            showValues();
        }
    });
    const std::array<std::pair<CFireEdit*, int>, 7> fields{{{runUp_, RunUp},
                                                            {settle_, Settle},
                                                            {ringingMinutes_, RingingMinutes},
                                                            {ringingSeconds_, RingingSeconds},
                                                            {damp_, Damp},
                                                            {swingMinutes_, SwingMinutes},
                                                            {swingSeconds_, SwingSeconds}}};
    for (const auto& [field, id] : fields) {
        connect(field, &QLineEdit::editingFinished, this, [this, id = id] {
            storeField(id);
            showValues();
        });
    }

    setTabOrder(bellOn_, relay_);
    setTabOrder(relay_, feedback_);
    setTabOrder(feedback_, secondFeedback_);
    setTabOrder(secondFeedback_, runUp_);
    setTabOrder(runUp_, settle_);
    setTabOrder(settle_, ringingMinutes_);
    setTabOrder(ringingMinutes_, ringingSeconds_);
    setTabOrder(ringingSeconds_, damp_);
    setTabOrder(damp_, swingMinutes_);
    setTabOrder(swingMinutes_, swingSeconds_);
    setTabOrder(swingSeconds_, chart_);
    setTabOrder(chart_, scroll_);
    showValues();
}

void CDzwonEdyDlg::showValues() {
    if (!copy()) {
        return;
    }
    const BellRecord& r = copy()->bells().record(bell_);
    bellOn_->setChecked(!r.bellOff());
    feedback_->setChecked(!r.feedbackOff());
    secondFeedback_->setChecked(!r.secondFeedbackOff());
    const QString relay =
        editorsupport::labelString(context(), OutputMap::relayText(copy()->outputs().bellRelay(bell_)));
    relay_->setText(relay);
    relay_->setAccessibleName(text(text::BellRelay) + QStringLiteral(": ") + relay);
    runUp_->writeInteger(r.runUpSeconds());
    settle_->writeInteger(r.settleSeconds());
    ringingMinutes_->writeInteger(r.ringingSeconds() / 60);
    ringingSeconds_->writeInteger(r.ringingSeconds() % 60);
    damp_->writeInteger(r.dampSeconds());
    swingMinutes_->setText(QString::number(r.swingSeconds() / 60));
    swingSeconds_->writeInteger(r.swingSeconds() % 60);
    chart_->setPhases(BellPhases::of(r));
    paintMarks();
}

void CDzwonEdyDlg::paintMarks() {
    const std::uint32_t mark = copy()->bells().changeMark(bell_);
    const auto has = [mark](std::uint32_t bits) { return (mark & bits) != 0; };
    markChangedLabel(BellOn, has(BellTable::MarkEnabled));
    markChangedField(Relay, has(BellTable::MarkRelay));
    markChangedLabel(Feedback, has(BellTable::MarkFeedback));
    markChangedLabel(SecondFeedback, has(BellTable::MarkSecondFeedback));
    markChangedField(RunUp, has(BellTable::MarkRunUp));
    markChangedField(Settle, has(BellTable::MarkSettle));
    markChangedField(RingingMinutes, has(BellTable::MarkRingingMinutes));
    markChangedField(RingingSeconds, has(BellTable::MarkRingingSeconds));
    markChangedField(Damp, has(BellTable::MarkDamp));
    markChangedField(SwingMinutes, has(BellTable::MarkSwing));
    markChangedField(SwingSeconds, has(BellTable::MarkSwing));
}

// Stores one field's text in the copy as the field shows it; a value outside the field's range is stored as typed
// (the field shows the warning colour and validation reports it).
void CDzwonEdyDlg::storeField(int id) {
    if (!copy()) {
        return;
    }
    BellTable& bells = copy()->bells();
    const std::uint32_t before = bells.changeMark(bell_);
    switch (id) {
    case RunUp:
        bells.setRunUpSeconds(bell_, runUp_->readInteger());
        break;
    case Settle:
        bells.setSettleSeconds(bell_, settle_->readInteger());
        break;
    case RingingMinutes:
    case RingingSeconds:
        bells.setRingingTime(bell_, ringingMinutes_->readInteger(), ringingSeconds_->readInteger());
        break;
    case Damp:
        bells.setDampSeconds(bell_, damp_->readInteger());
        break;
    case SwingMinutes:
    case SwingSeconds:
        bells.setSwingTime(bell_, swingMinutes_->readInteger(), swingSeconds_->readInteger());
        break;
    default:
        break;
    }
    setChange(bells.changeMark(bell_) & ~before);
}

void CDzwonEdyDlg::storeAllFields() {
    for (int id : {RunUp, Settle, RingingMinutes, Damp, SwingMinutes}) {
        storeField(id);
    }
}

bool CDzwonEdyDlg::acceptDialog() {
    // A value typed into the focused field counts, as if the field had been left.
    if (auto* focused = qobject_cast<CFireEdit*>(focusWidget())) {
        focused->finishEditing();
    }
    storeAllFields();
    return true;
}

void CDzwonEdyDlg::chooseRelay() {
    if (!copy()) {
        return;
    }
    OutputMap& map = copy()->outputs();
    const std::uint8_t current = map.bellRelay(bell_);
    CSelectPKDlg chooser(context(), copy(), current, this);
    if (context().dialogs.run(chooser) == QDialog::Accepted) {
        const auto chosen = static_cast<std::uint8_t>(chooser.value());
        if (chosen != current &&
            map.chooseRelay(OutputMapRecord::BellRelays + static_cast<std::size_t>(bell_), chosen)) {
            copy()->bells().markRelayChanged(bell_);
            setChange(BellTable::MarkRelay);
        }
    }
    showValues();
    relay_->setFocus(Qt::OtherFocusReason);
}

// A drag or a key on the chart ended: every length is read back into the copy.
void CDzwonEdyDlg::phasesEdited() {
    if (!copy()) {
        return;
    }
    const BellPhases& p = chart_->phases();
    BellTable& bells = copy()->bells();
    const std::uint32_t before = bells.changeMark(bell_);
    bells.setRunUpSeconds(bell_, p.length(BellPhases::RunUp));
    bells.setSettleSeconds(bell_, p.length(BellPhases::Settle));
    bells.setRingingSeconds(bell_, p.end(BellPhases::Ringing));
    bells.setDampSeconds(bell_, p.length(BellPhases::Damp));
    bells.setSwingTime(bell_, 0, p.length(BellPhases::Swing));
    setChange(bells.changeMark(bell_) & ~before);
    const BellPhases shown = chart_->phases();
    showValues();
    // The chart keeps what the user made of it, also a bar beyond what the fields hold.
    chart_->setPhases(shown);
}

} // namespace tolvane
