#include "platform/AutostartEntry.h"

#include "platform/DesktopEntry.h"
#include "platform/DesktopExec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

AutostartEntry::AutostartEntry(const QString& fileName)
    : m_fileName(fileName)
{}

QString AutostartEntry::UserFile() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/autostart/"_s + m_fileName;
}

QStringList AutostartEntry::SystemFiles() const
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = u"/etc/xdg"_s;
    QStringList files;
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts)) {
        // Relative entries are to be ignored.
        if (!QDir::isAbsolutePath(dir))
            continue;
        const QString file = dir + u"/autostart/"_s + m_fileName;
        if (QFileInfo(file).isFile() && !files.contains(file))
            files.append(file);
    }
    return files;
}

bool AutostartEntry::IsEnabledFile(const QString& path)
{
    const std::optional<DesktopEntry> entry = DesktopEntry::Load(path);
    if (!entry)
        return false;
    if (entry->BoolValue(u"Hidden"_s, false) || !entry->BoolValue(u"X-GNOME-Autostart-enabled"_s, true))
        return false;
    return DesktopExec::SplitExec(entry->Value(u"Exec"_s)).has_value();
}

bool AutostartEntry::IsEnabled() const
{
    const QString user = UserFile();
    if (QFileInfo::exists(user))
        return IsEnabledFile(user);
    const QStringList system = SystemFiles();
    return !system.isEmpty() && IsEnabledFile(system.first());
}

QByteArray AutostartEntry::EntryContent(const QString& name, const QString& program, const QStringList& arguments)
{
    QString text = u"[Desktop Entry]\n"_s;
    text += u"Type=Application\n"_s;
    text += u"Name="_s + DesktopEntry::Escape(name) + u'\n';
    text += u"Exec="_s + DesktopExec::BuildExecValue(program, arguments) + u'\n';
    text += u"TryExec="_s + DesktopEntry::Escape(program) + u'\n';
    text += u"Terminal=false\n"_s;
    text += u"X-GNOME-Autostart-enabled=true\n"_s;
    // Tray programs should start after the panel, or their icon may never appear.
    text += u"X-GNOME-Autostart-Delay=2\n"_s;
    text += u"X-KDE-autostart-after=panel\n"_s;
    text += u"X-LXQt-Need-Tray=true\n"_s;
    return text.toUtf8();
}

bool AutostartEntry::Write(const QByteArray& content) const
{
    const QString path = UserFile();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}

bool AutostartEntry::Enable(const QString& name, const QString& program, const QStringList& arguments)
{
    return Write(EntryContent(name, program, arguments));
}

bool AutostartEntry::Disable(const QString& name, const QString& program)
{
    const QString user = UserFile();
    const QStringList system = SystemFiles();
    if (!system.isEmpty() && IsEnabledFile(system.first())) {
        // Deleting ours would let the system's entry start the program: mask it instead.
        QString text = u"[Desktop Entry]\n"_s;
        text += u"Type=Application\n"_s;
        text += u"Name="_s + DesktopEntry::Escape(name) + u'\n';
        text += u"Exec="_s + DesktopExec::BuildExecValue(program, {}) + u'\n';
        text += u"Hidden=true\n"_s;
        return Write(text.toUtf8());
    }
    if (!QFileInfo::exists(user) && !QFileInfo(user).isSymLink())
        return true;
    return QFile::remove(user);
}
