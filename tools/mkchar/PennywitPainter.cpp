#include "PennywitPainter.h"

#include "PennywitPalette.h"
#include "StrokeFont.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace Pennywit {

namespace {

constexpr int Supersample = 4;
constexpr double OutlineWidth = 1.5;
constexpr double LimbWidth = 2.7;

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

QPointF Normal(QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    if (length < 1e-9)
        return {0, 0};
    return {-d.y() / length, d.x() / length};
}

// A rubber-hose limb from `from` to `to`, bowed sideways by `bend` pixels.
QPainterPath Hose(QPointF from, QPointF to, double bend)
{
    QPainterPath path(from);
    path.quadTo((from + to) / 2 + Normal(from, to) * bend, to);
    return path;
}

// The embossed back of the coin: a rising arrow.
void DrawCoinBack(QPainter& g, double scale)
{
    QPainterPath arrow;
    arrow.moveTo(-14, 8);
    arrow.lineTo(-5, -1);
    arrow.lineTo(1, 5);
    arrow.lineTo(12, -8);
    QPainterPath head;
    head.moveTo(4, -9);
    head.lineTo(12.5, -9);
    head.lineTo(12.5, -0.5);
    g.save();
    g.translate(CoinCentre);
    g.scale(scale, 1);
    g.translate(0.6, 0.6);
    Stroke(g, arrow, Ink::GoldDark, 3);
    Stroke(g, head, Ink::GoldDark, 3);
    g.translate(-1.2, -1.2);
    Stroke(g, arrow, Ink::GoldLight, 2.4);
    Stroke(g, head, Ink::GoldLight, 2.4);
    g.restore();
}

// The glove outline for one grip, wrist at the origin, pointing along +x, thumb towards -y.
QPainterPath GloveShape(Grip grip)
{
    QPainterPath hand;
    switch (grip) {
    case Grip::Relaxed:
        hand = Ellipse({6, 0.4}, 5.2, 4.4).united(Ellipse({3.6, -3.8}, 2.2, 2.0));
        break;
    case Grip::Fist:
    case Grip::Hold:
        hand = Ellipse({5.2, 0}, 4.6, 4.6);
        break;
    case Grip::Thumb:
        hand = Ellipse({5.2, 0.6}, 4.6, 4.4).united(Capsule({4.2, -2}, {4.2, -9.5}, 3.6));
        break;
    case Grip::Point:
        hand = Ellipse({5, 0}, 4.4, 4.4).united(Capsule({6, -1}, {13.5, -1}, 3.2));
        break;
    case Grip::Palm: {
        hand = Ellipse({6, 0}, 4.8, 4.8);
        const double angles[] = {-48, -16, 16, 46};
        for (double angle : angles) {
            const QPointF tip = QPointF(6, 0) + QPointF(std::cos(Radians(angle)), std::sin(Radians(angle))) * 8.2;
            hand = hand.united(Capsule({6, 0}, tip, 3.1));
        }
        hand = hand.united(Capsule({4.5, -1}, {2.5, -8}, 3.2));
        break;
    }
    }
    QPainterPath cuff;
    cuff.addRoundedRect(QRectF(-2.6, -3.4, 3.8, 6.8), 1.4, 1.4);
    return cuff.united(hand);
}

} // namespace

QColor C(QRgb rgb)
{
    return QColor::fromRgba(rgb);
}

