#include "decode/program.h"

#include <QCoreApplication>

#include "version.h"

namespace varnel {

void SetApplicationIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Varnel"));
    QCoreApplication::setApplicationVersion(GetVersionString());
}

QString ApplicationTitle() {
    return QCoreApplication::applicationName();
}

QString GetVersionString() {
    return QStringLiteral("%1.%2.%3")
        .arg(VARNEL_VERSION_MAJOR)
        .arg(VARNEL_VERSION_MINOR)
        .arg(VARNEL_VERSION_PATCH);
}

void OpenURL(UrlOpener& opener, const QString& url) {
    opener.Open(url);
}

void ShowUnsupportedChip(Prompter& prompter, const QString& chip) {
    prompter.Show({QStringLiteral("Chip '") + chip +
                       QStringLiteral("' is currently unsupported by ") + ApplicationTitle(),
                   MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("Error")});
}

}  // namespace varnel
