#pragma once

#include "launcher/LauncherContext.h"
#include "platform/EditorLauncher.h"
#include "platform/LauncherTexts.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace tolvane {

// The launcher's main dialog: five large buttons (New, Open, Card, DAT, Close) with captions in the language the
// editor was last used in. Each button asks what it needs (version, project file, card, folder), finds the editor
// version that fits and starts it; after a start the dialog closes, after a message it stays open. Closing, in
// any way, writes the last chosen firmware label back to the settings.
class CTolvaneManagerDlg : public QDialog {
    Q_OBJECT

public:
    enum class Action { New, Open, Card, Dat, Close };
    static constexpr int ActionCount = 5;

    explicit CTolvaneManagerDlg(LauncherContext context, QWidget* parent = nullptr);

    // The automatic start of a launcher whose program file is named like a version: "1.41.exe" on Windows, and on
    // any platform a name whose part before its last extension is a version ("1.41.run", a link to the launcher),
    // since a plain "1.41" cannot sit beside the folder of that name. Starts that version's editor without
    // parameters; true when it started (the dialog is then closed). Any other name does nothing.
    bool startAutomatically(const QString& programFileName);

    QPushButton* button(Action action) const { return buttons_[static_cast<std::size_t>(action)]; }
    QLabel* caption(Action action) const { return captions_[static_cast<std::size_t>(action)]; }
    const LauncherTexts& texts() const { return texts_; }
    // The firmware label New offers first and the settings get back on closing.
    QString currentLabel() const { return currentLabel_; }
    // What the last start attempt came to.
    const EditorLauncher::Result& lastResult() const { return lastResult_; }

    void onNew();
    void onOpen();
    void onCard();
    void onDat();

    void done(int result) override;

private:
    int run(QDialog& dialog);
    // Shows the message the outcome asks for, or closes the dialog after a start. True when the editor started.
    bool finish(const EditorLauncher::Result& result);

    // F1: the launcher's section of the user guide.
    void keyPressEvent(QKeyEvent* event) override;

    LauncherContext context_;
    LauncherTexts texts_;
    QString currentLabel_;
    EditorLauncher launcher_;
    EditorLauncher::Result lastResult_;
    std::array<QPushButton*, ActionCount> buttons_{};
    std::array<QLabel*, ActionCount> captions_{};
};

} // namespace tolvane
