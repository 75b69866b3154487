#include "AgentTestCharacter.h"

#include "agent/AgentCharacter.h"
#include "agent/ClockSpeechOutput.h"
#include "agent/EspeakRenderer.h"
#include "agent/SpeechVoice.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString FrameLine(int animation, int frame)
{
    return u"frame %1"_s.arg(TestImage(animation, frame));
}

// The lines of the log that match a predicate, in order.
QStringList Matching(const QStringList& log, const std::function<bool(const QString&)>& keep)
{
    QStringList lines;
    for (const QString& line : log) {
        if (keep(line))
            lines << line;
    }
    return lines;
}

class AgentCharacterTest : public ::testing::Test
{
protected:
    void SetUp() override { Make(true); }

    void Make(bool withVoice, std::shared_ptr<const AcsCharacter> character = MakeTestCharacter())
    {
        m_character.reset();
        m_voice.reset();
        if (withVoice)
            m_voice = std::make_unique<SpeechVoice>();
        auto view = std::make_unique<RecordingView>(&m_log);
        m_view = view.get();
        m_character = std::make_unique<AgentCharacter>(std::move(character), std::move(view),
                                                       std::make_unique<ClockSpeechOutput>(), m_voice.get());
        AgentCharacter::Timing timing;
        timing.moveMs = 100;
        timing.moveStepMs = 10;
        timing.mouthStepMs = 10;
        timing.balloonLingerMs = 50;
        timing.idle.enabled = false; // no idling unless a test asks for it
        timing.idle.returnDelayMs = 20;
        timing.loopSlackMs = 20;
        timing.loopLimitMs = 600;
        timing.readingMsPerWord = 40;
        timing.readingMinMs = 150;
        timing.readingMaxMs = 2000;
        m_character->SetTiming(timing);
        m_character->SetRandomSeed(7);
        m_log.clear();
    }

    // Waits until every request has been played and the character rests.
    void Drain(int timeoutMs = 10000)
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_character->IsBusy(); }, timeoutMs));
        // The queue runs dry on the next turn of the event loop; then the character goes to rest.
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_character->IsAnimating(); }, timeoutMs));
    }

    void ShowFast()
    {
        m_character->Show(true);
        Drain();
        m_log.clear();
    }

    int Index(const QString& line, int from = 0) const { return int(m_log.indexOf(line, from)); }

    QStringList m_log;
    RecordingView* m_view = nullptr;
    std::unique_ptr<SpeechVoice> m_voice;
    std::unique_ptr<AgentCharacter> m_character;
};

TEST_F(AgentCharacterTest, StartsHiddenWithTheDefaultBalloonStyle)
{
    EXPECT_FALSE(m_character->IsVisible());
    EXPECT_EQ(m_character->BalloonStyle(), 15u);
    EXPECT_EQ(m_character->Width(), 16);
    EXPECT_EQ(m_character->Height(), 8);
    EXPECT_EQ(m_character->AnimationNames(),
              (QStringList{u"RestPose"_s, u"Showing"_s, u"Hiding"_s, u"Wave"_s, u"WaveReturn"_s, u"Greet"_s, u"Loop"_s,
                           u"Walk"_s, u"Idle1"_s, u"Explain"_s}));
    QTest::qWait(50);
    EXPECT_TRUE(m_log.isEmpty()) << m_log.join(u'\n').toStdString();
}

TEST_F(AgentCharacterTest, ShowFastShowsTheRestPoseAtOnce)
{
    m_character->Show(true);
    Drain();
    EXPECT_EQ(m_log, (QStringList{FrameLine(RestPose, 0), u"show"_s}));
    EXPECT_TRUE(m_character->IsVisible());
}

TEST_F(AgentCharacterTest, ShowAnimatedPlaysTheShowingStateFirst)
{
    m_character->Show(false);
    Drain();
    // The first frame is drawn before the window appears; the character rests in the last one.
    EXPECT_EQ(m_log, (QStringList{FrameLine(Showing, 0), u"show"_s, FrameLine(Showing, 1)}));
}

