#include "market/StockList.h"

#include "MarketTestSupport.h"
#include "market/Countries.h"
#include "market/Stock.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using MarketTest::ReadBytes;
using MarketTest::WriteBytes;

namespace {

class StockListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StockList::DeleteAll();
        StockList::SetDisplayOrder(nullptr);
        RecordingMessagePresenter::Instance().Clear();
    }
    void TearDown() override
    {
        StockList::DeleteAll();
        StockList::SetDisplayOrder(nullptr);
    }

    QString Main() const { return m_env.DataHome() + u"/Quorvane/Quorvan.csv"_s; }
    QString Backup() const { return m_env.DataHome() + u"/Quorvane/Quorvan.bak"_s; }

    static QStringList Names()
    {
        QStringList names;
        for (int i = 0; i < StockList::Count(); ++i)
            names.append(StockList::At(i)->Name());
        return names;
    }
    static void Fill(const QStringList& names)
    {
        for (const QString& name : names)
            StockList::Add(name, QString(), name.toUpper(), QString());
    }

    TestEnvironment m_env;
};

TEST_F(StockListTest, AddAppendInsertRemove)
{
    EXPECT_EQ(StockList::Count(), 0);
    Stock* added = StockList::Add(u"W"_s, u"Double you"_s, u"WW"_s, u"Canada"_s);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Country(), u"Canada"_s);
    EXPECT_EQ(added->SpokenName(), u"Double you"_s);
    StockList::Append(std::make_unique<Stock>(u"Z"_s, u""_s, u"ZZ"_s, u""_s));
    EXPECT_TRUE(StockList::InsertAt(1, std::make_unique<Stock>(u"X"_s, u""_s, u"XX"_s, u""_s)));
    EXPECT_TRUE(StockList::InsertAt(99, std::make_unique<Stock>(u"end"_s, u""_s, u""_s, u""_s)));
    EXPECT_FALSE(StockList::InsertAt(-1, std::make_unique<Stock>()));
    EXPECT_EQ(Names(), (QStringList{u"W"_s, u"X"_s, u"Z"_s, u"end"_s}));

    EXPECT_FALSE(StockList::RemoveAt(-1));
    EXPECT_FALSE(StockList::RemoveAt(4));
    EXPECT_TRUE(StockList::RemoveAt(3));
    EXPECT_EQ(Names(), (QStringList{u"W"_s, u"X"_s, u"Z"_s}));
    EXPECT_EQ(StockList::At(3), nullptr);
    EXPECT_EQ(StockList::At(-1), nullptr);
}

TEST_F(StockListTest, FindByNameIsExactAndTakesTheFirst)
{
    Fill({u"Acme"_s, u"acme"_s, u"Acme"_s});
    EXPECT_EQ(StockList::FindByName(u"Acme"_s), StockList::At(0));
    EXPECT_EQ(StockList::FindByName(u"acme"_s), StockList::At(1));
    EXPECT_EQ(StockList::FindByName(u"ACME"_s), nullptr);
    EXPECT_EQ(StockList::IndexOfName(u"acme"_s), 1);
    EXPECT_EQ(StockList::IndexOfName(u"Acme "_s), -1);
}

struct MoveCase
{
    int from;
    int to;
    bool accepted;
    QStringList expected;
};

class StockListMoveTest : public StockListTest, public ::testing::WithParamInterface<MoveCase>
{};

