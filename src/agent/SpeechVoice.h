#pragma once

#include "agent/EspeakRenderer.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

// Renders speech off the UI thread: each Render runs EspeakRenderer on the voice's own worker
// thread and hands the result back on the thread that owns the voice. A long text therefore never
// freezes the windows.
class SpeechVoice : public QObject
{
    Q_OBJECT

public:
    // The result: nullptr when speech is unavailable (espeak-ng failed to start).
    using Done = std::function<void(std::shared_ptr<const RenderedSpeech>)>;

    explicit SpeechVoice(QObject* parent = nullptr);
    ~SpeechVoice() override;

    // Starts rendering; done runs later on this object's thread, unless the ticket is cancelled
    // first or the voice is destroyed. Returns the ticket.
    quint64 Render(SpeechText text, EspeakRenderer::Voice voice, Done done);
    // Drops a render: its done never runs (and the synthesizer stops early when it is still busy).
    void Cancel(quint64 ticket);

private:
    void Finish(quint64 ticket, std::shared_ptr<const RenderedSpeech> speech);

    QThread m_thread;
    QObject* m_worker = nullptr; // lives in m_thread
    quint64 m_nextTicket = 1;
    struct Pending
    {
        std::shared_ptr<std::atomic_bool> cancel;
        Done done;
    };
    std::map<quint64, Pending> m_pending;
};
