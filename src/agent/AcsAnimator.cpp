#include "agent/AcsAnimator.h"

AcsAnimator::AcsAnimator(std::shared_ptr<const AcsCharacter> character, AcsSequencer::Random random, QObject* parent)
    : QObject(parent)
    , m_sequencer(std::move(character), std::move(random))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        CatchUp();
        Schedule();
    });
    m_sequencer.SetListener([this](const AcsSequencerEvent& event) { OnEvent(event); });
    m_clock.start();
}

void AcsAnimator::SetIdlePolicy(const AcsIdlePolicy& policy)
{
    CatchUp();
    m_sequencer.SetIdlePolicy(policy);
    Schedule();
}

void AcsAnimator::Show(bool fast)
{
    CatchUp();
    m_sequencer.Show(fast);
    Schedule();
}

void AcsAnimator::Hide(bool fast)
{
    CatchUp();
    m_sequencer.Hide(fast);
    Schedule();
}

bool AcsAnimator::Play(const QString& animation)
{
    CatchUp();
    const bool playing = m_sequencer.Play(animation);
    Schedule();
    return playing;
}

bool AcsAnimator::PlayState(const QString& state)
{
    CatchUp();
    const bool playing = m_sequencer.PlayState(state);
    Schedule();
    return playing;
}

void AcsAnimator::Stop()
{
    CatchUp();
    m_sequencer.Stop();
    Schedule();
}

void AcsAnimator::StopAll()
{
    CatchUp();
    m_sequencer.StopAll();
    Schedule();
}

void AcsAnimator::SetSpeaking(bool speaking)
{
    CatchUp();
    m_sequencer.SetSpeaking(speaking);
    Schedule();
}

void AcsAnimator::SetMouth(AcsMouthShape mouth)
{
    m_sequencer.SetMouth(mouth);
}

void AcsAnimator::CatchUp()
{
    const qint64 elapsed = m_clock.restart();
    m_sequencer.Tick(int(std::min<qint64>(elapsed, 1 << 30)));
}

void AcsAnimator::Schedule()
{
    const int due = m_sequencer.MsUntilNextTick();
    if (due < 0) {
        m_timer.stop();
        return;
    }
    m_timer.start(due);
}

void AcsAnimator::OnEvent(const AcsSequencerEvent& event)
{
    switch (event.kind) {
    case AcsSequencerEvent::Kind::FrameChanged:
        Q_EMIT frameChanged();
        break;
    case AcsSequencerEvent::Kind::SoundStarted:
        Q_EMIT soundStarted(event.sound);
        break;
    case AcsSequencerEvent::Kind::AnimationDone:
        Q_EMIT animationDone(event.animation, event.interrupted);
        break;
    case AcsSequencerEvent::Kind::Shown:
        Q_EMIT shown();
        break;
    case AcsSequencerEvent::Kind::Hidden:
        Q_EMIT hidden();
        break;
    }
}
