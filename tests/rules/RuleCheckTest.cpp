// Rule evaluation and the rule check: which rules hold, which alerts they raise or refresh, and when
// their announcements are performed.

#include "rules/RuleCheck.h"
#include "base/CSettings.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/AlertList.h"
#include "rules/AnnouncementList.h"
#include "rules/CAlert.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"
#include "rules/IAlertSink.h"
#include "rules/IAnnouncer.h"
#include "rules/RuleList.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The Alerts page's part, as the page does it: the alert list changes through the core functions.
class RecordingAlertSink final : public IAlertSink
{
public:
    void RaiseAlert(const QString& ruleDescription, const QString& price, const QString& when, const QString& country,
                    const QString& stockName) override
    {
        ++raised;
        InsertNewAlert(ruleDescription, price, when, country, stockName);
    }
    void RefreshAlert(int index, const QString& price, const QString& when) override
    {
        ++refreshed;
        if (RefreshAlertAt(index, price, when))
            ++changed;
    }

    int raised = 0;
    int refreshed = 0;
    int changed = 0;
};

struct PlayedAnnouncement
{
    QString announcement; // "<none>" for a missing one
    QString rule;
    bool force;
};

class RecordingAnnouncer final : public IAnnouncer
{
public:
    void PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force) override
    {
        played.push_back(
            {announcement ? announcement->Name() : u"<none>"_s, rule ? rule->Description() : QString(), force});
    }

    std::vector<PlayedAnnouncement> played;
};

Stock* AddStock(const QString& name, const QString& price, const QString& change, const QString& percent = QString(),
                const QString& volume = u"0"_s)
{
    Stock* stock = StockList::Add(name, QString(), name, u"United States"_s);
    stock->SetPrice(price, false);
    stock->SetChange(change, false);
    stock->SetPercent(percent);
    stock->SetVolume(volume);
    return stock;
}

CRule MakeRule(const QString& stock, const QString& attribute, const QString& op, const QString& number,
               const QString& announcement = QString())
{
    CRule rule;
    rule.SetStockName(stock);
    rule.SetAttribute(attribute);
    rule.SetOperator(op);
    rule.SetNumber(number);
    rule.SetAnnouncement(announcement);
    return rule;
}

void AddRule(const CRule& rule)
{
    InsertRule(GetRuleCount(), std::make_unique<CRule>(rule));
}

void AddAnnouncement(const QString& name)
{
    auto announcement = std::make_unique<CAnnouncement>();
    announcement->SetName(name);
    InsertAnnouncement(GetAnnouncementCount(), std::move(announcement));
}

class RuleCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedSettings = GetSettings();
        Clear();
    }
    void TearDown() override
    {
        Clear();
        GetSettings() = m_savedSettings;
    }
    static void Clear()
    {
        StockList::DeleteAll();
        DeleteAllRules();
        RemoveAllAlerts();
        DeleteAllAnnouncements();
    }

    void Check(bool force = false) { CheckAllRules(force, m_alerts, m_announcer); }

    TestEnvironment m_environment;
    CSettings m_savedSettings;
    RecordingAlertSink m_alerts;
    RecordingAnnouncer m_announcer;
};

// --- EvaluateRule -----------------------------------------------------------------------------

struct EvaluateCase
{
    const char* label;
    const char16_t* attribute;
    const char16_t* op;
    const char16_t* number;
    bool holds;
};

void PrintTo(const EvaluateCase& c, std::ostream* out)
{
    *out << c.label;
}

class EvaluateRuleTest : public RuleCheckTest, public ::testing::WithParamInterface<EvaluateCase>
{};

} // namespace

TEST_P(EvaluateRuleTest, ComparesTheAbsoluteValueWithTheNumber)
{
    // price 10.00, change -3, percent 5.00%, volume 1234500
    AddStock(u"Acme"_s, u"10.00"_s, u"-3"_s, u"5.00%"_s, u"1234500"_s);
    const EvaluateCase& c = GetParam();
    const CRule rule =
        MakeRule(u"Acme"_s, QString::fromUtf16(c.attribute), QString::fromUtf16(c.op), QString::fromUtf16(c.number));
    EXPECT_EQ(EvaluateRule(rule), c.holds);
}

