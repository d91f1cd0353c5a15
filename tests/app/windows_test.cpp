#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <stdexcept>

#include "app/links.h"
#include "app/windows/about_window.h"
#include "app/windows/link_label.h"
#include "app/windows/main_menus.h"
#include "decode/program.h"
#include "support/fakes.h"

using namespace varnel;

namespace {

// Desktop services that blow up, to reach the bug report's error trap.
class ThrowingUrlOpener : public UrlOpener {
  public:
    void Open(const QString&) override { throw std::runtime_error("no desktop"); }
};
class ThrowingPrompter : public Prompter {
  public:
    MessageAnswer Show(const Message&) override { throw std::runtime_error("no display"); }
};

// One line per entry, indented by depth: name, caption ("-" for a separator)
// and "off" when disabled.
void DumpMenu(const QList<QAction*>& actions, int depth, QStringList& lines) {
    for (QAction* action : actions) {
        QMenu* submenu = action->menu();
        QString line = QString(depth * 2, QLatin1Char(' ')) +
                       (submenu ? submenu->objectName() : action->objectName()) + '|' +
                       (action->isSeparator() ? QStringLiteral("-") : action->text());
        lines << (action->isEnabled() ? line : line + "|off");
        if (submenu) {
            DumpMenu(submenu->actions(), depth + 1, lines);
        }
    }
}

const QString kMailTo = QStringLiteral("mailto:") + QLatin1String(kContactAddress);

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QMainWindow> window_;
    RecordingUrlOpener opener_;
    ScriptedPrompter prompter_;

    MainMenus& Install(UrlOpener& opener, Prompter& prompter) {
        window_ = std::make_unique<QMainWindow>();
        InstallMainMenus(*window_, opener, prompter);
        window_->show();
        return *MainMenus::Of(*window_);
    }
    MainMenus& Menus() { return *MainMenus::Of(*window_); }
    QAction* Action(const QString& name) { return window_->findChild<QAction*>(name); }
    void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // With VARNEL_SCREENSHOT_DIR set (and a real display) a window is saved
    // as a picture, for checking its layout by eye.
    static void SaveScreenshot(QWidget& dialog) {
        const QString folder = qEnvironmentVariable("VARNEL_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QTest::qWait(200);
            QVERIFY(dialog.grab().save(folder + '/' + dialog.objectName() + ".png"));
        }
    }

  private slots:
    void initTestCase() { SetApplicationIdentity(); }
    void init() {
        opener_ = RecordingUrlOpener();
        prompter_ = ScriptedPrompter();
        Install(opener_, prompter_);
    }
    void cleanup() { window_.reset(); }

    void menuTreeInDisplayOrder() {
        QStringList lines;
        DumpMenu(window_->menuBar()->actions(), 0, lines);
        const QStringList expected = {
            "mnuFile|&File",
            "  mnuFileItem_0|&Check FAQ",
            "  mnuFileItem_1|&Visit Homepage",
            "  mnuPartsCatalogue|&Parts Catalogue...",
            "  mnuFileItem_2|-",
            "  mnuFileItem_3|E&xit",
            "mnuWebFavourites|&Partners",
            "  mnuWebNews|&News",
            "    mnuWebNewsNone|Noticias del Procesador (Spanish)",
            "  mnuWebOC|&Overclocking",
            "    mnuWebOCItem_0|Atelier Fr\u00e9quence (French)",
            "    mnuWebOCItem_1|SurCadence (French)",
            "  mnuWebUtil|&Utilities|off",
            "  mnuWebSplit|-",
            "  mnuWebSiteAddRequest|&Become a Partner...",
            "mnuTools|Experimental &Tools",
            "  mnuToolsItem_0|&Athlon PR Calculator",
            "  mnuToolsItem_1|Thermal &Calculator",
            "mnuHelp|&Help",
            "  mnuReport|&Report Bug/Error",
            "  mnuDividerHelp01|-",
            "  mnuAbout|&About...",
        };
        QCOMPARE(lines, expected);
        QVERIFY(Menus().mnuWebUtil->actions().isEmpty());
        // A control array keeps its indices, the separator's included.
        QCOMPARE(Menus().mnuFileItem[2], Action("mnuFileItem_2"));
    }

