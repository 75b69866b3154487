// The animation sequencer: frames and durations, branches, exit branches, return animations,
// states, idling and speaking, driven by a scripted or seeded random source and a test clock.

#include "agent/AcsSequencer.h"
#include "agent/AcsAnimator.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <random>

using namespace Qt::StringLiterals;

// Readable texts in failure messages.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Kind = AcsSequencerEvent::Kind;

AcsFrame Frame(std::initializer_list<int> images, quint16 duration, qint16 exit = AcsExit::None)
{
    AcsFrame frame;
    for (int image : images)
        frame.images.append(AcsFrameImage{quint32(image), 0, 0});
    frame.duration = duration;
    frame.exitBranch = exit;
    return frame;
}

QList<AcsOverlay> Mouths()
{
    return {AcsOverlay{AcsMouthShape::Closed, false, 8}, AcsOverlay{AcsMouthShape::WideOpen1, false, 9}};
}

// Durations are in hundredths of a second: 10 = 100 ms.
std::shared_ptr<const AcsCharacter> TestCharacter()
{
    auto c = std::make_shared<AcsCharacter>();
    for (int i = 0; i < 10; ++i)
        c->AddImage(AcsImage(2, 2, quint8(i)));
    c->AddSound(QByteArray("RIFF"));

    AcsAnimation rest{u"RestPose"_s};
    rest.frames = {Frame({0}, 10)};
    rest.frames[0].overlays = Mouths();
    c->AddAnimation(rest);

    AcsAnimation wave{u"Wave"_s, AcsTransition::ReturnAnimation, u"WaveReturn"_s};
    wave.frames = {Frame({1}, 10), Frame({2}, 20), Frame({3}, 10)};
    wave.frames[1].soundIndex = 0;
    c->AddAnimation(wave);

    AcsAnimation waveReturn{u"WaveReturn"_s};
    waveReturn.frames = {Frame({4}, 10)};
    waveReturn.frames[0].overlays = Mouths();
    c->AddAnimation(waveReturn);

    // Loops 0 -> 1 -> 0 ... for ever; leaving goes 1 -> 0 -> 2 -> 3 (empty) -> end.
    AcsAnimation loop{u"Loop"_s, AcsTransition::ExitBranches};
    loop.frames = {Frame({5}, 10, 2), Frame({6}, 10, 0), Frame({7}, 10, 3), Frame({}, 0, AcsExit::End)};
    loop.frames[1].branches = {AcsBranch{0, 100}};
    c->AddAnimation(loop);

    // From frame 0: 30 % to frame 2, 50 % to frame 3, else frame 1.
    AcsAnimation branchy{u"Branchy"_s};
    branchy.frames = {Frame({1}, 10), Frame({2}, 10), Frame({3}, 10), Frame({4}, 10)};
    branchy.frames[0].branches = {AcsBranch{2, 30}, AcsBranch{3, 50}};
    c->AddAnimation(branchy);

    AcsAnimation show{u"Show"_s};
    show.frames = {Frame({1}, 5), Frame({0}, 5)};
    c->AddAnimation(show);
    AcsAnimation hide{u"Hide"_s};
    hide.frames = {Frame({3}, 5), Frame({4}, 5)};
    c->AddAnimation(hide);

    AcsAnimation idle{u"Idle"_s, AcsTransition::ExitBranches};
    idle.frames = {Frame({5}, 10, 2), Frame({6}, 10, 2), Frame({}, 0, AcsExit::End)};
    c->AddAnimation(idle);
    AcsAnimation idle2{u"Idle2"_s};
    idle2.frames = {Frame({7}, 10)};
    c->AddAnimation(idle2);
    AcsAnimation sleep{u"Sleep"_s, AcsTransition::ExitBranches};
    sleep.frames = {Frame({8}, 50, 1), Frame({}, 0, AcsExit::End)};
    sleep.frames[0].branches = {AcsBranch{0, 100}};
    c->AddAnimation(sleep);

    AcsAnimation talk{u"Talk"_s};
    talk.frames = {Frame({2}, 10)};
    talk.frames[0].overlays = Mouths();
    c->AddAnimation(talk);

    AcsAnimation spin{u"Spin"_s}; // a loop of frames without duration
    spin.frames = {Frame({1}, 0)};
    spin.frames[0].branches = {AcsBranch{0, 100}};
    c->AddAnimation(spin);

    AcsAnimation empty{u"Empty"_s};
    c->AddAnimation(empty);

    c->SetState(u"SHOWING"_s, {u"SHOW"_s});
    c->SetState(u"HIDING"_s, {u"HIDE"_s});
    c->SetState(u"SPEAKING"_s, {u"TALK"_s});
    c->SetState(u"IDLINGLEVEL1"_s, {u"IDLE"_s});
    c->SetState(u"IDLINGLEVEL2"_s, {u"IDLE2"_s});
    c->SetState(u"IDLINGLEVEL3"_s, {u"SLEEP"_s});
    c->SetState(u"MOVINGLEFT"_s, {u"LOOP"_s, u"BRANCHY"_s});
    return c;
}

