#include "ui/message_box_prompter.h"

#include <QMessageBox>

#include "decode/program.h"

namespace varnel {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

// The answer when the box is closed without a button of its own (the close
// box, Escape): the cautious one of the set, so nothing is done unasked.
MessageAnswer CautiousAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return MessageAnswer::Ok;
}

}  // namespace

MessageBoxPrompter::MessageBoxPrompter(QWidget* parent) : parent_(parent) {}

MessageAnswer MessageBoxPrompter::Show(const Message& message) {
    // Messages carry CR LF between lines; the box breaks lines at LF.
    QString text = message.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString title = message.title.isEmpty() ? ApplicationTitle() : message.title;

    QMessageBox box(BoxIcon(message.icon), title, text, BoxButtons(message.buttons), parent_);
    // Messages quote the codes as typed; never let a code read as markup.
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            return CautiousAnswer(message.buttons);
    }
}

}  // namespace varnel
