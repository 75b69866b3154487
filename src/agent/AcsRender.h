#pragma once

#include "agent/AcsCharacter.h"

#include <QList>

// A composed picture: width × height pixels, rows top-down, each 0xAARRGGBB with alpha 0
// (transparent) or 255. QImage(reinterpret_cast<const uchar*>(pixels.constData()), width, height,
// QImage::Format_ARGB32) shows it.
struct AcsPicture
{
    int width = 0;
    int height = 0;
    QList<quint32> pixels{};

    quint32 At(int x, int y) const { return pixels[qsizetype(y) * width + x]; }
    bool operator==(const AcsPicture&) const = default;
};

// Composing the character's frames from its images.
namespace AcsRender {

// The frame as it appears on screen, in the character's frame size: its images drawn from the last
// to the first at their offsets (so the first ends up on top), skipping transparent pixels and
// pixels outside the palette; then the mouth overlay, if any, on top (or, for an overlay that
// replaces the top image, instead of the frame's first image). A null frame gives a fully
// transparent picture.
AcsPicture RenderFrame(const AcsCharacter& character, const AcsFrame* frame, const AcsOverlay* overlay = nullptr);

// One image on its own (transparent pixels transparent).
AcsPicture RenderImage(const AcsCharacter& character, const AcsImage& image);

} // namespace AcsRender
