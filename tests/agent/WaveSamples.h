#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <vector>

// WAVE files made for the sound tests and the decoder's fuzz seeds: the container, and tiny
// encoders for the two ADPCM formats (each keeps the decoder's state the way the format describes,
// picking the nibble that lands nearest the wanted sample).
namespace WaveSamples {

// A RIFF/WAVE file with the given "fmt " and "data" chunk bodies, and a "fact" chunk with the
// number of sample frames when factFrames is not negative.
QByteArray Riff(const QByteArray& format, const QByteArray& data, qint64 factFrames = -1);

// The 16 bytes of a plain "fmt " chunk, plus cbSize and the extra bytes when extra is not null.
QByteArray FormatChunk(quint16 tag, quint16 channels, quint32 rate, quint16 blockAlign, quint16 bits,
                       const QByteArray* extra = nullptr);

// A PCM file (8 or 16 bits); samples interleaved, 8-bit ones given as -128..127.
QByteArray Pcm(quint32 rate, quint16 channels, quint16 bits, const std::vector<qint16>& samples);

// The extra bytes of a Microsoft ADPCM format: samples per block and the standard coefficients.
QByteArray MsAdpcmExtra(quint16 samplesPerBlock);

// A Microsoft ADPCM file of the given blocks (already encoded) and block size.
QByteArray MsAdpcm(quint32 rate, quint16 channels, quint16 blockAlign, quint16 samplesPerBlock,
                   const QByteArray& blocks, qint64 factFrames = -1);

// Encodes interleaved samples as Microsoft ADPCM blocks of blockAlign bytes (the last block
// shorter when the samples end); predictor 1 in every block.
QByteArray EncodeMsAdpcm(const std::vector<qint16>& samples, int channels, int blockAlign);

// An IMA ADPCM file of the given blocks.
QByteArray ImaAdpcm(quint32 rate, quint16 channels, quint16 blockAlign, quint16 samplesPerBlock,
                    const QByteArray& blocks, qint64 factFrames = -1);

// Encodes interleaved samples as IMA ADPCM blocks of blockAlign bytes.
QByteArray EncodeImaAdpcm(const std::vector<qint16>& samples, int channels, int blockAlign);

// Samples per block of the two ADPCM formats for a block size.
int MsSamplesPerBlock(int blockAlign, int channels);
int ImaSamplesPerBlock(int blockAlign, int channels);

// A sine of `frames` frames at `frequency` Hz, on every channel (the right one a quarter turn on).
std::vector<qint16> Sine(int frames, int channels, double frequency, int rate, double amplitude);

} // namespace WaveSamples