TEST_F(AgentCharacterTest, ShowingAShownCharacterDoesNothing)
{
    ShowFast();
    m_character->Show(false);
    Drain();
    EXPECT_TRUE(m_log.isEmpty()) << m_log.join(u'\n').toStdString();
}

TEST_F(AgentCharacterTest, HideAnimatedPlaysTheHidingStateBeforeTheWindowGoes)
{
    ShowFast();
    m_character->Hide(false);
    Drain();
    EXPECT_EQ(m_log, (QStringList{FrameLine(Hiding, 0), FrameLine(Hiding, 1), u"hide"_s}));
    EXPECT_FALSE(m_character->IsVisible());
}

TEST_F(AgentCharacterTest, HideFastHidesAtOnce)
{
    ShowFast();
    m_character->Hide(true);
    Drain();
    EXPECT_EQ(m_log, QStringList{u"hide"_s});
    m_log.clear();
    m_character->Hide(false); // already hidden
    Drain();
    EXPECT_TRUE(m_log.isEmpty());
}

TEST_F(AgentCharacterTest, RequestsPlayInTheOrderTheyWereMade)
{
    m_character->Show(true);
    m_character->Play(u"wave"_s); // any case
    m_character->Play(u"Walk"_s);
    m_character->Hide(true);
    Drain();
    const QStringList expected{FrameLine(RestPose, 0), u"show"_s,          FrameLine(Wave, 0),
                               FrameLine(Wave, 1),     FrameLine(Wave, 2), FrameLine(WaveReturn, 0),
                               FrameLine(Walk, 0),     FrameLine(Walk, 1), u"hide"_s};
    EXPECT_EQ(m_log, expected);
}

TEST_F(AgentCharacterTest, PlayOfAMissingAnimationIsDropped)
{
    ShowFast();
    QSignalSpy done(m_character.get(), &AgentCharacter::RequestDone);
    m_character->Play(u"Walk"_s);
    m_character->Play(u"NoSuchGesture"_s);
    m_character->Play(u""_s);
    m_character->Play(u"Idle1"_s);
    Drain();
    EXPECT_EQ(done.count(), 2);
    EXPECT_EQ(m_log, (QStringList{FrameLine(Walk, 0), FrameLine(Walk, 1), FrameLine(Idle1, 0)}));
}

TEST_F(AgentCharacterTest, PlayOnAHiddenCharacterShowsNothing)
{
    m_character->Play(u"Wave"_s);
    Drain();
    EXPECT_TRUE(m_log.isEmpty()) << m_log.join(u'\n').toStdString();
}

TEST_F(AgentCharacterTest, HeldPoseIsLeftThroughItsReturnAnimation)
{
    ShowFast();
    m_character->Play(u"Wave"_s);
    m_character->Play(u"Walk"_s);
    Drain();
    const int returned = Index(FrameLine(WaveReturn, 0));
    ASSERT_GE(returned, 0) << m_log.join(u'\n').toStdString();
    EXPECT_GT(Index(FrameLine(Walk, 0)), returned);
    EXPECT_EQ(m_log.count(FrameLine(WaveReturn, 0)), 1);
}

TEST_F(AgentCharacterTest, LoopingAnimationGivesWayThroughItsExitBranches)
{
    ShowFast();
    m_character->Play(u"Greet"_s);
    m_character->Play(u"Walk"_s);
    Drain();
    // Frames 0 and 1 of Greet loop; with Walk waiting the loop ends after one pass, along the exit
    // branch to frame 3, which never plays forward.
    const int exitFrame = Index(FrameLine(Greet, 3));
    ASSERT_GE(exitFrame, 0) << m_log.join(u'\n').toStdString();
    EXPECT_LE(m_log.count(FrameLine(Greet, 0)), 6);
    EXPECT_GT(Index(FrameLine(Walk, 0)), exitFrame);
    EXPECT_EQ(Index(FrameLine(Greet, 2)), -1);
}

