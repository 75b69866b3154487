#pragma once

#include "agent/ISpeechOutput.h"

#include <QElapsedTimer>

// A speech output without a sound device: the samples are not heard, but the position runs on the
// monotonic clock at the speech's sample rate, so the speech lasts exactly as long as it would on a
// sound card.
class ClockSpeechOutput : public ISpeechOutput
{
public:
    void Start(std::shared_ptr<const RenderedSpeech> speech) override;
    void Stop() override;
    qint64 PlayedSamples() const override;
    bool IsFinished() const override;

    // Continues the clock from a position already played (an output that lost its device).
    void StartAt(std::shared_ptr<const RenderedSpeech> speech, qint64 playedSamples);

private:
    std::shared_ptr<const RenderedSpeech> m_speech;
    QElapsedTimer m_clock;
    qint64 m_startSample = 0;
    qint64 m_stoppedAt = 0;
    bool m_running = false;
};
