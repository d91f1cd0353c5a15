#include <xcb/xcb.h>
#include <QApplication>
#include <QIcon>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/desktop_url_opener.h"
#include "app/windows/assembly.h"
#include "decode/program.h"
#include "ui/frm_main.h"

namespace {

// Options that only print and leave, as desktop programs answer them. Qt
// reads its own options with one dash or two; so do these.
struct PrintingOption {
    std::array<std::string_view, 2> spellings;
    void (*print)();
};

void PrintHelp() {
    std::fputs(
        "Usage: varnel [OPTION]\n"
        "Decode the markings printed on AMD K7 and K8 processors in a window: type the three\n"
        "lines of a marking and press Check.\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n"
        "\n"
        "Qt's own options, such as -platform or -style, are accepted too. To decode without a\n"
        "window, use varnel-decode.\n",
        stdout);
}

void PrintVersion() {
    std::printf("varnel %s\n", qPrintable(varnel::GetVersionString()));
}

constexpr std::array<PrintingOption, 2> kPrintingOptions{{
    {{"-h", "-help"}, &PrintHelp},
    {{"-v", "-version"}, &PrintVersion},
}};

// An argument as Qt reads it: two dashes count as one.
std::string_view OptionName(const char* argument) {
    std::string_view option(argument);
    if (option.starts_with("--")) {
        option.remove_prefix(1);
    }
    return option;
}

// The option that asks only for a printout, if one was given.
const PrintingOption* FindPrintingOption(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = OptionName(argv[i]);
        for (const PrintingOption& printing : kPrintingOptions) {
            if (std::find(printing.spellings.begin(), printing.spellings.end(), option) !=
                printing.spellings.end()) {
                return &printing;
            }
        }
    }
    return nullptr;
}

bool IsEnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The platform the caller chose for Qt (-platform NAME, or QT_QPA_PLATFORM),
// or empty when Qt is left to pick one for the desktop.
std::string_view ChosenPlatform(int argc, char* argv[]) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (OptionName(argv[i]) == "-platform") {
            return argv[i + 1];
        }
    }
    const char* variable = std::getenv("QT_QPA_PLATFORM");
    return variable != nullptr ? variable : "";
}

// Why Qt would find no desktop display, or empty when it would: then it would
// abort with advice to reinstall, which helps no one. A platform the caller
// chose is Qt's to open, the X display excepted: DISPLAY may name one that
// is gone (a stale ssh session) or that this user may not use (under sudo),
// so it is tried first, with the same library Qt's X platform uses.
std::string WhyNoDisplay(int argc, char* argv[]) {
    const std::string_view platform = ChosenPlatform(argc, argv);
    if (!platform.empty() && !platform.starts_with("xcb")) {
        return {};
    }
    if (!IsEnvironmentSet("DISPLAY")) {
        return platform.empty() && !IsEnvironmentSet("WAYLAND_DISPLAY")
                   ? "DISPLAY and WAYLAND_DISPLAY are unset"
                   : std::string();
    }
    if (platform.empty() && IsEnvironmentSet("WAYLAND_DISPLAY")) {
        return {};
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    return failed ? "DISPLAY=" + std::string(std::getenv("DISPLAY")) + " does not answer"
                  : std::string();
}

}  // namespace

int main(int argc, char* argv[]) {
    // Help and version need no window, and so no display.
    if (const PrintingOption* printing = FindPrintingOption(argc, argv)) {
        printing->print();
        return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
    }
    if (const std::string why = WhyNoDisplay(argc, argv); !why.empty()) {
        std::fprintf(stderr,
                     "varnel: no display to open the window on (%s); start it from a desktop or "
                     "with 'xvfb-run -a varnel', or decode without a window with varnel-decode\n",
                     why.c_str());
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
    varnel::AssembleMainWindow(window, opener);

    // The program lives exactly as long as its main window: closing it ends
    // everything, an open About or tool window included.
    QObject::connect(&window, &varnel::frmMain::Closed, &app, &QCoreApplication::quit);

    window.show();
    return QApplication::exec();
}
