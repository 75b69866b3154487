#pragma once

#include "speech/agent/AcsCharacter.h"
#include "speech/agent/IAgentCharacter.h"
#include "speech/agent/IAgentView.h"
#include "speech/agent/ISpeechOutput.h"
#include "speech/agent/SpeechTags.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QRandomGenerator>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class SpeechVoice;

// One loaded character: the request queue of IAgentCharacter, played frame by frame on timers and
// shown through an IAgentView. See IAgentCharacter for what each request does.
//
// Between requests the character holds the last frame of what it played (so it speaks in the pose
// of the gesture before, as Agent characters do). Before another animation starts, the one held is
// left properly: through its return animation, or along its exit branches. When the queue runs
// dry the character goes back to its rest pose ("RestPose") and, every so often, plays one of its
// idling animations. A character that holds a frame runs no timer at all, and a hidden character
// none either, so a resting character costs next to nothing.
class AgentCharacter : public QObject, public IAgentCharacter
{
    Q_OBJECT

public:
    // How long things take; tests shorten them.
    struct Timing
    {
        int moveMs = 1000;                     // a glide across any distance (Agent's default move speed)
        int moveStepMs = 20;                   // window steps while gliding
        int mouthStepMs = 50;                  // mouth and balloon updates while speaking
        int balloonLingerMs = 700;             // an auto-hide balloon stays this long after the words
        int idleMinMs = 10000;                 // rest before an idling animation, at least ...
        int idleMaxMs = 20000;                 // ... and at most
        int idleLevel2AfterMs = 5 * 60 * 1000; // idling level 2 after this long without requests
        int loopLimitMs = 10000;               // the longest an animation that loops may hold up the queue
        int readingMsPerWord = 300;            // Think, and Speak without a voice
        int readingMinMs = 1500;
        int readingMaxMs = 15000;
    };

    // The character takes the view, the output and the voice it is given (the voice is shared
    // between characters and must outlive this one; nullptr: no voice, words take their reading time).
    AgentCharacter(std::shared_ptr<const AcsCharacter> character, std::unique_ptr<IAgentView> view,
                   std::unique_ptr<ISpeechOutput> output, SpeechVoice* voice, QObject* parent = nullptr);
    ~AgentCharacter() override;

    // IAgentCharacter
    void SetLanguageID(quint32 languageId) override;
    quint32 LanguageID() const override { return m_languageId; }
    int Width() const override;
    int Height() const override;
    void MoveTo(int x, int y) override;
    void Show(bool fast) override;
    void Hide(bool fast) override;
    void Play(const QString& animation) override;
    void Speak(const QString& text) override;
    void Think(const QString& text) override;
    void StopAll() override;
    void SetBalloonStyle(quint32 style) override;
    quint32 BalloonStyle() const override { return m_balloonStyle; }
    QStringList AnimationNames() const override;

    void SetTiming(const Timing& timing) { m_timing = timing; }
    // Makes the random choices (branches, idling animations, idle delays) repeatable.
    void SetRandomSeed(quint32 seed) { m_random.seed(seed); }

    const AcsCharacter& Character() const { return *m_character; }
    IAgentView& View() const { return *m_view; }
    // Whether the window is shown (as the requests played so far left it).
    bool IsVisible() const { return m_visible; }
    // Whether a request is playing or waiting.
    bool IsBusy() const { return m_busy || !m_queue.empty(); }
    // Which animation and frame are on screen (-1 when none yet).
    int CurrentAnimation() const { return m_animation; }
    int CurrentFrame() const { return m_frame; }
    // Whether the character is busy on screen: a step is due, a frame, mouth, move, reading or
    // balloon timer runs, or speech is being rendered. None of that while it holds a frame with
    // nothing to do; only the occasional idling animation then wakes it.
    bool IsAnimating() const;

signals:
    // A request has been played to its end (or dropped); for tools and tests.
    void RequestDone();
    // The queue has run dry.
    void Idle();

private:
    struct Request
    {
        enum class Kind
        {
            Move,
            Show,
            Hide,
            Play,
            Speak,
            Think,
        };
        Kind kind = Kind::Play;
        QPoint target;
        bool fast = false;
        int animation = -1;
        QString text;
        SpeechText speech;
        quint32 balloonStyle = 0;
    };

    using Step = std::function<void()>;

    void Enqueue(Request request);
    void ProcessNext();
    void Finish();
    void Start(const Request& request);
    void StartShow(const Request& request);
    void StartHide(const Request& request);
    void StartMove(const Request& request);
    void StartPlay(const Request& request);
    void StartSpeak(const Request& request);
    void StartThink(const Request& request);
    void FinishThink();
    void CancelCurrent();
    void GoToRest();
    void ScheduleIdle();
    void PlayIdle();

    // The frame player.
    void PlayAnimation(int animation, Step then);
    void LeaveCurrent(Step then);
    void ShowFrame(int frame);
    void OnFrameTimer();
    void EndAnimation();
    int NextFrameForward();
    int NextFrameExiting();
    void DrawCurrent();
    void HoldFrame(int animation, int frame);
    int StateAnimation(const QString& state);
    int RestAnimation() const;
    int ReadingMs(const QString& text) const;
    Step Guarded(Step step);
    bool CurrentFrameHasMouth() const;

    // Speech.
    void BeginSpeech(std::shared_ptr<const RenderedSpeech> speech);
    void OnMouthTimer();
    void EndSpeech();
    void ShowBalloonFor(const AgentBalloon& balloon, int revealed);
    void HideBalloonNow();

    // Moving.
    void OnMoveTimer();

    std::shared_ptr<const AcsCharacter> m_character;
    std::unique_ptr<IAgentView> m_view;
    std::unique_ptr<ISpeechOutput> m_output;
    SpeechVoice* m_voice = nullptr;
    Timing m_timing;
    QRandomGenerator m_random;

    quint32 m_languageId = 1033;
    quint32 m_balloonStyle = BalloonStyleDefault;
    bool m_visible = false;

    std::deque<Request> m_queue;
    bool m_busy = false;
    bool m_processScheduled = false;
    quint64 m_generation = 0; // bumped to cancel the steps of what was playing
    Request m_current;

    // Frame player.
    QTimer m_frameTimer;
    int m_animation = -1;
    int m_frame = -1;
    bool m_exiting = false;
    bool m_needsLeaving = false; // the animation on screen has a return or exit still to play
    int m_exitSteps = 0;
    int m_zeroSteps = 0;
    bool m_loopGuard = true; // an animation that loops gives way to waiting requests
    QElapsedTimer m_animationClock;
    Step m_animationDone;

    // Speech.
    QTimer m_mouthTimer;
    quint64 m_renderTicket = 0;
    std::shared_ptr<const RenderedSpeech> m_speech;
    bool m_speaking = false;
    bool m_silentSpeech = false; // no voice: words paced by reading time
    QElapsedTimer m_readingClock;
    qint64 m_readingMs = 0;
    RenderedSpeech::Mouth m_mouth = RenderedSpeech::MouthClosed;
    bool m_balloonShown = false;
    bool m_balloonPaced = false;
    bool m_balloonAutoHide = false;
    int m_revealed = 0;
    QTimer m_balloonTimer;
    QTimer m_thinkTimer;

    // Moving.
    QTimer m_moveTimer;
    QElapsedTimer m_moveClock;
    QPoint m_moveFrom;
    QPoint m_moveTo;

    // Resting.
    QTimer m_idleTimer;
    QElapsedTimer m_sinceRequest;
};
