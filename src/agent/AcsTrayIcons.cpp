#include "agent/AcsTrayIcons.h"

#include <QtEndian>

#include <cstdlib>

namespace {

constexpr int kInfoHeaderSize = 40;
constexpr int kMaxSide = 256;

struct Dib
{
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    int bitCount = 0;
    QList<quint32> colours{}; // the colour table as 0xFFRRGGBB
    const uchar* rows = nullptr;
    int stride = 0;

    // The row `y` counted from the top.
    const uchar* Row(int y) const { return rows + qsizetype(bottomUp ? height - 1 - y : y) * stride; }

    quint32 Pixel(int x, int y) const
    {
        const uchar* row = Row(y);
        switch (bitCount) {
        case 1:
            return colours.value((row[x / 8] >> (7 - x % 8)) & 1, 0xFF000000u);
        case 4:
            return colours.value((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF, 0xFF000000u);
        case 8:
            return colours.value(row[x], 0xFF000000u);
        case 24:
            return 0xFF000000u | (quint32(row[3 * x + 2]) << 16) | (quint32(row[3 * x + 1]) << 8) | row[3 * x];
        default: // 32
            return 0xFF000000u | (quint32(row[4 * x + 2]) << 16) | (quint32(row[4 * x + 1]) << 8) | row[4 * x];
        }
    }
};

std::optional<Dib> ParseDib(const QByteArray& bytes)
{
    if (bytes.size() < kInfoHeaderSize)
        return std::nullopt;
    const char* d = bytes.constData();
    const auto headerSize = qFromLittleEndian<quint32>(d);
    const auto width = qFromLittleEndian<qint32>(d + 4);
    const auto height = qFromLittleEndian<qint32>(d + 8);
    const auto bitCount = qFromLittleEndian<quint16>(d + 14);
    const auto compression = qFromLittleEndian<quint32>(d + 16);
    const auto coloursUsed = qFromLittleEndian<quint32>(d + 32);
    if (headerSize < kInfoHeaderSize || headerSize > quint32(bytes.size()) || compression != 0)
        return std::nullopt;
    if (width <= 0 || width > kMaxSide || height == 0 || std::abs(qint64(height)) > kMaxSide)
        return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return std::nullopt;

    Dib dib;
    dib.width = width;
    dib.height = int(std::abs(qint64(height)));
    dib.bottomUp = height > 0;
    dib.bitCount = bitCount;
    const quint32 tableSize = coloursUsed != 0 ? coloursUsed : (bitCount <= 8 ? 1u << bitCount : 0u);
    if (tableSize > 256)
        return std::nullopt;
    dib.stride = ((width * bitCount + 31) / 32) * 4;
    const qint64 tableStart = headerSize;
    const qint64 rowsStart = tableStart + 4 * qint64(tableSize);
    if (rowsStart + qint64(dib.stride) * dib.height > bytes.size())
        return std::nullopt;
    for (quint32 i = 0; i < tableSize; ++i) {
        const auto* entry = reinterpret_cast<const uchar*>(d + tableStart + 4 * i);
        dib.colours.append(0xFF000000u | (quint32(entry[2]) << 16) | (quint32(entry[1]) << 8) | entry[0]);
    }
    dib.rows = reinterpret_cast<const uchar*>(d + rowsStart);
    return dib;
}

QByteArray InfoHeader(int width, int height, int bitCount, int stride, int colours)
{
    QByteArray header(kInfoHeaderSize, 0);
    char* d = header.data();
    qToLittleEndian<quint32>(kInfoHeaderSize, d);
    qToLittleEndian<qint32>(width, d + 4);
    qToLittleEndian<qint32>(height, d + 8);
    qToLittleEndian<quint16>(1, d + 12);
    qToLittleEndian<quint16>(quint16(bitCount), d + 14);
    qToLittleEndian<quint32>(quint32(stride * height), d + 20);
    qToLittleEndian<quint32>(quint32(colours), d + 32);
    return header;
}

} // namespace

namespace AcsTrayIcons {

std::optional<AcsPicture> Decode(const AcsTrayIcon& icon)
{
    const std::optional<Dib> mask = ParseDib(icon.maskBitmap);
    const std::optional<Dib> colour = ParseDib(icon.colorBitmap);
    if (!mask || !colour || mask->bitCount != 1 || mask->width != colour->width || mask->height != colour->height)
        return std::nullopt;
    AcsPicture picture{colour->width, colour->height};
    picture.pixels.reserve(qsizetype(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const uchar* maskRow = mask->Row(y);
        for (int x = 0; x < picture.width; ++x) {
            const bool transparent = (maskRow[x / 8] >> (7 - x % 8)) & 1;
            picture.pixels.append(transparent ? 0u : colour->Pixel(x, y));
        }
    }
    return picture;
}

AcsTrayIcon Encode(const AcsPicture& picture)
{
    const int width = picture.width;
    const int height = picture.height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        picture.pixels.size() != qsizetype(width) * height)
        return {};
    const auto opaque = [&](int x, int y) {
        return (picture.At(x, y) >> 24) >= 128;
    };

    const int maskStride = ((width + 31) / 32) * 4;
    QByteArray mask = InfoHeader(width, height, 1, maskStride, 2);
    mask.append(QByteArray("\x00\x00\x00\x00\xFF\xFF\xFF\x00", 8));
    const int colourStride = ((width * 24 + 31) / 32) * 4;
    QByteArray colour = InfoHeader(width, height, 24, colourStride, 0);
    for (int y = height - 1; y >= 0; --y) { // bottom-up
        QByteArray maskRow(maskStride, 0);
        QByteArray colourRow(colourStride, 0);
        for (int x = 0; x < width; ++x) {
            if (!opaque(x, y)) {
                maskRow[x / 8] = char(maskRow[x / 8] | (0x80 >> (x % 8)));
                continue;
            }
            const quint32 argb = picture.At(x, y);
            colourRow[3 * x] = char(argb & 0xFF);
            colourRow[3 * x + 1] = char((argb >> 8) & 0xFF);
            colourRow[3 * x + 2] = char((argb >> 16) & 0xFF);
        }
        mask.append(maskRow);
        colour.append(colourRow);
    }
    return AcsTrayIcon{mask, colour};
}

} // namespace AcsTrayIcons