TEST_P(StockListMoveTest, MovesOneStockAndKeepsTheOthersInOrder)
{
    Fill({u"W"_s, u"X"_s, u"Y"_s, u"Z"_s});
    const MoveCase& c = GetParam();
    EXPECT_EQ(StockList::Move(c.from, c.to), c.accepted);
    EXPECT_EQ(Names(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, StockListMoveTest,
                         ::testing::Values(MoveCase{2, 0, true, {u"Y"_s, u"W"_s, u"X"_s, u"Z"_s}},
                                           MoveCase{0, 2, true, {u"X"_s, u"Y"_s, u"W"_s, u"Z"_s}},
                                           MoveCase{0, 3, true, {u"X"_s, u"Y"_s, u"Z"_s, u"W"_s}},
                                           MoveCase{3, 0, true, {u"Z"_s, u"W"_s, u"X"_s, u"Y"_s}},
                                           MoveCase{1, 1, true, {u"W"_s, u"X"_s, u"Y"_s, u"Z"_s}},
                                           MoveCase{1, 2, true, {u"W"_s, u"Y"_s, u"X"_s, u"Z"_s}},
                                           MoveCase{0, 4, false, {u"W"_s, u"X"_s, u"Y"_s, u"Z"_s}},
                                           MoveCase{-1, 0, false, {u"W"_s, u"X"_s, u"Y"_s, u"Z"_s}}));

class ReversedOrder final : public StockList::IDisplayOrder
{
public:
    int StorageIndexOfRow(int row) const override
    {
        const int count = StockList::Count();
        return row >= 0 && row < count ? count - 1 - row : -1;
    }
};

class BrokenOrder final : public StockList::IDisplayOrder
{
public:
    int StorageIndexOfRow(int) const override { return 42; }
};

TEST_F(StockListTest, DisplayOrderGoesThroughTheInstalledMapping)
{
    Fill({u"A"_s, u"B"_s, u"C"_s});
    EXPECT_EQ(StockList::At(0, true)->Name(), u"A"_s) << "without a mapping rows are storage order";

    ReversedOrder reversed;
    StockList::SetDisplayOrder(&reversed);
    EXPECT_EQ(StockList::At(0, true)->Name(), u"C"_s);
    EXPECT_EQ(StockList::At(0, false)->Name(), u"A"_s);
    EXPECT_EQ(StockList::At(3, true), nullptr);
    EXPECT_EQ(StockList::IndexOfName(u"A"_s, true), 2);
    EXPECT_EQ(StockList::IndexOfName(u"A"_s, false), 0);

    BrokenOrder broken;
    StockList::SetDisplayOrder(&broken);
    EXPECT_EQ(StockList::At(0, true), nullptr) << "a row mapped outside the list gives nothing";
    EXPECT_EQ(StockList::IndexOfName(u"A"_s, true), -1);
}

TEST_F(StockListTest, SaveAndLoadRoundTrip)
{
    Stock* a = StockList::Add(u"Smith, Jones & Co"_s, u"Smith and Jones"_s, u"SJ"_s, u"France"_s);
    a->SetPrice(u"23.5"_s, false);
    a->SetChange(u"-0.25"_s, false);
    a->ComputePercent();
    a->SetVolume(u"N/A"_s);
    a->SetQuoteTime(946684800);
    a->SetTimeZone(u"CET"_s);
    Stock* b = StockList::Add(u"The \"Big\" One"_s, u""_s, u"BIG"_s, u""_s);
    b->SetState(u"Disabled"_s);
    StockList::Add(u"Société Générale"_s, u""_s, u"GLE.PA"_s, u"France"_s);
    ASSERT_TRUE(StockList::Save());

    EXPECT_EQ(ReadBytes(Main()),
              "Quorvan File Version : 2\r\n"
              "\"Smith, Jones & Co\",SJ,23.5,N/A,946684800,Enabled,-0.25,-1.05,France,CET,"
              "Smith and Jones\r\n"
              "The \"\"Big\"\" One,BIG,0.,0,0,Disabled,0,0%,United States,,\r\n"
              "Soci\xC3\xA9t\xC3\xA9 G\xC3\xA9n\xC3\xA9rale,GLE.PA,0.,0,0,Enabled,0,0%,France,,\r\n");

    std::vector<Stock> before;
    for (int i = 0; i < StockList::Count(); ++i)
        before.push_back(*StockList::At(i));
    StockList::DeleteAll();
    ASSERT_TRUE(StockList::Load());
    ASSERT_EQ(StockList::Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const Stock* loaded = StockList::At(i);
        EXPECT_EQ(loaded->Name(), before[size_t(i)].Name());
        EXPECT_EQ(loaded->Change(), before[size_t(i)].Change());
        EXPECT_EQ(loaded->Percent(), before[size_t(i)].Percent());
        EXPECT_EQ(loaded->State(), before[size_t(i)].State());
    }
    EXPECT_EQ(StockList::At(1)->TimeZone(), u"ET"_s) << "an empty time zone takes the default on loading";
    EXPECT_EQ(StockList::At(2)->TimeZone(), u"CET"_s);
    EXPECT_TRUE(StockList::At(0)->SameForDisplay(before[0]));
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}

TEST_F(StockListTest, LoadReadsAVersionOneFileAndTheNextSaveWritesVersionTwo)
{
    ASSERT_TRUE(WriteBytes(Main(), "Quorvan File Version : 1\r\n"
                                   "Acme,ACM,12.5,100,946684800,Enabled,0.5,4%,Canada,\r\n"
                                   "\"Smith, Jones\",SJ,1,1,1,Disabled,1,1,,PT\r\n"));
    ASSERT_TRUE(StockList::Load());
    ASSERT_EQ(StockList::Count(), 2);
    const Stock* acme = StockList::At(0);
    EXPECT_EQ(acme->Symbol(), u"ACM"_s);
    EXPECT_EQ(acme->Country(), u"Canada"_s);
    EXPECT_EQ(acme->TimeZone(), u"ET"_s);
    EXPECT_EQ(acme->Price(), u"0."_s);
    EXPECT_EQ(acme->Volume(), u"0"_s);
    const Stock* smith = StockList::At(1);
    EXPECT_EQ(smith->Name(), u"Smith, Jones"_s);
    EXPECT_EQ(smith->Country(), u"United States"_s);
    EXPECT_EQ(smith->TimeZone(), u"PT"_s);
    EXPECT_FALSE(smith->IsEnabled());

    ASSERT_TRUE(StockList::Save());
    EXPECT_TRUE(
        ReadBytes(Main()).startsWith("Quorvan File Version : 2\r\nAcme,ACM,0.,0,0,Enabled,0,0%,Canada,ET,\r\n"));
}

TEST_F(StockListTest, EveryLineGivesAStockAnEmptyOneIncluded)
{
    ASSERT_TRUE(WriteBytes(Main(), "Quorvan File Version : 2\r\nA,a\r\n\r\nB,b\r\n"));
    ASSERT_TRUE(StockList::Load());
    EXPECT_EQ(Names(), (QStringList{u"A"_s, u""_s, u"B"_s}));
    EXPECT_EQ(StockList::At(1)->Country(), u"United States"_s);
    EXPECT_EQ(StockList::At(1)->TimeZone(), u"ET"_s);
}

TEST_F(StockListTest, LoadFallsBackToTheBackupSilently)
{
    ASSERT_TRUE(WriteBytes(Backup(), "Quorvan File Version : 2\r\nFrom backup,B\r\n"));
    ASSERT_TRUE(StockList::Load());
    EXPECT_EQ(Names(), QStringList{u"From backup"_s});
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());

    StockList::DeleteAll();
    ASSERT_TRUE(WriteBytes(Main(), "Not a stock file\r\nX,x\r\n"));
    ASSERT_TRUE(StockList::Load());
    EXPECT_EQ(Names(), QStringList{u"From backup"_s});

    StockList::DeleteAll();
    QFile::remove(Backup());
    EXPECT_FALSE(StockList::Load());
    EXPECT_EQ(StockList::Count(), 0);
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}

TEST_F(StockListTest, ANewerFileIsRefusedForMainAndBackup)
{
    ASSERT_TRUE(WriteBytes(Main(), "Quorvan File Version : 3\r\nNew,N\r\n"));
    ASSERT_TRUE(WriteBytes(Backup(), "Quorvan File Version : 2\r\nOld,O\r\n"));
    ASSERT_TRUE(StockList::Load());
    EXPECT_EQ(Names(), QStringList{u"Old"_s});
    auto messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, u"A newer version of the application wrote the stock file."_s);
    EXPECT_EQ(messages[0].caption, u"Quorvane File Error"_s);
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);

    StockList::DeleteAll();
    ASSERT_TRUE(WriteBytes(Backup(), "Quorvan File Version : 10\r\nOld,O\r\n"));
    EXPECT_FALSE(StockList::Load());
    EXPECT_EQ(StockList::Count(), 0);
    messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 2);
    for (const UserMessage& message : messages) {
        EXPECT_EQ(message.text, u"A newer version of the application wrote the stock file."_s);
        EXPECT_EQ(message.caption, u"Quorvane File Error"_s);
    }
    // Nothing on disk was touched by the refusal.
    EXPECT_EQ(ReadBytes(Main()), "Quorvan File Version : 3\r\nNew,N\r\n");
}

