// Renders the parameter page with its live preview to PNG files in $PELTO_SCREENSHOTS
// (default: "screenshots" beside this program), at the scale it runs at, and the page
// too narrow for its preview.
#include "page_fixture.h"

#include "platform/message_box.h"
#include "preview/live_preview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSet>
#include <QTest>

using namespace pelto;
using namespace pelto::test;

namespace {

QString OutputFolder() {
    const QString env = qEnvironmentVariable("PELTO_SCREENSHOTS");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() + "/screenshots" : env;
}

// "" at 100%, "_200" at twice the scale (QT_SCALE_FACTOR=2).
QString ScaleSuffix() {
    const qreal ratio = qApp->devicePixelRatio();
    return ratio > 1.0 ? QStringLiteral("_%1").arg(qRound(ratio * 100)) : QString();
}

// The number of colours in the preview's part of the window: a rendered page has text
// in several colours, an empty or failed grab has one or two.
int PreviewColours(const QImage& image, const QRect& area) {
    QSet<QRgb> colours;
    for (int y = area.top(); y < area.bottom(); y += 2)
        for (int x = area.left(); x < area.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class ShotsPreview : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        ui::EnableTestMessages();
        QVERIFY(QDir().mkpath(OutputFolder()));
    }

    void pageWithPreview() {
        const std::string definition = Definition({
            {"0", "8", "60", "4", "px", "28", "Heading size", "The size of the heading."},
            {"3", "2763429", "Heading colour", "The colour of the heading."},
            {"5", "0", "0", "Welcome to my garden", "", "", "True", "Heading", "The heading."},
        });
        const std::string page =
            "<html>\r\n<head>\r\n<title>Garden</title>\r\n</head>\r\n<body style=\"font-family:"
            "sans-serif;background:#f4f1e8\">\r\n<p>Roses, apple trees and a small pond.</p>\r\n"
            "<p><a href=\"news.htm\">News</a> | <a href=\"contact.htm\">Contact</a></p>\r\n"
            "</body>\r\n</html>\r\n";
        PageFixture f(definition, page);
        ScriptRecord& r = f.ws.Library[1];
        r.ScriptId = "sh";
        r.IdPrefix = "sh";
        r.IdStride = 100;
        r.ItemCount = "1";
        f.folder.WriteScrambled("sh_1.dat", "<h1 id=\"fx\" style=\"color:#\xAEHeading colour,"
                                            "HVALUE\xAF;font-size:\xAEHeading size,INTVALUE\xAF"
                                            "px\">\xAEHeading,TEXTVALUE\xAF</h1>");
        // Items count from 1: append after the record's unused first entries.
        r.ItemLocation.push_back("Body_End");
        r.ItemCodeFile.push_back("sh_1.dat");
        r.ItemExternalName.push_back("");
        r.ItemInclude.push_back(1);
        r.ItemOnce.push_back(0);
        f.page().resize(1100, 520);
        QVERIFY(QTest::qWaitFor([&] { return f.page().Preview && f.page().Preview->isVisible(); },
                                5000));
        ui::LivePreview* preview = f.page().Preview;
        bool shown = false;
        connect(preview, &ui::LivePreview::Reloaded, this, [&] { shown = true; });
        QVERIFY(QTest::qWaitFor([&] { return shown; }, 20000));
        f.Select("Heading size");
        QTest::keyClick(f.Find<QScrollBar>("HScrollSimpleInt"), Qt::Key_PageUp);
        shown = false;
        QVERIFY(QTest::qWaitFor([&] { return shown; }, 20000));
        QTest::qWait(300); // the engine paints after the load
        QFile result(preview->PreviewFolder() + "/result.htm");
        QVERIFY(result.open(QIODevice::ReadOnly));
        const QByteArray built = result.readAll();
        QVERIFY2(built.contains("<h1 id=\"fx\""), built.constData());
        const QImage image = f.page().grab().toImage();
        const QString path =
            QDir(OutputFolder()).filePath("parampage_preview" + ScaleSuffix() + ".png");
        QVERIFY(image.save(path));
        const qreal scale = image.devicePixelRatio();
        const QRect area(preview->geometry().topLeft() * scale, preview->size() * scale);
        QVERIFY2(PreviewColours(image, area) > 3, "the preview looks blank");

        // Too narrow for the preview: the page says so where the editors begin.
        f.page().resize(700, 520);
        QApplication::processEvents();
        QVERIFY(f.page().LblPreviewHidden->isVisible());
        QVERIFY(f.page().grab().toImage().save(
            QDir(OutputFolder()).filePath("parampage_preview_narrow" + ScaleSuffix() + ".png")));
    }
};

QTEST_MAIN(ShotsPreview)
#include "shots_preview.moc"
