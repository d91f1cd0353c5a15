#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <string_view>

#include "catalogue/comparison.h"

namespace varnel::catalogue {

// The catalogue's word on a decode, as a collector reads it first.
enum class Verdict : std::uint8_t {
    NotListed,      // Code One is no OPN of the catalogue
    Matches,        // every fact the catalogue knows was read and agrees
    Differs,        // one fact or more differs
    PartlyRead,     // nothing differs, but the rules could not read some facts
    DecodeStopped,  // the rules could not read the marking at all
};

Verdict VerdictOf(const Comparison& comparison);

// The verdict's name for scripts: "matches", "differs", "partly_read",
// "decode_stopped"; empty for a Code One not listed.
std::string_view VerdictToken(Verdict verdict);

// A mark that tells the verdicts apart without colour: ✓, ≠, ?, ⚠, or a
// dash for a part not listed.
QString VerdictMark(Verdict verdict);

// The verdict in one sentence: "Matches the decode on 11 facts", "3 facts
// differ, 2 not read by the rules", "Agrees on 6 facts; the rules could not
// read clock and multiplier", "The rules cannot read this marking. The
// catalogue knows it:", "Not in the catalogue of 474 parts".
QString VerdictSentence(const Comparison& comparison, qsizetype partCount);

// The part as it was sold: "Athlon 64 3700+, San Diego".
QString PartName(const Part& part);

// What the catalogue's confidence tier says about where its values come
// from: "datasheet: AMD's own tables, as carried by the sources below".
QString TierText(const QString& confidence);

// The facts a stopped decode leaves to the catalogue alone: family and
// rating, core, clock, L2 and cores, socket, process; those it knows.
QStringList KeyFacts(const Part& part);

// A catalogue package in the words the results use: OµPGA, not OuPGA.
QString InSheetWords(const QString& package);

// One fact the catalogue and the rules do not agree on, or that the rules
// could not read.
struct FactNote {
    std::u16string_view name;  // as differs and not_read name it: a caption, "Family", "Cores"
    QString plainName;         // as a sentence names it: "core", "clock", "core count"
    QString catalogueValue;    // "San Diego"
    QString ruleValue;         // what the result shows: "ClawHammer"
    Agreement agreement = Agreement::Differs;  // Differs or NotRead
};

// The differing and unread facts of a completed decode, in the order of the
// names; none for a stopped one.
QList<FactNote> FactNotes(const Part& part, const Sheet& sheet, const Comparison& comparison);

// The catalogue's value of the fact a result field is held against, for a
// tip beside the value ("San Diego", "2200MHz"); empty when it knows none.
QString CatalogueValue(const Part& part, const Sheet& sheet, Field field);

// One line the catalogue adds beside the results: a label ("Catalogue",
// "Verdict", a fact's name, or empty under the line before) and its text.
struct CatalogueLine {
    QString label;
    QString text;
};

// The part and its tier, the verdict with its mark, and each differing or
// unread fact with the catalogue's value ("San Diego (the rules read
// ClawHammer)"); after a stop the part's key facts; for a Code One not
// listed, "not listed" and its near OPNs.
QList<CatalogueLine> CatalogueLines(const Sheet& sheet, const Comparison& comparison);

}  // namespace varnel::catalogue
