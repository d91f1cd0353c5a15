#pragma once

#include <QMainWindow>

#include "ports.h"

namespace varnel {

// Builds the main window's menu bar (File, Partners, Experimental Tools, Help)
// and wires every entry; links go through the opener, questions through the
// prompter. The menus live as long as the window.
void InstallMainMenus(QMainWindow& window, UrlOpener& opener, Prompter& prompter);

}  // namespace varnel
