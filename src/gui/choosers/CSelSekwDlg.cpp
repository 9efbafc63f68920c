#include "gui/choosers/CSelSekwDlg.h"

#include "project/ProjectData.h"
#include "project/SequenceName.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace tolvane {

CSelSekwDlg::CSelSekwDlg(const ProjectData* project, int currentIndex, const TextSource& texts, PromptService& prompts,
                         QWidget* parent)
    : ChooserDialog(TitleText, texts, prompts, parent) {
    auto* sequences = new ChooserList;
    sequences->setColumnCount(2);
    sequences->setHeaderHidden(true);
    sequences->header()->setStretchLastSection(false);
    sequences->setColumnWidth(0, NameColumnWidth);
    sequences->setColumnWidth(1, TotalColumnWidth);
    setList(sequences);

    const SequenceTable* table = project != nullptr ? &project->sequences() : nullptr;
    QTreeWidgetItem* current = nullptr;
    if (table != nullptr) {
        for (int i = 0; i < SequenceTable::Count; ++i) {
            if (!table->isUsed(i)) {
                continue;
            }
            auto* row = new QTreeWidgetItem(sequences, {QString::fromStdString(sequenceName(i, texts)),
                                                        QString::fromStdString(table->totalText(i))});
            row->setData(0, Qt::UserRole, i);
            if (i == currentIndex) {
                current = row;
            }
        }
    }
    if (sequences->topLevelItemCount() == 0) {
        // One row that says why there is nothing to choose.
        auto* why = new QTreeWidgetItem(sequences, {text(table != nullptr ? NoSequencesText : NoProjectText)});
        why->setFlags(Qt::ItemIsEnabled);
        why->setFirstColumnSpanned(true);
        sequences->setEnabled(false);
        okButton()->setEnabled(false);
        okButton()->setDefault(false);
    }
    preselect(current);
    resize(sizeHint().expandedTo(QSize(NameColumnWidth + TotalColumnWidth + 60, 240)));
}

int CSelSekwDlg::chosenIndex() const {
    const QTreeWidgetItem* row = selectedItem();
    return row != nullptr ? row->data(0, Qt::UserRole).toInt() : -1;
}

} // namespace tolvane
