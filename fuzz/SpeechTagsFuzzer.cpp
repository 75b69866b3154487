// The speech-tag parser fed with arbitrary request texts (announcements are typed by the user): it
// must never crash, its pieces must cover the spoken and shown texts without gaps, and every word
// position must reveal a prefix of the shown text.

#include "agent/SpeechTags.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString request = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const SpeechText text = ParseSpeechText(request);

    int spoken = 0;
    int shown = 0;
    for (const SpeechPiece& piece : text.pieces) {
        Require(piece.spokenBegin == spoken && piece.shownBegin == shown);
        Require(piece.spokenEnd >= piece.spokenBegin && piece.shownEnd >= piece.shownBegin);
        Require(piece.pauseMs >= 0 && piece.pauseMs <= 10000);
        Require(piece.speed >= 0 && piece.pitch >= 0);
        spoken = piece.spokenEnd;
        shown = piece.shownEnd;
        const int rate = EspeakRateForAgentSpeed(piece.speed);
        const int pitch = EspeakPitchForAgentPitch(piece.pitch);
        Require(rate >= 80 && rate <= 450 && pitch >= 0 && pitch <= 100);
    }
    Require(spoken == text.spoken.size() && shown == text.shown.size());

    // Every position (and a little past the ends) maps into the shown text, never backwards.
    int last = 0;
    for (int position = -2; position <= int(text.spoken.size()) + 2; ++position) {
        const int end = text.ShownEndFor(position, 3);
        Require(end >= 0 && end <= text.shown.size());
        Require(end >= last);
        last = end;
    }
    return 0;
}
