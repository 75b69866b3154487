#include "agent/AgentCharacter.h"

#include "agent/ClockSpeechOutput.h"
#include "agent/EspeakRenderer.h"
#include "agent/SpeechVoice.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

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

// How long one pass through an animation takes at most without a branch back: all its frames.
int OnePassMs(const AcsAnimation& animation)
{
    qint64 ms = 0;
    for (const AcsFrame& frame : animation.frames)
        ms += qint64(frame.duration) * 10;
    return int(std::min<qint64>(ms, 1 << 30));
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
    m_animator = std::make_unique<AcsAnimator>(
        m_character, [this](quint32 bound) { return bound == 0 ? 0u : m_random.bounded(bound); });
    m_animator->SetIdlePolicy(m_timing.idle);
    connect(m_animator.get(), &AcsAnimator::frameChanged, this, &AgentCharacter::DrawCurrent);
    connect(m_animator.get(), &AcsAnimator::shown, this, &AgentCharacter::OnShown);
    connect(m_animator.get(), &AcsAnimator::hidden, this, &AgentCharacter::OnHidden);
    connect(m_animator.get(), &AcsAnimator::animationDone, this, &AgentCharacter::OnAnimationDone);
    connect(m_animator.get(), &AcsAnimator::soundStarted, this, &AgentCharacter::PlaySound);

    m_loopTimer.setSingleShot(true);
    m_balloonTimer.setSingleShot(true);
    m_thinkTimer.setSingleShot(true);
    connect(&m_loopTimer, &QTimer::timeout, this, &AgentCharacter::CheckLoop);
    connect(&m_mouthTimer, &QTimer::timeout, this, &AgentCharacter::OnMouthTimer);
    connect(&m_moveTimer, &QTimer::timeout, this, &AgentCharacter::OnMoveTimer);
    connect(&m_balloonTimer, &QTimer::timeout, this, &AgentCharacter::HideBalloonNow);
    connect(&m_thinkTimer, &QTimer::timeout, this, &AgentCharacter::FinishThink);
}

AgentCharacter::~AgentCharacter()
{
    if (m_voice && m_renderTicket)
        m_voice->Cancel(m_renderTicket);
    m_output->Stop();
    if (m_soundOutput)
        m_soundOutput->StopAll();
}

// --- IAgentCharacter -------------------------------------------------------------------------------

void AgentCharacter::SetLanguageID(quint32 languageId)
{
    m_languageId = languageId;
}

QString AgentCharacter::Name() const
{
    const QList<AcsLocalizedInfo>& names = m_character->Info().localized;
    for (const AcsLocalizedInfo& info : names) {
        if ((info.languageId & 0x3FF) == (m_languageId & 0x3FF))
            return info.name.trimmed();
    }
    return names.isEmpty() ? QString() : names.first().name.trimmed();
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
    const AcsAnimation* found = m_character->FindAnimation(animation);
    if (!found)
        return; // the character lacks it: dropped
    Request request;
    request.kind = Request::Kind::Play;
    request.animation = found->name;
    Enqueue(std::move(request));
}

void AgentCharacter::Speak(const QString& text)
{
    Request request;
    request.kind = Request::Kind::Speak;
    request.speech = ParseSpeechText(text);
    request.balloonStyle = RequestBalloonStyle();
    Enqueue(std::move(request));
}

void AgentCharacter::Think(const QString& text)
{
    Request request;
    request.kind = Request::Kind::Think;
    // The balloon shows what Speak's balloon would: the shown half of a \Map, no other tag.
    request.text = ParseSpeechText(text).shown;
    request.balloonStyle = RequestBalloonStyle();
    Enqueue(std::move(request));
}

void AgentCharacter::StopAll()
{
    m_queue.clear();
    CancelCurrent();
    ScheduleProcess();
}

quint32 AgentCharacter::RequestBalloonStyle() const
{
    // A character whose file turns its balloon off never gets one.
    return m_character->Info().balloon ? m_balloonStyle : 0;
}

void AgentCharacter::SetBalloonStyle(quint32 style)
{
    m_balloonStyle = style;
}

QStringList AgentCharacter::AnimationNames() const
{
    return m_character->AnimationNames();
}

void AgentCharacter::SetTiming(const Timing& timing)
{
    m_timing = timing;
    m_animator->SetIdlePolicy(timing.idle);
}

void AgentCharacter::SetSoundOutput(std::unique_ptr<IFrameSoundOutput> output)
{
    if (m_soundOutput)
        m_soundOutput->StopAll();
    m_soundOutput = std::move(output);
}

bool AgentCharacter::IsVisible() const
{
    return m_animator->IsVisible();
}

bool AgentCharacter::IsAnimating() const
{
    return m_processScheduled || m_animator->IsTimerActive() || m_mouthTimer.isActive() || m_moveTimer.isActive() ||
           m_thinkTimer.isActive() || m_balloonTimer.isActive() || m_loopTimer.isActive() || m_renderTicket != 0;
}

// --- The queue ---------------------------------------------------------------------------------------

void AgentCharacter::Enqueue(Request request)
{
    m_queue.push_back(std::move(request));
    if (!m_busy)
        ScheduleProcess();
    else if (m_animationPending && IsCurrent(Request::Kind::Play))
        CheckLoop(); // an animation that already loops gives way now
}

void AgentCharacter::ScheduleProcess()
{
    if (m_processScheduled)
        return;
    m_processScheduled = true;
    QMetaObject::invokeMethod(this, &AgentCharacter::ProcessNext, Qt::QueuedConnection);
}

void AgentCharacter::ProcessNext()
{
    m_processScheduled = false;
    if (m_busy)
        return;
    if (m_queue.empty()) {
        emit Idle();
        return;
    }
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
    m_animationPending = false;
    m_loopTimer.stop();
    emit RequestDone();
    ScheduleProcess();
}

