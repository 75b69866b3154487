#include "speech/agent/AgentCharacter.h"

#include "speech/agent/ClockSpeechOutput.h"
#include "speech/agent/EspeakRenderer.h"
#include "speech/agent/SpeechVoice.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// NextFrame* results besides a frame index.
constexpr int AnimationEnds = -1;
constexpr int LeaveNow = -2;

// Zero-length frames in a row before they are given a length (a loop of them would spin).
constexpr int MaxZeroSteps = 64;
constexpr int ZeroStepFallbackMs = 10;

int CountWords(const QString& text)
{
    int words = 0;
    bool inWord = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++words;
        }
    }
    return words;
}

} // namespace

AgentCharacter::AgentCharacter(std::shared_ptr<const AcsCharacter> character, std::unique_ptr<IAgentView> view,
                               std::unique_ptr<ISpeechOutput> output, SpeechVoice* voice, QObject* parent)
    : QObject(parent)
    , m_character(std::move(character))
    , m_view(std::move(view))
    , m_output(std::move(output))
    , m_voice(voice)
    , m_random(QRandomGenerator::global()->generate())
{
    if (!m_output)
        m_output = std::make_unique<ClockSpeechOutput>();
    m_frameTimer.setSingleShot(true);
    m_idleTimer.setSingleShot(true);
    m_balloonTimer.setSingleShot(true);
    m_thinkTimer.setSingleShot(true);
    connect(&m_frameTimer, &QTimer::timeout, this, &AgentCharacter::OnFrameTimer);
    connect(&m_mouthTimer, &QTimer::timeout, this, &AgentCharacter::OnMouthTimer);
    connect(&m_moveTimer, &QTimer::timeout, this, &AgentCharacter::OnMoveTimer);
    connect(&m_idleTimer, &QTimer::timeout, this, &AgentCharacter::PlayIdle);
    connect(&m_balloonTimer, &QTimer::timeout, this, &AgentCharacter::HideBalloonNow);
    connect(&m_thinkTimer, &QTimer::timeout, this, &AgentCharacter::FinishThink);
    m_sinceRequest.start();
}

AgentCharacter::~AgentCharacter()
{
    if (m_voice && m_renderTicket)
        m_voice->Cancel(m_renderTicket);
    if (m_output)
        m_output->Stop();
}

// --- IAgentCharacter -------------------------------------------------------------------------------

void AgentCharacter::SetLanguageID(quint32 languageId)
{
    m_languageId = languageId;
}

int AgentCharacter::Width() const
{
    return m_character->Width();
}

int AgentCharacter::Height() const
{
    return m_character->Height();
}

void AgentCharacter::MoveTo(int x, int y)
{
    Request request;
    request.kind = Request::Kind::Move;
    request.target = QPoint(x, y);
    Enqueue(std::move(request));
}

void AgentCharacter::Show(bool fast)
{
    Request request;
    request.kind = Request::Kind::Show;
    request.fast = fast;
    Enqueue(std::move(request));
}

void AgentCharacter::Hide(bool fast)
{
    Request request;
    request.kind = Request::Kind::Hide;
    request.fast = fast;
    Enqueue(std::move(request));
}

void AgentCharacter::Play(const QString& animation)
{
    const int index = m_character->AnimationIndex(animation);
    if (index < 0)
        return; // the character lacks it: dropped
    Request request;
    request.kind = Request::Kind::Play;
    request.animation = index;
    Enqueue(std::move(request));
}

void AgentCharacter::Speak(const QString& text)
{
    Request request;
    request.kind = Request::Kind::Speak;
    request.speech = ParseSpeechText(text);
    request.balloonStyle = m_balloonStyle;
    Enqueue(std::move(request));
}

void AgentCharacter::Think(const QString& text)
{
    Request request;
    request.kind = Request::Kind::Think;
    request.text = text;
    request.balloonStyle = m_balloonStyle;
    Enqueue(std::move(request));
}

void AgentCharacter::StopAll()
{
    m_queue.clear();
    CancelCurrent();
    if (!m_processScheduled) {
        m_processScheduled = true;
        QMetaObject::invokeMethod(this, &AgentCharacter::ProcessNext, Qt::QueuedConnection);
    }
}

