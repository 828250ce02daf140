#include "attach/ui/frm_undo_history.h"

#include "attach/recorded_run.h"
#include "attach/ui/undo_actions.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"
#include "ui_common/user_choice.h"
#include "undo/undo_store.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelto::ui {

FrmUndoHistory::FrmUndoHistory(const Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FrmUndoHistory");
    setWindowTitle("Change history");
    auto* label = new QLabel("The last changes Pelto made to your pages, newest first:", this);
    LstChanges = new QListWidget(this);
    LstChanges->setObjectName("LstChanges");
    LstChanges->setAccessibleName("Changes");
    label->setBuddy(LstChanges);
    CmdUndo = new QPushButton("Undo selected change", this);
    CmdUndo->setObjectName("CmdUndo");
    CmdUndo->setAccessibleName("Undo selected change");
    CmdUndo->setDefault(true);
    CmdClose = new QPushButton("Close", this);
    CmdClose->setObjectName("CmdClose");
    CmdClose->setAccessibleName("Close");
    CmdClose->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdUndo);
    buttons->addWidget(CmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(LstChanges, 1);
    layout->addLayout(buttons);
    resize(640, 360);
    connect(CmdUndo, &QPushButton::clicked, this, &FrmUndoHistory::CmdUndo_Click);
    connect(CmdClose, &QPushButton::clicked, this, &QDialog::reject);
    // A double click or Enter on a change undoes it; the key ends there, so it does not
    // also press the default button (which would ask about the next change).
    OnRowActivated(LstChanges, [this](int) { CmdUndo_Click(); });
    ClickFocusedButtonOnEnter(this);
    Fill();
}

void FrmUndoHistory::Fill() {
    LstChanges->clear();
    ids_.clear();
    Result<std::vector<ChangeInfo>> history = UndoStore(ChangeRecordsFolder(ws_)).History(kShown);
    if (!history) {
        LstChanges->addItem(ErrorToQString(history.error()));
        CmdUndo->setEnabled(false);
        return;
    }
    for (const ChangeInfo& c : *history) {
        QString pages = c.pages.empty() ? QString() : PathToQString(c.pages.front());
        if (c.pages.size() > 1)
            pages += QString(" and %1 more").arg(c.pages.size() - 1);
        if (!c.damaged.empty())
            LstChanges->addItem(QString::fromStdString(c.id) + "   damaged record: " +
                                ErrorToQString(MakeError("", 0, c.damaged)));
        else
            LstChanges->addItem(QString("%1   %2 (%3)   %4")
                                    .arg(QString::fromStdString(c.time), FromBytes(c.effectName),
                                         QString::fromStdString(c.option), pages));
        ids_.push_back(c.id);
    }
    if (ids_.empty()) {
        auto* none = new QListWidgetItem("No change has been recorded yet.", LstChanges);
        none->setFlags(Qt::NoItemFlags);
    } else {
        LstChanges->setCurrentRow(0);
    }
    CmdUndo->setEnabled(!ids_.empty());
}

void FrmUndoHistory::CmdUndo_Click() {
    const int row = LstChanges->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= ids_.size())
        return;
    if (UndoChangeAsking(this, ws_, ids_[row]))
        Fill();
}

} // namespace pelto::ui
