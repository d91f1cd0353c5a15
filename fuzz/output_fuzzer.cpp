// Round trip of varnel-decode's JSON and CSV writers: an outcome built from
// arbitrary texts and numbers is written, read back with Qt's JSON parser and
// with an RFC 4180 reader, and must give exactly the fields that went in.
// Half a surrogate pair comes back as U+FFFD; a cell a spreadsheet would run
// as a formula comes back behind an apostrophe; a number as the same double,
// or null; the catalogue's part of Code One, or the OPNs near it, whole.
//
// Input layout: the first byte holds the flags (bit 0 completed, bit 1 a
// refusal, bits 2-3 the first message's icon, bits 4-5 its buttons, bit 6
// the CSV's catalogue columns, bit 7 numbers); with bit 7 the next 50 bytes
// are the ten numbers (see ReadNumbers). The rest is fuzz::Utf16Texts: three
// codes, the caption, the nineteen values, the refusal when flagged, then a
// title and a text for each message.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/comparison.h"
#include "catalogue/part.h"
#include "catalogue/verdict.h"
#include "decode/captions.h"
#include "report/sheet_formats.h"
#include "support/csv_records.h"
#include "support/fuzz_texts.h"

namespace {

using namespace varnel;
using namespace varnel::report;
using fuzz::Expect;
using fuzz::Writable;

// clang-format off
constexpr const char* kIconNames[] = {"none", "information", "exclamation", "critical"};
constexpr const char* kButtonsNames[] = {"OK", "YesNo", "YesNoCancel"};
// clang-format on

// A sheet as the writers get it, the reason a marking was refused, and the
// columns of its CSV.
struct Outcome {
    Sheet sheet;
    QString refusal;
    CsvColumns columns = CsvColumns::Decode;
};

constexpr std::size_t kNumberBytes = kQuantityCount * 5;

// Ten numbers from the input, each four bytes of digits and one of the
// count of decimals; a count beyond nine leaves the number out.
void ReadNumbers(const std::uint8_t* data, Sheet& sheet) {
    for (int i = 0; i < kQuantityCount; ++i) {
        ShownNumber number;
        std::memcpy(&number.digits, data + i * 5, sizeof number.digits);
        number.decimals = static_cast<std::int8_t>(data[i * 5 + 4]);
        const bool inRange = number.decimals >= 0 && number.decimals <= 9;
        sheet.numbers.Set(static_cast<Quantity>(i), inRange ? std::optional(number) : std::nullopt);
    }
}

Outcome BuildOutcome(std::uint8_t flags, QList<QString> texts) {
    Outcome outcome;
    outcome.sheet.completed = (flags & 1) != 0;
    outcome.columns = (flags & 0x40) != 0 ? CsvColumns::WithCatalogue : CsvColumns::Decode;
    const auto next = [&texts] { return texts.isEmpty() ? QString() : texts.takeFirst(); };
    for (QString& code : outcome.sheet.codes) {
        code = next();
    }
    outcome.sheet.caption = next();
    for (ShortText& value : outcome.sheet.values) {
        // No stage writes a value longer than a sheet holds.
        value = ShortText(QStringView(next()).left(ShortText::kCapacity));
    }
    if ((flags & 2) != 0) {
        outcome.refusal = next();
    }
    for (int i = 0; !texts.isEmpty(); ++i) {
        const QString title = next();
        outcome.sheet.messages.append({next(), static_cast<MessageIcon>(((flags >> 2) + i) % 4),
                                       static_cast<MessageButtons>(((flags >> 4) + i) % 3), title});
    }
    return outcome;
}

// The decode's part of the JSON, worked out apart from the writer.
QJsonObject ExpectedDecode(const Sheet& sheet) {
    QJsonArray codes;
    for (const QString& code : sheet.codes) {
        codes.append(Writable(code));
    }
    QJsonArray slotArray;
    QJsonObject fields;
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const QString value = Writable(sheet.values[i].ToQString());
        const auto caption = kFields[i].caption;
        slotArray.append(QJsonObject{
            {"caption", QString::fromUtf16(caption.data(), caption.size())}, {"value", value}});
        fields.insert(QLatin1String(kFields[i].key), value);
    }
    QJsonObject numbers;
    for (std::size_t i = 0; i < kNumberKeys.size(); ++i) {
        const std::optional<double> number = sheet.numbers[static_cast<Quantity>(i)];
        numbers.insert(QLatin1String(kNumberKeys[i]),
                       number && std::isfinite(*number) ? QJsonValue(*number) : QJsonValue());
    }
    QJsonArray messages;
    for (const Message& m : sheet.messages) {
        messages.append(QJsonObject{{"title", Writable(m.title)},
                                    {"text", Writable(m.text)},
                                    {"icon", kIconNames[static_cast<int>(m.icon)]},
                                    {"buttons", kButtonsNames[static_cast<int>(m.buttons)]}});
    }
    return {
        {"codes", codes},       {"caption", sheet.completed ? Writable(sheet.caption) : QString()},
        {"slots", slotArray},   {"completed", sheet.completed},
        {"fields", fields},     {"numbers", numbers},
        {"messages", messages}, {"stop", QJsonValue()}};
}

