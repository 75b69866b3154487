#include "PennywitPose.h"

namespace Pennywit {

namespace {

double Mix(double a, double b, double t)
{
    return a + (b - a) * t;
}

QPointF Mix(QPointF a, QPointF b, double t)
{
    return a + (b - a) * t;
}

Eye Mix(const Eye& a, const Eye& b, double t)
{
    Eye eye = t < 0.5 ? a : b;
    eye.gaze = Mix(a.gaze, b.gaze, t);
    eye.lid = Mix(a.lid, b.lid, t);
    eye.pupil = Mix(a.pupil, b.pupil, t);
    return eye;
}

Brow Mix(const Brow& a, const Brow& b, double t)
{
    return {Mix(a.lift, b.lift, t), Mix(a.tilt, b.tilt, t)};
}

Arm Mix(const Arm& a, const Arm& b, double t)
{
    Arm arm = t < 0.5 ? a : b;
    arm.hand = Mix(a.hand, b.hand, t);
    arm.bend = Mix(a.bend, b.bend, t);
    arm.gloveAngle = Mix(a.gloveAngle, b.gloveAngle, t);
    arm.gloveSize = Mix(a.gloveSize, b.gloveSize, t);
    return arm;
}

Leg Mix(const Leg& a, const Leg& b, double t)
{
    return {Mix(a.foot, b.foot, t), Mix(a.bend, b.bend, t), Mix(a.toe, b.toe, t)};
}

Hat Mix(const Hat& a, const Hat& b, double t)
{
    Hat hat = t < 0.5 ? a : b;
    if (a.onHead == b.onHead) {
        hat.tilt = Mix(a.tilt, b.tilt, t);
        hat.lift = Mix(a.lift, b.lift, t);
        hat.position = Mix(a.position, b.position, t);
    }
    return hat;
}

} // namespace

Pose Tween(const Pose& from, const Pose& to, double t)
{
    Pose pose = t < 0.5 ? from : to;
    pose.offset = Mix(from.offset, to.offset, t);
    pose.tilt = Mix(from.tilt, to.tilt, t);
    pose.squash = Mix(from.squash, to.squash, t);
    pose.spin = Mix(from.spin, to.spin, t);
    pose.leftEye = Mix(from.leftEye, to.leftEye, t);
    pose.rightEye = Mix(from.rightEye, to.rightEye, t);
    pose.leftBrow = Mix(from.leftBrow, to.leftBrow, t);
    pose.rightBrow = Mix(from.rightBrow, to.rightBrow, t);
    pose.leftArm = Mix(from.leftArm, to.leftArm, t);
    pose.rightArm = Mix(from.rightArm, to.rightArm, t);
    pose.leftLeg = Mix(from.leftLeg, to.leftLeg, t);
    pose.rightLeg = Mix(from.rightLeg, to.rightLeg, t);
    pose.hat = Mix(from.hat, to.hat, t);
    return pose;
}

} // namespace Pennywit