void AgentCharacter::SetBalloonStyle(quint32 style)
{
    m_balloonStyle = style;
}

QStringList AgentCharacter::AnimationNames() const
{
    return m_character->AnimationNames();
}

bool AgentCharacter::IsAnimating() const
{
    return m_processScheduled || m_frameTimer.isActive() || m_mouthTimer.isActive() || m_moveTimer.isActive() ||
           m_thinkTimer.isActive() || m_balloonTimer.isActive() || m_renderTicket != 0;
}

// --- The queue ---------------------------------------------------------------------------------------

AgentCharacter::Step AgentCharacter::Guarded(Step step)
{
    return [this, generation = m_generation, step = std::move(step)] {
        if (generation == m_generation && step)
            step();
    };
}

void AgentCharacter::Enqueue(Request request)
{
    m_queue.push_back(std::move(request));
    m_sinceRequest.restart();
    if (!m_busy && !m_processScheduled) {
        m_processScheduled = true;
        QMetaObject::invokeMethod(this, &AgentCharacter::ProcessNext, Qt::QueuedConnection);
    }
}

void AgentCharacter::ProcessNext()
{
    m_processScheduled = false;
    if (m_busy)
        return;
    if (m_queue.empty()) {
        GoToRest();
        emit Idle();
        return;
    }
    // Whatever the resting character was doing gives way.
    m_idleTimer.stop();
    ++m_generation;
    m_animationDone = nullptr;
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    m_busy = true;
    Start(m_current);
}

void AgentCharacter::Finish()
{
    if (!m_busy)
        return;
    m_busy = false;
    ++m_generation;
    emit RequestDone();
    if (!m_processScheduled) {
        m_processScheduled = true;
        QMetaObject::invokeMethod(this, &AgentCharacter::ProcessNext, Qt::QueuedConnection);
    }
}

void AgentCharacter::Start(const Request& request)
{
    m_loopGuard = true;
    switch (request.kind) {
    case Request::Kind::Show:
        StartShow(request);
        break;
    case Request::Kind::Hide:
        StartHide(request);
        break;
    case Request::Kind::Move:
        StartMove(request);
        break;
    case Request::Kind::Play:
        StartPlay(request);
        break;
    case Request::Kind::Speak:
        StartSpeak(request);
        break;
    case Request::Kind::Think:
        StartThink(request);
        break;
    }
}

void AgentCharacter::StartShow(const Request& request)
{
    if (m_visible) {
        Finish();
        return;
    }
    m_visible = true;
    m_frameTimer.stop();
    m_needsLeaving = false;
    const int showing = request.fast ? -1 : StateAnimation(AcsStates::Showing);
    if (showing < 0) {
        const int rest = RestAnimation();
        if (rest >= 0)
            HoldFrame(rest, 0);
        m_view->ShowWindow();
        Finish();
        return;
    }
    // The first frame is drawn before the window appears, so the last picture never flashes.
    PlayAnimation(showing, Guarded([this] { Finish(); }));
    m_view->ShowWindow();
}

void AgentCharacter::StartHide(const Request& request)
{
    if (!m_visible) {
        Finish();
        return;
    }
    HideBalloonNow();
    const auto hideNow = [this] {
        m_frameTimer.stop();
        m_needsLeaving = false;
        m_view->HideWindow();
        m_visible = false;
        Finish();
    };
    const int hiding = request.fast ? -1 : StateAnimation(AcsStates::Hiding);
    if (hiding < 0) {
        hideNow();
        return;
    }
    LeaveCurrent(Guarded([this, hiding, hideNow] { PlayAnimation(hiding, Guarded(hideNow)); }));
}

void AgentCharacter::StartMove(const Request& request)
{
    if (!m_visible) {
        m_view->MoveWindow(request.target);
        Finish();
        return;
    }
    const QPoint from = m_view->WindowPosition();
    if (from == request.target) {
        Finish();
        return;
    }
    const QPoint delta = request.target - from;
    const QString& state = std::abs(delta.x()) >= std::abs(delta.y())
                               ? (delta.x() > 0 ? AcsStates::MovingRight : AcsStates::MovingLeft)
                               : (delta.y() > 0 ? AcsStates::MovingDown : AcsStates::MovingUp);
    const int moving = StateAnimation(state);
    m_loopGuard = false; // the glide ends the moving animation
    LeaveCurrent(Guarded([this, moving, from, target = request.target] {
        if (moving >= 0)
            PlayAnimation(moving, nullptr);
        m_moveFrom = from;
        m_moveTo = target;
        m_moveClock.start();
        m_moveTimer.start(std::max(1, m_timing.moveStepMs));
    }));
}

