#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

#include "decode/program.h"
#include "support/csv_records.h"
#include "support/fakes.h"
#include "ui/frm_main.h"
#include "ui/message_box_prompter.h"

using varnel::frmMain;

namespace {

// Types text key by key, as a keyboard would deliver it, including letters
// that QTest's Latin-1 helpers cannot send.
void Type(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString character(text.at(i));
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) {
            character.append(text.at(++i));
        }
        const QChar first = character.front();
        const auto key = first.unicode() < 0x80 ? static_cast<Qt::Key>(first.toUpper().unicode())
                                                : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, character, Qt::NoModifier);
    }
}

// The ways a text reaches a box from elsewhere.
enum class Route { CtrlV, ContextMenu, Drop };

void Paste(QLineEdit* box, const QString& text, Route route = Route::CtrlV) {
    QGuiApplication::clipboard()->setText(text);
    switch (route) {
        case Route::CtrlV:
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            break;
        case Route::ContextMenu: {
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
            break;
        }
        case Route::Drop: {
            QMimeData data;
            data.setText(text);
            QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &drop);
            break;
        }
    }
}

// A copy of the results read back: the frame caption and each row's value by
// its caption.
struct ReadBack {
    QString caption;
    QMap<QString, QString> values;
};

ReadBack ReadText(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ReadBack back{lines.takeFirst(), {}};
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        back.values.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return back;
}

// Markdown cells, split at the pipes that are not escaped and unescaped.
QStringList MarkdownCells(const QString& line) {
    QStringList cells{QString()};
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\\' && i + 1 < line.size()) {
            cells.last() += line[++i];
        } else if (line[i] == u'|') {
            cells.append(QString());
        } else {
            cells.last() += line[i];
        }
    }
    return cells;
}

ReadBack ReadMarkdown(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString bold = MarkdownCells(lines.value(0)).join(QString());
    ReadBack back{bold.mid(2, bold.size() - 4), {}};
    if (lines.value(1) != QStringLiteral("| Field | Value |") || lines.value(2) != "|---|---|") {
        return {};
    }
    for (const QString& line : lines.mid(3)) {
        const QStringList cells = MarkdownCells(line);  // "", caption, value, ""
        back.values.insert(cells.value(1).trimmed(), cells.value(2).trimmed());
    }
    return back;
}

ReadBack ReadCsv(const QString& text) {
    const QList<QStringList> records = ReadCsvRecords(text);
    if (records.size() != 2) {
        return {};
    }
    ReadBack back{records[1].value(records[0].indexOf(QStringLiteral("family"))), {}};
    for (qsizetype i = 0; i < records[0].size(); ++i) {
        back.values.insert(records[0][i], records[1].value(i));
    }
    return back;
}