TEST_F(StockListTest, ASaveFailureKeepsThePreviousFileAndTheList)
{
    Fill({u"One"_s, u"Two"_s});
    ASSERT_TRUE(StockList::Save());
    const QByteArray previous = ReadBytes(Main());
    StockList::Add(QString(400, u'x'), QString(), QString(), QString());

    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool result = StockList::Save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result);
    const auto messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, u"An error occurred saving the stocks."_s);
    EXPECT_EQ(messages[0].caption, u"Quorvane File Error"_s);
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(ReadBytes(Main()), previous);
    EXPECT_EQ(StockList::Count(), 3);

    StockList::DeleteAll();
    ASSERT_TRUE(StockList::Load());
    EXPECT_EQ(Names(), (QStringList{u"One"_s, u"Two"_s}));
}

TEST_F(StockListTest, DamagedFilesLoadWhatIsSound)
{
    // Truncated last line, a NUL-filled block, CR LF and LF mixed, a Windows-1252 name.
    QByteArray bytes = "Quorvan File Version : 2\r\n"
                       "Soci\xE9t\xE9 G\xE9n\xE9rale,GLE.PA,30.5,10,1,Enabled,0.5,1.67,France,CET,\r\n";
    bytes += QByteArray(512, '\0') + "\n";
    bytes += "Acme,ACM,12.5,100,946684800,Enabled,0.5,4.17,Canada,ET,\n";
    bytes += "Trunc,TR,1";
    ASSERT_TRUE(WriteBytes(Main(), bytes));
    ASSERT_TRUE(StockList::Load());
    EXPECT_EQ(Names(), (QStringList{u"Société Générale"_s, u"Acme"_s, u"Trunc"_s}));
    EXPECT_EQ(StockList::At(0)->Price(), u"30.5"_s);
    EXPECT_EQ(StockList::At(1)->Price(), u"12.5"_s);
    EXPECT_EQ(StockList::At(2)->Price(), u"1"_s);
    EXPECT_EQ(StockList::At(2)->State(), u""_s);
    EXPECT_EQ(ReadBytes(Main()), bytes) << "loading never writes";
}

