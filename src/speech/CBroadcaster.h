#pragma once

#include "speech/IBroadcaster.h"

#include <QString>

class CCharacterManager;
class QDateTime;
class Stock;

// The character's spoken price report, composed like a short news bulletin: an opening gesture,
// optionally the time, an opening sentence, one sentence per enabled stock in the Stocks page's
// order, and a closing sentence with a closing gesture. Its texts are the "Broadcast" options; every
// sentence goes through the character manager's Say, so the quiet switch, the notification method,
// speed and pitch apply.
//
// A stock's reportedPrice is the price it had at the last broadcast that found a change; a broadcast
// with changes brings every stock's reportedPrice up to date, whether the stock was said or not.
//
// The engine's schedule reaches it as its IBroadcaster.
//
// UI thread only.
class CBroadcaster final : public IBroadcaster
{
public:
    explicit CBroadcaster(CCharacterManager& characters);
    CBroadcaster(const CBroadcaster&) = delete;
    CBroadcaster& operator=(const CBroadcaster&) = delete;

    // Whether any stock of the list, enabled or not, has a price other than the one last reported.
    bool HasPriceChanged() override;
    // Whether the stock's price differs from its reported price (exact text comparison).
    static bool HasPriceChanged(const Stock& stock);

    // Reads the report for the moment time. changed tells whether any price moved since the last
    // broadcast; force (a user command) ignores the quiet switch and, without changes, says the
    // "SayNoChanges" text. Without changes and without force only the time is said, when "SayTime"
    // is on; else nothing at all.
    void Broadcast(const QDateTime& time, bool changed, bool force) override;
    // Says the "Format" sentence for one stock.
    void SayStock(const Stock& stock, bool force);
    // Hides the character after the scheduled work (unless "AlwaysShow" is on).
    void HideCharacter() override;

    // The time of day as the balloon shows it: the user's short time format without seconds.
    static QString DisplayTime(const QDateTime& time);
    // How the time is pronounced: a leading zero dropped, then the separator after the hour
    // replaced by ":" (09:05 AM is said 9:05 AM, 21.05 is said 21:05).
    static QString SpokenTime(const QString& display);

private:
    CCharacterManager& m_characters;
};
