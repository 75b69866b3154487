// The three data files of rules, alerts and announcements: headers, versions, the backup, saving.

#include "rules/AlertList.h"
#include "rules/AnnouncementList.h"
#include "rules/CAlert.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"
#include "rules/RuleList.h"

#include "DataFileTestSupport.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using namespace DataFileTestSupport;

namespace {

void ClearLists()
{
    DeleteAllRules();
    RemoveAllAlerts();
    DeleteAllAnnouncements();
}

// What distinguishes the three files in the tests that they share.
struct ListFile
{
    const char* label;
    QString name;
    QByteArray header;  // up to the version
    int version;        // written, and the newest read
    QByteArray record;  // one line of the file
    QString backupText; // and its caption
    QString warningCaption;
    QString newerText;
    QString errorCaption;
    QString saveErrorText;
    std::function<bool()> load;
    std::function<bool()> save;
    std::function<int()> count;
    std::function<void()> addRecord;
};

void PrintTo(const ListFile& file, std::ostream* out)
{
    *out << file.label;
}

const ListFile kRules{
    "Rules",
    u"Rules"_s,
    "Quorvan Rule File Version : ",
    1,
    "Acme,Price,>,25,Cheer",
    u"Backup Rule file used"_s,
    u"Quorvane File Warning"_s,
    u"A newer version of the application wrote the rule file."_s,
    u"Quorvane File Error"_s,
    u"An error occurred saving the rules."_s,
    [] { return LoadRules(); },
    [] { return SaveRules(); },
    [] { return GetRuleCount(); },
    [] {
        auto rule = std::make_unique<CRule>();
        rule->SetStockName(u"Acme"_s);
        InsertRule(GetRuleCount(), std::move(rule));
    },
};

const ListFile kAlerts{
    "Alerts",
    u"Alerts"_s,
    "Quorvan Alert File Version : ",
    2,
    "Acme (Price) > 25,25.5,Fri 4:05 PM ET,United States,Acme",
    u"Backup Alert file used"_s,
    u"Quorvane Alert File Warning"_s,
    u"A newer version of the application wrote the alert file."_s,
    u"Quorvane Alert File Error"_s,
    u"An error occurred saving the alerts."_s,
    [] { return LoadAlerts(); },
    [] { return SaveAlerts(); },
    [] { return GetAlertCount(); },
    [] { InsertNewAlert(u"d"_s, u"1"_s, u"w"_s, u"United States"_s, u"Acme"_s); },
};

const ListFile kAnnouncements{
    "Announcements",
    u"Announce"_s,
    "Quorvan Announcement File Version : ",
    1,
    "Cheer,Wave,STOCK is up,(None),STOCK is now PRICE.",
    u"Backup Announcement file used"_s,
    u"Quorvane Announcement File Warning"_s,
    u"A newer version of the application wrote the Announcement file."_s,
    u"Quorvane Announcement File Error"_s,
    u"An error occurred saving the Announcements."_s,
    [] { return LoadAnnouncements(); },
    [] { return SaveAnnouncements(); },
    [] { return GetAnnouncementCount(); },
    [] {
        auto announcement = std::make_unique<CAnnouncement>();
        announcement->SetName(u"(New)"_s);
        InsertAnnouncement(GetAnnouncementCount(), std::move(announcement));
    },
};

class ListFileTest : public ::testing::TestWithParam<ListFile>
{
protected:
    void SetUp() override
    {
        ClearLists();
        RecordingMessagePresenter::Instance().Clear();
    }
    void TearDown() override
    {
        ClearLists();
        RecordingMessagePresenter::Instance().Clear();
    }

    QString Main() const { return PathOf(GetParam().name, u".csv"_s); }
    QString Backup() const { return PathOf(GetParam().name, u".bak"_s); }
    QByteArray Header(int version) const { return GetParam().header + QByteArray::number(version) + "\r\n"; }
    QByteArray GoodFile(int records) const
    {
        QByteArray bytes = Header(GetParam().version);
        for (int i = 0; i < records; ++i)
            bytes += GetParam().record + "\r\n";
        return bytes;
    }

    TestEnvironment m_environment;
};

} // namespace

TEST_P(ListFileTest, MissingFilesFailWithoutAMessage)
{
    EXPECT_FALSE(GetParam().load());
    EXPECT_EQ(GetParam().count(), 0);
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}

TEST_P(ListFileTest, ReadsEveryRecordLine)
{
    WriteBytes(Main(), GoodFile(3));
    EXPECT_TRUE(GetParam().load());
    EXPECT_EQ(GetParam().count(), 3);
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}

