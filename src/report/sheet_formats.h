#pragma once

#include <QString>
#include <QStringView>
#include <string>

#include "decode/sheet.h"

namespace varnel::report {

// The sheet as text, JSON and CSV, for varnel-decode and the window's copy
// commands. They append UTF-8 to a byte buffer that the caller flushes, so a
// batch of a million markings costs no more than one small buffer and no
// per-row document objects. A refusal is why a marking was refused before
// any decoding; it is empty for every marking that was decoded.

void AppendUtf8(std::string& out, QStringView text);

// The messages as the console shows them: "Title: text" for each, in order,
// joined by a line feed; the CR LF inside a text is kept.
QString MessagesAsText(const Sheet& sheet);

// The results frame caption, then one aligned "Caption: value" line per slot.
void AppendTextReport(std::string& out, const Sheet& sheet);

// One JSON object, without a line end: codes, caption (empty unless the run
// completed), completed, slots (caption and value of each result), fields
// (the values by key), numbers (by key, null where none) and messages, in
// that order; a refused marking also carries "error".
void AppendJsonObject(std::string& out, const Sheet& sheet, QStringView refusal = {});

// Comma-separated values with CR LF record ends. The family column holds the
// results frame caption of a completed run and is empty otherwise, as a
// stopped run leaves the caption of no particular chip.
void AppendCsvHeader(std::string& out);
void AppendCsvRow(std::string& out, const Sheet& sheet, QStringView refusal = {});

}  // namespace varnel::report
