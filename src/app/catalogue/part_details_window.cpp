#include "app/catalogue/part_details_window.h"

#include <QCursor>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <array>

#include "catalogue/verdict.h"
#include "ui/links_label.h"

namespace varnel {

namespace {

// The facts a sentence names, in the words of a sentence.
QString Named(const QList<catalogue::FactRow>& rows, catalogue::Agreement agreement) {
    QStringList names;
    for (const catalogue::FactRow& row : rows) {
        if (row.agreement == agreement) {
            names.append(row.plainName);
        }
    }
    if (names.size() <= 1) {
        return names.value(0);
    }
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           names.last();
}

// The whole comparison in one plain sentence, for someone who reads no further.
QString Summary(const CatalogueFinding& finding) {
    if (finding.comparison.part == nullptr) {
        return QString();
    }
    if (!finding.checked) {
        return QStringLiteral("From the parts catalogue; no marking decoded.");
    }
    if (!finding.comparison.decodeCompleted) {
        return QStringLiteral(
            "The rules cannot read this marking; these are the catalogue's facts.");
    }
    const QString differing = Named(finding.facts, catalogue::Agreement::Differs);
    const QString unread = Named(finding.facts, catalogue::Agreement::NotRead);
    if (!differing.isEmpty()) {
        return QStringLiteral("The catalogue and the rules disagree on the ") + differing + u'.';
    }
    if (!unread.isEmpty()) {
        return QStringLiteral("The rules could not read the ") + unread +
               QStringLiteral("; every fact they read agrees with the catalogue.");
    }
    return QStringLiteral("The catalogue and the rules agree on every fact both know.");
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
    summary = NewWrappedLabel(this, QStringLiteral("summary"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(heading);
    column->addWidget(summary);
    column->addWidget(verdict);
    column->addWidget(BuildPartBox());
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* PartDetailsWindow::BuildPartBox() {
    partBox_ = new QWidget(this);
    BuildFactsTable();
    confidence = NewWrappedLabel(partBox_, QStringLiteral("confidence"));
    BuildNotes();
    BuildSources();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Values from:"), confidence);
    form->addRow(QStringLiteral("Sources:"), sources);
    auto* column = new QVBoxLayout(partBox_);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(facts);
    column->addLayout(form);
    column->addWidget(notesToggle, 0, Qt::AlignLeft);
    column->addWidget(notes);
    return partBox_;
}

void PartDetailsWindow::BuildFactsTable() {
    facts = new QTableWidget(0, 4, partBox_);
    facts->setObjectName(QStringLiteral("facts"));
    facts->setHorizontalHeaderLabels({QStringLiteral("Fact"), QStringLiteral("Catalogue"),
                                      QStringLiteral("Decode"), QStringLiteral("Agreement")});
    facts->verticalHeader()->hide();
    facts->setSelectionMode(QAbstractItemView::NoSelection);
    facts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    facts->setFocusPolicy(Qt::NoFocus);
    facts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    facts->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    facts->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    facts->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void PartDetailsWindow::BuildNotes() {
    notes = NewWrappedLabel(partBox_, QStringLiteral("notes"));
    // The data's research notes are for the curious: folded away at first.
    notesToggle = new QToolButton(partBox_);
    notesToggle->setObjectName(QStringLiteral("notesToggle"));
    notesToggle->setText(QStringLiteral("Research notes"));
    notesToggle->setCheckable(true);
    notesToggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    notesToggle->setArrowType(Qt::RightArrow);
    notesToggle->setAutoRaise(true);
    notes->setVisible(false);
    connect(notesToggle, &QToolButton::toggled, this, [this](bool open) {
        notesToggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        notes->setVisible(open);
    });
}

void PartDetailsWindow::BuildSources() {
    sources = new LinksLabel(partBox_);
    sources->setObjectName(QStringLiteral("sources"));
    connect(sources, &QLabel::linkActivated, this,
            [this](const QString& url) { opener_.Open(url); });
    connect(sources, &QLabel::linkHovered, this, [this](const QString& url) {
        QToolTip::showText(QCursor::pos(), url.toHtmlEscaped(), sources);
    });
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
    // The main window's tint for a contradicted value.
    return WarningTint(palette());
}

void PartDetailsWindow::ShowFinding(const CatalogueFinding& finding) {
    const catalogue::Part* part = finding.comparison.part;
    const QStringList& nearOpns = finding.comparison.nearOpns;
    heading->setText(part != nullptr
                         ? finding.codeOne + QStringLiteral(": ") + catalogue::PartName(*part)
                         : finding.codeOne);
    summary->setText(Summary(finding));
    summary->setVisible(!summary->text().isEmpty());
    QString verdictText = VerdictText(finding);
    if (!nearOpns.isEmpty()) {
        verdictText += QStringLiteral(". Near OPNs: ") + nearOpns.join(QStringLiteral(", "));
    }
    verdict->setText(verdictText);
    // A part looked up without a decode has no verdict; its summary says so.
    verdict->setVisible(finding.checked || part == nullptr);
    partBox_->setVisible(part != nullptr);
    FillFacts(finding.facts);
    confidence->setText(part != nullptr ? catalogue::TierText(part->confidence) : QString());
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
