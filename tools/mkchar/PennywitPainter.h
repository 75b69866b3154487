#pragma once

#include "PennywitPose.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>

class QPainter;

// Draws Pennywit from a Pose: one helper per part of him. All helpers take a painter set up in
// frame coordinates (128 x 128, scaled by the caller for supersampling).
namespace Pennywit {

inline constexpr int FrameSize = 128;

// The whole character in a FrameSize x FrameSize ARGB picture on a transparent background, drawn at
// four times the size and reduced, so edges are smooth before the palette is applied.
QImage DrawPicture(const Pose& pose);

// The whole character onto `g` (frame coordinates).
void DrawPose(QPainter& g, const Pose& pose);

// Where the mouth overlays go for this pose, in frame space: every mouth shape lies inside it, and
// nothing but face lies under it.
QPainterPath MouthRegion(const Pose& pose);

// The body transform of `pose` (offset, tilt, squash) as a QTransform from body to frame space.
QTransform BodyTransform(const Pose& pose);

// Parts, each in body space.
void DrawCoin(QPainter& g, double spin);
void DrawFace(QPainter& g, const Pose& pose);
void DrawEye(QPainter& g, QPointF centre, const Eye& eye);
void DrawBrow(QPainter& g, QPointF centre, const Brow& brow, Side side);
void DrawMouth(QPainter& g, QPointF centre, Mouth mouth);
void DrawArm(QPainter& g, QPointF shoulder, const Arm& arm);
void DrawGlove(QPainter& g, const Arm& arm, Side side);
void DrawLeg(QPainter& g, QPointF hip, const Leg& leg, Side side);
void DrawHat(QPainter& g, const Hat& hat);

// Small drawing tools shared with the props.
QColor C(QRgb rgb);
// Fills `path` with `fill` and strokes it with the outline colour, `width` pixels wide.
void FillOutlined(QPainter& g, const QPainterPath& path, QRgb fill, double width = 1.4);
// Strokes `path` with a round pen.
void Stroke(QPainter& g, const QPainterPath& path, QRgb colour, double width);
// A filled capsule (a thick line with round ends) from `a` to `b`, as a path.
QPainterPath Capsule(QPointF a, QPointF b, double width);
// An ellipse path around `centre`.
QPainterPath Ellipse(QPointF centre, double rx, double ry);
// The same path shaded: the part of `path` not covered by `path` moved by `lightFrom` gets `shade`.
void ShadeInside(QPainter& g, const QPainterPath& path, QPointF lightFrom, QRgb shade);

} // namespace Pennywit
