// The live preview beside the parameter editors: it follows values changed with the
// keyboard, shows a failing build's message, keeps to its own folder and its sandbox,
// and the page's controls do not overlap at any window size.
#include "page_fixture.h"

#include "attach/ui/frm_apply_changes.h"
#include "common/files.h"
#include "parampage/colour_editor.h"
#include "parampage/int_editor.h"
#include "parampage/text_editor.h"
#include "platform/message_box.h"
#include "preview/engine/preview_sandbox.h"
#include "preview/live_preview.h"
#include "preview/preview_engine.h"
#include "support/key_input.h"
#include "ui_common/frm_browse_file.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <set>
#include <unistd.h>

using namespace pelto;
using namespace pelto::test;
namespace fs = std::filesystem;

namespace {

std::string ThreeValues() {
    return Definition({
        {"0", "0", "100", "10", "px", "20", "Size", "Text size"},
        {"3", "16744448", "Fore", "Text colour"}, // blue FF, green 80, red 00
        {"5", "0", "0", "hello", "", "", "True", "Greeting", "Text shown"},
    });
}

// Gives the fixture's script two items: a style in the head and a box at the end of
// the body, both made from the three values.
void AddItems(PageFixture& f, const std::string& bodyCode = "") {
    ScriptRecord& r = f.ws.Library[1];
    r.ScriptId = "pv";
    r.IdPrefix = "pv";
    r.IdStride = 100;
    const std::vector<std::pair<std::string, std::string>> items = {
        {"Head", "<style>#fx{color:#\xAE"
                 "Fore,HVALUE\xAF;font-size:\xAE"
                 "Size,INTVALUE\xAFpx}</style>"},
        {"Body_End", "<div id=\"fx\">\xAEGreeting,TEXTVALUE\xAF</div>" + bodyCode},
    };
    r.ItemCount = std::to_string(items.size());
    for (size_t k = 0; k < items.size(); ++k) {
        const std::string file = "pv_" + std::to_string(k + 1) + ".dat";
        f.folder.WriteScrambled(file, items[k].second);
        r.ItemLocation.push_back(items[k].first);
        r.ItemCodeFile.push_back(file);
        r.ItemExternalName.push_back("");
        r.ItemInclude.push_back(1);
        r.ItemOnce.push_back(0);
    }
}

const std::string kPage = "<html>\r\n<head>\r\n</head>\r\n<body>\r\n<p>page text</p>\r\n</body>\r\n"
                          "</html>\r\n";

// Runs script in the preview and waits for its answer.
QVariant Eval(ui::LivePreview* preview, const QString& script) {
    bool done = false;
    QVariant out;
    if (!QTest::qWaitFor([&] { return preview->Engine() != nullptr; }, 20000)) {
        qWarning("the preview engine did not start");
        return out;
    }
    preview->Engine()->RunJavaScript(script, [&](const QVariant& v) {
        out = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("no answer to %s", qPrintable(script));
    return out;
}

// Waits until script evaluates to expected in the preview; returns the last answer.
QString WaitFor(ui::LivePreview* preview, const QString& script, const QString& expected) {
    QString last;
    const bool same = QTest::qWaitFor(
        [&] {
            last = Eval(preview, script).toString();
            return last == expected;
        },
        20000);
    if (!same)
        qWarning("%s stayed %s", qPrintable(script), qPrintable(last));
    return last;
}

// Opens the page wide enough for the preview.
ui::LivePreview* OpenPreview(PageFixture& f) {
    f.page().resize(1200, 700);
    if (!QTest::qWaitFor([&] { return f.page().Preview && f.page().Preview->isVisible(); }, 5000))
        return nullptr;
    return f.page().Preview;
}

std::set<fs::path> FilesBelow(const fs::path& folder) {
    std::set<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            files.insert(e.path());
    return files;
}

// Runs act on the next modal dialog once it shows (polled from the event loop).
void WhenModal(std::function<void(QWidget*)> act, int triesLeft = 500) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (triesLeft > 0)
            WhenModal(act, triesLeft - 1);
    });
}

// Marks the page shown, so a reload (which starts the page and its effect again) shows.
void MarkPage(ui::LivePreview* preview) {
    Eval(preview, "window.keptMark = 'kept'; 'ok'");
}
bool MarkKept(ui::LivePreview* preview) {
    return Eval(preview, "String(window.keptMark)").toString() == "kept";
}

