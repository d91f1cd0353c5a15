#pragma once

#include <QAbstractTableModel>

#include "catalogue/catalogue.h"

namespace varnel::catalogue {

// Every part of a catalogue as a table, for a browser that sorts and filters it
// through a QSortFilterProxyModel (sort on SortRole; row N is the catalogue's
// part N, which a filter matches with MatchesSearch).
class PartsTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { Opn, Family, Rating, Core, Clock, L2Cache, Socket, Process, Confidence };
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

}  // namespace varnel::catalogue
