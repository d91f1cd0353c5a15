#pragma once

#include <QDialog>

#include "catalogue/catalogue.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QTableView;

namespace varnel {

namespace catalogue {
class PartsTableModel;
}
class PartsFilter;

// Every part of the catalogue in a table that sorts by any column and narrows
// down to a search text and a family. Choosing a part (double-click or Enter)
// offers its OPN for Code One. Not modal.
class PartsBrowser : public QDialog {
    Q_OBJECT

  public:
    explicit PartsBrowser(const catalogue::Catalogue& catalogue, QWidget* parent = nullptr);

    // The first entry of the family filter, which lets every family through.
    static QString AllFamilies();

    QLineEdit* search = nullptr;
    QComboBox* family = nullptr;
    QTableView* parts = nullptr;
    QLabel* shownCount = nullptr;

  signals:
    void OpnChosen(const QString& opn);

  private:
    QLayout* BuildCriteria(const catalogue::Catalogue& catalogue);
    QWidget* BuildTable();
    void Refilter();
    void ChoosePart(const QModelIndex& index);

    catalogue::PartsTableModel* model_ = nullptr;
    PartsFilter* filter_ = nullptr;
};

}  // namespace varnel