const QString kText =
    "document.getElementById('fx') ? document.getElementById('fx').textContent : ''";
const QString kColour = "getComputedStyle(document.getElementById('fx')).color";
const QString kSize = "getComputedStyle(document.getElementById('fx')).fontSize";

} // namespace

class LivePreviewTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void FollowsIntColourAndTextTypedInTheEditors() {
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
        QCOMPARE(Eval(preview, kColour).toString(), QString("rgb(0, 128, 255)"));
        QCOMPARE(Eval(preview, kSize).toString(), QString("20px"));

        f.Select("Size");
        auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
        QTest::keyClick(slider, Qt::Key_Right);
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(WaitFor(preview, kSize, "22px"), QString("22px"));

        f.Select("Fore");
        auto* code = f.Find<QLineEdit>("TxtHTMLColourCode");
        code->setFocus();
        QTest::keyClick(code, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(code, "00FF00");
        QTest::keyClick(code, Qt::Key_Return);
        QCOMPARE(WaitFor(preview, kColour, "rgb(0, 255, 0)"), QString("rgb(0, 255, 0)"));

        f.Select("Greeting");
        auto* text = f.Find<QPlainTextEdit>("TxtText");
        text->setFocus();
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        // Typing without leaving the parameter: the preview follows after the pause.
        QTest::keyClicks(text, " world");
        QCOMPARE(WaitFor(preview, kText, "hello world"), QString("hello world"));
        // The earlier values stayed.
        QCOMPARE(Eval(preview, kSize).toString(), QString("22px"));
        QCOMPARE(Eval(preview, kColour).toString(), QString("rgb(0, 255, 0)"));
        QVERIFY(ui::TestMessages().isEmpty());
    }

    void KeepsTheScrollPositionWhenReloading() {
        std::string tall = "<html>\r\n<head>\r\n</head>\r\n<body>\r\n";
        for (int i = 0; i < 300; ++i)
            tall += "<p>line " + std::to_string(i) + "</p>\r\n";
        tall += "</body>\r\n</html>\r\n";
        PageFixture f(ThreeValues(), tall);
        AddItems(f);
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
        QWidget* view = preview->View;
        view->setFocus();
        while (view->focusProxy())
            view = view->focusProxy();
        QTest::keyClick(view, Qt::Key_End);
        QVERIFY(QTest::qWaitFor([&] { return Eval(preview, "window.scrollY").toDouble() > 500; },
                                10000));
        const double before = Eval(preview, "window.scrollY").toDouble();
        f.Select("Greeting");
        auto* text = f.Find<QPlainTextEdit>("TxtText");
        text->setFocus();
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(text, "!");
        QCOMPARE(WaitFor(preview, kText, "hello!"), QString("hello!"));
        QTRY_COMPARE(Eval(preview, "window.scrollY").toDouble(), before);
    }

    void AFailingBuildShowsItsMessageAndTheEditorsStayUsable() {
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
        fs::remove(f.folder.path() / "sample.htm");
        f.Select("Size");
        auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
        QTest::keyClick(slider, Qt::Key_Right);
        const QString problem = "document.getElementById('problem') ? "
                                "document.getElementById('problem').textContent : ''";
        QVERIFY(QTest::qWaitFor(
            [&] { return Eval(preview, problem).toString().contains("sample.htm"); }, 20000));
        QVERIFY(Eval(preview, problem).toString().contains("is not a file that can be read"));
        QVERIFY(Eval(preview, "document.body.innerText")
                    .toString()
                    .contains("The preview could not be built"));
        // The editors go on: the value moves and the page comes back with the file.
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(slider->value(), 22);
        f.folder.WriteFile("sample.htm", kPage);
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(WaitFor(preview, kSize, "23px"), QString("23px"));
    }

