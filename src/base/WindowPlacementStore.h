#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// Show commands as the placement record stores them.
namespace ShowCommand {
inline constexpr int Hide = 0;
inline constexpr int ShowNormal = 1;
inline constexpr int ShowMinimized = 2;
inline constexpr int ShowMaximized = 3;
// "Do not override": Restore() keeps the stored show command.
inline constexpr int NoOverride = -1;
} // namespace ShowCommand

// Placement flag: a minimised window comes back maximised when restored.
inline constexpr int PlacementRestoreToMaximized = 2;

// The main window's placement as it is kept between runs: the show command, flags, the positions
// of the minimised and maximised window, and the normal (restored) rectangle, whose right and
// bottom lie one pixel past the window (a 500 × 400 window at the origin is 0, 500, 0, 400).
struct WindowPlacement
{
    int showCmd = 0;
    int flags = 0;
    int minX = 0;
    int minY = 0;
    int maxX = 0;
    int maxY = 0;
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;

    // The normal rectangle as a QRect (a negative or oversized extent is clamped to 0 .. INT_MAX).
    QRect NormalRect() const;
    void SetNormalRect(const QRect& rect);

    bool operator==(const WindowPlacement&) const = default;
};

// Keeps the placement in a section of the per-user window profile (Quorva.ini), as the ten values
// "wp.showCmd", "wp.flags", "wp.ptMinPosition.x", "wp.ptMinPosition.y", "wp.ptMaxPosition.x",
// "wp.ptMaxPosition.y", "wp.left", "wp.right", "wp.top", "wp.bottom" (written in that order).
// The widget side (reading a window's placement and applying one) is in app/WidgetPlacement.h.
namespace WindowPlacementStore {

// The profile section of the main window.
inline QString MainWindowSection()
{
    return QStringLiteral("WindowPos");
}

void Save(const QString& section, const WindowPlacement& placement);

// Reads the ten values; a value that is not stored reads as 0.
WindowPlacement Load(const QString& section);

// True when at least one of the ten values is stored.
bool HasSaved(const QString& section);

// True when the normal rectangle shares at least one pixel with one of the screens. An empty
// rectangle (nothing stored) intersects nothing.
bool IntersectsScreens(const WindowPlacement& placement, const QList<QRect>& screens);

// The decision made at start-up: loads the placement, replaces its show command by showOverride
// unless that is ShowCommand::NoOverride (the hidden start passes ShowCommand::Hide), and returns it
// when its normal rectangle intersects a screen. Returns nothing, and the window should be shown
// by the caller as it would be without a stored placement, when the placement is refused.
std::optional<WindowPlacement> Restore(const QString& section, const QList<QRect>& screens, int showOverride);

} // namespace WindowPlacementStore
