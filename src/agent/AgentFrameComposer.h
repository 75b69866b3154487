#pragma once

#include "agent/AcsCharacter.h"
#include "agent/IAgentView.h"

#include <QImage>

#include <memory>
#include <vector>

// Turns the character's palette images into pictures with alpha and lays a frame's images on top of
// each other. Pixels holding the character's transparent index (or an index past the end of the
// palette) are fully transparent; every other pixel is opaque in its palette colour. Images are
// converted on first use and kept while their pictures fit the budget; past it, the ones used least
// recently are dropped and converted again when next needed.
class AgentFrameComposer
{
public:
    static constexpr qsizetype kDefaultBudgetBytes = 24 * 1024 * 1024;

    explicit AgentFrameComposer(std::shared_ptr<const AcsCharacter> character,
                                qsizetype budgetBytes = kDefaultBudgetBytes);

    // The frame, the character's width x height, premultiplied ARGB; transparent where no layer
    // covers it. Layers outside the frame are clipped; unknown image indices are skipped.
    QImage Compose(const AgentPicture& picture);

    // One image of the character with alpha (a null image for an unknown index). The reference
    // holds until the next call.
    const QImage& Image(quint32 index);

    // The bytes of the converted pictures kept now.
    qsizetype KeptBytes() const { return m_keptBytes; }

private:
    void DropLeastRecentlyUsed(quint32 keep);

    std::shared_ptr<const AcsCharacter> m_character;
    std::vector<QRgb> m_colors; // 256 entries: the palette, transparent beyond it and at the index
    std::vector<QImage> m_images;
    std::vector<bool> m_converted;
    std::vector<quint64> m_lastUse;
    quint64 m_useCount = 0;
    qsizetype m_keptBytes = 0;
    qsizetype m_budgetBytes;
    QImage m_none;
};
