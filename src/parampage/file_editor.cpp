#include "parampage/file_editor.h"

#include "parampage/file_chooser.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>

namespace pelto::ui {

FileEditor::FileEditor(Workspace& ws, int16_t kind, QWidget* parent)
    : EditorFrame(ws, kind, kind == Image ? "Image" : "File (Other than image)", parent),
      kind_(kind) {
    auto* grid = new QGridLayout(Body());
    grid->setContentsMargins(0, 0, 0, 0);
    Chooser = new FileChooser(kind == Image ? "Image" : "File", Body(), grid);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    if (kind == Image) {
        ImgImage = Named(new QLabel(Body()), "ImgImage", "Preview");
        ImgImage->setFrameShape(QFrame::StyledPanel);
        ImgImage->setAlignment(Qt::AlignCenter);
        ImgImage->setMinimumSize(90, 90);
        grid->addWidget(ImgImage, 0, 2, 2, 1);
        // The folder line runs under the preview too.
        grid->addWidget(Chooser->PathLabel, 2, 0, 1, 3);
        grid->setColumnStretch(2, 1);
        connect(Chooser, &FileChooser::FileChosen, this, [this] { FileImage_Click(); });
    }
}

FileParameter& FileEditor::Record(int16_t ordinal) {
    return kind_ == Image ? ws_.Params.ImageParameters[ordinal]
                          : ws_.Params.FileParameters[ordinal];
}

void FileEditor::Show(int16_t ordinal) {
    const FileParameter& p = Record(ordinal);
    SetCaptionAndDescription(p.Name, p.Description);
    Chooser->SetPattern(FromBytes(p.Pattern));
    // The lists show the current value: its folder (a relative one lies beside the page)
    // with its file highlighted. Without one they open in the page's folder, or stay
    // where the user left them.
    const QString pageFolder = QFileInfo(PathToQString(ws_.SampleFile)).absolutePath();
    QString folder = QDir::fromNativeSeparators(PathToQString(p.Path));
    if (!folder.isEmpty() && QDir::isRelativePath(folder) && !ws_.SampleFile.empty())
        folder = QDir(pageFolder).filePath(folder);
    const QString file = PathToQString(p.FileName);
    shownFolder_.clear();
    shownFile_.clear();
    if (!file.isEmpty() && !folder.isEmpty() && QFileInfo(QDir(folder), file).isFile()) {
        Chooser->SetDirPath(folder);
        if (Chooser->ChooseFile(file)) {
            shownFolder_ = Chooser->DirPath();
            shownFile_ = file;
        }
    } else if (!Chooser->Moved() && !ws_.SampleFile.empty() && QFileInfo(pageFolder).isDir()) {
        Chooser->SetDirPath(pageFolder);
        if (!file.isEmpty() && folder.isEmpty() && Chooser->ChooseFile(file)) {
            shownFolder_ = Chooser->DirPath();
            shownFile_ = file;
        }
    }
}

void FileEditor::FileImage_Click() {
    const QString path = Chooser->DirPathWithSeparator() + Chooser->ChosenFile();
    QPixmap picture(path);
    if (picture.isNull()) {
        // Not a picture this program can read: the preview stays empty.
        ImgImage->clear();
        return;
    }
    if (picture.width() > ImgImage->width() || picture.height() > ImgImage->height())
        picture = picture.scaled(ImgImage->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    ImgImage->setPixmap(picture);
}

void FileEditor::Commit(int16_t ordinal) {
    // Looking at a file parameter without choosing a file keeps its folder and file: storing
    // an empty name would lose the definition's default (a picture the effect needs).
    if (Chooser->ChosenFile().isEmpty())
        return;
    // The value shown and left as it was keeps its folder as written (relative ones too).
    if (!shownFile_.isEmpty() && Chooser->ChosenFile() == shownFile_ &&
        Chooser->DirPath() == shownFolder_)
        return;
    // Folder and file names of any characters, as the file system's own bytes.
    FileParameter& p = Record(ordinal);
    p.Path = PathFromQString(Chooser->DirPathWithSeparator());
    p.FileName = PathFromQString(Chooser->ChosenFile());
}

} // namespace pelto::ui
