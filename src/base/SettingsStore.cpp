#include "base/SettingsStore.h"

#include "base/AppPaths.h"
#include "platform/IniSettingsBackend.h"

using namespace Qt::StringLiterals;

QString ProgramSettingsFile()
{
    return AppPaths::ConfigFile(u"Quorvan"_s);
}

QString ProfileSettingsFile()
{
    return AppPaths::ConfigFile(u"Quorva"_s);
}

qint32 ReadNumber(const QString& section, const QString& name, qint32 defaultValue)
{
    return IniSettingsBackend(ProgramSettingsFile()).ReadNumber(section, name).value_or(defaultValue);
}

void WriteNumber(const QString& section, const QString& name, qint32 value)
{
    IniSettingsBackend store(ProgramSettingsFile());
    store.WriteNumber(section, name, value);
    store.Sync();
}

QString ReadText(const QString& section, const QString& name, const QString& defaultValue)
{
    return IniSettingsBackend(ProgramSettingsFile()).ReadText(section, name).value_or(defaultValue);
}

void WriteText(const QString& section, const QString& name, const QString& text)
{
    IniSettingsBackend store(ProgramSettingsFile());
    store.WriteText(section, name, text);
    store.Sync();
}

bool HasSetting(const QString& section, const QString& name)
{
    return IniSettingsBackend(ProgramSettingsFile()).Contains(section, name);
}

void RemoveSetting(const QString& section, const QString& name)
{
    IniSettingsBackend store(ProgramSettingsFile());
    store.Remove(section, name);
    store.Sync();
}

qint32 ReadProfileNumber(const QString& section, const QString& name, qint32 defaultValue)
{
    return IniSettingsBackend(ProfileSettingsFile()).ReadNumber(section, name).value_or(defaultValue);
}

void WriteProfileNumber(const QString& section, const QString& name, qint32 value)
{
    IniSettingsBackend store(ProfileSettingsFile());
    store.WriteNumber(section, name, value);
    store.Sync();
}

bool HasProfileValue(const QString& section, const QString& name)
{
    return IniSettingsBackend(ProfileSettingsFile()).Contains(section, name);
}
