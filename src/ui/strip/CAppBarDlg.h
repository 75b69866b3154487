#pragma once

#include "platform/IScreenEdgeDock.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

class QScreen;

// The base of a desktop bar: a frameless window that stays on top and owns a band along one edge
// of the primary screen, so that other windows, maximised ones among them, leave that band free
// (IScreenEdgeDock: struts on X11). It keeps its state (an edge, floating, or not registered),
// places itself at its edge where the other bands leave room, slides there, can be dragged by the
// mouse to another allowed edge, and docks again when a screen is added, removed or resized or the
// work area changes.
//
// Auto-hide bars (one per edge in the program) reserve no band and slide out of sight but for a
// thin line until the mouse comes over them. Sizing by the mouse is not offered: a bar keeps the
// thickness its owner gives it.
class CAppBarDlg : public QWidget
{
    Q_OBJECT

public:
    // States: the four edges, floating, and not registered (no band).
    enum State
    {
        Unregistered = -1,
        Floating = -2,
        Left = 0,
        Top = 1,
        Right = 2,
        Bottom = 3,
    };
    // What the user may choose by dragging.
    enum Flag
    {
        AllowLeftRight = 0x1,
        AllowTopBottom = 0x2,
        AllowFloating = 0x4,
    };
    static constexpr int kSlideMs = 400;
    // What stays on the screen of a hidden auto-hide bar.
    static constexpr int kHiddenThickness = 2;

    // dock: the desktop's docking (null: CreateScreenEdgeDock()).
    explicit CAppBarDlg(std::unique_ptr<IScreenEdgeDock> dock = nullptr, QWidget* parent = nullptr);
    // The band goes first (SetState(Unregistered)).
    ~CAppBarDlg() override;

    // Takes the state: releases or reserves the band and slides the window to its place.
    void SetState(int state);
    int State() const { return m_state; }
    // The edge proposed while the user drags; Unregistered when no drag runs.
    int ProposedState() const { return m_proposed; }
    // After a change of the screens or the work area: the float rectangle is kept inside the work
    // area, and the bar docks again where its band now belongs.
    void RefitToWorkArea();

    void SetFlags(int flags) { m_flags = flags; }
    int Flags() const { return m_flags; }
    // The band's thickness at an edge: the height for top and bottom, the width for left and right.
    void SetDockSize(int edge, int size);
    int DockSize(int edge) const;
    // The window's size while floating; the float rectangle starts in the bottom right corner of
    // the work area.
    void SetFloatSize(const QSize& size);
    QRect FloatRect() const { return m_floatRect; }
    void SetAutoHide(bool autoHide) { m_autoHide = autoHide; }
    bool IsAutoHide() const { return m_autoHide; }
    // Off: the window jumps to its place instead of sliding there.
    void SetSlideEnabled(bool enabled) { m_slideEnabled = enabled; }
    bool IsSliding() const { return m_slideTimer.isActive(); }

    // The screen the bar docks to: the primary screen (null when there is none).
    static QScreen* DockScreen();
    // The rectangle of the band at an edge: the screen's side where the other bands leave room (the
    // whole side for an auto-hide bar), as thick as the dock size.
    QRect DockedRect(int edge) const;
    // The state a drag that is at this screen point proposes: floating when that is allowed and
    // Ctrl is held, else the nearest allowed side (top above the screen's middle, bottom below,
    // for a bar that may only dock at the top or the bottom).
    int StateAt(const QPoint& globalPosition, bool controlHeld) const;

protected:
    // Whether a press at this point of the window may start a drag.
    virtual bool CanDragAt(const QPoint& position) const = 0;
    // The state changed (SetState), or a drag proposes one.
    virtual void OnAppBarStateChange(bool /*proposed*/, int /*state*/) {}
    // A second auto-hide bar for an edge was refused: the bar docks as a plain bar (and says so).
    virtual void OnAppBarForcedToDocked();
    // A drag ended and the bar took its new state.
    virtual void OnExitSizeMove() {}

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool IsDocked() const { return m_state >= Left && m_state <= Bottom; }
    void SlideTo(const QRect& target);
    void SlideStep();
    void BeginDrag();
    void DragTo(const QPoint& globalPosition, bool controlHeld);
    void EndDrag();
    void WatchScreens();
    QRect HiddenRect(const QRect& docked) const;

    std::unique_ptr<IScreenEdgeDock> m_dock;
    int m_state = Floating;
    int m_proposed = Unregistered;
    int m_flags = AllowTopBottom;
    std::array<int, 4> m_dockSizes{};
    QSize m_floatSize;
    QRect m_floatRect;
    bool m_autoHide = false;
    bool m_autoHideShown = false;
    bool m_slideEnabled = true;
    QRect m_target; // where the window is or goes

    QTimer m_slideTimer;
    QElapsedTimer m_slideClock;
    QRect m_slideFrom;

    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressPoint;  // screen coordinates
    QPoint m_pressOffset; // of the press inside the window, for a floating bar that follows the mouse

    QTimer m_refit; // gathers the signals of one change of the screens
};
