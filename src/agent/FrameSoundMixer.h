#pragma once

#include "agent/WaveDecoder.h"

#include <QIODevice>
#include <QMutex>

#include <memory>
#include <vector>

// The frame sounds of a character mixed into one stream of 16-bit samples for a sound device to
// pull: every sound added plays from its start at the mixer's rate and channel count, sounds that
// overlap are added together (clipped at full scale), and the stream has nothing to give while
// nothing plays (the device then goes idle). Reading may happen on the device's thread.
class FrameSoundMixer : public QIODevice
{
    Q_OBJECT

public:
    FrameSoundMixer(int sampleRate, int channels, QObject* parent = nullptr);

    int SampleRate() const { return m_sampleRate; }
    int Channels() const { return m_channels; }

    // Starts a sound (converted to the mixer's format).
    void Add(const PcmSound& sound);
    // Drops every sound.
    void Clear();
    // Whether a sound still has samples to give.
    bool IsPlaying() const;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    struct Voice
    {
        std::shared_ptr<const std::vector<qint16>> samples;
        size_t position = 0;
    };

    int m_sampleRate;
    int m_channels;
    mutable QMutex m_mutex;
    std::vector<Voice> m_voices;
    std::vector<qint32> m_sum;
};
