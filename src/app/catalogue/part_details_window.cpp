#include "app/catalogue/part_details_window.h"

#include <QCursor>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <array>

#include "ui/links_label.h"

namespace varnel {

namespace {

// What each confidence tier of the catalogue rests on.
struct Tier {
    const char* name;
    const char* basis;
};
constexpr std::array<Tier, 3> kTiers{{
    {"datasheet", "from AMD's data sheets"},
    {"database", "from curated lists and databases"},
    {"forum", "from a single collector's page or post"},
}};

QString ConfidenceText(const QString& tier) {
    for (const Tier& each : kTiers) {
        if (tier == QLatin1String(each.name)) {
            return tier + QStringLiteral(" (") + QLatin1String(each.basis) + QLatin1Char(')');
        }
    }
    return tier;
}

// A source as the reader sees it: the address without its percent escapes,
// cut in the middle when it is long; the full one shows on hovering.
QString SourceCaption(const QUrl& url) {
    constexpr qsizetype kLongest = 64;
    const QString shown = url.toDisplayString(QUrl::RemoveScheme).mid(2);
    if (shown.size() <= kLongest) {
        return shown;
    }
    return shown.left(kLongest / 2 - 1) + QChar(0x2026) + shown.right(kLongest / 2 - 1);
}

// Only web pages are offered as links: a file may hold any text, and a
// source is no reason to start a program or open a local file.
QString SourceHtml(const QString& source) {
    const QUrl url(source, QUrl::StrictMode);
    const bool web = url.isValid() && (url.scheme() == u"https" || url.scheme() == u"http");
    if (!web) {
        return source.toHtmlEscaped();
    }
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(source.toHtmlEscaped(), SourceCaption(url).toHtmlEscaped());
}

QLabel* NewWrappedLabel(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTableWidgetItem* NewCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

}  // namespace

PartDetailsWindow::PartDetailsWindow(UrlOpener& opener, QWidget* parent)
    : QDialog(parent), opener_(opener) {
    setObjectName(QStringLiteral("PartDetailsWindow"));
    setWindowTitle(QStringLiteral("Part Details"));
    setModal(false);

    heading = new QLabel(this);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setTextFormat(Qt::PlainText);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    verdict = NewWrappedLabel(this, QStringLiteral("verdict"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(heading);
    column->addWidget(verdict);
    column->addWidget(BuildPartBox());
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* PartDetailsWindow::BuildPartBox() {
    partBox_ = new QWidget(this);
    facts = new QTableWidget(0, 4, partBox_);
    facts->setObjectName(QStringLiteral("facts"));
    facts->setHorizontalHeaderLabels(
        {QStringLiteral("Fact"), QStringLiteral("Catalogue"), QStringLiteral("Decode"), QString()});
    facts->verticalHeader()->hide();
    facts->setSelectionMode(QAbstractItemView::NoSelection);
    facts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    facts->setFocusPolicy(Qt::NoFocus);
    facts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    facts->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    facts->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    facts->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    confidence = NewWrappedLabel(partBox_, QStringLiteral("confidence"));
    notes = NewWrappedLabel(partBox_, QStringLiteral("notes"));
    sources = new LinksLabel(partBox_);
    sources->setObjectName(QStringLiteral("sources"));
    connect(sources, &QLabel::linkActivated, this,
            [this](const QString& url) { opener_.Open(url); });
    connect(sources, &QLabel::linkHovered, this, [this](const QString& url) {
        QToolTip::showText(QCursor::pos(), url.toHtmlEscaped(), sources);
    });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Confidence:"), confidence);
    form->addRow(QStringLiteral("Notes:"), notes);
    form->addRow(QStringLiteral("Sources:"), sources);
    auto* column = new QVBoxLayout(partBox_);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(facts);
    column->addLayout(form);
    return partBox_;
}

QString PartDetailsWindow::Mark(catalogue::Agreement agreement) {
    switch (agreement) {
        case catalogue::Agreement::Differs:
            return QStringLiteral("\u2260 differs");
        case catalogue::Agreement::Agrees:
            return QStringLiteral("=");
        case catalogue::Agreement::NotRead:
            return QStringLiteral("? not read");
        default:
            return {};
    }
}

QColor PartDetailsWindow::DifferenceColour() const {
    // A tint of the scheme's highlight over its base: it stands out in a
    // light and a dark scheme alike and keeps the text readable.
    const QColor base = palette().color(QPalette::Base);
    const QColor highlight = palette().color(QPalette::Highlight);
    constexpr float kTint = 0.35F;
    return QColor::fromRgbF(base.redF() + (highlight.redF() - base.redF()) * kTint,
                            base.greenF() + (highlight.greenF() - base.greenF()) * kTint,
                            base.blueF() + (highlight.blueF() - base.blueF()) * kTint);
}

void PartDetailsWindow::ShowFinding(const CatalogueFinding& finding) {
    const catalogue::Part* part = finding.part;
    heading->setText(part != nullptr ? finding.codeOne + QStringLiteral(": ") + PartName(*part)
                                     : finding.codeOne);
    QString verdictText = VerdictText(finding);
    if (!finding.nearOpns.isEmpty()) {
        verdictText +=
            QStringLiteral(". Near OPNs: ") + finding.nearOpns.join(QStringLiteral(", "));
    }
    verdict->setText(verdictText);
    partBox_->setVisible(part != nullptr);
    FillFacts(finding.facts);
    confidence->setText(part != nullptr ? ConfidenceText(part->confidence) : QString());
    notes->setText(part != nullptr ? part->notes : QString());
    FillSources(part != nullptr ? part->sources : QStringList());
}

void PartDetailsWindow::FillFacts(const QList<catalogue::FactRow>& rows) {
    facts->setRowCount(static_cast<int>(rows.size()));
    const QColor differs = DifferenceColour();
    for (int row = 0; row < facts->rowCount(); ++row) {
        const catalogue::FactRow& fact = rows[row];
        const std::array<QString, 4> texts{fact.label, fact.catalogueText, fact.decodedText,
                                           Mark(fact.agreement)};
        for (int column = 0; column < static_cast<int>(texts.size()); ++column) {
            QTableWidgetItem* cell = NewCell(texts[static_cast<std::size_t>(column)]);
            if (fact.agreement == catalogue::Agreement::Differs) {
                cell->setBackground(differs);
            }
            facts->setItem(row, column, cell);
        }
    }
    facts->resizeColumnsToContents();
    facts->resizeRowsToContents();
}

void PartDetailsWindow::FillSources(const QStringList& urls) {
    QStringList lines;
    for (const QString& url : urls) {
        lines.append(SourceHtml(url));
    }
    // A label that opens with a link skips that link on Tab and traps
    // Shift+Tab; a zero-width space in front avoids both.
    sources->setText(QStringLiteral("&#8203;") + lines.join(QStringLiteral("<br>")));
}

}  // namespace varnel
