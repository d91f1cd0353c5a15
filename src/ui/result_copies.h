#pragma once

#include <QKeyCombination>
#include <QString>
#include <array>

#include "catalogue/comparison.h"
#include "decode/sheet.h"

namespace varnel {

// The results on show as text to paste elsewhere: into a forum post, a
// spreadsheet, a script. The text, CSV and JSON are what varnel-decode
// prints for the same run, held against the catalogue as it holds it.

// The results frame caption, then one "Caption: value" line per row, then
// the catalogue's lines: the part, the verdict, each fact it disagrees on.
QString ResultsAsText(const Sheet& sheet, const catalogue::Comparison& comparison);
// The caption in bold, a two-column table of the rows, the catalogue's lines.
QString ResultsAsMarkdown(const Sheet& sheet, const catalogue::Comparison& comparison);
// The batch decoder's header and the sheet's row, CR LF after each.
QString ResultsAsCsv(const Sheet& sheet, const catalogue::Comparison& comparison);
// The decoder's JSON object for the sheet.
QString ResultsAsJson(const Sheet& sheet, const catalogue::Comparison& comparison);

// One way to copy all results, as the results' context menu offers it.
struct ResultsCopy {
    const char16_t* caption;
    QString (*write)(const Sheet&, const catalogue::Comparison&);
    // Reachable from anywhere in the window; none when empty.
    QKeyCombination shortcut;
};

inline constexpr std::array<ResultsCopy, 4> kResultsCopies{{
    {u"Copy &all results", &ResultsAsText, QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_C)},
    {u"Copy as &Markdown table", &ResultsAsMarkdown, QKeyCombination()},
    {u"Copy as C&SV", &ResultsAsCsv, QKeyCombination()},
    {u"Copy as &JSON", &ResultsAsJson, QKeyCombination()},
}};

}  // namespace varnel
