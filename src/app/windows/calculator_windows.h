#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnel {

// The performance-rating calculator: clock speed to PR rating, and multiplier
// times bus to clock speed, both worked out over the catalogue's real parts.
class frmPRCalc : public QDialog {
    Q_OBJECT

  public:
    explicit frmPRCalc(QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;
    std::array<QLabel*, 2> lblCap{};
    QLineEdit* txtPR = nullptr;
    QPushButton* cmdCheckPR = nullptr;
    QLabel* lblPR = nullptr;
    QLabel* lblMultiplierCap = nullptr;
    QLineEdit* txtMultiplier = nullptr;
    QLabel* lblFSBCap = nullptr;
    QComboBox* txtFSB = nullptr;
    QPushButton* cmdCheckMHz = nullptr;

  public slots:
    void cmdCheckPR_Click();
    void cmdCheckMHz_Click();

  private:
    void CreateControls();
    void ArrangeControls();
};

// The thermal output calculator: estimated heat from core, clock and voltage,
// scaled from the nearest real part's TDP.
class frmThermCalc : public QDialog {
    Q_OBJECT

  public:
    explicit frmThermCalc(QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;
    std::array<QLabel*, 3> lblCap{};
    QLineEdit* txtSpeed = nullptr;
    QLineEdit* txtVoltage = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* lblWattage = nullptr;
    QLabel* Label4 = nullptr;

  public slots:
    void Command1_Click();

  private:
    void CreateControls();
    void ArrangeControls();
};

}  // namespace varnel
