// The character manager: the exact requests it hands the character engine.

#include "SpeechTestSupport.h"

#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using CharacterManager = SpeechTest;

// ---- Say and the notification methods

struct MethodCase
{
    qint32 method;
    QStringList expected; // after "MoveTo 896,0" and "Show fast"
};

class SayMethod : public SpeechTest, public ::testing::WithParamInterface<MethodCase>
{};

TEST_P(SayMethod, RequestsFollowTheNotificationMethod)
{
    GetSettings().notificationMethod = GetParam().method;
    manager.Say(u"Hello"_s, u"Wave"_s, false, false, false);
    QStringList expected;
    if (!GetParam().expected.isEmpty())
        expected = QStringList{u"MoveTo 896,0"_s, u"Show fast"_s} + GetParam().expected;
    EXPECT_EQ(control.Take(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Methods, SayMethod,
    ::testing::Values(MethodCase{0, {u"Balloon 15"_s, u"Play Wave"_s, u"Speak \\Spd=150\\\\Pit=50\\Hello"_s}},
                      MethodCase{1, {u"Balloon 0"_s, u"Play Wave"_s, u"Speak \\Spd=150\\\\Pit=50\\Hello"_s}},
                      MethodCase{2, {u"Balloon 15"_s, u"Play Wave"_s, u"Think Hello"_s}}, //
                      MethodCase{3, {}},
                      // Unknown values talk with a balloon.
                      MethodCase{4, {u"Balloon 15"_s, u"Play Wave"_s, u"Speak \\Spd=150\\\\Pit=50\\Hello"_s}},
                      MethodCase{-1, {u"Balloon 15"_s, u"Play Wave"_s, u"Speak \\Spd=150\\\\Pit=50\\Hello"_s}}));

TEST_F(CharacterManager, OverrideTalksWithABalloonWhateverTheMethod)
{
    for (qint32 method : {1, 2, 3}) {
        GetSettings().notificationMethod = method;
        manager.Say(u"Hi"_s, QString(), true, false, false);
        EXPECT_EQ(control.Take(), (QStringList{u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s, Spoken(u"Hi"_s)}))
            << "method " << method;
    }
}

TEST_F(CharacterManager, SpeechTextCarriesSpeedAndPitchTagsAndTheTextUnchanged)
{
    EXPECT_EQ(CCharacterManager::SpeechText(150, 50, u"Hello"_s), u"\\Spd=150\\\\Pit=50\\Hello"_s);
    EXPECT_EQ(CCharacterManager::SpeechText(-3, 0, u"%s %d"_s), u"\\Spd=-3\\\\Pit=0\\%s %d"_s);

    GetSettings().speed = 220;
    GetSettings().pitch = 80;
    manager.Say(u"C:\\path \\Pau=10\\ 100%"_s, QString(), false, false, false);
    EXPECT_EQ(control.Take().last(), u"Speak \\Spd=220\\\\Pit=80\\C:\\path \\Pau=10\\ 100%"_s);
}

TEST_F(CharacterManager, GestureIsPlayedAsGivenAndEmptyMeansNone)
{
    manager.Say(u"a"_s, u"(None)"_s, false, false, false); // the engine drops what the character lacks
    manager.Say(u"b"_s, QString(), false, false, false);
    const QStringList log = control.Take();
    EXPECT_TRUE(log.contains(u"Play (None)"_s));
    EXPECT_EQ(log.filter(u"Play"_s).size(), 1);
}

TEST_F(CharacterManager, QuietSilencesUnlessForced)
{
    SetQuiet(true);
    manager.Say(u"Hi"_s, u"Wave"_s, true, true, false);
    manager.PlayGesture(u"Wave"_s, true, false);
    manager.ShowCharacter(false);
    EXPECT_TRUE(control.Take().isEmpty());

    manager.Say(u"Hi"_s, u"Wave"_s, false, false, true);
    EXPECT_EQ(control.Take(),
              (QStringList{u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s, u"Play Wave"_s, Spoken(u"Hi"_s)}));
    manager.PlayGesture(u"Wave"_s, false, true);
    EXPECT_EQ(control.Take(), (QStringList{u"MoveTo 896,0"_s, u"Show fast"_s, u"Play Wave"_s}));

    // Quiet does not keep the character from hiding.
    manager.HideCharacter();
    EXPECT_EQ(control.Take(), QStringList{u"Hide fast"_s});

    SetQuiet(false);
    manager.Say(u"Hi"_s, QString(), false, false, false);
    EXPECT_EQ(control.Take().size(), 4);
}

TEST_F(CharacterManager, HideAfterHidesUnlessAlwaysShown)
{
    manager.Say(u"Bye"_s, QString(), false, true, false);
    EXPECT_EQ(control.Take(),
              (QStringList{u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s, Spoken(u"Bye"_s), u"Hide fast"_s}));

    GetSettings().alwaysShow = 1;
    manager.Say(u"Bye"_s, QString(), false, true, false);
    EXPECT_EQ(control.Take(), (QStringList{u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s, Spoken(u"Bye"_s)}));
}

TEST_F(CharacterManager, AnimateShowMakesShowAndHideAnimated)
{
    GetSettings().animateShow = 1;
    manager.ShowCharacter(false);
    manager.HideCharacter();
    EXPECT_EQ(control.Take(), (QStringList{u"Show animated"_s, u"Hide animated"_s}));
    GetSettings().animateShow = 0;
    manager.ShowCharacter(true);
    manager.HideCharacter();
    EXPECT_EQ(control.Take(), (QStringList{u"Show fast"_s, u"Hide fast"_s}));
}

TEST_F(CharacterManager, PlayGestureSkipsNoneAndTheSilentMethod)
{
    manager.PlayGesture(u"(None)"_s, false, true);
    GetSettings().notificationMethod = 3;
    manager.PlayGesture(u"Wave"_s, false, true);
    EXPECT_TRUE(control.Take().isEmpty());
    manager.PlayGesture(u"Wave"_s, true, false);
    EXPECT_EQ(control.Take(), (QStringList{u"MoveTo 896,0"_s, u"Show fast"_s, u"Play Wave"_s}));
    GetSettings().notificationMethod = 2; // only "silent" keeps the gesture back
    manager.PlayGesture(u"Wave"_s, false, false);
    EXPECT_EQ(control.Take().size(), 3);
}

// ---- Announcements

class Announcement : public SpeechTest
{
protected:
    void SetUp() override
    {
        SpeechTest::SetUp();
        StockList::DeleteAll();
        Stock* dow = StockList::Add(u"Dow"_s, u"Dow Jones"_s, u"^DJI"_s, u"United States"_s);
        dow->SetPrice(u"10234.25"_s, false);
        dow->SetChange(u"12.5"_s, false);
        GetSettings().pricesFormat = 1; // fractions
        announcement.SetName(u"Up"_s);
        announcement.SetGestureBefore(u"GraphUp"_s);
        announcement.SetSayBefore(u"STOCKS rose"_s);
        announcement.SetGestureAfter(u"(None)"_s);
        announcement.SetSayAfter(u"CHANGE, at PRICE"_s);
        rule.SetStockName(u"Dow"_s);
    }
    void TearDown() override
    {
        StockList::DeleteAll();
        SpeechTest::TearDown();
    }

    static QStringList SaidTwice(const QString& before, const QString& after)
    {
        return {u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s, u"Play GraphUp"_s, Spoken(before),
                u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s, u"Play (None)"_s,  Spoken(after)};
    }

    CAnnouncement announcement;
    CRule rule;
};

TEST_F(Announcement, MacrosAreExpandedForTheRulesStockInACopy)
{
    manager.PlayAnnouncement(&announcement, &rule, false);
    EXPECT_EQ(control.Take(),
              SaidTwice(u"\\map=\"Dow Jones\"=\"Dow\"\\S rose"_s,
                        u"up 12 \\Map=\"and a half\"=\"1/2\"\\, at 10,234 \\Map=\"and a fourth\"=\"1/4\"\\"_s));
    // The listed record keeps its macros.
    EXPECT_EQ(announcement.SayBefore(), u"STOCKS rose"_s);
    EXPECT_EQ(announcement.SayAfter(), u"CHANGE, at PRICE"_s);
}

TEST_F(Announcement, WithoutRuleOrStockThePreviewTextsAreSaid)
{
    manager.PlayAnnouncement(&announcement, nullptr, false);
    const QStringList preview = SaidTwice(u"Preview StockS rose"_s, u"Preview Change, at Preview Price"_s);
    EXPECT_EQ(control.Take(), preview);
    rule.SetStockName(u"dow"_s); // names are compared exactly
    manager.PlayAnnouncement(&announcement, &rule, false);
    EXPECT_EQ(control.Take(), preview);
}

TEST_F(Announcement, NothingWithoutAnnouncementOrWhenQuiet)
{
    manager.PlayAnnouncement(nullptr, &rule, true);
    EXPECT_TRUE(control.Take().isEmpty());
    SetQuiet(true);
    manager.PlayAnnouncement(&announcement, &rule, false);
    EXPECT_TRUE(control.Take().isEmpty());
    manager.PlayAnnouncement(&announcement, &rule, true);
    EXPECT_EQ(control.Take().filter(u"Speak"_s).size(), 2);
}

TEST_F(Announcement, NotificationMethodApplies)
{
    GetSettings().notificationMethod = 3;
    manager.PlayAnnouncement(&announcement, &rule, true);
    EXPECT_TRUE(control.Take().isEmpty());
    GetSettings().notificationMethod = 2;
    manager.PlayAnnouncement(&announcement, nullptr, true);
    EXPECT_EQ(control.Take().filter(u"Think"_s),
              (QStringList{u"Think Preview StockS rose"_s, u"Think Preview Change, at Preview Price"_s}));
}

// ---- Placement

struct PlacementCase
{
    const char16_t* position;
    int width;
    int height;
    const char16_t* expected; // empty: no move
};

class Placement : public SpeechTest, public ::testing::WithParamInterface<PlacementCase>
{};

TEST_P(Placement, MovesToTheTablePosition)
{
    const PlacementCase& c = GetParam();
    control.characterWidth = c.width;
    control.characterHeight = c.height;
    ASSERT_TRUE(manager.LoadCharacter());
    control.Take();
    GetSettings().position = QString::fromUtf16(c.position);
    manager.MoveToPosition();
    const QString expected = QString::fromUtf16(c.expected);
    EXPECT_EQ(control.Take(), expected.isEmpty() ? QStringList() : QStringList{u"MoveTo "_s + expected});
}

INSTANTIATE_TEST_SUITE_P(
    Positions, Placement,
    ::testing::Values(
        PlacementCase{u"Top Left", 128, 128, u"0,0"}, PlacementCase{u"Top Center", 128, 128, u"512,0"},
        PlacementCase{u"Top Right", 128, 128, u"896,0"}, PlacementCase{u"Bottom Left", 128, 128, u"0,640"},
        PlacementCase{u"Bottom Center", 128, 128, u"512,640"}, PlacementCase{u"Bottom Right", 128, 128, u"896,640"},
        PlacementCase{u"Center", 128, 128, u"512,384"}, PlacementCase{u"Stay In Place", 128, 128, u""},
        // Width and height each where they belong.
        PlacementCase{u"Bottom Right", 100, 60, u"924,708"}, PlacementCase{u"Top Right", 100, 60, u"924,0"},
        // Names compared exactly; anything else is the centre.
        PlacementCase{u"bottom right", 128, 128, u"512,384"}, PlacementCase{u"Bottom Right ", 128, 128, u"512,384"},
        PlacementCase{u"stay in place", 128, 128, u"512,384"}, PlacementCase{u"", 128, 128, u"512,384"}));

TEST_F(CharacterManager, PositionsLieInTheScreenAreaWhereverItsOriginIs)
{
    // A primary screen right of another one, below a 24-pixel panel.
    manager.SetScreenArea(QRect(1920, 24, 1280, 1000));
    QStringList moves;
    for (const char16_t* position : {u"Top Left", u"Center", u"Bottom Right"}) {
        GetSettings().position = QString::fromUtf16(position);
        manager.MoveToPosition();
        moves += control.Take();
    }
    EXPECT_EQ(moves, (QStringList{u"MoveTo 1920,24"_s, u"MoveTo 2560,524"_s, u"MoveTo 3072,896"_s}));
}

TEST_F(CharacterManager, EveryUtteranceReturnsTheCharacterToItsPlace)
{
    GetSettings().position = u"Bottom Left"_s;
    manager.SetScreenSize(1280, 1024);
    manager.Say(u"x"_s, QString(), false, false, false);
    manager.PlayGesture(u"Wave"_s, false, false);
    EXPECT_EQ(control.Take().filter(u"MoveTo"_s), (QStringList{u"MoveTo 0,896"_s, u"MoveTo 0,896"_s}));
    GetSettings().position = u"Stay In Place"_s;
    manager.Say(u"x"_s, QString(), false, false, false);
    EXPECT_TRUE(control.Take().filter(u"MoveTo"_s).isEmpty());
}

// ---- Gestures

TEST_F(CharacterManager, GestureListIsNoneThenNamesWithoutRegardToCase)
{
    control.animations = {u"wave"_s,  u"Acknowledge"_s, u"GraphUp"_s, u"ACKNOWLEDGE"_s, u"_idle"_s,  u"Zebra"_s,
                          u"alert"_s, u"!bang"_s,       u"(Alpha"_s,  u"Greet2"_s,      u"Greet10"_s};
    ASSERT_TRUE(manager.LoadCharacter());
    QStringList list{u"stale"_s};
    ASSERT_TRUE(manager.GetGestureList(list));
    // Upper-cased code-unit order: "!" < "(" < digits < letters < "_"; equal names keep their order.
    EXPECT_EQ(list, (QStringList{u"(None)"_s, u"!bang"_s, u"(Alpha"_s, u"Acknowledge"_s, u"ACKNOWLEDGE"_s, u"alert"_s,
                                 u"GraphUp"_s, u"Greet10"_s, u"Greet2"_s, u"wave"_s, u"Zebra"_s, u"_idle"_s}));
}

TEST_F(CharacterManager, GestureListWithoutCharacterIsJustNone)
{
    manager.Close();
    QStringList list{u"stale"_s, u"Wave"_s};
    EXPECT_FALSE(manager.GetGestureList(list));
    EXPECT_EQ(list, QStringList{u"(None)"_s});
}

// ---- Commands

TEST_F(CharacterManager, IntroductionSaysSeventeenLinesAndHidesAtTheEnd)
{
    SetQuiet(true);
    GetSettings().notificationMethod = 3; // override and force: the script is heard anyway
    manager.IntroduceCharacter();
    const QStringList log = control.Take();

    const QStringList speech = log.filter(QRegularExpression(u"^(Speak|Think) "_s));
    ASSERT_EQ(speech.size(), 17);
    EXPECT_EQ(speech[0], Spoken(u"Hi There. My name is Penny-Wit."_s));
    EXPECT_EQ(speech[1],
              Spoken(u"I'm delighted to meet you. I'm here to help you keep track of your favorite stocks."_s));
    EXPECT_EQ(speech[2], Spoken(u"Using my clear voice and smooth animations, you will be notified about the latest "
                                u"prices of your favorite stocks."_s));
    EXPECT_EQ(speech[3], Spoken(u"I'll help you in good times."_s));
    EXPECT_EQ(speech[4], Spoken(u"And in, not so good, times."_s));
    EXPECT_EQ(speech[5], Spoken(u"You can customize what I'll say and do."_s));
    EXPECT_EQ(speech[6], Spoken(u"I have a wide range of gestures to reflect different market events. Here are a "
                                u"few examples."_s));
    EXPECT_EQ(speech[7], Spoken(u"I can remind you when it's time to sell a stock."_s));
    EXPECT_EQ(speech[8], Spoken(u"Or when it's time to buy one."_s));
    EXPECT_EQ(speech[9], Spoken(u"I don't recommend stocks or give financial advice. I was not designed for that "
                                u"purpose. Rather, I'm here to assist you in following up on your stocks."_s));
    EXPECT_EQ(speech[10], Spoken(u"I can reflect positive market events."_s));
    EXPECT_EQ(speech[11], Spoken(u"Or, events you wish did not happen."_s));
    EXPECT_EQ(speech[12], Spoken(u"Here is another example."_s));
    EXPECT_EQ(speech[13], Spoken(u"Hopefully, by using Quorvane you will do more of this."_s));
    EXPECT_EQ(speech[14], Spoken(QString()));
    EXPECT_EQ(speech[15], Spoken(u"And less of this."_s));
    EXPECT_EQ(speech[16], Spoken(u"I would like to thank you on behalf of Brightwold for using Quorvane. I hope you "
                                 u"are enjoying the product and find it useful. Thank you."_s));

    EXPECT_EQ(
        log.filter(u"Play "_s),
        (QStringList{u"Play Wave"_s, u"Play ThumbUp"_s, u"Play MoneyShow"_s, u"Play GraphUp"_s, u"Play GraphDown"_s,
                     u"Play Calculator"_s, u"Play SignSell"_s, u"Play SignBuy"_s, u"Play PotGold"_s, u"Play Crash"_s,
                     u"Play Bear"_s, u"Play Dance"_s, u"Play Burn"_s, u"Play Advert"_s}));
    // Each gesture directly before its own line; lines 7, 10 and 14 have none.
    const qsizetype dance = log.indexOf(u"Play Dance"_s);
    EXPECT_EQ(log[dance + 1], Spoken(QString()));
    EXPECT_EQ(log[log.indexOf(speech[6]) - 1], u"Balloon 15"_s);
    EXPECT_EQ(log.filter(u"Balloon 15"_s).size(), 17);
    EXPECT_EQ(log.filter(u"Hide"_s), QStringList{u"Hide fast"_s});
    EXPECT_EQ(log.last(), u"Hide fast"_s);
}

TEST_F(CharacterManager, HideCommandSilencesThenHides)
{
    manager.HideCommand();
    EXPECT_EQ(control.Take(), (QStringList{u"StopAll"_s, u"Hide fast"_s}));
    GetSettings().alwaysShow = 1; // only silenced: the character stays on the screen
    manager.HideCommand();
    EXPECT_EQ(control.Take(), QStringList{u"StopAll"_s});
}

TEST_F(CharacterManager, CloseSilencesAndUnloads)
{
    manager.Close();
    EXPECT_EQ(control.Take(), (QStringList{u"StopAll"_s, u"Unload Quorvan"_s}));
    EXPECT_EQ(manager.Character(), nullptr);

    // Without a character every operation is a no-op.
    manager.Say(u"x"_s, u"Wave"_s, true, true, true);
    manager.PlayGesture(u"Wave"_s, true, true);
    manager.ShowCharacter(true);
    manager.HideCharacter();
    manager.MoveToPosition();
    manager.StopCharacter();
    manager.IntroduceCharacter();
    manager.HideCommand();
    EXPECT_TRUE(control.Take().isEmpty());
}

TEST_F(CharacterManager, ChangingTheCharacterThanksTheUser)
{
    WriteFile(UserFolder() + u"/Other.ACS"_s, "character");
    GetSettings().character = u"other.acs"_s;
    GetSettings().notificationMethod = 3;
    SetQuiet(true);
    EXPECT_TRUE(manager.ChangeCharacter());
    EXPECT_EQ(control.Take(), (QStringList{u"Unload Quorvan"_s, u"Load Quorvan Other.ACS"_s, u"Language 1033"_s,
                                           u"MoveTo 896,0"_s, u"Show fast"_s, u"Balloon 15"_s,
                                           Spoken(u"Thanks for selecting me."_s), u"Hide fast"_s, u"MoveTo 896,0"_s}));
    EXPECT_EQ(GetSettings().character, u"other.acs"_s);
}

// ---- Loading

TEST_F(CharacterManager, LoadFindsTheChosenFileWithoutRegardToCase)
{
    WriteFile(UserFolder() + u"/Genie.ACS"_s, "character");
    GetSettings().character = u"genie.acs"_s;
    EXPECT_TRUE(manager.LoadCharacter());
    EXPECT_EQ(control.Take(), (QStringList{u"Unload Quorvan"_s, u"Load Quorvan Genie.ACS"_s, u"Language 1033"_s}));
    EXPECT_EQ(GetSettings().character, u"genie.acs"_s);
    EXPECT_EQ(manager.Character()->LanguageID(), 1033u);
}

TEST_F(CharacterManager, UserFolderComesBeforeTheInstalledOne)
{
    WriteFile(UserFolder() + u"/pennywit.acs"_s, "character");
    EXPECT_TRUE(manager.LoadCharacter());
    EXPECT_EQ(control.loadedPaths.last(), UserFolder() + u"/pennywit.acs"_s);
}

TEST_F(CharacterManager, MissingChoiceFallsBackToTheFirstInstalledFile)
{
    WriteFile(InstalledFolder() + u"/Another.acs"_s, "character");
    WriteFile(InstalledFolder() + u"/notes.txt"_s, "character");
    GetSettings().character = u"Gone.acs"_s;
    EXPECT_TRUE(manager.LoadCharacter());
    EXPECT_EQ(control.Take(), (QStringList{u"Unload Quorvan"_s, u"Load Quorvan Gone.acs"_s, u"Unload Quorvan"_s,
                                           u"Load Quorvan Another.acs"_s, u"Language 1033"_s}));
    EXPECT_EQ(GetSettings().character, u"Another.acs"_s);
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());

    // The user's own folder is searched first.
    WriteFile(UserFolder() + u"/Zed.acs"_s, "character");
    GetSettings().character = u"Gone.acs"_s;
    EXPECT_TRUE(manager.LoadCharacter());
    EXPECT_EQ(GetSettings().character, u"Zed.acs"_s);
}

TEST_F(CharacterManager, DamagedFilesAreSkippedUntilOneLoads)
{
    WriteFile(InstalledFolder() + u"/Pennywit.acs"_s, "damaged");
    WriteFile(InstalledFolder() + u"/A.acs"_s, "damaged!");
    WriteFile(InstalledFolder() + u"/B.acs"_s, "character");
    EXPECT_TRUE(manager.LoadCharacter());
    EXPECT_EQ(control.Take().filter(u"Load "_s),
              (QStringList{u"Load Quorvan Pennywit.acs"_s, u"Load Quorvan A.acs"_s, u"Load Quorvan B.acs"_s}));
    EXPECT_EQ(GetSettings().character, u"B.acs"_s);
}

TEST_F(CharacterManager, NameOutsideTheFoldersIsNeverLoaded)
{
    WriteFile(env.Root() + u"/secret.acs"_s, "character");
    QFile::remove(InstalledFolder() + u"/Pennywit.acs"_s);
    GetSettings().character = u"../../../secret.acs"_s;
    EXPECT_FALSE(manager.LoadCharacter());
    EXPECT_TRUE(control.loadedPaths.filter(u"secret"_s).isEmpty());
    EXPECT_EQ(control.Take().filter(u"Load "_s), QStringList{u"Load Quorvan secret.acs"_s});
    RecordingMessagePresenter::Instance().Clear();
}

class NoCharacter : public SpeechTest
{
protected:
    bool LoadAtStart() const override { return false; }
};

TEST_F(NoCharacter, FailureToLoadTellsTheUserWhereCharactersGo)
{
    WriteFile(InstalledFolder() + u"/Broken.acs"_s, "damaged");
    EXPECT_FALSE(manager.LoadCharacter());
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].caption, u"Quorva"_s);
    EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
    // The last path tried is named, with the engine's reason ("failed" here).
    EXPECT_EQ(messages[0].text, u"Failed to load character "_s + InstalledFolder() +
                                    u"/Broken.acs.\nMake sure that you have an ACS file (e.g. Pennywit.ACS) in the "_s +
                                    UserFolder() + u" folder before running Quorvane.\n\nfailed"_s);
    EXPECT_EQ(GetSettings().character, u"Pennywit.acs"_s);
    EXPECT_EQ(manager.Character(), nullptr);
}

