#pragma once

#include "gui/app/CDataPage.h"
#include "gui/app/IconStrip.h"

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace tolvane {

class CFireEdit;
class CSwietaModel;
class HolidayTable;

// The holiday table: up to 128 named days that holiday programs ring on, each a fixed date every year or a number
// of days before or after the movable feasts' reference day. Add puts a new movable holiday in the first free slot
// and the keyboard into its name; Delete frees the selected slots without asking, and says how many holiday
// programs referred to them (they keep the slot, and the report lists them until they get another holiday). The
// editor of the one selected holiday stores every change as it is typed: the name cut to what the controller's
// display shows, the days, the kind, the date or the offset. The list keeps slot order; it is never sorted.
//
// Keyboard: Insert adds, Delete deletes (only while the list has the focus), Enter goes into the name field,
// Escape back to the list.
class CPropSwieta : public CDataPage {
    Q_OBJECT
public:
    static constexpr int PageLimit = 128;

    explicit CPropSwieta(AppContext& context, QWidget* parent = nullptr);

    // Reads the table again and selects the holiday in `slot` (the last used one before it when it is free).
    void reload(int slot = 0) override;
    void refreshTexts() override;
    void showItem(bool single, int row) override;
    void onSelectionChanged() override;
    void refreshMarks() override;

    // Selects the holiday in `slot` and gives the list the keyboard focus (another page sent the user here).
    void showHoliday(int slot);

    QTableView* list() const { return list_; }
    CSwietaModel* model() const { return model_; }

private:
    enum Field { NameField, DaysField, KindField, DateField, OffsetField, ListAction = 100 };

    const HolidayTable* holidays() const;
    int shownSlot() const;
    // One change of the shown holiday as one undo step (merged while the user types on in the same field).
    // The step is captioned with the holiday's name, `caption` when given.
    void editShown(Field field, const std::function<void(HolidayTable&, int)>& change, const std::string& caption = {});

    void addHoliday();
    void deleteSelected();
    void nameEdited(const QString& typed);
    void daysEdited();
    void kindChosen(bool movable);
    void dateEdited();
    void offsetEdited(const QString& typed);

    void showHolidayValues(int slot);
    void showKindControls(bool movable);
    void showMarks();

    IconStrip buttonIcons_;
    CSwietaModel* model_;
    QPushButton* add_;
    QPushButton* delete_;
    QTableView* list_;
    QWidget* editor_;
    QLabel* nameLabel_;
    QLineEdit* name_;
    QLabel* daysLabel_;
    CFireEdit* days_;
    QRadioButton* fixed_;
    QRadioButton* movable_;
    CFireEdit* day_;
    QLabel* dot_;
    CFireEdit* month_;
    QLabel* dateHint_;
    QLineEdit* offset_;
    QLabel* offsetDays_;
    bool writingName_ = false;
};

} // namespace tolvane
