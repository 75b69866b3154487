#include "market/Stock.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

Stock Parsed(int version, const QString& line)
{
    Stock stock;
    stock.version = version;
    stock.line = line;
    stock.Parse();
    return stock;
}

TEST(Stock, ANewStockHasTheDocumentedValues)
{
    const Stock stock;
    EXPECT_EQ(stock.Name(), u""_s);
    EXPECT_EQ(stock.Country(), u"United States"_s);
    EXPECT_EQ(stock.Price(), u"0."_s);
    EXPECT_EQ(stock.Change(), u"0"_s);
    EXPECT_EQ(stock.Percent(), u"0%"_s);
    EXPECT_EQ(stock.Volume(), u"0"_s);
    EXPECT_EQ(stock.QuoteTime(), 0);
    EXPECT_EQ(stock.TimeZone(), u""_s);
    EXPECT_EQ(stock.State(), u"Enabled"_s);
    EXPECT_TRUE(stock.IsEnabled());
    EXPECT_FALSE(stock.HasQuote());
    EXPECT_EQ(stock.version, 1);
}

TEST(Stock, TheFourValueConstructorKeepsTheCountryWhenEmpty)
{
    const Stock a(u"Acme"_s, u"Ack me"_s, u"ACM"_s, u""_s);
    EXPECT_EQ(a.Country(), u"United States"_s);
    EXPECT_EQ(a.SpokenName(), u"Ack me"_s);
    const Stock b(u"Total"_s, u""_s, u"FP.PA"_s, u"France"_s);
    EXPECT_EQ(b.Country(), u"France"_s);
    Stock c;
    c.SetCountry(u""_s);
    EXPECT_EQ(c.Country(), u"United States"_s);
}

TEST(Stock, CopyTakesTheValuesButNotTheLineState)
{
    Stock original(u"Acme"_s, u"Ack me"_s, u"ACM"_s, u"Canada"_s);
    original.SetPrice(u"12.5"_s, false);
    original.SetChange(u"-0.5"_s, false);
    original.SetVolume(u"1200"_s);
    original.SetQuoteTime(1000);
    original.SetTimeZone(u"PT"_s);
    original.SetReportedPrice(u"12."_s);
    original.SetState(u"Disabled"_s);
    original.version = 2;
    original.line = u"something"_s;
    original.cursor = 4;
    original.ChartURL();
    ASSERT_FALSE(original.LastURL().isEmpty());

    const Stock copy(original);
    EXPECT_TRUE(copy.SameForDisplay(original));
    EXPECT_EQ(copy.Change(), u"-0.5"_s);
    EXPECT_EQ(copy.ReportedPrice(), u"12."_s);
    EXPECT_EQ(copy.State(), u"Disabled"_s);
    EXPECT_EQ(copy.version, 1);
    EXPECT_EQ(copy.line, u""_s);
    EXPECT_EQ(copy.cursor, 0);
    EXPECT_EQ(copy.LastURL(), u""_s);

    Stock assigned;
    assigned.line = u"keep"_s;
    assigned = original;
    EXPECT_TRUE(assigned.SameForDisplay(original));
    EXPECT_EQ(assigned.line, u"keep"_s);
    EXPECT_EQ(assigned.LastURL(), u""_s);
}

TEST(Stock, ParsesAVersionTwoLine)
{
    const Stock stock =
        Parsed(2, u"\"Smith, Jones & Co\",SJ,23.500,1200,946684800,Disabled,-0.250,-1.05,Canada,PT,Smith Jones"_s);
    EXPECT_EQ(stock.Name(), u"Smith, Jones & Co"_s);
    EXPECT_EQ(stock.Symbol(), u"SJ"_s);
    EXPECT_EQ(stock.Price(), u"23.5"_s);
    EXPECT_EQ(stock.Volume(), u"1200"_s);
    EXPECT_EQ(stock.QuoteTime(), 946684800);
    EXPECT_EQ(stock.State(), u"Disabled"_s);
    EXPECT_EQ(stock.Change(), u"-0.25"_s);
    EXPECT_EQ(stock.Percent(), u"-1.05"_s);
    EXPECT_EQ(stock.Country(), u"Canada"_s);
    EXPECT_EQ(stock.TimeZone(), u"PT"_s);
    EXPECT_EQ(stock.SpokenName(), u"Smith Jones"_s);
}

