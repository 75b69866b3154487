#include "platform/SingleInstance.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFirst = 0;
constexpr int kActivatedOther = 3;
constexpr int kOtherStarting = 4;

class Probe
{
public:
    explicit Probe(const QStringList& arguments, const QByteArray& token = {})
    {
        if (!token.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"XDG_ACTIVATION_TOKEN"_s, QString::fromLatin1(token));
            m_process.setProcessEnvironment(environment);
        }
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral(SINGLE_INSTANCE_PROBE), arguments);
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Waits until the probe printed the line (true) or ended / timed out (false).
    bool WaitForLine(const QByteArray& line, int timeoutMs = 10000)
    {
        while (!m_output.contains(line + '\n')) {
            if (m_process.state() == QProcess::NotRunning && m_process.bytesAvailable() == 0)
                return false;
            if (!m_process.waitForReadyRead(timeoutMs) && m_process.bytesAvailable() == 0)
                return m_output.contains(line + '\n') || (Drain(), m_output.contains(line + '\n'));
            Drain();
        }
        return true;
    }

    int WaitForExit(int timeoutMs = 10000)
    {
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(timeoutMs))
            return -1;
        Drain();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -2;
    }

    QByteArray Output()
    {
        Drain();
        return m_output;
    }
    QProcess& Process() { return m_process; }

private:
    void Drain() { m_output += m_process.readAllStandardOutput(); }

    QProcess m_process;
    QByteArray m_output;
};

} // namespace

TEST(SingleInstance, SecondStartActivatesTheFirstAndExits)
{
    TestEnvironment env;
    Probe first({u"--activations"_s, u"2"_s});
    ASSERT_TRUE(first.WaitForLine("listening")) << first.Output().constData();

    Probe second({}, "token-123");
    EXPECT_EQ(second.WaitForExit(), kActivatedOther);
    EXPECT_TRUE(first.WaitForLine("activate token-123"));

    // Without a token, and with an unprintable one, the request still gets through.
    Probe third({}, "bad\x01token");
    EXPECT_EQ(third.WaitForExit(), kActivatedOther);
    EXPECT_EQ(first.WaitForExit(), kFirst) << "the first quits after its second request";
    EXPECT_TRUE(first.Output().contains("activate \n"));

    // The lock and the socket live in the private runtime folder.
    EXPECT_TRUE(QFile::exists(env.RuntimeDir() + u"/quorvane.socket"_s) ||
                !QFile::exists(env.RuntimeDir() + u"/quorvane.lock"_s));
}

TEST(SingleInstance, StartWhileTheFirstIsStartingExitsSilently)
{
    TestEnvironment env;
    Probe first({u"--listen-after"_s, u"1500"_s});
    ASSERT_TRUE(first.WaitForLine("first"));

    Probe second({});
    EXPECT_EQ(second.WaitForExit(), kOtherStarting);
    EXPECT_EQ(second.Output(), QByteArray()) << "nothing shown, nothing said";

    // Once the first answers, the next start reaches it.
    ASSERT_TRUE(first.WaitForLine("listening"));
    Probe third({});
    EXPECT_EQ(third.WaitForExit(), kActivatedOther);
    EXPECT_EQ(first.WaitForExit(), kFirst);
}

TEST(SingleInstance, ACrashedFirstLeavesNothingInTheWay)
{
    TestEnvironment env;
    {
        Probe crashed({});
        ASSERT_TRUE(crashed.WaitForLine("listening"));
        crashed.Process().kill(); // SIGKILL: the lock file and the socket file stay behind
        crashed.WaitForExit();
    }
    ASSERT_TRUE(QFile::exists(env.RuntimeDir() + u"/quorvane.lock"_s));
    ASSERT_TRUE(QFile::exists(env.RuntimeDir() + u"/quorvane.socket"_s));

    Probe next({});
    ASSERT_TRUE(next.WaitForLine("listening")) << "the stale lock and socket are taken over";
    Probe second({});
    EXPECT_EQ(second.WaitForExit(), kActivatedOther);
    EXPECT_EQ(next.WaitForExit(), kFirst);
}

TEST(SingleInstance, RacingStartsHaveOneWinner)
{
    TestEnvironment env;
    std::vector<std::unique_ptr<Probe>> probes;
    for (int i = 0; i < 4; ++i)
        probes.push_back(std::make_unique<Probe>(QStringList{u"--never-listen"_s}));
    int firsts = 0;
    for (auto& probe : probes) {
        if (probe->WaitForLine("first", 3000))
            ++firsts;
        else
            EXPECT_EQ(probe->WaitForExit(), kOtherStarting);
    }
    EXPECT_EQ(firsts, 1);
}

TEST(SingleInstance, InProcessServerAnswersAndSignals)
{
    TestEnvironment env;
    SingleInstance instance(u"quorvane"_s);
    ASSERT_EQ(instance.Claim(), SingleInstance::Start::First);
    EXPECT_EQ(instance.LockFilePath(), env.RuntimeDir() + u"/quorvane.lock"_s);
    ASSERT_TRUE(instance.Listen());
    EXPECT_TRUE(instance.IsListening());
    EXPECT_TRUE(instance.Listen()) << "listening twice is harmless";
}
