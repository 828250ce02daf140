// The whole wizard as a user walks it, through the real windows: start, a category, an
// effect by "Go", an edited value, apply (preview), back, an effect from the drop-down
// list, apply (copy beside the page), back to the main window, and a recent effect.
#include "attach/ui/frm_apply_changes.h"
#include "parampage/frm_script.h"
#include "parampage/int_editor.h"
#include "platform/browser_launcher.h"
#include "platform/settings_store.h"
#include "shell/frm_cats.h"
#include "shell/frm_select_script.h"
#include "shell/shell_flow.h"
#include "shell_fixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>
#include <functional>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

namespace {

// An effect with one whole-number parameter whose value its code writes into the page.
void AddEffect(const test::ShellFixture& fx, const std::string& stem, const std::string& id,
               const std::string& name, const std::string& category, const std::string& param) {
    fx.home().WriteScrambled(stem + ".hdr",
                             test::CrLf({id, id, "1000", name, "Makes the page " + id, category,
                                         "0", "1", "Head," + stem + ".js,,1,0"}));
    fx.home().WriteScrambled(stem + ".par", test::CrLf({"*", "0", "1", "100", "10", "", "20", param,
                                                        "How strong", "// end"}));
    fx.home().WriteScrambled(stem + ".js", test::CrLf({"<script>var " + id + " = \xae" + param +
                                                       ",INTVALUE\xaf;</script>"}));
}

// Runs act on the next modal dialog of type D once it is shown.
template <class D> void OnModal(QObject* owner, std::function<void(D*)> act) {
    auto* timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

// Applies with the given output option and closes the apply dialog.
void ApplyWith(QObject* owner, QRadioButton* FrmApplyChanges::*option) {
    OnModal<FrmApplyChanges>(owner, [option](FrmApplyChanges* d) {
        (d->*option)->setChecked(true);
        QTest::mouseClick(d->Command2, Qt::LeftButton);
        QTest::mouseClick(d->Command1, Qt::LeftButton);
    });
}

QStringList RecentMenu(FrmCats* w) {
    QStringList texts;
    for (QAction* a : w->mnu_mru)
        if (a->isVisible())
            texts << a->text();
    return texts;
}

} // namespace

class TestWizardWalk : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ShellFixture> fx;
    QString startDir;
    QStringList opened;
    fs::path page;

private slots:
    void init() {
        startDir = QDir::currentPath();
        fx = std::make_unique<test::ShellFixture>();
        AddEffect(*fx, "a01", "fade", "Fade In", "Text", "Speed");
        AddEffect(*fx, "a02", "glow", "Glow", "Text", "Strength");
        AddEffect(*fx, "b01", "tick", "Ticking Clock", "Clocks", "Size");
        page = fx->home().path() / "site" / "page.htm";
        fx->home().WriteFile("site/page.htm", test::CrLf({"<HTML><HEAD><TITLE>Mine</TITLE></HEAD>",
                                                          "<BODY><P>Hello</P></BODY></HTML>"}));
        SaveSetting("Settings", "Sample File", QString::fromStdString(page.string()));
        SetBrowserLauncher([this](const QString& path) { opened << path; });
    }
    void cleanup() {
        SetBrowserLauncher({});
        QDir::setCurrent(startDir);
        fx.reset();
    }

