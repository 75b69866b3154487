#include "base/CSettings.h"
#include "rules/CAlert.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"

#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

CRule ParsedRule(const QString& line)
{
    CRule rule;
    rule.line = line;
    rule.Parse();
    return rule;
}

QString Formatted(CsvRecord& record)
{
    record.Format();
    return record.line;
}

} // namespace

// --- CRule ------------------------------------------------------------------------------------

TEST(Rule, NewRuleHasNoOperator)
{
    const CRule rule;
    EXPECT_EQ(rule.Operator(), CRule::NoOperator);
    EXPECT_TRUE(rule.OperatorText().isEmpty());
    EXPECT_TRUE(rule.StockName().isEmpty());
}

struct OperatorCase
{
    const char16_t* text;
    int index;
};

class RuleOperatorTest : public ::testing::TestWithParam<OperatorCase>
{};

TEST_P(RuleOperatorTest, TextConvertsToTheFirstExactEntry)
{
    EXPECT_EQ(CRule::OperatorIndex(QString::fromUtf16(GetParam().text)), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Table, RuleOperatorTest,
                         ::testing::Values(OperatorCase{u">", 0}, OperatorCase{u">=", 1}, OperatorCase{u"<", 2},
                                           OperatorCase{u"<=", 3}, OperatorCase{u"=", 4}, OperatorCase{u"", 5},
                                           OperatorCase{u"=>", 5}, OperatorCase{u"==", 5}, OperatorCase{u" >", 5},
                                           OperatorCase{u"<>", 5}));

TEST(Rule, OperatorTextOutsideTheTableIsEmpty)
{
    EXPECT_EQ(CRule::OperatorText(0), u">"_s);
    EXPECT_EQ(CRule::OperatorText(4), u"="_s);
    EXPECT_TRUE(CRule::OperatorText(5).isEmpty());
    EXPECT_TRUE(CRule::OperatorText(-1).isEmpty());
    EXPECT_TRUE(CRule::OperatorText(6).isEmpty());
    CRule rule;
    rule.SetOperator(9);
    EXPECT_EQ(rule.Operator(), CRule::NoOperator);
}

TEST(Rule, DescriptionJoinsStockAttributeOperatorAndNumber)
{
    CRule rule;
    rule.SetStockName(u"Acme"_s);
    rule.SetAttribute(u"Price"_s);
    rule.SetOperator(u">"_s);
    rule.SetNumber(u"25"_s);
    EXPECT_EQ(rule.Description(), u"Acme (Price) > 25"_s);
    // Text from the user is never a format: percent signs stay as typed.
    rule.SetStockName(u"100% %s Co"_s);
    rule.SetAttribute(u"Change%"_s);
    EXPECT_EQ(rule.Description(), u"100% %s Co (Change%) > 25"_s);
}

TEST(Rule, ParsesTheFiveFieldsAndWritesThemBack)
{
    CRule rule = ParsedRule(u"\"Smith, Jones & Co\",Change%,>=,5,Cheer"_s);
    EXPECT_EQ(rule.StockName(), u"Smith, Jones & Co"_s);
    EXPECT_EQ(rule.Attribute(), u"Change%"_s);
    EXPECT_EQ(rule.Operator(), CRule::GreaterEqual);
    EXPECT_EQ(rule.Number(), u"5"_s);
    EXPECT_EQ(rule.Announcement(), u"Cheer"_s);
    EXPECT_EQ(Formatted(rule), u"\"Smith, Jones & Co\",Change%,>=,5,Cheer"_s);
}

TEST(Rule, UnknownOperatorLoadsAsNoneAndIsWrittenEmpty)
{
    CRule rule = ParsedRule(u"Acme,Price,=>,10,Cheer"_s);
    EXPECT_EQ(rule.Operator(), CRule::NoOperator);
    EXPECT_EQ(Formatted(rule), u"Acme,Price,,10,Cheer"_s);
}

TEST(Rule, LineWithTwoFieldsLeavesTheRestEmpty)
{
    const CRule rule = ParsedRule(u"Acme,Volume"_s);
    EXPECT_EQ(rule.StockName(), u"Acme"_s);
    EXPECT_EQ(rule.Attribute(), u"Volume"_s);
    EXPECT_EQ(rule.Operator(), CRule::NoOperator);
    EXPECT_TRUE(rule.Number().isEmpty());
    EXPECT_TRUE(rule.Announcement().isEmpty());
}

TEST(Rule, EmptyLineGivesAnEmptyRule)
{
    const CRule rule = ParsedRule(QString());
    EXPECT_TRUE(rule.StockName().isEmpty());
    EXPECT_EQ(rule.Operator(), CRule::NoOperator);
}

TEST(Rule, EmptyFirstFieldKeepsTheOthersInPlace)
{
    CRule rule;
    rule.SetAttribute(u"Price"_s);
    rule.SetOperator(CRule::Less);
    rule.SetNumber(u"3"_s);
    const CRule back = ParsedRule(Formatted(rule));
    EXPECT_TRUE(back.StockName().isEmpty());
    EXPECT_EQ(back.Attribute(), u"Price"_s);
    EXPECT_EQ(back.Operator(), CRule::Less);
    EXPECT_EQ(back.Number(), u"3"_s);
}

// --- CAnnouncement ----------------------------------------------------------------------------

TEST(Announcement, QuotedThirdFieldKeepsItsCommaAndTrailingCommaGivesEmptySayAfter)
{
    CAnnouncement announcement;
    announcement.line = u"Cheer,Wave,\"STOCK is up, hooray\",Bow,"_s;
    announcement.Parse();
    EXPECT_EQ(announcement.Name(), u"Cheer"_s);
    EXPECT_EQ(announcement.GestureBefore(), u"Wave"_s);
    EXPECT_EQ(announcement.SayBefore(), u"STOCK is up, hooray"_s);
    EXPECT_EQ(announcement.GestureAfter(), u"Bow"_s);
    EXPECT_TRUE(announcement.SayAfter().isEmpty());
}

TEST(Announcement, MissingFieldsReadEmptyAndExtraFieldsAreIgnored)
{
    CAnnouncement announcement;
    announcement.line = u"A,B"_s;
    announcement.Parse();
    EXPECT_EQ(announcement.GestureBefore(), u"B"_s);
    EXPECT_TRUE(announcement.SayBefore().isEmpty());
    announcement.line = u"A,B,C,D,E,F,G"_s;
    announcement.Parse();
    EXPECT_EQ(announcement.SayAfter(), u"E"_s);
    EXPECT_EQ(Formatted(announcement), u"A,B,C,D,E"_s);
}

TEST(Announcement, LineBreaksSurviveTheOneLineFormat)
{
    CAnnouncement announcement;
    announcement.SetName(u"Two lines"_s);
    announcement.SetGestureBefore(CAnnouncement::NoGesture());
    announcement.SetSayBefore(u"First line\nSecond, with a comma\r\nThird"_s);
    const QString line = Formatted(announcement);
    EXPECT_FALSE(line.contains(u'\n'));
    EXPECT_FALSE(line.contains(u'\r'));

    CAnnouncement back;
    back.line = line;
    back.Parse();
    EXPECT_EQ(back.SayBefore(), u"First line\nSecond, with a comma\nThird"_s);
    EXPECT_EQ(back.GestureBefore(), u"(None)"_s);
}

TEST(Announcement, CopyHoldsTheSameFields)
{
    CAnnouncement original;
    original.SetName(u"N"_s);
    original.SetSayBefore(u"STOCK"_s);
    original.SetSayAfter(u"PRICE"_s);
    CAnnouncement copy(original);
    copy.SetSayBefore(u"expanded"_s);
    EXPECT_EQ(copy.Name(), u"N"_s);
    EXPECT_EQ(copy.SayAfter(), u"PRICE"_s);
    EXPECT_EQ(original.SayBefore(), u"STOCK"_s);
}

// --- CAlert -----------------------------------------------------------------------------------

TEST(Alert, VersionOneLayoutSkipsTheThirdFieldAndHasNoStockName)
{
    CAlert alert;
    alert.version = 1;
    alert.line = u"Acme (Price) > 25,25.5,ignored,Fri 4/5/2002 4:05 PM ET,United States"_s;
    alert.Parse();
    EXPECT_EQ(alert.RuleDescription(), u"Acme (Price) > 25"_s);
    EXPECT_EQ(alert.Price(), u"25.5"_s);
    EXPECT_EQ(alert.When(), u"Fri 4/5/2002 4:05 PM ET"_s);
    EXPECT_EQ(alert.Country(), u"United States"_s);
    EXPECT_TRUE(alert.StockName().isEmpty());
    // Always written in the layout of version 2.
    EXPECT_EQ(Formatted(alert), u"Acme (Price) > 25,25.5,Fri 4/5/2002 4:05 PM ET,United States,"_s);
}

TEST(Alert, VersionTwoAndOtherVersionsUseTheFiveFieldLayout)
{
    for (int version : {2, 0, 7}) {
        CAlert alert;
        alert.version = version;
        alert.line = u"Acme (Price) > 25,25.5,Fri 4:05 PM,United States,Acme"_s;
        alert.Parse();
        EXPECT_EQ(alert.When(), u"Fri 4:05 PM"_s) << version;
        EXPECT_EQ(alert.Country(), u"United States"_s) << version;
        EXPECT_EQ(alert.StockName(), u"Acme"_s) << version;
    }
}

TEST(Alert, NewAlertHasVersionOne)
{
    EXPECT_EQ(CAlert().version, 1);
}

class AlertDisplayPriceTest : public ::testing::Test
{
protected:
    void SetUp() override { m_savedFormat = GetSettings().pricesFormat; }
    void TearDown() override { GetSettings().pricesFormat = m_savedFormat; }

    // A configuration file whose "Unitland" shows prices through the given pattern.
    void UseDisplayPattern(const QByteArray& pattern)
    {
        const QString path = m_environment.Root() + u"/URL.ini"_s;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Unitland]\nFormatPriceUnitDisplay=" + pattern + "\n");
        file.close();
        m_environment.Set("QUORVANE_URL_INI", path.toUtf8());
    }

    TestEnvironment m_environment;
    qint32 m_savedFormat = 0;
};

TEST_F(AlertDisplayPriceTest, FollowsThePricesFormatSetting)
{
    CAlert alert(u"d"_s, u"23.5"_s, u"w"_s, u"United States"_s, u"Acme"_s);
    GetSettings().pricesFormat = 1;
    EXPECT_EQ(alert.DisplayPrice(), u"23 1/2"_s);
    GetSettings().pricesFormat = 0;
    EXPECT_EQ(alert.DisplayPrice(), u"23.50"_s);
    EXPECT_EQ(alert.Price(), u"23.5"_s);
}

TEST_F(AlertDisplayPriceTest, PassesThroughTheCountrysDisplayPatternAsText)
{
    UseDisplayPattern("%s p (100%% %d)");
    CAlert alert(u"d"_s, u"23.5"_s, u"w"_s, u"Unitland"_s, u"Acme"_s);
    GetSettings().pricesFormat = 1;
    EXPECT_EQ(alert.DisplayPrice(), u"23 1/2 p (100% %d)"_s);
}
