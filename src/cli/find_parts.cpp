#include "cli/find_parts.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <array>
#include <optional>

#include "catalogue/catalogue.h"
#include "catalogue/part.h"
#include "cli/decoder_cli.h"
#include "cli/streams.h"
#include "report/sheet_formats.h"

namespace varnel::cli {

namespace {

using catalogue::Part;

QString NumberCell(const std::optional<double>& number) {
    return number ? catalogue::FormatNumber(*number) : QString();
}

// The columns of the table: what a buyer or collector checks first.
struct TableColumn {
    const char16_t* title;
    QString (*cell)(const Part& part);
};
const std::array<TableColumn, 9> kTableColumns{{
    {u"OPN", [](const Part& part) { return part.opn; }},
    {u"Family", [](const Part& part) { return part.family; }},
    {u"Rating", [](const Part& part) { return part.rating; }},
    {u"Core", [](const Part& part) { return part.core; }},
    {u"MHz", [](const Part& part) { return NumberCell(part.clockMhz); }},
    {u"Bus", [](const Part& part) { return part.bus; }},
    {u"L2 KB", [](const Part& part) { return NumberCell(part.l2Kb); }},
    {u"Volts", [](const Part& part) { return part.voltage; }},
    {u"Socket", [](const Part& part) { return part.socket; }},
}};

using TableRow = std::array<QString, kTableColumns.size()>;

TableRow TitleRow() {
    TableRow row;
    for (std::size_t i = 0; i < row.size(); ++i) {
        row[i] = QString::fromUtf16(kTableColumns[i].title);
    }
    return row;
}

TableRow RowOf(const Part& part) {
    TableRow row;
    for (std::size_t i = 0; i < row.size(); ++i) {
        row[i] = kTableColumns[i].cell(part);
    }
    return row;
}

// Each column as wide as its widest cell, two spaces between columns, no
// spaces at the ends of the lines.
QString LaidOut(const QList<TableRow>& rows) {
    std::array<qsizetype, kTableColumns.size()> widths{};
    for (const TableRow& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    QString text;
    for (const TableRow& row : rows) {
        QString line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i].leftJustified(widths[i] + 2);
        }
        text += line.trimmed();
        text += u'\n';
    }
    return text;
}

void AppendTable(std::string& out, const QList<const Part*>& parts) {
    QList<TableRow> rows{TitleRow()};
    for (const Part* part : parts) {
        rows.append(RowOf(*part));
    }
    report::AppendUtf8(out, LaidOut(rows));
}

void AppendJsonLines(std::string& out, const QList<const Part*>& parts) {
    for (const Part* part : parts) {
        report::AppendPartJson(out, *part);
        out.push_back('\n');
    }
}

}  // namespace

int FindParts(const QString& text, bool json) {
    const catalogue::Catalogue& parts = catalogue::Catalogue::Builtin();
    const QList<const Part*> found = parts.Find(text);
    if (found.isEmpty()) {
        PrintError(QStringLiteral("no part of the catalogue (%1 parts) matches \"%2\"")
                       .arg(parts.Count())
                       .arg(text));
        return kNoPartFound;
    }
    Output out;
    if (json) {
        AppendJsonLines(out.buffer, found);
    } else {
        AppendTable(out.buffer, found);
    }
    return out.Finish() ? kEveryRunCompleted : kUsageOrInputError;
}

}  // namespace varnel::cli
