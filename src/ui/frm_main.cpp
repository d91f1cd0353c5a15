#include "ui/frm_main.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

#include "catalogue/catalogue.h"
#include "catalogue/verdict.h"
#include "decode/captions.h"
#include "decode/program.h"
#include "decode/sheet.h"
#include "decode/tables.h"
#include "ui/catalogue_verdict.h"
#include "ui/message_box_prompter.h"
#include "ui/stop_focus.h"

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

// A caption with the access key marked before the first occurrence of its
// letter: the caption reads the same, the letter is underlined.
QString WithAccessKey(std::u16string_view caption, char16_t letter) {
    QString marked = FromCaption(caption);
    marked.insert(marked.indexOf(QChar(letter)), QLatin1Char('&'));
    return marked;
}

// The letters that Alt takes to the code boxes, through their captions. The
// menu bar has F, P, T and H; the buttons C, S and G.
constexpr std::array<char16_t, kCodeBoxCount> kCodeAccessLetters{u'O', u'w', u'r'};

// What each empty box shows: a code as it is printed on an Athlon XP 2500+.
constexpr std::array<std::u16string_view, kCodeBoxCount> kCodeExamples{
    u"e.g. AXDA2500DKV4D", u"e.g. KQXEB0345MPMW", u"e.g. Y3121234"};

// A caption's tip: the note broken into lines of about sixty characters, as
// a tip does not wrap plain text by itself.
QString NoteTip(std::u16string_view note) {
    constexpr qsizetype kLineLength = 60;
    QString tip;
    qsizetype lineStart = 0;
    for (const QString& word : FromCaption(note).split(QLatin1Char(' '))) {
        const bool full = tip.size() - lineStart + 1 + word.size() > kLineLength;
        if (!tip.isEmpty()) {
            tip.append(full ? QLatin1Char('\n') : QLatin1Char(' '));
            lineStart = full ? tip.size() : lineStart;
        }
        tip.append(word);
    }
    return tip;
}

void SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

// Row spacing in the results frame: tight, like a printed data sheet.
constexpr int kRowSpacing = 2;

// The first row of each group of results (identity; package and electrical;
// caches and clock; stepping and manufacture; process and power): a little
// space above each group after the first.
constexpr std::array<Field, 5> kGroupStarts{Field::Core, Field::PackageType, Field::L1Cache,
                                            Field::SteppingCode, Field::ProcessTechnology};

bool StartsGroup(int slot) {
    return std::any_of(kGroupStarts.begin() + 1, kGroupStarts.end(), [slot](Field field) {
        return Index(field) == static_cast<std::size_t>(slot);
    });
}

// The longest texts a value can show: what the engine's tables name
// (packages, cores), its fixed texts, and a whole code, the longest piece of
// a marking a value repeats.
QStringList LongestValueTexts() {
    using namespace tables;
    QStringList texts{QStringLiteral("(Currently Disabled)"), QStringLiteral("(Variable)"),
                      QStringLiteral("KQXEB0345MPMW")};
    for (const auto& rows : {std::span<const LetterRow<PackageRow>>(kK7Package),
                             std::span<const LetterRow<PackageRow>>(kK8Package)}) {
        for (const LetterRow<PackageRow>& row : rows) {
            texts.append(FromCaption(row.value.name));
        }
    }
    for (const auto& rules :
         {std::span<const CoreRule>(kCoreRulesA), std::span<const CoreRule>(kCoreRulesB)}) {
        for (const CoreRule& rule : rules) {
            for (const CoreOutcome& outcome : rule.then) {
                texts.append(FromCaption(outcome.core));
            }
        }
    }
    return texts;
}

// The family: the first thing to read, bold and larger than the values.
QFont CaptionFont(QFont font) {
    font.setBold(true);
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * 1.25);
    } else {
        font.setPixelSize(font.pixelSize() * 5 / 4);
    }
    return font;
}

// A value that cannot fit its box shows the start of it and the whole text
// as a tip; the label's tip keeps the whole text for copying.
void ShowValue(QLabel& label, const QString& text) {
    // A framed label indents its text by half an x.
    const QFontMetrics metrics = label.fontMetrics();
    const int room = label.contentsRect().width() - metrics.horizontalAdvance(u'x') / 2;
    const bool fits = metrics.horizontalAdvance(text) <= room;
    label.setText(fits ? text : metrics.elidedText(text, Qt::ElideRight, room));
    label.setToolTip(fits ? QString() : text);
}

