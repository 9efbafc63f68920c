#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QDialogButtonBox;
class QLabel;

namespace tolvane {

struct AppContext;

// The program settings dialog: the program's language, chosen from the catalogs in the Language folder. OK stores
// the choice as "LastLang" and writes the settings; when the language changed it says so (text 656) and has the
// new language applied.
class CProgramSet : public QDialog {
    Q_OBJECT
public:
    CProgramSet(AppContext& context, std::function<void()> applyLanguage, QWidget* parent = nullptr);

    QComboBox* languageList() const { return languages_; }
    QLabel* noLanguagesLabel() const { return noLanguages_; }
    QDialogButtonBox* buttons() const { return buttons_; }

    void accept() override;

private:
    QString text(int id) const;

    AppContext& context_;
    std::function<void()> applyLanguage_;
    QComboBox* languages_;
    QLabel* noLanguages_;
    QDialogButtonBox* buttons_;
};

} // namespace tolvane
