#include <QApplication>
#include <QIcon>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/desktop_url_opener.h"
#include "app/windows/main_menus.h"
#include "decode/program.h"
#include "ui/frm_main.h"

namespace {

// Options that choose a platform of their own (-platform offscreen) or only
// print and leave, spelled with one dash as Qt reads both spellings.
constexpr std::array<std::string_view, 6> kNoDisplayOptions = {"-platform", "-h", "-help",
                                                               "-help-all", "-v", "-version"};

bool IsEnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// True when Qt would look for a desktop display and find none: it would then
// abort with advice to reinstall, which helps no one.
bool IsDisplayMissing(int argc, char* argv[]) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (IsEnvironmentSet(name)) {
            return false;
        }
    }
    for (int i = 1; i < argc; ++i) {
        std::string_view option(argv[i]);
        if (option.starts_with("--")) {
            option.remove_prefix(1);
        }
        if (std::find(kNoDisplayOptions.begin(), kNoDisplayOptions.end(), option) !=
            kNoDisplayOptions.end()) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (IsDisplayMissing(argc, argv)) {
        std::fputs(
            "varnel: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); "
            "start it from a desktop or with 'xvfb-run -a varnel', or decode without a window "
            "with varnel-decode\n",
            stderr);
        return 1;
    }
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
