#pragma once

// A character engine that carries nothing out and writes every call it receives into one log, in
// call order, so that tests can check the exact requests that the character manager makes.
//
// Loading follows the file: a missing or unreadable file gives LoadFileError, a file whose content
// begins with "damaged" gives LoadFormatError, anything else loads. Log lines:
//   Load <id> <file name>      Unload <id>          Language <id>
//   MoveTo <x>,<y>             Show fast|animated   Hide fast|animated
//   Play <name>                Speak <text>         Think <text>
//   StopAll                    Balloon <style>

#include "agent/IAgentCharacter.h"
#include "agent/IAgentControl.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <map>
#include <memory>

class RecordingAgentCharacter final : public IAgentCharacter
{
public:
    explicit RecordingAgentCharacter(QStringList& log)
        : m_log(log)
    {}

    void SetLanguageID(quint32 languageId) override
    {
        m_languageId = languageId;
        m_log.append(QStringLiteral("Language %1").arg(languageId));
    }
    quint32 LanguageID() const override { return m_languageId; }
    QString Name() const override { return name; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    void MoveTo(int x, int y) override { m_log.append(QStringLiteral("MoveTo %1,%2").arg(x).arg(y)); }
    void Show(bool fast) override
    {
        m_log.append(fast ? QStringLiteral("Show fast") : QStringLiteral("Show animated"));
    }
    void Hide(bool fast) override
    {
        m_log.append(fast ? QStringLiteral("Hide fast") : QStringLiteral("Hide animated"));
    }
    void Play(const QString& animation) override { m_log.append(QStringLiteral("Play ") + animation); }
    void Speak(const QString& text) override { m_log.append(QStringLiteral("Speak ") + text); }
    void Think(const QString& text) override { m_log.append(QStringLiteral("Think ") + text); }
    void StopAll() override { m_log.append(QStringLiteral("StopAll")); }
    void SetBalloonStyle(quint32 style) override
    {
        m_balloonStyle = style;
        m_log.append(QStringLiteral("Balloon %1").arg(style));
    }
    quint32 BalloonStyle() const override { return m_balloonStyle; }
    QStringList AnimationNames() const override { return animations; }

    QString name;
    int width = 128;
    int height = 128;
    QStringList animations;

private:
    QStringList& m_log;
    quint32 m_languageId = 0;
    quint32 m_balloonStyle = BalloonStyleDefault;
};

class RecordingAgentControl final : public IAgentControl
{
public:
    int Load(const QString& id, const QString& path, QString* errorText = nullptr) override
    {
        log.append(QStringLiteral("Load %1 %2").arg(id, QFileInfo(path).fileName()));
        int status = LoadOk;
        QFile file(path);
        if (m_characters.count(id))
            status = LoadIdInUse;
        else if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
            status = LoadFileError;
        else if (file.read(7) == "damaged")
            status = LoadFormatError;
        if (errorText)
            *errorText = status == LoadOk ? QString() : QStringLiteral("failed");
        if (status == LoadOk) {
            auto character = std::make_unique<RecordingAgentCharacter>(log);
            character->width = characterWidth;
            character->height = characterHeight;
            character->animations = animations;
            character->name = characterName;
            m_characters[id] = std::move(character);
            loadedPaths.append(path);
        }
        return status;
    }

    void Unload(const QString& id) override
    {
        log.append(QStringLiteral("Unload ") + id);
        m_characters.erase(id);
    }

    IAgentCharacter* Character(const QString& id) override
    {
        const auto found = m_characters.find(id);
        return found == m_characters.end() ? nullptr : found->second.get();
    }

    // The log since the last call, and an empty log afterwards.
    QStringList Take()
    {
        QStringList taken;
        taken.swap(log);
        return taken;
    }

    QStringList log;
    QStringList loadedPaths;
    // What the next loaded character reports.
    QString characterName;
    int characterWidth = 128;
    int characterHeight = 128;
    QStringList animations;

private:
    std::map<QString, std::unique_ptr<RecordingAgentCharacter>> m_characters;
};
