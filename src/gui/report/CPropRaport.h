#pragma once

#include "gui/app/CDataPage.h"
#include "gui/app/IconStrip.h"
#include "gui/app/PageTable.h"
#include "report/IssueTarget.h"

#include <array>
#include <optional>

class QButtonGroup;
class QLabel;
class QRadioButton;
class QTableView;

namespace tolvane {

class CRaportModel;

// The report page: every issue the project check finds, one row each, with its severity icon, what is wrong and
// where. The page checks the project whenever it is shown and after every change while it is shown. A filter
// shows all issues or one severity, each choice with its count. A double click or Enter on a row brings the page
// that edits the cause to the front with its record selected (or its setting focused), so the user fixes it
// there; the report item of the tree stops blinking once no critical error or warning is left.
class CPropRaport : public CDataPage {
    Q_OBJECT
public:
    // The filter's choices: every issue, or the issues of one severity.
    static constexpr int ShowAll = -1;

    explicit CPropRaport(AppContext& context, QWidget* parent = nullptr);

    // Checks the project and lists what it finds; selects row `item` (the last row when there are fewer).
    void reload(int item = 0) override;
    // Every change is checked at once, the row the user was on kept.
    void followChange(const ProjectChange& change) override;
    void refreshTexts() override;

    QTableView* list() const { return list_; }
    CRaportModel* model() const { return model_; }
    // The filter button of `severity` (ShowAll or 0-2).
    QRadioButton* filterButton(int severity) const;
    int shownSeverity() const { return shown_; }
    void setShownSeverity(int severity);
    QLabel* statusLabel() const { return status_; }

    // The editor's page of a report target; none for a target without a page.
    static std::optional<PageId> pageOf(IssuePage page);
    // Brings the page of `target` to the front with its record selected (or its setting focused) and the
    // keyboard there: the jump of a report row, also used by the list of differences.
    static void openTarget(CTarvelinView& view, const IssueTarget& target);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Brings the cause of the issue in row `row` to the front.
    void openIssue(int row);
    void showCounts();
    void showFilterFocus();
    void showStatus();
    QString formatted(int textId, int number) const;

    IconStrip severityIcons_;
    CRaportModel* model_;
    QLabel* filterCaption_;
    std::array<QRadioButton*, 4> filters_{}; // all, critical errors, warnings, notes
    QButtonGroup* filterGroup_;
    QTableView* list_;
    QLabel* status_;
    int shown_ = ShowAll;
    std::array<int, 3> counts_{};
};

} // namespace tolvane
