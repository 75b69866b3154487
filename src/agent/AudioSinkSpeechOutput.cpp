#include "agent/AudioSinkSpeechOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

AudioSinkSpeechOutput::AudioSinkSpeechOutput(QObject* parent)
    : QObject(parent)
{}

AudioSinkSpeechOutput::~AudioSinkSpeechOutput()
{
    ReleaseSink();
}

void AudioSinkSpeechOutput::Start(std::shared_ptr<const RenderedSpeech> speech)
{
    Stop();
    m_speech = std::move(speech);
    if (!m_speech)
        return;
    m_playing = true;

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(m_speech->sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        m_clock.Start(m_speech);
        return;
    }
    m_buffer.setData(reinterpret_cast<const char*>(m_speech->samples.data()),
                     qsizetype(m_speech->samples.size() * sizeof(qint16)));
    m_buffer.open(QIODevice::ReadOnly);
    m_sink = new QAudioSink(device, format, this);
    connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (m_sink && state == QAudio::StoppedState && m_sink->error() != QAudio::NoError)
            FallBackToClock();
    });
    m_sink->start(&m_buffer);
    if (m_sink->error() != QAudio::NoError)
        FallBackToClock();
}

void AudioSinkSpeechOutput::FallBackToClock()
{
    const qint64 played = PlayedSamples();
    ReleaseSink();
    if (m_playing)
        m_clock.StartAt(m_speech, played);
}

void AudioSinkSpeechOutput::ReleaseSink()
{
    if (m_sink) {
        QAudioSink* sink = m_sink;
        m_sink = nullptr;
        sink->disconnect(this);
        sink->stop();
        sink->deleteLater();
    }
    m_buffer.close();
}

void AudioSinkSpeechOutput::Stop()
{
    m_clock.Stop();
    ReleaseSink();
    m_playing = false;
}

qint64 AudioSinkSpeechOutput::PlayedSamples() const
{
    if (!m_sink || !m_speech)
        return m_clock.PlayedSamples();
    // What the sink has taken, less what still waits in its own buffer.
    const qint64 taken = m_sink->processedUSecs() * m_speech->sampleRate / 1'000'000;
    const qint64 waiting = std::max<qint64>(0, m_sink->bufferSize() - m_sink->bytesFree()) / qint64(sizeof(qint16));
    return std::clamp<qint64>(taken - waiting, 0, qint64(m_speech->samples.size()));
}

bool AudioSinkSpeechOutput::IsFinished() const
{
    if (!m_playing || !m_speech)
        return true;
    if (!m_sink)
        return m_clock.IsFinished();
    // Idle also before the first samples flow: finished only once everything was taken.
    const qint64 taken = m_sink->processedUSecs() * m_speech->sampleRate / 1'000'000;
    const bool drained = m_sink->state() == QAudio::IdleState || m_sink->state() == QAudio::StoppedState;
    return drained && taken + m_speech->sampleRate / 100 >= qint64(m_speech->samples.size());
}
