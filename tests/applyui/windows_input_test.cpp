// The apply dialog, the file browser, the change history, the batch window and the main
// window's "Undo last change" as a user works them with keys and clicks: Enter presses
// the focused button or takes the focused line, undo questions keep to the screen and
// name a later change that touched the same page, "Whole folder" takes the pages the
// browser lists, and the batch window's results say what happened.
#include "attach/batch_apply.h"
#include "attach/recorded_run.h"
#include "attach/ui/frm_apply_changes.h"
#include "attach/ui/frm_batch_apply.h"
#include "attach/ui/frm_undo_history.h"
#include "library/definition_reader.h"
#include "platform/message_box.h"
#include "platform/window_flow.h"
#include "shell/frm_cats.h"
#include "support/key_input.h"
#include "ui_common/frm_browse_file.h"
#include "undo/undo_store.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

namespace {

const std::string& Page = test::UserPage;
using test::Q;

class NoFlow : public WindowFlow {
public:
    void ShowCategories() override {}
    void ShowScriptSelection() override {}
    void ShowParameterPage() override {}
    void ShowApplyDialog(QWidget*) override {}
    void AddRecentEffect() override {}
};

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
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(item).center());
}

// Presses Enter on whatever has the focus.
void Enter() {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key_Return);
}

int Questions(const QString& start) {
    int n = 0;
    for (const QString& m : TestMessages())
        if (m.contains(start))
            ++n;
    return n;
}

} // namespace

class WindowsInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WindowFixture> fixture;
    std::unique_ptr<test::TempProgramFolder> home;
    std::unique_ptr<test::TempFolder> site;
    QString previousCurrent;
    Workspace ws;

    fs::path page() const { return site->path() / "index.htm"; }

    // A change made through the core, as another window's run would.
    std::string Overwrite(const fs::path& target, int16_t repeat = 0) {
        ws.SampleFile = target.string();
        DoItRequest request;
        request.option = OutputOption::Overwrite;
        request.repeat = repeat;
        request.confirmOverwrite = [] { return true; };
        auto run = DoItRecorded(ws, request, FileLock::Wait::No);
        return run ? run->changeId : std::string();
    }

    // n pages beside index.htm, copied by one batch change.
    std::vector<std::string> CopyBatch(int n) {
        std::vector<std::string> pages;
        for (int k = 1; k <= n; ++k) {
            const fs::path p = site->path() / "many" / ("page" + std::to_string(k) + ".htm");
            test::WriteBytes(p, Page);
            pages.push_back(p.string());
        }
        BatchRequest request;
        request.option = OutputOption::Copy;
        request.jobs = 2;
        auto outcome = ApplyToPages(ws, pages, request);
        if (!outcome || outcome->changeId.empty())
            return {};
        return pages;
    }

