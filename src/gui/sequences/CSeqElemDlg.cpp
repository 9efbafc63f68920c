#include "gui/sequences/CSeqElemDlg.h"

#include "TextNumbers.h"
#include "gui/sequences/CSelKrok.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "ringing/StepEditing.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QHBoxLayout* rowLayout(QWidget* row) {
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    return layout;
}

} // namespace

CSeqElemDlg::CSeqElemDlg(AppContext& context, const ProjectData* project, int sequence, int stepIndex,
                         int insertPosition, int ownPosition, QWidget* parent)
    : CDialogEdy(context, project, parent), sequence_(sequence), stepIndex_(stepIndex), insertPosition_(insertPosition),
      ownPosition_(ownPosition) {
    setWindowTitle(text(TitleText));
    workOnCopy({SectionId::Sequences});
    if (stepIndex_ >= 0 && project != nullptr && project->sequences().isStepDefined(sequence_, stepIndex_)) {
        step_ = stepediting::shown(project->sequences().record(sequence_).step(stepIndex_));
    } else {
        stepIndex_ = -1;
        step_ = stepediting::newStep();
    }

    const auto formatted = [this](int id, int n) {
        return QString::fromStdString(formatText(this->context().texts.text(id), {static_cast<long long>(n)}));
    };

    // Kind.
    auto* kindRow = new QWidget(this);
    auto* kindLayout = rowLayout(kindRow);
    auto* kindLabel = new QLabel(text(text::StepKind) + QLatin1Char(':'), kindRow);
    kind_ = new QComboBox(kindRow);
    kind_->setObjectName(QStringLiteral("kindList"));
    for (StepKind k : stepediting::KindList) {
        kind_->addItem(text(SequenceTable::KindLabelTexts[static_cast<std::size_t>(k)]));
    }
    kindLabel->setBuddy(kind_);
    kindLayout->addWidget(kindLabel);
    kindLayout->addWidget(kind_, 1);
    addControl(KindList, kind_);
    connect(kind_, &QComboBox::activated, this, &CSeqElemDlg::kindChosen);

    // Units: bells and hammers.
    const auto unitGroup = [&](int title, int firstId, bool hammers, std::array<QPushButton*, 5>& boxes) {
        auto* group = new QGroupBox(text(title), this);
        group->setObjectName(hammers ? QStringLiteral("hammerGroup") : QStringLiteral("bellGroup"));
        auto* layout = new QHBoxLayout(group);
        for (int unit = 0; unit < stepediting::UnitCount; ++unit) {
            QPushButton* box = unitBox(group, firstId + unit, unit, hammers);
            box->setAccessibleName(formatted(hammers ? text::Hammer : text::Bell, unit + 1));
            boxes[static_cast<std::size_t>(unit)] = box;
            layout->addWidget(box);
        }
        layout->addStretch(1);
        return group;
    };
    bellGroup_ = unitGroup(text::StepBells, FirstBellBox, false, bells_);
    hammerGroup_ = unitGroup(text::StepHammers, FirstHammerBox, true, hammers_);
    addControl(BellGroup, bellGroup_);
    addControl(HammerGroup, hammerGroup_);

    // Time to the next step: minutes:seconds.hundredths.
    pauseRow_ = new QWidget(this);
    auto* pause = rowLayout(pauseRow_);
    auto* pauseLabel = new QLabel(text(text::StepPause) + QLatin1Char(':'), pauseRow_);
    CFireEdit* pauseMinutes = numberField(pauseRow_, PauseMinutes, 59);
    CFireEdit* pauseSeconds = numberField(pauseRow_, PauseSeconds, 59);
    CFireEdit* pauseHundredths = numberField(pauseRow_, PauseHundredths, 99);
    pauseLabel->setBuddy(pauseMinutes);
    pauseMinutes->setAccessibleName(text(text::StepPause) + QLatin1String(", ") + text(text::MinutesWord));
    pauseSeconds->setAccessibleName(text(text::StepPause) + QLatin1String(", ") + text(text::SecondsWord));
    pauseHundredths->setAccessibleName(text(text::StepPause) + QLatin1String(", ") + text(text::Hundredths));
    pause->addWidget(pauseLabel);
    pause->addStretch(1);
    pause->addWidget(pauseMinutes);
    pause->addWidget(new QLabel(QStringLiteral(":"), pauseRow_));
    pause->addWidget(pauseSeconds);
    pause->addWidget(new QLabel(QStringLiteral("."), pauseRow_));
    pause->addWidget(pauseHundredths);
    pause->addWidget(new QLabel(text(text::PauseUnit), pauseRow_));

    // Time of a repeat-for-a-time step: minutes:seconds.
    timeRow_ = new QWidget(this);
    auto* time = rowLayout(timeRow_);
    timeLabel_ = new QLabel(timeRow_);
    CFireEdit* timeMinutes = numberField(timeRow_, TimeMinutes, 59);
    CFireEdit* timeSeconds = numberField(timeRow_, TimeSeconds, 59);
    timeLabel_->setBuddy(timeMinutes);
    time->addWidget(timeLabel_);
    time->addStretch(1);
    time->addWidget(timeMinutes);
    time->addWidget(new QLabel(QStringLiteral(":"), timeRow_));
    time->addWidget(timeSeconds);
    time->addWidget(new QLabel(text(text::MinutesSecondsUnit), timeRow_));

    // Repetitions.
    repetitionsRow_ = new QWidget(this);
    auto* repetitions = rowLayout(repetitionsRow_);
    auto* repetitionsLabel = new QLabel(text(text::Repetitions) + QLatin1Char(':'), repetitionsRow_);
    CFireEdit* repetitionsField = numberField(repetitionsRow_, Repetitions, 99);
    repetitionsField->setUp(1, 99, 2);
    repetitionsLabel->setBuddy(repetitionsField);
    repetitions->addWidget(repetitionsLabel);
    repetitions->addStretch(1);
    repetitions->addWidget(repetitionsField);

    // The range: two step numbers that open the step chooser.
    rangeRow_ = new QWidget(this);
    auto* range = new QGridLayout(rangeRow_);
    range->setContentsMargins(0, 0, 0, 0);
    auto* firstLabel = new QLabel(text(text::FirstStep) + QLatin1Char(':'), rangeRow_);
    auto* lastLabel = new QLabel(text(text::LastStep) + QLatin1Char(':'), rangeRow_);
    first_ = new CLinkStatic(rangeRow_);
    first_->setObjectName(QStringLiteral("firstStepLink"));
    last_ = new CLinkStatic(rangeRow_);
    last_->setObjectName(QStringLiteral("lastStepLink"));
    firstLabel->setBuddy(first_);
    lastLabel->setBuddy(last_);
    addControl(FirstStep, first_);
    addControl(LastStep, last_);
    connect(first_, &CLinkStatic::clicked, this, [this] { chooseRangeEnd(true); });
    connect(last_, &CLinkStatic::clicked, this, [this] { chooseRangeEnd(false); });
    range->addWidget(firstLabel, 0, 0);
    range->addWidget(first_, 0, 1);
    range->addWidget(lastLabel, 1, 0);
    range->addWidget(last_, 1, 1);
    range->setColumnStretch(1, 1);

    for (QWidget* w : std::initializer_list<QWidget*>{kindRow, bellGroup_, hammerGroup_, pauseRow_, timeRow_,
                                                      repetitionsRow_, rangeRow_}) {
        body()->addWidget(w);
    }
    body()->addStretch(1);
    showStep();
    kind_->setFocus();
}

