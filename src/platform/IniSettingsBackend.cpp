#include "platform/IniSettingsBackend.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <limits>

namespace {

QString Key(const QString& section, const QString& name)
{
    // A "/" would open a subgroup in QSettings; keep every name inside its own section.
    QString safeSection = section;
    QString safeName = name;
    safeSection.replace(u'/', u'_');
    safeName.replace(u'/', u'_');
    return safeSection + u'/' + safeName;
}

} // namespace

IniSettingsBackend::IniSettingsBackend(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{}

IniSettingsBackend::~IniSettingsBackend() = default;

QString IniSettingsBackend::FilePath() const
{
    return m_settings->fileName();
}

std::optional<qint32> IniSettingsBackend::ParseNumber(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    if (value < std::numeric_limits<qint32>::min() || value > qlonglong(std::numeric_limits<quint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(static_cast<quint32>(value));
}

QVariant IniSettingsBackend::Value(const QString& section, const QString& name) const
{
    const QVariant value = m_settings->value(Key(section, name));
    // QSettings keeps a group named "General" as "[%General]" and reads a plain "[General]" as keys
    // outside any group; a file edited by hand most likely says "[General]", so look there too.
    if (!value.isValid() && section == u"General")
        return m_settings->value(name);
    return value;
}

std::optional<qint32> IniSettingsBackend::ReadNumber(const QString& section, const QString& name) const
{
    const QVariant value = Value(section, name);
    // A hand-written value with a comma comes back as a list: not a number.
    if (!value.isValid() || value.metaType().id() == QMetaType::QStringList)
        return std::nullopt;
    return ParseNumber(value.toString());
}

std::optional<QString> IniSettingsBackend::ReadText(const QString& section, const QString& name) const
{
    const QVariant value = Value(section, name);
    if (!value.isValid())
        return std::nullopt;
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool IniSettingsBackend::Contains(const QString& section, const QString& name) const
{
    return Value(section, name).isValid();
}

void IniSettingsBackend::WriteNumber(const QString& section, const QString& name, qint32 value)
{
    m_settings->setValue(Key(section, name), value);
}

void IniSettingsBackend::WriteText(const QString& section, const QString& name, const QString& text)
{
    m_settings->setValue(Key(section, name), text);
}

void IniSettingsBackend::Remove(const QString& section, const QString& name)
{
    m_settings->remove(Key(section, name));
}

bool IniSettingsBackend::Sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
