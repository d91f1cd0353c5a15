// The menus and the secondary windows beside the real main window, on the
// offscreen platform: where links lead, that a window opens once, the
// catalogue's verdict after each Check, its details and the parts browser.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <memory>
#include <stdexcept>

#include "app/catalogue/catalogue_windows.h"
#include "app/catalogue/part_details_window.h"
#include "app/catalogue/parts_browser.h"
#include "app/links.h"
#include "app/windows/about_window.h"
#include "app/windows/assembly.h"
#include "app/windows/calculator_windows.h"
#include "app/windows/link_label.h"
#include "app/windows/main_menus.h"
#include "app/windows/where_codes_window.h"
#include "catalogue/catalogue.h"
#include "catalogue/parts_table_model.h"
#include "decode/captions.h"
#include "decode/program.h"
#include "report/html_table.h"
#include "support/fakes.h"
#include "ui/catalogue_verdict.h"
#include "ui/frm_main.h"

using namespace varnel;
using catalogue::PartsTableModel;

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

// Fails on the first access key that two of the captions share.
void ExpectUniqueKeys(const QString& where, const QStringList& captions) {
    QString seen;
    for (const QString& caption : captions) {
        const QString key = QKeySequence::mnemonic(caption).toString().right(1).toUpper();
        QVERIFY2(key.isEmpty() || !seen.contains(key), qPrintable(where + ": " + caption));
        seen.append(key);
    }
}

const QString kMailTo = QStringLiteral("mailto:") + QLatin1String(kContactAddress);

// A label's text as the reader sees it, its no-break spaces read as spaces.
QString ShownText(const QLabel& label) {
    QTextDocument document;
    document.setHtml(label.text());
    return document.toPlainText().replace(QChar(0x00A0), u' ');
}

QStringList LinkTargets(const QLabel& label) {
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    QStringList targets;
    for (const QRegularExpressionMatch& match : href.globalMatch(label.text())) {
        targets.append(match.captured(1));
    }
    return targets;
}

// Follows the n-th link of a label from the keyboard, as a user would.
void FollowLink(QLabel& label, int n) {
    // The offscreen platform leaves the main window active beside a dialog.
    QApplication::setActiveWindow(label.window());
    label.clearFocus();  // Tab focus starts at the first link
    label.setFocus(Qt::TabFocusReason);
    for (int i = 0; i < n; ++i) {
        QTest::keyClick(&label, Qt::Key_Tab);
    }
    QTest::keyClick(&label, Qt::Key_Return);
}

// The fact rows not marked as agreeing: the four cells joined by |, and "*"
// behind when the row is tinted.
QStringList UnmatchedFacts(const PartDetailsWindow& details) {
    QStringList rows;
    for (int row = 0; row < details.facts->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < details.facts->columnCount(); ++column) {
            cells.append(details.facts->item(row, column)->text());
        }
        const bool tinted =
            details.facts->item(row, 0)->background().color() == details.DifferenceColour();
        if (tinted || cells.last() != u"=") {
            rows.append(cells.join(u'|') + (tinted ? QStringLiteral("*") : QString()));
        }
    }
    return rows;
}

