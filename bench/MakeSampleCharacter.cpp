// Writes the engine's small sample character (tests/agent/AcsSamples) to a file, for measurements
// that need a character file before our own character is built.
//
//   bench_sample_character OUT.acs

#include "agent/AcsWriter.h"

#include "../tests/agent/AcsSamples.h"

#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_sample_character OUT.acs\n");
        return 2;
    }
    AcsWriter writer;
    if (!writer.WriteFile(AcsSamples::Small(), QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "bench_sample_character: %s\n", qPrintable(writer.ErrorText()));
        return 1;
    }
    return 0;
}
