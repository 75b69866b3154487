#include "PennywitProps.h"

#include "PennywitPainter.h"
#include "PennywitPalette.h"
#include "StrokeFont.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;
using Pennywit::C;
using Pennywit::Ellipse;
using Pennywit::FillOutlined;
using Pennywit::Stroke;

namespace Props {

namespace {

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

QPointF Direction(double degrees)
{
    return {std::cos(Radians(degrees)), std::sin(Radians(degrees))};
}

QPainterPath Rounded(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// Centres `text` on `centre` in stroke letters of `height`.
QPainterPath CentredText(const QString& text, QPointF centre, double height)
{
    const double width = StrokeFont::TextWidth(text, height);
    return StrokeFont::TextPath(text, centre - QPointF(width / 2, height / 2), height);
}

// The part of `points` (a polyline) up to `fraction` of its length.
QList<QPointF> PartOf(const QList<QPointF>& points, double fraction)
{
    double total = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        total += QLineF(points[i - 1], points[i]).length();
    double left = total * std::clamp(fraction, 0.0, 1.0);
    QList<QPointF> result{points.first()};
    for (qsizetype i = 1; i < points.size() && left > 0; ++i) {
        const QLineF segment(points[i - 1], points[i]);
        if (segment.length() <= left) {
            result.append(points[i]);
            left -= segment.length();
        } else {
            result.append(segment.pointAt(left / segment.length()));
            left = 0;
        }
    }
    return result;
}

} // namespace

void DrawBanknote(QPainter& g, QPointF centre, double angle, double scale, double burnt)
{
    if (burnt >= 1)
        return;
    g.save();
    g.translate(centre);
    g.rotate(angle);
    g.scale(scale, scale);
    const QRectF note(-10, -5, 20, 10);
    const double edge = note.right() - note.width() * burnt;
    QPainterPath kept;
    if (burnt > 0) {
        kept.moveTo(-12, -7);
        kept.lineTo(edge + 1, -7);
        kept.lineTo(edge - 1.2, -3);
        kept.lineTo(edge + 1.2, 0);
        kept.lineTo(edge - 0.8, 3.2);
        kept.lineTo(edge + 1, 7);
        kept.lineTo(-12, 7);
        kept.closeSubpath();
    }
    const QPainterPath paper = burnt > 0 ? Rounded(note, 1).intersected(kept) : Rounded(note, 1);
    FillOutlined(g, paper, Ink::Note, 1.1);
    g.save();
    g.setClipPath(paper);
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(C(Ink::NoteShade), 0.8));
    g.drawRect(note.adjusted(1.8, 1.8, -1.8, -1.8));
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::NoteLight));
    g.drawEllipse(QPointF(0, 0), 4.2, 3.4);
    Stroke(g, CentredText(u"$"_s, {0, 0}, 5), Ink::NoteInk, 1.1);
    if (burnt > 0) {
        QPainterPath scorch;
        scorch.moveTo(edge + 1, -7);
        scorch.lineTo(edge - 1.2, -3);
        scorch.lineTo(edge + 1.2, 0);
        scorch.lineTo(edge - 0.8, 3.2);
        scorch.lineTo(edge + 1, 7);
        Stroke(g, scorch, Ink::Char, 2.6);
    }
    g.restore();
    g.restore();
}

void DrawNoteFan(QPainter& g, QPointF pivot, int count, double fromAngle, double toAngle)
{
    for (int i = 0; i < count; ++i) {
        const double angle = count > 1 ? fromAngle + (toAngle - fromAngle) * i / (count - 1) : fromAngle;
        DrawBanknote(g, pivot + Direction(angle) * 9, angle);
    }
}

