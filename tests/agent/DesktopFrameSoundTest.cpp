#include "AgentTestCharacter.h"
#include "WaveSamples.h"

#include "agent/AudioSinkFrameSoundOutput.h"
#include "agent/DesktopAgentControl.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<const PcmSound> Beep(int ms)
{
    auto sound = std::make_shared<PcmSound>();
    sound->sampleRate = 11025;
    sound->channels = 1;
    sound->samples = WaveSamples::Sine(11025 * ms / 1000, 1, 660, 11025, 3000);
    return sound;
}

TEST(AudioSinkFrameSoundOutput, OpensTheDeviceOnlyWhileItPlays)
{
    AudioSinkFrameSoundOutput output;
    output.Play(nullptr);
    output.Play(std::make_shared<PcmSound>());
    EXPECT_FALSE(output.IsOpen());

    output.Play(Beep(300));
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        // No sound device (as under CI): nothing is heard and nothing fails.
        EXPECT_FALSE(output.IsOpen());
    } else {
        EXPECT_TRUE(output.IsOpen());
        output.Play(Beep(100)); // mixed into the open stream
        EXPECT_TRUE(output.IsOpen());
        // Closed once everything has been played out.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !output.IsOpen(); }, 10000));
        output.Play(Beep(2000));
        output.StopAll();
        EXPECT_FALSE(output.IsOpen());
    }
}

TEST(DesktopAgentControl, PlaysFramesWithSoundsWhetherOrNotADeviceIsThere)
{
    AcsCharacter character = *MakeTestCharacter();
    const int sound = character.AddSound(WaveSamples::Pcm(11025, 1, 16, WaveSamples::Sine(22050, 1, 440, 11025, 4000)));
    character.Animations()[Wave].frames[0].soundIndex = qint16(sound);
    character.Animations()[Wave].frames[2].soundIndex = qint16(sound);

    std::unique_ptr<AgentControl> control = CreateDesktopAgentControl();
    ASSERT_EQ(control->Load(u"Tester"_s, std::make_shared<const AcsCharacter>(std::move(character))),
              IAgentControl::LoadOk);
    AgentCharacter* agent = control->Loaded(u"Tester"_s);
    agent->Show(true);
    agent->Play(u"Wave"_s);
    agent->Play(u"Walk"_s);
    agent->Hide(true);
    // The two-second sounds hold nothing up: the requests end with their frames.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !agent->IsBusy(); }, 10000));
    EXPECT_FALSE(agent->IsVisible());
    control->Unload(u"Tester"_s);
}

} // namespace
