#pragma once

// The in-memory model of a character file (Microsoft Agent 2.0 .acs): plain value types that the
// reader fills and the writer writes. The classes with behaviour live beside them: AcsImage (pixels
// and region) and AcsCharacter (the whole character and its look-ups).
//
// Conventions used throughout the model:
//  - indices are 0-based; a character read by AcsReader only holds indices that are in range;
//  - durations are in hundredths of a second, as in the file;
//  - animation and state names are compared case-insensitively (the file stores some upper-case).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QtGlobal>

#include <optional>

// One colour of the palette or of the balloon.
struct AcsColor
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;

    bool operator==(const AcsColor&) const = default;
};

// A rectangle in pixels; right and bottom are exclusive.
struct AcsRect
{
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const AcsRect&) const = default;
};

// The style flags of the character (AcsCharacterInfo::styleFlags). The writer sets the voice and
// balloon bits itself from whether the voice and balloon info are present.
namespace AcsStyle {
inline constexpr quint32 VoiceDisabled = 0x00000010;
inline constexpr quint32 VoiceEnabled = 0x00000020;
inline constexpr quint32 BalloonDisabled = 0x00000100;
inline constexpr quint32 BalloonEnabled = 0x00000200;
inline constexpr quint32 BalloonSizeToText = 0x00010000;
inline constexpr quint32 BalloonNoAutoHide = 0x00020000;
inline constexpr quint32 BalloonNoAutoPace = 0x00040000;
inline constexpr quint32 StandardAnimationSet = 0x00100000;
} // namespace AcsStyle

// Name and description of the character in one language.
struct AcsLocalizedInfo
{
    quint16 languageId = 0x0409; // Windows LANGID; 0x0009 means "English, any"
    QString name{};
    QString description{};
    QString extraData{}; // free text; often phrases separated by "^^"

    bool operator==(const AcsLocalizedInfo&) const = default;
};

// The default voice of the character (a SAPI 4 description; we use the speed and pitch as hints).
struct AcsVoiceInfo
{
    QUuid engineId{};
    QUuid modeId{};
    quint32 speed = 0xFFFFFFFF; // words per minute; 0xFFFFFFFF = leave to the engine
    quint16 pitch = 0xFFFF;     // baseline pitch in Hz; 0xFFFF = leave to the engine

    // The optional tail of the voice info.
    bool hasExtra = false;
    quint16 languageId = 0x0409;
    QString dialect{};
    quint16 gender = 0; // 1 female, 2 male
    quint16 age = 0;
    QString style{};

    bool operator==(const AcsVoiceInfo&) const = default;
};

// The word balloon's look.
struct AcsBalloonInfo
{
    quint8 lines = 2;
    quint8 charactersPerLine = 28;
    AcsColor textColor{0, 0, 0};
    AcsColor backgroundColor{255, 255, 225};
    AcsColor borderColor{0, 0, 0};
    QString fontName{};
    qint32 fontHeight = -13; // negative: character height in pixels (LOGFONT convention)
    qint32 fontWeight = 400; // 400 normal, 700 bold
    bool italic = false;
    quint8 fontFlags = 0; // the last byte of the record; meaning unknown, kept as read

    bool operator==(const AcsBalloonInfo&) const = default;
};

// The tray icon: two headerless Windows DIBs (40-byte BITMAPINFOHEADER, colour table, bottom-up
// rows), kept as stored.
struct AcsTrayIcon
{
    QByteArray maskBitmap{};  // 1 bit per pixel; bit 1 = transparent
    QByteArray colorBitmap{}; // the colour picture

    bool operator==(const AcsTrayIcon&) const = default;
};

// A state (SHOWING, HIDING, SPEAKING, IDLINGLEVEL1, ...) and the animations that may play for it.
struct AcsState
{
    QString name{};
    QStringList animations{};

    bool operator==(const AcsState&) const = default;
};

// The standard state names.
namespace AcsStates {
inline const QString Showing = QStringLiteral("SHOWING");
inline const QString Hiding = QStringLiteral("HIDING");
inline const QString Speaking = QStringLiteral("SPEAKING");
inline const QString Listening = QStringLiteral("LISTENING");
inline const QString Hearing = QStringLiteral("HEARING");
inline const QString IdlingLevel1 = QStringLiteral("IDLINGLEVEL1");
inline const QString IdlingLevel2 = QStringLiteral("IDLINGLEVEL2");
inline const QString IdlingLevel3 = QStringLiteral("IDLINGLEVEL3");
inline const QString MovingUp = QStringLiteral("MOVINGUP");
inline const QString MovingDown = QStringLiteral("MOVINGDOWN");
inline const QString MovingLeft = QStringLiteral("MOVINGLEFT");
inline const QString MovingRight = QStringLiteral("MOVINGRIGHT");
inline const QString GesturingUp = QStringLiteral("GESTURINGUP");
inline const QString GesturingDown = QStringLiteral("GESTURINGDOWN");
inline const QString GesturingLeft = QStringLiteral("GESTURINGLEFT");
inline const QString GesturingRight = QStringLiteral("GESTURINGRIGHT");
} // namespace AcsStates

