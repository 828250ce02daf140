// The main window: the category grid and its pictures, the category choice, the "Recent"
// menu, the sample page setting and the help entries.
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "shell/frm_cats.h"
#include "shell_fixture.h"
#include "support/geometry_round_trip.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

using namespace pelto;
using namespace pelto::ui;

namespace {

// The visible entries of a menu as their texts ("-" for a separator).
QStringList VisibleEntries(QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions())
        if (a->isVisible())
            texts << (a->isSeparator() ? QString("-") : a->text());
    return texts;
}

QToolButton* CategoryButton(FrmCats& w, int index) {
    return w.findChild<QToolButton*>(QStringLiteral("CmdCats_%1").arg(index));
}

} // namespace

class TestFrmCats : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ShellFixture> fx;

    // A library with the given categories, one script each, in this order.
    void LoadCategories(const std::vector<std::string>& categories) {
        for (size_t i = 0; i < categories.size(); ++i) {
            const std::string n = std::to_string(10 + i);
            fx->AddScript({"s" + n + ".hdr", "id" + n, "Effect " + n, "", categories[i]});
        }
        fx->Load();
    }

private slots:
    void init() {
        fx = std::make_unique<test::ShellFixture>();
        fx->AddPicture("cdefault.gif", 0, 0, 255);
    }
    void cleanup() {
        if (HelpViewer* help = CurrentHelpViewer())
            delete help;
        fx.reset();
    }

    void threeCategoriesFillTheTopRow() {
        LoadCategories({"Menus", "Clocks", "Text"});
        FrmCats w(fx->ws, fx->flow);
        w.show();
        QCOMPARE(int(w.CmdCats.size()), 9);
        for (int i = 0; i < 9; ++i) {
            QToolButton* b = CategoryButton(w, i);
            QVERIFY2(b, qPrintable(QStringLiteral("CmdCats_%1").arg(i)));
            QCOMPARE(b->isVisible(), i < 3);
        }
        QCOMPARE(CategoryButton(w, 0)->text(), QString("Menus"));
        QCOMPARE(CategoryButton(w, 2)->text(), QString("Text"));
        QCOMPARE(CategoryButton(w, 1)->accessibleName(), QString("Clocks"));
        // Top row, left to right, all the same size; hidden places keep the grid's shape.
        const QPoint p0 = CategoryButton(w, 0)->pos(), p1 = CategoryButton(w, 1)->pos(),
                     p2 = CategoryButton(w, 2)->pos();
        QCOMPARE(p0.y(), p1.y());
        QCOMPARE(p1.y(), p2.y());
        QVERIFY(p0.x() < p1.x() && p1.x() < p2.x());
        QCOMPARE(CategoryButton(w, 0)->size(), CategoryButton(w, 2)->size());
        QVERIFY(CategoryButton(w, 3)->geometry().top() > CategoryButton(w, 0)->geometry().bottom());
        QVERIFY(!w.LblNoCategories->isVisible());
    }

    void gridOrderIsRowByRow() {
        LoadCategories({"C0", "C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8"});
        FrmCats w(fx->ws, fx->flow);
        w.show();
        for (int i = 0; i < 9; ++i) {
            QToolButton* b = CategoryButton(w, i);
            QCOMPARE(b->text(), QStringLiteral("C%1").arg(i));
            const QPoint first = CategoryButton(w, i / 3 * 3)->pos();
            const QPoint top = CategoryButton(w, i % 3)->pos();
            QCOMPARE(b->pos().y(), first.y()); // same row as the row's first button
            QCOMPARE(b->pos().x(), top.x());   // same column as the top row's button
        }
    }

    void moreThanNineCategoriesAreAllShown() {
        std::vector<std::string> cats;
        for (int i = 0; i < 11; ++i)
            cats.push_back("Cat" + std::to_string(i));
        LoadCategories(cats);
        FrmCats w(fx->ws, fx->flow);
        w.show();
        QCOMPARE(int(w.CmdCats.size()), 11);
        for (int i = 0; i < 11; ++i)
            QVERIFY(CategoryButton(w, i)->isVisibleTo(&w));
        QCOMPARE(CategoryButton(w, 10)->text(), QString("Cat10"));
        QCOMPARE(CategoryButton(w, 9)->pos().x(), CategoryButton(w, 0)->pos().x());
    }

    void widerWindowShowsMoreColumnsOfTheSameButtons() {
        std::vector<std::string> cats;
        for (int i = 0; i < 11; ++i)
            cats.push_back("Cat" + std::to_string(i));
        LoadCategories(cats);
        FrmCats w(fx->ws, fx->flow);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize button = CategoryButton(w, 0)->size();
        const QSize opened = w.size();
        // Three columns at first: the fourth category starts the second row.
        QCOMPARE(CategoryButton(w, 3)->pos().x(), CategoryButton(w, 0)->pos().x());
        QVERIFY(CategoryButton(w, 3)->pos().y() > CategoryButton(w, 0)->pos().y());

        w.resize(opened + QSize(2 * (button.width() + 14), 0));
        QCoreApplication::processEvents();
        // Five columns now: the top row holds five buttons of the same size.
        for (int i = 1; i < 5; ++i) {
            QCOMPARE(CategoryButton(w, i)->pos().y(), CategoryButton(w, 0)->pos().y());
            QCOMPARE(CategoryButton(w, i)->size(), button);
        }
        QCOMPARE(CategoryButton(w, 5)->pos().x(), CategoryButton(w, 0)->pos().x());
        QVERIFY(CategoryButton(w, 5)->pos().y() > CategoryButton(w, 0)->pos().y());

        w.resize(opened);
        QCoreApplication::processEvents();
        QCOMPARE(CategoryButton(w, 3)->pos().x(), CategoryButton(w, 0)->pos().x());
        QCOMPARE(CategoryButton(w, 3)->size(), button);
    }

    void pictureFile_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("picture");
        QTest::newRow("own picture") << "Menus"
                                     << "Menus.gif";
        QTest::newRow("no picture of its own") << "Clocks"
                                               << "cdefault.gif";
        QTest::newRow("blanks at the ends") << "  Menus "
                                            << "Menus.gif";
        QTest::newRow("letter case differs") << "menus"
                                             << "cdefault.gif";
        QTest::newRow("only blanks") << "   "
                                     << "cdefault.gif";
        QTest::newRow("a path") << "../images/Menus"
                                << "cdefault.gif";
    }
    void pictureFile() {
        QFETCH(QString, category);
        QFETCH(QString, picture);
        fx->AddPicture("Menus.gif", 255, 0, 0);
        const QString file = CategoryPictureFile(fx->ws, category.toStdString());
        QCOMPARE(QFileInfo(file).fileName(), picture);
        QCOMPARE(
            QFileInfo(file).absolutePath(),
            QFileInfo(QString::fromStdString(fx->ws.ImagesFolder().string())).absoluteFilePath());
    }

    void buttonsShowTheirPictures() {
        fx->AddPicture("Menus.gif", 255, 0, 0);
        LoadCategories({"Menus", "Clocks"});
        FrmCats w(fx->ws, fx->flow);
        const QImage own = CategoryButton(w, 0)->icon().pixmap(1, 1).toImage();
        const QImage fallback = CategoryButton(w, 1)->icon().pixmap(1, 1).toImage();
        QVERIFY(!own.isNull() && !fallback.isNull());
        QCOMPARE(own.pixelColor(0, 0), QColor(255, 0, 0));
        QCOMPARE(fallback.pixelColor(0, 0), QColor(0, 0, 255));
    }

    void blankedCategoryKeepsItsBlanks() {
        fx->AddPicture("Menus.gif", 255, 0, 0);
        LoadCategories({" Menus  "});
        FrmCats w(fx->ws, fx->flow);
        QCOMPARE(CategoryButton(w, 0)->text(), QString(" Menus  "));
        QCOMPARE(CategoryButton(w, 0)->icon().pixmap(1, 1).toImage().pixelColor(0, 0),
                 QColor(255, 0, 0));
        w.CmdCats_Click(0);
        QCOMPARE(QString::fromStdString(fx->ws.CurrentCategory), QString(" Menus  "));
    }

    void ampersandIsShownAsText() {
        LoadCategories({"Tips & Tricks"});
        FrmCats w(fx->ws, fx->flow);
        QCOMPARE(CategoryButton(w, 0)->text(), QString("Tips && Tricks"));
        QCOMPARE(CategoryButton(w, 0)->accessibleName(), QString("Tips & Tricks"));
    }

    void categoryClickHandsOverAndCloses() {
        LoadCategories({"Menus", "Clocks"});
        FrmCats w(fx->ws, fx->flow);
        w.show();
        QTest::mouseClick(CategoryButton(w, 1), Qt::LeftButton);
        QCOMPARE(QString::fromStdString(fx->ws.CurrentCategory), QString("Clocks"));
        QCOMPARE(fx->flow.calls, QStringList{"ShowScriptSelection"});
        QVERIFY(!w.isVisible());
    }

    void categoryKeyboardChoice() {
        LoadCategories({"Menus", "Clocks"});
        FrmCats w(fx->ws, fx->flow);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(QApplication::focusWidget(), CategoryButton(w, 0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(QString::fromStdString(fx->ws.CurrentCategory), QString("Clocks"));
    }

    void enterOnAFocusedCategoryChoosesIt_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }
    void enterOnAFocusedCategoryChoosesIt() {
        QFETCH(int, key);
        LoadCategories({"Menus", "Clocks"});
        FrmCats w(fx->ws, fx->flow);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), CategoryButton(w, 1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(QString::fromStdString(fx->ws.CurrentCategory), QString("Clocks"));
        QCOMPARE(fx->flow.calls, QStringList{"ShowScriptSelection"});
    }

    void emptyLibrarySaysSo() {
        fx->Load();
        FrmCats w(fx->ws, fx->flow);
        w.show();
        for (QToolButton* b : w.CmdCats)
            QVERIFY(!b->isVisible());
        QVERIFY(w.LblNoCategories->isVisible());
        QVERIFY(w.LblNoCategories->text().contains("No effects"));
    }

    void recentMenuListsStoredEffects() {
        LoadCategories({"A", "B", "C"});
        SaveSetting("MRU", "MRU1", "id12");
        SaveSetting("MRU", "MRU2", "id10");
        SaveSetting("MRU", "MRU3", "gone");
        FrmCats w(fx->ws, fx->flow);
        QCOMPARE(VisibleEntries(w.mnu_recent_effects),
                 QStringList(
                     {"Effect 12", "Effect 10", "gone (no longer in the library)", "-", "&Clear"}));
        QVERIFY(w.mnu_mru[0]->isEnabled());
        QVERIFY(!w.mnu_mru[2]->isEnabled());
        QCOMPARE(w.findChild<QAction*>("mnu_mru_1"), w.mnu_mru[1]);
    }

    void emptyRecentListShowsOnlyClear() {
        LoadCategories({"A"});
        FrmCats w(fx->ws, fx->flow);
        QCOMPARE(int(w.mnu_mru.size()), 1); // entry 0 exists with the window
        QCOMPARE(VisibleEntries(w.mnu_recent_effects), QStringList({"-", "&Clear"}));
    }

    void loadingAgainShowsTheCurrentStore() {
        LoadCategories({"A", "B"});
        FrmCats w(fx->ws, fx->flow);
        SaveSetting("MRU", "MRU1", "id11");
        w.Form_Load();
        QCOMPARE(int(w.CmdCats.size()), 9);
        QCOMPARE(CategoryButton(w, 1), w.CmdCats[1]);
        QCOMPARE(w.CmdCats[1]->text(), QString("B"));
        QCOMPARE(VisibleEntries(w.mnu_recent_effects), QStringList({"Effect 11", "-", "&Clear"}));
    }

    void clearEmptiesMenuAndStore() {
        LoadCategories({"A", "B"});
        SaveSetting("MRU", "MRU1", "id10");
        SaveSetting("MRU", "MRU2", "id11");
        FrmCats w(fx->ws, fx->flow);
        w.mnu_mru_clear->trigger();
        QCOMPARE(VisibleEntries(w.mnu_recent_effects), QStringList({"-", "&Clear"}));
        for (int slot = 1; slot <= 10; ++slot)
            QCOMPARE(GetSetting("MRU", QStringLiteral("MRU%1").arg(slot), "<missing>"), QString());
    }

    void recentEntryOpensTheParameterPage() {
        LoadCategories({"A", "B", "C"});
        SaveSetting("MRU", "MRU1", "id10");
        SaveSetting("MRU", "MRU2", "id12");
        FrmCats w(fx->ws, fx->flow);
        w.show();
        w.mnu_mru[1]->trigger();
        QCOMPARE(int(fx->ws.CurrentScriptIndex), 3);
        QCOMPARE(QString::fromStdString(fx->ws.CurrentParameterFile), QString("s12.par"));
        QCOMPARE(fx->flow.calls, QStringList{"ShowParameterPage"});
        QVERIFY(!w.isVisible());
    }

    void goneRecentEntryNeverOpensAPage() {
        LoadCategories({"A"});
        SaveSetting("MRU", "MRU1", "gone");
        FrmCats w(fx->ws, fx->flow);
        w.show();
        w.OpenRecentEffect(0);
        w.OpenRecentEffect(5); // a slot that is empty
        QVERIFY(fx->flow.calls.isEmpty());
        QCOMPARE(int(fx->ws.CurrentScriptIndex), 0);
        QCOMPARE(TestMessages().size(), 2);
        QVERIFY(TestMessages()[0].contains("\"gone\" is no longer in the library"));
        QVERIFY(w.isVisible());
    }

    void sampleFileComesFromTheStore() {
        LoadCategories({"A"});
        const std::string start = fx->ws.SampleFile;
        {
            FrmCats w(fx->ws, fx->flow);
            QCOMPARE(fx->ws.SampleFile, start); // no setting: unchanged
        }
        SaveSetting("Settings", "Sample File", "/home/user/site/index.html");
        FrmCats w(fx->ws, fx->flow);
        QCOMPARE(QString::fromStdString(fx->ws.SampleFile), QString("/home/user/site/index.html"));
    }

    void menusHoldTheirEntries() {
        LoadCategories({"A"});
        FrmCats w(fx->ws, fx->flow);
        QCOMPARE(VisibleEntries(w.mnu_options), QStringList({"&Sample File"}));
        QCOMPARE(VisibleEntries(w.mnu_help),
                 QStringList({"&Contents", "Script &Tutorials", "-", "&About Pelto"}));
        QCOMPARE(w.mnu_help_help->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(!w.findChild<QAction*>("mnu_help_website"));
        QVERIFY(!w.findChild<QAction*>("mnu_help_norvale_web"));
        QCOMPARE(w.windowTitle(), QString("Select Script Category"));
    }

    void optionsAndAboutAreModalDialogs_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Sample File") << "mnu_options_sample_file"
                                     << "FrmOptions";
        QTest::newRow("About Pelto") << "mnu_help_about"
                                     << "frmAbout";
    }
    void optionsAndAboutAreModalDialogs() {
        QFETCH(QString, entry);
        QFETCH(QString, dialog);
        LoadCategories({"A"});
        FrmCats w(fx->ws, fx->flow);
        w.show();
        QString seen;
        QWidget* owner = nullptr;
        QTimer::singleShot(0, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            seen = QString::fromLatin1(modal->metaObject()->className());
            owner = modal->parentWidget();
            modal->close();
        });
        w.findChild<QAction*>(entry)->trigger(); // returns when the dialog has closed
        QCOMPARE(seen, "pelto::ui::" + dialog);
        QCOMPARE(owner, &w);
    }

    void f1OpensTheHelpContents() {
        LoadCategories({"A"});
        fx->home().WriteFile("help/index.html", "<html><head><title>Contents</title></head>"
                                                "<body>Help contents</body></html>");
        FrmCats w(fx->ws, fx->flow);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_F1);
        HelpViewer* help = CurrentHelpViewer();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QCOMPARE(QFileInfo(help->Browser()->source().toLocalFile()).fileName(),
                 QString("index.html"));
        QVERIFY(help->Browser()->toPlainText().contains("Help contents"));
    }

    void tutorialsOpenTopic1001() {
        LoadCategories({"A"});
        fx->home().WriteFile("help/index.html", "<p>Contents</p>");
        fx->home().WriteFile("help/tutorials.html", "<p>Tutorials</p>");
        FrmCats w(fx->ws, fx->flow);
        w.mnu_help_tutorial->trigger();
        QVERIFY(CurrentHelpViewer());
        QCOMPARE(QFileInfo(CurrentHelpViewer()->Browser()->source().toLocalFile()).fileName(),
                 QString("tutorials.html"));
    }

    void missingHelpIsReported() {
        LoadCategories({"A"});
        FrmCats w(fx->ws, fx->flow);
        w.mnu_help_help->trigger();
        QVERIFY(!CurrentHelpViewer());
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY(TestMessages()[0].contains("index.html"));
        QVERIFY(TestMessages()[0].contains("cannot be found"));
    }

    void windowComesBackWhereItWasLeft() {
        LoadCategories({"Menus", "Clocks", "Text"});
        std::unique_ptr<FrmCats> w;
        const QString problem = test::GeometryRoundTripProblem(
            [&]() -> QWidget* {
                w = std::make_unique<FrmCats>(fx->ws, fx->flow);
                w->show();
                return w.get();
            },
            [](QWidget* window) { window->close(); });
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_MAIN(TestFrmCats)
#include "test_shell_cats.moc"
