// The batch window replaces and removes an effect over a site, used with real clicks and
// typed text: the parameter page's new text replaces the notice bar on every page, keeping
// a page's later edit; "Remove it" then gives back every page as it was before the effect;
// a page without the effect fails with its reason while the others go on; Cancel stops a
// long removal with the work done shown.
#include "attach/applied_effects.h"
#include "attach/batch_apply.h"
#include "attach/ui/frm_apply_changes.h"
#include "attach/ui/frm_batch_apply.h"
#include "library/library_loader.h"
#include "parampage/frm_script.h"
#include "parampage/text_editor.h"
#include "platform/message_box.h"
#include "platform/window_flow.h"
#include "support/key_input.h"
#include "ui_common/frm_browse_file.h"
#include "window_fixture.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

namespace {

// "Apply" on the parameter page opens the real apply dialog, and act works on it.
class DialogFlow : public WindowFlow {
public:
    explicit DialogFlow(Workspace& ws) : ws_(ws) {}
    void ShowCategories() override {}
    void ShowScriptSelection() override {}
    void ShowParameterPage() override {}
    void AddRecentEffect() override {}
    void ShowApplyDialog(QWidget* parent) override {
        FrmApplyChanges dialog(ws_, parent);
        dialog.show();
        if (act)
            act(dialog);
        dialog.reject();
    }
    std::function<void(FrmApplyChanges&)> act;

private:
    Workspace& ws_;
};

struct CloseWhenDone {
    QDialog* dialog;
    ~CloseWhenDone() {
        if (dialog->isVisible())
            dialog->reject();
    }
};

void ClickRadio(QRadioButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int k = 0; k < list->count(); ++k)
        lines << list->item(k)->text();
    return lines;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

const std::string kDefaultText = "This site keeps no personal data about you.";
const std::string kMine = "<p>Opening hours: 9 &amp; 5</p>\r\n";

// The page with the user's paragraph just before its closing body tag.
std::string WithMine(std::string page) {
    page.insert(page.rfind("</body>"), kMine);
    return page;
}

} // namespace

class EffectsBatchWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WindowFixture> fixture;
    std::unique_ptr<test::TempFolder> home;
    std::unique_ptr<test::TempFolder> site;
    Workspace ws;
    std::string original; // the sample page as shipped

    fs::path Site() const { return site->path() / "site"; }
    fs::path PageN(int k) const { return Site() / ("p" + std::to_string(k) + ".htm"); }

    // Pages p1..pN of the sample page, each carrying the notice bar with its first values
    // (put there through the core, as an earlier session would have).
    void MakeSite(int n) {
        std::vector<std::string> pages;
        for (int k = 1; k <= n; ++k) {
            test::WriteBytes(PageN(k), original);
            pages.push_back(PageN(k).string());
        }
        BatchRequest request;
        request.option = OutputOption::Overwrite;
        request.overwriteConfirmed = true;
        request.jobs = 2;
        Result<BatchOutcome> done = ApplyToPages(ws, pages, request);
        QVERIFY(done);
        QCOMPARE(done->done, size_t(n));
    }

    // The batch window, opened from the apply dialog that the parameter page's "Apply"
    // opens, with the folder Site() added through the file browser; act works on it.
    void WithBatchWindow(FrmScript& params, DialogFlow& flow,
                         const std::function<void(FrmBatchApply&)>& act) {
        bool sawBatch = false;
        flow.act = [&](FrmApplyChanges& dialog) {
            test::WhenModal([&](QWidget* modal) {
                auto* batch = qobject_cast<FrmBatchApply*>(modal);
                if (!batch) {
                    modal->close();
                    return;
                }
                sawBatch = true;
                CloseWhenDone closer{batch};
                test::WhenModal([&](QWidget* inner) {
                    auto* browser = qobject_cast<FrmBrowseFile*>(inner);
                    if (!browser) {
                        inner->close();
                        return;
                    }
                    CloseWhenDone closer{browser};
                    browser->SetDir1Path(QString::fromStdString(Site().string()));
                    QTest::mouseClick(browser->CmdWholeFolder, Qt::LeftButton);
                });
                QTest::mouseClick(batch->CmdAddPages, Qt::LeftButton);
                act(*batch);
            });
            QTest::mouseClick(dialog.CmdBatch, Qt::LeftButton);
        };
        QTest::mouseClick(params.Command5, Qt::LeftButton);
        QVERIFY(sawBatch);
    }

