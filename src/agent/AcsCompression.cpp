#include "agent/AcsCompression.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Offset classes of a copy: prefix bits, field width, value added.
constexpr int kShortWidth = 6;
constexpr int kMediumWidth = 9;
constexpr int kLongWidth = 12;
constexpr int kFarWidth = 20;
constexpr quint32 kShortBase = 1;
constexpr quint32 kMediumBase = 65;
constexpr quint32 kLongBase = 577;
constexpr quint32 kFarBase = 4673;
constexpr quint32 kEndCode = 0xFFFFF;
constexpr quint32 kMaxDistance = kFarBase + kEndCode - 1; // 1,053,247
constexpr int kMaxLengthBits = 11;                        // 12 ones in a row are corrupt
constexpr int kMinMatch = 2;
constexpr int kMaxMatch = (1 << 12); // 4096 (4097 with a far offset)

// Reads the stream: bytes in order, bits least significant first.
class BitReader
{
public:
    BitReader(const uchar* data, const uchar* end)
        : m_data(data)
        , m_end(end)
    {}

    // Makes sure at least `n` (≤ 56) bits are buffered; false at the end of the data.
    bool Need(int n)
    {
        if (m_count >= n)
            return true;
        Refill();
        return m_count >= n;
    }

    // Buffers at least 56 bits, or all that is left. With 8 bytes to spare they come in one load;
    // the bits loaded beyond m_count are the stream's own next bits, loaded again (to the same
    // place) by the next refill.
    void Refill()
    {
        if (m_end - m_data >= 8) {
            m_buffer |= qFromLittleEndian<quint64>(m_data) << m_count;
            const int bytes = (63 - m_count) >> 3;
            m_data += bytes;
            m_count += bytes * 8;
            return;
        }
        while (m_count <= 56 && m_data < m_end) {
            m_buffer |= quint64(*m_data++) << m_count;
            m_count += 8;
        }
    }

    // Takes `n` bits (n ≤ m_count, checked by the caller through Need).
    quint32 Take(int n)
    {
        const auto value = quint32(m_buffer & ((quint64(1) << n) - 1));
        m_buffer >>= n;
        m_count -= n;
        return value;
    }

    // Counts and takes a run of 1 bits and the 0 that ends it; -1 when more than `limit` ones come,
    // -2 when the data ends first.
    int TakeOnes(int limit)
    {
        Need(limit + 1);
        const int ones = std::countr_one(m_buffer);
        if (ones > limit)
            return -1;
        if (ones >= m_count)
            return -2;
        Take(ones + 1);
        return ones;
    }

private:
    const uchar* m_data;
    const uchar* m_end;
    quint64 m_buffer = 0;
    int m_count = 0;
};

// Writes the stream, bits least significant first.
class BitWriter
{
public:
    explicit BitWriter(qsizetype reserve) { m_out.reserve(reserve); }

