// Quote answers: the comma-separated line, its European form, the chart JSON adapter, the time
// forms, and how an answer is stored into a stock.

#include "market/QuoteAnswer.h"
#include "market/ChartAnswer.h"
#include "market/EuropeanQuoteAnswer.h"
#include "market/QuoteRetrieval.h"
#include "market/Stock.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

qint32 Local(int year, int month, int day, int hour, int minute)
{
    return qint32(QDateTime(QDate(year, month, day), QTime(hour, minute)).toSecsSinceEpoch());
}

} // namespace

struct TimeCase
{
    const char* date;
    const char* time;
    qint32 expected;
};

class QuoteTimeTest : public ::testing::TestWithParam<TimeCase>
{};

TEST_P(QuoteTimeTest, ReadsEveryTimeForm)
{
    const TimeCase& c = GetParam();
    EXPECT_EQ(QuoteAnswer::QuoteTimeOf(QString::fromUtf8(c.date), QString::fromUtf8(c.time)), c.expected)
        << c.date << " " << c.time;
}

// The tests run in America/New_York.
INSTANTIATE_TEST_SUITE_P(
    Forms, QuoteTimeTest,
    ::testing::Values(TimeCase{"4/5/2002", "4:05pm", Local(2002, 4, 5, 16, 5)},
                      TimeCase{"4/5/2002", "4:05am", Local(2002, 4, 5, 4, 5)},
                      TimeCase{"4/5/2002", "12:30am", Local(2002, 4, 5, 0, 30)},
                      TimeCase{"4/5/2002", "12:30 PM", Local(2002, 4, 5, 12, 30)},
                      TimeCase{"4/5/2002", "12:30PM", Local(2002, 4, 5, 12, 30)},
                      TimeCase{"4/5/2002", "16h05", Local(2002, 4, 5, 16, 5)},
                      TimeCase{"4/5/2002", "16.05", Local(2002, 4, 5, 16, 5)},
                      TimeCase{"4/5/2002", "16:05", Local(2002, 4, 5, 16, 5)},
                      TimeCase{"4/5/2002", "9:5", Local(2002, 4, 5, 9, 5)},
                      // with seconds the 24-hour clock stays, and a suffix after them still counts
                      TimeCase{"4/5/2002", "16:05:30", Local(2002, 4, 5, 16, 5)},
                      TimeCase{"4/5/2002", "4:05:30 PM", Local(2002, 4, 5, 16, 5)},
                      // no separator: midnight
                      TimeCase{"4/5/2002", "1605", Local(2002, 4, 5, 0, 0)},
                      TimeCase{"4/5/2002", "", Local(2002, 4, 5, 0, 0)},
                      // daylight saving decided for the date
                      TimeCase{"1/15/2002", "12:00", Local(2002, 1, 15, 12, 0)},
                      TimeCase{"7/4/2002", "12:00", Local(2002, 7, 4, 12, 0)},
                      TimeCase{" 4/ 5/ 2002", "4:05pm", Local(2002, 4, 5, 16, 5)},
                      // unreadable dates: 0
                      TimeCase{"4/5", "4:05pm", 0}, TimeCase{"", "", 0}, TimeCase{"N/A", "N/A", 0},
                      // not representable: -1
                      TimeCase{"4/5/02", "4:05pm", -1}, TimeCase{"4/5/2039", "4:05pm", -1},
                      TimeCase{"12/31/1969", "0:00", -1}, TimeCase{"4/5/99999999999", "4:05pm", -1},
                      TimeCase{"99999/5/2002", "4:05pm", -1}, TimeCase{"2147483648/5/2002", "4:05pm", -1},
                      TimeCase{"-2147483648/5/2002", "4:05pm", -1}, TimeCase{"4/5/2002", "2147483648:05", -1}));

TEST(QuoteAnswer, ParsesTheFiveFields)
{
    const QuoteAnswer answer(u"23.50,-0.25,880,4/5/2002,4:05pm"_s);
    EXPECT_EQ(answer.price, u"23.50"_s);
    EXPECT_EQ(answer.change, u"-0.25"_s);
    EXPECT_EQ(answer.volume, u"880"_s);
    EXPECT_EQ(answer.date, u"4/5/2002"_s);
    EXPECT_EQ(answer.time, u"4:05pm"_s);
    EXPECT_TRUE(answer.timeZone.isEmpty());
    EXPECT_EQ(answer.quoteTime, Local(2002, 4, 5, 16, 5));
}

