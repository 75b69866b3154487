#pragma once

#include "agent/IToolWindowHints.h"

#include <QObject>

#include <xcb/xcb.h>

#include <array>

// The tool-window hints on X11: the EWMH states _NET_WM_STATE_SKIP_TASKBAR and
// _NET_WM_STATE_SKIP_PAGER (and _NET_WM_STATE_ABOVE for a window that stays on top). An unmapped
// window gets them added to its _NET_WM_STATE property, keeping what is there (Qt keeps ours in
// turn when it maps the window). The states of a mapped window belong to the window manager, which
// is asked with _NET_WM_STATE client messages to the root window: at once for a window already
// mapped, else when the window is first exposed after the show.
class X11ToolWindowHints : public QObject, public IToolWindowHints
{
    Q_OBJECT

public:
    explicit X11ToolWindowHints(xcb_connection_t* connection, QObject* parent = nullptr);

    void KeepOffTaskbar(QWindow* window) override;
    std::optional<QPoint> ServerPosition(const QWindow* window) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Atom
    {
        NetWmState,
        SkipTaskbar,
        SkipPager,
        Above,
        AtomCount,
    };
    bool InternAtoms();
    void AddToProperty(xcb_window_t window, bool above);
    void AskWindowManager(xcb_window_t window, bool above);

    xcb_connection_t* m_connection;
    std::array<xcb_atom_t, AtomCount> m_atoms{};
    bool m_interned = false;
};
