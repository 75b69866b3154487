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
// the left mouse button; its balloon follows it. It never takes the keyboard focus.
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void UpdateShape();

    std::shared_ptr<const AcsCharacter> m_character;
    std::unique_ptr<IToolWindowHints> m_toolHints;
    AgentFrameComposer m_composer;
    AgentPicture m_picture;
    QImage m_frame;
    QImage m_shape; // the alpha mask the window is shaped to
    AgentBalloonWindow* m_balloon = nullptr;
    bool m_balloonWanted = false;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
