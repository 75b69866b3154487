#pragma once

#include <QPoint>

#include <optional>

class QWindow;

// Keeps a tool window (the character, its word balloon) out of the desktop's task bars and pagers,
// as tool windows are kept out of the task bar elsewhere, and above other windows when it stays on
// top. The desktop's implementation comes from CreateToolWindowHints() (ToolWindowHints.h): the
// EWMH window states on X11; nothing on platforms that offer a program no such request (Wayland,
// offscreen), where the window type alone decides.
class IToolWindowHints
{
public:
    virtual ~IToolWindowHints() = default;

    // Asks that the window be left out of task bars and pagers (and kept above others when it has
    // Qt::WindowStaysOnTopHint). Call it before every show, with the native window created: window
    // managers forget the states of a window that was hidden. A window not on the screen gets the
    // states for the window manager to read when it maps the window, and the request is made again
    // once it is on the screen (a window manager still busy forgetting the window may have dropped
    // them); for a window already on the screen the window manager is asked at once.
    virtual void KeepOffTaskbar(QWindow* window) = 0;

    // Where the window's top-left corner is on the screen, asked of the display server. The toolkit's
    // own idea can miss where the window manager put a window it has just mapped. Nothing when the
    // server cannot be asked (the toolkit's idea stands then).
    virtual std::optional<QPoint> ServerPosition(const QWindow* window) = 0;
};
