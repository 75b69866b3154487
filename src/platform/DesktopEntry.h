#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// A Desktop Entry file (".desktop"), read: groups of "key=value" lines. Values come back with the
// string escapes undone (\s \n \t \r \\); localised keys ("Name[de]") are kept under their full
// key. Blank lines and comments are skipped, a line that is neither is ignored, and when a key
// appears twice in a group the first one counts. Nothing here runs or quotes anything: see
// DesktopExec.h for the Exec key.
class DesktopEntry
{
public:
    static QString MainGroup() { return QStringLiteral("Desktop Entry"); }

    // Reads the file; nothing when it cannot be read or is larger than 1 MiB (no real entry is).
    static std::optional<DesktopEntry> Load(const QString& path);
    static DesktopEntry Parse(const QByteArray& content);

    bool Contains(const QString& key, const QString& group = MainGroup()) const;
    // The value with the string escapes undone; empty when the key is missing.
    QString Value(const QString& key, const QString& group = MainGroup()) const;
    // A boolean key: "true" or "false" (older files: "1" / "0"); anything else gives the default.
    bool BoolValue(const QString& key, bool defaultValue, const QString& group = MainGroup()) const;

    // Undoes the string escapes of a value; an unknown escape is kept as it stands.
    static QString Unescape(const QString& raw);
    // Escapes a text for a value: backslash, newline, tab and carriage return, and a leading blank.
    static QString Escape(const QString& text);

private:
    QHash<QString, QHash<QString, QString>> m_groups;
};
