#include "agent/FrameSoundMixer.h"

#include <QMutexLocker>

#include <algorithm>
#include <cstring>

FrameSoundMixer::FrameSoundMixer(int sampleRate, int channels, QObject* parent)
    : QIODevice(parent)
    , m_sampleRate(std::max(1, sampleRate))
    , m_channels(std::clamp(channels, 1, 2))
{}

void FrameSoundMixer::Add(const PcmSound& sound)
{
    auto samples = std::make_shared<std::vector<qint16>>(WaveDecoder::Convert(sound, m_sampleRate, m_channels).samples);
    if (samples->empty())
        return;
    {
        QMutexLocker lock(&m_mutex);
        m_voices.push_back(Voice{std::move(samples), 0});
    }
    emit readyRead();
}

void FrameSoundMixer::Clear()
{
    QMutexLocker lock(&m_mutex);
    m_voices.clear();
}

bool FrameSoundMixer::IsPlaying() const
{
    QMutexLocker lock(&m_mutex);
    return !m_voices.empty();
}

qint64 FrameSoundMixer::bytesAvailable() const
{
    QMutexLocker lock(&m_mutex);
    size_t longest = 0;
    for (const Voice& voice : m_voices)
        longest = std::max(longest, voice.samples->size() - voice.position);
    return qint64(longest * sizeof(qint16)) + QIODevice::bytesAvailable();
}

qint64 FrameSoundMixer::readData(char* data, qint64 maxSize)
{
    QMutexLocker lock(&m_mutex);
    // Whole frames only, so that the channels stay in step.
    const size_t frameBytes = sizeof(qint16) * size_t(m_channels);
    size_t count = size_t(std::max<qint64>(0, maxSize)) / frameBytes * size_t(m_channels);
    size_t longest = 0;
    for (const Voice& voice : m_voices)
        longest = std::max(longest, voice.samples->size() - voice.position);
    count = std::min(count, longest);
    if (count == 0)
        return 0;
    m_sum.assign(count, 0);
    for (Voice& voice : m_voices) {
        const size_t take = std::min(count, voice.samples->size() - voice.position);
        const qint16* from = voice.samples->data() + voice.position;
        for (size_t i = 0; i < take; ++i)
            m_sum[i] += from[i];
        voice.position += take;
    }
    std::erase_if(m_voices, [](const Voice& voice) { return voice.position >= voice.samples->size(); });
    for (size_t i = 0; i < count; ++i) {
        const qint16 sample = qint16(std::clamp<qint32>(m_sum[i], -32768, 32767));
        std::memcpy(data + i * sizeof(qint16), &sample, sizeof(qint16));
    }
    return qint64(count * sizeof(qint16));
}

qint64 FrameSoundMixer::writeData(const char*, qint64)
{
    return -1;
}