QString WholeValue(const QLabel& label) {
    return label.toolTip().isEmpty() ? label.text() : label.toolTip();
}

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
    ArrangeControls();

    // The window's size follows its contents, the menu bar included, and the
    // user cannot change it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    SetTabOrder();
    txtCode[0]->setFocus(Qt::OtherFocusReason);

    CreateCopyActions();
    ConnectControls();
    askExportPath = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Export HTML As"), suggested,
                                            QStringLiteral("HTML files (*.htm *.html)"));
    };
}

void frmMain::ArrangeControls() {
    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildResultsFrame(), 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildCodeEntryFrame());
    catalogueVerdict = new CatalogueVerdict(this);
    right->addWidget(catalogueVerdict, 1);
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
}

void frmMain::ConnectControls() {
    connect(catalogueVerdict, &CatalogueVerdict::OpnChosen, this, &frmMain::UseNearOpn);
    connect(Frame[0], &QWidget::customContextMenuRequested, this, &frmMain::ShowResultsMenu);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(CmdSaveHTML, &QPushButton::clicked, this, &frmMain::CmdSaveHTML_Click);
    for (CodeBox* box : txtCode) {
        connect(box, &CodeBox::CutChanged, this, &frmMain::ShowPasteNote);
        connect(box, &QLineEdit::textChanged, this, &frmMain::FollowEdit);
    }
}

frmMain::~frmMain() = default;

void frmMain::CreateControls() {
    Frame[0] = new QGroupBox(FromCaption(kWaitingCaption), this);
    Frame[1] = new QGroupBox(QStringLiteral("[ Enter information here ]"), this);
    for (std::size_t i = 0; i < Frame.size(); ++i) {
        Frame[i]->setObjectName(IndexedName("Frame", i));
    }

    CreateResultRows();
    CmdSaveHTML = NewButton(WithAccessKey(u"Generate HTML file", u'G'),
                            QStringLiteral("CmdSaveHTML"), Frame[0]);
    CreateCodeBoxes();
    Command2 = NewButton(WithAccessKey(u"Check", u'C'), QStringLiteral("Command2"), Frame[1]);

    Command1 = NewButton(QStringLiteral("Command1"), QStringLiteral("Command1"), this);
    // Puts Codes Two and Three back in their boxes, as Check does by itself
    // before every run: wired and in the tab order, but not shown, since a
    // user never needs to press it.
    Command1->setVisible(false);
    Command3 = NewButton(WithAccessKey(u"Swap", u'S'), QStringLiteral("Command3"), this);
    lblCopyright = NewPlainLabel(ApplicationTitle() + QStringLiteral(" ") + GetVersionString() +
                                     QStringLiteral(" - MIT licence, without warranty"),
                                 QStringLiteral("lblCopyright"), this);
}

