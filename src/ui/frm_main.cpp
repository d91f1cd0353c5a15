#include "ui/frm_main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "decode/captions.h"
#include "decode/program.h"
#include "decode/sheet.h"
#include "ui/catalogue_verdict.h"
#include "ui/message_box_prompter.h"

namespace varnel {

namespace {

QString FromCaption(std::u16string_view caption) {
    return QString::fromUtf16(caption.data(), static_cast<qsizetype>(caption.size()));
}

// Labels show what the decoding wrote, pieces of the typed codes among it;
// a code must never be taken for markup.
QLabel* NewPlainLabel(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* NewButton(const QString& caption, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // No default button: Enter and Escape in a code box do nothing of their own.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QString IndexedName(const char* name, std::size_t index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// Row spacing in the results frame: tight, like a printed data sheet.
constexpr int kRowSpacing = 2;

}  // namespace

frmMain::frmMain(UrlOpener& opener, Prompter* prompter, QWidget* parent)
    : QMainWindow(parent),
      ownPrompter_(prompter != nullptr ? nullptr : std::make_unique<MessageBoxPrompter>(this)),
      prompter_(prompter != nullptr ? *prompter : *ownPrompter_),
      renderingPrompter_(*this),
      engine_(renderingPrompter_, opener),
      shown_(WaitingSheet()) {
    setObjectName(QStringLiteral("frmMain"));
    // A fixed window with a close box only: nothing in it grows.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(ApplicationTitle() + QStringLiteral(" - v") + GetVersionString());

    CreateControls();

    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildResultsFrame(), 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildCodeEntryFrame());
    catalogueVerdict = new CatalogueVerdict(this);
    right->addWidget(catalogueVerdict, 1);
    connect(catalogueVerdict, &CatalogueVerdict::OpnChosen, this,
            [this](const QString& opn) { SetCodeText(0, opn); });
    columns->addLayout(right);

    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* framesHolder = new QWidget(central);
    framesHolder->setLayout(columns);
    columns->setContentsMargins(4, 2, 4, 4);
    outer->addWidget(framesHolder);
    outer->addWidget(BuildNoticeStrip());
    setCentralWidget(central);

    // The window's size follows its contents, the menu bar included, and the
    // user cannot change it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    SetTabOrder();
    txtCode[0]->setFocus(Qt::OtherFocusReason);

    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(CmdSaveHTML, &QPushButton::clicked, this, &frmMain::CmdSaveHTML_Click);
}

frmMain::~frmMain() = default;

void frmMain::CreateControls() {
    Frame[0] = new QGroupBox(FromCaption(kWaitingCaption), this);
    Frame[1] = new QGroupBox(QStringLiteral("[ Enter information here ]"), this);
    for (std::size_t i = 0; i < Frame.size(); ++i) {
        Frame[i]->setObjectName(IndexedName("Frame", i));
    }

    for (std::size_t i = 0; i < lblInfo.size(); ++i) {
        lblInfo[i] =
            NewPlainLabel(FromCaption(kResultCaptions[i]), IndexedName("lblInfo", i), Frame[0]);
        lblResult[i] = NewPlainLabel(QString(), IndexedName("lblResult", i), Frame[0]);
        // Results are for reading and copying, never for editing.
        lblResult[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lblResult[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        lblResult[i]->setLineWidth(1);
        lblResult[i]->setForegroundRole(QPalette::WindowText);
    }
    CmdSaveHTML =
        NewButton(QStringLiteral("Generate HTML file"), QStringLiteral("CmdSaveHTML"), Frame[0]);

    for (std::size_t i = 0; i < txtCode.size(); ++i) {
        lblCode[i] =
            NewPlainLabel(FromCaption(kCodeCaptions[i]), IndexedName("lblCode", i), Frame[1]);
        txtCode[i] = new CodeBox(Frame[1]);
        txtCode[i]->setObjectName(IndexedName("txtCode", i));
        lblCode[i]->setBuddy(txtCode[i]);
    }
    // Code One leads to Code Two and Code Two to Code Three; Code Three is the
    // last line of a marking and keeps the focus.
    txtCode[0]->SetNextBox(txtCode[1]);
    txtCode[1]->SetNextBox(txtCode[2]);
    Command2 = NewButton(QStringLiteral("Check"), QStringLiteral("Command2"), Frame[1]);

    Command1 = NewButton(QStringLiteral("Command1"), QStringLiteral("Command1"), this);
    // A leftover without a purpose of its own for the user: wired and in the
    // tab order, but not shown.
    Command1->setVisible(false);
    Command3 = NewButton(QStringLiteral("Swap"), QStringLiteral("Command3"), this);
    lblCopyright = NewPlainLabel(ApplicationTitle() + QStringLiteral(" ") + GetVersionString() +
                                     QStringLiteral(" - MIT licence, without warranty"),
                                 QStringLiteral("lblCopyright"), this);
}

int frmMain::ScaledPixels(int pixelsAt96Dpi) const {
    return pixelsAt96Dpi * logicalDpiX() / 96;
}

QWidget* frmMain::BuildResultsFrame() {
    auto* grid = new QGridLayout(Frame[0]);
    grid->setVerticalSpacing(kRowSpacing);
    grid->setHorizontalSpacing(6);
    // Wide enough for the longest texts a slot receives.
    const int valueWidth = std::max(
        ScaledPixels(185),
        lblResult[0]->fontMetrics().horizontalAdvance(QStringLiteral("(Currently Disabled)")) + 12);
    for (int i = 0; i < kFieldCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        // A fixed width: a long value must not make the window jump in size.
        lblResult[slot]->setFixedWidth(valueWidth);
        grid->addWidget(lblInfo[slot], i, 0);
        grid->addWidget(lblResult[slot], i, 1);
    }
    grid->addWidget(CmdSaveHTML, kFieldCount, 1, Qt::AlignRight);
    grid->setRowMinimumHeight(kFieldCount, CmdSaveHTML->sizeHint().height() + 8);
    grid->setAlignment(CmdSaveHTML, Qt::AlignRight | Qt::AlignBottom);
    return Frame[0];
}

QWidget* frmMain::BuildCodeEntryFrame() {
    auto* column = new QVBoxLayout(Frame[1]);
    column->setSpacing(2);
    // Room for a full code of wide letters.
    const int boxWidth =
        std::max(ScaledPixels(110),
                 txtCode[0]->fontMetrics().horizontalAdvance(QStringLiteral("KQXEB0345MPMW")) + 16);
    for (std::size_t i = 0; i < txtCode.size(); ++i) {
        txtCode[i]->setFixedWidth(boxWidth);
        column->addWidget(lblCode[i]);
        auto* indented = new QHBoxLayout;
        indented->addSpacing(ScaledPixels(8));
        indented->addWidget(txtCode[i]);
        indented->addStretch(1);
        column->addLayout(indented);
        column->addSpacing(i + 1 < txtCode.size() ? 6 : 8);
    }
    column->addWidget(Command2, 0, Qt::AlignRight);
    return Frame[1];
}

QWidget* frmMain::BuildNoticeStrip() {
    // One white band across the window, the notice centred in it.
    auto* strip = new QWidget(this);
    strip->setAutoFillBackground(true);
    QPalette white = strip->palette();
    white.setColor(QPalette::Window, Qt::white);
    strip->setPalette(white);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);
    row->addWidget(Command1);
    row->addWidget(Command3);

    lblCopyright->setAlignment(Qt::AlignCenter);
    lblCopyright->setAutoFillBackground(true);
    QPalette palette = lblCopyright->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, QColor(64, 64, 64));
    lblCopyright->setPalette(palette);
    QFont font = lblCopyright->font();
    if (QFontDatabase::families().contains(QStringLiteral("Verdana"))) {
        font.setFamily(QStringLiteral("Verdana"));
    }
    font.setPointSizeF(8.25);
    lblCopyright->setFont(font);
    lblCopyright->setMinimumHeight(Command3->sizeHint().height());
    row->addWidget(lblCopyright, 1);
    return strip;
}

void frmMain::SetTabOrder() {
    const std::array<QWidget*, 7> order{txtCode[0], txtCode[1], txtCode[2], CmdSaveHTML,
                                        Command2,   Command1,   Command3};
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen()) {
            const QRect available = screen->availableGeometry();
            move(available.center() - rect().center());
        }
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) {
        emit Closed();
    }
}

