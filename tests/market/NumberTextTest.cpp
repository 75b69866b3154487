#include "market/NumberText.h"

#include <QLocale>

#include <clocale>
#include <limits>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(NumberText, LeadingDoubleReadsTheNumericPrefix)
{
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"23.5"_s), 23.5);
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"  -0.25xyz"_s), -0.25);
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"+12."_s), 12.0);
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u".5"_s), 0.5);
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"1.5e3 shares"_s), 1500.0);
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"2e"_s), 2.0);
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"2e+"_s), 2.0);
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"1,5"_s), 1.0);
    EXPECT_EQ(NumberText::LeadingDouble(u"N/A"_s), 0.0);
    EXPECT_EQ(NumberText::LeadingDouble(u"."_s), 0.0);
    EXPECT_EQ(NumberText::LeadingDouble(u"-"_s), 0.0);
    EXPECT_EQ(NumberText::LeadingDouble(u""_s), 0.0);
    EXPECT_EQ(NumberText::LeadingDouble(u"nan"_s), 0.0);
    EXPECT_EQ(NumberText::LeadingDouble(u"inf"_s), 0.0);
    EXPECT_EQ(NumberText::LeadingDouble(u"1e999999999999"_s), 0.0) << "overflow must not give infinity";
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"1e-999999999"_s), 0.0);
    EXPECT_EQ(NumberText::LeadingDouble(u"١٢"_s), 0.0) << "only ASCII digits";
}

TEST(NumberText, LeadingDoubleIgnoresTheCLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_DOUBLE_EQ(NumberText::LeadingDouble(u"23.5"_s), 23.5);
    EXPECT_EQ(NumberText::Fixed(23.5, 6), u"23.500000"_s);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, LeadingIntegerFollowsAtoiAndClamps)
{
    EXPECT_EQ(NumberText::LeadingInteger(u" 42abc"_s), 42);
    EXPECT_EQ(NumberText::LeadingInteger(u"-7"_s), -7);
    EXPECT_EQ(NumberText::LeadingInteger(u"+3"_s), 3);
    EXPECT_EQ(NumberText::LeadingInteger(u"x1"_s), 0);
    EXPECT_EQ(NumberText::LeadingInteger(u"12.9"_s), 12);
    EXPECT_EQ(NumberText::LeadingInteger(u"99999999999999999999999"_s), std::numeric_limits<qint64>::max());
    EXPECT_EQ(NumberText::LeadingInteger(u"-99999999999999999999999"_s), std::numeric_limits<qint64>::min());
    EXPECT_EQ(NumberText::LeadingInteger(u"-9223372036854775808"_s), std::numeric_limits<qint64>::min());
    EXPECT_EQ(NumberText::LeadingInt32(u"2147483647"_s), 2147483647);
    EXPECT_EQ(NumberText::LeadingInt32(u"2147483648"_s), 0);
    EXPECT_EQ(NumberText::LeadingInt32(u"-2147483648"_s), std::numeric_limits<qint32>::min());
}

TEST(NumberText, FixedWritesLikePrintf)
{
    EXPECT_EQ(NumberText::Fixed(23.5, 6), u"23.500000"_s);
    EXPECT_EQ(NumberText::Fixed(-0.25, 6), u"-0.250000"_s);
    EXPECT_EQ(NumberText::Fixed(-1.0526315789, 2), u"-1.05"_s);
    EXPECT_EQ(NumberText::Fixed(0.125, 2), u"0.12"_s) << "ties go to even, as printf does";
    EXPECT_EQ(NumberText::Fixed(-0.0, 2), u"-0.00"_s);
    EXPECT_EQ(NumberText::Fixed(1e20, 0), u"100000000000000000000"_s);
    EXPECT_EQ(NumberText::Fixed(std::numeric_limits<double>::infinity(), 2), u"0.00"_s);
    EXPECT_EQ(NumberText::Fixed(std::numeric_limits<double>::max(), 6).size(), 309 + 7);
}

} // namespace
