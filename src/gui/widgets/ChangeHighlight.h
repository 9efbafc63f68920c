#pragma once

#include <QColor>

class QWidget;

namespace tolvane {

// How pages and edit dialogs show that a value differs from what was last saved or read: a changed field (line
// edit, spin box, combo box) is drawn on light green, a changed option (check box, radio button) gets dark-green
// text. Clearing the mark gives the control back the colours it had before it was marked.
namespace changehighlight {

inline constexpr QRgb FieldBackground = 0xffbbffbb; // RGB(187, 255, 187)
inline constexpr QRgb OptionText = 0xff008000;      // RGB(0, 128, 0)

// Each answers whether it coloured the control: false for a missing control or a clear flag.
bool markField(QWidget* control, bool changed);
bool markOption(QWidget* control, bool changed);

bool isMarked(const QWidget* control);

} // namespace changehighlight
} // namespace tolvane
