#pragma once

#include "agent/ClockSpeechOutput.h"
#include "agent/ISpeechOutput.h"

#include <QBuffer>
#include <QObject>

#include <memory>

class QAudioSink;

// Plays the voice on the default sound device through Qt Multimedia. Without a device, with a
// device that refuses the voice's format, or when the device fails while playing, the speech goes
// on silently on the clock from where it was, so it always takes its real time.
class AudioSinkSpeechOutput : public QObject, public ISpeechOutput
{
    Q_OBJECT

public:
    explicit AudioSinkSpeechOutput(QObject* parent = nullptr);
    ~AudioSinkSpeechOutput() override;

    void Start(std::shared_ptr<const RenderedSpeech> speech) override;
    void Stop() override;
    qint64 PlayedSamples() const override;
    bool IsFinished() const override;

    // Whether the samples go to a sound device (false: the silent clock).
    bool IsAudible() const { return m_sink != nullptr; }

private:
    void FallBackToClock();
    void ReleaseSink();

    std::shared_ptr<const RenderedSpeech> m_speech;
    QAudioSink* m_sink = nullptr;
    QBuffer m_buffer;
    ClockSpeechOutput m_clock;
    bool m_playing = false;
};
