#include "app/catalogue/parts_browser.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/catalogue.h"
#include "catalogue/parts_table_model.h"

namespace varnel {

using catalogue::PartsTableModel;

// Lets a part through when its family is the chosen one and it matches the
// search text as varnel-decode --find matches it.
class PartsFilter : public QSortFilterProxyModel {
  public:
    PartsFilter(const catalogue::Catalogue& catalogue, QObject* parent)
        : QSortFilterProxyModel(parent), catalogue_(catalogue) {}

    void SetCriteria(const QString& text, const QString& family) {
        words_ = catalogue::SearchWords(text);
        family_ = family;
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (parent.isValid() || row < 0 || row >= catalogue_.Count()) {
            return false;
        }
        const catalogue::Part& part = catalogue_.All().at(row);
        return (family_.isEmpty() || part.family == family_) &&
               catalogue::MatchesSearch(part, words_);
    }

  private:
    const catalogue::Catalogue& catalogue_;
    QStringList words_;
    QString family_;
};

namespace {

QStringList FamiliesOf(const catalogue::Catalogue& catalogue) {
    QStringList families;
    for (const catalogue::Part& part : catalogue.All()) {
        if (!part.family.isEmpty() && !families.contains(part.family)) {
            families.append(part.family);
        }
    }
    families.sort(Qt::CaseInsensitive);
    return families;
}

}  // namespace

PartsBrowser::PartsBrowser(const catalogue::Catalogue& catalogue, QWidget* parent)
    : QDialog(parent),
      model_(new PartsTableModel(catalogue, this)),
      filter_(new PartsFilter(catalogue, this)) {
    setObjectName(QStringLiteral("PartsBrowser"));
    setWindowTitle(QStringLiteral("Parts Catalogue"));
    setModal(false);

    auto* column = new QVBoxLayout(this);
    column->addLayout(BuildCriteria(catalogue));
    auto* tableAndButtons = new QHBoxLayout;
    tableAndButtons->addWidget(BuildTable(), 1);
    tableAndButtons->addLayout(BuildButtons());
    column->addLayout(tableAndButtons, 1);
    column->addLayout(BuildStatusLine());
    ConnectControls();
    Refilter();
    // Every column in sight, and a screenful of rows.
    const int margins = column->contentsMargins().left() + column->contentsMargins().right();
    resize(parts->horizontalHeader()->length() + parts->verticalScrollBar()->sizeHint().width() +
               2 * parts->frameWidth() + margins + tableAndButtons->spacing() +
               useInCodeOne->sizeHint().width(),
           parts->verticalHeader()->defaultSectionSize() * 24);
}

void PartsBrowser::ConnectControls() {
    connect(search, &QLineEdit::textChanged, this, &PartsBrowser::Refilter);
    connect(family, &QComboBox::currentIndexChanged, this, &PartsBrowser::Refilter);
    search->installEventFilter(this);
    // Activation is a double-click, or Enter on the current row.
    connect(parts, &QAbstractItemView::activated, this, &PartsBrowser::ChoosePart);
    connect(parts->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &PartsBrowser::FollowCurrentPart);
    connect(useInCodeOne, &QPushButton::clicked, this,
            [this] { ChoosePart(parts->currentIndex()); });
    connect(details, &QPushButton::clicked, this, [this] {
        if (const QString opn = CurrentOpn(); !opn.isEmpty()) {
            emit DetailsRequested(opn);
        }
    });
    // The same key that opened the browser goes back to its search field.
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, search, [this] {
        search->setFocus(Qt::ShortcutFocusReason);
        search->selectAll();
    });
}

