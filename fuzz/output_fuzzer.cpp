// Round trip of varnel-decode's JSON and CSV writers: an outcome built from
// arbitrary texts is written, read back with Qt's JSON parser and with an
// RFC 4180 reader, and must give exactly the fields that went in. Half of a
// surrogate pair names no character and cannot be written as UTF-8: it must
// come back as U+FFFD, and everything around it unchanged.
//
// Input layout: the first byte holds the flags (bit 0 completed, bit 1 a
// refusal, bits 2-3 the first message's icon, bits 4-5 its buttons); the rest
// is raw UTF-16, cut at each unit 0xFFFF into the texts: three codes, the
// caption, the nineteen values, the refusal when flagged, then a title and a
// text for each message.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "decode/captions.h"
#include "report/sheet_formats.h"
#include "support/csv_records.h"

namespace {

using namespace varnel;
using namespace varnel::report;

// clang-format off
constexpr const char* kIconNames[] = {"none", "information", "exclamation", "critical"};
constexpr const char* kButtonsNames[] = {"OK", "YesNo", "YesNoCancel"};
// clang-format on

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "output fuzzer: %s\n", what);
    std::abort();
}

QList<QString> SplitTexts(const std::uint8_t* data, std::size_t size) {
    QString all(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i < size / 2; ++i) {
        all[static_cast<qsizetype>(i)] =
            QChar(static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    }
    return all.split(QChar(0xFFFF));
}

// A sheet as the writers get it, and the reason a marking was refused.
struct Outcome {
    Sheet sheet;
    QString refusal;
};

Outcome BuildOutcome(std::uint8_t flags, QList<QString> texts) {
    Outcome outcome;
    outcome.sheet.completed = (flags & 1) != 0;
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

// The text as UTF-8 can carry it: every half of a surrogate pair that has no
// other half becomes U+FFFD.
QString Writable(const QString& text) {
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result[i].isHighSurrogate() && i + 1 < result.size() &&
            result[i + 1].isLowSurrogate()) {
            ++i;
        } else if (result[i].isSurrogate()) {
            result[i] = QChar::ReplacementCharacter;
        }
    }
    return result;
}

void Expect(bool holds, const char* what) {
    if (!holds) {
        Fail(what);
    }
}

void CheckJsonSlots(const QJsonArray& slotArray, const Outcome& outcome) {
    Expect(slotArray.size() == kFieldCount, "the JSON has not nineteen slots");
    for (qsizetype slot = 0; slot < kFieldCount; ++slot) {
        const auto caption = kResultCaptions[static_cast<std::size_t>(slot)];
        Expect(
            slotArray[slot].toObject() ==
                QJsonObject{
                    {"caption", QString::fromUtf16(caption.data(), caption.size())},
                    {"value",
                     Writable(outcome.sheet.values[static_cast<std::size_t>(slot)].ToQString())}},
            "a slot changed in JSON");
    }
}

void CheckJsonMessages(const QJsonArray& messages, const Outcome& outcome) {
    Expect(messages.size() == outcome.sheet.messages.size(), "messages lost in JSON");
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const Message& m = outcome.sheet.messages[i];
        Expect(messages[i].toObject() ==
                   QJsonObject{{"title", Writable(m.title)},
                               {"text", Writable(m.text)},
                               {"icon", kIconNames[static_cast<int>(m.icon)]},
                               {"buttons", kButtonsNames[static_cast<int>(m.buttons)]}},
               "a message changed in JSON");
    }
}

void CheckJson(const Outcome& outcome) {
    std::string out;
    AppendJsonObject(out, outcome.sheet, outcome.refusal);
    QJsonParseError error{};
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error).object();
    Expect(error.error == QJsonParseError::NoError, "the JSON does not parse");
    Expect(o.size() == (outcome.refusal.isEmpty() ? 5 : 6), "the JSON has other keys");
    const QJsonArray codes = o.value("codes").toArray();
    Expect(codes.size() == 3, "the JSON has not three codes");
    for (qsizetype box = 0; box < 3; ++box) {
        Expect(codes[box] == Writable(outcome.sheet.codes[static_cast<std::size_t>(box)]),
               "a code changed in JSON");
    }
    Expect(o.value("caption") == Writable(outcome.sheet.caption), "the caption changed in JSON");
    Expect(o.value("completed") == outcome.sheet.completed, "completed changed in JSON");
    CheckJsonSlots(o.value("slots").toArray(), outcome);
    CheckJsonMessages(o.value("messages").toArray(), outcome);
    Expect(outcome.refusal.isEmpty() || o.value("error") == Writable(outcome.refusal),
           "the refusal changed in JSON");
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
        field = Writable(field);
    }
    return fields;
}

void CheckCsv(const Outcome& outcome) {
    // Behind the header, as in the decoder's output: at the very start of the
    // text a U+FEFF would be taken for a byte-order mark.
    std::string out;
    AppendCsvHeader(out);
    AppendCsvRow(out, outcome.sheet, outcome.refusal);
    const QList<QStringList> records = ReadCsvRecords(QString::fromUtf8(out.data(), out.size()));
    Expect(records.size() == 2, "the CSV row does not read back as one record");
    Expect(records[1] == ExpectedCsvFields(outcome), "a CSV field changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Outcome outcome = BuildOutcome(data[0], SplitTexts(data + 1, size - 1));
    CheckJson(outcome);
    CheckCsv(outcome);
    return 0;
}
