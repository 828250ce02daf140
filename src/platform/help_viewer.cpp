#include "platform/help_viewer.h"

#include "platform/message_box.h"
#include "platform/program_facts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace pelto::ui {

namespace {

QPointer<HelpViewer>& Viewer() {
    static QPointer<HelpViewer> viewer;
    return viewer;
}

// Shows file in the (single) help window; a missing file is reported instead.
void OpenHelpFile(QWidget* parent, const QString& file, const QString& contentsFile) {
    if (!QFileInfo(file).isFile()) {
        ShowMessage(parent,
                    QStringLiteral("The help file \"%1\" cannot be found. The help is not "
                                   "available until it is restored.")
                        .arg(QDir::toNativeSeparators(file)),
                    MessageIcon::Exclamation);
        return;
    }
    if (!Viewer()) {
        Viewer() = new HelpViewer();
        Viewer()->setAttribute(Qt::WA_DeleteOnClose);
        // Help belongs to the program's windows: it never keeps the program running once
        // the last of them is closed, and it goes when the program ends.
        Viewer()->setAttribute(Qt::WA_QuitOnClose, false);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, Viewer(), &QObject::deleteLater);
    }
    Viewer()->Open(file, contentsFile);
    Viewer()->show();
    Viewer()->raise();
    Viewer()->activateWindow();
}

QToolButton* NavigationButton(QWidget* parent, const QString& name, const QString& text) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setAccessibleName(QString(text).remove('&'));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

QString HelpTopicFile(int context) {
    struct Topic {
        int context;
        const char* file;
    };
    static const Topic topics[] = {{kTutorialsContext, "tutorials.html"}};
    for (const Topic& t : topics)
        if (t.context == context)
            return QString::fromLatin1(t.file);
    return QString();
}

void ShowHelpContents(QWidget* parent, const QString& contentsFile) {
    OpenHelpFile(parent, contentsFile, contentsFile);
}

void ShowHelpTopic(QWidget* parent, const QString& contentsFile, int context) {
    const QString topic = HelpTopicFile(context);
    if (topic.isEmpty()) {
        ShowHelpContents(parent, contentsFile);
        return;
    }
    OpenHelpFile(parent, QFileInfo(contentsFile).dir().filePath(topic), contentsFile);
}

HelpViewer* CurrentHelpViewer() {
    return Viewer().data();
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpViewer");
    setWindowTitle(ProgramName() + QStringLiteral(" Help"));
    back_ = NavigationButton(this, "CmdHelpBack", QStringLiteral("&Back"));
    forward_ = NavigationButton(this, "CmdHelpForward", QStringLiteral("&Forward"));
    home_ = NavigationButton(this, "CmdHelpContents", QStringLiteral("&Contents"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setAccessibleName(QStringLiteral("Help page"));
    browser_->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, this,
            [this] { OpenHelpFile(this, contentsFile_, contentsFile_); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? ProgramName() + QStringLiteral(" Help")
                                       : ProgramName() + QStringLiteral(" Help - ") + title);
    });
    resize(720, 560);
}

void HelpViewer::Open(const QString& file, const QString& contentsFile) {
    contentsFile_ = contentsFile;
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
}

} // namespace pelto::ui
