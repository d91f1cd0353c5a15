#pragma once

#include <QLabel>

namespace varnel {

// A caption that looks and behaves like a link: the desktop's link colour,
// underlined, a pointing hand over it, reached with Tab and opened with a
// click, Enter or Space, each reported as clicked(). What it opens is the
// owner's business, so the owner can build the target from the caption as it
// stands at that moment.
class LinkLabel : public QLabel {
    Q_OBJECT

  public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace varnel
