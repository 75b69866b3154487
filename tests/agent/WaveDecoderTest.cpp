#include "WaveSamples.h"

#include "agent/WaveDecoder.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using Samples = std::vector<qint16>;

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(value));
    return bytes;
}

QByteArray Le16(int value)
{
    char b[2];
    qToLittleEndian<quint16>(quint16(value), b);
    return QByteArray(b, 2);
}

// --- Known samples ------------------------------------------------------------------------------------

struct KnownCase
{
    const char* name;
    std::function<QByteArray()> wave;
    int rate;
    int channels;
    Samples expected;
};

void PrintTo(const KnownCase& c, std::ostream* out)
{
    *out << c.name;
}

class WaveDecoderKnown : public ::testing::TestWithParam<KnownCase>
{};

TEST_P(WaveDecoderKnown, DecodesToTheExpectedSamples)
{
    const KnownCase& c = GetParam();
    const std::optional<PcmSound> sound = WaveDecoder::Decode(c.wave());
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->sampleRate, c.rate);
    EXPECT_EQ(sound->channels, c.channels);
    EXPECT_EQ(sound->samples, c.expected);
}

// Three Microsoft ADPCM blocks worked out by hand from the format's description:
//  1. predictor 0 (256, 0), delta 16, samples 100 and 50, nibbles 1 2 7 -1 -8 0 (the step goes
//     16, 16, 16, 38, 34, 102: the adaptation table is indexed by the nibble's four bits);
//  2. predictor 1 (512, -256), delta 20, samples 10 and 0, nibbles 3 1 0 0 0 0 (the state starts
//     again from the header);
//  3. a last block cut short after one byte: predictor 0, delta 16, samples -5 and -6, nibbles 1 0.
QByteArray HandMadeMsAdpcmMono()
{
    QByteArray blocks;
    blocks += Bytes({0}) + Le16(16) + Le16(100) + Le16(50) + Bytes({0x12, 0x7F, 0x80});
    blocks += Bytes({1}) + Le16(20) + Le16(10) + Le16(0) + Bytes({0x31, 0x00, 0x00});
    blocks += Bytes({0}) + Le16(16) + Le16(-5) + Le16(-6) + Bytes({0x10});
    return WaveSamples::MsAdpcm(8000, 1, 10, 8, blocks);
}

// Stereo: the header's fields alternate left and right, and each byte holds the left nibble (high)
// then the right one. Left: delta 16, samples 100 and 90, nibbles 1 2; right: delta 32, samples
// -100 and -90, nibbles -1 7.
QByteArray HandMadeMsAdpcmStereo()
{
    const QByteArray block =
        Bytes({0, 0}) + Le16(16) + Le16(32) + Le16(100) + Le16(-100) + Le16(90) + Le16(-90) + Bytes({0x1F, 0x27});
    return WaveSamples::MsAdpcm(11025, 2, 16, 4, block);
}

// IMA ADPCM by hand: first sample 1000, step index 0, nibbles (low one of each byte first)
// 1 2 7 0 0 -0 -7 0.
QByteArray HandMadeImaMono()
{
    const QByteArray block = Le16(1000) + Bytes({0, 0}) + Bytes({0x21, 0x07, 0x80, 0x0F});
    return WaveSamples::ImaAdpcm(22050, 1, 8, 9, block);
}

// Stereo IMA: the headers of both channels, then four bytes of the left channel and four of the
// right. Left from 0 with nibbles 1 0 0 0 0 0 0 0; right from 100 with 0 0 0 0 0 0 0 7.
QByteArray HandMadeImaStereo()
{
    const QByteArray block =
        Le16(0) + Bytes({0, 0}) + Le16(100) + Bytes({0, 0}) + Bytes({0x01, 0, 0, 0}) + Bytes({0, 0, 0, 0x70});
    return WaveSamples::ImaAdpcm(16000, 2, 16, 9, block);
}

