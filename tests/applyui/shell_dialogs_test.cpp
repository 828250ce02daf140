// The file browser, the options dialog and the about box, driven through their controls.
#include "common/files.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/settings_store.h"
#include "shell/frm_about.h"
#include "shell/frm_options.h"
#include "support/geometry_round_trip.h"
#include "ui_common/frm_browse_file.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

namespace {

const std::string LinkedPage =
    "<HTML><BODY>\r\n<a href=\"a.htm\">Home</a> <A HREF=\"b.htm\">News</A>\r\n</BODY></HTML>\r\n";

QStringList Entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QString Q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

QListWidgetItem* Find(QListWidget* list, const QString& name) {
    const auto found = list->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

class ShellDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WindowFixture> fixture;
    std::unique_ptr<test::TempFolder> pages;
    QString previousCurrent;
    Workspace ws;

private slots:
    void init() {
        fixture = std::make_unique<test::WindowFixture>();
        pages = std::make_unique<test::TempFolder>();
        for (const char* name : {"index.htm", "Second.HTML", "shop.asp", "app.jsp", "notes.txt",
                                 "page.htmx", "old.htm.bak"})
            test::WriteBytes(pages->path() / name, LinkedPage);
        test::WriteBytes(pages->path() / "sub" / "inner.html", LinkedPage);
        fs::create_directories(pages->path() / "sub.htm"); // a folder, never a page
        previousCurrent = QDir::currentPath();
        QDir::setCurrent(Q(pages->path()));
        ws = Workspace{};
        ws.SampleFile = "/nowhere/sample.htm";
    }
    void cleanup() {
        QDir::setCurrent(previousCurrent);
        pages.reset();
        fixture.reset();
    }

    void browserStartsInCurrentFolderWithOnlyPages() {
        ws.SampleFile = (pages->path() / "sub" / "inner.html").string();
        FrmBrowseFile browser(ws);
        QCOMPARE(browser.windowTitle(), QString("Select File"));
        QCOMPARE(browser.Dir1Path(), Q(pages->path()));
        QCOMPARE(browser.File1Path(), Q(pages->path()));
        // Sorted without regard to case; patterns match in any case; no folders.
        QCOMPARE(Entries(browser.File1),
                 QStringList({"app.jsp", "index.htm", "Second.HTML", "shop.asp"}));
        QVERIFY(browser.Dir1->currentItem() != nullptr);
        QVERIFY(!browser.Drive1->currentText().isEmpty());
    }

    void folderChangeMovesFileList() {
        FrmBrowseFile browser(ws);
        QTreeWidgetItem* current = browser.Dir1->currentItem();
        QTreeWidgetItem* sub = nullptr;
        for (int i = 0; i < current->childCount(); ++i)
            if (current->child(i)->text(0) == "sub")
                sub = current->child(i);
        QVERIFY(sub != nullptr);
        browser.Dir1->setCurrentItem(sub); // as a click or an arrow key does
        QCOMPARE(browser.File1Path(), Q(pages->path() / "sub"));
        QCOMPARE(Entries(browser.File1), QStringList({"inner.html"}));
        browser.SetDir1Path(Q(pages->path()));
        QCOMPARE(Entries(browser.File1).size(), 4);
    }

    void driveChangeMovesFolderThenFiles() {
        const QByteArray previousHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(Q(pages->path() / "sub")));
        FrmBrowseFile browser(ws);
        qputenv("HOME", previousHome);
        // The places are the root and the home folder; the start folder's place is chosen.
        QCOMPARE(browser.Drive1->count(), 2);
        QCOMPARE(browser.Drive1->itemData(0).toString(), QDir::rootPath());
        QCOMPARE(browser.Drive1->itemData(1).toString(), Q(pages->path() / "sub"));
        QCOMPARE(browser.Drive1->currentIndex(), 0);

        browser.Drive1->setCurrentIndex(1);
        QCOMPARE(browser.Dir1Path(), Q(pages->path() / "sub"));
        QCOMPARE(browser.Dir1->topLevelItemCount(), 1);
        QCOMPARE(browser.File1Path(), Q(pages->path() / "sub"));
        QCOMPARE(Entries(browser.File1), QStringList({"inner.html"}));

        browser.Drive1->setCurrentIndex(0);
        QCOMPARE(browser.Dir1Path(), QDir::rootPath());
        QCOMPARE(browser.File1Path(), QDir::rootPath());

        // A folder outside the chosen place moves Drive1 to the place that holds it.
        browser.Drive1->setCurrentIndex(1);
        browser.SetDir1Path(Q(pages->path()));
        QCOMPARE(browser.Drive1->currentIndex(), 0);
        QCOMPARE(Entries(browser.File1).size(), 4);
    }

