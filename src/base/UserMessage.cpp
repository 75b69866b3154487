#include "base/UserMessage.h"

#include <cstdio>

namespace {

class StderrPresenter final : public IMessagePresenter
{
public:
    MessageResult Present(const UserMessage& message) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(message.caption), qPrintable(message.text));
        return message.buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
    }
};

StderrPresenter g_stderrPresenter;
IMessagePresenter* g_presenter = &g_stderrPresenter;

} // namespace

MessageResult ShowUserMessage(const QString& text, const QString& caption, MessageIcon icon, MessageButtons buttons)
{
    return g_presenter->Present(UserMessage{text, caption, icon, buttons});
}

void SetMessagePresenter(IMessagePresenter* presenter)
{
    g_presenter = presenter ? presenter : &g_stderrPresenter;
}
