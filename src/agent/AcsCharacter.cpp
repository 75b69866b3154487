#include "agent/AcsCharacter.h"

#include <QSet>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

int AcsCharacter::AddImage(AcsImage image)
{
    m_images.append(std::move(image));
    return int(m_images.size() - 1);
}

int AcsCharacter::AddSound(QByteArray wave)
{
    m_sounds.append(AcsSound{std::move(wave)});
    return int(m_sounds.size() - 1);
}

int AcsCharacter::AddAnimation(AcsAnimation animation)
{
    m_animations.append(std::move(animation));
    return int(m_animations.size() - 1);
}

void AcsCharacter::SetState(const QString& state, const QStringList& animations)
{
    for (AcsState& existing : m_info.states) {
        if (existing.name.compare(state, Qt::CaseInsensitive) == 0) {
            existing.animations = animations;
            return;
        }
    }
    m_info.states.append(AcsState{state, animations});
}

const AcsAnimation* AcsCharacter::FindAnimation(const QString& name) const
{
    const int index = AnimationIndex(name);
    return index < 0 ? nullptr : &m_animations[index];
}

int AcsCharacter::AnimationIndex(const QString& name) const
{
    if (name.isEmpty())
        return -1;
    for (qsizetype i = 0; i < m_animations.size(); ++i) {
        if (m_animations[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QStringList AcsCharacter::AnimationNames() const
{
    QStringList names;
    names.reserve(m_animations.size());
    for (const AcsAnimation& animation : m_animations)
        names.append(animation.name);
    return names;
}

const AcsState* AcsCharacter::FindState(const QString& name) const
{
    for (const AcsState& state : m_info.states) {
        if (state.name.compare(name, Qt::CaseInsensitive) == 0)
            return &state;
    }
    return nullptr;
}

QStringList AcsCharacter::StateAnimations(const QString& state) const
{
    QStringList names;
    if (const AcsState* found = FindState(state)) {
        for (const QString& name : found->animations) {
            if (const AcsAnimation* animation = FindAnimation(name))
                names.append(animation->name);
        }
    }
    return names;
}

const AcsLocalizedInfo* AcsCharacter::Localized(quint16 languageId) const
{
    const auto& list = m_info.localized;
    if (list.isEmpty())
        return nullptr;
    for (const AcsLocalizedInfo& info : list) {
        if (info.languageId == languageId)
            return &info;
    }
    for (const AcsLocalizedInfo& info : list) {
        if ((info.languageId & 0x3FF) == (languageId & 0x3FF))
            return &info;
    }
    for (const AcsLocalizedInfo& info : list) {
        if ((info.languageId & 0x3FF) == 0x09)
            return &info;
    }
    return &list.first();
}

QString AcsCharacter::Name(quint16 languageId) const
{
    const AcsLocalizedInfo* info = Localized(languageId);
    return info ? info->name : QString();
}

QString AcsCharacter::Description(quint16 languageId) const
{
    const AcsLocalizedInfo* info = Localized(languageId);
    return info ? info->description : QString();
}

const AcsOverlay* AcsCharacter::FindOverlay(const AcsFrame& frame, AcsMouthShape mouth)
{
    using M = AcsMouthShape;
    // Preference order per shape: the shape itself first, then the most similar ones.
    static const std::array<std::array<M, 7>, 7> preferences{{
        {M::Closed, M::Closed, M::Closed, M::Closed, M::Closed, M::Closed, M::Closed},
        {M::WideOpen1, M::WideOpen2, M::Medium, M::WideOpen3, M::WideOpen4, M::Narrow, M::WideOpen1},
        {M::WideOpen2, M::WideOpen1, M::WideOpen3, M::Medium, M::WideOpen4, M::Narrow, M::WideOpen2},
        {M::WideOpen3, M::WideOpen4, M::WideOpen2, M::WideOpen1, M::Medium, M::Narrow, M::WideOpen3},
        {M::WideOpen4, M::WideOpen3, M::WideOpen2, M::WideOpen1, M::Medium, M::Narrow, M::WideOpen4},
        {M::Medium, M::Narrow, M::WideOpen1, M::WideOpen2, M::WideOpen3, M::WideOpen4, M::Medium},
        {M::Narrow, M::Medium, M::WideOpen1, M::WideOpen2, M::WideOpen3, M::WideOpen4, M::Narrow},
    }};
    if (frame.overlays.isEmpty())
        return nullptr;
    const auto shape = quint8(mouth);
    if (shape >= preferences.size()) {
        for (const AcsOverlay& overlay : frame.overlays) {
            if (overlay.mouth == mouth)
                return &overlay;
        }
        return nullptr;
    }
    for (M wanted : preferences[shape]) {
        for (const AcsOverlay& overlay : frame.overlays) {
            if (overlay.mouth == wanted)
                return &overlay;
        }
    }
    return nullptr;
}

void AcsCharacter::UpdateOverlayCenters()
{
    for (AcsAnimation& animation : m_animations) {
        for (AcsFrame& frame : animation.frames) {
            const AcsOverlay* closed = nullptr;
            for (const AcsOverlay& overlay : frame.overlays) {
                if (overlay.mouth == AcsMouthShape::Closed && overlay.imageIndex < m_images.size()) {
                    closed = &overlay;
                    break;
                }
            }
            if (!closed)
                continue;
            const AcsImage& image = m_images[closed->imageIndex];
            const AcsRect bounds =
                image.Region() ? image.Region()->bounds : image.ComputeRegion(m_info.transparentIndex).bounds;
            const auto centerX = quint16(std::max(0, (bounds.left + bounds.right) / 2));
            const auto centerY = quint16(std::max(0, (bounds.top + bounds.bottom) / 2));
            for (AcsOverlay& overlay : frame.overlays) {
                overlay.centerX = centerX;
                overlay.centerY = centerY;
            }
        }
    }
}

QString AcsCharacter::Validate() const
{
    if (m_info.palette.size() > 256)
        return u"The palette has %1 colours; at most 256 are allowed."_s.arg(m_info.palette.size());
    if (m_images.size() > 0x7FFFFFFF || m_animations.size() > 0x7FFFFFFF)
        return u"The character has too many images or animations."_s;
    if (m_sounds.size() > 32767)
        return u"The character has %1 sounds; at most 32767 are allowed."_s.arg(m_sounds.size());

    QSet<QString> names;
    for (const AcsAnimation& animation : m_animations) {
        const QString& name = animation.name;
        if (name.isEmpty())
            return u"An animation has no name."_s;
        if (names.contains(name.toUpper()))
            return u"The animation name \"%1\" is used twice."_s.arg(name);
        names.insert(name.toUpper());
    }

    for (const AcsAnimation& animation : m_animations) {
        const QString where = u"Animation \"%1\""_s.arg(animation.name);
        if (quint8(animation.transition) > 2)
            return where + u" has an unknown transition type."_s;
        if (!animation.returnAnimation.isEmpty() && AnimationIndex(animation.returnAnimation) < 0)
            return where + u" returns through \"%1\", which does not exist."_s.arg(animation.returnAnimation);
        const qsizetype frameCount = animation.frames.size();
        if (frameCount > 0xFFFF)
            return where + u" has more than 65535 frames."_s;
        for (qsizetype f = 0; f < frameCount; ++f) {
            const AcsFrame& frame = animation.frames[f];
            const QString at = where + u", frame %1,"_s.arg(f);
            if (frame.images.size() > 0xFFFF)
                return at + u" has more than 65535 images."_s;
            for (const AcsFrameImage& image : frame.images) {
                if (image.imageIndex >= quint32(m_images.size()))
                    return at + u" uses image %1, which does not exist."_s.arg(image.imageIndex);
            }
            if (frame.soundIndex < -1 || frame.soundIndex >= m_sounds.size())
                return at + u" uses sound %1, which does not exist."_s.arg(frame.soundIndex);
            if (frame.exitBranch < AcsExit::End || frame.exitBranch >= frameCount)
                return at + u" has exit branch %1, which is not a frame."_s.arg(frame.exitBranch);
            if (frame.branches.size() > 255)
                return at + u" has more than 255 branches."_s;
            int total = 0;
            for (const AcsBranch& branch : frame.branches) {
                if (branch.targetFrame >= frameCount)
                    return at + u" branches to frame %1, which does not exist."_s.arg(branch.targetFrame);
                total += branch.probability;
            }
            if (total > 100)
                return at + u" has branch probabilities adding up to %1 %."_s.arg(total);
            if (frame.overlays.size() > 255)
                return at + u" has more than 255 mouth overlays."_s;
            for (const AcsOverlay& overlay : frame.overlays) {
                if (overlay.imageIndex >= m_images.size())
                    return at + u" has a mouth overlay with image %1, which does not exist."_s.arg(overlay.imageIndex);
            }
        }
    }

    for (const AcsState& state : m_info.states) {
        if (state.name.isEmpty())
            return u"A state has no name."_s;
        if (state.animations.size() > 0xFFFF)
            return u"State \"%1\" has more than 65535 animations."_s.arg(state.name);
    }
    if (m_info.states.size() > 0xFFFF || m_info.localized.size() > 0xFFFF)
        return u"The character has too many states or languages."_s;
    return {};
}
