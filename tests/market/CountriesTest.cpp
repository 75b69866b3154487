#include "market/Countries.h"

#include "MarketTestSupport.h"
#include "market/ProfileFile.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using MarketTest::WriteBytes;

namespace {

const QStringList kNames = {u"United States"_s, u"Canada"_s, u"Brazil"_s,        u"UK & Ireland"_s,
                            u"Germany"_s,       u"France"_s, u"Italy"_s,         u"Spain"_s,
                            u"Sweden"_s,        u"Norway"_s, u"Australia & NZ"_s};

TEST(Countries, TheElevenNamesInOrder)
{
    EXPECT_EQ(Countries::CountryNames(), kNames);
}

TEST(Countries, EveryCountryHasItsOwnFlagAndOthersNone)
{
    QStringList seen;
    for (const QString& name : kNames) {
        const QString flag = Countries::FlagResource(name);
        EXPECT_TRUE(flag.startsWith(u":/flags/"_s) && flag.endsWith(u".svg"_s)) << qPrintable(flag);
        EXPECT_FALSE(seen.contains(flag));
        seen.append(flag);
    }
    EXPECT_EQ(Countries::FlagResource(u"united states"_s), u""_s);
    EXPECT_EQ(Countries::FlagResource(u"Atlantis"_s), u""_s);
}

class ConfigurationTest : public ::testing::Test
{
protected:
    void UseIni(const QByteArray& content)
    {
        const QString path = m_env.Root() + u"/URL.ini"_s;
        ASSERT_TRUE(WriteBytes(path, content));
        m_env.Set("QUORVANE_URL_INI", QFile::encodeName(path));
    }
    TestEnvironment m_env;
};

TEST_F(ConfigurationTest, ReadsLikeTheWindowsProfileFunctions)
{
    UseIni("; comment=1\r\n"
           "orphan=before any section\r\n"
           "[United States]\r\n"
           "  QuoteURL =  http://q/%s  \r\n"
           "# QuoteURL=commented\r\n"
           "quoteurl=lower case key\r\n"
           "QuoteURL=second occurrence\r\n"
           "Empty=\r\n"
           "NoEquals\r\n"
           "Equation=a=b\r\n"
           "[united states]\r\n"
           "DefaultTimeZone=lower case section\r\n"
           "[United States]\r\n"
           "DefaultTimeZone=repeated section\r\n"
           "[Canada]\n"
           "DefaultTimeZone=ET\n");
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"QuoteURL"_s), u"http://q/%s"_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"quoteurl"_s), u"lower case key"_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"Empty"_s), u""_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"NoEquals"_s), u""_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"Equation"_s), u"a=b"_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"DefaultTimeZone"_s), u""_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"united states"_s, u"DefaultTimeZone"_s), u"lower case section"_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"orphan"_s), u""_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"# QuoteURL"_s), u""_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"Canada"_s, u"DefaultTimeZone"_s), u"ET"_s);
    EXPECT_EQ(Countries::ReadCountrySetting(u"Brazil"_s, u"DefaultTimeZone"_s), u""_s);
}

TEST_F(ConfigurationTest, ValuesAreCutAt2047Characters)
{
    UseIni("[Spain]\nChartURL=" + QByteArray(5000, 'c') + "\n");
    EXPECT_EQ(Countries::ReadCountrySetting(u"Spain"_s, u"ChartURL"_s), QString(2047, u'c'));
}

TEST_F(ConfigurationTest, AMissingFileReadsEmpty)
{
    m_env.Set("QUORVANE_URL_INI", QFile::encodeName(m_env.Root() + u"/nowhere/URL.ini"_s));
    EXPECT_EQ(Countries::ReadCountrySetting(u"United States"_s, u"QuoteURL"_s), u""_s);
    EXPECT_EQ(Countries::PriceMultiplier(u"United States"_s), 1);
}

