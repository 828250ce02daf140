#pragma once
// The settings store: INI format, application "Pelto", sections "Settings" and "MRU".
// An installed program keeps it per user; a portable program folder keeps it beside the
// program (SettingsFileOf), and tests point it at a temporary file.
#include <QString>
#include <QStringList>

namespace pelto::ui {

QString GetSetting(const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& section, const QString& key, const QString& value);
void DeleteSetting(const QString& section, const QString& key);
void DeleteSection(const QString& section);
QStringList SettingKeys(const QString& section);

// Use this INI file instead of the per-user store ("" restores the default).
void SetSettingsFile(const QString& path);

// The settings file of a program folder: "Pelto.ini" in it (for a portable folder).
QString SettingsFileOf(const QString& programFolder);

} // namespace pelto::ui
