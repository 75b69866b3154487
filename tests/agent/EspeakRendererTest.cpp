#include "agent/EspeakRenderer.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

RenderedSpeech RenderOrFail(const QString& request, const EspeakRenderer::Voice& voice = {})
{
    std::optional<RenderedSpeech> speech = EspeakRenderer::Render(ParseSpeechText(request), voice);
    EXPECT_TRUE(speech.has_value());
    return speech.value_or(RenderedSpeech{});
}

QStringList SpokenWords(const QString& request, const RenderedSpeech& speech)
{
    const SpeechText text = ParseSpeechText(request);
    QStringList words;
    for (const RenderedSpeech::Word& word : speech.words)
        words << text.spoken.mid(word.spokenPosition, word.spokenLength);
    return words;
}

// The median fundamental frequency of the voiced 40 ms windows, by autocorrelation (60-500 Hz).
double MedianPitchHz(const RenderedSpeech& speech)
{
    const int window = speech.sampleRate / 25;
    const int minLag = speech.sampleRate / 500;
    const int maxLag = speech.sampleRate / 60;
    std::vector<double> pitches;
    for (size_t start = 0; start + size_t(window + maxLag) < speech.samples.size(); start += size_t(window)) {
        double energy = 0;
        for (int i = 0; i < window; ++i)
            energy += double(speech.samples[start + size_t(i)]) * speech.samples[start + size_t(i)];
        if (energy / window < 1000.0 * 1000.0)
            continue;
        int bestLag = 0;
        double best = 0;
        for (int lag = minLag; lag <= maxLag; ++lag) {
            double sum = 0;
            for (int i = 0; i < window; ++i)
                sum += double(speech.samples[start + size_t(i)]) * speech.samples[start + size_t(i + lag)];
            if (sum > best) {
                best = sum;
                bestLag = lag;
            }
        }
        if (bestLag > 0 && best > 0.3 * energy)
            pitches.push_back(double(speech.sampleRate) / bestLag);
    }
    if (pitches.empty())
        return 0;
    std::nth_element(pitches.begin(), pitches.begin() + long(pitches.size() / 2), pitches.end());
    return pitches[pitches.size() / 2];
}

class EspeakRendererTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!EspeakRenderer::IsAvailable())
            GTEST_FAIL() << "espeak-ng could not be initialised (is espeak-ng-data installed?)";
    }
};

TEST_F(EspeakRendererTest, RendersSamplesAndWordsInOrder)
{
    const QString request = u"\\Spd=150\\\\Pit=50\\Hello world. How are you?"_s;
    const RenderedSpeech speech = RenderOrFail(request);
    EXPECT_EQ(speech.sampleRate, 22050);
    EXPECT_GT(speech.DurationMs(), 800);
    EXPECT_LT(speech.DurationMs(), 5000);
    const auto loud = std::count_if(speech.samples.begin(), speech.samples.end(),
                                    [](qint16 sample) { return std::abs(int(sample)) > 1000; });
    EXPECT_GT(loud, qint64(speech.samples.size() / 20)) << "mostly silence";

    EXPECT_EQ(SpokenWords(request, speech), (QStringList{u"Hello"_s, u"world"_s, u"How"_s, u"are"_s, u"you"_s}));
    for (size_t i = 1; i < speech.words.size(); ++i)
        EXPECT_GT(speech.words[i].sample, speech.words[i - 1].sample);
    EXPECT_LT(speech.words.back().sample, qint64(speech.samples.size()));
}

TEST_F(EspeakRendererTest, HigherSpeedShortensTheSpeech)
{
    const QString words = u"The quick brown fox jumps over the lazy dog."_s;
    const RenderedSpeech slow = RenderOrFail(u"\\Spd=80\\"_s + words);
    const RenderedSpeech normal = RenderOrFail(u"\\Spd=150\\"_s + words);
    const RenderedSpeech fast = RenderOrFail(u"\\Spd=250\\"_s + words);
    EXPECT_LT(fast.samples.size(), normal.samples.size() * 9 / 10);
    EXPECT_LT(normal.samples.size(), slow.samples.size() * 9 / 10);
}

TEST_F(EspeakRendererTest, DefaultSpeedOfTheVoiceApplies)
{
    const QString words = u"The quick brown fox jumps over the lazy dog."_s;
    EspeakRenderer::Voice slowVoice;
    slowVoice.defaultSpeed = 60;
    const RenderedSpeech slow = RenderOrFail(words, slowVoice);
    const RenderedSpeech normal = RenderOrFail(words);
    EXPECT_GT(slow.samples.size(), normal.samples.size() * 11 / 10);
}

TEST_F(EspeakRendererTest, HigherPitchRaisesTheVoice)
{
    const QString words = u"Good morning, how are you all doing today?"_s;
    const double low = MedianPitchHz(RenderOrFail(u"\\Pit=50\\"_s + words));
    const double high = MedianPitchHz(RenderOrFail(u"\\Pit=400\\"_s + words));
    EXPECT_GT(low, 50);
    EXPECT_GT(high, low * 1.3) << "low " << low << " Hz, high " << high << " Hz";
}

