#include <QApplication>
#include <QIcon>

#include "desktop_url_opener.h"
#include "frm_main.h"
#include "main_menus.h"
#include "shell.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    varnel::SetApplicationIdentity();
    // Ties the window to its launcher and icon; Wayland shows no icon without it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Varnel"));

    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/varnel_16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/varnel_32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);

    varnel::DesktopUrlOpener opener;
    varnel::frmMain window(opener);
    window.setWindowIcon(icon);
    varnel::InstallMainMenus(window, opener, window.prompter());

    // The program lives exactly as long as its main window: closing it ends
    // everything, an open About or tool window included.
    QObject::connect(&window, &varnel::frmMain::Closed, &app, &QCoreApplication::quit);

    window.show();
    return QApplication::exec();
}
