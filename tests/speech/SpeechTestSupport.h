#pragma once

#include "RecordingAgent.h"
#include "base/CSettings.h"
#include "rules/CompanionValues.h"
#include "speech/CCharacterManager.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A character manager on a recording engine, with its own characters folders (a user folder and an
// installed one) in fresh XDG folders, every option at its default, and Pennywit.acs installed and
// loaded. The log starts empty.
class SpeechTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetSettings().SetDefaults(false);
        RecordingMessagePresenter::Instance().Clear();
        SetQuiet(false);
        QDir().mkpath(UserFolder());
        QDir().mkpath(InstalledFolder());
        manager.SetCharacterFolders({UserFolder(), InstalledFolder()});
        manager.SetScreenSize(1024, 768);
        if (LoadAtStart()) {
            WriteFile(InstalledFolder() + QStringLiteral("/Pennywit.acs"), "character");
            ASSERT_TRUE(manager.LoadCharacter());
        }
        control.Take();
    }

    void TearDown() override
    {
        GetSettings().SetDefaults(false);
        SetQuiet(false);
    }

    // Whether SetUp installs and loads a character.
    virtual bool LoadAtStart() const { return true; }

    QString UserFolder() const { return env.DataHome() + QStringLiteral("/Quorvane/chars"); }
    QString InstalledFolder() const { return env.Root() + QStringLiteral("/share/quorvane/chars"); }

    static void WriteFile(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(content);
    }

    static void SetQuiet(bool quiet) { StoreGloballyDisabled(quiet); }

    // The speech request for text with the default speed and pitch.
    static QString Spoken(const QString& text) { return QStringLiteral("Speak \\Spd=150\\\\Pit=50\\") + text; }

    TestEnvironment env;
    RecordingAgentControl control;
    CCharacterManager manager{control};
};
