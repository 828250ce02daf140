// The value editors: slider, position, options, file and image choosers, mouseover.
#include "page_fixture.h"
#include "support/key_input.h"
#include "test_registry.h"

#include "parampage/file_chooser.h"
#include "parampage/file_editor.h"
#include "parampage/mouseover_editor.h"
#include "platform/message_box.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace pelto;
using namespace pelto::test;

namespace {

std::string ValueEditorsDefinition() {
    return Definition({
        {"0", "0", "100", "10", "px", "42.5", "Half", "Halves go to even"},
        {"0", "0", "100", "2.5", "%", "43.5", "Odd", "Rounded up"},
        {"0", "0", "100", "10", "em", "42", "Same", "Same value, other unit"},
        {"10", "0", "-5", "640", "480", "10", "20", "px", "pt", "100.5", "200", "Left", "Top",
         "Where", "Position of the box"},
        {"7", "1", "3", "Style", "Pick a style", "Plain", "Bold", "Fancy", "p", "b", "f"},
        {"1", "*.txt;*.CSV", "start.txt", "Data", "A data file"},
        {"2", "*.png", "", "Picture", "A picture"},
    });
}

} // namespace

class ValueEditorsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void intSliderShowsRoundedValueWithItsUnit_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("pageStep");
        QTest::newRow("42.5 halves to 42") << "Half" << 42 << "42 px" << 10;
        QTest::newRow("43.5 halves to 44") << "Odd" << 44 << "44 %" << 2;
        QTest::newRow("same value, new unit") << "Same" << 42 << "42 em" << 10;
    }
    void intSliderShowsRoundedValueWithItsUnit() {
        QFETCH(QString, name);
        QFETCH(int, value);
        QFETCH(QString, label);
        QFETCH(int, pageStep);
        PageFixture f(ValueEditorsDefinition());
        f.Select(name);
        auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
        QCOMPARE(slider->value(), value);
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 100);
        QCOMPARE(slider->pageStep(), pageStep);
        QCOMPARE(f.Find<QLabel>("LblIntValue")->text(), label);
    }

    void unmovedIntCommitsTheRoundedValueAndMovedOneItsNewValue() {
        PageFixture f(ValueEditorsDefinition());
        f.Select("Odd");
        QCOMPARE(f.ws.Params.IntParameters[1].Value, 42.0); // "Half" committed unmoved
        auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(f.Find<QLabel>("LblIntValue")->text(), QString("45 %"));
        f.Select("Half");
        QCOMPARE(f.ws.Params.IntParameters[2].Value, 45.0);
        f.Select("Odd");
        QCOMPARE(slider->value(), 45);
    }

    void positionShowsBothSlidersAndCommitsThem() {
        PageFixture f(ValueEditorsDefinition());
        f.Select("Where");
        auto* s1 = f.Find<QScrollBar>("HScrollPosition1");
        auto* s2 = f.Find<QScrollBar>("HScrollPosition2");
        QCOMPARE(s1->minimum(), 0);
        QCOMPARE(s1->maximum(), 640);
        QCOMPARE(s2->minimum(), -5);
        QCOMPARE(s2->maximum(), 480);
        QCOMPARE(s1->value(), 100); // 100.5 halves to even
        QCOMPARE(s2->value(), 200);
        QCOMPARE(s1->pageStep(), 10);
        QCOMPARE(s2->pageStep(), 20);
        QCOMPARE(f.Find<QLabel>("LblPositionValue1")->text(), QString("100 px"));
        QCOMPARE(f.Find<QLabel>("LblPositionValue2")->text(), QString("200 pt"));
        QCOMPARE(f.Find<QLabel>("LblPositionCaption1")->text(), QString("Left"));
        QCOMPARE(f.Find<QLabel>("LblPositionCaption2")->text(), QString("Top"));
        s2->setFocus();
        QTest::keyClick(s2, Qt::Key_PageUp);
        QCOMPARE(f.Find<QLabel>("LblPositionValue2")->text(), QString("220 pt"));
        f.Select("Half");
        QCOMPARE(f.ws.Params.PositionParameters[1].Value1, 100.0);
        QCOMPARE(f.ws.Params.PositionParameters[1].Value2, 220.0);
    }

    void optionsShowTheirButtonsAndCommitTheChoice() {
        PageFixture f(ValueEditorsDefinition());
        f.Select("Style");
        for (int i = 0; i < 14; ++i) {
            auto* b = f.Find<QRadioButton>(QStringLiteral("OptOption_%1").arg(i).toUtf8());
            QCOMPARE(b->isVisible(), i < 3);
        }
        auto* bold = f.Find<QRadioButton>("OptOption_1");
        QCOMPARE(bold->text(), QString("Bold"));
        QVERIFY(bold->isChecked());
        auto* fancy = f.Find<QRadioButton>("OptOption_2");
        QTest::mouseClick(fancy, Qt::LeftButton, {}, QPoint(8, fancy->height() / 2));
        QVERIFY(fancy->isChecked());
        QVERIFY(!bold->isChecked());
        f.Select("Half");
        QCOMPARE(f.ws.Params.OptionParameters[1].Selected, int16_t(2));
    }

    void fifteenOptionsOfferTheFirstFourteenInTwoColumns() {
        std::vector<std::string> block = {"7", "14", "15", "Many", ""};
        for (int i = 0; i < 15; ++i)
            block.push_back("o" + std::to_string(i));
        for (int i = 0; i < 15; ++i)
            block.push_back("t" + std::to_string(i));
        std::string def = "*\r\n";
        for (const auto& line : block)
            def += line + "\r\n";
        PageFixture f(def + "// end\r\n");
        for (int i = 0; i < 14; ++i)
            QVERIFY(
                f.Find<QRadioButton>(QStringLiteral("OptOption_%1").arg(i).toUtf8())->isVisible());
        auto* b6 = f.Find<QRadioButton>("OptOption_6");
        auto* b7 = f.Find<QRadioButton>("OptOption_7");
        QCOMPARE(b7->text(), QString("o7"));
        QVERIFY(b7->x() > b6->x());
        QVERIFY(b7->y() < b6->y());
        QVERIFY(!f.Find<QRadioButton>("OptOption_13")->isChecked()); // 14 is not offered
    }

    void aChoiceOutsideTheButtonsIsKept() {
        PageFixture f(Definition({{"7", "5", "2", "Pick", "", "A", "B", "a", "b"},
                                  {"0", "0", "9", "1", "", "1", "Other", ""}}));
        for (int i = 0; i < 14; ++i)
            QVERIFY(
                !f.Find<QRadioButton>(QStringLiteral("OptOption_%1").arg(i).toUtf8())->isChecked());
        f.Select("Other");
        QCOMPARE(f.ws.Params.OptionParameters[1].Selected, int16_t(5));
    }

    void fileChooserFiltersByPatternAndStoresFolderAndName() {
        PageFixture f(ValueEditorsDefinition());
        TempFolder dir;
        for (const char* name : {"a.txt", "B.TXT", "c.csv", "d.gif"})
            f.folder.WriteFile(dir.path() / name, "x"); // absolute path replaces the base
        f.Select("Data");
        auto* editor = static_cast<ui::FileEditor*>(f.page().FrameDataType[File]);
        editor->Chooser->SetDirPath(QString::fromStdString(dir.path().string()));
        auto* files = f.Find<QListWidget>("FileFile");
        QStringList shown;
        for (int i = 0; i < files->count(); ++i)
            shown << files->item(i)->text();
        shown.sort();
        QCOMPARE(shown, QStringList({"B.TXT", "a.txt", "c.csv"}));
        ClickRow(files, 0);
        const std::string chosen = files->currentItem()->text().toStdString();
        f.Select("Half");
        QCOMPARE(f.ws.Params.FileParameters[1].Path, dir.path().string() + "/");
        QCOMPARE(f.ws.Params.FileParameters[1].FileName, chosen);
    }

    void fileFolderListOpensSubfoldersAndLookingWithoutChoosingKeepsTheFile() {
        PageFixture f(ValueEditorsDefinition());
        TempFolder dir;
        std::filesystem::create_directories(dir.path() / "sub");
        f.Select("Data");
        auto* editor = static_cast<ui::FileEditor*>(f.page().FrameDataType[File]);
        editor->Chooser->SetDirPath(QString::fromStdString(dir.path().string()));
        auto* folders = f.Find<QListWidget>("DirFile");
        QList<QListWidgetItem*> sub = folders->findItems("sub", Qt::MatchExactly);
        QCOMPARE(sub.size(), 1);
        folders->setCurrentItem(sub[0]);
        QTest::keyClick(folders, Qt::Key_Return);
        QCOMPARE(editor->Chooser->DirPath(), QString::fromStdString((dir.path() / "sub").string()));
        editor->Chooser->SetDirPath("/");
        f.Select("Half");
        // No file chosen: the parameter keeps the folder and file it had.
        QCOMPARE(f.ws.Params.FileParameters[1].Path, std::string());
        QCOMPARE(f.ws.Params.FileParameters[1].FileName, std::string("start.txt"));
    }

    void imageChooserPreviewsTheClickedPicture() {
        PageFixture f(ValueEditorsDefinition());
        TempFolder dir;
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(QString::fromStdString((dir.path() / "red.png").string())));
        f.folder.WriteFile(dir.path() / "broken.png", "not a picture");
        f.Select("Picture");
        auto* editor = static_cast<ui::FileEditor*>(f.page().FrameDataType[Image]);
        editor->Chooser->SetDirPath(QString::fromStdString(dir.path().string()));
        auto* files = f.Find<QListWidget>("FileImage");
        QCOMPARE(files->count(), 2);
        auto* preview = f.Find<QLabel>("ImgImage");
        ClickRow(files, files->row(files->findItems("red.png", Qt::MatchExactly)[0]));
        QCOMPARE(preview->pixmap().size(), QSize(20, 10));
        ClickRow(files, files->row(files->findItems("broken.png", Qt::MatchExactly)[0]));
        QVERIFY(preview->pixmap().isNull());
        f.Select("Half");
        QCOMPARE(f.ws.Params.ImageParameters[1].FileName, std::string("broken.png"));
    }
};