void DrawChart(QPainter& g, const QRectF& board, double progress, bool rising)
{
    FillOutlined(g, Rounded(board, 1.5), Ink::Paper, 1.4);
    g.setPen(QPen(C(Ink::Grid), 0.8));
    for (int i = 1; i <= 3; ++i) {
        const double y = board.top() + board.height() * i / 4;
        g.drawLine(QPointF(board.left() + 4, y), QPointF(board.right() - 2, y));
        const double x = board.left() + board.width() * i / 4;
        g.drawLine(QPointF(x, board.top() + 2), QPointF(x, board.bottom() - 4));
    }
    QPainterPath axes(QPointF(board.left() + 3.5, board.top() + 2.5));
    axes.lineTo(board.left() + 3.5, board.bottom() - 3.5);
    axes.lineTo(board.right() - 2.5, board.bottom() - 3.5);
    Stroke(g, axes, Ink::PaperLine, 1.1);

    const std::array<QPointF, 6> shape{{{0.1, 0.82}, {0.3, 0.6}, {0.44, 0.7}, {0.62, 0.42}, {0.74, 0.5}, {0.92, 0.12}}};
    QList<QPointF> points;
    for (QPointF p : shape) {
        const double y = rising ? p.y() : 1 - p.y() + 0.02;
        points.append({board.left() + board.width() * p.x(), board.top() + board.height() * y});
    }
    if (progress <= 0)
        return;
    const QList<QPointF> drawn = PartOf(points, progress);
    QPainterPath line(drawn.first());
    for (qsizetype i = 1; i < drawn.size(); ++i)
        line.lineTo(drawn[i]);
    const QRgb colour = rising ? Ink::Green : Ink::Red;
    Stroke(g, line, colour, 2.2);
    // An arrow head at the tip.
    const QLineF last(drawn[drawn.size() - 2], drawn.last());
    if (last.length() > 0.1) {
        const double angle = std::atan2(last.dy(), last.dx());
        QPainterPath head(drawn.last() + QPointF(std::cos(angle), std::sin(angle)) * 2.5);
        head.lineTo(drawn.last() + QPointF(std::cos(angle + 2.4), std::sin(angle + 2.4)) * 4);
        head.lineTo(drawn.last() + QPointF(std::cos(angle - 2.4), std::sin(angle - 2.4)) * 4);
        head.closeSubpath();
        g.setPen(QPen(C(colour), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        g.setBrush(C(colour));
        g.drawPath(head);
    }
}

void DrawCalculator(QPainter& g, const QRectF& body, const QString& display, int pressedKey)
{
    const QPainterPath shell = Rounded(body, 2.5);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Device));
    g.drawPath(shell);
    Pennywit::ShadeInside(g, shell, {1.5, 1.5}, Ink::DeviceLight);
    Pennywit::ShadeInside(g, shell, {-1.2, -1.2}, Ink::DeviceShade);
    Stroke(g, shell, Ink::Outline, 1.4);

    const QRectF screen(body.left() + 2.5, body.top() + 2.8, body.width() - 5, 7.5);
    FillOutlined(g, Rounded(screen, 1), display.isEmpty() ? Ink::ScreenDim : Ink::Screen, 1);
    if (!display.isEmpty()) {
        const double height = 4.6;
        const double width = StrokeFont::TextWidth(display, height);
        Stroke(g,
               StrokeFont::TextPath(display, {screen.right() - 1.8 - width, screen.center().y() - height / 2}, height),
               Ink::ScreenInk, 0.9);
    }
    const double top = screen.bottom() + 2.4;
    const double keyWidth = (body.width() - 5 - 2 * 1.6) / 3;
    const double keyHeight = (body.bottom() - 2.4 - top - 3 * 1.5) / 4;
    for (int key = 0; key < 12; ++key) {
        const int column = key % 3;
        const int row = key / 3;
        QRectF rect(body.left() + 2.5 + column * (keyWidth + 1.6), top + row * (keyHeight + 1.5), keyWidth, keyHeight);
        const bool pressed = key == pressedKey;
        if (pressed)
            rect.translate(0.4, 0.6);
        const QRgb colour = key == 11 ? Ink::FlameOrange : (pressed ? Ink::PaperShade : Ink::Paper);
        FillOutlined(g, Rounded(rect, 0.8), colour, 0.8);
    }
}

void DrawPlacard(QPainter& g, QPointF grip, double angle, const QString& text, QRgb colour, QRgb shade)
{
    g.save();
    g.translate(grip);
    g.rotate(angle);
    FillOutlined(g, Rounded(QRectF(-1.4, -33, 2.8, 38), 1), Ink::Wood, 1.1);
    const QRectF board(-21, -53, 42, 21);
    const QPainterPath face = Rounded(board, 2);
    g.setPen(Qt::NoPen);
    g.setBrush(C(colour));
    g.drawPath(face);
    Pennywit::ShadeInside(g, face, {-1.8, -1.8}, shade);
    Stroke(g, face, Ink::Outline, 1.5);
    Stroke(g, CentredText(text, board.center() + QPointF(0, -0.2), 11), Ink::EyeWhite, 2.3);
    g.restore();
}

