// The main window as a user meets it, on the offscreen platform: what the
// code boxes keep of what is typed or pasted, where the focus goes, what a
// copy or an export of the results holds.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <optional>

#include "decode/program.h"
#include "support/csv_records.h"
#include "support/fakes.h"
#include "ui/frm_main.h"
#include "ui/message_box_prompter.h"

using varnel::frmMain;

namespace {

// The three lines of an Athlon XP 2500+ marking.
const varnel::Codes kBarton{"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"};

// The ways a text reaches the focused box: typed, as keys with modifiers
// ("Alt+Q", "Ctrl+A, Ctrl+X"), composed by an input method (any character at
// all), pasted with Ctrl+V or from the box's menu, or dropped (a file from a
// file manager is a URL list, with its URL as text too).
enum class Route { Typed, Key, Composed, CtrlV, BoxMenu, Drop, DropFile };

void PasteFromBoxMenu(QWidget* box) {
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2),
                            box->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(box, &event);
    auto* menu = box->findChild<QMenu*>();
    QVERIFY(menu != nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QStringLiteral("&Paste"))) {
            action->trigger();
        }
    }
    menu->close();
}

void Deliver(const QString& text, Route route) {
    QWidget* box = QApplication::focusWidget();
    QMimeData data;
    data.setText(text);
    if (route == Route::DropFile) {
        data.setUrls({QUrl(text)});
    }
    QInputMethodEvent composed;
    composed.setCommitString(text);
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    switch (route) {
        case Route::Typed:
            QTest::keyClicks(box, text);
            break;
        case Route::Key:
            QTest::keySequence(box, QKeySequence(text));
            break;
        case Route::Composed:
            QApplication::sendEvent(box, &composed);
            break;
        case Route::CtrlV:
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            break;
        case Route::BoxMenu:
            QGuiApplication::clipboard()->setText(text);
            PasteFromBoxMenu(box);
            break;
        case Route::Drop:
        case Route::DropFile:
            QApplication::sendEvent(box, &enter);
            QApplication::sendEvent(box, &drop);
            break;
    }
}

// A copy of the results read back: each value under its caption, the
// family caption under the empty key.
using ReadBack = QMap<QString, QString>;

ReadBack ReadText(const QString& text) {
    QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    ReadBack back{{QString(), lines.takeFirst()}};
    for (const QString& line : lines) {
        back.insert(line.section(u':', 0, 0), line.section(u':', 1).trimmed());
    }
    return back;
}

// Markdown cells, split at the pipes that are not escaped, then unescaped.
QStringList MarkdownCells(const QString& line) {
    static const QRegularExpression edge(QStringLiteral(R"((?<!\\)\|)"));
    static const QRegularExpression escape(QStringLiteral(R"(\\(.))"));
    QStringList cells = line.split(edge);
    for (QString& cell : cells) {
        cell = cell.replace(escape, QStringLiteral("\\1")).trimmed();
    }
    return cells;
}

