// Runs with ESPEAK_DATA_PATH pointing at an empty folder, so espeak-ng cannot start: speech is then
// unavailable, and the character still shows its words in the balloon for their reading time.

#include "AgentTestCharacter.h"

#include "agent/AgentCharacter.h"
#include "agent/ClockSpeechOutput.h"
#include "agent/EspeakRenderer.h"
#include "agent/SpeechVoice.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(NoVoice, SynthesizerIsUnavailableWithoutItsData)
{
    EXPECT_FALSE(EspeakRenderer::IsAvailable());
    EXPECT_FALSE(EspeakRenderer::Render(ParseSpeechText(u"Hello"_s), {}).has_value());
}

TEST(NoVoice, SpeechStillShowsThePacedBalloon)
{
    QStringList log;
    SpeechVoice voice;
    AgentCharacter character(MakeTestCharacter(), std::make_unique<RecordingView>(&log),
                             std::make_unique<ClockSpeechOutput>(), &voice);
    AgentCharacter::Timing timing;
    timing.idle.enabled = false;
    timing.readingMsPerWord = 50;
    timing.readingMinMs = 100;
    timing.balloonLingerMs = 10;
    character.SetTiming(timing);
    character.Show(true);
    QElapsedTimer clock;
    clock.start();
    character.Speak(u"\\Spd=150\\\\Pit=50\\Prices are up today"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !character.IsBusy(); }, 5000));
    EXPECT_GE(clock.elapsed(), 4 * 50 - 20);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.contains(u"balloon hide"_s); }, 5000));
    EXPECT_TRUE(log.contains(u"balloon speak 0/19 style 15: Prices are up today"_s)) << log.join(u'\n').toStdString();
    EXPECT_TRUE(log.contains(u"reveal 19"_s));
    EXPECT_GE(log.filter(u"reveal"_s).size(), 2);
}

} // namespace