TEST_F(ConfigurationTest, EveryCallReadsTheFileAfreshOutsideASnapshot)
{
    UseIni("[France]\nDefaultTimeZone=CET\n");
    EXPECT_EQ(Countries::ReadCountrySetting(u"France"_s, u"DefaultTimeZone"_s), u"CET"_s);
    {
        Countries::ConfigurationSnapshot snapshot;
        EXPECT_EQ(Countries::ReadCountrySetting(u"France"_s, u"DefaultTimeZone"_s), u"CET"_s);
        UseIni("[France]\nDefaultTimeZone=Paris\n");
        Countries::ConfigurationSnapshot nested;
        EXPECT_EQ(Countries::ReadCountrySetting(u"France"_s, u"DefaultTimeZone"_s), u"CET"_s);
    }
    EXPECT_EQ(Countries::ReadCountrySetting(u"France"_s, u"DefaultTimeZone"_s), u"Paris"_s);
}

TEST_F(ConfigurationTest, TheFileMayBeWindows1252)
{
    UseIni("[France]\r\nFormatPriceUnitSay=%s \x80\r\n");
    EXPECT_EQ(Countries::ReadCountrySetting(u"France"_s, u"FormatPriceUnitSay"_s), u"%s €"_s);
}

TEST_F(ConfigurationTest, PriceMultiplier)
{
    UseIni("[United States]\nPriceMultiplier=\n"
           "[Canada]\nPriceMultiplier=100\n"
           "[Brazil]\nPriceMultiplier=abc\n"
           "[Germany]\nPriceMultiplier=10x\n"
           "[France]\nPriceMultiplier=99999999999999\n");
    EXPECT_EQ(Countries::PriceMultiplier(u"United States"_s), 1);
    EXPECT_EQ(Countries::PriceMultiplier(u"Canada"_s), 100);
    EXPECT_EQ(Countries::PriceMultiplier(u"Brazil"_s), 0);
    EXPECT_EQ(Countries::PriceMultiplier(u"Germany"_s), 10);
    EXPECT_EQ(Countries::PriceMultiplier(u"France"_s), 0);
    EXPECT_EQ(Countries::PriceMultiplier(u"Italy"_s), 1);
}

TEST(Countries, FormatPatternSubstitutesOnlyStrings)
{
    using Countries::FormatPattern;
    EXPECT_EQ(FormatPattern(u"http://x/%s?y=%s"_s, {u"A"_s, u"B"_s}), u"http://x/A?y=B"_s);
    EXPECT_EQ(FormatPattern(u"100%% of %s"_s, {u"it"_s}), u"100% of it"_s);
    EXPECT_EQ(FormatPattern(u"%d %x %n %5s %"_s, {u"A"_s}), u"%d %x %n %5s %"_s);
    EXPECT_EQ(FormatPattern(u"%s-%s-%s"_s, {u"only"_s}), u"only--"_s);
    EXPECT_EQ(FormatPattern(u"%s"_s, {u"%s %d"_s, u"next"_s}), u"%s %d"_s) << "arguments are not patterns";
    EXPECT_EQ(FormatPattern(u"q=%20%s%%s"_s, {u"A"_s}), u"q=%20A%s"_s);
    EXPECT_EQ(FormatPattern(u""_s, {u"A"_s}), u""_s);
}

TEST_F(ConfigurationTest, DefaultStocksOfUrlIniReplaceTheBuiltInListsAndSkipBadEntries)
{
    UseIni("[Germany]\n"
           "DefaultStocks= DAX | ^GDAXI | germany ;;MDAX|^MDAXI|Germany;Short|X;Far|Y|Atlantis; |Z|Germany;"
           "<b>Bold</b>|B|Germany;Extra|E|Germany|more;Tab\tName|T|Germany;DAX|^AGAIN|Germany;Euro|^STOXX50E|\n"
           "[France]\nDefaultStocks=||;none\n"
           "[United States]\nDefaultStocks=S&P 500|^GSPC|United States\n");
    const auto added = [](const QString& country) {
        StockList::DeleteAll();
        Countries::AddIndexStocks(country);
        QStringList stocks;
        for (int i = 0; i < StockList::Count(); ++i)
            stocks.append(StockList::At(i)->Name() + u'|' + StockList::At(i)->Symbol() + u'|' +
                          StockList::At(i)->Country());
        StockList::DeleteAll();
        return stocks;
    };
    EXPECT_EQ(added(u"GERMANY"_s),
              (QStringList{u"DAX|^GDAXI|Germany"_s, u"MDAX|^MDAXI|Germany"_s, u"S&P 500|^GSPC|United States"_s}));
    // Nothing usable: the built-in list.
    EXPECT_EQ(added(u"France"_s).first(), u"CAC 40|CAC.PA|France"_s);
    EXPECT_EQ(added(u"United States"_s), QStringList{u"S&P 500|^GSPC|United States"_s});

    // A hand-made list of ten thousand entries is cut short.
    QString many;
    for (int i = 0; i < 10000; ++i)
        many += u"Index %1|^I%1|Italy;"_s.arg(i);
    const std::vector<Countries::DefaultStock> parsed = Countries::ParseDefaultStocks(many);
    ASSERT_EQ(parsed.size(), size_t(Countries::kMaxDefaultStocks));
    EXPECT_EQ(parsed.back().name, u"Index %1"_s.arg(Countries::kMaxDefaultStocks - 1));
}

