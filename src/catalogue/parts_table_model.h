#pragma once

#include <QAbstractTableModel>
#include <array>

#include "catalogue/catalogue.h"

namespace varnel::catalogue {

// Every part of a catalogue as a table, for a browser that sorts and filters it
// through a QSortFilterProxyModel (sort on SortRole; row N is the catalogue's
// part N, which a filter matches with MatchesSearch).
class PartsTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column {
        Opn,
        Family,
        Rating,
        Core,
        Clock,
        Bus,
        L2Cache,
        Voltage,
        Socket,
        Process,
        Confidence,
        ColumnCount
    };
    enum Role {
        SortRole = Qt::UserRole,  // numbers as numbers, texts as texts
        OpnRole,                  // the row's OPN, in any column
    };

    explicit PartsTableModel(const Catalogue& catalogue, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    const Catalogue& catalogue_;
};

// A column of the parts table: its title and a part's cell. The parts
// browser and varnel-decode --find both show these, in this order.
struct PartColumn {
    const char* title;
    QString (*display)(const Part&);
    QVariant (*sortKey)(const Part&);  // null: by the cell's text
};
const std::array<PartColumn, PartsTableModel::ColumnCount>& PartColumns();

}  // namespace varnel::catalogue
