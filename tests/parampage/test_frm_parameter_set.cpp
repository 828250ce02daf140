// The template dialog, opened from the parameter page's "Save" and "Load" buttons.
#include "page_fixture.h"
#include "test_registry.h"

#include "platform/message_box.h"
#include "support/geometry_round_trip.h"
#include "support/key_input.h"
#include "templates/ui/frm_parameter_set.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace pelto;
using namespace pelto::test;

namespace {

std::string TemplateDefinition() {
    return Definition({
        {"0", "0", "100", "10", "px", "5", "Width", "How wide"},
        {"3", "255", "Back", "Background"},
        {"12", "", "", "Once", "", "", "", "", ""},
    });
}

std::string UserFile(const PageFixture& f, const std::string& name) {
    return ReadAll(f.folder.path() / "userdata" / name);
}

void WriteTemplate(PageFixture& f, const std::string& file, const std::string& text) {
    f.folder.WriteFile(std::filesystem::path("userdata") / file, text);
}

// Presses "Save" on the page and returns the modeless dialog it opened.
ui::FrmParameterSet* OpenSaveDialog(PageFixture& f) {
    QTest::mouseClick(f.page().Command9, Qt::LeftButton);
    for (auto* d : f.page().findChildren<ui::FrmParameterSet*>())
        if (d->isVisible())
            return d;
    return nullptr;
}

} // namespace

class FrmParameterSetTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void saveOpensPreparedAndWritesTheCommittedValues() {
        PageFixture f(TemplateDefinition());
        // Typed but not committed: the template gets the committed value.
        f.Find<QScrollBar>("HScrollSimpleInt")->setValue(9);
        QPointer<ui::FrmParameterSet> d = OpenSaveDialog(f);
        QVERIFY(d);
        QVERIFY(!d->isModal());
        QCOMPARE(d->windowTitle(), QString("Save Template"));
        QCOMPARE(d->Command1->text(), QString("Save"));
        QCOMPARE(d->Command1->property("HelpContextID").toInt(), 56);
        QVERIFY(d->TxtName->isVisible());
        QVERIFY(d->Label3->isVisible());
        QCOMPARE(d->Label3->text(), QString("New Set"));
        QCOMPARE(d->Label2->text(), QString("Select Value set name"));
        QCOMPARE(d->Label1->text(), QString("Select values to save"));
        QCOMPARE(d->Command2->text(), QString("Cancel"));
        QCOMPARE(d->LstName->count(), 0);
        QCOMPARE(d->LstParameters->count(), 3);
        QCOMPARE(d->LstParameters->item(2)->text(), QString("Info"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(d->LstParameters->item(i)->isSelected());
        QTest::keyClicks(d->TxtName, "t");
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QVERIFY(!d || !d->isVisible());
        QCOMPARE(UserFile(f, "test.p01"), CrLf({"t", "Width", "5", "Back", "255"}));
    }

    void onlySelectedParametersAreSaved() {
        PageFixture f(TemplateDefinition());
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        QVERIFY(d);
        for (int i = 0; i < d->LstParameters->count(); ++i)
            ClickRow(d->LstParameters, i); // multi-selection: a click deselects
        QTest::keyClicks(d->TxtName, "empty");
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QCOMPARE(UserFile(f, "test.p01"), CrLf({"empty"}));
    }

    void theSmallestFreeNumberIsUsed() {
        PageFixture f(TemplateDefinition());
        WriteTemplate(f, "test.p01", CrLf({"one"}));
        WriteTemplate(f, "test.p03", CrLf({"three"}));
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        QCOMPARE(d->LstName->count(), 2);
        QCOMPARE(d->TemplateFiles().size(), size_t(2));
        QTest::keyClicks(d->TxtName, "two");
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QCOMPARE(UserFile(f, "test.p02"), CrLf({"two", "Width", "5", "Back", "255"}));
    }

    void savingUnderAnExistingNameAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the file") << false;
        QTest::newRow("Yes overwrites it") << true;
    }
    void savingUnderAnExistingNameAsksFirst() {
        QFETCH(bool, yes);
        PageFixture f(TemplateDefinition());
        const std::string old = CrLf({"t", "Width", "50"});
        WriteTemplate(f, "test.p01", old);
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        ClickRow(d->LstName, 0);
        QCOMPARE(d->TxtName->text(), QString("t"));
        ui::PushTestAnswer(yes ? ui::MessageAnswer::Yes : ui::MessageAnswer::No);
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QCOMPARE(
            ui::TestMessages(),
            QStringList({"Pelto|A template with name t already exists. Overwrite existing one"}));
        QVERIFY(!d->isVisible());
        QCOMPARE(UserFile(f, "test.p01"), yes ? CrLf({"t", "Width", "5", "Back", "255"}) : old);
        QVERIFY(!std::filesystem::exists(f.folder.path() / "userdata" / "test.p02"));
    }

    void aNameInOtherLetterCaseIsANewTemplate() {
        PageFixture f(TemplateDefinition());
        WriteTemplate(f, "test.p01", CrLf({"t"}));
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        QTest::keyClicks(d->TxtName, "T");
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QVERIFY(ui::TestMessages().isEmpty());
        QCOMPARE(UserFile(f, "test.p02").substr(0, 3), std::string("T\r\n"));
    }

