// Pennywit's rest pose, speaking, blinking, showing, hiding and moving.

#include "PennywitAnimations.h"

#include "PennywitPainter.h"
#include "PennywitProps.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace Pennywit {

namespace {

// Only a sparkle where he is about to appear or has just gone.
Pose Sparkle(double size)
{
    Pose pose = RestPose();
    pose.body = false;
    pose.front = [size](QPainter& g) {
        Props::DrawSparkle(g, CoinCentre, size);
    };
    return pose;
}

// The bare coin turned `spin` degrees, without arms, legs, face or hat.
Pose Coin(double spin)
{
    Pose pose = RestPose();
    pose.spin = spin;
    pose.limbs = false;
    pose.hat.visible = false;
    return pose;
}

// Every frame of a gesture-like animation exits through `firstReturnFrame`.
void FinishWithExits(AnimationBuilder& a, int firstReturnFrame)
{
    a.ExitThrough(firstReturnFrame);
    a.Exit(0, a.Count() - 1);
    a.Finish();
}

} // namespace

void BuildRestPose(CharacterDraft& draft)
{
    AnimationBuilder a(draft, u"RestPose"_s, Ending::None);
    a.AddSpeaking(RestPose(), 10);
    a.Finish();
}

void BuildSpeaking(CharacterDraft& draft)
{
    AnimationBuilder a(draft, u"Speaking"_s, Ending::None);
    a.AddSpeaking(RestPose(), 10);
    a.Finish();
}

void BuildBlink(CharacterDraft& draft)
{
    Pose half = RestPose();
    half.leftEye.lid = half.rightEye.lid = 0.55;
    Pose shut = RestPose();
    shut.Eyes(EyeLook::Closed);
    AnimationBuilder a(draft, u"Blink"_s);
    a.Add(RestPose(), 10);
    a.Add(half, 5);
    a.Add(shut, 8);
    a.Add(half, 5);
    a.AddSpeaking(RestPose(), 10);
    a.ExitThrough(a.Count() - 1);
    a.Finish();
}

void BuildShowing(CharacterDraft& draft)
{
    Pose tada = RestPose();
    tada.mouth = Mouth::Grin;
    tada.Brows(2.5, 0);
    tada.hat.lift = 9;
    tada.hat.tilt = -6;
    tada.leftArm = {{22, 58}, -6, Grip::Palm, -130};
    tada.rightArm = {{106, 58}, 6, Grip::Palm, -50};
    Pose settle = tada;
    settle.hat.lift = 0;
    settle.hat.tilt = 12;
    settle.leftArm = {{26, 80}, -4, Grip::Palm, -170};
    settle.rightArm = {{102, 80}, 4, Grip::Palm, -10};

    AnimationBuilder a(draft, u"Showing"_s);
    a.Add(Sparkle(4), 5);
    a.Add(Sparkle(9), 5);
    // Edge-on first, then two quick turns that slow down as he comes round to face the user.
    for (double spin : {90.0, 135.0, 180.0, 225.0, 270.0, 315.0, 360.0, 405.0, 450.0, 495.0, 540.0, 585.0, 630.0})
        a.Add(Coin(spin), 4);
    a.Add(Coin(680), 6);
    a.Add(Coin(710), 7);
    a.Add(tada, 9);
    a.Add(settle, 8);
    a.AddSpeaking(RestPose(), 10);
    // Stopped early, he simply is there.
    for (int i = 0; i < a.Count(); ++i)
        a.Exit(i, i + 1 < a.Count() ? a.Count() - 1 : ExitDone);
    a.Finish();
}

void BuildHiding(CharacterDraft& draft)
{
    Pose tip = RestPose();
    tip.hat.lift = 7;
    tip.hat.tilt = -10;
    tip.Eyes(EyeLook::Happy);
    tip.leftArm = {{24, 62}, -6, Grip::Palm, -130};
    tip.rightArm = {{104, 62}, 6, Grip::Palm, -50};

    AnimationBuilder a(draft, u"Hiding"_s);
    a.Add(RestPose(), 6);
    a.Add(tip, 10);
    for (double spin :
         {20.0, 50.0, 90.0, 135.0, 180.0, 225.0, 270.0, 315.0, 360.0, 405.0, 450.0, 495.0, 540.0, 585.0, 630.0})
        a.Add(Coin(spin), 4);
    a.Add(Sparkle(9), 5);
    a.Add(Sparkle(4), 5);
    a.AddEmpty(10);
    // Stopped early, he is gone all the same.
    for (int i = 0; i < a.Count(); ++i)
        a.Exit(i, i + 1 < a.Count() ? a.Count() - 1 : ExitDone);
    a.Finish();
}

