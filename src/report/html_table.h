#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "decode/ports.h"
#include "decode/sheet.h"

namespace varnel::report {

// The file every export writes, and rewrites.
inline constexpr char kTableFileName[] = "table.htm";

// The table text, 99 lines each ending in CR LF: the sheet's caption, the
// nineteen values under their captions and its three codes. Pure: no file,
// no widget.
// Every value (caption, slots, codes, the footer's link and names) goes in
// as text, never as markup: & < > " become &amp; &lt; &gt; &quot;, and a line
// break becomes a character reference, so each cell stays on its one line.
// The style values are part of the markup: the colours and the font face go
// into their attributes as given, unquoted.
QString SaveHTML(const Sheet& sheet, const QString& Fontface, std::int16_t Fontsize,
                 const QString& ColumnColour1, const QString& ColumnColour2, const QString& TopRow,
                 const QString& BotRow);

// The table with the style of the "Generate HTML file" button.
QString BuildDefaultTable(const Sheet& sheet);

// The file's bytes: Windows-1252, one more CR LF after the text; a character
// Windows-1252 cannot hold becomes a numeric character reference.
QByteArray EncodeTableFile(const QString& table);

// The folder an export goes to: programFolder when it is no system folder
// and a file can be created there, otherwise the user's documents folder (created when missing). The
// text is cleaned up, so that joining it with a file name needs exactly one
// separator. failure says why there is no folder to write in (the documents
// folder cannot be made, or there is no home folder); it is empty otherwise.
struct ExportFolder {
    QString folder;
    QString failure;
};
ExportFolder ChooseExportFolder(const QString& programFolder);

// Whether folder is one the program was installed into: the install
// prefix's bin folder, or anything under /usr or /opt. An export never goes
// there, even when it could be written.
bool IsSystemFolder(const QString& folder);

// The "Generate HTML file" command: writes table.htm into programFolder when
// it can be written there, otherwise into the user's documents folder, and
// tells the user where it went, or why it did not. Returns whether it wrote.
// Only a regular file named table.htm is ever replaced: a symbolic link or
// anything else under that name is reported and left alone.
bool ExportHtmlTable(const Sheet& sheet, Prompter& prompter, const QString& programFolder);

// The same command with the table text coming from buildTable. When building
// throws, the user sees the "unexpected error" box and nothing is written.
bool ExportHtmlTable(const std::function<QString()>& buildTable, Prompter& prompter,
                     const QString& programFolder);

// "Export HTML As...": the same bytes as table.htm, written to a path the user
// chose, with the same rules (only a regular file is replaced, a symbolic
// link is refused) and the same messages. Returns whether it wrote.
bool ExportHtmlTableAs(const Sheet& sheet, Prompter& prompter, const QString& path);

// The name "Export HTML As..." suggests: Code One and .htm (AXDA2500DKV4D.htm),
// or table.htm while Code One is empty.
QString ExportFileNameFor(const Codes& codes);

}  // namespace varnel::report
