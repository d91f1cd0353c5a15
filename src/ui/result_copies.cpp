#include "ui/result_copies.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "catalogue/verdict.h"
#include "decode/captions.h"
#include "report/sheet_formats.h"

namespace varnel {

namespace {

// Characters that Markdown could read as formatting or as a cell's edge; a
// backslash before each keeps a code such as A|B or *X* as it reads.
constexpr std::u16string_view kMarkdownSpecials = u"\\`*_[]<>|~";

QString EscapeMarkdown(QStringView text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (kMarkdownSpecials.find(c.unicode()) != std::u16string_view::npos) {
            escaped.append(QLatin1Char('\\'));
        }
        escaped.append(c);
    }
    return escaped;
}

QString FromUtf8(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

QString ResultsAsText(const Sheet& sheet, const catalogue::Comparison& comparison) {
    std::string out;
    report::AppendTextReport(out, sheet);
    report::AppendCatalogueText(out, sheet, comparison);
    return FromUtf8(out);
}

QString ResultsAsMarkdown(const Sheet& sheet, const catalogue::Comparison& comparison) {
    QString out = QStringLiteral("**") + EscapeMarkdown(sheet.caption) +
                  QStringLiteral("**\n\n| Field | Value |\n|---|---|\n");
    for (std::size_t slot = 0; slot < kFields.size(); ++slot) {
        out += QStringLiteral("| ") + EscapeMarkdown(SharedText(kFields[slot].caption)) +
               QStringLiteral(" | ") + EscapeMarkdown(sheet.values[slot]) + QStringLiteral(" |\n");
    }
    // The catalogue's word below the table, a line each.
    out += u'\n';
    for (const catalogue::CatalogueLine& line : catalogue::CatalogueLines(sheet, comparison)) {
        out += line.label.isEmpty()
                   ? QStringLiteral("- ")
                   : QStringLiteral("- **") + EscapeMarkdown(line.label) + QStringLiteral(":** ");
        out += EscapeMarkdown(line.text) + u'\n';
    }
    return out;
}

QString ResultsAsCsv(const Sheet& sheet, const catalogue::Comparison&) {
    std::string out;
    report::AppendCsvHeader(out);
    report::AppendCsvRow(out, sheet);
    return FromUtf8(out);
}

QString ResultsAsJson(const Sheet& sheet, const catalogue::Comparison& comparison) {
    std::string out;
    report::AppendJsonObject(out, sheet, comparison);
    out.push_back('\n');
    return FromUtf8(out);
}

}  // namespace varnel
