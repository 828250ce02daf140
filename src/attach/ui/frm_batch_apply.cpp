#include "attach/ui/frm_batch_apply.h"

#include "attach/applied_effects.h"
#include "attach/batch_apply.h"
#include "attach/recorded_run.h"
#include "attach/ui/frm_apply_changes.h"
#include "attach/ui/undo_actions.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"
#include "ui_common/frm_browse_file.h"
#include "ui_common/user_choice.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>
#include <memory>
#include <thread>

namespace pelto::ui {

namespace {

QString OptionText(OutputOption option) {
    switch (option) {
    case OutputOption::Copy:
        return "copy each page beside it with a different file name";
    case OutputOption::Overwrite:
        return "overwrite each page";
    case OutputOption::Preview:
        break;
    }
    return "preview only (the results stay in the output folder)";
}

QPushButton* Button(QDialog* owner, const char* name, const QString& text) {
    auto* b = new QPushButton(text, owner);
    b->setObjectName(name);
    b->setAccessibleName(QString(text).remove("..."));
    b->setAutoDefault(false);
    return b;
}

// One page's result: what happened and the page, and on a second line why, without
// the page's path again.
QString ResultLine(const PageResult& r) {
    const QString page = PathToQString(r.page);
    if (r.state == PageState::Done)
        return "done: " + page + (r.result != r.page ? " -> " + PathToQString(r.result) : "");
    QString why = ErrorToQString(MakeError("", 0, r.message));
    if (why.startsWith(page)) {
        why = why.mid(page.size());
        while (!why.isEmpty() && (why.front() == ':' || why.front() == ' '))
            why.remove(0, 1);
    }
    return (r.state == PageState::Failed ? "failed: " : "not applied: ") + page +
           (why.isEmpty() ? QString() : "\n    " + why);
}

// A line of the list that wraps also inside a long path (after each "/"); its tool tip
// holds it as written.
void AddResultLine(QListWidget* list, const QString& line) {
    auto* item = new QListWidgetItem(QString(line).replace('/', QStringLiteral("/\u200B")), list);
    item->setToolTip(line);
    item->setData(Qt::UserRole, line);
}

} // namespace

FrmBatchApply::FrmBatchApply(Workspace& ws, OutputOption option, int16_t repeat, QWidget* parent)
    : QDialog(parent), ws_(ws), option_(option), repeat_(repeat) {
    setObjectName("FrmBatchApply");
    setWindowTitle("Apply to several pages");
    LblTask = new QLabel(this);
    LblTask->setObjectName("LblTask");
    LblTask->setWordWrap(true);
    OptApply = new QRadioButton("Apply", this);
    OptApply->setObjectName("OptApply");
    OptRemove = new QRadioButton("Remove it", this);
    OptRemove->setObjectName("OptRemove");
    OptReplace = new QRadioButton("Replace it with the current values", this);
    OptReplace->setObjectName("OptReplace");
    auto* tasks = new QHBoxLayout;
    for (QRadioButton* task : {OptApply, OptRemove, OptReplace}) {
        task->setAccessibleName(task->text());
        tasks->addWidget(task);
        connect(task, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ShowTask();
        });
    }
    tasks->addStretch(1);
    LstPages = new QListWidget(this);
    LstPages->setObjectName("LstPages");
    LstPages->setAccessibleName("Pages");
    // Long lines wrap instead of needing sideways scrolling.
    LstPages->setWordWrap(true);
    LstPages->setTextElideMode(Qt::ElideNone);
    LstPages->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LstPages->setResizeMode(QListView::Adjust);
    CmdAddPages = Button(this, "CmdAddPages", "Add pages...");
    CmdClear = Button(this, "CmdClear", "Clear list");
    PrgPages = new QProgressBar(this);
    PrgPages->setObjectName("PrgPages");
    PrgPages->setAccessibleName("Progress");
    PrgPages->setValue(0);
    LblCurrentPage = new QLabel(this);
    LblCurrentPage->setObjectName("LblCurrentPage");
    CmdStart = Button(this, "CmdStart", "Apply to all");
    CmdStart->setDefault(true);
    CmdCancel = Button(this, "CmdCancel", "Cancel");
    CmdCancel->setEnabled(false);
    CmdUndo = Button(this, "CmdUndo", "Undo last change");
    CmdUndo->setEnabled(false);
    CmdClose = Button(this, "CmdClose", "Close");

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(CmdAddPages);
    listButtons->addWidget(CmdClear);
    listButtons->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdUndo);
    buttons->addStretch(1);
    buttons->addWidget(CmdStart);
    buttons->addWidget(CmdCancel);
    buttons->addWidget(CmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tasks);
    layout->addWidget(LblTask);
    layout->addWidget(LstPages, 1);
    layout->addLayout(listButtons);
    layout->addWidget(PrgPages);
    layout->addWidget(LblCurrentPage);
    layout->addLayout(buttons);
    resize(680, 420);

    connect(CmdAddPages, &QPushButton::clicked, this, &FrmBatchApply::CmdAddPages_Click);
    connect(CmdClear, &QPushButton::clicked, this, &FrmBatchApply::CmdClear_Click);
    connect(CmdStart, &QPushButton::clicked, this, &FrmBatchApply::CmdStart_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmBatchApply::CmdCancel_Click);
    connect(CmdUndo, &QPushButton::clicked, this, &FrmBatchApply::CmdUndo_Click);
    connect(CmdClose, &QPushButton::clicked, this, &QDialog::reject);
    ClickFocusedButtonOnEnter(this);
    CmdStart->setEnabled(false);
    OptApply->setChecked(true); // shows the task
}

