#pragma once

#include "gui/app/CDataPage.h"
#include "platform/RemoveOnSignal.h"
#include "report/PrintDocument.h"

#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tolvane {

// The print page: the ringing programs as a list (one table row per program) or in detail (every setting of each
// program), with "Whole configuration" followed by everything else an installer set up. Print writes Print.html,
// with the style sheet and icons it refers to, into the editor's own folder of this run and opens it with the
// desktop's program for HTML, from which the user prints. Export PDF writes the whole configuration as an A4 PDF
// where the user chooses, the record left in the tower and sent to the parish. The page changes nothing in the
// project. Keyboard: Tab goes from the format to the box and the buttons, the arrow keys choose the format, Space
// ticks the box, Space or Enter presses a button.
class CPropDruk : public CDataPage {
    Q_OBJECT
public:
    explicit CPropDruk(AppContext& context, QWidget* parent = nullptr);

    void refreshTexts() override;

    PrintFormat format() const { return format_; }
    QRadioButton* listRadio() const { return list_; }
    QRadioButton* detailsRadio() const { return details_; }
    QPushButton* printButton() const { return print_; }
    QCheckBox* wholeConfigurationBox() const { return whole_; }
    QPushButton* exportPdfButton() const { return exportPdf_; }

private:
    void print();
    void exportPdf();
    // Where the chooser starts: beside the project file with its name, else in the last folder used.
    QString suggestedPdfPath() const;
    // The printout stays in the run folder until the editor ends; a signal that ends it removes the printout with
    // the folder.
    void guardPrintout(const QString& document);
    QString formatted(int textId, const QString& argument) const;

    PrintFormat format_ = PrintFormat::List;
    QGroupBox* formatGroup_;
    QRadioButton* list_;
    QRadioButton* details_;
    QCheckBox* whole_;
    QPushButton* print_;
    QPushButton* exportPdf_;
    QLabel* pdfHolds_;
    std::vector<RemoveOnSignal> guards_;
};

} // namespace tolvane
