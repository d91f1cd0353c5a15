#include "app/windows/calculator_windows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel {

namespace {

const QString kWaiting = QStringLiteral("Waiting...");
const QString kChooseModelTip = QStringLiteral("Choose your model of processor here");
const QString kClockSpeedTip = QStringLiteral("Enter your processor's clock speed here");

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QComboBox* ProcessorList(QWidget* parent, const QStringList& processors) {
    auto* list = Named(new QComboBox(parent), QStringLiteral("Combo1"));
    list->addItems(processors);
    list->setToolTip(kChooseModelTip);
    return list;
}

QLabel* ResultLabel(QWidget* parent, const QString& name) {
    auto* label = Named(new QLabel(kWaiting, parent), name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

}  // namespace

frmPRCalc::frmPRCalc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPRCalc"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Athlon PR Calculator"));
    CreateControls();
    ArrangeControls();
    connect(cmdCheckPR, &QPushButton::clicked, this, &frmPRCalc::cmdCheckPR_Click);
}

void frmPRCalc::CreateControls() {
    Combo1 = ProcessorList(
        this,
        {QStringLiteral("AMD Athlon XP (Palomino)"), QStringLiteral("AMD Athlon XP (Thoroughbred)"),
         QStringLiteral("AMD Athlon XP (Barton)"), QStringLiteral("AMD Athlon 64")});
    lblCap[0] =
        Named(new QLabel(QStringLiteral("Processor Type"), this), QStringLiteral("lblCap_0"));
    lblCap[1] = Named(new QLabel(QStringLiteral("Clock Speed:"), this), QStringLiteral("lblCap_1"));
    txtPR = Named(new QLineEdit(this), QStringLiteral("txtPR"));
    cmdCheckPR =
        Named(new QPushButton(QStringLiteral("MHz to PR"), this), QStringLiteral("cmdCheckPR"));
    lblPR = ResultLabel(this, QStringLiteral("lblPR"));

    lblMultiplierCap =
        Named(new QLabel(QStringLiteral("Multiplier"), this), QStringLiteral("lblMultiplierCap"));
    txtMultiplier = Named(new QLineEdit(this), QStringLiteral("txtMultiplier"));
    txtMultiplier->setToolTip(kClockSpeedTip);
    lblFSBCap = Named(new QLabel(QStringLiteral("FSB (MHz)"), this), QStringLiteral("lblFSBCap"));
    txtFSB = Named(new QComboBox(this), QStringLiteral("txtFSB"));
    txtFSB->addItems({QStringLiteral("100"), QStringLiteral("133.33"), QStringLiteral("166.66"),
                      QStringLiteral("200")});
    cmdCheckMHz =
        Named(new QPushButton(QStringLiteral("Check MHz"), this), QStringLiteral("cmdCheckMHz"));
}

void frmPRCalc::ArrangeControls() {
    // Top half: rating from clock speed. Bottom half: clock speed from
    // multiplier and bus. The one result label sits between them.
    auto* grid = new QGridLayout;
    grid->addWidget(lblCap[0], 0, 0);
    grid->addWidget(Combo1, 0, 1, 1, 2);
    grid->addWidget(lblCap[1], 1, 0);
    grid->addWidget(txtPR, 1, 1);
    grid->addWidget(cmdCheckPR, 1, 2);
    grid->addWidget(lblPR, 2, 1, 1, 2);
    grid->setRowMinimumHeight(3, 8);
    grid->addWidget(lblMultiplierCap, 4, 0);
    grid->addWidget(txtMultiplier, 4, 1);
    grid->addWidget(lblFSBCap, 5, 0);
    grid->addWidget(txtFSB, 5, 1);
    grid->addWidget(cmdCheckMHz, 5, 2);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

frmThermCalc::frmThermCalc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmThermCalc"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Thermal Output Calculator"));
    CreateControls();
    ArrangeControls();
}

void frmThermCalc::CreateControls() {
    Combo1 = ProcessorList(
        this,
        {QStringLiteral("AMD Duron (Spitfire)"), QStringLiteral("AMD Duron (Morgan)"),
         QStringLiteral("AMD Athlon (Thunderbird)"), QStringLiteral("AMD Athlon XP (Palomino)"),
         QStringLiteral("AMD Athlon XP (Thoroughbred)"), QStringLiteral("AMD Athlon XP (Barton)")});
    lblCap[0] =
        Named(new QLabel(QStringLiteral("Processor Type"), this), QStringLiteral("lblCap_0"));
    lblCap[1] = Named(new QLabel(QStringLiteral("Speed (MHz)"), this), QStringLiteral("lblCap_1"));
    lblCap[2] = Named(new QLabel(QStringLiteral("Voltage"), this), QStringLiteral("lblCap_2"));
    txtSpeed = Named(new QLineEdit(this), QStringLiteral("txtSpeed"));
    txtSpeed->setToolTip(kClockSpeedTip);
    txtVoltage = Named(new QLineEdit(this), QStringLiteral("txtVoltage"));
    txtVoltage->setToolTip(QStringLiteral("Enter your processor's voltage here"));
    Command1 = Named(new QPushButton(QStringLiteral("Check"), this), QStringLiteral("Command1"));
    lblWattage = ResultLabel(this, QStringLiteral("lblWattage"));
    Label4 = Named(new QLabel(QStringLiteral("Please note: This tool can have a slight degree of "
                                             "inaccuracy due to the nature of the calculation."),
                              this),
                   QStringLiteral("Label4"));
    Label4->setWordWrap(true);
}

void frmThermCalc::ArrangeControls() {
    auto* grid = new QGridLayout;
    grid->addWidget(lblCap[0], 0, 0);
    grid->addWidget(Combo1, 0, 1, 1, 2);
    grid->addWidget(lblCap[1], 1, 0);
    grid->addWidget(txtSpeed, 1, 1, 1, 2);
    grid->addWidget(lblCap[2], 2, 0);
    grid->addWidget(txtVoltage, 2, 1);
    grid->addWidget(Command1, 2, 2);
    grid->addWidget(lblWattage, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Label4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace varnel
