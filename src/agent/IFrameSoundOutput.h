#pragma once

#include "agent/WaveDecoder.h"

#include <memory>

// Where the sounds of animation frames go: the sound device in the desktop program
// (AudioSinkFrameSoundOutput), a recorder in tests. A sound plays beside the voice and beside the
// sounds still playing; nothing waits for it. Every call is made on the UI thread and returns at once.
class IFrameSoundOutput
{
public:
    virtual ~IFrameSoundOutput() = default;

    // Starts a sound from its beginning.
    virtual void Play(std::shared_ptr<const PcmSound> sound) = 0;
    // Silences every sound playing.
    virtual void StopAll() = 0;
};
