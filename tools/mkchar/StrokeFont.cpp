#include "StrokeFont.h"

#include <QTransform>

#include <array>

namespace StrokeFont {

namespace {

constexpr double Spacing = 0.24;
constexpr double BlankWidth = 0.4;

struct Glyph
{
    double width = 0;
    QPainterPath path; // in a box `width` wide and 1 tall, y downwards
};

QPainterPath Lines(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (QPointF point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    return path;
}

QPainterPath SevenSegment(const char* segments)
{
    constexpr double w = 0.55;
    const std::array<std::pair<QPointF, QPointF>, 7> strokes{{
        {{0, 0}, {w, 0}},     // a
        {{w, 0}, {w, 0.5}},   // b
        {{w, 0.5}, {w, 1}},   // c
        {{0, 1}, {w, 1}},     // d
        {{0, 0.5}, {0, 1}},   // e
        {{0, 0}, {0, 0.5}},   // f
        {{0, 0.5}, {w, 0.5}}, // g
    }};
    QPainterPath path;
    for (const char* s = segments; *s; ++s) {
        const auto& stroke = strokes[static_cast<size_t>(*s - 'a')];
        path.moveTo(stroke.first);
        path.lineTo(stroke.second);
    }
    return path;
}

QPainterPath LetterS()
{
    QPainterPath path;
    path.moveTo(0.56, 0.14);
    path.cubicTo(0.46, -0.04, 0.02, -0.04, 0.03, 0.25);
    path.cubicTo(0.04, 0.5, 0.58, 0.45, 0.58, 0.74);
    path.cubicTo(0.58, 1.04, 0.12, 1.04, 0.02, 0.85);
    return path;
}

Glyph GlyphFor(QChar c)
{
    switch (c.unicode()) {
    case 'A': {
        QPainterPath path = Lines({{0, 1}, {0.3, 0}, {0.6, 1}});
        path.addPath(Lines({{0.12, 0.64}, {0.48, 0.64}}));
        return {0.6, path};
    }
    case 'B': {
        QPainterPath path = Lines({{0, 0.48}, {0, 0}, {0.32, 0}});
        path.cubicTo(0.6, 0, 0.6, 0.48, 0.32, 0.48);
        path.lineTo(0, 0.48);
        path.lineTo(0, 1);
        path.lineTo(0.34, 1);
        path.cubicTo(0.66, 1, 0.66, 0.48, 0.32, 0.48);
        return {0.6, path};
    }
    case 'E': {
        QPainterPath path = Lines({{0.52, 0}, {0, 0}, {0, 1}, {0.52, 1}});
        path.addPath(Lines({{0, 0.5}, {0.42, 0.5}}));
        return {0.52, path};
    }
    case 'L':
        return {0.48, Lines({{0, 0}, {0, 1}, {0.48, 1}})};
    case 'N':
        return {0.6, Lines({{0, 1}, {0, 0}, {0.6, 1}, {0.6, 0}})};
    case 'O': {
        QPainterPath path;
        path.addEllipse(QRectF(0, 0, 0.64, 1));
        return {0.64, path};
    }
    case 'Q': {
        QPainterPath path;
        path.addEllipse(QRectF(0, 0, 0.64, 1));
        path.addPath(Lines({{0.38, 0.7}, {0.68, 1.04}}));
        return {0.66, path};
    }
    case 'R': {
        QPainterPath path = Lines({{0, 1}, {0, 0}, {0.32, 0}});
        path.cubicTo(0.62, 0, 0.62, 0.52, 0.32, 0.52);
        path.lineTo(0, 0.52);
        path.addPath(Lines({{0.3, 0.52}, {0.6, 1}}));
        return {0.6, path};
    }
    case 'S':
        return {0.6, LetterS()};
    case 'U': {
        QPainterPath path = Lines({{0, 0}, {0, 0.68}});
        path.cubicTo(0, 1.06, 0.6, 1.06, 0.6, 0.68);
        path.lineTo(0.6, 0);
        return {0.6, path};
    }
    case 'V':
        return {0.6, Lines({{0, 0}, {0.3, 1}, {0.6, 0}})};
    case 'Y': {
        QPainterPath path = Lines({{0, 0}, {0.3, 0.5}, {0.6, 0}});
        path.addPath(Lines({{0.3, 0.5}, {0.3, 1}}));
        return {0.6, path};
    }
    case 'Z':
        return {0.56, Lines({{0, 0}, {0.56, 0}, {0, 1}, {0.56, 1}})};
    case '$': {
        QPainterPath path = LetterS();
        path.addPath(Lines({{0.3, -0.14}, {0.3, 1.14}}));
        return {0.6, path};
    }
    case '+': {
        QPainterPath path = Lines({{0, 0.5}, {0.5, 0.5}});
        path.addPath(Lines({{0.25, 0.25}, {0.25, 0.75}}));
        return {0.5, path};
    }
    case '-':
        return {0.5, Lines({{0, 0.5}, {0.5, 0.5}})};
    case '.':
        return {0.1, Lines({{0.05, 0.96}, {0.05, 1}})};
    case '0':
        return {0.55, SevenSegment("abcdef")};
    case '1':
        return {0.55, SevenSegment("bc")};
    case '2':
        return {0.55, SevenSegment("abged")};
    case '3':
        return {0.55, SevenSegment("abgcd")};
    case '4':
        return {0.55, SevenSegment("fgbc")};
    case '5':
        return {0.55, SevenSegment("afgcd")};
    case '6':
        return {0.55, SevenSegment("afgedc")};
    case '7':
        return {0.55, SevenSegment("abc")};
    case '8':
        return {0.55, SevenSegment("abcdefg")};
    case '9':
        return {0.55, SevenSegment("abcdfg")};
    default:
        return {BlankWidth, {}};
    }
}

} // namespace

QPainterPath TextPath(const QString& text, QPointF origin, double height)
{
    QPainterPath result;
    double x = 0;
    for (QChar c : text) {
        const Glyph glyph = GlyphFor(c);
        QTransform place;
        place.translate(origin.x() + x * height, origin.y());
        place.scale(height, height);
        result.addPath(place.map(glyph.path));
        x += glyph.width + Spacing;
    }
    return result;
}

double TextWidth(const QString& text, double height)
{
    double x = 0;
    for (QChar c : text)
        x += GlyphFor(c).width + Spacing;
    return text.isEmpty() ? 0 : (x - Spacing) * height;
}

} // namespace StrokeFont
