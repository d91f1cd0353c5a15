#include "ui/links_label.h"

#include <QFocusEvent>

namespace varnel {

LinksLabel::LinksLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    // Links open through the owner (linkActivated), never straight from here.
    setOpenExternalLinks(false);
}

void LinksLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        focusNextPrevChild(event->reason() == Qt::TabFocusReason);
    }
}

}  // namespace varnel
