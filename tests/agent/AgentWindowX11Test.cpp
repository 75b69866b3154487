// The character window on a real X server with a window manager (Xvfb and openbox): it and its
// balloon stay out of task bars and pagers and above other windows, each time they are shown. The
// windows are those of a small program (agent_window_probe); the states are read back with xprop.

#include "support/XvfbServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class AgentWindowX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error = m_x.Start();
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        error = m_x.StartWindowManager();
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        m_probe.setProcessEnvironment(m_x.Environment());
        m_probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_probe.start(QStringLiteral(AGENT_WINDOW_PROBE), QStringList());
        ASSERT_TRUE(m_probe.waitForStarted(5000));
    }

    void TearDown() override
    {
        if (m_probe.state() == QProcess::NotRunning)
            return;
        m_probe.write("quit\n");
        if (!m_probe.waitForFinished(5000)) {
            m_probe.kill();
            m_probe.waitForFinished();
        }
    }

    // Gives an order and returns the words of the answer.
    QList<QByteArray> Order(const QByteArray& order)
    {
        m_probe.write(order + '\n');
        QElapsedTimer timer;
        timer.start();
        while (!m_probe.canReadLine() && timer.elapsed() < 15000)
            m_probe.waitForReadyRead(200);
        return m_probe.readLine().trimmed().split(' ');
    }

    // What xprop says of a window's property (its text after " = "), once the window manager has
    // had its say: read until two readings agree.
    QString Property(const QByteArray& window, const QString& property)
    {
        QString last;
        for (int i = 0; i < 20; ++i) {
            QProcess xprop;
            xprop.start(u"xprop"_s, {u"-display"_s, m_x.Display(), u"-id"_s, QString::fromLatin1(window), property});
            if (!xprop.waitForFinished(5000))
                return {};
            const QString text = QString::fromLocal8Bit(xprop.readAllStandardOutput()).trimmed();
            if (text == last && i >= 2)
                break;
            last = text;
            QThread::msleep(100);
        }
        return last;
    }

    void ExpectKeptOffTheTaskbar(const QByteArray& window, const char* which)
    {
        const QString state = Property(window, u"_NET_WM_STATE"_s);
        EXPECT_TRUE(state.contains(u"_NET_WM_STATE_SKIP_TASKBAR"_s)) << which << ": " << state.toStdString();
        EXPECT_TRUE(state.contains(u"_NET_WM_STATE_SKIP_PAGER"_s)) << which << ": " << state.toStdString();
    }

    void ExpectAboveAsAUtility(const QByteArray& window, const char* which)
    {
        const QString state = Property(window, u"_NET_WM_STATE"_s);
        EXPECT_TRUE(state.contains(u"_NET_WM_STATE_ABOVE"_s)) << which << ": " << state.toStdString();
        const QString type = Property(window, u"_NET_WM_WINDOW_TYPE"_s);
        EXPECT_TRUE(type.contains(u"_NET_WM_WINDOW_TYPE_UTILITY"_s)) << which << ": " << type.toStdString();
    }

    XvfbServer m_x;
    QProcess m_probe;
};

} // namespace

TEST_F(AgentWindowX11, CharacterAndBalloonStayOffTheTaskbarEachTimeTheyAreShown)
{
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round == 1 ? "first show" : "shown again after hiding");
        const QList<QByteArray> shown = Order("show");
        ASSERT_EQ(shown.size(), 3) << shown.join(' ').toStdString();
        ASSERT_EQ(shown[0], "shown");
        ExpectKeptOffTheTaskbar(shown[1], "character");
        ExpectKeptOffTheTaskbar(shown[2], "balloon");
        ExpectAboveAsAUtility(shown[1], "character");
        ExpectAboveAsAUtility(shown[2], "balloon");
        // The window manager manages them (the states are its answer, not just our request).
        const QString frame = Property(shown[1], u"_NET_FRAME_EXTENTS"_s);
        EXPECT_FALSE(frame.contains(u"not found"_s)) << frame.toStdString();
        ASSERT_EQ(Order("hide"), QList<QByteArray>{"hidden"});
    }
}

TEST_F(AgentWindowX11, AWindowAlreadyOnTheScreenIsTakenOffThroughTheWindowManager)
{
    const QList<QByteArray> plain = Order("plain");
    ASSERT_EQ(plain.size(), 2) << plain.join(' ').toStdString();
    ASSERT_EQ(plain[0], "plain");
    ExpectKeptOffTheTaskbar(plain[1], "plain tool window");
}
