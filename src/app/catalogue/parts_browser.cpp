#include "app/catalogue/parts_browser.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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
    column->addWidget(BuildTable(), 1);
    shownCount = new QLabel(this);
    shownCount->setObjectName(QStringLiteral("shownCount"));
    column->addWidget(shownCount);

    connect(search, &QLineEdit::textChanged, this, &PartsBrowser::Refilter);
    connect(family, &QComboBox::currentIndexChanged, this, &PartsBrowser::Refilter);
    // Activation is a double-click, or Enter on the current row.
    connect(parts, &QAbstractItemView::activated, this, &PartsBrowser::ChoosePart);
    // The same key that opened the browser goes back to its search field.
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, search, [this] {
        search->setFocus(Qt::ShortcutFocusReason);
        search->selectAll();
    });
    Refilter();
    // Every column in sight, and a screenful of rows.
    const int margins = column->contentsMargins().left() + column->contentsMargins().right();
    resize(parts->horizontalHeader()->length() + parts->verticalScrollBar()->sizeHint().width() +
               2 * parts->frameWidth() + margins,
           parts->verticalHeader()->defaultSectionSize() * 24);
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

QString PartsBrowser::AllFamilies() {
    return QStringLiteral("All families");
}

void PartsBrowser::Refilter() {
    filter_->SetCriteria(search->text(),
                         family->currentIndex() > 0 ? family->currentText() : QString());
    shownCount->setText(
        QStringLiteral("%1 of %2 parts").arg(filter_->rowCount()).arg(model_->rowCount()));
}

void PartsBrowser::ChoosePart(const QModelIndex& index) {
    if (index.isValid()) {
        emit OpnChosen(index.data(PartsTableModel::OpnRole).toString());
    }
}

}  // namespace varnel
