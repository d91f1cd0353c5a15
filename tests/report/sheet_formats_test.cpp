#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "decode/captions.h"
#include "report/sheet_formats.h"
#include "support/csv_records.h"

using namespace varnel;
using namespace varnel::report;

namespace {

// Texts that a careless writer would break: quotes, backslashes, control
// characters, line breaks, a separator, non-ASCII, a pair of surrogates and a
// character that readers take for a byte-order mark.
const QString kAwkward[] = {
    QStringLiteral("plain"),
    QStringLiteral("say \"hi\", \\ then"),
    QStringLiteral("a \"quoted\" word"),
    QStringLiteral("line\r\nbreak\ttab\x01\x1f"),
    QString::fromUtf8("85\xC2\xB0"
                      "C O\xC2\xB5PGA \xF0\x9F\x98\x80"),
    QString(QChar(0xFEFF)) + QStringLiteral("led by a zero-width no-break space"),
    QString(),
    // What a spreadsheet would run as a formula.
    QStringLiteral("=HYPERLINK(\"http://x\",\"y\")"),
    QStringLiteral("@SUM(A1)"),
    QStringLiteral("+1"),
    QStringLiteral("-1"),
    QStringLiteral("\tlead"),
    QStringLiteral("\r\nlead"),
};

Sheet AwkwardSheet(const QString& text) {
    Sheet sheet;
    sheet.codes = {text, QStringLiteral("B"), text};
    sheet.caption = text;
    sheet.completed = true;
    sheet.values.fill(ShortText(text));
    sheet.messages = {{text, MessageIcon::Exclamation, MessageButtons::YesNoCancel, text}};
    return sheet;
}

}  // namespace

TEST(SheetFormats, JsonObjectReadsBackExactly) {
    for (const QString& text : kAwkward) {
        std::string out;
        AppendJsonObject(out, AwkwardSheet(text), catalogue::Comparison());
        QJsonParseError error{};
        const QJsonObject o =
            QJsonDocument::fromJson(QByteArray::fromStdString(out), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << out;
        EXPECT_EQ(o.value("codes").toArray(), QJsonArray({text, "B", text}));
        EXPECT_EQ(o.value("caption").toString(), text);
        EXPECT_TRUE(o.value("completed").toBool());
        EXPECT_EQ(o.value("slots").toArray().at(18).toObject().value("value").toString(), text);
        EXPECT_EQ(o.value("fields").toObject().value("estimated_thermal_power").toString(), text);
        const QJsonObject message = o.value("messages").toArray().at(0).toObject();
        EXPECT_EQ(message.value("text").toString(), text);
        EXPECT_EQ(message.value("icon").toString(), "exclamation");
        EXPECT_EQ(message.value("buttons").toString(), "YesNoCancel");
        EXPECT_FALSE(o.contains("error"));
    }
}

TEST(SheetFormats, CsvRowReadsBackExactly) {
    for (const QString& text : kAwkward) {
        std::string out;
        AppendCsvHeader(out);
        AppendCsvRow(out, AwkwardSheet(text));
        const auto records = ReadCsvRecords(QString::fromStdString(out));
        ASSERT_EQ(records.size(), 2);
        ASSERT_EQ(records[0].size(), 25);
        ASSERT_EQ(records[1].size(), 25) << out;
        EXPECT_EQ(records[1][0], AsCsvCell(text));
        EXPECT_EQ(records[1][1], "B");
        EXPECT_EQ(records[1][3], AsCsvCell(text));   // family
        EXPECT_EQ(records[1][22], AsCsvCell(text));  // the last slot
        EXPECT_EQ(records[1][23], "true");
        EXPECT_EQ(records[1][24], AsCsvCell(text + QStringLiteral(": ") + text));
    }
}

// Numbers as strict JSON writes them: a lenient reader (Qt's, jq) would
// also take ".13", a strict one would not.
TEST(SheetFormats, JsonNumbersAsStrictJson) {
    for (const auto& [number, text] : {std::pair<ShownNumber, std::string>{{13, 2}, "0.13"},
                                       {{5, 2}, "0.05"},
                                       {{110, 1}, "11"}}) {
        Sheet sheet = AwkwardSheet(QString());
        sheet.numbers.Set(Quantity::ClockMhz, number);
        std::string out;
        AppendJsonObject(out, sheet, catalogue::Comparison());
        EXPECT_NE(out.find("\"numbers\":{\"clock_mhz\":" + text + ","), std::string::npos) << out;
    }
}
