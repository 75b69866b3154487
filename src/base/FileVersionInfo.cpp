#include "base/FileVersionInfo.h"

#include "QuorvaneVersion.h"
#include "base/AppPaths.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

FileVersionInfo::FileVersionInfo(const QString& fileName)
    : m_fileName(fileName)
    , m_language(u"0409"_s)
    , m_codePage(u"04E4"_s)
{
    const QString canonical = QFileInfo(fileName).canonicalFilePath();
    const QString program = QFileInfo(AppPaths::ProgramFile()).canonicalFilePath();
    if (canonical.isEmpty() || canonical != program)
        return;
    m_fixedVersion =
        VersionNumber(QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_PATCH, QUORVANE_VERSION_TWEAK);
}

bool FileVersionInfo::GetFixedVersion(VersionNumber& version) const
{
    if (!m_fixedVersion)
        return false;
    version = *m_fixedVersion;
    return true;
}

QString FileVersionInfo::StringTablePrefix() const
{
    return u"\\StringFileInfo\\"_s + m_language + m_codePage;
}
