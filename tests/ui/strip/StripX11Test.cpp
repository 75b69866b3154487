// The Stock Strip on a real X server with a window manager that honours struts (Xvfb and openbox):
// a dock on every desktop whose struts reserve exactly its band at the bottom or the top, the work
// area shrinking by it, making room for another program's bar, and no band left behind after the strip
// is hidden or its program killed. The strip is that of a small program (strip_probe); the
// properties are read back with xprop and xwininfo.

#include "support/XvfbServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

class StripX11 : public ::testing::Test
{
protected:
    void Start(bool windowManager)
    {
        QString error = m_x.Start(QSize(kWidth, kHeight));
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        if (windowManager) {
            error = m_x.StartWindowManager();
            ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        }
        m_probe.setProcessEnvironment(m_x.Environment());
        m_probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_probe.start(QStringLiteral(STRIP_PROBE), QStringList());
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

    // What an X tool says now.
    QString Read(const QString& program, const QStringList& arguments)
    {
        QProcess tool;
        tool.start(program, QStringList{u"-display"_s, m_x.Display()} + arguments);
        if (!tool.waitForFinished(5000))
            return {};
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

    // The value once it is the expected one, or what it is after 10 s: the window manager answers
    // in its own time.
    template <typename Reader>
    static auto Soon(Reader read, const decltype(read())& expected)
    {
        QElapsedTimer timer;
        timer.start();
        auto value = read();
        while (value != expected && timer.elapsed() < 10000) {
            QThread::msleep(50);
            value = read();
        }
        return value;
    }

    // A CARDINAL property as numbers (empty when the window has none).
    QList<qint64> Numbers(const QByteArray& window, const QString& property)
    {
        QStringList arguments{u"-root"_s, property};
        if (!window.isEmpty())
            arguments = QStringList{u"-id"_s, QString::fromLatin1(window), property};
        const QString text = Read(u"xprop"_s, arguments);
        QList<qint64> numbers;
        const int equals = int(text.indexOf(u" = "_s));
        if (equals < 0)
            return numbers;
        for (const QString& part : text.mid(equals + 3).split(u',', Qt::SkipEmptyParts))
            numbers.append(part.trimmed().toLongLong());
        return numbers;
    }

    // The first desktop's work area; every desktop must have the same.
    QList<qint64> WorkArea()
    {
        const QList<qint64> all = Numbers({}, u"_NET_WORKAREA"_s);
        for (qsizetype i = 4; i + 4 <= all.size(); i += 4)
            EXPECT_EQ(all.mid(i, 4), all.mid(0, 4)) << "desktop " << i / 4;
        return all.mid(0, 4);
    }

    // Where the window is on the screen: x, y, width, height.
    QList<int> Geometry(const QByteArray& window)
    {
        const QString info = Read(u"xwininfo"_s, {u"-id"_s, QString::fromLatin1(window)});
        QList<int> values;
        for (const char* label : {"Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"}) {
            const QRegularExpression pattern(QString::fromLatin1(label) + u":\\s*(-?\\d+)"_s);
            const QRegularExpressionMatch match = pattern.match(info);
            values.append(match.hasMatch() ? match.captured(1).toInt() : -1);
        }
        return values;
    }

    // Shows the strip; its window id and height.
    std::pair<QByteArray, int> Show()
    {
        const QList<QByteArray> shown = Order("show");
        if (shown.size() != 3 || shown[0] != "shown") {
            ADD_FAILURE() << shown.join(' ').toStdString();
            return {};
        }
        return {shown[1], shown[2].toInt()};
    }

    XvfbServer m_x;
    QProcess m_probe;
};

QList<qint64> Strut(qint64 top, qint64 bottom, qint64 topEnd, qint64 bottomEnd)
{
    return {0, 0, top, bottom, 0, 0, 0, 0, 0, topEnd, 0, bottomEnd};
}

// The reading, once it equals the expected value (or after 10 s).
#define EXPECT_SOON_EQ(reading, expected) EXPECT_EQ(Soon([&] { return reading; }, expected), expected)

} // namespace

TEST_F(StripX11, DocksAtTheBottomAndTheTopReservingExactlyItsBand)
{
    ASSERT_NO_FATAL_FAILURE(Start(true));
    const std::pair<QByteArray, int> shown = Show();
    const QByteArray window = shown.first;
    const int height = shown.second;
    ASSERT_GT(height, 8);

    EXPECT_TRUE(Read(u"xprop"_s, {u"-id"_s, QString::fromLatin1(window), u"_NET_WM_WINDOW_TYPE"_s})
                    .endsWith(u"_NET_WM_WINDOW_TYPE_DOCK"_s));
    EXPECT_SOON_EQ(Numbers(window, u"_NET_WM_DESKTOP"_s), QList<qint64>{0xFFFFFFFF}) << "on every desktop";
    // The window manager rewrites the state list when it maps the window.
    EXPECT_SOON_EQ(Read(u"xprop"_s, {u"-id"_s, QString::fromLatin1(window), u"_NET_WM_STATE"_s})
                       .contains(u"_NET_WM_STATE_ABOVE"_s),
                   true);

    // The default edge: the bottom.
    EXPECT_SOON_EQ(Numbers(window, u"_NET_WM_STRUT_PARTIAL"_s), Strut(0, height, 0, kWidth - 1));
    EXPECT_SOON_EQ(Numbers(window, u"_NET_WM_STRUT"_s), (QList<qint64>{0, 0, 0, height}));
    EXPECT_SOON_EQ(WorkArea(), (QList<qint64>{0, 0, kWidth, kHeight - height}));
    EXPECT_SOON_EQ(Geometry(window), (QList<int>{0, kHeight - height, kWidth, height}));

    ASSERT_EQ(Order("top"), QList<QByteArray>{"docked"});
    EXPECT_SOON_EQ(Numbers(window, u"_NET_WM_STRUT_PARTIAL"_s), Strut(height, 0, kWidth - 1, 0));
    EXPECT_SOON_EQ(WorkArea(), (QList<qint64>{0, height, kWidth, kHeight - height}));
    EXPECT_SOON_EQ(Geometry(window), (QList<int>{0, 0, kWidth, height}));

    ASSERT_EQ(Order("hide"), QList<QByteArray>{"hidden"});
    EXPECT_SOON_EQ(WorkArea(), (QList<qint64>{0, 0, kWidth, kHeight})) << "the band goes with the strip";
}

TEST_F(StripX11, ABarThatComesOnTheSameEdgeKeepsItsPlaceAndTheStripMovesAboveIt)
{
    ASSERT_NO_FATAL_FAILURE(Start(true));
    const std::pair<QByteArray, int> shown = Show();
    const QByteArray window = shown.first;
    const int height = shown.second;
    const QList<qint64> reduced{0, 0, kWidth, kHeight - height};
    ASSERT_EQ(Soon([&] { return WorkArea(); }, reduced), reduced);
    ASSERT_EQ(Order("panel 30").value(0), "panel");
    EXPECT_SOON_EQ(Geometry(window), (QList<int>{0, kHeight - 30 - height, kWidth, height}));
    EXPECT_SOON_EQ(Numbers(window, u"_NET_WM_STRUT_PARTIAL"_s), Strut(0, 30 + height, 0, kWidth - 1));
    EXPECT_SOON_EQ(WorkArea(), (QList<qint64>{0, 0, kWidth, kHeight - 30 - height}));
}

TEST_F(StripX11, AKilledProgramLeavesNoBandBehind)
{
    ASSERT_NO_FATAL_FAILURE(Start(true));
    const QList<qint64> reduced{0, 0, kWidth, kHeight - Show().second};
    ASSERT_EQ(Soon([&] { return WorkArea(); }, reduced), reduced);
    m_probe.kill(); // SIGKILL: nothing of the program runs any more
    m_probe.waitForFinished();
    EXPECT_SOON_EQ(WorkArea(), (QList<qint64>{0, 0, kWidth, kHeight}));
}

TEST_F(StripX11, WithoutAWindowManagerItIsStillABandAlongTheEdge)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    const std::pair<QByteArray, int> shown = Show();
    const QByteArray window = shown.first;
    const int height = shown.second;
    EXPECT_SOON_EQ(Geometry(window), (QList<int>{0, kHeight - height, kWidth, height}));
    ASSERT_EQ(Order("top"), QList<QByteArray>{"docked"});
    EXPECT_SOON_EQ(Geometry(window), (QList<int>{0, 0, kWidth, height}));
}
