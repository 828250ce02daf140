// The page and its editors as keyboard and mouse users work them: moving the focus into a
// list chooses nothing, a click (also on the highlighted line) or an arrow key does; Enter
// works where a click or double click would; refused text keeps the user where it is.
#include "page_fixture.h"
#include "test_registry.h"

#include "parampage/colour_editor.h"
#include "parampage/colour_palette.h"
#include "parampage/list_editor.h"
#include "parampage/menu_editor.h"
#include "platform/message_box.h"
#include "support/key_input.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>

using namespace pelto;
using namespace pelto::test;

namespace {

const std::string kOther = "*\r\n0\r\n0\r\n9\r\n1\r\n\r\n1\r\nOther\r\n\r\n";

std::string ListBlock() {
    return "*\r\n6\r\n0\r\n0\r\n2\r\n\r\n2\r\n#\r\n0\r\nItem\r\nLink\r\nTarget\r\nItems\r\n"
           "The entries\r\na\r\nb\r\nA\r\nB\r\n";
}

std::string MenuBlock() {
    return "*\r\n11\r\n3\r\n;\r\nSite menu\r\nThe menu\r\nA\r\nB\r\nC\r\nA\r\nB\r\nC\r\n"
           "L1\r\nL2\r\nL3\r\n";
}

std::string LinkPage() {
    return "<html><body><a href=\"a.htm\">First</a> <a href=\"b.htm\">Second</a></body></html>\r\n";
}

// What one editor's list must not do when the focus merely moves into it.
struct FocusCase {
    std::string definition;
    const char* list;
    // What the user does next (typing, buttons), then what must still hold.
    std::function<void(PageFixture&)> then;
    std::function<void(PageFixture&)> check;
};

void Press(PageFixture& f, const char* button) {
    QTest::mouseClick(f.Find<QPushButton>(button), Qt::LeftButton);
}

const std::map<QString, FocusCase>& FocusCases() {
    static const std::map<QString, FocusCase> cases = {
        {"file list keeps the default file",
         {"*\r\n1\r\n*.htm\r\nstart.htm\r\nPage\r\nA page\r\n" + kOther + "// end\r\n", "FileFile",
          [](PageFixture& f) { Press(f, "Command13"); },
          [](PageFixture& f) {
              QCOMPARE(f.ws.Params.FileParameters[1].FileName, std::string("start.htm"));
          }}},
        {"font list keeps a font that is not installed",
         {"*\r\n4\r\nNo Such Font Anywhere\r\n0\r\n0\r\n0\r\n0\r\n12\r\nHeading\r\nA font\r\n" +
              kOther + "// end\r\n",
          "LstFontNames", [](PageFixture& f) { Press(f, "Command13"); },
          [](PageFixture& f) {
              QCOMPARE(f.ws.Params.FontParameters[1].FontName,
                       std::string("No Such Font Anywhere"));
          }}},
        {"list buttons act on no line",
         {ListBlock() + kOther + "// end\r\n", "LstList",
          [](PageFixture& f) {
              QTest::keyClicks(f.Find<QLineEdit>("TxtLstEntry"), "new");
              for (const char* button : {"Command2", "Command3", "Command6"})
                  Press(f, button);
          },
          [](PageFixture& f) {
              auto* list = f.Find<QListWidget>("LstList");
              QCOMPARE(list->count(), 2);
              QCOMPARE(list->item(0)->text(), QString("a"));
              QCOMPARE(list->item(1)->text(), QString("b"));
              QCOMPARE(ui::TestMessages(), QStringList());
          }}},
        {"mouseover texts go to no link",
         {"*\r\n9\r\nStatus\r\n\r\nonmouseover=\"*\"\r\nLinks\r\nTexts\r\n" + kOther + "// end\r\n",
          "LstMouseover",
          [](PageFixture& f) { QTest::keyClicks(f.Find<QLineEdit>("TxtMouseover1"), "typed"); },
          [](PageFixture& f) {
              QCOMPARE(f.ws.Params.Mouseover.Links[1].Text1, std::string("First"));
              QCOMPARE(f.ws.Params.Mouseover.Links[2].Text1, std::string("Second"));
          }}},
        {"menu caption renames no entry",
         {MenuBlock() + kOther + "// end\r\n", "LstMenuBuilder",
          [](PageFixture& f) { QTest::keyClicks(f.Find<QLineEdit>("TxtMenuCaption"), "X"); },
          [](PageFixture& f) {
              const MenuParameter& m = f.ws.Params.Menu;
              QCOMPARE(m.MenuEntries[1], std::string("A"));
              QCOMPARE(m.MenuCaptions[1], std::string("A"));
          }}},
    };
    return cases;
}

// A folder with one page, made the process's current folder while it lives (the file
// lists start there).
class PageFolder {
public:
    PageFolder() : previous_(QDir::currentPath()) {
        QFile page(dir_.filePath("page.htm"));
        page.open(QIODevice::WriteOnly);
        page.write("<html></html>");
        page.close();
        QDir::setCurrent(dir_.path());
    }
    ~PageFolder() { QDir::setCurrent(previous_); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace

class UserChoicesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void tabIntoAListChoosesNothing_data() {
        QTest::addColumn<QString>("name");
        for (const auto& [name, c] : FocusCases())
            QTest::newRow(qPrintable(name)) << name;
    }
    void tabIntoAListChoosesNothing() {
        QFETCH(QString, name);
        const FocusCase& c = FocusCases().at(name);
        PageFolder here;
        PageFixture f(c.definition, LinkPage());
        auto* list = f.Find<QListWidget>(c.list);
        QVERIFY(list->count() >= 1);
        QVERIFY(TabTo(&f.page(), list));
        QCOMPARE(list->selectedItems().size(), 0); // focus alone highlights nothing
        c.then(f);
        c.check(f);
    }

    void anArrowKeyOnTheListChooses() {
        PageFixture f(ListBlock() + kOther + "// end\r\n");
        auto* list = f.Find<QListWidget>("LstList");
        QVERIFY(TabTo(&f.page(), list));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->selectedItems().size(), 1);
        auto* box = f.Find<QLineEdit>("TxtLstEntry");
        QTest::keyClicks(box, "z");
        Press(f, "Command2"); // Update
        QCOMPARE(list->item(1)->text(), QString("z"));
    }

