#include "ui/strip/CAppBarDlg.h"

#include "base/UserMessage.h"
#include "platform/ScreenEdgeDock.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include <cstdlib>

namespace {

// The auto-hide bar of each edge in this program (one at most per edge).
std::array<CAppBarDlg*, 4> g_autoHideBars{};

constexpr int kSlideStepMs = 15;

IScreenEdgeDock::Edge EdgeOf(int state)
{
    switch (state) {
    case CAppBarDlg::Left:
        return IScreenEdgeDock::Edge::Left;
    case CAppBarDlg::Right:
        return IScreenEdgeDock::Edge::Right;
    case CAppBarDlg::Top:
        return IScreenEdgeDock::Edge::Top;
    default:
        return IScreenEdgeDock::Edge::Bottom;
    }
}

int Between(int from, int to, qint64 elapsed, int span)
{
    return from + int(elapsed * (to - from) / span);
}

} // namespace

CAppBarDlg::CAppBarDlg(std::unique_ptr<IScreenEdgeDock> dock, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_dock(dock ? std::move(dock) : CreateScreenEdgeDock())
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The flags stay as they are from here on: the desktop reads the window's kind once.
    winId();
    if (QWindow* window = windowHandle())
        m_dock->PrepareWindow(*window);

    m_slideTimer.setInterval(kSlideStepMs);
    connect(&m_slideTimer, &QTimer::timeout, this, &CAppBarDlg::SlideStep);
    m_refit.setSingleShot(true);
    m_refit.setInterval(0);
    connect(&m_refit, &QTimer::timeout, this, &CAppBarDlg::RefitToWorkArea);
    WatchScreens();
}

CAppBarDlg::~CAppBarDlg()
{
    SetState(Unregistered);
    for (CAppBarDlg*& bar : g_autoHideBars) {
        if (bar == this)
            bar = nullptr;
    }
}

void CAppBarDlg::WatchScreens()
{
    const auto refit = [this] {
        m_refit.start();
    };
    const auto watch = [this, refit](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, refit);
        connect(screen, &QScreen::availableGeometryChanged, this, refit);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [watch, refit](QScreen* screen) {
        watch(screen);
        refit();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, refit);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, refit);
}

QScreen* CAppBarDlg::DockScreen()
{
    return QGuiApplication::primaryScreen();
}

void CAppBarDlg::SetDockSize(int edge, int size)
{
    if (edge >= Left && edge <= Bottom)
        m_dockSizes[size_t(edge)] = std::max(size, 0);
}

int CAppBarDlg::DockSize(int edge) const
{
    return edge >= Left && edge <= Bottom ? m_dockSizes[size_t(edge)] : 0;
}

void CAppBarDlg::SetFloatSize(const QSize& size)
{
    m_floatSize = size;
    if (const QScreen* screen = DockScreen()) {
        const QRect work = screen->availableGeometry();
        m_floatRect =
            QRect(work.right() + 1 - size.width(), work.bottom() + 1 - size.height(), size.width(), size.height());
    }
}

QRect CAppBarDlg::DockedRect(int edge) const
{
    const QScreen* screen = DockScreen();
    if (screen == nullptr || edge < Left || edge > Bottom)
        return {};
    const QRect whole = screen->geometry();
    QRect rect = whole;
    if (!m_autoHide) {
        rect = whole.marginsRemoved(m_dock->ReservedByOthers(windowHandle(), whole));
        if (rect.width() <= 0 || rect.height() <= 0)
            rect = whole; // other bands leave nothing: overlap them rather than vanish
    }
    const int size = DockSize(edge);
    switch (edge) {
    case Left:
        rect.setWidth(size);
        break;
    case Top:
        rect.setHeight(size);
        break;
    case Right:
        rect.setLeft(rect.right() + 1 - size);
        break;
    default:
        rect.setTop(rect.bottom() + 1 - size);
        break;
    }
    return rect;
}

