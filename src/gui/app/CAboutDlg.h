#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tolvane {

struct AppContext;

// The About box: the product name, the version, the firmware generations this editor serves and a link to the
// maker's web site.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static inline const QString Version = QStringLiteral("V 1.41.2");
    static inline const QString MakerAddress = QStringLiteral("https://nesmar.example/tolvane");

    explicit CAboutDlg(AppContext& context, QWidget* parent = nullptr);

    QPushButton* okButton() const { return ok_; }
    QLabel* link() const { return link_; }

private:
    QPushButton* ok_;
    QLabel* link_;
};

} // namespace tolvane
