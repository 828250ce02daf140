#pragma once
// The per-user settings store: INI format, application "Pelto", sections "Settings" and
// "MRU". Tests point it at a temporary file with SetSettingsFile.
#include <QString>
#include <QStringList>

namespace pelto::ui {

QString GetSetting(const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& section, const QString& key, const QString& value);
void DeleteSetting(const QString& section, const QString& key);
void DeleteSection(const QString& section);
QStringList SettingKeys(const QString& section);

// Test seam: use this INI file instead of the user's store ("" restores the default).
void SetSettingsFile(const QString& path);

} // namespace pelto::ui
