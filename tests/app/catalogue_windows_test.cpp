// The catalogue's windows beside the real main window: the details of the
// last Check's part and the parts browser, reached from the verdict and the
// File menu.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "app/catalogue/catalogue_windows.h"
#include "app/catalogue/part_details_window.h"
#include "app/catalogue/parts_browser.h"
#include "app/windows/main_menus.h"
#include "catalogue/parts_table_model.h"
#include "decode/program.h"
#include "support/fakes.h"
#include "ui/catalogue_verdict.h"
#include "ui/frm_main.h"

using namespace varnel;

namespace {

// Follows the n-th link of a label from the keyboard, as a user would.
void FollowLink(QLabel& label, int n) {
    // The offscreen platform leaves the main window active beside a dialog.
    QApplication::setActiveWindow(label.window());
    label.setFocus(Qt::TabFocusReason);
    for (int i = 0; i < n; ++i) {
        QTest::keyClick(&label, Qt::Key_Tab);
    }
    QTest::keyClick(&label, Qt::Key_Return);
}

// One fact row: its four cells joined by |, and "*" behind when it is tinted.
QStringList FactRows(const PartDetailsWindow& details) {
    QStringList rows;
    for (int row = 0; row < details.facts->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < details.facts->columnCount(); ++column) {
            cells.append(details.facts->item(row, column)->text());
        }
        const bool tinted =
            details.facts->item(row, 0)->background().color() == details.DifferenceColour();
        rows.append(cells.join(u'|') + (tinted ? QStringLiteral("*") : QString()));
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

class CatalogueWindowsTest : public QObject {
    Q_OBJECT

    RecordingUrlOpener opener_;
    ScriptedPrompter prompter_;
    std::unique_ptr<frmMain> window_;

    CatalogueWindows& Windows() { return *CatalogueWindows::Of(*window_); }

    void Check(const QString& codeOne) {
        window_->SetCodeText(0, codeOne);
        window_->SetCodeText(1, QStringLiteral("KQXEB0345MPMW"));
        window_->SetCodeText(2, QStringLiteral("Y3121234"));
        QTest::mouseClick(window_->Command2, Qt::LeftButton);
    }

    PartsBrowser& OpenBrowser() {
        MainMenus::Of(*window_)->mnuPartsCatalogue->trigger();
        return *Windows().Browser();
    }

  private slots:
    void initTestCase() { SetApplicationIdentity(); }
    void init() {
        opener_ = RecordingUrlOpener();
        prompter_ = ScriptedPrompter();
        window_ = std::make_unique<frmMain>(opener_, &prompter_);
        InstallMainMenus(*window_, opener_, prompter_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void detailsShowBothSidesAndFollowEachCheck() {
        Check(QStringLiteral("ADA3000DAA4BP"));
        FollowLink(*window_->catalogueVerdict, 0);
        PartDetailsWindow* details = Windows().Details();
        QVERIFY(details != nullptr && !details->isModal());
        QVERIFY(QTest::qWaitForWindowActive(details));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        QCOMPARE(details->heading->text(),
                 QStringLiteral("ADA3000DAA4BP: Athlon 64 3000+, Venice"));
        QCOMPARE(details->verdict->text(), QStringLiteral("In the catalogue: 2 facts differ"));
        const QStringList expected{
            "Core|Venice|WinChester|\u2260 differs*",
            "Revision|DH-E3|E3|=",
            "CPUID|20FF0 (model 2F)|model 4|\u2260 differs*",
            "Clock (multiplier \u00d7 bus)|1800MHz, 9.0x, HT 1000|1800MHz, 9.0x, 400MHz|=",
            "L2 cache and cores|512KB, 1 core|512KB|=",
            "Voltage||(Variable)|",
            "Maximum temperature||(Variable)|",
            "TDP|67W|(Currently Disabled)|",
            "Socket|Socket 939|Socket 939|=",
            "Package|lidded OuPGA|939 pin Lidded O\u00b5PGA|=",
            "Process|90nm|0.09u|=",
        };
        QCOMPARE(FactRows(*details), expected);
        QVERIFY(details->confidence->text().startsWith(QStringLiteral("datasheet")));
        QVERIFY(details->notes->text().contains(QStringLiteral("coreboot")));

        // A source opens through the program's opener, in full.
        FollowLink(*details->sources, 1);
        QCOMPARE(opener_.Urls(),
                 QList<QString>{"https://hardwareluxx.de/community/threads/"
                                "vorteile-von-venice-gegen%C3%BCber-winchester.147796"});

        // Shift+Tab goes back over the first link and out of the sources.
        QTest::keyClick(details->sources, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(details->sources, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(QApplication::focusWidget() != details->sources);

        // The next Check shows its own part in the same window, a miss none.
        Check(QStringLiteral("AXDA2500DKV4D"));
        QCOMPARE(details->heading->text(),
                 QStringLiteral("AXDA2500DKV4D: Athlon XP 2500+, Barton"));
        QVERIFY(!FactRows(*details).join(u'\n').contains(u'*'));
        Check(QStringLiteral("ADA3000DAA4BX"));
        QVERIFY(details->verdict->text().endsWith(
            QStringLiteral("parts. Near OPNs: ADA3000DAA4BP, ADA3000DAA4BW, ADA3200DAA4BP")));
        QVERIFY(!details->facts->isVisible());

        Check(QStringLiteral("ADA3000DAA4BP"));
        FollowLink(*window_->catalogueVerdict, 0);
        QCOMPARE(Windows().Details(), details);
        QCOMPARE(window_->findChildren<PartDetailsWindow*>().size(), 1);
    }

    void browserNarrowsDown_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("opn");  // one part that must be shown
        QTest::addColumn<int>("column");   // a column every shown part agrees in
        QTest::addColumn<QString>("value");
        using Model = catalogue::PartsTableModel;
        // clang-format off
        QTest::newRow("core and rating")  << "venice 3000" << ""           << "ADA3000DAA4BP" << int(Model::Core)   << "Venice";
        QTest::newRow("family alone")     << ""            << "Opteron"    << "OSA142CEP5AT"  << int(Model::Family) << "Opteron";
        QTest::newRow("core in a family") << "BARTON"      << "Athlon XP"  << "AXDA2500DKV4D" << int(Model::Core)   << "Barton";
        QTest::newRow("rating, any case") << "ml-34"       << ""           << "TMDML34BKX5LD" << int(Model::Rating) << "ML-34";
        QTest::newRow("OPN piece")        << "AXDA2500DKV" << ""           << "AXDA2500DKV4D" << int(Model::Rating) << "2500+";
        QTest::newRow("nothing")          << "K6-2"        << ""           << ""              << 0                  << "";
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
        QTest::keyClicks(browser.search, search);

        const QStringList shown = ShownColumn(*browser.parts, catalogue::PartsTableModel::Opn);
        QCOMPARE(shown.contains(opn), !opn.isEmpty());
        QCOMPARE(shown.isEmpty(), opn.isEmpty());
        for (const QString& each : ShownColumn(*browser.parts, column)) {
            QCOMPARE(each, value);
        }
        QCOMPARE(browser.shownCount->text(), QStringLiteral("%1 of %2 parts")
                                                 .arg(shown.size())
                                                 .arg(catalogue::Catalogue::Builtin().Count()));
    }

    // Clocks sort as numbers: 800MHz before 1000MHz.
    void browserSortsByNumber() {
        PartsBrowser& browser = OpenBrowser();
        browser.parts->sortByColumn(catalogue::PartsTableModel::Clock, Qt::AscendingOrder);
        double previous = -1;
        for (const QString& clock :
             ShownColumn(*browser.parts, catalogue::PartsTableModel::Clock)) {
            const double mhz = clock.isEmpty() ? -1 : clock.chopped(3).toDouble();
            QVERIFY2(mhz >= previous, qPrintable(clock));
            previous = mhz;
        }
    }

    void choosingAPartFillsCodeOne_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("double-click") << false;
        QTest::newRow("Enter") << true;
    }

    void choosingAPartFillsCodeOne() {
        QFETCH(bool, byEnter);
        // The shortcut opens the browser as the menu does, and the same one.
        QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
        PartsBrowser* browser = Windows().Browser();
        QVERIFY(browser != nullptr && QTest::qWaitForWindowActive(browser));
        QCOMPARE(&OpenBrowser(), browser);

        QTest::keyClicks(browser->search, QStringLiteral("ADA3700"));
        const QModelIndex first = browser->parts->model()->index(0, 1);
        const QString opn = first.data(catalogue::PartsTableModel::OpnRole).toString();
        QVERIFY(opn.startsWith(QStringLiteral("ADA3700")));
        if (byEnter) {
            browser->parts->setFocus();
            browser->parts->setCurrentIndex(first);
            QTest::keyClick(browser->parts, Qt::Key_Return);
        } else {
            // A double-click is a click and a second press on the same row.
            const QPoint centre = browser->parts->visualRect(first).center();
            QTest::mouseClick(browser->parts->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(browser->parts->viewport(), Qt::LeftButton, {}, centre);
        }
        QCOMPARE(window_->CodeText(0), opn);
        QVERIFY(prompter_.Messages().isEmpty());
    }
};

QTEST_MAIN(CatalogueWindowsTest)
#include "catalogue_windows_test.moc"