int CAppBarDlg::StateAt(const QPoint& globalPosition, bool controlHeld) const
{
    if ((m_flags & AllowFloating) != 0 && controlHeld)
        return Floating;
    const QScreen* screen = DockScreen();
    const QRect whole = screen ? screen->geometry() : QRect(0, 0, 1, 1);
    const qint64 dx = globalPosition.x() - (whole.x() + whole.width() / 2);
    const qint64 dy = globalPosition.y() - (whole.y() + whole.height() / 2);
    if ((m_flags & AllowTopBottom) == 0 ||
        ((m_flags & AllowLeftRight) != 0 && whole.height() * std::abs(dx) >= whole.width() * std::abs(dy)))
        return dx < 0 ? Left : Right;
    return dy < 0 ? Top : Bottom;
}

QRect CAppBarDlg::HiddenRect(const QRect& docked) const
{
    switch (m_state) {
    case Left:
        return docked.translated(kHiddenThickness - docked.width(), 0);
    case Top:
        return docked.translated(0, kHiddenThickness - docked.height());
    case Right:
        return docked.translated(docked.width() - kHiddenThickness, 0);
    default:
        return docked.translated(0, docked.height() - kHiddenThickness);
    }
}

void CAppBarDlg::SetState(int state)
{
    for (CAppBarDlg*& bar : g_autoHideBars) {
        if (bar == this)
            bar = nullptr;
    }
    m_state = state;
    QWindow* window = windowHandle();
    if (state == Floating) {
        if (window)
            m_dock->ReleaseBand(*window);
        SlideTo(m_floatRect);
    } else if (state == Unregistered) {
        m_slideTimer.stop();
        if (window)
            m_dock->ReleaseBand(*window);
    } else if (IsDocked()) {
        if (m_autoHide) {
            CAppBarDlg*& holder = g_autoHideBars[size_t(state)];
            if (holder == nullptr) {
                holder = this;
            } else {
                m_autoHide = false;
                OnAppBarForcedToDocked();
            }
        }
        const QRect docked = DockedRect(state);
        if (docked.isEmpty()) {
            // No screen to dock to for now: the bar stays where it is until one comes back.
            OnAppBarStateChange(false, state);
            return;
        }
        if (window) {
            if (m_autoHide)
                m_dock->ReleaseBand(*window);
            else
                m_dock->ReserveBand(*window, EdgeOf(state), docked);
        }
        SlideTo(m_autoHide && !m_autoHideShown ? HiddenRect(docked) : docked);
    }
    OnAppBarStateChange(false, state);
}

void CAppBarDlg::OnAppBarForcedToDocked()
{
    ShowUserMessage(QStringLiteral("There is already an auto hidden window on this edge.\nOnly one auto hidden window "
                                   "is allowed on each edge."),
                    windowTitle(), MessageIcon::Error);
}

void CAppBarDlg::RefitToWorkArea()
{
    const QScreen* screen = DockScreen();
    if (screen == nullptr)
        return; // no screen at all for now: the next one added brings the bar back
    const QRect work = screen->availableGeometry();
    QRect floatRect = m_floatRect;
    if (floatRect.size() == m_floatSize && !m_floatSize.isEmpty()) {
        // Inside the work area, keeping its size.
        floatRect.moveLeft(std::max(work.left(), std::min(floatRect.left(), work.right() + 1 - floatRect.width())));
        floatRect.moveTop(std::max(work.top(), std::min(floatRect.top(), work.bottom() + 1 - floatRect.height())));
    } else {
        floatRect = QRect(work.right() + 1 - m_floatSize.width(), work.bottom() + 1 - m_floatSize.height(),
                          m_floatSize.width(), m_floatSize.height());
    }
    const bool floatMoved = floatRect != m_floatRect;
    m_floatRect = floatRect;
    const int state = m_proposed != Unregistered ? m_proposed : m_state;
    // A docked bar also follows a screen that changed under it, when its float rectangle did not move.
    const bool bandMoved = IsDocked() && !m_autoHide && DockedRect(m_state) != m_target;
    if (floatMoved || bandMoved)
        SetState(state);
}

