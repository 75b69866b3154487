#include "agent/SpeechTags.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int MaxPauseMs = 10000;

enum class TagKind
{
    None,
    Number, // \Name=digits\  .
    Quoted, // \Name="text"\  .
    Bare,   // \Name\  .
    Map,
};

struct TagName
{
    QStringView name;
    TagKind kind;
};

constexpr TagName KnownTags[] = {
    {u"Spd", TagKind::Number}, {u"Pit", TagKind::Number}, {u"Pau", TagKind::Number}, {u"Mrk", TagKind::Number},
    {u"Vol", TagKind::Number}, {u"Chr", TagKind::Quoted}, {u"Ctx", TagKind::Quoted}, {u"Emp", TagKind::Bare},
    {u"Lst", TagKind::Bare},   {u"Rst", TagKind::Bare},   {u"Map", TagKind::Map},
};

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// One tag read at a backslash: what it asks for and where the text goes on.
struct Tag
{
    QStringView name;
    long long number = 0;
    QStringView said;
    QStringView shown;
    qsizetype next = 0; // index just after the closing backslash
};

// Reads the tag opening at text[at] (a backslash). Returns false when no well-formed tag starts there.
bool ReadTag(QStringView text, qsizetype at, Tag& tag)
{
    qsizetype i = at + 1;
    const qsizetype nameBegin = i;
    while (i < text.size() && IsAsciiLetter(text[i]))
        ++i;
    const QStringView name = text.mid(nameBegin, i - nameBegin);
    TagKind kind = TagKind::None;
    for (const TagName& known : KnownTags) {
        if (name.compare(known.name, Qt::CaseInsensitive) == 0) {
            kind = known.kind;
            tag.name = known.name;
        }
    }
    switch (kind) {
    case TagKind::None:
        return false;
    case TagKind::Bare:
        if (i < text.size() && text[i] == u'\\') {
            tag.next = i + 1;
            return true;
        }
        return false;
    case TagKind::Number: {
        if (i >= text.size() || text[i] != u'=')
            return false;
        ++i;
        const qsizetype digitsBegin = i;
        long long value = 0;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            value = std::min<long long>(value * 10 + (text[i].unicode() - u'0'), 1'000'000'000);
            ++i;
        }
        if (i == digitsBegin || i >= text.size() || text[i] != u'\\')
            return false;
        tag.number = value;
        tag.next = i + 1;
        return true;
    }
    case TagKind::Quoted: {
        if (!text.mid(i).startsWith(u"=\""))
            return false;
        const qsizetype end = text.indexOf(u"\"\\", i + 2);
        if (end < 0)
            return false;
        tag.next = end + 2;
        return true;
    }
    case TagKind::Map: {
        // \Map="said"="shown"\ . The said text ends at the first "=" after it and the shown text at
        // the first "\ after that, so a double quote inside either text does not end it early.
        if (!text.mid(i).startsWith(u"=\""))
            return false;
        const qsizetype saidBegin = i + 2;
        const qsizetype saidEnd = text.indexOf(u"\"=\"", saidBegin);
        if (saidEnd < 0)
            return false;
        const qsizetype shownBegin = saidEnd + 3;
        const qsizetype shownEnd = text.indexOf(u"\"\\", shownBegin);
        if (shownEnd < 0)
            return false;
        tag.said = text.mid(saidBegin, saidEnd - saidBegin);
        tag.shown = text.mid(shownBegin, shownEnd - shownBegin);
        tag.next = shownEnd + 2;
        return true;
    }
    }
    return false;
}

class SpeechBuilder
{
public:
    void Add(SpeechPiece::Kind kind, QStringView said, QStringView shown)
    {
        if (said.isEmpty() && shown.isEmpty())
            return;
        SpeechPiece piece;
        piece.kind = kind;
        piece.speed = m_speed;
        piece.pitch = m_pitch;
        piece.spokenBegin = int(m_text.spoken.size());
        piece.shownBegin = int(m_text.shown.size());
        m_text.spoken += said;
        m_text.shown += shown;
        piece.spokenEnd = int(m_text.spoken.size());
        piece.shownEnd = int(m_text.shown.size());
        if (kind == SpeechPiece::Kind::Text && !m_text.pieces.empty()) {
            SpeechPiece& last = m_text.pieces.back();
            if (last.kind == SpeechPiece::Kind::Text && last.speed == m_speed && last.pitch == m_pitch) {
                last.spokenEnd = piece.spokenEnd;
                last.shownEnd = piece.shownEnd;
                return;
            }
        }
        m_text.pieces.push_back(piece);
    }