    void WritesOnlyIntoItsOwnFolder() {
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        const std::set<fs::path> before = FilesBelow(f.folder.path());
        const std::string pageBytes = *ReadFileBytes(f.folder.path() / "sample.htm");
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
        f.Select("Size");
        QTest::keyClick(f.Find<QScrollBar>("HScrollSimpleInt"), Qt::Key_Right);
        QCOMPARE(WaitFor(preview, kSize, "21px"), QString("21px"));

        const fs::path own = preview->PreviewFolder().toStdString();
        QVERIFY(fs::exists(own / "result.htm"));
        // Not below the program folder (whose output folder is the "Do it" one) nor
        // the page's folder.
        const std::string ownText = fs::weakly_canonical(own).string();
        QVERIFY(ownText.rfind(fs::weakly_canonical(f.folder.path()).string(), 0) != 0);
        QCOMPARE(FilesBelow(f.folder.path()), before);
        QCOMPARE(*ReadFileBytes(f.folder.path() / "sample.htm"), pageBytes);
        QVERIFY(!fs::exists(f.folder.path() / "output" / "result.htm"));
    }

    void BlocksTheNetworkAndCountsScriptErrors() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        int connections = 0;
        connect(&server, &QTcpServer::newConnection, this, [&] { ++connections; });
        const std::string url = "http://127.0.0.1:" + std::to_string(server.serverPort()) + "/x";
        PageFixture f(ThreeValues(), kPage);
        f.folder.WriteFile("beside.js", "window.besideLoaded = true;");
        AddItems(f, "<script src=\"" + url + ".js\"></script><img src=\"" + url +
                        ".png\"><script src=\"" +
                        QUrl::fromLocalFile(
                            QString::fromStdString((f.folder.path() / "beside.js").string()))
                            .toString()
                            .toStdString() +
                        "\"></script><script>noSuchFunction();</script>"
                        "<script>window.open('" +
                        url + "');missingToo();</script>");
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
        QCOMPARE(WaitFor(preview, "String(window.besideLoaded)", "true"), QString("true"));
        QTRY_COMPARE(preview->LblScriptErrors->text(), QString("2 script errors"));
        QVERIFY(preview->LblScriptErrors->isVisible());
        QVERIFY(preview->LblScriptErrors->toolTip().contains("noSuchFunction"));
        QVERIFY(preview->LblScriptErrors->toolTip().contains("missingToo"));
        QTest::qWait(300);
        QCOMPARE(connections, 0);
    }

    void TheSandboxAllowsOnlyItsFolders() {
        const QStringList folders{"/tmp/preview", "/home/ann/site"};
        struct Case {
            const char* url;
            bool allowed;
        } cases[] = {
            {"file:///tmp/preview/result.htm", true},
            {"file:///home/ann/site/pictures/a.png", true},
            {"file:///home/ann/site", true},
            {"file:///home/ann/site2/a.png", false},
            {"file:///home/ann/site/../secret.txt", false},
            {"file:///etc/passwd", false},
            {"http://127.0.0.1/a.js", false},
            {"https://example.org/", false},
            {"ws://127.0.0.1/", false},
            {"data:text/plain,x", true},
        };
        for (const Case& c : cases)
            QVERIFY2(ui::FolderOnlyInterceptor::Allows(QUrl(c.url), folders) == c.allowed, c.url);
    }

    void TheSwitchAndTheSizeAreRemembered() {
        PageFixture f(ThreeValues(), kPage);
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QCheckBox* check = f.Find<QCheckBox>("ChkPreview");
        QVERIFY(check->isChecked());
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
        QVERIFY(!check->isChecked());
        QVERIFY(!preview->isVisible());
        // The editors take the width instead.
        QCOMPARE(f.page().intEditor->width(), f.page().width() - 185);
        f.page().resize(1000, 600);
        f.page().close();

        ui::FrmScript again(f.ws, f.flow);
        again.show();
        QCOMPARE(again.size(), QSize(1000, 600));
        QVERIFY(!again.ChkPreview->isChecked());
        QVERIFY(!again.Preview);
        // Switching it on shows it at once in a window wide enough.
        QTest::mouseClick(again.ChkPreview, Qt::LeftButton, {},
                          QPoint(6, again.ChkPreview->height() / 2));
        QVERIFY(again.Preview && again.Preview->isVisible());
        QVERIFY(again.Preview->x() >= again.Command5->geometry().right());
    }

    // The engine is a plugin: the page says it is starting, then shows the engine's view;
    // without the plugin there is no "Preview" at all.
    void TheEngineStartsWhenThePreviewFirstShows() {
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QVERIFY(preview->LblPreviewStatus->text().startsWith("Starting the preview"));
        QVERIFY(
            QTest::qWaitFor([&] { return preview->View && preview->View->isVisible(); }, 20000));
        QVERIFY(!preview->LblPreviewStatus->isVisible());
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
    }

    void WithoutTheEnginePluginThereIsNoPreview() {
        const QByteArray plugin = qgetenv("PELTO_PREVIEW_PLUGIN");
        qputenv("PELTO_PREVIEW_PLUGIN", "/nonexistent/pelto-preview.so");
        PageFixture f(ThreeValues(), kPage);
        f.page().resize(1200, 700);
        QApplication::processEvents();
        qputenv("PELTO_PREVIEW_PLUGIN", plugin);
        QVERIFY(!f.page().ChkPreview);
        QVERIFY(!f.page().Preview);
        QCOMPARE(f.page().intEditor->width(), f.page().width() - 185);
    }

    // As root the engine cannot use its sandbox and would end the program: the preview
    // area says why, and the page goes on working.
    void AsRootWithTheSandboxOnThePreviewSaysWhy() {
        if (geteuid() != 0)
            QSKIP("runs only as root");
        const QByteArray sandbox = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QTRY_VERIFY_WITH_TIMEOUT(preview->LblPreviewStatus->text().contains("root"), 10000);
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", sandbox);
        QVERIFY(preview->LblPreviewStatus->isVisible());
        QVERIFY(!preview->Engine());
        f.Select("Size");
        auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
        const int before = slider->value();
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(slider->value(), before + 1);
        QTest::qWait(200);
        QVERIFY(!preview->Engine());
    }
};

