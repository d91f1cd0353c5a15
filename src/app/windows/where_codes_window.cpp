#include "app/windows/where_codes_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "decode/captions.h"

namespace varnel {

namespace {

QString FromView(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// "Code One", without the caption's colon.
QString CodeName(int code) {
    QString name = FromView(kCodeCaptions.at(static_cast<std::size_t>(code)));
    name.chop(1);
    return name;
}

constexpr int kNotNeeded = -1;

// One printed line and the code box it goes into.
struct PrintedLine {
    std::u16string_view text;
    int code;
};

enum class Body { CarrierWithDie, HeatSpreader };

// What each chip looks like and what is printed on it, top line first.
struct ChipPicture {
    std::u16string_view title;
    Body body;
    std::u16string_view brand;
    std::array<PrintedLine, 4> lines;
};

// clang-format off
constexpr std::array<ChipPicture, 2> kChips{{
    {u"K7 (Socket A): on the carrier", Body::CarrierWithDie, u"AMD Athlon XP",
     {{{u"AXDA2500DKV4D", 0}, {u"KQXEB0345MPMW", 1}, {u"Y3121234", 2}, {u"", kNotNeeded}}}},
    {u"K8 (754, 939, 940): on the lid", Body::HeatSpreader, u"AMD Athlon 64",
     {{{u"ADA3200AEP4AX", 0}, {u"CBBHD 0501APAW", 1}, {u"Y5160123", 2},
       {u"DIFFUSED IN USA", kNotNeeded}}}},
}};

// What each code is, as its results' tips tell it.
constexpr std::array<std::u16string_view, kCodeBoxCount> kCodeSentences{
    u"the ordering part number: the family letters and the model number, then a letter or digit "
    u"each for the package, voltage, temperature, cache and bus (AXDA2500DKV4D).",
    u"the stepping letters that tell the revision of the die, the four-digit date code (year and "
    u"week) and the letter of the production batch (KQXEB0345MPMW).",
    u"the line that ends in the batch production number, the chip's number within its batch "
    u"(Y3121234).",
};
// clang-format on

// Sizes in units of the font's line height, so the drawing scales with it.
constexpr double kChipSide = 12.0;
constexpr double kTitleHeight = 1.8;
constexpr double kLabelGap = 1.2;
constexpr double kPanelGap = 2.0;
constexpr double kLineHeight = 1.3;

QColor Mix(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * share),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * share),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * share));
}

QFont MarkingFont(const QFont& base) {
    QFont font = base;
    font.setStyleHint(QFont::TypeWriter);
    font.setFamily(QStringLiteral("monospace"));
    return font;
}

QString LabelOf(int code) {
    return code == kNotNeeded ? QStringLiteral("not needed") : CodeName(code);
}

int LabelColumnWidth(const QFontMetrics& bold) {
    int widest = 0;
    for (int code = kNotNeeded; code < kCodeBoxCount; ++code) {
        widest = std::max(widest, bold.horizontalAdvance(LabelOf(code)));
    }
    return widest;
}

// The carrier of a Socket A chip: the die in the middle, a rubber pad at each
// corner, and the pin-one corner cut off.
void PaintCarrier(QPainter& painter, const QRectF& body, const QPalette& palette, double unit) {
    const QColor carrier = Mix(palette.color(QPalette::Window), palette.color(QPalette::Mid), 0.45);
    QPainterPath outline;
    outline.moveTo(body.topLeft());
    outline.lineTo(body.topRight());
    outline.lineTo(body.bottomRight());
    outline.lineTo(body.left() + unit, body.bottom());
    outline.lineTo(body.left(), body.bottom() - unit);
    outline.closeSubpath();
    painter.setPen(QPen(palette.color(QPalette::Dark), 1.0));
    painter.setBrush(carrier);
    painter.drawPath(outline);
    const double side = body.width();
    painter.setBrush(palette.color(QPalette::Dark));
    painter.drawRect(
        QRectF(body.left() + side * 0.38, body.top() + side * 0.08, side * 0.24, side * 0.26));
    painter.setBrush(Mix(carrier, palette.color(QPalette::Shadow), 0.25));
    for (const double x : {0.09, 0.91}) {
        for (const double y : {0.09, 0.91}) {
            painter.drawEllipse(QPointF(body.left() + side * x, body.top() + side * y), unit * 0.35,
                                unit * 0.35);
        }
    }
}

// The substrate of a K8 chip and the metal lid over its die.
void PaintHeatSpreader(QPainter& painter, const QRectF& body, const QPalette& palette,
                       double unit) {
    painter.setPen(QPen(palette.color(QPalette::Dark), 1.0));
    painter.setBrush(Mix(palette.color(QPalette::Window), palette.color(QPalette::Mid), 0.45));
    painter.drawRect(body);
    const QRectF lid = body.adjusted(unit * 0.8, unit * 0.8, -unit * 0.8, -unit * 0.8);
    painter.setBrush(Mix(palette.color(QPalette::Button), palette.color(QPalette::Light), 0.5));
    painter.drawRoundedRect(lid, unit * 0.6, unit * 0.6);
}

// How the lines of a marking are drawn: fonts, colours, the unit and where
// the labels begin.
struct LineStyle {
    QFont plain;
    QFont bold;
    QFont marking;
    QPalette colours;
    QColor ink;
    double unit;
    double labelLeft;
};