TEST(Countries, AddIndexStocksDefaultsToTheUnitedStates)
{
    StockList::DeleteAll();
    Countries::AddIndexStocks(u"Atlantis"_s);
    ASSERT_EQ(StockList::Count(), 2);
    EXPECT_EQ(StockList::At(0)->Name(), u"Dow"_s);
    EXPECT_EQ(StockList::At(0)->Symbol(), u"^DJI"_s);
    EXPECT_EQ(StockList::At(1)->Name(), u"Nasdaq"_s);
    StockList::DeleteAll();
}

struct DefaultsCase
{
    QString country;
    QStringList symbols;
};

class IndexStocksTest : public ::testing::TestWithParam<DefaultsCase>
{};

TEST_P(IndexStocksTest, AddsTheTableInOrder)
{
    StockList::DeleteAll();
    Countries::AddIndexStocks(GetParam().country);
    QStringList symbols;
    for (int i = 0; i < StockList::Count(); ++i)
        symbols.append(StockList::At(i)->Symbol() + u'@' + StockList::At(i)->Country());
    StockList::DeleteAll();
    EXPECT_EQ(symbols, GetParam().symbols);
}

const QString kUs1 = u"^DJI@United States"_s;
const QString kUs2 = u"^IXIC@United States"_s;

INSTANTIATE_TEST_SUITE_P(
    Table, IndexStocksTest,
    ::testing::Values(
        DefaultsCase{u"United States"_s, {kUs1, kUs2}},
        DefaultsCase{u"CANADA"_s,
                     {u"^TSE@Canada"_s, u"^XXM@Canada"_s, u"^VSEI@Canada"_s, u"^ZZZ@Canada"_s, kUs1, kUs2}},
        DefaultsCase{u"Brazil"_s, {u"^BVSP@Brazil"_s, u"^IBV@Brazil"_s, u"^MERV@Brazil"_s, kUs1, kUs2}},
        DefaultsCase{u"uk & ireland"_s, {u"UKX.L@UK & Ireland"_s, u"CAC.PA@France"_s, u"DAX.FX@Germany"_s, kUs1, kUs2}},
        DefaultsCase{u"France"_s,
                     {u"CAC.PA@France"_s, u"399948.PA@France"_s, u"399949.PA@France"_s, u"399950.PA@France"_s,
                      u"UKX.L@UK & Ireland"_s, u"DAX.FX@Germany"_s, kUs1, kUs2}},
        DefaultsCase{u"Italy"_s,
                     {u"999.MI@Italy"_s, u"930.MI@Italy"_s, u"932.MI@Italy"_s, u"UKX.L@UK & Ireland"_s,
                      u"CAC.PA@France"_s, u"DAX.FX@Germany"_s, kUs1, kUs2}},
        DefaultsCase{u"Spain"_s,
                     {u"IGEN.MAD@Spain"_s, u"IND.MCE@Spain"_s, u"CAC.PA@France"_s, u"UKX.L@UK & Ireland"_s,
                      u"DAX.FX@Germany"_s, kUs1, kUs2}},
        DefaultsCase{
            u"Sweden"_s,
            {u"IDX-01.ST@Sweden"_s, u"UKX.L@UK & Ireland"_s, u"CAC.PA@France"_s, u"DAX.FX@Germany"_s, kUs1, kUs2}},
        DefaultsCase{u"Norway"_s,
                     {u"TOTX.OL@Norway"_s, u"IDX-01.ST@Sweden"_s, u"UKX.L@UK & Ireland"_s, u"CAC.PA@France"_s,
                      u"DAX.FX@Germany"_s, kUs1, kUs2}},
        DefaultsCase{u"australia & nz"_s,
                     {u"^AORD@Australia & NZ"_s, u"^NZ40@Australia & NZ"_s, u"UKX.L@UK & Ireland"_s, kUs1, kUs2}},
        DefaultsCase{u""_s, {kUs1, kUs2}}));