TEST_P(ListFileTest, VersionZeroAndNonNumericVersionsAreAccepted)
{
    for (const QByteArray& version : {QByteArray("0"), QByteArray("x"), QByteArray(""), QByteArray("  1abc")}) {
        ClearLists();
        WriteBytes(Main(), GetParam().header + version + "\r\n" + GetParam().record + "\n");
        EXPECT_TRUE(GetParam().load()) << version.constData();
        EXPECT_EQ(GetParam().count(), 1) << version.constData();
    }
}

TEST_P(ListFileTest, HeaderMustMatchExactly)
{
    QByteArray lowerCase = GetParam().header.toLower() + "1\r\n" + GetParam().record + "\r\n";
    WriteBytes(Main(), lowerCase);
    EXPECT_FALSE(GetParam().load());
    WriteBytes(Main(), QByteArray());
    EXPECT_FALSE(GetParam().load());
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}

TEST_P(ListFileTest, BackupIsUsedWithItsMessage)
{
    WriteBytes(Main(), "garbage\r\n");
    WriteBytes(Backup(), GoodFile(2));
    EXPECT_TRUE(GetParam().load());
    EXPECT_EQ(GetParam().count(), 2);
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, GetParam().backupText);
    EXPECT_EQ(messages[0].caption, GetParam().warningCaption);
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);
}

TEST_P(ListFileTest, NewerVersionIsRefusedThenTheBackupIsTried)
{
    WriteBytes(Main(), Header(GetParam().version + 1) + GetParam().record + "\r\n");
    WriteBytes(Backup(), GoodFile(1));
    EXPECT_TRUE(GetParam().load());
    EXPECT_EQ(GetParam().count(), 1);
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text, GetParam().newerText);
    EXPECT_EQ(messages[0].caption, GetParam().errorCaption);
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages[1].text, GetParam().backupText);
}

TEST_P(ListFileTest, NewerVersionWithoutBackupFails)
{
    WriteBytes(Main(), Header(GetParam().version + 1));
    EXPECT_FALSE(GetParam().load());
    EXPECT_EQ(GetParam().count(), 0);
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, GetParam().newerText);
}

TEST_P(ListFileTest, SaveWritesTheHeaderAndKeepsThePreviousFileAsBackup)
{
    WriteBytes(Main(), GoodFile(1));
    ASSERT_TRUE(GetParam().load());
    GetParam().addRecord();
    EXPECT_TRUE(GetParam().save());

    const QByteArray written = ReadBytes(Main());
    EXPECT_TRUE(written.startsWith(Header(GetParam().version))) << written.constData();
    EXPECT_EQ(written.count("\r\n"), 3);
    EXPECT_EQ(ReadBytes(Backup()), GoodFile(1));

    ClearLists();
    EXPECT_TRUE(GetParam().load());
    EXPECT_EQ(GetParam().count(), 2);
}

TEST_P(ListFileTest, SaveFailureKeepsThePreviousFile)
{
    WriteBytes(Main(), GoodFile(1));
    ASSERT_TRUE(GetParam().load());
    for (int i = 0; i < 200; ++i)
        GetParam().addRecord();
    {
        FileSizeLimit limit(256);
        EXPECT_FALSE(GetParam().save());
    }
    EXPECT_EQ(ReadBytes(Main()), GoodFile(1));
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, GetParam().saveErrorText);
    EXPECT_EQ(messages[0].caption, GetParam().errorCaption);
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(GetParam().count(), 201); // the list in memory is kept
}

INSTANTIATE_TEST_SUITE_P(Files, ListFileTest, ::testing::Values(kRules, kAlerts, kAnnouncements),
                         [](const auto& info) { return std::string(info.param.label); });

// --- rules ------------------------------------------------------------------------------------

class RuleListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearLists();
        RecordingMessagePresenter::Instance().Clear();
    }
    void TearDown() override { ClearLists(); }

    static std::unique_ptr<CRule> Rule(const QString& stock, const QString& announcement = QString())
    {
        auto rule = std::make_unique<CRule>();
        rule->SetStockName(stock);
        rule->SetAttribute(u"Price"_s);
        rule->SetOperator(CRule::Greater);
        rule->SetNumber(u"25"_s);
        rule->SetAnnouncement(announcement);
        return rule;
    }

    TestEnvironment m_environment;
};

