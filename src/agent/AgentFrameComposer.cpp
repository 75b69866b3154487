#include "agent/AgentFrameComposer.h"

#include <QPainter>

AgentFrameComposer::AgentFrameComposer(std::shared_ptr<const AcsCharacter> character, qsizetype budgetBytes)
    : m_character(std::move(character))
    , m_colors(256, qRgba(0, 0, 0, 0))
    , m_budgetBytes(budgetBytes)
{
    const AcsCharacterInfo& info = m_character->Info();
    for (qsizetype i = 0; i < info.palette.size() && i < 256; ++i) {
        const AcsColor& color = info.palette[i];
        m_colors[size_t(i)] = qRgb(color.red, color.green, color.blue);
    }
    m_colors[info.transparentIndex] = qRgba(0, 0, 0, 0);
    m_images.resize(size_t(m_character->Images().size()));
    m_converted.resize(m_images.size(), false);
    m_lastUse.resize(m_images.size(), 0);
}

const QImage& AgentFrameComposer::Image(quint32 index)
{
    if (index >= m_images.size())
        return m_none;
    m_lastUse[index] = ++m_useCount;
    if (!m_converted[index]) {
        m_converted[index] = true;
        const AcsImage& source = m_character->Images()[qsizetype(index)];
        if (!source.IsEmpty()) {
            // An indexed image shares the stored rows; flipping it top-down and converting it gives
            // the picture with alpha in one pass each.
            const QByteArray pixels = source.Pixels();
            QImage indexed(reinterpret_cast<const uchar*>(pixels.constData()), source.Width(), source.Height(),
                           source.Stride(), QImage::Format_Indexed8);
            indexed.setColorTable(QList<QRgb>(m_colors.begin(), m_colors.end()));
            m_images[index] = indexed.mirrored(false, true).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            m_keptBytes += m_images[index].sizeInBytes();
            DropLeastRecentlyUsed(index);
        }
    }
    return m_images[index];
}

void AgentFrameComposer::DropLeastRecentlyUsed(quint32 keep)
{
    while (m_keptBytes > m_budgetBytes) {
        size_t oldest = m_images.size();
        for (size_t i = 0; i < m_images.size(); ++i) {
            if (i != keep && !m_images[i].isNull() && (oldest == m_images.size() || m_lastUse[i] < m_lastUse[oldest]))
                oldest = i;
        }
        if (oldest == m_images.size())
            return; // only the picture just made is left: it stays, however large
        m_keptBytes -= m_images[oldest].sizeInBytes();
        m_images[oldest] = QImage();
        m_converted[oldest] = false;
    }
}

QImage AgentFrameComposer::Compose(const AgentPicture& picture)
{
    QImage frame(m_character->Width(), m_character->Height(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    for (const AgentPicture::Layer& layer : picture.layers) {
        const QImage& image = Image(layer.image);
        if (!image.isNull())
            painter.drawImage(layer.x, layer.y, image);
    }
    return frame;
}
