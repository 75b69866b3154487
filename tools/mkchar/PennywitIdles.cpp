// What Pennywit does while nobody needs him. The character engine rests him in the rest pose and
// plays one of these every 10 to 20 seconds; each starts with a blink, holds still a moment (a still
// frame costs nothing) and then does its little thing.

#include "PennywitAnimations.h"

#include "PennywitPainter.h"
#include "PennywitProps.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace Pennywit {

namespace {

// Blinks, then holds the rest pose for `hold`.
void BlinkAndRest(AnimationBuilder& a, int hold)
{
    Pose half = RestPose();
    half.leftEye.lid = half.rightEye.lid = 0.55;
    Pose shut = RestPose();
    shut.Eyes(EyeLook::Closed);
    a.AddSpeaking(RestPose(), 10);
    a.Add(half, 4);
    a.Add(shut, 7);
    a.Add(half, 4);
    a.AddSpeaking(RestPose(), hold);
}

// Idle animations stop at once when a request comes: every frame exits to the closing rest frame.
void FinishIdle(AnimationBuilder& a)
{
    a.AddSpeaking(RestPose(), 10);
    for (int i = 0; i < a.Count(); ++i)
        a.Exit(i, i + 1 < a.Count() ? a.Count() - 1 : ExitDone);
    a.Finish();
}

} // namespace

void BuildIdleRest(CharacterDraft& draft)
{
    AnimationBuilder a(draft, u"IdleBlink"_s);
    BlinkAndRest(a, 250);
    BlinkAndRest(a, 10);
    FinishIdle(a);
}

void BuildIdleWatch(CharacterDraft& draft)
{
    const auto watch = [](Pose pose, QPointF hand, bool open, double minute) {
        pose.rightArm = {hand, 5, Grip::Hold, -95};
        pose.held = [=](QPainter& g) {
            Props::DrawPocketWatch(g, hand + QPointF(2, -13), {89, 84}, open, minute);
        };
        return pose;
    };
    Pose look = RestPose();
    look.Gaze({0.9, 0.2});
    look.Brows(1, 0);
    Pose read = look;
    read.Gaze({1, 0.4});
    read.leftEye.lid = read.rightEye.lid = 0.2;
    Pose nod = read;
    nod.offset = {0, 1.5};
    nod.hat.tilt = 10;
    Pose pleased = RestPose();
    pleased.Brows(2, 0);
    pleased.hat.tilt = 10;

    AnimationBuilder a(draft, u"IdleWatch"_s);
    BlinkAndRest(a, 150);
    a.Add(watch(look, {100, 92}, false, 0), 10);
    a.Add(watch(look, {104, 76}, false, 0), 10);
    a.Add(watch(read, {104, 76}, true, 10), 40);
    a.Add(watch(read, {104, 76}, true, 11), 40);
    a.Add(watch(nod, {104, 77}, true, 11), 16);
    a.Add(watch(read, {104, 76}, true, 12), 30);
    a.Add(watch(pleased, {104, 76}, false, 12), 20);
    a.Add(watch(pleased, {100, 92}, false, 12), 10);
    FinishIdle(a);
}

void BuildIdlePolish(CharacterDraft& draft)
{
    const auto rub = [](Pose pose, QPointF hand) {
        pose.rightArm = {hand, 8, Grip::Fist, 180};
        pose.front = [hand](QPainter& g) {
            Props::DrawCloth(g, hand + QPointF(-4, 1), -10);
        };
        return pose;
    };
    Pose look = RestPose();
    look.Gaze({1, 0.1});
    look.Brows(0.5, 4);
    look.mouth = Mouth::Closed;
    Pose proud = RestPose();
    proud.Eyes(EyeLook::Happy);
    proud.mouth = Mouth::Grin;
    proud.hat.tilt = 12;
    proud.front = [](QPainter& g) {
        Props::DrawSparkle(g, {94, 50}, 8);
    };

    AnimationBuilder a(draft, u"IdlePolish"_s);
    BlinkAndRest(a, 120);
    a.Add(rub(look, {104, 70}), 10);
    for (int i = 0; i < 3; ++i) {
        a.Add(rub(look, {103, 56}), 9);
        a.Add(rub(look, {106, 62}), 9);
        a.Add(rub(look, {104, 68}), 9);
        a.Add(rub(look, {101, 62}), 9);
    }
    a.Add(proud, 30);
    FinishIdle(a);
}

void BuildIdleTicker(CharacterDraft& draft)
{
    const auto glance = [](double x, double lift) {
        Pose pose = RestPose();
        pose.Gaze({x, -0.5});
        pose.Brows(lift, 0);
        return pose;
    };
    Pose interested = glance(-0.3, 3.5);
    interested.mouth = Mouth::Round;
    interested.hat.tilt = 12;

    AnimationBuilder a(draft, u"IdleTicker"_s);
    BlinkAndRest(a, 100);
    a.Add(glance(0.9, 1), 20);
    a.Add(glance(0.5, 1), 25);
    a.Add(glance(0.1, 1), 25);
    a.Add(glance(-0.3, 1.5), 25);
    a.Add(glance(-0.7, 1.5), 20);
    a.Add(glance(0.9, 1), 15);
    a.Add(glance(0.4, 1.5), 25);
    a.Add(interested, 50);
    a.Add(glance(-0.6, 2), 25);
    FinishIdle(a);
}

void BuildIdleDoze(CharacterDraft& draft)
{
    const auto drowsy = [](double lid, double nod) {
        Pose pose = RestPose();
        pose.leftEye.lid = pose.rightEye.lid = lid;
        pose.offset = {0, nod};
        pose.hat.tilt = 6 + nod * 3;
        pose.mouth = Mouth::Closed;
        return pose;
    };
    Pose asleep = drowsy(1, 2.5);
    asleep.Eyes(EyeLook::Closed);
    asleep.mouth = Mouth::Round;
    const auto snore = [asleep](double size) {
        Pose pose = asleep;
        pose.front = [size](QPainter& g) {
            Props::DrawSnore(g, {90, 40}, size);
        };
        return pose;
    };
    Pose startled = RestPose();
    startled.Brows(3, 0);
    startled.leftEye.pupil = startled.rightEye.pupil = 0.85;
    startled.hat.lift = 3;

    AnimationBuilder a(draft, u"IdleDoze"_s);
    BlinkAndRest(a, 80);
    a.Add(drowsy(0.35, 0), 40);
    a.Add(drowsy(0.55, 1), 40);
    a.Add(drowsy(0.7, 2), 40);
    a.Add(asleep, 60);
    for (int i = 0; i < 3; ++i) {
        a.Add(snore(7), 40);
        a.Add(snore(9), 40);
    }
    a.Add(startled, 20);
    FinishIdle(a);
}

} // namespace Pennywit
