#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>

// Gives a test its own empty XDG folders (config, data, cache, runtime) for its lifetime, and puts
// back the previous environment afterwards. Settings and data files written by the code under test
// land in these folders, so tests never see each other's files or the user's own.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString Root() const { return m_root.path(); }
    QString ConfigHome() const { return Root() + QStringLiteral("/config"); }
    QString DataHome() const { return Root() + QStringLiteral("/data"); }
    QString RuntimeDir() const { return Root() + QStringLiteral("/runtime"); }

    // Sets an environment variable until the end of the test.
    void Set(const char* name, const QByteArray& value);

private:
    void Remember(const char* name);

    QTemporaryDir m_root;
    std::map<QByteArray, std::pair<bool, QByteArray>> m_saved;
};
