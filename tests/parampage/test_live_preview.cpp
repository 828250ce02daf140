// The live preview beside the parameter editors: it follows values changed with the
// keyboard, shows a failing build's message, keeps to its own folder and its sandbox,
// and the page's controls do not overlap at any window size.
#include "page_fixture.h"

#include "common/files.h"
#include "parampage/colour_editor.h"
#include "parampage/int_editor.h"
#include "parampage/text_editor.h"
#include "platform/message_box.h"
#include "preview/engine/preview_sandbox.h"
#include "preview/live_preview.h"
#include "preview/preview_engine.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTcpServer>
#include <QTest>

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
    }
    return failed;
}

#include "test_live_preview.moc"
