#include "agent/AcsSequencer.h"

#include <QRandomGenerator>

#include <algorithm>
#include <limits>

namespace {

// After a long stall (a suspended machine, a blocked event loop) the animation goes on from where it
// was instead of racing through the frames it missed.
constexpr int kMaxCatchUpMs = 1000;
// Frames stepped in one go without time passing: more means a loop of zero-length frames.
constexpr int kMaxStepsAtOnce = 10000;

} // namespace

AcsSequencer::AcsSequencer(std::shared_ptr<const AcsCharacter> character, Random random)
    : m_character(std::move(character))
    , m_random(std::move(random))
{
    if (!m_character)
        m_character = std::make_shared<const AcsCharacter>();
    if (!m_random)
        m_random = [](quint32 bound) {
            return bound == 0 ? 0u : QRandomGenerator::global()->bounded(bound);
        };
}

void AcsSequencer::SetIdlePolicy(const AcsIdlePolicy& policy)
{
    m_idle = policy;
    m_idle.minIntervalMs = std::max(0, m_idle.minIntervalMs);
    m_idle.maxIntervalMs = std::max(m_idle.minIntervalMs, m_idle.maxIntervalMs);
    if (!m_track && m_plan.empty())
        Rest();
}

// ---- requests ------------------------------------------------------------------------------------

void AcsSequencer::Show(bool fast)
{
    if (m_visible) {
        Queue({AcsSequencerEvent::Kind::Shown});
        Flush();
        return;
    }
    m_visible = true;
    m_quietMs = 0;
    m_track.reset();
    m_plan.clear();
    m_owedReturn.clear();
    const int showing = fast ? -1 : PickFromState(AcsStates::Showing);
    if (showing < 0) {
        ShowRestPose();
        Queue({AcsSequencerEvent::Kind::Shown});
        Rest();
    } else {
        StartTrack(showing, Role::Showing);
    }
    Pump();
    Flush();
}

void AcsSequencer::Hide(bool fast)
{
    if (!m_visible) {
        Queue({AcsSequencerEvent::Kind::Hidden});
        Flush();
        return;
    }
    m_quietMs = 0;
    DropWaitingRequests();
    if (fast) {
        if (m_track && m_track->role == Role::Request)
            Queue({AcsSequencerEvent::Kind::AnimationDone, AnimationAt(m_track->animation).name, -1, true});
        m_track.reset();
        m_plan.clear();
        HideNow();
        Flush();
        return;
    }
    m_plan.clear();
    m_plan.push_back(Step{Role::Hiding, PickFromState(AcsStates::Hiding)});
    Leave();
    RunPlan();
    Pump();
    Flush();
}

bool AcsSequencer::Play(const QString& animation)
{
    if (!m_visible)
        return false;
    const int index = m_character->AnimationIndex(animation);
    if (index < 0)
        return false;
    StartRequest(index);
    return true;
}

bool AcsSequencer::PlayState(const QString& state)
{
    if (!m_visible)
        return false;
    const int index = PickFromState(state);
    if (index < 0)
        return false;
    StartRequest(index);
    return true;
}

void AcsSequencer::StartRequest(int animation)
{
    m_quietMs = 0;
    m_restWaitMs.reset();
    DropWaitingRequests();
    m_plan.push_back(Step{Role::Request, animation});
    Leave();
    RunPlan();
    Pump();
    Flush();
}

void AcsSequencer::Stop()
{
    DropWaitingRequests();
    if (m_track && m_track->role == Role::Request)
        Leave();
    Pump();
    Flush();
}

void AcsSequencer::StopAll()
{
    m_track.reset();
    m_plan.clear();
    m_owedReturn.clear();
    m_speaking = false;
    m_mouth = AcsMouthShape::Closed;
    m_quietMs = 0;
    if (m_visible)
        ShowRestPose();
    Rest();
    Flush();
}

