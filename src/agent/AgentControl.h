#pragma once

#include "agent/AgentCharacter.h"
#include "agent/IAgentControl.h"
#include "agent/IAgentView.h"
#include "agent/IFrameSoundOutput.h"
#include "agent/ISpeechOutput.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class SpeechVoice;

// The character engine: characters read from .acs files, each with its own view (made by the view
// factory), speech output (made by the output factory; the silent clock when none is given) and
// output for the sounds of its frames (made by the sound factory; silent frames when none is set),
// all sharing one voice. The desktop program builds one with CreateDesktopAgentControl().
class AgentControl : public QObject, public IAgentControl
{
    Q_OBJECT

public:
    using ViewFactory = std::function<std::unique_ptr<IAgentView>(std::shared_ptr<const AcsCharacter>)>;
    using OutputFactory = std::function<std::unique_ptr<ISpeechOutput>()>;
    using SoundFactory = std::function<std::unique_ptr<IFrameSoundOutput>()>;

    // withVoice false: no speech synthesizer at all (words take their reading time in the balloon).
    explicit AgentControl(ViewFactory views, OutputFactory outputs = {}, bool withVoice = true,
                          QObject* parent = nullptr);
    ~AgentControl() override;

    // How the characters loaded from now on play their frames' sounds.
    void SetSoundFactory(SoundFactory sounds) { m_sounds = std::move(sounds); }

    // IAgentControl
    int Load(const QString& id, const QString& path, QString* errorText = nullptr) override;
    void Unload(const QString& id) override;
    IAgentCharacter* Character(const QString& id) override;

    // Loads a character already in memory (tools and tests); LoadOk or LoadIdInUse.
    int Load(const QString& id, std::shared_ptr<const AcsCharacter> character);
    // The loaded character itself, for tools and tests.
    AgentCharacter* Loaded(const QString& id);

private:
    ViewFactory m_views;
    OutputFactory m_outputs;
    SoundFactory m_sounds;
    std::unique_ptr<SpeechVoice> m_voice;
    std::map<QString, std::unique_ptr<AgentCharacter>> m_characters;
};