void frmMain::CreateResultRows() {
    for (std::size_t i = 0; i < lblInfo.size(); ++i) {
        lblInfo[i] =
            NewPlainLabel(FromCaption(kFields[i].caption), IndexedName("lblInfo", i), Frame[0]);
        lblResult[i] = NewPlainLabel(QString(), IndexedName("lblResult", i), Frame[0]);
        // Results are for reading and copying, never for editing.
        lblResult[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lblResult[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        lblResult[i]->setLineWidth(1);
        lblResult[i]->setForegroundRole(QPalette::WindowText);
        lblInfo[i]->setToolTip(NoteTip(kFields[i].note));
        lblMark[i] = NewPlainLabel(QString(), IndexedName("lblMark", i), Frame[0]);
        lblMark[i]->setAlignment(Qt::AlignCenter);
        lblMark[i]->setContextMenuPolicy(Qt::NoContextMenu);
        // A right click on a row opens the results' menu of the frame.
        lblInfo[i]->setContextMenuPolicy(Qt::NoContextMenu);
        lblResult[i]->setContextMenuPolicy(Qt::NoContextMenu);
    }
    Frame[0]->setContextMenuPolicy(Qt::CustomContextMenu);
    lblStale = NewPlainLabel(QString(), QStringLiteral("lblStale"), Frame[0]);
    lblStale->setWordWrap(true);
    lblStale->setVisible(false);
}

void frmMain::CreateCodeBoxes() {
    for (std::size_t i = 0; i < txtCode.size(); ++i) {
        lblCode[i] = NewPlainLabel(WithAccessKey(kCodeCaptions[i], kCodeAccessLetters[i]),
                                   IndexedName("lblCode", i), Frame[1]);
        txtCode[i] = new CodeBox(Frame[1]);
        txtCode[i]->setObjectName(IndexedName("txtCode", i));
        txtCode[i]->setPlaceholderText(FromCaption(kCodeExamples[i]));
        lblCode[i]->setBuddy(txtCode[i]);
    }
    // Code One leads to Code Two and Code Two to Code Three; Code Three is the
    // last line of a marking and keeps the focus.
    txtCode[0]->SetNextBox(txtCode[1]);
    txtCode[1]->SetNextBox(txtCode[2]);
    // A pasted code cut to fit its box is said beside the boxes: varnel-decode
    // refuses such a code, and the window must not keep silent about it.
    lblPasteNote = NewPlainLabel(QString(), QStringLiteral("lblPasteNote"), Frame[1]);
    lblPasteNote->setWordWrap(true);
    lblPasteNote->setVisible(false);
}

void frmMain::ShowPasteNote() {
    QStringList notes;
    for (std::size_t box = 0; box < txtCode.size(); ++box) {
        if (const CodeBox::Cut cut = txtCode[box]->LastCut(); cut.pasted > 0) {
            notes.append(QStringLiteral("%1: %2 of the %3 characters pasted fit in the box.")
                             .arg(FromCaption(kCodeCaptions[box]).chopped(1))
                             .arg(cut.kept)
                             .arg(cut.pasted));
        }
    }
    lblPasteNote->setText(notes.join(u'\n'));
    lblPasteNote->setVisible(!notes.isEmpty());
}

int frmMain::ScaledPixels(int pixelsAt96Dpi) const {
    return pixelsAt96Dpi * logicalDpiX() / 96;
}

int frmMain::ValueColumnWidth() const {
    // Wide enough, at the font in use, for the longest text a slot receives;
    // fixed, so that a long value does not make the window jump in size.
    const QFontMetrics metrics = fontMetrics();
    int widest = 0;
    for (const QString& text : LongestValueTexts()) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    // The frame on both sides, the indent of half an x and as much again.
    return widest + 2 * lblResult[0]->frameWidth() + metrics.horizontalAdvance(u'x');
}

QWidget* frmMain::BuildResultsFrame() {
    // The family in the frame's caption stands out; the rows keep the
    // window's own font, set in full so that they do not take the caption's.
    QFont rowFont = font();
    rowFont.setResolveMask(QFont::AllPropertiesResolved);
    Frame[0]->setFont(CaptionFont(rowFont));
    auto* grid = new QGridLayout(Frame[0]);
    grid->setVerticalSpacing(kRowSpacing);
    grid->setHorizontalSpacing(6);
    grid->setColumnMinimumWidth(2, 0);
    const int valueWidth = ValueColumnWidth();
    const int groupGap = QFontMetrics(rowFont).height() / 2;
    int gridRow = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        if (StartsGroup(i)) {
            grid->setRowMinimumHeight(gridRow++, groupGap);
        }
        AddResultRow(*grid, gridRow++, i, rowFont, valueWidth);
    }
    CmdSaveHTML->setFont(rowFont);
    lblStale->setFont(rowFont);
    grid->addWidget(lblStale, gridRow, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(CmdSaveHTML, gridRow, 1, 1, 2, Qt::AlignRight);
    grid->setRowMinimumHeight(gridRow, CmdSaveHTML->sizeHint().height() + 8);
    grid->setAlignment(CmdSaveHTML, Qt::AlignRight | Qt::AlignBottom);
    return Frame[0];
}

void frmMain::AddResultRow(QGridLayout& grid, int gridRow, int slot, const QFont& rowFont,
                           int valueWidth) {
    QLabel* caption = lblInfo.at(static_cast<std::size_t>(slot));
    QLabel* value = lblResult.at(static_cast<std::size_t>(slot));
    caption->setFont(rowFont);
    value->setFont(rowFont);
    value->setFixedWidth(valueWidth);
    QLabel* mark = lblMark.at(static_cast<std::size_t>(slot));
    mark->setFont(rowFont);
    // As wide as the widest mark and no wider: the window grows by that alone.
    const QFontMetrics metrics(rowFont);
    mark->setFixedWidth(
        std::max(metrics.horizontalAdvance(QChar(0x2260)), metrics.horizontalAdvance(u'?')) +
        metrics.horizontalAdvance(u' '));
    grid.addWidget(caption, gridRow, 0);
    grid.addWidget(value, gridRow, 1);
    grid.addWidget(mark, gridRow, 2);
}

QWidget* frmMain::BuildCodeEntryFrame() {
    auto* column = new QVBoxLayout(Frame[1]);
    column->setSpacing(2);
    // Room for a full code of wide letters and a caret, and for the longest
    // example within the box's own margins.
    const QFontMetrics metrics = txtCode[0]->fontMetrics();
    int exampleWidth = 0;
    for (const std::u16string_view example : kCodeExamples) {
        exampleWidth = std::max(exampleWidth, metrics.horizontalAdvance(FromCaption(example)));
    }
    const int boxWidth = std::max({ScaledPixels(110),
                                   metrics.horizontalAdvance(QStringLiteral("KQXEB0345MPMW")) + 16,
                                   exampleWidth + 12});
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
    lblPasteNote->setFixedWidth(boxWidth + ScaledPixels(8));
    column->addWidget(lblPasteNote);
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

void frmMain::CreateCopyActions() {
    for (std::size_t i = 0; i < mnuCopy.size(); ++i) {
        const ResultsCopy& copy = kResultsCopies[i];
        mnuCopy[i] = new QAction(QString::fromUtf16(copy.caption), this);
        mnuCopy[i]->setObjectName(IndexedName("mnuCopy", i));
        if (copy.shortcut.key() != Qt::Key_unknown) {
            mnuCopy[i]->setShortcut(QKeySequence(copy.shortcut));
            // The values take no focus: the shortcut works from any control.
            addAction(mnuCopy[i]);
        }
        connect(mnuCopy[i], &QAction::triggered, this, [this, write = copy.write] {
            const Sheet sheet = SheetToCopy();
            SetClipboardText(write(sheet, CompareWithCatalogue(sheet)));
        });
    }
}

std::unique_ptr<QMenu> frmMain::NewResultsMenu(std::optional<int> slot) {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("mnuResults"));
    const QString value =
        slot ? WholeValue(*lblResult.at(static_cast<std::size_t>(*slot))) : QString();
    QAction* copyValue = menu->addAction(QStringLiteral("Copy &value"));
    copyValue->setEnabled(!value.isEmpty());
    connect(copyValue, &QAction::triggered, this, [value] { SetClipboardText(value); });
    for (std::size_t i = 0; i < mnuCopy.size(); ++i) {
        if (i == 1) {
            menu->addSeparator();  // the whole sheet as text above, in other formats below
        }
        menu->addAction(mnuCopy[i]);
    }
    return menu;
}

void frmMain::ShowResultsMenu(const QPoint& framePosition) {
    // The row under the pointer, by its caption or its value.
    const QWidget* under = Frame[0]->childAt(framePosition);
    std::optional<int> slot;
    for (std::size_t i = 0; i < lblResult.size(); ++i) {
        if (under != nullptr && (under == lblResult[i] || under == lblInfo[i])) {
            slot = static_cast<int>(i);
        }
    }
    NewResultsMenu(slot)->exec(Frame[0]->mapToGlobal(framePosition));
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

bool frmMain::HasRun() const {
    // A run, even one that stopped, keeps the codes it read.
    return std::any_of(shown_.codes.begin(), shown_.codes.end(),
                       [](const QString& code) { return !code.isEmpty(); });
}

Sheet frmMain::SheetToCopy() const {
    // A copy pairs the results, messages and catalogue entry of a run with
    // the codes that run read, even after a stop: codes typed since were
    // never checked. Before any run there are only the boxes.
    const bool ran = HasRun();
    return ran ? shown_ : SheetToExport();
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
    rendering_ = true;
    for (std::size_t box = 0; box < txtCode.size(); ++box) {
        if (txtCode[box]->text() != sheet.codes[box]) {
            txtCode[box]->setText(sheet.codes[box]);
        }
    }
    rendering_ = false;
    for (std::size_t slot = 0; slot < lblResult.size(); ++slot) {
        ShowValue(*lblResult[slot], sheet.values[slot].ToQString());
    }
    Frame[0]->setTitle(sheet.caption);
}

void frmMain::ShowMarks(const Sheet& sheet, const catalogue::Comparison& comparison) {
    const QColor tint = WarningTint(palette());
    for (const FieldInfo& info : kFields) {
        QLabel& mark = *lblMark[Index(info.field)];
        const catalogue::Agreement agreement = comparison.Of(info.field);
        const bool differs = agreement == catalogue::Agreement::Differs;
        const bool unread = agreement == catalogue::Agreement::NotRead;
        QPalette palette = mark.palette();
        palette.setColor(QPalette::Window, tint);
        mark.setPalette(palette);
        mark.setAutoFillBackground(differs);
        mark.setText(differs ? QStringLiteral("\u2260") : unread ? QStringLiteral("?") : QString());
        const QString listed = differs || unread
                                   ? catalogue::CatalogueValue(*comparison.part, sheet, info.field)
                                   : QString();
        mark.setToolTip(
            listed.isEmpty()
                ? QString()
                : QStringLiteral("Catalogue: %1 (%2)%3")
                      .arg(listed, comparison.part->confidence,
                           unread ? QStringLiteral("; the rules could not read it") : QString()));
    }
}

void frmMain::FollowEdit() {
    if (rendering_ || engine_.Running()) {
        return;
    }
    const bool ran = HasRun();
    const bool stale = ran && CurrentCodes() != shown_.codes;
    ShowResultsStale(stale);
    // The verdict follows Code One: while it names the checked part, the
    // comparison stays, greyed results or not.
    if (!ran || CodeText(0) != shown_.codes[0]) {
        // A buyer often has only a listing's OPN: what the catalogue knows of
        // it, before any Check.
        Sheet typed = WaitingSheet();
        typed.codes[0] = CodeText(0);
        const catalogue::Comparison listing = CompareWithCatalogue(typed);
        catalogueVerdict->ShowLookup(typed.codes[0], listing, comparer_->Parts().Count());
    } else {
        const catalogue::Comparison comparison = CompareWithCatalogue(shown_);
        catalogueVerdict->ShowVerdict(shown_, comparison, comparer_->Parts().Count());
    }
}

void frmMain::ShowResultsStale(bool stale) {
    // Greyed, as the values of another marking; the marks go with them.
    for (std::size_t slot = 0; slot < lblResult.size(); ++slot) {
        lblResult[slot]->setForegroundRole(stale ? QPalette::PlaceholderText
                                                 : QPalette::WindowText);
        lblMark[slot]->setForegroundRole(stale ? QPalette::PlaceholderText : QPalette::WindowText);
    }
    lblStale->setText(
        stale ? QStringLiteral("Results are for %1 \u2014 press Check").arg(shown_.codes[0])
              : QString());
    lblStale->setVisible(stale);
}

void frmMain::UseNearOpn(const QString& opn) {
    SetCodeText(0, opn);
    // With the rest of the marking typed, the chosen OPN is checked at once.
    if (!CodeText(1).isEmpty() && !CodeText(2).isEmpty()) {
        Command2_Click();
    }
}

catalogue::Comparison frmMain::CompareWithCatalogue(const Sheet& sheet) {
    if (!comparer_) {
        comparer_ = std::make_unique<catalogue::Comparer>(catalogue::Catalogue::Builtin());
    }
    return comparer_->Compare(sheet);
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
        const catalogue::Comparison comparison = CompareWithCatalogue(shown_);
        catalogueVerdict->ShowVerdict(shown_, comparison, comparer_->Parts().Count());
        ShowMarks(shown_, comparison);
        ShowResultsStale(false);
    }
    // After a stop, the box to correct, its code selected to be typed over.
    if (const std::optional<int> box = BoxToCorrect(engine_.Results())) {
        CodeBox* code = txtCode.at(static_cast<std::size_t>(*box));
        code->setFocus(Qt::OtherFocusReason);
        code->selectAll();
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

void frmMain::ExportHtmlAs() {
    const Sheet sheet = SheetToExport();
    const QString suggested =
        QDir(report::ChooseExportFolder(QCoreApplication::applicationDirPath()).folder)
            .filePath(report::ExportFileNameFor(sheet.codes));
    if (const QString path = askExportPath(suggested); !path.isEmpty()) {
        report::ExportHtmlTableAs(sheet, prompter_, path);
    }
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
