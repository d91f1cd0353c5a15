#include "app/windows/calculator_windows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/calculators.h"
#include "catalogue/catalogue.h"

namespace varnel {

namespace {

const QString kWaiting = QStringLiteral("Waiting...");
const QString kChooseModelTip = QStringLiteral("Choose your model of processor here");
const QString kClockSpeedTip = QStringLiteral("Enter your processor's clock speed here");

// One row of a processor list: its caption and the catalogue's parts it means.
struct ProcessorChoice {
    const char* caption;
    const char* family;
    const char* core;  // empty: every core of the family
};

// Only the desktop Athlon XP: the mobile and MP parts of the same cores carry
// ratings and TDP classes of their own.
constexpr std::array<ProcessorChoice, 4> kRatedChoices{{
    {"AMD Athlon XP (Palomino)", "Athlon XP", "Palomino"},
    {"AMD Athlon XP (Thoroughbred)", "Athlon XP", "Thoroughbred"},
    {"AMD Athlon XP (Barton)", "Athlon XP", "Barton"},
    {"AMD Athlon 64", "Athlon 64", ""},
}};
constexpr std::array<ProcessorChoice, 6> kThermalChoices{{
    {"AMD Duron (Spitfire)", "Duron", "Spitfire"},
    {"AMD Duron (Morgan)", "Duron", "Morgan"},
    {"AMD Athlon (Thunderbird)", "Athlon", "Thunderbird"},
    {"AMD Athlon XP (Palomino)", "Athlon XP", "Palomino"},
    {"AMD Athlon XP (Thoroughbred)", "Athlon XP", "Thoroughbred"},
    {"AMD Athlon XP (Barton)", "Athlon XP", "Barton"},
}};

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

template <std::size_t N>
QComboBox* ProcessorList(QWidget* parent, const std::array<ProcessorChoice, N>& choices) {
    auto* list = Named(new QComboBox(parent), QStringLiteral("Combo1"));
    for (const ProcessorChoice& choice : choices) {
        list->addItem(QString::fromUtf8(choice.caption));
    }
    list->setToolTip(kChooseModelTip);
    return list;
}

template <std::size_t N>
catalogue::PartKind ChosenKind(const QComboBox& list,
                               const std::array<ProcessorChoice, N>& choices) {
    const ProcessorChoice& choice = choices.at(static_cast<std::size_t>(list.currentIndex()));
    return {QString::fromUtf8(choice.family), QString::fromUtf8(choice.core)};
}

// Enter in an entry presses its window's calculate button; no button is the
// dialog's default, so Enter never presses a second one.
void PressOnEnter(QLineEdit* entry, QPushButton* button) {
    button->setAutoDefault(false);
    QObject::connect(entry, &QLineEdit::returnPressed, button, &QPushButton::click);
}

const QList<catalogue::Part>& Parts() {
    return catalogue::Catalogue::Builtin().All();
}

QLabel* ResultLabel(QWidget* parent, const QString& name) {
    auto* label = Named(new QLabel(kWaiting, parent), name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    // A clock sold at several ratings lists them all: wrap rather than widen.
    label->setWordWrap(true);
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 48);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
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
    connect(cmdCheckMHz, &QPushButton::clicked, this, &frmPRCalc::cmdCheckMHz_Click);
    PressOnEnter(txtPR, cmdCheckPR);
    PressOnEnter(txtMultiplier, cmdCheckMHz);
}

void frmPRCalc::cmdCheckPR_Click() {
    lblPR->setText(
        catalogue::RateClockEntry(Parts(), ChosenKind(*Combo1, kRatedChoices), txtPR->text()));
}

void frmPRCalc::cmdCheckMHz_Click() {
    const catalogue::ClockCheck check = catalogue::CheckClock(
        Parts(), ChosenKind(*Combo1, kRatedChoices), txtMultiplier->text(), txtFSB->currentText());
    if (!check.clockEntry.isEmpty()) {
        txtPR->setText(check.clockEntry);
    }
    lblPR->setText(check.text);
}

void frmPRCalc::CreateControls() {
    Combo1 = ProcessorList(this, kRatedChoices);
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
    txtMultiplier->setToolTip(QStringLiteral("Enter your processor's multiplier here"));
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
    connect(Command1, &QPushButton::clicked, this, &frmThermCalc::Command1_Click);
    PressOnEnter(txtSpeed, Command1);
    PressOnEnter(txtVoltage, Command1);
}

void frmThermCalc::Command1_Click() {
    lblWattage->setText(catalogue::EstimatePowerEntry(Parts(), ChosenKind(*Combo1, kThermalChoices),
                                                      txtSpeed->text(), txtVoltage->text()));
}

void frmThermCalc::CreateControls() {
    Combo1 = ProcessorList(this, kThermalChoices);
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
