#include "agent/WaveDecoder.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>

namespace WaveDecoder {

namespace {

constexpr int MinRate = 1000;
constexpr int MaxRate = 384000;

quint16 U16(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

qint16 S16(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<qint16>(bytes.data() + at);
}

quint32 U32(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

quint8 U8(QByteArrayView bytes, qsizetype at)
{
    return quint8(bytes[at]);
}

qint16 Clamp16(qint64 value)
{
    return qint16(std::clamp<qint64>(value, -32768, 32767));
}

// What the "fmt " chunk says.
struct Format
{
    quint16 tag = 0;
    int channels = 0;
    quint32 sampleRate = 0;
    quint16 blockAlign = 0;
    quint16 bitsPerSample = 0;
    QByteArrayView extra; // what follows the size of the extra bytes, as far as present
};

std::optional<Format> ReadFormat(QByteArrayView chunk)
{
    if (chunk.size() < 16)
        return std::nullopt;
    Format format;
    format.tag = U16(chunk, 0);
    format.channels = U16(chunk, 2);
    format.sampleRate = U32(chunk, 4);
    format.blockAlign = U16(chunk, 12);
    format.bitsPerSample = U16(chunk, 14);
    if (chunk.size() >= 18)
        format.extra = chunk.sliced(18, std::min<qsizetype>(U16(chunk, 16), chunk.size() - 18));
    // The extensible format names the real one in the first two bytes of its sub-format GUID.
    if (format.tag == FormatExtensible) {
        if (format.extra.size() < 8)
            return std::nullopt;
        format.tag = U16(format.extra, 6);
        if (format.tag != FormatPcm)
            return std::nullopt;
    }
    if (format.channels < 1 || format.channels > 2)
        return std::nullopt;
    if (format.sampleRate < quint32(MinRate) || format.sampleRate > quint32(MaxRate))
        return std::nullopt;
    return format;
}

// The sound being built: stops taking samples at MaxFrames.
class Output
{
public:
    Output(const Format& format, qint64 expectedFrames)
    {
        m_sound.sampleRate = int(format.sampleRate);
        m_sound.channels = format.channels;
        m_sound.samples.reserve(size_t(std::clamp<qint64>(expectedFrames, 0, MaxFrames) * format.channels));
    }

    bool Full() const { return qint64(m_sound.samples.size()) >= MaxFrames * m_sound.channels; }
    void Put(qint16 sample)
    {
        if (!Full())
            m_sound.samples.push_back(sample);
    }

    std::optional<PcmSound> Take()
    {
        if (m_sound.samples.empty())
            return std::nullopt;
        // A damaged block may end between the channels of a frame: keep whole frames.
        m_sound.samples.resize(m_sound.samples.size() - m_sound.samples.size() % size_t(m_sound.channels));
        if (m_sound.samples.empty())
            return std::nullopt;
        return std::move(m_sound);
    }

private:
    PcmSound m_sound;
};

std::optional<PcmSound> DecodePcm(const Format& format, QByteArrayView data)
{
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return std::nullopt;
    const int bytes = format.bitsPerSample / 8;
    const qint64 frames = std::min<qint64>(data.size() / (bytes * format.channels), MaxFrames);
    Output out(format, frames);
    const qint64 count = frames * format.channels;
    for (qint64 i = 0; i < count; ++i)
        out.Put(bytes == 1 ? qint16((int(U8(data, i)) - 128) * 256) : S16(data, i * 2));
    return out.Take();
}

// --- Microsoft ADPCM ------------------------------------------------------------------------------

constexpr std::array<int, 16> MsAdaptation = {230, 230, 230, 230, 307, 409, 512, 614,
                                              768, 614, 512, 409, 307, 230, 230, 230};
constexpr std::array<std::array<int, 2>, 7> MsStandardCoefficients = {
    {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}}};
// The step size grows by at most 768/256 a sample: keep it where the arithmetic cannot overflow.
constexpr qint64 MsMaxDelta = 0x7FFFFFFF / 768;

struct MsChannel
{
    int coefficient1 = 0;
    int coefficient2 = 0;
    qint64 delta = 16;
    qint16 sample1 = 0; // the latest sample
    qint16 sample2 = 0; // the one before it

    qint16 Next(int nibble)
    {
        const int signedNibble = nibble >= 8 ? nibble - 16 : nibble;
        const qint64 predicted = (qint64(sample1) * coefficient1 + qint64(sample2) * coefficient2) / 256;
        const qint16 sample = Clamp16(predicted + signedNibble * delta);
        sample2 = sample1;
        sample1 = sample;
        delta = std::clamp<qint64>(MsAdaptation[size_t(nibble)] * delta / 256, 16, MsMaxDelta);
        return sample;
    }
};

std::optional<PcmSound> DecodeMsAdpcm(const Format& format, QByteArrayView data)
{
    const int channels = format.channels;
    const int header = 7 * channels;
    if (format.blockAlign <= header)
        return std::nullopt;
    // Samples per block as the block's size allows: the two in the header and two per byte.
    const qint64 blockFrames = 2 + qint64(format.blockAlign - header) * 2 / channels;
    qint64 framesPerBlock = blockFrames;
    std::vector<std::array<int, 2>> coefficients(MsStandardCoefficients.begin(), MsStandardCoefficients.end());
    if (format.extra.size() >= 4) {
        if (const quint16 declared = U16(format.extra, 0); declared >= 2)
            framesPerBlock = std::min<qint64>(declared, blockFrames);
        const qsizetype count = std::min<qsizetype>(U16(format.extra, 2), (format.extra.size() - 4) / 4);
        if (count > 0) {
            coefficients.clear();
            for (qsizetype i = 0; i < count; ++i)
                coefficients.push_back({S16(format.extra, 4 + 4 * i), S16(format.extra, 6 + 4 * i)});
        }
    }

    const qint64 blocks = (data.size() + format.blockAlign - 1) / format.blockAlign;
    Output out(format, blocks * framesPerBlock);
    std::array<MsChannel, 2> state{};
    for (qsizetype at = 0; at < data.size() && !out.Full(); at += format.blockAlign) {
        const QByteArrayView block = data.sliced(at, std::min<qsizetype>(format.blockAlign, data.size() - at));
        if (block.size() < header)
            break;
        bool damaged = false;
        for (int c = 0; c < channels; ++c) {
            const quint8 predictor = U8(block, c);
            if (predictor >= coefficients.size()) {
                damaged = true;
                break;
            }
            MsChannel& channel = state[size_t(c)];
            channel.coefficient1 = coefficients[predictor][0];
            channel.coefficient2 = coefficients[predictor][1];
            channel.delta = std::clamp<qint64>(S16(block, channels + 2 * c), 16, MsMaxDelta);
            channel.sample1 = S16(block, 3 * channels + 2 * c);
            channel.sample2 = S16(block, 5 * channels + 2 * c);
        }
        if (damaged)
            break;
        for (int c = 0; c < channels; ++c)
            out.Put(state[size_t(c)].sample2);
        for (int c = 0; c < channels; ++c)
            out.Put(state[size_t(c)].sample1);
        // Then one nibble a sample, the high nibble first, the channels taking turns.
        const qint64 nibbles = std::min<qint64>((framesPerBlock - 2) * channels, (block.size() - header) * 2);
        for (qint64 n = 0; n < nibbles; ++n) {
            const quint8 byte = U8(block, header + n / 2);
            const int nibble = n % 2 == 0 ? byte >> 4 : byte & 0x0F;
            out.Put(state[size_t(n % channels)].Next(nibble));
        }
    }
    return out.Take();
}

// --- IMA ADPCM ------------------------------------------------------------------------------------

constexpr std::array<int, 89> ImaSteps = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> ImaIndexChange = {-1, -1, -1, -1, 2, 4, 6, 8};

struct ImaChannel
{
    int predicted = 0;
    int index = 0;

    qint16 Next(int nibble)
    {
        const int step = ImaSteps[size_t(index)];
        int difference = step >> 3;
        if (nibble & 4)
            difference += step;
        if (nibble & 2)
            difference += step >> 1;
        if (nibble & 1)
            difference += step >> 2;
        predicted = Clamp16(nibble & 8 ? predicted - difference : predicted + difference);
        index = std::clamp(index + ImaIndexChange[size_t(nibble & 7)], 0, int(ImaSteps.size()) - 1);
        return qint16(predicted);
    }
};

std::optional<PcmSound> DecodeImaAdpcm(const Format& format, QByteArrayView data)
{
    const int channels = format.channels;
    const int header = 4 * channels;
    if (format.blockAlign <= header)
        return std::nullopt;
    // After the header the channels take turns with four bytes (eight samples) each.
    const qint64 groupBytes = 4 * channels;
    const qint64 blockFrames = 1 + (format.blockAlign - header) / groupBytes * 8;
    qint64 framesPerBlock = blockFrames;
    if (format.extra.size() >= 2) {
        if (const quint16 declared = U16(format.extra, 0); declared >= 1)
            framesPerBlock = std::min<qint64>(declared, blockFrames);
    }

    const qint64 blocks = (data.size() + format.blockAlign - 1) / format.blockAlign;
    Output out(format, blocks * framesPerBlock);
    std::array<ImaChannel, 2> state{};
    std::array<std::array<qint16, 8>, 2> group{};
    for (qsizetype at = 0; at < data.size() && !out.Full(); at += format.blockAlign) {
        const QByteArrayView block = data.sliced(at, std::min<qsizetype>(format.blockAlign, data.size() - at));
        if (block.size() < header)
            break;
        bool damaged = false;
        for (int c = 0; c < channels; ++c) {
            const int index = U8(block, 4 * c + 2);
            if (index >= int(ImaSteps.size())) {
                damaged = true;
                break;
            }
            state[size_t(c)] = ImaChannel{S16(block, 4 * c), index};
        }
        if (damaged)
            break;
        for (int c = 0; c < channels; ++c)
            out.Put(qint16(state[size_t(c)].predicted));
        const qint64 groups = std::min<qint64>((framesPerBlock - 1 + 7) / 8, (block.size() - header) / groupBytes);
        qint64 frames = framesPerBlock - 1;
        for (qint64 g = 0; g < groups; ++g) {
            for (int c = 0; c < channels; ++c) {
                const qsizetype bytes = header + g * groupBytes + 4 * c;
                for (int i = 0; i < 4; ++i) {
                    const quint8 byte = U8(block, bytes + i);
                    group[size_t(c)][size_t(2 * i)] = state[size_t(c)].Next(byte & 0x0F);
                    group[size_t(c)][size_t(2 * i + 1)] = state[size_t(c)].Next(byte >> 4);
                }
            }
            const qint64 take = std::min<qint64>(8, frames);
            for (qint64 i = 0; i < take; ++i) {
                for (int c = 0; c < channels; ++c)
                    out.Put(group[size_t(c)][size_t(i)]);
            }
            frames -= take;
        }
    }
    return out.Take();
}

} // namespace

std::optional<PcmSound> Decode(QByteArrayView wave)
{
    if (wave.size() < 12 || std::memcmp(wave.data(), "RIFF", 4) != 0 || std::memcmp(wave.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    // The chunks, as far as the input goes (the RIFF length is not trusted).
    std::optional<QByteArrayView> formatChunk;
    std::optional<QByteArrayView> dataChunk;
    std::optional<QByteArrayView> factChunk;
    for (qint64 at = 12; at + 8 <= wave.size();) {
        const qint64 length = U32(wave, at + 4);
        const QByteArrayView body = wave.sliced(at + 8, std::min<qint64>(length, wave.size() - at - 8));
        const auto is = [&](const char* id) {
            return std::memcmp(wave.data() + at, id, 4) == 0;
        };
        if (!formatChunk && is("fmt "))
            formatChunk = body;
        else if (!dataChunk && is("data"))
            dataChunk = body;
        else if (!factChunk && is("fact"))
            factChunk = body;
        at += 8 + length + (length & 1);
    }
    if (!formatChunk || !dataChunk)
        return std::nullopt;
    const std::optional<Format> format = ReadFormat(*formatChunk);
    if (!format)
        return std::nullopt;
    std::optional<PcmSound> sound;
    switch (format->tag) {
    case FormatPcm:
        return DecodePcm(*format, *dataChunk);
    case FormatMsAdpcm:
        sound = DecodeMsAdpcm(*format, *dataChunk);
        break;
    case FormatImaAdpcm:
        sound = DecodeImaAdpcm(*format, *dataChunk);
        break;
    default:
        return std::nullopt;
    }
    // The last block of a compressed sound is filled up: the "fact" chunk tells how many frames
    // are real.
    if (sound && factChunk && factChunk->size() >= 4) {
        const qint64 frames = U32(*factChunk, 0);
        if (frames == 0)
            return std::nullopt;
        if (frames < sound->Frames())
            sound->samples.resize(size_t(frames * sound->channels));
    }
    return sound;
}

PcmSound Convert(const PcmSound& sound, int sampleRate, int channels)
{
    PcmSound out;
    out.sampleRate = sampleRate;
    out.channels = std::clamp(channels, 1, 2);
    const qint64 inFrames = sound.Frames();
    if (inFrames == 0 || sound.sampleRate <= 0 || sampleRate <= 0 || sound.channels > 2)
        return out;
    const qint64 outFrames =
        std::min<qint64>((inFrames * sampleRate + sound.sampleRate - 1) / sound.sampleRate, MaxFrames);
    out.samples.reserve(size_t(outFrames * out.channels));
    // One frame of the input on the output's channels.
    const auto frame = [&](qint64 index, int channel) -> int {
        const size_t at = size_t(index * sound.channels);
        if (sound.channels == 1)
            return sound.samples[at];
        if (out.channels == 2)
            return sound.samples[at + size_t(channel)];
        return (int(sound.samples[at]) + int(sound.samples[at + 1])) / 2;
    };
    for (qint64 i = 0; i < outFrames; ++i) {
        // The position in the input, in 1/65536 of a frame.
        const qint64 position = i * sound.sampleRate * 65536 / sampleRate;
        const qint64 index = std::min(position >> 16, inFrames - 1);
        const qint64 next = std::min(index + 1, inFrames - 1);
        const qint64 fraction = position & 0xFFFF;
        for (int c = 0; c < out.channels; ++c) {
            const qint64 a = frame(index, c);
            const qint64 b = frame(next, c);
            out.samples.push_back(qint16(a + (b - a) * fraction / 65536));
        }
    }
    return out;
}

} // namespace WaveDecoder
