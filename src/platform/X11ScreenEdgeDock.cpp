#include "platform/X11ScreenEdgeDock.h"

#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// xcb replies are malloc'ed.
template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> Wrap(T* reply)
{
    return Reply<T>(reply, &std::free);
}

// _NET_WM_DESKTOP of a window on every desktop.
constexpr quint32 AllDesktops = 0xFFFFFFFF;

// The order of _NET_WM_STRUT_PARTIAL's twelve values.
enum StrutIndex
{
    LeftWidth,
    RightWidth,
    TopWidth,
    BottomWidth,
    LeftStartY,
    LeftEndY,
    RightStartY,
    RightEndY,
    TopStartX,
    TopEndX,
    BottomStartX,
    BottomEndX,
};

// Qt's device-independent pixels to the X server's.
QRect Native(const QRect& rect, qreal ratio)
{
    return QRect(int(std::lround(rect.x() * ratio)), int(std::lround(rect.y() * ratio)),
                 int(std::lround(rect.width() * ratio)), int(std::lround(rect.height() * ratio)));
}

quint32 Cardinal(int value)
{
    return quint32(std::max(value, 0));
}

// Whether the inclusive span first..last meets the inclusive span from..to.
bool Meets(quint32 first, quint32 last, int from, int to)
{
    return qint64(first) <= qint64(to) && qint64(last) >= qint64(from);
}

} // namespace

X11ScreenEdgeDock::X11ScreenEdgeDock(xcb_connection_t* connection)
    : m_connection(connection)
{}

bool X11ScreenEdgeDock::InternAtoms()
{
    if (m_interned)
        return true;
    static constexpr const char* Names[AtomCount] = {"_NET_WM_WINDOW_TYPE",   "_NET_WM_WINDOW_TYPE_DOCK",
                                                     "_NET_WM_DESKTOP",       "_NET_WM_STRUT",
                                                     "_NET_WM_STRUT_PARTIAL", "_NET_CLIENT_LIST"};
    std::array<xcb_intern_atom_cookie_t, AtomCount> cookies{};
    for (int i = 0; i < AtomCount; ++i)
        cookies[size_t(i)] = xcb_intern_atom(m_connection, 0, quint16(std::strlen(Names[i])), Names[i]);
    bool ok = true;
    for (int i = 0; i < AtomCount; ++i) {
        const auto reply = Wrap(xcb_intern_atom_reply(m_connection, cookies[size_t(i)], nullptr));
        ok = ok && reply;
        m_atoms[size_t(i)] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    m_interned = ok;
    return ok;
}

xcb_window_t X11ScreenEdgeDock::Root() const
{
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    return screens.rem > 0 ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

QSize X11ScreenEdgeDock::RootSize() const
{
    const auto geometry = Wrap(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, Root()), nullptr));
    return geometry ? QSize(geometry->width, geometry->height) : QSize();
}

void X11ScreenEdgeDock::PrepareWindow(QWindow& window)
{
    if (!InternAtoms())
        return;
    const auto id = xcb_window_t(window.winId());
    const xcb_atom_t dock = m_atoms[WindowTypeDock];
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, m_atoms[WindowType], XCB_ATOM_ATOM, 32, 1, &dock);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, m_atoms[Desktop], XCB_ATOM_CARDINAL, 32, 1,
                        &AllDesktops);
    xcb_flush(m_connection);
}

void X11ScreenEdgeDock::ReserveBand(QWindow& window, Edge edge, const QRect& band)
{
    if (!InternAtoms())
        return;
    const QSize root = RootSize();
    if (root.isEmpty())
        return;
    // Strut widths count from the edge of the whole X screen (all monitors), the spans are inclusive.
    const QRect native = Native(band, window.devicePixelRatio());
    StrutValues strut{};
    switch (edge) {
    case Edge::Left:
        strut[LeftWidth] = Cardinal(native.x() + native.width());
        strut[LeftStartY] = Cardinal(native.top());
        strut[LeftEndY] = Cardinal(native.bottom());
        break;
    case Edge::Right:
        strut[RightWidth] = Cardinal(root.width() - native.x());
        strut[RightStartY] = Cardinal(native.top());
        strut[RightEndY] = Cardinal(native.bottom());
        break;
    case Edge::Top:
        strut[TopWidth] = Cardinal(native.y() + native.height());
        strut[TopStartX] = Cardinal(native.left());
        strut[TopEndX] = Cardinal(native.right());
        break;
    case Edge::Bottom:
        strut[BottomWidth] = Cardinal(root.height() - native.y());
        strut[BottomStartX] = Cardinal(native.left());
        strut[BottomEndX] = Cardinal(native.right());
        break;
    }
    const auto id = xcb_window_t(window.winId());
    if (id == m_reservedWindow && strut == m_reserved)
        return;
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, m_atoms[StrutPartial], XCB_ATOM_CARDINAL, 32,
                        quint32(strut.size()), strut.data());
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, m_atoms[Strut], XCB_ATOM_CARDINAL, 32, 4,
                        strut.data());
    xcb_flush(m_connection);
    m_reservedWindow = id;
    m_reserved = strut;
}