    void AddPause(int ms)
    {
        if (ms <= 0)
            return;
        SpeechPiece piece;
        piece.kind = SpeechPiece::Kind::Pause;
        piece.speed = m_speed;
        piece.pitch = m_pitch;
        piece.spokenBegin = piece.spokenEnd = int(m_text.spoken.size());
        piece.shownBegin = piece.shownEnd = int(m_text.shown.size());
        piece.pauseMs = ms;
        m_text.pieces.push_back(piece);
    }

    void SetSpeed(int speed) { m_speed = speed; }
    void SetPitch(int pitch) { m_pitch = pitch; }
    SpeechText Take() { return std::move(m_text); }

private:
    SpeechText m_text;
    int m_speed = 0;
    int m_pitch = 0;
};

int ClampToInt(long long value)
{
    return int(std::clamp<long long>(value, 0, 1'000'000'000));
}

} // namespace

SpeechText ParseSpeechText(const QString& request)
{
    const QStringView text(request);
    SpeechBuilder builder;
    qsizetype plainBegin = 0;
    qsizetype i = 0;
    const auto flushPlain = [&] {
        builder.Add(SpeechPiece::Kind::Text, text.mid(plainBegin, i - plainBegin),
                    text.mid(plainBegin, i - plainBegin));
    };
    while (i < text.size()) {
        if (text[i] != u'\\') {
            ++i;
            continue;
        }
        flushPlain();
        Tag tag;
        if (i + 1 < text.size() && text[i + 1] == u'\\') {
            // An escaped backslash: shown, and a word break for the voice.
            builder.Add(SpeechPiece::Kind::Map, u" ", u"\\");
            i += 2;
        } else if (ReadTag(text, i, tag)) {
            if (tag.name == u"Spd")
                builder.SetSpeed(std::max(1, ClampToInt(tag.number)));
            else if (tag.name == u"Pit")
                builder.SetPitch(std::max(1, ClampToInt(tag.number)));
            else if (tag.name == u"Pau")
                builder.AddPause(std::min(MaxPauseMs, ClampToInt(tag.number)));
            else if (tag.name == u"Rst") {
                builder.SetSpeed(0);
                builder.SetPitch(0);
            } else if (tag.name == u"Map")
                builder.Add(SpeechPiece::Kind::Map, tag.said, tag.shown);
            i = tag.next;
        } else {
            // A stray backslash: shown as it is, a word break for the voice.
            builder.Add(SpeechPiece::Kind::Map, u" ", u"\\");
            ++i;
        }
        plainBegin = i;
    }
    flushPlain();
    return builder.Take();
}

int SpeechText::ShownEndFor(int spokenPosition, int spokenLength) const
{
    if (spokenPosition >= spoken.size())
        return int(shown.size());
    const SpeechPiece* found = nullptr;
    for (const SpeechPiece& piece : pieces) {
        if (piece.kind == SpeechPiece::Kind::Pause || piece.spokenBegin == piece.spokenEnd)
            continue;
        if (piece.spokenBegin > spokenPosition)
            break;
        found = &piece;
    }
    if (!found)
        return 0;
    if (found->kind != SpeechPiece::Kind::Text || spokenPosition >= found->spokenEnd)
        return found->shownEnd;
    const int wordEnd = std::clamp(spokenPosition + std::max(0, spokenLength), found->spokenBegin, found->spokenEnd);
    int end = found->shownBegin + (wordEnd - found->spokenBegin);
    // Take along what sticks to the word in the balloon (a comma, a full stop).
    while (end < found->shownEnd && !shown[end].isSpace())
        ++end;
    return end;
}

int EspeakRateForAgentSpeed(int agentSpeed)
{
    if (agentSpeed <= 0)
        return 175;
    const long long wpm = 80 + (static_cast<long long>(agentSpeed) - 50) * 95 / 100;
    return int(std::clamp<long long>(wpm, 80, 450));
}

int EspeakPitchForAgentPitch(int agentPitch)
{
    if (agentPitch <= 0)
        return 50;
    const double hz = std::clamp(agentPitch, 50, 400);
    return int(std::lround(40.0 + 60.0 * std::log(hz / 50.0) / std::log(8.0)));
}
