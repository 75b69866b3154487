#pragma once

#include <QString>

// The program's option store: one value per option, grouped in sections, kept in
// $XDG_CONFIG_HOME/Brightwold/Quorvan.ini. Reads fall back to the given default on anything missing
// or malformed; failed writes are ignored (the value in memory stays in force).

// The two files behind the store.
QString ProgramSettingsFile();
QString ProfileSettingsFile();

qint32 ReadNumber(const QString& section, const QString& name, qint32 defaultValue);
void WriteNumber(const QString& section, const QString& name, qint32 value);
QString ReadText(const QString& section, const QString& name, const QString& defaultValue);
void WriteText(const QString& section, const QString& name, const QString& text);
bool HasSetting(const QString& section, const QString& name);
void RemoveSetting(const QString& section, const QString& name);

// The per-user window profile, $XDG_CONFIG_HOME/Brightwold/Quorva.ini (section "WindowPos").
qint32 ReadProfileNumber(const QString& section, const QString& name, qint32 defaultValue);
void WriteProfileNumber(const QString& section, const QString& name, qint32 value);
bool HasProfileValue(const QString& section, const QString& name);
