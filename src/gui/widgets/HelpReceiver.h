#pragma once

class QWidget;

namespace tolvane {

// A window that answers help labels: the nearest ancestor of a CStaticHelp that implements this interface is told
// when the user asks for the label's help and when the mouse leaves the label again (pages and edit dialogs).
class HelpReceiver {
public:
    virtual ~HelpReceiver() = default;
    virtual void helpRequested(QWidget* label) = 0;
    virtual void helpReleased(QWidget* label) = 0;

    // The nearest ancestor of `widget` that receives help, or null.
    static HelpReceiver* of(const QWidget* widget);
};

} // namespace tolvane
