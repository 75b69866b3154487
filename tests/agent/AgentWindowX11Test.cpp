// The character window on a real X server with a window manager (Xvfb and openbox): it and its
// balloon stay out of task bars and pagers and above other windows, each time they are shown. The
// windows are those of a small program (agent_window_probe); the states are read back with xprop.

#include "support/XvfbServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRect>
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

    // Where the X server has a window: its absolute position and size, once two readings agree.
    QRect Geometry(const QByteArray& window)
    {
        QRect last;
        for (int i = 0; i < 20; ++i) {
            QProcess xwininfo;
            xwininfo.start(u"xwininfo"_s, {u"-display"_s, m_x.Display(), u"-id"_s, QString::fromLatin1(window)});
            if (!xwininfo.waitForFinished(5000))
                return {};
            QRect rect;
            for (const QByteArray& line : xwininfo.readAllStandardOutput().split('\n')) {
                const QList<QByteArray> parts = line.trimmed().split(':');
                const int value = parts.value(1).trimmed().toInt();
                if (parts[0] == "Absolute upper-left X")
                    rect.moveLeft(value);
                else if (parts[0] == "Absolute upper-left Y")
                    rect.moveTop(value);
                else if (parts[0] == "Width")
                    rect.setWidth(value);
                else if (parts[0] == "Height")
                    rect.setHeight(value);
            }
            if (rect == last && i >= 1)
                break;
            last = rect;
            QThread::msleep(100);
        }
        return last;
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

TEST_F(AgentWindowX11, TheBalloonSitsBesideWhereTheWindowManagerPutTheCharacter)
{
    // The window manager places a window as it maps it, and may tell the program late or not at all:
    // each round shows new windows for the first time.
    for (int round = 1; round <= 12; ++round) {
        SCOPED_TRACE(round);
        if (round > 1) {
            ASSERT_EQ(Order("new"), QList<QByteArray>{"new"});
        }
        const QList<QByteArray> shown = Order("show");
        ASSERT_EQ(shown.size(), 3) << shown.join(' ').toStdString();
        const QRect character = Geometry(shown[1]);
        const QRect balloon = Geometry(shown[2]);
        EXPECT_EQ(character.topLeft(), QPoint(300, 300));
        // Above the character, its tail reaching down to it, across its middle.
        EXPECT_EQ(balloon.bottom() + 1, character.top()) << balloon.x() << ',' << balloon.y();
        EXPECT_TRUE(balloon.left() < character.center().x() && character.center().x() < balloon.right());
    }
}
