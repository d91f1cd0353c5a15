#include "main_menus.h"

namespace varnel {

void InstallMainMenus(QMainWindow& /*window*/, UrlOpener& /*opener*/, Prompter& /*prompter*/) {}

}  // namespace varnel
