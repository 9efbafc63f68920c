#include "gui/sequences/CSelKrok.h"

#include "ringing/SequenceTable.h"
#include "ringing/StepEditing.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace tolvane {

CSelKrok::CSelKrok(const SequenceTable& table, int sequence, const std::vector<int>& steps, bool forFirst, int current,
                   const TextSource& texts, PromptService& prompts, QWidget* parent)
    : ChooserDialog(forFirst ? FirstTitleText : LastTitleText, texts, prompts, parent) {
    auto* list = new ChooserList;
    list->setObjectName(QStringLiteral("stepChooserList"));
    list->setColumnCount(2);
    list->setHeaderHidden(true);
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(0, NumberColumnWidth);
    list->setColumnWidth(1, StepColumnWidth);
    setList(list);

    QTreeWidgetItem* preselected = nullptr;
    for (int step : steps) {
        auto* row = new QTreeWidgetItem(
            list, {QString::fromStdString(stepediting::stepNumberText(step)),
                   QString::fromStdString(SequenceTable::stepText(table.record(sequence).step(step), texts))});
        row->setData(0, Qt::UserRole, step);
        if (step == current) {
            preselected = row;
        }
    }
    preselect(preselected);
    resize(sizeHint().expandedTo(QSize(NumberColumnWidth + StepColumnWidth + 60, 240)));
}

int CSelKrok::chosenStep() const {
    const QTreeWidgetItem* row = selectedItem();
    return row != nullptr ? row->data(0, Qt::UserRole).toInt() : -1;
}

} // namespace tolvane
