#include "gui/widgets/ChangeHighlight.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <initializer_list>

namespace tolvane::changehighlight {

namespace {

// The palette a control had before it was marked, kept on the control itself.
constexpr const char* UnmarkedPalette = "tolvaneUnmarkedPalette";

void unmark(QWidget* control) {
    const QVariant saved = control->property(UnmarkedPalette);
    if (saved.isValid()) {
        control->setPalette(saved.value<QPalette>());
        control->setProperty(UnmarkedPalette, QVariant());
    }
}

void mark(QWidget* control, std::initializer_list<QPalette::ColorRole> roles,
          std::initializer_list<QPalette::ColorGroup> groups, QRgb color) {
    if (!control->property(UnmarkedPalette).isValid()) {
        control->setProperty(UnmarkedPalette, QVariant::fromValue(control->palette()));
    }
    QPalette p = control->palette();
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
    if (!changed) {
        unmark(control);
        return false;
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
    return control && control->property(UnmarkedPalette).isValid();
}

} // namespace tolvane::changehighlight