void AgentCharacter::OnMoveTimer()
{
    const double t = m_timing.moveMs > 0 ? std::min(1.0, double(m_moveClock.elapsed()) / m_timing.moveMs) : 1.0;
    const double eased = t * t * (3 - 2 * t);
    const QPoint delta = m_moveTo - m_moveFrom;
    m_view->MoveWindow(m_moveFrom + QPoint(int(std::lround(delta.x() * eased)), int(std::lround(delta.y() * eased))));
    if (t < 1.0)
        return;
    m_moveTimer.stop();
    LeaveCurrent(Guarded([this] { Finish(); }));
}

void AgentCharacter::StartPlay(const Request& request)
{
    if (!m_visible) {
        Finish();
        return;
    }
    LeaveCurrent(
        Guarded([this, animation = request.animation] { PlayAnimation(animation, Guarded([this] { Finish(); })); }));
}

void AgentCharacter::StartSpeak(const Request& request)
{
    const SpeechText& text = request.speech;
    const bool hasPause = std::any_of(text.pieces.begin(), text.pieces.end(),
                                      [](const SpeechPiece& piece) { return piece.kind == SpeechPiece::Kind::Pause; });
    if (text.spoken.trimmed().isEmpty() && text.shown.trimmed().isEmpty() && !hasPause) {
        Finish();
        return;
    }
    m_loopGuard = false;
    if (m_visible && !CurrentFrameHasMouth()) {
        int speaking = StateAnimation(AcsStates::Speaking);
        if (speaking < 0)
            speaking = RestAnimation();
        if (speaking >= 0)
            LeaveCurrent(Guarded([this, speaking] { PlayAnimation(speaking, nullptr); }));
    }
    m_speaking = false;
    m_balloonTimer.stop();
    if (!m_voice) {
        BeginSpeech(nullptr);
        return;
    }
    EspeakRenderer::Voice voice;
    voice.name = EspeakRenderer::VoiceForLanguage(m_languageId);
    if (const auto& info = m_character->Info().voice) {
        if (info->speed != 0xFFFFFFFF && info->speed <= 1000)
            voice.defaultSpeed = int(info->speed);
        if (info->pitch != 0xFFFF)
            voice.defaultPitch = info->pitch;
    }
    const quint64 generation = m_generation;
    m_renderTicket = m_voice->Render(text, voice, [this, generation](std::shared_ptr<const RenderedSpeech> speech) {
        if (generation != m_generation)
            return;
        m_renderTicket = 0;
        BeginSpeech(std::move(speech));
    });
}

void AgentCharacter::BeginSpeech(std::shared_ptr<const RenderedSpeech> speech)
{
    const SpeechText& text = m_current.speech;
    m_speech = std::move(speech);
    m_silentSpeech = !m_speech || m_speech->samples.empty();
    if (m_silentSpeech) {
        int pauses = 0;
        for (const SpeechPiece& piece : text.pieces)
            pauses += piece.pauseMs;
        m_readingMs = text.shown.trimmed().isEmpty() ? pauses : ReadingMs(text.shown) + pauses;
        m_readingClock.start();
    } else {
        m_output->Start(m_speech);
    }
    m_speaking = true;
    m_mouth = RenderedSpeech::MouthClosed;
    m_revealed = 0;
    const quint32 style = m_current.balloonStyle;
    if (m_visible && (style & BalloonOn) && !text.shown.trimmed().isEmpty()) {
        m_balloonPaced = style & BalloonAutoPace;
        m_balloonAutoHide = style & BalloonAutoHide;
        m_revealed = m_balloonPaced ? 0 : int(text.shown.size());
        ShowBalloonFor(AgentBalloon{text.shown, false, style}, m_revealed);
    }
    m_mouthTimer.start(std::max(1, m_timing.mouthStepMs));
    OnMouthTimer();
}

