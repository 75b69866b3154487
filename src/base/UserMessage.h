#pragma once

#include <QString>

// Messages that the program's core raises for the user (data-file errors, a missing configuration
// file, a character that does not load). The core never shows a window itself: it hands the message
// to the installed presenter, which the GUI implements with a message box and tests replace with a
// recorder.

enum class MessageIcon
{
    None,
    Information,
    Warning,
    Error,
    Question,
};

enum class MessageButtons
{
    Ok,
    YesNo,
};

enum class MessageResult
{
    Ok,
    Yes,
    No,
};

struct UserMessage
{
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

class IMessagePresenter
{
public:
    virtual ~IMessagePresenter() = default;
    virtual MessageResult Present(const UserMessage& message) = 0;
};

// Shows a message through the installed presenter (standard error when none is installed, answering
// Ok / No). Never formats the text: it is shown as given.
MessageResult ShowUserMessage(const QString& text, const QString& caption, MessageIcon icon,
                              MessageButtons buttons = MessageButtons::Ok);

// Installs the presenter; nullptr restores the standard-error one. The caller keeps ownership.
void SetMessagePresenter(IMessagePresenter* presenter);
