#pragma once

#include "agent/AcsImage.h"
#include "agent/AcsModel.h"

#include <QList>
#include <QString>
#include <QStringList>

// A whole character: its info, animations, images and sounds. AcsReader builds one from a file,
// AcsWriter writes one; a program can also build one in memory:
//
//     AcsCharacter c;
//     c.Info().palette = ...;
//     const int body = c.AddImage(bodyImage);
//     AcsAnimation wave{u"Wave"_s};
//     wave.frames.append(AcsFrame{{{quint32(body), 0, 0}}});
//     c.AddAnimation(wave);
//     AcsWriter().WriteFile(c, path);
//
// Animation and state names are looked up case-insensitively.
class AcsCharacter
{
public:
    AcsCharacterInfo& Info() { return m_info; }
    const AcsCharacterInfo& Info() const { return m_info; }

    QList<AcsAnimation>& Animations() { return m_animations; }
    const QList<AcsAnimation>& Animations() const { return m_animations; }
    QList<AcsImage>& Images() { return m_images; }
    const QList<AcsImage>& Images() const { return m_images; }
    QList<AcsSound>& Sounds() { return m_sounds; }
    const QList<AcsSound>& Sounds() const { return m_sounds; }

    // Appends and returns the new index.
    int AddImage(AcsImage image);
    int AddSound(QByteArray wave);
    int AddAnimation(AcsAnimation animation);
    // Sets the animations of a state (replacing an existing state of that name).
    void SetState(const QString& state, const QStringList& animations);

    quint16 Width() const { return m_info.width; }
    quint16 Height() const { return m_info.height; }

    // The animation of that name, or nullptr / -1.
    const AcsAnimation* FindAnimation(const QString& name) const;
    int AnimationIndex(const QString& name) const;
    // The animation names in file order (as the author typed them).
    QStringList AnimationNames() const;

    // The state of that name, or nullptr.
    const AcsState* FindState(const QString& name) const;
    // The animations of a state that the character really has (names as in Animations()).
    QStringList StateAnimations(const QString& state) const;

    // The localized info for a language: the exact LANGID, else the same primary language, else
    // English, else the first entry; nullptr when there is none.
    const AcsLocalizedInfo* Localized(quint16 languageId = 0x0409) const;
    QString Name(quint16 languageId = 0x0409) const;
    QString Description(quint16 languageId = 0x0409) const;

    // The overlay of a frame for a mouth shape: the exact shape, else the nearest one the frame has
    // (wide shapes fall back to other wide shapes, medium and narrow to each other); nullptr when
    // the frame has no overlays or the shape is Closed and the frame has no closed overlay.
    static const AcsOverlay* FindOverlay(const AcsFrame& frame, AcsMouthShape mouth);

    // Sets every overlay's centerX/centerY as editors do: the midpoint of the opaque part of the
    // frame's closed-mouth overlay image (its stored region's bounds, else computed from its pixels),
    // the same for all overlays of a frame. Frames without a closed-mouth overlay are left alone.
    void UpdateOverlayCenters();

    // Checks that everything the model refers to exists and that every count fits the file
    // format's fields; returns an empty text when the character can be written, else what is wrong.
    QString Validate() const;

    bool operator==(const AcsCharacter&) const = default;

private:
    AcsCharacterInfo m_info;
    QList<AcsAnimation> m_animations;
    QList<AcsImage> m_images;
    QList<AcsSound> m_sounds;
};