TEST_F(AgentCharacterTest, LoopWithNothingWaitingEndsAfterTheLimit)
{
    ShowFast();
    QElapsedTimer clock;
    clock.start();
    m_character->Play(u"Loop"_s);
    Drain();
    EXPECT_GE(clock.elapsed(), 600);
    EXPECT_GT(m_log.count(FrameLine(Loop, 0)), 3);
    EXPECT_TRUE(m_log.last().startsWith(u"frame 70"_s)) << m_log.last().toStdString();
}

TEST_F(AgentCharacterTest, StopAllStopsAndClearsTheQueue)
{
    ShowFast();
    QSignalSpy done(m_character.get(), &AgentCharacter::RequestDone);
    m_character->Play(u"Loop"_s);
    m_character->Play(u"Wave"_s);
    m_character->Speak(u"This is never said."_s);
    m_character->Hide(false);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_log.contains(FrameLine(Loop, 1)); }, 5000));
    m_character->StopAll();
    EXPECT_FALSE(m_character->IsBusy());
    Drain();
    QTest::qWait(100);
    EXPECT_EQ(Index(FrameLine(Wave, 0)), -1) << m_log.join(u'\n').toStdString();
    EXPECT_TRUE(Matching(m_log, [](const QString& line) { return line.startsWith(u"balloon"_s); }).isEmpty());
    EXPECT_EQ(Index(u"hide"_s), -1);
    EXPECT_EQ(m_log.last(), FrameLine(RestPose, 0));
    EXPECT_TRUE(m_character->IsVisible());
    EXPECT_EQ(done.count(), 1); // only the loop that was stopped

    // The character takes new requests after it.
    m_log.clear();
    m_character->Play(u"Walk"_s);
    Drain();
    EXPECT_EQ(m_log.first(), FrameLine(Walk, 0));
}

TEST_F(AgentCharacterTest, StopAllCutsSpeechAndHidesTheBalloon)
{
    ShowFast();
    m_character->Speak(u"A long sentence that takes a good while to say out loud, word by word."_s);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_log.filter(u"reveal"_s).size() >= 2; }, 5000));
    m_character->StopAll();
    EXPECT_EQ(m_log.last(), FrameLine(RestPose, 0));
    EXPECT_TRUE(m_log.contains(u"balloon hide"_s));
    const qsizetype lines = m_log.size();
    QTest::qWait(200);
    EXPECT_EQ(m_log.size(), lines) << m_log.join(u'\n').toStdString();
}

TEST_F(AgentCharacterTest, MoveGlidesAShownCharacterWithItsMovingAnimation)
{
    ShowFast();
    m_character->MoveTo(100, 40);
    Drain();
    const QStringList moves = m_log.filter(u"move"_s);
    ASSERT_GE(moves.size(), 3);
    EXPECT_EQ(moves.last(), u"move 100,40"_s);
    EXPECT_EQ(m_view->WindowPosition(), QPoint(100, 40));
    EXPECT_GE(Index(FrameLine(Walk, 0)), 0);
    // Along the way x and y never go back.
    int lastX = 0;
    for (const QString& move : moves) {
        const int x = move.mid(5).section(u',', 0, 0).toInt();
        EXPECT_GE(x, lastX);
        lastX = x;
    }
}

TEST_F(AgentCharacterTest, MoveOfAHiddenCharacterIsInstant)
{
    m_character->MoveTo(30, 20);
    Drain();
    EXPECT_EQ(m_log, QStringList{u"move 30,20"_s});
    m_log.clear();
    m_character->MoveTo(30, 20);
    Drain();
    EXPECT_EQ(m_log, QStringList{u"move 30,20"_s});
}

TEST_F(AgentCharacterTest, MoveToWhereItIsDoesNothing)
{
    ShowFast();
    m_character->MoveTo(0, 0);
    Drain();
    EXPECT_TRUE(m_log.isEmpty());
}

