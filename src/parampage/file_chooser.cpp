#include "parampage/file_chooser.h"

#include "ui_common/editor_frame.h"
#include "ui_common/elided_label.h"
#include "ui_common/user_choice.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

namespace pelto::ui {

namespace {
constexpr int ParentRole = Qt::UserRole + 1;
} // namespace

FileChooser::FileChooser(const QString& prefix, QWidget* body, QGridLayout* grid) : QObject(body) {
    Drive = Named(new QComboBox(body), "Drive" + prefix, "Drive");
    for (const QFileInfo& d : QDir::drives())
        Drive->addItem(QDir::toNativeSeparators(d.absoluteFilePath()));
    // A long folder path keeps its end (the folder's own name) visible.
    PathLabel = new ElidedLabel(Qt::ElideLeft, body);
    Dir = Named(new QListWidget(body), "Dir" + prefix, "Folders");
    Files = Named(new QListWidget(body), "File" + prefix, "Files");
    // Drive above the folders, the files beside them, the folder's path below both.
    grid->addWidget(Drive, 0, 0);
    grid->addWidget(Dir, 1, 0);
    grid->addWidget(Files, 0, 1, 2, 1);
    grid->addWidget(PathLabel, 2, 0, 1, 2);

    // The lists start in the user's home folder until the editor shows a parameter (in
    // its file's folder or the page's), never among the program's own files.
    SetDirPath(QDir::homePath());

    connect(Drive, &QComboBox::currentIndexChanged, this, [this] {
        moved_ = true;
        Drive_Change();
    });
    // A folder is opened by double-click or Enter; ".." goes one level up.
    OnRowActivated(Dir, [this](int row) {
        moved_ = true;
        SetDirPath(Dir->item(row)->data(ParentRole).toString());
    });
    OnRowChosen(Files, [this](int) { emit FileChosen(); });
}

void FileChooser::Drive_Change() {
    SetDirPath(Drive->currentText());
}

void FileChooser::SetDirPath(const QString& path) {
    dirPath_ = QDir::toNativeSeparators(QDir::cleanPath(path));
    const QString folder = QDir::fromNativeSeparators(dirPath_);
    int best = -1;
    for (int i = 0; i < Drive->count(); ++i) {
        const QString drive = QDir::fromNativeSeparators(Drive->itemText(i));
        if (folder.startsWith(drive) && (best < 0 || drive.size() > Drive->itemText(best).size()))
            best = i;
    }
    if (best >= 0 && best != Drive->currentIndex()) {
        const QSignalBlocker quiet(Drive);
        Drive->setCurrentIndex(best);
    }
    Dir_Change();
}

bool FileChooser::ChooseFile(const QString& name) {
    for (int i = 0; i < Files->count(); ++i)
        if (Files->item(i)->text() == name) {
            Files->setCurrentRow(i);
            Files->scrollToItem(Files->item(i));
            return true;
        }
    return false;
}

void FileChooser::Dir_Change() {
    PathLabel->setText(dirPath_);
    PathLabel->setToolTip(dirPath_);
    Dir->clear();
    QDir dir(dirPath_);
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem("..", Dir);
        up->setData(ParentRole, QFileInfo(dir.absolutePath()).absolutePath());
    }
    for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        auto* item = new QListWidgetItem(sub.fileName(), Dir);
        item->setData(ParentRole, sub.absoluteFilePath());
    }
    FillFiles();
}

QString FileChooser::DirPathWithSeparator() const {
    const QString sep = QDir::separator();
    return dirPath_.endsWith(sep) ? dirPath_ : dirPath_ + sep;
}

void FileChooser::SetPattern(const QString& pattern) {
    pattern_ = pattern;
    FillFiles();
}

QString FileChooser::ChosenFile() const {
    // Only a highlighted file is chosen; the row the focus lands on is not.
    const int row = ChosenRow(Files);
    return row >= 0 ? Files->item(row)->text() : QString();
}

void FileChooser::FillFiles() {
    Files->clear();
    QStringList filters;
    for (const QString& p : pattern_.split(';', Qt::SkipEmptyParts))
        filters << p.trimmed();
    if (filters.isEmpty())
        filters << "*";
    QDir dir(dirPath_);
    // Without QDir::CaseSensitive the patterns match regardless of letter case.
    for (const QString& name : dir.entryList(filters, QDir::Files, QDir::Name))
        Files->addItem(name);
    Files->setCurrentRow(-1);
}

} // namespace pelto::ui