TEST_F(RuleListTest, IndicesBehave)
{
    EXPECT_TRUE(InsertRule(0, Rule(u"B"_s)));
    EXPECT_TRUE(InsertRule(0, Rule(u"A"_s)));
    EXPECT_TRUE(InsertRule(GetRuleCount(), Rule(u"C"_s))); // at the count: appends
    EXPECT_FALSE(InsertRule(-1, Rule(u"X"_s)));
    ASSERT_EQ(GetRuleCount(), 3);
    EXPECT_EQ(GetRule(0)->StockName(), u"A"_s);
    EXPECT_EQ(GetRule(2)->StockName(), u"C"_s);
    EXPECT_EQ(GetRule(3), nullptr);
    EXPECT_EQ(GetRule(-1), nullptr);
    EXPECT_FALSE(RemoveRule(3));
    EXPECT_FALSE(RemoveRule(-1));
    EXPECT_TRUE(RemoveRule(1));
    EXPECT_EQ(GetRule(1)->StockName(), u"C"_s);
}

TEST_F(RuleListTest, EqualDescriptionsFindTheEarlierRule)
{
    InsertRule(0, Rule(u"Acme"_s, u"First"_s));
    InsertRule(1, Rule(u"Acme"_s, u"Second"_s));
    ASSERT_EQ(GetRule(0)->Description(), GetRule(1)->Description());
    const CRule* found = FindRuleByDescription(u"Acme (Price) > 25"_s);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Announcement(), u"First"_s);
    EXPECT_EQ(FindRuleByDescription(u"acme (Price) > 25"_s), nullptr);
}

TEST_F(RuleListTest, LoadAppendsToWhatTheListHolds)
{
    InsertRule(0, Rule(u"Held"_s));
    WriteBytes(PathOf(u"Rules"_s, u".csv"_s), "Quorvan Rule File Version : 1\r\nAcme,Price,>,25,Cheer\r\n");
    EXPECT_TRUE(LoadRules());
    ASSERT_EQ(GetRuleCount(), 2);
    EXPECT_EQ(GetRule(0)->StockName(), u"Held"_s);
    EXPECT_EQ(GetRule(1)->StockName(), u"Acme"_s);
}

TEST_F(RuleListTest, UnknownOperatorIsWrittenBackEmpty)
{
    WriteBytes(PathOf(u"Rules"_s, u".csv"_s),
               "Quorvan Rule File Version : 1\r\nAcme,Price,=>,25,Cheer\r\nAcme,Volume\r\n\r\n");
    ASSERT_TRUE(LoadRules());
    ASSERT_EQ(GetRuleCount(), 3);
    EXPECT_EQ(GetRule(0)->Operator(), CRule::NoOperator);
    EXPECT_EQ(GetRule(1)->Operator(), CRule::NoOperator);
    EXPECT_TRUE(GetRule(1)->Number().isEmpty());
    EXPECT_TRUE(GetRule(2)->StockName().isEmpty()); // an empty line is an empty rule
    ASSERT_TRUE(SaveRules());
    EXPECT_EQ(ReadBytes(PathOf(u"Rules"_s, u".csv"_s)),
              "Quorvan Rule File Version : 1\r\nAcme,Price,,25,Cheer\r\nAcme,Volume,,,\r\n,,,,\r\n");
}

// --- alerts -----------------------------------------------------------------------------------

class AlertListTest : public RuleListTest
{
protected:
    static QStringList Order()
    {
        QStringList order;
        for (int i = 0; i < GetAlertCount(); ++i)
            order.append(GetAlert(i)->RuleDescription());
        return order;
    }
};

TEST_F(AlertListTest, VersionOneFileLoadsAndIsWrittenAsVersionTwo)
{
    WriteBytes(PathOf(u"Alerts"_s, u".csv"_s), "Quorvan Alert File Version : 1\r\n"
                                               "Acme (Price) > 25,25.5,old,Fri 4:05 PM ET,United States\r\n");
    ASSERT_TRUE(LoadAlerts());
    ASSERT_EQ(GetAlertCount(), 1);
    EXPECT_EQ(GetAlert(0)->When(), u"Fri 4:05 PM ET"_s);
    EXPECT_EQ(GetAlert(0)->Country(), u"United States"_s);
    EXPECT_TRUE(GetAlert(0)->StockName().isEmpty());
    ASSERT_TRUE(SaveAlerts());
    EXPECT_EQ(ReadBytes(PathOf(u"Alerts"_s, u".csv"_s)),
              "Quorvan Alert File Version : 2\r\nAcme (Price) > 25,25.5,Fri 4:05 PM ET,United States,\r\n");
}

