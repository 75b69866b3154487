#include "agent/AcsRender.h"

#include <algorithm>

namespace {

// The palette as ARGB, with the transparent index (and every index past the palette) transparent.
QList<quint32> Colours(const AcsCharacterInfo& info)
{
    QList<quint32> colours(256, 0);
    for (qsizetype i = 0; i < std::min<qsizetype>(info.palette.size(), 256); ++i) {
        const AcsColor& c = info.palette[i];
        colours[i] = 0xFF000000u | (quint32(c.red) << 16) | (quint32(c.green) << 8) | c.blue;
    }
    colours[info.transparentIndex] = 0;
    return colours;
}

void Draw(AcsPicture& picture, const QList<quint32>& colours, const AcsImage& image, int left, int top)
{
    const int x0 = std::max(0, left);
    const int x1 = std::min(picture.width, left + image.Width());
    const int y0 = std::max(0, top);
    const int y1 = std::min(picture.height, top + image.Height());
    const QByteArray stored = image.Pixels();
    const char* pixels = stored.constData();
    const int stride = image.Stride();
    for (int y = y0; y < y1; ++y) {
        const int row = image.Height() - 1 - (y - top); // stored bottom-up
        const auto* source = reinterpret_cast<const uchar*>(pixels) + qsizetype(row) * stride;
        quint32* target = picture.pixels.data() + qsizetype(y) * picture.width;
        for (int x = x0; x < x1; ++x) {
            const quint32 colour = colours[source[x - left]];
            if (colour != 0)
                target[x] = colour;
        }
    }
}

} // namespace

namespace AcsRender {

AcsPicture RenderFrame(const AcsCharacter& character, const AcsFrame* frame, const AcsOverlay* overlay)
{
    AcsPicture picture{character.Width(), character.Height()};
    picture.pixels.fill(0, qsizetype(picture.width) * picture.height);
    if (!frame)
        return picture;
    const QList<quint32> colours = Colours(character.Info());
    const QList<AcsImage>& images = character.Images();
    const bool replaceTop = overlay && overlay->replaceTopImage && !frame->images.isEmpty();
    for (qsizetype i = frame->images.size() - 1; i >= 0; --i) {
        const AcsFrameImage& placed = frame->images[i];
        if (i == 0 && replaceTop)
            break;
        if (placed.imageIndex < quint32(images.size()))
            Draw(picture, colours, images[placed.imageIndex], placed.x, placed.y);
    }
    if (overlay && overlay->imageIndex < images.size())
        Draw(picture, colours, images[overlay->imageIndex], overlay->x, overlay->y);
    return picture;
}

AcsPicture RenderImage(const AcsCharacter& character, const AcsImage& image)
{
    AcsPicture picture{image.Width(), image.Height()};
    picture.pixels.fill(0, qsizetype(picture.width) * picture.height);
    Draw(picture, Colours(character.Info()), image, 0, 0);
    return picture;
}

} // namespace AcsRender
