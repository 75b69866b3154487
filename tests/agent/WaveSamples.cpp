#include "WaveSamples.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace WaveSamples {

namespace {

void Put16(QByteArray& bytes, int value)
{
    char b[2];
    qToLittleEndian<quint16>(quint16(value), b);
    bytes.append(b, 2);
}

void Put32(QByteArray& bytes, quint32 value)
{
    char b[4];
    qToLittleEndian<quint32>(value, b);
    bytes.append(b, 4);
}

void Chunk(QByteArray& file, const char* id, const QByteArray& body)
{
    file.append(id, 4);
    Put32(file, quint32(body.size()));
    file.append(body);
    if (body.size() % 2)
        file.append('\0');
}

qint16 Clamp16(qint64 value)
{
    return qint16(std::clamp<qint64>(value, -32768, 32767));
}

constexpr std::array<int, 16> MsAdaptation = {230, 230, 230, 230, 307, 409, 512, 614,
                                              768, 614, 512, 409, 307, 230, 230, 230};

constexpr std::array<int, 89> ImaSteps = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> ImaIndexChange = {-1, -1, -1, -1, 2, 4, 6, 8};

} // namespace

QByteArray Riff(const QByteArray& format, const QByteArray& data, qint64 factFrames)
{
    QByteArray body("WAVE");
    Chunk(body, "fmt ", format);
    if (factFrames >= 0) {
        QByteArray fact;
        Put32(fact, quint32(factFrames));
        Chunk(body, "fact", fact);
    }
    Chunk(body, "data", data);
    QByteArray file("RIFF");
    Put32(file, quint32(body.size()));
    return file + body;
}

QByteArray FormatChunk(quint16 tag, quint16 channels, quint32 rate, quint16 blockAlign, quint16 bits,
                       const QByteArray* extra)
{
    QByteArray format;
    Put16(format, tag);
    Put16(format, channels);
    Put32(format, rate);
    Put32(format, rate * blockAlign); // bytes per second, near enough for ADPCM
    Put16(format, blockAlign);
    Put16(format, bits);
    if (extra) {
        Put16(format, int(extra->size()));
        format.append(*extra);
    }
    return format;
}

QByteArray Pcm(quint32 rate, quint16 channels, quint16 bits, const std::vector<qint16>& samples)
{
    QByteArray data;
    for (const qint16 sample : samples) {
        if (bits == 8)
            data.append(char(quint8(sample + 128)));
        else
            Put16(data, sample);
    }
    return Riff(FormatChunk(1, channels, rate, quint16(channels * bits / 8), bits), data);
}

QByteArray MsAdpcmExtra(quint16 samplesPerBlock)
{
    QByteArray extra;
    Put16(extra, samplesPerBlock);
    Put16(extra, 7);
    for (const auto& [first, second] :
         {std::pair{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}}) {
        Put16(extra, first);
        Put16(extra, second);
    }
    return extra;
}

QByteArray MsAdpcm(quint32 rate, quint16 channels, quint16 blockAlign, quint16 samplesPerBlock,
                   const QByteArray& blocks, qint64 factFrames)
{
    const QByteArray extra = MsAdpcmExtra(samplesPerBlock);
    return Riff(FormatChunk(2, channels, rate, blockAlign, 4, &extra), blocks, factFrames);
}

int MsSamplesPerBlock(int blockAlign, int channels)
{
    return 2 + (blockAlign - 7 * channels) * 2 / channels;
}

int ImaSamplesPerBlock(int blockAlign, int channels)
{
    return 1 + (blockAlign - 4 * channels) / (4 * channels) * 8;
}

