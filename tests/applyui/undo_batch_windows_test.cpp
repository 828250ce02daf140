// Undo and many pages from the windows, driven with mouse clicks and keys: "Undo last
// change" in the apply dialog and in the main window's menu (Ctrl+Z), the change history,
// and the batch window with pages picked in the file browser.
#include "attach/recorded_run.h"
#include "attach/ui/frm_apply_changes.h"
#include "attach/ui/frm_batch_apply.h"
#include "attach/ui/frm_undo_history.h"
#include "library/definition_reader.h"
#include "platform/message_box.h"
#include "platform/window_flow.h"
#include "shell/frm_cats.h"
#include "ui_common/frm_browse_file.h"
#include "undo/undo_store.h"
#include "window_fixture.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

namespace {

const std::string& Page = test::UserPage;

using test::Q;

ScriptRecord Effect() {
    return test::HeadAndExternalEffect();
}

class NoFlow : public WindowFlow {
public:
    void ShowCategories() override {}
    void ShowScriptSelection() override {}
    void ShowParameterPage() override {}
    void ShowApplyDialog(QWidget*) override {}
    void AddRecentEffect() override {}
};

// Closes a dialog when the check that opened it ends, also after a failed check, so a
// failing test reports instead of waiting on a modal window.
struct CloseWhenDone {
    QDialog* dialog;
    ~CloseWhenDone() {
        if (dialog->isVisible())
            dialog->reject();
    }
};

void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(item).center());
}

} // namespace

class UndoBatchWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WindowFixture> fixture;
    std::unique_ptr<test::TempProgramFolder> home;
    std::unique_ptr<test::TempFolder> site;
    QString previousCurrent;
    Workspace ws;

    fs::path page() const { return site->path() / "index.htm"; }

    // A change made through the core, as another window's run would.
    std::string Overwrite(const fs::path& target) {
        ws.SampleFile = target.string();
        DoItRequest request;
        request.option = OutputOption::Overwrite;
        request.confirmOverwrite = [] { return true; };
        auto run = DoItRecorded(ws, request, FileLock::Wait::No);
        return run ? run->changeId : std::string();
    }

