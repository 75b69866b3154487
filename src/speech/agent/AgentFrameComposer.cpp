#include "speech/agent/AgentFrameComposer.h"

#include <QPainter>

AgentFrameComposer::AgentFrameComposer(std::shared_ptr<const AcsCharacter> character)
    : m_character(std::move(character))
    , m_colors(256, qRgba(0, 0, 0, 0))
{
    const AcsCharacterInfo& info = m_character->Info();
    for (qsizetype i = 0; i < info.palette.size() && i < 256; ++i) {
        const AcsColor& color = info.palette[i];
        m_colors[size_t(i)] = qRgb(color.red, color.green, color.blue);
    }
    m_colors[info.transparentIndex] = qRgba(0, 0, 0, 0);
    m_images.resize(size_t(m_character->Images().size()));
    m_converted.resize(m_images.size(), false);
}

const QImage& AgentFrameComposer::Image(quint32 index)
{
    if (index >= m_images.size())
        return m_none;
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
        }
    }
    return m_images[index];
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
