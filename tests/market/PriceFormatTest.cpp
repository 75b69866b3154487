#include "market/PriceFormat.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <numeric>

using namespace Qt::StringLiterals;
using namespace PriceFormat;

namespace {

// Pins the default locale for one test and puts the previous one back.
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

QLocale German()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

struct Rewrite
{
    const char16_t* input;
    const char16_t* expected;
};

void PrintTo(const Rewrite& rewrite, std::ostream* out)
{
    *out << QString::fromUtf16(rewrite.input).toStdString();
}

} // namespace

// --- the table of 64ths -----------------------------------------------------------------------

struct TableEntry
{
    int k;
    const char16_t* decimal;
    const char16_t* fraction;
    const char16_t* speech;
};

class FractionTableTest : public ::testing::TestWithParam<TableEntry>
{};

TEST_P(FractionTableTest, EntryHoldsDecimalFractionAndSpeech)
{
    const TableEntry& expected = GetParam();
    const Fraction& entry = FractionEntry(expected.k);
    EXPECT_EQ(entry.decimal, QString::fromUtf16(expected.decimal));
    EXPECT_EQ(entry.fraction, QString::fromUtf16(expected.fraction));
    EXPECT_EQ(entry.speech, QString::fromUtf16(expected.speech));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, FractionTableTest,
    ::testing::Values(TableEntry{0, u"0.", u"", u""}, TableEntry{32, u"0.5", u"1/2", u"and a half\"=\"1/2\"\\"},
                      TableEntry{16, u"0.25", u"1/4", u"and a fourth\"=\"1/4\"\\"},
                      TableEntry{48, u"0.75", u"3/4", u"and 3 fourths\"=\"3/4\"\\"},
                      TableEntry{8, u"0.125", u"1/8", u"and an eighth\"=\"1/8\"\\"},
                      TableEntry{40, u"0.625", u"5/8", u"and 5 eighths\"=\"5/8\"\\"},
                      TableEntry{4, u"0.0625", u"1/16", u"and a sixteenth\"=\"1/16\"\\"},
                      TableEntry{2, u"0.03125", u"1/32", u"and a thirty second\"=\"1/32\"\\"},
                      TableEntry{1, u"0.015625", u"1/64", u"and a sixty fourth\"=\"1/64\"\\"},
                      TableEntry{63, u"0.984375", u"63/64", u"and 63 sixty fourths\"=\"63/64\"\\"}));

TEST(FractionTable, EveryFractionIsReducedAndWorthItsDecimal)
{
    for (int k = 1; k < 64; ++k) {
        const Fraction& entry = FractionEntry(k);
        const QStringList parts = entry.fraction.split(u'/');
        ASSERT_EQ(parts.size(), 2) << k;
        const int numerator = parts[0].toInt();
        const int denominator = parts[1].toInt();
        EXPECT_EQ(std::gcd(numerator, denominator), 1) << k;
        EXPECT_EQ(numerator * 64, k * denominator) << k;
        EXPECT_EQ(entry.decimal.toDouble(), k / 64.0) << k;
    }
}

// --- GroupThousands ---------------------------------------------------------------------------

class GroupThousandsTest : public ::testing::TestWithParam<Rewrite>
{};

