#include "platform/DesktopExec.h"
#include "platform/DesktopEntry.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct QuoteCase
{
    const char16_t* argument;
    const char16_t* quoted; // Exec quoting only
    const char16_t* value;  // as written after "Exec=" (string escapes too)
};

class ExecQuoting : public ::testing::TestWithParam<QuoteCase>
{};

} // namespace

TEST_P(ExecQuoting, QuotesReservedCharactersInTwoLayers)
{
    const QuoteCase& c = GetParam();
    EXPECT_EQ(DesktopExec::QuoteArgument(QString::fromUtf16(c.argument)), QString::fromUtf16(c.quoted));
    EXPECT_EQ(DesktopEntry::Escape(DesktopExec::QuoteArgument(QString::fromUtf16(c.argument))),
              QString::fromUtf16(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ExecQuoting,
    ::testing::Values(QuoteCase{u"/usr/bin/quorvane", u"/usr/bin/quorvane", u"/usr/bin/quorvane"},
                      QuoteCase{u"-AUTOSTART", u"-AUTOSTART", u"-AUTOSTART"},
                      QuoteCase{u"/opt/My Prog/q", u"\"/opt/My Prog/q\"", u"\"/opt/My Prog/q\""},
                      QuoteCase{u"/opt/d$x/q", u"\"/opt/d\\$x/q\"", u"\"/opt/d\\\\$x/q\""},
                      QuoteCase{u"a\\b", u"\"a\\\\b\"", u"\"a\\\\\\\\b\""},
                      QuoteCase{u"say \"hi\"", u"\"say \\\"hi\\\"\"", u"\"say \\\\\"hi\\\\\"\""},
                      QuoteCase{u"`x`", u"\"\\`x\\`\"", u"\"\\\\`x\\\\`\""}, QuoteCase{u"100%", u"100%%", u"100%%"},
                      QuoteCase{u"a %u", u"\"a %%u\"", u"\"a %%u\""}, QuoteCase{u"", u"\"\"", u"\"\""},
                      QuoteCase{u"it's", u"\"it's\"", u"\"it's\""}, QuoteCase{u"~/x", u"\"~/x\"", u"\"~/x\""},
                      QuoteCase{u"a=b,c", u"a=b,c", u"a=b,c"},
                      QuoteCase{u"tab\there", u"\"tab\there\"", u"\"tab\\there\""}));

namespace {

class ExecRoundTrip : public ::testing::TestWithParam<const char16_t*>
{};

} // namespace

TEST_P(ExecRoundTrip, SplitUndoesBuild)
{
    const QString awkward = QString::fromUtf16(GetParam());
    const QStringList arguments{awkward, u"-AUTOSTART"_s, awkward};
    const QString value = DesktopExec::BuildExecValue(u"/opt/Prix $1/quorvane"_s, arguments);
    const auto split = DesktopExec::SplitExec(DesktopEntry::Unescape(value));
    ASSERT_TRUE(split);
    // The field-code layer ("%%") is undone by the expansion.
    const QStringList expanded = DesktopExec::ExpandFieldCodes(*split, u"URL"_s);
    EXPECT_EQ(expanded, QStringList({u"/opt/Prix $1/quorvane"_s}) + arguments + QStringList{u"URL"_s});
}

INSTANTIATE_TEST_SUITE_P(Arguments, ExecRoundTrip,
                         ::testing::Values(u"plain", u"with space", u"$HOME", u"back\\slash", u"\"quoted\"",
                                           u"100% sure", u"%u", u"`cmd`", u"semi;colon", u"line\nbreak",
                                           u" leading blank", u"'single'", u"\u00e9l\u00e8ve"));

TEST(DesktopExec, SplitsLinesAsWrittenInTheWild)
{
    using List = QStringList;
    EXPECT_EQ(DesktopExec::SplitExec(u"firefox-esr %u"_s), List({u"firefox-esr"_s, u"%u"_s}));
    EXPECT_EQ(DesktopExec::SplitExec(u"  /usr/bin/chromium   %U  "_s), List({u"/usr/bin/chromium"_s, u"%U"_s}));
    EXPECT_EQ(DesktopExec::SplitExec(u"\"/opt/My Browser/bin/b\" --new-window %u"_s),
              List({u"/opt/My Browser/bin/b"_s, u"--new-window"_s, u"%u"_s}));
    EXPECT_EQ(DesktopExec::SplitExec(u"sh -c 'exec b \"$1\"' sh %u"_s),
              List({u"sh"_s, u"-c"_s, u"exec b \"$1\""_s, u"sh"_s, u"%u"_s}));
    EXPECT_EQ(DesktopExec::SplitExec(u"env A=1 b\\ c %u"_s), List({u"env"_s, u"A=1"_s, u"b c"_s, u"%u"_s}));
    EXPECT_EQ(DesktopExec::SplitExec(u"b \"\""_s), List({u"b"_s, QString()}));

    EXPECT_FALSE(DesktopExec::SplitExec(QString()));
    EXPECT_FALSE(DesktopExec::SplitExec(u"   "_s));
    EXPECT_FALSE(DesktopExec::SplitExec(u"\"/opt/unterminated %u"_s));
    EXPECT_FALSE(DesktopExec::SplitExec(u"b 'open"_s));
    EXPECT_FALSE(DesktopExec::SplitExec(u"\"\" %u"_s)) << "no program";
}

TEST(DesktopExec, FieldCodesForOneUrl)
{
    using List = QStringList;
    const QString url = u"https://example.test/q?s=ABC&x=%41"_s;
    EXPECT_EQ(DesktopExec::ExpandFieldCodes({u"b"_s, u"%u"_s}, url), List({u"b"_s, url}));
    EXPECT_EQ(DesktopExec::ExpandFieldCodes({u"b"_s, u"%U"_s, u"%F"_s}, url), List({u"b"_s, url}));
    EXPECT_EQ(DesktopExec::ExpandFieldCodes({u"b"_s, u"--icon"_s, u"%i"_s, u"%c"_s, u"%k"_s}, url),
              List({u"b"_s, u"--icon"_s, url}));
    EXPECT_EQ(DesktopExec::ExpandFieldCodes({u"b"_s, u"--url=%u"_s}, url), List({u"b"_s, u"--url="_s + url}));
    EXPECT_EQ(DesktopExec::ExpandFieldCodes({u"b"_s}, url), List({u"b"_s, url}));
    EXPECT_EQ(DesktopExec::ExpandFieldCodes({u"b"_s, u"50%%"_s, u"%d%n"_s}, url), List({u"b"_s, u"50%"_s, url}));
    // The URL's own '%' is never taken for a code.
    EXPECT_EQ(DesktopExec::ExpandFieldCodes({u"b"_s, u"%u"_s, u"%u"_s}, u"%u"_s), List({u"b"_s, u"%u"_s}));
    EXPECT_EQ(DesktopExec::ExpandFieldCodes({u"/opt/100%%/b"_s, u"%u"_s}, url), List({u"/opt/100%/b"_s, url}));
}

TEST(DesktopEntry, ParsesGroupsEscapesAndComments)
{
    const DesktopEntry entry = DesktopEntry::Parse("# comment\r\n"
                                                   "[Desktop Entry]\r\n"
                                                   "Name = Quorvane \r\n"
                                                   "Name[de]=Kurse\n"
                                                   "Comment=\\sTwo\\nlines\\tand \\\\ \\$ kept\n"
                                                   "Exec=first\n"
                                                   "Exec=second\n"
                                                   "Hidden=true\n"
                                                   "NoDisplay=1\n"
                                                   "Terminal=maybe\n"
                                                   "just some junk\n"
                                                   "=empty key\n"
                                                   "[Desktop Action new]\n"
                                                   "Exec=other\n"
                                                   "[broken\n"
                                                   "Exec=lost\n");
    EXPECT_EQ(entry.Value(u"Name"_s), u"Quorvane"_s);
    EXPECT_EQ(entry.Value(u"Name[de]"_s), u"Kurse"_s);
    EXPECT_EQ(entry.Value(u"Comment"_s), u" Two\nlines\tand \\ \\$ kept"_s);
    EXPECT_EQ(entry.Value(u"Exec"_s), u"first"_s);
    EXPECT_EQ(entry.Value(u"Exec"_s, u"Desktop Action new"_s), u"other"_s);
    EXPECT_TRUE(entry.BoolValue(u"Hidden"_s, false));
    EXPECT_TRUE(entry.BoolValue(u"NoDisplay"_s, false));
    EXPECT_FALSE(entry.BoolValue(u"Terminal"_s, false));
    EXPECT_TRUE(entry.BoolValue(u"Missing"_s, true));
    EXPECT_FALSE(entry.Contains(u"Missing"_s));
    EXPECT_FALSE(entry.Contains(u"Exec"_s, u"broken"_s));
    EXPECT_EQ(DesktopEntry::Escape(u" a\\b\n"_s), u"\\sa\\\\b\\n"_s);
}