// Draws for branches (bound 100) come from the script; with the script empty, 99 (no branch but a
// 100 % one). Other draws (state picks) give 0.
struct ScriptedRandom
{
    std::shared_ptr<std::deque<quint32>> script = std::make_shared<std::deque<quint32>>();

    quint32 operator()(quint32 bound) const
    {
        if (bound != 100)
            return 0;
        if (script->empty())
            return 99;
        const quint32 value = script->front();
        script->pop_front();
        return value;
    }
};

AcsIdlePolicy NoIdling()
{
    AcsIdlePolicy policy;
    policy.enabled = false;
    return policy;
}

// Records what the sequencer reports; frames as "Animation:frame" (or "-" for nothing shown).
class Player
{
public:
    explicit Player(AcsIdlePolicy policy = NoIdling())
        : sequencer(TestCharacter(), random)
    {
        sequencer.SetIdlePolicy(policy);
        sequencer.SetListener([this](const AcsSequencerEvent& event) { Record(event); });
    }

    // Lets time pass in the steps the sequencer asks for; returns the time that really passed.
    int Run(int ms)
    {
        int passed = 0;
        for (int guard = 0; guard < 100000 && passed < ms; ++guard) {
            const int due = sequencer.MsUntilNextTick();
            if (due < 0)
                break;
            const int step = std::min(due, ms - passed);
            sequencer.Tick(step);
            passed += step;
        }
        return passed;
    }

    QString Picture() const
    {
        if (!sequencer.CurrentFrame())
            return u"-"_s;
        return u"%1:%2"_s.arg(sequencer.Character().Animations()[sequencer.CurrentAnimationIndex()].name)
            .arg(sequencer.CurrentFrameIndex());
    }

    QStringList TakeLog()
    {
        QStringList taken;
        taken.swap(log);
        return taken;
    }

    void Record(const AcsSequencerEvent& event)
    {
        switch (event.kind) {
        case Kind::FrameChanged:
            log.append(Picture());
            break;
        case Kind::SoundStarted:
            log.append(u"sound %1"_s.arg(event.sound));
            break;
        case Kind::AnimationDone:
            log.append(u"done %1%2"_s.arg(event.animation, event.interrupted ? u" (stopped)"_s : QString()));
            if (onDone)
                onDone(event.animation);
            break;
        case Kind::Shown:
            log.append(u"shown"_s);
            break;
        case Kind::Hidden:
            log.append(u"hidden"_s);
            break;
        }
    }

    ScriptedRandom random;
    AcsSequencer sequencer;
    QStringList log;
    std::function<void(const QString&)> onDone;
};

} // namespace

TEST(AcsSequencer, ShowsWithTheShowingAnimationThenRests)
{
    Player p;
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);
    p.sequencer.Show(false);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Show:0"_s});
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), 50);
    p.Run(50);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Show:1"_s});
    p.Run(49);
    EXPECT_TRUE(p.TakeLog().isEmpty());
    p.Run(1);
    EXPECT_EQ(p.TakeLog(), QStringList{u"shown"_s});
    EXPECT_TRUE(p.sequencer.IsVisible());
    // At rest with idling off: no timer at all.
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);

    p.sequencer.Show(false);
    EXPECT_EQ(p.TakeLog(), QStringList{u"shown"_s});
}

