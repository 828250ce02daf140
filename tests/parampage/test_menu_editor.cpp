// The menu builder: adding, removing, moving, indenting and live editing of entries.
#include "page_fixture.h"
#include "support/key_input.h"
#include "test_registry.h"

#include "parampage/menu_editor.h"
#include "platform/message_box.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <map>

using namespace pelto;
using namespace pelto::test;

namespace {

// A menu block with the given display texts (captions are the bare texts, links L1..).
std::string MenuDefinition(const std::vector<std::string>& entries) {
    std::string def =
        "*\r\n11\r\n" + std::to_string(entries.size()) + "\r\n;\r\nSite menu\r\nThe menu\r\n";
    for (const auto& e : entries)
        def += e + "\r\n";
    for (const auto& e : entries)
        def += e.substr(e.find_first_not_of('>') == std::string::npos ? e.size()
                                                                      : e.find_first_not_of('>')) +
               "\r\n";
    for (size_t i = 0; i < entries.size(); ++i)
        def += "L" + std::to_string(i + 1) + "\r\n";
    return def + "*\r\n0\r\n0\r\n9\r\n1\r\n\r\n1\r\nOther\r\n\r\n// end\r\n";
}

struct MenuPage {
    explicit MenuPage(const std::vector<std::string>& entries) : f(MenuDefinition(entries)) {
        editor = static_cast<ui::MenuEditor*>(f.page().FrameDataType[Menu]);
    }
    void Click(const char* button) {
        QTest::mouseClick(f.Find<QPushButton>(button), Qt::LeftButton);
    }
    void Line(int i) { ClickRow(editor->LstMenuBuilder, i); }
    QStringList Lines() const {
        QStringList out;
        for (int i = 0; i < editor->LstMenuBuilder->count(); ++i)
            out << editor->LstMenuBuilder->item(i)->text();
        return out;
    }
    // The record's display texts, which must always match the list.
    QStringList Entries() const {
        const MenuParameter& m = f.ws.Params.Menu;
        QStringList out;
        for (int k = 1; k <= m.Count; ++k)
            out << QString::fromStdString(m.MenuEntries[k]);
        return out;
    }
    void Type(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

    PageFixture f;
    ui::MenuEditor* editor;
};

} // namespace

class MenuEditorTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void showsTheEntriesInAFixedPitchFont() {
        MenuPage p({"Home", ">News", ">>Old"});
        QCOMPARE(p.editor->title(), QString("Site menu"));
        QCOMPARE(p.editor->lblDescription->text(), QString("The menu"));
        QCOMPARE(p.Lines(), QStringList({"Home", ">News", ">>Old"}));
        QVERIFY(QFontInfo(p.editor->LstMenuBuilder->font()).fixedPitch());
        p.Line(1);
        QCOMPARE(p.editor->TxtMenuCaption->text(), QString("News"));
        QCOMPARE(p.editor->TxtMenuLink->text(), QString("L2"));
    }

    void rightIndentsAtMostOneLevelBelowTheEntryAbove_data() {
        QTest::addColumn<QStringList>("start");
        QTest::addColumn<QString>("presses"); // line:button, ...
        QTest::addColumn<QStringList>("result");
        QTest::newRow("second gets depth 1")
            << QStringList{"a", "b", "c"} << "1R" << QStringList{"a", ">b", "c"};
        QTest::newRow("and stays there")
            << QStringList{"a", "b", "c"} << "1R 1R" << QStringList{"a", ">b", "c"};
        QTest::newRow("third under an indented second")
            << QStringList{"a", "b", "c"} << "1R 2R 2R" << QStringList{"a", ">b", ">>c"};
        QTest::newRow("first line never moves")
            << QStringList{">a", "b"} << "0R 0L" << QStringList{">a", "b"};
        QTest::newRow("left from depth 2")
            << QStringList{"a", ">b", ">>c"} << "2L" << QStringList{"a", ">b", ">c"};
        QTest::newRow("left at depth 0") << QStringList{"a", "b"} << "1L" << QStringList{"a", "b"};
        QTest::newRow("too deep is cut to the limit")
            << QStringList{"a", ">>>b"} << "1R" << QStringList{"a", ">b"};
        QTest::newRow("up keeps depth") << QStringList{"a", ">b"} << "1U" << QStringList{">b", "a"};
        QTest::newRow("down keeps depth")
            << QStringList{"a", ">b", "c"} << "1D" << QStringList{"a", "c", ">b"};
        QTest::newRow("up on first, down on last")
            << QStringList{"a", "b"} << "0U 1D" << QStringList{"a", "b"};
    }
    void rightIndentsAtMostOneLevelBelowTheEntryAbove() {
        QFETCH(QStringList, start);
        QFETCH(QString, presses);
        QFETCH(QStringList, result);
        std::vector<std::string> entries;
        for (const QString& s : start)
            entries.push_back(s.toStdString());
        MenuPage p(entries);
        const std::map<QChar, const char*> buttons = {
            {'R', "CmdMenuRight"}, {'L', "CmdMenuLeft"}, {'U', "CmdMenuUp"}, {'D', "CmdMenuDown"}};
        for (const QString& press : presses.split(' ')) {
            p.Line(press.left(press.size() - 1).toInt());
            p.Click(buttons.at(press.back()));
        }
        QCOMPARE(p.Lines(), result);
        QCOMPARE(p.Entries(), result);
        p.f.Select("Other");
        p.f.Select("Site menu");
        QCOMPARE(p.Lines(), result);
    }

