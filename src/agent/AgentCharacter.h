#pragma once

#include "agent/AcsAnimator.h"
#include "agent/AcsCharacter.h"
#include "agent/IAgentCharacter.h"
#include "agent/IAgentView.h"
#include "agent/IFrameSoundOutput.h"
#include "agent/ISpeechOutput.h"
#include "agent/SpeechTags.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QRandomGenerator>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

class SpeechVoice;

// One loaded character: the request queue of IAgentCharacter, played one request after the other
// and shown through an IAgentView. The animations themselves (frames, branches, exit branches,
// return animations, idling, the speaking pose and its mouth) are the character's AcsAnimator's;
// the queue adds the voice, the balloon, the glide of MoveTo and the order of the requests.
//
// Between requests the character holds the last frame of what it played (so it speaks in the pose
// of the gesture before, as Agent characters do); a pose owed a return animation returns after a
// short rest, and now and then the character plays one of its idling animations. A character that
// holds a frame runs no timer but the one for its next idling animation, and a hidden one none.
//
// A frame that names a sound starts it when the frame is shown (a hidden character shows no frames,
// so it makes no sound); the queue never waits for a sound, and StopAll silences the sounds with
// everything else. The sounds are decoded when first played; one that cannot be decoded is skipped.
class AgentCharacter : public QObject, public IAgentCharacter
{
    Q_OBJECT

public:
    // How long things take; tests shorten them.
    struct Timing
    {
        int moveMs = 1000;          // a glide across any distance (Agent's default move speed)
        int moveStepMs = 20;        // window steps while gliding
        int mouthStepMs = 50;       // mouth and balloon updates while speaking
        int balloonLingerMs = 700;  // an auto-hide balloon stays this long after the words
        int loopSlackMs = 50;       // an animation still playing this long after one pass loops
        int loopLimitMs = 10000;    // the longest an animation that loops may hold up the queue
        int readingMsPerWord = 300; // Think, and Speak without a voice
        int readingMinMs = 1500;
        int readingMaxMs = 15000;
        AcsIdlePolicy idle; // returning to rest and idling
    };

    // The character takes the view and the output it is given; the voice is shared between
    // characters and must outlive this one (nullptr: no voice, words take their reading time).
    AgentCharacter(std::shared_ptr<const AcsCharacter> character, std::unique_ptr<IAgentView> view,
                   std::unique_ptr<ISpeechOutput> output, SpeechVoice* voice, QObject* parent = nullptr);
    ~AgentCharacter() override;

    // IAgentCharacter
    void SetLanguageID(quint32 languageId) override;
    quint32 LanguageID() const override { return m_languageId; }
    QString Name() const override;
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

    void SetTiming(const Timing& timing);
    // Where the frames' sounds are played (none until set: the frames are silent).
    void SetSoundOutput(std::unique_ptr<IFrameSoundOutput> output);
    // Makes the random choices (branches, idling animations, idle delays) repeatable.
    void SetRandomSeed(quint32 seed) { m_random.seed(seed); }

    const AcsCharacter& Character() const { return *m_character; }
    IAgentView& View() const { return *m_view; }
    const AcsAnimator& Animator() const { return *m_animator; }
    // Whether the character is shown (as the requests played so far left it).
    bool IsVisible() const;
    // Whether a request is playing or waiting.
    bool IsBusy() const { return m_busy || !m_queue.empty(); }
    // Whether anything is due: a step of the queue, a frame, a return or idling animation, the
    // mouth, a glide, a reading time, a balloon to hide, or speech being rendered. Nothing is for a
    // hidden character with nothing to do, nor for a shown one with idling off.
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
        QString animation;
        QString text;
        SpeechText speech;
        quint32 balloonStyle = 0;
    };

    void Enqueue(Request request);
    void ScheduleProcess();
    void ProcessNext();
    void Finish();
    void Start(const Request& request);
    void StartShow(const Request& request);
    void StartHide(const Request& request);
    void StartMove(const Request& request);
    void StartPlay(const Request& request);
    void StartSpeak(const Request& request);
    void StartThink(const Request& request);
    // The balloon style a Speak or Think request is made with.
    quint32 RequestBalloonStyle() const;
    void FinishThink();
    void CancelCurrent();
    bool IsCurrent(Request::Kind kind) const { return m_busy && m_current.kind == kind; }

    // What the animator reports.
    void DrawCurrent();
    void OnShown();
    void OnHidden();
    void OnAnimationDone();
    void CheckLoop();
    void PlaySound(int sound);

    // Speech.
    void BeginSpeech(std::shared_ptr<const RenderedSpeech> speech);
    void OnMouthTimer();
    void EndSpeech();
    void ShowBalloonFor(const AgentBalloon& balloon, int revealed);
    void HideBalloonNow();
    int ReadingMs(const QString& text) const;

    // Moving.
    void OnMoveTimer();

    std::shared_ptr<const AcsCharacter> m_character;
    std::unique_ptr<IAgentView> m_view;
    std::unique_ptr<ISpeechOutput> m_output;
    std::unique_ptr<IFrameSoundOutput> m_soundOutput;
    // The character's sounds as decoded so far (none: not yet tried; nullptr: not decodable).
    std::vector<std::optional<std::shared_ptr<const PcmSound>>> m_sounds;
    SpeechVoice* m_voice = nullptr;
    Timing m_timing;
    QRandomGenerator m_random;
    std::unique_ptr<AcsAnimator> m_animator;

    quint32 m_languageId = 1033;
    quint32 m_balloonStyle = BalloonStyleDefault;

    std::deque<Request> m_queue;
    bool m_busy = false;
    bool m_processScheduled = false;
    quint64 m_generation = 0; // bumped when a request ends, to drop what it still had coming
    Request m_current;

    // The animation the current request waits for (Play, or the moving animation of MoveTo).
    bool m_animationPending = false;
    QElapsedTimer m_playClock;
    int m_onePassMs = 0;
    QTimer m_loopTimer;

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
    bool m_gliding = false;
};