TEST(AcsSequencer, ShowsFastInTheRestPose)
{
    Player p;
    p.sequencer.Show(true);
    EXPECT_EQ(p.TakeLog(), (QStringList{u"RestPose:0"_s, u"shown"_s}));
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);
}

TEST(AcsSequencer, PlaysFramesForTheirDurationsWithSounds)
{
    Player p;
    p.sequencer.Show(true);
    p.TakeLog();
    ASSERT_TRUE(p.sequencer.Play(u"wave"_s));
    EXPECT_EQ(p.sequencer.PlayingAnimation(), u"Wave"_s);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Wave:0"_s});
    p.Run(100);
    EXPECT_EQ(p.TakeLog(), (QStringList{u"Wave:1"_s, u"sound 0"_s}));
    p.Run(199);
    EXPECT_TRUE(p.TakeLog().isEmpty());
    p.Run(1);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Wave:2"_s});
    p.Run(100);
    EXPECT_EQ(p.TakeLog(), QStringList{u"done Wave"_s});
    // The pose is held (the character could now speak pointing); the return animation is owed.
    EXPECT_EQ(p.Picture(), u"Wave:2"_s);
    EXPECT_TRUE(p.sequencer.PlayingAnimation().isEmpty());
}

TEST(AcsSequencer, RefusesWhatCannotPlay)
{
    Player p;
    EXPECT_FALSE(p.sequencer.Play(u"Wave"_s)); // hidden
    p.sequencer.Show(true);
    EXPECT_FALSE(p.sequencer.Play(u"Juggle"_s));
    EXPECT_FALSE(p.sequencer.PlayState(u"GESTURINGUP"_s));
    EXPECT_EQ(p.TakeLog(), (QStringList{u"RestPose:0"_s, u"shown"_s}));

    ASSERT_TRUE(p.sequencer.Play(u"Empty"_s)); // no frames: done at once
    EXPECT_EQ(p.TakeLog(), QStringList{u"done Empty"_s});
}

TEST(AcsSequencer, ReturnsBeforeTheNextAnimationAndAfterARest)
{
    AcsIdlePolicy policy = NoIdling();
    policy.returnDelayMs = 700;
    Player p(policy);
    p.sequencer.Show(true);
    p.sequencer.Play(u"Wave"_s);
    p.Run(400);
    p.TakeLog();

    // A new request: the return animation first.
    p.sequencer.Play(u"Branchy"_s);
    EXPECT_EQ(p.TakeLog(), QStringList{u"WaveReturn:0"_s});
    p.Run(100);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Branchy:0"_s});
    p.Run(1000);
    p.TakeLog();

    // No request: the return plays after the rest delay, then nothing more is due.
    p.sequencer.Play(u"Wave"_s);
    p.Run(400);
    EXPECT_EQ(p.TakeLog().last(), u"done Wave"_s);
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), 700);
    p.Run(700);
    EXPECT_EQ(p.TakeLog(), QStringList{u"WaveReturn:0"_s});
    p.Run(100);
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);
}

struct BranchCase
{
    quint32 draw;
    QString frames; // the frames shown after frame 0
};

class AcsSequencerBranches : public ::testing::TestWithParam<BranchCase>
{};

