// The editors as a user works them: a value typed and left without Enter is kept, a
// number can be typed beside its slider, the file lists open on the current file, the
// font list's foundry names reach the page as family names, the template and apply
// buttons leave the user on their parameter, and the Info frame labels every line.
#include "page_fixture.h"
#include "test_registry.h"

#include "parampage/colour_editor.h"
#include "parampage/file_chooser.h"
#include "parampage/file_editor.h"
#include "parampage/font_editor.h"
#include "platform/message_box.h"
#include "templates/ui/frm_parameter_set.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "support/key_input.h"

using namespace pelto;
using namespace pelto::test;

namespace {

std::string EditorsDefinition() {
    return Definition({
        {"0", "0", "100", "10", "px", "20", "Size", "Text size"},
        {"3", "255", "Fore", "Text colour"},
        {"10", "0", "-5", "640", "480", "10", "20", "px", "pt", "100", "200", "Left", "Top",
         "Where", "Position of the box"},
        {"1", "*.htm;*.txt", "notes.txt", "Linked page", "A page to link to"},
        {"4", "Arial", "12", "0", "0", "0", "0", "Face", "The font"},
        {"12", "IE", "NS", "Once per page", "A note", "Ann Author", "Any current browser", "2 KB",
         "Effect"},
    });
}

QString QText(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

class EditorInputTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    // A colour typed into a box and left without Enter is the parameter's value.
    void aTypedColourIsKeptWhenTheUserMovesOn_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave"); // how the user moves on
        QTest::addColumn<int>("colour");
        QTest::newRow("HTML code, click another parameter") << "TxtHTMLColourCode"
                                                            << "00FF00"
                                                            << "click row" << 0x00FF00;
        QTest::newRow("HTML code, next-parameter button") << "TxtHTMLColourCode"
                                                          << "#FF8000"
                                                          << "next button" << 0x0080FF;
        QTest::newRow("HTML code, Tab away then Apply") << "TxtHTMLColourCode"
                                                        << "0000FF"
                                                        << "tab and apply" << 0xFF0000;
        QTest::newRow("HTML code, Apply at once") << "TxtHTMLColourCode"
                                                  << "123456"
                                                  << "apply" << 0x563412;
        QTest::newRow("red, click another parameter") << "TxtR"
                                                      << "17"
                                                      << "click row" << 17;
        QTest::newRow("blue, Apply at once") << "TxtB"
                                             << "2"
                                             << "apply" << 0x020000;
    }
    void aTypedColourIsKeptWhenTheUserMovesOn() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(int, colour);
        PageFixture f(EditorsDefinition());
        f.Select("Fore");
        auto* edit = f.Find<QLineEdit>(box.toLatin1().constData());
        if (box != "TxtHTMLColourCode") { // the colour starts as red 255: clear the others
            for (const char* other : {"TxtR", "TxtG", "TxtB"}) {
                auto* b = f.Find<QLineEdit>(other);
                QVERIFY(TabTo(&f.page(), b));
                QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(b, "0");
            }
        }
        QVERIFY(TabTo(&f.page(), edit));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, typed);
        if (leave == "click row") {
            f.Select("Size");
        } else if (leave == "next button") {
            QTest::mouseClick(f.page().Command13, Qt::LeftButton);
        } else if (leave == "tab and apply") {
            QTest::keyClick(edit, Qt::Key_Tab);
            QTest::mouseClick(f.page().Command5, Qt::LeftButton);
        } else {
            QTest::mouseClick(f.page().Command5, Qt::LeftButton);
        }
        QCOMPARE(f.ws.Params.ColourParameters[1].Colour, colour);
        QVERIFY(ui::TestMessages().isEmpty());
    }

    // The number beside a slider takes typed numbers, within the slider's limits.
    void aNumberCanBeTypedBesideTheSlider_data() {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("spin");
        QTest::addColumn<QString>("keys"); // typed after selecting the box's text
        QTest::addColumn<int>("key");      // then this key
        QTest::addColumn<int>("value");
        QTest::newRow("typed, Enter") << "Size"
                                      << "SpnSimpleInt"
                                      << "42" << int(Qt::Key_Return) << 42;
        QTest::newRow("typed, Tab") << "Size"
                                    << "SpnSimpleInt"
                                    << "7" << int(Qt::Key_Tab) << 7;
        QTest::newRow("past the limit") << "Size"
                                        << "SpnSimpleInt"
                                        << "500" << int(Qt::Key_Return) << 50;
        QTest::newRow("arrow up") << "Size"
                                  << "SpnSimpleInt"
                                  << "" << int(Qt::Key_Up) << 21;
        QTest::newRow("position, typed") << "Where"
                                         << "SpnPosition1"
                                         << "333" << int(Qt::Key_Tab) << 333;
        QTest::newRow("second position, below zero") << "Where"
                                                     << "SpnPosition2"
                                                     << "-3" << int(Qt::Key_Return) << -3;
        // A digit that would pass the limit is not taken.
        QTest::newRow("second position, past its limit") << "Where"
                                                         << "SpnPosition2"
                                                         << "-50" << int(Qt::Key_Return) << -5;
    }
    void aNumberCanBeTypedBesideTheSlider() {
        QFETCH(QString, parameter);
        QFETCH(QString, spin);
        QFETCH(QString, keys);
        QFETCH(int, key);
        QFETCH(int, value);
        PageFixture f(EditorsDefinition());
        f.Select(parameter);
        auto* box = f.Find<QSpinBox>(spin.toLatin1().constData());
        QVERIFY(box->isVisible());
        QVERIFY(TabTo(&f.page(), box));
        if (!keys.isEmpty()) {
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, keys);
        }
        QTest::keyClick(box, Qt::Key(key));
        const char* sliderName = spin == "SpnSimpleInt"   ? "HScrollSimpleInt"
                                 : spin == "SpnPosition1" ? "HScrollPosition1"
                                                          : "HScrollPosition2";
        QCOMPARE(f.Find<QScrollBar>(sliderName)->value(), value);
        QCOMPARE(box->value(), value);
        f.Select("Info");
        if (spin == "SpnSimpleInt")
            QCOMPARE(f.ws.Params.IntParameters[1].Value, double(value));
        else if (spin == "SpnPosition1")
            QCOMPARE(f.ws.Params.PositionParameters[1].Value1, double(value));
        else
            QCOMPARE(f.ws.Params.PositionParameters[1].Value2, double(value));
    }

    void theSliderAndTheWheelMoveTheNumberToo() {
        PageFixture f(EditorsDefinition());
        f.Select("Size");
        auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
        auto* box = f.Find<QSpinBox>("SpnSimpleInt");
        QCOMPARE(box->minimum(), 0);
        QCOMPARE(box->maximum(), 100);
        QCOMPARE(box->value(), 20);
        QVERIFY(TabTo(&f.page(), slider));
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(box->value(), 21);
        Wheel(box, 2);
        QCOMPARE(box->value(), 23);
        QCOMPARE(slider->value(), 23);
    }

    // The file lists open on the file the parameter holds, or in the page's folder;
    // never among the program's own files.
    void theFileListsShowTheCurrentFile_data() {
        QTest::addColumn<QString>("where"); // where notes.txt is
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("beside the page") << "page"
                                         << "page"
                                         << "notes.txt";
        QTest::newRow("not there: the page's folder, nothing chosen") << "none"
                                                                      << "page"
                                                                      << "";
    }
    void theFileListsShowTheCurrentFile() {
        QFETCH(QString, where);
        QFETCH(QString, folder);
        QFETCH(QString, chosen);
        PageFixture f(EditorsDefinition());
        TempFolder site;
        f.folder.WriteFile(site.path() / "index.htm", "<html><body></body></html>\r\n");
        f.folder.WriteFile(site.path() / "about.htm", "<html><body></body></html>\r\n");
        if (where == "page")
            f.folder.WriteFile(site.path() / "notes.txt", "x");
        f.ws.SampleFile = (site.path() / "index.htm").string();
        f.Select("Linked page");
        auto* editor = static_cast<ui::FileEditor*>(f.page().FrameDataType[File]);
        QCOMPARE(QDir(editor->Chooser->DirPath()).canonicalPath(),
                 QDir(QText(site.path().string())).canonicalPath());
        QCOMPARE(editor->Chooser->ChosenFile(), chosen);
        auto* files = f.Find<QListWidget>("FileFile");
        QStringList listed;
        for (int i = 0; i < files->count(); ++i)
            listed << files->item(i)->text();
        QVERIFY2(!listed.contains("test.par"), qPrintable(listed.join(',')));
        QVERIFY2(listed.contains("about.htm"), qPrintable(listed.join(',')));
        // Looking and moving on keeps the value as written (no folder added to it).
        f.Select("Info");
        QCOMPARE(f.ws.Params.FileParameters[1].FileName, std::string("notes.txt"));
        QCOMPARE(f.ws.Params.FileParameters[1].Path, std::string());
    }

    void aFileChosenInAnotherFolderIsShownWhenComingBack() {
        PageFixture f(EditorsDefinition());
        TempFolder site;
        f.folder.WriteFile(site.path() / "index.htm", "<html><body></body></html>\r\n");
        f.folder.WriteFile(site.path() / "docs" / "guide.htm", "<html></html>\r\n");
        f.ws.SampleFile = (site.path() / "index.htm").string();
        f.Select("Linked page");
        auto* folders = f.Find<QListWidget>("DirFile");
        auto* files = f.Find<QListWidget>("FileFile");
        const int docs = folders->row(folders->findItems("docs", Qt::MatchExactly).value(0));
        QVERIFY(docs >= 0);
        folders->setFocus();
        ClickRow(folders, docs);
        QTest::keyClick(folders, Qt::Key_Return); // opens the folder
        QCOMPARE(files->count(), 1);
        ClickRow(files, 0);
        f.Select("Info");
        f.Select("Linked page");
        auto* editor = static_cast<ui::FileEditor*>(f.page().FrameDataType[File]);
        QCOMPARE(QDir(editor->Chooser->DirPath()).canonicalPath(),
                 QDir(QText((site.path() / "docs").string())).canonicalPath());
        QCOMPARE(editor->Chooser->ChosenFile(), QString("guide.htm"));
    }

    void theFontFamilyLeavesTheFoundryOut_data() {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("family");
        QTest::newRow("foundry") << "C059 [urw]"
                                 << "C059";
        QTest::newRow("foundry, blank in name") << "Nimbus Sans [UKWN]"
                                                << "Nimbus Sans";
        QTest::newRow("plain") << "DejaVu Sans"
                               << "DejaVu Sans";
        QTest::newRow("bracket inside") << "Odd [x] Face"
                                        << "Odd [x] Face";
    }
    void theFontFamilyLeavesTheFoundryOut() {
        QFETCH(QString, listed);
        QFETCH(QString, family);
        QCOMPARE(ui::FamilyName(listed), family);
        PageFixture f(EditorsDefinition());
        auto* names = f.Find<QListWidget>("LstFontNames");
        // The list as the system gives it, with this family among the names.
        names->insertItem(0, listed);
        f.Select("Face");
        names->scrollToTop();
        ClickRow(names, 0);
        f.Select("Info");
        QCOMPARE(QText(f.ws.Params.FontParameters[1].FontName), family);
        // Coming back highlights the line it came from.
        f.Select("Face");
        QCOMPARE(names->currentRow(), 0);
    }

    // "Load" then "Cancel", and "Apply", leave the user on their parameter, and typing
    // goes on into its editor.
    void theTemplateAndApplyButtonsKeepTheParameter_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Load, then Cancel") << "load";
        QTest::newRow("Load, then Escape") << "load-escape";
        QTest::newRow("Apply") << "apply";
    }
    void theTemplateAndApplyButtonsKeepTheParameter() {
        QFETCH(QString, button);
        PageFixture f(EditorsDefinition());
        f.Select("Size");
        auto* box = f.Find<QSpinBox>("SpnSimpleInt");
        if (button.startsWith("load")) {
            bool cancelled = false;
            QTimer::singleShot(0, [&] {
                auto* d = f.page().findChild<ui::FrmParameterSet*>();
                QVERIFY(d);
                if (button == "load")
                    QTest::mouseClick(d->Command2, Qt::LeftButton);
                else
                    QTest::keyClick(d, Qt::Key_Escape);
                cancelled = true;
            });
            QTest::mouseClick(f.page().Command8, Qt::LeftButton);
            QVERIFY(cancelled);
        } else {
            QTest::mouseClick(f.page().Command5, Qt::LeftButton);
            QCOMPARE(f.flow.calls.last(), QString("ShowApplyDialog(page)"));
        }
        QCOMPARE(f.page().LstParameters->currentRow(), f.RowOf("Size"));
        QCOMPARE(f.page().CurrentParameterIndex, int16_t(f.RowOf("Size")));
        QVERIFY(f.page().FrameDataType[Int]->isVisible());
        QVERIFY(!f.page().FrameDataType[Info]->isVisible());
        QVERIFY(TabTo(&f.page(), box));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, "64");
        QTest::keyClick(box, Qt::Key_Return);
        f.Select("Info");
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 64.0);
    }

    void theInfoFrameLabelsTheBrowserLine() {
        PageFixture f(EditorsDefinition());
        f.Select("Info");
        auto* support = f.Find<QLabel>("LblInfoSupport");
        auto* caption = f.Find<QLabel>("Label4_4");
        QCOMPARE(support->text(), QString("Any current browser"));
        QCOMPARE(caption->text(), QString("Browsers"));
        QVERIFY(caption->isVisible());
        // The caption stands to the left of its line.
        QVERIFY(caption->geometry().right() < support->geometry().left());
        QVERIFY(qAbs(caption->geometry().top() - support->geometry().top()) < 4);
    }
};

PELTO_REGISTER_TEST(EditorInputTest)
#include "test_editor_input.moc"
