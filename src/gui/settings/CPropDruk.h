#pragma once

#include "gui/app/CDataPage.h"
#include "platform/RemoveOnSignal.h"
#include "report/PrintDocument.h"

#include <vector>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace tolvane {

// The print page: the ringing programs as a list (one table row per program) or in detail (every setting of each
// program). Print writes Print.html, with the style sheet and icons it refers to, into the editor's own folder of
// this run and opens it with the desktop's program for HTML, from which the user prints. The page changes nothing
// in the project. Keyboard: Tab goes from the format to the button, the arrow keys choose the format, Space or
// Enter presses the button.
class CPropDruk : public CDataPage {
    Q_OBJECT
public:
    // Catalog texts of the page.
    static constexpr int TextFormatGroup = 2340;
    static constexpr int TextWriteFailed = 2341; // "%s": the document's path
    static constexpr int TextOpenFailed = 2342;  // "%s": the document's path

    explicit CPropDruk(AppContext& context, QWidget* parent = nullptr);

    void refreshTexts() override;

    PrintFormat format() const { return format_; }
    QRadioButton* listRadio() const { return list_; }
    QRadioButton* detailsRadio() const { return details_; }
    QPushButton* printButton() const { return print_; }

private:
    void print();
    // The printout stays in the run folder until the editor ends; a signal that ends it removes the printout with
    // the folder.
    void guardPrintout(const QString& document);
    QString formatted(int textId, const QString& argument) const;

    PrintFormat format_ = PrintFormat::List;
    QGroupBox* formatGroup_;
    QRadioButton* list_;
    QRadioButton* details_;
    QPushButton* print_;
    std::vector<RemoveOnSignal> guards_;
};

} // namespace tolvane
