// The shell's window flow with the real windows: start-up to the main window, category
// to selection and back, one selection window at a time, and the recent effects.
#include "platform/settings_store.h"
#include "shell/frm_cats.h"
#include "shell/frm_select_script.h"
#include "shell/shell_flow.h"
#include "shell_fixture.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace pelto;
using namespace pelto::ui;

class TestShellFlow : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ShellFixture> fx;
    QString startDir;

private slots:
    void initTestCase() { startDir = QDir::currentPath(); }
    void init() {
        fx = std::make_unique<test::ShellFixture>();
        fx->AddScript({"a.hdr", "a", "Alpha", "", "Menus"});
        fx->AddScript({"b.hdr", "b", "Beta", "", "Clocks"});
    }
    void cleanup() {
        QDir::setCurrent(startDir);
        fx.reset();
    }

    void startReachesTheMainWindow() {
        ShellFlow shell(fx->ws);
        shell.Start();
        QTRY_VERIFY(shell.Categories());
        QCOMPARE(int(fx->ws.CategoryList.size()), 3);
        QCOMPARE(shell.Categories()->CmdCats[1]->text(), QString("Clocks"));
    }

    void categoryToSelectionAndBack() {
        fx->Load();
        ShellFlow shell(fx->ws);
        shell.ShowCategories();
        QPointer<FrmCats> first = shell.Categories();
        QVERIFY(first);
        QTest::mouseClick(first->CmdCats[0], Qt::LeftButton);
        QVERIFY(!shell.Categories());
        QTRY_VERIFY(!first); // closed windows are deleted
        FrmSelectScript* selection = shell.Selection();
        QVERIFY(selection && selection->isVisible());
        QCOMPARE(selection->LblScriptCation[0]->text(), QString("Alpha"));
        QTest::mouseClick(selection->Command3, Qt::LeftButton);
        QVERIFY(!shell.Selection());
        QVERIFY(shell.Categories() && shell.Categories()->isVisible());
    }

    void openSelectionIsReused() {
        fx->Load();
        fx->ws.CurrentCategory = "Menus";
        ShellFlow shell(fx->ws);
        shell.ShowScriptSelection();
        FrmSelectScript* first = shell.Selection();
        first->Command2_Click(); // its state survives
        shell.ShowScriptSelection();
        QCOMPARE(shell.Selection(), first);
    }

    void addRecentEffectRecordsTheCurrentScript() {
        fx->Load();
        ShellFlow shell(fx->ws);
        fx->ws.CurrentScriptIndex = 2;
        shell.AddRecentEffect();
        fx->ws.CurrentScriptIndex = 1;
        shell.AddRecentEffect();
        QCOMPARE(GetSetting("MRU", "MRU1"), QString("a"));
        QCOMPARE(GetSetting("MRU", "MRU2"), QString("b"));
        // The next main window lists them.
        shell.ShowCategories();
        QCOMPARE(shell.Categories()->mnu_mru[0]->text(), QString("Alpha"));
        QCOMPARE(shell.Categories()->mnu_mru[1]->text(), QString("Beta"));
    }
};

QTEST_MAIN(TestShellFlow)
#include "test_shell_flow.moc"
