#include "gui/widgets/ChangeHighlight.h"

#include "gui/widgets/CLinkStatic.h"

#include <QComboBox>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <initializer_list>

namespace tolvane::changehighlight {

namespace {

// The palette a control had before it was marked, kept on the control itself.
constexpr const char* UnmarkedPalette = "tolvaneUnmarkedPalette";
// Set on a link value while its face is marked.
constexpr const char* MarkedLink = "tolvaneMarkedLink";

void unmark(QWidget* control) {
    const QVariant saved = control->property(UnmarkedPalette);
    if (saved.isValid()) {
        control->setPalette(saved.value<QPalette>());
        control->setProperty(UnmarkedPalette, QVariant());
    }
}

void mark(QWidget* control, std::initializer_list<QPalette::ColorRole> roles,
          std::initializer_list<QPalette::ColorGroup> groups, QRgb color) {
    const bool marked = control->property(UnmarkedPalette).isValid();
    if (!marked) {
        control->setProperty(UnmarkedPalette, QVariant::fromValue(control->palette()));
    }
    QPalette p = control->palette();
    if (marked) {
        // Marked already in this colour: setting the same palette again would only repolish the control.
        bool same = true;
        for (QPalette::ColorGroup group : groups) {
            for (QPalette::ColorRole role : roles) {
                same = same && p.color(group, role) == QColor(color);
            }
        }
        if (same) {
            return;
        }
    }
    for (QPalette::ColorGroup group : groups) {
        for (QPalette::ColorRole role : roles) {
            p.setColor(group, role, QColor(color));
        }
    }
    control->setPalette(p);
}

} // namespace

bool markField(QWidget* control, bool changed) {
    if (!control) {
        return false;
    }
    // A link value is drawn on its own face, whose text colours change while the mouse is over it: only the face
    // is coloured, and clearing the mark gives it the button face again.
    if (auto* link = qobject_cast<CLinkStatic*>(control)) {
        link->setFaceColor(changed ? QColor(FieldBackground) : QColor());
        link->setProperty(MarkedLink, changed ? QVariant(true) : QVariant());
        return changed;
    }
    if (!changed) {
        unmark(control);
        return false;
    }
    // A drop-down list that cannot be typed in is drawn as a button, on the button colour.
    if (auto* list = qobject_cast<QComboBox*>(control); list && !list->isEditable()) {
        mark(control, {QPalette::Base, QPalette::Button}, {QPalette::Active, QPalette::Inactive, QPalette::Disabled},
             FieldBackground);
        return true;
    }
    mark(control, {QPalette::Base}, {QPalette::Active, QPalette::Inactive, QPalette::Disabled}, FieldBackground);
    return true;
}

bool markOption(QWidget* control, bool changed) {
    if (!control) {
        return false;
    }
    if (!changed) {
        unmark(control);
        return false;
    }
    // A disabled option keeps its grey text.
    mark(control, {QPalette::WindowText, QPalette::ButtonText}, {QPalette::Active, QPalette::Inactive}, OptionText);
    return true;
}

bool isMarked(const QWidget* control) {
    return control && (control->property(UnmarkedPalette).isValid() || control->property(MarkedLink).isValid());
}

} // namespace tolvane::changehighlight