void AgentCharacter::OnMouthTimer()
{
    if (!m_speaking)
        return;
    const SpeechText& text = m_current.speech;
    int revealed = m_revealed;
    RenderedSpeech::Mouth mouth = RenderedSpeech::MouthClosed;
    bool done = false;
    if (m_silentSpeech) {
        const qint64 elapsed = m_readingClock.elapsed();
        done = elapsed >= m_readingMs;
        if (m_readingMs > 0) {
            revealed = int(std::min<qint64>(text.shown.size(), text.shown.size() * elapsed / m_readingMs));
            while (revealed < text.shown.size() && !text.shown[revealed].isSpace())
                ++revealed;
        }
    } else {
        const qint64 played = m_output->PlayedSamples();
        mouth = m_speech->MouthAt(played);
        const auto word =
            std::upper_bound(m_speech->words.begin(), m_speech->words.end(), played,
                             [](qint64 sample, const RenderedSpeech::Word& w) { return sample < w.sample; });
        if (word != m_speech->words.begin()) {
            const RenderedSpeech::Word& current = *std::prev(word);
            revealed = text.ShownEndFor(current.spokenPosition, current.spokenLength);
        }
        done = m_output->IsFinished();
    }
    if (m_balloonShown && m_balloonPaced && revealed > m_revealed) {
        m_revealed = revealed;
        m_view->RevealBalloon(m_revealed);
    }
    if (mouth != m_mouth) {
        m_mouth = mouth;
        if (CurrentFrameHasMouth())
            DrawCurrent();
    }
    if (done)
        EndSpeech();
}

void AgentCharacter::EndSpeech()
{
    m_mouthTimer.stop();
    m_speaking = false;
    m_speech.reset();
    m_mouth = RenderedSpeech::MouthClosed;
    if (CurrentFrameHasMouth())
        DrawCurrent(); // without the mouth overlay
    if (m_balloonShown) {
        const int all = int(m_current.speech.shown.size());
        if (m_revealed < all) {
            m_revealed = all;
            m_view->RevealBalloon(all);
        }
        if (m_balloonAutoHide)
            m_balloonTimer.start(std::max(0, m_timing.balloonLingerMs));
    }
    Finish();
}

void AgentCharacter::StartThink(const Request& request)
{
    if (!m_visible || !(request.balloonStyle & BalloonOn) || request.text.trimmed().isEmpty()) {
        Finish();
        return;
    }
    m_balloonTimer.stop();
    m_balloonAutoHide = request.balloonStyle & BalloonAutoHide;
    m_balloonPaced = false;
    ShowBalloonFor(AgentBalloon{request.text, true, request.balloonStyle}, int(request.text.size()));
    m_thinkTimer.start(ReadingMs(request.text));
}

void AgentCharacter::FinishThink()
{
    if (m_balloonAutoHide)
        HideBalloonNow();
    Finish();
}

int AgentCharacter::ReadingMs(const QString& text) const
{
    const qint64 ms = qint64(CountWords(text)) * m_timing.readingMsPerWord;
    return int(std::clamp<qint64>(ms, m_timing.readingMinMs, std::max(m_timing.readingMinMs, m_timing.readingMaxMs)));
}

void AgentCharacter::ShowBalloonFor(const AgentBalloon& balloon, int revealed)
{
    m_balloonTimer.stop();
    m_balloonShown = true;
    m_view->ShowBalloon(balloon, revealed);
}

void AgentCharacter::HideBalloonNow()
{
    m_balloonTimer.stop();
    if (!m_balloonShown)
        return;
    m_balloonShown = false;
    m_view->HideBalloon();
}

void AgentCharacter::CancelCurrent()
{
    ++m_generation;
    m_animationDone = nullptr;
    if (m_voice && m_renderTicket)
        m_voice->Cancel(m_renderTicket);
    m_renderTicket = 0;
    m_output->Stop();
    m_mouthTimer.stop();
    m_speaking = false;
    m_speech.reset();
    m_mouth = RenderedSpeech::MouthClosed;
    m_thinkTimer.stop();
    m_moveTimer.stop();
    HideBalloonNow();
    m_frameTimer.stop();
    m_exiting = false;
    m_needsLeaving = false;
    if (m_visible) {
        const int rest = RestAnimation();
        if (rest >= 0)
            HoldFrame(rest, 0);
    }
    if (m_busy) {
        m_busy = false;
        emit RequestDone();
    }
}

