#include "speech/agent/DesktopAgentControl.h"

#include "speech/agent/AgentWindow.h"
#include "speech/agent/AudioSinkSpeechOutput.h"

std::unique_ptr<AgentControl> CreateDesktopAgentControl()
{
    return std::make_unique<AgentControl>(
        [](std::shared_ptr<const AcsCharacter> character) -> std::unique_ptr<IAgentView> {
            return std::make_unique<AgentWindow>(std::move(character));
        },
        []() -> std::unique_ptr<ISpeechOutput> { return std::make_unique<AudioSinkSpeechOutput>(); });
}