// The animation a character rests in between requests (an animation, not a state).
inline const QString AcsRestPoseName = QStringLiteral("RestPose");

// Everything about the character except its animations, images and sounds.
struct AcsCharacterInfo
{
    quint16 minorVersion = 1;
    quint16 majorVersion = 2;
    QUuid guid{};
    quint16 width = 128; // frame size in pixels
    quint16 height = 128;
    quint8 transparentIndex = 0; // palette index of transparent pixels
    quint32 styleFlags = AcsStyle::BalloonSizeToText | AcsStyle::StandardAnimationSet;
    quint16 animationSetMajor = 2;
    quint16 animationSetMinor = 0;

    std::optional<AcsVoiceInfo> voice{};     // present: voice output enabled
    std::optional<AcsBalloonInfo> balloon{}; // present: word balloon enabled
    QList<AcsColor> palette{};               // at most 256 entries
    std::optional<AcsTrayIcon> trayIcon{};
    QList<AcsState> states{};
    QList<AcsLocalizedInfo> localized{};

    bool operator==(const AcsCharacterInfo&) const = default;
};

// One image drawn in a frame, at an offset from the frame's top-left corner.
struct AcsFrameImage
{
    quint32 imageIndex = 0; // into AcsCharacter::Images()
    qint16 x = 0;
    qint16 y = 0;

    bool operator==(const AcsFrameImage&) const = default;
};

// A branch taken after a frame with the given probability (percent).
struct AcsBranch
{
    quint16 targetFrame = 0; // frame index in the same animation
    quint16 probability = 0; // percent; the branches of one frame add up to at most 100

    bool operator==(const AcsBranch&) const = default;
};

// The mouth shapes of the speech overlays.
enum class AcsMouthShape : quint8
{
    Closed = 0,
    WideOpen1 = 1,
    WideOpen2 = 2,
    WideOpen3 = 3,
    WideOpen4 = 4,
    Medium = 5,
    Narrow = 6,
};

// A mouth image laid over a frame while the character speaks.
struct AcsOverlay
{
    AcsMouthShape mouth = AcsMouthShape::Closed;
    bool replaceTopImage = false; // true: drawn instead of the frame's first (top-most) image
    quint16 imageIndex = 0;       // into AcsCharacter::Images()
    quint8 unknown = 0;           // a byte of unknown meaning, kept as read
    qint16 x = 0;
    qint16 y = 0;
    // The midpoint of the opaque part of the frame's closed-mouth image (in that image's own
    // coordinates), as editors store it; nothing draws with it.
    quint16 centerX = 0;
    quint16 centerY = 0;
    std::optional<QByteArray> region{}; // raw RGNDATA of the overlay, rarely present

    bool operator==(const AcsOverlay&) const = default;
};

// Special values of AcsFrame::exitBranch.
namespace AcsExit {
inline constexpr qint16 None = -1; // no exit branch set on this frame
inline constexpr qint16 End = -2;  // leaving the animation is complete here
} // namespace AcsExit

// One frame of an animation.
struct AcsFrame
{
    QList<AcsFrameImage> images{};     // top-most first: draw from the last to the first
    qint16 soundIndex = -1;            // into AcsCharacter::Sounds(); -1 = no sound
    quint16 duration = 10;             // hundredths of a second
    qint16 exitBranch = AcsExit::None; // frame to go to while the animation is being left, or AcsExit
    QList<AcsBranch> branches{};
    QList<AcsOverlay> overlays{};

    bool operator==(const AcsFrame&) const = default;
};

// What happens when an animation ends or is interrupted.
enum class AcsTransition : quint8
{
    ReturnAnimation = 0, // play the return animation to get back to the rest pose
    ExitBranches = 1,    // follow the frames' exit branches until AcsExit::End
    None = 2,            // nothing: the animation simply stops
};

struct AcsAnimation
{
    QString name{}; // as the author typed it (the file also keeps an upper-case copy)
    AcsTransition transition = AcsTransition::None;
    QString returnAnimation{}; // with AcsTransition::ReturnAnimation; empty otherwise
    QList<AcsFrame> frames{};

    bool operator==(const AcsAnimation&) const = default;
};

// A sound: a complete RIFF/WAVE file.
struct AcsSound
{
    QByteArray wave{};

    bool operator==(const AcsSound&) const = default;
};