    void aNameOfAnyCharactersIsSavedInUtf8() {
        PageFixture f(TemplateDefinition());
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        // "☀ słońce 晴れ" typed key by key.
        TypeText(d->TxtName, QString::fromUtf8("\xE2\x98\x80 s\xC5\x82o\xC5\x84"
                                               "ce "
                                               "\xE6\x99\xB4\xE3\x82\x8C"));
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QVERIFY(ui::TestMessages().isEmpty());
        QCOMPARE(UserFile(f, "test.p01"), "\xEF\xBB\xBF" + CrLf({"\xE2\x98\x80 s\xC5\x82o\xC5\x84"
                                                                 "ce \xE6\x99\xB4\xE3\x82\x8C",
                                                                 "Width", "5", "Back", "255"}));
        ui::FrmParameterSet* again = OpenSaveDialog(f);
        QCOMPARE(again->LstName->item(0)->text(),
                 QString::fromUtf8("\xE2\x98\x80 s\xC5\x82o\xC5\x84"
                                   "ce \xE6\x99\xB4\xE3\x82\x8C"));
    }

    void cancelDoesNothing() {
        PageFixture f(TemplateDefinition());
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        QTest::keyClicks(d->TxtName, "t");
        QTest::mouseClick(d->Command2, Qt::LeftButton);
        QVERIFY(!d->isVisible());
        QVERIFY(std::filesystem::is_empty(f.folder.path() / "userdata"));
    }