// --- Resting -----------------------------------------------------------------------------------------

void AgentCharacter::GoToRest()
{
    if (!m_visible) {
        m_frameTimer.stop();
        return;
    }
    m_loopGuard = true;
    const int rest = RestAnimation();
    const bool holdingRest = m_animation == rest && !m_frameTimer.isActive() && !m_needsLeaving;
    if (rest < 0 || holdingRest) {
        LeaveCurrent(Guarded([this] { ScheduleIdle(); }));
        return;
    }
    LeaveCurrent(Guarded([this, rest] { PlayAnimation(rest, Guarded([this] { ScheduleIdle(); })); }));
}

void AgentCharacter::ScheduleIdle()
{
    if (!m_visible || m_busy)
        return;
    const int low = std::max(0, m_timing.idleMinMs);
    const int high = std::max(low, m_timing.idleMaxMs);
    m_idleTimer.start(low + int(m_random.bounded(quint32(high - low) + 1)));
}

void AgentCharacter::PlayIdle()
{
    if (!m_visible || m_busy || !m_queue.empty())
        return;
    int idle = -1;
    if (m_sinceRequest.elapsed() >= m_timing.idleLevel2AfterMs)
        idle = StateAnimation(AcsStates::IdlingLevel2);
    if (idle < 0)
        idle = StateAnimation(AcsStates::IdlingLevel1);
    if (idle < 0)
        return; // nothing to play: the character just holds its pose
    m_loopGuard = true;
    LeaveCurrent(Guarded([this, idle] { PlayAnimation(idle, Guarded([this] { GoToRest(); })); }));
}

// --- The frame player --------------------------------------------------------------------------------

int AgentCharacter::StateAnimation(const QString& state)
{
    const QStringList names = m_character->StateAnimations(state);
    if (names.isEmpty())
        return -1;
    return m_character->AnimationIndex(names[qsizetype(m_random.bounded(quint32(names.size())))]);
}

int AgentCharacter::RestAnimation() const
{
    int rest = m_character->AnimationIndex(AcsRestPoseName);
    if (rest < 0) {
        const QStringList speaking = m_character->StateAnimations(AcsStates::Speaking);
        if (!speaking.isEmpty())
            rest = m_character->AnimationIndex(speaking.first());
    }
    if (rest < 0 && !m_character->Animations().isEmpty())
        rest = 0;
    return rest;
}

void AgentCharacter::PlayAnimation(int animation, Step then)
{
    m_frameTimer.stop();
    m_animation = animation;
    m_frame = -1;
    m_exiting = false;
    m_zeroSteps = 0;
    m_animationDone = std::move(then);
    m_animationClock.start();
    const AcsAnimation& anim = m_character->Animations()[animation];
    m_needsLeaving =
        anim.transition == AcsTransition::ExitBranches ||
        (anim.transition == AcsTransition::ReturnAnimation && m_character->AnimationIndex(anim.returnAnimation) >= 0);
    if (anim.frames.isEmpty()) {
        EndAnimation();
        return;
    }
    ShowFrame(0);
}

void AgentCharacter::HoldFrame(int animation, int frame)
{
    m_frameTimer.stop();
    m_animationDone = nullptr;
    m_exiting = false;
    m_needsLeaving = false;
    m_animation = animation;
    m_frame = m_character->Animations()[animation].frames.isEmpty() ? -1 : frame;
    DrawCurrent();
}

void AgentCharacter::LeaveCurrent(Step then)
{
    m_frameTimer.stop();
    m_animationDone = nullptr;
    m_exiting = false;
    if (m_animation < 0 || !m_needsLeaving) {
        m_needsLeaving = false;
        then();
        return;
    }
    m_needsLeaving = false;
    const AcsAnimation& anim = m_character->Animations()[m_animation];
    if (anim.transition == AcsTransition::ReturnAnimation) {
        const int back = m_character->AnimationIndex(anim.returnAnimation);
        if (back < 0) {
            then();
            return;
        }
        PlayAnimation(back, std::move(then));
        m_needsLeaving = false; // a return animation is not left again
        return;
    }
    // Along the exit branches from the frame on screen.
    m_exiting = true;
    m_exitSteps = 0;
    m_animationDone = std::move(then);
    m_animationClock.start();
    const int next = m_frame < 0 ? AnimationEnds : NextFrameExiting();
    if (next < 0)
        EndAnimation();
    else
        ShowFrame(next);
}

