#pragma once

#include "report/ProjectDifference.h"
#include "section/TextSource.h"

#include <QDialog>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

namespace tolvane {

class CTarvelinView;
class ProjectData;
struct AppContext;

// The list of differences between two projects: what the card (or another project file) holds against the open
// project, one row per difference with its area, record, field and both values, as the pages show them. An area
// filter narrows the list; a double click or Enter on a row closes the dialog with that row chosen, and the
// opener brings its page and record to the front as the report does (chosen()).
class CPorownanieDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int AreaFilterText = 2516;
    static constexpr int AllAreasText = 2517;
    static constexpr int HintText = 2521;
    static constexpr int CloseText = 108;

    CPorownanieDlg(std::vector<Difference> differences, const QString& beforeName, const QString& afterName,
                   const TextSource& texts, QWidget* parent = nullptr);

    QTableWidget* list() const { return list_; }
    QComboBox* areaFilter() const { return filter_; }
    // The difference whose row was chosen, when the dialog was closed by choosing one.
    const Difference* chosen() const;
    // Where the chosen row leads in the second project (the open one): its page and record there.
    std::optional<IssueTarget> chosenTarget() const;

    // The differences of the open project against the card files in `folder` (as the editor reads a card), or
    // against another project: before is the other side, after the open project. Empty and a message text number
    // when the other side cannot be read.
    static std::vector<Difference> againstFolder(const ProjectData& project, const QString& folder,
                                                 const TextSource& texts, int& failureText);
    static std::vector<Difference> againstFile(const ProjectData& project, const QString& path,
                                               const TextSource& texts, int& failureText);

    // Shows the differences through the dialog service and, when a row was chosen, brings its page and record
    // to the front in `view`. True when a row was chosen.
    static bool showAndOpen(AppContext& context, CTarvelinView* view, QWidget* owner,
                            std::vector<Difference> differences, const QString& beforeName, const QString& afterName);

private:
    void fill();
    void choose(int row);

    std::vector<Difference> differences_;
    const TextSource& texts_;
    QComboBox* filter_;
    QTableWidget* list_;
    QLabel* summary_;
    std::vector<int> shown_; // the difference of each row
    int chosen_ = -1;
};

} // namespace tolvane