INSTANTIATE_TEST_SUITE_P(Cases, EvaluateRuleTest,
                         ::testing::Values(EvaluateCase{"ChangeAboveTwoWithMinusThree", u"Change", u">", u"2", true},
                                           EvaluateCase{"ChangeBelowOneWithMinusThree", u"Change", u"<", u"1", false},
                                           EvaluateCase{"PercentAtLeastFive", u"Change%", u">=", u"5", true},
                                           EvaluateCase{"PercentAboveFive", u"Change%", u">", u"5", false},
                                           EvaluateCase{"PriceEqualsTen", u"Price", u"=", u"10", true},
                                           EvaluateCase{"PriceEqualsTenWithDecimals", u"Price", u"=", u"10.000", true},
                                           EvaluateCase{"PriceAtMostTen", u"Price", u"<=", u"10", true},
                                           EvaluateCase{"PriceBelowTen", u"Price", u"<", u"10", false},
                                           EvaluateCase{"VolumeAboveAMillion", u"Volume", u">", u"1e6", true},
                                           EvaluateCase{"AttributeIgnoresCase", u"pRICE", u">=", u"10", true},
                                           EvaluateCase{"NumberWithTrailingText", u"Price", u">", u"9.5 dollars", true},
                                           EvaluateCase{"NumberWithoutDigitsIsZero", u"Price", u">", u"abc", true},
                                           EvaluateCase{"NegativeNumber", u"Change", u">", u"-5", true},
                                           EvaluateCase{"UnknownAttribute", u"Bid", u">", u"0", false},
                                           EvaluateCase{"EmptyNumber", u"Price", u">", u"", false},
                                           EvaluateCase{"NoOperator", u"Price", u"=>", u"1", false}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(RuleCheckTest, EqualityIsExact)
{
    AddStock(u"Acme"_s, u"10.001"_s, u"0"_s);
    EXPECT_FALSE(EvaluateRule(MakeRule(u"Acme"_s, u"Price"_s, u"="_s, u"10"_s)));
    EXPECT_TRUE(EvaluateRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"10"_s)));
}

TEST_F(RuleCheckTest, RuleOnAMissingOrRenamedStockNeverHolds)
{
    AddStock(u"Acme"_s, u"10"_s, u"1"_s);
    EXPECT_FALSE(EvaluateRule(MakeRule(u"Gone"_s, u"Price"_s, u">"_s, u"1"_s)));
    EXPECT_FALSE(EvaluateRule(MakeRule(u"acme"_s, u"Price"_s, u">"_s, u"1"_s)));
}

TEST_F(RuleCheckTest, EmptyValueNeverHolds)
{
    AddStock(u"Acme"_s, u"10"_s, u"1"_s, QString()); // percent could not be computed
    EXPECT_FALSE(EvaluateRule(MakeRule(u"Acme"_s, u"Change%"_s, u">="_s, u"0"_s)));
}

// --- CheckAllRules ----------------------------------------------------------------------------

TEST_F(RuleCheckTest, NewAlertCarriesTheStocksValues)
{
    Stock* stock = AddStock(u"Acme"_s, u"25.5"_s, u"1"_s);
    stock->SetQuoteTime(1017954300); // 2002-04-04 16:05 in New York
    stock->SetTimeZone(u"ET"_s);
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s));
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u"<"_s, u"25"_s)); // does not hold
    Check();
    ASSERT_EQ(GetAlertCount(), 1);
    const CAlert* alert = GetAlert(0);
    EXPECT_EQ(alert->RuleDescription(), u"Acme (Price) > 25"_s);
    EXPECT_EQ(alert->Price(), u"25.5"_s);
    EXPECT_EQ(alert->When(), stock->FormatTime(true));
    EXPECT_FALSE(alert->When().isEmpty());
    EXPECT_EQ(alert->Country(), u"United States"_s);
    EXPECT_EQ(alert->StockName(), u"Acme"_s);
}

TEST_F(RuleCheckTest, ReadOnceAnnouncesOnlyANewAlert)
{
    GetSettings().readAnnouncments = 1;
    GetSettings().readOnce = 1;
    AddAnnouncement(u"Cheer"_s);
    Stock* acme = AddStock(u"Acme"_s, u"26"_s, u"1"_s);
    AddStock(u"Other"_s, u"1"_s, u"1"_s);
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s, u"Cheer"_s));
    AddRule(MakeRule(u"Other"_s, u"Price"_s, u">"_s, u"0"_s, u"Cheer"_s));

    Check();
    ASSERT_EQ(GetAlertCount(), 2);
    EXPECT_EQ(GetAlert(0)->RuleDescription(), u"Other (Price) > 0"_s);
    Check(); // same values: nothing moves
    EXPECT_EQ(GetAlert(0)->RuleDescription(), u"Other (Price) > 0"_s);
    acme->SetPrice(u"27"_s, false);
    Check(); // a new price: Acme's alert comes to the top
    EXPECT_EQ(GetAlert(0)->RuleDescription(), u"Acme (Price) > 25"_s);
    EXPECT_EQ(GetAlert(0)->Price(), u"27"_s);

    EXPECT_EQ(GetAlertCount(), 2);
    EXPECT_EQ(m_alerts.raised, 2);
    EXPECT_EQ(m_alerts.refreshed, 4);
    EXPECT_EQ(m_alerts.changed, 1);
    ASSERT_EQ(m_announcer.played.size(), 2U);
    EXPECT_EQ(m_announcer.played[0].rule, u"Acme (Price) > 25"_s);
    EXPECT_EQ(m_announcer.played[0].announcement, u"Cheer"_s);

    // Removing the alert re-arms the announcement.
    RemoveAlert(0);
    Check();
    EXPECT_EQ(m_announcer.played.size(), 3U);
}

