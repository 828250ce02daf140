#include "platform/settings_store.h"

#include <QDir>
#include <QSettings>
#include <memory>

namespace pelto::ui {

namespace {
QString& OverrideFile() {
    static QString file;
    return file;
}

std::unique_ptr<QSettings> Open() {
    if (!OverrideFile().isEmpty())
        return std::make_unique<QSettings>(OverrideFile(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Pelto",
                                       "Pelto");
}

QString Key(const QString& section, const QString& key) {
    return section + "/" + key;
}
} // namespace

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) {
    return Open()->value(Key(section, key), defaultValue).toString();
}

void SaveSetting(const QString& section, const QString& key, const QString& value) {
    Open()->setValue(Key(section, key), value);
}

void DeleteSetting(const QString& section, const QString& key) {
    Open()->remove(Key(section, key));
}

void DeleteSection(const QString& section) {
    Open()->remove(section);
}

QStringList SettingKeys(const QString& section) {
    auto s = Open();
    s->beginGroup(section);
    return s->childKeys();
}

void SetSettingsFile(const QString& path) {
    OverrideFile() = path;
}

QString SettingsFileOf(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("Pelto.ini"));
}

} // namespace pelto::ui