// How the preview follows the editors: from the moment the page opens, after a page
// chosen in the apply dialog, for every way a value changes, and only when it changed.
class PreviewRefreshTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void showsThePageWithTheEffectAsSoonAsThePageOpens() {
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        // The page opens wide enough for the preview (the size of the last time).
        f.page().resize(1200, 700);
        f.page().close();
        ui::FrmScript again(f.ws, f.flow);
        again.show();
        QVERIFY(again.Preview);
        QVERIFY(QTest::qWaitFor([&] { return again.Preview->isVisible(); }, 5000));
        // No value changes: the page with the effect shows all the same.
        QCOMPARE(WaitFor(again.Preview, kText, "hello"), QString("hello"));
        QCOMPARE(Eval(again.Preview, kSize).toString(), QString("20px"));
    }

    void followsThePageChosenInTheApplyDialog() {
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        TempFolder other;
        f.folder.WriteFile(other.path() / "garden.htm",
                           "<html>\r\n<head>\r\n</head>\r\n<body>\r\n<p id=\"own\">garden page</p>"
                           "\r\n</body>\r\n</html>\r\n");
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
        bool chosen = false;
        // "Apply", "Browse", the other page, "Select", then "Back".
        f.flow.onApply = [&] {
            ui::FrmApplyChanges dialog(f.ws, &f.page());
            dialog.show();
            WhenModal([&](QWidget* modal) {
                auto* browser = qobject_cast<ui::FrmBrowseFile*>(modal);
                if (!browser) {
                    modal->close();
                    return;
                }
                browser->SetDir1Path(QString::fromStdString(other.path().string()));
                QListWidget* files = browser->File1;
                const auto found = files->findItems("garden.htm", Qt::MatchExactly);
                if (!found.isEmpty()) {
                    ClickRow(files, files->row(found.first()));
                    QTest::mouseClick(browser->Command1, Qt::LeftButton);
                    chosen = true;
                } else {
                    browser->reject();
                }
            });
            QTest::mouseClick(dialog.Command3, Qt::LeftButton);
            QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        };
        QTest::mouseClick(f.page().Command5, Qt::LeftButton);
        QVERIFY(chosen);
        const QString own = "document.getElementById('own') ? "
                            "document.getElementById('own').textContent : ''";
        QCOMPARE(WaitFor(preview, own, "garden page"), QString("garden page"));
        QCOMPARE(Eval(preview, kText).toString(), QString("hello"));
    }

    // Every way of changing a value reaches the preview, not only keys and clicks in
    // the box.
    void followsEveryWayAValueChanges_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("script"); // what the preview shows of the value
        QTest::addColumn<QString>("expected");
        QTest::newRow("wheel over the slider") << "wheel" << kSize << ""; // as the slider
        QTest::newRow("number typed beside the slider") << "spin" << kSize << "64px";
        QTest::newRow("paste with Ctrl+V") << "paste" << kText << "hello there";
        QTest::newRow("undo with Ctrl+Z") << "undo" << kText << "hello";
        QTest::newRow("drag and drop") << "drop" << kText << "hello dropped";
        QTest::newRow("colour code typed without Enter") << "colour" << kColour << "rgb(0, 0, 255)";
    }
    void followsEveryWayAValueChanges() {
        QFETCH(QString, how);
        QFETCH(QString, script);
        QFETCH(QString, expected);
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
        if (how == "wheel") {
            f.Select("Size");
            auto* slider = f.Find<QScrollBar>("HScrollSimpleInt");
            Wheel(slider, -1);
            QVERIFY(slider->value() != 20);
            expected = QString("%1px").arg(slider->value());
        } else if (how == "spin") {
            f.Select("Size");
            auto* box = f.Find<QSpinBox>("SpnSimpleInt");
            QVERIFY(TabTo(&f.page(), box));
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, "64");
            QTest::keyClick(box, Qt::Key_Return);
        } else if (how == "colour") {
            f.Select("Fore");
            auto* code = f.Find<QLineEdit>("TxtHTMLColourCode");
            QVERIFY(TabTo(&f.page(), code));
            QTest::keyClick(code, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(code, "0000FF");
        } else {
            f.Select("Greeting");
            auto* text = f.Find<QPlainTextEdit>("TxtText");
            QVERIFY(TabTo(&f.page(), text));
            QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
            if (how == "paste") {
                QApplication::clipboard()->setText(" there");
                QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
            } else if (how == "undo") {
                QTest::keyClicks(text, "!!");
                QCOMPARE(WaitFor(preview, kText, "hello!!"), QString("hello!!"));
                QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
                QCOMPARE(text->toPlainText(), QString("hello"));
            } else if (how == "drop") {
                QMimeData data;
                data.setText(" dropped");
                QWidget* area = text->viewport();
                const QPoint at = text->cursorRect().center();
                QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(area, &enter);
                QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(area, &move);
                QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(area, &drop);
                QCOMPARE(text->toPlainText(), QString("hello dropped"));
            }
        }
        QCOMPARE(WaitFor(preview, script, expected), expected);
        QVERIFY(ui::TestMessages().isEmpty());
    }

    // Keys that change no value leave the page alone; typing reloads it once, after
    // the pause.
    void reloadsOnlyWhenTheValueChanged_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("keys"); // "<" Left, ">" Right, "^" Ctrl+A, "_" End
        QTest::addColumn<QString>("text"); // expected in the page; "" : no reload at all
        QTest::newRow("arrows in the text box") << "TxtText"
                                                << "<<>>_"
                                                << "";
        QTest::newRow("select all in the text box") << "TxtText"
                                                    << "^"
                                                    << "";
        QTest::newRow("typing in the text box") << "TxtText"
                                                << "_abc"
                                                << "helloabc";
        QTest::newRow("arrows in the colour code") << "TxtHTMLColourCode"
                                                   << "<<>"
                                                   << "";
        QTest::newRow("a text typed back as it was") << "TxtText"
                                                     << "_x\b"
                                                     << "";
    }
    void reloadsOnlyWhenTheValueChanged() {
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        PageFixture f(ThreeValues(), kPage);
        AddItems(f);
        ui::LivePreview* preview = OpenPreview(f);
        QVERIFY(preview);
        f.Select(box == "TxtText" ? "Greeting" : "Fore");
        QCOMPARE(WaitFor(preview, kText, "hello"), QString("hello"));
        // Let the builds of opening and choosing the parameter settle, then mark the page.
        QVERIFY(QTest::qWaitFor([&] { return !preview->Building(); }, 20000));
        QTest::qWait(400);
        QVERIFY(QTest::qWaitFor([&] { return !preview->Building(); }, 20000));
        MarkPage(preview);
        QVERIFY(MarkKept(preview));
        const int loads = preview->Loads();
        QWidget* edit = f.page().findChild<QWidget*>(box);
        QVERIFY(edit);
        QVERIFY(TabTo(&f.page(), edit));
        for (QChar c : keys) {
            if (c == '<')
                QTest::keyClick(edit, Qt::Key_Left);
            else if (c == '>')
                QTest::keyClick(edit, Qt::Key_Right);
            else if (c == '^')
                QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            else if (c == '_')
                QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
            else if (c == '\b')
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(edit, QString(c));
        }
        if (text.isEmpty()) {
            // Well past the pause: nothing was loaded again.
            QTest::qWait(900);
            QVERIFY(QTest::qWaitFor([&] { return !preview->Building(); }, 20000));
            QCOMPARE(preview->Loads(), loads);
            QVERIFY(MarkKept(preview));
        } else {
            QCOMPARE(WaitFor(preview, kText, text), text);
            QTest::qWait(600);
            QCOMPARE(preview->Loads(), loads + 1); // one reload for all the keys
        }
    }
};

