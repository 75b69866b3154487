#include "AgentTestCharacter.h"
#include "WaveSamples.h"

#include "agent/AgentControl.h"
#include "agent/FrameSoundMixer.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Samples = std::vector<qint16>;

PcmSound Sound(int rate, int channels, Samples samples)
{
    PcmSound sound;
    sound.sampleRate = rate;
    sound.channels = channels;
    sound.samples = std::move(samples);
    return sound;
}

Samples Read(FrameSoundMixer& mixer, qint64 maxSamples)
{
    Samples samples(static_cast<size_t>(maxSamples));
    const qint64 got = mixer.read(reinterpret_cast<char*>(samples.data()), maxSamples * 2);
    samples.resize(size_t(std::max<qint64>(0, got) / 2));
    return samples;
}

// --- The mixer ---------------------------------------------------------------------------------------------

TEST(FrameSoundMixer, AddsOverlappingSoundsAndEndsWithTheLongest)
{
    FrameSoundMixer mixer(1000, 1);
    ASSERT_TRUE(mixer.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    EXPECT_FALSE(mixer.IsPlaying());
    EXPECT_TRUE(Read(mixer, 10).empty());

    mixer.Add(Sound(1000, 1, {1000, 2000, 30000}));
    EXPECT_EQ(Read(mixer, 2), (Samples{1000, 2000}));
    mixer.Add(Sound(1000, 1, {10, 20000, 5}));
    mixer.Add(Sound(1000, 1, {10000, -30000}));
    mixer.Add(Sound(1000, 1, {0, -30000}));
    EXPECT_EQ(mixer.bytesAvailable(), 6);
    // Sums, clipped at full scale; the stream lasts as long as the longest sound.
    EXPECT_EQ(Read(mixer, 100), (Samples{32767, -32768, 5}));
    EXPECT_FALSE(mixer.IsPlaying());
    EXPECT_TRUE(mixer.atEnd());
    EXPECT_TRUE(Read(mixer, 10).empty());
}

TEST(FrameSoundMixer, ConvertsToItsFormatAndReadsWholeFrames)
{
    FrameSoundMixer mixer(2000, 2);
    ASSERT_TRUE(mixer.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    mixer.Add(Sound(1000, 1, {0, 100}));
    // Less than a frame is nothing; an odd count is cut to whole frames.
    EXPECT_TRUE(Read(mixer, 1).empty());
    EXPECT_EQ(Read(mixer, 3), (Samples{0, 0}));
    EXPECT_EQ(Read(mixer, 100), (Samples{50, 50, 100, 100, 100, 100}));

    mixer.Add(Sound(2000, 2, {1, 2, 3, 4}));
    mixer.Clear();
    EXPECT_FALSE(mixer.IsPlaying());
    EXPECT_TRUE(Read(mixer, 10).empty());
}

// --- The character's frames -------------------------------------------------------------------------------

// Records the sounds asked for in the log the view writes to: "sound <rate> Hz <frames>", and
// "sounds stop".
class RecordingSoundOutput : public IFrameSoundOutput
{
public:
    explicit RecordingSoundOutput(QStringList* log)
        : m_log(log)
    {}

    void Play(std::shared_ptr<const PcmSound> sound) override
    {
        m_log->append(u"sound %1 Hz %2"_s.arg(sound->sampleRate).arg(sound->Frames()));
    }
    void StopAll() override { m_log->append(u"sounds stop"_s); }

private:
    QStringList* m_log;
};

// The test character with sounds: Wave's frames sound a PCM sound, one in a format we do not
// read, and an ADPCM sound; Loop's first frame the PCM sound.
std::shared_ptr<const AcsCharacter> CharacterWithSounds()
{
    AcsCharacter character = *MakeTestCharacter();
    const int pcm = character.AddSound(WaveSamples::Pcm(8000, 1, 16, WaveSamples::Sine(80, 1, 400, 8000, 5000)));
    const int mp3 = character.AddSound(WaveSamples::Riff(WaveSamples::FormatChunk(0x55, 1, 8000, 1, 0), "abcd"));
    const Samples sine = WaveSamples::Sine(300, 1, 400, 11025, 5000);
    const int adpcm =
        character.AddSound(WaveSamples::MsAdpcm(11025, 1, 64, quint16(WaveSamples::MsSamplesPerBlock(64, 1)),
                                                WaveSamples::EncodeMsAdpcm(sine, 1, 64), qint64(sine.size())));
    QList<AcsFrame>& wave = character.Animations()[Wave].frames;
    wave[0].soundIndex = qint16(pcm);
    wave[1].soundIndex = qint16(mp3);
    wave[2].soundIndex = qint16(adpcm);
    character.Animations()[Loop].frames[0].soundIndex = qint16(pcm);
    return std::make_shared<const AcsCharacter>(std::move(character));
}

class FrameSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_control = std::make_unique<AgentControl>(
            [this](std::shared_ptr<const AcsCharacter>) -> std::unique_ptr<IAgentView> {
                return std::make_unique<RecordingView>(&m_log);
            },
            AgentControl::OutputFactory{}, false);
        m_control->SetSoundFactory(
            [this]() -> std::unique_ptr<IFrameSoundOutput> { return std::make_unique<RecordingSoundOutput>(&m_log); });
        ASSERT_EQ(m_control->Load(u"Tester"_s, CharacterWithSounds()), IAgentControl::LoadOk);
        m_character = m_control->Loaded(u"Tester"_s);
        AgentCharacter::Timing timing;
        timing.idle.enabled = false;
        timing.idle.returnDelayMs = 20;
        timing.loopSlackMs = 20;
        timing.loopLimitMs = 600;
        m_character->SetTiming(timing);
        m_character->Show(true);
        Drain();
        m_log.clear();
    }

    void Drain()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_character->IsBusy(); }, 10000));
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_character->IsAnimating(); }, 10000));
    }

    QStringList m_log;
    std::unique_ptr<AgentControl> m_control;
    AgentCharacter* m_character = nullptr;
};

