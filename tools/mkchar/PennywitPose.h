#pragma once

#include <QPointF>

#include <functional>

class QPainter;

// One picture of Pennywit, described by what his parts do. Coordinates are frame pixels (the
// frame is 128 x 128, y downwards) in the body's own space: the body transform (offset, tilt,
// squash) moves everything that belongs to him, arms, legs, hat and held props included.
namespace Pennywit {

// Fixed proportions of the body.
inline constexpr QPointF CoinCentre{64, 66};
inline constexpr double CoinRadius = 29;
inline constexpr double CoinThickness = 5;
inline constexpr QPointF LeftShoulder{38, 73};  // on the viewer's left: his right arm
inline constexpr QPointF RightShoulder{90, 73}; // on the viewer's right: his left arm
inline constexpr QPointF LeftHip{57, 93};
inline constexpr QPointF RightHip{71, 93};
inline constexpr QPointF MouthCentre{64, 72};
inline constexpr QPointF LeftEyeCentre{55, 56};
inline constexpr QPointF RightEyeCentre{73, 56};
inline constexpr QPointF HatSeat{66, 38}; // centre of the brim when the hat sits on his head
inline constexpr QPointF Floor{64, 117};  // between his feet: pivot of squash and stretch

enum class Side
{
    Left,
    Right
};

enum class EyeLook
{
    Open,   // open, pupil placed by `look`
    Closed, // a lowered lid: blink
    Happy,  // an upturned arc: beaming
    Wink,   // tightly shut, a little lower than Closed
    Dizzy,  // a spiral
};

struct Eye
{
    EyeLook look = EyeLook::Open;
    QPointF gaze{0, 0}; // -1..1 in each direction: where the pupil looks
    double lid = 0;     // 0 open .. 1 shut, for an open eye: the upper lid lowered part way
    double pupil = 1;   // pupil scale (0.7 when frightened)
};

struct Brow
{
    double lift = 0; // pixels upwards
    double tilt = 0; // degrees; positive raises the inner end (worried), negative lowers it (cross)
};

enum class Mouth
{
    Smile,  // resting smile, lips closed
    Closed, // speaking: lips together
    Narrow, // speaking: slightly open
    Medium, // speaking: open
    Wide,   // speaking: wide open
    Round,  // speaking: "o"
    Grin,   // a big open grin
    Frown,
    Wavy,  // nervous
    Shout, // a tall open "O" of fright
};

enum class Grip
{
    Relaxed, // open mitten, thumb up the side
    Fist,
    Thumb, // fist with the thumb up
    Point, // fist with the index finger out
    Palm,  // open hand facing the viewer, fingers spread (waving)
    Hold,  // fist turned to hold a stick or an edge
};

struct Arm
{
    QPointF hand;    // wrist position
    double bend = 0; // sideways bow of the rubber-hose arm, pixels (sign picks the side)
    Grip grip = Grip::Relaxed;
    double gloveAngle = 0; // degrees, 0 = glove pointing right, 90 = down
    bool visible = true;
    double gloveSize = 1; // glove scale (a thumbs-up is shown a little larger)
};

struct Leg
{
    QPointF foot;    // where the shoe's heel meets the floor
    double bend = 0; // sideways bow of the leg
    double toe = 0;  // degrees the shoe is tipped (positive: toe up)
};

struct Hat
{
    bool visible = true;
    bool onHead = true; // false: placed freely by `position` (frame space, brim centre)
    double tilt = 6;    // degrees clockwise
    double lift = 0;    // pixels above the head when on it
    QPointF position{0, 0};
};

using Layer = std::function<void(QPainter&)>;

struct Pose
{
    // Body transform.
    QPointF offset{0, 0};
    double tilt = 0;   // degrees clockwise about the coin's centre
    double squash = 1; // vertical scale about the floor point (below 1: squashed)
    double spin = 0;   // degrees about the vertical axis: 0 facing, 90 edge-on, 180 showing his back
    bool body = true;  // false: only the extra layers are drawn (he is not there)
    bool limbs = true; // arms and legs shown (hidden while he spins)
    bool face = true;  // eyes, brows and mouth shown on the front

    Eye leftEye;
    Eye rightEye;
    Brow leftBrow;
    Brow rightBrow;
    Mouth mouth = Mouth::Smile;
    bool blush = false;

    Arm leftArm{{29, 92}, -3, Grip::Relaxed, 100};
    Arm rightArm{{99, 92}, 3, Grip::Relaxed, 80};
    Leg leftLeg{{52, 114}, 0, 0};
    Leg rightLeg{{76, 114}, 0, 0};
    Hat hat;

    // Extra drawing: `behind` is painted first in frame space (a bear looming), `held` in body space
    // after the arms and before the gloves (what he holds), `front` last in frame space (stars, fire).
    Layer behind;
    Layer held;
    Layer front;

    Arm& arm(Side side) { return side == Side::Left ? leftArm : rightArm; }
    Eye& eye(Side side) { return side == Side::Left ? leftEye : rightEye; }
    Brow& brow(Side side) { return side == Side::Left ? leftBrow : rightBrow; }
    Leg& leg(Side side) { return side == Side::Left ? leftLeg : rightLeg; }

    // Looks both eyes the same way.
    void Gaze(QPointF direction)
    {
        leftEye.gaze = direction;
        rightEye.gaze = direction;
    }
    void Brows(double lift, double tilt)
    {
        leftBrow = {lift, tilt};
        rightBrow = {lift, tilt};
    }
    void Eyes(EyeLook look)
    {
        leftEye.look = look;
        rightEye.look = look;
    }
};

// Standing at rest: arms down, a small smile, the hat at its jaunty angle.
inline Pose RestPose()
{
    return Pose{};
}

// An in-between of two poses: positions, angles and scales are interpolated (t = 0 gives `from`,
// 1 gives `to`); choices that cannot be blended (grips, eye and mouth shapes, extra layers) come
// from the nearer pose.
Pose Tween(const Pose& from, const Pose& to, double t);

} // namespace Pennywit
