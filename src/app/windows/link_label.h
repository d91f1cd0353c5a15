#pragma once

#include <QLabel>

namespace varnel {

// A caption that looks and behaves like a link: blue, underlined, a pointing
// hand over it, and a click on it reported as clicked(). What the click opens
// is the owner's business, so the owner can build the target from the
// caption as it stands at that moment.
class LinkLabel : public QLabel {
    Q_OBJECT

  public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace varnel