// Sliding ----------------------------------------------------------------------------------------

void CAppBarDlg::SlideTo(const QRect& target)
{
    m_target = target;
    if (!m_slideEnabled || !isVisible() || m_dragging || geometry() == target) {
        m_slideTimer.stop();
        if (geometry() != target)
            setGeometry(target);
        return;
    }
    m_slideFrom = geometry();
    m_slideClock.start();
    m_slideTimer.start();
}

void CAppBarDlg::SlideStep()
{
    const qint64 elapsed = m_slideClock.elapsed();
    if (elapsed >= kSlideMs || !isVisible()) {
        m_slideTimer.stop();
        setGeometry(m_target);
        return;
    }
    setGeometry(Between(m_slideFrom.left(), m_target.left(), elapsed, kSlideMs),
                Between(m_slideFrom.top(), m_target.top(), elapsed, kSlideMs),
                Between(m_slideFrom.width(), m_target.width(), elapsed, kSlideMs),
                Between(m_slideFrom.height(), m_target.height(), elapsed, kSlideMs));
    repaint();
}

// Dragging ---------------------------------------------------------------------------------------

void CAppBarDlg::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !CanDragAt(event->position().toPoint()))
        return;
    m_pressed = true;
    m_pressPoint = event->globalPosition().toPoint();
    m_pressOffset = event->position().toPoint();
}

void CAppBarDlg::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) == 0) {
        m_pressed = false;
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    if (m_pressed && !m_dragging) {
        const QPoint moved = global - m_pressPoint;
        if (std::abs(moved.x()) <= QApplication::startDragDistance() &&
            std::abs(moved.y()) <= QApplication::startDragDistance())
            return;
        BeginDrag();
    }
    if (m_dragging)
        DragTo(global, event->modifiers().testFlag(Qt::ControlModifier));
}

void CAppBarDlg::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    if (m_dragging)
        EndDrag();
}

void CAppBarDlg::BeginDrag()
{
    m_dragging = true;
    m_slideTimer.stop();
    m_proposed = m_state;
}

void CAppBarDlg::DragTo(const QPoint& globalPosition, bool controlHeld)
{
    const int state = StateAt(globalPosition, controlHeld);
    QRect rect;
    if (state == Floating) {
        // A float-size window under the mouse, inside the work area.
        const QScreen* screen = DockScreen();
        const QRect work = screen ? screen->availableGeometry() : QRect();
        rect = QRect(globalPosition - m_pressOffset, m_floatSize);
        rect.moveLeft(std::max(work.left(), std::min(rect.left(), work.right() + 1 - rect.width())));
        rect.moveTop(std::max(work.top(), std::min(rect.top(), work.bottom() + 1 - rect.height())));
        m_floatRect = rect;
    } else {
        rect = DockedRect(state);
    }
    m_target = rect;
    if (geometry() != rect)
        setGeometry(rect);
    m_proposed = state;
    OnAppBarStateChange(true, state);
}

void CAppBarDlg::EndDrag()
{
    m_dragging = false;
    const int state = m_proposed;
    m_proposed = Unregistered;
    if (state == m_state && IsDocked())
        SetDockSize(m_state, m_state == Left || m_state == Right ? width() : height());
    SetState(state);
    OnExitSizeMove();
}

// Auto-hide and closing --------------------------------------------------------------------------

void CAppBarDlg::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (m_autoHide && IsDocked() && !m_autoHideShown) {
        m_autoHideShown = true;
        SlideTo(DockedRect(m_state));
    }
}

void CAppBarDlg::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_autoHide && IsDocked() && m_autoHideShown && !m_dragging) {
        m_autoHideShown = false;
        SlideTo(HiddenRect(DockedRect(m_state)));
    }
}

void CAppBarDlg::closeEvent(QCloseEvent* event)
{
    SetState(Unregistered);
    QWidget::closeEvent(event);
}