TEST(Stock, ParsesAVersionOneLineWithoutItsQuote)
{
    const Stock stock = Parsed(1, u"Acme,ACM,99.5,5000,946684800,Disabled,1.5,1.2%,Germany,  "_s);
    EXPECT_EQ(stock.Name(), u"Acme"_s);
    EXPECT_EQ(stock.Symbol(), u"ACM"_s);
    EXPECT_EQ(stock.State(), u"Disabled"_s);
    EXPECT_EQ(stock.Country(), u"Germany"_s);
    EXPECT_EQ(stock.TimeZone(), u"CET"_s) << "a blank time zone takes the country's default";
    EXPECT_EQ(stock.Price(), u"0."_s);
    EXPECT_EQ(stock.Volume(), u"0"_s);
    EXPECT_EQ(stock.Change(), u"0"_s);
    EXPECT_EQ(stock.Percent(), u"0%"_s);
    EXPECT_EQ(stock.QuoteTime(), 0);
}

TEST(Stock, AnUnknownVersionKeepsTheNewValues)
{
    for (int version : {0, 3, -1}) {
        const Stock stock = Parsed(version, u"Acme,ACM,99.5,5000,946684800,Disabled,1.5,1.2%,Germany,PT,x"_s);
        EXPECT_EQ(stock.Name(), u""_s);
        EXPECT_EQ(stock.Country(), u"United States"_s);
        EXPECT_EQ(stock.Price(), u"0."_s);
    }
}

TEST(Stock, MissingFieldsAreEmptyButCountryAndTimeZoneHaveDefaults)
{
    const Stock empty = Parsed(2, u""_s);
    EXPECT_EQ(empty.Name(), u""_s);
    EXPECT_EQ(empty.Price(), u""_s);
    EXPECT_EQ(empty.Volume(), u""_s);
    EXPECT_EQ(empty.State(), u""_s);
    EXPECT_FALSE(empty.IsEnabled());
    EXPECT_EQ(empty.Country(), u"United States"_s);
    EXPECT_EQ(empty.TimeZone(), u"ET"_s);

    const Stock shortLine = Parsed(2, u"Acme,ACM,10.25"_s);
    EXPECT_EQ(shortLine.Name(), u"Acme"_s);
    EXPECT_EQ(shortLine.Price(), u"10.25"_s);
    EXPECT_EQ(shortLine.Country(), u"United States"_s);
    EXPECT_EQ(shortLine.TimeZone(), u"ET"_s);
    EXPECT_EQ(shortLine.SpokenName(), u""_s);

    const Stock noDefault = Parsed(2, u"Vale,VALE3.SA,1,1,1,Enabled,0,0,Brazil,,"_s);
    EXPECT_EQ(noDefault.TimeZone(), u""_s) << "a country without DefaultTimeZone leaves it empty";
}

TEST(Stock, QuoteTimeOutOfRangeIsUnknown)
{
    EXPECT_EQ(Parsed(2, u"a,b,1,1,99999999999,Enabled"_s).QuoteTime(), 0);
    EXPECT_EQ(Parsed(2, u"a,b,1,1,-5,Enabled"_s).QuoteTime(), -5);
    EXPECT_EQ(Parsed(2, u"a,b,1,1,12abc,Enabled"_s).QuoteTime(), 12);
}

TEST(Stock, FormatWritesTheElevenFieldsInFileOrder)
{
    Stock stock(u"Smith, Jones & Co"_s, u"The \"Big\" One"_s, u"SJ"_s, u"France"_s);
    stock.SetPrice(u"23.5"_s, false);
    stock.SetVolume(u"N/A"_s);
    stock.SetQuoteTime(-2);
    stock.SetChange(u"-0.25"_s, false);
    stock.SetPercent(u"-1.05"_s);
    stock.SetTimeZone(u"CET"_s);
    stock.Format();
    EXPECT_EQ(stock.line, u"\"Smith, Jones & Co\",SJ,23.5,N/A,-2,Enabled,-0.25,-1.05,France,CET,The \"\"Big\"\" One"_s);

    Stock back = Parsed(2, stock.line);
    EXPECT_TRUE(back.SameForDisplay(stock));
    EXPECT_EQ(back.Change(), stock.Change());
    EXPECT_EQ(back.Percent(), stock.Percent());
    EXPECT_EQ(back.State(), stock.State());
}