TEST(QuoteAnswer, IgnoresExtraFieldsAndLeavesMissingOnesEmpty)
{
    const QuoteAnswer extra(u"\"1,234.50\",+1.5,N/A,4/5/2002,4:05pm,more,fields"_s);
    EXPECT_EQ(extra.price, u"1,234.50"_s);
    EXPECT_EQ(extra.volume, u"N/A"_s);
    EXPECT_EQ(extra.time, u"4:05pm"_s);

    const QuoteAnswer partial(u"23.5,0.1"_s);
    EXPECT_EQ(partial.price, u"23.5"_s);
    EXPECT_TRUE(partial.volume.isEmpty());
    EXPECT_TRUE(partial.date.isEmpty());
    EXPECT_EQ(partial.quoteTime, 0);

    QuoteAnswer reparsed(u"1,2,3,4/5/2002,1:00"_s);
    reparsed.line = u"9,8"_s;
    EXPECT_TRUE(reparsed.Parse());
    EXPECT_EQ(reparsed.price, u"9"_s);
    EXPECT_TRUE(reparsed.time.isEmpty()) << "parsing again starts from the beginning";
    EXPECT_TRUE(reparsed.Format());
}

TEST(QuoteAnswer, EuropeanAnswerUsesSemicolonsAndDecimalCommas)
{
    const EuropeanQuoteAnswer answer(u"23,50;-0,25;880;4/5/2002;16.05"_s);
    EXPECT_EQ(answer.price, u"23.50"_s);
    EXPECT_EQ(answer.change, u"-0.25"_s);
    EXPECT_EQ(answer.volume, u"880"_s);
    EXPECT_EQ(answer.time, u"16.05"_s);
    EXPECT_EQ(answer.quoteTime, Local(2002, 4, 5, 16, 5));
    EXPECT_EQ(EuropeanQuoteAnswer::ToCommaSeparated(u"1,5;2"_s), u"1.5,2"_s);
}

TEST(QuoteAnswer, ApplyQuoteStoresTheAnswer)
{
    Stock stock(u"Test"_s, QString(), u"TST"_s, u"United States"_s);
    QuoteRetrieval::ApplyQuote(stock, QuoteAnswer(u"23.50,-0.25,880,4/5/2002,4:05pm"_s));
    EXPECT_EQ(stock.Price(), u"23.5"_s);
    EXPECT_EQ(stock.Change(), u"-0.25"_s);
    EXPECT_EQ(stock.Percent(), u"-1.05"_s);
    EXPECT_EQ(stock.Volume(), u"880"_s);
    EXPECT_EQ(stock.QuoteTime(), Local(2002, 4, 5, 16, 5));
    EXPECT_EQ(stock.TimeZone(), u"ET"_s) << "the country's default zone";

    Stock german(u"DAX"_s, QString(), u"^GDAXI"_s, u"Germany"_s);
    QuoteRetrieval::ApplyQuote(german, EuropeanQuoteAnswer(u"23,50;-0,25;880;4/5/2002;16.05"_s));
    EXPECT_EQ(german.Price(), u"23.5"_s);
    EXPECT_EQ(german.Change(), u"-0.25"_s);
    EXPECT_EQ(german.Percent(), u"-1.05"_s);
    EXPECT_EQ(german.QuoteTime(), Local(2002, 4, 5, 16, 5));
}

TEST(QuoteAnswer, EmptyBodyGivesAnEmptyQuote)
{
    Stock stock(u"Test"_s, QString(), u"TST"_s, u"United States"_s);
    QuoteRetrieval::ApplyQuote(stock, QuoteAnswer(QString()));
    EXPECT_EQ(stock.Price(), u"0."_s);
    EXPECT_EQ(stock.Change(), u"0."_s);
    EXPECT_TRUE(stock.Percent().isEmpty());
    EXPECT_TRUE(stock.Volume().isEmpty());
    EXPECT_EQ(stock.QuoteTime(), 0);
}

struct FormatCase
{
    const char* value;
    QuoteRetrieval::AnswerFormat format;
};