QLayout* PartsBrowser::BuildCriteria(const catalogue::Catalogue& catalogue) {
    search = new QLineEdit(this);
    search->setObjectName(QStringLiteral("search"));
    search->setPlaceholderText(QStringLiteral("OPN, family, core or rating"));
    search->setClearButtonEnabled(true);
    family = new QComboBox(this);
    family->setObjectName(QStringLiteral("family"));
    family->addItem(AllFamilies());
    family->addItems(FamiliesOf(catalogue));

    auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    searchLabel->setBuddy(search);
    auto* familyLabel = new QLabel(QStringLiteral("&Family:"), this);
    familyLabel->setBuddy(family);
    auto* criteria = new QHBoxLayout;
    criteria->addWidget(searchLabel);
    criteria->addWidget(search, 1);
    criteria->addWidget(familyLabel);
    criteria->addWidget(family);
    return criteria;
}

QWidget* PartsBrowser::BuildTable() {
    filter_->setSourceModel(model_);
    filter_->setSortRole(PartsTableModel::SortRole);
    parts = new QTableView(this);
    parts->setObjectName(QStringLiteral("parts"));
    parts->setModel(filter_);
    parts->setSortingEnabled(true);
    parts->sortByColumn(PartsTableModel::Opn, Qt::AscendingOrder);
    parts->setSelectionBehavior(QAbstractItemView::SelectRows);
    parts->setSelectionMode(QAbstractItemView::SingleSelection);
    parts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    parts->verticalHeader()->hide();
    // Rows as tight as a printed parts list.
    parts->verticalHeader()->setDefaultSectionSize(parts->fontMetrics().height() + 6);
    parts->resizeColumnsToContents();
    parts->horizontalHeader()->setStretchLastSection(true);
    return parts;
}

QLayout* PartsBrowser::BuildButtons() {
    const auto newButton = [this](const QString& caption, const QString& name) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        // Enter belongs to the search field and the table, never to a button.
        button->setAutoDefault(false);
        return button;
    };
    useInCodeOne = newButton(QStringLiteral("&Use in Code One"), QStringLiteral("useInCodeOne"));
    details = newButton(QStringLiteral("&Details..."), QStringLiteral("details"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(useInCodeOne);
    buttons->addWidget(details);
    buttons->addStretch(1);
    return buttons;
}

QLayout* PartsBrowser::BuildStatusLine() {
    status = new QLabel(
        QStringLiteral("Double-click a part or press Enter to put it into Code One"), this);
    status->setObjectName(QStringLiteral("status"));
    status->setTextFormat(Qt::PlainText);
    shownCount = new QLabel(this);
    shownCount->setObjectName(QStringLiteral("shownCount"));
    auto* line = new QHBoxLayout;
    line->addWidget(status, 1);
    line->addWidget(shownCount);
    return line;
}

bool PartsBrowser::eventFilter(QObject* watched, QEvent* event) {
    // From the search field, Enter or Down goes on to the parts it found.
    if (watched == search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down) {
            GoToFirstPart();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PartsBrowser::GoToFirstPart() {
    if (filter_->rowCount() == 0) {
        return;
    }
    parts->setFocus(Qt::OtherFocusReason);
    parts->setCurrentIndex(filter_->index(0, 0));
    parts->selectRow(0);
}

void PartsBrowser::FollowCurrentPart() {
    const bool chosen = parts->currentIndex().isValid();
    useInCodeOne->setEnabled(chosen);
    details->setEnabled(chosen);
}

QString PartsBrowser::CurrentOpn() const {
    return parts->currentIndex().data(PartsTableModel::OpnRole).toString();
}

QString PartsBrowser::AllFamilies() {
    return QStringLiteral("All families");
}

void PartsBrowser::Refilter() {
    filter_->SetCriteria(search->text(),
                         family->currentIndex() > 0 ? family->currentText() : QString());
    shownCount->setText(
        QStringLiteral("%1 of %2 parts").arg(filter_->rowCount()).arg(model_->rowCount()));
    FollowCurrentPart();
}

void PartsBrowser::ChoosePart(const QModelIndex& index) {
    if (index.isValid()) {
        const QString opn = index.data(PartsTableModel::OpnRole).toString();
        emit OpnChosen(opn);
        status->setText(opn + QStringLiteral(" put into Code One"));
    }
}

}  // namespace varnel