    void walkFromCategoryToAppliedEffectsAndBack() {
        ShellFlow shell(fx->ws);
        shell.Start();
        QTRY_VERIFY(shell.Categories());
        FrmCats* cats = shell.Categories();
        QCOMPARE(cats->CmdCats[0]->text(), QString("Text"));
        QCOMPARE(cats->CmdCats[1]->text(), QString("Clocks"));

        // A category, then an effect by "Go".
        QTest::mouseClick(cats->CmdCats[0], Qt::LeftButton);
        FrmSelectScript* selection = shell.Selection();
        QVERIFY(selection);
        QVERIFY(!shell.Categories());
        QCOMPARE(selection->LblScriptCation[1]->text(), QString("Glow"));
        QTest::mouseClick(selection->CmdGetScriptParameters[0], Qt::LeftButton);
        QPointer<FrmScript> fade = qobject_cast<FrmScript*>(shell.ParameterPage());
        QVERIFY(fade);
        QVERIFY(!shell.Selection());
        QCOMPARE(fade->LblScriptName->text(), QString("Fade In"));
        QCOMPARE(fade->windowModality(), Qt::NonModal);

        // Edit, apply as a preview.
        fade->LstParameters->setCurrentRow(0);
        fade->intEditor->HScrollSimpleInt->setValue(55);
        ApplyWith(this, &FrmApplyChanges::Option3);
        QTest::mouseClick(fade->Command5, Qt::LeftButton);
        const std::string preview = test::ReadAll(fx->home().path() / "output" / "result.htm");
        QVERIFY2(preview.find("var fade = 55;") != std::string::npos, preview.c_str());
        QVERIFY(preview.find("<P>Hello</P>") != std::string::npos);
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened[0].endsWith("result.htm"));
        QCOMPARE(GetSetting("MRU", "MRU1"), QString("fade"));

        // Back to the selection; an effect from the drop-down list.
        QTest::mouseClick(fade->Command7, Qt::LeftButton);
        QTRY_VERIFY(!fade);
        selection = shell.Selection();
        QVERIFY(selection);
        // Opened and picked from the keyboard: Alt+Down, Down to the second entry, Enter.
        QTest::keyClick(selection->LstAllScripts, Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(selection->LstAllScripts->view(), Qt::Key_Home);
        QTest::keyClick(selection->LstAllScripts->view(), Qt::Key_Down);
        QTest::keyClick(selection->LstAllScripts->view(), Qt::Key_Return);
        QPointer<FrmScript> glow = qobject_cast<FrmScript*>(shell.ParameterPage());
        QVERIFY(glow);
        QCOMPARE(glow->LblScriptName->text(), QString("Glow"));
        QCOMPARE(glow->windowModality(), Qt::WindowModal);
        QCOMPARE(glow->parentWidget(), selection);
        QCOMPARE(shell.Selection(), selection); // stays open underneath

        // Apply as a copy beside the page: page_1.htm, the page itself untouched.
        glow->LstParameters->setCurrentRow(0);
        glow->intEditor->HScrollSimpleInt->setValue(7);
        ApplyWith(this, &FrmApplyChanges::Option1);
        QTest::mouseClick(glow->Command5, Qt::LeftButton);
        const std::string copy = test::ReadAll(page.parent_path() / "page_1.htm");
        QVERIFY2(copy.find("var glow = 7;") != std::string::npos, copy.c_str());
        QVERIFY(test::ReadAll(page).find("glow") == std::string::npos);
        QCOMPARE(opened.size(), 2);
        QVERIFY(opened[1].endsWith("page_1.htm"));
        QCOMPARE(GetSetting("MRU", "MRU1"), QString("glow"));
        QCOMPARE(GetSetting("MRU", "MRU2"), QString("fade"));

        // Back to the same selection window, back to the main window.
        QTest::mouseClick(glow->Command7, Qt::LeftButton);
        QTRY_VERIFY(!glow);
        QCOMPARE(shell.Selection(), selection);
        QTest::mouseClick(selection->Command3, Qt::LeftButton);
        QVERIFY(!shell.Selection());
        cats = shell.Categories();
        QVERIFY(cats);
        QCOMPARE(RecentMenu(cats), QStringList({"Glow", "Fade In"}));

        // A recent effect opens its parameter page directly.
        cats->mnu_mru[1]->trigger();
        QVERIFY(!shell.Categories());
        auto* again = qobject_cast<FrmScript*>(shell.ParameterPage());
        QVERIFY(again);
        QCOMPARE(again->LblScriptName->text(), QString("Fade In"));
        QCOMPARE(int(fx->ws.CurrentScriptIndex), 1);
    }
};

QTEST_MAIN(TestWizardWalk)
#include "test_shell_walk.moc"