void FillOutlined(QPainter& g, const QPainterPath& path, QRgb fill, double width)
{
    g.setBrush(C(fill));
    g.setPen(QPen(C(Ink::Outline), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPath(path);
}

void Stroke(QPainter& g, const QPainterPath& path, QRgb colour, double width)
{
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(C(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPath(path);
}

QPainterPath Capsule(QPointF a, QPointF b, double width)
{
    QPainterPath line(a);
    line.lineTo(b == a ? b + QPointF(0.01, 0) : b);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line).simplified();
}

QPainterPath Ellipse(QPointF centre, double rx, double ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

void ShadeInside(QPainter& g, const QPainterPath& path, QPointF lightFrom, QRgb shade)
{
    g.setPen(Qt::NoPen);
    g.setBrush(C(shade));
    g.drawPath(path.subtracted(path.translated(lightFrom)));
}

QTransform BodyTransform(const Pose& pose)
{
    QTransform t;
    t.translate(pose.offset.x(), pose.offset.y());
    t.translate(CoinCentre.x(), CoinCentre.y());
    t.rotate(pose.tilt);
    t.translate(-CoinCentre.x(), -CoinCentre.y());
    t.translate(Floor.x(), Floor.y());
    t.scale(1, pose.squash);
    t.translate(-Floor.x(), -Floor.y());
    return t;
}

QImage DrawPicture(const Pose& pose)
{
    QImage big(FrameSize * Supersample, FrameSize * Supersample, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter g(&big);
        g.setRenderHint(QPainter::Antialiasing);
        g.scale(Supersample, Supersample);
        DrawPose(g, pose);
    }
    return big.scaled(FrameSize, FrameSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void DrawPose(QPainter& g, const Pose& pose)
{
    if (pose.behind) {
        g.save();
        pose.behind(g);
        g.restore();
    }
    if (!pose.body) {
        if (pose.front) {
            g.save();
            pose.front(g);
            g.restore();
        }
        return;
    }
    g.save();
    g.setTransform(BodyTransform(pose), true);
    if (pose.limbs) {
        DrawLeg(g, LeftHip, pose.leftLeg, Side::Left);
        DrawLeg(g, RightHip, pose.rightLeg, Side::Right);
    }
    DrawCoin(g, pose.spin);
    if (pose.face && std::cos(Radians(pose.spin)) > 0.15)
        DrawFace(g, pose);
    if (pose.hat.visible && pose.hat.onHead)
        DrawHat(g, pose.hat);
    if (pose.limbs) {
        if (pose.leftArm.visible)
            DrawArm(g, LeftShoulder, pose.leftArm);
        if (pose.rightArm.visible)
            DrawArm(g, RightShoulder, pose.rightArm);
    }
    if (pose.held) {
        g.save();
        pose.held(g);
        g.restore();
    }
    if (pose.limbs) {
        if (pose.leftArm.visible)
            DrawGlove(g, pose.leftArm, Side::Left);
        if (pose.rightArm.visible)
            DrawGlove(g, pose.rightArm, Side::Right);
    }
    g.restore();
    if (pose.hat.visible && !pose.hat.onHead)
        DrawHat(g, pose.hat);
    if (pose.front) {
        g.save();
        pose.front(g);
        g.restore();
    }
}

QPainterPath MouthRegion(const Pose& pose)
{
    return BodyTransform(pose).map(Ellipse(MouthCentre + QPointF(0, 1), 11.5, 7.5));
}

void DrawCoin(QPainter& g, double spin)
{
    const double c = std::cos(Radians(spin));
    const double s = std::sin(Radians(spin));
    const double halfWidth = CoinRadius * std::abs(c);
    const double band = CoinThickness * s;
    const QRectF face(CoinCentre.x() - halfWidth, CoinCentre.y() - CoinRadius, 2 * halfWidth, 2 * CoinRadius);

    // The milled edge, seen while he turns (a face seen almost edge-on still gets a little width,
    // so the outline stays a clean shape).
    if (std::abs(band) > 0.05) {
        const double edgeHalfWidth = std::max(halfWidth, 0.8);
        const QRectF rounded(CoinCentre.x() - edgeHalfWidth, face.top(), 2 * edgeHalfWidth, face.height());
        const QRectF left = rounded.translated(std::min(0.0, band), 0);
        const QRectF right = rounded.translated(std::max(0.0, band), 0);
        QPainterPath edge;
        if (halfWidth < 1) {
            edge.addRoundedRect(left.united(right), edgeHalfWidth, edgeHalfWidth);
        } else {
            edge.moveTo(left.center().x(), left.top());
            edge.arcTo(left, 90, 180);
            edge.lineTo(right.center().x(), right.bottom());
            edge.arcTo(right, 270, 180);
            edge.closeSubpath();
        }
        FillOutlined(g, edge, Ink::GoldShade, OutlineWidth);
        g.save();
        g.setClipPath(halfWidth < 0.3 ? edge : edge.subtracted(Ellipse(CoinCentre, halfWidth, CoinRadius)));
        for (double y = face.top() + 2; y < face.bottom(); y += 3) {
            QPainterPath ridge;
            ridge.moveTo(CoinCentre.x() - CoinRadius, y);
            ridge.lineTo(CoinCentre.x() + CoinRadius, y);
            Stroke(g, ridge, Ink::GoldDark, 0.9);
        }
        g.restore();
        Stroke(g, edge, Ink::Outline, OutlineWidth);
    }
    if (halfWidth < 0.3)
        return;

    // The face: a rim, the field, a highlight on the upper left and a glint.
    const QPainterPath outer = Ellipse(CoinCentre, halfWidth, CoinRadius);
    const double rim = 3.4;
    const QPainterPath field = Ellipse(CoinCentre, std::max(0.1, halfWidth - rim * std::abs(c)), CoinRadius - rim);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::GoldShade));
    g.drawPath(outer);
    g.setBrush(C(Ink::Gold));
    g.drawPath(field);
    g.setBrush(C(Ink::GoldLight));
    g.drawPath(field.subtracted(field.translated(2.6 * c, 2.6)));
    g.setBrush(C(Ink::GoldDark));
    g.drawPath(outer.subtracted(outer.translated(-1.6 * c, -1.6)));
    g.setBrush(C(Ink::GoldGlint));
    g.save();
    g.translate(CoinCentre + QPointF(-15 * c, -17));
    g.rotate(-40);
    g.drawEllipse(QPointF(0, 0), 3.6 * std::abs(c), 1.8);
    g.restore();
    Stroke(g, outer, Ink::Outline, OutlineWidth);

    if (c > 0.15) {
        // The embossed "Q" on his chest.
        g.save();
        g.translate(CoinCentre.x(), 0);
        g.scale(c, 1);
        g.translate(-CoinCentre.x(), 0);
        const QPainterPath q = StrokeFont::TextPath(u"Q"_s, {CoinCentre.x() - 2.4, 81.5}, 7);
        Stroke(g, q.translated(0.5, 0.5), Ink::GoldDark, 1.7);
        Stroke(g, q, Ink::GoldShade, 1.5);
        Stroke(g, q.translated(-0.45, -0.45), Ink::GoldLight, 0.6);
        g.restore();
    } else if (c < -0.15) {
        DrawCoinBack(g, -c);
    }
}

void DrawFace(QPainter& g, const Pose& pose)
{
    const double c = std::cos(Radians(pose.spin));
    g.save();
    g.translate(CoinCentre.x(), 0);
    g.scale(c, 1);
    g.translate(-CoinCentre.x(), 0);
    if (pose.blush) {
        g.setPen(Qt::NoPen);
        g.setBrush(C(Ink::Blush));
        g.drawEllipse(QPointF(46, 66), 3.6, 2.2);
        g.drawEllipse(QPointF(82, 66), 3.6, 2.2);
    }
    DrawEye(g, LeftEyeCentre, pose.leftEye);
    DrawEye(g, RightEyeCentre, pose.rightEye);
    DrawBrow(g, LeftEyeCentre + QPointF(0, -10.5), pose.leftBrow, Side::Left);
    DrawBrow(g, RightEyeCentre + QPointF(0, -10.5), pose.rightBrow, Side::Right);
    DrawMouth(g, MouthCentre, pose.mouth);
    g.restore();
}

void DrawEye(QPainter& g, QPointF centre, const Eye& eye)
{
    constexpr double rx = 5.8;
    constexpr double ry = 7;
    switch (eye.look) {
    case EyeLook::Closed: {
        QPainterPath lid(centre + QPointF(-rx, 0.5));
        lid.quadTo(centre + QPointF(0, 4.5), centre + QPointF(rx, 0.5));
        Stroke(g, lid, Ink::Outline, 1.8);
        return;
    }
    case EyeLook::Happy:
    case EyeLook::Wink: {
        const double drop = eye.look == EyeLook::Wink ? 2 : 1;
        QPainterPath arc(centre + QPointF(-rx + 0.5, drop + 1.5));
        arc.quadTo(centre + QPointF(0, drop - 6.5), centre + QPointF(rx - 0.5, drop + 1.5));
        Stroke(g, arc, Ink::Outline, 2);
        return;
    }
    case EyeLook::Dizzy: {
        const QPainterPath white = Ellipse(centre, rx, ry);
        FillOutlined(g, white, Ink::EyeWhite, 1.4);
        QPainterPath spiral(centre);
        for (int i = 1; i <= 40; ++i) {
            const double t = i / 40.0;
            const double angle = t * 2.6 * 2 * std::numbers::pi;
            spiral.lineTo(centre + QPointF(std::cos(angle) * t * (rx - 1.4), std::sin(angle) * t * (ry - 1.6)));
        }
        Stroke(g, spiral, Ink::Outline, 1.1);
        return;
    }
    case EyeLook::Open:
        break;
    }
    const QPainterPath white = Ellipse(centre, rx, ry);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::EyeWhite));
    g.drawPath(white);
    ShadeInside(g, white, {1.2, 1.6}, Ink::EyeShade);
    g.save();
    g.setClipPath(white);
    const QPointF pupil = centre + QPointF(eye.gaze.x() * 2.7, eye.gaze.y() * 3.1 + 0.6);
    g.setBrush(C(Ink::Outline));
    g.drawEllipse(pupil, 2.7 * eye.pupil, 3.5 * eye.pupil);
    g.setBrush(C(Ink::EyeWhite));
    g.drawEllipse(pupil + QPointF(-0.9, -1.3) * eye.pupil, 0.95, 0.95);
    if (eye.lid > 0.01) {
        const double lidY = centre.y() - ry + 2 * ry * eye.lid;
        QPainterPath lid;
        lid.addRect(QRectF(centre.x() - rx - 1, centre.y() - ry - 1, 2 * rx + 2, lidY - (centre.y() - ry - 1)));
        g.setBrush(C(Ink::Gold));
        g.drawPath(lid);
        QPainterPath line(QPointF(centre.x() - rx - 1, lidY));
        line.lineTo(centre.x() + rx + 1, lidY);
        Stroke(g, line, Ink::Outline, 1.5);
    }
    g.restore();
    Stroke(g, white, Ink::Outline, 1.4);
}

void DrawBrow(QPainter& g, QPointF centre, const Brow& brow, Side side)
{
    g.save();
    g.translate(centre + QPointF(0, -brow.lift));
    g.rotate(side == Side::Left ? -brow.tilt : brow.tilt);
    QPainterPath path(QPointF(-4.4, 0.8));
    path.quadTo(QPointF(0, -1.6), QPointF(4.4, 0.8));
    Stroke(g, path, Ink::Outline, 2.3);
    g.restore();
}

void DrawMouth(QPainter& g, QPointF centre, Mouth mouth)
{
    g.save();
    g.translate(centre);
    // An open mouth: the dark inside, the tongue at the bottom, optionally teeth at the top.
    const auto open = [&g](const QPainterPath& shape, bool teeth) {
        g.setPen(Qt::NoPen);
        g.setBrush(C(Ink::MouthInside));
        g.drawPath(shape);
        g.save();
        g.setClipPath(shape);
        const QRectF box = shape.boundingRect();
        g.setBrush(C(Ink::Tongue));
        g.drawEllipse(QPointF(box.center().x() + 0.5, box.bottom() + 0.2), box.width() * 0.36, box.height() * 0.42);
        if (teeth) {
            g.setBrush(C(Ink::EyeWhite));
            g.drawRect(QRectF(box.left(), box.top(), box.width(), std::min(2.2, box.height() * 0.3)));
        }
        g.restore();
        Stroke(g, shape, Ink::Outline, 1.4);
    };
    switch (mouth) {
    case Mouth::Smile: {
        QPainterPath path(QPointF(-6.5, -0.5));
        path.quadTo(QPointF(0, 5), QPointF(6.5, -0.5));
        Stroke(g, path, Ink::Outline, 1.8);
        break;
    }
    case Mouth::Closed: {
        QPainterPath path(QPointF(-5, 0.5));
        path.quadTo(QPointF(0, 3), QPointF(5, 0.5));
        Stroke(g, path, Ink::Outline, 1.8);
        break;
    }
    case Mouth::Narrow: {
        QPainterPath path(QPointF(-4.5, 0));
        path.quadTo(QPointF(0, -1.2), QPointF(4.5, 0));
        path.quadTo(QPointF(0, 5), QPointF(-4.5, 0));
        open(path, false);
        break;
    }
    case Mouth::Medium: {
        QPainterPath path(QPointF(-5.5, -0.5));
        path.quadTo(QPointF(0, -2), QPointF(5.5, -0.5));
        path.quadTo(QPointF(0, 9), QPointF(-5.5, -0.5));
        open(path, true);
        break;
    }
    case Mouth::Wide: {
        QPainterPath path(QPointF(-7.5, -1));
        path.quadTo(QPointF(0, -3), QPointF(7.5, -1));
        path.quadTo(QPointF(0, 12), QPointF(-7.5, -1));
        open(path, true);
        break;
    }
    case Mouth::Round:
        open(Ellipse({0, 2}, 3.6, 4.2), false);
        break;
    case Mouth::Grin: {
        QPainterPath path(QPointF(-9, -1.5));
        path.quadTo(QPointF(0, -0.5), QPointF(9, -1.5));
        path.cubicTo(QPointF(8, 7), QPointF(-8, 7), QPointF(-9, -1.5));
        open(path, true);
        break;
    }
    case Mouth::Frown: {
        QPainterPath path(QPointF(-5.5, 3.5));
        path.quadTo(QPointF(0, -2), QPointF(5.5, 3.5));
        Stroke(g, path, Ink::Outline, 1.8);
        break;
    }
    case Mouth::Wavy: {
        QPainterPath path(QPointF(-6.5, 1.5));
        path.cubicTo(QPointF(-4.5, -1.5), QPointF(-3, -1.5), QPointF(-1.5, 1.5));
        path.cubicTo(QPointF(0, 4.5), QPointF(1.5, 4.5), QPointF(3, 1.5));
        path.cubicTo(QPointF(4.5, -1.5), QPointF(5.5, -1), QPointF(6.5, 1));
        Stroke(g, path, Ink::Outline, 1.6);
        break;
    }
    case Mouth::Shout:
        open(Ellipse({0, 2.2}, 4.4, 5.4), false);
        break;
    }
    g.restore();
}

void DrawArm(QPainter& g, QPointF shoulder, const Arm& arm)
{
    const QPainterPath hose = Hose(shoulder, arm.hand, arm.bend);
    Stroke(g, hose, Ink::Outline, LimbWidth + 0.9);
    Stroke(g, hose, Ink::GoldShade, LimbWidth - 1.2);
}

void DrawGlove(QPainter& g, const Arm& arm, Side side)
{
    g.save();
    g.translate(arm.hand);
    g.rotate(arm.gloveAngle);
    g.scale(arm.gloveSize, arm.gloveSize);
    if (side == Side::Left)
        g.scale(1, -1);
    const QPainterPath glove = GloveShape(arm.grip);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Glove));
    g.drawPath(glove);
    ShadeInside(g, glove, side == Side::Left ? QPointF(-1.3, -1.3) : QPointF(-1.3, 1.3), Ink::GloveShade);
    if (arm.grip == Grip::Fist || arm.grip == Grip::Hold || arm.grip == Grip::Thumb) {
        for (double y : {-1.6, 1.4}) {
            QPainterPath crease(QPointF(7.2, y));
            crease.lineTo(9.2, y);
            Stroke(g, crease, Ink::Outline, 0.9);
        }
    }
    Stroke(g, glove, Ink::Outline, 1.3);
    g.restore();
}

