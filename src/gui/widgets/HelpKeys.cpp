#include "gui/widgets/HelpKeys.h"

#include "gui/widgets/CHelpWindow.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QWhatsThis>
#include <QWidget>

namespace tolvane::helpkeys {

namespace {

// The layout that holds `widget` directly, searched from the parent's layout down.
QLayout* layoutHolding(QLayout* layout, const QWidget* widget) {
    if (!layout) {
        return nullptr;
    }
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget) {
            return layout;
        }
        if (QLayout* found = layoutHolding(item->layout(), widget)) {
            return found;
        }
    }
    return nullptr;
}

// The widget that follows `label` in its row: the field of a form row, the next cell of a grid row, the next
// widget of a box.
QWidget* fieldBeside(QWidget* label) {
    QWidget* parent = label->parentWidget();
    QLayout* layout = parent ? layoutHolding(parent->layout(), label) : nullptr;
    if (!layout) {
        return nullptr;
    }
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        int row = -1;
        QFormLayout::ItemRole role{};
        form->getWidgetPosition(label, &row, &role);
        QLayoutItem* field =
            row >= 0 && role == QFormLayout::LabelRole ? form->itemAt(row, QFormLayout::FieldRole) : nullptr;
        return field ? field->widget() : nullptr;
    }
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0;
        int column = 0;
        int rowSpan = 0;
        int columnSpan = 0;
        grid->getItemPosition(grid->indexOf(label), &row, &column, &rowSpan, &columnSpan);
        QLayoutItem* next = grid->itemAtPosition(row, column + columnSpan);
        return next ? next->widget() : nullptr;
    }
    const int index = layout->indexOf(label);
    for (int i = index + 1; index >= 0 && i < layout->count(); ++i) {
        if (QWidget* next = layout->itemAt(i)->widget()) {
            return next;
        }
    }
    return nullptr;
}

} // namespace

bool handle(QWidget* owner, QKeyEvent* event, const QString& topic) {
    if (event->key() != Qt::Key_F1) {
        return false;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        CHelpWindow::showTopic(owner, topic);
        event->accept();
        return true;
    }
    if (modifiers != Qt::ShiftModifier) {
        return false;
    }
    QWidget* focused = QApplication::focusWidget();
    if (focused && owner->isAncestorOf(focused) && !focused->toolTip().isEmpty()) {
        QWhatsThis::showText(focused->mapToGlobal(focused->rect().center()), focused->toolTip(), focused);
    } else {
        QWhatsThis::enterWhatsThisMode();
    }
    event->accept();
    return true;
}

void setWhatsThis(QWidget* label, const QString& text) {
    if (!label) {
        return;
    }
    const QString before = label->whatsThis();
    label->setWhatsThis(text);
    if (QWidget* field = fieldBeside(label)) {
        // A field keeps a text of its own; one that came from this label follows the label's.
        if (field->whatsThis().isEmpty() || field->whatsThis() == before) {
            field->setWhatsThis(text);
        }
    }
}

} // namespace tolvane::helpkeys
