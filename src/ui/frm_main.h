#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <array>
#include <memory>
#include <optional>

#include "code_box.h"
#include "engine.h"
#include "html_table.h"
#include "ports.h"

class QGroupBox;

namespace varnel {

class MessageBoxPrompter;

// The program's one permanent window: the three code boxes of a marking on
// the right, the nineteen result rows on the left, and the notice strip
// below. It is the surface the decoding reads the codes from and writes the
// results to.
class frmMain : public QMainWindow, public Surface {
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

    // What the window shows at this moment, for the HTML table: the results
    // beside the codes they came from, even when a box was edited since.
    report::WindowSnapshot TakeSnapshot() const;

    QString CodeText(int box) const override;
    void SetCodeText(int box, const QString& text) override;
    QString ResultText(int slot) const override;
    void SetResultText(int slot, QString text) override;
    QString ResultsCaption() const override;
    void SetResultsCaption(const QString& caption) override;

    // The controls, by the names the decoding and the tests know them by.
    std::array<CodeBox*, kCodeBoxCount> txtCode{};
    std::array<QLabel*, kCodeBoxCount> lblCode{};
    std::array<QLabel*, kResultSlotCount> lblInfo{};
    std::array<QLabel*, kResultSlotCount> lblResult{};
    std::array<QGroupBox*, 2> Frame{};  // 0 results, 1 code entry
    QPushButton* Command1 = nullptr;    // puts Codes Two and Three in their boxes
    QPushButton* Command2 = nullptr;    // "Check"
    QPushButton* Command3 = nullptr;    // "Swap"
    QPushButton* CmdSaveHTML = nullptr;
    QLabel* lblCopyright = nullptr;

  signals:
    // The window has closed; the program ends with it.
    void Closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    QWidget* BuildResultsFrame();
    QWidget* BuildCodeEntryFrame();
    QWidget* BuildNoticeStrip();
    void SetTabOrder();
    // A size given for a 96 dpi screen, on this one.
    int ScaledPixels(int pixelsAt96Dpi) const;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void CmdSaveHTML_Click();
    void NoteShownCodes();

    std::unique_ptr<MessageBoxPrompter> ownPrompter_;
    Prompter& prompter_;
    DecodeEngine engine_;
    // The codes as the last run read them, while its results are on show;
    // none before the first run and after a stop that blanked every slot.
    std::optional<std::array<QString, kCodeBoxCount>> shownCodes_;
    bool centred_ = false;
};

}  // namespace varnel
