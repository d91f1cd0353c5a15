#pragma once

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <array>

#include "decode/ports.h"

class QAction;
class QMenu;
class QMenuBar;

namespace varnel {

class frmAbout;
class frmPRCalc;
class frmThermCalc;
class frmWhereCodes;

// The menu bar of the main window (File, Partners, Experimental Tools, Help)
// and the handlers behind its entries; links go through the opener,
// questions through the prompter, and the menus live as long as the window.
// Entries that share a name form a control array, addressed by index like the
// menu they came from; a separator keeps its index in the array.
class MainMenus : public QObject {
    Q_OBJECT

  public:
    MainMenus(QMainWindow& window, UrlOpener& opener, Prompter& prompter);

    QMenu* mnuFile = nullptr;
    std::array<QAction*, 4> mnuFileItem{};
    QAction* mnuPartsCatalogue = nullptr;  // above the File menu's separator
    QAction* mnuExportAs = nullptr;        // under it, still above the separator
    QMenu* mnuWebFavourites = nullptr;
    QMenu* mnuWebNews = nullptr;
    QAction* mnuWebNewsNone = nullptr;
    QMenu* mnuWebOC = nullptr;
    std::array<QAction*, 2> mnuWebOCItem{};
    QMenu* mnuWebUtil = nullptr;
    QAction* mnuWebSplit = nullptr;
    QAction* mnuWebSiteAddRequest = nullptr;
    QMenu* mnuTools = nullptr;
    std::array<QAction*, 2> mnuToolsItem{};
    QMenu* mnuHelp = nullptr;
    QAction* mnuReport = nullptr;
    QAction* mnuDividerHelp01 = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuWhereCodes = nullptr;  // after About: "Where are the three codes?"

  public slots:
    void mnuFileItem_Click(int index);
    void mnuWebNewsNone_Click();
    void mnuWebOCItem_Click(int index);
    void mnuWebSiteAddRequest_Click();
    void mnuToolsItem_Click(int index);
    void mnuReport_Click();
    void mnuAbout_Click();
    void mnuWhereCodes_Click();
    void mnuPartsCatalogue_Click();

  signals:
    // "Parts Catalogue..." was chosen: whoever assembled the program opens it.
    void PartsCatalogueRequested();

  private:
    void BuildFileMenu(QMenuBar& bar);
    void BuildPartnersMenu(QMenuBar& bar);
    void BuildToolsMenu(QMenuBar& bar);
    void BuildHelpMenu(QMenuBar& bar);

    QMainWindow& window_;
    UrlOpener& opener_;
    Prompter& prompter_;

    // One window of each kind at a time; each is destroyed when closed, so
    // the pointer falls back to null and the next opening builds it afresh.
    QPointer<frmAbout> about_;
    QPointer<frmPRCalc> prCalc_;
    QPointer<frmThermCalc> thermCalc_;
    QPointer<frmWhereCodes> whereCodes_;
};

}  // namespace varnel
