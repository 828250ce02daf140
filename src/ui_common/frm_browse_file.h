#pragma once
// The file browser: the user picks the page to work on. Drive1 (roots and places) ->
// Dir1 (folder tree) -> File1 (the pages of that folder). "Select" makes the highlighted
// file the workspace's SampleFile and collects its links; "Cancel" changes nothing.
#include "library/workspace.h"

#include <QDialog>
#include <QDir>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace pelto::ui {

class FrmBrowseFile : public QDialog {
    Q_OBJECT
public:
    explicit FrmBrowseFile(Workspace& ws, QWidget* parent = nullptr);

    // The patterns of the pages File1 lists.
    static QString FilePattern() { return QStringLiteral("*.htm;*.html;*.asp;*.jsp"); }

    QComboBox* Drive1 = nullptr;
    QTreeWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QPushButton* Command1 = nullptr;    // "Select"
    QPushButton* Command2 = nullptr;    // "Cancel"
    QCheckBox* ChkShowHidden = nullptr; // hidden folders and files are listed too

    // The folder Dir1 shows (absolute, without a trailing separator except at a root).
    QString Dir1Path() const;
    // Moves Dir1 to path (opening the tree down to it); runs Dir1_Change.
    void SetDir1Path(const QString& path);
    // The folder File1 lists.
    QString File1Path() const { return file1Path_; }
    // True once "Select" took a file.
    bool FileSelected() const { return fileSelected_; }

    void Drive1_Change();
    void Dir1_Change();
    void File1_Click(QListWidgetItem* item);
    void File1_DblClick(QListWidgetItem* item);
    void Command1_Click();
    void Command2_Click();
    void ChkShowHidden_Click();

    // Many pages at once (applying to several pages): File1 takes several files, and
    // CmdWholeFolder takes the folder File1 shows; SampleFile is left as it is.
    void SetManyPages();
    QStringList SelectedPages() const { return selectedPages_; }
    QString SelectedFolder() const { return selectedFolder_; }
    QPushButton* CmdWholeFolder = nullptr; // "Whole folder", only for many pages
    void CmdWholeFolder_Click();

private:
    void FillDrives(const QString& startFolder);
    QTreeWidgetItem* AddFolderItem(QTreeWidgetItem* parent, const QString& name,
                                   const QString& path);
    void FillFolderItem(QTreeWidgetItem* item);
    void FillFileList(const QString& folder);
    QDir::Filters Shown(QDir::Filters kinds) const;

    Workspace& ws_;
    QString file1Path_;
    bool fileSelected_ = false;
    bool manyPages_ = false;
    QStringList selectedPages_;
    QString selectedFolder_;
};

} // namespace pelto::ui
