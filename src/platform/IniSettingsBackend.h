#pragma once

#include <QString>

#include <memory>
#include <optional>

class QSettings;
class QVariant;

// One INI file standing in for a registry key: sections become INI groups, values are 32-bit
// numbers or texts. Reads never fail loudly: anything missing or malformed reads as "no value".
// Writes are collected and reach the disk with Sync() (or when the object is destroyed).
class IniSettingsBackend
{
public:
    explicit IniSettingsBackend(const QString& filePath);
    ~IniSettingsBackend();
    IniSettingsBackend(const IniSettingsBackend&) = delete;
    IniSettingsBackend& operator=(const IniSettingsBackend&) = delete;

    QString FilePath() const;

    // A value that is not a whole number from -2^31 to 2^32-1 (a DWORD or a negative int) reads
    // as no value; a value above 2^31-1 comes back with the same 32 bits, as a DWORD would.
    std::optional<qint32> ReadNumber(const QString& section, const QString& name) const;
    std::optional<QString> ReadText(const QString& section, const QString& name) const;
    bool Contains(const QString& section, const QString& name) const;

    void WriteNumber(const QString& section, const QString& name, qint32 value);
    void WriteText(const QString& section, const QString& name, const QString& text);
    void Remove(const QString& section, const QString& name);

    // Flushes the writes; false when the file could not be written.
    bool Sync();

    // Parses a number the way ReadNumber does.
    static std::optional<qint32> ParseNumber(const QString& text);

private:
    QVariant Value(const QString& section, const QString& name) const;

    std::unique_ptr<QSettings> m_settings;
};