TEST(Stock, AStockWithAnEmptyNameSurvivesTheFile)
{
    Stock stock(u""_s, u""_s, u"^DJI"_s, u"Canada"_s);
    stock.Format();
    const Stock back = Parsed(2, stock.line);
    EXPECT_EQ(back.Name(), u""_s);
    EXPECT_EQ(back.Symbol(), u"^DJI"_s);
    EXPECT_EQ(back.Country(), u"Canada"_s);
}

struct NormalizeCase
{
    QString text;
    QString country;
    bool multiplier;
    QString expected;
};

class NormalizeTest : public ::testing::TestWithParam<NormalizeCase>
{};

TEST_P(NormalizeTest, PriceAndChangeAreNormalized)
{
    const NormalizeCase& c = GetParam();
    Stock stock(u"x"_s, u""_s, u"X"_s, c.country);
    stock.SetPrice(c.text, c.multiplier);
    stock.SetChange(c.text, c.multiplier);
    EXPECT_EQ(stock.Price(), c.expected) << qPrintable(c.text);
    EXPECT_EQ(stock.Change(), c.expected) << qPrintable(c.text);
}

INSTANTIATE_TEST_SUITE_P(Table, NormalizeTest,
                         ::testing::Values(NormalizeCase{u"1 234,50"_s, u"United States"_s, true, u"1234.5"_s},
                                           NormalizeCase{u"1\u00A0234,50"_s, u"United States"_s, true, u"1234.5"_s},
                                           NormalizeCase{u"12"_s, u"United States"_s, false, u"12"_s},
                                           NormalizeCase{u"12"_s, u"United States"_s, true, u"12."_s},
                                           NormalizeCase{u"23.500000"_s, u"United States"_s, false, u"23.5"_s},
                                           NormalizeCase{u"23.000000"_s, u"United States"_s, false, u"23."_s},
                                           NormalizeCase{u"-0.250000"_s, u"United States"_s, false, u"-0.25"_s},
                                           NormalizeCase{u"100"_s, u"United States"_s, false, u"100"_s},
                                           NormalizeCase{u"0.235"_s, u"UK & Ireland"_s, true, u"23.5"_s},
                                           NormalizeCase{u"0.235"_s, u"UK & Ireland"_s, false, u"0.235"_s},
                                           NormalizeCase{u"N/A"_s, u"United States"_s, true, u"0."_s},
                                           NormalizeCase{u"N/A"_s, u"United States"_s, false, u"N/A"_s},
                                           NormalizeCase{u"1.5e10"_s, u"United States"_s, false, u"1.5e10"_s},
                                           NormalizeCase{u"5"_s, u"Nowhere"_s, true, u"5."_s},
                                           NormalizeCase{u""_s, u"United States"_s, false, u""_s}));

TEST(Stock, SetTimeZoneTrimsAndFallsBackToTheCountryDefault)
{
    Stock stock(u"x"_s, u""_s, u"X"_s, u"Australia & NZ"_s);
    stock.SetTimeZone(u"  NZST \t"_s);
    EXPECT_EQ(stock.TimeZone(), u"NZST"_s);
    stock.SetTimeZone(u"   "_s);
    EXPECT_EQ(stock.TimeZone(), u"AEST"_s);
    Stock unknown(u"x"_s, u""_s, u"X"_s, u"Atlantis"_s);
    unknown.SetTimeZone(u""_s);
    EXPECT_EQ(unknown.TimeZone(), u""_s);
}

