#pragma once

#include <QString>
#include <QStringView>
#include <string>

#include "catalogue/comparison.h"
#include "catalogue/part.h"
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

// The catalogue's lines (CatalogueLines) in the same aligned style, after an
// empty line: "Catalogue: Athlon 64 3700+, San Diego (datasheet)", the
// verdict, one line per differing or unread fact.
void AppendCatalogueText(std::string& out, const Sheet& sheet,
                         const catalogue::Comparison& comparison);

// One JSON object, without a line end: codes, caption (empty unless the run
// completed), completed, stop (null, or why the run stopped and which code
// it is about), slots (caption and value of each result), fields (the values
// by key), numbers (by key, null where none), messages, catalogue and near,
// in that order; a refused marking also carries "error". catalogue is the
// compared part, as AppendPartJson writes it and with "differs" (the names
// of the facts that disagree with it), or null; near lists the OPNs close to
// a Code One the catalogue lacks.
void AppendJsonObject(std::string& out, const Sheet& sheet, const catalogue::Comparison& comparison,
                      QStringView refusal = {});

// A part of the catalogue as one JSON object: the data's columns by name, in
// their order; numbers as numbers, the sources as an array, null for what
// the sources leave empty.
void AppendPartJson(std::string& out, const catalogue::Part& part);

// Comma-separated values with CR LF record ends. The family column holds the
// results frame caption of a completed run and is empty otherwise, as a
// stopped run leaves the caption of no particular chip. WithCatalogue adds
// the catalogue's columns, each prefixed "catalogue_", and "differs", the
// names of the facts that disagree with the part, one per line; a row gets
// them from its comparison, and they are empty for a Code One the catalogue
// lacks.
enum class CsvColumns { Decode, WithCatalogue };
// The header names the fields by their captions, or by the JSON's keys for
// scripts that address columns by name (csvkit, pandas, awk).
enum class CsvNames { Captions, Keys };
void AppendCsvHeader(std::string& out, CsvColumns columns = CsvColumns::Decode,
                     CsvNames names = CsvNames::Captions);
void AppendCsvRow(std::string& out, const Sheet& sheet, QStringView refusal = {},
                  const catalogue::Comparison* catalogueColumns = nullptr);

}  // namespace varnel::report
