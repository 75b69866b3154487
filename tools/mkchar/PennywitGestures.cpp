// Pennywit's gestures: each starts and ends on the rest pose, runs 0.8 to 2.5 seconds, and can be
// stopped at any frame (its exit branches lead back to rest).

#include "PennywitAnimations.h"

#include "PennywitPainter.h"
#include "PennywitPalette.h"
#include "PennywitProps.h"

#include <QPainter>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace Pennywit {

namespace {

// The common ending of a gesture: stopping on the first frame goes straight to the last; the
// frames before `firstReturnFrame` exit through the return frames.
void FinishGesture(AnimationBuilder& a, int firstReturnFrame)
{
    a.ExitThrough(firstReturnFrame);
    a.Exit(0, a.Count() - 1);
    a.Finish();
}

// Standing proud: a grin, brows up, the hat tipped further.
void Pleased(Pose& pose)
{
    pose.mouth = Mouth::Grin;
    pose.Brows(2.5, 0);
    pose.hat.tilt = 14;
}

// Worried: brows raised in the middle, a wavy mouth.
void Worried(Pose& pose)
{
    pose.Brows(2, 14);
    pose.mouth = Mouth::Wavy;
}

} // namespace

void BuildWave(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    Pose up = rest;
    up.leftArm = {{20, 46}, -7, Grip::Palm, -105, true, 1.15};
    up.hat.tilt = 16;
    up.hat.lift = 1.5;
    Pleased(up);
    Pose out = up;
    out.leftArm.hand = {15, 49};
    out.leftArm.gloveAngle = -130;
    Pose in = up;
    in.leftArm.hand = {25, 44};
    in.leftArm.gloveAngle = -78;
    in.hat.tilt = 18;

    AnimationBuilder a(draft, u"Wave"_s);
    a.Add(rest, 10);
    a.Add(Tween(rest, up, 0.55), 6);
    a.Add(up, 8);
    for (int i = 0; i < 3; ++i) {
        a.Add(out, 9);
        a.Add(in, 9);
    }
    a.Add(up, 8);
    const int back = a.Add(Tween(rest, up, 0.45), 6);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

void BuildThumbUp(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    Pose thumb = rest;
    thumb.rightArm = {{97, 63}, 5, Grip::Thumb, -8, true, 1.45};
    thumb.mouth = Mouth::Grin;
    thumb.rightBrow = {2.5, 0};
    thumb.hat.tilt = 12;
    Pose wink = thumb;
    wink.leftEye.look = EyeLook::Wink;
    wink.leftBrow = {-1.5, -6};
    Pose bob = wink;
    bob.rightArm.hand += QPointF(1, -2);

    AnimationBuilder a(draft, u"ThumbUp"_s);
    a.Add(rest, 10);
    a.Add(Tween(rest, thumb, 0.45), 6);
    a.Add(thumb, 8);
    a.Add(bob, 8);
    a.Add(wink, 8);
    a.Add(bob, 8);
    a.Add(wink, 24);
    a.Add(thumb, 8);
    const int back = a.Add(Tween(rest, thumb, 0.45), 6);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

void BuildMoneyShow(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    const auto fan = [](Pose pose, QPointF hand, int count, double from, double to) {
        pose.rightArm = {hand, 5, Grip::Hold, -70};
        pose.held = [hand, count, from, to](QPainter& g) {
            Props::DrawNoteFan(g, hand + QPointF(2, -3), count, from, to);
        };
        return pose;
    };
    Pose look = rest;
    look.Gaze({0.8, 0.4});
    const Pose pull = fan(look, {101, 82}, 1, -75, -75);
    const Pose three = fan(look, {101, 64}, 3, -100, -55);
    Pose show = fan(rest, {101, 60}, 5, -115, -20);
    Pleased(show);
    show.blush = true;
    show.leftArm = {{22, 64}, 6, Grip::Palm, -150};
    Pose bounce = show;
    bounce.hat.lift = 2;
    bounce.offset = {0, -1};

    AnimationBuilder a(draft, u"MoneyShow"_s);
    a.Add(rest, 10);
    a.Add(pull, 8);
    a.Add(three, 7);
    a.Add(show, 10);
    a.Add(bounce, 9);
    a.Add(show, 9);
    a.Add(bounce, 9);
    a.Add(show, 30);
    const int back = a.Add(three, 7);
    a.Add(pull, 7);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

namespace {

// The chart gestures share their choreography; only the line and his face differ.
void BuildGraph(CharacterDraft& draft, const QString& name, bool rising)
{
    const Pose rest = RestPose();
    const auto holding = [rising](Pose pose, QPointF hand, double progress) {
        pose.rightArm = {hand, 6, Grip::Hold, -90};
        pose.held = [hand, progress, rising](QPainter& g) {
            Props::DrawChart(g, QRectF(hand.x() - 17, hand.y() - 35, 38, 30), progress, rising);
        };
        return pose;
    };
    Pose look = rest;
    look.Gaze({0.9, -0.5});
    look.leftArm = {{22, 66}, 6, Grip::Palm, -155};
    Pose react = rest;
    if (rising) {
        Pleased(react);
        react.Brows(4, 0);
    } else {
        react.Brows(-1, 15);
        react.mouth = Mouth::Frown;
        react.Gaze({0.2, 0.4});
    }
    react.leftArm = look.leftArm;
    Pose reactSweat = react;
    if (!rising) {
        reactSweat.front = [](QPainter& g) {
            Props::DrawSweatDrop(g, {37, 46}, 1.1);
        };
        react.front = reactSweat.front;
    }

    AnimationBuilder a(draft, name);
    a.Add(rest, 10);
    a.Add(holding(rest, {100, 88}, 0), 6);
    a.Add(holding(look, {100, 72}, 0), 8);
    a.Add(holding(look, {100, 72}, 0.3), 8);
    a.Add(holding(look, {100, 72}, 0.6), 8);
    a.Add(holding(look, {100, 72}, 1), 8);
    a.Add(holding(react, {100, 72}, 1), 14);
    Pose nod = react;
    nod.offset = {0, rising ? -1.5 : 1};
    if (rising)
        nod.hat.lift = 2;
    a.Add(holding(nod, {100, rising ? 70.5 : 73}, 1), 10);
    a.Add(holding(react, {100, 72}, 1), 30);
    const int back = a.Add(holding(rest, {100, 88}, 1), 6);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

} // namespace

void BuildGraphUp(CharacterDraft& draft)
{
    BuildGraph(draft, u"GraphUp"_s, true);
}

void BuildGraphDown(CharacterDraft& draft)
{
    BuildGraph(draft, u"GraphDown"_s, false);
}

void BuildCalculator(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    const QRectF body(78, 62, 24, 34);
    // The middle of key `key` (three columns, four rows).
    const auto keyCentre = [body](int key) {
        const double keyWidth = (body.width() - 5 - 2 * 1.6) / 3;
        const double top = body.top() + 2.8 + 7.5 + 2.4;
        const double keyHeight = (body.bottom() - 2.4 - top - 3 * 1.5) / 4;
        return QPointF(body.left() + 2.5 + (key % 3) * (keyWidth + 1.6) + keyWidth / 2,
                       top + (key / 3) * (keyHeight + 1.5) + keyHeight / 2);
    };
    const auto calculator = [body](Pose pose, QPointF offset, const QString& display, int pressed) {
        pose.rightArm = {QPointF(96, 101) + offset, 4, Grip::Hold, -100};
        pose.held = [body, offset, display, pressed](QPainter& g) {
            Props::DrawCalculator(g, body.translated(offset), display, pressed);
        };
        return pose;
    };
    // Taps key `key` (or hovers just above it) with his pointing finger.
    const auto tap = [&](Pose pose, int key, bool down) {
        const QPointF tip = keyCentre(key) + (down ? QPointF(0, 0) : QPointF(-1.5, -2.5));
        pose.leftArm = {tip - QPointF(13.5, -1), 10, Grip::Point, 0};
        return pose;
    };
    Pose look = rest;
    look.Gaze({0.8, 0.9});
    look.Brows(1, 0);
    Pose proud = rest;
    proud.Brows(2.5, 0);
    proud.hat.tilt = 12;

    AnimationBuilder a(draft, u"Calculator"_s);
    a.Add(rest, 10);
    a.Add(calculator(look, {0, 14}, u""_s, -1), 6);
    a.Add(tap(calculator(look, {}, u"0"_s, -1), 0, false), 8);
    a.Add(tap(calculator(look, {}, u"1"_s, 0), 0, true), 6);
    a.Add(tap(calculator(look, {}, u"1"_s, -1), 4, false), 6);
    a.Add(tap(calculator(look, {}, u"12"_s, 4), 4, true), 6);
    a.Add(tap(calculator(look, {}, u"12"_s, -1), 8, false), 6);
    a.Add(tap(calculator(look, {}, u"125"_s, 8), 8, true), 6);
    a.Add(tap(calculator(look, {}, u"125"_s, -1), 11, false), 6);
    a.Add(tap(calculator(look, {}, u"1250"_s, 11), 11, true), 8);
    a.Add(calculator(look, {}, u""_s, -1), 10);
    a.Add(calculator(look, {}, u"1250"_s, -1), 10);
    a.Add(calculator(look, {}, u""_s, -1), 10);
    a.Add(calculator(proud, {}, u"1250"_s, -1), 24);
    const int back = a.Add(calculator(rest, {0, 14}, u"1250"_s, -1), 6);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

namespace {

// The placard gestures: up it goes, a few shakes, down again.
void BuildSign(CharacterDraft& draft, const QString& name, const QString& word, bool buy)
{
    const Pose rest = RestPose();
    const QRgb colour = buy ? Ink::Green : Ink::Red;
    const QRgb shade = buy ? Ink::GreenShade : Ink::RedShade;
    const auto placard = [=](Pose pose, QPointF grip, double angle) {
        pose.rightArm = {grip, 5, Grip::Hold, -95 + angle};
        pose.held = [=](QPainter& g) {
            Props::DrawPlacard(g, grip + QPointF(0, 3), angle, word, colour, shade);
        };
        return pose;
    };
    Pose face = rest;
    if (buy) {
        Pleased(face);
        face.leftArm = {{25, 50}, -6, Grip::Fist, -100};
    } else {
        face.Brows(-1, -13);
        face.mouth = Mouth::Closed;
        face.leftArm = {{33, 90}, -12, Grip::Fist, 20};
    }
    Pose pump = face;
    if (buy) {
        pump.leftArm.hand = {23, 44};
        pump.offset = {0, -2};
        pump.hat.lift = 2;
    } else {
        pump.Gaze({0, 0.2});
    }

    AnimationBuilder a(draft, name);
    a.Add(rest, 10);
    a.Add(placard(rest, {101, 92}, 8), 6);
    a.Add(placard(face, {100, 63}, 0), 8);
    for (int i = 0; i < 3; ++i) {
        a.Add(placard(pump, {100, 61}, -6), 9);
        a.Add(placard(face, {100, 63}, 5), 9);
    }
    a.Add(placard(face, {100, 63}, 0), 30);
    const int back = a.Add(placard(rest, {101, 92}, 8), 6);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

} // namespace

void BuildSignSell(CharacterDraft& draft)
{
    BuildSign(draft, u"SignSell"_s, u"SELL"_s, false);
}

void BuildSignBuy(CharacterDraft& draft)
{
    BuildSign(draft, u"SignBuy"_s, u"BUY"_s, true);
}

void BuildPotGold(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    const QPointF pot(104, 120);
    const auto scene = [pot](Pose pose, double potScale, double sparkle, int glint) {
        pose.front = [=](QPainter& g) {
            Props::DrawPotOfGold(g, pot, potScale, glint);
            Props::DrawSparkle(g, pot + QPointF(-1, -14), sparkle);
        };
        return pose;
    };
    Pose notice = rest;
    notice.Gaze({0.8, 0.9});
    Pose surprised = notice;
    surprised.mouth = Mouth::Round;
    surprised.Brows(4, 0);
    surprised.leftEye.pupil = surprised.rightEye.pupil = 0.85;
    Pose beam = rest;
    beam.Eyes(EyeLook::Happy);
    beam.mouth = Mouth::Grin;
    beam.blush = true;
    beam.Brows(3, 0);
    beam.hat.tilt = 16;
    beam.hat.lift = 2;
    beam.leftArm = {{28, 62}, -6, Grip::Palm, -115};
    beam.rightArm = {{100, 62}, 6, Grip::Palm, -65};
    Pose beamDown = beam;
    beamDown.hat.lift = 0;
    beamDown.offset = {0, 1};

    AnimationBuilder a(draft, u"PotGold"_s);
    a.Add(rest, 10);
    a.Add(scene(notice, 0, 4, 0), 8);
    a.Add(scene(notice, 0, 9, 0), 6);
    a.Add(scene(notice, 0.5, 6, 0), 6);
    a.Add(scene(surprised, 1.12, 0, 0), 6);
    a.Add(scene(surprised, 1, 0, 1), 12);
    a.Add(scene(beam, 1, 0, 2), 12);
    a.Add(scene(beamDown, 1, 0, 0), 12);
    a.Add(scene(beam, 1, 0, 1), 12);
    a.Add(scene(beamDown, 1, 0, 2), 12);
    a.Add(scene(beam, 1, 0, 0), 16);
    const int back = a.Add(scene(rest, 0.6, 7, 0), 6);
    a.Add(scene(rest, 0, 4, 0), 6);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

void BuildCrash(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    Pose trip = rest;
    trip.tilt = 14;
    trip.offset = {3, -3};
    trip.rightLeg = {{88, 106}, -6, 30};
    trip.leftArm = {{22, 50}, -6, Grip::Palm, -120};
    trip.rightArm = {{106, 48}, 6, Grip::Palm, -60};
    trip.mouth = Mouth::Shout;
    trip.Brows(4, 8);
    trip.leftEye.pupil = trip.rightEye.pupil = 0.7;
    trip.hat.lift = 5;
    trip.hat.tilt = 24;

    Pose tumble = trip;
    tumble.tilt = 50;
    tumble.offset = {9, 3};
    tumble.hat.onHead = false;
    tumble.hat.position = {92, 14};
    tumble.hat.tilt = 70;

    Pose fall = tumble;
    fall.tilt = 84;
    fall.offset = {13, 20};
    fall.Eyes(EyeLook::Closed);
    fall.leftLeg = {{46, 104}, 4, 0};
    fall.rightLeg = {{74, 108}, -4, 10};
    fall.hat.position = {110, 60};
    fall.hat.tilt = 150;

    Pose sit = rest;
    sit.offset = {0, 11};
    sit.leftLeg = {{36, 99}, 6, 40};
    sit.rightLeg = {{92, 99}, -6, 40};
    sit.leftArm = {{24, 100}, -4, Grip::Relaxed, 110};
    sit.rightArm = {{104, 100}, 4, Grip::Relaxed, 70};
    sit.Eyes(EyeLook::Dizzy);
    sit.mouth = Mouth::Wavy;
    sit.hat.onHead = false;
    sit.hat.position = {112, 116};
    sit.hat.tilt = -12;
    const auto stars = [](Pose pose, double phase) {
        pose.front = [phase](QPainter& g) {
            Props::DrawCirclingStars(g, {64, 40}, 22, 6, phase);
        };
        return pose;
    };
    Pose shake = sit;
    shake.Eyes(EyeLook::Closed);
    shake.mouth = Mouth::Frown;
    shake.tilt = -7;
    Pose shakeBack = shake;
    shakeBack.tilt = 7;
    Pose rise = rest;
    rise.offset = {0, 6};
    rise.squash = 0.96;
    rise.hat.lift = 7;
    rise.hat.tilt = 18;
    Worried(rise);
    rise.mouth = Mouth::Smile;
    Pose dusted = rest;
    dusted.Brows(1.5, 10);
    dusted.hat.tilt = 10;

    AnimationBuilder a(draft, u"Crash"_s);
    a.Add(rest, 10);
    a.Add(trip, 8);
    a.Add(tumble, 6);
    a.Add(fall, 8);
    a.Add(stars(sit, 0), 8);
    for (int i = 1; i < 9; ++i)
        a.Add(stars(sit, i / 6.0), 8);
    a.Add(shake, 7);
    a.Add(shakeBack, 7);
    a.Add(shake, 7);
    const int back = a.Add(rise, 7);
    a.Add(dusted, 14);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

void BuildBear(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    const auto bear = [](Pose pose, double rise, bool growl, double sway) {
        pose.behind = [=](QPainter& g) {
            Props::DrawBear(g, rise, growl, sway);
        };
        return pose;
    };
    Pose sense = rest;
    sense.Gaze({-0.6, -0.6});
    sense.Brows(2, 6);
    sense.mouth = Mouth::Closed;
    Pose fright = rest;
    fright.offset = {0, -3};
    fright.hat.lift = 6;
    fright.hat.tilt = 0;
    fright.leftEye.pupil = fright.rightEye.pupil = 0.7;
    fright.Brows(4, 16);
    fright.mouth = Mouth::Shout;
    fright.leftArm = {{26, 62}, -5, Grip::Palm, -120};
    fright.rightArm = {{102, 62}, 5, Grip::Palm, -60};
    Pose shiver = fright;
    shiver.offset = {1.5, 0};
    shiver.hat.lift = 3;
    shiver.mouth = Mouth::Wavy;
    shiver.leftArm.hand = {30, 70};
    shiver.rightArm.hand = {98, 70};
    shiver.front = [](QPainter& g) {
        Props::DrawSweatDrop(g, {36, 44}, 1.1);
    };
    Pose shiverBack = shiver;
    shiverBack.offset = {-1.5, 0};
    shiverBack.front = [](QPainter& g) {
        Props::DrawSweatDrop(g, {35, 47}, 1.1);
    };
    Pose relief = rest;
    relief.Brows(1.5, 12);
    relief.front = shiver.front;

    AnimationBuilder a(draft, u"Bear"_s);
    a.Add(rest, 10);
    a.Add(bear(sense, 0.35, false, 0), 8);
    a.Add(bear(sense, 0.75, false, 0), 6);
    a.Add(bear(fright, 1, true, 0), 10);
    for (int i = 0; i < 4; ++i) {
        a.Add(bear(shiver, 1, true, 1.5), 6);
        a.Add(bear(shiverBack, 1, i % 2 == 0, -1.5), 6);
    }
    const int back = a.Add(bear(shiver, 0.85, false, 0), 7);
    a.Add(bear(shiverBack, 0.5, false, 0), 6);
    a.Add(bear(relief, 0.15, false, 0), 6);
    a.Add(relief, 12);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

void BuildDance(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    Pose base = rest;
    base.Eyes(EyeLook::Happy);
    base.mouth = Mouth::Grin;
    base.blush = true;
    Pose kickLeft = base;
    kickLeft.offset = {-2, -5};
    kickLeft.leftLeg = {{38, 104}, 5, 25};
    kickLeft.rightLeg = {{74, 112}, 0, 0};
    kickLeft.leftArm = {{22, 48}, -6, Grip::Palm, -115};
    kickLeft.rightArm = {{100, 84}, -10, Grip::Fist, 160};
    kickLeft.hat.lift = 6;
    kickLeft.hat.tilt = -8;
    Pose land = base;
    land.offset = {0, 1};
    land.squash = 0.95;
    land.hat.lift = 0;
    land.hat.tilt = 4;
    land.leftArm = {{28, 72}, -4, Grip::Palm, -150};
    land.rightArm = {{100, 72}, 4, Grip::Palm, -30};
    Pose kickRight = base;
    kickRight.offset = {2, -5};
    kickRight.rightLeg = {{90, 104}, -5, 25};
    kickRight.leftLeg = {{54, 112}, 0, 0};
    kickRight.rightArm = {{106, 48}, 6, Grip::Palm, -65};
    kickRight.leftArm = {{28, 84}, 10, Grip::Fist, 20};
    kickRight.hat.lift = 6;
    kickRight.hat.tilt = 20;

    AnimationBuilder a(draft, u"Dance"_s);
    a.Add(rest, 10);
    a.Add(land, 7);
    for (int i = 0; i < 3; ++i) {
        a.Add(kickLeft, 9);
        a.Add(land, 8);
        a.Add(kickRight, 9);
        a.Add(land, 8);
    }
    const int back = a.Add(Tween(rest, land, 0.5), 7);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

void BuildBurn(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    const QPointF hand(100, 64);
    const QPointF noteCentre = hand + QPointF(3, -14);
    constexpr double noteAngle = -80;
    const auto burning = [=](Pose pose, double burnt, double flame, int flicker) {
        pose.rightArm = {hand, 6, Grip::Hold, -95};
        pose.held = [=](QPainter& g) {
            Props::DrawBanknote(g, noteCentre, noteAngle, 1.3, burnt);
        };
        pose.front = [=](QPainter& g) {
            const double radians = noteAngle * std::numbers::pi / 180;
            const QPointF edge = noteCentre + QPointF(std::cos(radians), std::sin(radians)) * (10 - 20 * burnt) * 1.3;
            Props::DrawFlame(g, edge + QPointF(0, 2), flame, flicker);
        };
        return pose;
    };
    const auto ash = [=](Pose pose, double fall, int count) {
        pose.rightArm = {hand, 6, Grip::Fist, -95};
        pose.front = [=](QPainter& g) {
            Props::DrawAsh(g, hand + QPointF(3, -7), fall, count);
        };
        return pose;
    };
    Pose admire = rest;
    admire.Gaze({0.9, -0.5});
    admire.Brows(1.5, 0);
    Pose alarm = admire;
    alarm.mouth = Mouth::Round;
    alarm.leftEye.pupil = alarm.rightEye.pupil = 0.75;
    alarm.Brows(4, 6);
    Pose dismay = alarm;
    dismay.mouth = Mouth::Shout;
    dismay.Brows(3, 16);
    dismay.leftArm = {{26, 62}, -5, Grip::Palm, -120};
    Pose sad = rest;
    sad.Brows(0, 16);
    sad.mouth = Mouth::Frown;
    sad.Gaze({0.6, 0.6});
    sad.leftEye.lid = sad.rightEye.lid = 0.35;

    AnimationBuilder a(draft, u"Burn"_s);
    a.Add(rest, 10);
    a.Add(burning(admire, 0, 0, 0), 8);
    a.Add(burning(admire, 0, 0, 0), 10);
    a.Add(burning(alarm, 0.05, 6, 0), 8);
    a.Add(burning(alarm, 0.3, 9, 1), 7);
    a.Add(burning(dismay, 0.55, 11, 2), 7);
    a.Add(burning(dismay, 0.8, 10, 0), 7);
    a.Add(burning(dismay, 0.97, 5, 1), 6);
    a.Add(ash(sad, 0, 8), 8);
    a.Add(ash(sad, 8, 7), 8);
    a.Add(ash(sad, 16, 6), 8);
    a.Add(ash(sad, 26, 4), 8);
    const int back = a.Add(Tween(rest, sad, 0.6), 10);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

void BuildAdvert(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    const auto banner = [](Pose pose, double left, double right, double unroll, double bob) {
        const double top = 1 + bob;
        pose.leftArm = {{left, top + 29}, -10, Grip::Hold, -90};
        pose.rightArm = {{right, top + 29}, 10, Grip::Hold, -90};
        pose.held = [=](QPainter& g) {
            Props::DrawBanner(g, {left, top}, {right, top}, unroll);
        };
        return pose;
    };
    Pose proud = rest;
    Pleased(proud);
    Pose beam = proud;
    beam.Eyes(EyeLook::Happy);
    Pose bow = rest;
    bow.squash = 0.9;
    bow.Eyes(EyeLook::Closed);
    bow.hat.onHead = false;
    bow.hat.position = {106, 44};
    bow.hat.tilt = -25;
    bow.rightArm = {{104, 50}, 6, Grip::Fist, -60};
    bow.leftArm = {{64, 96}, 10, Grip::Relaxed, 10};
    Pose deepBow = bow;
    deepBow.squash = 0.84;
    deepBow.hat.position = {108, 50};
    deepBow.rightArm.hand = {106, 56};
    Pose up = rest;
    up.hat.lift = 5;
    up.hat.tilt = 14;

    AnimationBuilder a(draft, u"Advert"_s);
    a.Add(rest, 10);
    Pose reach = proud;
    reach.leftArm = {{30, 48}, -8, Grip::Hold, -100};
    reach.rightArm = {{98, 48}, 8, Grip::Hold, -80};
    a.Add(reach, 7);
    a.Add(banner(proud, 30, 98, 1, 1), 7);
    a.Add(banner(beam, 12, 116, 1, 0), 10);
    for (int i = 0; i < 2; ++i) {
        a.Add(banner(beam, 12, 116, 1, -1.5), 10);
        a.Add(banner(beam, 12, 116, 1, 0), 10);
    }
    a.Add(banner(proud, 30, 98, 1, 1), 7);
    a.Add(reach, 6);
    a.Add(bow, 8);
    a.Add(deepBow, 24);
    const int back = a.Add(bow, 6);
    a.Add(up, 7);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

void BuildRead(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    const auto paper = [](Pose pose, double open, double drop) {
        const QRectF rect(31, 65 + drop, 66, 33);
        const double half = rect.width() * (0.5 + 0.5 * open) / 2;
        pose.leftArm = {{rect.center().x() - half - 3, rect.center().y() + 2}, 8, Grip::Hold, 0};
        pose.rightArm = {{rect.center().x() + half + 3, rect.center().y() + 2}, -8, Grip::Hold, 180};
        pose.held = [=](QPainter& g) {
            Props::DrawNewspaper(g, rect, open);
        };
        return pose;
    };
    const auto reading = [](double x, double y) {
        Pose pose = RestPose();
        pose.Gaze({x, y});
        pose.Brows(0.5, 0);
        return pose;
    };
    Pose glance = RestPose();
    glance.Gaze({0, -0.4});
    glance.Brows(3.5, 0);
    glance.hat.tilt = 10;

    AnimationBuilder a(draft, u"Read"_s);
    a.Add(rest, 10);
    a.Add(paper(reading(0.2, 0.9), 0, 10), 6);
    a.Add(paper(reading(0, 0.9), 0.5, 2), 6);
    a.Add(paper(reading(-0.8, 0.8), 1, 0), 12);
    a.Add(paper(reading(-0.2, 0.8), 1, 0), 12);
    a.Add(paper(reading(0.6, 0.8), 1, 0), 12);
    a.Add(paper(reading(-0.8, 1), 1, 0), 12);
    a.Add(paper(reading(0.1, 1), 1, 0), 12);
    a.Add(paper(reading(0.7, 1), 1, 0), 12);
    a.Add(paper(glance, 1, 3), 24);
    a.Add(paper(reading(-0.5, 0.9), 1, 0), 12);
    a.Add(paper(reading(0.5, 0.9), 1, 0), 12);
    const int back = a.Add(paper(reading(0, 0.9), 0.5, 2), 6);
    a.Add(paper(rest, 0, 10), 6);
    a.AddSpeaking(rest, 10);
    FinishGesture(a, back);
}

} // namespace Pennywit