TEST(Stock, ComputePercent)
{
    Stock stock;
    stock.SetPrice(u"23.5"_s, false);
    stock.SetChange(u"-0.25"_s, false);
    stock.ComputePercent();
    EXPECT_EQ(stock.Percent(), u"-1.05"_s);

    stock.SetChange(u"0.5"_s, false);
    stock.ComputePercent();
    EXPECT_EQ(stock.Percent(), u"2.17"_s);

    stock.SetPrice(u"0."_s, false);
    stock.SetChange(u"0."_s, false);
    stock.ComputePercent();
    EXPECT_EQ(stock.Percent(), u""_s);

    stock.SetPrice(u"5"_s, false);
    stock.SetChange(u"5"_s, false);
    stock.ComputePercent();
    EXPECT_EQ(stock.Percent(), u""_s) << "no previous close";

    stock.SetPrice(u"N/A"_s, false);
    stock.SetChange(u"-3"_s, false);
    stock.ComputePercent();
    EXPECT_EQ(stock.Percent(), u"-100.00"_s);
}

TEST(Stock, Direction)
{
    const std::pair<QString, int> cases[] = {
        {u""_s, Stock::Unchanged}, {u"0."_s, Stock::Unchanged}, {u"-0.25"_s, Stock::Down}, {u"1-2"_s, Stock::Down},
        {u"0.5"_s, Stock::Up},     {u"0"_s, Stock::Up},         {u"N/A"_s, Stock::Up},
    };
    for (const auto& [change, direction] : cases) {
        Stock stock;
        stock.SetChange(change, false);
        EXPECT_EQ(stock.Direction(), direction) << qPrintable(change);
    }
}

TEST(Stock, HasQuote)
{
    Stock stock;
    EXPECT_FALSE(stock.HasQuote());
    stock.SetVolume(u"N/A"_s);
    EXPECT_FALSE(stock.HasQuote());
    stock.SetVolume(u"10"_s);
    EXPECT_TRUE(stock.HasQuote());
    stock.SetVolume(u"0"_s);
    stock.SetPrice(u"1.5"_s, false);
    EXPECT_TRUE(stock.HasQuote());
}

TEST(Stock, IsEnabledOnlyForTheExactText)
{
    Stock stock;
    for (const QString& state : {u"enabled"_s, u"Enabled "_s, u""_s, u"Disabled"_s}) {
        stock.SetState(state);
        EXPECT_FALSE(stock.IsEnabled()) << qPrintable(state);
    }
}

TEST(Stock, AttributeByName)
{
    Stock stock;
    stock.SetPrice(u"23.5"_s, false);
    stock.SetChange(u"-0.25"_s, false);
    stock.SetPercent(u"-1.05"_s);
    stock.SetVolume(u"1200"_s);
    EXPECT_EQ(stock.AttributeByName(u"price"_s), u"23.5"_s);
    EXPECT_EQ(stock.AttributeByName(u"CHANGE%"_s), u"-1.05"_s);
    EXPECT_EQ(stock.AttributeByName(u"Change"_s), u"-0.25"_s);
    EXPECT_EQ(stock.AttributeByName(u"Volume"_s), u"1200"_s);
    EXPECT_EQ(stock.AttributeByName(u"Change %"_s), u""_s);
    EXPECT_EQ(stock.AttributeByName(u""_s), u""_s);
}

TEST(Stock, SameForDisplayIgnoresChangeAndPercentOnly)
{
    Stock base(u"Acme"_s, u"Ack"_s, u"ACM"_s, u"Canada"_s);
    base.SetPrice(u"1.5"_s, false);
    base.SetVolume(u"7"_s);
    base.SetQuoteTime(5);
    base.SetTimeZone(u"ET"_s);

    Stock other(base);
    other.SetChange(u"9"_s, false);
    other.SetPercent(u"9"_s);
    other.SetState(u"Disabled"_s);
    other.SetReportedPrice(u"3"_s);
    EXPECT_TRUE(base.SameForDisplay(other));

    const std::function<void(Stock&)> changes[] = {
        [](Stock& s) { s.SetName(u"Acme2"_s); },       [](Stock& s) { s.SetSpokenName(u"x"_s); },
        [](Stock& s) { s.SetSymbol(u"A"_s); },         [](Stock& s) { s.SetCountry(u"Brazil"_s); },
        [](Stock& s) { s.SetPrice(u"1.6"_s, false); }, [](Stock& s) { s.SetVolume(u"8"_s); },
        [](Stock& s) { s.SetQuoteTime(6); },           [](Stock& s) { s.SetTimeZone(u"PT"_s); },
    };
    for (const auto& change : changes) {
        Stock changed(base);
        change(changed);
        EXPECT_FALSE(base.SameForDisplay(changed));
    }
}

