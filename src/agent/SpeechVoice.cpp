#include "agent/SpeechVoice.h"

#include <QMetaObject>

using namespace Qt::StringLiterals;

SpeechVoice::SpeechVoice(QObject* parent)
    : QObject(parent)
{
    m_thread.setObjectName(u"SpeechVoice"_s);
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start(QThread::LowPriority);
}

SpeechVoice::~SpeechVoice()
{
    for (auto& [ticket, pending] : m_pending)
        pending.cancel->store(true);
    m_thread.quit();
    m_thread.wait();
    // Results already posted to this object are dropped with it.
}

quint64 SpeechVoice::Render(SpeechText text, EspeakRenderer::Voice voice, Done done)
{
    const quint64 ticket = m_nextTicket++;
    auto cancel = std::make_shared<std::atomic_bool>(false);
    m_pending.emplace(ticket, Pending{cancel, std::move(done)});
    QMetaObject::invokeMethod(
        m_worker,
        [this, ticket, cancel, text = std::move(text), voice = std::move(voice)] {
            if (cancel->load())
                return;
            std::optional<RenderedSpeech> rendered = EspeakRenderer::Render(text, voice, cancel.get());
            if (cancel->load())
                return;
            std::shared_ptr<const RenderedSpeech> speech;
            if (rendered)
                speech = std::make_shared<const RenderedSpeech>(std::move(*rendered));
            // The voice outlives this call: its destructor waits for the worker thread.
            QMetaObject::invokeMethod(
                this, [this, ticket, speech] { Finish(ticket, speech); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return ticket;
}

void SpeechVoice::Cancel(quint64 ticket)
{
    const auto found = m_pending.find(ticket);
    if (found == m_pending.end())
        return;
    found->second.cancel->store(true);
    m_pending.erase(found);
}

void SpeechVoice::Finish(quint64 ticket, std::shared_ptr<const RenderedSpeech> speech)
{
    const auto found = m_pending.find(ticket);
    if (found == m_pending.end())
        return;
    Done done = std::move(found->second.done);
    m_pending.erase(found);
    if (done)
        done(std::move(speech));
}
