#include "AgentTestCharacter.h"

#include "agent/AcsWriter.h"
#include "agent/AgentControl.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class AgentControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_environment.Root() + u"/Tester.acs"_s;
        AcsWriter writer;
        ASSERT_TRUE(writer.WriteFile(*MakeTestCharacter(), m_path)) << writer.ErrorText().toStdString();
        m_control = std::make_unique<AgentControl>(
            [this](std::shared_ptr<const AcsCharacter>) -> std::unique_ptr<IAgentView> {
                return std::make_unique<RecordingView>(&m_log);
            },
            AgentControl::OutputFactory{}, false);
    }

    TestEnvironment m_environment;
    QString m_path;
    QStringList m_log;
    std::unique_ptr<AgentControl> m_control;
};

TEST_F(AgentControlTest, LoadsACharacterFileUnderAnId)
{
    QString error = u"stale"_s;
    EXPECT_EQ(m_control->Load(u"Quorvan"_s, m_path, &error), IAgentControl::LoadOk);
    EXPECT_TRUE(error.isEmpty());
    IAgentCharacter* character = m_control->Character(u"Quorvan"_s);
    ASSERT_NE(character, nullptr);
    EXPECT_EQ(character->Width(), 16);
    EXPECT_EQ(character->Height(), 8);
    EXPECT_EQ(character->AnimationNames().size(), 10);
    EXPECT_TRUE(character->AnimationNames().contains(u"Wave"_s));
    EXPECT_EQ(m_control->Character(u"Other"_s), nullptr);
}

TEST_F(AgentControlTest, TheLoadedCharacterPlaysItsRequests)
{
    ASSERT_EQ(m_control->Load(u"Quorvan"_s, m_path), IAgentControl::LoadOk);
    IAgentCharacter* character = m_control->Character(u"Quorvan"_s);
    character->SetLanguageID(1033);
    EXPECT_EQ(character->LanguageID(), 1033u);
    character->MoveTo(20, 30);
    character->Show(true);
    character->Play(u"Walk"_s);
    character->Hide(true);
    AgentCharacter* loaded = m_control->Loaded(u"Quorvan"_s);
    ASSERT_TRUE(QTest::qWaitFor([loaded] { return !loaded->IsBusy(); }, 5000));
    EXPECT_EQ(m_log,
              (QStringList{u"move 20,30"_s, u"frame 100"_s, u"show"_s, u"frame 800"_s, u"frame 801"_s, u"hide"_s}));
}

TEST_F(AgentControlTest, AnIdInUseIsRefused)
{
    ASSERT_EQ(m_control->Load(u"Quorvan"_s, m_path), IAgentControl::LoadOk);
    IAgentCharacter* first = m_control->Character(u"Quorvan"_s);
    QString error;
    EXPECT_EQ(m_control->Load(u"Quorvan"_s, m_path, &error), IAgentControl::LoadIdInUse);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(m_control->Character(u"Quorvan"_s), first);
    EXPECT_EQ(m_control->Load(u"Second"_s, m_path), IAgentControl::LoadOk);
}

TEST_F(AgentControlTest, MissingFileFailsWithAReason)
{
    QString error;
    EXPECT_EQ(m_control->Load(u"Quorvan"_s, m_environment.Root() + u"/missing.acs"_s, &error),
              IAgentControl::LoadFileError);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(m_control->Character(u"Quorvan"_s), nullptr);
}

TEST_F(AgentControlTest, DamagedFileFailsAsAFormatError)
{
    const QString path = m_environment.Root() + u"/damaged.acs"_s;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QFile original(m_path);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    file.write(original.readAll().left(100)); // the header, then nothing it points at
    file.close();
    QString error;
    EXPECT_EQ(m_control->Load(u"Quorvan"_s, path, &error), IAgentControl::LoadFormatError);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(m_control->Character(u"Quorvan"_s), nullptr);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("This is a text file, not a character.");
    file.close();
    EXPECT_EQ(m_control->Load(u"Quorvan"_s, path), IAgentControl::LoadFormatError);
}

TEST_F(AgentControlTest, UnloadDropsTheCharacterAndIgnoresUnknownIds)
{
    m_control->Unload(u"Quorvan"_s); // nothing loaded: ignored
    ASSERT_EQ(m_control->Load(u"Quorvan"_s, m_path), IAgentControl::LoadOk);
    IAgentCharacter* character = m_control->Character(u"Quorvan"_s);
    character->Show(true);
    character->Speak(u"Never finished."_s);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_log.contains(u"show"_s); }, 5000));
    m_control->Unload(u"Quorvan"_s);
    EXPECT_EQ(m_control->Character(u"Quorvan"_s), nullptr);
    EXPECT_EQ(m_log.last(), u"hide"_s);
    // Loading again under the same id works, as the character manager does on every load.
    EXPECT_EQ(m_control->Load(u"Quorvan"_s, m_path), IAgentControl::LoadOk);
    QTest::qWait(50); // nothing of the unloaded character runs on
}

} // namespace
