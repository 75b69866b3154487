#pragma once

#include "agent/AcsCharacter.h"

#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Something the sequencer reports to whoever draws and sounds the character.
struct AcsSequencerEvent
{
    enum class Kind
    {
        FrameChanged,  // the picture changed: draw CurrentFrame() and CurrentOverlay() (both may be null)
        SoundStarted,  // a frame with a sound began: play Sounds()[sound]
        AnimationDone, // the animation asked for by Play / PlayState has finished (or was stopped)
        Shown,         // Show has finished: the character is visible and at rest
        Hidden,        // Hide has finished: the character is gone
    };

    Kind kind = Kind::FrameChanged;
    QString animation{};      // AnimationDone: the animation's name as in the character
    int sound = -1;           // SoundStarted: the sound's index
    bool interrupted = false; // AnimationDone: it was stopped (or replaced) before its end

    bool operator==(const AcsSequencerEvent&) const = default;
};

// When a character at rest plays its idle animations.
struct AcsIdlePolicy
{
    bool enabled = true;
    // A pose owed a return animation (a gesture that ended pointing) returns after this long at rest.
    int returnDelayMs = 1500;
    // Time at rest before each idle animation: a random time in [minIntervalMs, maxIntervalMs].
    int minIntervalMs = 10000;
    int maxIntervalMs = 20000;
    // After this long without a request the IDLINGLEVEL2 animations play, then IDLINGLEVEL3 ones.
    int level2AfterMs = 2 * 60 * 1000;
    int level3AfterMs = 10 * 60 * 1000;
};

// Plays a character's animations, without a display and without a timer of its own: the owner
// asks MsUntilNextTick() how long to wait (-1: nothing to do, no timer needed) and calls Tick() with
// the time that passed. What to draw is CurrentFrame() and CurrentOverlay(); changes, sounds and
// finished requests are reported to the listener.
//
// Playing:
//  - Frames last their duration; after a frame the branches are tried (a number 0-99 is drawn and
//    the branches' percentages added up until one covers it), else the next frame follows; after
//    the last frame the animation is done.
//  - Leaving an animation early (Stop, or a new request while an idle or speaking animation plays):
//    one with exit branches follows them from the end of the current frame until an exit branch
//    says the end (-2; a frame without one goes on to the next frame); others stop at once.
//  - An animation with a return animation leaves the character in its final pose (so that it can
//    speak pointing, say); the return animation plays before anything else plays, and on its own
//    after a short rest.
//  - A frame without images keeps the picture of the frame before it.
//  - A character at rest plays its IDLINGLEVEL1 animations now and then, IDLINGLEVEL2 and
//    IDLINGLEVEL3 after longer quiet (AcsIdlePolicy). Hidden, speaking, or with idling off, a
//    character at rest needs no timer at all.
//  - Speaking: the mouth overlay for the current mouth shape is drawn over every frame that has
//    overlays. Speaking starts on the current pose when it has overlays, else plays a SPEAKING
//    animation first.
//
// The listener may call back into the sequencer (to start the next request on AnimationDone, say).
class AcsSequencer
{
public:
    // Returns a number in [0, bound).
    using Random = std::function<quint32(quint32 bound)>;
    using Listener = std::function<void(const AcsSequencerEvent&)>;

    // Without a random source the system's is used.
    explicit AcsSequencer(std::shared_ptr<const AcsCharacter> character, Random random = {});

    void SetListener(Listener listener) { m_listener = std::move(listener); }
    void SetIdlePolicy(const AcsIdlePolicy& policy);
    const AcsCharacter& Character() const { return *m_character; }

