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

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void Normalise();
    bool HoldsAlmostFullCode() const;
    void MoveToNextBox();
    // A text of several lines, pasted or dropped, is a whole marking: this
    // box takes its first line and the boxes after it the next ones. Says
    // whether the text was one; a single line is left to the line edit,
    // which puts it in at the caret.
    bool FillWithMarking(const QString& text);
    bool PasteMarking(QClipboard::Mode mode);

    QPointer<CodeBox> nextBox_;
    // The code as the last edit left it; the next edit's insertion is told
    // apart from it when a code grows beyond the limit.
    QString settled_;
};

}  // namespace varnel