QByteArray ExtensiblePcm()
{
    // cbSize 22: valid bits, channel mask, then the sub-format GUID whose first two bytes are the tag.
    QByteArray extra =
        Le16(16) + Bytes({4, 0, 0, 0}) + Le16(1) + Bytes({0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
    const QByteArray format = WaveSamples::FormatChunk(0xFFFE, 1, 44100, 2, 16, &extra);
    return WaveSamples::Riff(format, Le16(-2) + Le16(3));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WaveDecoderKnown,
    ::testing::Values(
        KnownCase{"Pcm8Mono",
                  [] {
                      return WaveSamples::Pcm(11025, 1, 8, {0, 127, -128, -1});
                  },
                  11025,
                  1,
                  {0, 32512, -32768, -256}},
        KnownCase{"Pcm16Stereo",
                  [] {
                      return WaveSamples::Pcm(44100, 2, 16, {1, -1, 32767, -32768, 5, 6});
                  },
                  44100,
                  2,
                  {1, -1, 32767, -32768, 5, 6}},
        KnownCase{"Pcm16OddByteCut",
                  [] {
                      QByteArray wave = WaveSamples::Pcm(8000, 1, 16, {7, 8});
                      return wave.left(wave.size() - 1); // the data chunk claims more than is there
                  },
                  8000,
                  1,
                  {7}},
        KnownCase{"Pcm16Extensible", ExtensiblePcm, 44100, 1, {-2, 3}},
        KnownCase{"MsAdpcmMono", HandMadeMsAdpcmMono, 8000, 1, {50, 100, 116, 148, 260, 222, -50, -50, 0,  10,
                                                                80, 167, 254, 341, 428, 515, -6,  -5,  11, 11}},
        KnownCase{"MsAdpcmStereo", HandMadeMsAdpcmStereo, 11025, 2, {90, -90, 100, -100, 116, -132, 148, 64}},
        KnownCase{"MsAdpcmFactCutsTheLastBlock",
                  [] {
                      const QByteArray block = Bytes({0}) + Le16(16) + Le16(100) + Le16(50) + Bytes({0x12, 0x7F, 0x80});
                      return WaveSamples::MsAdpcm(8000, 1, 10, 8, block, 5);
                  },
                  8000,
                  1,
                  {50, 100, 116, 148, 260}},
        KnownCase{"ImaMono", HandMadeImaMono, 22050, 1, {1000, 1001, 1004, 1015, 1017, 1018, 1017, 995, 998}},
        KnownCase{"ImaStereo",
                  HandMadeImaStereo,
                  16000,
                  2,
                  {0, 100, 1, 100, 1, 100, 1, 100, 1, 100, 1, 100, 1, 100, 1, 100, 1, 111}}),
    [](const ::testing::TestParamInfo<KnownCase>& info) { return info.param.name; });

// --- Round trips through the test encoders --------------------------------------------------------------

struct RoundTrip
{
    const char* name;
    bool ima;
    int channels;
    int blockAlign;
    int frames;
};

void PrintTo(const RoundTrip& c, std::ostream* out)
{
    *out << c.name;
}

class WaveDecoderRoundTrip : public ::testing::TestWithParam<RoundTrip>
{};

TEST_P(WaveDecoderRoundTrip, FollowsAnEncodedSine)
{
    const RoundTrip& c = GetParam();
    const int rate = 11025;
    const Samples sine = WaveSamples::Sine(c.frames, c.channels, 440, rate, 12000);
    const int perBlock = c.ima ? WaveSamples::ImaSamplesPerBlock(c.blockAlign, c.channels)
                               : WaveSamples::MsSamplesPerBlock(c.blockAlign, c.channels);
    const QByteArray wave =
        c.ima ? WaveSamples::ImaAdpcm(rate, quint16(c.channels), quint16(c.blockAlign), quint16(perBlock),
                                      WaveSamples::EncodeImaAdpcm(sine, c.channels, c.blockAlign), c.frames)
              : WaveSamples::MsAdpcm(rate, quint16(c.channels), quint16(c.blockAlign), quint16(perBlock),
                                     WaveSamples::EncodeMsAdpcm(sine, c.channels, c.blockAlign), c.frames);
    const std::optional<PcmSound> sound = WaveDecoder::Decode(wave);
    ASSERT_TRUE(sound.has_value());
    ASSERT_EQ(sound->channels, c.channels);
    ASSERT_EQ(sound->Frames(), c.frames);
    // 4 bits a sample follow a clean tone closely; a slip in the layout (nibble order, channel
    // order, the header's samples) would not.
    double error = 0;
    double signal = 0;
    for (size_t i = 0; i < sine.size(); ++i) {
        const double difference = double(sound->samples[i]) - sine[i];
        error += difference * difference;
        signal += double(sine[i]) * sine[i];
    }
    const double snr = 10 * std::log10(signal / std::max(error, 1.0));
    EXPECT_GT(snr, 20.0);
}

INSTANTIATE_TEST_SUITE_P(Encoded, WaveDecoderRoundTrip,
                         ::testing::Values(RoundTrip{"MsMono", false, 1, 256, 2999},
                                           RoundTrip{"MsStereo", false, 2, 512, 3001},
                                           RoundTrip{"ImaMono", true, 1, 256, 2999},
                                           RoundTrip{"ImaStereo", true, 2, 512, 3001}),
                         [](const ::testing::TestParamInfo<RoundTrip>& info) { return info.param.name; });

// --- Against an independent decoder ------------------------------------------------------------------------

// Noise with every size of jump: steps that clip and adapt to their extremes.
Samples Noise(int count)
{
    Samples samples;
    quint32 x = 1;
    for (int i = 0; i < count; ++i) {
        x = x * 1103515245u + 12345u;
        samples.push_back(qint16(x >> 16));
    }
    return samples;
}

struct SoxCase
{
    const char* name;
    std::function<QByteArray()> wave;
};

void PrintTo(const SoxCase& c, std::ostream* out)
{
    *out << c.name;
}

class WaveDecoderAgainstSox : public ::testing::TestWithParam<SoxCase>
{};

TEST_P(WaveDecoderAgainstSox, GivesTheSameSamples)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("sound.wav"));
    const QByteArray wave = GetParam().wave();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(wave);
    file.close();

    QProcess sox;
    sox.start(QStringLiteral("sox"),
              {path, QStringLiteral("-t"), QStringLiteral("raw"), QStringLiteral("-e"), QStringLiteral("signed"),
               QStringLiteral("-b"), QStringLiteral("16"), QStringLiteral("-L"), QStringLiteral("-")});
    ASSERT_TRUE(sox.waitForStarted(5000)) << "sox is needed: scripts/install-deps test";
    ASSERT_TRUE(sox.waitForFinished(30000));
    ASSERT_EQ(sox.exitCode(), 0) << sox.readAllStandardError().toStdString();
    const QByteArray raw = sox.readAllStandardOutput();
    Samples expected(size_t(raw.size() / 2));
    for (size_t i = 0; i < expected.size(); ++i)
        expected[i] = qFromLittleEndian<qint16>(raw.data() + 2 * i);

    const std::optional<PcmSound> sound = WaveDecoder::Decode(wave);
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->samples, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encoded, WaveDecoderAgainstSox,
    ::testing::Values(
        SoxCase{"MsSineStereo",
                [] {
                    return WaveSamples::MsAdpcm(
                        11025, 2, 512, quint16(WaveSamples::MsSamplesPerBlock(512, 2)),
                        WaveSamples::EncodeMsAdpcm(WaveSamples::Sine(3001, 2, 440, 11025, 12000), 2, 512));
                }},
        SoxCase{"MsNoise",
                [] {
                    return WaveSamples::MsAdpcm(11025, 1, 256, quint16(WaveSamples::MsSamplesPerBlock(256, 1)),
                                                WaveSamples::EncodeMsAdpcm(Noise(4000), 1, 256));
                }},
        SoxCase{"ImaSineStereo",
                [] {
                    return WaveSamples::ImaAdpcm(
                        11025, 2, 512, quint16(WaveSamples::ImaSamplesPerBlock(512, 2)),
                        WaveSamples::EncodeImaAdpcm(WaveSamples::Sine(3001, 2, 440, 11025, 12000), 2, 512));
                }},
        SoxCase{"ImaNoise",
                [] {
                    return WaveSamples::ImaAdpcm(11025, 1, 256, quint16(WaveSamples::ImaSamplesPerBlock(256, 1)),
                                                 WaveSamples::EncodeImaAdpcm(Noise(4000), 1, 256));
                }},
        SoxCase{"Pcm8",
                [] {
                    return WaveSamples::Pcm(8000, 2, 8, {-128, 127, 0, 1, -1, 5});
                }}),
    [](const ::testing::TestParamInfo<SoxCase>& info) { return info.param.name; });