    void loadReadsTheTemplateAndShowsItOnTheCurrentParameter() {
        PageFixture f(TemplateDefinition());
        WriteTemplate(f, "test.p01", CrLf({"other", "Width", "1"}));
        WriteTemplate(f, "test.p02", CrLf({"wide", "Width", "77", "Back", "65280"}));
        // An edit that was never committed must not overwrite the loaded value.
        f.Find<QScrollBar>("HScrollSimpleInt")->setValue(9);
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* d = f.page().findChild<ui::FrmParameterSet*>();
            QVERIFY(d && d->isModal());
            QCOMPARE(d->windowTitle(), QString("Load Template"));
            QCOMPARE(d->Command1->text(), QString("Load"));
            QCOMPARE(d->Command1->property("HelpContextID").toInt(), 53);
            QVERIFY(!d->TxtName->isVisible());
            QVERIFY(!d->Label3->isVisible());
            QCOMPARE(d->Label1->text(), QString("Select values to load"));
            QVERIFY(!d->Command1->isEnabled()); // until a name is chosen
            ClickRow(d->LstName, 1);
            QCOMPARE(d->TxtName->text(), QString("wide"));
            QVERIFY(d->Command1->isEnabled());
            QTest::mouseClick(d->Command1, Qt::LeftButton);
            checked = true;
        });
        QTest::mouseClick(f.page().Command8, Qt::LeftButton);
        QVERIFY(checked);
        // The parameter the user was on stays, showing its loaded value.
        QCOMPARE(f.page().LstParameters->currentRow(), 0);
        QCOMPARE(f.page().CurrentParameterIndex, int16_t(0));
        QCOMPARE(f.Find<QScrollBar>("HScrollSimpleInt")->value(), 77);
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 77.0);
        QCOMPARE(f.ws.Params.ColourParameters[1].Colour, 65280);
        f.Select("Width");
        QCOMPARE(f.Find<QScrollBar>("HScrollSimpleInt")->value(), 77);
        f.Select("Back");
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 77.0);
        QCOMPARE(f.Find<QLineEdit>("TxtHTMLColourCode")->text(), QString("00FF00"));
    }

    // Enter on the name the focus is on takes it and loads, without Space first.
    void enterLoadsTheFocusedName_data() {
        QTest::addColumn<int>("click"); // the row clicked first; -1: none (Tab only)
        QTest::addColumn<double>("width");
        QTest::newRow("the name the focus is on") << -1 << 1.0;
        QTest::newRow("a highlighted name") << 1 << 77.0;
    }
    void enterLoadsTheFocusedName() {
        QFETCH(int, click);
        QFETCH(double, width);
        PageFixture f(TemplateDefinition());
        WriteTemplate(f, "test.p01", CrLf({"other", "Width", "1"}));
        WriteTemplate(f, "test.p02", CrLf({"wide", "Width", "77", "Back", "65280"}));
        bool closed = false;
        QTimer::singleShot(0, [&] {
            auto* d = f.page().findChild<ui::FrmParameterSet*>();
            if (!d)
                return;
            // A failed check still closes the dialog, so the test reports.
            struct Closer {
                QWidget* w;
                ~Closer() {
                    if (w->isVisible())
                        w->close();
                }
            } closer{d};
            QVERIFY(TabTo(d, d->LstName));
            if (click >= 0)
                ClickRow(d->LstName, click);
            else
                QVERIFY(d->LstName->selectedItems().isEmpty());
            QTest::keyClick(d->LstName, Qt::Key_Return);
            closed = !d->isVisible();
        });
        QTest::mouseClick(f.page().Command8, Qt::LeftButton);
        QVERIFY(closed);
        QCOMPARE(f.ws.Params.IntParameters[1].Value, width);
        QCOMPARE(f.Find<QScrollBar>("HScrollSimpleInt")->value(), int(width));
    }

    void loadingAfterSavingRoundsHalvesToEven() {
        PageFixture f(TemplateDefinition());
        WriteTemplate(f, "test.p01", CrLf({"halves", "Width", "2.5"}));
        QTimer::singleShot(0, [&] {
            auto* d = f.page().findChild<ui::FrmParameterSet*>();
            ClickRow(d->LstName, 0);
            QTest::mouseClick(d->Command1, Qt::LeftButton);
        });
        QTest::mouseClick(f.page().Command8, Qt::LeftButton);
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 2.0);
    }

    void tabIntoTheNamesKeepsTheTypedName() {
        PageFixture f(TemplateDefinition());
        WriteTemplate(f, "test.p01", CrLf({"old", "Width", "50"}));
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        QVERIFY(TabTo(d, d->TxtName));
        QTest::keyClicks(d->TxtName, "new");
        QTest::keyClick(d->TxtName, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->LstName);
        QCOMPARE(d->TxtName->text(), QString("new"));
        QTest::keyClick(d->LstName, Qt::Key_Return); // the dialog's "Save"
        QCOMPARE(ui::TestMessages(), QStringList()); // no overwrite question
        QCOMPARE(UserFile(f, "test.p02"), CrLf({"new", "Width", "5", "Back", "255"}));
        QCOMPARE(UserFile(f, "test.p01"), CrLf({"old", "Width", "50"}));
    }

    void aNameIsChosenByClickAgainOrByArrowKeys() {
        PageFixture f(TemplateDefinition());
        WriteTemplate(f, "test.p01", CrLf({"one"}));
        WriteTemplate(f, "test.p02", CrLf({"two"}));
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        ClickRow(d->LstName, 0);
        QCOMPARE(d->TxtName->text(), QString("one"));
        QTest::keyClicks(d->TxtName, " more");
        ClickRow(d->LstName, 0); // the highlighted name, clicked again
        QCOMPARE(d->TxtName->text(), QString("one"));
        QTest::keyClick(d->LstName, Qt::Key_Down);
        QCOMPARE(d->TxtName->text(), QString("two"));
    }

    void aFailedSaveKeepsTheDialogAsItWas() {
        PageFixture f(TemplateDefinition());
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        ClickRow(d->LstParameters, 1);                  // "Back" left out
        QTest::mouseClick(d->Command1, Qt::LeftButton); // no name
        QCOMPARE(ui::TestMessages().size(), 1);
        QVERIFY(d->isVisible());
        QVERIFY(d->LstParameters->item(0)->isSelected());
        QVERIFY(!d->LstParameters->item(1)->isSelected());
        QTest::keyClicks(d->TxtName, "named");
        QTest::keyClick(d->TxtName, Qt::Key_Return);
        QVERIFY(!d->isVisible());
        QCOMPARE(UserFile(f, "test.p01"), CrLf({"named", "Width", "5"}));
    }

    void multiLineTextIsLeftOutByNameAndTheRestIsSaved() {
        PageFixture f(Definition({
            {"0", "0", "100", "10", "px", "5", "Width", "How wide"},
            {"5", "0", "0", "Hello", "", "", "True", "Greeting", "Words"},
            {"8", "reserved"},
            {"3", "255", "Back", "Background"},
        }));
        f.Select("Greeting");
        auto* text = f.Find<QPlainTextEdit>("TxtText");
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "second line");
        f.Select("Back"); // commits the two lines
        QCOMPARE(f.ws.Params.TextParameters[1].Value, std::string("Hello\r\nsecond line"));
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        QCOMPARE(d->LstParameters->count(), 4); // the kind-8 parameter is listed, selected
        QTest::keyClicks(d->TxtName, "t");
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QCOMPARE(ui::TestMessages().size(), 1);
        QVERIFY(ui::TestMessages()[0].contains("\"Greeting\""));
        QVERIFY(ui::TestMessages()[0].contains("line break"));
        // The other values are saved; the kind-8 parameter writes no block at all.
        QCOMPARE(UserFile(f, "test.p01"), CrLf({"t", "Width", "5", "Back", "255"}));
    }

    void dialogComesBackWhereItWasLeft() {
        PageFixture f(TemplateDefinition());
        ui::FrmParameterSet* d = nullptr;
        const QString problem = test::GeometryRoundTripProblem(
            [&]() -> QWidget* { return d = OpenSaveDialog(f); },
            [&](QWidget*) { QTest::mouseClick(d->Command2, Qt::LeftButton); });
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void dialogOpensAtItsDefaultSizeWhenNothingIsStored() {
        PageFixture f(TemplateDefinition());
        ui::FrmParameterSet* d = OpenSaveDialog(f);
        QVERIFY(d);
        QCOMPARE(d->size(), QSize(440, 300));
    }
};

PELTO_REGISTER_TEST(FrmParameterSetTest)
#include "test_frm_parameter_set.moc"
