// The main window with real quotes from the local quote server: the first update and broadcast at
// start-up, Exit while a slow download runs, and a second run that finds everything as it was.

#include "FrameTestSupport.h"
#include "QuoteSim.h"

#include "app/CEngine.h"
#include "base/CommandIds.h"
#include "base/WindowPlacementStore.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/CompanionValues.h"

#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

class FrameQuotes : public FrameTest
{
protected:
    void Serve(const QStringList& arguments = {})
    {
        m_server = std::make_unique<QuoteSim>(arguments);
        ASSERT_TRUE(m_server->IsRunning());
        m_env.Set("QUORVANE_URL_INI", WriteQuoteSimUrlIni(m_env.Root(), *m_server).toUtf8());
    }

    static QStringList StockNames()
    {
        QStringList names;
        for (int index = 0; index < StockList::Count(); ++index)
            names.append(StockList::At(index, false)->Name());
        return names;
    }

    std::unique_ptr<QuoteSim> m_server;
};

TEST_F(FrameQuotes, TheFirstStartFetchesTheDefaultIndicesAndBroadcastsThem)
{
    Serve();
    StartAndSettle();
    EXPECT_TRUE(Frame()->StatusText().startsWith(u"Updated: "_s)) << Frame()->StatusText().toStdString();
    ASSERT_GT(StockList::Count(), 0) << "the default indices of the default country";
    for (int index = 0; index < StockList::Count(); ++index)
        EXPECT_FALSE(StockList::At(index, false)->Price().isEmpty()) << index;
    EXPECT_EQ(m_server->Requests(), StockList::Count());
    EXPECT_TRUE(QFile::exists(m_env.DataHome() + u"/Quorvane/Quorvan.csv"_s)) << "the stock file is written";

    const QStringList log = m_agent->Take();
    const QString joined = log.join(u'|');
    EXPECT_TRUE(log.contains(u"Play Wave"_s)) << "the character greets: " << joined.toStdString();
    EXPECT_TRUE(joined.contains(u"The time now is, "_s));
    EXPECT_TRUE(joined.contains(u"Here are the latest prices."_s));
    EXPECT_TRUE(joined.contains(u"Thank you."_s));
    EXPECT_LT(log.indexOf(u"Play Wave"_s), log.indexOf(QRegularExpression(u"Speak .*Thank you\\."_s)));
    EXPECT_TRUE(log.last().startsWith(u"Hide"_s)) << "hidden after the scheduled work";
}

TEST_F(FrameQuotes, ExitDuringASlowDownloadWaitsForItBehindTheWaitDialog)
{
    NoScheduledWork();
    Serve({u"--fault"_s, u"*:delay=1500*1"_s});
    StartAndSettle();
    ASSERT_GT(StockList::Count(), 1);

    bool exitGiven = false;
    bool waitShown = false;
    bool closedAtOnce = true;
    QString waitText;
    QElapsedTimer sinceExit;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (exitGiven || !EngineWnd()->Engine()->IsDownloadRunning())
            return;
        exitGiven = true;
        sinceExit.start();
        Frame()->OnCommand(CommandId::Exit);
        QCoreApplication::processEvents();
        closedAtOnce = Frame()->IsClosed();
        if (QDialog* wait = Frame()->WaitDialog()) {
            waitShown = wait->isVisible();
            if (auto* label = wait->findChild<QLabel*>(u"waitText"_s))
                waitText = label->text();
        }
    });
    poll.start();

    QSignalSpy closed(Frame(), &CMainFrame::Closed);
    QTimer::singleShot(0, Frame(), [this] { Frame()->OnCommand(CommandId::Broadcast); });
    ASSERT_TRUE(closed.wait(20000));
    ASSERT_TRUE(exitGiven);
    EXPECT_FALSE(closedAtOnce) << "Exit waits for the download";
    EXPECT_TRUE(waitShown);
    EXPECT_EQ(waitText, u"Please wait while Quorvane finishes downloading the current stock quote."_s);
    EXPECT_GT(sinceExit.elapsed(), 500) << "closed only once the answer came";
    EXPECT_EQ(Frame()->WaitDialog(), nullptr);
    EXPECT_EQ(m_server->Requests(), 1) << "no further stock is fetched after Exit";
    EXPECT_TRUE(Frame()->IsClosed());
}

TEST_F(FrameQuotes, QuitAndStartAgainFindsEverythingAsItWas)
{
    Serve();
    StartAndSettle();
    const QStringList names = StockNames();
    ASSERT_FALSE(names.isEmpty());
    const QString firstPrice = StockList::At(0, false)->Price();
    Frame()->setGeometry(QRect(40, 30, 620, 470));
    Frame()->Action(CommandId::Quiet)->trigger();
    ASSERT_TRUE(QueryGloballyDisabled());
    QSignalSpy closed(Frame(), &CMainFrame::Closed);
    Frame()->OnCommand(CommandId::Exit);
    ASSERT_TRUE(closed.wait(10000));
    EXPECT_EQ(StockList::Count(), 0) << "the lists end with the window";
    m_app.reset();

    NoScheduledWork();
    StartAndSettle();
    EXPECT_EQ(Frame()->geometry(), QRect(40, 30, 620, 470));
    EXPECT_EQ(StockNames(), names);
    EXPECT_EQ(StockList::At(0, false)->Price(), firstPrice) << "the prices of the last run, from the stock file";
    EXPECT_TRUE(Frame()->Action(CommandId::Quiet)->isChecked());
    EXPECT_TRUE(QueryGloballyDisabled());
}

} // namespace