TEST_F(AgentCharacterTest, SpeakShowsAPacedBalloonAndMovesTheMouth)
{
    ShowFast();
    m_character->Speak(u"\\Spd=150\\\\Pit=50\\Hello there, my friend."_s);
    Drain();
    const QStringList balloon = m_log.filter(u"balloon"_s);
    ASSERT_EQ(balloon.size(), 2) << m_log.join(u'\n').toStdString();
    EXPECT_EQ(balloon[0], u"balloon speak 0/23 style 15: Hello there, my friend."_s);
    EXPECT_EQ(balloon[1], u"balloon hide"_s);
    // Revealed word by word, in order, ending with the whole text.
    const QStringList reveals = m_log.filter(u"reveal"_s);
    ASSERT_GE(reveals.size(), 3);
    int last = 0;
    for (const QString& reveal : reveals) {
        const int revealed = reveal.mid(7).toInt();
        EXPECT_GT(revealed, last);
        last = revealed;
    }
    EXPECT_EQ(last, 23);
    EXPECT_EQ(m_log.filter(u"reveal"_s).first(), u"reveal 5"_s);
    // The mouth overlays (images 1-7) come and go on the rest pose while speaking.
    const QStringList mouths = m_log.filter(QRegularExpression(u"^frame 100\\+[2-7]$"_s));
    EXPECT_GE(mouths.size(), 2);
    EXPECT_EQ(m_log.filter(u"frame"_s).last(), FrameLine(RestPose, 0));
    EXPECT_LT(m_log.indexOf(u"reveal 23"_s), m_log.indexOf(u"balloon hide"_s));
}

TEST_F(AgentCharacterTest, SpeakTakesTheTimeOfTheSpeech)
{
    ShowFast();
    const QString text = u"\\Spd=150\\One two three four five six."_s;
    const std::optional<RenderedSpeech> speech = EspeakRenderer::Render(ParseSpeechText(text), {});
    ASSERT_TRUE(speech);
    QElapsedTimer clock;
    clock.start();
    m_character->Speak(text);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_character->IsBusy(); }, 10000));
    EXPECT_GE(clock.elapsed(), speech->DurationMs() - 20);
    EXPECT_LT(clock.elapsed(), speech->DurationMs() + 4000); // rendering and a loaded machine add a little
}

TEST_F(AgentCharacterTest, MapShowsTheSecondTextInTheBalloon)
{
    ShowFast();
    m_character->Speak(u"Up 12 \\Map=\"and a half\"=\"1/2\"\\ today"_s);
    Drain();
    const QStringList balloon = m_log.filter(u"balloon speak"_s);
    ASSERT_EQ(balloon.size(), 1);
    EXPECT_TRUE(balloon[0].endsWith(u": Up 12 1/2 today"_s)) << balloon[0].toStdString();
    EXPECT_TRUE(m_log.contains(u"reveal 9"_s)) << m_log.join(u'\n').toStdString(); // "Up 12 1/2" whole
}

TEST_F(AgentCharacterTest, BalloonStyleZeroSpeaksWithoutABalloon)
{
    ShowFast();
    m_character->SetBalloonStyle(0);
    QElapsedTimer clock;
    clock.start();
    m_character->Speak(u"\\Spd=150\\\\Pit=50\\Nothing to read here."_s);
    Drain();
    EXPECT_TRUE(m_log.filter(u"balloon"_s).isEmpty()) << m_log.join(u'\n').toStdString();
    EXPECT_TRUE(m_log.filter(u"reveal"_s).isEmpty());
    EXPECT_GT(clock.elapsed(), 500); // the voice still speaks
    EXPECT_FALSE(m_log.filter(QRegularExpression(u"^frame 100\\+[2-7]$"_s)).isEmpty());
}

TEST_F(AgentCharacterTest, CharacterWhoseFileTurnsTheBalloonOffGetsNone)
{
    auto character = std::make_shared<AcsCharacter>(*MakeTestCharacter());
    character->Info().balloon.reset();
    Make(false, character);
    ShowFast();
    m_character->Speak(u"Hello there."_s);
    m_character->Think(u"Hmm."_s);
    Drain();
    EXPECT_TRUE(m_log.filter(u"balloon"_s).isEmpty()) << m_log.join(u'\n').toStdString();
}

