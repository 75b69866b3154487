#pragma once

#include "base/AppPaths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <sys/resource.h>

#include <csignal>

// Helpers of the list file tests: write and read the data files in the test's own data folder.
namespace DataFileTestSupport {

inline QString PathOf(const QString& name, const QString& extension)
{
    return AppPaths::DataFile(name, extension);
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(AppPaths::DataFolder());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes every write that would take a file past `bytes` fail (as a full disk does) until destroyed.
// Works as root too, where taking away write permission would not.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace DataFileTestSupport
