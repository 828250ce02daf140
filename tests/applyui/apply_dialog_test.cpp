// The apply dialog driven through its controls: opening state, repeat texts, the page
// label, "Browse", "Back" and every option of "Do it" on a small effect.
#include "attach/ui/frm_apply_changes.h"
#include "library/definition_reader.h"
#include "library/library_loader.h"
#include "platform/browser_launcher.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/settings_store.h"
#include "support/geometry_round_trip.h"
#include "ui_common/elided_label.h"
#include "ui_common/frm_browse_file.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace pelto;
using namespace pelto::ui;
namespace fs = std::filesystem;

namespace {

const std::string& Page = test::UserPage;
const std::string HeadCode = "<SCRIPT SRC=\"fx.js\"></SCRIPT>";
const std::string ExternalCode = "document.title = 'fx';";

using test::Q;

ScriptRecord Effect() {
    return test::HeadAndExternalEffect();
}

std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

class ApplyDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WindowFixture> fixture;
    std::unique_ptr<test::TempProgramFolder> home;
    std::unique_ptr<test::TempFolder> pages;
    QString previousCurrent;
    Workspace ws;

    fs::path page() const { return pages->path() / "index.htm"; }

private slots:
    void init() {
        fixture = std::make_unique<test::WindowFixture>();
        home = std::make_unique<test::TempProgramFolder>();
        pages = std::make_unique<test::TempFolder>();
        home->WriteScrambled("fx_head.dat", HeadCode + "\r\n");
        home->WriteScrambled("fx_ext.dat", ExternalCode + "\r\n");
        test::WriteBytes(page(), Page);
        ws = Workspace{};
        ws.ProgramFolder = home->path();
        ResetParameterState(ws);
        ws.Library.push_back(Effect());
        ws.CurrentScriptIndex = 1;
        ws.CurrentParameterFile = "fx.par";
        ws.SampleFile = page().string();
        previousCurrent = QDir::currentPath();
        QDir::setCurrent(Q(pages->path()));
    }
    void cleanup() {
        QDir::setCurrent(previousCurrent);
        pages.reset();
        home.reset();
        fixture.reset();
    }

    void opensWithPreviewAndFirstTime() {
        SaveSetting("Settings", "Sample File", Q(page()));
        ws.SampleFile = "/elsewhere/other.htm";
        FrmApplyChanges dialog(ws);
        QCOMPARE(dialog.windowTitle(), QString("Apply changes"));
        QCOMPARE(dialog.Frame3->title(), QString("Web Page"));
        QCOMPARE(dialog.Frame1->title(), QString("Options"));
        QCOMPARE(dialog.Frame2->title(), QString("Script Repeat"));
        QCOMPARE(dialog.Command3->text(), QString("Browse"));
        QCOMPARE(dialog.Command2->text(), QString("Do it"));
        QCOMPARE(dialog.Command1->text(), QString("Back"));
        QCOMPARE(
            dialog.Option1->text(),
            QString("Copy modified page to the original page's folder with different file name"));
        QCOMPARE(dialog.Option2->text(), QString("Overwrite original page"));
        QCOMPARE(dialog.Option3->text(), QString("Preview only"));
        QVERIFY(dialog.Option3->isChecked());
        QVERIFY(!dialog.Option1->isChecked() && !dialog.Option2->isChecked());
        QCOMPARE(dialog.HScrollScriptRepeat->minimum(), 0);
        QCOMPARE(dialog.HScrollScriptRepeat->maximum(), 25);
        QCOMPARE(dialog.HScrollScriptRepeat->value(), 0);
        QCOMPARE(dialog.LblScriptRepeat->text(), QString("First time"));
        // The page comes from the setting "Sample File".
        QCOMPARE(ws.SampleFile, page().string());
        QCOMPARE(dialog.LblHTMLFile->text(), Q(page()));
        QCOMPARE(dialog.Timer1->interval(), 500);
        QVERIFY(dialog.Timer1->isActive());
    }

    void everyControlIsReachableAndNamed() {
        FrmApplyChanges dialog(ws);
        QCOMPARE(test::UnreachableControls(&dialog), QStringList());
        for (const char* name :
             {"Frame3", "LblHTMLFile", "Command3", "Frame1", "Option1", "Option2", "Option3",
              "Frame2", "HScrollScriptRepeat", "LblScriptRepeat", "Command2", "Command1", "Timer1"})
            QVERIFY2(dialog.findChild<QObject*>(name) != nullptr, name);
    }

