#include "ui_common/frm_browse_file.h"

#include "common/files.h"
#include "library/page_links.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "ui_common/user_choice.h"
#include "ui_common/window_geometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace pelto::ui {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int FilledRole = Qt::UserRole + 1;

QString CleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// True when folder is root itself or lies below it.
bool IsWithin(const QString& folder, const QString& root) {
    if (folder == root)
        return true;
    const QString prefix = root.endsWith('/') ? root : root + '/';
    return folder.startsWith(prefix);
}

} // namespace

FrmBrowseFile::FrmBrowseFile(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FrmBrowseFile");
    setWindowTitle("Select File");

    File1 = new QListWidget(this);
    File1->setObjectName("File1");
    File1->setAccessibleName("Files");
    File1->setSelectionMode(QAbstractItemView::SingleSelection);

    Dir1 = new QTreeWidget(this);
    Dir1->setObjectName("Dir1");
    Dir1->setAccessibleName("Folders");
    Dir1->setHeaderHidden(true);
    Dir1->setColumnCount(1);
    Dir1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Dir1->header()->setStretchLastSection(false);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName("Drive1");
    Drive1->setAccessibleName("Drives");

    Command1 = new QPushButton("Select", this);
    Command1->setObjectName("Command1");
    Command1->setAccessibleName("Select");
    Command1->setDefault(true);
    Command2 = new QPushButton("Cancel", this);
    Command2->setObjectName("Command2");
    Command2->setAccessibleName("Cancel");
    Command2->setAutoDefault(false);
    ChkShowHidden = new QCheckBox("Show hidden files and folders", this);
    ChkShowHidden->setObjectName("ChkShowHidden");
    ChkShowHidden->setAccessibleName(ChkShowHidden->text());

    auto* grid = new QGridLayout(this);
    grid->addWidget(File1, 0, 0, 2, 1);
    grid->addWidget(Dir1, 0, 1);
    grid->addWidget(Drive1, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ChkShowHidden);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    resize(520, 360);
    KeepGeometry(this, "FileBrowserGeometry");

    setTabOrder(File1, Dir1);
    setTabOrder(Dir1, Drive1);
    setTabOrder(Drive1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, ChkShowHidden);

    connect(Drive1, &QComboBox::currentIndexChanged, this, [this](int) { Drive1_Change(); });
    connect(Dir1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem*, QTreeWidgetItem*) { Dir1_Change(); });
    connect(Dir1, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { FillFolderItem(item); });
    connect(File1, &QListWidget::itemClicked, this, &FrmBrowseFile::File1_Click);
    // A double click or Enter on a file takes it (Enter the file the focus is on).
    OnRowActivated(File1, [this](int row) { File1_DblClick(File1->item(row)); });
    connect(Command1, &QPushButton::clicked, this, &FrmBrowseFile::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmBrowseFile::Command2_Click);
    connect(ChkShowHidden, &QCheckBox::toggled, this, &FrmBrowseFile::ChkShowHidden_Click);

    ClickFocusedButtonOnEnter(this);
    // Every opening starts in the program's current folder, not in the page's folder.
    const QString start = CleanAbsolute(QDir::currentPath());
    FillDrives(start);
    SetDir1Path(start);
}

void FrmBrowseFile::FillDrives(const QString& startFolder) {
    QStringList places;
    for (const QFileInfo& drive : QDir::drives())
        places << CleanAbsolute(drive.absoluteFilePath());
    const QString home = CleanAbsolute(QDir::homePath());
    if (!places.contains(home))
        places << home;

    Drive1->blockSignals(true);
    Drive1->clear();
    int best = 0;
    int bestLength = -1;
    for (int i = 0; i < places.size(); ++i) {
        Drive1->addItem(QDir::toNativeSeparators(places[i]), places[i]);
        if (IsWithin(startFolder, places[i]) && places[i].size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(places[i].size());
        }
    }
    Drive1->setCurrentIndex(best);
    Drive1->blockSignals(false);
    Drive1_Change();
}

QTreeWidgetItem* FrmBrowseFile::AddFolderItem(QTreeWidgetItem* parent, const QString& name,
                                              const QString& path) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Dir1);
    item->setText(0, name);
    item->setData(0, PathRole, path);
    item->setData(0, FilledRole, false);
    // Only a folder that holds folders gets an arrow; listing one entry is enough to know.
    QDirIterator sub(path, Shown(QDir::Dirs | QDir::NoDotAndDotDot));
    item->setChildIndicatorPolicy(sub.hasNext() ? QTreeWidgetItem::ShowIndicator
                                                : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return item;
}

