#include "agent/EspeakRenderer.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

std::mutex s_lock;
int s_sampleRate = 0; // 0 not tried yet, -1 failed, else the synthesizer's rate
QString s_voiceName;

// What the synthesizer callback fills during one espeak_Synth call.
struct RenderContext
{
    std::vector<qint16>* samples = nullptr;
    std::vector<RenderedSpeech::Word>* words = nullptr;
    qint64 baseSample = 0;
    const std::vector<int>* positions = nullptr; // code point index -> index in the spoken text
    const std::atomic_bool* cancel = nullptr;
};

// The render in progress (set under s_lock for the length of one espeak_Synth call).
RenderContext* s_context = nullptr;

int SynthCallback(short* wav, int count, espeak_EVENT* events)
{
    RenderContext* context = s_context;
    if (!context)
        return 0;
    for (espeak_EVENT* event = events; event && event->type != espeakEVENT_LIST_TERMINATED; ++event) {
        if (event->type != espeakEVENT_WORD || event->length <= 0)
            continue;
        const std::vector<int>& positions = *context->positions;
        const int last = int(positions.size()) - 1;
        const int begin = std::clamp(event->text_position - 1, 0, last);
        const int end = std::clamp(event->text_position - 1 + event->length, 0, last);
        RenderedSpeech::Word word;
        word.sample = context->baseSample + std::max(0, event->sample);
        word.spokenPosition = positions[size_t(begin)];
        word.spokenLength = positions[size_t(end)] - positions[size_t(begin)];
        context->words->push_back(word);
    }
    if (wav && count > 0)
        context->samples->insert(context->samples->end(), wav, wav + count);
    return context->cancel && context->cancel->load() ? 1 : 0;
}

bool EnsureInitialisedLocked()
{
    if (s_sampleRate == 0) {
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr, espeakINITIALIZE_DONT_EXIT);
        s_sampleRate = rate > 0 ? rate : -1;
        if (s_sampleRate > 0)
            espeak_SetSynthCallback(SynthCallback);
    }
    return s_sampleRate > 0;
}

void SelectVoiceLocked(const QString& name)
{
    if (name == s_voiceName)
        return;
    if (espeak_SetVoiceByName(name.toUtf8().constData()) != EE_OK)
        espeak_SetVoiceByName("en");
    s_voiceName = name;
}

// A run of the spoken text rendered in one call: consecutive spoken pieces with one speed and pitch.
struct Chunk
{
    int spokenBegin = 0;
    int spokenEnd = 0;
    int speed = 0;
    int pitch = 0;
    int pauseMs = -1; // >= 0: a pause instead of text
};

std::vector<Chunk> ChunksOf(const SpeechText& text)
{
    std::vector<Chunk> chunks;
    for (const SpeechPiece& piece : text.pieces) {
        if (piece.kind == SpeechPiece::Kind::Pause) {
            chunks.push_back(Chunk{piece.spokenBegin, piece.spokenBegin, 0, 0, piece.pauseMs});
            continue;
        }
        if (piece.spokenBegin == piece.spokenEnd)
            continue;
        if (!chunks.empty() && chunks.back().pauseMs < 0 && chunks.back().speed == piece.speed &&
            chunks.back().pitch == piece.pitch && chunks.back().spokenEnd == piece.spokenBegin) {
            chunks.back().spokenEnd = piece.spokenEnd;
            continue;
        }
        chunks.push_back(Chunk{piece.spokenBegin, piece.spokenEnd, piece.speed, piece.pitch, -1});
    }
    return chunks;
}