private slots:
    void init() {
        fixture = std::make_unique<test::WindowFixture>();
        home = std::make_unique<test::TempProgramFolder>();
        site = std::make_unique<test::TempFolder>();
        home->WriteScrambled("fx_head.dat", "<SCRIPT SRC=\"fx.js\"></SCRIPT>\r\n");
        home->WriteScrambled("fx_ext.dat", "document.title = 'fx';\r\n");
        test::WriteBytes(page(), Page);
        test::WriteBytes(site->path() / "about.htm", Page);
        ws = Workspace{};
        ws.ProgramFolder = home->path();
        ResetParameterState(ws);
        ws.Library.push_back(test::HeadAndExternalEffect());
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

    // Enter presses the button that has the focus; "Do it" only when no button has it.
    void applyDialogEnterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("opens"); // what Enter leads to
        QTest::newRow("Browse") << "Command3"
                                << "browser";
        QTest::newRow("Back") << "Command1"
                              << "closed";
        QTest::newRow("Several pages") << "CmdBatch"
                                       << "batch";
        QTest::newRow("the chosen option") << "Option3"
                                           << "do it";
        QTest::newRow("the repeat slider") << "HScrollScriptRepeat"
                                           << "do it";
        QTest::newRow("Do it") << "Command2"
                               << "do it";
    }
    void applyDialogEnterPressesTheFocusedButton() {
        QFETCH(QString, target);
        QFETCH(QString, opens);
        FrmApplyChanges dialog(ws);
        dialog.show();
        QWidget* control = dialog.findChild<QWidget*>(target);
        QVERIFY(control);
        if (qobject_cast<QRadioButton*>(control)) { // Tab reaches the group, a click one
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
        } else
            QVERIFY(test::TabTo(&dialog, control));
        QCOMPARE(QApplication::focusWidget(), control);
        // Only the rows that open a window wait for one.
        auto modal = std::make_shared<QString>();
        if (opens == "browser" || opens == "batch")
            test::WhenModal([modal](QWidget* w) {
                *modal = w->metaObject()->className();
                w->close();
            });
        Enter();
        QTest::qWait(100);
        if (opens == "browser") {
            QCOMPARE(*modal, QString("pelto::ui::FrmBrowseFile"));
        } else if (opens == "batch") {
            QCOMPARE(*modal, QString("pelto::ui::FrmBatchApply"));
        } else if (opens == "closed") {
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        if (opens == "do it") {
            QCOMPARE(fixture->openedPages().size(), 1);
        } else {
            QVERIFY2(fixture->openedPages().isEmpty(),
                     qPrintable(fixture->openedPages().join(',')));
            QVERIFY(!fs::exists(ws.OutputFolder() / "result.htm"));
        }
    }

    // Enter takes the file the focus is on, without Space first.
    void fileBrowserEnterTakesTheFocusedFile_data() {
        QTest::addColumn<bool>("many");
        QTest::addColumn<int>("down"); // Ctrl+Down presses: moves the focus, highlights none
        QTest::addColumn<QString>("taken");
        QTest::newRow("first file") << false << 0 << "about.htm";
        QTest::newRow("several pages, first file") << true << 0 << "about.htm";
        QTest::newRow("several pages, second file") << true << 1 << "index.htm";
    }
    void fileBrowserEnterTakesTheFocusedFile() {
        QFETCH(bool, many);
        QFETCH(int, down);
        QFETCH(QString, taken);
        FrmBrowseFile browser(ws);
        if (many)
            browser.SetManyPages();
        browser.show();
        QCOMPARE(browser.File1->count(), 2);
        QVERIFY(test::TabTo(&browser, browser.File1));
        for (int k = 0; k < down; ++k)
            QTest::keyClick(browser.File1, Qt::Key_Down, Qt::ControlModifier);
        QVERIFY(browser.File1->selectedItems().isEmpty());
        QTest::keyClick(browser.File1, Qt::Key_Return);
        QCOMPARE(browser.result(), int(QDialog::Accepted));
        const QString path = Q(site->path() / taken.toStdString());
        if (many)
            QCOMPARE(browser.SelectedPages(), QStringList{path});
        else
            QCOMPARE(ws.SampleFile, (site->path() / taken.toStdString()).string());
    }

    // Enter (or a double click) on a change undoes that change alone.
    void historyEnterUndoesOnlyTheChosenChange_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enter on the list") << "enter";
        QTest::newRow("double click") << "double";
        QTest::newRow("Enter on the button") << "button";
    }
    void historyEnterUndoesOnlyTheChosenChange() {
        QFETCH(QString, how);
        const fs::path other = site->path() / "about.htm";
        QVERIFY(!Overwrite(page()).empty());
        QVERIFY(!Overwrite(other).empty());
        FrmUndoHistory history(ws);
        history.show();
        QCOMPARE(history.LstChanges->count(), 2);
        PushTestAnswer(MessageAnswer::Yes); // the question; every later one gets No
        if (how == "enter") {
            QVERIFY(test::TabTo(&history, history.LstChanges));
            Enter();
        } else if (how == "double") {
            const QRect row = history.LstChanges->visualItemRect(history.LstChanges->item(0));
            QTest::mouseClick(history.LstChanges->viewport(), Qt::LeftButton, {}, row.center());
            QTest::mouseDClick(history.LstChanges->viewport(), Qt::LeftButton, {}, row.center());
        } else {
            QVERIFY(test::TabTo(&history, history.CmdUndo));
            Enter();
        }
        QCOMPARE(Questions("Undo the change made by"), 1);
        QCOMPARE(test::ReadAll(other), Page);   // the newest change went
        QVERIFY(test::ReadAll(page()) != Page); // the one before stays
        QCOMPARE(history.LstChanges->count(), 1);
        QVERIFY(history.isVisible());
    }

    // The question names the count and the first pages; the rest are in its details,
    // and the box fits the screen.
    void undoQuestionOfManyPagesFitsTheScreen_data() {
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("details");
        QTest::newRow("one page") << 1 << false;
        QTest::newRow("six pages") << 6 << false;
        QTest::newRow("seven pages") << 7 << true;
        QTest::newRow("120 pages") << 120 << true;
    }
    void undoQuestionOfManyPagesFitsTheScreen() {
        QFETCH(int, pages);
        QFETCH(bool, details);
        const std::vector<std::string> copied = CopyBatch(pages);
        QCOMPARE(int(copied.size()), pages);
        NoFlow flow;
        FrmCats cats(ws, flow);
        cats.show();
        QVERIFY(QTest::qWaitForWindowActive(&cats));
        PushTestAnswer(MessageAnswer::No);
        QTest::keyClick(&cats, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(TestMessages().size(), 1);
        const QString text = TestMessages()[0];
        QVERIFY2(text.contains(pages == 1 ? QString("to this page?")
                                          : QString("to these %1 pages?").arg(pages)),
                 qPrintable(text));
        int listed = 0;
        for (const std::string& p : copied)
            listed += text.contains(Q(p) + "\n") || text.endsWith(Q(p)) ? 1 : 0;
        QCOMPARE(listed, details ? 5 : pages);
        const QString more = TestMessageDetails()[0];
        QCOMPARE(!more.isEmpty(), details);
        if (details) {
            QVERIFY(text.contains(QString("and %1 more").arg(pages - 5)));
            for (const std::string& p : copied)
                QVERIFY2(more.contains(Q(p)), p.c_str());
        }
        // The box as the user gets it keeps its buttons on the screen.
        QMessageBox box;
        PrepareMessageBox(box, text.section('|', 1), MessageIcon::Exclamation,
                          MessageButtons::YesNo, "Undo last change", more);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(box.frameGeometry().height() <= box.screen()->availableGeometry().height());
        // Nothing was undone (the answer was No).
        QVERIFY(fs::exists(site->path() / "many" / "page1_1.htm"));
    }

    // A later change of Pelto's own to the same page is named; both can be undone.
    void undoingAnOlderChangeNamesTheLaterOne_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("undo both") << int(MessageAnswer::Yes);
        QTest::newRow("keep both") << int(MessageAnswer::No);
    }
    void undoingAnOlderChangeNamesTheLaterOne() {
        QFETCH(int, answer);
        QVERIFY(!Overwrite(page()).empty());
        const std::string once = test::ReadAll(page());
        QVERIFY(!Overwrite(page(), 1).empty());
        const std::string twice = test::ReadAll(page());
        QVERIFY(twice != once);
        auto history = UndoStore(ChangeRecordsFolder(ws)).History();
        QVERIFY(history && history->size() == 2);
        const QString laterTime = QString::fromStdString((*history)[0].time);

        FrmUndoHistory window(ws);
        window.show();
        ClickRow(window.LstChanges, 1); // the older change
        PushTestAnswer(MessageAnswer::Yes);
        PushTestAnswer(MessageAnswer(answer));
        QTest::mouseClick(window.CmdUndo, Qt::LeftButton);
        QVERIFY(TestMessages().size() >= 2);
        const QString second = TestMessages()[1];
        QVERIFY2(second.contains("A later change of Pelto's") && second.contains(laterTime) &&
                     second.contains("Test effect") && second.contains(Q(page())),
                 qPrintable(second));
        QVERIFY2(!second.contains("were changed after Pelto wrote them"), qPrintable(second));
        if (answer == int(MessageAnswer::Yes)) {
            QCOMPARE(test::ReadAll(page()), Page);
            QCOMPARE(window.LstChanges->count(), 1);
            QVERIFY(!window.LstChanges->item(0)->flags().testFlag(Qt::ItemIsEnabled));
            QVERIFY(TestMessages().last().contains("The change is undone."));
        } else {
            QCOMPARE(test::ReadAll(page()), twice);
            QCOMPARE(window.LstChanges->count(), 2);
        }
    }

    // "Undo last change" is offered only while there is a change to undo.
    void undoLastIsOfferedOnlyWithAChange_data() {
        QTest::addColumn<int>("changes");
        QTest::newRow("no change") << 0;
        QTest::newRow("one change") << 1;
    }
    void undoLastIsOfferedOnlyWithAChange() {
        QFETCH(int, changes);
        for (int k = 0; k < changes; ++k)
            QVERIFY(!Overwrite(page()).empty());
        NoFlow flow;
        FrmCats cats(ws, flow);
        cats.show();
        QVERIFY(QTest::qWaitForWindowActive(&cats));
        // "offered", "not offered", or "no menu" when the menu did not open.
        auto openMenu = [&]() -> QString {
            QMenuBar* bar = cats.menuBar();
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              bar->actionGeometry(cats.mnu_changes->menuAction()).center());
            if (!QTest::qWaitFor([&] { return cats.mnu_changes->isVisible(); }, 2000))
                return "no menu";
            const bool offered = cats.mnu_undo_last->isEnabled();
            QTest::keyClick(cats.mnu_changes, Qt::Key_Escape);
            return offered ? "offered" : "not offered";
        };
        QCOMPARE(openMenu(), QString(changes > 0 ? "offered" : "not offered"));
        if (changes > 0) {
            PushTestAnswer(MessageAnswer::Yes);
            QTest::keyClick(&cats, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(test::ReadAll(page()), Page);
            // Undone: nothing is left to offer.
            QCOMPARE(openMenu(), QString("not offered"));
        } else {
            QTest::keyClick(&cats, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY(TestMessages().isEmpty());
        }
    }

    // "Whole folder" takes the pages the browser shows: any letter case, hidden folders
    // only when shown.
    void wholeFolderTakesThePagesTheBrowserLists_data() {
        QTest::addColumn<bool>("showHidden");
        QTest::addColumn<QStringList>("pages"); // below the folder
        QTest::newRow("hidden not shown")
            << false << QStringList{"About.Html", "INDEX.HTM", "sub/c.htm"};
        QTest::newRow("hidden shown")
            << true << QStringList{".cache/x.htm", ".draft.htm",      "About.Html",
                                   "INDEX.HTM",    "sub/.old/y.html", "sub/c.htm"};
    }
    void wholeFolderTakesThePagesTheBrowserLists() {
        QFETCH(bool, showHidden);
        QFETCH(QStringList, pages);
        const fs::path folder = site->path() / "web";
        for (const char* name : {"INDEX.HTM", "About.Html", "sub/c.htm", ".cache/x.htm",
                                 "sub/.old/y.html", ".draft.htm", "notes.txt"})
            test::WriteBytes(folder / name, Page);
        FrmBatchApply batch(ws, OutputOption::Preview, 0);
        batch.show();
        test::WhenModal([&](QWidget* modal) {
            auto* browser = qobject_cast<FrmBrowseFile*>(modal);
            if (!browser) {
                modal->close();
                return;
            }
            CloseWhenDone closer{browser};
            browser->SetDir1Path(Q(folder));
            if (showHidden)
                QTest::mouseClick(browser->ChkShowHidden, Qt::LeftButton, {},
                                  QPoint(6, browser->ChkShowHidden->height() / 2));
            QTest::mouseClick(browser->CmdWholeFolder, Qt::LeftButton);
        });
        QTest::mouseClick(batch.CmdAddPages, Qt::LeftButton);
        QStringList expected;
        for (const QString& p : pages)
            expected << Q(folder / p.toStdString());
        expected.sort();
        QStringList got = batch.Pages();
        got.sort();
        QCOMPARE(got, expected);
    }

    // After a run: failures first, each readable without repeating its page; the bar
    // shows the work done; undo puts the list back to the pages.
    void batchResultsSayWhatHappened() {
        test::WriteBytes(site->path() / "a.htm", Page);
        test::WriteBytes(site->path() / "bad.htm", "<HTML><BODY></BODY></HTML>");
        FrmBatchApply batch(ws, OutputOption::Copy, 0);
        batch.show();
        batch.AddPages({Q(site->path() / "a.htm"), Q(site->path() / "bad.htm"), Q(page())});
        QTest::mouseClick(batch.CmdStart, Qt::LeftButton);
        QVERIFY(!batch.Running());
        QCOMPARE(batch.LstPages->count(), 3);
        const QString failed = batch.LstPages->item(0)->data(Qt::UserRole).toString();
        QVERIFY2(failed.startsWith("failed: " + Q(site->path() / "bad.htm")), qPrintable(failed));
        QCOMPARE(failed.count(Q(site->path() / "bad.htm")), 1);
        QVERIFY2(failed.contains('\n'), qPrintable(failed));
        for (int k = 1; k < 3; ++k)
            QVERIFY(batch.LstPages->item(k)->data(Qt::UserRole).toString().startsWith("done: "));
        // No sideways scrolling: lines wrap inside the list.
        QCOMPARE(batch.LstPages->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(batch.LstPages->wordWrap());
        QCOMPARE(batch.PrgPages->value(), 3);

        PushTestAnswer(MessageAnswer::Yes);
        QTest::mouseClick(batch.CmdUndo, Qt::LeftButton);
        QVERIFY(!fs::exists(site->path() / "a_1.htm"));
        QCOMPARE(batch.LstPages->count(), 3);
        for (int k = 0; k < 3; ++k) {
            const QString line = batch.LstPages->item(k)->text();
            QVERIFY2(!line.startsWith("done: ") && !line.startsWith("failed: "), qPrintable(line));
        }
        QVERIFY(batch.LblCurrentPage->text().contains("undone"));
        QCOMPARE(batch.PrgPages->value(), 0);
    }

    void aCancelledBatchShowsTheWorkDone() {
        QStringList pages;
        for (int k = 1; k <= 300; ++k) {
            const fs::path p = site->path() / "many" / ("p" + std::to_string(k) + ".htm");
            test::WriteBytes(p, Page);
            pages << Q(p);
        }
        FrmBatchApply batch(ws, OutputOption::Preview, 0);
        batch.show();
        batch.AddPages(pages);
        // Cancel as soon as the run lets the window work.
        QTimer::singleShot(0, &batch, [&] { QTest::mouseClick(batch.CmdCancel, Qt::LeftButton); });
        QTest::mouseClick(batch.CmdStart, Qt::LeftButton);
        QVERIFY(!batch.Running());
        const QString summary = batch.LblCurrentPage->text();
        QVERIFY2(summary.contains("not applied (cancelled)"), qPrintable(summary));
        const int done = summary.section(' ', 2, 2).toInt();
        QVERIFY2(batch.PrgPages->value() < batch.PrgPages->maximum(), qPrintable(summary));
        QCOMPARE(batch.PrgPages->value(), done);
    }
};

QTEST_MAIN(WindowsInputTest)
#include "windows_input_test.moc"