TEST_F(EspeakRendererTest, MapSpeaksTheFirstText)
{
    const QString request = u"at 12 \\Map=\"and a half\"=\"1/2\"\\ dollars"_s;
    const RenderedSpeech speech = RenderOrFail(request);
    EXPECT_EQ(SpokenWords(request, speech), (QStringList{u"at"_s, u"12"_s, u"and"_s, u"a"_s, u"half"_s, u"dollars"_s}));
    const SpeechText text = ParseSpeechText(request);
    const RenderedSpeech::Word& half = speech.words[4];
    EXPECT_EQ(text.shown.left(text.ShownEndFor(half.spokenPosition, half.spokenLength)), u"at 12 1/2"_s);
}

TEST_F(EspeakRendererTest, PauseAddsSilence)
{
    const RenderedSpeech plain = RenderOrFail(u"one two"_s);
    const RenderedSpeech paused = RenderOrFail(u"one\\Pau=600\\ two"_s);
    const qint64 extra = paused.DurationMs() - plain.DurationMs();
    EXPECT_GT(extra, 400);
    EXPECT_LT(extra, 900);
    ASSERT_EQ(paused.words.size(), 2u);
    EXPECT_GT(paused.words[1].sample - paused.words[0].sample, paused.SampleAtMs(600));
}

TEST_F(EspeakRendererTest, WordPositionsCountCharactersNotBytes)
{
    const QString request = u"Caf\u00e9 na\u00efve r\u00e9sum\u00e9 ok"_s;
    const RenderedSpeech speech = RenderOrFail(request);
    ASSERT_GE(speech.words.size(), 3u);
    const QStringList words = SpokenWords(request, speech);
    EXPECT_EQ(words.first(), u"Caf\u00e9"_s);
    EXPECT_EQ(words.last(), u"ok"_s);
}

TEST_F(EspeakRendererTest, MouthOpensWithTheVoiceAndClosesInSilence)
{
    const RenderedSpeech speech = RenderOrFail(u"Hello\\Pau=500\\there"_s);
    ASSERT_EQ(speech.mouth.size(),
              (speech.samples.size() + size_t(speech.mouthWindow) - 1) / size_t(speech.mouthWindow));
    EXPECT_TRUE(
        std::any_of(speech.mouth.begin(), speech.mouth.end(), [](quint8 shape) { return shape >= 1 && shape <= 4; }));
    // The middle of the pause is silent.
    const qint64 pauseMiddle = speech.words[1].sample - speech.SampleAtMs(250);
    EXPECT_EQ(speech.MouthAt(pauseMiddle), RenderedSpeech::MouthClosed);
    EXPECT_EQ(speech.MouthAt(-1), RenderedSpeech::MouthClosed);
    EXPECT_EQ(speech.MouthAt(qint64(speech.samples.size()) + 5000), RenderedSpeech::MouthClosed);
}

TEST_F(EspeakRendererTest, NothingToSayRendersNothing)
{
    for (const QString& request : {u""_s, u"   "_s, u"\\Spd=100\\"_s, u"\\Emp\\\\Rst\\"_s}) {
        const RenderedSpeech speech = RenderOrFail(request);
        EXPECT_TRUE(speech.samples.empty()) << request.toStdString();
        EXPECT_TRUE(speech.words.empty());
    }
}

TEST_F(EspeakRendererTest, CancelledRenderReturnsNothing)
{
    std::atomic_bool cancel = true;
    EXPECT_FALSE(EspeakRenderer::Render(ParseSpeechText(u"Never said."_s), {}, &cancel).has_value());
}

TEST_F(EspeakRendererTest, UnknownVoiceFallsBackToEnglish)
{
    EspeakRenderer::Voice voice;
    voice.name = u"no-such-voice"_s;
    const RenderedSpeech speech = RenderOrFail(u"Still speaking."_s, voice);
    EXPECT_FALSE(speech.samples.empty());
    EXPECT_EQ(speech.words.size(), 2u);
}

TEST(EspeakRendererVoice, PicksTheVoiceForTheLanguage)
{
    EXPECT_EQ(EspeakRenderer::VoiceForLanguage(1033), u"en-us"_s);
    EXPECT_EQ(EspeakRenderer::VoiceForLanguage(0x0809), u"en"_s);
    EXPECT_EQ(EspeakRenderer::VoiceForLanguage(0x0407), u"de"_s);
    EXPECT_EQ(EspeakRenderer::VoiceForLanguage(0x040C), u"fr"_s);
    EXPECT_EQ(EspeakRenderer::VoiceForLanguage(0x0416), u"pt-br"_s);
    EXPECT_EQ(EspeakRenderer::VoiceForLanguage(0x0816), u"pt"_s);
    EXPECT_EQ(EspeakRenderer::VoiceForLanguage(0x0411), u"en"_s);
    EXPECT_EQ(EspeakRenderer::VoiceForLanguage(0), u"en"_s);
}

} // namespace
