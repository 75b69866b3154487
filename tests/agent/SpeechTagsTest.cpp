#include "agent/SpeechTags.h"

#include <gtest/gtest.h>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

struct TagCase
{
    const char16_t* request;
    const char16_t* spoken;
    const char16_t* shown;
};

class SpeechTagsText : public ::testing::TestWithParam<TagCase>
{};

TEST_P(SpeechTagsText, SplitsSpokenAndShownText)
{
    const TagCase& c = GetParam();
    const SpeechText text = ParseSpeechText(QString::fromUtf16(c.request));
    EXPECT_EQ(text.spoken, QString::fromUtf16(c.spoken));
    EXPECT_EQ(text.shown, QString::fromUtf16(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SpeechTagsText,
    ::testing::Values(
        // The character manager's request text.
        TagCase{u"\\Spd=150\\\\Pit=50\\Hello", u"Hello", u"Hello"},
        TagCase{u"Plain words.", u"Plain words.", u"Plain words."},
        // Map tags, as the price wording writes them (both cases of the name).
        TagCase{u"Dow is up 12 \\Map=\"and a half\"=\"1/2\"\\, at 10,234", u"Dow is up 12 and a half, at 10,234",
                u"Dow is up 12 1/2, at 10,234"},
        TagCase{u"\\map=\"Doe Jones\"=\"DJIA\"\\ is up", u"Doe Jones is up", u"DJIA is up"},
        TagCase{u"The time now is, \\Map=\"9:05 AM\"=\"09:05 AM\"\\", u"The time now is, 9:05 AM",
                u"The time now is, 09:05 AM"},
        // A double quote inside a mapped text does not end it.
        TagCase{u"\\Map=\"say \"this\"\"=\"show \"that\"\"\\", u"say \"this\"", u"show \"that\""},
        TagCase{u"\\Map=\"\"=\"\"\\x", u"x", u"x"},
        // Tags that are skipped, in any case.
        TagCase{u"a\\Emp\\b\\chr=\"Whisper\"\\c\\Vol=65535\\d\\Mrk=3\\e\\Lst\\f\\Ctx=\"E-mail\"\\g", u"abcdefg",
                u"abcdefg"},
        TagCase{u"\\Pau=300\\wait", u"wait", u"wait"}, TagCase{u"\\Rst\\reset", u"reset", u"reset"},
        // Stray and escaped backslashes: shown as they are, never spoken.
        TagCase{u"C:\\Temp", u"C: Temp", u"C:\\Temp"}, TagCase{u"a\\\\b", u"a b", u"a\\b"},
        TagCase{u"end\\", u"end ", u"end\\"}, TagCase{u"\\", u" ", u"\\"},
        TagCase{u"\\Spd=\\fast", u" Spd= fast", u"\\Spd=\\fast"},
        TagCase{u"\\Spd=abc\\x", u" Spd=abc x", u"\\Spd=abc\\x"}, TagCase{u"\\Spd=150", u" Spd=150", u"\\Spd=150"},
        TagCase{u"\\Map=\"unfinished", u" Map=\"unfinished", u"\\Map=\"unfinished"},
        TagCase{u"\\Map=\"a\"=\"b", u" Map=\"a\"=\"b", u"\\Map=\"a\"=\"b"},
        TagCase{u"\\Unknown=1\\x", u" Unknown=1 x", u"\\Unknown=1\\x"}, TagCase{u"", u"", u""}));

TEST(SpeechTags, SpeedAndPitchApplyToTheTextAfterThem)
{
    const SpeechText text = ParseSpeechText(u"\\Spd=150\\\\Pit=50\\Hello \\Spd=200\\there\\Rst\\ you"_s);
    ASSERT_EQ(text.pieces.size(), 3u);
    EXPECT_EQ(text.pieces[0].speed, 150);
    EXPECT_EQ(text.pieces[0].pitch, 50);
    EXPECT_EQ(text.spoken.mid(text.pieces[0].spokenBegin, text.pieces[0].spokenEnd - text.pieces[0].spokenBegin),
              u"Hello "_s);
    EXPECT_EQ(text.pieces[1].speed, 200);
    EXPECT_EQ(text.pieces[1].pitch, 50);
    EXPECT_EQ(text.pieces[2].speed, 0);
    EXPECT_EQ(text.pieces[2].pitch, 0);
}

TEST(SpeechTags, HugeNumbersDoNotOverflow)
{
    const SpeechText text = ParseSpeechText(u"\\Spd=99999999999999999999999\\\\Pau=99999999999\\x"_s);
    ASSERT_EQ(text.pieces.size(), 2u);
    EXPECT_EQ(text.pieces[0].kind, SpeechPiece::Kind::Pause);
    EXPECT_EQ(text.pieces[0].pauseMs, 10000);
    EXPECT_GT(text.pieces[1].speed, 0);
    EXPECT_EQ(EspeakRateForAgentSpeed(text.pieces[1].speed), 450);
}

TEST(SpeechTags, PauseBecomesItsOwnPiece)
{
    const SpeechText text = ParseSpeechText(u"one\\Pau=250\\two"_s);
    ASSERT_EQ(text.pieces.size(), 3u);
    EXPECT_EQ(text.pieces[1].kind, SpeechPiece::Kind::Pause);
    EXPECT_EQ(text.pieces[1].pauseMs, 250);
    EXPECT_EQ(text.pieces[1].spokenBegin, 3);
    EXPECT_EQ(text.pieces[2].spokenBegin, 3);
}

TEST(SpeechTags, PiecesCoverBothTextsWithoutGaps)
{
    const SpeechText text =
        ParseSpeechText(u"\\Spd=120\\A \\Map=\"b\"=\"B\"\\ c\\Pau=10\\d\\e \\Pit=300\\\\Map=\"x\"=\"\"\\f"_s);
    int spoken = 0;
    int shown = 0;
    for (const SpeechPiece& piece : text.pieces) {
        EXPECT_EQ(piece.spokenBegin, spoken);
        EXPECT_EQ(piece.shownBegin, shown);
        spoken = piece.spokenEnd;
        shown = piece.shownEnd;
    }
    EXPECT_EQ(spoken, text.spoken.size());
    EXPECT_EQ(shown, text.shown.size());
}

TEST(SpeechTags, WordPositionsRevealTheShownText)
{
    // spoken: "Dow is up 12 and a half, at 10"   shown: "Dow is up 12 1/2, at 10"
    const SpeechText text = ParseSpeechText(u"Dow is up 12 \\Map=\"and a half\"=\"1/2\"\\, at 10"_s);
    EXPECT_EQ(text.shown.left(text.ShownEndFor(0, 3)), u"Dow"_s);
    EXPECT_EQ(text.shown.left(text.ShownEndFor(4, 2)), u"Dow is"_s);
    EXPECT_EQ(text.shown.left(text.ShownEndFor(10, 2)), u"Dow is up 12"_s);
    // Any word of the mapped text reveals the whole shown text of the tag.
    EXPECT_EQ(text.shown.left(text.ShownEndFor(13, 3)), u"Dow is up 12 1/2"_s);
    EXPECT_EQ(text.shown.left(text.ShownEndFor(19, 4)), u"Dow is up 12 1/2"_s);
    // Punctuation that sticks to a word comes with it.
    EXPECT_EQ(text.shown.left(text.ShownEndFor(25, 2)), u"Dow is up 12 1/2, at"_s);
    EXPECT_EQ(text.ShownEndFor(28, 2), text.shown.size());
    EXPECT_EQ(text.ShownEndFor(1000, 5), text.shown.size());
    EXPECT_EQ(text.ShownEndFor(-4, 2), 0);
}

TEST(SpeechTags, WordIncludesTrailingComma)
{
    const SpeechText text = ParseSpeechText(u"Hello, world"_s);
    EXPECT_EQ(text.ShownEndFor(0, 5), 6);
}

struct RateCase
{
    int agent;
    int espeak;
};

class SpeechTagsRate : public ::testing::TestWithParam<RateCase>
{};

TEST_P(SpeechTagsRate, MapsAgentSpeedToWordsPerMinute)
{
    EXPECT_EQ(EspeakRateForAgentSpeed(GetParam().agent), GetParam().espeak);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SpeechTagsRate,
                         ::testing::Values(RateCase{50, 80}, RateCase{150, 175}, RateCase{250, 270}, RateCase{10, 80},
                                           RateCase{2000, 450}, RateCase{0, 175}, RateCase{-5, 175},
                                           RateCase{INT_MAX, 450}));

class SpeechTagsPitch : public ::testing::TestWithParam<RateCase>
{};

TEST_P(SpeechTagsPitch, MapsAgentPitchToTheVoiceScale)
{
    EXPECT_EQ(EspeakPitchForAgentPitch(GetParam().agent), GetParam().espeak);
}

INSTANTIATE_TEST_SUITE_P(Pitches, SpeechTagsPitch,
                         ::testing::Values(RateCase{50, 40}, RateCase{100, 60}, RateCase{200, 80}, RateCase{400, 100},
                                           RateCase{20, 40}, RateCase{1000, 100}, RateCase{0, 50},
                                           RateCase{INT_MAX, 100}));

TEST(SpeechTags, MappingsRiseMonotonically)
{
    for (int value = 50; value < 400; ++value) {
        EXPECT_LE(EspeakPitchForAgentPitch(value), EspeakPitchForAgentPitch(value + 1));
        EXPECT_LE(EspeakRateForAgentSpeed(value), EspeakRateForAgentSpeed(value + 1));
    }
    EXPECT_LT(EspeakRateForAgentSpeed(100), EspeakRateForAgentSpeed(200));
    EXPECT_LT(EspeakPitchForAgentPitch(60), EspeakPitchForAgentPitch(380));
}

} // namespace
