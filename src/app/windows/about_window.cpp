#include "app/windows/about_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/links.h"
#include "app/windows/link_label.h"
#include "decode/program.h"

namespace varnel {

namespace {

constexpr int kPictureSize = 48;

// The window's text before loading; the load adds the version line below it.
const QString kAboutDesignText = QStringLiteral("This version is currently BETA\n");

// The program's own picture when the application carries no icon: a green
// processor package seen from above, with its pins around the edge.
QPixmap DrawChipPicture() {
    QPixmap picture(kPictureSize, kPictureSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xb0, 0xb0, 0xb0));
    for (int pin = 8; pin <= 38; pin += 6) {
        painter.drawRect(pin, 1, 2, 6);
        painter.drawRect(pin, 41, 2, 6);
        painter.drawRect(1, pin, 6, 2);
        painter.drawRect(41, pin, 6, 2);
    }
    painter.setBrush(QColor(0x1f, 0x6e, 0x3a));
    painter.drawRoundedRect(6, 6, 36, 36, 3, 3);
    painter.setBrush(QColor(0x6a, 0x6a, 0x72));
    painter.drawRect(16, 16, 16, 16);
    return picture;
}

QPixmap ProgramPicture() {
    const QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? DrawChipPicture() : icon.pixmap(kPictureSize, kPictureSize);
}

}  // namespace

frmAbout::frmAbout(UrlOpener& opener, QWidget* parent) : QDialog(parent), opener_(opener) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    CreateControls();
    ArrangeControls();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(lblMailLink, &LinkLabel::clicked, this, &frmAbout::lblMailLink_Click);
    connect(lblPageLink, &LinkLabel::clicked, this, &frmAbout::lblPageLink_Click);
    Form_Load();
}

void frmAbout::CreateControls() {
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(ProgramPicture());
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    lblTitle->setFont(titleFont);

    lblVersion = new QLabel(QStringLiteral("Version"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    txtAbout = new QPlainTextEdit(kAboutDesignText, this);
    txtAbout->setObjectName(QStringLiteral("txtAbout"));
    txtAbout->setReadOnly(true);
    txtAbout->setFixedHeight(txtAbout->fontMetrics().lineSpacing() * 5);

    lblMailCap = new QLabel(QStringLiteral("E-mail me:"), this);
    lblMailCap->setObjectName(QStringLiteral("lblMailCap"));
    lblMailLink = new LinkLabel(QLatin1String(kContactAddress), this);
    lblMailLink->setObjectName(QStringLiteral("lblMailLink"));
    lblPageCap = new QLabel(QStringLiteral("Homepage:"), this);
    lblPageCap->setObjectName(QStringLiteral("lblPageCap"));
    lblPageLink = new LinkLabel(QLatin1String(kHomePageUrl), this);
    lblPageLink->setObjectName(QStringLiteral("lblPageLink"));

    Label1 = new QLabel(QStringLiteral("Copyright (c) 2026 The %1 developers. MIT licence.")
                            .arg(ApplicationTitle()),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
}

void frmAbout::ArrangeControls() {
    auto* heading = new QVBoxLayout;
    heading->addWidget(lblTitle);
    heading->addWidget(lblVersion);
    heading->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addSpacing(8);
    top->addLayout(heading, 1);

    auto* links = new QGridLayout;
    links->addWidget(lblMailCap, 0, 0);
    links->addWidget(lblMailLink, 0, 1, Qt::AlignLeft);
    links->addWidget(lblPageCap, 1, 0);
    links->addWidget(lblPageLink, 1, 1, Qt::AlignLeft);
    links->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1, 1);
    bottom->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(txtAbout);
    layout->addLayout(links);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::Form_Load() {
    const QString title = ApplicationTitle();
    const QString version = GetVersionString();
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version ") + version + QStringLiteral(" (Beta)"));
    lblTitle->setText(title);
    txtAbout->setPlainText(txtAbout->toPlainText() + QStringLiteral("Version ") + version +
                           QStringLiteral("\n\n"));
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::lblMailLink_Click() {
    // Mail whatever address the label shows, so the two can never disagree.
    OpenURL(opener_,
            QStringLiteral("mailto:") + lblMailLink->text() + QStringLiteral("?subject=About"));
}

void frmAbout::lblPageLink_Click() {
    OpenURL(opener_, lblPageLink->text());
}

}  // namespace varnel
