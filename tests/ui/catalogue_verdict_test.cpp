// The catalogue's verdict under the code boxes, after real Checks in the
// window: what it says, where its links lead, and that it leaves the
// window's size alone.

#include <QApplication>
#include <QRegularExpression>
#include <QTextDocument>
#include <QtTest>
#include <memory>

#include "catalogue/catalogue.h"
#include "decode/program.h"
#include "support/fakes.h"
#include "ui/catalogue_verdict.h"
#include "ui/frm_main.h"

using varnel::frmMain;

namespace {

// The verdict as the reader sees it, its no-break spaces read as spaces.
QString ShownText(const QLabel& label) {
    QTextDocument document;
    document.setHtml(label.text());
    return document.toPlainText().replace(QChar(0x00A0), u' ');
}

QStringList LinkTargets(const QLabel& label) {
    QStringList targets;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    for (const QRegularExpressionMatch& match : href.globalMatch(label.text())) {
        targets.append(match.captured(1));
    }
    return targets;
}

QString NotListedText() {
    return QStringLiteral("Not in the catalogue of %1 parts")
        .arg(varnel::catalogue::Catalogue::Builtin().Count());
}

}  // namespace

class CatalogueVerdictTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { varnel::SetApplicationIdentity(); }

    void init() {
        prompter_ = std::make_unique<varnel::ScriptedPrompter>();
        window_ = std::make_unique<frmMain>(opener_, prompter_.get());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup() {
        window_.reset();
        prompter_.reset();
    }

    void verdictFollowsEachCheck_data() {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<int>("messages");
        const QString two = QStringLiteral("KQXEB0345MPMW");
        const QString three = QStringLiteral("Y3121234");
        QTest::newRow("Barton, every fact agrees")
            << QStringList{"AXDA2500DKV4D", two, three}
            << "In the catalogue: matches the decode\nAthlon XP 2500+, Barton\nDetails..."
            << QStringList{"details:"} << 0;
        QTest::newRow("Venice read as WinChester")
            << QStringList{"ADA3000DAA4BP", two, three}
            << "In the catalogue: 2 facts differ\nAthlon 64 3000+, Venice\nDetails..."
            << QStringList{"details:"} << 0;
        QTest::newRow("WinChester with the wrong CPU model")
            << QStringList{"ADA3000DIK4BI", two, three}
            << "In the catalogue: 1 fact differs\nAthlon 64 3000+, Winchester\nDetails..."
            << QStringList{"details:"} << 0;
        QTest::newRow("one letter off two real OPNs")
            << QStringList{"ADA3000DAA4BX", two, three}
            << NotListedText() + "\nNear OPNs:\nADA3000DAA4BP\nADA3000DAA4BW\nADA3200DAA4BP"
            << QStringList{"opn:ADA3000DAA4BP", "opn:ADA3000DAA4BW", "opn:ADA3200DAA4BP"} << 0;
        QTest::newRow("nothing near")
            << QStringList{"ZZZZ", two, three} << NotListedText() << QStringList{} << 1;
        QTest::newRow("AM2 Brisbane the rules refuse")
            << QStringList{"ADO4200IAA5DO", two, three}
            << "In the catalogue: the decode stopped\nAthlon 64 X2 4200+, Brisbane\nDetails..."
            << QStringList{"details:"} << 1;
    }

    void verdictFollowsEachCheck() {
        QFETCH(QStringList, codes);
        QFETCH(QString, verdict);
        QFETCH(QStringList, links);
        QFETCH(int, messages);
        varnel::CatalogueVerdict& shown = *window_->catalogueVerdict;
        QCOMPARE(ShownText(shown), QString());
        const QSize before = window_->size();

        for (int box = 0; box < 3; ++box) {
            window_->SetCodeText(box, codes[box]);
        }
        QTest::mouseClick(window_->Command2, Qt::LeftButton);
        QCOMPARE(prompter_->Messages().size(), messages);
        QCOMPARE(ShownText(shown), verdict);
        QCOMPARE(LinkTargets(shown), links);
        QCOMPARE(shown.focusPolicy(), links.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);

        // The verdict fits the room under the code entry; the window keeps its size.
        QCoreApplication::processEvents();
        QCOMPARE(window_->size(), before);
        QVERIFY(shown.heightForWidth(shown.width()) <= shown.height());

        // A Check refused for an empty box leaves the verdict as it was.
        window_->SetCodeText(2, QString());
        QTest::mouseClick(window_->Command2, Qt::LeftButton);
        QCOMPARE(ShownText(shown), verdict);
    }

    // Tab from Check reaches the verdict's links; Enter on a near OPN puts it
    // into Code One.
    void nearOpnGoesIntoCodeOneFromTheKeyboard() {
        window_->SetCodeText(0, QStringLiteral("ADA3000DAA4BX"));
        window_->SetCodeText(1, QStringLiteral("KQXEB0345MPMW"));
        window_->SetCodeText(2, QStringLiteral("Y3121234"));
        window_->Command2->setFocus(Qt::TabFocusReason);
        QTest::keyClick(window_->Command2, Qt::Key_Space);

        for (int tab = 0; tab < 5 && QApplication::focusWidget() != window_->catalogueVerdict;
             ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), window_->catalogueVerdict);
        QTest::keyClick(window_->catalogueVerdict, Qt::Key_Tab);  // the second near OPN
        QTest::keyClick(window_->catalogueVerdict, Qt::Key_Return);
        QCOMPARE(window_->CodeText(0), QStringLiteral("ADA3000DAA4BW"));

        // Past the last link Tab leaves the verdict; Shift+Tab comes back to
        // that last link.
        QTest::keyClick(window_->catalogueVerdict, Qt::Key_Tab);
        QTest::keyClick(window_->catalogueVerdict, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != window_->catalogueVerdict);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), window_->catalogueVerdict);
        QTest::keyClick(window_->catalogueVerdict, Qt::Key_Return);
        QCOMPARE(window_->CodeText(0), QStringLiteral("ADA3200DAA4BP"));
    }

  private:
    varnel::RecordingUrlOpener opener_;
    std::unique_ptr<varnel::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> window_;
};

QTEST_MAIN(CatalogueVerdictTest)
#include "catalogue_verdict_test.moc"