Sheet frmMain::SheetToExport() const {
    // The results on show beside the codes they came from, even when a box
    // was edited since; before any run, or after a stop that blanked every
    // value, the boxes as they are.
    Sheet sheet = shown_;
    if (AllValuesBlank(shown_)) {
        sheet.codes = CurrentCodes();
    }
    return sheet;
}

Codes frmMain::CurrentCodes() const {
    return {txtCode[0]->text(), txtCode[1]->text(), txtCode[2]->text()};
}

QString frmMain::CodeText(int box) const {
    return txtCode.at(static_cast<std::size_t>(box))->text();
}

void frmMain::SetCodeText(int box, const QString& text) {
    txtCode.at(static_cast<std::size_t>(box))->setText(text);
}

void frmMain::Render(const Sheet& sheet) {
    for (std::size_t box = 0; box < txtCode.size(); ++box) {
        if (txtCode[box]->text() != sheet.codes[box]) {
            txtCode[box]->setText(sheet.codes[box]);
        }
    }
    for (std::size_t slot = 0; slot < lblResult.size(); ++slot) {
        lblResult[slot]->setText(sheet.values[slot].ToQString());
    }
    Frame[0]->setTitle(sheet.caption);
}

void frmMain::Command1_Click() {
    Codes codes = CurrentCodes();
    DecodeEngine::FixCode2and3(codes);
    SetCodeText(1, codes[1]);
    SetCodeText(2, codes[2]);
}

void frmMain::Command2_Click() {
    // A refused Check starts no run: the last run's results stay on show.
    if (engine_.Check(CurrentCodes())) {
        shown_ = engine_.Results();
        Render(shown_);
        catalogueVerdict->ShowVerdict(shown_);
    }
}

void frmMain::Command3_Click() {
    const QString codeTwo = CodeText(1);
    SetCodeText(1, CodeText(2));
    SetCodeText(2, codeTwo);
}

void frmMain::CmdSaveHTML_Click() {
    report::ExportHtmlTable(SheetToExport(), prompter_, QCoreApplication::applicationDirPath());
}

MessageAnswer frmMain::RenderingPrompter::Show(const Message& message) {
    // The user reads a message beside what the run has shown so far; the
    // catalogue's verdict on the last run no longer belongs to it.
    if (window_.engine_.Running()) {
        window_.Render(window_.engine_.Results());
        window_.catalogueVerdict->Clear();
    }
    return window_.prompter_.Show(message);
}

}  // namespace varnel
