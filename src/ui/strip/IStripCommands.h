#pragma once

// What the Stock Strip's menu needs of the main window: its commands are the main window's (ids of
// base/CommandIds.h) and are carried out there.
class IStripCommands
{
public:
    virtual ~IStripCommands() = default;

    // Carries out the command from a later turn of the event loop: the command may close the strip
    // whose menu gave it.
    virtual void PostStripCommand(int commandId) = 0;
    // Whether the command's menu item is enabled now.
    virtual bool IsStripCommandEnabled(int commandId) const = 0;
};