void AcsSequencer::SetSpeaking(bool speaking)
{
    if (speaking == m_speaking)
        return;
    m_speaking = speaking;
    m_mouth = AcsMouthShape::Closed;
    m_quietMs = 0;
    if (speaking) {
        m_restWaitMs.reset();
        const AcsFrame* frame = CurrentFrame();
        const bool idling = m_track && m_track->role == Role::Idle;
        // While a request, a transition or a speaking animation plays, the mouth shows on its frames;
        // a pose at rest with a mouth speaks as it is; else a speaking animation comes first.
        const bool busy = m_track && !idling;
        const bool poseHasMouth = !m_track && frame && !frame->overlays.isEmpty();
        if (m_visible && !busy && !poseHasMouth) {
            m_plan.push_back(Step{Role::Speaking, PickFromState(AcsStates::Speaking)});
            Leave();
            RunPlan();
        }
    } else {
        std::erase_if(m_plan, [](const Step& step) { return step.role == Role::Speaking; });
        if (m_track && m_track->role == Role::Speaking)
            Leave();
        if (!m_track && m_plan.empty())
            Rest();
    }
    Pump();
    Flush();
}

void AcsSequencer::SetMouth(AcsMouthShape mouth)
{
    m_mouth = mouth;
    Flush();
}

// ---- time ----------------------------------------------------------------------------------------

int AcsSequencer::MsUntilNextTick() const
{
    if (m_track)
        return std::max(0, m_remainingMs);
    if (m_restWaitMs)
        return std::max(0, *m_restWaitMs);
    return -1;
}

void AcsSequencer::Tick(int elapsedMs)
{
    elapsedMs = std::max(0, elapsedMs);
    m_quietMs = int(std::min<qint64>(qint64(m_quietMs) + elapsedMs, std::numeric_limits<int>::max()));
    if (m_track) {
        m_remainingMs -= elapsedMs;
        if (m_remainingMs < -kMaxCatchUpMs)
            m_remainingMs = 0;
    } else if (m_restWaitMs) {
        *m_restWaitMs -= elapsedMs;
        if (*m_restWaitMs <= 0)
            RestTimeUp();
    }
    Pump();
    Flush();
}

void AcsSequencer::Pump()
{
    int steps = 0;
    while (m_track && m_remainingMs <= 0) {
        if (++steps > kMaxStepsAtOnce) {
            // A loop of frames without duration: end the animation rather than spin.
            FinishTrack(true);
            steps = 0;
            continue;
        }
        NextFrame();
    }
}

// ---- state ---------------------------------------------------------------------------------------

QString AcsSequencer::PlayingAnimation() const
{
    return m_track ? AnimationAt(m_track->animation).name : QString();
}

const AcsFrame* AcsSequencer::CurrentFrame() const
{
    if (!m_visible || m_display.animation < 0)
        return nullptr;
    return &AnimationAt(m_display.animation).frames[m_display.frame];
}

const AcsOverlay* AcsSequencer::CurrentOverlay() const
{
    if (!m_speaking)
        return nullptr;
    const AcsFrame* frame = CurrentFrame();
    return frame ? AcsCharacter::FindOverlay(*frame, m_mouth) : nullptr;
}

AcsSequencer::Picture AcsSequencer::CurrentPicture() const
{
    if (!CurrentFrame())
        return {};
    return Picture{m_display.animation, m_display.frame, CurrentOverlay()};
}

// ---- playing -------------------------------------------------------------------------------------

int AcsSequencer::PickFromState(const QString& state)
{
    const QStringList names = m_character->StateAnimations(state);
    if (names.isEmpty())
        return -1;
    const quint32 pick = m_random(quint32(names.size()));
    return m_character->AnimationIndex(names[std::min<qsizetype>(pick, names.size() - 1)]);
}

