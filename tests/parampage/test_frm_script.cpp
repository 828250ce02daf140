// The parameter page itself: loading, the list, moving between parameters, the buttons.
#include "page_fixture.h"
#include "support/key_input.h"
#include "test_registry.h"

#include "parampage/int_editor.h"
#include "parampage/text_editor.h"
#include "platform/message_box.h"
#include "ui_common/editor_frame.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace pelto;
using namespace pelto::test;

namespace {

std::string ThreeParameters() {
    return Definition({
        {"0", "0", "100", "10", "px", "20", "Width", "How wide"},
        {"5", "0", "0", "hello", "", "", "True", "Greeting", "Text shown"},
        {"12", "IE", "NS", "Once per page", "A note", "Ann Author", "support@example", "2 KB",
         "Effect"},
    });
}

} // namespace

class FrmScriptTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void loadsTheDefinitionAndShowsTheFirstParameter() {
        PageFixture f(ThreeParameters());
        ui::FrmScript& page = f.page();
        QCOMPARE(page.windowTitle(), QString("Specify script parameters"));
        QCOMPARE(page.size(), QSize(582, 371));
        QCOMPARE(page.LblScriptName->text(), QString("Test Effect"));
        QCOMPARE(page.LstParameters->geometry(), QRect(4, 68, 173, 244));
        QVERIFY(page.LstParameters->isVisible());
        QCOMPARE(page.LstParameters->count(), 3);
        QCOMPARE(page.LstParameters->item(0)->text(), QString("Width"));
        QCOMPARE(page.LstParameters->item(2)->text(), QString("Info"));
        QCOMPARE(page.LstParameters->item(1)->data(Qt::UserRole).toInt(), int(Text));
        QCOMPARE(page.LstParameters->currentRow(), 0);
        QCOMPARE(page.CurrentParameterIndex, int16_t(0));
        const char* captions[] = {"Simple Int",
                                  "File (Other than image)",
                                  "Image",
                                  "Colour",
                                  "Font",
                                  "Text",
                                  "List (1D to 3D)",
                                  "Options",
                                  "Overlib",
                                  "Mouseover",
                                  "Position",
                                  "Menu",
                                  "Script Information"};
        for (int k = 0; k < 13; ++k) {
            auto* frame = f.Find<QGroupBox>(QStringLiteral("FrameDataType_%1").arg(k).toUtf8());
            QCOMPARE(frame->geometry(), QRect(180, 62, 397, 249));
            QVERIFY(f.Find<QLabel>(QStringLiteral("lblDescription_%1").arg(k).toUtf8()));
            if (k != 0)
                QCOMPARE(frame->title(), QString(captions[k]));
            QCOMPARE(frame->isVisible(), k == 0);
        }
        QCOMPARE(page.FrameDataType[0]->title(), QString("Width"));
        QCOMPARE(page.FrameDataType[0]->lblDescription->text(), QString("How wide"));
        for (auto [name, caption] : {std::pair{"Command13", ">>"},
                                     {"Command12", "<<"},
                                     {"Command8", "Load"},
                                     {"Command9", "Save"},
                                     {"Command7", "Back"},
                                     {"Command5", "Apply"}})
            QCOMPARE(f.Find<QPushButton>(name)->text(), QString(caption));
        QCOMPARE(page.Command13->toolTip(), QString("Next parameter"));
        QCOMPARE(page.Command12->toolTip(), QString("Previous parameter"));
        QCOMPARE(page.Frame1->title(), QString("Templates"));
    }

    void everyControlCanBeReachedAndIsNamed() {
        PageFixture f(ThreeParameters());
        int checked = 0;
        for (QWidget* w : f.page().findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QPlainTextEdit*>(w) ||
                                 qobject_cast<QListWidget*>(w) || qobject_cast<QScrollBar*>(w) ||
                                 qobject_cast<QComboBox*>(w);
            // Option buttons are named by the option they show.
            if (!control || w->objectName().isEmpty() || w->objectName().startsWith("OptOption_"))
                continue;
            ++checked;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
            QVERIFY2(w->focusPolicy() != Qt::NoFocus, qPrintable(w->objectName()));
        }
        QVERIFY(checked > 40);
        QCOMPARE(f.page().Command13->accessibleName(), QString(">>"));
        QCOMPARE(f.page().Command13->accessibleDescription(), QString("Next parameter"));
    }

    void infoFrameShowsTheScriptInformation() {
        PageFixture f(ThreeParameters());
        f.Select("Info");
        ui::EditorFrame* info = f.page().FrameDataType[Info];
        QVERIFY(info->isVisible());
        QVERIFY(!f.page().FrameDataType[Int]->isVisible());
        QCOMPARE(info->title(), QString("Script Information"));
        QCOMPARE(info->lblDescription->text(), QString());
        QCOMPARE(f.Find<QLabel>("LblInfoRepeat")->text(), QString("Once per page"));
        QCOMPARE(f.Find<QLabel>("LblInfoNote")->text(), QString("A note"));
        QCOMPARE(f.Find<QLabel>("LblInfoAuthor")->text(), QString("Ann Author"));
        QCOMPARE(f.Find<QLabel>("LblInfoSupport")->text(), QString("support@example"));
        QCOMPARE(f.Find<QLabel>("LblInfoSize")->text(), QString("2 KB"));
        QCOMPARE(f.Find<QLabel>("LblInfoType")->text(), QString("Effect"));
        QCOMPARE(f.Find<QLabel>("Label4_3")->text(), QString("Type"));
    }

    void nextAndPreviousStopAtTheEnds() {
        PageFixture f(ThreeParameters());
        ui::FrmScript& page = f.page();
        QTest::mouseClick(page.Command12, Qt::LeftButton);
        QCOMPARE(page.LstParameters->currentRow(), 0);
        QTest::mouseClick(page.Command13, Qt::LeftButton);
        QCOMPARE(page.LstParameters->currentRow(), 1);
        QVERIFY(page.FrameDataType[Text]->isVisible());
        QTest::mouseClick(page.Command13, Qt::LeftButton);
        QTest::mouseClick(page.Command13, Qt::LeftButton);
        QCOMPARE(page.LstParameters->currentRow(), 2);
        QTest::mouseClick(page.Command12, Qt::LeftButton);
        QCOMPARE(page.LstParameters->currentRow(), 1);
        QCOMPARE(page.CurrentParameterIndex, int16_t(1));
    }

    void nextWithNothingSelectedSelectsTheFirst() {
        PageFixture f(ThreeParameters());
        f.page().ForgetCurrentParameter();
        QCOMPARE(f.page().LstParameters->currentRow(), -1);
        QTest::mouseClick(f.page().Command13, Qt::LeftButton);
        QCOMPARE(f.page().LstParameters->currentRow(), 0);
    }

    void leavingAParameterCommitsItAndComingBackShowsIt() {
        PageFixture f(ThreeParameters());
        auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right);
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(slider->value(), 22);
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 20.0); // not yet committed
        f.Select("Greeting");
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 22.0);
        auto* text = f.Find<QPlainTextEdit>("TxtText");
        text->clear();
        QTest::keyClicks(text, "Bye");
        f.Select("Width");
        QCOMPARE(f.ws.Params.TextParameters[1].Value, std::string("Bye"));
        QCOMPARE(slider->value(), 22);
        f.Select("Greeting");
        QCOMPARE(text->toPlainText(), QString("Bye"));
    }

    void applyCommitsKeepsTheParameterAndOpensTheApplyDialog() {
        PageFixture f(ThreeParameters());
        auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
        slider->setValue(70);
        int rowWhenApplying = -2;
        f.flow.onApply = [&] { rowWhenApplying = f.page().LstParameters->currentRow(); };
        QTest::mouseClick(f.page().Command5, Qt::LeftButton);
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 70.0);
        QCOMPARE(rowWhenApplying, 0);
        QCOMPARE(f.flow.calls, QStringList({"AddRecentEffect", "ShowApplyDialog(page)"}));
        // Back from the apply dialog the user goes on where they were.
        QCOMPARE(f.page().LstParameters->currentRow(), 0);
        QCOMPARE(f.page().CurrentParameterIndex, int16_t(0));
        QVERIFY(f.page().FrameDataType[Int]->isVisible());
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right);
        QTest::mouseClick(f.page().Command5, Qt::LeftButton);
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 71.0);
    }

    void aScriptWithoutParameters() {
        PageFixture f("// nothing here\r\n// end\r\n");
        ui::FrmScript& page = f.page();
        QCOMPARE(page.LstParameters->count(), 0);
        for (ui::EditorFrame* frame : page.FrameDataType)
            QVERIFY(!frame->isVisible());
        QTest::mouseClick(page.Command13, Qt::LeftButton);
        QTest::mouseClick(page.Command12, Qt::LeftButton);
        QCOMPARE(page.LstParameters->currentRow(), -1);
        QTest::mouseClick(page.Command5, Qt::LeftButton);
        QCOMPARE(f.flow.calls, QStringList({"AddRecentEffect", "ShowApplyDialog(page)"}));
    }

    void backReturnsToScriptSelectionWithoutCommitting() {
        PageFixture f(ThreeParameters());
        f.Find<QScrollBar>("HScrollSimpleInt")->setValue(90);
        QTest::mouseClick(f.page().Command7, Qt::LeftButton);
        QCOMPARE(f.flow.calls, QStringList({"ShowScriptSelection"}));
        QVERIFY(!f.page().isVisible());
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 20.0);
    }

    void aDamagedDefinitionIsReportedWithFileAndLine() {
        PageFixture f(Definition({{"0", "zero", "100", "10", "px", "20", "Width", "How wide"}}));
        QCOMPARE(f.page().LstParameters->count(), 0);
        QCOMPARE(ui::TestMessages().size(), 1);
        QVERIFY2(ui::TestMessages()[0].contains("test.par"), qPrintable(ui::TestMessages()[0]));
        QVERIFY2(ui::TestMessages()[0].contains("line"), qPrintable(ui::TestMessages()[0]));
    }

    void textOfAnyScriptIsStored_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("Western") << QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC ok");
        QTest::newRow("Polish") << QString::fromUtf8(
            "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xC5\x81\xC3\xB3"
            "d\xC5\xBA");
        QTest::newRow("Greek") << QString::fromUtf8("\xCE\xA9mega \xCE\xB1\xCE\xB2\xCE\xB3");
        QTest::newRow("Japanese") << QString::fromUtf8(
            "\xE5\x86\x99\xE7\x9C\x9F\xE3\x81\xA8\xE6\x97\xA5\xE6\x9C\xAC");
        QTest::newRow("Hebrew") << QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
        QTest::newRow("Emoji") << QString::fromUtf8(
            "\xE2\x98\x85 \xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB");
    }
    void textOfAnyScriptIsStored() {
        QFETCH(QString, typed);
        PageFixture f(ThreeParameters());
        f.Select("Greeting");
        auto* text = f.Find<QPlainTextEdit>("TxtText");
        text->clear();
        TypeText(text, typed);
        f.Select("Width");
        QCOMPARE(f.ws.Params.TextParameters[1].Value, typed.toStdString());
        QCOMPARE(ui::TestMessages().size(), 0);
        f.Select("Greeting");
        QCOMPARE(text->toPlainText(), typed);
    }

    void textLineBreaksAreStoredAsTheFilesWriteThem() {
        PageFixture f(ThreeParameters());
        f.Select("Greeting");
        auto* text = f.Find<QPlainTextEdit>("TxtText");
        text->clear();
        QTest::keyClicks(text, "one");
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "two");
        f.Select("Width");
        QCOMPARE(f.ws.Params.TextParameters[1].Value, std::string("one\r\ntwo"));
        f.Select("Greeting");
        QCOMPARE(text->toPlainText(), QString("one\ntwo"));
    }
};

PELTO_REGISTER_TEST(FrmScriptTest)
#include "test_frm_script.moc"
