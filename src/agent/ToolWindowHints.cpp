#include "agent/ToolWindowHints.h"

#include "agent/X11ToolWindowHints.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace {

class NoToolWindowHints : public IToolWindowHints
{
public:
    void KeepOffTaskbar(QWindow*) override {}
    std::optional<QPoint> ServerPosition(const QWindow*) override { return std::nullopt; }
};

} // namespace

std::unique_ptr<IToolWindowHints> CreateToolWindowHints()
{
    if (const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (xcb_connection_t* connection = x11->connection())
            return std::make_unique<X11ToolWindowHints>(connection);
    }
    return std::make_unique<NoToolWindowHints>();
}