void AgentCharacter::Start(const Request& request)
{
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
    if (IsVisible()) {
        Finish();
        return;
    }
    // The animator draws the first frame before the window appears, so no old picture flashes.
    m_animator->Show(request.fast);
    m_view->ShowWindow();
}

void AgentCharacter::OnShown()
{
    if (IsCurrent(Request::Kind::Show))
        Finish();
}

void AgentCharacter::StartHide(const Request& request)
{
    if (!IsVisible()) {
        Finish();
        return;
    }
    HideBalloonNow();
    m_animator->Hide(request.fast);
}

void AgentCharacter::OnHidden()
{
    m_view->HideWindow();
    if (IsCurrent(Request::Kind::Hide))
        Finish();
}

void AgentCharacter::StartPlay(const Request& request)
{
    if (!IsVisible() || !m_animator->Play(request.animation)) {
        Finish();
        return;
    }
    m_animationPending = true;
    m_onePassMs = OnePassMs(*m_character->FindAnimation(request.animation));
    m_playClock.start();
    m_loopTimer.start(m_onePassMs + std::max(0, m_timing.loopSlackMs));
}

void AgentCharacter::CheckLoop()
{
    if (!m_animationPending || !IsCurrent(Request::Kind::Play))
        return;
    const qint64 played = m_playClock.elapsed();
    const bool looping = played >= m_onePassMs + m_timing.loopSlackMs;
    if (looping && (!m_queue.empty() || played >= m_timing.loopLimitMs)) {
        m_animator->Stop(); // through its exit branches, then animationDone
        return;
    }
    if (!m_loopTimer.isActive()) {
        const qint64 next = looping ? m_timing.loopLimitMs - played : m_onePassMs + m_timing.loopSlackMs - played;
        m_loopTimer.start(int(std::clamp<qint64>(next, 0, 1 << 30)));
    }
}

void AgentCharacter::OnAnimationDone()
{
    if (!m_animationPending)
        return;
    m_animationPending = false;
    m_loopTimer.stop();
    if (IsCurrent(Request::Kind::Play) || (IsCurrent(Request::Kind::Move) && !m_gliding))
        Finish();
}

void AgentCharacter::StartMove(const Request& request)
{
    if (!IsVisible()) {
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
    m_gliding = true;
    m_animationPending = m_animator->PlayState(state);
    m_moveFrom = from;
    m_moveTo = request.target;
    m_moveClock.start();
    m_moveTimer.start(std::max(1, m_timing.moveStepMs));
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
    m_gliding = false;
    if (m_animationPending)
        m_animator->Stop(); // the moving animation ends with the glide; animationDone finishes
    else
        Finish();
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
    m_balloonTimer.stop();
    // Into a speaking pose while the words are rendered.
    m_animator->SetSpeaking(true);
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
        m_renderTicket = 0;
        if (generation == m_generation)
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
    if (IsVisible() && (style & BalloonOn) && !text.shown.trimmed().isEmpty()) {
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
        m_animator->SetMouth(AcsMouthShape(quint8(mouth)));
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
    m_animator->SetSpeaking(false);
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
    if (!IsVisible() || !(request.balloonStyle & BalloonOn) || request.text.trimmed().isEmpty()) {
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
    if (m_voice && m_renderTicket)
        m_voice->Cancel(m_renderTicket);
    m_renderTicket = 0;
    m_output->Stop();
    if (m_soundOutput)
        m_soundOutput->StopAll();
    m_mouthTimer.stop();
    m_speaking = false;
    m_speech.reset();
    m_mouth = RenderedSpeech::MouthClosed;
    m_thinkTimer.stop();
    m_moveTimer.stop();
    m_gliding = false;
    m_loopTimer.stop();
    m_animationPending = false;
    HideBalloonNow();
    // Shown or hidden stays as it is; the character stands in its rest pose.
    m_animator->StopAll();
    if (m_busy) {
        m_busy = false;
        emit RequestDone();
    }
}

// --- Sounds ------------------------------------------------------------------------------------------

void AgentCharacter::PlaySound(int sound)
{
    const QList<AcsSound>& sounds = m_character->Sounds();
    if (!m_soundOutput || sound < 0 || sound >= sounds.size())
        return;
    m_sounds.resize(size_t(sounds.size()));
    std::optional<std::shared_ptr<const PcmSound>>& decoded = m_sounds[size_t(sound)];
    if (!decoded) {
        std::optional<PcmSound> pcm = WaveDecoder::Decode(sounds[sound].wave);
        decoded = pcm ? std::make_shared<const PcmSound>(std::move(*pcm)) : nullptr;
    }
    if (*decoded)
        m_soundOutput->Play(*decoded);
}

// --- Drawing -----------------------------------------------------------------------------------------

void AgentCharacter::DrawCurrent()
{
    const AcsFrame* frame = m_animator->CurrentFrame();
    if (!frame)
        return; // hidden: the window goes with the hidden report
    const AcsOverlay* overlay = m_animator->CurrentOverlay();
    AgentPicture picture;
    // The frame lists its images top-most first: lay them from the last to the first.
    for (qsizetype i = frame->images.size() - 1; i >= 0; --i) {
        if (i == 0 && overlay && overlay->replaceTopImage)
            continue;
        const AcsFrameImage& image = frame->images[i];
        picture.layers.push_back(AgentPicture::Layer{image.imageIndex, image.x, image.y});
    }
    if (overlay)
        picture.layers.push_back(AgentPicture::Layer{overlay->imageIndex, overlay->x, overlay->y});
    m_view->DrawFrame(picture);
}
