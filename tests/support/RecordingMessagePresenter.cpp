#include "support/RecordingMessagePresenter.h"

MessageResult RecordingMessagePresenter::Present(const UserMessage& message)
{
    m_messages.append(message);
    if (!m_answers.empty()) {
        const MessageResult answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return message.buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
}

QList<UserMessage> RecordingMessagePresenter::Take()
{
    QList<UserMessage> taken;
    taken.swap(m_messages);
    return taken;
}

RecordingMessagePresenter& RecordingMessagePresenter::Instance()
{
    static RecordingMessagePresenter presenter;
    return presenter;
}
