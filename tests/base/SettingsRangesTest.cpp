// Hand-edited option values are brought into their ranges as they are loaded, and a save announces
// the sections it changed.

#include "base/CSettings.h"
#include "base/SettingsChanges.h"
#include "base/SettingsStore.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct HandEdit
{
    const char16_t* section;
    const char16_t* name;
    const char16_t* stored; // as a user typed it into the INI file
    qint32 CSettings::*member;
    qint32 expected;
};

const HandEdit kNumberEdits[] = {
    // Flags: anything but 0 is on.
    {u"Ticker", u"Show", u"5", &CSettings::show, 1},
    {u"Ticker", u"Bold", u"-1", &CSettings::bold, 1},
    {u"General", u"PricesFormat", u"7", &CSettings::pricesFormat, 1},
    {u"Ticker", u"Location", u"3", &CSettings::location, 1},
    // Counts and intervals: the nearer end of the range.
    {u"Rules", u"Interval", u"0", &CSettings::rulesInterval, 1},
    {u"Broadcast", u"Interval", u"-30", &CSettings::broadcastInterval, 1},
    {u"Ticker", u"AdvanceInterval", u"100000", &CSettings::advanceInterval, 1000},
    {u"Ticker", u"BoldThreshPct", u"101", &CSettings::boldThreshPct, 100},
    {u"Character", u"Speed", u"10", &CSettings::speed, 50},
    {u"Character", u"Pitch", u"9999", &CSettings::pitch, 400},
    // Values with a meaning each, and colours: the default.
    {u"Character", u"NotificationMethod", u"4", &CSettings::notificationMethod, 0},
    {u"General", u"ActiveDays", u"200", &CSettings::activeDays, 127},
    {u"General", u"ColorOddRow", u"-1", &CSettings::colorOddRow, 197 | (197 << 8) | (226 << 16)},
    {u"Ticker", u"ColorNegChange", u"16777216", &CSettings::colorNegChange, 255},
    // In range: kept as stored.
    {u"General", u"ActiveDays", u"0", &CSettings::activeDays, 0},
    {u"Rules", u"Interval", u"9999", &CSettings::rulesInterval, 9999},
    {u"Ticker", u"ColorBackground", u"16777215", &CSettings::colorBackground, 0xFFFFFF},
};

} // namespace

TEST(SettingsRanges, HandEditedNumbersAreBroughtIntoRangeOnLoad)
{
    for (const HandEdit& edit : kNumberEdits) {
        TestEnvironment env;
        const QString name = QString::fromUtf16(edit.section) + u'/' + QString::fromUtf16(edit.name);
        WriteText(QString::fromUtf16(edit.section), QString::fromUtf16(edit.name), QString::fromUtf16(edit.stored));
        CSettings settings;
        settings.Load();
        EXPECT_EQ(settings.*edit.member, edit.expected)
            << qPrintable(name) << " stored as " << qPrintable(QString::fromUtf16(edit.stored));
    }
}

TEST(SettingsRanges, PositionMustBeOneOfTheList)
{
    const struct
    {
        const char16_t* stored;
        const char16_t* expected;
    } cases[] = {{u"Bottom Left", u"Bottom Left"},
                 {u"bottom left", u"Top Right"},
                 {u"Middle", u"Top Right"},
                 {u"", u"Top Right"}};
    for (const auto& c : cases) {
        TestEnvironment env;
        WriteText(u"Character"_s, u"Position"_s, QString::fromUtf16(c.stored));
        CSettings settings;
        settings.Load();
        EXPECT_EQ(settings.position, QString::fromUtf16(c.expected)) << qPrintable(QString::fromUtf16(c.stored));
    }
}

TEST(SettingsRanges, PaletteColourDefaultReplacesABadStripColour)
{
    TestEnvironment env;
    WriteNumber(u"Ticker"_s, u"ColorBackground"_s, -1);
    CSettings settings;
    settings.Load(true);
    EXPECT_EQ(settings.colorBackground, 0) << "the 256-colour display's default: black";
}

TEST(SettingsRanges, ValidateAppliesTheRangesToValuesSetInMemory)
{
    CSettings settings;
    settings.rulesInterval = 0;
    settings.position = u"Nowhere"_s;
    settings.autoDial = 2;
    settings.type = u"lan"_s;
    settings.Validate();
    EXPECT_EQ(settings.rulesInterval, 1);
    EXPECT_EQ(settings.position, u"Top Right"_s);
    EXPECT_EQ(settings.autoDial, 1);
    EXPECT_EQ(settings.type, u"lan"_s) << "a type in another case is kept: it counts as dial-up";
}

TEST(SettingsChanges, SaveAnnouncesOnlyTheSectionsThatChanged)
{
    TestEnvironment env;
    CSettings settings;
    settings.Load();
    QSignalSpy spy(&SettingsChanges::Instance(), &SettingsChanges::Changed);

    settings.Save();
    EXPECT_EQ(spy.count(), 0) << "a save of the loaded values changes nothing";

    settings.colorBackground = 0x102030;
    settings.speed = 200;
    settings.Save();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.takeFirst().at(0).value<SettingsChanges::Sections>(),
              SettingsChanges::Ticker | SettingsChanges::Character);

    settings.Save();
    EXPECT_EQ(spy.count(), 0) << "the second save of the same values announces nothing";

    settings.proxyPort = u"8080"_s;
    settings.Save();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.takeFirst().at(0).value<SettingsChanges::Sections>(),
              SettingsChanges::Sections(SettingsChanges::Connection));
}

TEST(SettingsChanges, FirstSaveOfARecordNeverLoadedNamesEverySection)
{
    TestEnvironment env;
    CSettings settings;
    QSignalSpy spy(&SettingsChanges::Instance(), &SettingsChanges::Changed);
    settings.Save();
    ASSERT_EQ(spy.count(), 1);
    const auto sections = spy.takeFirst().at(0).value<SettingsChanges::Sections>();
    for (auto section : {SettingsChanges::Ticker, SettingsChanges::General, SettingsChanges::Rules,
                         SettingsChanges::Broadcast, SettingsChanges::Character, SettingsChanges::Connection})
        EXPECT_TRUE(sections.testFlag(section));
}
