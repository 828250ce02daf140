// The help window: the two entry points, one window for every request, navigation and
// a missing help file.
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "shell/frm_cats.h"
#include "shell_fixture.h"

#include <QApplication>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

class TestHelpViewer : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ShellFixture> fx;
    QString contents;

    static QString Shown() {
        return QFileInfo(CurrentHelpViewer()->Browser()->source().toLocalFile()).fileName();
    }

private slots:
    void init() {
        fx = std::make_unique<test::ShellFixture>();
        fx->home().WriteFile("help/index.html",
                             "<html><head><title>Contents</title></head><body>"
                             "<a href=\"tutorials.html\">Tutorials</a></body></html>");
        fx->home().WriteFile("help/tutorials.html", "<p>Step by step</p>");
        contents = QString::fromStdString((fx->home().path() / "help" / "index.html").string());
    }
    void cleanup() {
        delete CurrentHelpViewer();
        fx.reset();
    }

    void closingTheLastWindowEndsTheProgramWhileHelpIsOpen() {
        fx->Load();
        FrmCats main(fx->ws, fx->flow);
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(&main, Qt::Key_F1);
        QVERIFY(CurrentHelpViewer() && CurrentHelpViewer()->isVisible());
        // The user closes the main window; the run must end although help is still open.
        QTimer::singleShot(0, &main, [&main] { main.close(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(2); });
        watchdog.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!CurrentHelpViewer()); // help went with the program
    }

    void topicFiles_data() {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("file");
        QTest::newRow("tutorials") << 1001 << "tutorials.html";
        QTest::newRow("unknown") << 7 << "";
    }
    void topicFiles() {
        QFETCH(int, context);
        QFETCH(QString, file);
        QCOMPARE(HelpTopicFile(context), file);
    }

    void entryPointsShareOneWindow() {
        ShowHelpContents(nullptr, contents);
        HelpViewer* first = CurrentHelpViewer();
        QVERIFY(first && first->isVisible());
        QCOMPARE(Shown(), QString("index.html"));
        QVERIFY(first->windowTitle().contains("Contents"));
        ShowHelpTopic(nullptr, contents, kTutorialsContext);
        QCOMPARE(CurrentHelpViewer(), first);
        QCOMPARE(Shown(), QString("tutorials.html"));
        ShowHelpTopic(nullptr, contents, 42); // unknown: the contents
        QCOMPARE(Shown(), QString("index.html"));
    }

    void backAndContentsButtons() {
        ShowHelpTopic(nullptr, contents, kTutorialsContext);
        auto* back = CurrentHelpViewer()->findChild<QToolButton*>("CmdHelpBack");
        auto* home = CurrentHelpViewer()->findChild<QToolButton*>("CmdHelpContents");
        QVERIFY(back && home);
        QVERIFY(!back->isEnabled());
        QTest::mouseClick(home, Qt::LeftButton);
        QCOMPARE(Shown(), QString("index.html"));
        QVERIFY(back->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(Shown(), QString("tutorials.html"));
    }

    void missingFileIsNamed() {
        fs::remove(fx->home().path() / "help" / "tutorials.html");
        ShowHelpTopic(nullptr, contents, kTutorialsContext);
        QVERIFY(!CurrentHelpViewer());
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY(TestMessages()[0].contains("tutorials.html"));
        QVERIFY(TestMessages()[0].contains("cannot be found"));
    }
};

QTEST_MAIN(TestHelpViewer)
#include "test_shell_help.moc"