class MouseoverEditorTest : public QObject {
    Q_OBJECT
    static std::string Page() {
        return "<html><body><a href=\"a.htm\">First</a> <A "
               "HREF=\"b.htm\">Second</A></body></html>\r\n";
    }
    static std::string WithTemplate(const std::string& tmpl) {
        return Definition({{"9", "Status text", "Title", tmpl, "Links", "Texts for the links"},
                           {"0", "0", "9", "1", "", "1", "Other", ""}});
    }
private slots:
    void init() { ui::ClearTestMessages(); }

    void showsTheLinksAndOnlyTheBoxesTheTemplateUses_data() {
        QTest::addColumn<QString>("tmpl");
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("second");
        QTest::newRow("both") << "onmouseover=\"*\" title=\"#\"" << true << true;
        QTest::newRow("first only") << "onmouseover=\"*\"" << true << false;
        QTest::newRow("second only") << "title=\"#\"" << false << true;
    }
    void showsTheLinksAndOnlyTheBoxesTheTemplateUses() {
        QFETCH(QString, tmpl);
        QFETCH(bool, first);
        QFETCH(bool, second);
        PageFixture f(WithTemplate(tmpl.toStdString()), Page());
        ui::EditorFrame* frame = f.page().FrameDataType[Mouseover];
        QVERIFY(frame->isVisible());
        QCOMPARE(frame->title(), QString("Mouseover"));
        QCOMPARE(frame->lblDescription->text(), QString("Texts for the links"));
        auto* links = f.Find<QListWidget>("LstMouseover");
        QCOMPARE(links->count(), 2);
        QCOMPARE(links->item(1)->text(), QString("Second"));
        QCOMPARE(f.Find<QLineEdit>("TxtMouseover1")->isVisible(), first);
        QCOMPARE(f.Find<QLabel>("LblMouseover1")->isVisible(), first);
        QCOMPARE(f.Find<QLineEdit>("TxtMouseover2")->isVisible(), second);
        QCOMPARE(f.Find<QLabel>("LblMouseover2")->isVisible(), second);
        if (first)
            QCOMPARE(f.Find<QLabel>("LblMouseover1")->text(), QString("Status text"));
        if (second)
            QCOMPARE(f.Find<QLabel>("LblMouseover2")->text(), QString("Title"));
    }

