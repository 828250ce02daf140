// Measures how long the parameter page takes from a value change to the reloaded live
// preview, on a 100 KB page: the user presses the right arrow on an Int slider (a value
// set, not typing: no pause), the page builds in its preview folder and reloads. Prints
// the median of 20 changes, and the same for the build and reload alone.
// The waiting runs the event loop freely: the engine's own work is scheduled on the
// window's thread, and a wait that sleeps between looks at it would slow every load.
// usage: preview-latency   (set QTWEBENGINE_DISABLE_SANDBOX=1 when run as root)
#include "attach/do_it.h"
#include "common/files.h"
#include "common/scramble.h"
#include "parampage/frm_script.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "platform/window_flow.h"
#include "preview/live_preview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace pelto;

namespace {

class NoFlow : public ui::WindowFlow {
public:
    void ShowCategories() override {}
    void ShowScriptSelection() override {}
    void ShowParameterPage() override {}
    void ShowApplyDialog(QWidget*) override {}
    void AddRecentEffect() override {}
};

void WriteScrambledFile(const std::filesystem::path& path, std::string bytes) {
    DescrambleBytes(bytes);
    if (!WriteFileBytes(path, bytes))
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    // The engine plugin of this build, unless the caller names another.
    if (qEnvironmentVariableIsEmpty("PELTO_PREVIEW_PLUGIN"))
        qputenv("PELTO_PREVIEW_PLUGIN", PELTO_PREVIEW_PLUGIN);
    QApplication app(argc, argv);
    ui::EnableTestMessages();
    QTemporaryDir home;
    const std::filesystem::path root = home.path().toStdString();
    std::filesystem::create_directories(root / "data");
    std::filesystem::create_directories(root / "site");
    ui::SetSettingsFile(home.filePath("settings.ini"));

    WriteScrambledFile(root / "data" / "bench.par",
                       "// bench\r\n*\r\n0\r\n0\r\n1000\r\n10\r\npx\r\n20\r\nSize\r\nText size\r\n"
                       "// end\r\n");
    WriteScrambledFile(root / "data" / "bench_1.dat",
                       "<style>p{font-size:\xAESize,INTVALUE\xAFpx}</style>");
    Workspace ws;
    ws.ProgramFolder = root;
    ScriptRecord r;
    r.ScriptId = "bench";
    r.Name = "Bench";
    r.IdPrefix = "b";
    r.IdStride = 100;
    r.ParameterFile = "bench.par";
    r.ItemCount = "1";
    // Items count from 1: append after the record's unused first entries.
    r.ItemLocation.push_back("Head");
    r.ItemCodeFile.push_back("bench_1.dat");
    r.ItemExternalName.push_back("");
    r.ItemInclude.push_back(1);
    r.ItemOnce.push_back(0);
    ws.Library.push_back(r);
    ws.CurrentScriptIndex = 1;
    ws.CurrentParameterFile = "bench.par";
    std::string page = "<html>\r\n<head>\r\n<title>Bench</title>\r\n</head>\r\n<body>\r\n";
    while (page.size() < 100 * 1024)
        page +=
            "<p>Some <b>ordinary</b> text of a page, with a <a href=\"x.htm\">link</a>.</p>\r\n";
    page += "</body>\r\n</html>\r\n";
    (void)WriteFileBytes(root / "site" / "index.htm", page);
    ws.SampleFile = (root / "site" / "index.htm").string();

    NoFlow flow;
    ui::FrmScript form(ws, flow);
    form.show();
    form.resize(1200, 700);
    if (!QTest::qWaitFor([&] { return form.Preview && form.Preview->isVisible(); }, 5000))
        std::fprintf(stderr, "the preview is not shown\n");
    ui::LivePreview* preview = form.Preview;
    if (!preview) {
        std::fprintf(stderr, "the preview did not open\n");
        return 1;
    }
    int reloads = 0;
    QObject::connect(preview, &ui::LivePreview::Reloaded, [&] { ++reloads; });
    auto waitReload = [&](int before) {
        if (reloads > before)
            return true;
        QEventLoop loop;
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        QMetaObject::Connection done =
            QObject::connect(preview, &ui::LivePreview::Reloaded, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(done);
        return reloads > before;
    };
    auto settle = [] { // the user's next change comes a moment later
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    };
    waitReload(0);
    auto* slider = form.findChild<QScrollBar*>("HScrollSimpleInt");

    std::vector<double> afterKey, alone;
    for (int i = 0; i < 20; ++i) {
        const int before = reloads;
        QElapsedTimer t;
        t.start();
        QTest::keyClick(slider, Qt::Key_Right);
        if (!waitReload(before))
            return std::fprintf(stderr, "no reload after a change\n"), 1;
        afterKey.push_back(t.nsecsElapsed() / 1e6);
        settle();
    }
    for (int i = 0; i < 20; ++i) {
        const int before = reloads;
        ws.Params.IntParameters[1].Value = 100 + i;
        QElapsedTimer t;
        t.start();
        preview->Rebuild(ws);
        if (!waitReload(before))
            return std::fprintf(stderr, "no reload after a rebuild\n"), 1;
        alone.push_back(t.nsecsElapsed() / 1e6);
        settle();
    }
    // The build alone, on this thread: what the engine's part is not.
    std::vector<double> buildOnly;
    QTemporaryDir buildFolder;
    for (int i = 0; i < 20; ++i) {
        Workspace copy = ws;
        DoItRequest request;
        request.outputArea = buildFolder.path().toStdString();
        QElapsedTimer t;
        t.start();
        if (!DoIt(copy, request))
            return std::fprintf(stderr, "the build failed\n"), 1;
        buildOnly.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("page: %zu bytes\n", page.size());
    std::printf("value change (slider key) to reloaded preview: median %.1f ms "
                "(min %.1f, max %.1f) over 20\n",
                Median(afterKey), *std::min_element(afterKey.begin(), afterKey.end()),
                *std::max_element(afterKey.begin(), afterKey.end()));
    std::printf("build and reload alone: median %.1f ms (min %.1f, max %.1f) over 20\n",
                Median(alone), *std::min_element(alone.begin(), alone.end()),
                *std::max_element(alone.begin(), alone.end()));
    std::printf("of which the build (as \"Do it\" with \"Preview only\"): median %.1f ms\n",
                Median(buildOnly));
    return 0;
}
