#pragma once

#include <QString>

#include <vector>

// The Agent speech syntax of a Speak request: the text, with tags (\Name\ or \Name=value\) mixed
// in. ParseSpeechText splits a request into the text the voice speaks and the text the balloon
// shows, and keeps, piece by piece, which part of the one stands for which part of the other, so
// that the voice's word events can reveal the balloon word by word.
//
// Tags honoured:
//   \Spd=n\            speed in words per minute (Agent range 50-250) for the text after it
//   \Pit=n\            pitch (Agent range 50-400) for the text after it
//   \Map="said"="shown"\  the voice says the first text, the balloon shows the second
//   \Pau=n\            a pause of n milliseconds (at most 10 s)
//   \Rst\              back to the default speed and pitch
// Tags recognised and skipped: \Chr="..."\, \Ctx="..."\, \Emp\, \Lst\, \Mrk=n\, \Vol=n\.
// Tag names are compared without regard to case. "\\" stands for one backslash shown in the balloon.
// A backslash that opens no well-formed tag is not a tag: it is shown as it is (and not spoken), and
// the text after it is read normally. Nothing in the text can fail the parse.

struct SpeechPiece
{
    enum class Kind
    {
        Text,  // the same text is spoken and shown
        Map,   // spoken and shown differ
        Pause, // silence, nothing spoken or shown
    };

    Kind kind = Kind::Text;
    int spokenBegin = 0; // [begin, end) in SpeechText::spoken
    int spokenEnd = 0;
    int shownBegin = 0; // [begin, end) in SpeechText::shown
    int shownEnd = 0;
    int speed = 0;   // the \Spd value in force, 0 = the voice's default
    int pitch = 0;   // the \Pit value in force, 0 = the voice's default
    int pauseMs = 0; // Kind::Pause only
};

struct SpeechText
{
    QString spoken;
    QString shown;
    std::vector<SpeechPiece> pieces; // in text order; spoken and shown ranges are contiguous

    // How much of the shown text to reveal once the voice has reached the word that starts at
    // spokenPosition and runs for spokenLength characters of the spoken text: the end of that word
    // in the shown text (a mapped text is revealed whole). Positions outside the text clamp.
    int ShownEndFor(int spokenPosition, int spokenLength) const;
};

SpeechText ParseSpeechText(const QString& request);

// The voice's words per minute for an Agent speed: linear through Agent 50 -> 80 (the voice's
// slowest) and Agent 150 (the default setting) -> 175 (the voice's normal), so 250 -> 270; values
// beyond clamp to the voice's range 80-450, 0 or less means the voice's normal 175.
int EspeakRateForAgentSpeed(int agentSpeed);

// The voice's pitch (0-100) for an Agent pitch. Agent pitches are baseline frequencies from 50 to
// 400 Hz; the voice's pitch scale rises roughly exponentially in frequency, so the Agent range is
// mapped logarithmically: 50 (the default setting) -> 40, a natural low voice, 100 -> 60, 200 -> 80,
// 400 -> 100. Values outside 50-400 clamp; 0 or less means the voice's normal 50.
int EspeakPitchForAgentPitch(int agentPitch);