void DrawLeg(QPainter& g, QPointF hip, const Leg& leg, Side side)
{
    const QPainterPath hose = Hose(hip, leg.foot + QPointF(0, -2), leg.bend);
    Stroke(g, hose, Ink::Outline, LimbWidth + 1.3);
    Stroke(g, hose, Ink::GoldShade, LimbWidth - 0.8);
    g.save();
    g.translate(leg.foot);
    if (side == Side::Left)
        g.scale(-1, 1);
    g.rotate(-leg.toe);
    QPainterPath shoe;
    shoe.addRoundedRect(QRectF(-3.4, -3.2, 9.5, 6.2), 2.8, 2.8);
    shoe = shoe.united(Ellipse({7, 0.2}, 4.8, 3.6));
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Shoe));
    g.drawPath(shoe);
    g.setBrush(C(Ink::ShoeLight));
    g.drawEllipse(QPointF(7.6, -1.3), 2.2, 1.1);
    Stroke(g, shoe, Ink::Outline, 1.3);
    g.restore();
}

void DrawHat(QPainter& g, const Hat& hat)
{
    g.save();
    if (hat.onHead) {
        g.translate(HatSeat);
        g.rotate(hat.tilt);
        g.translate(0, -hat.lift);
    } else {
        g.translate(hat.position);
        g.rotate(hat.tilt);
    }
    QPainterPath crown;
    crown.moveTo(-8.2, -1);
    crown.lineTo(-7.4, -16.5);
    crown.quadTo(0, -18.2, 7.4, -16.5);
    crown.lineTo(8.2, -1);
    crown.closeSubpath();
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Hat));
    g.drawPath(crown);
    g.save();
    g.setClipPath(crown);
    g.setBrush(C(Ink::HatShade));
    g.drawRect(QRectF(3.8, -20, 6, 20));
    g.setBrush(C(Ink::HatLight));
    g.drawRect(QRectF(-5.6, -16, 1.7, 10));
    g.setBrush(C(Ink::HatBand));
    g.drawRect(QRectF(-9, -5.4, 18, 4.4));
    g.restore();
    Stroke(g, crown, Ink::Outline, 1.4);

    QPainterPath brim;
    brim.addRoundedRect(QRectF(-14, -2.6, 28, 5), 2.5, 2.5);
    g.setPen(Qt::NoPen);
    g.setBrush(C(Ink::Hat));
    g.drawPath(brim);
    ShadeInside(g, brim, {0, 1.6}, Ink::HatShade);
    Stroke(g, brim, Ink::Outline, 1.4);
    g.restore();
}

} // namespace Pennywit