TEST(Stock, QuoteURLPrefersTheRealtimePattern)
{
    const Stock us(u"Dow"_s, u""_s, u"^DJI"_s, u"United States"_s);
    EXPECT_EQ(us.QuoteURL(), u"http://127.0.0.1:9/us/realtime?s=^DJI"_s);
    EXPECT_EQ(us.LastURL(), u"http://127.0.0.1:9/us/realtime?s=^DJI"_s);
    const Stock ca(u"TSE"_s, u""_s, u"^TSE"_s, u"Canada"_s);
    EXPECT_EQ(ca.QuoteURL(), u"http://127.0.0.1:9/ca/quote?s=^TSE"_s);
    const Stock nowhere(u"X"_s, u""_s, u"X"_s, u"Atlantis"_s);
    EXPECT_EQ(nowhere.QuoteURL(), u""_s) << "no pattern, no quote";
}

TEST(Stock, LookupURLEncodesPlusAndSpaceOverTheWholeText)
{
    const Stock stock(u"AT&T Wireless + Co"_s, u""_s, u"AWE"_s, u"United States"_s);
    EXPECT_EQ(stock.LookupURL(), u"http://127.0.0.1:9/us/lookup?name=AT&T+Wireless+%2B+Co"_s);

    TestEnvironment env;
    const QString ini = env.Root() + u"/URL.ini"_s;
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[United States]\nLookupURL=http://h/find a+b?q=%s\n");
    file.close();
    env.Set("QUORVANE_URL_INI", QFile::encodeName(ini));
    EXPECT_EQ(stock.LookupURL(), u"http://h/find+a%2Bb?q=AT&T+Wireless+%2B+Co"_s);
}

TEST(Stock, StoriesURLFallsBackToTheDetailPage)
{
    const Stock us(u"Acme"_s, u""_s, u"ACM"_s, u"United States"_s);
    EXPECT_EQ(us.StoriesURL(), u"http://127.0.0.1:9/us/stories/A/ACM.html"_s);
    const Stock ca(u"Acme"_s, u""_s, u"ACM.TO"_s, u"Canada"_s);
    EXPECT_EQ(ca.StoriesURL(), u"http://127.0.0.1:9/ca/detail?s=ACM.TO"_s);
    EXPECT_EQ(ca.LastURL(), u"http://127.0.0.1:9/ca/detail?s=ACM.TO"_s);
    const Stock noSymbol(u"Acme"_s, u""_s, u""_s, u"United States"_s);
    EXPECT_EQ(noSymbol.StoriesURL(), u"http://127.0.0.1:9/us/stories//.html"_s);
}

TEST(Stock, ChartURL)
{
    const Stock stock(u"Vodafone"_s, u""_s, u"VOD.L"_s, u"UK & Ireland"_s);
    EXPECT_EQ(stock.ChartURL(), u"http://127.0.0.1:9/uk/chart?s=VOD.L"_s);
    const Stock nowhere(u"X"_s, u""_s, u"X"_s, u"Atlantis"_s);
    nowhere.QuoteURL();
    EXPECT_EQ(nowhere.ChartURL(), u""_s);
    EXPECT_EQ(nowhere.LastURL(), u""_s);
}

TEST(Stock, ASymbolIsNeverAFormat)
{
    const Stock stock(u"%s%n%d"_s, u""_s, u"%s%n%x"_s, u"United States"_s);
    EXPECT_EQ(stock.ChartURL(), u"http://127.0.0.1:9/us/chart?s=%s%n%x"_s);
    EXPECT_EQ(stock.LookupURL(), u"http://127.0.0.1:9/us/lookup?name=%s%n%d"_s);
}

} // namespace