TEST(ProfileFile, FromTextHandlesOddLines)
{
    const ProfileFile profile = ProfileFile::FromText(u"[A\nk=1\n[]\nk=2\n[B]]\nk=3\n=nokey\n\t[C] \n k\t=\t4 \n"_s);
    EXPECT_EQ(profile.Value(u"A"_s, u"k"_s), u"1"_s) << "an unclosed section name runs to the line end";
    EXPECT_EQ(profile.Value(u""_s, u"k"_s), u"2"_s);
    EXPECT_EQ(profile.Value(u"B"_s, u"k"_s), u"3"_s);
    EXPECT_EQ(profile.Value(u"B"_s, u""_s), u""_s);
    EXPECT_EQ(profile.Value(u"C"_s, u"k"_s), u"4"_s);
    EXPECT_FALSE(profile.HasSection(u"D"_s));
}

} // namespace

namespace {

int Conversions(const QString& pattern)
{
    int count = 0;
    for (qsizetype i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == u'%' && pattern[i + 1] == u'%') {
            ++i;
        } else if (pattern[i] == u'%') {
            ++count;
            EXPECT_EQ(pattern[i + 1], u's') << "only %s is filled in: " << qPrintable(pattern);
        }
    }
    return count;
}

class ShippedConfigurationTest : public ::testing::TestWithParam<const char*>
{};

TEST_P(ShippedConfigurationTest, EveryCountryIsConfiguredConsistently)
{
    const QString path = QStringLiteral(QUORVANE_SOURCE_DIR) + u'/' + QString::fromLatin1(GetParam());
    ASSERT_TRUE(QFileInfo::exists(path)) << qPrintable(path);
    const ProfileFile profile = ProfileFile::Read(path);
    for (const QString& country : Countries::CountryNames()) {
        SCOPED_TRACE(qPrintable(country));
        ASSERT_TRUE(profile.HasSection(country));
        EXPECT_EQ(Conversions(profile.Value(country, u"QuoteURL"_s)), 1);
        const QString realtime = profile.Value(country, u"QuoteURL_RT"_s);
        EXPECT_TRUE(realtime.isEmpty() || Conversions(realtime) == 1);
        EXPECT_EQ(Conversions(profile.Value(country, u"LookupURL"_s)), 1);
        const QString stories = profile.Value(country, u"StoriesURL"_s);
        EXPECT_TRUE(stories.isEmpty() || Conversions(stories) == 2);
        if (stories.isEmpty()) {
            EXPECT_EQ(Conversions(profile.Value(country, u"DetailURL"_s)), 1);
        }
        EXPECT_EQ(Conversions(profile.Value(country, u"ChartURL"_s)), 1);
        const QString multiplier = profile.Value(country, u"PriceMultiplier"_s);
        EXPECT_TRUE(multiplier.isEmpty() || multiplier.toInt() >= 1) << qPrintable(multiplier);
        for (const QString& unit : {u"FormatPriceUnitDisplay"_s, u"FormatPriceUnitSay"_s}) {
            const QString pattern = profile.Value(country, unit);
            EXPECT_TRUE(pattern.isEmpty() || Conversions(pattern) == 1) << qPrintable(pattern);
        }
        for (const QString& key : {u"QuoteURL"_s, u"LookupURL"_s, u"ChartURL"_s})
            EXPECT_TRUE(profile.Value(country, key).startsWith(u"http"_s));
        // The shipped file lists every country's indices, each entry usable.
        const QString defaults = profile.Value(country, u"DefaultStocks"_s);
        EXPECT_TRUE(!defaults.isEmpty() || GetParam() != std::string_view("data/URL.ini"));
        EXPECT_EQ(Countries::ParseDefaultStocks(defaults).size(),
                  size_t(defaults.isEmpty() ? 0 : defaults.count(u';') + 1))
            << qPrintable(defaults);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedConfigurationTest, ::testing::Values("data/URL.ini", "tests/data/URL.ini"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return info.index == 0 ? std::string("Shipped") : std::string("Test");
                         });

} // namespace
