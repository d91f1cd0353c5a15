#pragma once

#include <QDialog>

#include "decode/ports.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace varnel {

class LinkLabel;

// The About window: the program's name and version and two links, one to
// mail us and one to the home page. Built afresh for every opening and
// destroyed when closed, so its texts are always those of a first load.
class frmAbout : public QDialog {
    Q_OBJECT

  public:
    frmAbout(UrlOpener& opener, QWidget* parent = nullptr);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPlainTextEdit* txtAbout = nullptr;
    QLabel* lblMailCap = nullptr;
    LinkLabel* lblMailLink = nullptr;
    QLabel* lblPageCap = nullptr;
    LinkLabel* lblPageLink = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOK = nullptr;

  public slots:
    void cmdOK_Click();
    void lblMailLink_Click();
    void lblPageLink_Click();

  private:
    void CreateControls();
    void ArrangeControls();
    void Form_Load();

    UrlOpener& opener_;
};

}  // namespace varnel
