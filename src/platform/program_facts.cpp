#include "platform/program_facts.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace pelto::ui {

QString ProgramName() {
    return QStringLiteral("Pelto");
}
QString MakerName() {
    return QStringLiteral("Norvale");
}
int VersionMajor() {
    return PELTO_VERSION_MAJOR;
}
int VersionMinor() {
    return PELTO_VERSION_MINOR;
}
int VersionRevision() {
    return PELTO_VERSION_PATCH;
}
QString VersionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(VersionMajor())
        .arg(VersionMinor())
        .arg(VersionRevision());
}

QString DesktopEntryId() {
    return QStringLiteral("com.norvale.Pelto");
}

void ApplyProgramIdentity() {
    // No organisation name: the data location is then <data home>/Pelto, the folder
    // pelto-cli uses without Qt (kUserFolderName).
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QString::fromUtf8(kUserFolderName));
    QCoreApplication::setApplicationVersion(VersionText());
    QGuiApplication::setDesktopFileName(DesktopEntryId());
}

ProgramFolders ProgramFoldersOfThisRun() {
    return FindProgramFolders(QCoreApplication::applicationDirPath().toStdString());
}

} // namespace pelto::ui
