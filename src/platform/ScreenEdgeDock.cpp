#include "platform/ScreenEdgeDock.h"

#include "platform/X11ScreenEdgeDock.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

namespace {

// No band can be reserved here (Wayland, offscreen): the window is a plain band on top, and what
// the desktop's own panels take is what the screen's available area leaves out.
class PlainScreenEdgeDock final : public IScreenEdgeDock
{
public:
    void PrepareWindow(QWindow&) override {}
    void ReserveBand(QWindow&, Edge, const QRect&) override {}
    void ReleaseBand(QWindow&) override {}

    QMargins ReservedByOthers(const QWindow*, const QRect& screen) override
    {
        for (const QScreen* candidate : QGuiApplication::screens()) {
            if (candidate->geometry() != screen)
                continue;
            const QRect available = candidate->availableGeometry();
            if (!screen.contains(available))
                break;
            return QMargins(available.left() - screen.left(), available.top() - screen.top(),
                            screen.right() - available.right(), screen.bottom() - available.bottom());
        }
        return {};
    }
};

} // namespace

std::unique_ptr<IScreenEdgeDock> CreateScreenEdgeDock()
{
    if (const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (xcb_connection_t* connection = x11->connection())
            return std::make_unique<X11ScreenEdgeDock>(connection);
    }
    return std::make_unique<PlainScreenEdgeDock>();
}
