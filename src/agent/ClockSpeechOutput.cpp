#include "agent/ClockSpeechOutput.h"

#include <algorithm>

void ClockSpeechOutput::Start(std::shared_ptr<const RenderedSpeech> speech)
{
    StartAt(std::move(speech), 0);
}

void ClockSpeechOutput::StartAt(std::shared_ptr<const RenderedSpeech> speech, qint64 playedSamples)
{
    m_speech = std::move(speech);
    m_startSample = std::max<qint64>(0, playedSamples);
    m_stoppedAt = m_startSample;
    m_running = m_speech != nullptr;
    m_clock.start();
}

void ClockSpeechOutput::Stop()
{
    m_stoppedAt = PlayedSamples();
    m_running = false;
}

qint64 ClockSpeechOutput::PlayedSamples() const
{
    if (!m_running || !m_speech)
        return m_stoppedAt;
    const qint64 played = m_startSample + m_clock.elapsed() * m_speech->sampleRate / 1000;
    return std::min(played, qint64(m_speech->samples.size()));
}

bool ClockSpeechOutput::IsFinished() const
{
    return !m_running || !m_speech || PlayedSamples() >= qint64(m_speech->samples.size());
}