ReadBack ReadJson(const QString& text) {
    const QJsonObject object = QJsonDocument::fromJson(text.toUtf8()).object();
    ReadBack back{object.value(QStringLiteral("caption")).toString(), {}};
    for (const QJsonValue slot : object.value(QStringLiteral("slots")).toArray()) {
        back.values.insert(slot[QStringLiteral("caption")].toString(),
                           slot[QStringLiteral("value")].toString());
    }
    return back;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { varnel::SetApplicationIdentity(); }

    void init() {
        prompter_ = std::make_unique<varnel::ScriptedPrompter>();
        window_ = std::make_unique<frmMain>(opener_, prompter_.get());
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup() {
        window_.reset();
        prompter_.reset();
    }

    void typingSettlesIntoUpperCaseWithoutSpaces_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedCaret");
        // clang-format off
        QTest::newRow("lower case")               << 0 << ""            << 0 << "axda2500dkv4d"   << "AXDA2500DKV4D" << 13;
        QTest::newRow("gaps between groups")      << 1 << ""            << 0 << "KQXEB 0345 MPMW" << "KQXEB0345MPMW" << 13;
        QTest::newRow("letter in the middle")     << 0 << "AXDA2500DKV" << 4 << "x"               << "AXDAX2500DKV"  << 5;
        QTest::newRow("space in the middle")      << 0 << "AXDA2500"    << 2 << " "               << "AXDA2500"      << 8;
        QTest::newRow("sharp s keeps its length") << 2 << "Y"           << 1 << "ß"               << "Yß"            << 2;
        QTest::newRow("Greek")                    << 2 << ""            << 0 << "αβγ"             << "ΑΒΓ"           << 3;
        // clang-format on
    }

    void typingSettlesIntoUpperCaseWithoutSpaces() {
        QFETCH(int, box);
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(int, expectedCaret);

        varnel::CodeBox* code = window_->txtCode.at(static_cast<std::size_t>(box));
        code->setText(before);
        code->setFocus();
        code->setCursorPosition(caret);
        Type(code, typed);

        QCOMPARE(code->text(), expected);
        QCOMPARE(code->cursorPosition(), expectedCaret);
    }

    void pastingCleansThenKeepsThirteen_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedCaret");
        // clang-format off
        QTest::newRow("14 with one space")         << "" << 0 << "axda2500 dkv4d"     << "AXDA2500DKV4D" << 13;
        QTest::newRow("too long after cleaning")   << "" << 0 << "AXDA 2500DKV4DXYZ"  << "AXDA2500DKV4D" << 13;
        QTest::newRow("into the middle of a code") << "AXDA2500" << 4 << "XYZ12345" << "AXDAXYZ122500" << 9;
        QTest::newRow("into a full code")          << "AXDA2500DKV4D" << 4 << "X" << "AXDA2500DKV4D" << 4;
        QTest::newRow("fullwidth and Cyrillic")    << "" << 0 << "ａｘｄａ жук"       << "ＡＸＤＡЖУК"   << 7;
        QTest::newRow("emoji stay whole")          << "" << 0 << "😀cpu😀"            << "😀CPU😀"       << 7;
        QTest::newRow("emoji cut at the limit")    << "" << 0 << "AXDA2500DKV4😀"     << "AXDA2500DKV4"  << 12;
        QTest::newRow("only spaces")               << "" << 0 << "     "              << ""              << 0;
        // clang-format on
    }

    void pastingCleansThenKeepsThirteen() {
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        QFETCH(int, expectedCaret);

        varnel::CodeBox* code = window_->txtCode[2];
        code->setText(before);
        code->setFocus();
        code->setCursorPosition(caret);
        Paste(code, pasted);

        QCOMPARE(code->text(), expected);
        QCOMPARE(code->cursorPosition(), expectedCaret);
    }

    void invisibleCharactersGo_data() {
        QTest::addColumn<QString>("invisible");
        QTest::newRow("tab") << QStringLiteral("\t");
        QTest::newRow("no-break space") << QString(QChar(0x00A0));
        QTest::newRow("em space") << QString(QChar(0x2003));
        QTest::newRow("zero-width space") << QString(QChar(0x200B));
        QTest::newRow("byte-order mark") << QString(QChar(0xFEFF));
        QTest::newRow("right-to-left mark") << QString(QChar(0x200F));
        QTest::newRow("NUL") << QString(QChar(0x0000));
    }

    void invisibleCharactersGo() {
        QFETCH(QString, invisible);

        // Typed between two groups of a code, through the keyboard's input
        // method, which delivers any character.
        varnel::CodeBox* typed = window_->txtCode[2];
        typed->setText(QStringLiteral("AXDA2500"));
        typed->setFocus();
        typed->setCursorPosition(4);
        QInputMethodEvent event;
        event.setCommitString(invisible);
        QApplication::sendEvent(typed, &event);
        QCOMPARE(typed->text(), QStringLiteral("AXDA2500"));
        QCOMPARE(typed->cursorPosition(), 8);

        // Pasted inside a full code: it takes no room from the last letter.
        varnel::CodeBox* pasted = window_->txtCode[0];
        Paste(pasted, QStringLiteral("AXDA") + invisible + QStringLiteral("2500DKV4D"));
        QCOMPARE(pasted->text(), QStringLiteral("AXDA2500DKV4D"));
        QCOMPARE(pasted->cursorPosition(), 13);
    }

    void pastedLineBreakDecodesLikeTheTypedCode() {
        window_->SetCodeText(1, QStringLiteral("KQXEB0345MPMW"));
        window_->SetCodeText(2, QStringLiteral("Y3121234"));
        Paste(window_->txtCode[0], QStringLiteral("SDA2800DUT3D\n"));
        QTest::mouseClick(window_->Command2, Qt::LeftButton);
        const varnel::Sheet pasted = window_->SheetToExport();

        window_->SetCodeText(0, QString());
        Type(window_->txtCode[0], QStringLiteral("SDA2800DUT3D"));
        QTest::mouseClick(window_->Command2, Qt::LeftButton);
        const varnel::Sheet typed = window_->SheetToExport();

        QVERIFY(prompter_->Messages().isEmpty());
        QCOMPARE(typed[varnel::Field::OperatingVoltage].ToQString(),
                 QStringLiteral("1.60v"));  // Socket A, not a K8
        QCOMPARE(pasted.caption, typed.caption);
        QVERIFY(pasted.values == typed.values);
        QCOMPARE(pasted.codes, typed.codes);
    }

    void pastingAWholeMarkingFillsTheBoxes_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("route");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("focusBox");
        const int ctrlV = int(Route::CtrlV);
        // clang-format off
        QTest::newRow("two lines")             << 0 << "axda2500dkv4d\nkqxeb0345mpmw" << ctrlV
                                               << QStringList{"AXDA2500DKV4D", "KQXEB0345MPMW", "OLD3"} << 1;
        QTest::newRow("three lines, CR LF")    << 0 << "AXDA2500DKV4D\r\nKQXEB0345MPMW\r\nY3121234\r\n" << ctrlV
                                               << QStringList{"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"} << 2;
        QTest::newRow("blank lines between")   << 0 << "\n AXDA 2500 DKV4D\n\n \t\n\u2028KQXEB 0345 MPMW\r\rY3121234" << ctrlV
                                               << QStringList{"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"} << 2;
        QTest::newRow("a line longer than 13") << 0 << "AXDA2500DKV4DXYZ\nKQXEB 0345 MPMW 77" << ctrlV
                                               << QStringList{"AXDA2500DKV4D", "KQXEB0345MPMW", "OLD3"} << 1;
        QTest::newRow("four lines")            << 0 << "A1\nB2\nC3\nD4" << ctrlV
                                               << QStringList{"A1", "B2", "C3"} << 2;
        QTest::newRow("into Code Two")         << 1 << "KQXEB0345MPMW\nY3121234\nAXDA2500DKV4D" << ctrlV
                                               << QStringList{"OLD1", "KQXEB0345MPMW", "Y3121234"} << 2;
        QTest::newRow("one line at the caret") << 0 << "\n\nDKV4D\n" << ctrlV
                                               << QStringList{"OLD1DKV4D", "OLD2", "OLD3"} << 0;
        QTest::newRow("the box's menu")        << 0 << "A1\nB2" << int(Route::ContextMenu)
                                               << QStringList{"A1", "B2", "OLD3"} << 1;
        QTest::newRow("dropped")               << 0 << "A1\nB2" << int(Route::Drop)
                                               << QStringList{"A1", "B2", "OLD3"} << 1;
        // clang-format on
    }

    void pastingAWholeMarkingFillsTheBoxes() {
        QFETCH(int, box);
        QFETCH(QString, pasted);
        QFETCH(int, route);
        QFETCH(QStringList, expected);
        QFETCH(int, focusBox);
        for (int i = 0; i < 3; ++i) {
            window_->SetCodeText(i, QStringLiteral("OLD%1").arg(i + 1));
        }
        varnel::CodeBox* code = window_->txtCode.at(static_cast<std::size_t>(box));
        code->setFocus();
        code->end(false);
        Paste(code, pasted, static_cast<Route>(route));

        const varnel::Codes codes = window_->CurrentCodes();
        QCOMPARE(QStringList(codes.begin(), codes.end()), expected);
        QCOMPARE(QApplication::focusWidget(),
                 window_->txtCode.at(static_cast<std::size_t>(focusBox)));
        QCOMPARE(window_->txtCode.at(static_cast<std::size_t>(focusBox))->cursorPosition(),
                 expected.at(focusBox).size());
    }

    void keysWithAltOrCtrlNeverType_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        // clang-format off
        QTest::newRow("Alt+Q")          << int(Qt::Key_Q) << "q" << int(Qt::AltModifier);
        QTest::newRow("Alt+Shift+Q")    << int(Qt::Key_Q) << "Q" << int(Qt::AltModifier | Qt::ShiftModifier);
        QTest::newRow("Alt+1")          << int(Qt::Key_1) << "1" << int(Qt::AltModifier);
        QTest::newRow("Ctrl+Alt+Q")     << int(Qt::Key_Q) << "q" << int(Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("Ctrl+keypad 5")  << int(Qt::Key_5) << "5" << int(Qt::ControlModifier | Qt::KeypadModifier);
        // clang-format on
    }

    void keysWithAltOrCtrlNeverType() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        // Twelve characters: a typed character would also move the focus on.
        varnel::CodeBox* code = window_->txtCode[0];
        code->setText(QStringLiteral("AXDA2500DKV4"));
        code->setFocus();
        QTest::sendKeyEvent(QTest::Click, code, static_cast<Qt::Key>(key), text,
                            Qt::KeyboardModifiers(modifiers));
        QCOMPARE(code->text(), QStringLiteral("AXDA2500DKV4"));
        QCOMPARE(QApplication::focusWidget(), code);
    }

    void editingShortcutsStillWork() {
        varnel::CodeBox* code = window_->txtCode[1];
        code->setText(QStringLiteral("KQXEB0345MPMW"));
        code->setFocus();
        QClipboard* clipboard = QGuiApplication::clipboard();
        QTest::keyClick(code, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(code, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("KQXEB0345MPMW"));
        QTest::keyClick(code, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(code->text(), QString());
        QTest::keyClick(code, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(code->text(), QStringLiteral("KQXEB0345MPMW"));
        clipboard->setText(QStringLiteral("Y3121234"));
        QTest::keyClick(code, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(code, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(code->text(), QStringLiteral("Y3121234"));
    }

    void accessKeysReachTheirControls_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("control");  // a button, or a label and its box
        QTest::addColumn<QString>("caption");  // as it reads on the screen
        QTest::newRow("Alt+O") << int(Qt::Key_O) << "lblCode_0"
                               << "Code One:";
        QTest::newRow("Alt+W") << int(Qt::Key_W) << "lblCode_1"
                               << "Code Two:";
        QTest::newRow("Alt+R") << int(Qt::Key_R) << "lblCode_2"
                               << "Code Three:";
        QTest::newRow("Alt+C") << int(Qt::Key_C) << "Command2"
                               << "Check";
        QTest::newRow("Alt+S") << int(Qt::Key_S) << "Command3"
                               << "Swap";
        QTest::newRow("Alt+G") << int(Qt::Key_G) << "CmdSaveHTML"
                               << "Generate HTML file";
    }

    void accessKeysReachTheirControls() {
        QFETCH(int, key);
        QFETCH(QString, control);
        QFETCH(QString, caption);
        auto* label = window_->findChild<QLabel*>(control);
        auto* button = window_->findChild<QPushButton*>(control);
        std::optional<QSignalSpy> clicks;
        if (button != nullptr) {
            clicks.emplace(button, &QPushButton::clicked);
        }
        window_->txtCode[1]->setFocus();
        QTest::keyClick(window_->txtCode[1], static_cast<Qt::Key>(key), Qt::AltModifier);

        if (button != nullptr) {
            QTRY_COMPARE(clicks->size(), 1);  // a button shows itself pressed first
            QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/table.htm"));
        } else {
            QCOMPARE(QApplication::focusWidget(), label->buddy());
        }
        QString shown = button != nullptr ? button->text() : label->text();
        QCOMPARE(shown.remove(QLatin1Char('&')), caption);
    }

    void aStopPutsTheFocusOnTheBoxToCorrect_data() {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("focusBox");  // -1: the focus stays where it was
        const QString two = QStringLiteral("KQXEB0345MPMW");
        const QString three = QStringLiteral("Y3121234");
        // clang-format off
        QTest::newRow("empty box")          << QStringList{"AXDA2500DKV4D", "", three}      << 1;
        QTest::newRow("unknown prefix")     << QStringList{"ZZZ1234ABCDE", two, three}      << 0;
        QTest::newRow("unsupported chip")   << QStringList{"AMP1200DMS3C", two, three}      << 0;
        QTest::newRow("unlisted XP-M")      << QStringList{"AXDA2800DKV4C", two, three}     << 0;
        QTest::newRow("cache digit")        << QStringList{"AXDA2500DKVXD", two, three}     << 0;
        QTest::newRow("batch, textbox two") << QStringList{"AXDA2500DKV4D", two, "Y312ABCD"} << 1;
        QTest::newRow("batch, textbox three") << QStringList{"AXDA2500DKV4D", "KQXEB03451234", three} << 2;
        QTest::newRow("complete run")       << QStringList{"AXDA2500DKV4D", two, three}     << -1;
        // clang-format on
    }

    void aStopPutsTheFocusOnTheBoxToCorrect() {
        QFETCH(QStringList, codes);
        QFETCH(int, focusBox);
        for (int box = 0; box < 3; ++box) {
            window_->SetCodeText(box, codes[box]);
        }
        window_->txtCode[2]->setFocus();
        window_->Command2->click();

        QVERIFY(!prompter_->Messages().isEmpty() || focusBox < 0);
        auto* expected = window_->txtCode.at(static_cast<std::size_t>(focusBox < 0 ? 2 : focusBox));
        QCOMPARE(QApplication::focusWidget(), expected);
        // Selected whole, so the correction replaces it.
        QCOMPARE(expected->selectedText(), focusBox < 0 ? QString() : expected->text());
    }

    void resultsCopyAsTheWindowShows() {
        window_->SetCodeText(0, QStringLiteral("AXDA2500DKV4D"));
        // A stepping code that carries the formats' own delimiters.
        window_->SetCodeText(1, QStringLiteral("K|,\"*0345MPMW"));
        window_->SetCodeText(2, QStringLiteral("Y3121234"));
        window_->Command2->click();
        QCOMPARE(window_->lblResult[11]->text(), QStringLiteral("K|,\"*"));
        ReadBack shown{window_->Frame[0]->title(), {}};
        for (std::size_t i = 0; i < window_->lblInfo.size(); ++i) {
            shown.values.insert(window_->lblInfo[i]->text(), window_->lblResult[i]->text());
        }

        const std::array<std::function<ReadBack(const QString&)>, 4> readers{ReadText, ReadMarkdown,
                                                                             ReadCsv, ReadJson};
        QStringList copies;
        for (std::size_t i = 0; i < readers.size(); ++i) {
            QGuiApplication::clipboard()->clear();
            window_->mnuCopy.at(i)->trigger();
            const QString copied = QGuiApplication::clipboard()->text();
            copies << copied;
            const ReadBack back = readers[i](copied);
            QVERIFY2(back.caption == shown.caption, qPrintable(copied));
            for (auto row = shown.values.cbegin(); row != shown.values.cend(); ++row) {
                QVERIFY2(back.values.value(row.key()) == row.value(), qPrintable(copied));
            }
        }
        // Copy all results from a code box, which keeps its own Ctrl+C.
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(window_->txtCode[0], Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copies.constFirst());
        QCOMPARE(window_->txtCode[0]->text(), QStringLiteral("AXDA2500DKV4D"));
    }

    void rightClickOnAValueOffersItsValue() {
        window_->SetCodeText(0, QStringLiteral("AXDA2500DKV4D"));
        window_->SetCodeText(1, QStringLiteral("KQXEB0345MPMW"));
        window_->SetCodeText(2, QStringLiteral("Y3121234"));
        window_->Command2->click();
        QStringList offered;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            for (const QAction* action : menu->actions()) {
                offered << (action->isSeparator() ? QStringLiteral("-") : action->text());
            }
            menu->actions().constFirst()->trigger();
            menu->close();
        });
        QLabel* value = window_->lblResult[4];
        QContextMenuEvent event(QContextMenuEvent::Mouse, value->rect().center(),
                                value->mapToGlobal(value->rect().center()));
        QApplication::sendEvent(value, &event);

        QCOMPARE(offered,
                 (QStringList{"Copy &value", "Copy &all results", "-", "Copy as &Markdown table",
                              "Copy as C&SV", "Copy as &JSON"}));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("OPGA"));
    }

    void aCompleteCodeMovesOn_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("focusBox");
        const char* twelve = "AXDA2500DKV4";
        const int none = Qt::NoModifier;
        // clang-format off
        QTest::newRow("13th key in Code One") << 0 << twelve          << int(Qt::Key_D)         << "d"    << none << "AXDA2500DKV4D" << 1;
        QTest::newRow("13th key in Code Two") << 1 << "KQXEB0345MPM"  << int(Qt::Key_W)         << "w"    << none << "KQXEB0345MPMW" << 2;
        QTest::newRow("Code Three keeps it")  << 2 << "Y31212341234"  << int(Qt::Key_5)         << "5"    << none << "Y312123412345" << 2;
        QTest::newRow("Backspace at 12")      << 0 << twelve          << int(Qt::Key_Backspace) << "\b"   << none << "AXDA2500DKV"   << 1;
        QTest::newRow("Enter at 12")          << 0 << twelve          << int(Qt::Key_Return)    << "\r"   << none << twelve          << 1;
        QTest::newRow("Escape at 12")         << 1 << twelve          << int(Qt::Key_Escape)    << "\x1b" << none << twelve          << 2;
        QTest::newRow("space at 12")          << 0 << twelve          << int(Qt::Key_Space)     << " "    << none << twelve          << 1;
        QTest::newRow("12th key stays")       << 0 << "AXDA2500DKV"   << int(Qt::Key_4)         << "4"    << none << twelve          << 0;
        QTest::newRow("full box stays")       << 0 << "AXDA2500DKV4D" << int(Qt::Key_X)         << "x"    << none << "AXDA2500DKV4D" << 0;
        QTest::newRow("arrow at 12")          << 0 << twelve          << int(Qt::Key_Left)      << ""     << none << twelve          << 0;
        QTest::newRow("Delete at 12")         << 0 << twelve          << int(Qt::Key_Delete)    << "\x7f" << none << twelve          << 0;
        QTest::newRow("F2 at 12")             << 0 << twelve          << int(Qt::Key_F2)        << ""     << none << twelve          << 0;
        QTest::newRow("Ctrl+C at 12")         << 0 << twelve          << int(Qt::Key_C)         << "\x03" << int(Qt::ControlModifier) << twelve << 0;
        // clang-format on
    }

    void aCompleteCodeMovesOn() {
        QFETCH(int, box);
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        QFETCH(QString, expected);
        QFETCH(int, focusBox);

        varnel::CodeBox* code = window_->txtCode.at(static_cast<std::size_t>(box));
        code->setText(before);
        code->setFocus();
        QTest::sendKeyEvent(QTest::Click, code, static_cast<Qt::Key>(key), text,
                            Qt::KeyboardModifiers(modifiers));

        QCOMPARE(code->text(), expected);
        QCOMPARE(QApplication::focusWidget(),
                 window_->txtCode.at(static_cast<std::size_t>(focusBox)));
    }

    void typingAWholeMarkingFillsTheBoxesInTurn() {
        // Keys go wherever the focus is, as from a keyboard.
        for (const QChar c : QStringLiteral("axda2500dkv4dkqxeb0345mpmwy3121234")) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        }
        QCOMPARE(window_->CodeText(0), QStringLiteral("AXDA2500DKV4D"));
        QCOMPARE(window_->CodeText(1), QStringLiteral("KQXEB0345MPMW"));
        QCOMPARE(window_->CodeText(2), QStringLiteral("Y3121234"));
    }

    void swapTwiceRestores_data() {
        QTest::addColumn<QString>("two");
        QTest::addColumn<QString>("three");
        QTest::newRow("Code Two empty") << QString() << QStringLiteral("KQXEB0345MPMW");
        QTest::newRow("both filled")
            << QStringLiteral("Y3121234") << QStringLiteral("KQXEB0345MPMW");
    }

    void swapTwiceRestores() {
        QFETCH(QString, two);
        QFETCH(QString, three);
        window_->SetCodeText(0, QStringLiteral("AXDA2500DKV4D"));
        window_->SetCodeText(1, two);
        window_->SetCodeText(2, three);
        window_->lblResult[0]->setText(QStringLiteral("Barton"));

        QTest::mouseClick(window_->Command3, Qt::LeftButton);
        QCOMPARE(window_->CodeText(1), three);
        QCOMPARE(window_->CodeText(2), two);
        QCOMPARE(window_->CodeText(0), QStringLiteral("AXDA2500DKV4D"));
        QCOMPARE(window_->lblResult[0]->text(), QStringLiteral("Barton"));

        QTest::mouseClick(window_->Command3, Qt::LeftButton);
        QCOMPARE(window_->CodeText(1), two);
        QCOMPARE(window_->CodeText(2), three);
        QVERIFY(prompter_->Messages().isEmpty());
    }

    void checkDecodesThroughTheWindow_data() {
        QTest::addColumn<QString>("two");
        QTest::addColumn<QString>("three");
        QTest::newRow("in order") << QStringLiteral("KQXEB0345MPMW") << QStringLiteral("Y3121234");
        QTest::newRow("Two and Three the other way round")
            << QStringLiteral("Y3121234") << QStringLiteral("KQXEB0345MPMW");
    }

    void checkDecodesThroughTheWindow() {
        QFETCH(QString, two);
        QFETCH(QString, three);
        window_->SetCodeText(0, QStringLiteral("axda2500dkv4d"));
        window_->SetCodeText(1, two);
        window_->SetCodeText(2, three);

        QTest::mouseClick(window_->Command2, Qt::LeftButton);

        QVERIFY2(prompter_->Messages().isEmpty(), qPrintable(prompter_->Messages().value(0).text));
        QCOMPARE(window_->lblResult[0]->text(), QStringLiteral("Barton"));
        QCOMPARE(window_->Frame[0]->title(), QStringLiteral("AMD Athlon XP"));
        QCOMPARE(window_->lblResult[18]->text(), QStringLiteral("(Currently Disabled)"));
        // The codes go back into the boxes in their places.
        QCOMPARE(window_->CurrentCodes(),
                 (varnel::Codes{"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"}));
    }

    void exportWritesTheCodesOfTheShownResults_data() {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<bool>("check");         // Check pressed before Code Three is edited
        QTest::addColumn<bool>("refusedCheck");  // then Check pressed with Code One empty
        QTest::addColumn<bool>("oldCodes");      // whether the export has the codes checked
        const QStringList barton{"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"};
        // clang-format off
        QTest::newRow("before any run")             << barton << false << false << false;
        QTest::newRow("after a complete run")       << barton << true  << false << true;
        QTest::newRow("after a stop leaving slots") << QStringList{"AXDA2500DKV4D", "KQXEB03451234", "Y3121234"} << true << false << true;
        QTest::newRow("after a stop blanking all")  << QStringList{"AXDX2000", "KQXEB0345MPMW", "Y3121234"} << true << false << false;
        QTest::newRow("after a refused Check")      << barton << true  << true  << true;
        // clang-format on
    }

    void exportWritesTheCodesOfTheShownResults() {
        QFETCH(QStringList, codes);
        QFETCH(bool, check);
        QFETCH(bool, refusedCheck);
        QFETCH(bool, oldCodes);
        for (int box = 0; box < 3; ++box) {
            window_->SetCodeText(box, codes[box]);
        }
        if (check) {
            QTest::mouseClick(window_->Command2, Qt::LeftButton);
        }
        const QString edited = QStringLiteral("Y3129999");
        window_->SetCodeText(2, edited);
        if (refusedCheck) {
            window_->SetCodeText(0, QString());
            QTest::mouseClick(window_->Command2, Qt::LeftButton);
        }

        const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/table.htm");
        QTest::mouseClick(window_->CmdSaveHTML, Qt::LeftButton);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray table = file.readAll();
        file.remove();

        const QStringList expected{codes[0], codes[1], oldCodes ? codes[2] : edited};
        for (const QString& code : expected) {
            QVERIFY2(table.contains("&nbsp;" + code.toLatin1() + "</font>"), qPrintable(code));
        }
        QCOMPARE(table.contains("&nbsp;Y3129999</font>"), !oldCodes);
    }

    void realMessageBoxShowsTheMessageAndReturnsTheButton() {
        varnel::MessageBoxPrompter prompter(window_.get());
        QString seenTitle;
        QString seenText;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons seenButtons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            seenButtons = box->standardButtons();
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        });

        const varnel::MessageAnswer answer = prompter.Show(
            {QStringLiteral("Chip <b>'X'</b>\r\nsecond line"), varnel::MessageIcon::Exclamation,
             varnel::MessageButtons::YesNoCancel, QStringLiteral("Hang-on")});

        QCOMPARE(answer, varnel::MessageAnswer::No);
        QCOMPARE(seenTitle, QStringLiteral("Hang-on"));
        QCOMPARE(seenText, QStringLiteral("Chip <b>'X'</b>\nsecond line"));
        QCOMPARE(seenIcon, QMessageBox::Warning);
        QCOMPARE(seenButtons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }

  private:
    varnel::RecordingUrlOpener opener_;
    std::unique_ptr<varnel::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> window_;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
