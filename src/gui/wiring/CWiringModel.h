#pragma once

#include "gui/app/CListModel.h"
#include "ringing/Wiring.h"

#include <QColor>

#include <functional>
#include <vector>

namespace tolvane {

class ProjectData;
class TextSource;

// The wiring table under the cross-connection page's groups: one row per terminal and what is connected to it
// (terminal, what it drives or does, which bell, hammer, clock or sequence). A terminal whose wiring changed is
// drawn on light green, a relay that drives more than one function in the warning colour with a tip naming the
// functions; both are said in the accessible description too. The rows are read again on refresh().
class CWiringModel : public CListModel {
    Q_OBJECT
public:
    static constexpr int TerminalColumn = 0;
    static constexpr int DoesColumn = 1;
    static constexpr int WhichColumn = 2;
    static constexpr QRgb ChangedColor = 0xffbbffbb; // RGB(0xBB, 0xFF, 0xBB)
    static constexpr QRgb WarningColor = 0xffff7f80; // RGB(255, 127, 128), as a value out of range

    CWiringModel(std::function<const ProjectData*()> project, const TextSource& texts, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Reads the wiring of the project again (rows may come and go); after a language change only the texts.
    void refresh();
    void textsChanged();

    // The warning a relay's functions give (text 2157), empty when it drives at most one.
    static QString sharedRelayWarning(const OutputMap& map, int relay, const TextSource& texts);

private:
    QString label(const LabelText& label) const;

    std::function<const ProjectData*()> project_;
    const TextSource& texts_;
    std::vector<WiringLine> lines_;
};

} // namespace tolvane
