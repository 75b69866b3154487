#include "PennywitCharacter.h"

#include "PennywitAnimations.h"
#include "PennywitPalette.h"

#include <QUuid>

using namespace Qt::StringLiterals;

namespace Pennywit {

namespace {

// Pennywit's identity in character files; never changes.
const QUuid CharacterId(0x6b1e53d2, 0x8c4f, 0x4a7e, 0x9d, 0x31, 0x2f, 0x5c, 0x70, 0xa8, 0x4e, 0x19);

AcsImage ToAcsImage(const QImage& indexed)
{
    const auto width = static_cast<quint16>(indexed.width());
    const auto height = static_cast<quint16>(indexed.height());
    const int stride = AcsImage::StrideFor(width);
    QByteArray pixels(qsizetype(stride) * height, char(PennywitPalette::TransparentIndex));
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        char* row = pixels.data() + qsizetype(height - 1 - y) * stride;
        std::copy_n(reinterpret_cast<const char*>(indexed.constScanLine(y)), width, row);
    }
    AcsImage image;
    image.Reset(width, height, pixels);
    return image;
}

AcsTransition ToTransition(Ending ending)
{
    return ending == Ending::ExitBranches ? AcsTransition::ExitBranches : AcsTransition::None;
}

// The seven mouth shapes of the file, each shown with one of his five mouths: the engine opens the
// mouth wider as the voice gets louder (narrow, medium, then the wide shapes).
MouthShape MouthFor(AcsMouthShape shape)
{
    switch (shape) {
    case AcsMouthShape::Closed:
        return MouthShape::Closed;
    case AcsMouthShape::Narrow:
        return MouthShape::Narrow;
    case AcsMouthShape::Medium:
        return MouthShape::Medium;
    case AcsMouthShape::WideOpen1:
    case AcsMouthShape::WideOpen4:
        return MouthShape::Round;
    case AcsMouthShape::WideOpen2:
    case AcsMouthShape::WideOpen3:
        return MouthShape::Wide;
    }
    return MouthShape::Closed;
}

QList<AcsOverlay> ToOverlays(const QList<DraftOverlay>& draft, const QList<AcsImage>& images)
{
    QList<AcsOverlay> overlays;
    if (draft.isEmpty())
        return overlays;
    const auto imageOf = [&draft](MouthShape shape) {
        for (const DraftOverlay& overlay : draft) {
            if (overlay.shape == shape)
                return overlay.image;
        }
        return draft.first().image;
    };
    // Editors store the middle of the closed mouth with every overlay of the frame.
    const AcsRect closed =
        images.at(imageOf(MouthShape::Closed)).ComputeRegion(PennywitPalette::TransparentIndex).bounds;
    for (quint8 value = 0; value <= quint8(AcsMouthShape::Narrow); ++value) {
        const auto shape = AcsMouthShape(value);
        AcsOverlay overlay;
        overlay.mouth = shape;
        overlay.imageIndex = quint16(imageOf(MouthFor(shape)));
        overlay.centerX = quint16((closed.left + closed.right) / 2);
        overlay.centerY = quint16((closed.top + closed.bottom) / 2);
        overlays.append(overlay);
    }
    return overlays;
}

AcsFrame ToFrame(const DraftFrame& draft, const QList<AcsImage>& images)
{
    AcsFrame frame;
    for (int image : draft.images)
        frame.images.append({quint32(image), 0, 0});
    frame.duration = quint16(draft.duration);
    frame.exitBranch = qint16(draft.exit);
    for (const DraftBranch& branch : draft.branches)
        frame.branches.append({quint16(branch.frame), quint16(branch.percent)});
    frame.overlays = ToOverlays(draft.overlays, images);
    return frame;
}

} // namespace

AcsCharacterInfo CharacterInfo()
{
    AcsCharacterInfo info;
    info.guid = CharacterId;
    info.width = 128;
    info.height = 128;
    info.transparentIndex = PennywitPalette::TransparentIndex;
    info.styleFlags = AcsStyle::BalloonSizeToText | AcsStyle::StandardAnimationSet;
    for (QRgb colour : PennywitPalette::Colours())
        info.palette.append({quint8(qRed(colour)), quint8(qGreen(colour)), quint8(qBlue(colour))});

    // A brisk, slightly high, cheerful voice: the engine turns 160 into about 185 words a minute and
    // 110 Hz into the upper middle of espeak-ng's pitch range.
    AcsVoiceInfo voice;
    voice.speed = 160;
    voice.pitch = 110;
    voice.hasExtra = true;
    voice.languageId = 0x0409;
    voice.gender = 2;
    voice.age = 60;
    voice.style = u"Cheerful"_s;
    info.voice = voice;

    // A warm paper-coloured balloon edged in his own outline colour.
    AcsBalloonInfo balloon;
    balloon.lines = 2;
    balloon.charactersPerLine = 32;
    balloon.textColor = {42, 26, 16};
    balloon.backgroundColor = {255, 250, 232};
    balloon.borderColor = {42, 26, 16};
    balloon.fontName = u"DejaVu Sans"_s;
    balloon.fontHeight = -13;
    balloon.fontWeight = 400;
    info.balloon = balloon;

    const QStringList idle{u"IdleBlink"_s, u"IdleWatch"_s, u"IdlePolish"_s, u"IdleTicker"_s};
    info.states = {
        {AcsStates::Showing, {u"Showing"_s}},
        {AcsStates::Hiding, {u"Hiding"_s}},
        {AcsStates::Speaking, {u"Speaking"_s}},
        {u"RESTPOSE"_s, {AcsRestPoseName}},
        {AcsStates::IdlingLevel1, idle},
        {AcsStates::IdlingLevel2, idle + QStringList{u"IdleDoze"_s}},
        {AcsStates::IdlingLevel3, {u"IdleDoze"_s, u"IdleBlink"_s}},
        {AcsStates::MovingLeft, {u"MoveLeft"_s}},
        {AcsStates::MovingRight, {u"MoveRight"_s}},
        {AcsStates::MovingUp, {u"MoveUp"_s}},
        {AcsStates::MovingDown, {u"MoveDown"_s}},
    };
    info.localized = {{0x0409, u"Pennywit"_s,
                       u"Pennywit, Quorvane's cheerful old coin, reads your stock prices aloud and announces "
                       u"your alerts."_s,
                       u""_s}};
    return info;
}

QStringList GestureNames()
{
    return {u"Wave"_s,       u"ThumbUp"_s,  u"MoneyShow"_s, u"GraphUp"_s, u"GraphDown"_s,
            u"Calculator"_s, u"SignSell"_s, u"SignBuy"_s,   u"PotGold"_s, u"Crash"_s,
            u"Bear"_s,       u"Dance"_s,    u"Burn"_s,      u"Advert"_s,  u"Read"_s};
}

AcsCharacter ToAcsCharacter(const CharacterDraft& draft)
{
    AcsCharacter character;
    character.Info() = CharacterInfo();
    for (const QImage& image : draft.Images())
        character.AddImage(ToAcsImage(image));
    for (const DraftAnimation& animation : draft.Animations()) {
        AcsAnimation converted;
        converted.name = animation.name;
        converted.transition = ToTransition(animation.ending);
        for (const DraftFrame& frame : animation.frames)
            converted.frames.append(ToFrame(frame, character.Images()));
        character.AddAnimation(converted);
    }
    return character;
}

AcsCharacter BuildCharacter()
{
    CharacterDraft draft;
    BuildAllAnimations(draft);
    return ToAcsCharacter(draft);
}

} // namespace Pennywit
