#include "app/WindowActivation.h"

#include <QWidget>

void BringWindowToFront(QWidget& window, const QString& activationToken)
{
    if (window.isMinimized()) {
        if (window.windowState() & Qt::WindowMaximized)
            window.showMaximized();
        else
            window.showNormal();
    } else if (!window.isVisible()) {
        window.show();
    }
    window.raise();

    // Qt's Wayland plugin activates with the token it finds in XDG_ACTIVATION_TOKEN (and consumes it).
    const QByteArray previous = qgetenv("XDG_ACTIVATION_TOKEN");
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toLatin1());
    window.activateWindow();
    if (!activationToken.isEmpty()) {
        if (previous.isEmpty())
            qunsetenv("XDG_ACTIVATION_TOKEN");
        else
            qputenv("XDG_ACTIVATION_TOKEN", previous);
    }
}