void DrawPotOfGold(QPainter& g, QPointF base, double scale, int glint)
{
    if (scale <= 0)
        return;
    g.save();
    g.translate(base);
    g.scale(scale, scale);
    // The heap of coins rising out of the pot.
    FillOutlined(g, Ellipse({0, -20}, 12.5, 7), Ink::Gold, 1.2);
    const std::array<QPointF, 9> coins{{{-8.5, -20.5},
                                        {-2.5, -22},
                                        {4, -21.5},
                                        {9.5, -20},
                                        {-5.5, -25},
                                        {1, -26.5},
                                        {6.5, -24.5},
                                        {-2, -29.5},
                                        {3.5, -29}}};
    for (QPointF coin : coins) {
        const QPainterPath path = Ellipse(coin, 3.4, 2.2);
        g.setPen(Qt::NoPen);
        g.setBrush(C(Ink::Gold));
        g.drawPath(path);
        Pennywit::ShadeInside(g, path, {0.8, -0.8}, Ink::GoldShade);
        Stroke(g, path, Ink::GoldDark, 0.8);
    }
    // The iron pot with its rim.
    QPainterPath pot(QPointF(-12.5, -17));
    pot.cubicTo(-17, -8, -12, 0, 0, 0);
    pot.cubicTo(12, 0, 17, -8, 12.5, -17);
    pot.closeSubpath();
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Iron));
    g.drawPath(pot);
    g.setBrush(C(Ink::IronLight));
    g.drawEllipse(QPointF(-7, -9), 2, 4);
    Stroke(g, pot, Ink::Outline, 1.4);
    const QPainterPath rim = Rounded(QRectF(-14, -19.5, 28, 4.5), 2);
    FillOutlined(g, rim, Ink::IronLight, 1.3);
    const std::array<QPointF, 3> glints{{{-2.5, -25}, {6.5, -27}, {-7, -23}}};
    DrawSparkle(g, glints[static_cast<size_t>(glint % 3)], 4.5);
    g.restore();
}

void DrawSparkle(QPainter& g, QPointF centre, double size)
{
    if (size <= 0)
        return;
    QPainterPath star(centre + QPointF(0, -size));
    star.quadTo(centre, centre + QPointF(size, 0));
    star.quadTo(centre, centre + QPointF(0, size));
    star.quadTo(centre, centre + QPointF(-size, 0));
    star.quadTo(centre, centre + QPointF(0, -size));
    g.setBrush(C(Ink::Sparkle));
    g.setPen(QPen(C(Ink::StarShade), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPath(star);
}

void DrawStar(QPainter& g, QPointF centre, double radius, double rotation)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? radius : radius * 0.45;
        const QPointF p = centre + Direction(rotation - 90 + i * 36) * r;
        if (i == 0)
            star.moveTo(p);
        else
            star.lineTo(p);
    }
    star.closeSubpath();
    FillOutlined(g, star, Ink::Star, 1);
}

void DrawCirclingStars(QPainter& g, QPointF centre, double rx, double ry, double phase)
{
    for (int i = 0; i < 3; ++i) {
        const double angle = 2 * std::numbers::pi * (phase + i / 3.0);
        const double depth = std::sin(angle); // > 0: in front
        const QPointF p = centre + QPointF(std::cos(angle) * rx, depth * ry);
        DrawStar(g, p, 4.8 + depth * 1.2, phase * 144 + i * 40);
    }
}

