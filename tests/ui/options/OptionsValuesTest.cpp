// What the Options sheet edits: the conversions on the way in and out, the active-hours times, and
// what the Options command finds changed afterwards.

#include "ui/options/OptionsValues.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

int MinutesOf(qint32 timeOfDay)
{
    const QTime time = QDateTime::fromSecsSinceEpoch(timeOfDay).time();
    return time.hour() * 60 + time.minute();
}

TEST(OptionsValues, ConversionsOnTheWayInAndBack)
{
    struct Case
    {
        qint32 activeDays;
        QString type;
        bool weekdaysOnly; // shown
        int connection;    // shown
        qint32 daysBack;   // stored after OK without a change
        QString typeBack;
    };
    const Case cases[] = {
        {62, u"LAN"_s, true, 1, 62, u"LAN"_s},
        {127, u"Dialup"_s, false, 0, 127, u"Dialup"_s},
        // Any other day set, written by hand, becomes every day; only "LAN" exactly is a network.
        {63, u"lan"_s, false, 0, 127, u"Dialup"_s},
        {0, u""_s, false, 0, 127, u"Dialup"_s},
    };
    for (const Case& c : cases) {
        CSettings settings;
        settings.activeDays = c.activeDays;
        settings.type = c.type;
        settings.broadcastInterval = 15;
        const OptionsValues values = OptionsValues::FromSettings(settings, true, false);
        EXPECT_EQ(values.weekdaysOnly, c.weekdaysOnly) << c.activeDays;
        EXPECT_EQ(values.connection, c.connection) << c.type.toStdString();
        EXPECT_EQ(values.broadcastInterval, u"15"_s);

        CSettings back;
        values.ToSettings(back);
        EXPECT_EQ(back.activeDays, c.daysBack) << c.activeDays;
        EXPECT_EQ(back.type, c.typeBack) << c.type.toStdString();
        EXPECT_EQ(back.broadcastInterval, 15);
    }
}

TEST(OptionsValues, EveryEditedValueReachesTheSettingsAndNothingElse)
{
    CSettings original;
    OptionsValues values = OptionsValues::FromSettings(original, false, false);
    values.settings.colorPosChange = 0x123456;
    values.settings.sayAfter = u"Bye."_s;
    values.settings.proxyPort = u"8080"_s;
    values.broadcastInterval = u"60"_s;

    CSettings target;
    target.loaded = true;
    values.ToSettings(target);
    EXPECT_EQ(target.colorPosChange, 0x123456);
    EXPECT_EQ(target.sayAfter, u"Bye."_s);
    EXPECT_EQ(target.proxyPort, u"8080"_s);
    EXPECT_EQ(target.broadcastInterval, 60);
    EXPECT_TRUE(target.loaded) << "only the table's values are copied";

    // An interval that is no number (no item was chosen) keeps the stored one.
    values.settings.broadcastInterval = 7;
    values.broadcastInterval.clear();
    values.ToSettings(target);
    EXPECT_EQ(target.broadcastInterval, 7);
}

TEST(OptionsValues, TimesAreShownInTwelveHourForm)
{
    const std::pair<int, const char16_t*> cases[] = {
        {0, u"1200A"},
        {5, u"1205A"},
        {9 * 60 + 30, u"0930A"},
        {12 * 60, u"1200P"},
        {13 * 60 + 30, u"0130P"},
        {23 * 60 + 59, u"1159P"},
    };
    for (const auto& [minutes, text] : cases)
        EXPECT_EQ(TimeInputText(CSettings::TimeOfDay(minutes / 60, minutes % 60)), QString::fromUtf16(text)) << minutes;
}

TEST(OptionsValues, TypedTimesAreReadOrRefused)
{
    const std::pair<const char16_t*, int> cases[] = {
        // Valid: the minutes of the day.
        {u"1200A", 0},
        {u"1200P", 12 * 60},
        {u"1159P", 23 * 60 + 59},
        {u"0930A", 9 * 60 + 30},
        {u"0130P", 13 * 60 + 30},
        {u" 130P", 13 * 60 + 30}, // a blank before the hour is skipped
        {u"1 5 A", 60 + 5},       // reading stops at the first non-digit
        // Refused: -1.
        {u"0030A", -1}, // hour 0
        {u"1300P", -1},
        {u"1260A", -1},
        {u"1230 ", -1}, // no letter
        {u"  30A", -1}, // no hour
        {u"1230", -1},  // too short
        {u"", -1},
    };
    for (const auto& [input, minutes] : cases) {
        const std::optional<qint32> time = ParseTimeInput(QString::fromUtf16(input));
        if (minutes < 0) {
            EXPECT_FALSE(time.has_value()) << QString::fromUtf16(input).toStdString();
        } else {
            ASSERT_TRUE(time.has_value()) << QString::fromUtf16(input).toStdString();
            EXPECT_EQ(MinutesOf(*time), minutes) << QString::fromUtf16(input).toStdString();
            EXPECT_EQ(*time, CSettings::TimeOfDay(minutes / 60, minutes % 60));
        }
    }
}

TEST(OptionsValues, TheSnapshotTellsWhatChanged)
{
    CSettings before;
    before.character = u"Pennywit.acs"_s;
    const OptionsSnapshot snapshot = OptionsSnapshot::Of(before);

    CSettings after = before;
    after.character = u"PENNYWIT.ACS"_s;
    EXPECT_FALSE(snapshot.CharacterChanged(after)) << "the same file in another case";
    EXPECT_FALSE(snapshot.StockListLookChanged(after));
    after.character = u"other.acs"_s;
    EXPECT_TRUE(snapshot.CharacterChanged(after));

    after = before;
    after.colorOddRow = 1;
    EXPECT_TRUE(snapshot.StockListLookChanged(after));
    EXPECT_FALSE(snapshot.PriceFormatChanged(after));
    after.pricesFormat = 1;
    EXPECT_TRUE(snapshot.PriceFormatChanged(after));
}

} // namespace
