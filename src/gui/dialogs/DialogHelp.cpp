#include "gui/dialogs/DialogHelp.h"

#include <QMetaObject>

#include <cstring>

namespace tolvane {

namespace {

const DialogHelpRow Rows[] = {
    {"tolvane::CDzwonEdyDlg", "bell-editor"},      {"tolvane::CMlotekEdy", "hammer-editor"},
    {"tolvane::CZegarEdyDlg", "clock-editor"},     {"tolvane::CSeqElemDlg", "step-editor"},
    {"tolvane::CSelKrok", "choosers#step"},        {"tolvane::CSelSekwDlg", "choosers#sequence"},
    {"tolvane::CSelMlotek", "choosers#hammer"},    {"tolvane::CSelNumerDlg", "choosers#number"},
    {"tolvane::CSelectDzwonDlg", "choosers#bell"}, {"tolvane::CSelectPKDlg", "choosers#relay"},
    {"tolvane::CSelectWeDlg", "choosers#input"},   {"tolvane::CSelOut", "choosers#terminals"},
    {"tolvane::CSelIn", "choosers#terminals"},     {"tolvane::CSelPowr", "choosers#terminals"},
};

} // namespace

std::span<const DialogHelpRow> dialogHelpTable() {
    return Rows;
}

QString dialogHelpTopic(const QMetaObject* type) {
    for (; type; type = type->superClass()) {
        for (const DialogHelpRow& row : Rows) {
            if (std::strcmp(row.className, type->className()) == 0) {
                return QString::fromLatin1(row.topic);
            }
        }
    }
    return QStringLiteral("index");
}

} // namespace tolvane