void X11ScreenEdgeDock::ReleaseBand(QWindow& window)
{
    if (!InternAtoms())
        return;
    const auto id = xcb_window_t(window.winId());
    xcb_delete_property(m_connection, id, m_atoms[StrutPartial]);
    xcb_delete_property(m_connection, id, m_atoms[Strut]);
    xcb_flush(m_connection);
    if (id == m_reservedWindow)
        m_reservedWindow = 0;
}

QMargins X11ScreenEdgeDock::ReservedByOthers(const QWindow* window, const QRect& screen)
{
    if (!InternAtoms())
        return {};
    const QSize root = RootSize();
    if (root.isEmpty())
        return {};
    const auto clients = Wrap(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, Root(), m_atoms[ClientList], XCB_ATOM_WINDOW, 0, 4096),
        nullptr));
    if (!clients || clients->type != XCB_ATOM_WINDOW || clients->format != 32)
        return {};
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(clients.get()));
    const int count = xcb_get_property_value_length(clients.get()) / int(sizeof(xcb_window_t));
    const xcb_window_t own = window ? xcb_window_t(window->winId()) : xcb_window_t(XCB_WINDOW_NONE);

    // Both properties of every client at once, then their answers.
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
    for (int i = 0; i < count; ++i) {
        if (ids[i] == own)
            continue;
        cookies.emplace_back(xcb_get_property(m_connection, 0, ids[i], m_atoms[StrutPartial], XCB_ATOM_CARDINAL, 0, 12),
                             xcb_get_property(m_connection, 0, ids[i], m_atoms[Strut], XCB_ATOM_CARDINAL, 0, 4));
    }
    const qreal ratio = window ? window->devicePixelRatio() : 1.0;
    const QRect native = Native(screen, ratio);
    // How far each strut reaches into this monitor from the monitor's own edge: left, top, right, bottom.
    std::array<qint64, 4> reach{};
    const qint64 rightGap = qint64(root.width()) - 1 - native.right();
    const qint64 bottomGap = qint64(root.height()) - 1 - native.bottom();
    for (const auto& [partialCookie, plainCookie] : cookies) {
        const auto partial = Wrap(xcb_get_property_reply(m_connection, partialCookie, nullptr));
        const auto plain = Wrap(xcb_get_property_reply(m_connection, plainCookie, nullptr));
        StrutValues strut{};
        if (partial && partial->format == 32 && xcb_get_property_value_length(partial.get()) == 12 * 4) {
            std::memcpy(strut.data(), xcb_get_property_value(partial.get()), sizeof strut);
        } else if (plain && plain->format == 32 && xcb_get_property_value_length(plain.get()) == 4 * 4) {
            // The older form reserves along the whole edge.
            std::memcpy(strut.data(), xcb_get_property_value(plain.get()), 4 * sizeof(quint32));
            strut[LeftEndY] = strut[RightEndY] = quint32(root.height() - 1);
            strut[TopEndX] = strut[BottomEndX] = quint32(root.width() - 1);
        } else {
            continue;
        }
        if (Meets(strut[LeftStartY], strut[LeftEndY], native.top(), native.bottom()))
            reach[0] = std::max(reach[0], qint64(strut[LeftWidth]) - native.left());
        if (Meets(strut[TopStartX], strut[TopEndX], native.left(), native.right()))
            reach[1] = std::max(reach[1], qint64(strut[TopWidth]) - native.top());
        if (Meets(strut[RightStartY], strut[RightEndY], native.top(), native.bottom()))
            reach[2] = std::max(reach[2], qint64(strut[RightWidth]) - rightGap);
        if (Meets(strut[BottomStartX], strut[BottomEndX], native.left(), native.right()))
            reach[3] = std::max(reach[3], qint64(strut[BottomWidth]) - bottomGap);
    }
    // Never more than the monitor holds, back in Qt's pixels.
    const auto scaled = [ratio](qint64 value, int limit) {
        return int(std::lround(double(std::clamp<qint64>(value, 0, limit)) / ratio));
    };
    return QMargins(scaled(reach[0], native.width()), scaled(reach[1], native.height()),
                    scaled(reach[2], native.width()), scaled(reach[3], native.height()));
}
