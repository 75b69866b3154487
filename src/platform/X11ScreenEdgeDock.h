#pragma once

#include "platform/IScreenEdgeDock.h"

#include <xcb/xcb.h>

#include <array>

// Screen-edge docking on X11 through the EWMH properties that panels use: the window's type is
// _NET_WM_WINDOW_TYPE_DOCK and its _NET_WM_DESKTOP is every desktop; its band is reserved with
// _NET_WM_STRUT_PARTIAL and, for window managers that only know the older form, _NET_WM_STRUT.
// The window manager then shrinks the work area (_NET_WORKAREA) by the band. The properties belong
// to the window, so the band goes with it however the program ends.
class X11ScreenEdgeDock final : public IScreenEdgeDock
{
public:
    explicit X11ScreenEdgeDock(xcb_connection_t* connection);

    void PrepareWindow(QWindow& window) override;
    void ReserveBand(QWindow& window, Edge edge, const QRect& band) override;
    void ReleaseBand(QWindow& window) override;
    QMargins ReservedByOthers(const QWindow* window, const QRect& screen) override;

private:
    enum Atom
    {
        WindowType,
        WindowTypeDock,
        Desktop,
        Strut,
        StrutPartial,
        ClientList,
        AtomCount,
    };
    using StrutValues = std::array<quint32, 12>;

    bool InternAtoms();
    xcb_window_t Root() const;
    QSize RootSize() const;

    xcb_connection_t* m_connection;
    std::array<xcb_atom_t, AtomCount> m_atoms{};
    bool m_interned = false;
    // The struts last written, so that a band reserved again in the same place changes nothing.
    xcb_window_t m_reservedWindow = 0;
    StrutValues m_reserved{};
};