TEST_F(FrameSoundTest, AFrameStartsItsSoundWhenItIsShown)
{
    m_character->Play(u"Wave"_s);
    Drain();
    m_log.removeAll(u"frame %1"_s.arg(TestImage(WaveReturn, 0)));
    // The sound that cannot be read is skipped; the ADPCM one ends where its fact chunk says.
    EXPECT_EQ(m_log, (QStringList{u"frame %1"_s.arg(TestImage(Wave, 0)), u"sound 8000 Hz 80"_s,
                                  u"frame %1"_s.arg(TestImage(Wave, 1)), u"frame %1"_s.arg(TestImage(Wave, 2)),
                                  u"sound 11025 Hz 300"_s}));

    // Each time the frame is shown again.
    m_log.clear();
    m_character->Play(u"Wave"_s);
    Drain();
    EXPECT_EQ(m_log.count(u"sound 8000 Hz 80"_s), 1);
    EXPECT_EQ(m_log.count(u"sound 11025 Hz 300"_s), 1);
}

TEST_F(FrameSoundTest, StopAllSilencesTheSoundsAndAHiddenCharacterMakesNone)
{
    QSignalSpy done(m_character, &AgentCharacter::RequestDone);
    m_character->Play(u"Loop"_s);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_log.count(u"sound 8000 Hz 80"_s) >= 2; }, 5000));
    m_character->StopAll();
    EXPECT_GT(m_log.lastIndexOf(u"sounds stop"_s), m_log.lastIndexOf(u"sound 8000 Hz 80"_s));

    m_character->Hide(true);
    m_character->Play(u"Loop"_s);
    m_character->Play(u"Wave"_s);
    Drain();
    m_log.clear();
    QTest::qWait(200);
    EXPECT_TRUE(m_log.isEmpty()) << m_log.join(u'\n').toStdString();
}

} // namespace