TEST_P(AcsSequencerBranches, TakesTheBranchTheDrawFallsIn)
{
    Player p;
    p.sequencer.Show(true);
    p.random.script->push_back(GetParam().draw);
    p.sequencer.Play(u"Branchy"_s);
    p.TakeLog();
    p.Run(1000);
    QStringList shown = p.TakeLog();
    shown.removeAll(u"done Branchy"_s);
    EXPECT_EQ(shown.join(u' '), GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(Draws, AcsSequencerBranches,
                         ::testing::Values(BranchCase{0, u"Branchy:2 Branchy:3"_s},
                                           BranchCase{29, u"Branchy:2 Branchy:3"_s}, BranchCase{30, u"Branchy:3"_s},
                                           BranchCase{79, u"Branchy:3"_s},
                                           BranchCase{80, u"Branchy:1 Branchy:2 Branchy:3"_s},
                                           BranchCase{99, u"Branchy:1 Branchy:2 Branchy:3"_s}));

TEST(AcsSequencer, BranchesFollowTheirProbabilitiesWithASeededSource)
{
    std::mt19937 engine(20240611);
    AcsSequencer sequencer(TestCharacter(), [&](quint32 bound) { return quint32(engine() % bound); });
    sequencer.SetIdlePolicy(NoIdling());
    sequencer.Show(true);
    std::map<int, int> secondFrame;
    int second = -1;
    sequencer.SetListener([&](const AcsSequencerEvent& event) {
        if (event.kind == Kind::FrameChanged && second < 0 && sequencer.CurrentFrameIndex() != 0)
            second = sequencer.CurrentFrameIndex();
    });
    for (int i = 0; i < 2000; ++i) {
        second = -1;
        sequencer.Play(u"Branchy"_s);
        while (sequencer.MsUntilNextTick() >= 0 && !sequencer.PlayingAnimation().isEmpty())
            sequencer.Tick(sequencer.MsUntilNextTick());
        ++secondFrame[second];
    }
    EXPECT_NEAR(secondFrame[2], 600, 80);
    EXPECT_NEAR(secondFrame[3], 1000, 90);
    EXPECT_NEAR(secondFrame[1], 400, 80);
}

TEST(AcsSequencer, StopLeavesThroughTheExitBranches)
{
    Player p;
    p.sequencer.Show(true);
    ASSERT_TRUE(p.sequencer.Play(u"Loop"_s));
    p.Run(250); // 0, 1, 0 (at 200 ms), half of it gone
    EXPECT_EQ(p.TakeLog(), (QStringList{u"RestPose:0"_s, u"shown"_s, u"Loop:0"_s, u"Loop:1"_s, u"Loop:0"_s}));
    p.Run(1000); // still looping
    EXPECT_EQ(p.sequencer.PlayingAnimation(), u"Loop"_s);
    p.TakeLog();

    // At 1250 ms frame 0 (entered at 1200) is showing: its exit goes to 2, then to the empty 3.
    ASSERT_EQ(p.Picture(), u"Loop:0"_s);
    p.sequencer.Stop();
    EXPECT_TRUE(p.TakeLog().isEmpty()); // the current frame runs to its end first
    p.Run(50);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Loop:2"_s});
    p.Run(100);
    EXPECT_EQ(p.TakeLog(), QStringList{u"done Loop (stopped)"_s});
    EXPECT_EQ(p.Picture(), u"Loop:2"_s); // the empty last frame keeps the picture
}

TEST(AcsSequencer, ExitChainsMayRunBackwards)
{
    Player p;
    p.sequencer.Show(true);
    p.sequencer.Play(u"Loop"_s);
    p.Run(150); // frame 1
    ASSERT_EQ(p.Picture(), u"Loop:1"_s);
    p.TakeLog();
    p.sequencer.Stop();
    p.Run(1000);
    EXPECT_EQ(p.TakeLog(), (QStringList{u"Loop:0"_s, u"Loop:2"_s, u"done Loop (stopped)"_s}));
}

TEST(AcsSequencer, StopEndsOtherAnimationsAtOnce)
{
    Player p;
    p.sequencer.Show(true);
    p.sequencer.Play(u"Wave"_s);
    p.Run(150);
    p.TakeLog();
    p.sequencer.Stop();
    EXPECT_EQ(p.TakeLog(), QStringList{u"done Wave (stopped)"_s});
    // Its return animation is still owed before the next one.
    p.sequencer.Play(u"Branchy"_s);
    EXPECT_EQ(p.TakeLog(), QStringList{u"WaveReturn:0"_s});

    p.sequencer.Stop(); // Branchy waits behind the return: dropped at once
    EXPECT_EQ(p.TakeLog(), QStringList{u"done Branchy (stopped)"_s});
    p.Run(1000);
    EXPECT_TRUE(p.TakeLog().isEmpty());
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);
}

TEST(AcsSequencer, ANewRequestReplacesTheOneStillPlaying)
{
    Player p;
    p.sequencer.Show(true);
    p.sequencer.Play(u"Loop"_s);
    p.Run(50);
    p.TakeLog();
    p.sequencer.Play(u"Branchy"_s);
    p.Run(100);
    EXPECT_EQ(p.TakeLog(), (QStringList{u"Loop:2"_s}));
    p.Run(100);
    EXPECT_EQ(p.TakeLog(), (QStringList{u"done Loop (stopped)"_s, u"Branchy:0"_s}));
}

TEST(AcsSequencer, PlaysAStateAnimation)
{
    Player p;
    p.sequencer.Show(true);
    p.TakeLog();
    ASSERT_TRUE(p.sequencer.PlayState(u"MovingLeft"_s)); // the scripted pick is the first: Loop
    EXPECT_EQ(p.sequencer.PlayingAnimation(), u"Loop"_s);
    p.sequencer.Stop();
    p.Run(1000);
    EXPECT_EQ(p.TakeLog().last(), u"done Loop (stopped)"_s);
}

TEST(AcsSequencer, HidesAfterReturningToRest)
{
    Player p;
    p.sequencer.Show(true);
    p.sequencer.Play(u"Wave"_s);
    p.Run(400);
    p.TakeLog();
    p.sequencer.Hide(false);
    p.Run(1000);
    EXPECT_EQ(p.TakeLog(), (QStringList{u"WaveReturn:0"_s, u"Hide:0"_s, u"Hide:1"_s, u"-"_s, u"hidden"_s}));
    EXPECT_FALSE(p.sequencer.IsVisible());
    EXPECT_EQ(p.sequencer.CurrentFrame(), nullptr);
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);
    p.sequencer.Hide(false);
    EXPECT_EQ(p.TakeLog(), QStringList{u"hidden"_s});
}

