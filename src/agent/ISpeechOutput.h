#pragma once

#include "agent/RenderedSpeech.h"

#include <memory>

// Where the voice's samples go: the sound device in the desktop program (AudioSinkSpeechOutput),
// or nowhere but a clock (ClockSpeechOutput) when there is no device, as under CI. Either way the
// position advances in real time, and the character paces its mouth and balloon by it.
class ISpeechOutput
{
public:
    virtual ~ISpeechOutput() = default;

    // Starts playing speech from its first sample, replacing anything playing.
    virtual void Start(std::shared_ptr<const RenderedSpeech> speech) = 0;
    // Stops at once; the position stays where it was.
    virtual void Stop() = 0;
    // How many samples of the speech have been heard since Start.
    virtual qint64 PlayedSamples() const = 0;
    // Whether everything started has been heard (true before any Start and after Stop).
    virtual bool IsFinished() const = 0;
};
