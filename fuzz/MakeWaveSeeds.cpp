// Writes the seed corpus of the sound decoder's fuzzer from the sounds the tests make:
//
//     build/san/fuzz/wave_make_seeds fuzz/corpus

#include "../tests/agent/WaveSamples.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool Save(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: wave_make_seeds <corpus folder>\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("fuzz_wave_decoder"));
    QDir().mkpath(folder);
    using namespace WaveSamples;
    const std::vector<qint16> mono = Sine(200, 1, 440, 8000, 9000);
    const std::vector<qint16> stereo = Sine(200, 2, 440, 11025, 9000);

    bool ok = true;
    ok &= Save(folder + QStringLiteral("/pcm8-mono.wav"), Pcm(8000, 1, 8, Sine(60, 1, 440, 8000, 100)));
    ok &= Save(folder + QStringLiteral("/pcm16-stereo.wav"), Pcm(22050, 2, 16, Sine(60, 2, 440, 22050, 9000)));
    ok &= Save(folder + QStringLiteral("/msadpcm-mono.wav"),
               MsAdpcm(8000, 1, 64, quint16(MsSamplesPerBlock(64, 1)), EncodeMsAdpcm(mono, 1, 64), 200));
    ok &= Save(folder + QStringLiteral("/msadpcm-stereo.wav"),
               MsAdpcm(11025, 2, 128, quint16(MsSamplesPerBlock(128, 2)), EncodeMsAdpcm(stereo, 2, 128)));
    ok &= Save(folder + QStringLiteral("/ima-mono.wav"),
               ImaAdpcm(8000, 1, 64, quint16(ImaSamplesPerBlock(64, 1)), EncodeImaAdpcm(mono, 1, 64), 200));
    ok &= Save(folder + QStringLiteral("/ima-stereo.wav"),
               ImaAdpcm(11025, 2, 128, quint16(ImaSamplesPerBlock(128, 2)), EncodeImaAdpcm(stereo, 2, 128)));
    return ok ? 0 : 1;
}