TEST_F(NoCharacter, NoCharacterFileAtAllNamesTheChosenPath)
{
    EXPECT_FALSE(manager.LoadCharacter());
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.startsWith(u"Failed to load character "_s + UserFolder() + u"/Pennywit.acs.\n"_s))
        << messages[0].text.toStdString();
}

TEST_F(NoCharacter, WaitCursorSurroundsEveryFileLoad)
{
    QStringList events;
    manager.SetWaitCursorHook([&events](bool on) { events.append(on ? u"on"_s : u"off"_s); });
    EXPECT_FALSE(manager.LoadFile(UserFolder() + u"/missing.acs"_s));
    EXPECT_EQ(events, (QStringList{u"on"_s, u"off"_s}));
    WriteFile(UserFolder() + u"/Good.acs"_s, "character");
    EXPECT_TRUE(manager.LoadFile(UserFolder() + u"/Good.acs"_s));
    EXPECT_EQ(events, (QStringList{u"on"_s, u"off"_s, u"on"_s, u"off"_s}));
}

TEST_F(NoCharacter, CharacterFilesAreListedOnceInLowerCase)
{
    WriteFile(UserFolder() + u"/Pennywit.ACS"_s, "x");
    WriteFile(UserFolder() + u"/zed.acs"_s, "x");
    WriteFile(UserFolder() + u"/Alpha.Acs"_s, "x");
    WriteFile(UserFolder() + u"/readme.txt"_s, "x");
    WriteFile(UserFolder() + u"/acs"_s, "x");
    QDir().mkpath(UserFolder() + u"/folder.acs"_s);
    WriteFile(InstalledFolder() + u"/PENNYWIT.acs"_s, "x");
    WriteFile(InstalledFolder() + u"/Other.acs"_s, "x");
    EXPECT_EQ(manager.ListCharacterFiles(),
              (QStringList{u"alpha.acs"_s, u"other.acs"_s, u"pennywit.acs"_s, u"zed.acs"_s}));

    manager.SetCharacterFolders({env.Root() + u"/nowhere"_s});
    EXPECT_TRUE(manager.ListCharacterFiles().isEmpty());
}

} // namespace