// --- Damaged and unknown files ---------------------------------------------------------------------------

struct DamagedCase
{
    const char* name;
    std::function<QByteArray()> wave;
    qint64 frames; // -1: no sound at all
};

void PrintTo(const DamagedCase& c, std::ostream* out)
{
    *out << c.name;
}

class WaveDecoderDamaged : public ::testing::TestWithParam<DamagedCase>
{};

TEST_P(WaveDecoderDamaged, GivesWhatItCanAndNothingMore)
{
    const DamagedCase& c = GetParam();
    const std::optional<PcmSound> sound = WaveDecoder::Decode(c.wave());
    if (c.frames < 0) {
        EXPECT_FALSE(sound.has_value());
    } else {
        ASSERT_TRUE(sound.has_value());
        EXPECT_EQ(sound->Frames(), c.frames);
    }
}

QByteArray MsBlock(int predictor, int delta)
{
    return Bytes({predictor}) + Le16(delta) + Le16(0) + Le16(0) + Bytes({0x77, 0x77, 0x77});
}

INSTANTIATE_TEST_SUITE_P(
    Files, WaveDecoderDamaged,
    ::testing::Values(
        DamagedCase{"Empty", [] { return QByteArray(); }, -1},
        DamagedCase{"NotRiff", [] { return QByteArray("RIFX\0\0\0\0WAVE", 12); }, -1},
        DamagedCase{"NoData",
                    [] { return WaveSamples::Riff(WaveSamples::FormatChunk(1, 1, 8000, 2, 16), {}).left(36); }, -1},
        DamagedCase{"EmptyData", [] { return WaveSamples::Pcm(8000, 1, 16, {}); }, -1},
        DamagedCase{"Mp3", [] { return WaveSamples::Riff(WaveSamples::FormatChunk(0x55, 1, 8000, 1, 0), "abcd"); }, -1},
        DamagedCase{"ThreeChannels",
                    [] {
                        return WaveSamples::Pcm(8000, 3, 16, {1, 2, 3});
                    },
                    -1},
        DamagedCase{"RateZero",
                    [] {
                        return WaveSamples::Pcm(0, 1, 16, {1, 2, 3});
                    },
                    -1},
        DamagedCase{"TwelveBits", [] { return WaveSamples::Riff(WaveSamples::FormatChunk(1, 1, 8000, 2, 12), "abcd"); },
                    -1},
        DamagedCase{"ShortFormatChunk", [] { return WaveSamples::Riff(QByteArray(10, '\1'), "abcd"); }, -1},
        DamagedCase{"ChunkLengthPastTheEnd",
                    [] {
                        QByteArray wave = WaveSamples::Pcm(8000, 1, 16, {1, 2, 3});
                        qToLittleEndian<quint32>(0xFFFFFFF0u, wave.data() + 40); // the data chunk's length
                        return wave;
                    },
                    3},
        DamagedCase{"JunkChunkLengthWraps",
                    [] {
                        QByteArray wave = WaveSamples::Pcm(8000, 1, 16, {1, 2, 3});
                        return wave.left(12) + QByteArray("junk\xff\xff\xff\xff", 8) + wave.mid(12);
                    },
                    -1},
        DamagedCase{"MsBlockAlignBelowTheHeader", [] { return WaveSamples::MsAdpcm(8000, 1, 7, 2, MsBlock(0, 16)); },
                    -1},
        DamagedCase{"MsPredictorOutOfRange", [] { return WaveSamples::MsAdpcm(8000, 1, 10, 8, MsBlock(7, 16)); }, -1},
        DamagedCase{"MsSecondBlockPredictorOutOfRange",
                    [] { return WaveSamples::MsAdpcm(8000, 1, 10, 8, MsBlock(0, 16) + MsBlock(200, 16)); }, 8},
        DamagedCase{"MsBlockHeaderCutShort",
                    [] { return WaveSamples::MsAdpcm(8000, 1, 10, 8, MsBlock(0, 16) + MsBlock(0, 16).left(5)); }, 8},
        DamagedCase{"MsClaimsHugeBlocks", [] { return WaveSamples::MsAdpcm(8000, 1, 10, 65535, MsBlock(0, 16)); }, 8},
        DamagedCase{"MsDeltaAtItsLargest",
                    [] {
                        // Growing steps at full scale: clipped samples, no overflow.
                        QByteArray block = Bytes({0}) + Le16(0x7FFF) + Le16(0) + Le16(0) + QByteArray(2000, '\x77');
                        return WaveSamples::MsAdpcm(8000, 1, quint16(block.size()), 0, block);
                    },
                    4002},
        DamagedCase{"MsFactOfZero", [] { return WaveSamples::MsAdpcm(8000, 1, 10, 8, MsBlock(0, 16), 0); }, -1},
        DamagedCase{"ImaStepIndexOutOfRange",
                    [] {
                        return WaveSamples::ImaAdpcm(8000, 1, 8, 9, Le16(0) + Bytes({89, 0, 1, 2, 3, 4}));
                    },
                    -1},
        DamagedCase{"ImaBlockAlignBelowTheHeader",
                    [] { return WaveSamples::ImaAdpcm(8000, 2, 8, 1, QByteArray(64, '\0')); }, -1}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

// --- Conversion ---------------------------------------------------------------------------------------------

TEST(WaveDecoderConvert, ResamplesLinearlyAndMapsChannels)
{
    PcmSound mono;
    mono.sampleRate = 1000;
    mono.channels = 1;
    mono.samples = {0, 100};
    // Twice the rate: points between the samples are interpolated, the last one held.
    PcmSound up = WaveDecoder::Convert(mono, 2000, 2);
    EXPECT_EQ(up.sampleRate, 2000);
    EXPECT_EQ(up.channels, 2);
    EXPECT_EQ(up.samples, (Samples{0, 0, 50, 50, 100, 100, 100, 100}));

    PcmSound stereo;
    stereo.sampleRate = 4000;
    stereo.channels = 2;
    stereo.samples = {100, 300, -100, -300, 10, 20, 40, 50};
    // Half the rate, to mono: every other frame, the channels averaged.
    EXPECT_EQ(WaveDecoder::Convert(stereo, 2000, 1).samples, (Samples{200, 15}));
    EXPECT_EQ(WaveDecoder::Convert(stereo, 4000, 2).samples, stereo.samples);
}

TEST(WaveDecoderConvert, KeepsTheDurationAcrossRates)
{
    PcmSound sound;
    sound.sampleRate = 11025;
    sound.channels = 1;
    sound.samples.assign(11025, 1000);
    const PcmSound converted = WaveDecoder::Convert(sound, 48000, 2);
    EXPECT_EQ(converted.Frames(), 48000);
    EXPECT_EQ(converted.DurationMs(), 1000);
}

} // namespace
