#pragma once

#include "base/UserMessage.h"

#include <QList>

#include <deque>

// Collects the messages that the code under test shows to the user, answering them from a queue
// of scripted answers (Ok, or No for a Yes/No question, when the queue is empty).
class RecordingMessagePresenter final : public IMessagePresenter
{
public:
    MessageResult Present(const UserMessage& message) override;

    const QList<UserMessage>& Messages() const { return m_messages; }
    QList<UserMessage> Take();
    void Clear() { m_messages.clear(); }
    void QueueAnswer(MessageResult answer) { m_answers.push_back(answer); }

    // The presenter that the test main installs for every test.
    static RecordingMessagePresenter& Instance();

private:
    QList<UserMessage> m_messages;
    std::deque<MessageResult> m_answers;
};
