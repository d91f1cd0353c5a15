#pragma once

#include <QColor>
#include <QList>
#include <QPalette>
#include <QString>
#include <QStringList>

#include "catalogue/comparison.h"
#include "decode/sheet.h"
#include "ui/links_label.h"

namespace varnel {

// What the catalogue of real parts says about a Code One: after a Check, the
// part and its facts beside the decode; while Code One is typed, the part
// alone; for an OPN it does not list, the listed ones a character or two
// away.
struct CatalogueFinding {
    QString codeOne;  // as the run read it, or as typed
    // The part (null: not listed) and the near OPNs of one not listed.
    catalogue::Comparison comparison;
    QList<catalogue::FactRow> facts;  // the part beside the decode
    qsizetype partCount = 0;          // how many parts the catalogue lists
    bool checked = false;             // false: looked up as typed, no marking decoded
};

// After a Check: the sheet's Code One held against the catalogue.
CatalogueFinding MakeFinding(const Sheet& sheet, const catalogue::Comparison& comparison,
                             qsizetype partCount);
// Before one: Code One as typed, looked up alone.
CatalogueFinding LookUpFinding(const QString& codeOne, const catalogue::Comparison& listing,
                               qsizetype partCount);

// The verdict in one line, its mark first: "✓ Matches the decode on 11
// facts", "≠ 2 facts differ", "– Not in the catalogue of 474 parts"; before
// a Check "Athlon 64 3700+, San Diego — press Check to compare with the
// marking" or "Not in the catalogue".
QString VerdictText(const CatalogueFinding& finding);

// The background of a value the catalogue contradicts: the scheme's base
// warmed towards amber, as dark in a dark scheme as the base is, so that the
// scheme's text stays readable on it. Never the selection colour, which
// would pass for a selected row.
QColor WarningTint(const QPalette& palette);

// The short verdict of the catalogue, under the code boxes: whether the real
// part agrees with the decode, and links to the details or, for an OPN not
// listed, to the listed OPNs nearest to it. Empty before anything is typed.
class CatalogueVerdict : public LinksLabel {
    Q_OBJECT

  public:
    explicit CatalogueVerdict(QWidget* parent = nullptr);

    // The verdict on the Code One a run read, the run having completed or not.
    void ShowVerdict(const Sheet& sheet, const catalogue::Comparison& comparison,
                     qsizetype partCount);
    // What the catalogue knows of Code One as typed, before any Check.
    void ShowLookup(const QString& codeOne, const catalogue::Comparison& listing,
                    qsizetype partCount);
    // Takes the verdict down while a run is under way.
    void Clear();

    // What is on show; no part and no code before the first.
    const CatalogueFinding& Finding() const { return finding_; }

  signals:
    // A near OPN was chosen: it belongs in Code One.
    void OpnChosen(const QString& opn);
    void DetailsRequested();
    // A new verdict is on show.
    void Updated();

  private:
    void Present(CatalogueFinding finding);
    void FollowLink(const QString& link);

    CatalogueFinding finding_;
};

}  // namespace varnel
