// Stock::Format* and ExpandMacros: the stock's values in display and spoken form.

#include "base/CSettings.h"
#include "market/PriceFormat.h"
#include "market/Stock.h"

#include "support/TestEnvironment.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace PriceFormat;

namespace {

class StockFormatTest : public ::testing::Test
{
protected:
    void SetUp() override { m_savedPricesFormat = GetSettings().pricesFormat; }
    void TearDown() override { GetSettings().pricesFormat = m_savedPricesFormat; }

    // A configuration whose "Unitland" has the given unit patterns (and "Plainland" none).
    void UseUnitPatterns(const QByteArray& display, const QByteArray& say)
    {
        const QString path = m_environment.Root() + u"/URL.ini"_s;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Unitland]\nFormatPriceUnitDisplay=" + display + "\nFormatPriceUnitSay=" + say +
                   "\n[Plainland]\nFormatPriceUnitDisplay=\nFormatPriceUnitSay=\n");
        file.close();
        m_environment.Set("QUORVANE_URL_INI", path.toUtf8());
    }

    static Stock Quoted(const QString& price, const QString& change, const QString& country = u"United States"_s)
    {
        Stock stock(u"Acme"_s, QString(), u"ACME"_s, country);
        stock.SetPrice(price, false);
        stock.SetChange(change, false);
        return stock;
    }

    TestEnvironment m_environment;
    qint32 m_savedPricesFormat = 0;
};

class ScopedLocale
{
public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(m_previous); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    QLocale m_previous;
};

qint32 NewYorkTime(int year, int month, int day, int hour, int minute)
{
    return qint32(
        QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone("America/New_York")).toSecsSinceEpoch());
}

} // namespace

// --- prices -----------------------------------------------------------------------------------

TEST_F(StockFormatTest, PriceInEachType)
{
    const Stock stock = Quoted(u"23.5"_s, u"0.25"_s);
    EXPECT_EQ(stock.FormatPrice(Raw, NoUnit), u"23.5"_s);
    EXPECT_EQ(stock.FormatPrice(DisplayFractions, NoUnit), u"23 1/2"_s);
    EXPECT_EQ(stock.FormatPrice(DisplayDecimals, NoUnit), u"23.50"_s);
    EXPECT_EQ(stock.FormatPrice(SpeechFractions, NoUnit), u"23 \\Map=\"and a half\"=\"1/2\"\\"_s);
    EXPECT_EQ(stock.FormatPrice(SpeechDecimals, NoUnit), u"\\Map=\"23 50\"=\"23.50\"\\"_s);
    EXPECT_EQ(Quoted(u"23.375"_s, u"0"_s).FormatPrice(DisplayFractions, NoUnit), u"23 3/8"_s);
    EXPECT_EQ(Quoted(u"23.3"_s, u"0"_s).FormatPrice(DisplayFractions, NoUnit), u"23.30"_s);
    EXPECT_EQ(Quoted(u"12.00"_s, u"0"_s).FormatPrice(DisplayFractions, NoUnit), u"12"_s);
    EXPECT_EQ(Quoted(u"12.00"_s, u"0"_s).FormatPrice(SpeechDecimals, NoUnit), u"\\Map=\"12\"=\"12\"\\"_s);
}

TEST_F(StockFormatTest, UnitPatternsWrapTheText)
{
    UseUnitPatterns("%s p", "%s pence");
    const Stock withUnits = Quoted(u"23.5"_s, u"-0.5"_s, u"Unitland"_s);
    EXPECT_EQ(withUnits.FormatPrice(DisplayFractions, DisplayUnit), u"23 1/2 p"_s);
    EXPECT_EQ(withUnits.FormatPrice(SpeechDecimals, SpeechUnit), u"\\Map=\"23 50\"=\"23.50\"\\ pence"_s);
    EXPECT_EQ(withUnits.FormatPrice(DisplayFractions, NoUnit), u"23 1/2"_s);
    EXPECT_EQ(withUnits.FormatChange(DisplayFractions, DisplayUnit), u"-1/2 p"_s);
    const Stock plain = Quoted(u"23.5"_s, u"0"_s, u"Plainland"_s);
    EXPECT_EQ(plain.FormatPrice(DisplayFractions, DisplayUnit), u"23 1/2"_s);
}

TEST_F(StockFormatTest, UnitPatternIsNeverAPrintfFormat)
{
    UseUnitPatterns("%d %s %n %%", "%s");
    EXPECT_EQ(Quoted(u"23.5"_s, u"0"_s, u"Unitland"_s).FormatPrice(DisplayFractions, DisplayUnit), u"%d 23 1/2 %n %"_s);
}

// --- changes ----------------------------------------------------------------------------------

struct ChangeCase
{
    const char16_t* change;
    int type;
    const char16_t* expected;
};