// Folders are listed when first opened, so a deep tree costs nothing until visited.
void FrmBrowseFile::FillFolderItem(QTreeWidgetItem* item) {
    if (!item || item->data(0, FilledRole).toBool())
        return;
    item->setData(0, FilledRole, true);
    const QString path = item->data(0, PathRole).toString();
    const QFileInfoList folders = QDir(path).entryInfoList(Shown(QDir::Dirs | QDir::NoDotAndDotDot),
                                                           QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& folder : folders)
        AddFolderItem(item, folder.fileName(), CleanAbsolute(folder.absoluteFilePath()));
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QString FrmBrowseFile::Dir1Path() const {
    QTreeWidgetItem* item = Dir1->currentItem();
    if (!item)
        item = Dir1->topLevelItem(0);
    return item ? item->data(0, PathRole).toString() : QString();
}

void FrmBrowseFile::SetDir1Path(const QString& path) {
    const QString target = CleanAbsolute(path);
    // A folder outside the chosen place moves Drive1 to the place that holds it.
    const QString root = Drive1->currentData().toString();
    if (!IsWithin(target, root)) {
        int best = -1;
        int bestLength = -1;
        for (int i = 0; i < Drive1->count(); ++i) {
            const QString place = Drive1->itemData(i).toString();
            if (IsWithin(target, place) && place.size() > bestLength) {
                best = i;
                bestLength = static_cast<int>(place.size());
            }
        }
        if (best < 0)
            return;
        Drive1->setCurrentIndex(best);
    }
    QTreeWidgetItem* item = Dir1->topLevelItem(0);
    if (!item)
        return;
    const QString relative = QDir(item->data(0, PathRole).toString()).relativeFilePath(target);
    const QStringList parts =
        relative == "." ? QStringList() : relative.split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        FillFolderItem(item);
        item->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (item->child(i)->text(0) == part)
                next = item->child(i);
        if (!next) // a hidden folder is not listed, but can still be the start
            next = AddFolderItem(item, part,
                                 CleanAbsolute(item->data(0, PathRole).toString() + '/' + part));
        item = next;
    }
    FillFolderItem(item);
    item->setExpanded(true);
    if (Dir1->currentItem() == item) {
        Dir1_Change();
    } else {
        Dir1->setCurrentItem(item);
    }
    Dir1->scrollToItem(item);
}

void FrmBrowseFile::Drive1_Change() {
    const QString root = Drive1->currentData().toString();
    Dir1->blockSignals(true);
    Dir1->clear();
    QTreeWidgetItem* top = AddFolderItem(nullptr, QDir::toNativeSeparators(root), root);
    Dir1->blockSignals(false);
    FillFolderItem(top);
    top->setExpanded(true);
    Dir1->setCurrentItem(top);
}

void FrmBrowseFile::Dir1_Change() {
    FillFileList(Dir1Path());
}

void FrmBrowseFile::FillFileList(const QString& folder) {
    file1Path_ = folder;
    File1->clear();
    File1->setToolTip(QString());
    // Name filters match without regard to case, as the page names of the desktop do.
    const QStringList names = QDir(folder).entryList(FilePattern().split(';'), Shown(QDir::Files),
                                                     QDir::Name | QDir::IgnoreCase);
    File1->addItems(names);
}

void FrmBrowseFile::File1_Click(QListWidgetItem* item) {
    if (item)
        File1->setToolTip(item->text());
}

void FrmBrowseFile::File1_DblClick(QListWidgetItem* item) {
    if (item)
        item->setSelected(true);
    Command1_Click();
}

void FrmBrowseFile::SetManyPages() {
    manyPages_ = true;
    setWindowTitle("Select Pages");
    File1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    CmdWholeFolder = new QPushButton("Whole folder", this);
    CmdWholeFolder->setObjectName("CmdWholeFolder");
    CmdWholeFolder->setAccessibleName("Whole folder");
    CmdWholeFolder->setAutoDefault(false);
    ClickOnEnter(CmdWholeFolder);
    if (auto* buttons = Command1->parentWidget()->findChild<QHBoxLayout*>())
        buttons->insertWidget(1, CmdWholeFolder);
    setTabOrder(Command1, CmdWholeFolder);
    setTabOrder(CmdWholeFolder, Command2);
    connect(CmdWholeFolder, &QPushButton::clicked, this, &FrmBrowseFile::CmdWholeFolder_Click);
}

void FrmBrowseFile::CmdWholeFolder_Click() {
    selectedFolder_ = file1Path_;
    accept();
}

void FrmBrowseFile::Command1_Click() {
    const QList<QListWidgetItem*> selected = File1->selectedItems();
    if (selected.isEmpty())
        return; // only a highlighted file is taken
    const QString folder = file1Path_;
    if (manyPages_) {
        for (const QListWidgetItem* item : File1->selectedItems())
            selectedPages_ << folder + (folder.endsWith('/') ? "" : "/") + item->text();
        accept();
        return;
    }
    const QString page = folder + (folder.endsWith('/') ? "" : "/") + selected.first()->text();
    const std::string pageBytes = PathFromQString(page);

    // A page that cannot be read is not taken: the user can pick another one.
    if (auto bytes = ReadFileBytes(pageBytes); !bytes) {
        ShowMessage(this, ErrorToQString(bytes.error()), MessageIcon::Critical);
        return;
    }
    ws_.SampleFile = pageBytes;
    if (Status st = ParseLinks(ws_); !st)
        ShowMessage(this,
                    ErrorToQString(st.error()) +
                        "\n\nThe page is selected, but its links cannot be offered for link texts.",
                    MessageIcon::Exclamation);
    fileSelected_ = true;
    accept();
}

void FrmBrowseFile::Command2_Click() {
    reject();
}

QDir::Filters FrmBrowseFile::Shown(QDir::Filters kinds) const {
    return ChkShowHidden->isChecked() ? kinds | QDir::Hidden : kinds;
}

void FrmBrowseFile::ChkShowHidden_Click() {
    // The lists are built again from the place shown, in the same folder.
    const QString here = Dir1Path();
    Drive1_Change();
    SetDir1Path(here);
}

} // namespace pelto::ui