TEST_F(AlertListTest, NewAlertsGoToTheTop)
{
    EXPECT_TRUE(InsertNewAlert(u"A"_s, u"1"_s, u"w1"_s, u"United States"_s, u"a"_s));
    EXPECT_TRUE(InsertNewAlert(u"B"_s, u"2"_s, u"w2"_s, u"Canada"_s, u"b"_s));
    EXPECT_EQ(Order(), (QStringList{u"B"_s, u"A"_s}));
    EXPECT_EQ(GetAlert(0)->Country(), u"Canada"_s);
    EXPECT_EQ(GetAlert(0)->StockName(), u"b"_s);
    EXPECT_EQ(FindAlertByRuleDescription(u"A"_s), 1);
    EXPECT_EQ(FindAlertByRuleDescription(u"a"_s), -1);
}

TEST_F(AlertListTest, RefreshChangesAndMovesOnlyWhenPriceOrTimeDiffer)
{
    InsertNewAlert(u"A"_s, u"1"_s, u"w1"_s, u"United States"_s, u"a"_s);
    InsertNewAlert(u"B"_s, u"2"_s, u"w2"_s, u"United States"_s, u"b"_s);
    InsertNewAlert(u"C"_s, u"3"_s, u"w3"_s, u"United States"_s, u"c"_s);
    ASSERT_EQ(Order(), (QStringList{u"C"_s, u"B"_s, u"A"_s}));

    EXPECT_FALSE(RefreshAlertAt(2, u"1"_s, u"w1"_s));
    EXPECT_EQ(Order(), (QStringList{u"C"_s, u"B"_s, u"A"_s}));

    EXPECT_TRUE(RefreshAlertAt(2, u"1.5"_s, u"w1"_s)); // a new price
    EXPECT_EQ(Order(), (QStringList{u"A"_s, u"C"_s, u"B"_s}));
    EXPECT_EQ(GetAlert(0)->Price(), u"1.5"_s);

    EXPECT_TRUE(RefreshAlertAt(2, u"2"_s, u"w2 later"_s)); // a new time only
    EXPECT_EQ(Order(), (QStringList{u"B"_s, u"A"_s, u"C"_s}));
    EXPECT_EQ(GetAlert(0)->When(), u"w2 later"_s);

    EXPECT_FALSE(RefreshAlertAt(3, u"9"_s, u"w"_s));
    EXPECT_FALSE(RefreshAlertAt(-1, u"9"_s, u"w"_s));
}

TEST_F(AlertListTest, MoveToTopAndRemoval)
{
    InsertNewAlert(u"A"_s, u"1"_s, u"w"_s, QString(), QString());
    InsertNewAlert(u"B"_s, u"1"_s, u"w"_s, QString(), QString());
    InsertNewAlert(u"C"_s, u"1"_s, u"w"_s, QString(), QString());
    EXPECT_TRUE(MoveAlertToTop(0));
    EXPECT_EQ(Order(), (QStringList{u"C"_s, u"B"_s, u"A"_s}));
    EXPECT_TRUE(MoveAlertToTop(2));
    EXPECT_EQ(Order(), (QStringList{u"A"_s, u"C"_s, u"B"_s}));
    EXPECT_FALSE(MoveAlertToTop(3));
    EXPECT_FALSE(MoveAlertToTop(-1));
    EXPECT_FALSE(RemoveAlert(3));
    EXPECT_TRUE(RemoveAlert(1));
    EXPECT_EQ(Order(), (QStringList{u"A"_s, u"B"_s}));
    EXPECT_TRUE(RemoveAllAlerts());
    EXPECT_EQ(GetAlertCount(), 0);
    EXPECT_EQ(GetAlert(0), nullptr);
}

// --- announcements ----------------------------------------------------------------------------

class AnnouncementListTest : public RuleListTest
{
protected:
    static QString Main() { return PathOf(u"Announce"_s, u".csv"_s); }
    static QString Backup() { return PathOf(u"Announce"_s, u".bak"_s); }
    static constexpr const char* kHeader = "Quorvan Announcement File Version : 1\r\n";
};

TEST_F(AnnouncementListTest, FirstUseLoadsTheFile)
{
    WriteBytes(Main(), QByteArray(kHeader) + "Cheer,Wave,Hi,(None),Bye\r\nGloom,(None),Oh,(None),No\r\n");
    const CAnnouncement* found = FindAnnouncement(u"Gloom"_s);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->SayBefore(), u"Oh"_s);
    EXPECT_EQ(GetAnnouncementCount(), 2);
    EXPECT_EQ(FindAnnouncement(u"gloom"_s), nullptr);
}

