#include "ui/catalogue_verdict.h"

#include <QStyle>

#include "catalogue/verdict.h"

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

// "Athlon 64" | "3700+," | "San Diego".
QStringList NamePieces(const catalogue::Part& part) {
    return {part.family, part.core.isEmpty() ? part.rating : part.rating + u',', part.core};
}

// The key facts a stopped decode leaves to the catalogue, a line each.
QString KeyFactsHtml(const catalogue::Part& part) {
    QStringList lines;
    for (const QString& fact : catalogue::KeyFacts(part)) {
        lines.append(Unbroken({fact}));
    }
    return Paragraph(lines.join(QStringLiteral("<br>")));
}

QString PartHtml(const CatalogueFinding& finding) {
    const catalogue::Part& part = *finding.comparison.part;
    QString html = Paragraph(VerdictText(finding).toHtmlEscaped());
    // After a stop the key facts stand where the part's name would, the
    // family and rating first.
    if (finding.checked && !finding.comparison.decodeCompleted) {
        html += KeyFactsHtml(part);
    } else if (finding.checked) {
        html += Paragraph(Unbroken(NamePieces(part)));
    }
    return html + Paragraph(Link(kDetailsLink, QStringLiteral("Details...")));
}

QString VerdictHtml(const CatalogueFinding& finding) {
    if (finding.codeOne.isEmpty() && !finding.checked) {
        return {};
    }
    const catalogue::Comparison& comparison = finding.comparison;
    if (comparison.part != nullptr) {
        return PartHtml(finding);
    }
    return Paragraph(VerdictText(finding).toHtmlEscaped()) +
           (comparison.nearOpns.isEmpty() ? QString() : NearOpnsHtml(comparison.nearOpns));
}

}  // namespace

CatalogueFinding MakeFinding(const Sheet& sheet, const catalogue::Comparison& comparison,
                             qsizetype partCount) {
    CatalogueFinding finding;
    finding.codeOne = sheet.codes[0];
    finding.partCount = partCount;
    finding.comparison = comparison;
    finding.checked = true;
    if (comparison.part != nullptr) {
        finding.facts = catalogue::FactRows(*comparison.part, sheet);
    }
    return finding;
}

CatalogueFinding LookUpFinding(const QString& codeOne, const catalogue::Comparison& listing,
                               qsizetype partCount) {
    Sheet notDecoded = WaitingSheet();
    notDecoded.codes[0] = codeOne;
    CatalogueFinding finding = MakeFinding(notDecoded, listing, partCount);
    finding.checked = false;
    return finding;
}

QString VerdictText(const CatalogueFinding& finding) {
    if (!finding.checked) {
        return finding.comparison.part == nullptr
                   ? QStringLiteral("Not in the catalogue")
                   : catalogue::PartName(*finding.comparison.part) +
                         QStringLiteral(" \u2014 press Check to compare with the marking");
    }
    return catalogue::VerdictMark(catalogue::VerdictOf(finding.comparison)) + u' ' +
           catalogue::VerdictSentence(finding.comparison, finding.partCount);
}

QColor WarningTint(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Base);
    // Amber, at the base's own lightness: pale in a light scheme, deep in a dark one.
    const QColor amber = QColor::fromHslF(0.11F, 0.9F, base.lightnessF() > 0.5F ? 0.55F : 0.35F);
    constexpr float kTint = 0.4F;
    return QColor::fromRgbF(base.redF() + (amber.redF() - base.redF()) * kTint,
                            base.greenF() + (amber.greenF() - base.greenF()) * kTint,
                            base.blueF() + (amber.blueF() - base.blueF()) * kTint);
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
    Present(MakeFinding(sheet, comparison, partCount));
}

void CatalogueVerdict::ShowLookup(const QString& codeOne, const catalogue::Comparison& listing,
                                  qsizetype partCount) {
    Present(LookUpFinding(codeOne, listing, partCount));
}

void CatalogueVerdict::Present(CatalogueFinding finding) {
    finding_ = std::move(finding);
    setText(VerdictHtml(finding_));
    // Links are reached with Tab; a verdict without links takes no focus.
    const bool hasLinks = text().contains(QStringLiteral("<a "));
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