// A catalogue fact as the JSON must hold it.
QJsonValue ExpectedFact(const QVariant& fact) {
    if (fact.typeId() == QMetaType::QString && fact.toString().isEmpty()) {
        return QJsonValue::Null;
    }
    return QJsonValue::fromVariant(fact);
}

// The comparison the decoder hands its writers, worked out the same way.
catalogue::Comparison CompareOutcome(const Outcome& outcome) {
    static catalogue::Comparer comparer(catalogue::Catalogue::Builtin());
    return comparer.Compare(outcome.sheet);
}

QStringList Names(const catalogue::Comparison& comparison, catalogue::Agreement agreement) {
    QStringList names;
    for (std::u16string_view name : NamesThat(comparison, agreement)) {
        names.append(QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size())));
    }
    return names;
}

// The names of a completed decode as an array; null after a stop.
QJsonValue ExpectedNames(const catalogue::Comparison& comparison, catalogue::Agreement agreement) {
    return comparison.decodeCompleted
               ? QJsonValue(QJsonArray::fromStringList(Names(comparison, agreement)))
               : QJsonValue(QJsonValue::Null);
}

QString ExpectedVerdict(const catalogue::Comparison& comparison) {
    return QString::fromLatin1(catalogue::VerdictToken(catalogue::VerdictOf(comparison)));
}

// The catalogue's part of the JSON: Code One's part, or the OPNs near it.
void AddExpectedCatalogue(QJsonObject& expected, const Sheet& sheet) {
    const catalogue::Catalogue& parts = catalogue::Catalogue::Builtin();
    const catalogue::Part* part = parts.Lookup(sheet.codes[0]);
    expected.insert(
        "near", QJsonArray::fromStringList(part ? QStringList() : parts.NearOpns(sheet.codes[0])));
    if (part == nullptr) {
        expected.insert("catalogue", QJsonValue());
        return;
    }
    QJsonObject facts;
    const QStringList columns = catalogue::ColumnNames();
    for (int column = 0; column < columns.size(); ++column) {
        facts.insert(columns[column], ExpectedFact(catalogue::ColumnValue(*part, column)));
    }
    const catalogue::Comparison comparison = catalogue::Compare(*part, sheet);
    facts.insert("verdict", ExpectedVerdict(comparison));
    facts.insert("differs", ExpectedNames(comparison, catalogue::Agreement::Differs));
    facts.insert("not_read", ExpectedNames(comparison, catalogue::Agreement::NotRead));
    expected.insert("catalogue", facts);
}