    void linksGoThroughTheOpener_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");  // empty: leave the caption alone
        QTest::addColumn<QString>("url");
        QTest::newRow("faq") << "mnuFileItem_0"
                             << "" << QString(kFaqUrl);
        QTest::newRow("home page") << "mnuFileItem_1"
                                   << "" << QString(kHomePageUrl);
        QTest::newRow("news") << "mnuWebNewsNone"
                              << "" << QString(kNewsPartnerUrl);
        QTest::newRow("oc 0") << "mnuWebOCItem_0"
                              << "" << QString(kOcPartner1Url);
        QTest::newRow("oc 1") << "mnuWebOCItem_1"
                              << "" << QString(kOcPartner2Url);
        // The subject goes out as the entry reads, marks removed, not URL-encoded.
        QTest::newRow("partner") << "mnuWebSiteAddRequest"
                                 << "" << kMailTo + "?subject=Become a Partner...";
        QTest::newRow("partner renamed")
            << "mnuWebSiteAddRequest"
            << "&Apply for a &Link && Ad" << kMailTo + "?subject=Apply for a Link  Ad";
    }
    void linksGoThroughTheOpener() {
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        QFETCH(QString, url);
        if (!caption.isEmpty()) {
            Action(entry)->setText(caption);
        }
        Action(entry)->trigger();
        QCOMPARE(opener_.Urls(), QList<QString>{url});
        QVERIFY(prompter_.Messages().isEmpty());
    }

    void bugReportQuestion_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QList<QString>>("urls");
        QTest::newRow("yes: faq") << MessageAnswer::Yes << QList<QString>{kFaqUrl};
        QTest::newRow("no: mail") << MessageAnswer::No
                                  << QList<QString>{kMailTo +
                                                    "?subject=Reporting a bug or error in Varnel"};
        QTest::newRow("cancel: nothing") << MessageAnswer::Cancel << QList<QString>{};
    }
    void bugReportQuestion() {
        QFETCH(MessageAnswer, answer);
        QFETCH(QList<QString>, urls);
        prompter_.Script({answer});
        Action("mnuReport")->trigger();
        const Message question{
            "Before sending a bug/error report, perhaps you would like\r\nto view the FAQ "
            "instead?\r\n\r\nThis may help answer any problems you may be facing.\r\n\r\n"
            "Would you like to visit the FAQ now?\r\n\r\n"
            "(Click No to continue with the bug/error report)",
            MessageIcon::Information, MessageButtons::YesNoCancel, "Bug/error reporting"};
        QCOMPARE(prompter_.Messages(), QList<Message>{question});
        QCOMPARE(opener_.Urls(), urls);
    }

    void bugReportTrapsFailures() {
        ThrowingUrlOpener brokenOpener;
        prompter_.Script({MessageAnswer::Yes});
        Install(brokenOpener, prompter_).mnuReport_Click();
        QCOMPARE(prompter_.Messages().size(), 2);
        QCOMPARE(prompter_.Messages().at(1),
                 (Message{"An unexpected error has occured!", MessageIcon::Critical,
                          MessageButtons::Ok, "Error"}));
        // Even the notice failing must not escape into the event loop.
        ThrowingPrompter brokenPrompter;
        Install(opener_, brokenPrompter).mnuReport_Click();
        QVERIFY(opener_.Urls().isEmpty());
    }

    void exitClosesTheMainWindow() {
        Action("mnuFileItem_3")->trigger();
        QVERIFY(!window_->isVisible());
    }

    void secondaryWindowsAreModalAndBuiltPerOpening_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("title");
        QTest::newRow("pr") << "mnuToolsItem_0"
                            << "frmPRCalc"
                            << "Athlon PR Calculator";
        QTest::newRow("thermal") << "mnuToolsItem_1"
                                 << "frmThermCalc"
                                 << "Thermal Output Calculator";
        QTest::newRow("about") << "mnuAbout"
                               << "frmAbout"
                               << "About Varnel";
    }
    void secondaryWindowsAreModalAndBuiltPerOpening() {
        QFETCH(QString, entry);
        QFETCH(QString, form);
        QFETCH(QString, title);
        Action(entry)->trigger();
        QPointer<QDialog> first = window_->findChild<QDialog*>(form);
        QVERIFY(first && first->isVisible());
        QVERIFY(first->windowModality() != Qt::NonModal);
        QCOMPARE(first->parentWidget(), window_.get());
        QCOMPARE(first->windowTitle(), title);
        // Asked again while it is up: the same window, not a second one.
        Action(entry)->trigger();
        QCOMPARE(window_->findChildren<QDialog*>().size(), 1);
        first->close();
        Flush();
        QVERIFY(first.isNull());
        Action(entry)->trigger();
        QVERIFY(window_->findChild<QDialog*>(form)->isVisible());
    }

    void aboutAddsTheVersionLineOncePerOpening() {
        const QString version = GetVersionString();
        for (int opening = 1; opening <= 2; ++opening) {
            Menus().mnuAbout_Click();
            QPointer<frmAbout> about = window_->findChild<frmAbout*>();
            QCOMPARE(about->lblTitle->text(), "Varnel");
            QCOMPARE(about->lblVersion->text(), "Version " + version + " (Beta)");
            QCOMPARE(about->txtAbout->toPlainText(),
                     "This version is currently BETA\nVersion " + version + "\n\n");
            QVERIFY(about->txtAbout->isReadOnly());
            SaveScreenshot(*about);
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
            Flush();
            QVERIFY(about.isNull());
        }
    }

    void aboutLinksOpenTheirCurrentCaption_data() {
        QTest::addColumn<bool>("mail");
        QTest::addColumn<QString>("caption");  // empty: as loaded
        QTest::addColumn<QString>("url");
        QTest::newRow("mail") << true << "" << kMailTo + "?subject=About";
        QTest::newRow("mail recaptioned") << true << "help@example.net"
                                          << "mailto:help@example.net?subject=About";
        QTest::newRow("page") << false << "" << QString(kHomePageUrl);
        QTest::newRow("page recaptioned") << false << "https://mirror.example.net/"
                                          << "https://mirror.example.net/";
    }
    void aboutLinksOpenTheirCurrentCaption() {
        QFETCH(bool, mail);
        QFETCH(QString, caption);
        QFETCH(QString, url);
        Menus().mnuAbout_Click();
        auto* about = window_->findChild<frmAbout*>();
        LinkLabel* link = mail ? about->lblMailLink : about->lblPageLink;
        QCOMPARE(link->text(), QString(mail ? kContactAddress : kHomePageUrl));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        if (!caption.isEmpty()) {
            link->setText(caption);
        }
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(opener_.Urls(), QList<QString>{url});
        // Another button, or a press dragged off the caption, opens nothing.
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(opener_.Urls().size(), 1);
    }

    void calculatorButtonsLeaveTheResultWaiting_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("result");
        QTest::newRow("mhz to pr") << 0 << "cmdCheckPR"
                                   << "lblPR";
        QTest::newRow("check mhz") << 0 << "cmdCheckMHz"
                                   << "lblPR";
        QTest::newRow("thermal") << 1 << "Command1"
                                 << "lblWattage";
    }
    void calculatorButtonsLeaveTheResultWaiting() {
        QFETCH(int, tool);
        QFETCH(QString, button);
        QFETCH(QString, result);
        Menus().mnuToolsItem_Click(tool);
        auto* dialog = window_->findChild<QDialog*>();
        SaveScreenshot(*dialog);
        for (auto* entry : dialog->findChildren<QLineEdit*>()) {
            QTest::keyClicks(entry, "1800");
        }
        QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(dialog->findChild<QLabel*>(result)->text(), "Waiting...");
        QVERIFY(dialog->isVisible());
    }
};

QTEST_MAIN(ShellTest)
#include "windows_test.moc"
