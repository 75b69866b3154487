// The engine window on its own, around a small fake of the main frame: what it asks of the frame.

#include "EngineTestSupport.h"

#include "app/CEngineWnd.h"
#include "app/IFrame.h"
#include "base/CSettings.h"
#include "base/CommandIds.h"
#include "base/SettingsStore.h"
#include "speech/RecordingAgent.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class FakeFrame final : public IFrame
{
public:
    void SetStatusText(const QString& text) override { statusTexts.append(text); }
    void SetActive(bool on) override { active = on; }
    void SetAlertCount(long count) override { alertCount = count; }
    void SetTrayAlertIcon(bool alert) override { trayAlert = alert; }
    bool IsStripShown() const override { return stripShown; }
    void ShowStrip() override { stripShown = true; }
    void HideStrip() override { stripShown = false; }
    void RebuildStrip() override { ++stripRebuilds; }
    void ApplyStripOptions() override {}
    void PostCommand(int commandId) override { posted.append(commandId); }

    QStringList statusTexts;
    std::optional<bool> active;
    long alertCount = -1;
    bool trayAlert = false;
    bool stripShown = false;
    int stripRebuilds = 0;
    QList<int> posted;
};

class EngineWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(m_env.DataHome() + u"/Quorvane/chars"_s);
        QFile file(m_env.DataHome() + u"/Quorvane/chars/Pennywit.acs"_s);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("character"); // the recording engine loads any file
        QSettings options(ProgramSettingsFile(), QSettings::IniFormat);
        options.setValue(u"Broadcast/ReadBroadcast"_s, 0);
        options.setValue(u"Rules/CheckRules"_s, 0);
    }

    EngineServices Services()
    {
        EngineServices services;
        services.reachability = &m_reachability;
        services.makeAgentControl = [] {
            return std::make_unique<RecordingAgentControl>();
        };
        // The setup wizard is passed: the window starts as one never set up.
        services.runSetupWizard = [](CCharacterManager&) {
            return true;
        };
        return services;
    }

    TestEnvironment m_env;
    FixedReachability m_reachability;
    FakeFrame m_frame;
};

} // namespace

TEST_F(EngineWndTest, TheStartTellsTheFrameTheActivityAndShowsTheStrip)
{
    CEngineWnd window(m_frame, Services());
    ASSERT_TRUE(window.Create());
    QSignalSpy started(&window, &CEngineWnd::Started);
    ASSERT_TRUE(window.IsStarted() || started.wait(5000));
    EXPECT_EQ(m_frame.active, std::optional<bool>(true)) << "active all day by default";
    EXPECT_TRUE(m_frame.stripShown) << "\"Show\" is on by default";
    EXPECT_TRUE(m_frame.posted.isEmpty());
}

TEST_F(EngineWndTest, TheStripIsRebuiltOnlyWhileTheFrameShowsIt)
{
    CEngineWnd window(m_frame, Services());
    ASSERT_TRUE(window.Create());
    m_frame.stripShown = false;
    window.RebuildStrip();
    window.RefreshStrip();
    EXPECT_EQ(m_frame.stripRebuilds, 0);
    m_frame.stripShown = true;
    window.RebuildStrip();
    window.RefreshStrip();
    EXPECT_EQ(m_frame.stripRebuilds, 2);
}

TEST_F(EngineWndTest, CommandsOfTheFrameAreLeftToIt)
{
    CEngineWnd window(m_frame, Services());
    ASSERT_TRUE(window.Create());
    EXPECT_FALSE(window.OnCommand(CommandId::Exit));
    EXPECT_FALSE(window.OnCommand(CommandId::ToggleStrip));
    EXPECT_TRUE(window.OnCommand(CommandId::Quiet));
    EXPECT_TRUE(window.IsCommandChecked(CommandId::Quiet));
    window.PostExitCommand();
    EXPECT_EQ(m_frame.posted, QList<int>{CommandId::Exit}) << "the engine asks the frame to exit";
}
