#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "catalogue/part.h"
#include "decode/ports.h"
#include "decode/sheet.h"

namespace varnel::catalogue {

// The nineteen result texts of a decode, by slot (captions in kResultCaptions).
// A decode that stopped early leaves them empty.
using DecodedValues = std::array<QString, kFieldCount>;

// How one fact of the catalogue stands against the decode. A fact is not
// compared when either side does not know it: the catalogue leaves it empty,
// or the decode did not find it ("(Unknown)", "Unknown Processor", a zero
// reading, "(Variable)") or has no field for it.
enum class Agreement { NotCompared, Agrees, Differs };

// One line of the side-by-side table.
struct FactRow {
    QString label;          // "Core", "Clock (multiplier × bus)", ...
    QString catalogueText;  // the catalogue's value, with its unit
    QString decodedText;    // what the decode shows for it; empty when it has none
    Agreement agreement = Agreement::NotCompared;
    // The captions of the result fields the fact is read from; on a
    // difference only those that disagree.
    QStringList captions;
};

// The facts of a part beside a decode of its marking: core, revision, CPUID,
// clock, L2 and cores, voltage, maximum temperature, TDP, socket, package and
// process, in this order.
QList<FactRow> CompareWithDecode(const Part& part, const DecodedValues& decoded);
QList<FactRow> CompareWithDecode(const Part& part, const Sheet& sheet);

// The captions of the result fields that disagree with the catalogue, in the
// order of the result fields, each once.
QStringList DifferingCaptions(const QList<FactRow>& facts);

// How many facts disagree.
int CountDiffering(const QList<FactRow>& facts);

}  // namespace varnel::catalogue