    void enterOnAListLineBringsItIntoTheBoxes() {
        PageFixture f(ListBlock() + kOther + "// end\r\n");
        auto* list = f.Find<QListWidget>("LstList");
        auto* box1 = f.Find<QLineEdit>("TxtLstEntry");
        auto* box2 = f.Find<QLineEdit>("TxtLstEntry2");
        // Enter brings the line the focus is on, without Space first.
        QVERIFY(TabTo(&f.page(), list));
        QVERIFY(list->selectedItems().isEmpty());
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(box1->text(), QString("a"));
        box1->clear();
        ClickRow(list, 1);
        QCOMPARE(box1->text(), QString()); // a single click does not fill the boxes
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(box1->text(), QString("b"));
        QCOMPARE(box2->text(), QString("B"));
        QTest::keyClick(list, Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Enter);
        QCOMPARE(box1->text(), QString("a"));
        QCOMPARE(box2->text(), QString("A"));
    }

    void menuLineClickedAgainAfterUpOrDownLoadsItsTexts_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("moved");     // the entry now on the clicked line
        QTest::addColumn<QString>("neighbour"); // the moved entry, which must keep its caption
        QTest::addColumn<int>("neighbourLine");
        QTest::newRow("Up") << "CmdMenuUp" << 1 << "A"
                            << "B" << 0;
        QTest::newRow("Down") << "CmdMenuDown" << 1 << "C"
                              << "B" << 2;
    }
    void menuLineClickedAgainAfterUpOrDownLoadsItsTexts() {
        QFETCH(QString, button);
        QFETCH(int, line);
        QFETCH(QString, moved);
        QFETCH(QString, neighbour);
        QFETCH(int, neighbourLine);
        PageFixture f(MenuBlock() + kOther + "// end\r\n");
        auto* editor = static_cast<ui::MenuEditor*>(f.page().FrameDataType[Menu]);
        ClickRow(editor->LstMenuBuilder, line);
        QCOMPARE(editor->TxtMenuCaption->text(), QString("B"));
        Press(f, qPrintable(button));
        QCOMPARE(editor->LstMenuBuilder->item(line)->text(), moved);
        ClickRow(editor->LstMenuBuilder, line); // the highlighted line, clicked again
        QCOMPARE(editor->TxtMenuCaption->text(), moved);
        QTest::keyClick(editor->TxtMenuCaption, Qt::Key_End);
        QTest::keyClicks(editor->TxtMenuCaption, "x");
        QCOMPARE(editor->LstMenuBuilder->item(line)->text(), moved + "x");
        QCOMPARE(editor->LstMenuBuilder->item(neighbourLine)->text(), neighbour);
        QCOMPARE(QString::fromStdString(f.ws.Params.Menu.MenuCaptions[neighbourLine + 1]),
                 neighbour);
    }

