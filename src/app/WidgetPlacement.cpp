#include "app/WidgetPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

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

namespace {

// A rectangle larger than the screen it is mostly on (kept from a bigger monitor, or edited by
// hand) is cut to that screen's free area and moved into it, so that its title bar and edges stay
// within reach. Any other rectangle is kept as it is, partly off the screen or not.
QRect FitOnScreen(QRect rect, const QWidget& window)
{
    const QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestArea = -1;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(rect);
        const qint64 area = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    if (best == nullptr)
        return rect;
    // The rectangle is the client area; the window manager's frame and title bar come around it.
    const int frame = window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &window) + 4;
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    const QRect available = best->availableGeometry().adjusted(frame, title + frame, -frame, -frame);
    if (rect.width() <= available.width() && rect.height() <= available.height())
        return rect;
    rect.setSize(rect.size().boundedTo(available.size()));
    rect.moveTo(std::clamp(rect.x(), available.left(), available.right() - rect.width() + 1),
                std::clamp(rect.y(), available.top(), available.bottom() - rect.height() + 1));
    return rect;
}

} // namespace

void ApplyWidgetPlacement(QWidget& window, const WindowPlacement& placement)
{
    window.setWindowState(Qt::WindowNoState);
    window.setGeometry(FitOnScreen(placement.NormalRect(), window));
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
