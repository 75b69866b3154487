#pragma once

#include <QMargins>
#include <QRect>

class QWindow;

// A band along an edge of the screen that a window owns, so that other windows (maximised ones
// among them) leave it free: what a desktop tool bar such as the Stock Strip needs of the desktop.
// The desktop's implementation comes from CreateScreenEdgeDock() (ScreenEdgeDock.h): on X11 the
// window becomes a dock on every desktop that reserves its band with struts; elsewhere nothing is
// reserved and the window is a frameless band that stays on top.
//
// Rectangles are in Qt's screen coordinates (device-independent pixels).
class IScreenEdgeDock
{
public:
    enum class Edge
    {
        Left,
        Top,
        Right,
        Bottom,
    };

    virtual ~IScreenEdgeDock() = default;

    // Marks the window as a desktop bar shown on every desktop. Call it once, with the native window
    // created and before the window is first shown.
    virtual void PrepareWindow(QWindow& window) = 0;
    // Reserves the band the window takes along this edge of its screen: `band` is the window's
    // docked rectangle. A later call replaces the band.
    virtual void ReserveBand(QWindow& window, Edge edge, const QRect& band) = 0;
    // Gives the band back (the window floats or goes). The band also goes with the window itself.
    virtual void ReleaseBand(QWindow& window) = 0;
    // How far the bands of other windows (panels, task bars) reach into each side of the screen
    // rectangle: where a new band along that side starts. `window` is left out (may be null).
    virtual QMargins ReservedByOthers(const QWindow* window, const QRect& screen) = 0;
};
