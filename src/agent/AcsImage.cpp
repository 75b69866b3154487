#include "agent/AcsImage.h"

#include "agent/AcsCompression.h"

#include <algorithm>
#include <vector>

AcsImage::AcsImage(quint16 width, quint16 height, quint8 fill)
    : m_width(width)
    , m_height(height)
    , m_pixels(qsizetype(StrideFor(width)) * height, char(fill))
{}

QByteArray AcsImage::Pixels() const
{
    if (m_compressed.isEmpty())
        return m_pixels;
    const qsizetype size = qsizetype(Stride()) * m_height;
    std::optional<QByteArray> pixels = AcsCompression::Decompress(m_compressed, size);
    // The reader checked that the pixels expand; should they not, the picture stays blank.
    return pixels && pixels->size() == size ? std::move(*pixels) : QByteArray(size, '\0');
}

void AcsImage::Expand()
{
    if (m_compressed.isEmpty())
        return;
    m_pixels = Pixels();
    m_compressed.clear();
}

quint8 AcsImage::PixelAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return quint8(Pixels()[qsizetype(m_height - 1 - y) * Stride() + x]);
}

void AcsImage::SetPixel(int x, int y, quint8 index)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    Expand();
    m_pixels[qsizetype(m_height - 1 - y) * Stride() + x] = char(index);
}

void AcsImage::Fill(const AcsRect& rect, quint8 index)
{
    const int left = std::max(0, rect.left);
    const int right = std::min<int>(m_width, rect.right);
    const int top = std::max(0, rect.top);
    const int bottom = std::min<int>(m_height, rect.bottom);
    if (left >= right)
        return;
    Expand();
    for (int y = top; y < bottom; ++y) {
        char* row = m_pixels.data() + qsizetype(m_height - 1 - y) * Stride();
        std::fill(row + left, row + right, char(index));
    }
}

bool AcsImage::SetPixels(const QByteArray& pixels)
{
    if (pixels.size() != qsizetype(Stride()) * m_height)
        return false;
    m_pixels = pixels;
    m_compressed.clear();
    return true;
}

bool AcsImage::Reset(quint16 width, quint16 height, const QByteArray& pixels)
{
    if (pixels.size() != qsizetype(StrideFor(width)) * height)
        return false;
    m_width = width;
    m_height = height;
    m_pixels = pixels;
    m_compressed.clear();
    return true;
}

void AcsImage::ResetCompressed(quint16 width, quint16 height, const QByteArray& compressed)
{
    m_width = width;
    m_height = height;
    m_pixels.clear();
    m_compressed = compressed;
}

bool AcsImage::operator==(const AcsImage& other) const
{
    return m_width == other.m_width && m_height == other.m_height && m_region == other.m_region &&
           (m_compressed.isEmpty() && other.m_compressed.isEmpty() ? m_pixels == other.m_pixels
                                                                   : Pixels() == other.Pixels());
}

AcsRegion AcsImage::ComputeRegion(quint8 transparentIndex) const
{
    AcsRegion region;
    // Runs of opaque pixels of the current band as [left, right) pairs, and where the band began.
    std::vector<std::pair<int, int>> bandRuns;
    std::vector<std::pair<int, int>> rowRuns;
    int bandTop = 0;

    const auto closeBand = [&](int bottom) {
        for (const auto& [left, right] : bandRuns)
            region.rects.append(AcsRect{left, bandTop, right, bottom});
        bandRuns.clear();
    };

    const QByteArray pixels = Pixels();
    for (int y = 0; y < m_height; ++y) {
        rowRuns.clear();
        const char* row = pixels.constData() + qsizetype(m_height - 1 - y) * Stride();
        int x = 0;
        while (x < m_width) {
            while (x < m_width && quint8(row[x]) == transparentIndex)
                ++x;
            if (x == m_width)
                break;
            const int start = x;
            while (x < m_width && quint8(row[x]) != transparentIndex)
                ++x;
            rowRuns.emplace_back(start, x);
        }
        if (rowRuns != bandRuns) {
            closeBand(y);
            bandRuns.swap(rowRuns);
            bandTop = y;
        }
    }
    closeBand(m_height);

    if (!region.rects.isEmpty()) {
        AcsRect bounds = region.rects.first();
        for (const AcsRect& r : std::as_const(region.rects)) {
            bounds.left = std::min(bounds.left, r.left);
            bounds.top = std::min(bounds.top, r.top);
            bounds.right = std::max(bounds.right, r.right);
            bounds.bottom = std::max(bounds.bottom, r.bottom);
        }
        region.bounds = bounds;
    }
    return region;
}