// One printed line across the chip's row, a leader out to its label beside
// the chip, and the label; a line Varnel does not need in the quiet colour.
void PaintPrintedLine(QPainter& painter, const PrintedLine& line, const QRectF& row,
                      const LineStyle& style) {
    const bool needed = line.code != kNotNeeded;
    const QColor quiet = style.colours.color(QPalette::PlaceholderText);
    const QString text = FromView(line.text);
    const double middle = row.center().y();
    const double textRight =
        row.center().x() + QFontMetricsF(style.marking).horizontalAdvance(text) / 2;
    painter.setFont(style.marking);
    painter.setPen(needed ? style.ink : quiet);
    painter.drawText(row, Qt::AlignCenter, text);
    const QColor leader = needed ? style.colours.color(QPalette::Highlight) : quiet;
    painter.setPen(QPen(leader, std::max(1.0, style.unit / 10)));
    painter.drawLine(QPointF(textRight + style.unit * 0.3, middle),
                     QPointF(style.labelLeft - style.unit * 0.3, middle));
    painter.setFont(needed ? style.bold : style.plain);
    painter.setPen(needed ? style.colours.color(QPalette::WindowText) : quiet);
    painter.drawText(QRectF(style.labelLeft, row.top(), style.unit * 10, row.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, LabelOf(line.code));
}

}  // namespace

MarkingsDrawing::MarkingsDrawing(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("drawing"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int MarkingsDrawing::Unit() const {
    return fontMetrics().height();
}

QSize MarkingsDrawing::sizeHint() const {
    QFont bold = font();
    bold.setBold(true);
    const double unit = Unit();
    const double panel = unit * (kChipSide + kLabelGap) + LabelColumnWidth(QFontMetrics(bold));
    return QSize(static_cast<int>(2 * panel + unit * kPanelGap) + 1,
                 static_cast<int>(unit * (kTitleHeight + kChipSide)) + 1);
}

void MarkingsDrawing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter);
}

void MarkingsDrawing::Paint(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    QFont bold = font();
    bold.setBold(true);
    const double unit = Unit();
    const double panel = unit * (kChipSide + kLabelGap) + LabelColumnWidth(QFontMetrics(bold));
    for (int chip = 0; chip < static_cast<int>(kChips.size()); ++chip) {
        PaintChip(painter, chip, QPointF(chip * (panel + unit * kPanelGap), 0.0));
    }
}

void MarkingsDrawing::PaintChip(QPainter& painter, int chip, QPointF origin) const {
    const ChipPicture& picture = kChips.at(static_cast<std::size_t>(chip));
    const double unit = Unit();
    const QPalette& colours = palette();
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(colours.color(QPalette::WindowText));
    painter.drawText(QRectF(origin, QSizeF(unit * (kChipSide + 8), unit * kTitleHeight)),
                     Qt::AlignLeft | Qt::AlignTop, FromView(picture.title));

    const QRectF body(origin + QPointF(0, unit * kTitleHeight), QSizeF(unit, unit) * kChipSide);
    const bool lid = picture.body == Body::HeatSpreader;
    lid ? PaintHeatSpreader(painter, body, colours, unit)
        : PaintCarrier(painter, body, colours, unit);
    const QColor ink = colours.color(lid ? QPalette::ButtonText : QPalette::WindowText);

    // The brand, then the lines of the marking, each with a leader out to
    // its label beside the chip.
    double y = body.top() + body.height() * (lid ? 0.2 : 0.38);
    painter.setFont(bold);
    painter.setPen(ink);
    painter.drawText(QRectF(body.left(), y, body.width(), unit * kLineHeight), Qt::AlignCenter,
                     FromView(picture.brand));
    const LineStyle style{
        font(), bold, MarkingFont(font()), colours, ink, unit, body.right() + unit * kLabelGap};
    for (const PrintedLine& line : picture.lines) {
        if (!line.text.empty()) {
            y += unit * kLineHeight;
            PaintPrintedLine(painter, line,
                             QRectF(body.left(), y, body.width(), unit * kLineHeight), style);
        }
    }
}

frmWhereCodes::frmWhereCodes(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmWhereCodes"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Where are the three codes?"));
    auto* column = new QVBoxLayout(this);
    drawing = new MarkingsDrawing(this);
    column->addWidget(drawing, 0, Qt::AlignHCenter);
    column->addSpacing(fontMetrics().height() / 2);
    // The notes wrap at the drawing's width.
    const int width = drawing->sizeHint().width();
    for (int code = 0; code < kCodeBoxCount; ++code) {
        const QString sentence = FromView(kCodeSentences.at(static_cast<std::size_t>(code)));
        QLabel*& note = lblCodeNote.at(static_cast<std::size_t>(code));
        note = new QLabel(QStringLiteral("<b>") + CodeName(code).toHtmlEscaped() +
                              QStringLiteral("</b>: ") + sentence.toHtmlEscaped(),
                          this);
        note->setObjectName(QStringLiteral("lblCodeNote_%1").arg(code));
        note->setWordWrap(true);
        note->setFixedWidth(width);
        column->addWidget(note);
    }
    lblExtraLine = new QLabel(
        QStringLiteral("Some chips carry a further line, such as where they were made or "
                       "assembled; Varnel does not need it. Type each code as it is printed: "
                       "spaces are dropped."),
        this);
    lblExtraLine->setObjectName(QStringLiteral("lblExtraLine"));
    lblExtraLine->setWordWrap(true);
    lblExtraLine->setFixedWidth(width);
    column->addWidget(lblExtraLine);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace varnel
