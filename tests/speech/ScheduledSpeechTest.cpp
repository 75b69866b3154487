// The engine's schedule driving the real broadcast and announcements: quotes from the local quote
// server, the rule check, and the character's requests in the order the user would hear them.

#include "SpeechTestSupport.h"

#include "QuoteSim.h"
#include "app/CEngine.h"
#include "app/EngineTestSupport.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/AlertList.h"
#include "rules/AnnouncementList.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"
#include "rules/IAlertSink.h"
#include "rules/RuleChecker.h"
#include "rules/RuleList.h"
#include "speech/CBroadcaster.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The Alerts page without its window: the list side only, counting new alerts.
class CountingAlerts final : public IAlertSink
{
public:
    void RaiseAlert(const QString& description, const QString& price, const QString& when, const QString& country,
                    const QString& stockName) override
    {
        InsertNewAlert(description, price, when, country, stockName);
        ++raised;
    }
    void RefreshAlert(int index, const QString& price, const QString& when) override
    {
        RefreshAlertAt(index, price, when);
    }
    int raised = 0;
};

class ScheduledSpeech : public SpeechTest
{
protected:
    void SetUp() override
    {
        SpeechTest::SetUp();
        CSettings& settings = GetSettings();
        settings.type = u"LAN"_s;
        settings.format = u"Line for STOCK"_s;
        settings.sayTime = 0;
        settings.readAnnouncments = 1;
        settings.activeDays = 127;
        settings.activeStart = CSettings::TimeOfDay(0, 0);
        settings.activeStop = CSettings::TimeOfDay(23, 59);
        StockList::DeleteAll();
        DeleteAllRules();
        DeleteAllAnnouncements();
        RemoveAllAlerts();
        m_clock.now = QDateTime(QDate(2024, 4, 8), QTime(9, 30));
        m_clock.tick = 3600 * 1000;

        m_server = std::make_unique<QuoteSim>(QStringList{u"--fault"_s, u"AAA:body=23.50,+0.25,880,4/5/2002,4:05pm"_s,
                                                          u"--fault"_s, u"BBB:body=7.00,-1.00,10,4/5/2002,4:05pm"_s});
        ASSERT_TRUE(m_server->IsRunning());
        env.Set("QUORVANE_URL_INI", WriteQuoteSimUrlIni(env.Root(), *m_server).toUtf8());
        m_engine = std::make_unique<CEngine>(m_view, m_broadcaster, m_rules, m_dialup, m_clock, &m_reachability);
        m_engine->Fetcher().SetTimeouts(2000, 2);
    }
    void TearDown() override
    {
        m_engine.reset();
        StockList::DeleteAll();
        DeleteAllRules();
        DeleteAllAnnouncements();
        RemoveAllAlerts();
        SpeechTest::TearDown();
    }

    void AddRuleWithAnnouncement()
    {
        auto announcement = std::make_unique<CAnnouncement>();
        announcement->SetName(u"Rise"_s);
        announcement->SetGestureBefore(u"GraphUp"_s);
        announcement->SetSayBefore(u"Look at STOCK"_s);
        announcement->SetGestureAfter(u"(None)"_s);
        announcement->SetSayAfter(u"Done"_s);
        ASSERT_TRUE(InsertAnnouncement(0, std::move(announcement)));
        auto rule = std::make_unique<CRule>();
        rule->SetStockName(u"AAA"_s);
        rule->SetAttribute(u"Price"_s);
        rule->SetOperator(CRule::Greater);
        rule->SetNumber(u"20"_s);
        rule->SetAnnouncement(u"Rise"_s);
        ASSERT_TRUE(InsertRule(0, std::move(rule)));
    }

    static QStringList Opening() { return {u"MoveTo 896,0"_s, u"Show fast"_s, u"Play Wave"_s}; }
    static QStringList Hidden() { return {u"Hide fast"_s}; }
    static QStringList Said(const QString& text, const QString& gesture = QString())
    {
        QStringList requests{u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s};
        if (!gesture.isEmpty())
            requests.append(u"Play "_s + gesture);
        requests.append(Spoken(text));
        return requests;
    }

    RecordingView m_view;
    FakeDialup m_dialup;
    FixedReachability m_reachability;
    ManualClock m_clock;
    CountingAlerts m_alerts;
    CBroadcaster m_broadcaster{manager};
    RuleChecker m_rules{m_alerts, manager};
    std::unique_ptr<QuoteSim> m_server;
    std::unique_ptr<CEngine> m_engine;
};

TEST_F(ScheduledSpeech, UpdateThenBroadcastThenAnnouncementThenHide)
{
    StockList::Add(u"AAA"_s, QString(), u"AAA"_s, u"United States"_s);
    StockList::Add(u"BBB"_s, QString(), u"BBB"_s, u"United States"_s)->SetState(u"Disabled"_s);
    AddRuleWithAnnouncement();

    m_engine->RunScheduled(m_clock.now, true, true, true, false);
    EXPECT_EQ(control.Take(), Opening() + Said(u"Here are the latest prices."_s) + Said(u"Line for AAA"_s) +
                                  Said(u"Thank you."_s) + Said(u"Look at AAA"_s, u"GraphUp"_s) +
                                  Said(u"Done"_s, u"(None)"_s) + Hidden());
    EXPECT_EQ(m_alerts.raised, 1);
    EXPECT_EQ(StockList::At(1)->ReportedPrice(), u"7."_s);

    // The next scheduled broadcast finds the same prices: no report, no announcement (the rule's
    // alert exists and announcements are read once), only the time would be said.
    GetSettings().readOnce = 1;
    m_engine->RunScheduled(m_clock.now, true, true, true, false);
    EXPECT_EQ(control.Take(), Hidden());
}

TEST_F(ScheduledSpeech, QuietScheduledRunIsSilentButTheBroadcastCommandSpeaks)
{
    StockList::Add(u"AAA"_s, QString(), u"AAA"_s, u"United States"_s);
    SetQuiet(true);
    m_engine->RunScheduled(m_clock.now, true, true, false, false);
    EXPECT_EQ(control.Take(), Hidden()); // hiding is not speaking
    EXPECT_EQ(StockList::At(0)->ReportedPrice(), u"23.5"_s);

    m_engine->BroadcastCommand();
    EXPECT_EQ(control.Take(), Opening() + Said(u"Prices haven't changed."_s) + Hidden());
}

TEST_F(ScheduledSpeech, AlwaysShownCharacterStaysAfterTheBroadcastCommand)
{
    GetSettings().alwaysShow = 1;
    m_engine->BroadcastCommand(); // an empty list: nothing moved
    EXPECT_EQ(control.Take(), Opening() + Said(u"Prices haven't changed."_s));
}

} // namespace
