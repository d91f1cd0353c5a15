#include "app/windows/main_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/links.h"
#include "app/windows/about_window.h"
#include "app/windows/calculator_windows.h"
#include "app/windows/where_codes_window.h"
#include "decode/program.h"
#include "ui/frm_main.h"

namespace varnel {

namespace {

// Our partner sites. The language goes behind the name because none of them
// writes in English.
const QString kNewsPartnerName = QStringLiteral("Noticias del Procesador");
const QString kOcPartner1Name = QStringLiteral("Atelier Fr\u00e9quence");
const QString kOcPartner2Name = QStringLiteral("SurCadence");

const QString kBugReportQuestion = QStringLiteral(
    "Before sending a bug/error report, perhaps you would like\r\n"
    "to view the FAQ instead?\r\n"
    "\r\n"
    "This may help answer any problems you may be facing.\r\n"
    "\r\n"
    "Would you like to visit the FAQ now?\r\n"
    "\r\n"
    "(Click No to continue with the bug/error report)");

QString ContactMailTo(const QString& subject) {
    return QStringLiteral("mailto:") + QLatin1String(kContactAddress) +
           QStringLiteral("?subject=") + subject;
}

QAction* AddNamedAction(QMenu& menu, const QString& text, const QString& name) {
    QAction* action = menu.addAction(text);
    action->setObjectName(name);
    return action;
}

QAction* AddNamedSeparator(QMenu& menu, const QString& name) {
    QAction* separator = menu.addSeparator();
    separator->setObjectName(name);
    return separator;
}

QMenu* AddNamedMenu(QWidget& parentMenu, const QString& title, const QString& name) {
    auto* menu = new QMenu(title, &parentMenu);
    menu->setObjectName(name);
    parentMenu.addAction(menu->menuAction());
    return menu;
}

// Shows a secondary window over the main window. If it is already up (only a
// caller other than the user can get here then, the window being modal) it
// is brought to the front rather than built a second time.
template <typename Window, typename... Args>
void ShowModalWindow(QPointer<Window>& slot, QMainWindow& owner, Args&... args) {
    if (slot.isNull()) {
        slot = new Window(args..., &owner);
        slot->open();
        return;
    }
    slot->raise();
    slot->activateWindow();
}

}  // namespace

MainMenus::MainMenus(QMainWindow& window, UrlOpener& opener, Prompter& prompter)
    : QObject(&window), window_(window), opener_(opener), prompter_(prompter) {
    setObjectName(QStringLiteral("MainMenus"));
    QMenuBar& bar = *window.menuBar();
    BuildFileMenu(bar);
    BuildPartnersMenu(bar);
    BuildToolsMenu(bar);
    BuildHelpMenu(bar);
}

void MainMenus::BuildFileMenu(QMenuBar& bar) {
    mnuFile = AddNamedMenu(bar, QStringLiteral("&File"), QStringLiteral("mnuFile"));
    mnuFileItem[0] =
        AddNamedAction(*mnuFile, QStringLiteral("&Check FAQ"), QStringLiteral("mnuFileItem_0"));
    mnuFileItem[1] = AddNamedAction(*mnuFile, QStringLiteral("&Visit Homepage"),
                                    QStringLiteral("mnuFileItem_1"));
    mnuFileItem[2] = AddNamedSeparator(*mnuFile, QStringLiteral("mnuFileItem_2"));
    mnuFileItem[3] =
        AddNamedAction(*mnuFile, QStringLiteral("E&xit"), QStringLiteral("mnuFileItem_3"));
    for (int i = 0; i < static_cast<int>(mnuFileItem.size()); ++i) {
        connect(mnuFileItem[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuFileItem_Click(i); });
    }

    // The catalogue of real parts: P is free in the File menu, Ctrl+F finds.
    mnuPartsCatalogue = new QAction(QStringLiteral("&Parts Catalogue..."), mnuFile);
    mnuPartsCatalogue->setObjectName(QStringLiteral("mnuPartsCatalogue"));
    mnuPartsCatalogue->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuFile->insertAction(mnuFileItem[2], mnuPartsCatalogue);
    connect(mnuPartsCatalogue, &QAction::triggered, this, &MainMenus::mnuPartsCatalogue_Click);

    // The table under a name of the user's choice; A is free in the File menu.
    mnuExportAs = new QAction(QStringLiteral("Export HTML &As..."), mnuFile);
    mnuExportAs->setObjectName(QStringLiteral("mnuExportAs"));
    mnuFile->insertAction(mnuFileItem[2], mnuExportAs);
    connect(mnuExportAs, &QAction::triggered, this, [this] {
        if (auto* main = qobject_cast<frmMain*>(&window_)) {
            main->ExportHtmlAs();
        }
    });
}

void MainMenus::BuildPartnersMenu(QMenuBar& bar) {
    mnuWebFavourites =
        AddNamedMenu(bar, QStringLiteral("&Partners"), QStringLiteral("mnuWebFavourites"));

    mnuWebNews =
        AddNamedMenu(*mnuWebFavourites, QStringLiteral("&News"), QStringLiteral("mnuWebNews"));
    mnuWebNewsNone = AddNamedAction(*mnuWebNews, kNewsPartnerName + QStringLiteral(" (Spanish)"),
                                    QStringLiteral("mnuWebNewsNone"));
    connect(mnuWebNewsNone, &QAction::triggered, this, &MainMenus::mnuWebNewsNone_Click);

    mnuWebOC = AddNamedMenu(*mnuWebFavourites, QStringLiteral("&Overclocking"),
                            QStringLiteral("mnuWebOC"));
    mnuWebOCItem[0] = AddNamedAction(*mnuWebOC, kOcPartner1Name + QStringLiteral(" (French)"),
                                     QStringLiteral("mnuWebOCItem_0"));
    mnuWebOCItem[1] = AddNamedAction(*mnuWebOC, kOcPartner2Name + QStringLiteral(" (French)"),
                                     QStringLiteral("mnuWebOCItem_1"));
    for (int i = 0; i < static_cast<int>(mnuWebOCItem.size()); ++i) {
        connect(mnuWebOCItem[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuWebOCItem_Click(i); });
    }

    // No utility sites yet: the entry stays in sight, greyed, so it is plain
    // that the list is empty rather than broken.
    mnuWebUtil =
        AddNamedMenu(*mnuWebFavourites, QStringLiteral("&Utilities"), QStringLiteral("mnuWebUtil"));
    mnuWebUtil->menuAction()->setEnabled(false);

    mnuWebSplit = AddNamedSeparator(*mnuWebFavourites, QStringLiteral("mnuWebSplit"));
    mnuWebSiteAddRequest = AddNamedAction(*mnuWebFavourites, QStringLiteral("&Become a Partner..."),
                                          QStringLiteral("mnuWebSiteAddRequest"));
    connect(mnuWebSiteAddRequest, &QAction::triggered, this,
            &MainMenus::mnuWebSiteAddRequest_Click);
}

void MainMenus::BuildToolsMenu(QMenuBar& bar) {
    mnuTools = AddNamedMenu(bar, QStringLiteral("Experimental &Tools"), QStringLiteral("mnuTools"));
    mnuToolsItem[0] = AddNamedAction(*mnuTools, QStringLiteral("&Athlon PR Calculator"),
                                     QStringLiteral("mnuToolsItem_0"));
    mnuToolsItem[1] = AddNamedAction(*mnuTools, QStringLiteral("Thermal &Calculator"),
                                     QStringLiteral("mnuToolsItem_1"));
    for (int i = 0; i < static_cast<int>(mnuToolsItem.size()); ++i) {
        connect(mnuToolsItem[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { mnuToolsItem_Click(i); });
    }
}

void MainMenus::BuildHelpMenu(QMenuBar& bar) {
    mnuHelp = AddNamedMenu(bar, QStringLiteral("&Help"), QStringLiteral("mnuHelp"));
    mnuReport =
        AddNamedAction(*mnuHelp, QStringLiteral("&Report Bug/Error"), QStringLiteral("mnuReport"));
    connect(mnuReport, &QAction::triggered, this, &MainMenus::mnuReport_Click);
    mnuDividerHelp01 = AddNamedSeparator(*mnuHelp, QStringLiteral("mnuDividerHelp01"));
    mnuAbout = AddNamedAction(*mnuHelp, QStringLiteral("&About..."), QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, &MainMenus::mnuAbout_Click);
    // The first question of a new user; W is free in the Help menu.
    mnuWhereCodes = AddNamedAction(*mnuHelp, QStringLiteral("&Where are the three codes?"),
                                   QStringLiteral("mnuWhereCodes"));
    connect(mnuWhereCodes, &QAction::triggered, this, &MainMenus::mnuWhereCodes_Click);
}

void MainMenus::mnuFileItem_Click(int index) {
    switch (index) {
        case 0:
            OpenURL(opener_, QLatin1String(kFaqUrl));
            break;
        case 1:
            OpenURL(opener_, QLatin1String(kHomePageUrl));
            break;
        case 3:
            // The program lives as long as the main window; closing it ends the run.
            window_.close();
            break;
        default:
            break;
    }
}

void MainMenus::mnuWebNewsNone_Click() {
    OpenURL(opener_, QLatin1String(kNewsPartnerUrl));
}

void MainMenus::mnuWebOCItem_Click(int index) {
    switch (index) {
        case 0:
            OpenURL(opener_, QLatin1String(kOcPartner1Url));
            break;
        case 1:
            OpenURL(opener_, QLatin1String(kOcPartner2Url));
            break;
        default:
            break;
    }
}

void MainMenus::mnuWebSiteAddRequest_Click() {
    // The subject is whatever the entry says now, without its access-key marks.
    QString subject = mnuWebSiteAddRequest->text();
    subject.remove(QLatin1Char('&'));
    OpenURL(opener_, ContactMailTo(subject));
}

void MainMenus::mnuToolsItem_Click(int index) {
    switch (index) {
        case 0:
            ShowModalWindow(prCalc_, window_);
            break;
        case 1:
            ShowModalWindow(thermCalc_, window_);
            break;
        default:
            break;
    }
}

void MainMenus::mnuReport_Click() {
    try {
        switch (
            prompter_.Show({kBugReportQuestion, MessageIcon::Information,
                            MessageButtons::YesNoCancel, QStringLiteral("Bug/error reporting")})) {
            case MessageAnswer::Yes:
                OpenURL(opener_, QLatin1String(kFaqUrl));
                break;
            case MessageAnswer::No:
                OpenURL(opener_, ContactMailTo(QStringLiteral("Reporting a bug or error in ") +
                                               ApplicationTitle()));
                break;
            default:
                break;
        }
    } catch (...) {
        // Nothing may escape a menu handler into the event loop, not even a
        // failure to show this notice; if the notice itself cannot be shown
        // there is no one left to tell.
        try {
            prompter_.Show({QStringLiteral("An unexpected error has occured!"),
                            MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("Error")});
        } catch (...) {
        }
    }
}

void MainMenus::mnuAbout_Click() {
    ShowModalWindow(about_, window_, opener_);
}

void MainMenus::mnuWhereCodes_Click() {
    // Not modal: the drawing can stay open beside the code boxes while typing.
    if (whereCodes_.isNull()) {
        whereCodes_ = new frmWhereCodes(&window_);
    }
    whereCodes_->show();
    whereCodes_->raise();
    whereCodes_->activateWindow();
}

void MainMenus::mnuPartsCatalogue_Click() {
    emit PartsCatalogueRequested();
}

}  // namespace varnel