class AnswerFormatTest : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(AnswerFormatTest, ReadsTheKey)
{
    EXPECT_EQ(QuoteRetrieval::ParseAnswerFormat(QString::fromUtf8(GetParam().value)), GetParam().format);
}

using QuoteRetrieval::AnswerFormat;
INSTANTIATE_TEST_SUITE_P(Values, AnswerFormatTest,
                         ::testing::Values(FormatCase{"", AnswerFormat::Csv}, FormatCase{"csv", AnswerFormat::Csv},
                                           FormatCase{" CSV ", AnswerFormat::Csv},
                                           FormatCase{"yahoo-chart-json", AnswerFormat::ChartJson},
                                           FormatCase{"Yahoo-Chart-JSON", AnswerFormat::ChartJson},
                                           FormatCase{"json", AnswerFormat::Unknown},
                                           FormatCase{"yahoo chart json", AnswerFormat::Unknown}));

TEST(QuoteRetrieval, ReadsTheCountryKeys)
{
    // tests/data/URL.ini: the United States answer in chart JSON with the agent "Quorvane-Test/1.0".
    EXPECT_EQ(QuoteRetrieval::AnswerFormatOf(u"United States"_s), AnswerFormat::ChartJson);
    EXPECT_EQ(QuoteRetrieval::UserAgentOf(u"United States"_s), u"Quorvane-Test/1.0"_s);
    EXPECT_EQ(QuoteRetrieval::AnswerFormatOf(u"Atlantis"_s), AnswerFormat::Csv);
    EXPECT_TRUE(QuoteRetrieval::UserAgentOf(u"Atlantis"_s).isEmpty());
}

TEST(QuoteRetrieval, PicksTheAnswerForm)
{
    const QString european = u"23,50;-0,25;880;4/5/2002;16.05"_s;
    auto france = QuoteRetrieval::ParseAnswer(u"France"_s, AnswerFormat::Csv, european);
    ASSERT_TRUE(france);
    EXPECT_EQ(france->price, u"23.50"_s);
    auto lowerCase = QuoteRetrieval::ParseAnswer(u"france"_s, AnswerFormat::Csv, european);
    ASSERT_TRUE(lowerCase);
    EXPECT_EQ(lowerCase->price, u"23"_s) << "only the exact names France and Germany answer in the European form";
    EXPECT_FALSE(QuoteRetrieval::ParseAnswer(u"United States"_s, AnswerFormat::Unknown, u"1,2,3,4/5/2002,1:00"_s));
    EXPECT_FALSE(QuoteRetrieval::ParseAnswer(u"United States"_s, AnswerFormat::ChartJson, u"1,2,3,4/5/2002,1:00"_s));
    auto chart = QuoteRetrieval::ParseAnswer(
        u"Germany"_s, AnswerFormat::ChartJson,
        u"{\"chart\":{\"result\":[{\"meta\":{\"regularMarketPrice\":23.5,\"previousClose\":23.75,"
        "\"regularMarketVolume\":880,\"regularMarketTime\":1018037100,\"gmtoffset\":0}}],\"error\":null}}"_s);
    ASSERT_TRUE(chart);
    EXPECT_EQ(chart->price, u"23.5"_s);
    EXPECT_EQ(chart->change, u"-0.25"_s);
}

struct ChartCase
{
    const char* name;
    const char* json;
    const char* line; // nullptr: no quote
};

class ChartAnswerTest : public ::testing::TestWithParam<ChartCase>
{};

TEST_P(ChartAnswerTest, TurnsTheAnswerIntoAQuoteLine)
{
    const ChartCase& c = GetParam();
    QString line = u"untouched"_s;
    const bool ok = ChartAnswer::ToQuoteLine(QString::fromUtf8(c.json), line);
    if (c.line == nullptr) {
        EXPECT_FALSE(ok);
        EXPECT_EQ(line, u"untouched"_s);
    } else {
        EXPECT_TRUE(ok);
        EXPECT_EQ(line, QString::fromUtf8(c.line));
    }
}

