#include "agent/AgentControl.h"

#include "agent/AcsReader.h"
#include "agent/ClockSpeechOutput.h"
#include "agent/SpeechVoice.h"

using namespace Qt::StringLiterals;

AgentControl::AgentControl(ViewFactory views, OutputFactory outputs, bool withVoice, QObject* parent)
    : QObject(parent)
    , m_views(std::move(views))
    , m_outputs(std::move(outputs))
{
    if (withVoice)
        m_voice = std::make_unique<SpeechVoice>();
}

AgentControl::~AgentControl()
{
    // The characters go before the voice they share.
    m_characters.clear();
}

int AgentControl::Load(const QString& id, const QString& path, QString* errorText)
{
    if (errorText)
        errorText->clear();
    if (m_characters.count(id)) {
        if (errorText)
            *errorText = u"A character is already loaded as \"%1\"."_s.arg(id);
        return LoadIdInUse;
    }
    AcsReader reader;
    std::optional<AcsCharacter> character = reader.ReadFile(path);
    if (!character) {
        if (errorText)
            *errorText = reader.ErrorText();
        return reader.Error() == AcsReadError::CannotOpen ? LoadFileError : LoadFormatError;
    }
    return Load(id, std::make_shared<const AcsCharacter>(std::move(*character)));
}

int AgentControl::Load(const QString& id, std::shared_ptr<const AcsCharacter> character)
{
    if (!character)
        return LoadFormatError;
    if (m_characters.count(id))
        return LoadIdInUse;
    std::unique_ptr<IAgentView> view = m_views(character);
    std::unique_ptr<ISpeechOutput> output = m_outputs ? m_outputs() : nullptr;
    if (!output)
        output = std::make_unique<ClockSpeechOutput>();
    auto loaded =
        std::make_unique<AgentCharacter>(std::move(character), std::move(view), std::move(output), m_voice.get());
    if (m_sounds)
        loaded->SetSoundOutput(m_sounds());
    m_characters.emplace(id, std::move(loaded));
    return LoadOk;
}

void AgentControl::Unload(const QString& id)
{
    const auto found = m_characters.find(id);
    if (found == m_characters.end())
        return;
    // Taken out of the map first, so nothing it does while going can reach it through the id.
    std::unique_ptr<AgentCharacter> character = std::move(found->second);
    m_characters.erase(found);
    character->StopAll();
    character->View().HideWindow();
}

IAgentCharacter* AgentControl::Character(const QString& id)
{
    return Loaded(id);
}

AgentCharacter* AgentControl::Loaded(const QString& id)
{
    const auto found = m_characters.find(id);
    return found == m_characters.end() ? nullptr : found->second.get();
}
