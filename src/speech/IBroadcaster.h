#pragma once

class QDateTime;

// The spoken report and the character, as the schedule uses them.
class IBroadcaster
{
public:
    virtual ~IBroadcaster() = default;

    // Whether any stock of the list (enabled or not) has a price other than the one last reported.
    virtual bool HasPriceChanged() = 0;
    // Reads the prices aloud: the report for the time; changed tells whether any price moved;
    // force ignores the quiet switch.
    virtual void Broadcast(const QDateTime& time, bool changed, bool force) = 0;
    // Hides the character after the scheduled work.
    virtual void HideCharacter() = 0;
};
