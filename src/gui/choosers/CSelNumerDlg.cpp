#include "gui/choosers/CSelNumerDlg.h"

#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "schedules/ProgramEntryText.h"
#include "schedules/ProgramNumbers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QTreeWidget>

namespace tolvane {

namespace {

// The list of numbers, row n - 1 for number n. Typed digits make a number and select it: "1", "2" within the
// keyboard interval jump to 12; a digit that would go beyond 512, or one typed after a pause, starts again.
class NumberList final : public ChooserList {
public:
    void keyboardSearch(const QString& search) override {
        if (search.size() != 1 || !search.front().isDigit()) {
            return;
        }
        if (!typing_.isValid() || typing_.elapsed() > QApplication::keyboardInputInterval()) {
            typed_.clear();
        }
        typing_.start();
        typed_ += search;
        if (typed_.toInt() > MaxProgramNumber) {
            typed_ = search;
        }
        const int number = typed_.toInt();
        if (number >= 1 && number <= topLevelItemCount()) {
            QTreeWidgetItem* row = topLevelItem(number - 1);
            setCurrentItem(row);
            scrollToItem(row);
        }
    }

private:
    QString typed_;
    QElapsedTimer typing_;
};

// The mark of a used number: a filled dark red dot (the row says "used by" in words too).
QIcon usedMark() {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xa0, 0, 0));
    painter.drawEllipse(QRectF(1, 1, 10, 10));
    painter.end();
    return QIcon(pixmap);
}

} // namespace

int CSelNumerDlg::kindCaptionText(int kind) {
    switch (kind) {
    case Weekly:
        return 159;
    case HolidayDay:
        return 161;
    case Annual:
        return 160;
    case OneTime:
        return 162;
    default:
        return 0;
    }
}

CSelNumerDlg::CSelNumerDlg(const ProjectData& project, int currentNumber, const TextSource& texts,
                           PromptService& prompts, QWidget* parent)
    : ChooserDialog(TitleText, texts, prompts, parent) {
    auto* numbers = new NumberList;
    numbers->setColumnCount(2);
    numbers->setHeaderLabels({text(NumberColumnText), text(UsedByColumnText)});
    numbers->header()->setSectionsMovable(false);
    numbers->setColumnWidth(0, 90);
    setList(numbers);

    const ScheduleProgram* programs[] = {&project.program(Weekly), &project.program(HolidayDay),
                                         &project.program(Annual), &project.program(OneTime)};
    const ProgramNumberUses uses = programNumberUses(programs);
    const QIcon mark = usedMark();
    const QString free = text(FreeText);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(MaxProgramNumber);
    for (int number = 1; number <= MaxProgramNumber; ++number) {
        QStringList holders;
        for (const ProgramNumberUser& user : uses[static_cast<std::size_t>(number)]) {
            const ProgramEntry& entry = project.program(user.kind).entry(user.entry);
            holders << QStringLiteral("%1 %2").arg(text(kindCaptionText(user.kind)),
                                                   QString::fromStdString(ProgramEntryText::time(entry)));
        }
        const QString shown = QString::asprintf("%.3d", number);
        const QString usedBy = holders.join(QStringLiteral("; "));
        auto* row = new QTreeWidgetItem({shown, holders.isEmpty() ? free : usedBy});
        row->setData(0, Qt::UserRole, number);
        row->setData(0, UsedRole, !holders.isEmpty());
        const QString state = holders.isEmpty()
                                  ? free
                                  : QString::fromStdString(formatText(texts.text(UsedByText), {usedBy.toStdString()}));
        row->setData(0, Qt::AccessibleTextRole, QStringLiteral("%1, %2").arg(shown, state));
        if (!holders.isEmpty()) {
            row->setIcon(0, mark);
        } else {
            row->setForeground(1, palette().brush(QPalette::Disabled, QPalette::Text));
        }
        rows << row;
    }
    numbers->addTopLevelItems(rows);
    if (currentNumber >= 1 && currentNumber <= MaxProgramNumber) {
        preselect(numbers->topLevelItem(currentNumber - 1));
    }
    resize(QSize(420, 420));
}

int CSelNumerDlg::chosenNumber() const {
    const QTreeWidgetItem* row = selectedItem();
    return row != nullptr ? row->data(0, Qt::UserRole).toInt() : 0;
}

} // namespace tolvane