ReadBack ReadMarkdown(const QString& text) {
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    ReadBack back{{QString(), MarkdownCells(lines.value(0)).join(QString()).mid(2).chopped(2)}};
    if (lines.value(1) != QStringLiteral("| Field | Value |") || lines.value(2) != "|---|---|") {
        return {};
    }
    for (const QString& line : lines.mid(3)) {
        if (!line.startsWith(u'|')) {
            break;  // the catalogue's lines below the table
        }
        const QStringList cells = MarkdownCells(line);  // "", caption, value, ""
        back.insert(cells.value(1), cells.value(2));
    }
    return back;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    varnel::RecordingUrlOpener opener_;
    varnel::ScriptedPrompter prompter_;
    std::unique_ptr<frmMain> window_;

    varnel::CodeBox* Box(int box) { return window_->txtCode.at(static_cast<std::size_t>(box)); }

    // The boxes written as "ONE TWO^ THREE": the codes with a space between,
    // "^" where the caret stands in the box with the focus.
    void SetBoxes(const QString& boxes) {
        const QStringList codes = boxes.split(u' ');
        for (int box = 0; box < 3; ++box) {
            Box(box)->setText(QString(codes[box]).remove(u'^'));
            if (codes[box].contains(u'^')) {
                Box(box)->setFocus();
                Box(box)->setCursorPosition(static_cast<int>(codes[box].indexOf(u'^')));
            }
        }
    }
    QString Boxes() {
        QStringList codes;
        for (int box = 0; box < 3; ++box) {
            codes << Box(box)->text();
            if (QApplication::focusWidget() == Box(box)) {
                codes.last().insert(Box(box)->cursorPosition(), u'^');
            }
        }
        return codes.join(u' ');
    }

  private slots:
    void initTestCase() { varnel::SetApplicationIdentity(); }
    void init() {
        prompter_ = varnel::ScriptedPrompter();
        window_ = std::make_unique<frmMain>(opener_, &prompter_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { window_.reset(); }

    // A box keeps the code and nothing else: capitals, no gaps or invisible
    // characters, at most 13 characters, an emoji whole or not at all. The
    // 13th character of a line sends the focus on to the next line, as do
    // Backspace, Enter and Escape there; a key held with Alt or Ctrl is a
    // command and never types, while the editing shortcuts keep working. A
    // pasted marking fills a box a line.
    void whatTheBoxesKeep_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("after");
        using enum Route;
        const QString invisibles =
            QString::fromUtf16(u"\t\u00a0\u2003\u200b\ufeff\u200f") + QChar(0);
        // clang-format off
        QTest::newRow("typed in lower case")     << "ONE TWO ^"                 << Typed    << "axda2500dkv4d"   << "ONE TWO AXDA2500DKV4D^";
        QTest::newRow("a letter in the middle")  << "ONE TWO AXDA^2500DKV"      << Typed    << "x"               << "ONE TWO AXDAX^2500DKV";
        QTest::newRow("a gap in the middle")     << "ONE TWO AX^DA2500"         << Typed    << " "               << "ONE TWO AXDA2500^";
        QTest::newRow("13th key in Code One")    << "AXDA2500DKV4^ TWO THREE"   << Typed    << "d"               << "AXDA2500DKV4D TWO^ THREE";
        QTest::newRow("13th key in Code Two")    << "ONE KQXEB0345MPM^ THREE"   << Typed    << "w"               << "ONE KQXEB0345MPMW THREE^";
        QTest::newRow("Code Three keeps it")     << "ONE TWO Y31212341234^"     << Typed    << "5"               << "ONE TWO Y312123412345^";
        QTest::newRow("space at 12")             << "AXDA2500DKV4^ TWO THREE"   << Typed    << " "               << "AXDA2500DKV4 TWO^ THREE";
        QTest::newRow("12th key stays")          << "AXDA2500DKV^ TWO THREE"    << Typed    << "4"               << "AXDA2500DKV4^ TWO THREE";
        QTest::newRow("full box stays")          << "AXDA2500DKV4D^ TWO THREE"  << Typed    << "x"               << "AXDA2500DKV4D^ TWO THREE";
        QTest::newRow("Backspace at 12")         << "AXDA2500DKV4^ TWO THREE"   << Key      << "Backspace"       << "AXDA2500DKV TWO^ THREE";
        QTest::newRow("Enter at 12")             << "AXDA2500DKV4^ TWO THREE"   << Key      << "Return"          << "AXDA2500DKV4 TWO^ THREE";
        QTest::newRow("Escape at 12")            << "ONE AXDA2500DKV4^ THREE"   << Key      << "Esc"             << "ONE AXDA2500DKV4 THREE^";
        QTest::newRow("arrow at 12")             << "AXDA2500DKV4^ TWO THREE"   << Key      << "Left"            << "AXDA2500DKV^4 TWO THREE";
        QTest::newRow("Delete at 12")            << "AXDA2500DKV4^ TWO THREE"   << Key      << "Del"             << "AXDA2500DKV4^ TWO THREE";
        QTest::newRow("Ctrl+C at 12")            << "AXDA2500DKV4^ TWO THREE"   << Key      << "Ctrl+C"          << "AXDA2500DKV4^ TWO THREE";
        QTest::newRow("Alt+Q")                   << "AXDA2500DKV4^ TWO THREE"   << Key      << "Alt+Q"           << "AXDA2500DKV4^ TWO THREE";
        QTest::newRow("Ctrl+keypad 5")           << "AXDA2500DKV4^ TWO THREE"   << Key      << "Ctrl+Num+5"      << "AXDA2500DKV4^ TWO THREE";
        QTest::newRow("Ctrl+X cuts")             << "ONE TWO^ THREE"            << Key      << "Ctrl+A, Ctrl+X"  << "ONE ^ THREE";
        QTest::newRow("Ctrl+Z undoes")           << "ONE TWO^ THREE"            << Key      << "Ctrl+A, Ctrl+X, Ctrl+Z" << "ONE TWO^ THREE";
        QTest::newRow("Ctrl+C copies")           << "ONE TWO^ THREE"            << Key      << "Ctrl+A, Ctrl+C, End, Ctrl+V" << "ONE TWOTWO^ THREE";
        QTest::newRow("invisible characters")    << "ONE TWO AXDA^2500"         << Composed << invisibles        << "ONE TWO AXDA2500^";
        QTest::newRow("14 with one space")       << "ONE TWO ^"                 << CtrlV    << "axda2500 dkv4d"  << "ONE TWO AXDA2500DKV4D^";
        QTest::newRow("into the middle")         << "ONE TWO AXDA^2500"         << CtrlV    << "XYZ12345"        << "ONE TWO AXDAXYZ12^2500";
        QTest::newRow("into a full code")        << "ONE TWO AXDA^2500DKV4D"    << CtrlV    << "X"               << "ONE TWO AXDA^2500DKV4D";
        QTest::newRow("emoji stay whole")        << "ONE TWO ^"                 << CtrlV    << "😀cpu😀"          << "ONE TWO 😀CPU😀^";
        QTest::newRow("emoji cut at the limit")  << "ONE TWO ^"                 << CtrlV    << "AXDA2500DKV4😀"   << "ONE TWO AXDA2500DKV4^";
        QTest::newRow("marking of two lines")    << "ONE^ TWO THREE"            << CtrlV    << "axda2500dkv4d\nkqxeb0345mpmw" << "AXDA2500DKV4D KQXEB0345MPMW^ THREE";
        QTest::newRow("CR LF and blank lines")   << "ONE^ TWO THREE"            << CtrlV    << "\r\n AXDA 2500 DKV4D\r\n\r\n \t\n\u2028KQXEB 0345 MPMW\r\rY3121234\r\n" << "AXDA2500DKV4D KQXEB0345MPMW Y3121234^";
        QTest::newRow("four lines")              << "ONE^ TWO THREE"            << CtrlV    << "A1\nB2\nC3\nD4"  << "A1 B2 C3^";
        QTest::newRow("three lines from Code One") << "ONE TWO^ THREE"          << CtrlV    << "AXDA2500DKV4D\nKQXEB0345MPMW\nY3121234" << "AXDA2500DKV4D KQXEB0345MPMW Y3121234^";
        QTest::newRow("two lines from the focus") << "ONE TWO^ THREE"           << CtrlV    << "KQXEB0345MPMW\nY3121234" << "ONE KQXEB0345MPMW Y3121234^";
        QTest::newRow("one line with tabs")      << "ONE TWO^ THREE"            << CtrlV    << "AXDA2500DKV4D\tKQXEB0345MPMW\tY3121234\r\n" << "AXDA2500DKV4D KQXEB0345MPMW Y3121234^";
        QTest::newRow("one line with commas")    << "ONE^ TWO THREE"            << CtrlV    << "axda2500dkv4d, kqxeb0345mpmw, y3121234" << "AXDA2500DKV4D KQXEB0345MPMW Y3121234^";
        QTest::newRow("two codes, a semicolon")  << "ONE TWO^ THREE"            << CtrlV    << "KQXEB0345MPMW;Y3121234" << "ONE KQXEB0345MPMW Y3121234^";
        QTest::newRow("the brand line skipped")  << "ONE^ TWO THREE"            << CtrlV    << "AMD Athlon XP\nAXDA2500DKV4D\nKQXEB0345MPMW\nY3121234" << "AXDA2500DKV4D KQXEB0345MPMW Y3121234^";
        QTest::newRow("a file dropped")          << "ONE^ TWO THREE"            << DropFile << "file:///etc/passwd" << "ONE^ TWO THREE";
        QTest::newRow("one line at the caret")   << "ONE^ TWO THREE"            << CtrlV    << "\n\nDKV4D\n"     << "ONEDKV4D^ TWO THREE";
        QTest::newRow("by the box's menu")       << "ONE^ TWO THREE"            << BoxMenu  << "A1\nB2"          << "A1 B2^ THREE";
        QTest::newRow("dropped")                 << "ONE^ TWO THREE"            << Drop     << "A1\nB2"          << "A1 B2^ THREE";
        // clang-format on
    }
    void whatTheBoxesKeep() {
        QFETCH(QString, before);
        QFETCH(Route, route);
        QFETCH(QString, input);
        QFETCH(QString, after);
        SetBoxes(before);
        Deliver(input, route);
        QCOMPARE(Boxes(), after);
    }

    // A paste changes each box as one step of that box's own undo, and says
    // beside the boxes which code it cut to fit; undoing puts back what was
    // there, and the note goes with the cut code.
    void pasteIsUndoneBoxByBoxAndSaysWhatItCut_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("note");
        // clang-format off
        QTest::newRow("a whole marking") << "ONE TWO^ THREE" << "AXDA2500DKV4D\nKQXEB 0345 MPMW XYZ\nY3121234" << "AXDA2500DKV4D KQXEB0345MPMW Y3121234^" << "Code Two: 13 of the 16 characters pasted fit in the box.";
        QTest::newRow("one long line")   << "ONE TWO ^"      << "AXDA 2500DKV4DXYZ"                            << "ONE TWO AXDA2500DKV4D^"               << "Code Three: 13 of the 16 characters pasted fit in the box.";
        QTest::newRow("nothing cut")     << "ONE^ TWO THREE" << "A1\nB2"                                      << "A1 B2^ THREE"                         << "";
        // clang-format on
    }
    void pasteIsUndoneBoxByBoxAndSaysWhatItCut() {
        QFETCH(QString, before);
        QFETCH(QString, input);
        QFETCH(QString, after);
        QFETCH(QString, note);
        SetBoxes(before);
        Deliver(input, Route::CtrlV);
        QCOMPARE(Boxes(), after);
        QCOMPARE(window_->lblPasteNote->text(), note);
        QCOMPARE(window_->lblPasteNote->isVisible(), !note.isEmpty());
        for (int box = 0; box < 3; ++box) {
            Box(box)->setFocus();
            QTest::keyClick(Box(box), Qt::Key_Z, Qt::ControlModifier);
        }
        QCOMPARE(Boxes().remove(u'^'), QString(before).remove(u'^'));
        QVERIFY(!window_->lblPasteNote->isVisible());
    }

    // Alt and the underlined letter press a button or go to a label's box.
    void accessKeysReachTheirControls() {
        const std::array<QWidget*, 6> controls{window_->lblCode[0], window_->lblCode[1],
                                               window_->lblCode[2], window_->Command2,
                                               window_->Command3,   window_->CmdSaveHTML};
        for (QWidget* control : controls) {
            const QString caption = control->property("text").toString();
            auto* label = qobject_cast<QLabel*>(control);
            std::optional<QSignalSpy> clicks;
            if (label == nullptr) {
                clicks.emplace(control, SIGNAL(clicked()));
            }
            Box(1)->setFocus();
            QTest::keySequence(Box(1), QKeySequence::mnemonic(caption));
            if (label == nullptr) {
                QTRY_COMPARE(clicks->size(), 1);  // a button shows itself pressed first
            } else {
                QCOMPARE(QApplication::focusWidget(), label->buddy());
            }
        }
        QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/table.htm"));
    }

    // After a stop the box the message is about has the focus, its code
    // selected, so the correction is typed straight over it.
    void aStopPutsTheFocusOnTheBoxToCorrect_data() {
        QTest::addColumn<QString>("codes");
        QTest::addColumn<int>("focusBox");  // -1: the focus stays where it was
        // clang-format off
        QTest::newRow("empty Code Two")       << "AXDA2500DKV4D  Y3121234"              << 1;
        QTest::newRow("unknown prefix")       << "ZZZ1234ABCDE KQXEB0345MPMW Y3121234"  << 0;
        QTest::newRow("unsupported chip")     << "AMP1200DMS3C KQXEB0345MPMW Y3121234"  << 0;
        QTest::newRow("cache digit")          << "AXDA2500DKVXD KQXEB0345MPMW Y3121234" << 0;
        QTest::newRow("batch, textbox two")   << "AXDA2500DKV4D KQXEB0345MPMW Y312ABCD" << 1;
        QTest::newRow("batch, textbox three") << "AXDA2500DKV4D KQXEB03451234 Y3121234" << 2;
        // The stepping's message comes first; the stop that follows decides.
        QTest::newRow("stop after a message") << "AXDA2500DKV4D ABCDEFGH0345M Y312ABCD" << 1;
        QTest::newRow("complete run")         << "AXDA2500DKV4D KQXEB0345MPMW Y3121234" << -1;
        // clang-format on
    }
    void aStopPutsTheFocusOnTheBoxToCorrect() {
        QFETCH(QString, codes);
        QFETCH(int, focusBox);
        SetBoxes(codes);
        Box(2)->setFocus();
        window_->Command2->click();

        QVERIFY(!prompter_.Messages().isEmpty() || focusBox < 0);
        varnel::CodeBox* expected = Box(focusBox < 0 ? 2 : focusBox);
        QCOMPARE(QApplication::focusWidget(), expected);
        QCOMPARE(expected->selectedText(), focusBox < 0 ? QString() : expected->text());
    }

    // The text and Markdown copies end with what the catalogue says: the
    // facts it contradicts, its key facts after a stop, near OPNs on a miss
    // (the text block is varnel-decode's, tested there in full).
    void copiesCarryTheCatalogue_data() {
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("textEnd");
        QTest::addColumn<QString>("markdownLine");
        // clang-format off
        QTest::newRow("differs") << "ADA3700DAA5BN CBBHD0501APAW 1234"
            << "90nm (the rules read 0.13u)\n" << "- **Verdict:** \u2260 5 facts differ";
        QTest::newRow("stopped") << "ADD3500IAA4CN CCBWE0612MPMW Y3121234"
            << "Socket AM2\n                            90 nm\n" << "- Orleans core";
        QTest::newRow("not listed") << "SDA2800DUT3D KQXEB0345MPMW Y3121234"
            << "near: SDA2200DUT3D, SDA2500DUT3D, SDC2200DUT3D\n"
            << "- **Catalogue:** not listed; near: SDA2200DUT3D, SDA2500DUT3D, SDC2200DUT3D";
        // clang-format on
    }
    void copiesCarryTheCatalogue() {
        QFETCH(QString, codes);
        QFETCH(QString, textEnd);
        QFETCH(QString, markdownLine);
        SetBoxes(codes);
        window_->Command2->click();
        window_->mnuCopy[0]->trigger();
        const QString text = QGuiApplication::clipboard()->text();
        QVERIFY2(text.endsWith(textEnd), qPrintable(text));
        window_->mnuCopy[1]->trigger();
        QVERIFY2(QGuiApplication::clipboard()->text().split(u'\n').contains(markdownLine),
                 qPrintable(QGuiApplication::clipboard()->text()));
    }

    // The text and Markdown copies, read back, hold what the window shows,
    // even a stepping code made of the formats' own delimiters.
    void resultsCopyAsTheWindowShows() {
        SetBoxes(QStringLiteral("AXDA2500DKV4D K|,\"*0345MPMW Y3121234"));
        window_->Command2->click();
        QCOMPARE(window_->lblResult[11]->text(), QStringLiteral("K|,\"*"));
        ReadBack shown{{QString(), window_->Frame[0]->title()}};
        for (std::size_t i = 0; i < window_->lblInfo.size(); ++i) {
            shown.insert(window_->lblInfo[i]->text(), window_->lblResult[i]->text());
        }

        // The CSV and JSON copies are the writers of varnel-decode, which read
        // back any text; the copies hold the shown run (see the export test).
        const std::array<ReadBack (*)(const QString&), 2> readers{ReadText, ReadMarkdown};
        QString allResults;
        for (std::size_t i = 0; i < readers.size(); ++i) {
            QGuiApplication::clipboard()->clear();
            window_->mnuCopy.at(i)->trigger();
            const QString copied = QGuiApplication::clipboard()->text();
            allResults = i == 0 ? copied : allResults;
            const ReadBack back = readers[i](copied);
            for (auto row = shown.cbegin(); row != shown.cend(); ++row) {
                QVERIFY2(back.value(row.key()) == row.value(), qPrintable(copied));
            }
        }
        // Ctrl+Shift+C copies all results from a box, which keeps its own Ctrl+C.
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(Box(0), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), allResults);
        QCOMPARE(Box(0)->text(), kBarton[0]);

        // A right click on a value offers that value first.
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            menu->actions().constFirst()->trigger();
            menu->close();
        });
        QLabel* value = window_->lblResult[4];
        QContextMenuEvent event(QContextMenuEvent::Mouse, value->rect().center(),
                                value->mapToGlobal(value->rect().center()));
        QApplication::sendEvent(value, &event);
        QCOMPARE(QGuiApplication::clipboard()->text(), value->text());
    }

    // The value column holds the longest value at the font in use, a 13 pt
    // desktop font too; the family's caption stands out above the values.
    void longestValueFitsAtALargeFont() {
        const QFont desktop = QApplication::font();
        QFont large = desktop;
        large.setPointSizeF(13);
        QApplication::setFont(large);
        window_ = std::make_unique<frmMain>(opener_, &prompter_);
        QApplication::setFont(desktop);
        window_->show();
        SetBoxes(QStringLiteral("ADA3700DAA5BN CBBHD0501APAW 1234"));
        window_->Command2->click();
        for (QLabel* value : window_->lblResult) {
            QVERIFY(!value->text().isEmpty());
            QVERIFY2(value->toolTip().isEmpty() &&
                         value->fontMetrics().horizontalAdvance(value->text()) <
                             value->contentsRect().width(),
                     qPrintable(value->text()));
        }
        QVERIFY(window_->lblResult[4]->text().startsWith(QStringLiteral("939 ")));
        QVERIFY(window_->Frame[0]->font().bold());
        QVERIFY(window_->Frame[0]->font().pointSizeF() >
                window_->lblResult[0]->font().pointSizeF());
        QCOMPARE(window_->lblResult[0]->font().pointSizeF(), 13.0);
    }

    // Swap exchanges Code Two and Three; a Check puts them in their places.
    void swapAndCheckPutTheCodesInPlace() {
        SetBoxes(QStringLiteral("axda2500dkv4d Y3121234 KQXEB0345MPMW"));
        window_->Command3->click();
        QCOMPARE(window_->CurrentCodes(), kBarton);
        window_->Command3->click();
        window_->Command2->click();
        QVERIFY(prompter_.Messages().isEmpty());
        QCOMPARE(window_->CurrentCodes(), kBarton);
    }

    // The HTML table carries the codes the shown results came from, even
    // when a box was edited since; with nothing shown, the boxes as they are.
    // Every copy that names codes (CSV, JSON) names those of the run whose
    // results and messages it holds, after a stop too.
    void exportWritesTheCodesOfTheShownResults_data() {
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<bool>("check");         // Check pressed before Code Three is edited
        QTest::addColumn<bool>("refusedCheck");  // then Check pressed with Code One empty
        QTest::addColumn<bool>("oldCodes");      // whether the export has the codes checked
        QTest::addColumn<bool>("copyOldCodes");  // and the copies
        const QString barton = QStringLiteral("AXDA2500DKV4D KQXEB0345MPMW Y3121234");
        // clang-format off
        QTest::newRow("before any run")             << barton << false << false << false << false;
        QTest::newRow("after a complete run")       << barton << true  << false << true  << true;
        QTest::newRow("after a stop leaving slots") << "AXDA2500DKV4D KQXEB03451234 Y3121234" << true << false << true << true;
        QTest::newRow("after a stop blanking all")  << "AXDX2000 KQXEB0345MPMW Y3121234" << true << false << false << true;
        QTest::newRow("after a refused Check")      << barton << true  << true  << true  << true;
        // clang-format on
    }

    void exportWritesTheCodesOfTheShownResults() {
        QFETCH(QString, boxes);
        QFETCH(bool, check);
        QFETCH(bool, refusedCheck);
        QFETCH(bool, oldCodes);
        QFETCH(bool, copyOldCodes);
        SetBoxes(boxes);
        const QStringList codes = boxes.split(u' ');
        if (check) {
            window_->Command2->click();
        }
        window_->SetCodeText(2, QStringLiteral("Y3129999"));
        if (refusedCheck) {
            window_->SetCodeText(0, QString());
            window_->Command2->click();
        }
        window_->CmdSaveHTML->click();
        QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/table.htm"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray table = file.readAll();
        file.remove();

        for (const QString& code : {codes[0], codes[1], oldCodes ? codes[2] : "Y3129999"}) {
            QVERIFY2(table.contains("&nbsp;" + code.toLatin1() + "</font>"), qPrintable(code));
        }
        QCOMPARE(table.contains("&nbsp;Y3129999</font>"), !oldCodes);

        const QStringList copied{codes[0], codes[1], copyOldCodes ? codes[2] : "Y3129999"};
        window_->mnuCopy[2]->trigger();
        QCOMPARE(ReadCsvRecords(QGuiApplication::clipboard()->text()).value(1).mid(0, 3), copied);
        window_->mnuCopy[3]->trigger();
        const QJsonObject json =
            QJsonDocument::fromJson(QGuiApplication::clipboard()->text().toUtf8()).object();
        QCOMPARE(json.value(QStringLiteral("codes")).toVariant().toStringList(), copied);
    }

    // The real message box: lines broken at CR LF, the code shown as typed,
    // the icon and buttons asked for, and the answer of the button pressed.
    void realMessageBoxShowsTheMessageAndReturnsTheButton() {
        varnel::MessageBoxPrompter prompter(window_.get());
        QString seen;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            seen = box->windowTitle() + u'|' + box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        });
        QCOMPARE(prompter.Show({QStringLiteral("Chip <b>'X'</b>\r\nsecond line"),
                                varnel::MessageIcon::Exclamation,
                                varnel::MessageButtons::YesNoCancel, QStringLiteral("Hang-on")}),
                 varnel::MessageAnswer::No);
        QCOMPARE(seen, QStringLiteral("Hang-on|Chip <b>'X'</b>\nsecond line"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
