#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "catalogue/part.h"
#include "decode/captions.h"
#include "report/html_table.h"
#include "support/csv_records.h"
#include "support/markings.h"

using namespace varnel;

namespace {

struct ProgramRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun Decode(const QStringList& arguments, const QByteArray& input = {},
                  const QString& program = QStringLiteral(VARNEL_DECODE_PROGRAM)) {
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// The program run by a shell, for what QProcess cannot set up.
ProgramRun Shell(const char* command) {
    return Decode({"-c", command, VARNEL_DECODE_PROGRAM}, {}, QStringLiteral("/bin/sh"));
}

const QStringList kBarton{"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"};

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject ParseObject(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.constData();
    return object;
}

}  // namespace

TEST(VarnelDecode, TextOutputAndExitStatusOfSingleMarkings) {
    const struct {
        QStringList arguments;
        int status;
        QByteArray outPart;
        int lines;       // of standard output
        QByteArray err;  // exact, or the start of it when it ends in "*"
    } cases[] = {
        {kBarton, 0, "AMD Athlon XP\nCore:                       Barton\nCPU Model:  ", 23, ""},
        // What a code copied from a web page brings along goes before counting:
        // Code Two holds fifteen characters, thirteen of them visible.
        {{"axda2500 dkv4d\u00A0", "kqxeb\u200B0345\u200Fmpmw", "\uFEFFy3121234\r"},
         0,
         "Max. Operating Temperature: 85\xC2\xB0"
         "C\n",
         23,
         ""},
        // The catalogue's block after the rows: the part, the verdict, each fact.
        {{"ADA3700DAA5BN", "CBBHD0501APAW", "1234"},
         0,
         "(Currently Disabled)\n\nCatalogue:                  Athlon 64 3700+, San Diego "
         "(datasheet)\n",
         28,
         ""},
        // A stopped run shows no rows: they would pass for a result. Each
        // message on one line of its own; the near OPNs of an unknown part
        // go with them.
        {{"AXDX2000", "A", "B"},
         1,
         "",
         0,
         "varnel-decode: Error: CPU Identification String not found - Aborting Check for errors "
         "in the first code.\n"},
        {{"ADD3500IAA4CM", "A", "B"},
         1,
         "",
         0,
         "*ADD3500IAA4CM is not in the catalogue; near: ADD3500IAA4CN"},
        // What the catalogue knows of a chip the rules cannot read is a result.
        {{"ADD3500IAA4CN", "CCBWE0612MPMW", "Y3121234"},
         1,
         "Catalogue:                  Athlon 64 3500+ EE, Orleans (database)\n",
         8,
         "varnel-decode: Error: CPU Identification String not found*"},
        // The closing question has no answer on a command line.
        {{"AXDA2500DKV4D", "", "Y3121234"},
         1,
         "Verdict:",
         8,
         "varnel-decode: Hang-on: One or more textboxes are empty. You must type*the 'FAQ' "
         "section at the homepage.\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Decode(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.contains(c.outPart)) << run.out.constData();
        EXPECT_EQ(run.out.count('\n'), c.lines) << run.out.constData();
        if (c.err.startsWith('*')) {
            EXPECT_TRUE(run.err.contains(c.err.mid(1))) << run.err.constData();
        } else if (c.err.endsWith('*')) {
            EXPECT_TRUE(run.err.startsWith(c.err.chopped(1))) << run.err.constData();
        } else if (const qsizetype star = c.err.indexOf('*'); star > 0) {
            EXPECT_TRUE(run.err.startsWith(c.err.first(star)) &&
                        run.err.endsWith(c.err.sliced(star + 1)))
                << run.err.constData();
        } else {
            EXPECT_EQ(run.err, c.err);
        }
    }
}

// The numbers of a run as JSON writes them, listed in the order of their
// keys; "-" is null.
QJsonObject Numbers(const char* listed) {
    const QStringList values = QString::fromLatin1(listed).split(u' ', Qt::SkipEmptyParts);
    QJsonObject numbers;
    for (std::size_t i = 0; i < kNumberKeys.size(); ++i) {
        const QString value = values.value(static_cast<qsizetype>(i), "-");
        numbers.insert(QLatin1String(kNumberKeys[i]),
                       value == u"-" ? QJsonValue() : QJsonValue(value.toDouble()));
    }
    return numbers;
}

TEST(VarnelDecode, JsonKeysNumbersAndCatalogue) {
    // clang-format off
    const struct {
        QStringList codes;
        QString caption, core, frequency;
        const char* numbers;  // clock multiplier fsb l1 l2 voltage temperature year week process
        QString catalogueOpn, differs, near;  // empty: not in the catalogue; lists joined by ","
        QString stop = "null";                // the stop object as JSON
    } cases[] = {
        // Code Two opened with a digit and Code Three did not: they trade boxes.
        {{"AXDA2500DKV4D", "Y3121234", "kqxeb0345mpmw"}, "AMD Athlon XP", "Barton", "1833MHz",
         "1833 11 333 128 512 1.65 85 2003 45 0.13", "AXDA2500DKV4D", "", ""},
        // A San Diego that the rules read as a ClawHammer at 0.13u; its voltage
        // and temperature letter mean "variable".
        {{"ADA3700DAA5BN", "CBBHD0501APAW", "1234"}, "AMD Athlon 64", "ClawHammer", "2400MHz",
         "2400 12 400 128 1024 - - 2005 1 0.13", "ADA3700DAA5BN",
         "Core,CPU Model,Working frequency,Multiplier,Process Technology", ""},
        // No such OPN: the ones a letter or two away are offered. Nor has the
        // rating a clock on a 400 MHz bus.
        {{"AXDA2500DKV4E", "KQXEB0345MPMW", "Y3121234"}, "AMD Athlon XP", "Barton",
         "Unknown Processor", "- - 400 128 512 1.65 85 2003 45 0.13", "", "",
         "AXDA2500DKV4C,AXDA2500DKV4D,AXDA2900DKV4E"},
        // A stop shows no family and found no number, and says why.
        {{"AXDX2000", "A", "B"}, "", "", "", "", "", "", "",
         R"({"code":1,"reason":"unknown_prefix"})"},
        // Code Three holds no batch number: the stop is about Code Two's box.
        {{"AXDA2500DKV4D", "KQXEB0345MPMW", "KQXEB0345MPMW"}, "", "", "", "", "AXDA2500DKV4D",
         "", "", R"({"code":2,"reason":"unreadable_value"})"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codes.join(' ').toStdString());
        const ProgramRun run = Decode(QStringList{"--json"} + c.codes);
        EXPECT_EQ(run.status, c.caption.isEmpty() ? 1 : 0);
        const QJsonObject o = ParseObject(run.out);
        EXPECT_EQ(o.value("codes").toArray().at(2),
                  c.codes[1] == "Y3121234" ? "Y3121234" : c.codes[2]);
        EXPECT_EQ(o.value("caption"), c.caption);
        const QJsonObject fields = o.value("fields").toObject();
        EXPECT_EQ(fields.size(), kFieldCount);
        EXPECT_EQ(fields.value("core"), c.core);
        EXPECT_EQ(fields.value("working_frequency"), c.frequency);
        EXPECT_EQ(o.value("slots").toArray().at(3).toObject().value("value"), c.frequency);
        EXPECT_EQ(o.value("numbers").toObject(), Numbers(c.numbers));
        const QJsonObject part = o.value("catalogue").toObject();
        EXPECT_EQ(o.value("catalogue").isNull(), c.catalogueOpn.isEmpty());
        EXPECT_EQ(part.value("opn").toString(), c.catalogueOpn);
        EXPECT_EQ(part.value("differs").toVariant().toStringList().join(u','), c.differs);
        EXPECT_TRUE(o.value("near").isArray());
        EXPECT_EQ(o.value("near").toVariant().toStringList().join(u','), c.near);
        EXPECT_EQ(QJsonDocument(QJsonArray{o.value("stop")}).toJson(QJsonDocument::Compact),
                  "[" + c.stop.toUtf8() + "]");
    }
}

// Every hand-worked run that starts in a fresh program, through the batch:
// varnel-decode must read each marking exactly as the window does.
TEST(VarnelDecode, BatchDecodesEveryHandWorkedMarking) {
    QByteArray input;
    std::vector<const testdata::Marking*> rows;
    for (const testdata::Marking& row : testdata::Markings()) {
        if (row.before[0].isEmpty()) {
            input += row.codes[0].toUtf8() + ',' + row.codes[1].toUtf8() + ',' +
                     row.codes[2].toUtf8() + '\n';
            rows.push_back(&row);
        }
    }
    const ProgramRun run = Decode({"--batch", "-"}, input);
    const QList<QStringList> records = ReadCsvRecords(QString::fromUtf8(run.out));
    ASSERT_EQ(records.size(), static_cast<qsizetype>(rows.size()) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const testdata::Marking& row = *rows[i];
        const QStringList& record = records[static_cast<qsizetype>(i) + 1];
        SCOPED_TRACE(row.name.toStdString());
        ASSERT_EQ(record.size(), 4 + kFieldCount + 2);
        EXPECT_EQ(record.mid(4, kFieldCount), QStringList(row.values.begin(), row.values.end()));
        EXPECT_EQ(record[3], row.Completed() ? row.caption : QString());
        EXPECT_EQ(record[4 + kFieldCount], row.Completed() ? "true" : "false");
        QStringList messages;
        for (const Message& m : row.messages) {
            messages << m.title + QStringLiteral(": ") + m.text;
        }
        EXPECT_EQ(record.last(), messages.join(u'\n'));
    }
}

TEST(VarnelDecode, UsageErrorsExitTwoPrintNothing) {
    const QStringList cases[] = {
        {},
        {"AXDA2500DKV4D", "KQXEB0345MPMW"},
        {"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234", "extra"},
        {"--bogus", "A", "B", "C"},
        {"AXDA2500DKV4D", "KQXEB0345MPMW", "Y31212345678901"},  // a code too long for its box
        {"--batch", "-", "A", "B", "C"},
        {"--batch", "-", "--html", "t.htm"},
        {"--batch"},
        {"--batch", "/nonexistent/markings.csv"},
        {"--catalogue", "AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"},
        {"--keys", "--json", "--batch", "-"},
        {"--find", "Barton", "--batch", "-"},
        {"--find", "Barton", "AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"},
        {"--find", ""},  // not a list of every part
        {"--find", " \t "},
    };
    for (const QStringList& arguments : cases) {
        const ProgramRun run = Decode(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
        EXPECT_TRUE(run.err.startsWith("varnel-decode: ")) << run.err.constData();
    }
    // An argument that is not UTF-8 cannot come through QProcess; a shell passes it.
    const ProgramRun raw = Shell("exec \"$0\" \"$(printf 'AXDA\\377')\" B C");
    EXPECT_EQ(raw.status, 2);
    EXPECT_TRUE(raw.err.contains("not valid UTF-8")) << raw.err.constData();

    EXPECT_EQ(Decode({"-V"}).out, "varnel-decode 1.0.0\n");
    const ProgramRun help = Decode({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("varnel-decode [--json | --keys] [--catalogue] --batch <file>"));
    EXPECT_TRUE(help.out.contains("\nExamples:\n"));
    EXPECT_FALSE(help.out.contains("--help-all"));
}

TEST(VarnelDecode, BatchKeepsOrderAndTurnsBadLinesIntoRows) {
    const QByteArray input =
        "\xEF\xBB\xBF"
        "code1,code2,code3\r\n"
        "# a shelf of Socket A parts\n"
        "\n"
        "AXDA2500DKV4D,KQXEB0345MPMW,Y3121234\r\n"
        "\"axda2500dkv4d\",\"KQXEB 0345 MPMW\",\"Y3121234\"\n"
        "AXDX2000\tA\tB\n"
        "AXDA2500DKV4D,KQXEB0345MPMW\n" +
        QByteArray("A\0,B,C\n", 7) + QByteArray(70000, 'A') + "\n" +
        "AXDA2500DKV4D KQXEB0345MPMW Y3121234\n" + "ADA3200AEP4AX,CBBHD0501APAW,1234567890";

    QTemporaryDir dir;
    QFile file(dir.filePath("markings.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(input) == input.size());
    file.close();

    const ProgramRun fromFile = Decode({"--batch", file.fileName()});
    const ProgramRun fromStdin = Decode({"--batch", "-"}, input);
    EXPECT_EQ(fromFile.status, 2);
    EXPECT_EQ(fromFile.out, fromStdin.out);
    const auto rows = ReadCsvRecords(QString::fromUtf8(fromFile.out));
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0].mid(0, 5), QStringList({"code1", "code2", "code3", "family", "Core"}));
    const struct {
        QString code1, family, workingFrequency, completed, messagesPart;
    } expected[] = {
        {"AXDA2500DKV4D", "AMD Athlon XP", "1833MHz", "true", ""},
        {"AXDA2500DKV4D", "AMD Athlon XP", "1833MHz", "true", ""},
        {"AXDX2000", "", "", "false", "Error: CPU Identification String not found"},
        {"", "", "", "false", "line 7: 2 fields"},
        {"", "", "", "false", "line 8: the line holds a NUL byte"},
        {"", "", "", "false", "line 9: the line is longer than 65536 bytes"},
        {"", "", "", "false", "line 10: separate the three codes with commas or tabs"},
        {"ADA3200AEP4AX", "AMD Athlon 64", "2200MHz", "true", ""},
    };
    EXPECT_TRUE(fromFile.err.contains(
        "4 lines could not be read as a marking (the first is line 7); their rows say why"))
        << fromFile.err.constData();
    for (int i = 0; i < 8; ++i) {
        const QStringList& row = rows[i + 1];
        ASSERT_EQ(row.size(), 25);
        EXPECT_EQ(row[0], expected[i].code1) << i;
        EXPECT_EQ(row[3], expected[i].family) << i;
        EXPECT_EQ(row[7], expected[i].workingFrequency) << i;
        EXPECT_EQ(row[23], expected[i].completed) << i;
        EXPECT_TRUE(expected[i].messagesPart.isEmpty()
                        ? row[24].isEmpty()
                        : row[24].startsWith(expected[i].messagesPart))
            << i << " " << row[24].toStdString();
    }

    const ProgramRun json = Decode({"--json", "--batch", file.fileName()});
    const QList<QByteArray> lines = json.out.split('\n');
    ASSERT_EQ(lines.size(), 9);  // eight objects and the empty rest after the last line end
    EXPECT_EQ(ParseObject(lines[0]).value("slots").toArray()[3].toObject().value("value"),
              "1833MHz");
    EXPECT_EQ(ParseObject(lines[4]).value("error").toString(), "line 8: the line holds a NUL byte");
    EXPECT_EQ(ParseObject(lines[4]).value("stop").toObject(),
              QJsonObject({{"reason", "unreadable_batch_line"}, {"code", QJsonValue()}}));
    EXPECT_EQ(ParseObject(lines[7]).value("caption").toString(), "AMD Athlon 64");
}

TEST(VarnelDecode, BatchExitStatusFollowsTheWorstRun) {
    const QByteArray good = "AXDA2500DKV4D,KQXEB0345MPMW,Y3121234\n";
    EXPECT_EQ(Decode({"--batch", "-"}, good + good).status, 0);
    EXPECT_EQ(Decode({"--batch", "-"}, good + "AXDX2000,A,B\n" + good).status, 1);
    const ProgramRun refused = Decode({"--batch", "-"}, "AXDX2000,A,B\nA\n");
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.out.contains("line 2: 1 field where a marking has three"));
    EXPECT_TRUE(
        refused.err.contains("1 line could not be read as a marking (line 2); its row says why"))
        << refused.err.constData();
    const ProgramRun empty = Decode({"--batch", "-"}, "");
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(ReadCsvRecords(QString::fromUtf8(empty.out)).size(), 1);
}

TEST(VarnelDecode, CatalogueColumnsAndFind) {
    const QByteArray input =
        "ADA3700DAA5BN,CBBHD0501APAW,1234\nAXDA2500DKV4E,KQXEB0345MPMW,Y3121234\n";
    const ProgramRun run = Decode({"--catalogue", "--batch", "-"}, input);
    EXPECT_EQ(run.status, 0);
    const auto rows = ReadCsvRecords(QString::fromUtf8(run.out));
    ASSERT_EQ(rows.size(), 3);
    for (const QStringList& row : rows) {
        ASSERT_EQ(row.size(), 25 + catalogue::ColumnNames().size() + 3);
    }
    EXPECT_EQ(rows[0].mid(25, 2), QStringList({"catalogue_opn", "catalogue_family"}));
    EXPECT_EQ(rows[0].mid(rows[0].size() - 3),
              QStringList({"catalogue_verdict", "differs", "not_read"}));
    EXPECT_EQ(rows[1][25], "ADA3700DAA5BN");
    EXPECT_EQ(rows[1][25 + catalogue::ColumnIndex(u"core")], "San Diego");
    EXPECT_EQ(rows[1][25 + catalogue::ColumnIndex(u"clock_mhz")], "2200");
    // Every cell on one line.
    EXPECT_EQ(
        rows[1].mid(rows[1].size() - 3),
        QStringList(
            {"differs", "Core; CPU Model; Working frequency; Multiplier; Process Technology", ""}));
    // A Code One the catalogue lacks leaves its cells empty.
    EXPECT_TRUE(std::ranges::all_of(rows[2].begin() + 25, rows[2].end(), &QString::isEmpty));

    // --keys: the same columns, named by the JSON's keys.
    const auto keyed = ReadCsvRecords(
        QString::fromUtf8(Decode({"--keys", "--catalogue", "--batch", "-"}, input).out));
    ASSERT_EQ(keyed.size(), 3);
    EXPECT_EQ(keyed[0].mid(0, 7), QStringList({"code1", "code2", "code3", "family", "core",
                                               "cpu_model", "performance_model"}));
    EXPECT_EQ(keyed[0].mid(23, 2), QStringList({"completed", "messages"}));
    EXPECT_EQ(keyed[0].mid(25), rows[0].mid(25));
    EXPECT_EQ(keyed.mid(1), rows.mid(1));

    const struct {
        QStringList arguments;
        int status;
        QByteArray outStart;
    } searches[] = {
        {{"--find", "san diego"}, 0, "OPN            Family"},
        {{"--json", "--find", "ADA3700DAA5BN"}, 0, "{\"opn\":\"ADA3700DAA5BN\",\"family\":"},
        {{"--find", "AXDX"}, 1, ""},
        {{"--find", "sandiego  ada3700"}, 0, "OPN            Family"},
    };
    for (const auto& search : searches) {
        const ProgramRun found = Decode(search.arguments);
        EXPECT_EQ(found.status, search.status) << search.arguments.join(' ').toStdString();
        EXPECT_TRUE(found.out.startsWith(search.outStart)) << found.out.constData();
        EXPECT_EQ(found.out.isEmpty(), found.status != 0);
    }
}

// The window's export of the same marking, the one of a stop too: a stopped
// run writes its table and still says it stopped.
TEST(VarnelDecode, HtmlTableIsByteForByteTheWindowsExport) {
    for (const auto& [name, status] : {std::pair{"BartonOn333", 0}, {"UnknownPrefix", 1}}) {
        const testdata::Marking& row = testdata::MarkingNamed(name);
        QTemporaryDir dir;
        const QString path = dir.filePath("cli.htm");
        const ProgramRun run = Decode({"--html", path, row.codes[0], row.codes[1], row.codes[2]});
        EXPECT_EQ(run.status, status) << name << run.err.constData();
        EXPECT_EQ(ReadBytes(path),
                  report::EncodeTableFile(report::BuildDefaultTable(testdata::ExpectedSheet(row))));
    }
}

TEST(VarnelDecode, UnwritableOutputIsNeverSuccess) {
    const struct {
        const char* command;
        const char* errPart;
    } cases[] = {
        {"exec \"$0\" AXDA2500DKV4D KQXEB0345MPMW Y3121234 >/dev/full",
         "cannot write standard output"},
        {"echo AXDA2500DKV4D,KQXEB0345MPMW,Y3121234 | \"$0\" --batch - >/dev/full",
         "cannot write standard output"},
        {"exec \"$0\" AXDA2500DKV4D KQXEB0345MPMW Y3121234 >&-", "standard output is closed"},
        {"exec \"$0\" --batch - <&-", "standard input is closed"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Shell(c.command);
        EXPECT_EQ(run.status, 2) << c.command;
        EXPECT_TRUE(run.err.contains(c.errPart)) << run.err.constData();
    }
}

// What --html finds at the path it is given, and what must hold afterwards.
struct HtmlTarget {
    const char* what;
    std::function<QString(const QString& folder)> make;  // returns the path to name
    int status;
    std::function<void(const QString& path, const ProgramRun& run, const QByteArray& table)> check;
};

TEST(VarnelDecode, HtmlIntoStreamsAndThroughLinks) {
    QTemporaryDir dir;
    const ProgramRun reference =
        Decode(QStringList{"--html", dir.filePath("reference.htm")} + kBarton);
    const QByteArray table = ReadBytes(dir.filePath("reference.htm"));
    ASSERT_EQ(reference.status, 0);
    QProcess fifoReader;
    const HtmlTarget targets[] = {
        {"a FIFO read by another process",
         [&fifoReader](const QString& folder) {
             const QString fifo = folder + "/fifo";
             EXPECT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
             fifoReader.start("cat", {fifo});
             return fifo;
         },
         0,
         [&fifoReader](const QString& path, const ProgramRun&, const QByteArray& table) {
             EXPECT_TRUE(fifoReader.waitForFinished(60000));
             EXPECT_EQ(fifoReader.readAllStandardOutput(), table);
             EXPECT_TRUE(QFileInfo(path).exists() && !QFileInfo(path).isFile());
         }},
        {"a symbolic link",
         [](const QString& folder) {
             EXPECT_TRUE(QFile(folder + "/target.htm").open(QIODevice::WriteOnly));
             EXPECT_TRUE(QFile::link(folder + "/target.htm", folder + "/link.htm"));
             return folder + "/link.htm";
         },
         0,
         [](const QString& path, const ProgramRun&, const QByteArray& table) {
             EXPECT_TRUE(QFileInfo(path).isSymLink());
             EXPECT_EQ(ReadBytes(QFileInfo(path).dir().filePath("target.htm")), table);
         }},
        {"/dev/stdout", [](const QString&) { return QStringLiteral("/dev/stdout"); }, 0,
         [](const QString&, const ProgramRun& run, const QByteArray& table) {
             EXPECT_TRUE(run.out.startsWith("AMD Athlon XP\n"));
             EXPECT_TRUE(run.out.endsWith(table));
         }},
        {"a directory",
         [](const QString& folder) {
             EXPECT_TRUE(QDir(folder).mkdir("table.htm"));
             return folder + "/table.htm";
         },
         2,
         [](const QString& path, const ProgramRun& run, const QByteArray&) {
             EXPECT_EQ(run.err, "varnel-decode: cannot write " + path.toUtf8() +
                                    ": It is not a regular file but a directory.\n");
             EXPECT_TRUE(QFileInfo(path).isDir());
         }},
    };
    for (const HtmlTarget& target : targets) {
        SCOPED_TRACE(target.what);
        QTemporaryDir folder;
        const QString path = target.make(folder.path());
        const ProgramRun run = Decode(QStringList{"--html", path} + kBarton);
        EXPECT_EQ(run.status, target.status) << run.err.constData();
        target.check(path, run, table);
    }
}

// Device nodes can only be made by root.
TEST(VarnelDecode, HtmlIntoCharacterDeviceKeepsIt) {
    const struct {
        unsigned minor;  // of the memory devices: 3 null, 7 full
        int status;
        QByteArray err;
    } devices[] = {{3, 0, ""}, {7, 2, "No space left on device"}};
    QTemporaryDir dir;
    for (const auto& device : devices) {
        const QString path = dir.filePath(QString::number(device.minor));
        if (::mknod(QFile::encodeName(path), S_IFCHR | 0666, makedev(1, device.minor)) != 0) {
            GTEST_SKIP() << "making a device node needs root";
        }
        const ProgramRun run = Decode(QStringList{"--html", path} + kBarton);
        EXPECT_EQ(run.status, device.status) << run.err.constData();
        EXPECT_TRUE(run.err.contains(device.err)) << run.err.constData();
        struct stat after {};
        EXPECT_TRUE(::lstat(QFile::encodeName(path), &after) == 0 && S_ISCHR(after.st_mode));
    }
}

// In a folder anyone may write to with the sticky bit (/tmp), another user
// can plant a link or a file under the name root will write. Planting as
// another user takes root, to hand the planted names over.
struct StickyCase {
    const char* what;
    uid_t folderOwner;
    uid_t planter;  // owner of what stands at table.htm
    bool link;      // a link to target.htm, else a regular file
    mode_t mode;    // of the regular file (table.htm or the link's target)
    bool refused;   // exit 2, nothing touched
    uid_t ownerAfter;
};

// Makes a sticky folder anyone may write to, owned by the case's folder
// owner, with table.htm planted in it as the case says. Returns table.htm.
QByteArray PlantInSharedFolder(const StickyCase& c, const QTemporaryDir& scratch) {
    const QByteArray folder = QFile::encodeName(scratch.filePath("shared"));
    const QByteArray table = folder + "/table.htm";
    const QByteArray target = folder + "/target.htm";
    EXPECT_EQ(::mkdir(folder, 0700), 0);
    EXPECT_EQ(::chmod(folder, 01777) | ::chown(folder, c.folderOwner, 0), 0);
    EXPECT_TRUE(QFile(QFile::decodeName(c.link ? target : table)).open(QIODevice::WriteOnly));
    EXPECT_EQ(::chmod(c.link ? target : table, c.mode), 0);
    if (c.link) {
        EXPECT_EQ(::symlink(target, table), 0);
    }
    EXPECT_EQ(::lchown(table, c.planter, c.planter), 0);
    return table;
}

constexpr uid_t kNobody = 65534;

TEST(VarnelDecode, HtmlInStickySharedFolderRefusesWhatOthersPlanted) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "planting files as another user (uid 65534) needs root";
    }
    // clang-format off
    const StickyCase cases[] = {
        {"another user's link to root's file",      0,       kNobody, true,  0600,  true,  0},
        {"another user's file, set-uid",            0,       kNobody, false, 04777, true,  kNobody},
        {"root's own link",                         0,       0,       true,  0600,  false, 0},
        {"root's own file loses set-uid",           0,       0,       false, 06755, false, 0},
        {"the folder owner's file becomes root's",  kNobody, kNobody, false, 0644,  false, 0},
    };
    // clang-format on
    for (const StickyCase& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir scratch;
        const QByteArray table = PlantInSharedFolder(c, scratch);
        struct stat before {};
        ASSERT_EQ(::stat(table, &before), 0);

        const ProgramRun run = Decode(QStringList{"--html", QFile::decodeName(table)} + kBarton);

        struct stat after {};
        ASSERT_EQ(::stat(table, &after), 0);
        EXPECT_EQ(run.status, c.refused ? 2 : 0) << run.err.constData();
        EXPECT_EQ(run.err.contains("cannot write " + table + ": It is a"), c.refused);
        EXPECT_EQ(ReadBytes(QFile::decodeName(table)).isEmpty(), c.refused);
        EXPECT_EQ(after.st_mode, c.refused ? before.st_mode : (S_IFREG | (c.mode & 0777)));
        EXPECT_EQ(after.st_uid, c.ownerAfter);
        struct stat link {};
        EXPECT_EQ(::lstat(table, &link) == 0 && S_ISLNK(link.st_mode), c.link);
    }
}

TEST(VarnelDecode, HtmlThroughDanglingPlantedLinkCreatesNothing) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "planting a link as another user (uid 65534) needs root";
    }
    QTemporaryDir scratch;
    const QByteArray folder = QFile::encodeName(scratch.path());
    ASSERT_EQ(::chmod(folder, 01777), 0);
    ASSERT_EQ(::symlink(folder + "/made.htm", folder + "/table.htm"), 0);
    ASSERT_EQ(::lchown(folder + "/table.htm", kNobody, kNobody), 0);
    EXPECT_EQ(Decode(QStringList{"--html", scratch.filePath("table.htm")} + kBarton).status, 2);
    EXPECT_FALSE(QFile::exists(scratch.filePath("made.htm")));
}
