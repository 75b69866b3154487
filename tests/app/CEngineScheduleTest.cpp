// The schedule: active hours, the timer's due decisions and what RunScheduled runs.

#include "EngineFixture.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

QDateTime At(int hour, int minute, const QDate& day = QDate(2024, 4, 8))
{
    return QDateTime(day, QTime(hour, minute));
}

} // namespace

struct ActiveCase
{
    int hour;
    int minute;
    bool active;
};

class ActiveHoursTest : public ::testing::TestWithParam<ActiveCase>
{};

TEST_P(ActiveHoursTest, HoursOverMidnightIncludeBothEnds)
{
    const ActiveCase& c = GetParam();
    EXPECT_EQ(CEngine::IsWithinActiveHours(At(c.hour, c.minute), 127, CSettings::TimeOfDay(22, 0),
                                           CSettings::TimeOfDay(6, 0)),
              c.active)
        << c.hour << ":" << c.minute;
}

INSTANTIATE_TEST_SUITE_P(NightShift, ActiveHoursTest,
                         ::testing::Values(ActiveCase{23, 30, true}, ActiveCase{5, 59, true}, ActiveCase{6, 1, false},
                                           ActiveCase{21, 59, false}, ActiveCase{6, 0, true}, ActiveCase{22, 0, true},
                                           ActiveCase{0, 0, true}, ActiveCase{12, 0, false}));

TEST(ActiveHours, DayHoursIncludeBothEnds)
{
    const qint32 start = CSettings::TimeOfDay(9, 30);
    const qint32 stop = CSettings::TimeOfDay(16, 0);
    EXPECT_FALSE(CEngine::IsWithinActiveHours(At(9, 29), 127, start, stop));
    EXPECT_TRUE(CEngine::IsWithinActiveHours(At(9, 30), 127, start, stop));
    EXPECT_TRUE(CEngine::IsWithinActiveHours(At(16, 0), 127, start, stop));
    EXPECT_FALSE(CEngine::IsWithinActiveHours(At(16, 1), 127, start, stop));
    // A start equal to the stop: that one minute.
    EXPECT_TRUE(CEngine::IsWithinActiveHours(At(9, 30), 127, start, start));
    EXPECT_FALSE(CEngine::IsWithinActiveHours(At(9, 31), 127, start, start));
}

TEST(ActiveHours, WeekdayBitsDecideFirst)
{
    const qint32 start = CSettings::TimeOfDay(0, 0);
    const qint32 stop = CSettings::TimeOfDay(23, 59);
    const QDate saturday(2024, 4, 13);
    const QDate sunday(2024, 4, 14);
    const QDate monday(2024, 4, 8);
    // 62: Monday to Friday.
    for (const int hour : {0, 9, 12, 23})
        EXPECT_FALSE(CEngine::IsWithinActiveHours(At(hour, 0, saturday), 62, start, stop)) << hour;
    EXPECT_FALSE(CEngine::IsWithinActiveHours(At(12, 0, sunday), 62, start, stop));
    EXPECT_TRUE(CEngine::IsWithinActiveHours(At(12, 0, monday), 62, start, stop));
    EXPECT_TRUE(CEngine::IsWithinActiveHours(At(12, 0, QDate(2024, 4, 12)), 62, start, stop)); // Friday
    // 65: Sunday and Saturday only.
    EXPECT_TRUE(CEngine::IsWithinActiveHours(At(12, 0, saturday), 65, start, stop));
    EXPECT_TRUE(CEngine::IsWithinActiveHours(At(12, 0, sunday), 65, start, stop));
    EXPECT_FALSE(CEngine::IsWithinActiveHours(At(12, 0, monday), 65, start, stop));
    EXPECT_FALSE(CEngine::IsWithinActiveHours(At(12, 0, monday), 0, start, stop));
}

TEST_F(EngineTest, ComputeActiveShowsTheStateAndTheStrip)
{
    CSettings& settings = GetSettings();
    settings.activeStart = CSettings::TimeOfDay(9, 30);
    settings.activeStop = CSettings::TimeOfDay(16, 0);
    settings.show = 1;
    settings.hideInactive = 1;
    EXPECT_TRUE(Engine().ComputeActive(At(10, 0)));
    EXPECT_TRUE(Engine().IsActive());
    EXPECT_TRUE(m_view.stripShown);
    EXPECT_FALSE(Engine().ComputeActive(At(17, 0)));
    EXPECT_FALSE(m_view.stripShown) << "hidden while inactive";
    EXPECT_EQ(m_view.activeStates, (std::vector<bool>{true, false}));
    settings.hideInactive = 0;
    Engine().ComputeActive(At(17, 0));
    EXPECT_TRUE(m_view.stripShown);
    settings.show = 0;
    Engine().ComputeActive(At(10, 0));
    EXPECT_FALSE(m_view.stripShown) << "the user's choice holds";
    Engine().ComputeActive(At(11, 0));
    EXPECT_EQ(m_view.stripShows, 2);
    EXPECT_EQ(m_view.stripHides, 2);
}

