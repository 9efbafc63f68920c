#include "gui/choosers/CSelMlotek.h"

#include "project/TextFormat.h"
#include "schedules/HammerChoice.h"

#include <QTreeWidget>

namespace tolvane {

CSelMlotek::CSelMlotek(bool allowNone, std::uint8_t current, const TextSource& texts, PromptService& prompts,
                       QWidget* parent)
    : ChooserDialog(TitleText, texts, prompts, parent) {
    auto* hammers = new ChooserList;
    hammers->setColumnCount(1);
    hammers->setHeaderHidden(true);
    setList(hammers);

    QTreeWidgetItem* preselected = nullptr;
    if (allowNone) {
        auto* none = new QTreeWidgetItem(hammers, {text(NoneText)});
        none->setData(0, Qt::UserRole, None);
        if (current == None) {
            preselected = none;
        }
    }
    for (int index = 0; index < HammerCount; ++index) {
        const std::string name = formatText(texts.text(HammerText), {static_cast<long long>(index) + 1});
        auto* row = new QTreeWidgetItem(hammers, {QString::fromStdString(name)});
        row->setData(0, Qt::UserRole, index);
        if (current == index) {
            preselected = row;
        }
    }
    preselect(preselected);
    resize(sizeHint().expandedTo(QSize(220, 200)));
}

std::uint8_t CSelMlotek::chosen() const {
    const QTreeWidgetItem* row = selectedItem();
    return row != nullptr ? static_cast<std::uint8_t>(row->data(0, Qt::UserRole).toInt()) : None;
}

} // namespace tolvane
