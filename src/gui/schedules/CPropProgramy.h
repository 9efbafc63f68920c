#pragma once

#include "gui/app/CDataPage.h"

#include <array>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tolvane {

// The program overview: for the weekly, holiday, annual and one-time programs how many of the 128 entries are
// used, what the kind is for, and a ">>" button that brings its page to the front.
class CPropProgramy : public CDataPage {
    Q_OBJECT
public:
    static constexpr int Rows = 4;

    explicit CPropProgramy(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;

    QLabel* title(int row) const { return rows_[static_cast<std::size_t>(row)].title; }
    QProgressBar* bar(int row) const { return rows_[static_cast<std::size_t>(row)].bar; }
    QPushButton* opener(int row) const { return rows_[static_cast<std::size_t>(row)].open; }

private:
    struct Row {
        QLabel* title = nullptr;
        QProgressBar* bar = nullptr;
        QLabel* description = nullptr;
        QPushButton* open = nullptr;
    };
    std::array<Row, Rows> rows_{};
};

} // namespace tolvane