QPushButton* CSeqElemDlg::unitBox(QWidget* parent, int number, int unit, bool hammers) {
    auto* box = new QPushButton(parent);
    box->setObjectName(
        QStringLiteral("%1Box%2").arg(hammers ? QStringLiteral("hammer") : QStringLiteral("bell")).arg(unit + 1));
    box->setCheckable(true);
    box->setAutoDefault(false);
    box->setFixedSize(30, 26);
    addControl(number, box);
    connect(box, &QPushButton::clicked, this, [this, unit](bool on) { unitClicked(unit, on); });
    return box;
}

CFireEdit* CSeqElemDlg::numberField(QWidget* parent, int id, int upper) {
    auto* f = new CFireEdit(parent);
    f->setObjectName(QStringLiteral("field%1").arg(id));
    f->setUp(0, upper, 2);
    addControl(id, f);
    return f;
}

CFireEdit* CSeqElemDlg::field(int id) const {
    return qobject_cast<CFireEdit*>(control(id));
}

const SequenceTable& CSeqElemDlg::table() const {
    return copy()->sequences();
}

// Every control from the step: the kind, the units, the fields of its kind and which rows are shown.
void CSeqElemDlg::showStep() {
    const StepKind kind = step_.kind();
    kind_->setCurrentIndex(stepediting::kindPosition(kind));
    const bool bells = step_.isBell();
    const bool hammers = kind == StepKind::Hammers;
    bellGroup_->setVisible(bells);
    hammerGroup_->setVisible(hammers);
    pauseRow_->setVisible(step_.isTimed());
    timeRow_->setVisible(kind == StepKind::RepeatTime);
    repetitionsRow_->setVisible(kind == StepKind::RepeatCount);
    rangeRow_->setVisible(step_.isRepeat());
    showUnits();

    const auto write = [this](int id, long long value, int width) {
        CFireEdit* f = field(id);
        if (f->textLimit() != width) {
            f->setUp(f->lowerBound(), f->upperBound(), width);
        }
        f->writeInteger(static_cast<int>(value));
    };
    if (step_.isTimed()) {
        const stepediting::PauseFields pause = stepediting::pauseFields(step_);
        write(PauseMinutes, pause.minutes, stepediting::minutesFieldWidth(pause.minutes));
        write(PauseSeconds, pause.seconds, 2);
        write(PauseHundredths, pause.hundredths, 2);
    }
    if (kind == StepKind::RepeatTime) {
        const stepediting::TimeFields t = stepediting::timeFields(step_);
        write(TimeMinutes, t.minutes, stepediting::minutesFieldWidth(t.minutes));
        write(TimeSeconds, t.seconds, 2);
    }
    timeLabel_->setText(text(kind == StepKind::RepeatTime ? text::RepeatTime : text::StepTime) + QLatin1Char(':'));
    if (kind == StepKind::RepeatCount) {
        write(Repetitions, step_.count(), 2);
    }
    showRange();
    adjustSize();
}