    void enterInAColourBoxTakesTheColour_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("colour");
        QTest::newRow("red") << "TxtR" << 128;
        QTest::newRow("green") << "TxtG" << 128 * 256;
        QTest::newRow("blue") << "TxtB" << 128 * 65536;
    }
    void enterInAColourBoxTakesTheColour() {
        QFETCH(QString, box);
        QFETCH(int, colour);
        PageFixture f(Definition({{"3", "0", "Back", "Background"}}));
        auto* editor = static_cast<ui::ColourEditor*>(f.page().FrameDataType[Colour]);
        auto* edit = f.Find<QLineEdit>(qPrintable(box));
        QVERIFY(TabTo(&f.page(), edit));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, "128");
        QCOMPARE(editor->PicSolidColour->BackColor(), 0); // typing alone takes nothing
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(editor->PicSolidColour->BackColor(), colour);
    }

    void enterOnAFocusedPageButtonPressesIt_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }
    void enterOnAFocusedPageButtonPressesIt() {
        QFETCH(int, key);
        PageFixture f(Definition({{"3", "0", "Back", "Background"}, {"3", "0", "Fore", "Text"}}));
        QVERIFY(TabTo(&f.page(), f.page().Command13));
        QTest::keyClick(f.page().Command13, Qt::Key(key));
        QCOMPARE(f.page().CurrentParameterIndex, int16_t(1));
    }

    void pastedTextOfAnyScriptIsTakenHoweverTheParameterIsLeft() {
        PageFixture f(Definition({{"5", "0", "0", "Hello", "", "", "True", "Greeting", "Words"},
                                  {"0", "0", "9", "1", "", "1", "Other", ""}}));
        auto* text = f.Find<QPlainTextEdit>("TxtText");
        // A check mark, Greek and an emoji, as pasted.
        const QString pasted = QString::fromUtf8(" \xE2\x9C\x93 \xCE\xB1\xCE\xB2 \xF0\x9F\x98\x80");
        auto leaveBy = [&](const std::function<void()>& act) {
            ClickRow(f.page().LstParameters, 0);
            text->clear();
            QTest::keyClicks(text, "Hello");
            text->insertPlainText(pasted);
            ui::ClearTestMessages();
            act();
            QVERIFY2(ui::TestMessages().isEmpty(), qPrintable(ui::TestMessages().join(" / ")));
            QCOMPARE(f.ws.Params.TextParameters[1].Value, ("Hello" + pasted).toStdString());
            QCOMPARE(f.page().CurrentParameterIndex, int16_t(1));
        };
        leaveBy([&] { ClickRow(f.page().LstParameters, 1); });
        leaveBy([&] { QTest::keyClick(f.page().LstParameters, Qt::Key_Down); });
        leaveBy([&] { QTest::mouseClick(f.page().Command13, Qt::LeftButton); });
        ClickRow(f.page().LstParameters, 0);
        QTest::mouseClick(f.page().Command5, Qt::LeftButton);
        QVERIFY(f.flow.calls.contains("ShowApplyDialog(page)"));
        QCOMPARE(f.ws.Params.TextParameters[1].Value, ("Hello" + pasted).toStdString());
    }

    void descriptionsAndInformationAreShownAsWritten() {
        const std::string marked = "Use <b>bold</b> &amp; more";
        PageFixture f(Definition(
            {{"3", "0", "Back", marked}, {"12", "", "", "Once", marked, "", "", "", ""}}));
        QLabel* description = f.page().FrameDataType[Colour]->lblDescription;
        QCOMPARE(description->text(), QString::fromStdString(marked));
        QCOMPARE(description->textFormat(), Qt::PlainText);
        f.Select("Info");
        QLabel* note = f.Find<QLabel>("LblInfoNote");
        QVERIFY(note->text().contains("<b>bold</b>"));
        QCOMPARE(note->textFormat(), Qt::PlainText);
    }
};

PELTO_REGISTER_TEST(UserChoicesTest)
#include "test_user_choices.moc"