QStringList ShownColumn(const QTableView& view, int column) {
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        texts.append(view.model()->index(row, column).data().toString());
    }
    return texts;
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    RecordingUrlOpener opener_;
    ScriptedPrompter prompter_;
    std::unique_ptr<frmMain> window_;

    Assembly assembly_;

    MainMenus& Install(UrlOpener& opener, Prompter& prompter) {
        window_ = std::make_unique<frmMain>(opener, &prompter);
        assembly_ = AssembleMainWindow(*window_, opener);
        window_->show();
        return *assembly_.menus;
    }
    QAction* Action(const QString& name) { return window_->findChild<QAction*>(name); }
    void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    CatalogueWindows& Windows() { return *assembly_.catalogue; }
    CatalogueVerdict& Verdict() { return *window_->catalogueVerdict; }

    void Check(const QString& codeOne, const QString& codeThree = QStringLiteral("Y3121234")) {
        window_->SetCodeText(0, codeOne);
        window_->SetCodeText(1, QStringLiteral("KQXEB0345MPMW"));
        window_->SetCodeText(2, codeThree);
        window_->Command2->click();
    }
    PartsBrowser& OpenBrowser() {
        Action("mnuPartsCatalogue")->trigger();
        return *Windows().Browser();
    }

  private slots:
    void initTestCase() { SetApplicationIdentity(); }
    void init() {
        opener_ = RecordingUrlOpener();
        prompter_ = ScriptedPrompter();
        Install(opener_, prompter_);
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void accessKeysAreUniqueWhereAltReachesThem() {
        // The menu bar shares Alt with the main window's buttons and labels.
        QStringList topLevel;
        for (const QAction* action : window_->menuBar()->actions()) {
            topLevel << action->text();
        }
        for (const QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
            topLevel << button->text();
        }
        for (const QLabel* label : window_->findChildren<QLabel*>()) {
            topLevel << (label->buddy() != nullptr ? label->text() : QString());
        }
        ExpectUniqueKeys(QStringLiteral("the main window"), topLevel);
        for (const QMenu* menu : window_->menuBar()->findChildren<QMenu*>()) {
            QStringList entries;
            for (const QAction* action : menu->actions()) {
                entries << action->text();
            }
            ExpectUniqueKeys(menu->objectName(), entries);
        }
    }

    // The Help menu's last entry shows the drawing of where the codes are,
    // one note a code, each naming its box; the entries before it stay.
    void whereAreTheCodesOpensFromTheHelpMenu() {
        const QList<QAction*> help = assembly_.menus->mnuHelp->actions();
        QCOMPARE(help.last(), Action("mnuWhereCodes"));
        QCOMPARE(help.indexOf(Action("mnuAbout")), help.size() - 2);
        help.last()->trigger();
        auto* window = window_->findChild<frmWhereCodes*>();
        QVERIFY(window != nullptr && QTest::qWaitForWindowExposed(window));
        QVERIFY(window->drawing->width() >= window->drawing->sizeHint().width());
        for (std::size_t code = 0; code < kCodeBoxCount; ++code) {
            QString name = QString::fromUtf16(kCodeCaptions[code].data(),
                                              static_cast<qsizetype>(kCodeCaptions[code].size()));
            name.chop(1);
            QVERIFY(window->lblCodeNote[code]->isVisible());
            QVERIFY(window->lblCodeNote[code]->text().contains(name + "</b>: "));
        }
        // The drawing fills its rectangle in the palette's colours.
        QImage image(window->drawing->sizeHint(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        window->drawing->Paint(painter);
        painter.end();
        QVERIFY(image.pixelColor(image.width() / 4, image.height() / 2).alpha() > 0);
    }

    // File > Export HTML As writes the table.htm bytes under the chosen
    // name, Code One's by default.
    void exportAsWritesTheTableUnderTheChosenName() {
        QTemporaryDir folder;
        QString suggested;
        window_->askExportPath = [&](const QString& path) {
            suggested = path;
            return folder.filePath(QStringLiteral("chosen.htm"));
        };
        Check(QStringLiteral("AXDA2500DKV4D"));
        prompter_.Clear();
        Action("mnuExportAs")->trigger();
        QVERIFY(suggested.endsWith(QStringLiteral("/AXDA2500DKV4D.htm")));
        QFile written(folder.filePath(QStringLiteral("chosen.htm")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(),
                 report::EncodeTableFile(report::BuildDefaultTable(window_->SheetToExport())));
        QCOMPARE(prompter_.Messages().size(), 1);
        QCOMPARE(prompter_.Messages()[0].icon, MessageIcon::Information);
        // A cancelled dialog writes nothing and says nothing.
        window_->askExportPath = [](const QString&) { return QString(); };
        Action("mnuExportAs")->trigger();
        QCOMPARE(prompter_.Messages().size(), 1);
    }

    // The partner request mails with the entry's caption as it reads now,
    // marks removed, not URL-encoded.
    void partnerRequestMailsItsCaption() {
        QAction* request = Action("mnuWebSiteAddRequest");
        request->trigger();
        request->setText(QStringLiteral("&Apply for a &Link && Ad"));
        request->trigger();
        QCOMPARE(opener_.Urls(), (QList<QString>{kMailTo + "?subject=Become a Partner...",
                                                 kMailTo + "?subject=Apply for a Link  Ad"}));
    }

    // The bug report first offers the FAQ: Yes opens it, No writes the mail,
    // Cancel does neither.
    void bugReportOffersTheFaqFirst() {
        prompter_.Script({MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel});
        for (int answer = 0; answer < 3; ++answer) {
            Action("mnuReport")->trigger();
        }
        QCOMPARE(prompter_.Messages().size(), 3);
        QCOMPARE(
            opener_.Urls(),
            (QList<QString>{kFaqUrl, kMailTo + "?subject=Reporting a bug or error in Varnel"}));
    }

    void bugReportTrapsFailures() {
        ThrowingUrlOpener brokenOpener;
        prompter_.Script({MessageAnswer::Yes});
        Install(brokenOpener, prompter_).mnuReport_Click();
        QCOMPARE(prompter_.Messages().size(), 2);
        QCOMPARE(prompter_.Messages().at(1).title, QStringLiteral("Error"));
        // Even the notice failing must not escape into the event loop.
        ThrowingPrompter brokenPrompter;
        Install(opener_, brokenPrompter).mnuReport_Click();
        QVERIFY(opener_.Urls().isEmpty());
    }

    // A secondary window is modal over the main one, opens once however often
    // it is asked for, and is built afresh after it was closed.
    void secondaryWindowsOpenOnce() {
        for (const char* entry : {"mnuToolsItem_0", "mnuToolsItem_1", "mnuAbout"}) {
            Action(entry)->trigger();
            QPointer<QDialog> first = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY2(first && first->parent() == window_.get(), entry);
            const QString form = first->objectName();
            Action(entry)->trigger();
            QCOMPARE(window_->findChildren<QDialog*>(form).size(), 1);
            first->close();
            Flush();
            QVERIFY(first.isNull());
            Action(entry)->trigger();
            QVERIFY(window_->findChild<QDialog*>(form)->isVisible());
        }
    }

    // Each calculator answers its button and Enter in its entries, once: Enter
    // in the clock entry does not press "Check MHz" too.
    void calculatorsAnswerTheirButtons() {
        frmPRCalc rating(window_.get());
        rating.show();
        rating.Combo1->setCurrentIndex(2);  // Barton
        rating.txtPR->setText(QStringLiteral("1833"));
        QTest::keyClick(rating.txtPR, Qt::Key_Return);
        QVERIFY2(rating.lblPR->text().contains(u"AXDA2500DKV4D"), qPrintable(rating.lblPR->text()));
        rating.txtMultiplier->setText(QStringLiteral("12.5"));
        rating.txtFSB->setCurrentIndex(2);  // 166.66
        rating.cmdCheckMHz->click();
        QCOMPARE(rating.txtPR->text(), QStringLiteral("2083"));
        QVERIFY(rating.lblPR->text().contains(u"AXDA2800DKV4D"));
        rating.txtMultiplier->clear();
        QTest::keyClick(rating.txtMultiplier, Qt::Key_Return);
        QVERIFY(rating.lblPR->text().contains(u"multiplier"));
        QVERIFY(rating.txtMultiplier->toolTip().contains(u"multiplier"));

        frmThermCalc thermal(window_.get());
        thermal.show();
        thermal.Combo1->setCurrentIndex(4);  // Thoroughbred
        thermal.txtSpeed->setText(QStringLiteral("2133"));
        thermal.txtVoltage->setText(QStringLiteral("1.65"));
        QTest::keyClick(thermal.txtVoltage, Qt::Key_Return);
        QVERIFY(thermal.lblWattage->text().contains(u"68.3 W, scaled from AXDA2600DKV3C"));
        thermal.txtSpeed->clear();
        thermal.Command1->click();
        QVERIFY(thermal.lblWattage->text().contains(u"clock speed"));
    }

    // A link opens what it shows now, by a click or by Tab and Enter or
    // Space, in the palette's link colour (light on a dark desktop).
    void aboutLinksOpenTheirCurrentCaption_data() {
        QTest::addColumn<bool>("mail");
        QTest::addColumn<QString>("caption");  // empty: as loaded
        QTest::addColumn<int>("key");          // 0: a click; otherwise reached with Tab
        QTest::addColumn<QString>("url");
        const QString mirror = QStringLiteral("https://mirror.example.net/");
        // clang-format off
        QTest::newRow("mail, click")             << true  << ""                 << 0 << kMailTo + "?subject=About";
        QTest::newRow("mail recaptioned, Enter") << true  << "help@example.net" << int(Qt::Key_Return) << "mailto:help@example.net?subject=About";
        QTest::newRow("page, Space")             << false << ""                 << int(Qt::Key_Space) << QString(kHomePageUrl);
        QTest::newRow("page recaptioned, click") << false << mirror             << 0 << mirror;
        // clang-format on
    }
    void aboutLinksOpenTheirCurrentCaption() {
        QFETCH(bool, mail);
        QFETCH(QString, caption);
        QFETCH(int, key);
        QFETCH(QString, url);
        Action("mnuAbout")->trigger();
        auto* about = window_->findChild<frmAbout*>();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QApplication::setActiveWindow(about);  // offscreen, the main window stays active
        QPalette dark = about->palette();
        dark.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
        about->setPalette(dark);
        LinkLabel* link = mail ? about->lblMailLink : about->lblPageLink;
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

    // Each kind of verdict, with its links, in the room under the code entry.
    void verdictFollowsEachCheck_data() {
        QTest::addColumn<QString>("codeOne");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QString>("marks");  // beside the nineteen values, . for none
        const QString notListed = QStringLiteral("Not in the catalogue of %1 parts")
                                      .arg(catalogue::Catalogue::Builtin().Count());
        const QStringList details{"details:"};
        const QStringList near{"opn:ADA3000DAA4BP", "opn:ADA3000DAA4BW", "opn:ADA3200DAA4BP"};
        // clang-format off
        QTest::newRow("Barton, every fact agrees") << "AXDA2500DKV4D"
            << "\u2713 Matches the decode on 12 facts\nAthlon XP 2500+, Barton\nDetails..." << details
            << "...................";
        QTest::newRow("San Diego read as ClawHammer") << "ADA3700DAA5BN"
            << "\u2260 5 facts differ\nAthlon 64 3700+, San Diego\nDetails..." << details
            << "\u2260\u2260.\u2260.....\u2260.......\u2260.";
        QTest::newRow("NewCastle without a clock row") << "ADA3400AEP4AX"
            << "? Agrees on 9 facts; the rules could not read clock and multiplier\n"
               "Athlon 64 3400+, NewCastle\nDetails..." << details << "...?.....?.........";
        QTest::newRow("AM2 X2 read as one core") << "ADA4200IAA5CU"
            << "\u2260 4 facts differ, 4 not read by the rules\nAthlon 64 X2 4200+, Windsor\nDetails..."
            << details << "\u2260?.??....?.......\u2260.";
        QTest::newRow("one letter off two real OPNs") << "ADA3000DAA4BX"
            << "\u2013 " + notListed + "\nNear OPNs:\nADA3000DAA4BP\nADA3000DAA4BW\nADA3200DAA4BP" << near
            << "...................";
        QTest::newRow("nothing near") << "ZZZZ" << "\u2013 " + notListed << QStringList{}
            << "...................";
        QTest::newRow("AM2 Orleans the rules refuse") << "ADD3500IAA4CN"
            << "\u26A0 The rules cannot read this marking. The catalogue knows it:\n"
               "Athlon 64 3500+ EE\nOrleans core\n2200 MHz, HT 1000\n512 KB L2, 1 core\nSocket AM2\n"
               "90 nm\nDetails..." << details << "...................";
        // clang-format on
    }
    void verdictFollowsEachCheck() {
        QFETCH(QString, codeOne);
        QFETCH(QString, verdict);
        QFETCH(QStringList, links);
        QFETCH(QString, marks);
        const QSize before = window_->size();
        Check(codeOne);
        QCOMPARE(ShownText(Verdict()), verdict);
        // A ≠ on a warning tint, never the selection colour, a ? on none;
        // each tip gives the catalogue's value, the values stay as read.
        QString shownMarks;
        for (std::size_t slot = 0; slot < window_->lblMark.size(); ++slot) {
            const QLabel& mark = *window_->lblMark[slot];
            shownMarks += mark.text().isEmpty() ? QStringLiteral(".") : mark.text();
            QCOMPARE(mark.toolTip().startsWith(u"Catalogue: "), !mark.text().isEmpty());
            QCOMPARE(mark.toolTip().endsWith(u"; the rules could not read it"),
                     mark.text() == u"?");
            QCOMPARE(mark.autoFillBackground(), mark.text() == u"\u2260");
            QVERIFY(!window_->lblResult[slot]->text().contains(u'\u2260'));
        }
        QCOMPARE(shownMarks, marks);
        QCOMPARE(window_->lblMark[0]->palette().color(QPalette::Window),
                 WarningTint(window_->palette()));
        QVERIFY(WarningTint(window_->palette()) != window_->palette().color(QPalette::Highlight));
        QCOMPARE(LinkTargets(Verdict()), links);
        QCOMPARE(Verdict().focusPolicy(), links.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
        // A near OPN followed from the keyboard goes into Code One and, the
        // marking being typed, is checked at once.
        if (!links.isEmpty() && links[0].startsWith(u"opn:")) {
            FollowLink(Verdict(), 0);
            QCOMPARE(window_->CodeText(0), links[0].mid(4));
            QVERIFY(ShownText(Verdict()).contains(QStringLiteral("Venice")));
            return;
        }

        // The verdict fits the room under the code entry; the window keeps its size.
        QCoreApplication::processEvents();
        QCOMPARE(window_->size(), before);
        QVERIFY(Verdict().heightForWidth(Verdict().width()) <= Verdict().height());

        // A Check refused for an empty box leaves the verdict as it was.
        Check(codeOne, QString());
        QCOMPARE(ShownText(Verdict()), verdict);
    }

    // Code One is looked up as it is typed, before any Check; results of
    // earlier codes are greyed and say so until the next Check.
    void codeOneLookedUpAsTypedAndEditedResultsGreyed() {
        window_->SetCodeText(0, QStringLiteral("ADA3700DAA5BN"));
        QCOMPARE(ShownText(Verdict()),
                 QStringLiteral("Athlon 64 3700+, San Diego \u2014 press Check "
                                "to compare with the marking\nDetails..."));
        window_->SetCodeText(0, QStringLiteral("SDA2800DUT3D"));
        QVERIFY(ShownText(Verdict()).startsWith(
            QStringLiteral("Not in the catalogue\nNear OPNs:\nSDA2200DUT3D")));

        Check(QStringLiteral("AXDA2500DKV4D"));
        const QString checked = ShownText(Verdict());
        window_->SetCodeText(1, QStringLiteral("KQXEB0345MPMX"));
        QCOMPARE(window_->lblStale->isHidden() ? QString() : window_->lblStale->text(),
                 QStringLiteral("Results are for AXDA2500DKV4D \u2014 press Check"));
        QCOMPARE(window_->lblResult[0]->foregroundRole(), QPalette::PlaceholderText);
        QCOMPARE(ShownText(Verdict()), checked);  // still this Code One's
        window_->SetCodeText(0, QStringLiteral("ADA3700DAA5BN"));
        QVERIFY(ShownText(Verdict()).endsWith(QStringLiteral("marking\nDetails...")));
        window_->Command2->click();
        QVERIFY(window_->lblStale->isHidden() &&
                window_->lblResult[0]->foregroundRole() == QPalette::WindowText);
    }

    // One non-modal details window follows every Check: each disagreement
    // marked in words and tinted, the sources opened in full.
    void detailsMarkDisagreementsAndFollowEachCheck() {
        Check(QStringLiteral("ADA3000DAA4BP"));
        FollowLink(Verdict(), 0);
        PartDetailsWindow* details = Windows().Details();
        QVERIFY(details != nullptr && !details->isModal());
        QVERIFY(QTest::qWaitForWindowActive(details));
        QCOMPARE(details->heading->text(),
                 QStringLiteral("ADA3000DAA4BP: Athlon 64 3000+, Venice"));
        // The decode has no voltage, temperature or TDP of its own to compare.
        QCOMPARE(
            UnmatchedFacts(*details),
            (QStringList{"Core|Venice|WinChester|\u2260 differs*",
                         "CPUID|20FF0 (model 2F)|model 4|\u2260 differs*", "Voltage||(Variable)|",
                         "Maximum temperature||(Variable)|", "TDP|67W|(Currently Disabled)|"}));

        FollowLink(*details->sources, 1);
        QCOMPARE(opener_.Urls(),
                 QList<QString>{"https://hardwareluxx.de/community/threads/"
                                "vorteile-von-venice-gegen%C3%BCber-winchester.147796"});
        // Shift+Tab goes back over the first link and out of the sources.
        QTest::keyClick(details->sources, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(details->sources, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(QApplication::focusWidget() != details->sources);

        Check(QStringLiteral("AXDA2500DKV4D"));
        QCOMPARE(details->heading->text(),
                 QStringLiteral("AXDA2500DKV4D: Athlon XP 2500+, Barton"));
        QVERIFY(!UnmatchedFacts(*details).join(u'\n').contains(u'*'));
        Check(QStringLiteral("ADA3000DAA4BX"));
        QVERIFY(details->verdict->text().endsWith(
            QStringLiteral("parts. Near OPNs: ADA3000DAA4BP, ADA3000DAA4BW, ADA3200DAA4BP")));
        QVERIFY(!details->facts->isVisible());

        Check(QStringLiteral("ADA3000DAA4BP"));
        FollowLink(Verdict(), 0);
        QCOMPARE(window_->findChildren<PartDetailsWindow*>(), QList<PartDetailsWindow*>{details});
    }

    // The search words and the family narrow the table down together. With
    // every family shown the browser and varnel-decode --find are one search:
    // every word, cleaned as a code box cleans it, in the OPN, family, core
    // or rating.
    void browserNarrowsDown_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("opn");  // one part that must be shown
        QTest::addColumn<int>("column");   // a column every shown part agrees in
        QTest::addColumn<QString>("value");
        const int core = PartsTableModel::Core;
        const int family = PartsTableModel::Family;
        // clang-format off
        QTest::newRow("core and rating")      << "venice 3000+"   << ""          << "ADA3000DAA4BP" << core   << "Venice";
        QTest::newRow("family alone")         << ""               << "Opteron"   << "OSA142CEP5AT"  << family << "Opteron";
        QTest::newRow("core in a family")     << "BARTON"         << "Athlon XP" << "AXDA2500DKV4D" << core   << "Barton";
        QTest::newRow("two words of a core")  << "san diego"      << ""          << "ADA3700DAA5BN" << core   << "San Diego";
        QTest::newRow("a core run together")  << "SanDiego"       << ""          << "ADA3700DAA5BN" << core   << "San Diego";
        QTest::newRow("invisible characters") << QString::fromUtf16(u"ada\u200b3700\tdaa") << "" << "ADA3700DAA5BN" << family << "Athlon 64";
        QTest::newRow("family words apart")   << "athlon   64 x2 windsor" << ""  << "ADA4200IAA5CU" << core   << "Windsor";
        QTest::newRow("a word nowhere")       << "venice pentium" << ""          << ""              << 0      << "";
        QTest::newRow("nothing")              << "K6-2"           << "Duron"     << ""              << 0      << "";
        // clang-format on
    }
    void browserNarrowsDown() {
        QFETCH(QString, search);
        QFETCH(QString, family);
        QFETCH(QString, opn);
        QFETCH(int, column);
        QFETCH(QString, value);
        PartsBrowser& browser = OpenBrowser();
        QVERIFY(browser.isVisible() && !browser.isModal());
        browser.family->setCurrentText(family.isEmpty() ? PartsBrowser::AllFamilies() : family);
        browser.search->setText(search);

        QStringList shown = ShownColumn(*browser.parts, PartsTableModel::Opn);
        QCOMPARE(shown.contains(opn), !opn.isEmpty());
        QCOMPARE(shown.isEmpty(), opn.isEmpty());
        for (const QString& each : ShownColumn(*browser.parts, column)) {
            QCOMPARE(each, value);
        }
        QVERIFY(browser.shownCount->text().startsWith(QString::number(shown.size()) + " of "));
        QStringList found;
        for (const catalogue::Part* part : catalogue::Catalogue::Builtin().Find(search)) {
            found.append(part->opn);
        }
        shown.sort();
        found.sort();
        QVERIFY(!family.isEmpty() || shown == found);
    }

    // Clocks sort as numbers: 800MHz before 1000MHz.
    void browserSortsByNumber() {
        PartsBrowser& browser = OpenBrowser();
        browser.parts->sortByColumn(PartsTableModel::Clock, Qt::AscendingOrder);
        double previous = -1;
        for (const QString& clock : ShownColumn(*browser.parts, PartsTableModel::Clock)) {
            const double mhz = clock.isEmpty() ? -1 : clock.toDouble();
            QVERIFY2(mhz >= previous, qPrintable(clock));
            previous = mhz;
        }
    }

    // Ctrl+F opens the one browser. Enter or Down in the search goes to the
    // first part shown; Enter, a double-click on any cell or "Use in Code One"
    // puts the part's OPN into Code One and the status line says so;
    // "Details..." shows the part's facts.
    void browserFlowsFromTheKeyboard() {
        QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
        PartsBrowser* browser = Windows().Browser();
        QVERIFY(browser != nullptr && QTest::qWaitForWindowActive(browser));
        QCOMPARE(&OpenBrowser(), browser);
        QVERIFY(!browser->useInCodeOne->isEnabled());
        QTest::keyClicks(browser->search, QStringLiteral("ADA3700"));
        const auto part = [browser](int row) {
            return browser->parts->model()->index(row, PartsTableModel::Family);
        };
        const auto opn = [&part](int row) {
            return part(row).data(PartsTableModel::OpnRole).toString();
        };
        QVERIFY(opn(0).startsWith("ADA3700") && !opn(1).isEmpty());

        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Down}) {
            browser->search->setFocus();
            browser->parts->clearSelection();
            browser->parts->setCurrentIndex({});
            QTest::keyClick(browser->search, key);
            QCOMPARE(browser->focusWidget(), browser->parts);
            QCOMPARE(browser->parts->currentIndex().row(), 0);
            QVERIFY(browser->useInCodeOne->isEnabled() && browser->details->isEnabled());
        }
        QTest::keyClick(browser->parts, Qt::Key_Return);
        QCOMPARE(window_->CodeText(0), opn(0));
        QVERIFY(browser->status->text().startsWith(opn(0) + " "));

        // A double-click is a click and a second press on the same row.
        const QPoint centre = browser->parts->visualRect(part(1)).center();
        QTest::mouseClick(browser->parts->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(browser->parts->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(window_->CodeText(0), opn(1));

        browser->parts->setCurrentIndex(part(0));
        browser->useInCodeOne->click();
        QCOMPARE(window_->CodeText(0), opn(0));
        browser->parts->setCurrentIndex(part(1));
        browser->details->click();
        QVERIFY(Windows().Details() != nullptr && Windows().Details()->isVisible());
        QVERIFY(Windows().Details()->heading->text().startsWith(opn(1) + ": "));
        QCOMPARE(window_->CodeText(0), opn(0));
    }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
