#pragma once

#include "agent/AgentFrameComposer.h"
#include "agent/IAgentView.h"

#include <QImage>
#include <QWidget>

#include <memory>

class AgentBalloonWindow;
class IToolWindowHints;

// The character on the desktop: a frameless, always-on-top tool window, kept out of task bars and
// pagers (IToolWindowHints), that
// shows the current frame with its transparent pixels see-through (shaped to the opaque pixels as
// well, so it also looks right without a compositing window manager). The user can drag it with
// the left mouse button; its balloon follows it. It never takes the keyboard focus. Window managers
// place a window as they map it without always telling the toolkit: the window's real place is
// asked of the display server after each show and before the balloon is placed.
class AgentWindow : public QWidget, public IAgentView
{
    Q_OBJECT

public:
    explicit AgentWindow(std::shared_ptr<const AcsCharacter> character, QWidget* parent = nullptr);
    ~AgentWindow() override;

    // IAgentView
    void DrawFrame(const AgentPicture& picture) override;
    void ShowWindow() override;
    void HideWindow() override;
    void MoveWindow(QPoint topLeft) override;
    QPoint WindowPosition() const override;
    void ShowBalloon(const AgentBalloon& balloon, int revealed) override;
    void RevealBalloon(int revealed) override;
    void HideBalloon() override;

    // The frame drawn now (premultiplied ARGB, the character's size).
    const QImage& Frame() const { return m_frame; }
    AgentBalloonWindow* Balloon() const { return m_balloon; }

    void setVisible(bool visible) override;

    // Where a window occupying `window` goes so that it stays on a screen: where it is when it
    // overlaps one of the screens, else into `fallback` (the primary screen's available area), as
    // near to where it was as fits.
    static QPoint PlaceOnScreens(const QRect& window, const QList<QRect>& screens, const QRect& fallback);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void UpdateShape();
    // Moves the window back onto a screen when the screens changed under it.
    void KeepOnScreen();
    // Where the window really is (asked of the display server where it can be).
    QPoint RealPosition() const;
    // Brings the toolkit's idea of the window's place in line with where the window manager put it,
    // and the balloon with it.
    void SyncPosition();

    std::shared_ptr<const AcsCharacter> m_character;
    std::unique_ptr<IToolWindowHints> m_toolHints;
    AgentFrameComposer m_composer;
    AgentPicture m_picture;
    QImage m_frame;
    QImage m_shape; // the alpha mask the window is shaped to
    AgentBalloonWindow* m_balloon = nullptr;
    bool m_balloonWanted = false;
    QPoint m_dragOffset;
    quint64 m_moves = 0; // moves asked for by the character or the user
    bool m_dragging = false;
};