TEST(AcsSequencer, HidesFastCuttingTheRequest)
{
    Player p;
    p.sequencer.Show(true);
    p.sequencer.Play(u"Loop"_s);
    p.TakeLog();
    p.sequencer.Hide(true);
    EXPECT_EQ(p.TakeLog(), (QStringList{u"done Loop (stopped)"_s, u"-"_s, u"hidden"_s}));
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);
}

TEST(AcsSequencer, StopAllRestsAtOnceWithoutReports)
{
    Player p;
    p.sequencer.Show(true);
    p.sequencer.Play(u"Wave"_s);
    p.sequencer.SetSpeaking(true);
    p.Run(150);
    p.TakeLog();
    p.sequencer.StopAll();
    EXPECT_EQ(p.TakeLog(), QStringList{u"RestPose:0"_s});
    EXPECT_FALSE(p.sequencer.IsSpeaking());
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);
    p.sequencer.Play(u"Branchy"_s); // no return animation is owed any more
    EXPECT_EQ(p.TakeLog(), QStringList{u"Branchy:0"_s});
}

TEST(AcsSequencer, ZeroLengthLoopsDoNotHang)
{
    Player p;
    p.sequencer.Show(true);
    ASSERT_TRUE(p.sequencer.Play(u"Spin"_s));
    EXPECT_EQ(p.TakeLog().last(), u"done Spin (stopped)"_s);
}

TEST(AcsSequencer, ListenerCanChainRequests)
{
    Player p;
    p.sequencer.Show(true);
    QStringList next{u"Branchy"_s, u"Talk"_s};
    p.onDone = [&](const QString&) {
        if (!next.isEmpty())
            p.sequencer.Play(next.takeFirst());
    };
    p.sequencer.Play(u"Wave"_s);
    p.Run(5000);
    const QStringList log = p.TakeLog();
    EXPECT_TRUE(log.contains(u"done Talk"_s)) << log.join(u", "_s).toStdString();
    EXPECT_LT(log.indexOf(u"done Wave"_s), log.indexOf(u"WaveReturn:0"_s));
    EXPECT_LT(log.indexOf(u"WaveReturn:0"_s), log.indexOf(u"Branchy:0"_s));
}

