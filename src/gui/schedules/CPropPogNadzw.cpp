#include "gui/schedules/CPropPogNadzw.h"

#include "TextNumbers.h"
#include "gui/choosers/CSelSekwDlg.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "project/ProjectData.h"
#include "project/SequenceName.h"
#include "project/TextFormat.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace tolvane {

namespace {

constexpr int MinHalfSteps = 1;
constexpr int MaxHalfSteps = 28;

constexpr std::array<EntryField, 3> StartFields{EntryField::Hour, EntryField::Minute, EntryField::Second};
constexpr std::array<EntryField, 3> EndFields{EntryField::Time2Hour, EntryField::Time2Minute, EntryField::Time2Second};

} // namespace

CPropPogSpec::CPropPogSpec(AppContext& context, QWidget* parent) : CDataPage(context, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 8, 12, 8);
    for (int n = 0; n < BoxCount; ++n) {
        buildBox(n);
        layout->addWidget(boxes_[static_cast<std::size_t>(n)].group);
    }
    layout->addStretch(1);
}

void CPropPogSpec::buildBox(int n) {
    Box& box = boxes_[static_cast<std::size_t>(n)];
    box.group = new QGroupBox(this);
    box.group->setObjectName(QStringLiteral("specialBox%1").arg(n + 1));
    auto* grid = new QGridLayout(box.group);
    grid->setHorizontalSpacing(6);
    const auto field = [&](const QString& name, double lower, double upper, int width) {
        auto* f = new CFireEdit(box.group);
        f->setObjectName(name + QString::number(n + 1));
        f->setUp(lower, upper, width, false);
        return f;
    };
    const auto fieldDone = [this](CFireEdit* f) {
        connect(f, &QLineEdit::editingFinished, this, [this] { endEditBurst(); });
    };
    const auto timeRow = [&](int row, QLabel*& label, QLabel*& hint, std::array<CFireEdit*, 3>& fields,
                             const QString& name, bool end) {
        label = new QLabel(box.group);
        hint = new QLabel(box.group);
        auto* line = new QHBoxLayout;
        line->setSpacing(2);
        const char* parts[] = {"Hour", "Minute", "Second"};
        for (std::size_t part = 0; part < 3; ++part) {
            fields[part] = field(name + QLatin1String(parts[part]), 0, part == 0 ? 23 : 59, 2);
            if (part > 0) {
                line->addWidget(new QLabel(QStringLiteral(":"), box.group));
            }
            line->addWidget(fields[part]);
            connect(fields[part], &QLineEdit::textEdited, this, [this, n, end] { storeTime(n, end); });
            fieldDone(fields[part]);
        }
        line->addSpacing(6);
        line->addWidget(hint);
        line->addStretch(1);
        label->setBuddy(fields[0]);
        grid->addWidget(label, row, 0);
        grid->addLayout(line, row, 1);
    };
    timeRow(0, box.startLabel, box.startHint, box.start, QStringLiteral("start"), false);
    timeRow(1, box.endLabel, box.endHint, box.end, QStringLiteral("end"), true);

    // Steps are counted in halves: 2.5 steps are stored as 5.
    box.stepsLabel = new QLabel(box.group);
    box.steps = field(QStringLiteral("steps"), 0.5, 14, 4);
    box.steps->setUp(MinHalfSteps / 2.0, MaxHalfSteps / 2.0, 4, false, true, 5, false);
    box.stepsLabel->setBuddy(box.steps);
    connect(box.steps, &QLineEdit::textEdited, this, [this, n] {
        Box& typed = boxes_[static_cast<std::size_t>(n)];
        typed.stepsTyped = true;
        storeSteps(n, typed.steps->readHalves());
    });
    // Leaving the field after typing keeps the value within 0.5 to 14, and the field shows what is stored. A field
    // only passed through stores nothing.
    connect(box.steps, &QLineEdit::editingFinished, this, [this, n] {
        Box& left = boxes_[static_cast<std::size_t>(n)];
        if (left.stepsTyped) {
            left.stepsTyped = false;
            const int halves = std::clamp(left.steps->readHalves(), MinHalfSteps, MaxHalfSteps);
            storeSteps(n, halves);
            left.steps->writeHalves(halves);
        }
        endEditBurst();
    });
    grid->addWidget(box.stepsLabel, 2, 0);
    grid->addWidget(box.steps, 2, 1, Qt::AlignLeft);

    box.sequenceLabel = new QLabel(box.group);
    box.sequence = new CLinkStatic(box.group);
    box.sequence->setObjectName(QStringLiteral("sequenceLink%1").arg(n + 1));
    box.sequenceLabel->setBuddy(box.sequence);
    connect(box.sequence, &CLinkStatic::clicked, this, [this, n] { chooseSequence(n); });
    grid->addWidget(box.sequenceLabel, 0, 2);
    grid->addWidget(box.sequence, 0, 3, Qt::AlignLeft);

    box.priorityLabel = new QLabel(box.group);
    box.priority = field(QStringLiteral("priority"), 1, 16, 2);
    box.priorityLabel->setBuddy(box.priority);
    connect(box.priority, &QLineEdit::textEdited, this, [this, n] {
        const auto p = static_cast<std::uint8_t>(boxes_[static_cast<std::size_t>(n)].priority->readInteger() - 1);
        editProgram(n, EntryField::Priority, [p](ScheduleProgram& s, int i) { s.setPriority(i, p); });
    });
    fieldDone(box.priority);
    grid->addWidget(box.priorityLabel, 1, 2);
    grid->addWidget(box.priority, 1, 3, Qt::AlignLeft);

    box.daysLabel = new QLabel(box.group);
    box.days = field(QStringLiteral("days"), 1, 9, 1);
    box.daysLabel->setBuddy(box.days);
    connect(box.days, &QLineEdit::textEdited, this, [this, n] {
        const auto d = static_cast<std::uint8_t>(boxes_[static_cast<std::size_t>(n)].days->readInteger());
        editProgram(n, EntryField::Days, [d](ScheduleProgram& s, int i) { s.setDays(i, d); });
    });
    fieldDone(box.days);
    grid->addWidget(box.daysLabel, 2, 2);
    grid->addWidget(box.days, 2, 3, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // Tab goes through the box row by row: start, sequence, end, priority, steps, days.
    setTabOrder(box.start[2], box.sequence);
    setTabOrder(box.sequence, box.end[0]);
    setTabOrder(box.end[2], box.priority);
    setTabOrder(box.priority, box.steps);
    setTabOrder(box.steps, box.days);
}

void CPropPogSpec::reload(int) {
    for (int n = 0; n < BoxCount; ++n) {
        showBox(n);
    }
}

void CPropPogSpec::focusRecord(IssueRecord kind, int record) {
    if (kind == IssueRecord::ProgramEntry && record >= 0 && record < BoxCount) {
        CFireEdit* hour = boxes_[static_cast<std::size_t>(record)].start[0];
        hour->setFocus(Qt::OtherFocusReason);
        hour->selectAll();
    }
}

void CPropPogSpec::refreshMarks() {
    for (int n = 0; n < BoxCount; ++n) {
        showMarks(n);
    }
}

QString CPropPogSpec::sequenceText(const ProgramEntry& e) const {
    const int index = e.sequenceIndex();
    if (!project() || index >= SequenceTable::Count || !project()->sequences().isUsed(index)) {
        return text(text::NotChosen);
    }
    return QString::fromStdString(sequenceName(index, context().texts));
}

void CPropPogSpec::showBox(int n) {
    Box& box = boxes_[static_cast<std::size_t>(n)];
    box.group->setEnabled(project() != nullptr);
    if (!project()) {
        return;
    }
    const ProgramEntry& e = project()->program(SpecialTolling).entry(n);
    const std::array<int, 3> start{e.hour(), e.minute(), e.second()};
    const std::array<int, 3> end{e.time2Hour(), e.time2Minute(), e.time2Second()};
    for (std::size_t part = 0; part < 3; ++part) {
        setItemTwoDigits(box.start[part], start[part]);
        setItemTwoDigits(box.end[part], end[part]);
    }
    box.steps->writeHalves(e.steps());
    box.stepsTyped = false;
    box.sequence->setText(sequenceText(e));
    box.sequence->setAccessibleName(text(text::Sequence) + QLatin1String(": ") + sequenceText(e));
    setItemTwoDigits(box.priority, e.priority() + 1);
    box.days->setText(QString::asprintf("%.1d", e.days()));
    showMarks(n);
}

void CPropPogSpec::showMarks(int n) {
    Box& box = boxes_[static_cast<std::size_t>(n)];
    const ScheduleProgram* s = project() ? &project()->program(SpecialTolling) : nullptr;
    const auto marked = [&](EntryField f) { return s != nullptr && s->isMarked(n, f); };
    const QString changed = text(text::ChangedDescription);
    const auto show = [&](QWidget* w, bool on, bool option) {
        if (option) {
            markChangedOption(w, on);
        } else {
            markChangedField(w, on);
        }
        w->setAccessibleDescription(on ? changed : QString());
    };
    for (std::size_t part = 0; part < 3; ++part) {
        show(box.start[part], marked(StartFields[part]), false);
        show(box.end[part], marked(EndFields[part]), false);
    }
    show(box.steps, marked(EntryField::Steps), false);
    show(box.sequence, marked(EntryField::Sequence), true);
    show(box.priority, marked(EntryField::Priority), false);
    show(box.days, marked(EntryField::Days), false);
}

void CPropPogSpec::editProgram(int n, EntryField field, const std::function<void(ScheduleProgram&, int)>& change) {
    if (!project()) {
        return;
    }
    edit({text::EditSpecialStep, {static_cast<long long>(n + 1)}},
         {SectionId::SpecialTolling, n, static_cast<int>(field)},
         [&](ProjectData& p) { change(p.program(SpecialTolling), n); });
    showMarks(n);
}

void CPropPogSpec::storeTime(int n, bool end) {
    const std::array<CFireEdit*, 3>& fields =
        end ? boxes_[static_cast<std::size_t>(n)].end : boxes_[static_cast<std::size_t>(n)].start;
    const auto h = static_cast<std::uint8_t>(fields[0]->readInteger());
    const auto m = static_cast<std::uint8_t>(fields[1]->readInteger());
    const auto sec = static_cast<std::uint8_t>(fields[2]->readInteger());
    std::size_t part = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        part = fields[i]->hasFocus() ? i : part;
    }
    editProgram(n, end ? EndFields[part] : StartFields[part], [=](ScheduleProgram& s, int i) {
        if (end) {
            s.setTime2(i, h, m, sec);
        } else {
            s.setTime(i, h, m, sec);
        }
    });
}

