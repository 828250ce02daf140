// The list editor: its work table, the five buttons, the double-click and the case rule.
#include "page_fixture.h"
#include "support/key_input.h"
#include "test_registry.h"

#include "parampage/list_case_rule.h"
#include "parampage/list_editor.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace pelto;
using namespace pelto::test;

namespace {

// A list block: columns, case rule, rows, then the entries column by column.
std::string ListDefinition(const std::string& columns, const std::string& caseRule,
                           const std::vector<std::string>& entries, int rows) {
    std::string def = "*\r\n6\r\n0\r\n0\r\n" + columns + "\r\n" + caseRule + "\r\n" +
                      std::to_string(rows) +
                      "\r\n#\r\n0\r\nItem\r\nLink\r\nTarget\r\nMenu items\r\n"
                      "The entries\r\n";
    for (const auto& e : entries)
        def += e + "\r\n";
    return def + "*\r\n0\r\n0\r\n9\r\n1\r\n\r\n1\r\nOther\r\n\r\n// end\r\n";
}

struct ListPage {
    explicit ListPage(const std::string& def) : f(def) {
        editor = static_cast<ui::ListEditor*>(f.page().FrameDataType[List]);
    }
    void Click(const char* button) {
        QTest::mouseClick(f.Find<QPushButton>(button), Qt::LeftButton);
    }
    QStringList Lines() const {
        QStringList out;
        for (int i = 0; i < editor->LstList->count(); ++i)
            out << editor->LstList->item(i)->text();
        return out;
    }
    // Types text into a box (characters beyond ASCII are inserted as an input method
    // would).
    void Type(QLineEdit* box, const QString& text) {
        box->clear();
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(box, c.toLatin1());
            else
                box->insert(c);
        }
    }
    void LeaveAndReturn() {
        f.Select("Other");
        f.Select("Menu items");
    }
    const ListParameter& Record() const { return f.ws.Params.ListParameters[1]; }

    PageFixture f;
    ui::ListEditor* editor;
};

} // namespace

class ListEditorTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void showsTheBoxesOfItsColumns_data() {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<bool>("second");
        QTest::addColumn<bool>("third");
        QTest::newRow("one") << "1" << false << false;
        QTest::newRow("two") << "2" << true << false;
        QTest::newRow("three") << "3" << true << true;
    }
    void showsTheBoxesOfItsColumns() {
        QFETCH(QString, columns);
        QFETCH(bool, second);
        QFETCH(bool, third);
        const int n = columns.toInt();
        std::vector<std::string> entries;
        for (int c = 0; c < n; ++c)
            for (int r = 0; r < 2; ++r)
                entries.push_back("c" + std::to_string(c) + "r" + std::to_string(r));
        ListPage p(ListDefinition(columns.toStdString(), "", entries, 2));
        QCOMPARE(p.editor->title(), QString("Menu items"));
        QCOMPARE(p.editor->lblDescription->text(), QString("The entries"));
        QCOMPARE(p.Lines(), QStringList({"c0r0", "c0r1"}));
        QCOMPARE(p.f.Find<QLabel>("LblListCaption")->text(), QString("Item"));
        QCOMPARE(p.f.Find<QLineEdit>("TxtLstEntry2")->isVisible(), second);
        QCOMPARE(p.f.Find<QLabel>("LblListCaption2")->isVisible(), second);
        QCOMPARE(p.f.Find<QLineEdit>("TxtLstEntry3")->isVisible(), third);
        QCOMPARE(p.f.Find<QLabel>("LblListCaption3")->isVisible(), third);
        QCOMPARE(p.f.Find<QLabel>("LblListCaption3")->text(), QString("Target"));
        // A double-click brings the entry's columns into the boxes.
        const QPoint at = p.editor->LstList->visualItemRect(p.editor->LstList->item(1)).center();
        QTest::mouseClick(p.editor->LstList->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(p.editor->TxtLstEntry->text(), QString()); // a single click fills nothing
        QTest::mouseDClick(p.editor->LstList->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(p.editor->TxtLstEntry->text(), QString("c0r1"));
        QCOMPARE(p.editor->TxtLstEntry2->text(), n >= 2 ? QString("c1r1") : QString());
        QCOMPARE(p.editor->TxtLstEntry3->text(), n == 3 ? QString("c2r1") : QString());
    }

    void newUpdateAndReorderReachTheRecordOnlyAtCommit() {
        ListPage p(ListDefinition("2", "", {"a", "b", "A", "B"}, 2));
        p.Type(p.editor->TxtLstEntry, "c");
        p.Type(p.editor->TxtLstEntry2, "C");
        p.Click("Command1"); // New
        QCOMPARE(p.Lines(), QStringList({"a", "b", "c"}));
        QCOMPARE(p.editor->TxtLstEntry->text(), QString("c")); // boxes keep their texts
        QCOMPARE(p.Record().Rows, int16_t(2));
        ClickRow(p.editor->LstList, 0);
        p.Type(p.editor->TxtLstEntry, "a2");
        p.Type(p.editor->TxtLstEntry2, "A2");
        p.Click("Command2"); // Update
        QCOMPARE(p.editor->LstList->currentRow(), -1);
        ClickRow(p.editor->LstList, 1);
        p.Click("Command4"); // Up: b goes first, the highlight stays on line 2
        QCOMPARE(p.Lines(), QStringList({"b", "a2", "c"}));
        QCOMPARE(p.editor->LstList->currentRow(), 1);
        p.Click("Command4");
        QCOMPARE(p.Lines(), QStringList({"a2", "b", "c"}));
        p.Click("Command6"); // Down
        QCOMPARE(p.Lines(), QStringList({"a2", "c", "b"}));
        QCOMPARE(p.editor->LstList->currentRow(), 1);
        p.LeaveAndReturn();
        const ListParameter& r = p.Record();
        QCOMPARE(r.Rows, int16_t(3));
        QCOMPARE(r.Entries[0], std::vector<std::string>({"a2", "A2"}));
        QCOMPARE(r.Entries[1], std::vector<std::string>({"c", "C"}));
        QCOMPARE(r.Entries[2], std::vector<std::string>({"b", "B"}));
        QCOMPARE(p.Lines(), QStringList({"a2", "c", "b"}));
    }

    void buttonsWithoutASelectionChangeNothing() {
        ListPage p(ListDefinition("1", "", {"a", "b"}, 2));
        p.Type(p.editor->TxtLstEntry, "zzz");
        for (const char* button : {"Command2", "Command3", "Command4", "Command6"})
            p.Click(button);
        QCOMPARE(p.Lines(), QStringList({"a", "b"}));
        QVERIFY(ui::TestMessages().isEmpty());
        ClickRow(p.editor->LstList, 0);
        p.Click("Command4"); // up on the first line
        ClickRow(p.editor->LstList, 1);
        p.Click("Command6"); // down on the last line
        QCOMPARE(p.Lines(), QStringList({"a", "b"}));
    }

    void oneColumnListStillCopiesTheHiddenBoxesButStoresOneColumn() {
        ListPage p(ListDefinition("1", "", {"a"}, 1));
        p.editor->TxtLstEntry2->setText("hidden 2");
        p.editor->TxtLstEntry3->setText("hidden 3");
        p.Type(p.editor->TxtLstEntry, "b");
        p.Click("Command1");
        QCOMPARE(p.editor->ListWorkTable[1][1], std::string("hidden 2"));
        QCOMPARE(p.editor->ListWorkTable[1][2], std::string("hidden 3"));
        p.LeaveAndReturn();
        QCOMPARE(p.Record().Entries[1], std::vector<std::string>({"b"}));
    }

    void deleteAsksAndRefusesTheLastEntry() {
        ListPage p(ListDefinition("2", "", {"a", "b", "c", "A", "B", "C"}, 3));
        ClickRow(p.editor->LstList, 1);
        ui::PushTestAnswer(ui::MessageAnswer::No);
        p.Click("Command3");
        QCOMPARE(p.Lines(), QStringList({"a", "b", "c"}));
        QCOMPARE(ui::TestMessages().last(),
                 QString("Pelto|Are you sure want to delete this line, b"));
        ui::PushTestAnswer(ui::MessageAnswer::Yes);
        p.Click("Command3");
        QCOMPARE(p.Lines(), QStringList({"a", "c"}));
        QCOMPARE(p.editor->ListWorkTable[1][1], std::string("C")); // rows moved up
        ClickRow(p.editor->LstList, 0);
        ui::PushTestAnswer(ui::MessageAnswer::Yes);
        p.Click("Command3");
        QCOMPARE(p.Lines(), QStringList({"c"}));
        ClickRow(p.editor->LstList, 0);
        p.Click("Command3");
        QCOMPARE(p.Lines(), QStringList({"c"}));
        QCOMPARE(ui::TestMessages().last(),
                 QString("Pelto|You must have at least a single entry in the list"));
        p.LeaveAndReturn();
        QCOMPARE(p.Record().Rows, int16_t(1));
        QCOMPARE(p.Record().Entries[0], std::vector<std::string>({"c", "C"}));
    }

    void caseRuleAppliesAtCommit_data() {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("stored0");
        QTest::addColumn<QString>("stored1");
        QTest::newRow("UCASE") << "UCASE" << QString::fromUtf8("MIXED \xC3\x89T\xC3\x89") << "LINK";
        QTest::newRow("LCASE") << "LCASE" << QString::fromUtf8("mixed \xC3\xA9t\xC3\xA9") << "link";
        QTest::newRow("lower-case word is no rule")
            << "ucase" << QString::fromUtf8("MiXed \xC3\xA9t\xC3\x89") << "LiNk";
    }
    void caseRuleAppliesAtCommit() {
        QFETCH(QString, rule);
        QFETCH(QString, stored0);
        QFETCH(QString, stored1);
        ListPage p(ListDefinition("2", rule.toStdString(), {"x", "y"}, 1));
        ClickRow(p.editor->LstList, 0);
        p.Type(p.editor->TxtLstEntry, QString::fromUtf8("MiXed \xC3\xA9t\xC3\x89"));
        p.Type(p.editor->TxtLstEntry2, "LiNk");
        p.Click("Command2");
        QCOMPARE(p.Lines(), QStringList({QString::fromUtf8("MiXed \xC3\xA9t\xC3\x89")}));
        p.f.Select("Other");
        QCOMPARE(p.Lines(), QStringList({QString::fromUtf8("MiXed \xC3\xA9t\xC3\x89")}));
        const auto& entry = p.Record().Entries[0];
        QCOMPARE(ui::FromBytes(entry[0]), stored0);
        QCOMPARE(ui::FromBytes(entry[1]), stored1);
        p.f.Select("Menu items");
        QCOMPARE(p.Lines(), QStringList({stored0}));
    }

    void theTableHoldsAtMost256Entries() {
        std::vector<std::string> entries;
        for (int i = 0; i < 255; ++i)
            entries.push_back("e" + std::to_string(i));
        ListPage p(ListDefinition("1", "", entries, 255));
        p.Type(p.editor->TxtLstEntry, "last");
        p.Click("Command1");
        QCOMPARE(p.editor->LstList->count(), 256);
        QVERIFY(ui::TestMessages().isEmpty());
        p.Click("Command1");
        QCOMPARE(p.editor->LstList->count(), 256);
        QCOMPARE(ui::TestMessages().size(), 1);
        p.LeaveAndReturn();
        QCOMPARE(p.Record().Rows, int16_t(256));
        QCOMPARE(p.Record().Entries[255][0], std::string("last"));
    }

    void aDefinitionWithMoreRowsLosesNone() {
        std::vector<std::string> entries;
        for (int i = 0; i < 300; ++i)
            entries.push_back("e" + std::to_string(i));
        ListPage p(ListDefinition("1", "", entries, 300));
        QCOMPARE(p.editor->LstList->count(), 300);
        p.LeaveAndReturn();
        QCOMPARE(p.Record().Rows, int16_t(300));
        QCOMPARE(p.Record().Entries[299][0], std::string("e299"));
    }

    void entriesOfAnyScriptAreStored() {
        ListPage p(ListDefinition("1", "", {"a"}, 1));
        TypeText(p.editor->TxtLstEntry,
                 QString::fromUtf8("\xE2\x98\x85 \xC5\x81\xC3\xB3"
                                   "d\xC5\xBA "
                                   "\xE5\x86\x99\xE7\x9C\x9F \xF0\x9F\x98\x80"));
        p.Click("Command1");
        QCOMPARE(p.Lines(), QStringList({"a", QString::fromUtf8(
                                                  "\xE2\x98\x85 \xC5\x81\xC3\xB3"
                                                  "d\xC5\xBA "
                                                  "\xE5\x86\x99\xE7\x9C\x9F \xF0\x9F\x98\x80")}));
        QCOMPARE(ui::TestMessages().size(), 0);
    }

    void caseConversionCoversTheWesternLetters() {
        // UTF-8 of "abc éÿšœž ÷ß 1" and its upper case; ß and ÷ stay.
        QCOMPARE(ToUpperText("abc \xC3\xA9\xC3\xBF\xC5\xA1\xC5\x93\xC5\xBE \xC3\xB7\xC3\x9F 1"),
                 std::string("ABC \xC3\x89\xC5\xB8\xC5\xA0\xC5\x92\xC5\xBD \xC3\xB7\xC3\x9F 1"));
        QCOMPARE(ToLowerText("ABC \xC3\x89\xC5\xB8\xC5\xA0\xC5\x92\xC5\xBD \xC3\x97 1"),
                 std::string("abc \xC3\xA9\xC3\xBF\xC5\xA1\xC5\x93\xC5\xBE \xC3\x97 1"));
        // µ stays, as Windows-1252 has no capital for it.
        QCOMPARE(ToUpperText("\xC2\xB5"), std::string("\xC2\xB5"));
    }

    void caseConversionCoversOtherScripts() {
        // "łódź αβγ жук" <-> "ŁÓDŹ ΑΒΓ ЖУК"; CJK and emoji have no case and stay.
        const std::string lower = "\xC5\x82\xC3\xB3"
                                  "d\xC5\xBA \xCE\xB1\xCE\xB2\xCE\xB3 "
                                  "\xD0\xB6\xD1\x83\xD0\xBA \xE5\x86\x99 \xF0\x9F\x98\x80";
        const std::string upper = "\xC5\x81\xC3\x93"
                                  "D\xC5\xB9 \xCE\x91\xCE\x92\xCE\x93 "
                                  "\xD0\x96\xD0\xA3\xD0\x9A \xE5\x86\x99 \xF0\x9F\x98\x80";
        QCOMPARE(ToUpperText(lower), upper);
        QCOMPARE(ToLowerText(upper), lower);
    }
};

PELTO_REGISTER_TEST(ListEditorTest)
#include "test_list_editor.moc"
