#include "shell/frm_about.h"

#include "platform/message_box.h"
#include "platform/program_facts.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelto::ui {

namespace {

// The program's picture: drawn here so the form carries it without any file, sharp at
// any scaling.
QPixmap ProgramPicture(qreal ratio) {
    const int size = 48;
    QPixmap pixmap(static_cast<int>(size * ratio), static_cast<int>(size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size);
    sky.setColorAt(0, QColor(38, 92, 166));
    sky.setColorAt(1, QColor(18, 46, 92));
    p.setBrush(sky);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), 8, 8);
    // A field with a few sparks over it: effects on a page.
    p.setBrush(QColor(92, 168, 72));
    QPainterPath field;
    field.moveTo(2, 34);
    field.cubicTo(16, 28, 30, 38, size - 2, 30);
    field.lineTo(size - 2, size - 10);
    field.quadTo(size - 2, size - 2, size - 10, size - 2);
    field.lineTo(10, size - 2);
    field.quadTo(2, size - 2, 2, size - 10);
    field.closeSubpath();
    p.drawPath(field);
    p.setBrush(QColor(255, 214, 64));
    for (const QPointF& c : {QPointF(14, 14), QPointF(30, 10), QPointF(36, 22)}) {
        QPainterPath star;
        star.moveTo(c + QPointF(0, -5));
        star.lineTo(c + QPointF(1.5, -1.5));
        star.lineTo(c + QPointF(5, 0));
        star.lineTo(c + QPointF(1.5, 1.5));
        star.lineTo(c + QPointF(0, 5));
        star.lineTo(c + QPointF(-1.5, 1.5));
        star.lineTo(c + QPointF(-5, 0));
        star.lineTo(c + QPointF(-1.5, -1.5));
        star.closeSubpath();
        p.drawPath(star);
    }
    return pixmap;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");

    picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setAccessibleName(ProgramName());
    picIcon->setPixmap(ProgramPicture(qApp ? qApp->devicePixelRatio() : 1.0));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName("lblVersion");
    lblDescription = new QLabel(this);
    lblDescription->setObjectName("lblDescription");
    lblDescription->setWordWrap(true);

    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setAccessibleName("OK");
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton("&System Info...", this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    cmdSysInfo->setAccessibleName("System Info...");
    cmdSysInfo->setAutoDefault(false);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    setMinimumWidth(380);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

void frmAbout::Form_Load() {
    setWindowTitle("About " + ProgramName());
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(VersionMajor())
                            .arg(VersionMinor())
                            .arg(VersionRevision()));
    lblTitle->setText(ProgramName());
    lblDescription->setText(QString());
}

// Escape closes the dialog through reject(), so cmdOK is its cancel button as well.
void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    ShowMessage(this, "System Information Is Unavailable At This Time", MessageIcon::None,
                MessageButtons::Ok);
}

} // namespace pelto::ui
