#pragma once

#include <QObject>
#include <QPointer>

#include "decode/ports.h"

namespace varnel {

class frmMain;
class PartDetailsWindow;
class PartsBrowser;

// The catalogue's two windows beside the main window, one of each: the
// details of the part of the last Check, which the verdict's "Details..."
// opens and each Check updates, and the parts browser, whose chosen OPN goes
// into Code One. Built on first use and kept for the next opening.
class CatalogueWindows : public QObject {
    Q_OBJECT

  public:
    // Follows the window's verdict: its "Details..." link and each Check.
    CatalogueWindows(frmMain& window, UrlOpener& opener);

  public slots:
    void ShowPartsBrowser();

  public:
    void ShowDetails();
    // The details of a part chosen in the browser, as the catalogue lists
    // it; the next Check brings back the details of its own part.
    void ShowPartDetails(const QString& opn);

    // The windows once built; null before.
    PartsBrowser* Browser() const;
    PartDetailsWindow* Details() const;

  private:
    void FollowCheck();
    void PutIntoCodeOne(const QString& opn);
    void Present(QWidget& secondary);
    void PlaceBeside(QWidget& secondary) const;

    frmMain& window_;
    UrlOpener& opener_;
    QPointer<PartsBrowser> browser_;
    QPointer<PartDetailsWindow> details_;
};

}  // namespace varnel
