#pragma once

#include "PennywitPose.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

#include <map>
#include <optional>

// Pennywit as the character file will hold him, before it is written: the shared images and the
// animations whose frames point at them. Identical pictures are stored once and shared by index.
namespace Pennywit {

// The five mouth shapes he speaks with.
enum class MouthShape
{
    Closed,
    Narrow,
    Medium,
    Wide,
    Round,
};
inline constexpr MouthShape MouthShapes[] = {MouthShape::Closed, MouthShape::Narrow, MouthShape::Medium,
                                             MouthShape::Wide, MouthShape::Round};

// How an animation ends when it is stopped early.
enum class Ending
{
    ExitBranches, // follow the frames' exit branches back to the rest pose
    None,         // nothing to do: it can stop anywhere
};

inline constexpr int NoExit = -1;   // frame without an exit branch
inline constexpr int ExitDone = -2; // exiting ends here

struct DraftBranch
{
    int frame = 0;
    int percent = 0;
};

struct DraftOverlay
{
    MouthShape shape = MouthShape::Closed;
    int image = 0;
};

struct DraftFrame
{
    QList<int> images; // indexes into CharacterDraft::images, top-most first, all placed at (0, 0)
    int duration = 10; // hundredths of a second
    int exit = NoExit;
    QList<DraftBranch> branches;
    QList<DraftOverlay> overlays; // all five shapes, or none
};

struct DraftAnimation
{
    QString name;
    Ending ending = Ending::ExitBranches;
    QList<DraftFrame> frames;

    // Total playing time of one straight run through the frames, in hundredths of a second.
    int Duration() const;
};

class CharacterDraft
{
public:
    // The picture of `pose`, drawn, mapped to the palette and stored once.
    int ImageOf(const Pose& pose);
    // An already drawn indexed picture, stored once.
    int AddImage(const QImage& indexed);
    // The five mouth overlays for `pose` (cut from the pose drawn with each mouth shape).
    QList<DraftOverlay> OverlaysOf(const Pose& pose);

    void AddAnimation(DraftAnimation animation) { m_animations.append(std::move(animation)); }

    const QList<QImage>& Images() const { return m_images; }
    const QList<DraftAnimation>& Animations() const { return m_animations; }
    const DraftAnimation* Find(const QString& name) const;

private:
    QList<QImage> m_images;
    QHash<QByteArray, int> m_imageIndex;
    QList<DraftAnimation> m_animations;
};

// Builds one animation frame by frame.
class AnimationBuilder
{
public:
    AnimationBuilder(CharacterDraft& draft, QString name, Ending ending = Ending::ExitBranches);

    // Appends a frame showing `pose` for `duration` hundredths; returns its index.
    int Add(const Pose& pose, int duration);
    // The same, with the five mouth overlays so that he can speak on this frame.
    int AddSpeaking(const Pose& pose, int duration);
    // Appends a frame without any picture (he is gone).
    int AddEmpty(int duration);
    // Appends a frame made of several pictures, top-most first.
    int AddLayers(const QList<const Pose*>& layers, int duration);

    int Count() const { return static_cast<int>(m_animation.frames.size()); }
    DraftFrame& Frame(int index) { return m_animation.frames[index]; }

    void Branch(int from, int to, int percent);
    void Exit(int from, int to) { Frame(from).exit = to; }
    // The usual ending of a gesture: frames before `firstReturnFrame` exit to it, the frames from
    // there on follow each other, and the last frame ends the exit.
    void ExitThrough(int firstReturnFrame);

    // Stores the animation into the draft.
    void Finish();

private:
    CharacterDraft& m_draft;
    DraftAnimation m_animation;
};

} // namespace Pennywit
