#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

TestEnvironment::TestEnvironment()
{
    QDir().mkpath(ConfigHome());
    QDir().mkpath(DataHome());
    QDir().mkpath(RuntimeDir());
    QFile::setPermissions(RuntimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Set("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
    Set("XDG_DATA_HOME", QFile::encodeName(DataHome()));
    Set("XDG_CACHE_HOME", QFile::encodeName(Root() + QStringLiteral("/cache")));
    Set("XDG_RUNTIME_DIR", QFile::encodeName(RuntimeDir()));
}

TestEnvironment::~TestEnvironment()
{
    for (const auto& [name, saved] : m_saved) {
        if (saved.first)
            qputenv(name.constData(), saved.second);
        else
            qunsetenv(name.constData());
    }
}

void TestEnvironment::Remember(const char* name)
{
    const QByteArray key(name);
    if (m_saved.count(key))
        return;
    m_saved[key] = {qEnvironmentVariableIsSet(name), qgetenv(name)};
}

void TestEnvironment::Set(const char* name, const QByteArray& value)
{
    Remember(name);
    qputenv(name, value);
}