TEST_F(AgentCharacterTest, BalloonStyleAppliesToRequestsMadeAfterIt)
{
    ShowFast();
    m_character->Speak(u"First."_s);
    m_character->SetBalloonStyle(0);
    m_character->Speak(u"Second."_s);
    m_character->SetBalloonStyle(15);
    Drain();
    const QStringList balloons = m_log.filter(u"balloon speak"_s);
    ASSERT_EQ(balloons.size(), 1);
    EXPECT_TRUE(balloons[0].endsWith(u"First."_s));
}

TEST_F(AgentCharacterTest, BalloonWithoutAutoPaceShowsAllWordsAtOnce)
{
    ShowFast();
    m_character->SetBalloonStyle(IAgentCharacter::BalloonOn | IAgentCharacter::BalloonSizeToText);
    m_character->Speak(u"All at once."_s);
    Drain();
    const QStringList balloons = m_log.filter(u"balloon"_s);
    ASSERT_EQ(balloons.size(), 1) << m_log.join(u'\n').toStdString(); // and no auto-hide
    EXPECT_EQ(balloons[0], u"balloon speak 12/12 style 3: All at once."_s);
    EXPECT_TRUE(m_log.filter(u"reveal"_s).isEmpty());
    // The next utterance replaces it; a hide takes it away.
    m_character->Hide(true);
    Drain();
    EXPECT_TRUE(m_log.contains(u"balloon hide"_s));
}

TEST_F(AgentCharacterTest, SpeakKeepsTheGesturePoseWhenItHasAMouth)
{
    ShowFast();
    m_character->Play(u"Explain"_s);
    m_character->Speak(u"In this pose."_s);
    Drain();
    // The mouth moves on Explain's last frame, not on the rest pose.
    const QRegularExpression onExplain(u"^frame %1\\+[1-7]$"_s.arg(TestImage(Explain, 1)));
    EXPECT_FALSE(m_log.filter(onExplain).isEmpty()) << m_log.join(u'\n').toStdString();
    const int speaking = Index(m_log.filter(onExplain).first());
    // The words end in the same pose.
    EXPECT_EQ(Index(FrameLine(RestPose, 0)), -1);
    EXPECT_EQ(m_log.filter(u"frame"_s).last(), FrameLine(Explain, 1));
    EXPECT_GT(speaking, Index(FrameLine(Explain, 1)));
}

TEST_F(AgentCharacterTest, SpeakOnAHiddenCharacterUsesNoBalloon)
{
    QElapsedTimer clock;
    clock.start();
    m_character->Speak(u"Heard but not seen."_s);
    Drain();
    EXPECT_GT(clock.elapsed(), 400);
    EXPECT_TRUE(m_log.isEmpty()) << m_log.join(u'\n').toStdString();
}

TEST_F(AgentCharacterTest, EmptySpeakDoesNothing)
{
    ShowFast();
    QSignalSpy done(m_character.get(), &AgentCharacter::RequestDone);
    m_character->Speak(u""_s);
    m_character->Speak(u"\\Spd=150\\\\Pit=50\\"_s);
    Drain();
    EXPECT_EQ(done.count(), 2);
    EXPECT_TRUE(m_log.isEmpty());
}

TEST_F(AgentCharacterTest, ThinkShowsAThoughtBalloonForItsReadingTime)
{
    ShowFast();
    QElapsedTimer clock;
    clock.start();
    m_character->Think(u"\\Spd=150\\\\Pit=80\\Hmm, \\Emp\\prices at \\Map=\"9:05 AM\"=\"09:05\"\\\\Pau=200\\\\Vol=9\\"
                       u"\\Chr=\"Whisper\"\\\\Mrk=1\\\\Lst\\\\Rst\\."_s);
    Drain();
    EXPECT_GE(clock.elapsed(), 150 * 9 / 10); // coarse timers may fire a little early
    // The balloon shows the text as it reads, without the tags; nothing is paced, no mouth moves.
    const QString shown = u"Hmm, prices at 09:05."_s;
    EXPECT_EQ(m_log, (QStringList{u"balloon think %1/%1 style 15: "_s.arg(shown.size()) + shown, u"balloon hide"_s}));
}