void DrawBear(QPainter& g, double rise, bool growl, double sway)
{
    if (rise <= 0)
        return;
    g.save();
    g.translate(sway, (1 - rise) * 100);
    // Shoulders, mostly hidden behind him.
    QPainterPath body;
    body.moveTo(6, 140);
    body.cubicTo(0, 70, 30, 44, 64, 44);
    body.cubicTo(98, 44, 128, 70, 122, 140);
    body.closeSubpath();
    FillOutlined(g, body, Ink::BearShade, 1.6);
    // Raised forelegs with claws.
    const auto paw = [&g](QPointF shoulder, QPointF pad, double turn) {
        FillOutlined(g, Pennywit::Capsule(shoulder, pad, 15), Ink::Bear, 1.6);
        FillOutlined(g, Ellipse(pad, 8.5, 7.5), Ink::Bear, 1.5);
        for (int i = -1; i <= 1; ++i) {
            g.save();
            g.translate(pad);
            g.rotate(turn + i * 28);
            QPainterPath claw(QPointF(-1.4, -6.5));
            claw.quadTo(0.5, -12, 1.5, -12.5);
            claw.quadTo(1.2, -9, 1.4, -6.5);
            claw.closeSubpath();
            FillOutlined(g, claw, Ink::Paper, 0.8);
            g.restore();
        }
    };
    paw({18, 96}, {11, 64}, -12);
    paw({108, 80}, {114, 34}, 14);
    // The head, off to one side above his hat.
    const QPointF head(33, 25);
    for (double dx : {-16.0, 16.0}) {
        FillOutlined(g, Ellipse(head + QPointF(dx, -16), 7, 7), Ink::Bear, 1.4);
        g.setPen(Qt::NoPen);
        g.setBrush(C(Ink::BearLight));
        g.drawEllipse(head + QPointF(dx, -15.5), 3.5, 3.5);
    }
    const QPainterPath skull = Ellipse(head, 22, 18.5);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Bear));
    g.drawPath(skull);
    Pennywit::ShadeInside(g, skull, {-2.5, -2.5}, Ink::BearShade);
    Stroke(g, skull, Ink::Outline, 1.6);
    // Angry glowing eyes under heavy brows.
    for (double dx : {-8.0, 8.0}) {
        const QPointF eye = head + QPointF(dx, -4);
        QPainterPath slit(eye + QPointF(-3.2 * (dx > 0 ? 1 : -1), -1.8));
        slit.lineTo(eye + QPointF(3.2 * (dx > 0 ? 1 : -1), 1.5));
        slit.lineTo(eye + QPointF(-2.5 * (dx > 0 ? 1 : -1), 1.6));
        slit.closeSubpath();
        FillOutlined(g, slit, Ink::BearEye, 1);
        QPainterPath brow(eye + QPointF(-4.5 * (dx > 0 ? 1 : -1), -5));
        brow.lineTo(eye + QPointF(4 * (dx > 0 ? 1 : -1), -1.5));
        Stroke(g, brow, Ink::Outline, 2);
    }
    // Muzzle, nose and jaws.
    FillOutlined(g, Ellipse(head + QPointF(0, 8), 9.5, 7.5), Ink::BearLight, 1.3);
    FillOutlined(g, Ellipse(head + QPointF(0, 3.8), 3.4, 2.3), Ink::Outline, 0.8);
    if (growl) {
        const QPainterPath jaws = Ellipse(head + QPointF(0, 10.5), 6.5, 4.2);
        g.setPen(Qt::NoPen);
        g.setBrush(C(Ink::MouthInside));
        g.drawPath(jaws);
        g.save();
        g.setClipPath(jaws);
        g.setBrush(C(Ink::Paper));
        for (double dx : {-4.0, -1.3, 1.3, 4.0}) {
            QPainterPath tooth(head + QPointF(dx - 1.2, 6));
            tooth.lineTo(head + QPointF(dx + 1.2, 6));
            tooth.lineTo(head + QPointF(dx, 9.2));
            tooth.closeSubpath();
            g.drawPath(tooth);
            QPainterPath lower(head + QPointF(dx - 1.1, 15));
            lower.lineTo(head + QPointF(dx + 1.1, 15));
            lower.lineTo(head + QPointF(dx, 12.2));
            lower.closeSubpath();
            g.drawPath(lower);
        }
        g.restore();
        Stroke(g, jaws, Ink::Outline, 1.2);
    } else {
        QPainterPath mouth(head + QPointF(-4, 10.5));
        mouth.quadTo(head + QPointF(0, 8.5), head + QPointF(4, 10.5));
        Stroke(g, mouth, Ink::Outline, 1.3);
    }
    g.restore();
}

void DrawFlame(QPainter& g, QPointF base, double size, int flicker)
{
    if (size <= 0)
        return;
    const std::array<double, 3> leans{0.14, -0.12, 0.04};
    const double lean = leans[static_cast<size_t>(flicker % 3)];
    const auto tongue = [&](double height, double width) {
        const QPointF tip = base + QPointF(lean * height, -height);
        QPainterPath path(tip);
        path.cubicTo(base + QPointF(width * 0.5, -height * 0.55), base + QPointF(width, -height * 0.1), base);
        path.cubicTo(base + QPointF(-width, -height * 0.1), base + QPointF(-width * 0.5, -height * 0.55), tip);
        return path;
    };
    g.setPen(QPen(C(Ink::RedShade), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(C(Ink::Flame));
    g.drawPath(tongue(size, size * 0.48));
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::FlameOrange));
    g.drawPath(tongue(size * 0.72, size * 0.34));
    g.setBrush(C(Ink::FlameYellow));
    g.drawPath(tongue(size * 0.42, size * 0.2));
}

