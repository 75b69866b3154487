// The character manager on the real character engine, with character files written by our writer.

#include "agent/AgentTestCharacter.h"

#include "agent/AcsFileFormat.h"
#include "agent/AcsWriter.h"
#include "agent/AgentControl.h"
#include "base/CSettings.h"
#include "rules/CompanionValues.h"
#include "speech/CCharacterManager.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class CharacterManagerEngine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetSettings().SetDefaults(false);
        StoreGloballyDisabled(false);
        RecordingMessagePresenter::Instance().Clear();
        QDir().mkpath(m_folder);
        manager.SetCharacterFolders({m_folder});
        manager.SetScreenSize(1024, 768);

        AcsWriter writer;
        const std::optional<QByteArray> bytes = writer.Write(*MakeTestCharacter());
        ASSERT_TRUE(bytes.has_value()) << writer.ErrorText().toStdString();
        m_bytes = *bytes;
    }
    void TearDown() override { GetSettings().SetDefaults(false); }

    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_folder + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TestEnvironment env;
    QString m_folder = env.DataHome() + u"/Quorvane/chars"_s;
    QByteArray m_bytes;
    QStringList viewLog;
    AgentControl control{
        [this](std::shared_ptr<const AcsCharacter>) { return std::make_unique<RecordingView>(&viewLog); }, {}, false};
    CCharacterManager manager{control};
};

TEST_F(CharacterManagerEngine, DamagedFileIsPassedOverForAWorkingOne)
{
    Write(u"Pennywit.acs"_s, m_bytes.left(m_bytes.size() / 2)); // cut short
    Write(u"Sample.ACS"_s, m_bytes);
    GetSettings().character = u"pennywit.acs"_s;

    ASSERT_TRUE(manager.LoadCharacter());
    EXPECT_EQ(GetSettings().character, u"Sample.ACS"_s);
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
    IAgentCharacter* character = manager.Character();
    ASSERT_NE(character, nullptr);
    EXPECT_EQ(character->LanguageID(), 1033u);

    QStringList gestures;
    ASSERT_TRUE(manager.GetGestureList(gestures));
    EXPECT_EQ(gestures, (QStringList{u"(None)"_s, u"Explain"_s, u"Greet"_s, u"Hiding"_s, u"Idle1"_s, u"Loop"_s,
                                     u"RestPose"_s, u"Showing"_s, u"Walk"_s, u"Wave"_s, u"WaveReturn"_s}));
}

TEST_F(CharacterManagerEngine, NotACharacterFileGivesTheMessageWithTheReadersReason)
{
    const QString file = m_folder + u"/Pennywit.acs"_s;
    const QString message = u"Failed to load character "_s + file +
                            u".\nMake sure that you have an ACS file (e.g. Pennywit.ACS) in the "_s + m_folder +
                            u" folder before running Quorvane.\n\nThe character file "_s + file +
                            u" cannot be used. "_s;
    const std::pair<QByteArray, QString> cases[] = {
        {"This is not a character.", u"It is not a character file."_s},
        {AcsFileFormat::kOldSignature.toByteArray() + QByteArray(64, 0), u"older 1.5 format"_s},
        {m_bytes.left(m_bytes.size() / 2), u" (at byte "_s},
    };
    for (const auto& [bytes, reason] : cases) {
        Write(u"Pennywit.acs"_s, bytes);
        EXPECT_FALSE(manager.LoadCharacter());
        const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].text.startsWith(message)) << messages[0].text.toStdString();
        EXPECT_TRUE(messages[0].text.contains(reason)) << messages[0].text.toStdString();
        EXPECT_EQ(manager.Character(), nullptr);
    }
}

TEST_F(CharacterManagerEngine, SayIsPlayedByTheCharacter)
{
    Write(u"Pennywit.acs"_s, m_bytes);
    ASSERT_TRUE(manager.LoadCharacter());
    GetSettings().position = u"Bottom Right"_s;
    manager.Say(u"Hello there"_s, QString(), false, true, false);

    // Placed by the character's own 16 x 8 frame, shown, the words in a balloon, then hidden.
    ASSERT_TRUE(QTest::qWaitFor([this] { return viewLog.contains(u"hide"_s); }, 10000))
        << viewLog.join(u'\n').toStdString();
    EXPECT_TRUE(viewLog.contains(u"move 1008,760"_s));
    EXPECT_LT(viewLog.indexOf(u"move 1008,760"_s), viewLog.indexOf(u"show"_s));
    EXPECT_FALSE(viewLog.filter(u"balloon speak"_s).filter(u"style 15: Hello there"_s).isEmpty());

    manager.Close();
    EXPECT_EQ(manager.Character(), nullptr);
}

} // namespace
