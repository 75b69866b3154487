#pragma once

#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QString>

class QPainter;

// The things Pennywit holds or that appear around him in his gestures, all in frame pixels.
namespace Props {

// A banknote centred on `centre`, turned `angle` degrees; `burnt` (0..1) is how much of it has
// burnt away from its right end.
void DrawBanknote(QPainter& g, QPointF centre, double angle, double scale = 1, double burnt = 0);

// A fan of `count` banknotes held at `pivot` (the hand), opened from `fromAngle` to `toAngle`
// (degrees, 0 pointing right, -90 up).
void DrawNoteFan(QPainter& g, QPointF pivot, int count, double fromAngle, double toAngle);

// A little chart board; the line has been drawn up to `progress` (0..1), rising or falling.
void DrawChart(QPainter& g, const QRectF& board, double progress, bool rising);

// A pocket calculator; `display` shows on its screen (empty: the screen is blank), `pressedKey`
// (0..11, -1 none) is pushed in.
void DrawCalculator(QPainter& g, const QRectF& body, const QString& display, int pressedKey);

// A placard on a stick: the stick runs from `grip` up to the board's bottom edge, the board is
// centred above it and leans `angle` degrees.
void DrawPlacard(QPainter& g, QPointF grip, double angle, const QString& text, QRgb colour, QRgb shade);

// A pot brimming with gold coins standing on `base` (the middle of its bottom), `scale` 1 is full
// size; `glint` (0..2) picks which coin sparkles.
void DrawPotOfGold(QPainter& g, QPointF base, double scale, int glint);

// A four-pointed sparkle.
void DrawSparkle(QPainter& g, QPointF centre, double size);

// Three stars circling on an ellipse around `centre`, `phase` 0..1 along the orbit.
void DrawCirclingStars(QPainter& g, QPointF centre, double rx, double ry, double phase);

// A five-pointed star.
void DrawStar(QPainter& g, QPointF centre, double radius, double rotation);

// The bear looming behind him: `rise` 0 (below the frame) .. 1 (fully up); `growl` opens its jaws.
void DrawBear(QPainter& g, double rise, bool growl, double sway = 0);

// A flame standing on `base`, `size` pixels tall; `flicker` (0..2) varies its tongues.
void DrawFlame(QPainter& g, QPointF base, double size, int flicker);

// Flakes of ash drifting down from `origin`, `fall` pixels on their way.
void DrawAsh(QPainter& g, QPointF origin, double fall, int count);

// A newspaper held open in `rect`; `open` 0 is folded in half (the middle half of the rect), 1 is
// fully open.
void DrawNewspaper(QPainter& g, const QRectF& rect, double open);

// A banner hanging between two poles whose tops are `leftTop` and `rightTop`; `unroll` 0..1 is
// how much of "QUORVANE" shows.
void DrawBanner(QPainter& g, QPointF leftTop, QPointF rightTop, double unroll);

// A pocket watch at `centre` on a chain from `chainFrom`; `open` shows its face, `minute` (0..60)
// sets its minute hand.
void DrawPocketWatch(QPainter& g, QPointF centre, QPointF chainFrom, bool open, double minute);

// A polishing cloth bunched at `centre`.
void DrawCloth(QPainter& g, QPointF centre, double angle);

// Two letters "Z" rising from `origin` (the smaller one first), the bigger `size` pixels tall.
void DrawSnore(QPainter& g, QPointF origin, double size);

// A drop of sweat at `centre`.
void DrawSweatDrop(QPainter& g, QPointF centre, double size = 1);

} // namespace Props
