#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QPointer>

namespace varnel {

// One of the three boxes a marking is typed into. Whatever reaches it, by
// typing, pasting or from the program, settles at once into the form the
// decoding reads: nothing a reader cannot see (spaces, line breaks, control
// and format characters), upper case one character for one character, and at
// most thirteen characters of what is left.
// A box that knows a next box hands the focus on once a full code has been
// typed, so the three lines on a lid can be entered without reaching for Tab,
// and passes on the later lines of a whole marking pasted into it.
// Keys held with Alt or Ctrl are commands, never characters of a code.
class CodeBox : public QLineEdit {
    Q_OBJECT

  public:
    explicit CodeBox(QWidget* parent = nullptr);

    // The box that takes the focus when this one is complete, and the next
    // line of a pasted marking; none for the last box, which never gives the
    // focus away.
    void SetNextBox(CodeBox* next);

    // A pasted code that did not fit: how many characters it had after
    // cleaning, and how many of them the box kept. Both 0 when the box holds
    // what was typed or pasted whole; any later edit that keeps everything
    // clears it.
    struct Cut {
        qsizetype pasted = 0;
        qsizetype kept = 0;
        bool operator==(const Cut&) const = default;
    };
    Cut LastCut() const { return cut_; }

  signals:
    void CutChanged();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // One code of a pasted marking: cleaned and cut to the limit, and how
    // long it was before the cut.
    struct PastedCode {
        QString code;
        qsizetype length = 0;  // in characters, before the cut
    };
    static QList<PastedCode> MarkingCodes(const QString& text);

    void Normalise();
    void SetCut(Cut cut);
    CodeBox* FirstBox();
    void TakePastedCode(const PastedCode& pasted);
    bool HoldsAlmostFullCode() const;
    void MoveToNextBox();
    // A text of several lines (or one line of tab-, comma- or semicolon-
    // separated codes), pasted or dropped, is a whole marking: this box takes
    // its first code and the boxes after it the next ones; three or more
    // codes fill the boxes from Code One. Each box changed takes its change
    // as one step of its undo. Says whether the text was one; a single code
    // is left to the line edit, which puts it in at the caret.
    bool FillWithMarking(const QString& text);
    // Pastes the clipboard: a whole marking over the boxes, or one code
    // cleaned and cut to the room left, at the caret, as one undo step.
    void Paste(QClipboard::Mode mode);

    QPointer<CodeBox> nextBox_;
    QPointer<CodeBox> previousBox_;
    Cut cut_;
    // While the settled code is being assigned.
    bool settling_ = false;
    // The code as the last edit left it; the next edit's insertion is told
    // apart from it when a code grows beyond the limit.
    QString settled_;
};

}  // namespace varnel