// The page's controls at every size: none overlaps another, captions fit.
class PageGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ui::ClearTestMessages(); }

    void ControlsNeverOverlap() {
        PageFixture f(ThreeValues(), kPage);
        ui::FrmScript& page = f.page();
        QCOMPARE(page.minimumSize(), QSize(582, 371));
        for (QSize size : {QSize(582, 371), QSize(760, 500), QSize(1200, 800), QSize(900, 371)}) {
            page.resize(size);
            QApplication::processEvents();
            QList<QWidget*> shown;
            for (QWidget* w : page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (w->isVisible())
                    shown << w;
            for (qsizetype i = 0; i < shown.size(); ++i) {
                const QRect a = shown[i]->geometry();
                QVERIFY2(page.rect().contains(a), qPrintable(shown[i]->objectName()));
                for (qsizetype j = i + 1; j < shown.size(); ++j)
                    QVERIFY2(!a.intersects(shown[j]->geometry()),
                             qPrintable(QString("%1 and %2 overlap at %3x%4")
                                            .arg(shown[i]->objectName(), shown[j]->objectName())
                                            .arg(size.width())
                                            .arg(size.height())));
            }
            // Every button's caption fits at this scale.
            for (QPushButton* b : page.findChildren<QPushButton*>())
                if (b->isVisible())
                    QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(),
                             qPrintable(b->objectName()));
            // The list and the editors take the extra height.
            QCOMPARE(page.LstParameters->height(), 244 + page.height() - 371);
        }
    }

    // "Preview" ticked in a window too narrow for it: the page says why nothing shows.
    void aPreviewWithoutRoomSaysWhy_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("shown");
        QTest::newRow("the page's own width") << 582 << false;
        QTest::newRow("just too narrow") << 781 << false;
        QTest::newRow("a narrow preview") << 782 << true;
        QTest::newRow("wide") << 1200 << true;
    }
    void aPreviewWithoutRoomSaysWhy() {
        QFETCH(int, width);
        QFETCH(bool, shown);
        PageFixture f(ThreeValues(), kPage);
        ui::FrmScript& page = f.page();
        QVERIFY(page.ChkPreview->isChecked());
        page.resize(width, 500);
        QApplication::processEvents();
        QCOMPARE(page.Preview && page.Preview->isVisible(), shown);
        QCOMPARE(page.LblPreviewHidden->isVisible(), !shown);
        if (!shown) {
            QVERIFY(page.LblPreviewHidden->text().contains("too narrow"));
            QVERIFY(page.LblPreviewHidden->text().contains("782"));
            // Switched off, there is nothing to explain.
            QTest::mouseClick(page.ChkPreview, Qt::LeftButton, {},
                              QPoint(6, page.ChkPreview->height() / 2));
            QVERIFY(!page.ChkPreview->isChecked());
            QVERIFY(!page.LblPreviewHidden->isVisible());
        }
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::EnableTestMessages();
    // "--geometry-only" runs the size checks alone (for the run at twice the scale).
    const bool geometryOnly = argc > 1 && QByteArray(argv[argc - 1]) == "--geometry-only";
    if (geometryOnly)
        --argc;
    PageGeometryTest geometry;
    int failed = QTest::qExec(&geometry, argc, argv);
    if (!geometryOnly) {
        LivePreviewTest preview;
        failed |= QTest::qExec(&preview, argc, argv);
        PreviewRefreshTest refresh;
        failed |= QTest::qExec(&refresh, argc, argv);
    }
    return failed;
}

#include "test_live_preview.moc"