TEST_P(GroupThousandsTest, GroupsTheIntegerPart)
{
    EXPECT_EQ(GroupThousands(QString::fromUtf16(GetParam().input)), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, GroupThousandsTest,
                         ::testing::Values(Rewrite{u"1234500", u"1,234,500"}, Rewrite{u"123", u"123"},
                                           Rewrite{u"1234", u"1,234"}, Rewrite{u"-1234567.25", u"-1,234,567.25"},
                                           Rewrite{u"10234.25", u"10,234.25"}, Rewrite{u"0.", u"0."}, Rewrite{u"", u""},
                                           Rewrite{u"1,234", u"1,234"},
                                           // a volume the quote service could not give stays as it is
                                           Rewrite{u"N/A", u"N/A"},
                                           // beyond 64 bits nothing overflows
                                           Rewrite{u"123456789012345678901234", u"123,456,789,012,345,678,901,234"}));

TEST(GroupThousands, PointAsThousandsSeparatorLeavesDecimalTextUngrouped)
{
    ScopedLocale locale(German());
    EXPECT_EQ(ThousandsSeparator(), u'.');
    EXPECT_EQ(GroupThousands(u"1234.5"_s), u"1234.5"_s);
    // A whole number has no point, so it is grouped, and always with commas.
    EXPECT_EQ(GroupThousands(u"1234500"_s), u"1,234,500"_s);
}

// --- LocaleNumber -----------------------------------------------------------------------------

class LocaleNumberTest : public ::testing::TestWithParam<Rewrite>
{};

TEST_P(LocaleNumberTest, FormatsWithTwoDecimalsInTheUsersLocale)
{
    EXPECT_EQ(LocaleNumber(QString::fromUtf16(GetParam().input)), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(UnitedStates, LocaleNumberTest,
                         ::testing::Values(Rewrite{u"23.3", u"23.30"}, Rewrite{u"1234.5", u"1,234.50"},
                                           Rewrite{u"-0.25", u"-0.25"}, Rewrite{u"12.", u"12.00"},
                                           Rewrite{u"12", u"12.00"}, Rewrite{u".5", u"0.50"},
                                           // decimal rounding, half away from zero
                                           Rewrite{u"0.125", u"0.13"}, Rewrite{u"-0.125", u"-0.13"},
                                           Rewrite{u"9.995", u"10.00"}, Rewrite{u"23.374", u"23.37"},
                                           Rewrite{u"-0.001", u"0.00"},
                                           Rewrite{u"12345678901234567890.5", u"12,345,678,901,234,567,890.50"},
                                           // not a number: left as it is
                                           Rewrite{u"", u""}, Rewrite{u"N/A", u"N/A"}, Rewrite{u"1e5", u"1e5"},
                                           Rewrite{u"-", u"-"}, Rewrite{u"1.2.3", u"1.2.3"}));

TEST(LocaleNumber, FollowsTheUsersLocale)
{
    ScopedLocale locale(German());
    EXPECT_EQ(LocaleNumber(u"1234.5"_s), u"1.234,50"_s);
    EXPECT_EQ(LocaleNumber(u"-0.25"_s), u"-0,25"_s);
}

// --- FractionDisplay --------------------------------------------------------------------------

class FractionDisplayTest : public ::testing::TestWithParam<Rewrite>
{};

TEST_P(FractionDisplayTest, ShowsSixtyFourthsAsFractions)
{
    EXPECT_EQ(FractionDisplay(QString::fromUtf16(GetParam().input)), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, FractionDisplayTest,
                         ::testing::Values(Rewrite{u"23.5", u"23 1/2"}, Rewrite{u"23.375", u"23 3/8"},
                                           Rewrite{u"1234.5", u"1,234 1/2"}, Rewrite{u"12.", u"12"},
                                           Rewrite{u"0.015625", u"0 1/64"}, Rewrite{u"-0.25", u"-0 1/4"},
                                           // not a 64th, or no point: the locale's decimals, ungrouped input
                                           Rewrite{u"23.3", u"23.30"}, Rewrite{u"1234.3", u"1,234.30"},
                                           Rewrite{u"12", u"12.00"}, Rewrite{u"0.5000001", u"0.50"}));

TEST(FractionDisplay, DecimalsFollowTheLocaleWhenNotASixtyFourth)
{
    ScopedLocale locale(German());
    EXPECT_EQ(FractionDisplay(u"23.3"_s), u"23,30"_s);
    EXPECT_EQ(FractionDisplay(u"1234.5"_s), u"1234 1/2"_s);
}

// --- FractionSpeech and DecimalSpeech --------------------------------------------------------

class SpeechTest : public ::testing::TestWithParam<Rewrite>
{};

TEST_P(SpeechTest, DecimalSpeechSaysWordsAndShowsFigures)
{
    EXPECT_EQ(DecimalSpeech(QString::fromUtf16(GetParam().input)), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Decimal, SpeechTest,
                         ::testing::Values(Rewrite{u"0.50", u"\\Map=\".50\"=\"0.50\"\\"},
                                           Rewrite{u"12.05", u"\\Map=\"12 oh5\"=\"12.05\"\\"},
                                           Rewrite{u"12.50", u"\\Map=\"12 50\"=\"12.50\"\\"},
                                           Rewrite{u"12.00", u"\\Map=\"12\"=\"12\"\\"},
                                           Rewrite{u"12.", u"\\Map=\"12\"=\"12\"\\"},
                                           Rewrite{u"1234.5", u"\\Map=\"1,234 50\"=\"1,234.50\"\\"},
                                           Rewrite{u"-2.5", u"\\Map=\"-2 50\"=\"-2.50\"\\"}));

TEST(DecimalSpeech, SpokenFormIgnoresTheUsersLocale)
{
    ScopedLocale locale(German());
    EXPECT_EQ(DecimalSpeech(u"1234.5"_s), u"\\Map=\"1,234 50\"=\"1.234,50\"\\"_s);
    EXPECT_EQ(DecimalSpeech(u"1234."_s), u"\\Map=\"1,234\"=\"1.234\"\\"_s);
}

TEST(DecimalSpeech, WholeNumberIsCutAtTheShownTextsOwnSeparator)
{
    // Indian English groups 1,23,45,678 where the spoken form groups 12,345,678: the cut must not
    // take the spoken text's position.
    ScopedLocale locale(QLocale(QLocale::English, QLocale::India));
    EXPECT_EQ(DecimalSpeech(u"12345678.00"_s), u"\\Map=\"12,345,678\"=\"1,23,45,678\"\\"_s);
}

class FractionSpeechTest : public ::testing::TestWithParam<Rewrite>
{};

TEST_P(FractionSpeechTest, SaysFractionsInWords)
{
    EXPECT_EQ(FractionSpeech(QString::fromUtf16(GetParam().input)), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, FractionSpeechTest,
                         ::testing::Values(Rewrite{u"12.5", u"12 \\Map=\"and a half\"=\"1/2\"\\"},
                                           Rewrite{u"10234.25", u"10,234 \\Map=\"and a fourth\"=\"1/4\"\\"},
                                           Rewrite{u"1.125", u"1 \\Map=\"and an eighth\"=\"1/8\"\\"},
                                           Rewrite{u"12.", u"12"},
                                           // not a 64th: the decimal form of the original text
                                           Rewrite{u"12.3", u"\\Map=\"12 30\"=\"12.30\"\\"},
                                           Rewrite{u"1234.05", u"\\Map=\"1,234 oh5\"=\"1,234.05\"\\"}));

// --- time formats without seconds -------------------------------------------------------------

class TimeFormatTest : public ::testing::TestWithParam<Rewrite>
{};

TEST_P(TimeFormatTest, SecondsAndTheirSeparatorAreRemoved)
{
    EXPECT_EQ(TimeFormatWithoutSeconds(QString::fromUtf16(GetParam().input)), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeFormatTest,
                         ::testing::Values(Rewrite{u"h:mm:ss AP", u"h:mm AP"}, Rewrite{u"HH:mm:ss", u"HH:mm"},
                                           Rewrite{u"HH.mm.ss", u"HH.mm"}, Rewrite{u"h:mm AP", u"h:mm AP"},
                                           Rewrite{u"HH:mm:ss.zzz t", u"HH:mm t"},
                                           Rewrite{u"H 'h' mm 'min' ss 's'", u"H 'h' mm 'min' 's'"},
                                           Rewrite{u"HH:mm 'Uhr'", u"HH:mm 'Uhr'"}));
