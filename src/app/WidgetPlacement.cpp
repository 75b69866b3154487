#include "app/WidgetPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

WindowPlacement ReadWidgetPlacement(const QWidget& window)
{
    WindowPlacement placement;
    const Qt::WindowStates state = window.windowState();
    if (state & Qt::WindowMinimized)
        placement.showCmd = ShowCommand::ShowMinimized;
    else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        placement.showCmd = ShowCommand::ShowMaximized;
    else
        placement.showCmd = ShowCommand::ShowNormal;
    if ((state & Qt::WindowMinimized) && (state & Qt::WindowMaximized))
        placement.flags = PlacementRestoreToMaximized;
    placement.minX = placement.minY = placement.maxX = placement.maxY = -1;
    QRect normal = window.normalGeometry();
    if (normal.isEmpty())
        normal = window.geometry();
    placement.SetNormalRect(normal);
    return placement;
}

void ApplyWidgetPlacement(QWidget& window, const WindowPlacement& placement)
{
    window.setWindowState(Qt::WindowNoState);
    window.setGeometry(placement.NormalRect());
    switch (placement.showCmd) {
    case ShowCommand::Hide:
        window.hide();
        break;
    case ShowCommand::ShowMinimized:
    case 6:  // minimise
    case 7:  // show minimised, not active
    case 11: // force minimise
        window.setWindowState(
            Qt::WindowMinimized |
            ((placement.flags & PlacementRestoreToMaximized) ? Qt::WindowMaximized : Qt::WindowNoState));
        window.show();
        break;
    case ShowCommand::ShowMaximized:
        window.showMaximized();
        break;
    default:
        window.showNormal();
        break;
    }
}

QList<QRect> ScreenRectangles()
{
    QList<QRect> rectangles;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        rectangles.append(QRect(QPoint(0, 0), primary->geometry().size()));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            rectangles.append(screen->geometry());
    }
    return rectangles;
}

void SaveWidgetPlacement(const QString& section, const QWidget& window)
{
    WindowPlacementStore::Save(section, ReadWidgetPlacement(window));
}

bool RestoreWidgetPlacement(const QString& section, QWidget& window, int showOverride)
{
    const std::optional<WindowPlacement> placement =
        WindowPlacementStore::Restore(section, ScreenRectangles(), showOverride);
    if (!placement)
        return false;
    ApplyWidgetPlacement(window, *placement);
    return true;
}