class ChangeFormatTest : public ::testing::TestWithParam<ChangeCase>
{};

TEST_P(ChangeFormatTest, SignAndFractionRules)
{
    Stock stock;
    stock.SetChange(QString::fromUtf16(GetParam().change), false);
    EXPECT_EQ(stock.FormatChange(GetParam().type, NoUnit), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeFormatTest,
    ::testing::Values(ChangeCase{u"-0.25", DisplayFractions, u"-1/4"}, ChangeCase{u"0.25", DisplayFractions, u"+1/4"},
                      ChangeCase{u"0.", DisplayFractions, u"0"}, ChangeCase{u"-1.5", DisplayFractions, u"-1 1/2"},
                      ChangeCase{u"2.5", DisplayFractions, u"+2 1/2"}, ChangeCase{u"-0.3", DisplayFractions, u"-0.30"},
                      ChangeCase{u"-0.25", DisplayDecimals, u"-0.25"}, ChangeCase{u"0.25", DisplayDecimals, u"+0.25"},
                      ChangeCase{u"0.", DisplayDecimals, u"0.00"}, ChangeCase{u"-0.25", Raw, u"-0.25"},
                      // speech: no sign (the words up and down carry it)
                      ChangeCase{u"-0.5", SpeechFractions, u"\\Map=\"a half\"=\"1/2\"\\"},
                      ChangeCase{u"0.125", SpeechFractions, u"\\Map=\"an eighth\"=\"1/8\"\\"},
                      ChangeCase{u"-12.5", SpeechFractions, u"12 \\Map=\"and a half\"=\"1/2\"\\"},
                      ChangeCase{u"-0.3", SpeechFractions, u"\\Map=\".30\"=\"0.30\"\\"},
                      ChangeCase{u"-2.5", SpeechDecimals, u"\\Map=\"2 50\"=\"2.50\"\\"},
                      ChangeCase{u"0.05", SpeechDecimals, u"\\Map=\".05\"=\"0.05\"\\"}));

// --- percent, volume --------------------------------------------------------------------------

TEST_F(StockFormatTest, PercentTakesTheSignOfTheChange)
{
    Stock up = Quoted(u"23.5"_s, u"1.25"_s);
    up.SetPercent(u"5.6"_s);
    EXPECT_EQ(up.FormatPercent(DisplayDecimals), u"+5.60%"_s);
    EXPECT_EQ(up.FormatPercent(Raw), u"5.6"_s);
    Stock down = Quoted(u"23.5"_s, u"-0.25"_s);
    down.ComputePercent();
    EXPECT_EQ(down.FormatPercent(DisplayFractions), u"-1.05%"_s);
}

TEST_F(StockFormatTest, EmptyPercentShowsNothing)
{
    Stock stock = Quoted(u"0."_s, u"0."_s);
    stock.ComputePercent();
    ASSERT_TRUE(stock.Percent().isEmpty());
    EXPECT_EQ(stock.FormatPercent(DisplayDecimals), QString());
}

TEST_F(StockFormatTest, PercentFollowsTheLocale)
{
    ScopedLocale locale(QLocale(QLocale::German, QLocale::Germany));
    Stock stock = Quoted(u"23.5"_s, u"-0.25"_s);
    stock.SetPercent(u"-1.05"_s);
    EXPECT_EQ(stock.FormatPercent(DisplayDecimals), u"-1,05%"_s);
}

TEST_F(StockFormatTest, VolumeGrouping)
{
    Stock stock;
    stock.SetVolume(u"1234500"_s);
    EXPECT_EQ(stock.FormatVolume(true), u"1,234,500"_s);
    EXPECT_EQ(stock.FormatVolume(false), u"1234500"_s);
    stock.SetVolume(u"N/A"_s);
    EXPECT_EQ(stock.FormatVolume(true), u"N/A"_s);
}

// --- time -------------------------------------------------------------------------------------

TEST_F(StockFormatTest, TimeWithDayAndZone)
{
    Stock stock;
    stock.SetQuoteTime(NewYorkTime(2002, 4, 5, 16, 5)); // a Friday
    stock.SetTimeZone(u"EST"_s);
    const QString time = QLocale().toString(QTime(16, 5), QLocale().timeFormat(QLocale::ShortFormat));
    EXPECT_TRUE(time.startsWith(u"4:05"_s)) << time.toStdString();
    EXPECT_EQ(stock.FormatTime(false), u"Fri "_s + time + u" EST"_s);
    EXPECT_EQ(stock.FormatTime(true), u"Friday 4/5/2002 "_s + time + u" EST"_s);
}

TEST_F(StockFormatTest, LongTimeHasAFourDigitYear)
{
    const std::pair<QLocale, QString> cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), u"Friday 4/5/2002"_s},
        {QLocale(QLocale::German, QLocale::Germany), u"Freitag 05.04.2002"_s},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), u"Friday 05/04/2002"_s},
    };
    for (const auto& [locale, expected] : cases) {
        ScopedLocale scoped(locale);
        Stock stock;
        stock.SetQuoteTime(NewYorkTime(2002, 4, 5, 16, 5));
        EXPECT_EQ(stock.FormatTime(true).section(u' ', 0, 1), expected);
    }
}

