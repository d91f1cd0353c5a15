#include "app/windows/link_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>
#include <array>

namespace varnel {

namespace {

// The keys that open a link that has the focus, as they press a button.
constexpr std::array kOpeningKeys{Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Select};

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // Plain text: an address is shown as typed, never read as markup.
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setMargin(2);  // room for the focus frame around the caption
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    // The palette's own link colour, light on a dark desktop.
    setForegroundRole(QPalette::Link);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and release of the left button on the caption; a
    // press dragged off the caption before release opens nothing.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    const bool opens =
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        std::find(kOpeningKeys.begin(), kOpeningKeys.end(), event->key()) != kOpeningKeys.end();
    if (!opens) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    emit clicked();
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    // A label draws no focus of its own: show where Enter would go.
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace varnel
