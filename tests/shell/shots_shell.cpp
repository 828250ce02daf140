// Renders the shell's windows to PNG files in $PELTO_SCREENSHOTS (default: "screenshots"
// beside this program): the splash window, the main window, the script selection and the
// help window, using a copy of the shipped program folder.
#include "library/definition_reader.h"
#include "library/library_loader.h"
#include "platform/help_viewer.h"
#include "platform/settings_store.h"
#include "shell/frm_cats.h"
#include "shell/frm_select_script.h"
#include "shell/frm_splash.h"
#include "shell/recent_effects.h"
#include "shell_fixture.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QtTest>

using namespace pelto;
using namespace pelto::ui;

class ShotsShell : public QObject {
    Q_OBJECT

    QString outDir;
    std::unique_ptr<test::TempFolder> folder;
    std::unique_ptr<test::ShellFixture> fx; // settings file and test message boxes
    Workspace ws;
    QString startDir;

    void Save(QWidget& w, const QString& name) {
        w.show();
        QTest::qWait(20);
        const QImage image = w.grab().toImage();
        const QString file = QDir(outDir).filePath(name + ".png");
        QVERIFY2(image.save(file), qPrintable(file));
        QVERIFY(QFileInfo(file).size() > 0);
        // Not blank: the picture holds more than one colour.
        const QRgb first = image.pixel(0, 0);
        bool varied = false;
        for (int y = 0; y < image.height() && !varied; y += 3)
            for (int x = 0; x < image.width() && !varied; x += 3)
                varied = image.pixel(x, y) != first;
        QVERIFY2(varied, qPrintable(file + " is blank"));
    }

    static bool HasHeaders(const std::filesystem::path& data) {
        for (const auto& entry : std::filesystem::directory_iterator(data))
            if (entry.path().extension() == ".hdr")
                return true;
        return false;
    }
    // While the shipped library is still empty: a few effects of typical categories.
    static void WriteStandInLibrary(const std::filesystem::path& data) {
        const char* categories[] = {"Menus",     "Text Effects", "Clocks", "Mouse Effects",
                                    "Scrollers", "Backgrounds",  "Images"};
        int n = 0;
        for (const char* category : categories)
            for (int k = 1; k <= (category == categories[0] ? 7 : 2); ++k, ++n) {
                const std::string id = "fx" + std::to_string(100 + n);
                test::WriteScrambled(
                    data / (id + ".hdr"),
                    test::CrLf({id, "fx", "1000", std::string(category) + " " + std::to_string(k),
                                "A short description of what this effect "
                                "does on the page.",
                                category, "0", "0"}));
            }
    }

private slots:
    void initTestCase() {
        startDir = QDir::currentPath();
        outDir = qEnvironmentVariable("PELTO_SCREENSHOTS");
        if (outDir.isEmpty())
            outDir = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
        QVERIFY(QDir().mkpath(outDir));
        fx = std::make_unique<test::ShellFixture>();
        folder = std::make_unique<test::TempFolder>();
        test::CopyShippedProgramFolder(folder->path());
        if (!HasHeaders(folder->path() / "data"))
            WriteStandInLibrary(folder->path() / "data");
        ws.ProgramFolder = folder->path();
        if (!std::filesystem::exists(ws.HelpFile())) {
            std::filesystem::create_directories(ws.HelpFile().parent_path());
            QFile help(QString::fromStdString(ws.HelpFile().string()));
            QVERIFY(help.open(QIODevice::WriteOnly));
            help.write("<html><head><title>Contents</title></head><body><h1>Pelto Help</h1>"
                       "<p>Pick a category, then an effect, set its parameters and apply it "
                       "to your page.</p><ul><li><a href=\"tutorials.html\">Script "
                       "Tutorials</a></li></ul></body></html>");
        }
        ResetParameterState(ws);
        QVERIFY(LoadHandlerTexts(ws));
        QVERIFY(LoadScriptLibrary(ws).fatal);
        BuildCategoryList(ws);
        QVERIFY(ws.CategoryList.size() > 1);
        ws.CurrentCategory = ws.CategoryList[1];
        // A few recent effects for the menu.
        for (int16_t i = 1; i < static_cast<int16_t>(ws.Library.size()) && i <= 3; ++i)
            AddRecentEffect(ws, i);
    }
    void cleanupTestCase() {
        delete CurrentHelpViewer();
        QDir::setCurrent(startDir);
    }

    void splash() {
        frmSplash w(ws, fx->flow);
        w.LblProgress->setText("Loading scripts...");
        // Rendered without showing it, so the start-up sequence does not run.
        const QImage image = w.grab().toImage();
        const QString file = QDir(outDir).filePath("shell_splash.png");
        QVERIFY(image.save(file));
        QVERIFY(image.pixel(5, 5) != image.pixel(image.width() / 2, image.height() / 2) ||
                image.pixel(5, 5) != image.pixel(40, 60));
    }

    void mainWindow() {
        FrmCats w(ws, fx->flow);
        Save(w, "shell_categories");
        w.mnu_recent_effects->popup(w.mapToGlobal(QPoint(0, 0)));
        QTest::qWait(20);
        Save(*w.mnu_recent_effects, "shell_categories_recent_menu");
        w.mnu_recent_effects->hide();
        w.mnu_help->popup(w.mapToGlobal(QPoint(0, 0)));
        QTest::qWait(20);
        Save(*w.mnu_help, "shell_categories_help_menu");
        w.mnu_help->hide();
    }

    void scriptSelection() {
        // The category with the most scripts, so that paging shows.
        std::string best = ws.CategoryList[1];
        size_t most = 0;
        for (size_t c = 1; c < ws.CategoryList.size(); ++c) {
            size_t n = 0;
            for (const auto& s : ws.Library)
                n += s.Category == ws.CategoryList[c];
            if (n > most) {
                most = n;
                best = ws.CategoryList[c];
            }
        }
        ws.CurrentCategory = best;
        FrmSelectScript w(ws, fx->flow);
        Save(w, "shell_select_script");
        // A taller window: more effects on the page.
        w.resize(w.width(), w.height() * 3 / 2);
        Save(w, "shell_select_script_tall");
    }

    void helpWindow() {
        ShowHelpContents(nullptr, QString::fromStdString(ws.HelpFile().string()));
        QVERIFY(CurrentHelpViewer());
        Save(*CurrentHelpViewer(), "shell_help");
    }
};

QTEST_MAIN(ShotsShell)
#include "shots_shell.moc"