    void upAndDownMoveCaptionsAndLinksWithTheEntry() {
        MenuPage p({"a", ">b", "c"});
        p.Line(1);
        p.Click("CmdMenuUp");
        QCOMPARE(p.editor->LstMenuBuilder->currentRow(), 1);
        const MenuParameter& m = p.f.ws.Params.Menu;
        QCOMPARE(m.MenuCaptions[1], std::string("b"));
        QCOMPARE(m.MenuLinks[1], std::string("L2"));
        QCOMPARE(m.MenuLinks[2], std::string("L1"));
    }

    void addAppendsAtTheDepthOfTheLastEntry() {
        MenuPage p({});
        QCOMPARE(p.Lines(), QStringList());
        p.Type(p.editor->TxtMenuCaption, "Home");
        p.Type(p.editor->TxtMenuLink, "index.htm");
        p.Click("CmdMenuAdd");
        QCOMPARE(p.Lines(), QStringList({"Home"}));
        p.Type(p.editor->TxtMenuCaption, "News");
        p.Click("CmdMenuAdd");
        p.Line(1);
        p.Click("CmdMenuRight");
        p.editor->TxtMenuCaption->clear(); // an empty caption is accepted
        p.Line(0);
        p.Click("CmdMenuAdd");
        QCOMPARE(p.Lines(), QStringList({"Home", ">", ">Home"}));
        const MenuParameter& m = p.f.ws.Params.Menu;
        QCOMPARE(m.Count, int16_t(3));
        QCOMPARE(m.MenuLinks[1], std::string("index.htm"));
        QCOMPARE(m.MenuCaptions[2], std::string());
        QCOMPARE(m.MenuEntries[3], std::string(">Home"));
    }

    void removeThenAddKeepsEveryEntryItsOwnTexts() {
        MenuPage p({"a", "b", "c"});
        p.Line(1);
        p.Click("CmdMenuRemove");
        QCOMPARE(p.Lines(), QStringList({"a", "c"}));
        QCOMPARE(p.editor->LstMenuBuilder->currentRow(), -1);
        p.Type(p.editor->TxtMenuCaption, "d");
        p.Type(p.editor->TxtMenuLink, "Ld");
        p.Click("CmdMenuAdd");
        QCOMPARE(p.Lines(), QStringList({"a", "c", "d"}));
        p.Line(1);
        QCOMPARE(p.editor->TxtMenuLink->text(), QString("L3"));
        p.Line(2);
        QCOMPARE(p.editor->TxtMenuCaption->text(), QString("d"));
        QCOMPARE(p.editor->TxtMenuLink->text(), QString("Ld"));
        QCOMPARE(p.Entries(), p.Lines());
    }

    void removingTheOnlyEntryLeavesAnEmptyMenu() {
        MenuPage p({"only"});
        p.Line(0);
        p.Click("CmdMenuRemove");
        QCOMPARE(p.Lines(), QStringList());
        p.Click("CmdMenuRemove");
        QCOMPARE(p.f.ws.Params.Menu.Count, int16_t(0));
        QVERIFY(ui::TestMessages().isEmpty());
        p.f.Select("Other");
        QCOMPARE(p.f.ws.Params.Menu.Count, int16_t(0));
    }

    void editingACaptionKeepsTheMarksAndIsStoredAtOnce() {
        MenuPage p({"a", ">b"});
        p.Line(1);
        p.Type(p.editor->TxtMenuCaption, "Bee");
        p.Type(p.editor->TxtMenuLink, "bee.htm");
        QCOMPARE(p.Lines(), QStringList({"a", ">Bee"}));
        const MenuParameter& m = p.f.ws.Params.Menu;
        QCOMPARE(m.MenuEntries[2], std::string(">Bee"));
        QCOMPARE(m.MenuCaptions[2], std::string("Bee"));
        QCOMPARE(m.MenuLinks[2], std::string("bee.htm"));
        p.f.Select("Other");
        p.f.Select("Site menu");
        QCOMPARE(p.Lines(), QStringList({"a", ">Bee"}));
    }

    void captionsAndLinksOfAnyCharactersAreStored() {
        MenuPage p({"a"});
        p.Line(0);
        // "a → Главная", and a link to "写真.htm", typed key by key.
        TypeText(p.editor->TxtMenuCaption,
                 QString::fromUtf8(
                     " \xE2\x86\x92 \xD0\x93\xD0\xBB\xD0\xB0\xD0\xB2\xD0\xBD\xD0\xB0\xD1\x8F"));
        p.editor->TxtMenuLink->clear();
        TypeText(p.editor->TxtMenuLink, QString::fromUtf8("\xE5\x86\x99\xE7\x9C\x9F.htm"));
        const MenuParameter& m = p.f.ws.Params.Menu;
        QCOMPARE(
            m.MenuCaptions[1],
            std::string("a \xE2\x86\x92 \xD0\x93\xD0\xBB\xD0\xB0\xD0\xB2\xD0\xBD\xD0\xB0\xD1\x8F"));
        QCOMPARE(m.MenuLinks[1], std::string("\xE5\x86\x99\xE7\x9C\x9F.htm"));
        QCOMPARE(p.Lines(),
                 QStringList({QString::fromUtf8(
                     "a \xE2\x86\x92 \xD0\x93\xD0\xBB\xD0\xB0\xD0\xB2\xD0\xBD\xD0\xB0\xD1\x8F")}));
        QCOMPARE(ui::TestMessages().size(), 0);
    }
};

PELTO_REGISTER_TEST(MenuEditorTest)
#include "test_menu_editor.moc"
