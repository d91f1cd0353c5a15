#include "support/markings.h"

#include <QFile>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace varnel::testdata {

namespace {

const QString kTitle = QStringLiteral("Varnel");
const QString kError = QStringLiteral("Error");

// Columns: name, the three codes checked before, the three codes, caption,
// messages, then the nineteen values.
constexpr int kFirstValueColumn = 9;

[[noreturn]] void Fail(const QString& what) {
    std::fprintf(stderr, "markings.tsv: %s\n", qPrintable(what));
    std::abort();
}

Codes CodesAt(const QStringList& cells, int first) {
    return {cells[first], cells[first + 1], cells[first + 2]};
}

Marking ParseRow(const QStringList& cells) {
    Marking row;
    row.name = cells[0];
    row.before = CodesAt(cells, 1);
    row.codes = CodesAt(cells, 4);
    row.caption = cells[7];
    for (const QString& key : cells[8].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        row.messages.append(MessageFor(key));
    }
    for (int i = 0; i < kFieldCount; ++i) {
        row.values[static_cast<std::size_t>(i)] = cells[kFirstValueColumn + i];
    }
    return row;
}

std::vector<Marking> Load() {
    QFile file(QStringLiteral(VARNEL_TEST_DATA "/markings.tsv"));
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(file.errorString());
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    std::vector<Marking> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {  // line 1 names the columns
        if (lines[i].isEmpty()) {
            continue;
        }
        const QStringList cells = lines[i].split(QLatin1Char('\t'));
        if (cells.size() != kFirstValueColumn + kFieldCount) {
            Fail(QStringLiteral("line %1 has %2 columns").arg(i + 1).arg(cells.size()));
        }
        rows.push_back(ParseRow(cells));
    }
    return rows;
}

}  // namespace

const std::vector<Marking>& Markings() {
    static const std::vector<Marking> rows = Load();
    return rows;
}

Sheet ExpectedSheet(const Marking& row) {
    Sheet sheet;
    sheet.caption = row.caption;
    for (std::size_t i = 0; i < row.values.size(); ++i) {
        sheet.values[i] = ShortText(row.values[i]);
    }
    sheet.messages = row.messages;
    sheet.codes = row.codes;
    sheet.completed = row.Completed();
    return sheet;
}

const Marking& MarkingNamed(const char* name) {
    for (const Marking& row : Markings()) {
        if (row.name == QLatin1String(name)) {
            return row;
        }
    }
    Fail(QStringLiteral("no row named %1").arg(QLatin1String(name)));
}

Message MessageFor(const QString& key) {
    if (key.startsWith(QLatin1String("unsupported:"))) {
        return {QStringLiteral("Chip '%1' is currently unsupported by Varnel").arg(key.mid(12)),
                MessageIcon::Exclamation, MessageButtons::Ok, kError};
    }
    // clang-format off
    static const std::pair<const char*, Message> kMessages[] = {
        {"not-found", {QStringLiteral("CPU Identification String not found - Aborting\r\n\r\n"
                                      "Check for errors in the first code."),
                       MessageIcon::Exclamation, MessageButtons::Ok, kError}},
        {"box-two-error", {QStringLiteral("Error: Unable to read correct value in textbox two.\r\n"
                                          "\r\nTry switching Codes 2 and 3 around."),
                           MessageIcon::Exclamation, MessageButtons::Ok, kTitle}},
        {"hang-on", {QStringLiteral("One or more textboxes are empty.\r\n\r\n"
                                    "You must type in the three alphanumeric codes found either on\r\n"
                                    "or around the core of your CPU\r\n\r\n"
                                    "For more information, visit the 'FAQ' section at the homepage.\r\n\r\n"
                                    "Would you like to visit the FAQ now?"),
                     MessageIcon::Information, MessageButtons::YesNo, QStringLiteral("Hang-on")}},
        {"code-one-error", {QStringLiteral("Code one has an error in it - Please correct!"),
                            MessageIcon::None, MessageButtons::Ok, kTitle}},
        {"no-stepping", {QStringLiteral("Failed trying to retrieve stepping"),
                         MessageIcon::None, MessageButtons::Ok, kTitle}},
        {"box-three-error", {QStringLiteral("Error: Unable to read correct value in textbox three."),
                             MessageIcon::None, MessageButtons::Ok, kTitle}},
    };
    // clang-format on
    for (const auto& [name, message] : kMessages) {
        if (key == QLatin1String(name)) {
            return message;
        }
    }
    Fail(QStringLiteral("unknown message key %1").arg(key));
}

}  // namespace varnel::testdata
