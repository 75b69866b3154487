#pragma once

#include "agent/IFrameSoundOutput.h"

#include <QObject>
#include <QTimer>

class FrameSoundMixer;
class QAudioSink;

// Plays the sounds of animation frames on the default sound device through Qt Multimedia, in a
// stream of their own beside the voice's (the sound server mixes the two), the sounds of one
// character mixed together (FrameSoundMixer). The stream is opened when a sound starts and closed
// when nothing plays, so a resting character keeps no device busy. Without a device, with a device
// that refuses the format, or when the device fails, the sounds are silently not heard.
class AudioSinkFrameSoundOutput : public QObject, public IFrameSoundOutput
{
    Q_OBJECT

public:
    explicit AudioSinkFrameSoundOutput(QObject* parent = nullptr);
    ~AudioSinkFrameSoundOutput() override;

    void Play(std::shared_ptr<const PcmSound> sound) override;
    void StopAll() override;

    // Whether a stream to a sound device is open now.
    bool IsOpen() const { return m_sink != nullptr; }

private:
    bool Open();
    void Release();
    void OnStateChanged();
    void ReleaseWhenSilent();

    QAudioSink* m_sink = nullptr;
    FrameSoundMixer* m_mixer = nullptr; // owned by the sink
    QTimer m_releaseTimer;              // lets the device play out what it holds before closing
};