void AcsSequencer::ShowRestPose()
{
    const auto firstDrawn = [&](int animation) {
        const QList<AcsFrame>& frames = AnimationAt(animation).frames;
        for (qsizetype f = 0; f < frames.size(); ++f) {
            if (!frames[f].images.isEmpty())
                return int(f);
        }
        return -1;
    };
    const int rest = m_character->AnimationIndex(AcsRestPoseName);
    if (rest >= 0 && firstDrawn(rest) >= 0) {
        m_display = Picture{rest, firstDrawn(rest)};
        return;
    }
    if (m_display.animation >= 0)
        return;
    for (qsizetype a = 0; a < m_character->Animations().size(); ++a) {
        if (firstDrawn(int(a)) >= 0) {
            m_display = Picture{int(a), firstDrawn(int(a))};
            return;
        }
    }
}

void AcsSequencer::StartTrack(int animation, Role role)
{
    m_restWaitMs.reset();
    m_track = Track{animation, 0, role};
    m_remainingMs = 0;
    if (AnimationAt(animation).frames.isEmpty()) {
        FinishTrack(false);
        return;
    }
    EnterFrame(0);
}

void AcsSequencer::EnterFrame(int frame)
{
    m_track->frame = frame;
    const AcsFrame& f = AnimationAt(m_track->animation).frames[frame];
    if (!f.images.isEmpty())
        m_display = Picture{m_track->animation, frame};
    if (f.soundIndex >= 0)
        Queue({AcsSequencerEvent::Kind::SoundStarted, {}, f.soundIndex});
    m_remainingMs += int(f.duration) * 10;
}

void AcsSequencer::NextFrame()
{
    Track& track = *m_track;
    const AcsAnimation& animation = AnimationAt(track.animation);
    const qsizetype frameCount = animation.frames.size();
    const AcsFrame& frame = animation.frames[track.frame];

    if (track.leaving) {
        int next = frame.exitBranch;
        if (next == AcsExit::None)
            next = track.frame + 1;
        // Exit chains visit each frame at most once; a longer one is a loop.
        if (next < 0 || next >= frameCount || ++track.leaveSteps > frameCount) {
            FinishTrack(true);
            return;
        }
        EnterFrame(next);
        return;
    }

    if (!frame.branches.isEmpty()) {
        const quint32 draw = m_random(100);
        quint32 covered = 0;
        for (const AcsBranch& branch : frame.branches) {
            covered += branch.probability;
            if (draw < covered && branch.targetFrame < frameCount) {
                EnterFrame(branch.targetFrame);
                return;
            }
        }
    }
    if (track.frame + 1 < frameCount)
        EnterFrame(track.frame + 1);
    else
        FinishTrack(false);
}

void AcsSequencer::Leave()
{
    if (!m_track || m_track->leaving)
        return;
    // Transitions always run to their end.
    if (m_track->role == Role::Showing || m_track->role == Role::Hiding || m_track->role == Role::Return)
        return;
    if (AnimationAt(m_track->animation).transition == AcsTransition::ExitBranches) {
        m_track->leaving = true; // from the end of the current frame
        return;
    }
    FinishTrack(true);
}

void AcsSequencer::FinishTrack(bool interrupted)
{
    const Track track = *m_track;
    m_track.reset();
    const AcsAnimation& animation = AnimationAt(track.animation);
    if (animation.transition == AcsTransition::ReturnAnimation && !animation.returnAnimation.isEmpty() &&
        track.role != Role::Return && track.role != Role::Hiding)
        m_owedReturn = animation.returnAnimation;

    switch (track.role) {
    case Role::Request:
        Queue({AcsSequencerEvent::Kind::AnimationDone, animation.name, -1, interrupted});
        break;
    case Role::Showing:
        Queue({AcsSequencerEvent::Kind::Shown});
        break;
    case Role::Hiding:
        HideNow();
        break;
    case Role::Return:
    case Role::Idle:
    case Role::Speaking:
        break;
    }
    RunPlan();
}