    void hiddenFoldersCanBeShownAndChosen() {
        test::WriteBytes(pages->path() / ".secret" / "hidden.htm", LinkedPage);
        FrmBrowseFile browser(ws);
        browser.show();
        auto secretFolder = [&]() -> QTreeWidgetItem* {
            QTreeWidgetItem* here = browser.Dir1->currentItem();
            for (int i = 0; here && i < here->childCount(); ++i)
                if (here->child(i)->text(0) == ".secret")
                    return here->child(i);
            return nullptr;
        };
        QVERIFY(!secretFolder());
        // Tab to the check box and tick it with Space: the same folder, hidden ones listed.
        browser.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&browser));
        for (int i = 0; i < 10 && QApplication::focusWidget() != browser.ChkShowHidden; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), browser.ChkShowHidden);
        QTest::keyClick(browser.ChkShowHidden, Qt::Key_Space);
        QCOMPARE(browser.Dir1Path(), Q(pages->path()));
        QTreeWidgetItem* secret = secretFolder();
        QVERIFY(secret);
        browser.Dir1->scrollToItem(secret);
        // On the start of its name: a deep folder's line can be wider than the view.
        const QRect line = browser.Dir1->visualItemRect(secret);
        QTest::mouseClick(browser.Dir1->viewport(), Qt::LeftButton, {},
                          QPoint(line.left() + 6, line.center().y()));
        QCOMPARE(Entries(browser.File1), QStringList({"hidden.htm"}));
        QTest::mouseClick(browser.File1->viewport(), Qt::LeftButton, {},
                          browser.File1->visualItemRect(browser.File1->item(0)).center());
        QTest::mouseClick(browser.Command1, Qt::LeftButton);
        QCOMPARE(ws.SampleFile, (pages->path() / ".secret" / "hidden.htm").string());
    }

    void clickShowsFileNameAsToolTip() {
        FrmBrowseFile browser(ws);
        browser.show();
        QListWidgetItem* item = Find(browser.File1, "shop.asp");
        QVERIFY(item);
        const QRect r = browser.File1->visualItemRect(item);
        QTest::mouseClick(browser.File1->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(browser.File1->toolTip(), QString("shop.asp"));
        QVERIFY(item->isSelected());
    }

    void selectWithoutHighlightedFileKeepsBrowserOpen() {
        FrmBrowseFile browser(ws);
        browser.show();
        QTest::mouseClick(browser.Command1, Qt::LeftButton);
        QVERIFY(browser.isVisible());
        QVERIFY(!browser.FileSelected());
        QCOMPARE(ws.SampleFile, std::string("/nowhere/sample.htm"));
    }

    void selectTakesFileAndCollectsLinks_data() {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("Select button") << false;
        QTest::newRow("double-click") << true;
    }
    void selectTakesFileAndCollectsLinks() {
        QFETCH(bool, doubleClick);
        FrmBrowseFile browser(ws);
        browser.show();
        QListWidgetItem* item = Find(browser.File1, "index.htm");
        QVERIFY(item);
        const QPoint centre = browser.File1->visualItemRect(item).center();
        if (doubleClick) {
            QTest::mouseClick(browser.File1->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(browser.File1->viewport(), Qt::LeftButton, {}, centre);
        } else {
            QTest::mouseClick(browser.File1->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseClick(browser.Command1, Qt::LeftButton);
        }
        QCOMPARE(browser.result(), int(QDialog::Accepted));
        QVERIFY(!browser.isVisible());
        QCOMPARE(ws.SampleFile, (pages->path() / "index.htm").string());
        QCOMPARE(ws.Params.Mouseover.LinkCount(), 2);
        QCOMPARE(ws.Params.Mouseover.Links[1].LinkText, std::string("Home"));
        QCOMPARE(ws.Params.Mouseover.Links[2].LinkText, std::string("News"));
        QVERIFY(TestMessages().isEmpty());
    }

    void enterKeySelectsHighlightedFile() {
        FrmBrowseFile browser(ws);
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        browser.File1->setFocus();
        browser.File1->setCurrentItem(Find(browser.File1, "app.jsp"));
        QTest::keyClick(browser.File1, Qt::Key_Return);
        QCOMPARE(ws.SampleFile, (pages->path() / "app.jsp").string());
    }

    void selectAtFolderRootDoesNotDoubleSeparator() {
        FrmBrowseFile browser(ws);
        browser.SetDir1Path(QDir::rootPath());
        QCOMPARE(browser.File1Path(), QString("/"));
        // The root holds no page here, so check the name the browser would build.
        browser.File1->addItem("page.htm");
        browser.File1->item(browser.File1->count() - 1)->setSelected(true);
        browser.Command1->click();
        // The page does not exist: refused with a message naming "/page.htm" exactly.
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY2(TestMessages().first().contains(" /page.htm") ||
                     TestMessages().first().contains("|/page.htm"),
                 qPrintable(TestMessages().first()));
        QVERIFY(!TestMessages().first().contains("//page.htm"));
    }

    void unreadablePageIsReportedAndNotTaken() {
        FrmBrowseFile browser(ws);
        browser.show();
        QListWidgetItem* item = Find(browser.File1, "shop.asp");
        item->setSelected(true);
        fs::remove(pages->path() / "shop.asp"); // gone after the list was filled
        QTest::mouseClick(browser.Command1, Qt::LeftButton);
        QVERIFY(browser.isVisible());
        QVERIFY(!browser.FileSelected());
        QCOMPARE(ws.SampleFile, std::string("/nowhere/sample.htm"));
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY(TestMessages().first().startsWith("Pelto|"));
        QVERIFY(TestMessages().first().contains(Q(pages->path() / "shop.asp")));
    }

    void pageWithBrokenLinkIsTakenWithAWarning() {
        test::WriteBytes(pages->path() / "broken.htm",
                         "<HTML><BODY><A HREF=\"x.htm\">never closed");
        FrmBrowseFile browser(ws);
        browser.show();
        ws.Params.Mouseover.Links.resize(3); // links of the previous page
        Find(browser.File1, "broken.htm")->setSelected(true);
        QTest::mouseClick(browser.Command1, Qt::LeftButton);
        QCOMPARE(browser.result(), int(QDialog::Accepted));
        QCOMPARE(ws.SampleFile, (pages->path() / "broken.htm").string());
        QCOMPARE(ws.Params.Mouseover.LinkCount(), 0);
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY(TestMessages().first().contains("broken.htm"));
        QVERIFY(TestMessages().first().contains("line 1"));
    }

    void cancelChangesNothing() {
        FrmBrowseFile browser(ws);
        browser.show();
        Find(browser.File1, "index.htm")->setSelected(true);
        QTest::mouseClick(browser.Command2, Qt::LeftButton);
        QCOMPARE(browser.result(), int(QDialog::Rejected));
        QVERIFY(!browser.isVisible());
        QCOMPARE(ws.SampleFile, std::string("/nowhere/sample.htm"));
    }

    void optionsLoadReadsTheSetting_data() {
        QTest::addColumn<bool>("stored");
        QTest::newRow("setting present") << true;
        QTest::newRow("setting missing: current page") << false;
    }
    void optionsLoadReadsTheSetting() {
        QFETCH(bool, stored);
        if (stored)
            SaveSetting("Settings", "Sample File", "/stored/page.htm");
        FrmOptions options(ws);
        const std::string expected = stored ? "/stored/page.htm" : "/nowhere/sample.htm";
        QCOMPARE(options.windowTitle(), QString("Options"));
        QCOMPARE(options.Frame1->title(), QString("Sample web page"));
        QCOMPARE(options.CmdBrowse->text(), QString("Browse"));
        QCOMPARE(ws.SampleFile, expected);
        QCOMPARE(options.Label1->text(), QString::fromStdString(expected));
    }

    void optionsBrowseWritesTheSetting_data() {
        QTest::addColumn<bool>("select");
        QTest::newRow("page selected") << true;
        QTest::newRow("browser cancelled") << false;
    }
    void optionsBrowseWritesTheSetting() {
        QFETCH(bool, select);
        FrmOptions options(ws);
        options.show();
        QVERIFY(GetSetting("Settings", "Sample File").isEmpty());
        bool sawBrowser = false;
        test::WhenModal([&](QWidget* modal) {
            auto* browser = qobject_cast<FrmBrowseFile*>(modal);
            sawBrowser = browser && browser->parentWidget() == &options;
            if (!browser)
                return modal->close();
            if (select) {
                Find(browser->File1, "Second.HTML")->setSelected(true);
                browser->Command1->click();
            } else {
                browser->Command2->click();
            }
            return true;
        });
        QTest::mouseClick(options.CmdBrowse, Qt::LeftButton);
        QVERIFY(sawBrowser);
        const QString expected = select ? Q(pages->path() / "Second.HTML") : "/nowhere/sample.htm";
        QCOMPARE(GetSetting("Settings", "Sample File"), expected);
        QCOMPARE(options.Label1->text(), expected);
        QCOMPARE(PathToQString(ws.SampleFile), expected);
    }

    void everyControlIsReachableAndNamed() {
        FrmBrowseFile browser(ws);
        FrmOptions options(ws);
        frmAbout about;
        for (QWidget* window : std::initializer_list<QWidget*>{&browser, &options, &about})
            QCOMPARE(test::UnreachableControls(window), QStringList());
        QCOMPARE(browser.findChildren<QWidget*>("File1").size(), 1);
    }

    void aboutShowsNameAndVersion() {
        frmAbout about;
        QCOMPARE(about.windowTitle(), QString("About Pelto"));
        QCOMPARE(about.lblTitle->text(), QString("Pelto"));
        QCOMPARE(about.lblVersion->text(), QString("Version 1.0.52"));
        QCOMPARE(about.lblDescription->text(), QString());
        QCOMPARE(about.cmdOK->text(), QString("OK"));
        QCOMPARE(about.cmdSysInfo->text(), QString("&System Info..."));
        QVERIFY(about.cmdOK->isDefault());
        QVERIFY(!about.picIcon->pixmap().isNull());
    }

    void aboutSystemInfoSaysUnavailable() {
        frmAbout about;
        about.show();
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
        QCOMPARE(TestMessages(),
                 QStringList({"Pelto|System Information Is Unavailable At This Time"}));
        QVERIFY(about.isVisible());
    }

    void aboutClosesWithOkAndEscape_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("OK") << false;
        QTest::newRow("Escape") << true;
    }
    void aboutClosesWithOkAndEscape() {
        QFETCH(bool, escape);
        frmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        if (escape)
            QTest::keyClick(&about, Qt::Key_Escape);
        else
            QTest::mouseClick(about.cmdOK, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    void browserComesBackWhereItWasLeft() {
        {
            FrmBrowseFile fresh(ws); // nothing stored yet: the default size
            QCOMPARE(fresh.size(), QSize(520, 360));
        }
        std::unique_ptr<FrmBrowseFile> browser;
        const QString problem = test::GeometryRoundTripProblem(
            [&]() -> QWidget* {
                browser = std::make_unique<FrmBrowseFile>(ws);
                browser->show();
                return browser.get();
            },
            [&](QWidget*) { QTest::mouseClick(browser->Command2, Qt::LeftButton); });
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        // Stored in the test's own settings file, never the user's.
        QFile settings(fixture->settingsFile());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains("FileBrowserGeometry="));
    }
};

QTEST_MAIN(ShellDialogsTest)
#include "shell_dialogs_test.moc"
