#include <QAbstractButton>
#include <QApplication>
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
#include "ui/frm_main.h"

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

// The letter after the "&" of a caption, upper-cased; none without one.
QChar AccessKey(const QString& caption) {
    const QString key = QKeySequence::mnemonic(caption).toString();
    return key.isEmpty() ? QChar() : key.back().toUpper();
}

// Fails on the first access key that two entries of one menu share.
void ExpectUniqueKeys(const QString& where, const QStringList& captions) {
    QString seen;
    for (const QString& caption : captions) {
        const QChar key = AccessKey(caption);
        QVERIFY2(key.isNull() || !seen.contains(key), qPrintable(where + ": " + caption));
        seen.append(key);
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

    void accessKeysAreUniqueWhereAltReachesThem() {
        // The menu bar shares Alt with the main window's buttons and labels.
        RecordingUrlOpener opener;
        frmMain main(opener, &prompter_);
        InstallMainMenus(main, opener, prompter_);
        QStringList topLevel;
        for (const QAction* action : main.menuBar()->actions()) {
            topLevel << action->text();
        }
        for (const QAbstractButton* button : main.findChildren<QAbstractButton*>()) {
            topLevel << button->text();
        }
        for (const QLabel* label : main.findChildren<QLabel*>()) {
            topLevel << (label->buddy() != nullptr ? label->text() : QString());
        }
        ExpectUniqueKeys(QStringLiteral("the main window"), topLevel);
        for (const QMenu* menu : main.menuBar()->findChildren<QMenu*>()) {
            QStringList entries;
            for (const QAction* action : menu->actions()) {
                entries << action->text();
            }
            ExpectUniqueKeys(menu->objectName(), entries);
        }
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
        QTest::addColumn<int>("key");          // 0: a click; otherwise reached with Tab
        QTest::addColumn<QString>("url");
        QTest::newRow("mail, click") << true << "" << 0 << kMailTo + "?subject=About";
        QTest::newRow("mail recaptioned, Enter")
            << true << "help@example.net" << int(Qt::Key_Return)
            << "mailto:help@example.net?subject=About";
        QTest::newRow("page, Space") << false << "" << int(Qt::Key_Space) << QString(kHomePageUrl);
        QTest::newRow("page recaptioned, click")
            << false << "https://mirror.example.net/" << 0 << "https://mirror.example.net/";
    }
    void aboutLinksOpenTheirCurrentCaption() {
        QFETCH(bool, mail);
        QFETCH(QString, caption);
        QFETCH(int, key);
        QFETCH(QString, url);
        Menus().mnuAbout_Click();
        auto* about = window_->findChild<frmAbout*>();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QPalette dark = about->palette();
        dark.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
        about->setPalette(dark);
        LinkLabel* link = mail ? about->lblMailLink : about->lblPageLink;
        QCOMPARE(link->text(), QString(mail ? kContactAddress : kHomePageUrl));
        QCOMPARE(link->palette().color(link->foregroundRole()), QColor(0x8a, 0xb4, 0xf8));
        if (!caption.isEmpty()) {
            link->setText(caption);
        }
        if (key == 0) {
            QTest::mouseClick(link, Qt::LeftButton);
        } else {
            for (int tab = 0; tab < 5 && QApplication::focusWidget() != link; ++tab) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QCOMPARE(QApplication::focusWidget(), link);
            QTest::keyClick(link, static_cast<Qt::Key>(key));
        }
        QCOMPARE(opener_.Urls(), QList<QString>{url});
        // Another button, or a press dragged off the caption, opens nothing.
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(opener_.Urls().size(), 1);
    }
};

QTEST_MAIN(ShellTest)
#include "windows_test.moc"