    void repeatTexts_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "First time";
        QTest::newRow("1") << 1 << "Just once before";
        QTest::newRow("2") << 2 << "I have used it twice";
        QTest::newRow("3") << 3 << "Thrice (I like it)";
        QTest::newRow("4") << 4 << "Four times (I like it too much)";
        QTest::newRow("5") << 5 << "Five times (I am addicted to it)";
        QTest::newRow("6") << 6 << " 6 times, -overkill- ";
        QTest::newRow("7") << 7 << " 7 times, -overkill- ";
        QTest::newRow("25") << 25 << " 25 times, -overkill- ";
    }
    void repeatTexts() {
        QFETCH(int, value);
        QFETCH(QString, text);
        FrmApplyChanges dialog(ws);
        dialog.HScrollScriptRepeat->setValue(value == 0 ? 1 : 0);
        dialog.HScrollScriptRepeat->setValue(value);
        QCOMPARE(dialog.LblScriptRepeat->text(), text);
    }

    void repeatFollowsTheKeyboard() {
        FrmApplyChanges dialog(ws);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.HScrollScriptRepeat->setValue(5);
        dialog.HScrollScriptRepeat->setFocus();
        QTest::keyClick(dialog.HScrollScriptRepeat, Qt::Key_Right);
        QCOMPARE(dialog.HScrollScriptRepeat->value(), 6);
        QCOMPARE(dialog.LblScriptRepeat->text(), QString(" 6 times, -overkill- "));
        QTest::keyClick(dialog.HScrollScriptRepeat, Qt::Key_Left);
        QCOMPARE(dialog.HScrollScriptRepeat->value(), 5);
        QTest::keyClick(dialog.HScrollScriptRepeat, Qt::Key_End);
        QCOMPARE(dialog.HScrollScriptRepeat->value(), 25);
    }

    void timerShowsAPageChosenElsewhere() {
        FrmApplyChanges dialog(ws);
        dialog.show();
        ws.SampleFile = (pages->path() / "other.htm").string();
        QCOMPARE(dialog.LblHTMLFile->text(), Q(page()));
        QTRY_COMPARE_WITH_TIMEOUT(dialog.LblHTMLFile->text(), Q(pages->path() / "other.htm"), 2000);
    }

    void backRemembersThePageAndCloses() {
        FrmApplyChanges dialog(ws);
        dialog.show();
        ws.SampleFile = (pages->path() / "other.htm").string();
        QVERIFY(GetSetting("Settings", "Sample File").isEmpty());
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(GetSetting("Settings", "Sample File"), Q(pages->path() / "other.htm"));
    }

    void escapeLeavesAsBackDoes() {
        FrmApplyChanges dialog(ws);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        ws.SampleFile = (pages->path() / "other.htm").string();
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(GetSetting("Settings", "Sample File"), Q(pages->path() / "other.htm"));
    }

    void aBrowserThatCannotStartIsReported() {
        SetCheckedBrowserLauncher([](const QString&) { return false; });
        FrmApplyChanges dialog(ws);
        dialog.show();
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        const QString result = QDir::toNativeSeparators(Q(home->path() / "output" / "result.htm"));
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY2(TestMessages()[0].contains("\"" + result + "\""), qPrintable(TestMessages()[0]));
        QVERIFY(TestMessages()[0].contains("browser"));
        QVERIFY(dialog.isVisible());
    }

    void aLongPagePathIsShortenedInTheMiddle() {
        fs::path deep = pages->path();
        for (char c : std::string("abcdefgh"))
            deep /= std::string(40, c);
        deep /= "the-page.htm";
        test::WriteBytes(deep, Page);
        ws.SampleFile = deep.string();
        FrmApplyChanges dialog(ws);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QString full = Q(deep);
        QVERIFY(dialog.width() < dialog.LblHTMLFile->fontMetrics().horizontalAdvance(full) / 2);
        QCOMPARE(dialog.LblHTMLFile->text(), full);
        QCOMPARE(dialog.LblHTMLFile->toolTip(), full);
        const QString shown = dialog.LblHTMLFile->ShownText();
        QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
        QVERIFY2(shown.startsWith(full.left(4)), qPrintable(shown));
        QVERIFY2(shown.endsWith("the-page.htm"), qPrintable(shown));
    }

    void browseChoosesThePage() {
        test::WriteBytes(pages->path() / "second.html", Page);
        FrmApplyChanges dialog(ws);
        dialog.show();
        bool ownedBrowser = false;
        test::WhenModal([&](QWidget* modal) {
            auto* browser = qobject_cast<FrmBrowseFile*>(modal);
            ownedBrowser = browser && browser->parentWidget() == &dialog;
            if (!browser) {
                modal->close();
                return;
            }
            browser->File1->findItems("second.html", Qt::MatchExactly).first()->setSelected(true);
            browser->Command1->click();
        });
        QTest::mouseClick(dialog.Command3, Qt::LeftButton);
        QVERIFY(ownedBrowser);
        QCOMPARE(ws.SampleFile, (pages->path() / "second.html").string());
        QCOMPARE(dialog.LblHTMLFile->text(), Q(pages->path() / "second.html"));
        QVERIFY(dialog.isVisible());
    }

    void doIt_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<int>("answer"); // to the overwrite question; -1: none is asked
        QTest::newRow("preview") << "preview" << 0 << -1;
        QTest::newRow("copy") << "copy" << 0 << -1;
        QTest::newRow("copy, third time") << "copy" << 2 << -1;
        QTest::newRow("overwrite, Yes") << "overwrite" << 0 << int(MessageAnswer::Yes);
        QTest::newRow("overwrite, No") << "overwrite" << 1 << int(MessageAnswer::No);
    }
    void doIt() {
        QFETCH(QString, option);
        QFETCH(int, repeat);
        QFETCH(int, answer);
        FrmApplyChanges dialog(ws);
        dialog.show();
        test::WriteBytes(home->path() / "output" / "stale.txt", "from an earlier run");
        QRadioButton* button = option == "copy"        ? dialog.Option1
                               : option == "overwrite" ? dialog.Option2
                                                       : dialog.Option3;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        QVERIFY(button->isChecked());
        dialog.HScrollScriptRepeat->setValue(repeat);
        if (answer >= 0)
            PushTestAnswer(MessageAnswer(answer));
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);

        const fs::path output = home->path() / "output";
        const std::string external = std::to_string(repeat) + "fx.js";
        const std::string result = test::ReadAll(output / "result.htm");
        // The result page: one first line naming the effect, the code before </HEAD.
        QVERIFY(result.rfind("<!--2erghdf45yrfx-->\r\n<HTML><HEAD><TITLE>Mine</TITLE>" + HeadCode,
                             0) == 0);
        QCOMPARE(FileNames(output), (std::vector<std::string>{external, "result.htm"}));
        QVERIFY(test::ReadAll(output / external).rfind(ExternalCode + "\r\n", 0) == 0);
        QCOMPARE(ws.ScriptRepeat, int16_t(repeat));

        const fs::path copy = pages->path() / "index_1.htm";
        if (option == "preview") {
            QCOMPARE(test::ReadAll(page()), Page);
            QCOMPARE(FileNames(pages->path()), std::vector<std::string>{"index.htm"});
            QCOMPARE(fixture->openedPages(), QStringList{Q(output / "result.htm")});
            QVERIFY(TestMessages().isEmpty());
        } else if (option == "copy") {
            QCOMPARE(test::ReadAll(page()), Page);
            QCOMPARE(test::ReadAll(copy), result);
            QCOMPARE(test::ReadAll(pages->path() / external), test::ReadAll(output / external));
            QCOMPARE(fixture->openedPages(), QStringList{Q(copy)});
            QVERIFY(TestMessages().isEmpty());
        } else {
            // The question names the page it overwrites.
            QCOMPARE(TestMessages(),
                     QStringList{"Confirm Action|Are you sure want to overwrite the original file "
                                 "with modified file?\n\n" +
                                 QDir::toNativeSeparators(Q(page()))});
            if (answer == int(MessageAnswer::Yes)) {
                QCOMPARE(test::ReadAll(page()), result);
                QCOMPARE(test::ReadAll(pages->path() / external), test::ReadAll(output / external));
                QCOMPARE(fixture->openedPages(), QStringList{Q(page())});
            } else {
                QCOMPARE(test::ReadAll(page()), Page);
                QCOMPARE(FileNames(pages->path()), std::vector<std::string>{"index.htm"});
                QVERIFY(fixture->openedPages().isEmpty());
            }
        }
        QVERIFY(dialog.isVisible()); // the user can apply again
    }

    void doItAgainReplacesTheCopy() {
        FrmApplyChanges dialog(ws);
        dialog.show();
        dialog.Option1->setChecked(true);
        dialog.Command2->click();
        const std::string first = test::ReadAll(pages->path() / "index_1.htm");
        dialog.Command2->click();
        QCOMPARE(test::ReadAll(pages->path() / "index_1.htm"), first);
        QCOMPARE(FileNames(pages->path()),
                 (std::vector<std::string>{"0fx.js", "index.htm", "index_1.htm"}));
        QCOMPARE(fixture->openedPages().size(), 2);
    }

    void errorIsShownAndTheDialogStaysUsable() {
        const std::string headless = "<HTML><BODY>No head here</BODY></HTML>\r\n";
        test::WriteBytes(page(), headless);
        FrmApplyChanges dialog(ws);
        dialog.show();
        dialog.Option2->setChecked(true);
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        QCOMPARE(TestMessages().size(), 1);
        const QString message = TestMessages().first();
        QVERIFY2(message.startsWith("Pelto|"), qPrintable(message));
        QVERIFY2(message.contains("index.htm"), qPrintable(message));
        QVERIFY2(message.contains("</HEAD", Qt::CaseInsensitive), qPrintable(message));
        QCOMPARE(test::ReadAll(page()), headless);
        QVERIFY(fixture->openedPages().isEmpty());
        QVERIFY(dialog.isVisible());

        // Mended page, same dialog: the next press works.
        ClearTestMessages();
        test::WriteBytes(page(), Page);
        dialog.Option3->setChecked(true);
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        QVERIFY(TestMessages().isEmpty());
        QCOMPARE(fixture->openedPages().size(), 1);
    }

    // Every shipped effect, with the values of its definition file, applied to the
    // shipped sample page as a copy beside it.
    void shippedEffectsApplyToTheSamplePage() {
        test::TempFolder copy;
        test::CopyShippedProgramFolder(copy.path());
        Workspace shipped;
        shipped.ProgramFolder = copy.path();
        ResetParameterState(shipped);
        QVERIFY(LoadHandlerTexts(shipped));
        LibraryLoadReport report = LoadScriptLibrary(shipped);
        QVERIFY(report.fatal);
        QVERIFY(report.skipped.empty());
        QVERIFY(shipped.Library.size() > 1);
        const fs::path sample = pages->path() / "sample.htm";
        fs::copy_file(copy.path() / "sample.htm", sample);
        for (size_t i = 1; i < shipped.Library.size(); ++i) {
            const std::string id = shipped.Library[i].ScriptId;
            shipped.CurrentScriptIndex = static_cast<int16_t>(i);
            shipped.CurrentParameterFile = shipped.Library[i].ParameterFile;
            shipped.SampleFile = sample.string();
            QVERIFY2(
                LoadScriptDefinition(shipped, shipped.DataFolder() / shipped.CurrentParameterFile),
                id.c_str());
            FrmApplyChanges dialog(shipped);
            dialog.Option1->setChecked(true);
            dialog.Command2->click();
            QVERIFY2(TestMessages().isEmpty(), qPrintable(TestMessages().join("; ")));
            const std::string page = test::ReadAll(pages->path() / "sample_1.htm");
            QVERIFY2(page.rfind("<!--2erghdf45yr" + id + "-->\r\n", 0) == 0, id.c_str());
            QCOMPARE(fixture->openedPages().size(), qsizetype(i));
        }
    }

    void missingPageIsReported() {
        ws.SampleFile = (pages->path() / "gone.htm").string();
        FrmApplyChanges dialog(ws);
        dialog.show();
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        QCOMPARE(TestMessages().size(), 1);
        QVERIFY2(TestMessages().first().contains("gone.htm"), qPrintable(TestMessages().first()));
        QVERIFY(fixture->openedPages().isEmpty());
        QVERIFY(dialog.isVisible());
    }

    void dialogComesBackWhereItWasLeft() {
        std::unique_ptr<FrmApplyChanges> dialog;
        const QString problem = test::GeometryRoundTripProblem(
            [&]() -> QWidget* {
                dialog = std::make_unique<FrmApplyChanges>(ws);
                dialog->show();
                return dialog.get();
            },
            [&](QWidget*) { QTest::mouseClick(dialog->Command1, Qt::LeftButton); });
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_MAIN(ApplyDialogTest)
#include "apply_dialog_test.moc"