TEST_F(AnnouncementListTest, HeaderOnlyFileLoadsEmptyAndIsReadAgainNextTime)
{
    WriteBytes(Main(), kHeader);
    EXPECT_TRUE(LoadAnnouncements());
    EXPECT_EQ(GetAnnouncementCount(), 0);
    WriteBytes(Main(), QByteArray(kHeader) + "Cheer,Wave,Hi,(None),Bye\r\n");
    EXPECT_EQ(GetAnnouncementCount(), 1);
    // Once it holds records it is not read again.
    WriteBytes(Main(), kHeader);
    EXPECT_EQ(GetAnnouncementCount(), 1);
}

TEST_F(AnnouncementListTest, RefusedFilesAreReportedOnceWhileUnchanged)
{
    WriteBytes(Main(), "Quorvan Announcement File Version : 2\r\n");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(FindAnnouncement(u"Cheer"_s), nullptr);
    EXPECT_EQ(RecordingMessagePresenter::Instance().Take().size(), 1);
    // A new backup is noticed.
    WriteBytes(Backup(), QByteArray(kHeader) + "Cheer,Wave,Hi,(None),Bye\r\n");
    EXPECT_NE(FindAnnouncement(u"Cheer"_s), nullptr);
}

TEST_F(AnnouncementListTest, BackupWithoutRecordsIsReportedOnce)
{
    WriteBytes(Backup(), kHeader);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetAnnouncementCount(), 0);
    EXPECT_EQ(RecordingMessagePresenter::Instance().Take().size(), 1);
}

TEST_F(AnnouncementListTest, RemovingTheLastAnnouncementIsSaved)
{
    WriteBytes(Main(), QByteArray(kHeader) + "Cheer,Wave,Hi,(None),Bye\r\n");
    ASSERT_EQ(GetAnnouncementCount(), 1);
    ASSERT_TRUE(SaveAnnouncements()); // the file changes on disk
    EXPECT_TRUE(RemoveAnnouncement(0));
    EXPECT_TRUE(SaveAnnouncements());
    EXPECT_EQ(GetAnnouncementCount(), 0);
    EXPECT_EQ(ReadBytes(Main()), QByteArray(kHeader));
}

TEST_F(AnnouncementListTest, IndicesBehave)
{
    auto make = [](const QString& name) {
        auto announcement = std::make_unique<CAnnouncement>();
        announcement->SetName(name);
        return announcement;
    };
    EXPECT_TRUE(InsertAnnouncement(0, make(u"B"_s)));
    EXPECT_TRUE(InsertAnnouncement(0, make(u"A"_s)));
    EXPECT_TRUE(InsertAnnouncement(2, make(u"A"_s)));
    EXPECT_FALSE(InsertAnnouncement(-1, make(u"X"_s)));
    EXPECT_EQ(GetAnnouncementCount(), 3);
    EXPECT_EQ(FindAnnouncement(u"A"_s), GetAnnouncement(0));
    EXPECT_EQ(GetAnnouncement(3), nullptr);
    EXPECT_FALSE(RemoveAnnouncement(3)); // index equal to the count
    EXPECT_EQ(GetAnnouncementCount(), 3);
    EXPECT_TRUE(RemoveAnnouncement(0));
    EXPECT_EQ(GetAnnouncement(0)->Name(), u"B"_s);
}

TEST_F(AnnouncementListTest, TextsWithCommasQuotesAndLineBreaksRoundTrip)
{
    auto announcement = std::make_unique<CAnnouncement>();
    announcement->SetName(u"Société \"Générale\""_s);
    announcement->SetGestureBefore(u"(None)"_s);
    announcement->SetSayBefore(u"STOCK is up, hooray!\nSecond line"_s);
    announcement->SetGestureAfter(u"Wave"_s);
    announcement->SetSayAfter(u"\"Quoted\", with a comma"_s);
    InsertAnnouncement(0, std::move(announcement));
    ASSERT_TRUE(SaveAnnouncements());
    EXPECT_EQ(ReadBytes(Main()).count("\r\n"), 2);

    DeleteAllAnnouncements();
    ASSERT_EQ(GetAnnouncementCount(), 1);
    const CAnnouncement* back = GetAnnouncement(0);
    EXPECT_EQ(back->Name(), u"Société \"Générale\""_s);
    EXPECT_EQ(back->SayBefore(), u"STOCK is up, hooray!\nSecond line"_s);
    EXPECT_EQ(back->GestureAfter(), u"Wave"_s);
    EXPECT_EQ(back->SayAfter(), u"\"Quoted\", with a comma"_s);
}
