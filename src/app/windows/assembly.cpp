#include "app/windows/assembly.h"

#include "app/catalogue/catalogue_windows.h"
#include "app/windows/main_menus.h"
#include "ui/frm_main.h"

namespace varnel {

Assembly AssembleMainWindow(frmMain& window, UrlOpener& opener) {
    Assembly assembly;
    assembly.menus = new MainMenus(window, opener, window.prompter());
    assembly.catalogue = new CatalogueWindows(window, opener);
    QObject::connect(assembly.menus, &MainMenus::PartsCatalogueRequested, assembly.catalogue,
                     &CatalogueWindows::ShowPartsBrowser);
    return assembly;
}

}  // namespace varnel
