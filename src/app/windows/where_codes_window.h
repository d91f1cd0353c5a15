#pragma once

#include <QDialog>
#include <QWidget>
#include <array>

#include "decode/sheet.h"

class QLabel;
class QPainter;

namespace varnel {

// A K7 and a K8 processor as seen from above, each printed line of the
// marking labelled with the code box it goes into. Vector art in the
// palette's colours, sized from the font, so it follows a dark scheme and
// screen scaling.
class MarkingsDrawing : public QWidget {
    Q_OBJECT

  public:
    explicit MarkingsDrawing(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Draws both chips into a rectangle of sizeHint() at the origin.
    void Paint(QPainter& painter) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void PaintChip(QPainter& painter, int chip, QPointF origin) const;
    int Unit() const;
};

// "Where are the three codes?": the drawing, one sentence on each code, and
// the note that some chips carry a line Varnel does not need. Built afresh
// for every opening and destroyed when closed.
class frmWhereCodes : public QDialog {
    Q_OBJECT

  public:
    explicit frmWhereCodes(QWidget* parent = nullptr);

    MarkingsDrawing* drawing = nullptr;
    std::array<QLabel*, kCodeBoxCount> lblCodeNote{};
    QLabel* lblExtraLine = nullptr;
};

}  // namespace varnel