void AgentCharacter::ShowFrame(int frame)
{
    m_frame = frame;
    DrawCurrent();
    const AcsFrame& current = m_character->Animations()[m_animation].frames[frame];
    int ms = int(current.duration) * 10;
    if (ms == 0) {
        if (++m_zeroSteps > MaxZeroSteps)
            ms = ZeroStepFallbackMs;
    } else {
        m_zeroSteps = 0;
    }
    m_frameTimer.start(ms);
}

void AgentCharacter::OnFrameTimer()
{
    int next = m_exiting ? NextFrameExiting() : NextFrameForward();
    if (next == LeaveNow) {
        const AcsAnimation& anim = m_character->Animations()[m_animation];
        if (anim.transition == AcsTransition::ExitBranches) {
            m_exiting = true;
            m_exitSteps = 0;
            m_needsLeaving = false;
            next = NextFrameExiting();
        } else {
            next = AnimationEnds;
        }
    }
    if (next < 0)
        EndAnimation();
    else
        ShowFrame(next);
}

int AgentCharacter::NextFrameForward()
{
    const AcsAnimation& anim = m_character->Animations()[m_animation];
    const AcsFrame& frame = anim.frames[m_frame];
    int target = -1;
    if (!frame.branches.isEmpty()) {
        const int roll = int(m_random.bounded(100u));
        int sum = 0;
        for (const AcsBranch& branch : frame.branches) {
            sum += branch.probability;
            if (roll < sum) {
                target = branch.targetFrame;
                break;
            }
        }
    }
    if (target >= 0 && target < anim.frames.size()) {
        const bool loops = target <= m_frame;
        const bool othersWait = !m_queue.empty() || m_animationClock.elapsed() >= m_timing.loopLimitMs;
        if (loops && m_loopGuard && othersWait)
            return LeaveNow;
        return target;
    }
    return m_frame + 1 < anim.frames.size() ? m_frame + 1 : AnimationEnds;
}

int AgentCharacter::NextFrameExiting()
{
    const AcsAnimation& anim = m_character->Animations()[m_animation];
    if (++m_exitSteps > 2 * int(anim.frames.size()) + 4)
        return AnimationEnds;
    const qint16 exit = anim.frames[m_frame].exitBranch;
    if (exit == AcsExit::End)
        return AnimationEnds;
    if (exit < 0)
        return m_frame + 1 < anim.frames.size() ? m_frame + 1 : AnimationEnds;
    return exit < anim.frames.size() ? exit : AnimationEnds;
}

void AgentCharacter::EndAnimation()
{
    m_frameTimer.stop();
    if (m_exiting) {
        m_exiting = false;
        m_needsLeaving = false;
    }
    Step done = std::move(m_animationDone);
    m_animationDone = nullptr;
    if (done)
        done();
}

bool AgentCharacter::CurrentFrameHasMouth() const
{
    if (m_animation < 0 || m_frame < 0)
        return false;
    return !m_character->Animations()[m_animation].frames[m_frame].overlays.isEmpty();
}

void AgentCharacter::DrawCurrent()
{
    if (m_animation < 0 || m_frame < 0)
        return;
    const AcsFrame& frame = m_character->Animations()[m_animation].frames[m_frame];
    const AcsOverlay* overlay = m_speaking ? AcsCharacter::FindOverlay(frame, AcsMouthShape(quint8(m_mouth))) : nullptr;
    AgentPicture picture;
    // The frame lists its images top-most first: lay them from the last to the first.
    for (qsizetype i = frame.images.size() - 1; i >= 0; --i) {
        if (i == 0 && overlay && overlay->replaceTopImage)
            continue;
        const AcsFrameImage& image = frame.images[i];
        picture.layers.push_back(AgentPicture::Layer{image.imageIndex, image.x, image.y});
    }
    if (overlay)
        picture.layers.push_back(AgentPicture::Layer{overlay->imageIndex, overlay->x, overlay->y});
    m_view->DrawFrame(picture);
}
