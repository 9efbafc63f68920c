#pragma once

#include "gui/app/AppContext.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "project/TextFormat.h"
#include "report/WiringText.h"

#include <QLabel>
#include <QString>

namespace tolvane::editorsupport {

// A catalog label (a relay, an input, a bell) as text.
inline QString labelString(const AppContext& context, const LabelText& label) {
    return QString::fromStdString(labelText(label, context.texts));
}

// A catalog text filled with one number ("Bell %d").
inline QString numbered(const AppContext& context, int textId, int number) {
    return QString::fromStdString(formatText(context.texts.text(textId), {TextArg{static_cast<long long>(number)}}));
}

// A numeric field named `name`, set up as the editors use it.
inline CFireEdit* numberField(QWidget* parent, const char* name, double lower, double upper, int width,
                              bool decimal = false) {
    auto* field = new CFireEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setUp(lower, upper, width, true, decimal);
    return field;
}

// A link value named `name`; its caption names it for screen readers.
inline CLinkStatic* linkValue(QWidget* parent, const char* name, QLabel* caption) {
    auto* link = new CLinkStatic(parent);
    link->setObjectName(QString::fromLatin1(name));
    if (caption) {
        caption->setBuddy(link);
    }
    return link;
}

// A value in tenths as a decimal field shows it ("%.1f").
inline QString tenthsText(int tenths) {
    return QString::asprintf("%.1f", tenths / 10.0);
}

} // namespace tolvane::editorsupport