    void Put(quint32 value, int n)
    {
        m_buffer |= quint64(value) << m_count;
        m_count += n;
        while (m_count >= 8) {
            m_out.push_back(char(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }

    void PutOnes(int n)
    {
        while (n > 0) {
            const int chunk = std::min(n, 24);
            Put((1u << chunk) - 1, chunk);
            n -= chunk;
        }
    }

    // Fills the last byte with 1 bits.
    void PadWithOnes()
    {
        if (m_count > 0)
            PutOnes(8 - m_count);
    }

    QByteArray& Bytes() { return m_out; }

private:
    QByteArray m_out;
    quint64 m_buffer = 0;
    int m_count = 0;
};

bool Fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// The number of bits a copy costs.
int CopyCost(quint32 distance, int length)
{
    int bits = 1;
    int m = length - kMinMatch;
    if (distance < kMediumBase)
        bits += 1 + kShortWidth;
    else if (distance < kLongBase)
        bits += 2 + kMediumWidth;
    else if (distance < kFarBase)
        bits += 3 + kLongWidth;
    else {
        bits += 3 + kFarWidth;
        --m;
    }
    const int k = std::bit_width(quint32(m + 1)) - 1;
    return bits + 2 * k + 1;
}

void PutCopy(BitWriter& out, quint32 distance, int length)
{
    out.Put(1, 1);
    int m = length - kMinMatch;
    if (distance < kMediumBase) {
        out.Put(0, 1);
        out.Put(distance - kShortBase, kShortWidth);
    } else if (distance < kLongBase) {
        out.Put(0b01, 2);
        out.Put(distance - kMediumBase, kMediumWidth);
    } else if (distance < kFarBase) {
        out.Put(0b011, 3);
        out.Put(distance - kLongBase, kLongWidth);
    } else {
        out.Put(0b111, 3);
        out.Put(distance - kFarBase, kFarWidth);
        --m;
    }
    const int k = std::bit_width(quint32(m + 1)) - 1;
    out.PutOnes(k);
    out.Put(0, 1);
    if (k > 0)
        out.Put(quint32(m + 1 - (1 << k)), k);
}

} // namespace

namespace AcsCompression {

std::optional<QByteArray> Decompress(QByteArrayView block, qsizetype expectedSize, QString* error)
{
    if (expectedSize < 0) {
        Fail(error, u"negative size"_s);
        return std::nullopt;
    }
    if (block.isEmpty() || block[0] != 0) {
        Fail(error, u"the compressed data does not start with a zero byte"_s);
        return std::nullopt;
    }
    if (expectedSize > MaxExpandedSize(block.size())) {
        Fail(error, u"the compressed data is too short for the size it declares"_s);
        return std::nullopt;
    }

    QByteArray output(expectedSize, Qt::Uninitialized);
    auto* const begin = reinterpret_cast<uchar*>(output.data());
    uchar* out = begin;
    uchar* const outEnd = begin + expectedSize;
    const auto* data = reinterpret_cast<const uchar*>(block.data());
    BitReader bits(data + 1, data + block.size());

    const auto truncated = [&] {
        return Fail(error, u"the compressed data ends before its end code"_s);
    };
    for (;;) {
        if (!bits.Need(1)) {
            truncated();
            return std::nullopt;
        }
        if (bits.Take(1) == 0) {
            if (!bits.Need(8)) {
                truncated();
                return std::nullopt;
            }
            if (out == outEnd) {
                Fail(error, u"the compressed data expands beyond its declared size"_s);
                return std::nullopt;
            }
            *out++ = uchar(bits.Take(8));
            continue;
        }

        // A copy: offset class, offset, length.
        const auto nextBit = [&]() -> int {
            return bits.Need(1) ? int(bits.Take(1)) : -1;
        };
        quint32 distance = 0;
        bool far = false;
        int width = 0;
        quint32 base = 0;
        const int first = nextBit();
        const int second = first == 1 ? nextBit() : 0;
        const int third = second == 1 ? nextBit() : 0;
        if (first < 0 || second < 0 || third < 0) {
            truncated();
            return std::nullopt;
        }
        if (first == 0) {
            width = kShortWidth;
            base = kShortBase;
        } else if (second == 0) {
            width = kMediumWidth;
            base = kMediumBase;
        } else if (third == 0) {
            width = kLongWidth;
            base = kLongBase;
        } else {
            width = kFarWidth;
            base = kFarBase;
            far = true;
        }
        if (!bits.Need(width)) {
            truncated();
            return std::nullopt;
        }
        const quint32 field = bits.Take(width);
        if (far && field == kEndCode) {
            if (out != outEnd) {
                Fail(error,
                     u"the compressed data gives %1 of the %2 bytes it declares"_s.arg(out - begin).arg(expectedSize));
                return std::nullopt;
            }
            return output;
        }
        distance = field + base;

        const int k = bits.TakeOnes(kMaxLengthBits);
        if (k == -1) {
            Fail(error, u"the compressed data holds an invalid length"_s);
            return std::nullopt;
        }
        if (k < 0 || !bits.Need(k)) {
            truncated();
            return std::nullopt;
        }
        qsizetype length = (qsizetype(1) << k) + (k > 0 ? bits.Take(k) : 0) + 1 + (far ? 1 : 0);

        if (distance > quint32(out - begin)) {
            Fail(error, u"the compressed data copies from before its start"_s);
            return std::nullopt;
        }
        if (length > outEnd - out) {
            Fail(error, u"the compressed data expands beyond its declared size"_s);
            return std::nullopt;
        }
        const uchar* from = out - distance;
        if (distance >= quint32(length)) {
            std::memcpy(out, from, size_t(length));
            out += length;
        } else if (distance == 1) {
            std::memset(out, *from, size_t(length));
            out += length;
        } else {
            while (length-- > 0)
                *out++ = *from++;
        }
    }
}

QByteArray Compress(QByteArrayView data)
{
    const auto* in = reinterpret_cast<const uchar*>(data.data());
    const qsizetype size = data.size();
    BitWriter out(size / 4 + 16);
    out.Put(0, 8); // the lead byte

    // Hash chains over 3-byte prefixes; the nearest candidates come first.
    constexpr int kHashBits = 15;
    constexpr int kMaxChain = 64;
    std::vector<qint32> head(size_t(1) << kHashBits, -1);
    std::vector<qint32> previous(size_t(std::max<qsizetype>(size, 1)), -1);
    const auto hashAt = [&](qsizetype pos) {
        const quint32 v = quint32(in[pos]) | (quint32(in[pos + 1]) << 8) | (quint32(in[pos + 2]) << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    };
    const auto insert = [&](qsizetype pos) {
        if (pos + 3 > size)
            return;
        const quint32 h = hashAt(pos);
        previous[size_t(pos)] = head[h];
        head[h] = qint32(pos);
    };

    qsizetype pos = 0;
    while (pos < size) {
        int bestLength = 0;
        quint32 bestDistance = 0;
        if (pos + 3 <= size) {
            int chain = kMaxChain;
            for (qint32 candidate = head[hashAt(pos)]; candidate >= 0 && chain-- > 0;
                 candidate = previous[size_t(candidate)]) {
                const auto distance = quint32(pos - candidate);
                if (distance > kMaxDistance)
                    break;
                const qsizetype limit =
                    std::min<qsizetype>(size - pos, distance >= kFarBase ? kMaxMatch + 1 : kMaxMatch);
                if (limit <= bestLength || in[candidate + bestLength] != in[pos + bestLength])
                    continue;
                qsizetype length = 0;
                while (length < limit && in[candidate + length] == in[pos + length])
                    ++length;
                if (length > bestLength && (distance < kFarBase || length >= kMinMatch + 1)) {
                    bestLength = int(length);
                    bestDistance = distance;
                    if (length == limit)
                        break;
                }
            }
        }
        if (bestLength >= kMinMatch && CopyCost(bestDistance, bestLength) < 9 * bestLength) {
            PutCopy(out, bestDistance, bestLength);
            for (qsizetype end = pos + bestLength; pos < end; ++pos)
                insert(pos);
        } else {
            out.Put(0, 1);
            out.Put(in[pos], 8);
            insert(pos);
            ++pos;
        }
    }

    // End code, ones to the byte boundary, and three more 0xFF bytes.
    out.Put(1, 1);
    out.Put(0b111, 3);
    out.PutOnes(kFarWidth);
    out.PadWithOnes();
    out.Bytes().append(3, char(0xFF));
    return std::move(out.Bytes());
}

qint64 MaxExpandedSize(qint64 blockSize)
{
    // The cheapest code per output byte is a short-offset copy of 4096 bytes: 31 bits.
    if (blockSize <= 1)
        return 0;
    const qint64 bits = (blockSize - 1) * 8;
    return (bits / 31 + 1) * (kMaxMatch + 1);
}

} // namespace AcsCompression
