#pragma once

#include <QLineEdit>
#include <QPointer>

namespace varnel {

// One of the three boxes a marking is typed into. Whatever reaches it, by
// typing, pasting or from the program, settles at once into the form the
// decoding reads: nothing a reader cannot see (spaces, line breaks, control
// and format characters), upper case one character for one character, and at
// most thirteen characters of what is left.
// A box that knows a next box hands the focus on once a full code has been
// typed, so the three lines on a lid can be entered without reaching for Tab.
class CodeBox : public QLineEdit {
    Q_OBJECT

  public:
    explicit CodeBox(QWidget* parent = nullptr);

    // The box that takes the focus when this one is complete; none for the
    // last box, which never gives the focus away.
    void SetNextBox(QWidget* next);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    void Normalise();
    bool HoldsAlmostFullCode() const;
    void MoveToNextBox();

    QPointer<QWidget> nextBox_;
    // The code as the last edit left it; the next edit's insertion is told
    // apart from it when a code grows beyond the limit.
    QString settled_;
};

}  // namespace varnel
