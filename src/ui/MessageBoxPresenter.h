#pragma once

#include "base/UserMessage.h"

// Shows the core's user messages as message boxes: no owner window, brought to the foreground.
class MessageBoxPresenter final : public IMessagePresenter
{
public:
    MessageResult Present(const UserMessage& message) override;
};
