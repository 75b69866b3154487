#pragma once

#include <QtGlobal>

#include <vector>

// One utterance rendered by the voice: 16-bit signed mono samples, the words with the sample at which
// each begins, and a mouth track (the Agent mouth shape to show in each short window of samples).
struct RenderedSpeech
{
    // The Agent mouth shapes of the character file's mouth overlays.
    enum Mouth : quint8
    {
        MouthClosed = 0,
        MouthWide1 = 1,
        MouthWide2 = 2,
        MouthWide3 = 3,
        MouthWide4 = 4,
        MouthMedium = 5,
        MouthNarrow = 6,
    };

    struct Word
    {
        qint64 sample = 0;      // where the word begins
        int spokenPosition = 0; // where it is in the spoken text (SpeechText::spoken)
        int spokenLength = 0;
    };

    int sampleRate = 22050;
    std::vector<qint16> samples;
    std::vector<Word> words; // in order of their samples
    int mouthWindow = 1102;  // samples per entry of the mouth track (50 ms at 22050 Hz)
    std::vector<quint8> mouth;

    qint64 DurationMs() const { return sampleRate > 0 ? qint64(samples.size()) * 1000 / sampleRate : 0; }
    qint64 SampleAtMs(qint64 ms) const { return ms * sampleRate / 1000; }
    Mouth MouthAt(qint64 sample) const
    {
        if (sample < 0 || mouthWindow <= 0)
            return MouthClosed;
        const qint64 index = sample / mouthWindow;
        return index < qint64(mouth.size()) ? Mouth(mouth[size_t(index)]) : MouthClosed;
    }
};
