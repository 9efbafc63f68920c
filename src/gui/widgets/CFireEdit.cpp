#include "gui/widgets/CFireEdit.h"

#include "device/TypedNumber.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFrame>
#include <QValidator>

#include <algorithm>
#include <climits>
#include <cmath>

namespace tolvane {

namespace {

// Keeps what reaches the text by any way (typing, pasting, dropping) to digits, plus the decimal separators in
// decimal mode, and to the field's width. Text set by the program is shown as it is, so a stored value that does not
// fit the field is seen (in the warning colour) rather than cut.
class FieldValidator : public QValidator {
public:
    explicit FieldValidator(CFireEdit* field) : QValidator(field), field_(field) {}

    State validate(QString& input, int&) const override {
        if (input.size() > field_->textLimit()) {
            return Invalid;
        }
        for (const QChar c : input) {
            const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
            const bool separator = c == QLatin1Char('.') || c == QLatin1Char(',');
            if (!digit && !(separator && field_->isDecimalMode())) {
                return Invalid;
            }
        }
        return Acceptable;
    }

private:
    const CFireEdit* field_;
};

// The leading whole number of a text (signs and digits, stopping at anything else; 0 without digits), held within
// the range of int.
int leadingInteger(const QString& text) {
    return static_cast<int>(std::clamp<long long>(typedInteger(text.toStdString()), INT_MIN, INT_MAX));
}

// The leading real number of a text. A comma counts as the decimal separator as much as a full stop, so that
// "12,5" means twelve and a half whatever the keyboard.
double leadingReal(const QString& text) {
    return typedReal(text.toStdString());
}

int toInt(double value) {
    return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

} // namespace

CFireEdit::CFireEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new FieldValidator(this));
    setUp(1.0, 23.0, 2, true, false, 1, false);
}

void CFireEdit::setUp(double lower, double upper, int textLimit, bool autoAdvance, bool decimalMode, int step,
                      bool clampOnExit) {
    lower_ = lower;
    upper_ = upper;
    textLimit_ = std::max(1, textLimit);
    autoAdvance_ = autoAdvance;
    decimal_ = decimalMode;
    step_ = step;
    clampOnExit_ = clampOnExit;
    normalise();
    updateGeometry();
    update();
}

double CFireEdit::realValue() const {
    return leadingReal(text());
}

int CFireEdit::readInteger() const {
    if (decimal_) {
        return static_cast<int>(std::clamp<long long>(typedTenths(text().toStdString()), INT_MIN, INT_MAX));
    }
    return leadingInteger(text());
}

void CFireEdit::writeInteger(int value) {
    if (decimal_) {
        // Tenths, as readInteger gives them back.
        setText(QString::asprintf("%.1f", value / 10.0));
    } else if (textLimit_ == 2) {
        setText(QString::asprintf("%.2d", value));
    } else if (textLimit_ == 3) {
        setText(QString::asprintf("%.3d", value));
    } else {
        setText(QString::asprintf("%d", value));
    }
}

void CFireEdit::writeHalves(int halves) {
    setText(QString::asprintf("%.1f", halves / 2.0));
}

int CFireEdit::readHalves() const {
    return toInt(std::trunc(realValue() * 2));
}

bool CFireEdit::isOutOfRange() const {
    if (text().isEmpty()) {
        return true;
    }
    const double value = decimal_ ? realValue() : static_cast<double>(leadingInteger(text()));
    return value < lower_ || value > upper_;
}

// Leaving the field (and set-up) brings a clamping field's text into range and into its printed form.
void CFireEdit::normalise() {
    focusEnteredCount_ = 0;
    if (!clampOnExit_) {
        return;
    }
    QString result = text();
    if (!decimal_) {
        const double clamped = std::min(std::max(static_cast<double>(leadingInteger(text())), lower_), upper_);
        if (textLimit_ >= 1 && textLimit_ <= 4) {
            result = QString::asprintf("%.*d", textLimit_, toInt(clamped));
        }
    } else {
        double value = std::min(std::max(realValue(), lower_), upper_);
        if (step_ > 1) {
            // Whole tenths, so that 12.5 with a step of 5 is not taken for 12.4999 and lowered a step.
            const long long tenths = std::llround(value * 10);
            const long long remainder = tenths % step_;
            if (remainder != 0) {
                long long lowered = tenths - remainder;
                // Lowered onto the step below the lower bound, the value takes the step above it instead.
                if (static_cast<double>(lowered) / 10.0 < lower_ &&
                    static_cast<double>(lowered + step_) / 10.0 <= upper_) {
                    lowered += step_;
                }
                value = static_cast<double>(lowered) / 10.0;
            }
        }
        if (value != 0) {
            result = textLimit_ == 3 || textLimit_ == 4 ? QString::asprintf("%.1f", value) : QStringLiteral("error");
        }
    }
    if (result != text()) {
        setText(result);
    }
}

