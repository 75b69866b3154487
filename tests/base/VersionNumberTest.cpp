#include "base/VersionNumber.h"
#include "base/AppPaths.h"
#include "base/FileVersionInfo.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ParseCase
{
    const char16_t* text;
    bool valid;
    std::uint16_t parts[4];
};

class VersionParse : public ::testing::TestWithParam<ParseCase>
{};

} // namespace

TEST_P(VersionParse, ReadsPiecesLikeStrtokAndAtoi)
{
    const ParseCase& c = GetParam();
    const VersionNumber version(QString::fromUtf16(c.text));
    EXPECT_EQ(version.IsValid(), c.valid);
    EXPECT_EQ(version.Major(), c.parts[0]);
    EXPECT_EQ(version.Minor(), c.parts[1]);
    EXPECT_EQ(version.Third(), c.parts[2]);
    EXPECT_EQ(version.Fourth(), c.parts[3]);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, VersionParse,
    ::testing::Values(ParseCase{u"3.0", true, {3, 0, 0, 0}}, ParseCase{u"", false, {0, 0, 0, 0}},
                      ParseCase{u"3..1", true, {3, 1, 0, 0}}, ParseCase{u"...", false, {0, 0, 0, 0}},
                      ParseCase{u".2.", true, {2, 0, 0, 0}}, ParseCase{u"1.2.3.4", true, {1, 2, 3, 4}},
                      // a fifth piece is ignored
                      ParseCase{u"1.2.3.4.5", true, {1, 2, 3, 4}},
                      // atoi: blanks and sign first, digits up to the first other character
                      ParseCase{u" 7.+8.9b.x", true, {7, 8, 9, 0}}, ParseCase{u"abc", true, {0, 0, 0, 0}},
                      ParseCase{u"3.1 beta", true, {3, 1, 0, 0}},
                      // out of range: clamped, never wrapped, never overflowing
                      ParseCase{u"65535.65536.70000.-1", true, {65535, 65535, 65535, 0}},
                      ParseCase{u"99999999999999999999999999.1", true, {65535, 1, 0, 0}}));

TEST(VersionNumber, NewOnesAreInvalidUntilAPartIsSet)
{
    VersionNumber version;
    EXPECT_FALSE(version.IsValid());
    version.SetFourth(2);
    EXPECT_TRUE(version.IsValid());
    EXPECT_EQ(version.Text(), u"0.0.0.2"_s);
    EXPECT_TRUE(VersionNumber(1, 2, 3, 4).IsValid());
    EXPECT_EQ(VersionNumber(1, 2, 3, 4).Text(), u"1.2.3.4"_s);
}

TEST(VersionNumber, CompareCodes)
{
    const auto compare = [](const char16_t* a, const char16_t* b) {
        return VersionNumber(QString::fromUtf16(a)).Compare(VersionNumber(QString::fromUtf16(b)));
    };
    EXPECT_EQ(compare(u"3.0.0.0", u"3.0.0.1"), VersionNumber::Older);
    EXPECT_EQ(compare(u"3.1.0.0", u"3.0.9.9"), VersionNumber::NewerMinor);
    EXPECT_EQ(compare(u"3.0.0.0", u"3.0"), VersionNumber::Equal);
    EXPECT_EQ(compare(u"3.0.0.2", u"3.0.0.1"), VersionNumber::NewerFourth);
    EXPECT_EQ(compare(u"3.0.2.0", u"3.0.1.9"), VersionNumber::NewerThird);
    EXPECT_EQ(compare(u"4", u"3.65535.65535.65535"), VersionNumber::NewerMajor);
    EXPECT_EQ(compare(u"2.9", u"3"), VersionNumber::Older);
    // Unsigned 16-bit parts: 40000 is greater than 1.
    EXPECT_EQ(compare(u"40000", u"1"), VersionNumber::NewerMajor);
}

TEST(FileVersionInfo, TheProgramCarriesTheProjectVersion)
{
    const FileVersionInfo info(AppPaths::ProgramFile());
    ASSERT_TRUE(info.HasBlock());
    VersionNumber version;
    ASSERT_TRUE(info.GetFixedVersion(version));
    EXPECT_EQ(version.Text(), u"3.0.0.0"_s);
    EXPECT_EQ(version.Compare(VersionNumber(u"3.0"_s)), VersionNumber::Equal);
    EXPECT_EQ(info.Language(), u"0409"_s);
    EXPECT_EQ(info.CodePage(), u"04E4"_s);
    EXPECT_EQ(info.StringTablePrefix(), u"\\StringFileInfo\\040904E4"_s);
}

TEST(FileVersionInfo, ALinkToTheProgramIsTheProgram)
{
    TestEnvironment env;
    const QString link = env.Root() + u"/quorvane-link"_s;
    ASSERT_TRUE(QFile::link(AppPaths::ProgramFile(), link));
    VersionNumber version;
    EXPECT_TRUE(FileVersionInfo(link).GetFixedVersion(version));
}

TEST(FileVersionInfo, OtherFilesHaveNoBlock)
{
    TestEnvironment env;
    const QString copy = env.Root() + u"/copy-of-program"_s;
    ASSERT_TRUE(QFile::copy(AppPaths::ProgramFile(), copy));
    for (const QString& file : {copy, u"/bin/sh"_s, env.Root() + u"/missing"_s, QString()}) {
        const FileVersionInfo info(file);
        EXPECT_FALSE(info.HasBlock()) << qPrintable(file);
        VersionNumber version(u"9.9"_s);
        EXPECT_FALSE(info.GetFixedVersion(version));
        EXPECT_EQ(version.Text(), u"9.9.0.0"_s) << "left untouched";
        EXPECT_EQ(info.Language(), u"0409"_s);
    }
}
