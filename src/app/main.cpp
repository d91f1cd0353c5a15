#include <QApplication>
#include <QIcon>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
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

// True when Qt would look for a desktop display and find none: it would then
// abort with advice to reinstall, which helps no one.
bool IsDisplayMissing(int argc, char* argv[]) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (IsEnvironmentSet(name)) {
            return false;
        }
    }
    // A platform chosen on the command line (-platform offscreen) is Qt's to open.
    for (int i = 1; i < argc; ++i) {
        if (OptionName(argv[i]) == "-platform") {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Help and version need no window, and so no display.
    if (const PrintingOption* printing = FindPrintingOption(argc, argv)) {
        printing->print();
        return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
    }
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
    varnel::AssembleMainWindow(window, opener);

    // The program lives exactly as long as its main window: closing it ends
    // everything, an open About or tool window included.
    QObject::connect(&window, &varnel::frmMain::Closed, &app, &QCoreApplication::quit);

    window.show();
    return QApplication::exec();
}
