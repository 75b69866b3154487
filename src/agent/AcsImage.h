#pragma once

#include "agent/AcsModel.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The region of an image: the rectangles that together cover its opaque pixels, top-down, banded
// and sorted as Windows regions are.
struct AcsRegion
{
    AcsRect bounds{}; // the union's bounding rectangle; all zero when there are no rectangles
    QList<AcsRect> rects{};

    bool operator==(const AcsRegion&) const = default;
};

// One picture of the character: 8-bit palette indices, rows stored bottom-up and padded to a
// multiple of 4 bytes, as in the file. Use PixelAt / SetPixel for top-down coordinates.
//
// An image read from a file may keep its pixels compressed as the file stores them (a few times
// smaller): Pixels() expands them each time it is asked, and the first change expands them for good.
class AcsImage
{
public:
    AcsImage() = default;
    // A width × height image filled with `fill` (usually the transparent index).
    AcsImage(quint16 width, quint16 height, quint8 fill = 0);

    quint16 Width() const { return m_width; }
    quint16 Height() const { return m_height; }
    bool IsEmpty() const { return m_width == 0 || m_height == 0; }
    // Bytes per stored row: the width rounded up to a multiple of 4.
    int Stride() const { return StrideFor(m_width); }
    static int StrideFor(quint16 width) { return (int(width) + 3) & ~3; }

    // Palette index at column x, row y counted from the top; out of range gives 0.
    quint8 PixelAt(int x, int y) const;
    void SetPixel(int x, int y, quint8 index);
    // Fills the rectangle (clipped to the image) with one palette index.
    void Fill(const AcsRect& rect, quint8 index);

    // The stored pixel buffer: Stride() × Height() bytes, bottom row first.
    QByteArray Pixels() const;
    // Replaces the buffer; false (and nothing changed) when its size is not Stride() × Height().
    bool SetPixels(const QByteArray& pixels);
    // Starts a new size with the buffer given (which must be StrideFor(width) × height bytes).
    bool Reset(quint16 width, quint16 height, const QByteArray& pixels);
    // Starts a new size with the pixels kept compressed (AcsCompression), as checked by the caller
    // to expand to exactly StrideFor(width) × height bytes.
    void ResetCompressed(quint16 width, quint16 height, const QByteArray& compressed);
    bool IsCompressed() const { return !m_compressed.isEmpty(); }

    // The region stored with the image, if any (AcsReader fills it from the file).
    const std::optional<AcsRegion>& Region() const { return m_region; }
    void SetRegion(std::optional<AcsRegion> region) { m_region = std::move(region); }

    // Builds the region of the pixels that are not `transparentIndex`: runs of opaque pixels per
    // row, identical neighbouring rows merged into taller rectangles.
    AcsRegion ComputeRegion(quint8 transparentIndex) const;

    // Same size, pixels and region, however each is stored.
    bool operator==(const AcsImage& other) const;

private:
    void Expand();

    quint16 m_width = 0;
    quint16 m_height = 0;
    QByteArray m_pixels;
    QByteArray m_compressed; // when not empty, the pixels as the file stores them (m_pixels unused)
    std::optional<AcsRegion> m_region;
};