TEST(AcsSequencer, IdlesNowAndThenAndDeeperWhenLeftAlone)
{
    AcsIdlePolicy policy;
    policy.minIntervalMs = policy.maxIntervalMs = 1000;
    policy.level2AfterMs = 5000;
    policy.level3AfterMs = 10000;
    Player p(policy);
    p.sequencer.Show(true);
    p.TakeLog();
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), 1000); // the only wake-up while resting
    p.Run(999);
    EXPECT_TRUE(p.TakeLog().isEmpty());
    p.Run(1);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Idle:0"_s});
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), 100);
    p.Run(200);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Idle:1"_s}); // then the empty frame, the end
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), 1000);

    p.Run(4000); // past 5 s of quiet: level 2
    p.TakeLog();
    p.Run(1300);
    EXPECT_TRUE(p.TakeLog().contains(u"Idle2:0"_s));
    p.Run(6000); // past 10 s: level 3, which loops until something happens
    EXPECT_EQ(p.sequencer.PlayingAnimation(), u"Sleep"_s);
    EXPECT_GT(p.sequencer.MsUntilNextTick(), 0);
    EXPECT_LE(p.sequencer.MsUntilNextTick(), 500); // its frames last 500 ms

    // A request wakes it: the sleep is left through its exit branch first.
    p.TakeLog();
    p.sequencer.Play(u"Branchy"_s);
    EXPECT_EQ(p.sequencer.PlayingAnimation(), u"Sleep"_s);
    p.Run(p.sequencer.MsUntilNextTick());
    EXPECT_EQ(p.TakeLog(), QStringList{u"Branchy:0"_s});
}

TEST(AcsSequencer, IdlingNeverWakesFasterThanTheFrames)
{
    AcsIdlePolicy policy;
    policy.minIntervalMs = 10000;
    policy.maxIntervalMs = 20000;
    AcsSequencer sequencer(TestCharacter(), [](quint32 bound) { return bound - 1; });
    sequencer.SetIdlePolicy(policy);
    sequencer.Show(true);
    int wakeUps = 0;
    for (int elapsed = 0; elapsed < 120000 && sequencer.MsUntilNextTick() >= 0; ++wakeUps) {
        const int due = sequencer.MsUntilNextTick();
        EXPECT_GE(due, 100) << "at " << elapsed << " ms";
        sequencer.Tick(due);
        elapsed += due;
    }
    EXPECT_LT(wakeUps, 40); // 2 minutes: a few idle animations of two frames each
    sequencer.Hide(true);
    EXPECT_EQ(sequencer.MsUntilNextTick(), -1);
}

TEST(AcsSequencer, SpeaksOnAPoseWithAMouth)
{
    Player p;
    p.sequencer.Show(true);
    p.TakeLog();
    EXPECT_EQ(p.sequencer.CurrentOverlay(), nullptr);
    p.sequencer.SetSpeaking(true);
    ASSERT_NE(p.sequencer.CurrentOverlay(), nullptr);
    EXPECT_EQ(p.sequencer.CurrentOverlay()->imageIndex, 8); // closed
    EXPECT_EQ(p.TakeLog(), QStringList{u"RestPose:0"_s});   // redrawn with the mouth
    p.sequencer.SetMouth(AcsMouthShape::WideOpen1);
    EXPECT_EQ(p.sequencer.CurrentOverlay()->imageIndex, 9);
    p.sequencer.SetMouth(AcsMouthShape::WideOpen3); // nearest the pose has
    EXPECT_EQ(p.sequencer.CurrentOverlay()->imageIndex, 9);
    EXPECT_EQ(p.TakeLog(), QStringList{u"RestPose:0"_s});
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1); // speaking on a still pose needs no timer
    p.sequencer.SetSpeaking(false);
    EXPECT_EQ(p.sequencer.CurrentOverlay(), nullptr);
    EXPECT_EQ(p.TakeLog(), QStringList{u"RestPose:0"_s});
}

TEST(AcsSequencer, SpeaksAfterReturningWhenThePoseHasNoMouth)
{
    Player p;
    p.sequencer.Show(true);
    p.sequencer.Play(u"Branchy"_s);
    p.Run(1000);
    ASSERT_EQ(p.Picture(), u"Branchy:3"_s);
    p.TakeLog();
    p.sequencer.SetSpeaking(true);
    EXPECT_EQ(p.TakeLog(), QStringList{u"Talk:0"_s});
    EXPECT_EQ(p.sequencer.CurrentOverlay()->imageIndex, 8);

    // With a return owed, the return comes first (and its frame already has a mouth).
    p.sequencer.SetSpeaking(false);
    p.sequencer.Play(u"Wave"_s);
    p.Run(400);
    p.TakeLog();
    p.sequencer.SetSpeaking(true);
    EXPECT_EQ(p.sequencer.PlayingAnimation(), u"WaveReturn"_s);
    EXPECT_NE(p.sequencer.CurrentOverlay(), nullptr);
    p.Run(1000);
    EXPECT_EQ(p.TakeLog(), (QStringList{u"WaveReturn:0"_s, u"Talk:0"_s}));
}