    // Shows the character: with the SHOWING animation unless fast (or it has none), else at once in
    // the rest pose. Reports Shown (at once when it is already visible).
    void Show(bool fast);
    // Hides the character: leaves what plays, returns to rest, plays the HIDING animation unless
    // fast (or it has none). Reports Hidden (at once when it is already hidden).
    void Hide(bool fast);
    // Plays an animation by name (any case). False, and nothing happens, when the character lacks
    // it or is hidden. Reports AnimationDone when it has finished. A request still playing is
    // stopped and reported first.
    bool Play(const QString& animation);
    // Plays one of a state's animations, chosen at random; false when the state has none or the
    // character is hidden.
    bool PlayState(const QString& state);
    // Leaves the animation asked for (through its exit branches where it has them) and reports
    // AnimationDone with interrupted set when it is left. Nothing when no request plays.
    void Stop();
    // Stops everything at once: the character stays visible or hidden and stands in its rest pose.
    // Reports nothing.
    void StopAll();

    // Starts or ends speaking (the voice calls this); the mouth starts closed.
    void SetSpeaking(bool speaking);
    // The mouth shape for the sound being spoken.
    void SetMouth(AcsMouthShape mouth);

    // Milliseconds until Tick should be called; -1 when nothing will happen until a request.
    int MsUntilNextTick() const;
    // Lets `elapsedMs` pass.
    void Tick(int elapsedMs);

    bool IsVisible() const { return m_visible; }
    bool IsSpeaking() const { return m_speaking; }
    // The animation that is playing (requested, idle, return, ...); empty when the character rests.
    QString PlayingAnimation() const;
    // What to draw: the frame on screen (nullptr when hidden or when nothing was drawn yet) and the
    // mouth overlay over it (nullptr when not speaking or the frame has none).
    const AcsFrame* CurrentFrame() const;
    const AcsOverlay* CurrentOverlay() const;
    // The animation and frame index of CurrentFrame() (-1 when none).
    int CurrentAnimationIndex() const { return m_display.animation; }
    int CurrentFrameIndex() const { return m_display.frame; }

private:
    enum class Role
    {
        Request, // Play / PlayState: reports AnimationDone
        Showing,
        Hiding,
        Return,
        Idle,
        Speaking,
    };
    struct Track
    {
        int animation = -1;
        int frame = 0;
        Role role = Role::Request;
        bool leaving = false;
        int leaveSteps = 0;
    };
    struct Step
    {
        Role role = Role::Request;
        int animation = -1; // -1 with Role::Hiding: hide at once
    };
    struct Picture
    {
        int animation = -1;
        int frame = -1;
        const AcsOverlay* overlay = nullptr;
        bool operator==(const Picture&) const = default;
    };

    const AcsAnimation& AnimationAt(int index) const { return m_character->Animations()[index]; }
    int PickFromState(const QString& state);
    int RestAnimation() const;
    void ShowRestPose();

    void StartRequest(int animation);
    void DropWaitingRequests();
    void Pump();
    bool HasIdleAnimations() const;
    void RestTimeUp();
    void StartTrack(int animation, Role role);
    void EnterFrame(int frame);
    void NextFrame();
    void Leave();
    void FinishTrack(bool interrupted);
    void RunPlan();
    void Rest();
    void HideNow();
    void Queue(AcsSequencerEvent event);
    void NotePicture();
    void Flush();
    Picture CurrentPicture() const;

    std::shared_ptr<const AcsCharacter> m_character;
    Random m_random;
    Listener m_listener;
    AcsIdlePolicy m_idle;

    bool m_visible = false;
    bool m_speaking = false;
    AcsMouthShape m_mouth = AcsMouthShape::Closed;

    std::optional<Track> m_track;
    int m_remainingMs = 0;           // of the current frame
    std::deque<Step> m_plan;         // what plays after the current track
    QString m_owedReturn;            // the return animation due before anything else plays
    Picture m_display;               // the frame on screen (its overlay is worked out when drawn)
    std::optional<int> m_restWaitMs; // time until the next idle action; none: no timer at rest
    int m_quietMs = 0;               // time since the last request, for the idle levels

    std::vector<AcsSequencerEvent> m_events;
    Picture m_reported;
    bool m_flushing = false;
};
