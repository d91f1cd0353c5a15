#include "app/desktop_url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace varnel {

void DesktopUrlOpener::Open(const QString& url) {
    // The link goes out as written (a mail subject keeps its blanks); the
    // result is ignored, so a machine without a browser simply does nothing.
    static_cast<void>(QDesktopServices::openUrl(QUrl(url)));
}

}  // namespace varnel
