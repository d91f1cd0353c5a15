#pragma once

#include <QDialog>

#include "decode/ports.h"
#include "ui/catalogue_verdict.h"

class QLabel;
class QToolButton;
class QTableWidget;

namespace varnel {

// The catalogue's facts of the part beside what the decode made of its
// marking, one fact a row, each disagreement marked; then how sure the
// catalogue is, its notes and its sources. Not modal: it stays open beside
// the main window and follows each Check.
class PartDetailsWindow : public QDialog {
    Q_OBJECT

  public:
    enum Column { FactColumn, CatalogueColumn, DecodeColumn, MarkColumn };

    explicit PartDetailsWindow(UrlOpener& opener, QWidget* parent = nullptr);

    void ShowFinding(const CatalogueFinding& finding);

    // The texts a fact row carries in its last column.
    static QString Mark(catalogue::Agreement agreement);
    // The background of a row whose fact disagrees, from the palette.
    QColor DifferenceColour() const;

    QLabel* heading = nullptr;  // the OPN and the part's name
    QLabel* summary = nullptr;  // the comparison in one plain sentence
    QLabel* verdict = nullptr;
    QTableWidget* facts = nullptr;
    QLabel* confidence = nullptr;
    QLabel* notes = nullptr;  // folded away behind notesToggle
    QToolButton* notesToggle = nullptr;
    QLabel* sources = nullptr;

  private:
    QWidget* BuildPartBox();
    void BuildFactsTable();
    void BuildNotes();
    void BuildSources();
    void FillFacts(const QList<catalogue::FactRow>& rows);
    void FillSources(const QStringList& urls);

    UrlOpener& opener_;
    QWidget* partBox_ = nullptr;
};

}  // namespace varnel
