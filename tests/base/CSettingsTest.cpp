#include "base/CSettings.h"
#include "base/SettingsStore.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <ctime>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 Rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

int LocalHourMinute(qint32 timeOfDay)
{
    const std::time_t t = timeOfDay;
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_hour * 60 + local.tm_min;
}

} // namespace

TEST(CSettings, EmptyStoreGivesEveryDefault)
{
    TestEnvironment env;
    CSettings s;
    s.Load();
    EXPECT_TRUE(s.loaded);
    EXPECT_EQ(s.colorBackground, Rgb(219, 219, 238));
    EXPECT_EQ(s.colorStockName, Rgb(0, 0, 0));
    EXPECT_EQ(s.colorNoChange, Rgb(0, 0, 128));
    EXPECT_EQ(s.colorPosChange, Rgb(0, 160, 0));
    EXPECT_EQ(s.colorNegChange, Rgb(255, 0, 0));
    EXPECT_EQ(s.boldThreshPct, 5);
    EXPECT_EQ(s.advanceInterval, 30);
    EXPECT_EQ(s.location, 1);
    EXPECT_EQ(s.defaultCountry, u"United States"_s);
    EXPECT_EQ(s.colorEvenRow, 15653851); // the Windows colour values of the stock list rows
    EXPECT_EQ(s.colorOddRow, 14861765);
    EXPECT_EQ(LocalHourMinute(s.activeStart), 0);
    EXPECT_EQ(LocalHourMinute(s.activeStop), 23 * 60 + 59);
    EXPECT_EQ(s.activeDays, 127);
    EXPECT_EQ(s.rulesInterval, 1);
    EXPECT_EQ(s.broadcastInterval, 30);
    EXPECT_EQ(s.sayBefore, u"Here are the latest prices."_s);
    EXPECT_EQ(s.sayAfter, u"Thank you."_s);
    EXPECT_EQ(s.gestureBefore, u"Wave"_s);
    EXPECT_TRUE(s.gestureAfter.isEmpty());
    EXPECT_EQ(s.format, u"STOCK is CHANGE, at PRICE"_s);
    EXPECT_EQ(s.sayNoChanges, u"Prices haven't changed."_s);
    EXPECT_EQ(s.character, u"Pennywit.acs"_s);
    EXPECT_EQ(s.position, u"Top Right"_s);
    EXPECT_EQ(s.speed, 150);
    EXPECT_EQ(s.pitch, 50);
    EXPECT_TRUE(s.type.isEmpty()) << "an empty type means the program was never set up";
    EXPECT_FALSE(QFileInfo::exists(ProgramSettingsFile())) << "nothing is written at start-up";
}

TEST(CSettings, PaletteDisplayChangesOnlyTheFourStripColours)
{
    TestEnvironment env;
    CSettings trueColour;
    trueColour.Load(false);
    CSettings palette;
    palette.Load(true);
    EXPECT_EQ(palette.colorBackground, Rgb(0, 0, 0));
    EXPECT_EQ(palette.colorStockName, Rgb(255, 255, 255));
    EXPECT_EQ(palette.colorNoChange, Rgb(0, 255, 255));
    EXPECT_EQ(palette.colorPosChange, Rgb(0, 255, 0));
    EXPECT_EQ(palette.colorNegChange, trueColour.colorNegChange);
    EXPECT_EQ(palette.colorEvenRow, trueColour.colorEvenRow);

    // Saved values are used as stored on either display.
    trueColour.Save();
    CSettings reloaded;
    reloaded.Load(true);
    EXPECT_EQ(reloaded.colorBackground, Rgb(219, 219, 238));
}

TEST(CSettings, TableCoversSixSectionsInOrderWithoutDuplicates)
{
    const QStringList expectedSections = {u"Ticker"_s,    u"General"_s,   u"Rules"_s,
                                          u"Broadcast"_s, u"Character"_s, u"Connection"_s};
    QStringList seenSections;
    QSet<QString> keys;
    for (const CSettings::Entry& entry : CSettings::Table()) {
        const QString section = QString::fromUtf16(entry.section);
        if (seenSections.isEmpty() || seenSections.last() != section)
            seenSections.append(section);
        const QString key = section + u'/' + QString::fromUtf16(entry.name);
        EXPECT_FALSE(keys.contains(key)) << qPrintable(key);
        keys.insert(key);
        EXPECT_NE(entry.number == nullptr, entry.text == nullptr) << qPrintable(key);
    }
    EXPECT_EQ(seenSections, expectedSections);
    EXPECT_EQ(keys.size(), 12 + 7 + 4 + 9 + 7 + 5);
}

TEST(CSettings, SaveWritesEveryValueAndLoadReadsThemBack)
{
    TestEnvironment env;
    CSettings s;
    s.colorBackground = Rgb(1, 2, 3);
    s.defaultCountry = u"Germany"_s;
    s.activeStart = CSettings::TimeOfDay(22, 0);
    s.activeDays = 62;
    s.broadcastInterval = 15;
    s.format = u"STOCK, \"now\" PRICE"_s;
    s.character = u"other.acs"_s;
    s.type = u"LAN"_s;
    s.proxyPort = u"8080"_s;
    ASSERT_TRUE(s.Save());

    for (const CSettings::Entry& entry : CSettings::Table())
        EXPECT_TRUE(HasSetting(QString::fromUtf16(entry.section), QString::fromUtf16(entry.name)))
            << qPrintable(QString::fromUtf16(entry.name));

    CSettings loaded;
    loaded.Load();
    EXPECT_EQ(loaded.colorBackground, Rgb(1, 2, 3));
    EXPECT_EQ(loaded.defaultCountry, u"Germany"_s);
    EXPECT_EQ(LocalHourMinute(loaded.activeStart), 22 * 60);
    EXPECT_EQ(loaded.activeDays, 62);
    EXPECT_EQ(loaded.broadcastInterval, 15);
    EXPECT_EQ(loaded.format, u"STOCK, \"now\" PRICE"_s);
    EXPECT_EQ(loaded.character, u"other.acs"_s);
    EXPECT_EQ(loaded.type, u"LAN"_s);
    EXPECT_EQ(loaded.proxyPort, u"8080"_s);
}

TEST(CSettings, BadHandEditedValueFallsBackToItsOwnDefaultOnly)
{
    TestEnvironment env;
    WriteText(u"Broadcast"_s, u"Interval"_s, u"thirty"_s);
    WriteNumber(u"Broadcast"_s, u"SayTime"_s, 0);
    CSettings s;
    s.Load();
    EXPECT_EQ(s.broadcastInterval, 30);
    EXPECT_EQ(s.sayTime, 0);
}
