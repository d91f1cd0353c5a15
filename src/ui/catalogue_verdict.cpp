#include "ui/catalogue_verdict.h"

#include <QRegularExpression>
#include <QStyle>
#include <algorithm>

namespace varnel {

namespace {

// The verdict's own links: a near OPN to put into Code One, or the details.
const QString kOpnLink = QStringLiteral("opn:");
const QString kDetailsLink = QStringLiteral("details:");

QString Link(const QString& target, const QString& caption) {
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(target.toHtmlEscaped(), caption.toHtmlEscaped());
}

QString Paragraph(const QString& html) {
    return QStringLiteral("<p>") + html + QStringLiteral("</p>");
}

QString NearOpnsHtml(const QStringList& opns) {
    QStringList lines{QStringLiteral("Near OPNs:")};
    for (const QString& opn : opns) {
        lines.append(Link(kOpnLink + opn, opn));
    }
    return Paragraph(lines.join(QStringLiteral("<br>")));
}

// Pieces that each stay whole on a line: the narrow column wraps only
// between them, where a reader pauses.
QString Unbroken(const QStringList& pieces) {
    QStringList html;
    for (const QString& piece : pieces) {
        if (!piece.isEmpty()) {
            html.append(piece.toHtmlEscaped().replace(u' ', QChar(0x00A0)));
        }
    }
    return html.join(u' ');
}

// "In the catalogue:" | "2 facts differ", "Not in the catalogue" | "of 474 parts".
QStringList VerdictPieces(const QString& verdict) {
    static const QRegularExpression pause(QStringLiteral("(?<=:) | (?=of )"));
    return verdict.split(pause);
}

// "Athlon 64" | "3700+," | "San Diego".
QStringList NamePieces(const catalogue::Part& part) {
    return {part.family, part.core.isEmpty() ? part.rating : part.rating + u',', part.core};
}

QString VerdictHtml(const CatalogueFinding& finding) {
    QString html = Unbroken(VerdictPieces(VerdictText(finding)));
    if (finding.part == nullptr) {
        return Paragraph(html) +
               (finding.nearOpns.isEmpty() ? QString() : NearOpnsHtml(finding.nearOpns));
    }
    html += QStringLiteral("<br>") + Unbroken(NamePieces(*finding.part));
    return Paragraph(html) + Paragraph(Link(kDetailsLink, QStringLiteral("Details...")));
}

int CountFacts(const QList<catalogue::FactRow>& facts, catalogue::Agreement agreement) {
    return static_cast<int>(std::count_if(
        facts.begin(), facts.end(),
        [agreement](const catalogue::FactRow& fact) { return fact.agreement == agreement; }));
}

}  // namespace

CatalogueFinding MakeFinding(const Sheet& sheet, const catalogue::Comparison& comparison,
                             qsizetype partCount) {
    CatalogueFinding finding;
    finding.codeOne = sheet.codes[0];
    finding.partCount = partCount;
    finding.completed = sheet.completed;
    finding.part = comparison.part;
    finding.comparison = comparison;
    finding.nearOpns = comparison.nearOpns;
    if (finding.part != nullptr) {
        finding.facts = catalogue::FactRows(*finding.part, sheet);
    }
    return finding;
}

QString VerdictText(const CatalogueFinding& finding) {
    if (finding.part == nullptr) {
        return QStringLiteral("Not in the catalogue of %1 parts").arg(finding.partCount);
    }
    const int differing = CountFacts(finding.facts, catalogue::Agreement::Differs);
    if (differing == 1) {
        return QStringLiteral("In the catalogue: 1 fact differs");
    }
    if (differing > 1) {
        return QStringLiteral("In the catalogue: %1 facts differ").arg(differing);
    }
    // A decode that stopped has not said all it would: what it read may
    // agree, but that is no match. An AM2 or S1 part stops at once.
    if (!finding.completed) {
        return QStringLiteral("In the catalogue: the decode stopped");
    }
    return CountFacts(finding.facts, catalogue::Agreement::Agrees) > 0
               ? QStringLiteral("In the catalogue: matches the decode")
               : QStringLiteral("In the catalogue: nothing to compare");
}

QString PartName(const catalogue::Part& part) {
    QString name = QStringList{part.family, part.rating}.join(u' ').trimmed();
    if (!part.core.isEmpty()) {
        name += QStringLiteral(", ") + part.core;
    }
    return name;
}

CatalogueVerdict::CatalogueVerdict(QWidget* parent) : LinksLabel(parent) {
    setObjectName(QStringLiteral("catalogueVerdict"));
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The verdict lives in the room the code entry leaves: it takes what
    // there is and never makes the window grow.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    setFocusPolicy(Qt::NoFocus);
    // Indented like the captions inside the frame above it, on both sides.
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    setContentsMargins(margin, style()->pixelMetric(QStyle::PM_LayoutTopMargin), margin, 0);
    connect(this, &QLabel::linkActivated, this, &CatalogueVerdict::FollowLink);
}

void CatalogueVerdict::ShowVerdict(const Sheet& sheet, const catalogue::Comparison& comparison,
                                   qsizetype partCount) {
    finding_ = MakeFinding(sheet, comparison, partCount);
    setText(VerdictHtml(finding_));
    // Links are reached with Tab; a verdict without links takes no focus.
    const bool hasLinks = finding_.part != nullptr || !finding_.nearOpns.isEmpty();
    setFocusPolicy(hasLinks ? Qt::StrongFocus : Qt::NoFocus);
    emit Updated();
}

void CatalogueVerdict::Clear() {
    finding_ = {};
    clear();
    setFocusPolicy(Qt::NoFocus);
}

void CatalogueVerdict::FollowLink(const QString& link) {
    if (link == kDetailsLink) {
        emit DetailsRequested();
    } else if (link.startsWith(kOpnLink)) {
        emit OpnChosen(link.mid(kOpnLink.size()));
    }
}

}  // namespace varnel
