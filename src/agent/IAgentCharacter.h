#pragma once

#include <QString>
#include <QStringList>

// One loaded character of the character engine (see IAgentControl), as the character manager drives
// it. Every operation returns at once: Show, Hide, MoveTo, Play, Speak and Think only queue a
// request, and the character plays its requests one after the other in the order they were made,
// each starting when the one before it has finished. A request that cannot be carried out (an
// animation the character lacks, speech while the voice is unavailable, ...) is dropped without an
// error, or done in the part that can be done, as described below; nothing is ever reported back.
//
// The character starts hidden, at the top-left corner of the screen, with balloon style 15.
class IAgentCharacter
{
public:
    // The bits of the balloon style.
    static constexpr quint32 BalloonOn = 0x1;         // a balloon shows the words at all
    static constexpr quint32 BalloonSizeToText = 0x2; // sized to the text (else the character's lines x chars)
    static constexpr quint32 BalloonAutoHide = 0x4;   // hidden shortly after the words are done
    static constexpr quint32 BalloonAutoPace = 0x8;   // revealed word by word as they are spoken
    static constexpr quint32 BalloonStyleDefault = BalloonOn | BalloonSizeToText | BalloonAutoHide | BalloonAutoPace;

    virtual ~IAgentCharacter() = default;

    // The Windows language id (1033 = US English) the character speaks in; it picks the voice's
    // language: English ids an English voice (1033 American, others British), a few common European
    // languages their own voice, anything else English. Takes effect with the next Speak request that
    // starts playing. Not queued.
    virtual void SetLanguageID(quint32 languageId) = 0;
    virtual quint32 LanguageID() const = 0;

    // The character's name as its file gives it, in the language set (else in the first language
    // the file has); empty when the file names none.
    virtual QString Name() const = 0;

    // The character's frame size in pixels (128 x 128 for the usual characters), for placement.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Queues a move of the character's top-left corner to screen position (x, y). A shown character
    // glides there in about a second, playing its "Moving" state animation for the main direction when
    // it has one; a hidden one moves at once. The position is where the user left the character when
    // they dragged it, so a move always starts from where the character really is.
    virtual void MoveTo(int x, int y) = 0;

    // Queues showing the character. Unless fast, the "Showing" state animation plays as it appears;
    // fast (or a character without one) shows it at once. Then the character rests. Showing a
    // character that is already shown does nothing.
    virtual void Show(bool fast) = 0;

    // Queues hiding the character (and its balloon). Unless fast, the "Hiding" state animation plays
    // before the window goes; fast (or without one) hides it at once. Hiding a hidden character does
    // nothing.
    virtual void Hide(bool fast) = 0;

    // Queues an animation by name (compared without regard to case). An animation the character
    // lacks is dropped. The animation plays to its end (with its return animation or exit branches
    // where it has them) and the character then rests in its final pose or returns to rest. An
    // animation that loops is left through its exit branches as soon as another request is waiting,
    // and after ten seconds at most in any case, so a loop never holds up the queue. (A loop is
    // told by the animation playing longer than one pass through all its frames.) On a hidden
    // character it is skipped.
    virtual void Play(const QString& animation) = 0;

    // Queues speaking text in the Agent speech syntax: \Spd=n\ (speed), \Pit=n\ (pitch), \Map="spoken"=
    // "shown"\ (say one text, show another), \Pau=n\ (a pause in milliseconds) and \Rst\ (default
    // speed and pitch) are honoured; the other tags are skipped, and a backslash that opens no tag is
    // shown as it is. The words are spoken by the voice while the mouth moves with them; with the
    // balloon style on, a balloon shows the shown text, word by word when auto-paced. Without a
    // sound device the speech still takes the time it would have taken, and without a voice the
    // words take their reading time in the balloon. On a hidden character the voice speaks without
    // a balloon. An empty text does nothing.
    virtual void Speak(const QString& text) = 0;

    // Queues thinking text: a thought balloon (when the balloon style is on) shows the text as Speak's
    // balloon would (the shown half of a \Map tag, every other tag left out), without voice, for a
    // reading time that grows with the length of the text. On a hidden character, or with the
    // balloon off, it does nothing.
    virtual void Think(const QString& text) = 0;

    // Stops the request being played (its speech is cut, its balloon hidden, its animation left at
    // once for the rest pose) and drops every queued request. Shown or hidden stays as it is at that
    // moment.
    virtual void StopAll() = 0;

    // Sets the balloon style (the Balloon* bits; 15 = on, sized to text, auto-hide, auto-pace; 0 = no
    // balloon). A character whose file turns its balloon off shows none, whatever the style. Not
    // queued: it applies to every Speak and Think requested after it, and requests already queued
    // keep the style they were requested with.
    virtual void SetBalloonStyle(quint32 style) = 0;
    virtual quint32 BalloonStyle() const = 0;

    // The names of the character's animations, as the author wrote them, in the order of the
    // character file.
    virtual QStringList AnimationNames() const = 0;
};
