#include "agent/X11ToolWindowHints.h"

#include <QEvent>
#include <QWindow>

#include <algorithm>
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

// What a _NET_WM_STATE client message asks.
constexpr quint32 NetWmStateAdd = 1;
// Who asks: a normal application.
constexpr quint32 SourceApplication = 1;

bool StaysOnTop(const QWindow* window)
{
    return window->flags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

X11ToolWindowHints::X11ToolWindowHints(xcb_connection_t* connection, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
{}

bool X11ToolWindowHints::InternAtoms()
{
    if (m_interned)
        return true;
    static constexpr const char* Names[AtomCount] = {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR",
                                                     "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_ABOVE"};
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

void X11ToolWindowHints::KeepOffTaskbar(QWindow* window)
{
    if (!window || !InternAtoms())
        return;
    const auto id = xcb_window_t(window->winId());
    const auto attributes =
        Wrap(xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, id), nullptr));
    if (!attributes)
        return; // no such window
    if (attributes->map_state == XCB_MAP_STATE_UNMAPPED) {
        AddToProperty(id, StaysOnTop(window));
        // Asked again once the window manager has mapped it (installed once: a filter already
        // there moves to the end of the list and still runs once).
        window->installEventFilter(this);
    } else {
        AskWindowManager(id, StaysOnTop(window));
    }
    xcb_flush(m_connection);
}

std::optional<QPoint> X11ToolWindowHints::ServerPosition(const QWindow* window)
{
    if (!window || !window->handle())
        return std::nullopt;
    const auto id = xcb_window_t(window->winId());
    const auto tree = Wrap(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, id), nullptr));
    if (!tree)
        return std::nullopt;
    const auto origin = Wrap(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, id, tree->root, 0, 0), nullptr));
    if (!origin)
        return std::nullopt;
    return QPoint(origin->dst_x, origin->dst_y);
}

bool X11ToolWindowHints::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose) {
        auto* window = qobject_cast<QWindow*>(watched);
        if (window && window->isExposed()) {
            window->removeEventFilter(this);
            AskWindowManager(xcb_window_t(window->winId()), StaysOnTop(window));
            xcb_flush(m_connection);
        }
    }
    return QObject::eventFilter(watched, event);
}

void X11ToolWindowHints::AddToProperty(xcb_window_t window, bool above)
{
    std::vector<xcb_atom_t> states;
    const auto reply = Wrap(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, m_atoms[NetWmState], XCB_ATOM_ATOM, 0, 1024), nullptr));
    if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        states.assign(values, values + xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t)));
    }
    std::vector<xcb_atom_t> wanted{m_atoms[SkipTaskbar], m_atoms[SkipPager]};
    if (above)
        wanted.push_back(m_atoms[Above]);
    bool changed = false;
    for (const xcb_atom_t state : wanted) {
        if (std::find(states.begin(), states.end(), state) == states.end()) {
            states.push_back(state);
            changed = true;
        }
    }
    if (changed)
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, m_atoms[NetWmState], XCB_ATOM_ATOM, 32,
                            quint32(states.size()), states.data());
}

void X11ToolWindowHints::AskWindowManager(xcb_window_t window, bool above)
{
    const auto tree = Wrap(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
    if (!tree)
        return;
    // One message changes at most two states.
    const auto ask = [&](xcb_atom_t first, xcb_atom_t second) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = m_atoms[NetWmState];
        event.data.data32[0] = NetWmStateAdd;
        event.data.data32[1] = first;
        event.data.data32[2] = second;
        event.data.data32[3] = SourceApplication;
        xcb_send_event(m_connection, 0, tree->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
    };
    ask(m_atoms[SkipTaskbar], m_atoms[SkipPager]);
    if (above)
        ask(m_atoms[Above], XCB_ATOM_NONE);
}
