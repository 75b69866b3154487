#pragma once

#include "agent/RenderedSpeech.h"
#include "agent/SpeechTags.h"

#include <QString>

#include <atomic>
#include <optional>

// The voice's synthesizer: espeak-ng in synchronous mode, rendering a parsed Speak text into a
// buffer of samples with its word events (playback on the machine's sound device gives no word
// events without one, so the samples are played by our own output instead).
//
// espeak-ng is one synthesizer per process; every call here takes a process-wide lock, so any thread
// may render (the character renders on its voice's worker thread). It is initialised on first use
// from its default data folder (the espeak-ng-data package); if that fails, speech is unavailable
// for the rest of the run and Render returns nothing.
class EspeakRenderer
{
public:
    struct Voice
    {
        QString name = QStringLiteral("en-us"); // an espeak-ng voice name
        int defaultSpeed = 0;                   // Agent speed for text without \Spd, 0 = normal
        int defaultPitch = 0;                   // Agent pitch for text without \Pit, 0 = normal
    };

    // Whether the synthesizer could be initialised.
    static bool IsAvailable();

    // The espeak-ng voice for a Windows language id (1033 -> "en-us").
    static QString VoiceForLanguage(quint32 languageId);

    // Renders the spoken text piece by piece (each with its own speed and pitch; pauses as silence).
    // Returns nothing when speech is unavailable or when cancel becomes true while rendering. Word
    // positions refer to text.spoken.
    static std::optional<RenderedSpeech> Render(const SpeechText& text, const Voice& voice,
                                                const std::atomic_bool* cancel = nullptr);
};