struct ScheduledCase
{
    const char* name;
    bool active;
    bool broadcastDue;
    bool rulesDue;
    bool force;
    bool quoteArrives;
    bool updates;
    bool broadcasts;
    std::vector<bool> ruleChecks;
    int hides;
};

class RunScheduledTest : public EngineTest, public ::testing::WithParamInterface<ScheduledCase>
{};

TEST_P(RunScheduledTest, RunsWhatIsDue)
{
    const ScheduledCase& c = GetParam();
    Serve(c.quoteArrives ? QStringList() : QStringList{u"--fault"_s, u"*:status=500"_s});
    AddStock(u"AAA"_s);
    m_broadcaster.priceChanged = false;
    Engine().RunScheduled(m_clock.now, c.active, c.broadcastDue, c.rulesDue, c.force);
    EXPECT_EQ(m_server->Requests() > 0, c.updates);
    ASSERT_EQ(m_broadcaster.broadcasts.size(), c.broadcasts ? 1u : 0u);
    if (c.broadcasts) {
        EXPECT_EQ(m_broadcaster.broadcasts[0].time, m_clock.now);
        EXPECT_FALSE(m_broadcaster.broadcasts[0].changed);
        EXPECT_EQ(m_broadcaster.broadcasts[0].force, c.force);
    }
    EXPECT_EQ(m_rules.checks, c.ruleChecks);
    EXPECT_EQ(m_broadcaster.hides, c.hides);
}

