#pragma once

#include "speech/agent/AcsCharacter.h"
#include "speech/agent/IAgentView.h"

#include <QImage>

#include <memory>
#include <vector>

// Turns the character's palette images into pictures with alpha and lays a frame's images on top of
// each other. Pixels holding the character's transparent index (or an index past the end of the
// palette) are fully transparent; every other pixel is opaque in its palette colour. Each image is
// converted once, on first use.
class AgentFrameComposer
{
public:
    explicit AgentFrameComposer(std::shared_ptr<const AcsCharacter> character);

    // The frame, the character's width x height, premultiplied ARGB; transparent where no layer
    // covers it. Layers outside the frame are clipped; unknown image indices are skipped.
    QImage Compose(const AgentPicture& picture);

    // One image of the character with alpha (a null image for an unknown index).
    const QImage& Image(quint32 index);

private:
    std::shared_ptr<const AcsCharacter> m_character;
    std::vector<QRgb> m_colors; // 256 entries: the palette, transparent beyond it and at the index
    std::vector<QImage> m_images;
    std::vector<bool> m_converted;
    QImage m_none;
};
