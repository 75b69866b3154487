// The start-up data load and the sort / quiet values kept beside the alerts.

#include "rules/StartupData.h"
#include "base/CSettings.h"
#include "base/SettingsStore.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/AlertList.h"
#include "rules/AnnouncementList.h"
#include "rules/CAnnouncement.h"
#include "rules/CompanionValues.h"
#include "rules/RuleList.h"

#include "DataFileTestSupport.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace DataFileTestSupport;

namespace {

class StartupDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedSettings = GetSettings();
        Clear();
        RecordingMessagePresenter::Instance().Clear();
    }
    void TearDown() override
    {
        Clear();
        GetSettings() = m_savedSettings;
        RecordingMessagePresenter::Instance().Clear();
    }
    static void Clear() { DeleteAllData(); }

    TestEnvironment m_environment;
    CSettings m_savedSettings;
};

} // namespace

TEST_F(StartupDataTest, ReadsEveryFileAndTheThreeValues)
{
    WriteBytes(PathOf(u"Quorvan"_s, u".csv"_s), "Quorvan File Version : 2\r\n"
                                                "Acme,ACME,25.5,1000,0,Enabled,0.5,2.00,United States,ET,\r\n");
    WriteBytes(PathOf(u"Rules"_s, u".csv"_s), "Quorvan Rule File Version : 1\r\nAcme,Price,>,25,Cheer\r\n");
    WriteBytes(PathOf(u"Alerts"_s, u".csv"_s),
               "Quorvan Alert File Version : 2\r\nAcme (Price) > 25,25.5,Fri,United States,Acme\r\n");
    WriteBytes(PathOf(u"Announce"_s, u".csv"_s), "Quorvan Announcement File Version : 1\r\nCheer,,Hi,,\r\n");
    WriteNumber(u"Stock Sort"_s, u"Criteria"_s, 3);
    WriteNumber(u"Stock Sort"_s, u"Order"_s, 1);
    WriteNumber(u"Character"_s, u"Globally Disable"_s, 1);

    EXPECT_TRUE(LoadStartupData());
    ASSERT_EQ(StockList::Count(), 1);
    EXPECT_EQ(StockList::At(0)->Name(), u"Acme"_s);
    EXPECT_EQ(GetRuleCount(), 1);
    EXPECT_EQ(GetAlertCount(), 1);
    EXPECT_EQ(QueryStockSortCriteria(), 3);
    EXPECT_EQ(QueryStockSortOrder(), 1);
    EXPECT_TRUE(QueryGloballyDisabled());
    // Announcements wait for their first use.
    EXPECT_EQ(GetAnnouncementCount(), 1);

    DeleteAllData();
    EXPECT_EQ(StockList::Count(), 0);
    EXPECT_EQ(GetRuleCount(), 0);
    EXPECT_EQ(GetAlertCount(), 0);
}

TEST_F(StartupDataTest, WithoutAStockFileTheDefaultStocksAreAdded)
{
    GetSettings().defaultCountry = u"United States"_s;
    EXPECT_FALSE(LoadStartupData());
    EXPECT_GE(StockList::Count(), 2);
    EXPECT_EQ(GetRuleCount(), 0);
    EXPECT_EQ(GetAlertCount(), 0);
    EXPECT_EQ(QueryStockSortCriteria(), 0);
    EXPECT_EQ(QueryStockSortOrder(), 0);
    EXPECT_FALSE(QueryGloballyDisabled());
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}

TEST_F(StartupDataTest, AFirstStartGetsTheStarterAnnouncementsOnlyOnce)
{
    const QString starter = QStringLiteral(QUORVANE_SOURCE_DIR "/data/Announce.csv");
    ASSERT_TRUE(InstallStarterAnnouncements(starter));
    ASSERT_GE(GetAnnouncementCount(), 3);
    for (int i = 0; i < GetAnnouncementCount(); ++i) {
        const CAnnouncement* announcement = GetAnnouncement(i);
        EXPECT_FALSE(announcement->Name().isEmpty() || announcement->GestureBefore().isEmpty());
        EXPECT_TRUE(announcement->SayBefore().contains(u"STOCK"_s)) << announcement->SayBefore().toStdString();
    }
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());

    // The user removed them all: the file stays empty.
    while (GetAnnouncementCount() > 0)
        RemoveAnnouncement(0);
    ASSERT_TRUE(SaveAnnouncements());
    EXPECT_FALSE(InstallStarterAnnouncements(starter));
    // The backup that saving left also tells of an earlier start.
    ASSERT_TRUE(QFile::remove(PathOf(u"Announce"_s, u".csv"_s)));
    ASSERT_TRUE(QFile::exists(PathOf(u"Announce"_s, u".bak"_s)));
    EXPECT_FALSE(InstallStarterAnnouncements(starter));
    EXPECT_FALSE(QFile::exists(PathOf(u"Announce"_s, u".csv"_s)));
}

TEST_F(StartupDataTest, HandEditedValuesOutOfRangeFallBack)
{
    WriteNumber(u"Stock Sort"_s, u"Criteria"_s, 99);
    WriteNumber(u"Stock Sort"_s, u"Order"_s, -4);
    WriteText(u"Character"_s, u"Globally Disable"_s, u"yes"_s);
    LoadCompanionValues();
    EXPECT_EQ(QueryStockSortCriteria(), 0);
    EXPECT_EQ(QueryStockSortOrder(), 0);
    EXPECT_FALSE(QueryGloballyDisabled());
}

TEST_F(StartupDataTest, ValuesAreWrittenOnlyWhenTheyChange)
{
    LoadCompanionValues();
    StoreStockSortCriteria(2);
    StoreStockSortOrder(1);
    StoreGloballyDisabled(true);
    EXPECT_EQ(ReadNumber(u"Stock Sort"_s, u"Criteria"_s, -1), 2);
    EXPECT_EQ(ReadNumber(u"Stock Sort"_s, u"Order"_s, -1), 1);
    EXPECT_EQ(ReadNumber(u"Character"_s, u"Globally Disable"_s, -1), 1);

    // Storing the held value again does not touch the store.
    WriteNumber(u"Stock Sort"_s, u"Criteria"_s, 4);
    StoreStockSortCriteria(2);
    EXPECT_EQ(ReadNumber(u"Stock Sort"_s, u"Criteria"_s, -1), 4);
    EXPECT_EQ(QueryStockSortCriteria(), 2);

    StoreGloballyDisabled(false);
    EXPECT_FALSE(QueryGloballyDisabled());
    EXPECT_EQ(ReadNumber(u"Character"_s, u"Globally Disable"_s, -1), 0);
}
