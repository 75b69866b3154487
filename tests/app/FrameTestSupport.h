#pragma once

// The program as a test runs it in-process: the application object with fresh XDG folders, a
// recording character engine, and the test URL.ini (every quote address leads nowhere) or one
// pointing at a local quote server.

#include "EngineTestSupport.h"

#include "app/CEngineWnd.h"
#include "app/CMainFrame.h"
#include "app/CQuorvaneApp.h"
#include "base/SettingsStore.h"
#include "speech/RecordingAgent.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"
#include "ui/OpenDialogCount.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RecordingMessagePresenter::Instance().Clear();
        // A character file for the recording engine to load (any content loads there).
        QDir().mkpath(m_env.DataHome() + QStringLiteral("/Quorvane/chars"));
        QFile file(m_env.DataHome() + QStringLiteral("/Quorvane/chars/Pennywit.acs"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("character");
    }

    void TearDown() override
    {
        m_app.reset();
        EXPECT_EQ(OpenDialogCount::Instance().Count(), 0);
    }

    // An option written to the option store before the program starts.
    void SetOption(const QString& section, const QString& name, const QVariant& value)
    {
        QSettings settings(ProgramSettingsFile(), QSettings::IniFormat);
        settings.setValue(section + QLatin1Char('/') + name, value);
    }

    // The option as stored in the file (invalid when not stored).
    QVariant StoredOption(const QString& section, const QString& name)
    {
        QSettings settings(ProgramSettingsFile(), QSettings::IniFormat);
        return settings.value(section + QLatin1Char('/') + name);
    }

    // Keeps the program from updating, broadcasting or checking rules on its own.
    void NoScheduledWork()
    {
        SetOption(QStringLiteral("Broadcast"), QStringLiteral("ReadBroadcast"), 0);
        SetOption(QStringLiteral("Rules"), QStringLiteral("CheckRules"), 0);
    }

    EngineServices Services()
    {
        EngineServices services;
        // Whatever the machine's network state, the requests are made (and decide for themselves).
        services.reachability = &m_reachability;
        services.makeAgentControl = [this]() -> std::unique_ptr<IAgentControl> {
            auto control = std::make_unique<RecordingAgentControl>();
            m_agent = control.get();
            return control;
        };
        services.runSetupWizard = m_setupWizard;
        return services;
    }

    // Starts the program with these arguments after its name; true when it runs.
    bool Start(const QStringList& arguments = {})
    {
        m_app = std::make_unique<CQuorvaneApp>(Services());
        return m_app->InitInstance(QStringList{QStringLiteral("quorvane")} + arguments);
    }

    // Starts the program and waits for its start message to have been handled.
    void StartAndSettle(const QStringList& arguments = {})
    {
        ASSERT_TRUE(Start(arguments));
        QSignalSpy started(EngineWnd(), &CEngineWnd::Started);
        ASSERT_TRUE(EngineWnd()->IsStarted() || started.wait(20000)) << "the start message runs";
    }

    CMainFrame* Frame() const { return m_app ? m_app->MainFrame() : nullptr; }
    CEngineWnd* EngineWnd() const { return Frame() ? Frame()->EngineWnd() : nullptr; }

    TestEnvironment m_env;
    std::unique_ptr<CQuorvaneApp> m_app;
    RecordingAgentControl* m_agent = nullptr;
    FixedReachability m_reachability;
    // The first run's setup wizard: passed by default (the program then starts as never set up);
    // empty runs the real one.
    std::function<bool(CCharacterManager&)> m_setupWizard = [](CCharacterManager&) {
        return true;
    };
};
