#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QString>

// A small hand-made stroke font for the few words and digits Pennywit shows (his "Q", the
// placards, the banner, the calculator). Drawing letters as our own paths keeps the pictures free of
// any installed font, so the character file comes out the same on every machine.
namespace StrokeFont {

// The centre line of `text` (upper-case letters A B E L N O Q R S U V Y Z, digits, "$", "+", "-",
// "." and blanks), letters `height` pixels tall, starting at the top-left corner `origin`; stroke
// it with a round pen about height / 6 wide. Unknown characters leave a blank.
QPainterPath TextPath(const QString& text, QPointF origin, double height);

// The width TextPath() gives `text` at `height`, spacing included (no trailing space).
double TextWidth(const QString& text, double height);

} // namespace StrokeFont