// 1712347200 is 2024-04-05 20:00 UTC: 16:00 in New York (gmtoffset -14400).
INSTANTIATE_TEST_SUITE_P(
    Answers, ChartAnswerTest,
    ::testing::Values(
        ChartCase{
            "Full",
            R"({"chart":{"result":[{"meta":{"currency":"USD","symbol":"IBM","regularMarketPrice":187.44000244140625,
                  "previousClose":185.12,"chartPreviousClose":180,"regularMarketVolume":3456789,
                  "regularMarketTime":1712347200,"gmtoffset":-14400}}],"error":null}})",
            "187.44,2.32,3456789,4/5/2024,16:00"},
        ChartCase{"ChartPreviousCloseWhenNoPreviousClose",
                  R"({"chart":{"result":[{"meta":{"regularMarketPrice":99.9,"chartPreviousClose":100.05,
                  "regularMarketVolume":0,"regularMarketTime":1712347200,"gmtoffset":7200}}]}})",
                  "99.9,-0.15,0,4/5/2024,22:00"},
        ChartCase{"NoVolume",
                  R"({"chart":{"result":[{"meta":{"regularMarketPrice":1.0835,"previousClose":1.0835,
                  "regularMarketTime":1712347200}}]}})",
                  "1.0835,0.0000,N/A,4/5/2024,20:00"},
        ChartCase{"WholeNumbers",
                  R"({"chart":{"result":[{"meta":{"regularMarketPrice":39000,"previousClose":38950,
                  "regularMarketVolume":12,"regularMarketTime":1712347200,"gmtoffset":0}}]}})",
                  "39000,50,12,4/5/2024,20:00"},
        ChartCase{"AcrossMidnight",
                  R"({"chart":{"result":[{"meta":{"regularMarketPrice":5,"previousClose":4,
                  "regularMarketVolume":1,"regularMarketTime":1712347200,"gmtoffset":36000}}]}})",
                  "5,1,1,4/6/2024,6:00"},
        ChartCase{"ErrorObject",
                  R"({"chart":{"result":null,"error":{"code":"Not Found","description":"No data found"}}})", nullptr},
        ChartCase{"ErrorWithResult",
                  R"({"chart":{"result":[{"meta":{"regularMarketPrice":5,"previousClose":4,
                  "regularMarketTime":1712347200}}],"error":{"code":"x"}}})",
                  nullptr},
        ChartCase{"EmptyResult", R"({"chart":{"result":[],"error":null}})", nullptr},
        ChartCase{"NoPrice", R"({"chart":{"result":[{"meta":{"previousClose":4,"regularMarketTime":1712347200}}]}})",
                  nullptr},
        ChartCase{"PriceAsText",
                  R"({"chart":{"result":[{"meta":{"regularMarketPrice":"5","previousClose":4,
                  "regularMarketTime":1712347200}}]}})",
                  nullptr},
        ChartCase{"NoPreviousClose",
                  R"({"chart":{"result":[{"meta":{"regularMarketPrice":5,"regularMarketTime":1712347200}}]}})",
                  nullptr},
        ChartCase{"NoTime", R"({"chart":{"result":[{"meta":{"regularMarketPrice":5,"previousClose":4}}]}})", nullptr},
        ChartCase{"AbsurdTime",
                  R"({"chart":{"result":[{"meta":{"regularMarketPrice":5,"previousClose":4,
                  "regularMarketTime":1e300}}]}})",
                  nullptr},
        ChartCase{"NoMeta", R"({"chart":{"result":[{}]}})", nullptr},
        ChartCase{"NotJson", "23.50,-0.25,880,4/5/2002,4:05pm", nullptr}, ChartCase{"Empty", "", nullptr},
        ChartCase{"Array", "[1,2,3]", nullptr}, ChartCase{"Truncated", R"({"chart":{"result":[{"meta":{)", nullptr}),
    [](const ::testing::TestParamInfo<ChartCase>& info) { return std::string(info.param.name); });

TEST(ChartAnswer, NumberTextIsTheShortestExactForm)
{
    EXPECT_EQ(ChartAnswer::NumberText(23.5), u"23.5"_s);
    EXPECT_EQ(ChartAnswer::NumberText(187.44000244140625), u"187.44"_s);
    EXPECT_EQ(ChartAnswer::NumberText(0.1), u"0.1"_s);
    EXPECT_EQ(ChartAnswer::NumberText(-3), u"-3"_s);
    EXPECT_EQ(ChartAnswer::NumberText(12345678.91), u"12345678.91"_s);
    EXPECT_EQ(ChartAnswer::NumberText(1e21), u"1000000000000000000000"_s);
}
