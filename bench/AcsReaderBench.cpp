// How long loading a character takes: a 2 MB character (880 compressed 128 × 128 frames with
// regions, like the larger characters people use) read from memory and from a file.
//
//     scripts/build test && build/test/bench/bench_acs_reader

#include "../tests/agent/AcsSamples.h"

#include "agent/AcsCompression.h"
#include "agent/AcsReader.h"
#include "agent/AcsWriter.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// About 2 MB when written compressed.
constexpr int kImages = 880;

const QByteArray& LargeFile()
{
    static const QByteArray bytes = AcsWriter().Write(AcsSamples::Large(kImages)).value_or(QByteArray());
    return bytes;
}

void BM_ReadCharacterFromMemory(benchmark::State& state)
{
    const QByteArray& bytes = LargeFile();
    for (auto _ : state) {
        std::optional<AcsCharacter> character = AcsReader().Read(bytes);
        if (!character)
            state.SkipWithError("the character did not load");
        benchmark::DoNotOptimize(character);
    }
    state.counters["file_bytes"] = double(bytes.size());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadCharacterFromMemory)->Unit(benchmark::kMillisecond);

void BM_ReadCharacterFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Large.acs"));
    if (!AcsWriter().WriteFile(AcsSamples::Large(kImages), path)) {
        state.SkipWithError("the character could not be written");
        return;
    }
    for (auto _ : state) {
        std::optional<AcsCharacter> character = AcsReader().ReadFile(path);
        if (!character)
            state.SkipWithError("the character did not load");
        benchmark::DoNotOptimize(character);
    }
    state.counters["file_bytes"] = double(LargeFile().size());
}
BENCHMARK(BM_ReadCharacterFile)->Unit(benchmark::kMillisecond);

void BM_DecompressFrame(benchmark::State& state)
{
    const AcsCharacter character = AcsSamples::Large(1);
    const QByteArray pixels = character.Images()[0].Pixels();
    const QByteArray block = AcsCompression::Compress(pixels);
    for (auto _ : state)
        benchmark::DoNotOptimize(AcsCompression::Decompress(block, pixels.size()));
    state.counters["compressed_bytes"] = double(block.size());
    state.SetBytesProcessed(state.iterations() * pixels.size());
}
BENCHMARK(BM_DecompressFrame);

void BM_WriteCharacter(benchmark::State& state)
{
    const AcsCharacter character = AcsSamples::Large(kImages);
    for (auto _ : state)
        benchmark::DoNotOptimize(AcsWriter().Write(character));
}
BENCHMARK(BM_WriteCharacter)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