    void typedTextsAreStoredForTheSelectedLinkOnly() {
        PageFixture f(WithTemplate("onmouseover=\"*\" title=\"#\""), Page());
        auto* editor = static_cast<ui::MouseoverEditor*>(f.page().FrameDataType[Mouseover]);
        QVERIFY(!editor->MouseoverEditsLive);
        auto* box1 = f.Find<QLineEdit>("TxtMouseover1");
        auto* box2 = f.Find<QLineEdit>("TxtMouseover2");
        // No line selected: the text belongs to no link.
        QTest::keyClicks(box1, "lost");
        const auto& links = f.ws.Params.Mouseover.Links;
        // The page scan starts each first text as the link's text.
        QCOMPARE(links[1].Text1, std::string("First"));
        QCOMPARE(links[2].Text1, std::string("Second"));
        ClickRow(f.Find<QListWidget>("LstMouseover"), 1);
        QVERIFY(editor->MouseoverEditsLive);
        QCOMPARE(box1->text(), QString("Second"));
        box1->clear();
        QTest::keyClicks(box1, "Go to B");
        QTest::keyClicks(box2, "B page");
        QCOMPARE(links[2].Text1, std::string("Go to B"));
        QCOMPARE(links[2].Text2, std::string("B page"));
        QCOMPARE(links[1].Text1, std::string("First"));
        ClickRow(f.Find<QListWidget>("LstMouseover"), 0);
        QCOMPARE(box1->text(), QString("First"));
        QCOMPARE(links[2].Text1, std::string("Go to B")); // the line click stores nothing
        f.Select("Other");
        f.Select("Links");
        ClickRow(f.Find<QListWidget>("LstMouseover"), 1);
        QCOMPARE(box1->text(), QString("Go to B"));
        QCOMPARE(box2->text(), QString("B page"));
    }

    void anyCharacterIsStored() {
        PageFixture f(WithTemplate("onmouseover=\"*\""), Page());
        ClickRow(f.Find<QListWidget>("LstMouseover"), 0);
        auto* box1 = f.Find<QLineEdit>("TxtMouseover1");
        box1->clear();
        // "ok ✓ Ελλάδα עברית 😀", typed key by key.
        TypeText(box1, QString::fromUtf8(
                           "ok \xE2\x9C\x93 \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 "
                           "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA \xF0\x9F\x98\x80"));
        QCOMPARE(f.ws.Params.Mouseover.Links[1].Text1,
                 std::string("ok \xE2\x9C\x93 \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 "
                             "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA \xF0\x9F\x98\x80"));
        QCOMPARE(ui::TestMessages().size(), 0);
    }
};

PELTO_REGISTER_TEST(ValueEditorsTest)
PELTO_REGISTER_TEST(MouseoverEditorTest)
#include "test_value_editors.moc"
