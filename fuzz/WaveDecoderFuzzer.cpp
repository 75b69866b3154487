// Fuzzes the decoder of the characters' sounds: any input must decode without reading outside it,
// and what comes out must be a well-formed sound that converts to the device's format.

#include "agent/WaveDecoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView wave(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<PcmSound> sound = WaveDecoder::Decode(wave);
    if (!sound)
        return 0;
    if (sound->channels < 1 || sound->channels > 2 || sound->samples.empty() ||
        sound->samples.size() % size_t(sound->channels) != 0 || sound->Frames() > WaveDecoder::MaxFrames ||
        sound->sampleRate < 1000 || sound->sampleRate > 384000)
        std::abort();
    // A compressed sound gives at most four samples a byte (plus a header's two).
    if (qint64(sound->samples.size()) > qint64(size) * 4 + 4)
        std::abort();
    const PcmSound converted = WaveDecoder::Convert(*sound, 48000, 2);
    const qint64 expected = (sound->Frames() * 48000 + sound->sampleRate - 1) / sound->sampleRate;
    if (converted.Frames() != std::min(expected, WaveDecoder::MaxFrames))
        std::abort();
    return 0;
}