TEST_F(StockFormatTest, TimeLeavesOutWhatIsNotKnown)
{
    Stock stock;
    stock.SetTimeZone(u" "_s); // trimmed away; the country's default may apply
    EXPECT_EQ(stock.FormatTime(true), QString());
    stock.SetQuoteTime(NewYorkTime(2002, 4, 5, 0, 0)); // midnight: the date alone
    EXPECT_EQ(stock.FormatTime(false), u"Fri"_s);
    stock.SetQuoteTime(NewYorkTime(1980, 6, 2, 9, 30)); // not after 1980: the time alone
    EXPECT_TRUE(stock.FormatTime(false).startsWith(u"9:30"_s)) << stock.FormatTime(false).toStdString();
    stock.SetQuoteTime(-5);
    EXPECT_EQ(stock.FormatTime(false), QString());
}

TEST_F(StockFormatTest, TimeFollowsTheLocale)
{
    ScopedLocale locale(QLocale(QLocale::German, QLocale::Germany));
    Stock stock(u"DAX"_s, QString(), u"^GDAXI"_s, u"Germany"_s);
    stock.SetTimeZone(u"CET"_s);
    stock.SetQuoteTime(NewYorkTime(2002, 4, 5, 11, 35));
    EXPECT_EQ(stock.FormatTime(false), u"Fr. 11:35 CET"_s);
}

// --- ExpandMacros -----------------------------------------------------------------------------

TEST_F(StockFormatTest, BroadcastSentenceWithFractions)
{
    GetSettings().pricesFormat = 1;
    Stock dow = Quoted(u"10234.25"_s, u"12.5"_s);
    dow.SetName(u"Dow"_s);
    EXPECT_EQ(ExpandMacros(u"STOCK is CHANGE, at PRICE"_s, &dow),
              u"Dow is up 12 \\Map=\"and a half\"=\"1/2\"\\, at 10,234 \\Map=\"and a fourth\"=\"1/4\"\\"_s);
}

TEST_F(StockFormatTest, MacrosWithDecimalsAndSpokenName)
{
    GetSettings().pricesFormat = 0;
    Stock stock = Quoted(u"12.05"_s, u"-0.5"_s);
    stock.SetSpokenName(u"Acme Corporation"_s);
    EXPECT_EQ(ExpandMacros(u"STOCK CHANGE PRICE"_s, &stock),
              u"\\map=\"Acme Corporation\"=\"Acme\"\\ down \\Map=\".50\"=\"0.50\"\\ \\Map=\"12 oh5\"=\"12.05\"\\"_s);
}

TEST_F(StockFormatTest, MacroWordsInsideOtherWords)
{
    Stock stock = Quoted(u"1."_s, u"0."_s);
    EXPECT_EQ(ExpandMacros(u"All STOCKS: CHANGE"_s, &stock), u"All AcmeS: unchanged"_s);
    EXPECT_EQ(ExpandMacros(u"stock Stock STOC"_s, &stock), u"stock Stock STOC"_s);
    EXPECT_EQ(ExpandMacros(QString(), &stock), QString());
    EXPECT_EQ(ExpandMacros(u"PRICEPRICE"_s, nullptr), u"Preview PricePreview Price"_s);
}

TEST_F(StockFormatTest, MacrosWithoutAStock)
{
    EXPECT_EQ(ExpandMacros(u"STOCK is CHANGE at PRICE."_s, nullptr),
              u"Preview Stock is Preview Change at Preview Price."_s);
}

TEST_F(StockFormatTest, StockWithoutQuote)
{
    Stock stock(u"Acme"_s, QString(), u"ACME"_s, QString());
    ASSERT_FALSE(stock.HasQuote());
    EXPECT_EQ(ExpandMacros(u"STOCK: PRICE, CHANGE."_s, &stock), u"Acme: Not Available, ."_s);
}

TEST_F(StockFormatTest, NameCannotBreakTheMapTag)
{
    Stock stock = Quoted(u"1."_s, u"0."_s);
    stock.SetName(u"A \"B\" \\C"_s);
    stock.SetSpokenName(u"say \\Spd=300\\"_s);
    EXPECT_EQ(ExpandMacros(u"STOCK"_s, &stock), u"\\map=\"say /Spd=300/\"=\"A 'B' /C\"\\"_s);
}
