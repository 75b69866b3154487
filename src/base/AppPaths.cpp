#include "base/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace AppPaths {

QString ConfigFile(const QString& baseName)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/Brightwold/"_s + baseName +
           u".ini"_s;
}

QString DataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Quorvane"_s;
}

bool EnsureDataFolder()
{
    return QDir().mkpath(DataFolder());
}

QString DataFile(const QString& name, const QString& extension)
{
    return DataFolder() + u'/' + name + extension;
}

QString ProgramFile()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(u"/proc/self/exe"_s).canonicalFilePath();
}

QString ProgramFolder()
{
    return QFileInfo(ProgramFile()).absolutePath();
}

QString UrlIniFile()
{
    const QString overridden = qEnvironmentVariable("QUORVANE_URL_INI");
    if (!overridden.isEmpty())
        return overridden;
    const QString beside = ProgramFolder() + u"/URL.ini"_s;
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(ProgramFolder() + u"/../share/quorvane/URL.ini"_s);
    if (QFileInfo::exists(installed))
        return installed;
    return beside;
}

QString GuideFolder()
{
    return QDir::cleanPath(ProgramFolder() + u"/../share/quorvane/doc"_s);
}

QString StarterAnnouncementFile()
{
    return QDir::cleanPath(ProgramFolder() + u"/../share/quorvane/Announce.csv"_s);
}

QStringList CharacterFolders()
{
    return {DataFolder() + u"/chars"_s, QDir::cleanPath(ProgramFolder() + u"/../share/quorvane/chars"_s)};
}

} // namespace AppPaths
