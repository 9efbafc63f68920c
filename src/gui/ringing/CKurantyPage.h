#pragma once

#include "gui/app/CDataPage.h"

class QLabel;
class QLineEdit;
class QTableView;

namespace tolvane {

class CKurantyModel;

// The chimes page: the 300 melody slots of the controller's card with their names. Selecting one slot shows its
// name in the field below the list, where it is edited; every keystroke is stored at once (one undo step per
// burst of typing). Keyboard: the arrow keys, Home/End and Page Up/Down move through the list, Enter goes into the
// name field and Escape back to the list.
class CKurantyPage : public CDataPage {
    Q_OBJECT
public:
    static constexpr int NameWidth = 220;
    static constexpr int NumberWidth = 50;

    explicit CKurantyPage(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;
    void showItem(bool single, int item) override;
    void onSelectionChanged() override;
    void refreshMarks() override;

    QTableView* list() const { return list_; }
    QLineEdit* nameField() const { return name_; }
    CKurantyModel* model() const { return model_; }

private:
    void nameEdited(const QString& typed);
    void showNameMark();

    CKurantyModel* model_;
    QTableView* list_;
    QLabel* nameLabel_;
    QLineEdit* name_;
};

} // namespace tolvane
