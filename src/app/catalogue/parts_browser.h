#pragma once

#include <QDialog>

#include "catalogue/catalogue.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTableView;

namespace varnel {

namespace catalogue {
class PartsTableModel;
}
class PartsFilter;

// Every part of the catalogue in a table that sorts by any column and narrows
// down to a search text and a family. Enter or Down in the search goes to the
// first part shown; choosing a part (double-click, Enter or "Use in Code One")
// offers its OPN for Code One, and the status line says where it went;
// "Details..." asks for the part's facts. Not modal.
class PartsBrowser : public QDialog {
    Q_OBJECT

  public:
    explicit PartsBrowser(const catalogue::Catalogue& catalogue, QWidget* parent = nullptr);

    // The first entry of the family filter, which lets every family through.
    static QString AllFamilies();

    QLineEdit* search = nullptr;
    QComboBox* family = nullptr;
    QTableView* parts = nullptr;
    QPushButton* useInCodeOne = nullptr;
    QPushButton* details = nullptr;
    QLabel* status = nullptr;
    QLabel* shownCount = nullptr;

  signals:
    void OpnChosen(const QString& opn);
    void DetailsRequested(const QString& opn);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLayout* BuildCriteria(const catalogue::Catalogue& catalogue);
    QWidget* BuildTable();
    QLayout* BuildButtons();
    QLayout* BuildStatusLine();
    void ConnectControls();
    void Refilter();
    void GoToFirstPart();
    void FollowCurrentPart();
    void ChoosePart(const QModelIndex& index);
    QString CurrentOpn() const;

    catalogue::PartsTableModel* model_ = nullptr;
    PartsFilter* filter_ = nullptr;
};

}  // namespace varnel
