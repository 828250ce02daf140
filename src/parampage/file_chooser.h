#pragma once
// The drive, folder and file lists of the file and image editors: the folder list
// follows the drive, the file list follows the folder and shows the files matching the
// pattern (one or more wildcards separated by ";", letter case ignored).
#include <QObject>
#include <QString>

class QComboBox;
class QLabel;
class QListWidget;
class QWidget;
class QGridLayout;

namespace pelto::ui {

class FileChooser : public QObject {
    Q_OBJECT
public:
    // prefix is "File" or "Image": the controls are DrivePREFIX, DirPREFIX, FilePREFIX.
    FileChooser(const QString& prefix, QWidget* body, QGridLayout* grid);

    void Drive_Change();
    void Dir_Change();

    // Moves the folder list to a folder (runs the folder change).
    void SetDirPath(const QString& path);
    QString DirPath() const { return dirPath_; }
    // The folder with the directory separator at its end.
    QString DirPathWithSeparator() const;
    void SetPattern(const QString& pattern);
    // The chosen file's name ("" when none).
    QString ChosenFile() const;
    // Highlights the file of that name in the file list; false when it is not listed.
    bool ChooseFile(const QString& name);
    // True once the user moved to another drive or folder.
    bool Moved() const { return moved_; }

    QComboBox* Drive = nullptr;
    QListWidget* Dir = nullptr;
    QListWidget* Files = nullptr;
    QLabel* PathLabel = nullptr;

signals:
    void FileChosen();

private:
    void FillFiles();

    QString dirPath_;
    QString pattern_;
    bool moved_ = false;
};

} // namespace pelto::ui