void ComputeMouthTrack(RenderedSpeech& speech)
{
    speech.mouthWindow = std::max(1, speech.sampleRate / 20);
    const size_t window = size_t(speech.mouthWindow);
    std::vector<double> levels;
    for (size_t start = 0; start < speech.samples.size(); start += window) {
        const size_t end = std::min(speech.samples.size(), start + window);
        double sum = 0;
        for (size_t i = start; i < end; ++i)
            sum += double(speech.samples[i]) * double(speech.samples[i]);
        levels.push_back(std::sqrt(sum / double(end - start)));
    }
    const double peak = levels.empty() ? 0.0 : *std::max_element(levels.begin(), levels.end());
    speech.mouth.clear();
    speech.mouth.reserve(levels.size());
    for (const double level : levels) {
        const double share = peak > 0 ? level / peak : 0.0;
        RenderedSpeech::Mouth shape = RenderedSpeech::MouthClosed;
        if (share >= 0.8)
            shape = RenderedSpeech::MouthWide3;
        else if (share >= 0.6)
            shape = RenderedSpeech::MouthWide2;
        else if (share >= 0.4)
            shape = RenderedSpeech::MouthWide1;
        else if (share >= 0.2)
            shape = RenderedSpeech::MouthMedium;
        else if (share >= 0.06)
            shape = RenderedSpeech::MouthNarrow;
        speech.mouth.push_back(shape);
    }
}

} // namespace

bool EspeakRenderer::IsAvailable()
{
    const std::lock_guard lock(s_lock);
    return EnsureInitialisedLocked();
}

QString EspeakRenderer::VoiceForLanguage(quint32 languageId)
{
    struct LanguageVoice
    {
        quint32 primary;
        const char16_t* voice;
    };
    static constexpr LanguageVoice Voices[] = {
        {0x07, u"de"}, {0x0C, u"fr"}, {0x0A, u"es"}, {0x10, u"it"}, {0x13, u"nl"}, {0x16, u"pt"},
        {0x1D, u"sv"}, {0x14, u"nb"}, {0x06, u"da"}, {0x0B, u"fi"}, {0x15, u"pl"}, {0x05, u"cs"},
        {0x19, u"ru"}, {0x0E, u"hu"}, {0x08, u"el"}, {0x1F, u"tr"},
    };
    if (languageId == 0x0409)
        return u"en-us"_s;
    if (languageId == 0x0416)
        return u"pt-br"_s;
    const quint32 primary = languageId & 0x3FF;
    for (const LanguageVoice& entry : Voices) {
        if (entry.primary == primary)
            return QString::fromUtf16(entry.voice);
    }
    return u"en"_s;
}

std::optional<RenderedSpeech> EspeakRenderer::Render(const SpeechText& text, const Voice& voice,
                                                     const std::atomic_bool* cancel)
{
    const std::lock_guard lock(s_lock);
    if (!EnsureInitialisedLocked())
        return std::nullopt;
    SelectVoiceLocked(voice.name);

    RenderedSpeech speech;
    speech.sampleRate = s_sampleRate;
    for (const Chunk& chunk : ChunksOf(text)) {
        if (cancel && cancel->load())
            return std::nullopt;
        if (chunk.pauseMs >= 0) {
            speech.samples.resize(speech.samples.size() + size_t(qint64(chunk.pauseMs) * s_sampleRate / 1000));
            continue;
        }
        const QString part = text.spoken.mid(chunk.spokenBegin, chunk.spokenEnd - chunk.spokenBegin);
        if (part.trimmed().isEmpty())
            continue;
        // espeak-ng counts text positions in code points; keep where each one starts in the QString.
        std::vector<int> positions;
        for (int i = 0; i < part.size(); ++i) {
            positions.push_back(chunk.spokenBegin + i);
            if (part[i].isHighSurrogate() && i + 1 < part.size() && part[i + 1].isLowSurrogate())
                ++i;
        }
        positions.push_back(chunk.spokenEnd);

        espeak_SetParameter(espeakRATE, EspeakRateForAgentSpeed(chunk.speed ? chunk.speed : voice.defaultSpeed), 0);
        espeak_SetParameter(espeakPITCH, EspeakPitchForAgentPitch(chunk.pitch ? chunk.pitch : voice.defaultPitch), 0);
        RenderContext context;
        context.samples = &speech.samples;
        context.words = &speech.words;
        context.baseSample = qint64(speech.samples.size());
        context.positions = &positions;
        context.cancel = cancel;
        const QByteArray utf8 = part.toUtf8();
        s_context = &context;
        espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                     nullptr);
        s_context = nullptr;
        if (cancel && cancel->load())
            return std::nullopt;
    }
    std::stable_sort(speech.words.begin(), speech.words.end(),
                     [](const RenderedSpeech::Word& a, const RenderedSpeech::Word& b) { return a.sample < b.sample; });
    ComputeMouthTrack(speech);
    return speech;
}
