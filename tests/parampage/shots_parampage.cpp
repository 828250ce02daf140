// Renders the parameter page with each of its editor frames, and the template dialog in
// both modes, to PNG files in $PELTO_SCREENSHOTS (default: "screenshots" beside this
// program).
#include "page_fixture.h"
#include "support/key_input.h"

#include "platform/message_box.h"
#include "templates/ui/frm_parameter_set.h"
#include "ui_common/editor_frame.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSet>
#include <QTest>

using namespace pelto;
using namespace pelto::test;

namespace {

std::string EveryKind() {
    return Definition({
        {"0", "0", "500", "10", "px", "120", "Scroll speed",
         "How far the text moves on each step."},
        {"1", "*.txt;*.csv", "", "Data file", "A text file with one entry per line."},
        {"2", "*.gif;*.jpg;*.png", "", "Background picture", "The picture behind the effect."},
        {"3", "16744448", "Text colour", "The colour of the scrolling text."},
        {"4", "Arial", "1", "0", "0", "0", "12", "Heading font", "The font of the headings."},
        {"5", "0", "0", "Welcome to my home page!", "", "", "True", "Greeting",
         "The text shown when the page opens."},
        {"6", "0", "0", "3", "", "2", "<a href=\"#\">#</a>", "1", "Caption", "Link", "Target",
         "Menu items", "The entries of the menu: caption, link and target window.", "Home", "News",
         "index.htm", "news.htm", "_self", "_blank"},
        {"7", "1", "4", "Direction", "Which way the text moves.", "Left", "Right", "Up", "Down",
         "l", "r", "u", "d"},
        {"8", "reserved"},
        {"9", "Status bar text", "Tool tip", "onmouseover=\"*\" title=\"#\"", "Link texts",
         "Texts shown when the pointer is over a link."},
        {"10", "0", "0", "800", "600", "10", "10", "px", "px", "100", "50", "Left edge", "Top edge",
         "Box position", "Where the box stands on the page."},
        {"11", "3", ";", "Site menu", "The entries of the site menu.", "Home", ">Products",
         ">>Garden tools", "Home", "Products", "Garden tools", "index.htm", "products.htm",
         "tools.htm"},
        {"12", "", "", "Once per page", "Place the effect near the top of the page.",
         "Norvale effects team", "Questions go to the effects forum.", "4 KB", "Text effect"},
    });
}

QString OutputFolder() {
    const QString env = qEnvironmentVariable("PELTO_SCREENSHOTS");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() + "/screenshots" : env;
}

bool Save(QWidget* w, const QString& name) {
    QApplication::processEvents();
    const QImage image = w->grab().toImage();
    const QString path = QDir(OutputFolder()).filePath(name + ".png");
    if (!image.save(path)) {
        qWarning("could not write %s", qPrintable(path));
        return false;
    }
    // Not blank: a real window has many colours.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    if (colours.size() < 3 || !QFileInfo(path).size()) {
        qWarning("%s looks blank", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

class ShotsParampage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        ui::EnableTestMessages();
        QVERIFY(QDir().mkpath(OutputFolder()));
    }

    void everyEditorFrame() {
        const std::string page =
            "<html><body><a href=\"index.htm\">Home</a> <a href=\"news.htm\">News</a> "
            "<a href=\"contact.htm\">Contact us</a></body></html>\r\n";
        PageFixture f(EveryKind(), page);
        QListWidget* list = f.page().LstParameters;
        QCOMPARE(list->count(), 13);
        for (int row = 0; row < list->count(); ++row) {
            list->setCurrentRow(row);
            const int kind = list->item(row)->data(Qt::UserRole).toInt();
            if (kind == Mouseover)
                ClickRow(f.Find<QListWidget>("LstMouseover"), 1);
            if (kind == Menu)
                ClickRow(f.Find<QListWidget>("LstMenuBuilder"), 2);
            if (kind == List)
                ClickRow(f.Find<QListWidget>("LstList"), 0);
            QVERIFY(f.page().FrameDataType[kind]->isVisible());
            QVERIFY(
                Save(&f.page(),
                     QStringLiteral("parampage_%1_frame%2").arg(row, 2, 10, QChar('0')).arg(kind)));
        }
        QVERIFY(ui::TestMessages().isEmpty());
    }

    // Japanese and Hebrew in the list of parameters, the caption, the description, the
    // text box (typed key by key) and the list of links; the fonts come from Debian's
    // Noto CJK and DejaVu packages, which the test command installs.
    void japaneseAndHebrewText() {
        QVERIFY2(!QFontDatabase::families(QFontDatabase::Japanese).isEmpty(),
                 "no font for Japanese: install fonts-noto-cjk");
        QVERIFY2(!QFontDatabase::families(QFontDatabase::Hebrew).isEmpty(),
                 "no font for Hebrew: install fonts-dejavu-core");
        const std::string japanese = "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x95\xE3\x81\xA4"; // あいさつ
        const std::string hebrew = "\xD7\x91\xD7\xA8\xD7\x9B\xD7\x94";                   // ברכה
        const std::string definition =
            "\xEF\xBB\xBF" +
            Definition({
                {"5", "0", "0", "\xE3\x82\x88\xE3\x81\x86\xE3\x81\x93\xE3\x81\x9D", "", "", "True",
                 japanese + " / " + hebrew,
                 "\xE3\x83\x9A\xE3\x83\xBC\xE3\x82\xB8\xE3\x82\x92\xE9\x96\x8B\xE3\x81\x8F\xE3\x81"
                 "\xA8"
                 "\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x81\x95\xE3\x82\x8C\xE3\x82\x8B\xE6\x96\x87\xE3\x80"
                 "\x82 "
                 "\xD7\x94\xD7\x98\xD7\xA7\xD7\xA1\xD7\x98 "
                 "\xD7\xA9\xD7\x9E\xD7\x95\xD7\xA4\xD7\x99\xD7\xA2 "
                 "\xD7\x91\xD7\xA4\xD7\xAA\xD7\x99\xD7\x97\xD7\xAA \xD7\x94\xD7\x93\xD7\xA3."},
                {"9", "\xE3\x83\x92\xE3\x83\xB3\xE3\x83\x88", "\xD7\xA8\xD7\x9E\xD7\x96",
                 "title=\"*\" data-x=\"#\"", "\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xAF", "Link texts"},
            });
        const std::string page = "<html><head><meta charset=\"utf-8\"></head><body>"
                                 "<a href=\"a.htm\">\xE3\x83\x9B\xE3\x83\xBC\xE3\x83\xA0</a> "
                                 "<a href=\"b.htm\">\xD7\x91\xD7\x99\xD7\xAA</a></body></html>\r\n";
        PageFixture f(definition, page);
        f.page().LstParameters->setCurrentRow(0);
        auto* text = f.Find<QPlainTextEdit>("TxtText");
        text->selectAll();
        QTest::keyClick(text, Qt::Key_Delete);
        TypeText(text, QString::fromUtf8(
                           "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF"
                           "\xE3\x80\x81\xE4\xB8\x96\xE7\x95\x8C\n"
                           "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D"));
        QCOMPARE(f.page().LstParameters->item(0)->text(),
                 QString::fromStdString(japanese + " / " + hebrew));
        QVERIFY(Save(&f.page(), "parampage_japanese_hebrew_text"));
        f.page().LstParameters->setCurrentRow(1);
        QCOMPARE(f.Find<QListWidget>("LstMouseover")->item(1)->text(),
                 QString::fromUtf8("\xD7\x91\xD7\x99\xD7\xAA"));
        QVERIFY(Save(&f.page(), "parampage_japanese_hebrew_links"));
        QVERIFY(ui::TestMessages().isEmpty());
    }

    void templateDialog() {
        PageFixture f(EveryKind());
        f.folder.WriteFile("userdata/test.p01", CrLf({"Slow and blue"}));
        f.folder.WriteFile("userdata/test.p02", CrLf({"Fast for the shop"}));
        for (auto mode : {ui::FrmParameterSet::Mode::Save, ui::FrmParameterSet::Mode::Load}) {
            ui::FrmParameterSet dialog(f.ws, {}, &f.page());
            dialog.PrepareFor(mode);
            dialog.show();
            QVERIFY(Save(&dialog, mode == ui::FrmParameterSet::Mode::Save
                                      ? "parampage_template_save"
                                      : "parampage_template_load"));
        }
    }
};

QTEST_MAIN(ShotsParampage)
#include "shots_parampage.moc"