bool CFireEdit::keyPasses(const QKeyEvent* event) const {
    const int key = event->key();
    const bool commandModifier =
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != Qt::NoModifier;
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && !commandModifier) {
        return true; // main keyboard and numeric pad alike
    }
    if (decimal_) {
        return key == Qt::Key_Tab || key == Qt::Key_Comma || key == Qt::Key_Period;
    }
    return key == Qt::Key_Backspace || key == Qt::Key_Tab || key == Qt::Key_Left || key == Qt::Key_Right ||
           key == Qt::Key_Delete;
}

// Keys the field never types but the dialog or the window acts on: Enter confirms, Escape cancels, function keys
// and key combinations with Ctrl, Alt or Meta are commands. They go on to the parent instead of being swallowed.
bool CFireEdit::belongsToWindow(const QKeyEvent* event) {
    const int key = event->key();
    if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != Qt::NoModifier) {
        return true;
    }
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
           (key >= Qt::Key_F1 && key <= Qt::Key_F35);
}

void CFireEdit::keyPressEvent(QKeyEvent* event) {
    // Paste (Ctrl+V, Shift+Insert) is the one key combination the field takes itself: what it brings is held to
    // digits and to the field's width by the validator, as typed text is.
    if (event->matches(QKeySequence::Paste)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (belongsToWindow(event)) {
        // Nothing is typed, so the key release must not move on to the next field either.
        keyRejected_ = true;
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            // The line edit announces the finished value; the dialog then sees the key and takes its default.
            finishEditing();
            QLineEdit::keyPressEvent(event);
        }
        event->ignore();
        return;
    }
    if (!keyPasses(event)) {
        keyRejected_ = true;
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CFireEdit::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        QLineEdit::keyReleaseEvent(event);
        return;
    }
    const int key = event->key();
    const bool advanceKey = key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Shift;
    const bool full = text().size() >= textLimit_;
    const bool rejected = keyRejected_;
    keyRejected_ = false;
    QLineEdit::keyReleaseEvent(event);
    if (!rejected && advanceKey && autoAdvance_ && full) {
        focusNextChild();
    }
}

void CFireEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectAll();
    // Focus given by a click arrives before the click itself; the click then selects the text (see below).
    if (event->reason() != Qt::MouseFocusReason) {
        focusEnteredCount_ = 1;
    }
}

void CFireEdit::focusOutEvent(QFocusEvent* event) {
    // The field's own context menu takes focus for a moment without the user leaving the field.
    if (event->reason() != Qt::PopupFocusReason) {
        normalise();
    }
    QLineEdit::focusOutEvent(event);
}

void CFireEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    if (focusEnteredCount_ == 0) {
        // The click that enters the field selects all of it instead of placing the caret, so that typing replaces
        // the value.
        setFocus(Qt::MouseFocusReason);
        selectAll();
        focusEnteredCount_ = 1;
        swallowingDrag_ = true;
        event->accept();
        return;
    }
    ++focusEnteredCount_;
    QLineEdit::mousePressEvent(event);
}

void CFireEdit::mouseMoveEvent(QMouseEvent* event) {
    if (swallowingDrag_) {
        event->accept();
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

void CFireEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (swallowingDrag_ && event->button() == Qt::LeftButton) {
        swallowingDrag_ = false;
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void CFireEdit::initStyleOption(QStyleOptionFrame* option) const {
    QLineEdit::initStyleOption(option);
    // The warning colour is laid over whatever background the field has (a change mark included) only while it
    // is painted, so it never has to be taken back out of the palette.
    if (isEnabled() && isOutOfRange()) {
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            option->palette.setColor(group, QPalette::Base, QColor(WarningColor));
        }
    }
}

QSize CFireEdit::sizeHint() const {
    // As wide as the field's width in digits (QLineEdit's own hint is 17 characters wide).
    const QSize base = QLineEdit::sizeHint();
    const QFontMetrics metrics(font());
    const int baseText = metrics.horizontalAdvance(QLatin1Char('x')) * 17;
    const int ownText = metrics.horizontalAdvance(QString(textLimit_, QLatin1Char('0'))) + 2;
    return {base.width() - baseText + ownText, base.height()};
}

QSize CFireEdit::minimumSizeHint() const {
    return sizeHint();
}

} // namespace tolvane
