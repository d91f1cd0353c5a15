#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "catalogue/comparison.h"
#include "decode/engine.h"
#include "decode/ports.h"
#include "report/html_table.h"
#include "ui/code_box.h"
#include "ui/result_copies.h"

class QAction;
class QGridLayout;
class QGroupBox;
class QMenu;

namespace varnel {

class MessageBoxPrompter;
class CatalogueVerdict;

// The program's one permanent window: the three code boxes of a marking on
// the right, the nineteen result rows on the left, and the notice strip
// below. A Check decodes what the boxes hold; the window then shows the
// sheet the run produced.
class frmMain : public QMainWindow {
    Q_OBJECT

  public:
    // Without a prompter of its own the window asks its questions in real
    // message boxes.
    explicit frmMain(UrlOpener& opener, Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Where the window's messages go; the menus ask theirs there too.
    Prompter& prompter() { return prompter_; }

    // What "Generate HTML file" writes: the results on show and their codes.
    Sheet SheetToExport() const;

    // What the copy commands write: the last run's sheet with its own codes.
    Sheet SheetToCopy() const;
    // "Export HTML As...": asks for a file, named after Code One, and writes
    // the table there as "Generate HTML file" would write table.htm.
    void ExportHtmlAs();
    // Asks where the table goes, starting from a suggested path; an empty
    // answer cancels. A save dialog unless a test puts its own answer here.
    std::function<QString(const QString& suggested)> askExportPath;

    // The three boxes as they read now.
    Codes CurrentCodes() const;
    QString CodeText(int box) const;
    void SetCodeText(int box, const QString& text);

    // The controls, by the names the decoding and the tests know them by.
    std::array<CodeBox*, kCodeBoxCount> txtCode{};
    std::array<QLabel*, kCodeBoxCount> lblCode{};
    std::array<QLabel*, kFieldCount> lblInfo{};
    std::array<QLabel*, kFieldCount> lblResult{};
    // Beside each value: ≠ where the catalogue contradicts it, ? where the
    // rules could not read what the catalogue knows; the tip names the
    // catalogue's value.
    std::array<QLabel*, kFieldCount> lblMark{};
    // Under the results while they belong to codes edited since.
    QLabel* lblStale = nullptr;
    std::array<QGroupBox*, 2> Frame{};  // 0 results, 1 code entry
    QPushButton* Command1 = nullptr;    // puts Codes Two and Three in their boxes
    QPushButton* Command2 = nullptr;    // "Check"
    QPushButton* Command3 = nullptr;    // "Swap"
    QPushButton* CmdSaveHTML = nullptr;
    QLabel* lblCopyright = nullptr;
    // Beside the boxes: which pasted code was cut to fit its box.
    QLabel* lblPasteNote = nullptr;
    // The ways to copy all results: the results' context menu offers them,
    // and the first answers Ctrl+Shift+C anywhere in the window.
    std::array<QAction*, kResultsCopies.size()> mnuCopy{};

    // The results' context menu for the row at a slot, or for the frame
    // around the rows.
    std::unique_ptr<QMenu> NewResultsMenu(std::optional<int> slot);

    // The catalogue's verdict on the last Check, below the code entry.
    CatalogueVerdict* catalogueVerdict = nullptr;

  signals:
    // The window has closed; the program ends with it.
    void Closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void CreateResultRows();
    void CreateCodeBoxes();
    void ArrangeControls();
    void ConnectControls();
    QWidget* BuildResultsFrame();
    // One result row of the frame: its caption and its value, side by side.
    void AddResultRow(QGridLayout& grid, int gridRow, int slot, const QFont& rowFont,
                      int valueWidth);
    int ValueColumnWidth() const;
    QWidget* BuildCodeEntryFrame();
    QWidget* BuildNoticeStrip();
    void SetTabOrder();
    void CreateCopyActions();
    void ShowResultsMenu(const QPoint& framePosition);
    // A size given for a 96 dpi screen, on this one.
    int ScaledPixels(int pixelsAt96Dpi) const;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void CmdSaveHTML_Click();
    void ShowPasteNote();
    // Shows a sheet: its codes in the boxes, its values and its caption.
    void Render(const Sheet& sheet);
    // Marks the values the catalogue contradicts or knows and the rules
    // could not read.
    void ShowMarks(const Sheet& sheet, const catalogue::Comparison& comparison);
    // After an edit: the results greyed while they belong to other codes,
    // and the catalogue's word on Code One as typed.
    void FollowEdit();
    void ShowResultsStale(bool stale);
    void UseNearOpn(const QString& opn);
    // Whether a Check has run since the window opened.
    bool HasRun() const;
    // The sheet held against the catalogue, which is read on the first call.
    catalogue::Comparison CompareWithCatalogue(const Sheet& sheet);

    // The engine's messages go through here, so that the window shows what
    // the run has decoded so far before the user reads a message.
    class RenderingPrompter : public Prompter {
      public:
        explicit RenderingPrompter(frmMain& window) : window_(window) {}
        MessageAnswer Show(const Message& message) override;

      private:
        frmMain& window_;
    };

    std::unique_ptr<MessageBoxPrompter> ownPrompter_;
    Prompter& prompter_;
    RenderingPrompter renderingPrompter_;
    DecodeEngine engine_;
    // What the last run that started produced, as the window shows it.
    Sheet shown_;
    std::unique_ptr<catalogue::Comparer> comparer_;
    // While a run writes its codes back into the boxes, that is no edit.
    bool rendering_ = false;
    bool centred_ = false;
};

}  // namespace varnel