void DrawAsh(QPainter& g, QPointF origin, double fall, int count)
{
    const std::array<QPointF, 8> spread{{{-4, 0}, {3, 2}, {-1, 5}, {6, 7}, {-6, 9}, {1, 11}, {4, 14}, {-3, 16}}};
    for (int i = 0; i < count && i < static_cast<int>(spread.size()); ++i) {
        const QPointF p =
            origin + QPointF(spread[i].x() * (1 + fall / 30), spread[i].y() * 0.6 + fall * (0.7 + 0.06 * i));
        QPainterPath flake(p + QPointF(-2.2, -1.4));
        flake.lineTo(p + QPointF(1.9, -1.9));
        flake.lineTo(p + QPointF(2.4, 1.3));
        flake.lineTo(p + QPointF(-1.6, 1.9));
        flake.closeSubpath();
        FillOutlined(g, flake, i % 2 ? Ink::Ash : Ink::AshDark, 0.7);
    }
}

void DrawNewspaper(QPainter& g, const QRectF& rect, double open)
{
    const double width = rect.width() * (0.5 + 0.5 * std::clamp(open, 0.0, 1.0));
    const QRectF sheet(rect.center().x() - width / 2, rect.top(), width, rect.height());
    const QPainterPath paper = Rounded(sheet, 1);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Paper));
    g.drawPath(paper);
    Pennywit::ShadeInside(g, paper, {-1.5, -1.5}, Ink::PaperShade);
    g.save();
    g.setClipPath(paper);
    // Masthead, headline and columns of small print; the right page carries a chart.
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Outline));
    const double pageWidth = rect.width() / 2;
    g.drawRect(QRectF(rect.left() + 3, rect.top() + 3, pageWidth - 6, 2.4));
    Stroke(
        g,
        [&] {
            QPainterPath lines;
            for (int page = 0; page < 2; ++page) {
                const double left = rect.left() + page * pageWidth + 3;
                for (int column = 0; column < 2; ++column) {
                    const double x = left + column * (pageWidth - 6) / 2;
                    for (double y = rect.top() + (page == 0 ? 8.5 : 5); y < rect.bottom() - 3; y += 2.6) {
                        if (page == 1 && column == 0 && y < rect.top() + 17)
                            continue;
                        lines.moveTo(x, y);
                        lines.lineTo(x + (pageWidth - 6) / 2 - 2, y);
                    }
                }
            }
            return lines;
        }(),
        Ink::PaperLine, 0.8);
    const QRectF picture(rect.left() + pageWidth + 3, rect.top() + 4, (pageWidth - 6) / 2 - 1, 11);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Grid));
    g.drawRect(picture);
    QPainterPath zigzag(picture.bottomLeft() + QPointF(1, -2));
    zigzag.lineTo(picture.left() + picture.width() * 0.4, picture.center().y());
    zigzag.lineTo(picture.left() + picture.width() * 0.6, picture.bottom() - 4);
    zigzag.lineTo(picture.right() - 1, picture.top() + 2);
    Stroke(g, zigzag, Ink::Green, 1.2);
    g.restore();
    if (open > 0.05) {
        QPainterPath fold(QPointF(rect.left() + pageWidth, rect.top() + 1));
        fold.lineTo(rect.left() + pageWidth, rect.bottom() - 1);
        Stroke(g, fold, Ink::PaperShade, 1.2);
    }
    Stroke(g, paper, Ink::Outline, 1.4);
}

void DrawBanner(QPainter& g, QPointF leftTop, QPointF rightTop, double unroll)
{
    const double top = leftTop.y() + 2.5;
    const QRectF cloth(leftTop.x(), top, rightTop.x() - leftTop.x(), 19);
    if (cloth.width() > 2) {
        const QPainterPath path = Rounded(cloth, 1);
        g.setPen(Qt::NoPen);
        g.setBrush(C(Ink::Blue));
        g.drawPath(path);
        Pennywit::ShadeInside(g, path, {0, -2}, Ink::BlueShade);
        Pennywit::ShadeInside(g, path, {0, 1.6}, Ink::BlueLight);
        g.save();
        g.setClipPath(path);
        const QString text = u"QUORVANE"_s;
        const double height = 11;
        const double fullWidth = 104;
        const double textWidth = StrokeFont::TextWidth(text, height);
        const QPointF origin(leftTop.x() + (fullWidth - textWidth) / 2, cloth.center().y() - height / 2);
        if (unroll > 0)
            Stroke(g, StrokeFont::TextPath(text, origin, height), Ink::Star, 2.2);
        g.restore();
        Stroke(g, path, Ink::Outline, 1.4);
    }
    for (QPointF pole : {leftTop, rightTop}) {
        FillOutlined(g, Rounded(QRectF(pole.x() - 1.5, pole.y(), 3, 34), 1), Ink::Wood, 1.1);
        FillOutlined(g, Ellipse(pole, 2.6, 2.6), Ink::Gold, 1.1);
    }
}

