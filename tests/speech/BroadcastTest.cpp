// The broadcast: what the character is asked to do for each kind of report, and the reported prices.

#include "SpeechTestSupport.h"

#include "market/Stock.h"
#include "market/StockList.h"
#include "speech/CBroadcaster.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Lists the rows of the Stocks page bottom-up.
class ReversedOrder final : public StockList::IDisplayOrder
{
public:
    int StorageIndexOfRow(int row) const override
    {
        const int count = StockList::Count();
        return row >= 0 && row < count ? count - 1 - row : -1;
    }
};

// Pins the default locale for the lifetime of the object.
class PinnedLocale
{
public:
    explicit PinnedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~PinnedLocale() { QLocale::setDefault(m_previous); }
    PinnedLocale(const PinnedLocale&) = delete;
    PinnedLocale& operator=(const PinnedLocale&) = delete;

private:
    QLocale m_previous;
};

class Broadcast : public SpeechTest
{
protected:
    void SetUp() override
    {
        SpeechTest::SetUp();
        StockList::DeleteAll();
        GetSettings().format = u"Line for STOCK"_s;
        AddStock(u"Acme"_s, u"23.5"_s, QString(), true);
        AddStock(u"Bolt"_s, u"7.25"_s, QString(), false); // disabled
        AddStock(u"Crux"_s, u"101."_s, u"101."_s, true);  // unchanged since the last broadcast
    }
    void TearDown() override
    {
        StockList::SetDisplayOrder(nullptr);
        StockList::DeleteAll();
        SpeechTest::TearDown();
    }

    static Stock* AddStock(const QString& name, const QString& price, const QString& reported, bool enabled)
    {
        Stock* stock = StockList::Add(name, QString(), name.toUpper(), u"United States"_s);
        stock->SetPrice(price, false);
        stock->SetReportedPrice(reported);
        stock->SetState(enabled ? u"Enabled"_s : u"Disabled"_s);
        return stock;
    }

    // The requests of one Say with the default options.
    static QStringList Said(const QString& text, const QString& gesture = QString())
    {
        QStringList requests{u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s};
        if (!gesture.isEmpty())
            requests.append(u"Play "_s + gesture);
        requests.append(Spoken(text));
        return requests;
    }
    static QStringList Gesture(const QString& gesture)
    {
        return {u"MoveTo 896,0"_s, u"Show fast"_s, u"Play "_s + gesture};
    }
    static QString TimeLine(const QString& spoken, const QString& shown)
    {
        return u"The time now is, \\Map=\""_s + spoken + u"\"=\""_s + shown + u"\"\\"_s;
    }

    static QDateTime At(int hour, int minute, int second = 0)
    {
        return QDateTime(QDate(2024, 3, 15), QTime(hour, minute, second));
    }

    static QStringList ReportedPrices()
    {
        QStringList prices;
        for (int i = 0; i < StockList::Count(); ++i)
            prices.append(StockList::At(i)->ReportedPrice());
        return prices;
    }

    CBroadcaster broadcaster{manager};
};

TEST_F(Broadcast, ChangesAreReportedInFull)
{
    ASSERT_TRUE(broadcaster.HasPriceChanged());
    broadcaster.Broadcast(At(10, 30, 59), true, false);
    const QStringList expected = Gesture(u"Wave"_s) + Said(TimeLine(u"10:30 AM"_s, u"10:30 AM"_s)) +
                                 Said(u"Here are the latest prices."_s) + Said(u"Line for Acme"_s) +
                                 Said(u"Line for Crux"_s) + Said(u"Thank you."_s);
    EXPECT_EQ(control.Take(), expected);
    EXPECT_EQ(ReportedPrices(), (QStringList{u"23.5"_s, u"7.25"_s, u"101."_s}));
    EXPECT_FALSE(broadcaster.HasPriceChanged());
}

TEST_F(Broadcast, DefaultFormatReadsEachStocksWords)
{
    StockList::DeleteAll();
    Stock* dow = AddStock(u"Dow"_s, u"10234.25"_s, QString(), true);
    dow->SetChange(u"12.5"_s, false);
    GetSettings().format = u"STOCK is CHANGE, at PRICE"_s;
    GetSettings().pricesFormat = 1;
    GetSettings().sayTime = 0;
    broadcaster.Broadcast(At(10, 30), true, false);
    EXPECT_EQ(control.Take(), Gesture(u"Wave"_s) + Said(u"Here are the latest prices."_s) +
                                  Said(u"Dow is up 12 \\Map=\"and a half\"=\"1/2\"\\, at 10,234 "
                                       u"\\Map=\"and a fourth\"=\"1/4\"\\"_s) +
                                  Said(u"Thank you."_s));
}

TEST_F(Broadcast, LinesFollowTheStocksPageOrder)
{
    const ReversedOrder reversed;
    StockList::SetDisplayOrder(&reversed);
    GetSettings().sayTime = 0;
    broadcaster.Broadcast(At(9, 0), true, false);
    EXPECT_EQ(control.Take().filter(u"Line for"_s),
              (QStringList{Spoken(u"Line for Crux"_s), Spoken(u"Line for Acme"_s)}));
}

