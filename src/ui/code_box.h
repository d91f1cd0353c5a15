#pragma once

#include <QLineEdit>
#include <QPointer>

namespace varnel {

// One of the three boxes a marking is typed into. Whatever reaches it, by
// typing, pasting or from the program, settles at once into the form the
// decoding reads: no spaces and upper case, one character for one character.
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
};

}  // namespace varnel
