// The strip's markup text: how markup is read into segments (tags, colours, text that only looks
// like a tag), how it is measured in its fonts, and how it is drawn.

#include "ui/strip/CMarkupText.h"

#include <QImage>
#include <QRawFont>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Segment = CMarkupText::Segment;

Segment Text(const QString& text, bool endsLine = false, QRgb colour = qRgb(0, 0, 0))
{
    Segment segment;
    segment.text = text;
    segment.endsLine = endsLine;
    segment.colour = colour;
    return segment;
}

Segment With(Segment segment, bool bold, bool underline, bool symbol)
{
    segment.bold = bold;
    segment.underline = underline;
    segment.symbol = symbol;
    return segment;
}

std::string Describe(const QList<Segment>& segments)
{
    QString text;
    for (const Segment& s : segments)
        text += u"[%1 %2%3%4%5 %6]"_s.arg(s.text)
                    .arg(s.bold)
                    .arg(s.underline)
                    .arg(s.symbol)
                    .arg(s.endsLine)
                    .arg(s.colour, 0, 16);
    return text.toStdString();
}

struct ParseCase
{
    const char* name;
    QString markup;
    QList<Segment> segments;
};

const QString kFlag = QString::fromUcs4(&CMarkupText::kAlertGlyph, 1);

} // namespace

TEST(MarkupText, ReadsTagsColoursLinesAndLiteralText)
{
    const QRgb orange = qRgb(0xff, 0x80, 0x00);
    const ParseCase cases[] = {
        {"plain text ends its line", u"plain"_s, {Text(u"plain"_s, true)}},
        {"bold toggles", u"a<b>b<b>c"_s, {Text(u"a"_s), With(Text(u"b"_s), true, false, false), Text(u"c"_s, true)}},
        {"underline and symbol toggle",
         u"<h>u<h><w>x"_s,
         {With(Text(u"u"_s), false, true, false), With(Text(u"x"_s, true), false, false, true)}},
        {"a colour holds until the next",
         u"<cff,80,00>o<c00,00,00>k"_s,
         {Text(u"o"_s, false, orange), Text(u"k"_s, true)}},
        {"upper-case hexadecimal digits", u"<cFF,80,00>o"_s, {Text(u"o"_s, true, orange)}},
        {"an unknown tag is text", u"a<x>b"_s, {Text(u"a<x>b"_s, true)}},
        {"a short colour tag is text", u"<c12,34>z"_s, {Text(u"<c12,34>z"_s, true)}},
        {"a colour tag with other digits is text", u"<cgg,00,00>z"_s, {Text(u"<cgg,00,00>z"_s, true)}},
        {"a colour tag without commas is text", u"<c12;34;56>z"_s, {Text(u"<c12;34;56>z"_s, true)}},
        {"a lone < is text", u"1 < 2"_s, {Text(u"1 < 2"_s, true)}},
        {"a < at the end is text", u"a<b"_s, {Text(u"a<b"_s, true)}},
        {"<< is one <", u"x<<b>y"_s, {Text(u"x<"_s), Text(u"b>y"_s, true)}},
        {"line feeds end lines", u"a\nb\n"_s, {Text(u"a"_s, true), Text(u"b"_s, true)}},
        {"a tag before the line feed adds no empty segment", u"a<b>\n"_s, {Text(u"a"_s, true)}},
        {"an empty line is one empty segment", u"\nb"_s, {Text(QString(), true), Text(u"b"_s, true)}},
        {"the alert mark is drawn with a flag", u"<w>\u00f0<w>"_s, {With(Text(kFlag, true), false, false, true)}},
    };
    for (const ParseCase& c : cases) {
        const QList<Segment> parsed = CMarkupText::Parse(c.markup);
        EXPECT_EQ(parsed, c.segments) << c.name << "\n  parsed:   " << Describe(parsed)
                                      << "\n  expected: " << Describe(c.segments);
    }
}

