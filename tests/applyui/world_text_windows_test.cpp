// Text of any script through the windows, with real key events: typed on the parameter
// page, saved as a template, loaded again and applied through the apply dialog to a
// UTF-8 page and a Windows-1252 page in folders named in other scripts; each page then
// holds the text.
#include "attach/ui/frm_apply_changes.h"
#include "library/definition_reader.h"
#include "parampage/frm_script.h"
#include "platform/message_box.h"
#include "platform/window_flow.h"
#include "support/key_input.h"
#include "templates/ui/frm_parameter_set.h"
#include "ui_common/elided_label.h"
#include "window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

namespace {

// "写真 שלום Łódź 😀" and the same as character references.
const QString kTyped =
    QString::fromUtf8("\xE5\x86\x99\xE7\x9C\x9F \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D "
                      "\xC5\x81\xC3\xB3"
                      "d\xC5\xBA \xF0\x9F\x98\x80");
const std::string kReferences =
    "&#20889;&#30495; &#1513;&#1500;&#1493;&#1501; &#321;&#243;d&#378; &#128512;";
// The template's name: "日本 ελληνικά".
const QString kName = QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC \xCE\xB5\xCE\xBB\xCE\xBB\xCE\xB7"
                                        "\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC");

// Opens the apply dialog when the page asks for it, and applies with "Do it" as a copy.
class ApplyingFlow : public WindowFlow {
public:
    explicit ApplyingFlow(Workspace& ws) : ws_(ws) {}
    void ShowCategories() override {}
    void ShowScriptSelection() override {}
    void ShowParameterPage() override {}
    void AddRecentEffect() override {}
    void ShowApplyDialog(QWidget*) override {
        FrmApplyChanges dialog(ws_);
        dialog.show();
        shownPage = dialog.LblHTMLFile->text();
        QTest::mouseClick(dialog.Option1, Qt::LeftButton, {},
                          QPoint(8, dialog.Option1->height() / 2));
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        applied = true;
    }
    bool applied = false;
    QString shownPage;

private:
    Workspace& ws_;
};

void ClickRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

} // namespace

class WorldTextWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void typedTextIsSavedLoadedAndApplied_data() {
        QTest::addColumn<QString>("pageName");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("UTF-8 page in a folder named Łódź")
            << QString::fromUtf8("\xC5\x81\xC3\xB3"
                                 "d\xC5\xBA/\xE5\x86\x99\xE7\x9C\x9F.htm")
            << QByteArray("<html><head><meta charset=\"utf-8\"></head><body></body></html>\r\n")
            << true;
        QTest::newRow("Windows-1252 page in a folder named café")
            << QString::fromUtf8("caf\xC3\xA9/index.htm")
            << QByteArray("<html><head><meta charset=\"windows-1252\"></head><body>caf\xE9</body>"
                          "</html>\r\n")
            << false;
    }
    void typedTextIsSavedLoadedAndApplied() {
        QFETCH(QString, pageName);
        QFETCH(QByteArray, page);
        QFETCH(bool, utf8);
        test::WindowFixture fixture;
        test::TempProgramFolder home;
        home.WriteScrambled(
            "fx.par", "// definition\r\n*\r\n5\r\n0\r\n0\r\nhello\r\n\r\n\r\nTrue\r\nGreeting\r\n"
                      "Text shown\r\n*\r\n0\r\n0\r\n100\r\n10\r\npx\r\n5\r\nWidth\r\n"
                      "Text shown\r\n// end\r\n");
        // Raw into the page, and escaped for HTML.
        home.WriteScrambled("fx_head.dat",
                            "<meta name=\"raw\" content=\"\xAEGreeting,TEXTVALUE\xAF\">"
                            "<meta name=\"html\" content=\"\xAEGreeting,TEXTVALUE|HTML\xAF\">\r\n");
        const fs::path pagePath = home.path() / pageName.toStdString();
        test::WriteBytes(pagePath, page.toStdString());

        Workspace ws;
        ws.ProgramFolder = home.path();
        ResetParameterState(ws);
        ScriptRecord effect = test::HeadAndExternalEffect();
        effect.ItemCount = "1";
        effect.ItemLocation.resize(2);
        effect.ItemCodeFile.resize(2);
        effect.ItemExternalName.resize(2);
        effect.ItemInclude.resize(2);
        effect.ItemOnce.resize(2);
        ws.Library.push_back(effect);
        ws.CurrentScriptIndex = 1;
        ws.CurrentParameterFile = "fx.par";
        ws.SampleFile = pagePath.string();
        ApplyingFlow flow(ws);
        FrmScript script(ws, flow);
        script.show();

        // Typed key by key into the text box.
        ClickRow(script.LstParameters, 0);
        auto* text = script.findChild<QPlainTextEdit*>("TxtText");
        QVERIFY(text && text->isVisible());
        text->selectAll();
        QTest::keyClick(text, Qt::Key_Delete);
        test::TypeText(text, kTyped);
        QCOMPARE(text->toPlainText(), kTyped);
        ClickRow(script.LstParameters, 1); // leaving the parameter stores the text
        QCOMPARE(ws.Params.TextParameters[1].Value, kTyped.toStdString());

        // Saved under a name typed in the template dialog.
        QTest::mouseClick(script.Command9, Qt::LeftButton);
        FrmParameterSet* save = nullptr;
        for (auto* d : script.findChildren<FrmParameterSet*>())
            if (d->isVisible())
                save = d;
        QVERIFY(save);
        test::TypeText(save->TxtName, kName);
        QTest::mouseClick(save->Command1, Qt::LeftButton);
        QVERIFY2(TestMessages().isEmpty(), qPrintable(TestMessages().join("\n")));
        const std::string file = test::ReadAll(home.path() / "userdata" / "fx.p01");
        QVERIFY(file.rfind("\xEF\xBB\xBF" + kName.toStdString() + "\r\n", 0) == 0);
        QVERIFY(file.find("\r\n" + kTyped.toStdString() + "\r\n") != std::string::npos);

        // Changed, then loaded back.
        ClickRow(script.LstParameters, 0);
        text->selectAll();
        test::TypeText(text, "other");
        ClickRow(script.LstParameters, 1);
        QCOMPARE(ws.Params.TextParameters[1].Value, std::string("other"));
        bool loaded = false;
        QTimer::singleShot(0, [&] {
            auto* d = script.findChild<FrmParameterSet*>("FrmParameterSet");
            if (!d || !d->isModal())
                for (auto* c : script.findChildren<FrmParameterSet*>())
                    if (c->isModal())
                        d = c;
            QVERIFY(d);
            QCOMPARE(d->LstName->item(0)->text(), kName);
            ClickRow(d->LstName, 0);
            QTest::mouseClick(d->Command1, Qt::LeftButton);
            loaded = true;
        });
        QTest::mouseClick(script.Command8, Qt::LeftButton);
        QVERIFY(loaded);
        ClickRow(script.LstParameters, 0);
        QCOMPARE(text->toPlainText(), kTyped);

        // Applied: the copy beside the page holds the text.
        QTest::mouseClick(script.Command5, Qt::LeftButton);
        QVERIFY(flow.applied);
        QCOMPARE(flow.shownPage, QString::fromStdString(pagePath.string()));
        QVERIFY2(TestMessages().isEmpty(), qPrintable(TestMessages().join("\n")));
        const fs::path copy = pagePath.parent_path() / (pagePath.stem().string() + "_1.htm");
        const std::string result = test::ReadAll(copy);
        // Raw: the page's encoding (Windows-1252 has "ó", the rest are references).
        const std::string raw = utf8 ? kTyped.toStdString()
                                     : "&#20889;&#30495; &#1513;&#1500;&#1493;&#1501; &#321;\xF3"
                                       "d&#378; &#128512;";
        QVERIFY2(result.find("<meta name=\"raw\" content=\"" + raw + "\">") != std::string::npos,
                 result.c_str());
        QVERIFY2(result.find("<meta name=\"html\" content=\"" + kReferences + "\">") !=
                     std::string::npos,
                 result.c_str());
        // The page's own bytes are unchanged.
        QVERIFY(result.find(page.toStdString().substr(page.indexOf("<body>"))) !=
                std::string::npos);
    }
};

QTEST_MAIN(WorldTextWindowsTest)
#include "world_text_windows_test.moc"
