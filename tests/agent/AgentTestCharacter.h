#pragma once

#include "agent/AcsCharacter.h"
#include "agent/IAgentView.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>

// Lets test failures print texts readably.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A small character built in memory for the engine's tests. Every frame of every animation shows
// an image of its own, so a recorded picture tells which animation and frame was on screen:
// image 100 * (animation number + 1) + frame number (images that exist only once carry that number
// in their own pixel colours, see below). The mouth overlays use images 1 (closed) to 7.
//
// Animations (16 x 8 pixel frames, 50 ms per frame, long enough for a loaded machine to show each):
//   RestPose    1 frame with all seven mouth overlays              (image 100)
//   Showing     2 frames, state SHOWING                            (200, 201)
//   Hiding      2 frames, state HIDING                             (300, 301)
//   Wave        3 frames, return animation WaveReturn              (400-402)
//   WaveReturn  1 frame                                            (500)
//   Greet       4 frames left by exit branches: frames 0 and 1 loop, the exits of 0-2 go to 3, and 3
//               ends the exit                                      (600-603)
//   Loop        2 frames, frame 1 branches back to 0 always         (700, 701)
//   Walk        2 frames, states MOVINGLEFT/RIGHT/UP/DOWN          (800, 801)
//   Idle1       1 frame, state IDLINGLEVEL1                        (900)
//   Explain     2 frames, the last with mouth overlays             (1000, 1001)
// The palette has four colours: 0 transparent (the transparent index), 1 red, 2 green, 3 blue.
std::shared_ptr<const AcsCharacter> MakeTestCharacter();

// The image number used for a frame of an animation of the test character.
quint32 TestImage(int animation, int frame);
enum TestAnimation
{
    RestPose = 0,
    Showing,
    Hiding,
    Wave,
    WaveReturn,
    Greet,
    Loop,
    Walk,
    Idle1,
    Explain,
};

// Records what the character asks of its screen, one line per call:
//   "frame 100" (the bottom layer's image, then "+7" for a mouth overlay), "show", "hide",
//   "move x,y", "balloon speak|think <revealed>/<length> style <style>: <text>", "reveal <n>",
//   "balloon hide".
class RecordingView : public IAgentView
{
public:
    explicit RecordingView(QStringList* log)
        : m_log(log)
    {}

    void DrawFrame(const AgentPicture& picture) override;
    void ShowWindow() override { m_log->append(QStringLiteral("show")); }
    void HideWindow() override { m_log->append(QStringLiteral("hide")); }
    void MoveWindow(QPoint topLeft) override;
    QPoint WindowPosition() const override { return m_position; }
    void ShowBalloon(const AgentBalloon& balloon, int revealed) override;
    void RevealBalloon(int revealed) override;
    void HideBalloon() override { m_log->append(QStringLiteral("balloon hide")); }

    AgentPicture lastPicture;

private:
    QStringList* m_log;
    QPoint m_position;
};
