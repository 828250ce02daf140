// Renders the parameter page with each of its editor frames, and the template dialog in
// both modes, to PNG files in $PELTO_SCREENSHOTS (default: "screenshots" beside this
// program).
#include "page_fixture.h"

#include "platform/message_box.h"
#include "templates/ui/frm_parameter_set.h"
#include "ui_common/editor_frame.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QPixmap>
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