void DrawPocketWatch(QPainter& g, QPointF centre, QPointF chainFrom, bool open, double minute)
{
    QPainterPath chain(chainFrom);
    chain.quadTo((chainFrom + centre) / 2 + QPointF(0, 9), centre + QPointF(0, -9));
    Stroke(g, chain, Ink::GoldDark, 1.6);
    Stroke(g, chain, Ink::GoldLight, 0.6);
    FillOutlined(g, QPainterPath(Pennywit::Capsule(centre + QPointF(0, -9.5), centre + QPointF(0, -8), 3)), Ink::Gold,
                 1);
    const QPainterPath caseShape = Ellipse(centre, 8.2, 8.2);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Gold));
    g.drawPath(caseShape);
    Pennywit::ShadeInside(g, caseShape, {-1.3, -1.3}, Ink::GoldShade);
    Stroke(g, caseShape, Ink::Outline, 1.2);
    if (open) {
        FillOutlined(g, Ellipse(centre, 6, 6), Ink::Paper, 0.9);
        const QPointF minuteTip = centre + Direction(minute * 6 - 90) * 4.6;
        const QPointF hourTip = centre + Direction(minute * 0.5 + 60) * 3;
        QPainterPath hands(minuteTip);
        hands.lineTo(centre);
        hands.lineTo(hourTip);
        Stroke(g, hands, Ink::Outline, 1);
        // The lid, flipped up above the case.
        FillOutlined(g, Ellipse(centre + QPointF(0, -13.5), 8, 3), Ink::GoldLight, 1.1);
    } else {
        Stroke(g, Ellipse(centre, 4.6, 4.6), Ink::GoldShade, 1);
    }
}

void DrawCloth(QPainter& g, QPointF centre, double angle)
{
    g.save();
    g.translate(centre);
    g.rotate(angle);
    g.scale(1.2, 1.2);
    QPainterPath cloth(QPointF(-7, -3));
    cloth.cubicTo(-4, -7, 3, -6, 7, -4);
    cloth.cubicTo(9, -1, 6, 2, 8, 5);
    cloth.cubicTo(3, 7, -3, 6, -6, 5);
    cloth.cubicTo(-9, 2, -8, 0, -7, -3);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Cloth));
    g.drawPath(cloth);
    QPainterPath folds(QPointF(-3, -3));
    folds.quadTo(-1, 0, -3, 4);
    folds.moveTo(2, -4);
    folds.quadTo(4, 0, 2, 4);
    Stroke(g, folds, Ink::ClothShade, 1);
    Stroke(g, cloth, Ink::Outline, 1.2);
    g.restore();
}

void DrawSnore(QPainter& g, QPointF origin, double size)
{
    QPainterPath letters = StrokeFont::TextPath(u"Z"_s, origin, size * 0.6);
    letters.addPath(StrokeFont::TextPath(u"Z"_s, origin + QPointF(size * 0.6, -size * 1.1), size));
    Stroke(g, letters, Ink::Outline, 2.8);
    Stroke(g, letters, Ink::Cloth, 1.3);
}

void DrawSweatDrop(QPainter& g, QPointF centre, double size)
{
    const QPointF tip = centre + QPointF(0, -4 * size);
    QPainterPath drop(tip);
    drop.cubicTo(centre + QPointF(1.2, -1.2) * size, centre + QPointF(3.2, 3.6) * size,
                 centre + QPointF(0, 3.6) * size);
    drop.cubicTo(centre + QPointF(-3.2, 3.6) * size, centre + QPointF(-1.2, -1.2) * size, tip);
    FillOutlined(g, drop, Ink::Cloth, 1);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::EyeWhite));
    g.drawEllipse(centre + QPointF(-0.9, 1.2) * size, 0.7 * size, 0.9 * size);
}

} // namespace Props
