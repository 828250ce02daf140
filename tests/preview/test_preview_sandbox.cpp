// The live preview keeps the page's scripts from local files and the network: no file is
// loaded through a link out of the allowed folders, scripts read no file, WebRTC sends
// nothing to a STUN or TURN server; a page in a folder with a non-ASCII name is shown; and
// as the administrator without the sandbox variable the preview is off, saying why, while
// the program goes on.
#include "library/workspace.h"
#include "preview/engine/preview_sandbox.h"
#include "preview/live_preview.h"
#include "support/test_support.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace pelto;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

QString Native(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

// Waits for the preview's engine (a plugin started just after the preview is made).
bool EngineStarted(ui::LivePreview& preview) {
    return QTest::qWaitFor([&] { return preview.View != nullptr; }, 20000);
}

// The engine's page of the preview.
QWebEnginePage* Page(ui::LivePreview& preview) {
    return preview.View->findChild<QWebEngineView*>()->page();
}

QVariant Eval(ui::LivePreview& preview, const QString& script) {
    bool done = false;
    QVariant out;
    Page(preview)->runJavaScript(script, [&](const QVariant& v) {
        out = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("no answer to %s", qPrintable(script));
    return out;
}

// Waits until script gives a value other than "" (the page sets it when it is done).
QString WaitForAnswer(ui::LivePreview& preview, const QString& script) {
    QString last;
    const bool answered = QTest::qWaitFor(
        [&] {
            last = Eval(preview, script).toString();
            return !last.isEmpty();
        },
        30000);
    if (!answered)
        qWarning("no answer from %s", qPrintable(script));
    return last;
}

// Loads a page of the preview's own folder, as a built preview is loaded.
bool Load(ui::LivePreview& preview, const fs::path& page) {
    bool finished = false;
    QObject context; // ends the connection with this call
    QObject::connect(Page(preview), &QWebEnginePage::loadFinished, &context,
                     [&](bool) { finished = true; });
    Page(preview)->load(QUrl::fromLocalFile(Native(page)));
    return QTest::qWaitFor([&] { return finished; }, 20000);
}

} // namespace

class PreviewSandboxTest : public QObject {
    Q_OBJECT
private slots:
    void TheEngineIsOffAsTheAdministratorUnlessTheVariableIsSet() {
        struct Case {
            unsigned user;
            QByteArray variable;
            QByteArray flags;
            bool blocked;
        } cases[] = {
            {0, "", "", true},
            {0, "1", "", false},
            {0, "", "--no-sandbox", false},
            {0, "", "--force-webrtc-ip-handling-policy=disable_non_proxied_udp", true},
            {1000, "", "", false},
        };
        for (const Case& c : cases) {
            const QString why = ui::PreviewEngineBlocked(c.user, c.variable, c.flags);
            QCOMPARE(!why.isEmpty(), c.blocked);
            if (c.blocked)
                QVERIFY(why.contains("QTWEBENGINE_DISABLE_SANDBOX"));
        }
    }

    void AsTheAdministratorThePageGoesOnWithoutThePreview() {
        if (::geteuid() != 0)
            QSKIP("only the administrator meets the engine's refusal");
        const QByteArray kept = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        {
            ui::LivePreview preview;
            preview.resize(400, 300);
            preview.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            QTRY_VERIFY_WITH_TIMEOUT(preview.LblPreviewStatus->text().contains("administrator"),
                                     10000);
            QVERIFY(preview.View == nullptr);
            QVERIFY(preview.LblPreviewStatus->isVisible());
            // The parameter page keeps calling it: nothing happens, nothing ends.
            preview.Rebuild(Workspace{});
            preview.ShowProblem("a value is wrong");
            QVERIFY(!preview.Building());
        }
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", kept);
    }

    void AllowsOnlyFilesThatReallyLieInItsFolders() {
        test::TempFolder root;
        const fs::path site = root.path() / "site";
        const fs::path elsewhere = root.path() / "elsewhere";
        Write(site / "index.htm", "x");
        Write(site / "sub" / "pic.png", "x");
        Write(elsewhere / "secret.txt", "x");
        fs::create_directory_symlink("/", site / "up");
        fs::create_directory_symlink(elsewhere, site / "out");
        fs::create_directory_symlink(site / "sub", site / "inside");
        fs::create_symlink(elsewhere / "secret.txt", site / "secret.txt");
        const QStringList folders{Native(site)};
        struct Case {
            fs::path file;
            bool allowed;
        } cases[] = {
            {site / "index.htm", true},
            {site / "sub" / "pic.png", true},
            {site / "inside" / "pic.png", true},
            {site / "missing.png", true},
            {site / "up" / "etc" / "passwd", false},
            {site / "out" / "secret.txt", false},
            {site / "secret.txt", false},
            {site / ".." / "elsewhere" / "secret.txt", false},
            {elsewhere / "secret.txt", false},
        };
        for (const Case& c : cases)
            QVERIFY2(ui::FolderOnlyInterceptor::Allows(QUrl::fromLocalFile(Native(c.file)),
                                                       folders) == c.allowed,
                     c.file.c_str());
        // A script's own read (XMLHttpRequest, fetch) is refused even inside the folder.
        QVERIFY(!ui::FolderOnlyInterceptor::Allows(QUrl::fromLocalFile(Native(site / "index.htm")),
                                                   folders, true));
        // An allowed folder reached through a link is the folder it leads to.
        fs::create_directory_symlink(site, root.path() / "alias");
        QVERIFY(ui::FolderOnlyInterceptor::Allows(QUrl::fromLocalFile(Native(site / "index.htm")),
                                                  {Native(root.path() / "alias")}));
    }

    void ThePagesScriptsReadNoFileThroughALinkNorAnyLocalFile() {
        test::TempFolder elsewhere;
        Write(elsewhere.path() / "leak.js", "window.leaked = 'yes';");
        Write(elsewhere.path() / "secret.txt", "secret");
        ui::LivePreview preview;
        QVERIFY(EngineStarted(preview));
        const fs::path own = preview.PreviewFolder().toStdString();
        fs::create_directory_symlink(elsewhere.path(), own / "out");
        fs::create_directory_symlink("/", own / "up");
        Write(own / "mine.js", "window.mine = 'yes';");
        Write(own / "data.txt", "local");
        Write(own / "page.htm",
              "<html><body><script src=\"mine.js\"></script>"
              "<script src=\"out/leak.js\"></script>"
              "<script>window.leaked = window.leaked || 'no';"
              "function get(u, k){var x = new XMLHttpRequest();"
              "x.onload = function(){ window[k] = 'read:' + x.responseText; };"
              "x.onerror = function(){ window[k] = 'blocked'; };"
              "try { x.open('GET', u); x.send(); } catch (e) { window[k] = 'blocked'; }}"
              "get('data.txt', 'own'); get('out/secret.txt', 'linked');"
              "get('up/etc/hostname', 'root');</script></body></html>");
        QVERIFY(Load(preview, own / "page.htm"));
        QCOMPARE(WaitForAnswer(preview, "window.mine || ''"), QString("yes"));
        QCOMPARE(WaitForAnswer(preview, "window.leaked || ''"), QString("no"));
        QCOMPARE(WaitForAnswer(preview, "window.own || ''"), QString("blocked"));
        QCOMPARE(WaitForAnswer(preview, "window.linked || ''"), QString("blocked"));
        QCOMPARE(WaitForAnswer(preview, "window.root || ''"), QString("blocked"));
    }

    void WebRtcSendsNothingToAStunOrTurnServer() {
        QUdpSocket server;
        QVERIFY(server.bind(QHostAddress::LocalHost, 0));
        int datagrams = 0;
        connect(&server, &QUdpSocket::readyRead, this, [&] {
            while (server.hasPendingDatagrams()) {
                server.receiveDatagram();
                ++datagrams;
            }
        });
        const QString port = QString::number(server.localPort());
        ui::LivePreview preview;
        QVERIFY(EngineStarted(preview));
        const fs::path own = preview.PreviewFolder().toStdString();
        Write(own / "rtc.htm",
              ("<html><body><script>window.ice = '';"
               "try {"
               " var pc = new RTCPeerConnection({iceServers: ["
               "  {urls: 'stun:127.0.0.1:" +
               port +
               "'},"
               "  {urls: 'turn:127.0.0.1:" +
               port +
               "?transport=udp', username: 'bytes-of-a-local-file', credential: 'x'}]});"
               " pc.createDataChannel('out');"
               " pc.onicecandidate = function(e){ if (!e.candidate) window.ice = 'complete'; };"
               " pc.onicegatheringstatechange = function(){"
               "  if (pc.iceGatheringState === 'complete') window.ice = 'complete'; };"
               " pc.createOffer().then(function(o){ return pc.setLocalDescription(o); })"
               "  .catch(function(e){ window.ice = 'refused'; });"
               "} catch (e) { window.ice = 'no WebRTC'; }"
               "</script></body></html>")
                  .toStdString());
        QVERIFY(Load(preview, own / "rtc.htm"));
        // Gathering ends once every server was asked (or none could be); a datagram that
        // reaches the server ends the wait at once.
        QString ice;
        const bool ended = QTest::qWaitFor(
            [&] {
                ice = Eval(preview, "window.ice").toString();
                return datagrams > 0 || !ice.isEmpty();
            },
            30000);
        QCoreApplication::processEvents();
        QCOMPARE(datagrams, 0);
        QVERIFY(!server.hasPendingDatagrams());
        QVERIFY(ended);
        QVERIFY2(ice == "complete" || ice == "refused" || ice == "no WebRTC", qPrintable(ice));
    }

    void APageInAFolderWithANonAsciiNameIsShownWithItsPictures() {
        test::TempProgramFolder home;
        test::TempFolder root;
        const fs::path folder = root.path() / "caf\xC3\xA9";
        // The preview is built in its own folder: the page names its picture by full URL.
        const std::string picture =
            QUrl::fromLocalFile(Native(folder / "pic.png")).toEncoded().toStdString();
        Write(folder / "index.htm",
              "<html>\r\n<head>\r\n</head>\r\n<body>\r\n<img id=\"pic\" src=\"" + picture +
                  "\">\r\n</body>\r\n</html>\r\n");
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(Native(folder / "pic.png")));

        Workspace ws;
        ws.ProgramFolder = home.path();
        ScriptRecord r;
        r.ScriptId = "fx";
        r.Name = "Effect fx";
        r.IdPrefix = "fx";
        r.IdStride = 100;
        r.ItemCount = "1";
        home.WriteScrambled("fx_1.dat", "<p id=\"fx\">made by fx</p>");
        r.ItemLocation.push_back("Body_End");
        r.ItemCodeFile.push_back("fx_1.dat");
        r.ItemExternalName.push_back("");
        r.ItemInclude.push_back(1);
        r.ItemOnce.push_back(0);
        ws.Library.push_back(r);
        ws.CurrentScriptIndex = static_cast<int16_t>(ws.Library.size() - 1);
        ws.SampleFile = (folder / "index.htm").string();

        ui::LivePreview preview;
        QVERIFY(EngineStarted(preview));
        bool reloaded = false;
        connect(&preview, &ui::LivePreview::Reloaded, this, [&] { reloaded = true; });
        preview.Rebuild(ws);
        QVERIFY(QTest::qWaitFor([&] { return reloaded; }, 30000));
        QCOMPARE(WaitForAnswer(preview, "document.getElementById('fx') ? "
                                        "document.getElementById('fx').textContent : ''"),
                 QString("made by fx"));
        QVERIFY(QTest::qWaitFor(
            [&] { return Eval(preview, "document.getElementById('pic').complete").toBool(); },
            20000));
        QCOMPARE(Eval(preview, "document.getElementById('pic').naturalWidth").toInt(), 3);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PreviewSandboxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_preview_sandbox.moc"