// A chosen box shows its number, a clear one nothing; the name says which unit it is either way.
void CSeqElemDlg::showUnits() {
    for (int unit = 0; unit < stepediting::UnitCount; ++unit) {
        const bool on = stepediting::unitChosen(step_.unitMask(), unit);
        for (QPushButton* box : {bells_[static_cast<std::size_t>(unit)], hammers_[static_cast<std::size_t>(unit)]}) {
            box->setChecked(on);
            box->setText(on ? QString::number(unit + 1) : QString());
        }
    }
}

void CSeqElemDlg::showRange() {
    const QString first = QString::fromStdString(stepediting::stepNumberText(step_.firstStep()));
    const QString last = QString::fromStdString(stepediting::stepNumberText(step_.lastStep()));
    first_->setText(first);
    first_->setAccessibleName(text(text::FirstStep) + QLatin1String(": ") + first);
    last_->setText(last);
    last_->setAccessibleName(text(text::LastStep) + QLatin1String(": ") + last);
}

void CSeqElemDlg::kindChosen(int position) {
    const StepKind kind = stepediting::kindAt(position);
    if (kind == StepKind::End) {
        return;
    }
    step_ = stepediting::converted(step_, kind);
    showStep();
}

void CSeqElemDlg::unitClicked(int unit, bool on) {
    step_.setUnitMask(stepediting::toggledUnit(step_.unitMask(), unit, on));
    showUnits();
}

void CSeqElemDlg::chooseRangeEnd(bool forFirst) {
    if (!copy()) {
        return;
    }
    const std::vector<int> steps = forFirst ? stepediting::firstStepChoices(table(), sequence_, ownPosition_, step_)
                                            : stepediting::lastStepChoices(table(), sequence_, ownPosition_, step_);
    CSelKrok chooser(table(), sequence_, steps, forFirst, forFirst ? step_.firstStep() : step_.lastStep(),
                     context().texts, context().prompts, this);
    if (context().dialogs.run(chooser) != QDialog::Accepted || chooser.chosenStep() < 0) {
        return;
    }
    const auto chosen = static_cast<std::uint8_t>(chooser.chosenStep());
    if (forFirst) {
        step_.setFirstStep(chosen);
    } else {
        step_.setLastStep(chosen);
    }
    showRange();
    (forFirst ? first_ : last_)->setFocus(Qt::OtherFocusReason);
}

bool CSeqElemDlg::acceptDialog() {
    if (!copy()) {
        return false;
    }
    stepediting::TypedFields typed;
    typed.pause = {field(PauseMinutes)->readInteger(), field(PauseSeconds)->readInteger(),
                   field(PauseHundredths)->readInteger()};
    typed.time = {field(TimeMinutes)->readInteger(), field(TimeSeconds)->readInteger()};
    typed.repetitions = field(Repetitions)->readInteger();
    SequenceStep result = step_;
    const int refusal = stepediting::accept(table(), sequence_, ownPosition_, typed, result);
    if (refusal != 0) {
        showMessage(text(refusal));
        return false;
    }
    step_ = result;
    SequenceTable& sequences = copy()->sequences();
    if (stepIndex_ >= 0) {
        sequences.replaceStep(sequence_, stepIndex_, step_);
    } else {
        sequences.insertStep(sequence_, step_, insertPosition_);
    }
    return true;
}

} // namespace tolvane
