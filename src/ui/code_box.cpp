#include "ui/code_box.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>
#include <array>
#include <string_view>

#include "decode/captions.h"
#include "decode/text.h"

namespace varnel {

namespace {

// A code one short of the box's limit: the next key completes it.
constexpr int kAlmostFullLength = kCodeMaxLength - 1;

// Keys held with Ctrl or Alt are commands: the window's access keys, the
// menus, the editing shortcuts. Their letter is never part of a code.
bool IsChord(const QKeyEvent& event) {
    return (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
}

// Whether a key press carries a character a box would take, as opposed to
// editing or moving the caret.
bool CarriesCharacter(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) {
        return false;
    }
    const QChar first = text.front();
    return first.isPrint() || first.isHighSurrogate() ||
           first.category() == QChar::Other_PrivateUse || first.category() == QChar::Other_Format;
}

// Whether a key press types a character (Ctrl+C or Ctrl+V while a code is
// almost full must not send the user on to the next line of the marking).
bool TypesCharacter(const QKeyEvent& event) {
    return !IsChord(event) && CarriesCharacter(event);
}

// The line edit's own editing commands; held with Ctrl or Alt, they still work.
constexpr std::array kEditingKeys{
    QKeySequence::Undo,
    QKeySequence::Redo,
    QKeySequence::Cut,
    QKeySequence::Copy,
    QKeySequence::Paste,
    QKeySequence::SelectAll,
    QKeySequence::Deselect,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfWord,
    QKeySequence::DeleteEndOfLine,
    QKeySequence::DeleteCompleteLine,
};

// A chord that no command took, such as Alt with a letter that no button
// answers to: the line edit would type its letter.
bool IsStrayChord(const QKeyEvent& event) {
    return IsChord(event) && CarriesCharacter(event) &&
           std::none_of(kEditingKeys.begin(), kEditingKeys.end(),
                        [&event](QKeySequence::StandardKey key) { return event.matches(key); });
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

// Drops halves of characters that stand alone, as a clipboard or another
// program can deliver them: such a half is no character at all and would
// only turn into garbage wherever the code is shown or written.
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

// Characters as a reader counts them: an emoji is one, not two halves.
qsizetype CharacterCount(QStringView text) {
    return text.size() -
           std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}

// The part of a text that an edit left alone in front of the change and
// behind it, as counts of UTF-16 units that never split a character. Both
// texts are free of lone surrogates.
struct KeptAround {
    qsizetype front = 0;
    qsizetype back = 0;
};

KeptAround FindKeptAround(const QString& before, const QString& after) {
    KeptAround kept;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (kept.front < shorter && before.at(kept.front) == after.at(kept.front)) {
        ++kept.front;
    }
    if (kept.front > 0 && after.at(kept.front - 1).isHighSurrogate()) {
        --kept.front;
    }
    while (kept.back < shorter - kept.front &&
           before.at(before.size() - 1 - kept.back) == after.at(after.size() - 1 - kept.back)) {
        ++kept.back;
    }
    if (kept.back > 0 && after.at(after.size() - kept.back).isLowSurrogate()) {
        --kept.back;
    }
    return kept;
}

// Fits a code that an edit made too long back into the box, the way a box
// with a limit takes an insertion: what stood before and after it stays, and
// of the inserted text only as much as there is room for, from its start.
// The caret goes behind what was kept of the insertion.
QString CutInsertionToFit(const QString& before, const QString& after, qsizetype* caret,
                          CodeBox::Cut* cut) {
    const KeptAround kept = FindKeptAround(before, after);
    const qsizetype front = std::min<qsizetype>(kept.front, kCodeMaxLength);
    const qsizetype back = std::min<qsizetype>(kept.back, kCodeMaxLength - front);
    const QStringView inserted = QStringView(after).sliced(front, after.size() - front - back);
    qsizetype room = std::min<qsizetype>(inserted.size(), kCodeMaxLength - front - back);
    if (room > 0 && inserted.at(room - 1).isHighSurrogate()) {
        --room;  // an emoji either fits whole or stays out
    }
    *caret = front + room;
    *cut = {CharacterCount(inserted), CharacterCount(inserted.first(room))};
    QString fitted = after.left(front);
    fitted.append(inserted.first(room));
    fitted.append(QStringView(after).last(back));
    return fitted;
}

// Characters that end a line, whatever system the text was copied on.
constexpr std::array<char16_t, 7> kLineBreaks{u'\n',     u'\r',     u'\v',    u'\f',
                                              u'\u0085', u'\u2028', u'\u2029'};

bool IsLineBreak(QChar c) {
    return std::find(kLineBreaks.begin(), kLineBreaks.end(), c.unicode()) != kLineBreaks.end();
}

// The first n characters of a code, an emoji either whole or left out.
QString FirstCharacters(const QString& code, qsizetype n) {
    if (code.size() <= n) {
        return code;
    }
    if (n <= 0) {
        return {};
    }
    return code.left(code.at(n - 1).isHighSurrogate() ? n - 1 : n);
}

// What separates the three codes of a marking copied as one row of a
// spreadsheet or a batch file. A space does not: a code is read off a lid
// with gaps between its groups of characters.
constexpr std::u16string_view kFieldSeparators = u"\t,;";

// The brand line printed above the OPN on many lids ("AMD Athlon XP"), which
// a transcription of the whole lid starts with.
bool IsBrandLine(QStringView line) {
    return line.trimmed().startsWith(QLatin1String("AMD "), Qt::CaseInsensitive);
}

// The pieces of a pasted text that hold something: its lines, or the fields
// of its one line.
QList<QStringView> PastedPieces(QStringView text) {
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype end = 0; end <= text.size(); ++end) {
        if (end == text.size() || IsLineBreak(text.at(end))) {
            if (!NormaliseCode(text.sliced(start, end - start)).isEmpty()) {
                lines.append(text.sliced(start, end - start));
            }
            start = end + 1;
        }
    }
    if (lines.size() != 1) {
        return lines;
    }
    QList<QStringView> fields;
    start = 0;
    const QStringView line = lines.front();
    for (qsizetype end = 0; end <= line.size(); ++end) {
        if (end == line.size() ||
            kFieldSeparators.find(line.at(end).unicode()) != std::u16string_view::npos) {
            fields.append(line.sliced(start, end - start));
            start = end + 1;
        }
    }
    return fields;
}

}  // namespace

// The codes of a pasted text that is a whole marking, in order: its lines,
// or the tab-, comma- or semicolon-separated fields of its one line, each
// cleaned as a box cleans what is typed and cut to the box's limit; empty
// pieces and a leading brand line are left out. No codes when the text is
// one piece, which goes in at the caret as typed text does.
QList<CodeBox::PastedCode> CodeBox::MarkingCodes(const QString& text) {
    QList<QStringView> pieces = PastedPieces(text);
    QList<PastedCode> codes;
    if (pieces.size() < 2) {
        return codes;
    }
    if (IsBrandLine(pieces.front())) {
        pieces.removeFirst();
    }
    for (const QStringView piece : pieces) {
        qsizetype unusedCaret = 0;
        const QString code = NormaliseCode(WithoutLoneSurrogates(piece.toString(), &unusedCaret));
        if (!code.isEmpty()) {
            codes.append({FirstCharacters(code, kCodeMaxLength), CharacterCount(code)});
        }
    }
    return codes;
}

namespace {}  // namespace

CodeBox::CodeBox(QWidget* parent) : QLineEdit(parent) {
    // No limit of the line edit's own: it would count the invisible
    // characters of a pasted code and cut the visible ones behind them.
    // Normalise applies the limit to the cleaned code instead.
    // Runs after every change of the text, typed, pasted or assigned by the
    // program, so the boxes never hold a code the decoding would misread.
    connect(this, &QLineEdit::textChanged, this, &CodeBox::Normalise);
}

void CodeBox::SetNextBox(CodeBox* next) {
    nextBox_ = next;
    if (next != nullptr) {
        next->previousBox_ = this;
    }
}

void CodeBox::Normalise() {
    if (settling_) {
        return;  // the notice of the settled code this run assigns below
    }
    const QString current = text();
    qsizetype caret = cursorPosition();
    const QString whole = WithoutLoneSurrogates(current, &caret);
    // Markings are read off a lid with gaps between groups of characters,
    // and a code copied from a page brings line breaks and other characters
    // nobody can see; none of them is part of the code. After one goes, the
    // caret goes to the end, ready for the rest of the code.
    QString settled = NormaliseCode(whole);
    const bool droppedInvisible = settled.size() != whole.size();
    Cut cut;
    if (settled.size() > kCodeMaxLength) {
        settled = CutInsertionToFit(settled_, settled, &caret, &cut);
    }
    if (droppedInvisible) {
        caret = settled.size();
    }
    settled_ = settled;
    // More than one character dropped or composed that did not fit was not
    // typed: the window says so. A key beyond a full code is just refused.
    SetCut(cut.pasted > 1 ? cut : Cut{});
    if (settled == current) {
        return;  // already settled: assigning it again would change nothing
    }
    settling_ = true;
    setText(settled);
    settling_ = false;
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

CodeBox* CodeBox::FirstBox() {
    CodeBox* first = this;
    while (first->previousBox_ != nullptr) {
        first = first->previousBox_;
    }
    return first;
}

void CodeBox::TakePastedCode(const PastedCode& pasted) {
    if (text() != pasted.code) {
        // Inserted over the whole code rather than assigned: the change is
        // one step of the box's own undo, which an assignment would clear.
        selectAll();
        insert(pasted.code);
    }
    const qsizetype kept = CharacterCount(pasted.code);
    SetCut(pasted.length > kept ? Cut{pasted.length, kept} : Cut{});
}

bool CodeBox::FillWithMarking(const QString& text) {
    const QList<PastedCode> codes = MarkingCodes(text);
    if (codes.isEmpty()) {
        return false;
    }
    // Three lines are a whole marking, whichever box has the focus.
    CodeBox* box = codes.size() >= kCodeBoxCount ? FirstBox() : this;
    CodeBox* last = box;
    // Lines beyond the last box belong to no code and are dropped.
    for (qsizetype i = 0; i < codes.size() && box != nullptr; ++i) {
        box->TakePastedCode(codes.at(i));
        last = box;
        box = box->nextBox_;
    }
    // The caret ends behind the last line, as if the marking had been typed.
    last->setFocus(Qt::OtherFocusReason);
    last->end(false);
    return true;
}

void CodeBox::SetCut(Cut cut) {
    if (!(cut_ == cut)) {
        cut_ = cut;
        emit CutChanged();
    }
}

void CodeBox::Paste(QClipboard::Mode mode) {
    const QString text = QGuiApplication::clipboard()->text(mode);
    if (isReadOnly() || FillWithMarking(text)) {
        return;
    }
    // Cleaned and cut before it goes in, so that the box's undo takes the
    // paste back in one step: a code settled after the change could not be.
    qsizetype unusedCaret = 0;
    const QString code = NormaliseCode(WithoutLoneSurrogates(text, &unusedCaret));
    const qsizetype room = kCodeMaxLength - (this->text().size() - selectedText().size());
    const QString fitted = FirstCharacters(code, std::max<qsizetype>(room, 0));
    if (!fitted.isEmpty() || hasSelectedText()) {
        insert(fitted);
    }
    const Cut cut{CharacterCount(code), CharacterCount(fitted)};
    SetCut(cut.pasted > cut.kept ? cut : Cut{});
}

void CodeBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        Paste(QClipboard::Clipboard);
        event->accept();
        return;
    }
    if (IsStrayChord(*event)) {
        event->ignore();
        return;
    }
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

void CodeBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste takes a whole marking as Ctrl+V does: its entry is
    // the one wired to the line edit's own paste, which Qt wires by name.
    for (QAction* action : menu->actions()) {
        if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste()))) {
            connect(action, &QAction::triggered, this, [this] { Paste(QClipboard::Clipboard); });
        }
    }
    menu->popup(event->globalPos());
}

void CodeBox::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection on X11 desktops.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
        rect().contains(event->position().toPoint()) && !isReadOnly() &&
        FillWithMarking(QGuiApplication::clipboard()->text(QClipboard::Selection))) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// Files dragged from a file manager (text/uri-list) are no marking: their
// names would be typed in as FILE:///... The box does not take them.
void CodeBox::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QLineEdit::dragEnterEvent(event);
}

void CodeBox::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QLineEdit::dragMoveEvent(event);
}

void CodeBox::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    if (!isReadOnly() && event->mimeData()->hasText() &&
        FillWithMarking(event->mimeData()->text())) {
        event->acceptProposedAction();
        return;
    }
    QLineEdit::dropEvent(event);
}

}  // namespace varnel
