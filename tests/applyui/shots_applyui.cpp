// Renders the apply dialog, the file browser, the options dialog and the about box to
// PNG files in $PELTO_SCREENSHOTS (default: "screenshots" beside this program), so a
// reviewer can look at them.
#include "attach/ui/frm_apply_changes.h"
#include "attach/ui/frm_batch_apply.h"
#include "attach/ui/frm_undo_history.h"
#include "attach/ui/undo_actions.h"
#include "library/definition_reader.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "shell/frm_about.h"
#include "shell/frm_options.h"
#include "ui_common/frm_browse_file.h"
#include "undo/change_record.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTest>

using namespace pelto;
using namespace pelto::ui;

namespace {

QString ShotsFolder() {
    const QString env = qEnvironmentVariable("PELTO_SCREENSHOTS");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() + "/screenshots" : env;
}

// At least a handful of colours: a blank or single-colour image means nothing was drawn.
int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace

class ShotsApplyUi : public QObject {
    Q_OBJECT

    std::unique_ptr<test::WindowFixture> fixture;
    std::unique_ptr<test::TempFolder> pages;
    Workspace ws;
    QString previousCurrent;

    void Shoot(QWidget& window, const QString& name) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(50);
        QDir().mkpath(ShotsFolder());
        const QString file = ShotsFolder() + "/" + name + ".png";
        QFile::remove(file);
        const QPixmap shot = window.grab();
        QVERIFY(shot.save(file));
        const QImage saved(file);
        QVERIFY2(!saved.isNull(), qPrintable(file));
        QVERIFY2(DistinctColours(saved) > 4, qPrintable(file + " is blank"));
        window.close();
    }

private slots:
    void initTestCase() {
        fixture = std::make_unique<test::WindowFixture>();
        pages = std::make_unique<test::TempFolder>();
        for (const char* name : {"index.htm", "contact.html", "products.asp", "news.htm"})
            test::WriteBytes(pages->path() / name, "<HTML><BODY></BODY></HTML>\r\n");
        test::WriteBytes(pages->path() / "archive" / "old.htm", "<HTML></HTML>\r\n");
        test::WriteBytes(pages->path() / "images" / "logo.gif", "GIF89a");
        previousCurrent = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(pages->path().string()));
        ws.ProgramFolder = pages->path();
        ResetParameterState(ws);
        ws.SampleFile = (pages->path() / "index.htm").string();
    }
    void cleanupTestCase() {
        QDir::setCurrent(previousCurrent);
        pages.reset();
        fixture.reset();
    }

    void applyDialog() {
        FrmApplyChanges dialog(ws);
        Shoot(dialog, "applyui_FrmApplyChanges");
    }
    void applyDialogOverkill() {
        FrmApplyChanges dialog(ws);
        dialog.HScrollScriptRepeat->setValue(17);
        Shoot(dialog, "applyui_FrmApplyChanges_repeat17");
    }
    void fileBrowser() {
        FrmBrowseFile browser(ws);
        browser.File1->item(1)->setSelected(true);
        Shoot(browser, "applyui_FrmBrowseFile");
    }
    void batchWindow() {
        FrmBatchApply batch(ws, OutputOption::Copy, 0);
        batch.AddFolder(QString::fromStdString(pages->path().string()));
        Shoot(batch, "applyui_FrmBatchApply");
    }
    void changeHistory() {
        FrmUndoHistory history(ws);
        Shoot(history, "applyui_FrmUndoHistory");
    }
    // The question before undoing a batch of 999 pages: the count and the first pages,
    // the whole list behind "Show Details...", and a box that fits the screen.
    void batchUndoQuestion() {
        ChangeInfo change;
        change.id = "20260101-120000";
        change.time = "2026-01-01 12:00:00";
        change.effectName = "Snow";
        change.option = "copy";
        for (int k = 1; k <= 999; ++k)
            change.pages.push_back(
                (pages->path() / "site" / ("page" + std::to_string(k) + ".htm")).string());
        const MessageText question = UndoQuestion(change);
        QMessageBox box;
        PrepareMessageBox(box, question.text, MessageIcon::Exclamation, MessageButtons::YesNo,
                          "Undo last change", question.details);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QRect screen = box.screen()->availableGeometry();
        QVERIFY2(box.frameGeometry().height() <= screen.height(),
                 qPrintable(QString("%1 high").arg(box.frameGeometry().height())));
        QVERIFY(box.button(QMessageBox::Yes)->isVisible());
        QVERIFY(box.button(QMessageBox::No)->isVisible());
        box.close();
        Shoot(box, "applyui_undo_question_999");
    }
    void options() {
        FrmOptions options(ws);
        Shoot(options, "applyui_FrmOptions");
    }
    void about() {
        frmAbout about;
        Shoot(about, "applyui_frmAbout");
    }
};

QTEST_MAIN(ShotsApplyUi)
#include "shots_applyui.moc"
