// Fuzzes the character file compression: decompressing arbitrary blocks (the first two bytes give
// the expected size) must never crash or write past the expected size, and compressing any data
// must decompress back to it.

#include "agent/AcsCompression.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype expected = qsizetype(data[0]) | (qsizetype(data[1]) << 8);
    const QByteArrayView block(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));

    QString error;
    const std::optional<QByteArray> decoded = AcsCompression::Decompress(block, expected, &error);
    if (decoded ? decoded->size() != expected || !error.isEmpty() : error.isEmpty())
        std::abort();

    const QByteArray packed = AcsCompression::Compress(block);
    const std::optional<QByteArray> unpacked = AcsCompression::Decompress(packed, block.size());
    if (!unpacked || *unpacked != block)
        std::abort();
    return 0;
}
