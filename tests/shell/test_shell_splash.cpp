// Start-up in the splash window: its labels, the progress line, the hand-over to the
// main window, and what a damaged or missing library does.
#include "platform/message_box.h"
#include "shell/frm_splash.h"
#include "shell_fixture.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

class TestFrmSplash : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ShellFixture> fx;
    QString startDir;

    // Shows the splash window and waits until its start-up sequence has ended.
    bool RunSplash(frmSplash& splash) {
        QSignalSpy finished(&splash, &frmSplash::startUpFinished);
        splash.show();
        // The sequence may already run while the window is being shown.
        if (finished.isEmpty() && !finished.wait(5000))
            return false;
        return finished.first().first().toBool();
    }

private slots:
    void initTestCase() { startDir = QDir::currentPath(); }
    void init() {
        fx = std::make_unique<test::ShellFixture>();
        fx->AddScript({"a.hdr", "a", "Alpha", "", "Menus"});
        fx->AddScript({"b.hdr", "b", "Beta", "", "Clocks"});
        fx->AddScript({"c.hdr", "c", "Gamma", "", "Menus"});
    }
    void cleanup() {
        QDir::setCurrent(startDir); // start-up moves into the data folder
        fx.reset();
    }

    void labelsShowNameMakerAndVersion() {
        frmSplash splash(fx->ws, fx->flow);
        QCOMPARE(splash.lblVersion->text(), QString("Version 1.0.52"));
        QCOMPARE(splash.lblProductName->text(), QString("Pelto"));
        QCOMPARE(splash.Label2->text(), QString("P e l t o"));
        QCOMPARE(splash.Label3->text(), QString("P  e  l  t  o"));
        QCOMPARE(splash.lblCompanyProduct->text(), QString("Norvale"));
        QCOMPARE(splash.lblCompany->text(), QString("Norvale"));
    }

    void startUpShowsEachStepThenTheMainWindow() {
        frmSplash splash(fx->ws, fx->flow);
        QStringList steps;
        connect(&splash, &frmSplash::progressShown, this, [&](const QString& text) {
            // Shown and painted while its step runs.
            if (splash.isVisible() && splash.LblProgress->isVisible() &&
                splash.LblProgress->text() == text)
                steps << text;
        });
        size_t categoriesAtHandOver = 0;
        bool splashVisibleAtHandOver = false;
        fx->flow.hook = [&](const QString&) {
            categoriesAtHandOver = fx->ws.CategoryList.size();
            splashVisibleAtHandOver = splash.isVisible();
        };
        QVERIFY(RunSplash(splash));
        QCOMPARE(steps,
                 QStringList({"Initialising...", "Loading scripts...", "Finalising settings..."}));
        QCOMPARE(fx->flow.calls, QStringList{"ShowCategories"});
        QCOMPARE(categoriesAtHandOver, size_t(3)); // "" + Menus + Clocks: the list was complete
        QVERIFY(splashVisibleAtHandOver);
        QVERIFY(!splash.isVisible()); // gone once the main window is there
        QCOMPARE(int(fx->ws.Library.size()), 4);
        QCOMPARE(fx->ws.SampleFile, fx->ws.DefaultSampleFile().string());
        QVERIFY(TestMessages().isEmpty());
    }

    void runsOnlyOnce() {
        frmSplash splash(fx->ws, fx->flow);
        QVERIFY(RunSplash(splash));
        splash.Form_Activate();
        splash.show();
        QTest::qWait(50);
        QCOMPARE(fx->flow.calls.size(), 1);
    }

    void noHelpAndNoSamplePageStillReachTheMainWindow() {
        fs::remove_all(fx->home().path() / "help");
        fs::remove(fx->home().path() / "sample.htm");
        frmSplash splash(fx->ws, fx->flow);
        QVERIFY(RunSplash(splash));
        QCOMPARE(fx->flow.calls, QStringList{"ShowCategories"});
        QVERIFY(TestMessages().isEmpty());
    }

    void damagedScriptIsReportedAndLeftOut() {
        fx->home().WriteScrambled(
            "broken.hdr", test::CrLf({"x", "p", "1", "Broken", "", "Menus", "not a number", "0"}));
        frmSplash splash(fx->ws, fx->flow);
        QVERIFY(RunSplash(splash));
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY(TestMessages()[0].contains("broken.hdr"));
        QVERIFY(TestMessages()[0].contains("line 7"));
        QCOMPARE(fx->flow.calls, QStringList{"ShowCategories"});
        QCOMPARE(int(fx->ws.Library.size()), 4);
    }

    void missingPieces_data() {
        QTest::addColumn<QString>("remove");
        QTest::addColumn<QString>("named");
        QTest::newRow("data folder") << "data"
                                     << "data";
        QTest::newRow("handler file") << "data/onscrollhandler.js"
                                      << "onscrollhandler.js";
    }
    void missingPieces() {
        QFETCH(QString, remove);
        QFETCH(QString, named);
        fs::remove_all(fx->home().path() / remove.toStdString());
        frmSplash splash(fx->ws, fx->flow);
        QVERIFY(!RunSplash(splash));
        QVERIFY(fx->flow.calls.isEmpty());
        QVERIFY(!splash.isVisible());
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY2(TestMessages()[0].contains(named), qPrintable(TestMessages()[0]));
        QVERIFY(TestMessages()[0].contains("cannot start"));
    }

    void emptyLibraryStillReachesTheMainWindow() {
        for (const char* name : {"a.hdr", "b.hdr", "c.hdr"})
            fs::remove(fx->home().data() / name);
        frmSplash splash(fx->ws, fx->flow);
        QVERIFY(RunSplash(splash));
        QCOMPARE(fx->flow.calls, QStringList{"ShowCategories"});
        QCOMPARE(int(fx->ws.CategoryList.size()), 1);
    }
};

QTEST_MAIN(TestFrmSplash)
#include "test_shell_splash.moc"
