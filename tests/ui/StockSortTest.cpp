#include "ui/StockSort.h"

#include "market/Stock.h"
#include "market/StockList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Quote
{
    const char16_t* name;
    const char16_t* price;
    const char16_t* percent;
    const char16_t* volume;
    qint32 when;
};

struct Case
{
    const char* title;
    Quote a;
    Quote b;
    int criterion;
    int ascending; // the expected sign for an ascending order
};

void Append(const Quote& quote)
{
    auto stock = std::make_unique<Stock>(QString::fromUtf16(quote.name), QString(), u"SYM"_s, u"United States"_s);
    stock->SetPrice(QString::fromUtf16(quote.price), false);
    stock->SetPercent(QString::fromUtf16(quote.percent));
    stock->SetVolume(QString::fromUtf16(quote.volume));
    stock->SetQuoteTime(quote.when);
    StockList::Append(std::move(stock));
}

class CompareStocksTest : public ::testing::TestWithParam<Case>
{
protected:
    void SetUp() override
    {
        StockList::DeleteAll();
        Append(GetParam().a);
        Append(GetParam().b);
    }
    void TearDown() override { StockList::DeleteAll(); }
};

int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

TEST_P(CompareStocksTest, GivesTheSignAndNegatesItWhenDescending)
{
    const Case& test = GetParam();
    EXPECT_EQ(Sign(StockSort::CompareStocks(0, 1, test.criterion, StockSort::Ascending)), test.ascending);
    EXPECT_EQ(Sign(StockSort::CompareStocks(0, 1, test.criterion, StockSort::Descending)), -test.ascending);
    EXPECT_EQ(Sign(StockSort::CompareStocks(1, 0, test.criterion, StockSort::Ascending)), -test.ascending);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CompareStocksTest,
    ::testing::Values(
        Case{"NameBytes", {u"Beta", u"1", u"", u"0", 0}, {u"Alpha", u"1", u"", u"0", 0}, 1, 1},
        Case{"NameUpperCaseFirst", {u"beta", u"1", u"", u"0", 0}, {u"Zulu", u"1", u"", u"0", 0}, 1, 1},
        Case{"NamePrefixFirst", {u"Acme", u"1", u"", u"0", 0}, {u"Acme Corp", u"1", u"", u"0", 0}, 1, -1},
        Case{"NameNonAsciiAfterAscii", {u"\u00c9clair", u"1", u"", u"0", 0}, {u"Zulu", u"1", u"", u"0", 0}, 1, 1},
        Case{"NameEqual", {u"Same", u"1", u"", u"0", 0}, {u"Same", u"2", u"", u"0", 0}, 1, 0},
        Case{"PercentLargerMoveAfter", {u"A", u"1", u"-3.00%", u"0", 0}, {u"B", u"1", u"+2.00%", u"0", 0}, 2, 1},
        Case{"PercentEmptyIsZero", {u"A", u"1", u"", u"0", 0}, {u"B", u"1", u"0.5%", u"0", 0}, 2, -1},
        Case{"PercentTextIsZero", {u"A", u"1", u"n/a", u"0", 0}, {u"B", u"1", u"0%", u"0", 0}, 2, 0},
        Case{"PercentSameMove", {u"A", u"1", u"-1.5%", u"0", 0}, {u"B", u"1", u"1.5%", u"0", 0}, 2, 0},
        Case{"PriceNumeric", {u"A", u"10", u"", u"0", 0}, {u"B", u"9.5", u"", u"0", 0}, 3, 1},
        Case{"PriceNotText", {u"A", u"100", u"", u"0", 0}, {u"B", u"20", u"", u"0", 0}, 3, 1},
        Case{"VolumeNumeric", {u"A", u"1", u"", u"900", 0}, {u"B", u"1", u"", u"1000", 0}, 4, -1},
        Case{"VolumeNotAvailable", {u"A", u"1", u"", u"N/A", 0}, {u"B", u"1", u"", u"1", 0}, 4, -1},
        Case{"WhenEarlierFirst", {u"A", u"1", u"", u"0", 100}, {u"B", u"1", u"", u"0", 200}, 5, -1},
        Case{"WhenFarApartNoOverflow", {u"A", u"1", u"", u"0", 2000000000}, {u"B", u"1", u"", u"0", -2000000000}, 5, 1},
        Case{"NoCriterion", {u"A", u"1", u"", u"0", 0}, {u"B", u"2", u"", u"0", 0}, 0, 0}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.title); });

TEST(CompareStocks, AnIndexOutsideTheListComparesEqual)
{
    StockList::DeleteAll();
    EXPECT_EQ(StockSort::CompareStocks(0, 1, StockSort::ByName, StockSort::Ascending), 0);
}

TEST(HeaderClick, TheSameColumnReversesAnotherKeepsTheOrder)
{
    using StockSort::AfterHeaderClick;
    using StockSort::Choice;
    const Choice price = AfterHeaderClick({0, 0}, 2);
    EXPECT_EQ(price.criterion, 3);
    EXPECT_EQ(price.order, 0);
    const Choice twice = AfterHeaderClick(price, 2);
    EXPECT_EQ(twice.criterion, 3);
    EXPECT_EQ(twice.order, 1);
    const Choice name = AfterHeaderClick(twice, 0);
    EXPECT_EQ(name.criterion, 1);
    EXPECT_EQ(name.order, 1);
    // Any order other than ascending becomes ascending.
    EXPECT_EQ(AfterHeaderClick({1, 7}, 0).order, 0);
}
