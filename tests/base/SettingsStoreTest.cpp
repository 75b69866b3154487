#include "base/SettingsStore.h"
#include "platform/IniSettingsBackend.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void WriteRawFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

} // namespace

TEST(SettingsStore, MissingValuesGiveTheDefault)
{
    TestEnvironment env;
    EXPECT_EQ(ReadNumber(u"Rules"_s, u"Interval"_s, 7), 7);
    EXPECT_EQ(ReadText(u"Broadcast"_s, u"SayBefore"_s, u"fallback"_s), u"fallback"_s);
    EXPECT_FALSE(HasSetting(u"Rules"_s, u"Interval"_s));
    EXPECT_FALSE(QFileInfo::exists(ProgramSettingsFile())) << "reading must not create the file";
}

TEST(SettingsStore, ValuesRoundTripThroughTheFile)
{
    TestEnvironment env;
    WriteNumber(u"Stock Sort"_s, u"Criteria"_s, 3);
    WriteNumber(u"General"_s, u"ColorOddRow"_s, -1);
    WriteText(u"Broadcast"_s, u"Format"_s, u"STOCK, at PRICE; \"quoted\" \\ back = end "_s);
    EXPECT_EQ(ProgramSettingsFile(), env.ConfigHome() + u"/Brightwold/Quorvan.ini"_s);
    ASSERT_TRUE(QFileInfo::exists(ProgramSettingsFile()));

    // A second backend on the same file sees what was written.
    IniSettingsBackend reread(ProgramSettingsFile());
    EXPECT_EQ(reread.ReadNumber(u"Stock Sort"_s, u"Criteria"_s), 3);
    EXPECT_EQ(reread.ReadNumber(u"General"_s, u"ColorOddRow"_s), -1);
    EXPECT_EQ(reread.ReadText(u"Broadcast"_s, u"Format"_s), u"STOCK, at PRICE; \"quoted\" \\ back = end "_s);
    EXPECT_TRUE(HasSetting(u"Stock Sort"_s, u"Criteria"_s));

    RemoveSetting(u"Stock Sort"_s, u"Criteria"_s);
    EXPECT_EQ(ReadNumber(u"Stock Sort"_s, u"Criteria"_s, 0), 0);
}

TEST(SettingsStore, HandEditedNumbersNeverWrap)
{
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u"42"_s), 42);
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u" 42 "_s), 42);
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u"-2147483648"_s), std::numeric_limits<qint32>::min());
    // A DWORD above 2^31-1 keeps its 32 bits.
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u"4294967295"_s), -1);
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u"4294967296"_s), std::nullopt);
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u"99999999999"_s), std::nullopt);
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u"-2147483649"_s), std::nullopt);
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u"12abc"_s), std::nullopt);
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u"0x10"_s), std::nullopt);
    EXPECT_EQ(IniSettingsBackend::ParseNumber(u""_s), std::nullopt);
}

TEST(SettingsStore, HandEditedFileFallsBackPerValue)
{
    TestEnvironment env;
    WriteRawFile(ProgramSettingsFile(), "[Rules]\r\n"
                                        "Interval=99999999999\r\n"
                                        "CheckRules=1,2\r\n"
                                        "ReadOnce=0\r\n"
                                        "[General]\r\n"
                                        "DefaultCountry=Germany\r\n"
                                        "ActiveDays= 62\r\n");
    EXPECT_EQ(ReadNumber(u"Rules"_s, u"Interval"_s, 1), 1);
    EXPECT_EQ(ReadNumber(u"Rules"_s, u"CheckRules"_s, 1), 1);
    EXPECT_EQ(ReadNumber(u"Rules"_s, u"ReadOnce"_s, 1), 0);
    // A hand-written [General] section is found although Qt keeps its own as [%General].
    EXPECT_EQ(ReadText(u"General"_s, u"DefaultCountry"_s, u"United States"_s), u"Germany"_s);
    EXPECT_EQ(ReadNumber(u"General"_s, u"ActiveDays"_s, 127), 62);
}

TEST(SettingsStore, UnwritableFolderIsIgnored)
{
    TestEnvironment env;
    // The configuration "folder" is a plain file: nothing can be written below it.
    WriteRawFile(env.Root() + u"/blocked"_s, "x");
    env.Set("XDG_CONFIG_HOME", QFile::encodeName(env.Root() + u"/blocked"_s));
    WriteNumber(u"Rules"_s, u"Interval"_s, 5);
    EXPECT_EQ(ReadNumber(u"Rules"_s, u"Interval"_s, 1), 1);
}

TEST(SettingsStore, ProfileIsAFileOfItsOwn)
{
    TestEnvironment env;
    WriteProfileNumber(u"WindowPos"_s, u"wp.left"_s, 120);
    EXPECT_EQ(ProfileSettingsFile(), env.ConfigHome() + u"/Brightwold/Quorva.ini"_s);
    EXPECT_EQ(ReadProfileNumber(u"WindowPos"_s, u"wp.left"_s, 0), 120);
    EXPECT_TRUE(HasProfileValue(u"WindowPos"_s, u"wp.left"_s));
    EXPECT_FALSE(HasSetting(u"WindowPos"_s, u"wp.left"_s));
}