void FrmBatchApply::ShowTask() {
    const QString name = FromBytes(ws_.CurrentScript().Name);
    if (OptRemove->isChecked()) {
        LblTask->setText(QString("Take \"%1\" out of every page of the list (its newest "
                                 "application), keeping everything else: overwrite each page.")
                             .arg(name));
        CmdStart->setText("Remove from all");
    } else if (OptReplace->isChecked()) {
        LblTask->setText(QString("Replace the newest application of \"%1\" on every page of "
                                 "the list with the current values, at the same place: "
                                 "overwrite each page.")
                             .arg(name));
        CmdStart->setText("Replace on all");
    } else {
        LblTask->setText(
            QString("Apply \"%1\" to every page of the list: %2.").arg(name, OptionText(option_)));
        CmdStart->setText("Apply to all");
    }
    CmdStart->setAccessibleName(CmdStart->text());
}

void FrmBatchApply::AddPages(const QStringList& pages) {
    for (const QString& page : pages)
        if (!pages_.contains(page))
            pages_ << page;
    ShowPages();
}

void FrmBatchApply::AddFolder(const QString& folder, bool includeHidden) {
    Result<std::vector<std::string>> found = FindPages(
        PathFromQString(folder), {"*.htm", "*.html"}, {ws_.OutputFolder(), ws_.UserDataFolder()},
        option_ == OutputOption::Copy, includeHidden);
    if (!found) {
        ShowMessage(this, ErrorToQString(found.error()), MessageIcon::Critical);
        return;
    }
    QStringList pages;
    for (const std::string& page : *found)
        pages << PathToQString(page);
    if (pages.isEmpty())
        ShowMessage(this, "The folder " + folder + " holds no page (*.htm, *.html).",
                    MessageIcon::Information);
    AddPages(pages);
}

void FrmBatchApply::ShowPages() {
    LstPages->clear();
    LstPages->addItems(pages_);
    CmdStart->setEnabled(!pages_.isEmpty() && !running_);
    PrgPages->setValue(0);
}

void FrmBatchApply::CmdAddPages_Click() {
    FrmBrowseFile browser(ws_, this);
    browser.SetManyPages();
    if (browser.exec() != QDialog::Accepted)
        return;
    if (!browser.SelectedFolder().isEmpty())
        AddFolder(browser.SelectedFolder(), browser.ChkShowHidden->isChecked());
    else
        AddPages(browser.SelectedPages());
}

void FrmBatchApply::CmdClear_Click() {
    pages_.clear();
    ShowPages();
}

