// Writes the seed corpora of the character fuzzers from characters our own writer makes:
//
//     build/san/fuzz/acs_make_seeds fuzz/corpus

#include "../tests/agent/AcsSamples.h"

#include "agent/AcsCompression.h"
#include "agent/AcsWriter.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool Save(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A block for the decompression fuzzer: two bytes of expected size, then the compressed block.
QByteArray DecompressSeed(const QByteArray& data)
{
    QByteArray seed(2, 0);
    seed[0] = char(data.size() & 0xFF);
    seed[1] = char((data.size() >> 8) & 0xFF);
    return seed + AcsCompression::Compress(data);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: acs_make_seeds <corpus folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString reader = root.filePath(QStringLiteral("fuzz_acs_reader"));
    const QString decompress = root.filePath(QStringLiteral("fuzz_acs_decompress"));
    QDir().mkpath(reader);
    QDir().mkpath(decompress);

    const AcsCharacter small = AcsSamples::Small();
    AcsCharacter tiny;
    tiny.Info().palette = QList<AcsColor>(4);
    tiny.AddImage(AcsImage(3, 2, 1));
    AcsAnimation rest{QStringLiteral("RestPose")};
    rest.frames.append(AcsFrame{{{0, 0, 0}}});
    tiny.AddAnimation(rest);

    bool ok = true;
    ok &= Save(reader + QStringLiteral("/small-compressed.acs"), AcsWriter().Write(small).value_or(QByteArray()));
    ok &= Save(reader + QStringLiteral("/small-raw.acs"),
               AcsWriter(AcsWriteOptions{false, false, true}).Write(small).value_or(QByteArray()));
    ok &= Save(reader + QStringLiteral("/tiny.acs"), AcsWriter().Write(tiny).value_or(QByteArray()));

    ok &= Save(decompress + QStringLiteral("/runs"), DecompressSeed(QByteArray("AAAAAB") + QByteArray(300, 'x')));
    ok &= Save(decompress + QStringLiteral("/image"), DecompressSeed(small.Images()[0].Pixels()));
    ok &= Save(decompress + QStringLiteral("/mouth"), DecompressSeed(small.Images()[5].Pixels()));
    return ok ? 0 : 1;
}
