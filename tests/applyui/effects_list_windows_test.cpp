// The apply dialog's "Effects on this page", used with real clicks and keys: two
// applications made with "Do it" are listed newest first; "Remove" takes the chosen one out
// and keeps the user's edit; "Undo last change" brings it back.
#include "attach/ui/frm_apply_changes.h"
#include "library/definition_reader.h"
#include "platform/message_box.h"
#include "window_fixture.h"

#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

class EffectsListWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WindowFixture> fixture;
    std::unique_ptr<test::TempProgramFolder> home;
    std::unique_ptr<test::TempFolder> pages;
    Workspace ws;

    fs::path page() const { return pages->path() / "index.htm"; }

    void ClickRow(QListWidget* list, int row) {
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void DoItOverwriting(FrmApplyChanges& dialog) {
        PushTestAnswer(MessageAnswer::Yes);
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
    }

private slots:
    void init() {
        fixture = std::make_unique<test::WindowFixture>();
        home = std::make_unique<test::TempProgramFolder>();
        pages = std::make_unique<test::TempFolder>();
        home->WriteScrambled("fx_head.dat", "<SCRIPT SRC=\"fx.js\"></SCRIPT>\r\n");
        home->WriteScrambled("fx_ext.dat", "document.title = 'fx';\r\n");
        test::WriteBytes(page(), test::UserPage);
        ws = Workspace{};
        ws.ProgramFolder = home->path();
        ResetParameterState(ws);
        ws.Library.push_back(test::HeadAndExternalEffect());
        ws.CurrentScriptIndex = 1;
        ws.CurrentParameterFile = "fx.par";
        ws.SampleFile = fs::canonical(page()).string();
        EnableTestMessages();
        ClearTestMessages();
    }
    void cleanup() {
        pages.reset();
        home.reset();
        fixture.reset();
    }

    void listsRemovesAndUndoes() {
        FrmApplyChanges dialog(ws);
        dialog.show();
        QCOMPARE(dialog.FraEffects->title(), QString("Effects on this page"));
        QCOMPARE(dialog.CmdRemove->text(), QString("Remove"));
        QCOMPARE(dialog.LstEffects->count(), 0);

        QTest::mouseClick(dialog.Option2, Qt::LeftButton, {},
                          QPoint(8, dialog.Option2->height() / 2));
        DoItOverwriting(dialog);
        const std::string once = test::ReadAll(page());
        // Applied once before: the repeat count goes up with the keyboard.
        dialog.HScrollScriptRepeat->setFocus();
        QTest::keyClick(dialog.HScrollScriptRepeat, Qt::Key_Right);
        QCOMPARE(dialog.HScrollScriptRepeat->value(), 1);
        DoItOverwriting(dialog);
        QCOMPARE(dialog.LstEffects->count(), 2);
        QVERIFY2(dialog.LstEffects->item(0)->text().startsWith("Test effect (fx), applied "),
                 qPrintable(dialog.LstEffects->item(0)->text()));
        QVERIFY(!dialog.CmdRemove->isEnabled()); // nothing chosen yet

        // The user edits the page: a paragraph of their own.
        std::string edited = test::ReadAll(page());
        edited.insert(edited.find("<P>Hello</P>"), "<P>Mine &amp; \xC5\x82\xC3\xB3"
                                                   "d\xC5\xBA</P>\r\n");
        test::WriteBytes(page(), edited);

        ClickRow(dialog.LstEffects, 0);
        QVERIFY(dialog.CmdRemove->isEnabled());
        QTest::mouseClick(dialog.CmdRemove, Qt::LeftButton);
        QVERIFY2(TestMessages().size() == 2, qPrintable(TestMessages().join("\n"))); // two Yes
        std::string expected = once;
        expected.insert(expected.find("<P>Hello</P>"), "<P>Mine &amp; \xC5\x82\xC3\xB3"
                                                       "d\xC5\xBA</P>\r\n");
        QCOMPARE(test::ReadAll(page()), expected);
        QCOMPARE(dialog.LstEffects->count(), 1);
        QVERIFY(dialog.CmdUndo->isEnabled());

        // Keyboard: the last one left, chosen with the arrow key, removed with Space.
        dialog.LstEffects->setFocus();
        QTest::keyClick(dialog.LstEffects, Qt::Key_Down);
        QVERIFY(dialog.CmdRemove->isEnabled());
        dialog.CmdRemove->setFocus();
        QTest::keyClick(dialog.CmdRemove, Qt::Key_Space);
        std::string bare = test::UserPage;
        bare.insert(bare.find("<P>Hello</P>"), "<P>Mine &amp; \xC5\x82\xC3\xB3"
                                               "d\xC5\xBA</P>\r\n");
        QCOMPARE(test::ReadAll(page()), bare);
        QCOMPARE(dialog.LstEffects->count(), 0);

        // "Undo last change" brings the removed effect back, and the list shows it.
        PushTestAnswer(MessageAnswer::Yes);
        QTest::mouseClick(dialog.CmdUndo, Qt::LeftButton);
        QCOMPARE(test::ReadAll(page()), expected);
        QCOMPARE(dialog.LstEffects->count(), 1);
    }

    void aPageWithoutRecordsSaysWhy() {
        test::WriteBytes(page(), "<!--2erghdf45yrfx-->\r\n" + test::UserPage);
        FrmApplyChanges dialog(ws);
        dialog.show();
        QCOMPARE(dialog.LstEffects->count(), 1);
        QVERIFY2(dialog.LstEffects->item(0)->text().contains("cannot be taken out: Pelto has no "
                                                             "record"),
                 qPrintable(dialog.LstEffects->item(0)->text()));
        ClickRow(dialog.LstEffects, 0);
        QVERIFY(!dialog.CmdRemove->isEnabled());
    }
};

QTEST_MAIN(EffectsListWindowsTest)
#include "effects_list_windows_test.moc"
