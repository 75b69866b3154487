#include "speech/agent/DesktopAgentControl.h"

#include "speech/agent/AgentWindow.h"
#include "speech/agent/AudioSinkFrameSoundOutput.h"
#include "speech/agent/AudioSinkSpeechOutput.h"

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
