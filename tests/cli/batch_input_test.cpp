#include <gtest/gtest.h>

#include <QByteArray>
#include <cstdio>

#include "cli/batch_input.h"

using namespace varnel;
using namespace varnel::cli;
using Kind = BatchLine::Kind;

TEST(ParseBatchLine, SplitsNormalisesSkipsAndRefuses) {
    const struct {
        QByteArray line;
        bool firstRecord;
        Kind kind;
        Codes codes;
        QString reasonPart;
    } cases[] = {
        {"AXDA2500DKV4D,KQXEB0345MPMW,Y3121234",
         false,
         Kind::Marking,
         {"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"},
         {}},
        {"axda 2500 dkv4d,kqxeb0345mpmw,y3121234\r",
         false,
         Kind::Marking,
         {"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"},
         {}},
        {"\"A,B\",\"say \"\"hi\"\"\",\"\"", false, Kind::Marking, {"A,B", "SAY\"HI\"", ""}, {}},
        {"AXDA2500DKV4D\tKQXEB 0345\t\"Y3\"",
         false,
         Kind::Marking,
         {"AXDA2500DKV4D", "KQXEB0345", "\"Y3\""},
         {}},
        {"", false, Kind::Skip, {}, {}},
        {" \t \r", false, Kind::Skip, {}, {}},
        {"# AXDA2500DKV4D,KQXEB0345MPMW,Y3121234", false, Kind::Skip, {}, {}},
        {"code1,code2,code3", true, Kind::Skip, {}, {}},
        {"code1,code2,code3", false, Kind::Marking, {"CODE1", "CODE2", "CODE3"}, {}},
        {"A,B", false, Kind::Malformed, {}, "2 fields"},
        {"A,B,C,", false, Kind::Malformed, {}, "4 fields"},
        {"A\tB", false, Kind::Malformed, {}, "2 fields"},
        {"\"A,B,C", false, Kind::Malformed, {}, "not closed"},
        {"\"A\"x,B,C", false, Kind::Malformed, {}, "closing quote"},
        {"A\"x,B,C", false, Kind::Malformed, {}, "quote inside"},
        {QByteArray("A,B\0,C", 6), false, Kind::Malformed, {}, "NUL"},
        {"A,\xFF,C", false, Kind::Malformed, {}, "UTF-8"},
        {"A,B,C\xC2", false, Kind::Malformed, {}, "UTF-8"},           // cut short at the end
        {"A,\xC0\xAF,C", false, Kind::Malformed, {}, "UTF-8"},        // overlong "/"
        {"A,\xED\xA0\x80,C", false, Kind::Malformed, {}, "UTF-8"},    // a surrogate half
        {"# \xF4\x90\x80\x80", false, Kind::Malformed, {}, "UTF-8"},  // above U+10FFFF
        {"o\xC3\xA9pga,\xF0\x9F\x98\x80,\xEF\xBF\xBF",
         false,
         Kind::Marking,
         {QString::fromUtf8("O\xC3\x89PGA"), QString::fromUtf8("\xF0\x9F\x98\x80"),
          QString::fromUtf8("\xEF\xBF\xBF")},
         {}},
        {"AXDA2500DKV4DX,B,C",
         false,
         Kind::Malformed,
         {"AXDA2500DKV4DX", "B", "C"},
         "14 characters"},
        {"AXDA 2500DKV4D,B,C", false, Kind::Marking, {"AXDA2500DKV4D", "B", "C"}, {}},
        // What a code copied from a web page brings along: no-break and
        // zero-width spaces, a right-to-left mark, a byte-order mark.
        {"AXDA2500DKV4D\xC2\xA0,KQXEB\xE2\x80\x8B"
         "0345\xE2\x80\x8FMPMW,\xEF\xBB\xBFY3121234",
         false,
         Kind::Marking,
         {"AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234"},
         {}},
    };
    for (const auto& c : cases) {
        const BatchLine parsed = ParseBatchLine(c.line, c.firstRecord);
        EXPECT_EQ(parsed.kind, c.kind) << c.line.constData();
        if (c.kind != Kind::Skip) {
            EXPECT_EQ(parsed.codes, c.codes) << c.line.constData();
        }
        EXPECT_TRUE(c.reasonPart.isEmpty() ? parsed.reason.isEmpty()
                                           : parsed.reason.contains(c.reasonPart))
            << c.line.constData() << " -> " << parsed.reason.toStdString();
    }
}

TEST(ParseBatchLine, CleansEveryAsciiCharacterAsTheCodeBoxDoes) {
    // The batch cleans ASCII fields straight from their bytes; the code box
    // cleans text. Both must agree on every character a field can hold.
    for (char c = 1; c > 0; ++c) {
        if (c == ',' || c == '"' || c == '\t') {
            continue;
        }
        const QByteArray field = QByteArray("a") + c + "b";
        const BatchLine parsed = ParseBatchLine(field + ",B,C", false);
        EXPECT_EQ(parsed.codes[0], NormaliseCode(QString::fromLatin1(field))) << int(c);
    }
}

// The limit's both sides, with a CR before the LF and at the end of the
// input: a line of exactly kMaxLineBytes is a line, one more is not.
TEST(LineReader, TakesLinesUpToTheLimitAndRefusesLonger) {
    const struct {
        qsizetype length;
        QByteArray ending;
        LineReader::Status status;
    } cases[] = {
        {kMaxLineBytes - 1, "\n", LineReader::Status::Line},
        {kMaxLineBytes, "\n", LineReader::Status::Line},
        {kMaxLineBytes, "\r\n", LineReader::Status::Line},
        {kMaxLineBytes, "", LineReader::Status::Line},
        {kMaxLineBytes + 1, "\n", LineReader::Status::Overlong},
        {kMaxLineBytes + 1, "", LineReader::Status::Overlong},
        {3 * kMaxLineBytes, "\r\n", LineReader::Status::Overlong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        const bool atEnd = c.ending.isEmpty();
        const QByteArray bytes = QByteArray(c.length, 'A') + c.ending + (atEnd ? "" : "NEXT\n");
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), std::size_t(bytes.size()));
        std::rewind(file);
        LineReader reader(fileno(file), [] { return true; });
        QByteArrayView line;
        EXPECT_EQ(reader.Next(&line), c.status);
        if (c.status == LineReader::Status::Line) {
            EXPECT_EQ(line.size(), c.length + (c.ending == "\r\n" ? 1 : 0));
        }
        // The line after it is read whole, or the input has ended.
        EXPECT_EQ(reader.Next(&line), atEnd ? LineReader::Status::End : LineReader::Status::Line);
        EXPECT_EQ(line, atEnd ? QByteArrayView(line) : QByteArrayView("NEXT"));
        std::fclose(file);
    }
}