void FrmBatchApply::CmdStart_Click() {
    if (pages_.isEmpty() || running_)
        return;
    const bool remove = OptRemove->isChecked();
    const bool replace = OptReplace->isChecked();
    BatchRequest request;
    request.option = remove || replace ? OutputOption::Overwrite : option_;
    request.repeat = repeat_;
    if (replace) {
        // Each page's newest application of the effect is taken out, and the effect is
        // applied again there, with that application's repeat count.
        const std::filesystem::path records = AppliedRecordsFolder(ws_);
        const std::string scriptId = ws_.CurrentScript().ScriptId;
        request.startFrom = [records, scriptId](Workspace& w, const std::string& page,
                                                std::string_view bytes) -> Result<std::string> {
            Result<TakenOut> out = TakeOutApplication(records, page, bytes, scriptId, 1);
            if (!out)
                return out.error();
            w.ScriptRepeat = out->record.repeat;
            return std::move(out->text);
        };
    }
    if (request.option == OutputOption::Overwrite) {
        request.overwriteConfirmed =
            ShowMessage(this,
                        pages_.size() == 1
                            ? FrmApplyChanges::OverwriteQuestion(pages_.front())
                            : FrmApplyChanges::OverwriteQuestion(static_cast<int>(pages_.size())),
                        MessageIcon::Exclamation, MessageButtons::YesNo, "Confirm Action",
                        pages_.size() == 1 ? QString() : pages_.join('\n')) == MessageAnswer::Yes;
        if (!request.overwriteConfirmed)
            return;
    }
    request.jobs = std::max(1u, std::thread::hardware_concurrency());
    cancel_ = false;
    request.cancel = &cancel_;
    // Progress comes from the worker threads: it is shown through the event queue.
    QPointer<FrmBatchApply> self(this);
    request.progress = [self](const BatchProgress& p) {
        const QString page = PathToQString(p.page);
        const int finished = static_cast<int>(p.finished);
        const int total = static_cast<int>(p.total);
        const bool starting = p.starting;
        QMetaObject::invokeMethod(
            self.data(),
            [self, page, finished, total, starting] {
                if (!self)
                    return;
                self->PrgPages->setMaximum(total);
                self->PrgPages->setValue(finished);
                if (starting)
                    self->LblCurrentPage->setText("Working on " + page);
            },
            Qt::QueuedConnection);
    };
    std::vector<std::string> pages;
    for (const QString& page : pages_)
        pages.push_back(PathFromQString(page));

    running_ = true;
    CmdStart->setEnabled(false);
    CmdAddPages->setEnabled(false);
    CmdClear->setEnabled(false);
    CmdClose->setEnabled(false);
    CmdUndo->setEnabled(false);
    CmdCancel->setEnabled(true);
    for (QRadioButton* task : {OptApply, OptRemove, OptReplace})
        task->setEnabled(false);
    PrgPages->setMaximum(static_cast<int>(pages.size()));
    PrgPages->setValue(0);

    auto outcome = std::make_shared<std::optional<Result<BatchOutcome>>>();
    QEventLoop wait;
    connect(this, &FrmBatchApply::RunFinished, &wait, &QEventLoop::quit);
    std::thread worker([this, pages, request, outcome, self, remove] {
        try {
            if (remove) {
                RemoveRequest removal;
                removal.scriptId = ws_.CurrentScript().ScriptId;
                removal.jobs = request.jobs;
                removal.progress = request.progress;
                removal.cancel = request.cancel;
                outcome->emplace(RemoveFromPages(ws_, pages, removal));
            } else {
                outcome->emplace(ApplyToPages(ws_, pages, request));
            }
        } catch (const std::exception& e) {
            outcome->emplace(MakeError("", 0, e.what()));
        }
        QMetaObject::invokeMethod(
            self.data(), [self] { emit self->RunFinished(); }, Qt::QueuedConnection);
    });
    wait.exec();
    worker.join();
    running_ = false;
    CmdCancel->setEnabled(false);
    CmdAddPages->setEnabled(true);
    CmdClear->setEnabled(true);
    CmdClose->setEnabled(true);
    CmdStart->setEnabled(true);
    for (QRadioButton* task : {OptApply, OptRemove, OptReplace})
        task->setEnabled(true);

    const Result<BatchOutcome>& result = **outcome;
    if (!result) {
        LblCurrentPage->setText("Nothing was applied.");
        ShowMessage(this, ErrorToQString(result.error()), MessageIcon::Critical);
        return;
    }
    // Failures first, each on its own lines (the page, then why), wrapped to the list's
    // width; then the pages not applied and the pages done.
    LstPages->clear();
    for (PageState state : {PageState::Failed, PageState::NotRun, PageState::Done})
        for (const PageResult& r : result->pages)
            if (r.state == state)
                AddResultLine(LstPages, ResultLine(r));
    // The bar shows the work done: a cancelled batch stops short of the end.
    PrgPages->setValue(static_cast<int>(result->done + result->failed));
    LblCurrentPage->setText(
        QString("%1 pages: %2 done, %3 failed%4")
            .arg(result->pages.size())
            .arg(result->done)
            .arg(result->failed)
            .arg(result->notRun > 0 ? QString(", %1 not applied (cancelled)").arg(result->notRun)
                                    : QString()));
    CmdUndo->setEnabled(!result->changeId.empty());
}

void FrmBatchApply::CmdCancel_Click() {
    cancel_ = true;
    LblCurrentPage->setText("Cancelling after the pages being worked on...");
}

void FrmBatchApply::reject() {
    if (running_) {
        CmdCancel_Click();
        return;
    }
    QDialog::reject();
}

void FrmBatchApply::CmdUndo_Click() {
    if (!UndoChangeAsking(this, ws_, ""))
        return;
    CmdUndo->setEnabled(false);
    // The results no longer hold: the list shows the pages again, as before the run.
    ShowPages();
    LblCurrentPage->setText("The change is undone: the pages are as they were before.");
}

} // namespace pelto::ui
