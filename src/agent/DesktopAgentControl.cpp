#include "agent/DesktopAgentControl.h"

#include "agent/AgentWindow.h"
#include "agent/AudioSinkFrameSoundOutput.h"
#include "agent/AudioSinkSpeechOutput.h"

std::unique_ptr<AgentControl> CreateDesktopAgentControl()
{
    auto control = std::make_unique<AgentControl>(
        [](std::shared_ptr<const AcsCharacter> character) -> std::unique_ptr<IAgentView> {
            return std::make_unique<AgentWindow>(std::move(character));
        },
        []() -> std::unique_ptr<ISpeechOutput> { return std::make_unique<AudioSinkSpeechOutput>(); });
    control->SetSoundFactory(
        []() -> std::unique_ptr<IFrameSoundOutput> { return std::make_unique<AudioSinkFrameSoundOutput>(); });
    return control;
}
