#include "base/CPath.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

CPath::CPath(const QString& fullPath)
{
    SetPath(fullPath);
}

void CPath::SetPath(const QString& fullPath)
{
    m_drive.clear();
    const qsizetype slash = fullPath.lastIndexOf(u'/');
    m_directory = fullPath.left(slash + 1);
    const QString name = fullPath.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0) {
        m_fileName = name.left(dot);
        m_extension = name.mid(dot);
    } else {
        m_fileName = name;
        m_extension.clear();
    }
}

QString CPath::Path() const
{
    return m_drive + m_directory + m_fileName + m_extension;
}

void CPath::SetDirectory(const QString& directory)
{
    m_directory = directory;
    if (!m_directory.isEmpty() && !m_directory.endsWith(u'/'))
        m_directory += u'/';
}

void CPath::SetExtension(const QString& extension)
{
    m_extension = extension;
    if (!m_extension.isEmpty() && !m_extension.startsWith(u'.'))
        m_extension.prepend(u'.');
}

bool CPath::IsValid() const
{
    const QString path = Path();
    if (path.contains(QChar(0)))
        return false;
    // The name must also be one path component: a '/' in it would change the directory.
    if (m_fileName.contains(u'/') || m_extension.contains(u'/'))
        return false;
    return QFile::encodeName(m_fileName + m_extension).size() <= MaxNameBytes &&
           QFile::encodeName(path).size() <= MaxPathBytes;
}

bool CPath::Exists() const
{
    if (!IsValid())
        return false;
    const QFileInfo info(Path());
    return info.exists() && !info.isDir();
}