QByteArray EncodeMsAdpcm(const std::vector<qint16>& samples, int channels, int blockAlign)
{
    const int perBlock = MsSamplesPerBlock(blockAlign, channels);
    const qint64 frames = qint64(samples.size()) / channels;
    const auto at = [&](qint64 frame, int channel) {
        return samples[size_t(frame * channels + channel)];
    };
    QByteArray out;
    for (qint64 start = 0; start < frames; start += perBlock) {
        const qint64 count = std::min<qint64>(perBlock, frames - start);
        struct State
        {
            int delta = 16;
            int sample1 = 0;
            int sample2 = 0;
        };
        std::array<State, 2> state{};
        for (int c = 0; c < channels; ++c)
            out.append(char(1)); // predictor 1: coefficients 512 and -256
        for (int c = 0; c < channels; ++c)
            Put16(out, state[size_t(c)].delta);
        for (int c = 0; c < channels; ++c) {
            state[size_t(c)].sample2 = at(start, c);
            state[size_t(c)].sample1 = at(start + std::min<qint64>(1, count - 1), c);
            Put16(out, state[size_t(c)].sample1);
        }
        for (int c = 0; c < channels; ++c)
            Put16(out, state[size_t(c)].sample2);
        std::vector<int> nibbles;
        for (qint64 frame = start + 2; frame < start + count; ++frame) {
            for (int c = 0; c < channels; ++c) {
                State& s = state[size_t(c)];
                const int predicted = (s.sample1 * 512 - s.sample2 * 256) / 256;
                const int nibble =
                    int(std::clamp<long>(std::lround(double(at(frame, c) - predicted) / s.delta), -8, 7));
                const qint16 sample = Clamp16(predicted + qint64(nibble) * s.delta);
                s.sample2 = s.sample1;
                s.sample1 = sample;
                s.delta = std::max(16, MsAdaptation[size_t(nibble & 0x0F)] * s.delta / 256);
                nibbles.push_back(nibble & 0x0F);
            }
        }
        for (size_t i = 0; i < nibbles.size(); i += 2)
            out.append(char((nibbles[i] << 4) | (i + 1 < nibbles.size() ? nibbles[i + 1] : 0)));
    }
    return out;
}

QByteArray ImaAdpcm(quint32 rate, quint16 channels, quint16 blockAlign, quint16 samplesPerBlock,
                    const QByteArray& blocks, qint64 factFrames)
{
    QByteArray extra;
    Put16(extra, samplesPerBlock);
    return Riff(FormatChunk(0x11, channels, rate, blockAlign, 4, &extra), blocks, factFrames);
}

QByteArray EncodeImaAdpcm(const std::vector<qint16>& samples, int channels, int blockAlign)
{
    const int perBlock = ImaSamplesPerBlock(blockAlign, channels);
    const qint64 frames = qint64(samples.size()) / channels;
    const auto at = [&](qint64 frame, int channel) {
        return samples[size_t(frame * channels + channel)];
    };
    struct State
    {
        int predicted = 0;
        int index = 0;
    };
    std::array<State, 2> state{};
    QByteArray out;
    for (qint64 start = 0; start < frames; start += perBlock) {
        const qint64 count = std::min<qint64>(perBlock, frames - start);
        for (int c = 0; c < channels; ++c) {
            state[size_t(c)].predicted = at(start, c);
            Put16(out, state[size_t(c)].predicted);
            out.append(char(state[size_t(c)].index));
            out.append('\0');
        }
        for (qint64 group = start + 1; group < start + count; group += 8) {
            for (int c = 0; c < channels; ++c) {
                State& s = state[size_t(c)];
                std::array<int, 8> nibbles{};
                for (qint64 i = 0; i < 8 && group + i < start + count; ++i) {
                    const int step = ImaSteps[size_t(s.index)];
                    int difference = at(group + i, c) - s.predicted;
                    int nibble = 0;
                    if (difference < 0) {
                        nibble = 8;
                        difference = -difference;
                    }
                    int part = step;
                    for (int bit = 4; bit > 0; bit >>= 1, part >>= 1) {
                        if (difference >= part) {
                            nibble |= bit;
                            difference -= part;
                        }
                    }
                    // Follow the decoder exactly.
                    int change = step >> 3;
                    if (nibble & 4)
                        change += step;
                    if (nibble & 2)
                        change += step >> 1;
                    if (nibble & 1)
                        change += step >> 2;
                    s.predicted = Clamp16(nibble & 8 ? s.predicted - change : s.predicted + change);
                    s.index = std::clamp(s.index + ImaIndexChange[size_t(nibble & 7)], 0, 88);
                    nibbles[size_t(i)] = nibble;
                }
                for (size_t i = 0; i < 8; i += 2)
                    out.append(char(nibbles[i] | (nibbles[i + 1] << 4)));
            }
        }
    }
    return out;
}

std::vector<qint16> Sine(int frames, int channels, double frequency, int rate, double amplitude)
{
    std::vector<qint16> samples;
    for (int i = 0; i < frames; ++i) {
        const double phase = 2 * std::numbers::pi * frequency * i / rate;
        for (int c = 0; c < channels; ++c)
            samples.push_back(qint16(std::lround(amplitude * std::sin(phase + c * std::numbers::pi / 2))));
    }
    return samples;
}

} // namespace WaveSamples
