#include "cli/find_parts.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <array>
#include <optional>

#include "catalogue/catalogue.h"
#include "catalogue/part.h"
#include "catalogue/parts_table_model.h"
#include "cli/decoder_cli.h"
#include "cli/streams.h"
#include "report/sheet_formats.h"

namespace varnel::cli {

namespace {

using catalogue::Part;

// The parts browser's columns, so that a part reads the same in both.
constexpr std::size_t kColumnCount = catalogue::PartsTableModel::ColumnCount;
using TableRow = std::array<QString, kColumnCount>;

TableRow TitleRow() {
    TableRow row;
    for (std::size_t i = 0; i < row.size(); ++i) {
        row[i] = QString::fromLatin1(catalogue::PartColumns()[i].title);
    }
    return row;
}

TableRow RowOf(const Part& part) {
    TableRow row;
    for (std::size_t i = 0; i < row.size(); ++i) {
        row[i] = catalogue::PartColumns()[i].display(part);
    }
    return row;
}

// Each column as wide as its widest cell, two spaces between columns, no
// spaces at the ends of the lines.
QString LaidOut(const QList<TableRow>& rows) {
    std::array<qsizetype, kColumnCount> widths{};
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
