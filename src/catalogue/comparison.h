#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "catalogue/part.h"
#include "decode/fields.h"
#include "decode/sheet.h"

namespace varnel::catalogue {

class Catalogue;

// How one fact of the catalogue stands against the decode. The order ranks
// them: of the checks behind one fact the highest decides.
enum class Agreement : std::uint8_t {
    NotCompared,  // the catalogue does not know it, or the rules never give it for this chip
    Agrees,
    NotRead,  // the catalogue knows it; the rules did not produce it
    Differs,
};

// The facts of a real part held against the findings and numbers of a
// decode, computed once per marking and handed to whatever shows it.
struct Comparison {
    const Part* part = nullptr;  // null: Code One is not in the catalogue
    QStringList nearOpns;        // for a Code One not listed: the listed OPNs nearest to it
    bool decodeCompleted = false;
    // By result field: how the catalogue fact it is held against stands.
    std::array<Agreement, kFieldCount> fields{};
    // The facts that no result field holds.
    Agreement family = Agreement::NotCompared;
    Agreement cores = Agreement::NotCompared;

    Agreement Of(Field field) const { return fields[Index(field)]; }
};

// The part's facts against a sheet; a stopped decode compares nothing.
Comparison Compare(const Part& part, const Sheet& sheet);

// One thing a comparison judges: a result field, or the family or the core
// count, which no field holds.
struct Judged {
    enum class Kind : std::uint8_t { Field, Family, Cores };
    std::u16string_view name;  // the field's caption, "Family" or "Cores"
    Agreement agreement;
    Kind kind;
    Field field;  // for Kind::Field
};

// Each thing judged, in the order a verdict names them: "Family", the result
// fields in row order, and "Cores" behind "L2 Cache".
template <typename Visit>
void VisitJudged(const Comparison& comparison, Visit visit) {
    visit(Judged{u"Family", comparison.family, Judged::Kind::Family, Field::Core});
    for (const FieldInfo& info : kFields) {
        visit(Judged{info.caption, comparison.Of(info.field), Judged::Kind::Field, info.field});
        if (info.field == Field::L2Cache) {
            visit(Judged{u"Cores", comparison.cores, Judged::Kind::Cores, info.field});
        }
    }
}

// The names of those that stand as asked, in that order.
template <typename Visit>
void VisitNames(const Comparison& comparison, Agreement agreement, Visit visit) {
    VisitJudged(comparison, [&](const Judged& judged) {
        if (judged.agreement == agreement) {
            visit(judged.name);
        }
    });
}

std::vector<std::u16string_view> NamesThat(const Comparison& comparison, Agreement agreement);

// Holds markings against one catalogue: the part of each Code One, or the
// OPNs near one it lacks, remembered for Codes One met before, as a batch
// meets the same few parts again and again.
class Comparer {
  public:
    explicit Comparer(const Catalogue& catalogue);

    Comparison Compare(const Sheet& sheet);
    const Catalogue& Parts() const { return catalogue_; }

  private:
    // The part a Code One names, or the OPNs near one it lacks.
    struct Listing {
        const Part* part = nullptr;
        QStringList nearOpns;
    };
    const Listing& Find(const QString& codeOne);

    const Catalogue& catalogue_;
    QHash<QString, Listing> listings_;
};

// One line of the side-by-side table of the details window.
struct FactRow {
    QString label;          // "Core", "Clock (multiplier × bus)", ...
    QString plainName;      // as a sentence names it: "core", "clock", "L2 cache"
    QString catalogueText;  // the catalogue's value, with its unit
    QString decodedText;    // what the decode shows for it; empty when it has none
    Agreement agreement = Agreement::NotCompared;
};

// The part's facts beside a decode of its marking: family, core, revision,
// CPUID, clock, L2 cache, cores, voltage, maximum temperature, TDP, socket,
// package and process, in this order.
QList<FactRow> FactRows(const Part& part, const Sheet& sheet);

}  // namespace varnel::catalogue