TEST_F(AgentCharacterTest, ThinkWithTheBalloonOffOrHiddenDoesNothing)
{
    m_character->Think(u"Hidden."_s);
    Drain();
    EXPECT_TRUE(m_log.isEmpty());
    ShowFast();
    m_character->SetBalloonStyle(0);
    m_character->Think(u"No balloon."_s);
    Drain();
    EXPECT_TRUE(m_log.isEmpty());
}

TEST_F(AgentCharacterTest, GesturesAndSpeechInterleaveInCallOrder)
{
    ShowFast();
    m_character->Play(u"Walk"_s);
    m_character->Speak(u"One."_s);
    m_character->Play(u"Wave"_s);
    m_character->Speak(u"Two."_s);
    m_character->Hide(true);
    Drain();
    const int walk = Index(FrameLine(Walk, 0));
    const int one = Index(u"balloon speak 0/4 style 15: One."_s);
    const int wave = Index(FrameLine(Wave, 0));
    const int two = Index(u"balloon speak 0/4 style 15: Two."_s);
    const int hide = Index(u"hide"_s);
    EXPECT_GE(walk, 0);
    EXPECT_GT(one, walk);
    EXPECT_GT(wave, one);
    EXPECT_GT(two, wave);
    EXPECT_GT(hide, two) << m_log.join(u'\n').toStdString();
}

TEST_F(AgentCharacterTest, RestingCharacterWakesOnlyForItsIdlingAnimations)
{
    AgentCharacter::Timing timing;
    timing.idle.minIntervalMs = 150;
    timing.idle.maxIntervalMs = 200;
    m_character->SetTiming(timing);
    m_character->Show(true);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_log.contains(u"show"_s) && !m_character->IsBusy(); }, 3000));
    QTest::qWait(20);
    // At rest the only timer is the one for the next idling animation.
    ASSERT_TRUE(m_character->Animator().IsTimerActive());
    EXPECT_GE(m_character->Animator().TimerInterval(), 150);
    EXPECT_TRUE(m_character->Animator().Sequencer().PlayingAnimation().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_log.contains(FrameLine(Idle1, 0)); }, 3000));
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return m_character->Animator().Sequencer().PlayingAnimation().isEmpty(); }, 3000));
    EXPECT_GE(m_character->Animator().TimerInterval(), 150);
}

TEST_F(AgentCharacterTest, HiddenCharacterRunsNoTimer)
{
    AgentCharacter::Timing timing; // idling on
    m_character->SetTiming(timing);
    m_character->Show(true);
    m_character->Hide(true);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_character->IsBusy(); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_character->IsAnimating(); }, 3000));
    EXPECT_FALSE(m_character->Animator().IsTimerActive());
}

TEST_F(AgentCharacterTest, PoseOwedAReturnGoesBackOnItsOwn)
{
    ShowFast();
    m_character->Play(u"Wave"_s);
    Drain();
    EXPECT_EQ(m_log.last(), FrameLine(WaveReturn, 0)) << m_log.join(u'\n').toStdString();
}

class AgentCharacterWithoutVoiceTest : public AgentCharacterTest
{
protected:
    void SetUp() override { Make(false); }
};

TEST_F(AgentCharacterWithoutVoiceTest, WordsTakeTheirReadingTimeInTheBalloon)
{
    ShowFast();
    QElapsedTimer clock;
    clock.start();
    m_character->Speak(u"\\Spd=150\\\\Pit=50\\one two three four five six seven eight"_s);
    Drain();
    EXPECT_GE(clock.elapsed(), 8 * 40 - 20);
    const QStringList reveals = m_log.filter(u"reveal"_s);
    ASSERT_GE(reveals.size(), 2) << m_log.join(u'\n').toStdString();
    EXPECT_EQ(reveals.last(), u"reveal 39"_s);
    EXPECT_TRUE(m_log.filter(QRegularExpression(u"^frame 100\\+[2-7]$"_s)).isEmpty()); // no voice, no mouth
    EXPECT_EQ(m_log.last(), u"balloon hide"_s);
}

} // namespace
