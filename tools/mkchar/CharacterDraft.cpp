#include "CharacterDraft.h"

#include "PennywitPainter.h"
#include "PennywitPalette.h"

#include <QCryptographicHash>

namespace Pennywit {

namespace {

QByteArray Fingerprint(const QImage& indexed)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const int width = indexed.width();
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&width), sizeof width));
    for (int y = 0; y < indexed.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(indexed.constScanLine(y)), indexed.width()));
    return hash.result();
}

Mouth MouthFor(MouthShape shape)
{
    switch (shape) {
    case MouthShape::Closed:
        return Mouth::Closed;
    case MouthShape::Narrow:
        return Mouth::Narrow;
    case MouthShape::Medium:
        return Mouth::Medium;
    case MouthShape::Wide:
        return Mouth::Wide;
    case MouthShape::Round:
        return Mouth::Round;
    }
    return Mouth::Closed;
}

} // namespace

int DraftAnimation::Duration() const
{
    int total = 0;
    for (const DraftFrame& frame : frames)
        total += frame.duration;
    return total;
}

int CharacterDraft::ImageOf(const Pose& pose)
{
    return AddImage(PennywitPalette::ToIndexed(DrawPicture(pose)));
}

int CharacterDraft::AddImage(const QImage& indexed)
{
    const QByteArray key = Fingerprint(indexed);
    const auto found = m_imageIndex.constFind(key);
    if (found != m_imageIndex.constEnd())
        return *found;
    m_images.append(indexed);
    const int index = static_cast<int>(m_images.size()) - 1;
    m_imageIndex.insert(key, index);
    return index;
}

QList<DraftOverlay> CharacterDraft::OverlaysOf(const Pose& pose)
{
    const QPainterPath region = MouthRegion(pose);
    QList<DraftOverlay> overlays;
    for (MouthShape shape : MouthShapes) {
        Pose speaking = pose;
        speaking.mouth = MouthFor(shape);
        QImage picture = PennywitPalette::ToIndexed(DrawPicture(speaking));
        for (int y = 0; y < picture.height(); ++y) {
            uchar* line = picture.scanLine(y);
            for (int x = 0; x < picture.width(); ++x) {
                if (!region.contains(QPointF(x + 0.5, y + 0.5)))
                    line[x] = PennywitPalette::TransparentIndex;
            }
        }
        overlays.append({shape, AddImage(picture)});
    }
    return overlays;
}

const DraftAnimation* CharacterDraft::Find(const QString& name) const
{
    for (const DraftAnimation& animation : m_animations) {
        if (animation.name.compare(name, Qt::CaseInsensitive) == 0)
            return &animation;
    }
    return nullptr;
}

AnimationBuilder::AnimationBuilder(CharacterDraft& draft, QString name, Ending ending)
    : m_draft(draft)
{
    m_animation.name = std::move(name);
    m_animation.ending = ending;
}

int AnimationBuilder::Add(const Pose& pose, int duration)
{
    DraftFrame frame;
    frame.images = {m_draft.ImageOf(pose)};
    frame.duration = duration;
    m_animation.frames.append(frame);
    return Count() - 1;
}

int AnimationBuilder::AddSpeaking(const Pose& pose, int duration)
{
    const int index = Add(pose, duration);
    Frame(index).overlays = m_draft.OverlaysOf(pose);
    return index;
}

int AnimationBuilder::AddEmpty(int duration)
{
    DraftFrame frame;
    frame.duration = duration;
    m_animation.frames.append(frame);
    return Count() - 1;
}

int AnimationBuilder::AddLayers(const QList<const Pose*>& layers, int duration)
{
    DraftFrame frame;
    for (const Pose* layer : layers)
        frame.images.append(m_draft.ImageOf(*layer));
    frame.duration = duration;
    m_animation.frames.append(frame);
    return Count() - 1;
}

void AnimationBuilder::Branch(int from, int to, int percent)
{
    Frame(from).branches.append({to, percent});
}

void AnimationBuilder::ExitThrough(int firstReturnFrame)
{
    for (int i = 0; i < Count(); ++i) {
        if (i < firstReturnFrame)
            Frame(i).exit = firstReturnFrame;
        else if (i + 1 < Count())
            Frame(i).exit = i + 1;
        else
            Frame(i).exit = ExitDone;
    }
}

void AnimationBuilder::Finish()
{
    m_draft.AddAnimation(std::move(m_animation));
}

} // namespace Pennywit