private slots:
    void init() {
        fixture = std::make_unique<test::WindowFixture>();
        home = std::make_unique<test::TempProgramFolder>();
        site = std::make_unique<test::TempFolder>();
        home->WriteScrambled("fx_head.dat", "<SCRIPT SRC=\"fx.js\"></SCRIPT>\r\n");
        home->WriteScrambled("fx_ext.dat", "document.title = 'fx';\r\n");
        test::WriteBytes(page(), Page);
        ws = Workspace{};
        ws.ProgramFolder = home->path();
        ResetParameterState(ws);
        ws.Library.push_back(Effect());
        ws.CurrentScriptIndex = 1;
        ws.CurrentParameterFile = "fx.par";
        ws.SampleFile = page().string();
        previousCurrent = QDir::currentPath();
        QDir::setCurrent(Q(site->path()));
        ClearTestMessages();
    }
    void cleanup() {
        QDir::setCurrent(previousCurrent);
        site.reset();
        home.reset();
        fixture.reset();
    }

    void applyDialogUndoesItsRun_data() {
        QTest::addColumn<bool>("editedSince");
        QTest::addColumn<int>("second"); // answer to "undo anyway?"; -1: not asked
        QTest::addColumn<bool>("undone");
        QTest::newRow("untouched") << false << -1 << true;
        QTest::newRow("edited, undo anyway") << true << int(MessageAnswer::Yes) << true;
        QTest::newRow("edited, keep") << true << int(MessageAnswer::No) << false;
    }
    void applyDialogUndoesItsRun() {
        QFETCH(bool, editedSince);
        QFETCH(int, second);
        QFETCH(bool, undone);
        FrmApplyChanges dialog(ws);
        dialog.show();
        QVERIFY(!dialog.CmdUndo->isEnabled());
        QTest::mouseClick(dialog.Option2, Qt::LeftButton, {},
                          QPoint(8, dialog.Option2->height() / 2));
        PushTestAnswer(MessageAnswer::Yes); // overwrite
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        const std::string applied = test::ReadAll(page());
        QVERIFY(applied != Page);
        QVERIFY(fs::exists(site->path() / "0fx.js"));
        QVERIFY(dialog.CmdUndo->isEnabled());
        if (editedSince)
            test::WriteBytes(page(), applied + "<!-- mine -->");

        ClearTestMessages();
        PushTestAnswer(MessageAnswer::Yes); // the confirmation naming the page
        if (second >= 0)
            PushTestAnswer(MessageAnswer(second));
        QTest::mouseClick(dialog.CmdUndo, Qt::LeftButton);
        QVERIFY(TestMessages().size() >= 1);
        QVERIFY2(TestMessages()[0].startsWith("Undo last change|"), qPrintable(TestMessages()[0]));
        QVERIFY2(TestMessages()[0].contains(Q(page())), qPrintable(TestMessages()[0]));
        QVERIFY(TestMessages()[0].contains("Test effect"));
        if (editedSince)
            QVERIFY2(TestMessages()[1].contains("changed after Pelto wrote them") &&
                         TestMessages()[1].contains(Q(page())),
                     qPrintable(TestMessages()[1]));
        if (undone) {
            QCOMPARE(test::ReadAll(page()), Page);
            QVERIFY(!fs::exists(site->path() / "0fx.js"));
            QVERIFY(!dialog.CmdUndo->isEnabled());
        } else {
            QCOMPARE(test::ReadAll(page()), applied + "<!-- mine -->");
            QVERIFY(fs::exists(site->path() / "0fx.js"));
        }
    }

    void aRunHoldingTheOutputFolderIsNamedInAMessage() {
        auto held = FileLock::Take(OutputLockFile(ws.OutputFolder()), "test", FileLock::Wait::No);
        QVERIFY(held.ok());
        FrmApplyChanges dialog(ws);
        dialog.show();
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY2(TestMessages()[0].contains("in use by another Pelto run"),
                 qPrintable(TestMessages()[0]));
        QVERIFY(fixture->openedPages().isEmpty());
    }

    void mainWindowUndoesTheLastChangeWithCtrlZ() {
        const fs::path other = site->path() / "other.htm";
        test::WriteBytes(other, Page);
        QVERIFY(!Overwrite(page()).empty());
        QVERIFY(!Overwrite(other).empty());
        NoFlow flow;
        FrmCats cats(ws, flow);
        cats.show();
        QVERIFY(QTest::qWaitForWindowActive(&cats));
        QCOMPARE(cats.mnu_changes->title(), QString("&Changes"));
        QCOMPARE(cats.mnu_undo_last->text(), QString("&Undo last change"));
        PushTestAnswer(MessageAnswer::Yes);
        QTest::keyClick(&cats, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!TestMessages().isEmpty());
        QVERIFY2(TestMessages()[0].contains(Q(other)), qPrintable(TestMessages()[0]));
        QCOMPARE(test::ReadAll(other), Page);   // the last change went
        QVERIFY(test::ReadAll(page()) != Page); // the one before stays
        QCOMPARE(UndoStore(ChangeRecordsFolder(ws)).History()->size(), size_t(1));
    }

    void historyUndoesAnOlderChange() {
        const fs::path other = site->path() / "other.htm";
        test::WriteBytes(other, Page);
        QVERIFY(!Overwrite(page()).empty());
        QVERIFY(!Overwrite(other).empty());
        FrmUndoHistory history(ws);
        history.show();
        QCOMPARE(history.LstChanges->count(), 2);
        QVERIFY(history.LstChanges->item(0)->text().contains(Q(other)));
        QVERIFY(history.LstChanges->item(1)->text().contains(Q(page())));
        QVERIFY(history.LstChanges->item(1)->text().contains("Test effect"));
        ClickRow(history.LstChanges, 1);
        QCOMPARE(history.LstChanges->currentRow(), 1);
        PushTestAnswer(MessageAnswer::Yes);
        QTest::mouseClick(history.CmdUndo, Qt::LeftButton);
        QCOMPARE(test::ReadAll(page()), Page);
        QVERIFY(test::ReadAll(other) != Page);
        QCOMPARE(history.LstChanges->count(), 1);
        QVERIFY(history.LstChanges->item(0)->text().contains(Q(other)));
    }

    void batchWindowAppliesToPagesPickedInTheBrowser() {
        // index.htm (already there), a.htm, b.htm; sub/c.htm and sub/bad.htm (no </HEAD>).
        test::WriteBytes(site->path() / "a.htm", Page);
        test::WriteBytes(site->path() / "b.htm", Page);
        test::WriteBytes(site->path() / "sub" / "c.htm", Page);
        test::WriteBytes(site->path() / "sub" / "bad.htm", "<HTML><BODY></BODY></HTML>");
        FrmApplyChanges apply(ws);
        apply.show();
        QTest::mouseClick(apply.Option1, Qt::LeftButton, {},
                          QPoint(8, apply.Option1->height() / 2));
        bool sawBatch = false;
        test::WhenModal([&](QWidget* modal) {
            auto* batch = qobject_cast<FrmBatchApply*>(modal);
            if (!batch) {
                modal->close();
                return;
            }
            sawBatch = true;
            CloseWhenDone closer{batch};
            // First two pages of the browser's list, picked with the mouse and Ctrl.
            test::WhenModal([&](QWidget* inner) {
                auto* browser = qobject_cast<FrmBrowseFile*>(inner);
                if (!browser) {
                    inner->close();
                    return;
                }
                CloseWhenDone closer{browser};
                QVERIFY(browser->CmdWholeFolder);
                QListWidget* files = browser->File1;
                const int a = files->row(files->findItems("a.htm", Qt::MatchExactly).value(0));
                const int b = files->row(files->findItems("b.htm", Qt::MatchExactly).value(0));
                ClickRow(files, a);
                ClickRow(files, b, Qt::ControlModifier);
                QTest::mouseClick(browser->Command1, Qt::LeftButton);
            });
            QTest::mouseClick(batch->CmdAddPages, Qt::LeftButton);
            QCOMPARE(batch->Pages(),
                     (QStringList{Q(site->path() / "a.htm"), Q(site->path() / "b.htm")}));
            // Then the folder sub/ as a whole.
            test::WhenModal([&](QWidget* inner) {
                auto* browser = qobject_cast<FrmBrowseFile*>(inner);
                if (!browser) {
                    inner->close();
                    return;
                }
                CloseWhenDone closer{browser};
                browser->SetDir1Path(Q(site->path() / "sub"));
                QTest::mouseClick(browser->CmdWholeFolder, Qt::LeftButton);
            });
            QTest::mouseClick(batch->CmdAddPages, Qt::LeftButton);
            QCOMPARE(batch->LstPages->count(), 4);

            QTest::mouseClick(batch->CmdStart, Qt::LeftButton);
            QVERIFY(!batch->Running());
            QCOMPARE(batch->PrgPages->value(), 4);
            QStringList lines;
            for (int k = 0; k < batch->LstPages->count(); ++k)
                lines << batch->LstPages->item(k)->text();
            QCOMPARE(lines.filter("done: ").size(), 3);
            QCOMPARE(lines.filter("failed: ").size(), 1);
            QVERIFY2(lines.filter("failed: ").first().contains("bad.htm") &&
                         lines.filter("failed: ").first().contains("tag"),
                     qPrintable(lines.join('\n')));
            QVERIFY(batch->LblCurrentPage->text().contains("4 pages: 3 done, 1 failed"));
            QVERIFY(fs::exists(site->path() / "a_1.htm"));
            QVERIFY(fs::exists(site->path() / "sub" / "c_1.htm"));
            QCOMPARE(test::ReadAll(page()), Page); // the single page is not part of it
            QVERIFY(!fs::exists(site->path() / "index_1.htm"));

            // The whole batch is one change.
            QVERIFY(batch->CmdUndo->isEnabled());
            PushTestAnswer(MessageAnswer::Yes);
            QTest::mouseClick(batch->CmdUndo, Qt::LeftButton);
            QVERIFY(!fs::exists(site->path() / "a_1.htm"));
            QVERIFY(!fs::exists(site->path() / "b_1.htm"));
            QVERIFY(!fs::exists(site->path() / "sub" / "c_1.htm"));
            QTest::keyClick(batch, Qt::Key_Escape);
        });
        QTest::mouseClick(apply.CmdBatch, Qt::LeftButton);
        QVERIFY(sawBatch);
        QCOMPARE(ws.SampleFile, page().string());
    }
};

QTEST_MAIN(UndoBatchWindowsTest)
#include "undo_batch_windows_test.moc"