TEST(MarkupText, EscapedOutsideTextIsShownAsItIs)
{
    for (const QString& name : {u"<b>Bold?"_s, u"A<<B"_s, u"<cff,00,00>red"_s, u"x<"_s}) {
        const QList<Segment> parsed = CMarkupText::Parse(u"<b>"_s + CMarkupText::Escape(name) + u"<b>"_s);
        QString shown;
        bool allBold = true;
        for (const Segment& segment : parsed) {
            shown += segment.text;
            allBold = allBold && (segment.text.isEmpty() || segment.bold);
        }
        EXPECT_EQ(shown, name);
        EXPECT_TRUE(allBold) << name.toStdString();
    }
}

TEST(MarkupText, TheAlertMarkHasAGlyphInTheSymbolFont)
{
    CMarkupText text;
    const QRawFont raw = QRawFont::fromFont(text.Font(CMarkupText::SymbolFont));
    EXPECT_TRUE(raw.supportsCharacter(CMarkupText::kAlertGlyph)) << raw.familyName().toStdString();
}

TEST(MarkupText, MeasuresEachPieceInItsOwnFont)
{
    CMarkupText text;
    const auto advance = [&](CMarkupText::FontKind kind, const QString& piece) {
        return QFontMetrics(text.Font(kind)).horizontalAdvance(piece);
    };
    const int normal = QFontMetrics(text.Font(CMarkupText::NormalFont)).height();
    const int bold = QFontMetrics(text.Font(CMarkupText::BoldFont)).height();
    EXPECT_EQ(text.LineHeight(), bold);
    struct
    {
        const char* name;
        QString markup;
        QSize size;
    } const cases[] = {
        {"one piece", u"Acme 12.5"_s, {advance(CMarkupText::NormalFont, u"Acme 12.5"_s), normal}},
        {"the bold gap between name and price",
         u"Acme<b> <b>12.5"_s,
         {advance(CMarkupText::NormalFont, u"Acme"_s) + advance(CMarkupText::BoldFont, u" "_s) +
              advance(CMarkupText::NormalFont, u"12.5"_s),
          std::max(normal, bold)}},
        {"pieces in one font measure as one text",
         u"<c00,a0,00>AV<cff,00,00>AV"_s,
         {advance(CMarkupText::NormalFont, u"AVAV"_s), normal}},
        {"the widest line by the sum of the heights",
         u"wide line\nx\n"_s,
         {advance(CMarkupText::NormalFont, u"wide line"_s), 2 * normal}},
        {"the mark in the symbol font",
         u"<w>\u00f0<w>"_s,
         {advance(CMarkupText::SymbolFont, kFlag), QFontMetrics(text.Font(CMarkupText::SymbolFont)).height()}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text.Measure(c.markup), c.size) << c.name;
}

TEST(MarkupText, DrawsOverItsBackgroundInTheSegmentsColoursVerticallyCentred)
{
    CMarkupText text;
    text.resize(200, 40);
    text.SetBackground(QColor(10, 20, 30));
    text.SetText(u"<c00,00,ff>WWW<cff,00,00><b>MMM"_s);
    const QImage image = text.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixelColor(199, 0), QColor(10, 20, 30));
    bool blue = false;
    bool red = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            blue = blue || (pixel.blue() > 200 && pixel.red() < 60);
            red = red || (pixel.red() > 200 && pixel.blue() < 60);
        }
    }
    EXPECT_TRUE(blue);
    EXPECT_TRUE(red);
    const QList<Segment>& segments = text.Segments();
    ASSERT_EQ(segments.size(), 2);
    EXPECT_EQ(segments[0].drawn.left(), 0);
    EXPECT_EQ(segments[1].drawn.left(), segments[0].drawn.right() + 1) << "one after another";
    for (const Segment& segment : segments)
        EXPECT_EQ(segment.drawn.top(), (40 - segment.drawn.height()) / 2);
}
