// The RTF reader on documents shaped like those word processors write.

#include "webupdate/RtfReader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct RtfCase
{
    const char* name;
    QByteArray rtf;
    QString text; // the plain text read (paragraphs and line breaks as "\n")
};

class RtfText : public ::testing::TestWithParam<RtfCase>
{};

QString Read(const QByteArray& rtf, QTextDocument& document)
{
    QTextCursor cursor(&document);
    EXPECT_TRUE(RtfReader::Read(rtf, cursor));
    return document.toPlainText();
}

QTextCharFormat FormatAt(QTextDocument& document, const QString& text)
{
    QTextCursor cursor(&document);
    cursor.setPosition(int(document.toPlainText().indexOf(text)) + 1);
    return cursor.charFormat();
}

} // namespace

TEST_P(RtfText, ReadsTheTextAUserSees)
{
    QTextDocument document;
    EXPECT_EQ(Read(GetParam().rtf, document), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RtfText,
    ::testing::Values(
        RtfCase{"wordPadShaped",
                "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
                "Calibri;}}\r\n{\\*\\generator Riched20 10.0;}\\viewkind4\\uc1 \r\n\\pard\\sa200\\sl276\\slmult1\\f0"
                "\\fs22\\lang9 First\\par\r\nSecond line\\line wrapped\\tab tabbed\\par\r\n}\r\ntrailing",
                u"First\nSecond line\nwrapped\ttabbed\n"_s},
        RtfCase{"codePages", "{\\rtf1\\ansi caf\\'e9 \\'80 \\'9f{\\fonttbl{\\f1\\fcharset204 C;}}\\f1 \\'c0}",
                u"caf\u00e9 \u20ac \u0178\u0410"_s},
        RtfCase{"documentCodePage", "{\\rtf1\\ansi\\ansicpg1253 \\'e1\\'e2}", u"\u03b1\u03b2"_s},
        RtfCase{"unicodeEscapes", "{\\rtf1 \\u8364?\\uc2\\u-3913??x{\\uc0\\u233 y}\\u20320\\'c4\\'e3z}",
                u"\u20ac\uf0b7x\u00e9y\u4f60z"_s},
        RtfCase{"surrogatePairAndHalf", "{\\rtf1 \\u-10179?\\u-8704?|\\u-10179?.}", u"\U0001F600|\ufffd."_s},
        RtfCase{"skippedDestinations",
                "{\\rtf1 a{\\*\\unknown {nested}b}c{\\pict\\wmetafile8 0a0b}d{\\info{\\title t}}e{\\field{\\*\\fldinst "
                "HYPERLINK x}{\\fldrslt link}}{\\stylesheet{\\s0 Normal;}}}",
                u"acdelink"_s},
        RtfCase{"binaryData", "{\\rtf1 a{\\*\\blob\\bin4 }}{}}b\\bin2 {}c}", u"abc"_s},
        RtfCase{"escapesAndSymbols", "{\\rtf1 \\{x\\}\\\\ \\endash\\emdash\\bullet\\lquote\\rdblquote}",
                u"{x}\\ \u2013\u2014\u2022\u2018\u201d"_s},
        RtfCase{"unbalanced", "{\\rtf1 a}}b{", u"a"_s}, RtfCase{"cutShort", "{\\rtf1 {\\b a\\'", u"a"_s},
        RtfCase{"unknownWordsIgnored", "{\\rtf1 \\foo12 a\\averyveryveryveryveryveryverylongword b}", u"ab"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReader, GroupsScopeTheCharacterFormatting)
{
    QTextDocument document;
    Read("{\\rtf1{\\fonttbl{\\f0 Sans;}{\\f1\\froman Serif Face;}}{\\colortbl;\\red255\\green0\\blue0;}\\deff0"
         "{\\b B{\\i I\\ul U\\cf1\\fs40\\f1 R}}P\\strike S\\plain N}",
         document);
    EXPECT_EQ(document.toPlainText(), u"BIURPSN"_s);
    const QTextCharFormat bold = FormatAt(document, u"B"_s);
    EXPECT_EQ(bold.fontWeight(), QFont::Bold);
    EXPECT_FALSE(bold.fontItalic());
    EXPECT_EQ(bold.fontFamilies().toStringList(), QStringList{u"Sans"_s});
    const QTextCharFormat red = FormatAt(document, u"R"_s);
    EXPECT_TRUE(red.fontItalic() && red.fontUnderline() && red.fontWeight() == QFont::Bold);
    EXPECT_EQ(red.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(red.fontPointSize(), 20.0);
    EXPECT_EQ(red.fontFamilies().toStringList(), QStringList{u"Serif Face"_s});
    const QTextCharFormat after = FormatAt(document, u"P"_s);
    EXPECT_NE(after.fontWeight(), QFont::Bold) << "the group's end restores the formatting";
    EXPECT_FALSE(after.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_TRUE(FormatAt(document, u"S"_s).fontStrikeOut());
    EXPECT_FALSE(FormatAt(document, u"N"_s).fontStrikeOut()) << "\\plain";
}

TEST(RtfReader, ParagraphsKeepTheirAlignment)
{
    QTextDocument document;
    Read("{\\rtf1\\pard\\qc Title\\par\\pard left\\par\\qr right}", document);
    EXPECT_EQ(document.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(document.findBlockByNumber(1).blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_EQ(document.findBlockByNumber(2).blockFormat().alignment(), Qt::AlignRight);
}

TEST(RtfReader, RefusesWhatIsNotRtfAndSurvivesDeepNesting)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    EXPECT_FALSE(RtfReader::Read("plain text {\\rtf1 x}", cursor));
    EXPECT_TRUE(document.isEmpty());
    const QByteArray deep = "{\\rtf1 " + QByteArray(100000, '{') + "deep\\b" + QByteArray(100000, '}') + " after}";
    EXPECT_EQ(Read(deep, document), u"deep after"_s);
}
