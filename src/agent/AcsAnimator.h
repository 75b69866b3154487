#pragma once

#include "agent/AcsSequencer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

// Runs an AcsSequencer in real time: one single-shot timer set to the sequencer's next due time (no
// timer at all while nothing is due), and Qt signals for what the sequencer reports. The character
// window draws CurrentFrame() and CurrentOverlay() on frameChanged.
class AcsAnimator : public QObject
{
    Q_OBJECT

public:
    explicit AcsAnimator(std::shared_ptr<const AcsCharacter> character, AcsSequencer::Random random = {},
                         QObject* parent = nullptr);

    const AcsCharacter& Character() const { return m_sequencer.Character(); }
    const AcsSequencer& Sequencer() const { return m_sequencer; }
    void SetIdlePolicy(const AcsIdlePolicy& policy);

    // The requests of AcsSequencer, in real time.
    void Show(bool fast);
    void Hide(bool fast);
    bool Play(const QString& animation);
    bool PlayState(const QString& state);
    void Stop();
    void StopAll();
    void SetSpeaking(bool speaking);
    void SetMouth(AcsMouthShape mouth);

    bool IsVisible() const { return m_sequencer.IsVisible(); }
    const AcsFrame* CurrentFrame() const { return m_sequencer.CurrentFrame(); }
    const AcsOverlay* CurrentOverlay() const { return m_sequencer.CurrentOverlay(); }

    // Whether a timer runs, and when it fires (for tests of an idle character's wake-ups).
    bool IsTimerActive() const { return m_timer.isActive(); }
    int TimerInterval() const { return m_timer.interval(); }

Q_SIGNALS:
    void frameChanged();
    void soundStarted(int sound);
    void animationDone(const QString& animation, bool interrupted);
    void shown();
    void hidden();

private:
    // Lets the sequencer catch up with the time passed since it last ran.
    void CatchUp();
    void Schedule();
    void OnEvent(const AcsSequencerEvent& event);

    AcsSequencer m_sequencer;
    QTimer m_timer;
    QElapsedTimer m_clock;
};
