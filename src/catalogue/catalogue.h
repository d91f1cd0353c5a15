#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "catalogue/part.h"

namespace varnel::catalogue {

// The sourced list of real K7 and K8 parts, by ordering part number (OPN, the
// first line of the marking). It is read-only once built.
class Catalogue {
  public:
    // Reads tab-separated text: one header line naming the columns, then one
    // part per line. Lines without an OPN are skipped; of two lines with the
    // same OPN the first counts.
    explicit Catalogue(QStringView tsv);

    // The catalogue built into the program. It is read on the first call, not
    // at start-up; the first call may come from any thread.
    static const Catalogue& Builtin();

    qsizetype Count() const { return parts_.size(); }
    // Every part, in the order of the data (sorted by OPN).
    const QList<Part>& All() const { return parts_; }

    // The part whose OPN is the given Code One, read the way the code box
    // reads it (upper case, nothing invisible); null when it is not listed.
    const Part* Lookup(QStringView codeOne) const;

    // For a Code One that is not listed: OPNs one or two edits away (a
    // character changed, dropped, added, or two neighbours swapped), closest
    // first, a misread O/0 or I/1 before any other edit, then in the order of
    // the data. A remarked chip often carries an OPN that AMD never made, one
    // or two letters from a real one; a typist drops or swaps a character.
    QStringList NearOpns(QStringView codeOne, int max = 3) const;

    // The parts that match every word of the text (see MatchesSearch), in the
    // order of the data.
    QList<const Part*> Find(QStringView text) const;

  private:
    QList<Part> parts_;
    QHash<QString, qsizetype> indexByOpn_;
};

// The words of a search text, split at white space and each cleaned as a
// code box cleans a code (upper case, nothing invisible); none for a text of
// only spaces.
QStringList SearchWords(QStringView text);

// Whether every word is in the part's OPN, family, core or rating, each
// cleaned the same way: "venice 3000" finds the Athlon 64 3000+ parts on a
// Venice core, "sandiego" the San Diego ones. No words match every part.
bool MatchesSearch(const Part& part, const QStringList& words);

}  // namespace varnel::catalogue
