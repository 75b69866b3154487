#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>
#include <vector>

// A sound as 16-bit signed samples, the channels interleaved (left first).
struct PcmSound
{
    int sampleRate = 0;
    int channels = 1; // 1 or 2
    std::vector<qint16> samples;

    qint64 Frames() const { return channels > 0 ? qint64(samples.size()) / channels : 0; }
    qint64 DurationMs() const { return sampleRate > 0 ? Frames() * 1000 / sampleRate : 0; }
};

// The sounds of character files: RIFF/WAVE files, read into PcmSound.
//
// Formats read: PCM (8-bit unsigned or 16-bit signed), Microsoft ADPCM (format 2) and IMA ADPCM
// (format 0x11), each mono or stereo at any rate from 1000 to 384000 Hz; the extensible format
// when it holds PCM. Anything else is no sound. An ADPCM sound ends where its "fact" chunk says
// (the last block is usually filled up), else with its last block.
//
// Damaged files give what could be read before the damage: a block whose header is impossible
// (a predictor or step index out of range, too short for its header) ends the sound there, and data
// cut short gives the samples it holds. Nothing is read outside the input, and every loop is bounded
// by the input's size.
namespace WaveDecoder {

inline constexpr quint16 FormatPcm = 0x0001;
inline constexpr quint16 FormatMsAdpcm = 0x0002;
inline constexpr quint16 FormatImaAdpcm = 0x0011;
inline constexpr quint16 FormatExtensible = 0xFFFE;

// The longest sound made, in sample frames (about three minutes at 44100 Hz); longer ones are cut.
inline constexpr qint64 MaxFrames = qint64(1) << 23;

// Decodes a RIFF/WAVE file. std::nullopt when it is no WAVE file, its format is not one of the
// above, or it holds no samples at all.
std::optional<PcmSound> Decode(QByteArrayView wave);

// The sound at another rate (linear interpolation) and channel count (1 or 2: a mono sound goes to
// both channels, a stereo one is averaged to mono), at most MaxFrames long.
PcmSound Convert(const PcmSound& sound, int sampleRate, int channels);

} // namespace WaveDecoder
