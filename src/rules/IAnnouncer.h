#pragma once

class CAnnouncement;
class CRule;

// Who performs a rule's announcement: the character manager. It plays a copy of the announcement
// with the macros expanded for the rule's stock; it says nothing for a missing announcement, or while
// the quiet switch is on unless force is set.
class IAnnouncer
{
public:
    virtual ~IAnnouncer() = default;

    virtual void PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force) = 0;
};