TEST_F(Broadcast, NoChangeScheduledSaysOnlyTheTime)
{
    broadcaster.Broadcast(At(14, 5), false, false);
    EXPECT_EQ(control.Take(), Gesture(u"Wave"_s) + Said(TimeLine(u"2:05 PM"_s, u"2:05 PM"_s)));
    // Without a change nothing counts as reported.
    EXPECT_EQ(ReportedPrices(), (QStringList{QString(), QString(), u"101."_s}));
}

TEST_F(Broadcast, NoChangeScheduledWithoutTimeSaysNothing)
{
    GetSettings().sayTime = 0;
    broadcaster.Broadcast(At(14, 5), false, false);
    EXPECT_TRUE(control.Take().isEmpty());
}

TEST_F(Broadcast, NoChangeForcedSaysTheNoChangesText)
{
    GetSettings().gestureAfter = u"Bow"_s;
    broadcaster.Broadcast(At(14, 5), false, true);
    EXPECT_EQ(control.Take(), Gesture(u"Wave"_s) + Said(TimeLine(u"2:05 PM"_s, u"2:05 PM"_s)) +
                                  Said(u"Prices haven't changed."_s, u"Bow"_s));

    GetSettings().sayTime = 0;
    broadcaster.Broadcast(At(14, 5), false, true);
    EXPECT_EQ(control.Take(), Gesture(u"Wave"_s) + Said(u"Prices haven't changed."_s, u"Bow"_s));
}

TEST_F(Broadcast, NoChangeForcedWithoutNoChangesText)
{
    GetSettings().sayNoChanges.clear();
    GetSettings().sayTime = 0;
    broadcaster.Broadcast(At(14, 5), false, true);
    EXPECT_TRUE(control.Take().isEmpty());

    // With the time on, the empty closing text is still passed on with its gesture.
    GetSettings().sayTime = 1;
    GetSettings().gestureAfter = u"Bow"_s;
    broadcaster.Broadcast(At(14, 5), false, true);
    EXPECT_EQ(control.Take(),
              Gesture(u"Wave"_s) + Said(TimeLine(u"2:05 PM"_s, u"2:05 PM"_s)) + Said(QString(), u"Bow"_s));
}

TEST_F(Broadcast, DisabledStockThatMovedCountsButIsNotSaid)
{
    StockList::At(0)->SetReportedPrice(u"23.5"_s); // only the disabled Bolt moved
    ASSERT_TRUE(broadcaster.HasPriceChanged());
    GetSettings().sayTime = 0;
    broadcaster.Broadcast(At(9, 0), broadcaster.HasPriceChanged(), false);
    const QStringList log = control.Take();
    EXPECT_TRUE(log.filter(u"Bolt"_s).isEmpty());
    EXPECT_EQ(log.filter(u"Line for"_s), (QStringList{Spoken(u"Line for Acme"_s), Spoken(u"Line for Crux"_s)}));
    EXPECT_EQ(StockList::At(1)->ReportedPrice(), u"7.25"_s);
    EXPECT_FALSE(broadcaster.HasPriceChanged());
}

TEST_F(Broadcast, QuietKeepsTheCharacterSilentButThePricesCountAsReported)
{
    SetQuiet(true);
    broadcaster.Broadcast(At(9, 0), true, false);
    EXPECT_TRUE(control.Take().isEmpty());
    EXPECT_EQ(ReportedPrices(), (QStringList{u"23.5"_s, u"7.25"_s, u"101."_s}));
    EXPECT_FALSE(broadcaster.HasPriceChanged());

    // The silent notification method, too.
    SetQuiet(false);
    GetSettings().notificationMethod = 3;
    StockList::At(0)->SetPrice(u"24"_s, false);
    broadcaster.Broadcast(At(9, 0), broadcaster.HasPriceChanged(), true);
    EXPECT_TRUE(control.Take().isEmpty());
    EXPECT_EQ(StockList::At(0)->ReportedPrice(), StockList::At(0)->Price());
    EXPECT_NE(StockList::At(0)->ReportedPrice(), u"23.5"_s);
}

TEST_F(Broadcast, ForcedBroadcastSpeaksThroughQuiet)
{
    SetQuiet(true);
    GetSettings().sayTime = 0;
    broadcaster.Broadcast(At(9, 0), true, true);
    EXPECT_EQ(control.Take(), Gesture(u"Wave"_s) + Said(u"Here are the latest prices."_s) + Said(u"Line for Acme"_s) +
                                  Said(u"Line for Crux"_s) + Said(u"Thank you."_s));
}

