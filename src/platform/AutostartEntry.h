#pragma once

#include <QString>
#include <QStringList>

// Starting a program with the desktop session: an XDG autostart entry, a Desktop Entry file in
// $XDG_CONFIG_HOME/autostart (the user's) or in $XDG_CONFIG_DIRS/autostart (the system's; the
// user's file of the same name overrides it).
//
// The entry counts as on when the file that the session reads (the user's, else the first system
// one) exists, is not Hidden, is not switched off for GNOME (X-GNOME-Autostart-enabled=false) and
// names a program in its Exec key. Turning it on writes the user's file whole, atomically; turning
// it off deletes the user's file, or, when a system entry of the same name would then start the
// program, writes a user file with Hidden=true that masks it.
class AutostartEntry
{
public:
    // fileName: the entry's file name, e.g. "quorvane.desktop".
    explicit AutostartEntry(const QString& fileName);

    QString UserFile() const;
    // The system files of the same name that exist, most important first.
    QStringList SystemFiles() const;

    bool IsEnabled() const;

    // Writes the user's entry starting program with the arguments (quoted as the Exec key needs),
    // under the given display name. False when the file could not be written; the old file, if
    // any, is then untouched.
    bool Enable(const QString& name, const QString& program, const QStringList& arguments);

    // False when the user's file could not be removed or masked.
    bool Disable(const QString& name, const QString& program);

    // The content Enable() writes.
    static QByteArray EntryContent(const QString& name, const QString& program, const QStringList& arguments);

private:
    static bool IsEnabledFile(const QString& path);
    bool Write(const QByteArray& content) const;

    QString m_fileName;
};
