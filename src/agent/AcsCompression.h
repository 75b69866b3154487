#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The compression of character files (image pixels and regions): an LZ77 coder at bit level.
// A block is a 0x00 byte, the bit stream (bits taken least significant first), an end code, and
// 0xFF padding.
namespace AcsCompression {

// Decompresses a block that must expand to exactly `expectedSize` bytes. Returns std::nullopt, and
// the reason in `error` when given, on any fault: a lead byte other than 0, data ending before the
// end code, a copy reaching before the start of the output, output longer or shorter than expected.
// Never writes more than `expectedSize` bytes, whatever the input claims.
std::optional<QByteArray> Decompress(QByteArrayView block, qsizetype expectedSize, QString* error = nullptr);

// Compresses `data` (greedy longest match) into a block that Decompress reads back, with the
// trailer editors write.
QByteArray Compress(QByteArrayView data);

// The most bytes a block of `blockSize` bytes can expand to: a check before allocating for a size
// that a file declares.
qint64 MaxExpandedSize(qint64 blockSize);

} // namespace AcsCompression