TEST(AcsSequencer, SpeakingDoesNotIdle)
{
    AcsIdlePolicy policy;
    policy.minIntervalMs = policy.maxIntervalMs = 1000;
    Player p(policy);
    p.sequencer.Show(true);
    p.sequencer.SetSpeaking(true);
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), -1);
    p.sequencer.SetSpeaking(false);
    EXPECT_EQ(p.sequencer.MsUntilNextTick(), 1000);
}

TEST(AcsSequencer, ALongStallDoesNotRaceThroughFrames)
{
    Player p;
    p.sequencer.Show(true);
    p.sequencer.Play(u"Loop"_s);
    p.TakeLog();
    p.sequencer.Tick(3600 * 1000); // an hour asleep
    EXPECT_LE(p.TakeLog().size(), 1);
    EXPECT_EQ(p.sequencer.PlayingAnimation(), u"Loop"_s);
}

// ---------------------------------------------------------------------------------------------
// The real-time driver.

TEST(AcsAnimator, PlaysInRealTimeAndSleepsWhenStill)
{
    auto character = std::make_shared<AcsCharacter>(*TestCharacter());
    AcsAnimation quick{u"Quick"_s};
    quick.frames = {Frame({1}, 1), Frame({2}, 1), Frame({3}, 2)};
    character->AddAnimation(quick);

    AcsAnimator animator(character);
    animator.SetIdlePolicy(NoIdling());
    QSignalSpy frames(&animator, &AcsAnimator::frameChanged);
    QSignalSpy done(&animator, &AcsAnimator::animationDone);
    QSignalSpy shown(&animator, &AcsAnimator::shown);
    animator.Show(true);
    EXPECT_EQ(shown.count(), 1);
    EXPECT_FALSE(animator.IsTimerActive());

    ASSERT_TRUE(animator.Play(u"Quick"_s));
    EXPECT_TRUE(animator.IsTimerActive());
    EXPECT_LE(animator.TimerInterval(), 10);
    ASSERT_TRUE(done.wait(2000));
    EXPECT_EQ(done.first().at(0).toString(), u"Quick"_s);
    EXPECT_FALSE(done.first().at(1).toBool());
    EXPECT_GE(frames.count(), 4); // rest pose and three frames
    EXPECT_EQ(animator.CurrentFrame()->images[0].imageIndex, 3u);
    EXPECT_FALSE(animator.IsTimerActive());

    QSignalSpy hidden(&animator, &AcsAnimator::hidden);
    animator.Hide(false);
    ASSERT_TRUE(hidden.wait(2000));
    EXPECT_FALSE(animator.IsVisible());
    EXPECT_FALSE(animator.IsTimerActive());
}

TEST(AcsAnimator, ReportsSoundsAndIdlesOnItsOwn)
{
    auto character = std::make_shared<AcsCharacter>(*TestCharacter());
    AcsAnimator animator(character);
    AcsIdlePolicy policy;
    policy.minIntervalMs = policy.maxIntervalMs = 20;
    animator.SetIdlePolicy(policy);
    animator.Show(true);
    EXPECT_TRUE(animator.IsTimerActive());
    EXPECT_EQ(animator.TimerInterval(), 20);

    QSignalSpy frames(&animator, &AcsAnimator::frameChanged);
    ASSERT_TRUE(frames.wait(2000)); // the idle animation began
    EXPECT_EQ(animator.Sequencer().PlayingAnimation(), u"Idle"_s);

    QSignalSpy sounds(&animator, &AcsAnimator::soundStarted);
    animator.Play(u"Wave"_s);
    ASSERT_TRUE(sounds.wait(2000));
    EXPECT_EQ(sounds.first().at(0).toInt(), 0);
}