TEST_F(Broadcast, EmptyListStillOpensAndCloses)
{
    StockList::DeleteAll();
    EXPECT_FALSE(broadcaster.HasPriceChanged());
    broadcaster.Broadcast(At(16, 45), true, true);
    EXPECT_EQ(control.Take(), Gesture(u"Wave"_s) + Said(TimeLine(u"4:45 PM"_s, u"4:45 PM"_s)) +
                                  Said(u"Here are the latest prices."_s) + Said(u"Thank you."_s));
}

TEST_F(Broadcast, NoneAsOpeningGesturePlaysNothing)
{
    GetSettings().gestureBefore = u"(None)"_s;
    GetSettings().gestureAfter = u"(None)"_s;
    GetSettings().sayTime = 0;
    StockList::DeleteAll();
    broadcaster.Broadcast(At(9, 0), true, false);
    // Say passes any gesture name on; the character drops what it lacks.
    EXPECT_EQ(control.Take(), Said(u"Here are the latest prices."_s) + Said(u"Thank you."_s, u"(None)"_s));
}

TEST_F(Broadcast, SayStockSaysOneFormatSentence)
{
    broadcaster.SayStock(*StockList::At(1), true);
    EXPECT_EQ(control.Take(), Said(u"Line for Bolt"_s));
    SetQuiet(true);
    broadcaster.SayStock(*StockList::At(1), false);
    EXPECT_TRUE(control.Take().isEmpty());
}

TEST_F(Broadcast, HidingFollowsAlwaysShow)
{
    broadcaster.HideCharacter();
    EXPECT_EQ(control.Take(), QStringList{u"Hide fast"_s});
    GetSettings().alwaysShow = 1;
    broadcaster.HideCharacter();
    EXPECT_TRUE(control.Take().isEmpty());
}

TEST(BroadcastPrice, ChangeIsAnExactTextComparison)
{
    Stock stock;
    EXPECT_TRUE(CBroadcaster::HasPriceChanged(stock)); // "0." against nothing yet reported
    stock.SetReportedPrice(u"0."_s);
    EXPECT_FALSE(CBroadcaster::HasPriceChanged(stock));
    stock.SetPrice(u"23.5"_s, false);
    stock.SetReportedPrice(u"23.50"_s);
    EXPECT_TRUE(CBroadcaster::HasPriceChanged(stock));
}

// ---- The time

struct SpokenTimeCase
{
    const char16_t* display;
    const char16_t* spoken;
};

class SpokenTime : public ::testing::TestWithParam<SpokenTimeCase>
{};

TEST_P(SpokenTime, DropsALeadingZeroAndSaysTheSeparatorAsAColon)
{
    EXPECT_EQ(CBroadcaster::SpokenTime(QString::fromUtf16(GetParam().display)), QString::fromUtf16(GetParam().spoken));
}

INSTANTIATE_TEST_SUITE_P(Times, SpokenTime,
                         ::testing::Values(SpokenTimeCase{u"09:05 AM", u"9:05 AM"}, //
                                           SpokenTimeCase{u"10:30 AM", u"10:30 AM"},
                                           SpokenTimeCase{u"00:15", u"0:15"},                                    //
                                           SpokenTimeCase{u"21.05", u"21:05"}, SpokenTimeCase{u"9h05", u"9:05"}, //
                                           SpokenTimeCase{u"0905", u"905"}, SpokenTimeCase{u"", u""},
                                           // A day period before the hour stays as it is.
                                           SpokenTimeCase{u"\uC624\uC804 9:05", u"\uC624\uC804 9:05"},
                                           SpokenTimeCase{u"\uC624\uC804 9.05", u"\uC624\uC804 9:05"}));

TEST_F(Broadcast, TimeIsShownInTheUsersFormatAndSpokenWithoutTheLeadingZero)
{
    GetSettings().gestureBefore = u"(None)"_s;
    const auto timeLine = [this](const QDateTime& time) {
        broadcaster.Broadcast(time, false, false);
        const QStringList log = control.Take();
        return log.size() == 4 ? log[3] : QString();
    };
    EXPECT_EQ(timeLine(At(9, 5, 42)), Spoken(TimeLine(u"9:05 AM"_s, u"9:05 AM"_s)));
    {
        const PinnedLocale german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(timeLine(At(9, 5)), Spoken(TimeLine(u"9:05"_s, u"09:05"_s)));
        EXPECT_EQ(timeLine(At(0, 15)), Spoken(TimeLine(u"0:15"_s, u"00:15"_s)));
        EXPECT_EQ(timeLine(At(21, 5)), Spoken(TimeLine(u"21:05"_s, u"21:05"_s)));
    }
    {
        const PinnedLocale finnish(QLocale(QLocale::Finnish, QLocale::Finland));
        EXPECT_EQ(timeLine(At(21, 5)), Spoken(TimeLine(u"21:05"_s, u"21.05"_s)));
    }
    // The moment is shown in local time, whatever zone it was given in.
    EXPECT_EQ(timeLine(QDateTime(QDate(2024, 7, 1), QTime(13, 30), QTimeZone::utc())),
              Spoken(TimeLine(u"9:30 AM"_s, u"9:30 AM"_s)));
}

} // namespace
