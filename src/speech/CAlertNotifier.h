#pragma once

#include "rules/IAnnouncer.h"

class DesktopNotifications;

// The rule check's announcer as the program uses it: the character performs the announcement, and
// when it will not be heard — the character is silent ("Character Is Silent") or the quiet switch is
// on without force — the alert also goes to the desktop as a notification, so that it is never missed.
// The notification names the rule and tells the stock's price and the time of its quote.
class CAlertNotifier final : public IAnnouncer
{
public:
    CAlertNotifier(IAnnouncer& character, DesktopNotifications& notifications);

    void PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force) override;

private:
    IAnnouncer& m_character;
    DesktopNotifications& m_notifications;
};
