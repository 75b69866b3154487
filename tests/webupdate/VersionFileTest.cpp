// The version file's entries, and the news markers that the installed version decides.

#include "webupdate/VersionFile.h"
#include "base/VersionNumber.h"
#include "webupdate/VersionMarkers.h"

#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Every key with a value, in the order the parser stores them.
const QString kComplete = u"LATEST VERSION: 3.1\nVERSION TO DISPLAY: 3.1 beta\nFILE URL: http://x/u.bin\n"
                          "FILE SIZE: 502 KB\nRELEASE DATE: May 1\nNEWS DATE: May 2\n"
                          "DESCRIPTION URL: http://x/n.rtf\nNEW CHANGES TEXT: New\nOLD CHANGES TEXT: Old\n"_s;

struct ParseCase
{
    const char* name;
    QString text;
    bool complete;
    QString latest; // LATEST VERSION afterwards
    QString url;    // FILE URL afterwards
};

class VersionFileParse : public ::testing::TestWithParam<ParseCase>
{};

} // namespace

TEST_P(VersionFileParse, ReadsKeysTrimmedAndInAnyCase)
{
    VersionFile file;
    file.Parse(GetParam().text);
    EXPECT_EQ(file.IsComplete(), GetParam().complete);
    EXPECT_EQ(file.latestVersion, GetParam().latest);
    EXPECT_EQ(file.fileUrl, GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Files, VersionFileParse,
    ::testing::Values(ParseCase{"complete", kComplete, true, u"3.1"_s, u"http://x/u.bin"_s},
                      ParseCase{"trimmedLowerCaseKey", kComplete + u"  latest version :  3.1.0 \r\n"_s, true,
                                u"3.1.0"_s, u"http://x/u.bin"_s},
                      ParseCase{"laterLineWins", kComplete + u"File URL: https://y:8080/v2.bin\r"_s, true, u"3.1"_s,
                                u"https://y:8080/v2.bin"_s},
                      ParseCase{"lineWithoutColonIgnored", u"LATEST VERSION 9.9\n"_s + kComplete + u"garbage\n"_s, true,
                                u"3.1"_s, u"http://x/u.bin"_s},
                      ParseCase{"missingKey", QString(kComplete).remove(u"NEWS DATE: May 2\n"_s), false, u"3.1"_s,
                                u"http://x/u.bin"_s},
                      ParseCase{"emptyValue", kComplete + u"OLD CHANGES TEXT:   \n"_s, false, u"3.1"_s,
                                u"http://x/u.bin"_s},
                      ParseCase{"empty", QString(), false, QString(), QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VersionFile, TheChecksumIsOptionalButMustBe64HexDigits)
{
    const QString sha = u"ABCDEF0123456789abcdef0123456789abcdef0123456789abcdef0123456789"_s;
    for (const auto& [text, valid] :
         {std::pair{QString(), true}, std::pair{u"SHA256: "_s + sha, true},
          std::pair{u"SHA256: "_s + sha.chopped(1), false}, std::pair{u"SHA256: "_s + sha.chopped(1) + u'g', false}}) {
        VersionFile file;
        file.Parse(kComplete + text);
        EXPECT_TRUE(file.IsComplete());
        EXPECT_EQ(file.IsChecksumValid(), valid) << text.toStdString();
        if (valid && !text.isEmpty()) {
            EXPECT_EQ(file.sha256, sha.toLower());
        }
    }
}

// Markers ------------------------------------------------------------------------------------------

namespace {

struct MarkerCase
{
    const char* name;
    QString text;     // paragraphs; U+2028 a line break inside one
    QString expected; // the plain text afterwards
};

class Markers : public ::testing::TestWithParam<MarkerCase>
{};

} // namespace

TEST_P(Markers, BecomeOneHeadingForNewAndOneForOldChanges)
{
    QTextDocument document;
    QTextCursor(&document).insertText(GetParam().text);
    ReplaceVersionMarkers(document, VersionNumber(3, 0, 0, 0), u"NEW\n"_s, u"OLD\n"_s);
    EXPECT_EQ(document.toPlainText(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, Markers,
    ::testing::Values(
        MarkerCase{"descending", u"Top\n@@Version 3.2\na\n@@Version 3.1\nb\n@@Version 3.0.0.0\nc\n@@Version 2\nd"_s,
                   u"Top\nNEW\na\nb\nOLD\nc\nd"_s},
        MarkerCase{"allOlderOrEqual", u"@@Version 3.0\na\n@@Version 2.9\nb"_s, u"OLD\na\nb"_s},
        MarkerCase{"allNewer", u"x\n@@Version 4\na\n@@version 3.0.0.1\nb"_s, u"x\nNEW\na\nb"_s},
        // the version runs to the line's end; a line break inside a paragraph ends it too
        MarkerCase{"lineBreaks", u"a\u2028@@Version  3.5  \u2028b\u2028@@Version 1\u2028c"_s, u"a\nNEW\nb\nOLD\nc"_s},
        MarkerCase{"lastLine", u"a\n@@Version 4"_s, u"a\nNEW\n"_s},
        MarkerCase{"none", u"no markers"_s, u"no markers"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Markers, AHeadingHoldingAMarkerIsNotReadAgain)
{
    QTextDocument document;
    QTextCursor(&document).insertText(u"@@Version 4\na\n@@Version 1\nb"_s);
    ReplaceVersionMarkers(document, VersionNumber(3, 0, 0, 0), u"@@Version 9 is new\n"_s, u"old\n"_s);
    EXPECT_EQ(document.toPlainText(), u"@@Version 9 is new\na\nold\nb"_s);
}
