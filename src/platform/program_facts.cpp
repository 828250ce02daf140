#include "platform/program_facts.h"

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

} // namespace pelto::ui