private slots:
    void init() {
        fixture = std::make_unique<test::WindowFixture>();
        home = std::make_unique<test::TempFolder>();
        site = std::make_unique<test::TempFolder>();
        test::CopyShippedProgramFolder(home->path());
        original = test::ReadAll(home->path() / "sample.htm");
        ws = Workspace{};
        ws.ProgramFolder = home->path();
        QVERIFY(LoadScriptLibrary(ws).fatal.ok());
        for (size_t i = 1; i < ws.Library.size(); ++i)
            if (ws.Library[i].Name == "Notice Bar") {
                ws.CurrentScriptIndex = static_cast<int16_t>(i);
                ws.CurrentParameterFile = ws.Library[i].ParameterFile;
                ws.CurrentCategory = ws.Library[i].Category;
            }
        QVERIFY2(ws.CurrentScriptIndex > 0, "the notice bar is not in the shipped library");
        ws.SampleFile = (home->path() / "sample.htm").string();
        EnableTestMessages();
        ClearTestMessages();
    }
    void cleanup() {
        site.reset();
        home.reset();
        fixture.reset();
    }

    void replacesThenRemovesOverASite() {
        DialogFlow flow(ws);
        FrmScript params(ws, flow);
        params.show();
        MakeSite(4);
        // The user edits p2 after the effect was put on it, and adds p5 without the effect.
        test::WriteBytes(PageN(2), WithMine(test::ReadAll(PageN(2))));
        test::WriteBytes(PageN(5), original);

        // A new text typed on the parameter page.
        const std::string typed = "Closed on 24 December";
        params.LstParameters->setCurrentRow(0);
        QPlainTextEdit* box = params.textEditor->TxtText;
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        test::TypeText(box, QString::fromStdString(typed));

        WithBatchWindow(params, flow, [&](FrmBatchApply& batch) {
            QCOMPARE(batch.LstPages->count(), 5);
            ClickRadio(batch.OptReplace);
            QCOMPARE(batch.CmdStart->text(), QString("Replace on all"));
            PushTestAnswer(MessageAnswer::Yes);
            QTest::mouseClick(batch.CmdStart, Qt::LeftButton);
            QVERIFY(!batch.Running());
            QCOMPARE(batch.PrgPages->value(), 5);
            QVERIFY2(batch.LblCurrentPage->text().contains("5 pages: 4 done, 1 failed"),
                     qPrintable(batch.LblCurrentPage->text()));
            const QStringList lines = Lines(batch.LstPages);
            QCOMPARE(lines.filter("failed: ").size(), 1);
            QVERIFY2(lines.filter("failed: ").first().contains("p5.htm"),
                     qPrintable(lines.join('\n')));
            for (int k = 1; k <= 4; ++k) {
                const std::string now = test::ReadAll(PageN(k));
                QCOMPARE(Count(now, typed), size_t{1});
                QCOMPARE(Count(now, kDefaultText), size_t{0});
                QCOMPARE(Count(now, kMine), size_t(k == 2 ? 1 : 0));
            }
            QCOMPARE(test::ReadAll(PageN(5)), original);

            // Then taken out: every page is the user's page without the effect.
            ClickRadio(batch.OptRemove);
            QCOMPARE(batch.CmdStart->text(), QString("Remove from all"));
            PushTestAnswer(MessageAnswer::Yes);
            QTest::mouseClick(batch.CmdStart, Qt::LeftButton);
            QVERIFY2(batch.LblCurrentPage->text().contains("5 pages: 4 done, 1 failed"),
                     qPrintable(batch.LblCurrentPage->text()));
            for (int k = 1; k <= 5; ++k)
                QCOMPARE(test::ReadAll(PageN(k)), k == 2 ? WithMine(original) : original);

            // The removal is one change: undo brings back the replaced pages.
            QVERIFY(batch.CmdUndo->isEnabled());
            PushTestAnswer(MessageAnswer::Yes);
            QTest::mouseClick(batch.CmdUndo, Qt::LeftButton);
            QCOMPARE(Count(test::ReadAll(PageN(3)), typed), size_t{1});
        });
    }

    void cancelStopsALongRemoval() {
        DialogFlow flow(ws);
        FrmScript params(ws, flow);
        params.show();
        MakeSite(80);
        WithBatchWindow(params, flow, [&](FrmBatchApply& batch) {
            QCOMPARE(batch.LstPages->count(), 80);
            ClickRadio(batch.OptRemove);
            PushTestAnswer(MessageAnswer::Yes);
            // Cancel as soon as the run lets the window work.
            QTimer::singleShot(0, &batch,
                               [&] { QTest::mouseClick(batch.CmdCancel, Qt::LeftButton); });
            QTest::mouseClick(batch.CmdStart, Qt::LeftButton);
            QVERIFY(!batch.Running());
            const QString summary = batch.LblCurrentPage->text();
            QVERIFY2(summary.contains("(cancelled)"), qPrintable(summary));
            const int done = summary.section(' ', 2, 2).toInt();
            QCOMPARE(batch.PrgPages->value(), done);
            // Every page is either without the effect or untouched with it.
            int without = 0;
            for (int k = 1; k <= 80; ++k) {
                const std::string now = test::ReadAll(PageN(k));
                if (now == original)
                    ++without;
                else
                    QCOMPARE(Count(now, kDefaultText), size_t{1});
            }
            QCOMPARE(without, done);
            QVERIFY(done < 80);
        });
    }
};

QTEST_MAIN(EffectsBatchWindowsTest)
#include "effects_batch_windows_test.moc"