TEST_F(RuleCheckTest, WithoutReadOnceEveryCheckAnnounces)
{
    GetSettings().readAnnouncments = 1;
    GetSettings().readOnce = 0;
    AddAnnouncement(u"Cheer"_s);
    AddStock(u"Acme"_s, u"26"_s, u"1"_s);
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s, u"Cheer"_s));
    for (int i = 0; i < 3; ++i)
        Check();
    EXPECT_EQ(GetAlertCount(), 1);
    EXPECT_EQ(m_announcer.played.size(), 3U);
}

TEST_F(RuleCheckTest, ReadAnnouncementsOffRaisesSilently)
{
    GetSettings().readAnnouncments = 0;
    GetSettings().readOnce = 0;
    AddAnnouncement(u"Cheer"_s);
    AddStock(u"Acme"_s, u"26"_s, u"1"_s);
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s, u"Cheer"_s));
    Check();
    Check(true);
    EXPECT_EQ(m_alerts.raised, 1);
    EXPECT_EQ(m_alerts.refreshed, 1);
    EXPECT_TRUE(m_announcer.played.empty());
}

TEST_F(RuleCheckTest, RulesWithEqualDescriptionsShareOneAlert)
{
    GetSettings().readAnnouncments = 1;
    GetSettings().readOnce = 1;
    AddAnnouncement(u"First"_s);
    AddAnnouncement(u"Second"_s);
    AddStock(u"Acme"_s, u"26"_s, u"1"_s);
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s, u"First"_s));
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s, u"Second"_s));
    Check();
    EXPECT_EQ(GetAlertCount(), 1);
    EXPECT_EQ(m_alerts.raised, 1);
    EXPECT_EQ(m_alerts.refreshed, 1); // the second rule finds the first one's alert
    ASSERT_EQ(m_announcer.played.size(), 1U);
    EXPECT_EQ(m_announcer.played[0].announcement, u"First"_s);
}

TEST_F(RuleCheckTest, MissingAnnouncementStillRaisesTheAlert)
{
    GetSettings().readAnnouncments = 1;
    GetSettings().readOnce = 0;
    AddStock(u"Acme"_s, u"26"_s, u"1"_s);
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s, u"Nobody"_s));
    Check();
    EXPECT_EQ(GetAlertCount(), 1);
    ASSERT_EQ(m_announcer.played.size(), 1U);
    EXPECT_EQ(m_announcer.played[0].announcement, u"<none>"_s);
}

TEST_F(RuleCheckTest, ForceIsPassedToTheAnnouncer)
{
    GetSettings().readAnnouncments = 1;
    GetSettings().readOnce = 0;
    AddAnnouncement(u"Cheer"_s);
    AddStock(u"Acme"_s, u"26"_s, u"1"_s);
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s, u"Cheer"_s));
    Check(false);
    Check(true);
    ASSERT_EQ(m_announcer.played.size(), 2U);
    EXPECT_FALSE(m_announcer.played[0].force);
    EXPECT_TRUE(m_announcer.played[1].force);
}

namespace {

// An announcer that edits the rule list while it plays, as a dialog opened in the middle could.
class RuleRemovingAnnouncer final : public IAnnouncer
{
public:
    void PlayAnnouncement(const CAnnouncement*, const CRule* rule, bool) override
    {
        descriptions.append(rule->Description());
        RemoveRule(0);
    }
    QStringList descriptions;
};

} // namespace

TEST_F(RuleCheckTest, RuleListChangingDuringTheCheckIsSafe)
{
    GetSettings().readAnnouncments = 1;
    GetSettings().readOnce = 0;
    AddStock(u"Acme"_s, u"26"_s, u"1"_s);
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"25"_s));
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"20"_s));
    AddRule(MakeRule(u"Acme"_s, u"Price"_s, u">"_s, u"15"_s));
    RuleRemovingAnnouncer announcer;
    CheckAllRules(false, m_alerts, announcer);
    EXPECT_EQ(announcer.descriptions, (QStringList{u"Acme (Price) > 25"_s, u"Acme (Price) > 15"_s}));
    EXPECT_EQ(GetRuleCount(), 1);
}

TEST_F(RuleCheckTest, StockWithoutAQuoteNeitherRaisesNorRefreshes)
{
    GetSettings().readAnnouncments = 1;
    GetSettings().readOnce = 0;
    StockList::Add(u"Fresh"_s, QString(), u"Fresh"_s, u"United States"_s); // price "0.", no volume yet
    StockList::FindByName(u"Fresh"_s)->SetVolume(u"N/A"_s);
    AddRule(MakeRule(u"Fresh"_s, u"Price"_s, u"<"_s, u"5"_s));
    AddRule(MakeRule(u"Fresh"_s, u"Volume"_s, u"<"_s, u"5"_s));
    InsertNewAlert(u"Fresh (Volume) < 5"_s, u"1"_s, u"earlier"_s, u"United States"_s, u"Fresh"_s);
    Check();
    EXPECT_EQ(m_alerts.raised + m_alerts.refreshed, 0);
    EXPECT_TRUE(m_announcer.played.empty());
}
