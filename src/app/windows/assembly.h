#pragma once

#include "decode/ports.h"

namespace varnel {

class CatalogueWindows;
class MainMenus;
class frmMain;

// The windows around the main one, and who answers whom.
struct Assembly {
    MainMenus* menus = nullptr;
    CatalogueWindows* catalogue = nullptr;
};

// Puts the menu bar on the main window and ties the catalogue's windows to
// it: the verdict's "Details..." and each Check to the details window, the
// File menu's "Parts Catalogue..." to the parts browser. Both live as long
// as the window.
Assembly AssembleMainWindow(frmMain& window, UrlOpener& opener);

}  // namespace varnel
