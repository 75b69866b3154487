// The bit-level LZ77 coder of character files.

#include "agent/AcsCompression.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// Builds a block bit by bit (least significant bit of each byte first), for hand-made streams.
class Stream
{
public:
    Stream& Bits(const char* text)
    {
        for (const char* c = text; *c; ++c) {
            if (*c == ' ')
                continue;
            if (*c == '1')
                m_current |= char(1 << m_count);
            if (++m_count == 8)
                Flush();
        }
        return *this;
    }
    // A value of `width` bits, least significant first.
    Stream& Value(quint32 value, int width)
    {
        for (int i = 0; i < width; ++i)
            Bits((value >> i) & 1 ? "1" : "0");
        return *this;
    }
    Stream& Literal(quint8 byte) { return Bits("0").Value(byte, 8); }
    Stream& End() { return Bits("1 111").Value(0xFFFFF, 20); }
    QByteArray Block()
    {
        while (m_count != 0)
            Bits("1");
        return QByteArray(1, 0) + m_bytes + QByteArray(3, char(0xFF));
    }

private:
    void Flush()
    {
        m_bytes.append(m_current);
        m_current = 0;
        m_count = 0;
    }
    QByteArray m_bytes;
    char m_current = 0;
    int m_count = 0;
};

} // namespace

