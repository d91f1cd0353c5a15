#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "catalogue/catalogue.h"
#include "catalogue/comparison.h"
#include "decode/sheet.h"
#include "ui/links_label.h"

namespace varnel {

// What the catalogue of real parts says about the Code One a run read: the
// part and its facts beside the decode, or for an OPN it does not list the
// listed ones a character or two away.
struct CatalogueFinding {
    QString codeOne;                        // as the run read it
    const catalogue::Part* part = nullptr;  // null: not listed
    catalogue::Comparison comparison;
    QList<catalogue::FactRow> facts;  // the part beside the decode
    QStringList nearOpns;             // only for an OPN not listed
    qsizetype partCount = 0;          // how many parts the catalogue lists
    bool completed = false;           // whether the run read every fact it could
};

CatalogueFinding MakeFinding(const Sheet& sheet, const catalogue::Comparison& comparison,
                             qsizetype partCount);

// The verdict in one line: "In the catalogue: matches the decode", "In the
// catalogue: 3 facts differ", "Not in the catalogue of 474 parts", or for a
// listed part whose decode stopped before it differed in anything "In the
// catalogue: the decode stopped".
QString VerdictText(const CatalogueFinding& finding);

// The part as it was sold: "Athlon 64 3000+, Venice".
QString PartName(const catalogue::Part& part);

// The short verdict of the catalogue on the last Check, under the code boxes:
// whether the real part agrees with the decode, and links to the details or,
// for an OPN not listed, to the listed OPNs nearest to it. Empty before the
// first Check. The catalogue is read at the first Check, not when the
// window opens.
class CatalogueVerdict : public LinksLabel {
    Q_OBJECT

  public:
    explicit CatalogueVerdict(QWidget* parent = nullptr);

    // The verdict on the Code One a run read, the run having completed or not.
    void ShowVerdict(const Sheet& sheet, const catalogue::Comparison& comparison,
                     qsizetype partCount);
    // Takes the verdict down while a run is under way.
    void Clear();

    // What the last ShowVerdict found; no part and no code before the first.
    const CatalogueFinding& Finding() const { return finding_; }

  signals:
    // A near OPN was chosen: it belongs in Code One.
    void OpnChosen(const QString& opn);
    void DetailsRequested();
    // A new verdict is on show.
    void Updated();

  private:
    void FollowLink(const QString& link);

    CatalogueFinding finding_;
};

}  // namespace varnel
