#include "code_box.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "captions.h"
#include "text.h"

namespace varnel {

namespace {

// A code one short of the box's limit: the next key completes it.
constexpr int kAlmostFullLength = kCodeMaxLength - 1;

// Whether a key press types a character, as opposed to editing, moving the
// caret or being a shortcut (Ctrl+C, Ctrl+V while a code is almost full must
// not send the user on to the next line of the marking).
bool TypesCharacter(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) {
        return false;
    }
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (modifiers == Qt::ControlModifier ||
        modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return false;
    }
    const QChar first = text.front();
    return first.isPrint() || first.isHighSurrogate() ||
           first.category() == QChar::Other_PrivateUse || first.category() == QChar::Other_Format;
}

// Keys that count like a typed character for the move to the next box.
bool MovesToNextBox(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return true;
        default:
            return TypesCharacter(event);
    }
}

// Drops halves of characters that stand alone. The box's limit counts UTF-16
// units, so a paste cut at the limit can end in the first half of a symbol
// such as an emoji; such a half is no character at all and would only turn
// into garbage wherever the code is shown or written.
QString WithoutLoneSurrogates(const QString& text, qsizetype* caret) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pairedHigh =
            c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const bool pairedLow = c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate();
        if (c.isSurrogate() && !pairedHigh && !pairedLow) {
            if (i < *caret) {
                --*caret;
            }
            continue;
        }
        result.append(c);
    }
    return result;
}

}  // namespace

CodeBox::CodeBox(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(kCodeMaxLength);
    // Runs after every change of the text, typed, pasted or assigned by the
    // program, so the boxes never hold a code the decoding would misread.
    connect(this, &QLineEdit::textChanged, this, &CodeBox::Normalise);
}

void CodeBox::SetNextBox(QWidget* next) {
    nextBox_ = next;
}

void CodeBox::Normalise() {
    const QString current = text();
    qsizetype caret = cursorPosition();
    QString settled = WithoutLoneSurrogates(current, &caret);
    // Markings are read off a lid with gaps between groups of characters;
    // the gaps are not part of the code. After a space the caret goes to the
    // end, ready for the rest of the code.
    if (settled.contains(QLatin1Char(' '))) {
        settled.remove(QLatin1Char(' '));
        caret = settled.size();
    }
    settled = UpperCase(settled);
    if (settled == current) {
        return;  // already settled: assigning it again would change nothing
    }
    // The assignment notifies again; that nested run finds the text settled.
    setText(settled);
    setCursorPosition(static_cast<int>(caret));
}

bool CodeBox::HoldsAlmostFullCode() const {
    return nextBox_ != nullptr && text().size() == kAlmostFullLength;
}

void CodeBox::MoveToNextBox() {
    // Not a Tab focus: the next box keeps its text unselected, so typing on
    // does not overwrite a code already there.
    nextBox_->setFocus(Qt::OtherFocusReason);
}

void CodeBox::keyPressEvent(QKeyEvent* event) {
    const bool moveOn = HoldsAlmostFullCode() && MovesToNextBox(*event);
    // The key still counts in this box: the 13th character stays here, a
    // Backspace deletes here.
    QLineEdit::keyPressEvent(event);
    if (moveOn) {
        MoveToNextBox();
    }
}

void CodeBox::inputMethodEvent(QInputMethodEvent* event) {
    // Characters composed through an input method are typed characters too.
    const bool moveOn = HoldsAlmostFullCode() && !event->commitString().isEmpty();
    QLineEdit::inputMethodEvent(event);
    if (moveOn) {
        MoveToNextBox();
    }
}

}  // namespace varnel