INSTANTIATE_TEST_SUITE_P(
    Decisions, RunScheduledTest,
    ::testing::Values(
        //            name        active bDue  rDue   force  quote  update bcast  rules          hides
        ScheduledCase{"NothingDue", true, false, false, false, true, false, false, {}, 0},
        ScheduledCase{"Inactive", false, true, true, false, true, false, false, {}, 0},
        ScheduledCase{"BroadcastDue", true, true, false, false, true, true, true, {}, 1},
        ScheduledCase{"RulesDue", true, false, true, false, true, true, false, {false}, 1},
        ScheduledCase{"BothDue", true, true, true, false, true, true, true, {false}, 1},
        ScheduledCase{"FailedUpdateSkipsAll", true, true, true, false, false, true, false, {}, 0},
        ScheduledCase{"ForceWhenInactive", false, false, false, true, false, true, true, {true}, 1},
        ScheduledCase{"ForceRunsRulesForced", true, false, true, true, true, true, true, {true}, 1}),
    [](const ::testing::TestParamInfo<ScheduledCase>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, CharacterStaysWhenAlwaysShown)
{
    Serve();
    AddStock(u"AAA"_s);
    GetSettings().alwaysShow = 1;
    Engine().RunScheduled(m_clock.now, true, true, true, false);
    EXPECT_EQ(m_broadcaster.broadcasts.size(), 1u);
    EXPECT_EQ(m_broadcaster.hides, 0);
}

TEST_F(EngineTest, StartRunsTheFirstUpdateAndStartsTheTimer)
{
    Serve();
    AddStock(u"AAA"_s);
    Engine().Start();
    EXPECT_TRUE(Engine().IsTimerRunning());
    ASSERT_EQ(m_broadcaster.broadcasts.size(), 1u);
    EXPECT_EQ(m_broadcaster.broadcasts[0].time, kMonday0907);
    EXPECT_EQ(m_rules.checks, std::vector<bool>{false});
    EXPECT_EQ(Engine().LastBroadcastTick(), 0) << "the start does not set the broadcast tick";
    m_clock.Advance(Engine().TimerIntervalMs());
    Engine().Tick();
    EXPECT_TRUE(Engine().IsTimerRunning()) << "each event arms the next";
    Engine().Stop();
    EXPECT_FALSE(Engine().IsTimerRunning());
    Engine().Tick();
    EXPECT_FALSE(Engine().IsTimerRunning()) << "a stopped schedule stays stopped";
}

TEST_F(EngineTest, StartOutsideTheActiveHoursOnlyStartsTheTimer)
{
    Serve();
    AddStock(u"AAA"_s);
    GetSettings().activeDays = 62;
    m_clock.now = QDateTime(QDate(2024, 4, 13), QTime(10, 0)); // Saturday
    Engine().Start();
    EXPECT_TRUE(Engine().IsTimerRunning());
    EXPECT_EQ(m_server->Requests(), 0);
    EXPECT_TRUE(m_broadcaster.broadcasts.empty());
    EXPECT_EQ(m_view.activeStates, std::vector<bool>{false});
}

// Timer events a little more than a minute apart, as a real timer fires them.
constexpr qint64 kTimerPeriod = 60003;

TEST_F(EngineTest, BroadcastsFallOnMultiplesOfTheInterval)
{
    Serve();
    AddStock(u"AAA"_s);
    GetSettings().checkRules = 0;
    Engine().Start(); // 09:07
    while (m_clock.now.time() < QTime(10, 31)) {
        m_clock.Advance(kTimerPeriod);
        Engine().Tick();
    }
    QStringList times;
    for (const auto& call : m_broadcaster.broadcasts)
        times << call.time.toString(u"hh:mm"_s);
    EXPECT_EQ(times, (QStringList{u"09:07"_s, u"09:30"_s, u"10:00"_s, u"10:30"_s}));
    EXPECT_TRUE(m_rules.checks.empty());
}

// Qt's precise timers fire exactly their interval after they were armed, without the drift of a
// system timer: the strict comparisons of the tick counter must still let every due broadcast and
// rule check through.
TEST_F(EngineTest, AnExactTimerLosesNoBroadcastAndNoRuleCheck)
{
    Serve();
    AddStock(u"AAA"_s);
    Engine().Start(); // 09:07
    size_t ticks = 0;
    while (m_clock.now.time() < QTime(10, 31)) {
        m_clock.Advance(Engine().TimerIntervalMs());
        Engine().Tick();
        ++ticks;
    }
    QStringList times;
    for (const auto& call : m_broadcaster.broadcasts)
        times << call.time.toString(u"hh:mm"_s);
    EXPECT_EQ(times, (QStringList{u"09:07"_s, u"09:30"_s, u"10:00"_s, u"10:30"_s}));
    EXPECT_EQ(m_rules.checks.size(), ticks + 1) << "the rules are due every minute";
}

TEST_F(EngineTest, BroadcastIntervalIsStrict)
{
    Serve();
    AddStock(u"AAA"_s);
    CSettings& settings = GetSettings();
    settings.broadcastInterval = 60;
    settings.checkRules = 0;
    m_clock.now = At(9, 0);
    Engine().Tick();
    ASSERT_EQ(m_broadcaster.broadcasts.size(), 1u);
    const qint64 broadcastTick = m_clock.tick;
    EXPECT_EQ(Engine().LastBroadcastTick(), broadcastTick);

    // 10:00, exactly 3 600 000 ms later: not yet.
    m_clock.now = At(10, 0);
    m_clock.tick = broadcastTick + 3600000;
    Engine().Tick();
    EXPECT_EQ(m_broadcaster.broadcasts.size(), 1u);
    for (int minute = 1; minute < 60; ++minute) {
        m_clock.now = At(10, minute);
        m_clock.tick = broadcastTick + 3600000 + minute * 60000;
        Engine().Tick();
    }
    EXPECT_EQ(m_broadcaster.broadcasts.size(), 1u) << "only on the hour";
    m_clock.now = At(11, 0);
    m_clock.tick = broadcastTick + 7200000;
    Engine().Tick();
    ASSERT_EQ(m_broadcaster.broadcasts.size(), 2u);
    EXPECT_EQ(m_broadcaster.broadcasts[1].time, At(11, 0));
}

TEST_F(EngineTest, IntervalsBelowOneCountAsOne)
{
    Serve();
    AddStock(u"AAA"_s);
    CSettings& settings = GetSettings();
    settings.broadcastInterval = 0;
    settings.rulesInterval = -5;
    for (int i = 0; i < 3; ++i) {
        m_clock.Advance(kTimerPeriod);
        Engine().Tick();
    }
    EXPECT_EQ(m_broadcaster.broadcasts.size(), 3u);
    EXPECT_EQ(m_rules.checks, (std::vector<bool>{false, false, false}));
}

TEST_F(EngineTest, RulesAreDueAfterTheirInterval)
{
    Serve();
    AddStock(u"AAA"_s);
    CSettings& settings = GetSettings();
    settings.readBroadcast = 0;
    settings.rulesInterval = 5;
    for (int i = 0; i < 16; ++i) {
        m_clock.Advance(60000);
        Engine().Tick();
    }
    // Due at the first tick (the counter started long ago), then strictly after each 5 minutes:
    // ticks 1, 7, 13.
    EXPECT_EQ(m_rules.checks.size(), 3u);
    EXPECT_TRUE(m_broadcaster.broadcasts.empty());
}

TEST_F(EngineTest, OutsideTheActiveHoursTicksAdvanceButNothingRuns)
{
    Serve();
    AddStock(u"AAA"_s);
    CSettings& settings = GetSettings();
    settings.activeStart = CSettings::TimeOfDay(10, 0);
    settings.activeStop = CSettings::TimeOfDay(16, 0);
    m_clock.now = At(9, 30);
    Engine().Tick();
    EXPECT_EQ(Engine().LastBroadcastTick(), m_clock.tick) << "the decision is taken";
    EXPECT_EQ(m_server->Requests(), 0);
    EXPECT_TRUE(m_broadcaster.broadcasts.empty());
    while (m_clock.now.time() < QTime(10, 0)) {
        m_clock.Advance(kTimerPeriod);
        Engine().Tick();
    }
    ASSERT_EQ(m_broadcaster.broadcasts.size(), 1u) << "the first broadcast comes at the next matching minute";
    EXPECT_EQ(m_broadcaster.broadcasts[0].time.time().minute(), 0);
}

TEST_F(EngineTest, JustAfterTheSystemStartedNoBroadcastIsDue)
{
    Serve();
    AddStock(u"AAA"_s);
    GetSettings().checkRules = 0;
    m_clock.tick = 5 * 60000;
    m_clock.now = At(9, 30);
    Engine().Tick();
    EXPECT_TRUE(m_broadcaster.broadcasts.empty());
}