void CheckJson(const Outcome& outcome) {
    std::string out;
    AppendJsonObject(out, outcome.sheet, CompareOutcome(outcome), outcome.refusal);
    QJsonParseError error{};
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error).object();
    Expect(error.error == QJsonParseError::NoError, "the JSON does not parse");
    QJsonObject expected = ExpectedDecode(outcome.sheet);
    AddExpectedCatalogue(expected, outcome.sheet);
    if (!outcome.refusal.isEmpty()) {
        expected.insert("error", Writable(outcome.refusal));
    }
    Expect(o.keys() == expected.keys(), "the JSON has other keys");
    for (const QString& key : expected.keys()) {
        Expect(o.value(key) == expected.value(key), qPrintable("the JSON's " + key + " changed"));
    }
}

// The fields of the CSV row, worked out apart from the writer.
QStringList ExpectedCsvFields(const Outcome& outcome) {
    QStringList fields(outcome.sheet.codes.begin(), outcome.sheet.codes.end());
    fields.append(outcome.sheet.completed ? outcome.sheet.caption : QString());
    for (const ShortText& value : outcome.sheet.values) {
        fields.append(value.ToQString());
    }
    fields.append(outcome.sheet.completed ? QStringLiteral("true") : QStringLiteral("false"));
    QStringList messages;
    for (const Message& m : outcome.sheet.messages) {
        messages.append(m.title + QStringLiteral(": ") + m.text);
    }
    fields.append(outcome.refusal.isEmpty() ? messages.join(u'\n') : outcome.refusal);
    for (QString& field : fields) {
        field = AsCsvCell(Writable(field));
    }
    return fields;
}

// The catalogue's cells of the row: the part's OPN first, then the verdict,
// differs and not_read on one line each, all empty for a Code One the
// catalogue lacks.
void CheckCsvCatalogue(const QStringList& cells, const Outcome& outcome) {
    Expect(cells.size() == catalogue::ColumnNames().size() + 3, "the catalogue's cells");
    const catalogue::Part* part = catalogue::Catalogue::Builtin().Lookup(outcome.sheet.codes[0]);
    if (part == nullptr) {
        Expect(cells.join(QString()).isEmpty(), "catalogue cells without a part");
        return;
    }
    const catalogue::Comparison comparison = catalogue::Compare(*part, outcome.sheet);
    Expect(cells.first() == part->opn, "the part's OPN changed in CSV");
    Expect(cells.mid(cells.size() - 3) ==
               QStringList({ExpectedVerdict(comparison),
                            Names(comparison, catalogue::Agreement::Differs).join(u"; "),
                            Names(comparison, catalogue::Agreement::NotRead).join(u"; ")}),
           "the verdict, differs or not_read changed in CSV");
}

void CheckCsv(const Outcome& outcome) {
    // Behind the header, as in the decoder's output: at the very start of the
    // text a U+FEFF would be taken for a byte-order mark.
    std::string out;
    AppendCsvHeader(out, outcome.columns);
    const catalogue::Comparison comparison = CompareOutcome(outcome);
    AppendCsvRow(out, outcome.sheet, outcome.refusal,
                 outcome.columns == CsvColumns::WithCatalogue ? &comparison : nullptr);
    const QList<QStringList> records = ReadCsvRecords(QString::fromUtf8(out.data(), out.size()));
    Expect(records.size() == 2, "the CSV row does not read back as one record");
    Expect(records[1].size() == records[0].size(), "the row and the header differ in width");
    const QStringList decoded = ExpectedCsvFields(outcome);
    Expect(records[1].mid(0, decoded.size()) == decoded, "a CSV field changed");
    Expect(std::none_of(records[1].begin(), records[1].end(), BeginsLikeFormula),
           "a CSV cell begins like a formula");
    if (outcome.columns == CsvColumns::WithCatalogue) {
        CheckCsvCatalogue(records[1].mid(decoded.size()), outcome);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t skip = (data[0] & 0x80) != 0 ? 1 + kNumberBytes : 1;
    if (size < skip) {
        return 0;
    }
    Outcome outcome = BuildOutcome(data[0], fuzz::Utf16Texts(data + skip, size - skip));
    if (skip > 1) {
        ReadNumbers(data + 1, outcome.sheet);
    }
    CheckJson(outcome);
    CheckCsv(outcome);
    return 0;
}