void CPropPogSpec::storeSteps(int n, int halves) {
    const auto stored = static_cast<std::uint8_t>(std::clamp(halves, 0, 255));
    editProgram(n, EntryField::Steps, [stored](ScheduleProgram& s, int i) { s.setSteps(i, stored); });
}

void CPropPogSpec::chooseSequence(int n) {
    if (!project()) {
        return;
    }
    CSelSekwDlg chooser(project(), project()->program(SpecialTolling).entry(n).sequenceIndex(), context().texts,
                        context().prompts, this);
    if (context().dialogs.run(chooser) != QDialog::Accepted || chooser.chosenIndex() < 0) {
        return;
    }
    const auto index = static_cast<std::uint8_t>(chooser.chosenIndex());
    endEditBurst();
    editProgram(n, EntryField::Sequence, [index](ScheduleProgram& s, int i) { s.setSequenceIndex(i, index); });
    endEditBurst();
    showBox(n);
}

void CPropPogSpec::refreshTexts() {
    for (int n = 0; n < BoxCount; ++n) {
        Box& box = boxes_[static_cast<std::size_t>(n)];
        const QString title = text(text::SpecialTolling) + QLatin1Char(' ') + QString::number(n + 1);
        box.group->setTitle(title);
        box.startLabel->setText(text(text::SpecialStart) + QLatin1Char(':'));
        box.endLabel->setText(text(text::SpecialEnd) + QLatin1Char(':'));
        box.startHint->setText(text(text::TimeHint));
        box.endHint->setText(text(text::TimeHint));
        const std::array<int, 3> parts{text::HourField, text::MinuteField, text::SecondField};
        for (std::size_t part = 0; part < 3; ++part) {
            box.start[part]->setAccessibleName(title + QLatin1String(", ") + text(text::SpecialStart) +
                                               QLatin1String(", ") + text(parts[part]));
            box.end[part]->setAccessibleName(title + QLatin1String(", ") + text(text::SpecialEnd) +
                                             QLatin1String(", ") + text(parts[part]));
        }
        box.stepsLabel->setText(text(text::SpecialSteps) + QLatin1Char(':'));
        box.steps->setAccessibleName(title + QLatin1String(", ") + text(text::SpecialSteps));
        box.sequenceLabel->setText(text(text::Sequence) + QLatin1Char(':'));
        box.priorityLabel->setText(text(text::SpecialPriority) + QLatin1Char(':'));
        box.priority->setAccessibleName(title + QLatin1String(", ") + text(text::SpecialPriority));
        box.daysLabel->setText(text(text::NumberOfDays) + QLatin1Char(':'));
        box.days->setAccessibleName(title + QLatin1String(", ") + text(text::NumberOfDays));
    }
    reload();
}

} // namespace tolvane