TEST_F(StockListTest, AHugeLineAndBinaryDataDoNotCrash)
{
    QByteArray bytes = "Quorvan File Version : 2\r\nWide,W,1";
    bytes.reserve(300000);
    for (int i = 0; i < 100000; ++i)
        bytes += ",f";
    bytes += "\r\n";
    for (int i = 0; i < 20000; ++i)
        bytes += char((i * 7919) % 256);
    bytes += "\r\nAfter,A\r\n";
    ASSERT_TRUE(WriteBytes(Main(), bytes));
    ASSERT_TRUE(StockList::Load());
    ASSERT_GE(StockList::Count(), 3);
    EXPECT_EQ(StockList::At(0)->Name(), u"Wide"_s);
    EXPECT_EQ(StockList::At(0)->SpokenName(), u"f"_s);
    EXPECT_EQ(StockList::At(StockList::Count() - 1)->Name(), u"After"_s);
    ASSERT_TRUE(StockList::Save());
    const int count = StockList::Count();
    StockList::DeleteAll();
    ASSERT_TRUE(StockList::Load());
    EXPECT_EQ(StockList::Count(), count) << "what was loaded survives a save";
}

TEST_F(StockListTest, AddIndexStocksFillsThePrimaryCountrysIndices)
{
    Countries::AddIndexStocks(u"germany"_s);
    EXPECT_EQ(Names(), (QStringList{u"DAX 30"_s, u"MDAX"_s, u"Neuer Markt (Kurs)"_s, u"Neuer Markt (Performance)"_s,
                                    u"CAC 40"_s, u"FTSE 100"_s, u"Dow"_s, u"Nasdaq"_s}));
    const Stock* ftse = StockList::At(5);
    EXPECT_EQ(ftse->Symbol(), u"UKX.L"_s);
    EXPECT_EQ(ftse->Country(), u"UK & Ireland"_s);
    EXPECT_EQ(ftse->SpokenName(), u""_s);
    EXPECT_EQ(StockList::At(7)->Symbol(), u"^IXIC"_s);
    EXPECT_EQ(StockList::At(7)->Country(), u"United States"_s);
}

} // namespace
