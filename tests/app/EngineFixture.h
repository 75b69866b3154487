#pragma once

#include "EngineTestSupport.h"
#include "QuoteSim.h"

#include "app/CEngine.h"
#include "base/CSettings.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/CompanionValues.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

// Monday 8 April 2024, 9:07 in New York.
inline const QDateTime kMonday0907(QDate(2024, 4, 8), QTime(9, 7));

// An engine with recording windows, a hand-driven clock, its own settings and stock list, and
// (after Serve) the local quote server behind every country of URL.ini.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_env = std::make_unique<TestEnvironment>();
        CSettings& settings = GetSettings();
        settings.SetDefaults(false);
        settings.type = QStringLiteral("LAN");
        settings.readBroadcast = 1;
        settings.broadcastInterval = 30;
        settings.checkRules = 1;
        settings.rulesInterval = 1;
        settings.activeDays = 127;
        settings.activeStart = CSettings::TimeOfDay(0, 0);
        settings.activeStop = CSettings::TimeOfDay(23, 59);
        settings.show = 0;
        settings.alwaysShow = 0;
        StockList::SetDisplayOrder(nullptr);
        StockList::DeleteAll();
        StoreStockSortCriteria(0);
        StoreStockSortOrder(0);
        m_clock.now = kMonday0907;
        m_clock.tick = 10LL * 3600 * 1000; // the system has run for ten hours
    }
    void TearDown() override
    {
        m_engine.reset();
        StockList::SetDisplayOrder(nullptr);
        StockList::DeleteAll();
    }

    // Starts the quote server and points URL.ini at it.
    void Serve(const QStringList& arguments = {}, bool chart = false)
    {
        m_server = std::make_unique<QuoteSim>(arguments);
        ASSERT_TRUE(m_server->IsRunning());
        m_env->Set("QUORVANE_URL_INI", WriteQuoteSimUrlIni(m_env->Root(), *m_server, chart).toUtf8());
    }

    CEngine& Engine()
    {
        if (!m_engine) {
            m_engine =
                std::make_unique<CEngine>(m_view, m_broadcaster, m_rules, *m_dialupLink, m_clock, &m_reachability);
            m_engine->Fetcher().SetTimeouts(2000, 2);
        }
        return *m_engine;
    }

    static Stock* AddStock(const QString& name, const QString& country = QStringLiteral("United States"))
    {
        return StockList::Add(name, QString(), name, country);
    }

    QString Stamp() const { return CEngine::StatusStamp(m_clock.now); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QuoteSim> m_server;
    RecordingView m_view;
    RecordingBroadcaster m_broadcaster;
    RecordingRules m_rules;
    FakeDialup m_dialup;
    IDialupLink* m_dialupLink = &m_dialup;
    FixedReachability m_reachability;
    ManualClock m_clock;
    std::unique_ptr<CEngine> m_engine;
};