void AcsSequencer::RunPlan()
{
    if (m_track)
        return;
    while (!m_plan.empty()) {
        // Back to the rest pose before anything else plays.
        if (!m_owedReturn.isEmpty() && m_visible) {
            const int back = m_character->AnimationIndex(m_owedReturn);
            m_owedReturn.clear();
            if (back >= 0) {
                StartTrack(back, Role::Return);
                return;
            }
        }
        const Step step = m_plan.front();
        m_plan.pop_front();
        if (step.role == Role::Hiding && step.animation < 0) {
            HideNow();
            continue;
        }
        if (step.animation < 0 || !m_visible)
            continue;
        StartTrack(step.animation, step.role);
        return;
    }
    Rest();
}

void AcsSequencer::DropWaitingRequests()
{
    for (const Step& step : m_plan) {
        if (step.role == Role::Request)
            Queue({AcsSequencerEvent::Kind::AnimationDone, AnimationAt(step.animation).name, -1, true});
    }
    std::erase_if(m_plan, [](const Step& step) { return step.role == Role::Request; });
}

void AcsSequencer::HideNow()
{
    m_visible = false;
    m_owedReturn.clear();
    m_display = Picture{};
    m_restWaitMs.reset();
    Queue({AcsSequencerEvent::Kind::Hidden});
}

bool AcsSequencer::HasIdleAnimations() const
{
    return !m_character->StateAnimations(AcsStates::IdlingLevel1).isEmpty() ||
           !m_character->StateAnimations(AcsStates::IdlingLevel2).isEmpty() ||
           !m_character->StateAnimations(AcsStates::IdlingLevel3).isEmpty();
}

void AcsSequencer::Rest()
{
    m_restWaitMs.reset();
    if (m_track || !m_plan.empty() || !m_visible || m_speaking)
        return;
    if (!m_owedReturn.isEmpty()) {
        m_restWaitMs = m_idle.returnDelayMs;
        return;
    }
    if (!m_idle.enabled || !HasIdleAnimations())
        return;
    const quint32 spread = quint32(m_idle.maxIntervalMs - m_idle.minIntervalMs);
    m_restWaitMs = m_idle.minIntervalMs + int(spread == 0 ? 0 : m_random(spread + 1));
}

void AcsSequencer::RestTimeUp()
{
    m_restWaitMs.reset();
    if (!m_owedReturn.isEmpty()) {
        const int back = m_character->AnimationIndex(m_owedReturn);
        m_owedReturn.clear();
        if (back >= 0) {
            StartTrack(back, Role::Return);
            return;
        }
    }
    if (!m_idle.enabled) {
        Rest();
        return;
    }
    int idle = -1;
    if (m_quietMs >= m_idle.level3AfterMs)
        idle = PickFromState(AcsStates::IdlingLevel3);
    if (idle < 0 && m_quietMs >= m_idle.level2AfterMs)
        idle = PickFromState(AcsStates::IdlingLevel2);
    if (idle < 0)
        idle = PickFromState(AcsStates::IdlingLevel1);
    if (idle < 0)
        idle = PickFromState(AcsStates::IdlingLevel2);
    if (idle < 0) {
        Rest();
        return;
    }
    StartTrack(idle, Role::Idle);
}

// ---- reporting -----------------------------------------------------------------------------------

void AcsSequencer::Queue(AcsSequencerEvent event)
{
    NotePicture(); // a change of picture is reported before what happened after it
    m_events.push_back(std::move(event));
}

void AcsSequencer::NotePicture()
{
    const Picture now = CurrentPicture();
    if (now == m_reported)
        return;
    m_reported = now;
    m_events.push_back(AcsSequencerEvent{AcsSequencerEvent::Kind::FrameChanged});
}

void AcsSequencer::Flush()
{
    if (m_flushing)
        return; // the outer Flush reports what the listener's calls add
    m_flushing = true;
    for (size_t next = 0;;) {
        NotePicture();
        if (next >= m_events.size())
            break;
        const AcsSequencerEvent event = m_events[next++];
        if (m_listener)
            m_listener(event);
    }
    m_events.clear();
    m_flushing = false;
}
