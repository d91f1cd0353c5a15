#include "app/catalogue/catalogue_windows.h"

#include <QLayout>
#include <QScreen>
#include <array>

#include "app/catalogue/part_details_window.h"
#include "app/catalogue/parts_browser.h"
#include "catalogue/catalogue.h"
#include "ui/catalogue_verdict.h"
#include "ui/frm_main.h"

namespace varnel {

CatalogueWindows::CatalogueWindows(frmMain& window, UrlOpener& opener)
    : QObject(&window), window_(window), opener_(opener) {
    setObjectName(QStringLiteral("CatalogueWindows"));
    connect(window.catalogueVerdict, &CatalogueVerdict::DetailsRequested, this,
            &CatalogueWindows::ShowDetails);
    connect(window.catalogueVerdict, &CatalogueVerdict::Updated, this,
            &CatalogueWindows::FollowCheck);
}

PartsBrowser* CatalogueWindows::Browser() const {
    return browser_;
}

PartDetailsWindow* CatalogueWindows::Details() const {
    return details_;
}

void CatalogueWindows::ShowPartsBrowser() {
    if (browser_.isNull()) {
        // The catalogue is read here if no Check has read it yet.
        browser_ = new PartsBrowser(catalogue::Catalogue::Builtin(), &window_);
        connect(browser_, &PartsBrowser::OpnChosen, this, &CatalogueWindows::PutIntoCodeOne);
        connect(browser_, &PartsBrowser::DetailsRequested, this,
                &CatalogueWindows::ShowPartDetails);
    }
    Present(*browser_);
}

void CatalogueWindows::ShowDetails() {
    if (details_.isNull()) {
        details_ = new PartDetailsWindow(opener_, &window_);
        FollowCheck();
    }
    Present(*details_);
}

void CatalogueWindows::ShowPartDetails(const QString& opn) {
    ShowDetails();
    // The part alone, as Code One typed would show it: no marking decoded.
    Sheet typed = WaitingSheet();
    typed.codes[0] = opn;
    catalogue::Comparer comparer(catalogue::Catalogue::Builtin());
    details_->ShowFinding(LookUpFinding(opn, comparer.Compare(typed), comparer.Parts().Count()));
}

void CatalogueWindows::FollowCheck() {
    if (!details_.isNull()) {
        details_->ShowFinding(window_.catalogueVerdict->Finding());
    }
}

void CatalogueWindows::PutIntoCodeOne(const QString& opn) {
    window_.SetCodeText(0, opn);
}

void CatalogueWindows::Present(QWidget& secondary) {
    if (!secondary.isVisible()) {
        // Its size is known only once its layout has run.
        secondary.ensurePolished();
        secondary.layout()->activate();
        PlaceBeside(secondary);
        secondary.show();
    }
    secondary.raise();
    secondary.activateWindow();
}

void CatalogueWindows::PlaceBeside(QWidget& secondary) const {
    // To the right of the main window or else to its left, so that both stay
    // in sight; where the desktop puts it when neither side has room.
    const QScreen* screen = window_.screen();
    if (screen == nullptr) {
        return;
    }
    constexpr int kGap = 8;
    const QRect main = window_.frameGeometry();
    const QSize size = secondary.frameSize();
    const std::array<QPoint, 2> corners{main.topRight() + QPoint(kGap, 0),
                                        main.topLeft() - QPoint(kGap + size.width(), 0)};
    for (const QPoint& corner : corners) {
        if (screen->availableGeometry().contains(QRect(corner, size))) {
            secondary.move(corner);
            return;
        }
    }
}

}  // namespace varnel
