// "Change values..." in the apply dialog, used with real clicks and keys: the sample page
// carries the notice bar twice; the newest application is chosen, the parameter page shows
// its values, a new text is typed, and the page's "Apply" replaces that application in the
// page file, leaving the older one as it was; undo brings the page back byte for byte.
#include "attach/applied_effects.h"
#include "attach/ui/frm_apply_changes.h"
#include "attach/ui/undo_actions.h"
#include "library/library_loader.h"
#include "parampage/frm_script.h"
#include "parampage/text_editor.h"
#include "platform/message_box.h"
#include "platform/window_flow.h"
#include "support/key_input.h"
#include "window_fixture.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <deque>
#include <functional>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

namespace {

// The shell's part for a parameter page: "Apply" opens the real apply dialog, on which
// the next step of the test acts (the dialog closes with "Back" or "Change values...").
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
        QVERIFY(!steps.empty());
        const auto step = steps.front();
        steps.pop_front();
        step(dialog);
        if (dialog.isVisible())
            QTest::mouseClick(dialog.Command1, Qt::LeftButton); // "Back"
    }
    std::deque<std::function<void(FrmApplyChanges&)>> steps;

private:
    Workspace& ws_;
};

void ClickRow(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

class EffectsChangeWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WindowFixture> fixture;
    std::unique_ptr<test::TempFolder> home;
    std::unique_ptr<test::TempFolder> pages;
    Workspace ws;

    fs::path page() const { return pages->path() / "index.htm"; }

private slots:
    void init() {
        fixture = std::make_unique<test::WindowFixture>();
        home = std::make_unique<test::TempFolder>();
        pages = std::make_unique<test::TempFolder>();
        test::CopyShippedProgramFolder(home->path());
        test::WriteBytes(page(), test::ReadAll(home->path() / "sample.htm"));
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
        ws.SampleFile = fs::canonical(page()).string();
        EnableTestMessages();
        ClearTestMessages();
    }
    void cleanup() {
        pages.reset();
        home.reset();
        fixture.reset();
    }

    void changeValuesReplacesTheChosenApplication() {
        const std::string defaultText = "This site keeps no personal data about you.";
        const std::string typed = "Prices change on Monday, 7 June";
        DialogFlow flow(ws);
        FrmScript params(ws, flow);
        params.show();
        QVERIFY(QTest::qWaitForWindowExposed(&params));

        // Two applications with "Do it", overwriting the page; then "Change values..." on
        // the newest.
        flow.steps.push_back([](FrmApplyChanges& d) {
            QTest::mouseClick(d.Option2, Qt::LeftButton, {}, QPoint(8, d.Option2->height() / 2));
            PushTestAnswer(MessageAnswer::Yes);
            QTest::mouseClick(d.Command2, Qt::LeftButton);
            d.HScrollScriptRepeat->setFocus();
            QTest::keyClick(d.HScrollScriptRepeat, Qt::Key_Right);
            PushTestAnswer(MessageAnswer::Yes);
            QTest::mouseClick(d.Command2, Qt::LeftButton);
            QCOMPARE(d.LstEffects->count(), 2);
            QVERIFY(!d.CmdChange->isEnabled()); // nothing chosen yet
            QCOMPARE(d.CmdChange->text(), QString::fromUtf8("Change values\u2026"));
            ClickRow(d.LstEffects, 0);
            QVERIFY(d.CmdChange->isEnabled());
            QTest::mouseClick(d.CmdChange, Qt::LeftButton);
            QVERIFY(!d.isVisible()); // back on the parameter page
        });
        QTest::mouseClick(params.Command5, Qt::LeftButton);
        QVERIFY2(flow.steps.empty(), "the apply dialog was not opened");
        QVERIFY2(TestMessages().size() == 2, qPrintable(TestMessages().join("\n")));
        const std::string twice = test::ReadAll(page());
        QCOMPARE(Count(twice, defaultText), size_t{2});

        // The parameter page shows the chosen application's text; the user replaces it.
        ClickRow(params.LstParameters, 0);
        QPlainTextEdit* box = params.textEditor->TxtText;
        QVERIFY(box->isVisible());
        QVERIFY(box->toPlainText().startsWith(QString::fromStdString(defaultText)));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        test::TypeText(box, QString::fromStdString(typed));
        QCOMPARE(box->toPlainText(), QString::fromStdString(typed));

        // "Apply" replaces the newest application; the dialog that follows lists both.
        int listed = -1;
        flow.steps.push_back([&listed](FrmApplyChanges& d) { listed = d.LstEffects->count(); });
        QTest::mouseClick(params.Command5, Qt::LeftButton);
        QVERIFY2(TestMessages().size() == 2, qPrintable(TestMessages().join("\n")));
        QCOMPARE(listed, 2);
        const std::string changed = test::ReadAll(page());
        QCOMPARE(Count(changed, typed), size_t{1});
        QCOMPARE(Count(changed, defaultText), size_t{1});

        // Taking the newest out of either page leaves the same page: the older application
        // and everything else are untouched.
        const fs::path records = AppliedRecordsFolder(ws);
        const std::string at = fs::canonical(page()).string();
        Result<TakenOut> fromTwice =
            TakeOutApplication(records, at, twice, ws.CurrentScript().ScriptId, 1);
        Result<TakenOut> fromChanged =
            TakeOutApplication(records, at, changed, ws.CurrentScript().ScriptId, 1);
        QVERIFY2(fromTwice, fromTwice ? "" : fromTwice.error().text().c_str());
        QVERIFY2(fromChanged, fromChanged ? "" : fromChanged.error().text().c_str());
        QCOMPARE(Count(fromChanged->text, typed), size_t{0});
        QCOMPARE(Count(fromChanged->text, defaultText), size_t{1});
        QCOMPARE(fromChanged->text, fromTwice->text);
        QCOMPARE(fromChanged->record.repeat, int16_t{1}); // the replaced one's repeat count

        // Undo takes the replace back, byte for byte.
        PushTestAnswer(MessageAnswer::Yes);
        QVERIFY(UndoChangeAsking(&params, ws, ""));
        QCOMPARE(test::ReadAll(page()), twice);
    }

    void anotherEffectIsNotChangedFromThisPage() {
        // The page carries an effect that is not the one being edited: the dialog says
        // how to change it, and nothing is chosen.
        DialogFlow flow(ws);
        FrmScript params(ws, flow);
        params.show();
        flow.steps.push_back([this](FrmApplyChanges& d) {
            QTest::mouseClick(d.Option2, Qt::LeftButton, {}, QPoint(8, d.Option2->height() / 2));
            PushTestAnswer(MessageAnswer::Yes);
            QTest::mouseClick(d.Command2, Qt::LeftButton);
            // The user switches to another effect elsewhere; this list still shows the bar.
            const int16_t bar = ws.CurrentScriptIndex;
            ws.CurrentScriptIndex = static_cast<int16_t>(bar == 1 ? 2 : 1);
            ClickRow(d.LstEffects, 0);
            QTest::mouseClick(d.CmdChange, Qt::LeftButton);
            ws.CurrentScriptIndex = bar;
            QVERIFY(d.isVisible());
        });
        QTest::mouseClick(params.Command5, Qt::LeftButton);
        QVERIFY2(TestMessages().size() == 2, qPrintable(TestMessages().join("\n")));
        QVERIFY2(TestMessages().last().contains("can be changed only on its own parameter page"),
                 qPrintable(TestMessages().last()));
    }
};

QTEST_MAIN(EffectsChangeWindowsTest)
#include "effects_change_windows_test.moc"
