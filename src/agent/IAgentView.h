#pragma once

#include <QPoint>
#include <QString>
#include <QtGlobal>

#include <vector>

// What the character shows in one frame: images of the character file laid on top of each other,
// the first layer at the bottom. Positions are relative to the frame's top-left corner.
struct AgentPicture
{
    struct Layer
    {
        quint32 image = 0; // index into the character's images
        int x = 0;
        int y = 0;
        bool operator==(const Layer&) const = default;
    };
    std::vector<Layer> layers;

    bool operator==(const AgentPicture&) const = default;
};

// A word balloon to show beside the character.
struct AgentBalloon
{
    QString text;         // everything the balloon will show
    bool thought = false; // a thought balloon (Think) rather than a speech balloon
    quint32 style = 0;    // the IAgentCharacter::Balloon* bits in force
};

// The screen side of one character: its window and balloon. The character's request queue (core)
// drives it; the desktop program implements it with a frameless window (AgentWindow), tests with a
// recorder. Every call is made on the UI thread and must return at once.
class IAgentView
{
public:
    virtual ~IAgentView() = default;

    // Draws a frame (it stays until the next one).
    virtual void DrawFrame(const AgentPicture& picture) = 0;

    virtual void ShowWindow() = 0;
    virtual void HideWindow() = 0;
    // Moves the window's top-left corner to a screen position.
    virtual void MoveWindow(QPoint topLeft) = 0;
    // Where the window's top-left corner is now (the user may have dragged it).
    virtual QPoint WindowPosition() const = 0;

    // Shows a balloon holding the first `revealed` characters of balloon.text (sized for all of it).
    virtual void ShowBalloon(const AgentBalloon& balloon, int revealed) = 0;
    // Reveals more (or all) of the balloon's text.
    virtual void RevealBalloon(int revealed) = 0;
    virtual void HideBalloon() = 0;
};
