#include "agent/AudioSinkFrameSoundOutput.h"

#include "agent/FrameSoundMixer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>

AudioSinkFrameSoundOutput::AudioSinkFrameSoundOutput(QObject* parent)
    : QObject(parent)
{
    m_releaseTimer.setSingleShot(true);
    connect(&m_releaseTimer, &QTimer::timeout, this, &AudioSinkFrameSoundOutput::ReleaseWhenSilent);
}

AudioSinkFrameSoundOutput::~AudioSinkFrameSoundOutput()
{
    Release();
}

void AudioSinkFrameSoundOutput::Play(std::shared_ptr<const PcmSound> sound)
{
    if (!sound || sound->samples.empty())
        return;
    if (m_sink) {
        // The open stream takes the sound in; an idle stream pulls again.
        m_releaseTimer.stop();
        m_mixer->Add(*sound);
        return;
    }
    if (!Open())
        return;
    m_mixer->Add(*sound);
    m_sink->start(m_mixer);
    if (m_sink->error() != QAudio::NoError)
        Release();
}

void AudioSinkFrameSoundOutput::StopAll()
{
    Release();
}

bool AudioSinkFrameSoundOutput::Open()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    // The device's own rate and channels, so that the sound server need not convert.
    QAudioFormat format = device.preferredFormat();
    format.setSampleFormat(QAudioFormat::Int16);
    format.setChannelCount(std::clamp(format.channelCount(), 1, 2));
    if (format.sampleRate() <= 0)
        format.setSampleRate(44100);
    if (!device.isFormatSupported(format)) {
        format.setSampleRate(44100);
        format.setChannelCount(2);
        if (!device.isFormatSupported(format))
            return false;
    }
    m_sink = new QAudioSink(device, format, this);
    m_mixer = new FrameSoundMixer(format.sampleRate(), format.channelCount(), m_sink);
    m_mixer->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    connect(m_sink, &QAudioSink::stateChanged, this, &AudioSinkFrameSoundOutput::OnStateChanged);
    return true;
}

void AudioSinkFrameSoundOutput::OnStateChanged()
{
    if (!m_sink)
        return;
    const QAudio::State state = m_sink->state();
    if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
        Release();
    } else if (state == QAudio::IdleState && !m_mixer->IsPlaying()) {
        // Everything was handed over, but the device still plays what it holds: close after that.
        const QAudioFormat format = m_sink->format();
        const qint64 held = format.bytesPerFrame() > 0 && format.sampleRate() > 0
                                ? qint64(m_sink->bufferSize()) * 1000 / format.bytesPerFrame() / format.sampleRate()
                                : 0;
        m_releaseTimer.start(int(std::clamp<qint64>(held, 0, 5000)) + 250);
    }
}

void AudioSinkFrameSoundOutput::ReleaseWhenSilent()
{
    if (m_sink && !m_mixer->IsPlaying())
        Release();
}

void AudioSinkFrameSoundOutput::Release()
{
    m_releaseTimer.stop();
    if (!m_sink)
        return;
    QAudioSink* sink = m_sink;
    m_sink = nullptr;
    m_mixer = nullptr;
    sink->disconnect(this);
    sink->stop();
    sink->deleteLater(); // and the mixer with it
}