TEST(AcsCompression, DecodesTheWorkedExample)
{
    // "AAAAAB": literal A, copy (offset 1, length 4), literal B, end code.
    const QByteArray block = Bytes({0x00, 0x82, 0x02, 0x4A, 0xE8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    const auto decoded = AcsCompression::Decompress(block, 6);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, "AAAAAB"_ba);
}

TEST(AcsCompression, EncodesTheWorkedExampleByteForByte)
{
    EXPECT_EQ(AcsCompression::Compress("AAAAAB"_ba),
              Bytes({0x00, 0x82, 0x02, 0x4A, 0xE8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(AcsCompression, DecodesEveryOffsetClassAndTheFarLengthBonus)
{
    // 5000 distinct-ish bytes, then copies from 3 (6-bit), 100 (9-bit), 1000 (12-bit) and
    // 4800 (20-bit) bytes back.
    QByteArray expected;
    Stream stream;
    for (int i = 0; i < 5000; ++i) {
        const auto byte = quint8((i * 7 + i / 256) & 0xFF);
        expected.append(char(byte));
        stream.Literal(byte);
    }
    const auto copy = [&](int distance, int length) {
        for (int i = 0; i < length; ++i)
            expected.append(expected[expected.size() - distance]);
    };
    // 6-bit class, k = 0: length 2.
    stream.Bits("1 0").Value(3 - 1, 6).Bits("0");
    copy(3, 2);
    // 9-bit class, k = 2, v = 3: length 4 + 3 + 1 = 8.
    stream.Bits("1 10").Value(100 - 65, 9).Bits("110").Value(3, 2);
    copy(100, 8);
    // 12-bit class, k = 3, v = 0: length 9.
    stream.Bits("1 110").Value(1000 - 577, 12).Bits("1110").Value(0, 3);
    copy(1000, 9);
    // 20-bit class, k = 0: length 2 + 1.
    stream.Bits("1 111").Value(4800 - 4673, 20).Bits("0");
    copy(4800, 3);
    // The longest copy: k = 11, v = 2047 -> 4096 bytes, overlapping (distance 2).
    stream.Bits("1 0").Value(1, 6).Bits("11111111111 0").Value(2047, 11);
    copy(2, 4096);
    const QByteArray block = stream.End().Block();

    const auto decoded = AcsCompression::Decompress(block, expected.size());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, expected);
}

struct HostileBlock
{
    const char* name;
    QByteArray block;
    qsizetype expectedSize;
    const char* reason;
};

class AcsCompressionHostile : public ::testing::TestWithParam<HostileBlock>
{};

TEST_P(AcsCompressionHostile, IsRefusedWithAReason)
{
    QString error;
    EXPECT_FALSE(AcsCompression::Decompress(GetParam().block, GetParam().expectedSize, &error).has_value());
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().reason))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcsCompressionHostile,
    ::testing::Values(
        HostileBlock{"Empty", {}, 1, "zero byte"},
        HostileBlock{"LeadByte", Bytes({0x01, 0x82, 0x02, 0x4A, 0xE8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 6,
                     "zero byte"},
        HostileBlock{"NoEndCode", Stream().Literal('A').Literal('B').Block().chopped(3), 2, "ends before"},
        HostileBlock{"CutInsideLiteral", QByteArray(1, 0) + QByteArray(1, char(0x02)), 1, "ends before"},
        HostileBlock{"CutInsideOffset", Stream().Literal('A').Block().left(2) + QByteArray(1, char(0x03)), 5,
                     "ends before"},
        HostileBlock{"TwelveOnes", Stream().Literal('A').Bits("1 0 000000 111111111111 0").End().Block(), 5000,
                     "invalid length"},
        HostileBlock{"OffsetBeforeStart", Stream().Literal('A').Bits("1 0").Value(1, 6).Bits("0").End().Block(), 3,
                     "before its start"},
        HostileBlock{"TooLongCopy", Stream().Literal('A').Bits("1 0 000000 10 1").End().Block(), 3,
                     "beyond its declared size"},
        HostileBlock{"TooManyLiterals", Stream().Literal('A').Literal('B').Literal('C').End().Block(), 2,
                     "beyond its declared size"},
        HostileBlock{"TooShort", Stream().Literal('A').End().Block(), 2, "1 of the 2 bytes"},
        HostileBlock{"HugeDeclaredSize", Stream().Literal('A').End().Block(), qsizetype(4) << 30, "too short"},
        HostileBlock{"Negative", Stream().Literal('A').End().Block(), -1, "negative"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AcsCompression, RoundTripsTypicalAndAwkwardData)
{
    std::mt19937 random(1234);
    std::vector<QByteArray> inputs;
    inputs.push_back({});
    inputs.push_back("A"_ba);
    inputs.push_back(QByteArray(100000, 'x')); // long runs: longest copies
    QByteArray noise(20000, Qt::Uninitialized);
    for (char& c : noise)
        c = char(random());
    inputs.push_back(noise); // incompressible
    // An image-like buffer: bands, shapes, a little dither, repeated far apart (20-bit offsets).
    QByteArray picture(16384, 10);
    for (int y = 20; y < 110; ++y)
        for (int x = 30; x < 100; ++x)
            picture[y * 128 + x] = char(((x - 64) * (x - 64) + (y - 64) * (y - 64) < 1200) ? 40 + (x + y) % 3 : 10);
    for (int i = 0; i < 300; ++i)
        picture[int(random() % 16384)] = char(random() % 256);
    inputs.push_back(picture);
    inputs.push_back(picture + noise.left(8000) + picture);

    for (const QByteArray& input : inputs) {
        const QByteArray block = AcsCompression::Compress(input);
        EXPECT_TRUE(block.endsWith(QByteArray(6, char(0xFF))));
        const auto decoded = AcsCompression::Decompress(block, input.size());
        ASSERT_TRUE(decoded.has_value()) << input.size();
        EXPECT_EQ(*decoded, input);
    }
    EXPECT_LT(AcsCompression::Compress(inputs[2]).size(), 150);
    EXPECT_LT(AcsCompression::Compress(picture).size(), picture.size() / 4);
}

TEST(AcsCompression, MaxExpandedSizeBoundsRealOutput)
{
    const QByteArray zeros(1 << 20, 0);
    const QByteArray block = AcsCompression::Compress(zeros);
    EXPECT_GE(AcsCompression::MaxExpandedSize(block.size()), zeros.size());
    EXPECT_EQ(AcsCompression::MaxExpandedSize(0), 0);
}
