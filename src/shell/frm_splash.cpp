#include "shell/frm_splash.h"

#include "library/definition_reader.h"
#include "library/library_loader.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/program_facts.h"
#include "shell/shell_pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace pelto::ui {

namespace {

QString Spaced(const QString& text, int blanks) {
    QStringList letters;
    for (QChar c : text)
        letters << QString(c);
    return letters.join(QString(blanks, ' '));
}

QLabel* TextLabel(QWidget* parent, const char* name, int pointSize, bool bold, const char* colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    // A palette, not a style sheet: the splash window is on screen before anything else,
    // and style sheets cost a start their parser and style. A label paints no background
    // of its own, so the window's gradient shows through.
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(QString::fromLatin1(colour)));
    label->setPalette(palette);
    label->setAutoFillBackground(false);
    return label;
}

} // namespace

frmSplash::frmSplash(Workspace& ws, WindowFlow& flow, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), ws_(ws), flow_(flow) {
    setObjectName("frmSplash");
    setWindowTitle(ProgramName());

    lblCompanyProduct = TextLabel(this, "lblCompanyProduct", 10, true, "#cfe0f0");
    lblProductName = TextLabel(this, "lblProductName", 34, true, "#ffffff");
    Label2 = TextLabel(this, "Label2", 13, false, "#a9cbe9");
    Label3 = TextLabel(this, "Label3", 9, false, "#7fa6c9");
    lblVersion = TextLabel(this, "lblVersion", 10, false, "#e6eef6");
    lblCompany = TextLabel(this, "lblCompany", 9, false, "#cfe0f0");
    LblProgress = TextLabel(this, "LblProgress", 9, false, "#ffffff");
    LblProgress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblProgress->setMinimumWidth(170);

    auto* emblem = new QLabel(this);
    emblem->setObjectName("picLogo");
    emblem->setPixmap(ProgramEmblem(112));
    emblem->setAutoFillBackground(false);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(lblCompanyProduct);
    titles->addWidget(lblProductName);
    titles->addWidget(Label2);
    titles->addWidget(Label3);
    titles->addSpacing(10);
    titles->addWidget(lblVersion);
    titles->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(28);
    top->addWidget(emblem, 0, Qt::AlignTop);
    top->addLayout(titles, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblCompany);
    bottom->addStretch(1);
    bottom->addWidget(LblProgress);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 24, 16);
    layout->addLayout(top, 1);
    layout->addSpacing(18);
    layout->addLayout(bottom);

    Form_Load();
}

void frmSplash::Form_Load() {
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(VersionMajor())
                            .arg(VersionMinor())
                            .arg(VersionRevision()));
    lblProductName->setText(ProgramName());
    Label2->setText(Spaced(ProgramName(), 1));
    Label3->setText(Spaced(ProgramName(), 2));
    lblCompanyProduct->setText(MakerName());
    lblCompany->setText(MakerName());
    adjustSize();
    resize(std::max(width(), 500), std::max(height(), 280));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
}

void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The sequence runs once the window is on the screen, as on its first activation.
    QTimer::singleShot(0, this, &frmSplash::Form_Activate);
}

void frmSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient face(0, 0, width(), height());
    face.setColorAt(0, QColor(0x2a, 0x55, 0x80));
    face.setColorAt(1, QColor(0x17, 0x33, 0x50));
    p.fillRect(rect(), face);
    p.setPen(QColor(0x5b, 0x86, 0xb0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void frmSplash::Form_Activate() {
    if (started_)
        return;
    started_ = true;
    // Let the window reach the screen once before the steps, which handle no events.
    QCoreApplication::processEvents();
    repaint();
    const bool ok = RunStartUp();
    close();
    emit startUpFinished(ok);
}

void frmSplash::ShowProgress(const QString& text) {
    LblProgress->setText(text);
    LblProgress->repaint(); // no events are handled while the steps run
    emit progressShown(text);
}

bool frmSplash::RunStartUp() {
    ShowProgress("Initialising...");
    // The help file is help/index.html of the program folder (Workspace::HelpFile).
    ResetParameterState(ws_);
    if (Status st = LoadHandlerTexts(ws_); !st) {
        ShowMessage(this, ErrorToQString(st.error()) + "\n\nPelto cannot start without it.",
                    MessageIcon::Critical);
        return false;
    }
    ws_.SampleFile = ws_.DefaultSampleFile().string();

    ShowProgress("Loading scripts...");
    LibraryLoadReport report = LoadScriptLibrary(ws_);
    if (!report.fatal) {
        ShowMessage(this,
                    ErrorToQString(report.fatal.error()) + "\n\nPelto cannot start without it.",
                    MessageIcon::Critical);
        return false;
    }
    if (!report.skipped.empty()) {
        QString text = QStringLiteral("These effects are damaged and were left out:\n");
        for (const Error& e : report.skipped)
            text += "\n" + ErrorToQString(e);
        ShowMessage(this, text, MessageIcon::Exclamation);
    }
    // Item code files are plain names in the data folder, and the file browser starts
    // there.
    QDir::setCurrent(PathToQString(ws_.DataFolder().string()));

    ShowProgress("Finalising settings...");
    BuildCategoryList(ws_);

    flow_.ShowCategories();
    return true;
}

} // namespace pelto::ui