namespace {

// A short walk in one direction: lean, four steps, straighten up.
void BuildMoveSideways(CharacterDraft& draft, const QString& name, double direction)
{
    const Pose rest = RestPose();
    Pose lean = rest;
    lean.tilt = 6 * direction;
    lean.Gaze({direction, 0});
    lean.hat.tilt = 6 + 6 * direction;
    lean.leftArm.hand += QPointF(3 * direction, -2);
    lean.rightArm.hand += QPointF(3 * direction, -2);
    Pose stepA = lean;
    stepA.offset = {0, -2};
    stepA.leftLeg = {{52 + 8 * direction, 112}, 4 * direction, 15};
    stepA.rightLeg = {{76 - 6 * direction, 114}, 0, 0};
    stepA.leftArm.hand += QPointF(-5 * direction, -2);
    stepA.rightArm.hand += QPointF(5 * direction, -2);
    Pose stepB = lean;
    stepB.offset = {0, -2};
    stepB.rightLeg = {{76 + 8 * direction, 112}, 4 * direction, 15};
    stepB.leftLeg = {{52 - 6 * direction, 114}, 0, 0};
    stepB.leftArm.hand += QPointF(5 * direction, -2);
    stepB.rightArm.hand += QPointF(-5 * direction, -2);

    AnimationBuilder a(draft, name);
    a.Add(rest, 6);
    a.Add(lean, 8);
    for (int i = 0; i < 2; ++i) {
        a.Add(stepA, 10);
        a.Add(lean, 6);
        a.Add(stepB, 10);
        a.Add(lean, 6);
    }
    const int back = a.Add(Tween(rest, lean, 0.5), 6);
    a.AddSpeaking(rest, 10);
    FinishWithExits(a, back);
}

} // namespace

void BuildMoveLeft(CharacterDraft& draft)
{
    BuildMoveSideways(draft, u"MoveLeft"_s, -1);
}

void BuildMoveRight(CharacterDraft& draft)
{
    BuildMoveSideways(draft, u"MoveRight"_s, 1);
}

void BuildMoveUp(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    Pose crouch = rest;
    crouch.squash = 0.9;
    crouch.Gaze({0, -0.8});
    Pose leap = rest;
    leap.offset = {0, -6};
    leap.squash = 1.06;
    leap.Gaze({0, -1});
    leap.Brows(2.5, 0);
    leap.mouth = Mouth::Grin;
    leap.leftArm = {{24, 48}, -6, Grip::Palm, -115};
    leap.rightArm = {{104, 48}, 6, Grip::Palm, -65};
    leap.leftLeg = {{56, 110}, 3, -10};
    leap.rightLeg = {{72, 110}, -3, -10};
    leap.hat.lift = -1;
    Pose float_ = leap;
    float_.offset = {0, -8};
    float_.squash = 1;
    Pose land = crouch;
    land.Gaze({0, 0});

    AnimationBuilder a(draft, u"MoveUp"_s);
    a.Add(rest, 6);
    a.Add(crouch, 8);
    a.Add(leap, 10);
    a.Add(float_, 30);
    a.Add(leap, 20);
    const int back = a.Add(land, 8);
    a.AddSpeaking(rest, 10);
    FinishWithExits(a, back);
}

void BuildMoveDown(CharacterDraft& draft)
{
    const Pose rest = RestPose();
    Pose hop = rest;
    hop.offset = {0, -4};
    hop.Gaze({0, 1});
    Pose drop = rest;
    drop.offset = {0, -2};
    drop.squash = 1.05;
    drop.Gaze({0, 1});
    drop.Brows(3, 8);
    drop.mouth = Mouth::Round;
    drop.hat.lift = 6;
    drop.leftArm = {{22, 56}, -6, Grip::Palm, -125};
    drop.rightArm = {{106, 56}, 6, Grip::Palm, -55};
    drop.leftLeg = {{50, 112}, -3, -10};
    drop.rightLeg = {{78, 112}, 3, -10};
    Pose land = rest;
    land.squash = 0.9;
    land.hat.lift = 2;

    AnimationBuilder a(draft, u"MoveDown"_s);
    a.Add(rest, 6);
    a.Add(hop, 8);
    a.Add(drop, 30);
    a.Add(Tween(drop, rest, 0.3), 24);
    const int back = a.Add(land, 8);
    a.AddSpeaking(rest, 10);
    FinishWithExits(a, back);
}

} // namespace Pennywit
