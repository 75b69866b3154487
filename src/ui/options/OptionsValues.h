#pragma once

#include "base/CSettings.h"

#include <QString>

#include <optional>

// What the Options sheet edits: a working copy of the settings, plus the few values that its pages
// show in another form than the one stored. The sheet's pages read and write only this record; the
// settings themselves change only when the sheet is confirmed (ToSettings), so Cancel changes
// nothing.
struct OptionsValues
{
    CSettings settings;

    bool weekdaysOnly = false;     // "Active only during Weekdays (Mon - Fri)": "ActiveDays" is 62
    bool startWithSession = false; // "Start when I log in": the autostart entry exists
    QString broadcastInterval;     // the broadcast "Interval" as decimal text
    int connection = 0;            // 0 dial-up, 1 LAN ("Type" is exactly "LAN")
    bool paletteDisplay = false;   // the display shows 256 colours or fewer

    // The values on their way into the sheet.
    static OptionsValues FromSettings(const CSettings& settings, bool startWithSession, bool paletteDisplay);
    // The values on their way back: every setting of the table takes the working copy's value, then
    // "ActiveDays" becomes 62 or 127, "Type" "LAN" or "Dialup", and the interval text its number
    // (text that is not a number keeps the stored interval). The start-with-session state is the
    // caller's to apply.
    void ToSettings(CSettings& target) const;
};

// What the Options command remembers before the sheet opens, to tell afterwards what needs doing.
struct OptionsSnapshot
{
    QString character; // lower case
    qint32 pricesFormat = 0;
    qint32 colorEvenRow = 0;
    qint32 colorOddRow = 0;

    static OptionsSnapshot Of(const CSettings& settings);

    // Another character file, its name compared without regard to case.
    bool CharacterChanged(const CSettings& now) const;
    bool PriceFormatChanged(const CSettings& now) const;
    // The price format or a row colour: the stock list is drawn again.
    bool StockListLookChanged(const CSettings& now) const;
};

// Times of day in the active-hours edits ("##:## +M"): the five input characters, hours, minutes and
// the letter A or P. 0:05 is "1205A", 13:30 "0130P".
QString TimeInputText(qint32 timeOfDay);
// The time of day (CSettings::TimeOfDay) of five input characters, or nothing when they are no valid
// time: the hour (leading blanks skipped, read up to the first non-digit) from 1 to 12, the minutes
// below 60, and a letter. "P" adds 12 to an hour below 12; otherwise 12 becomes 0.
std::optional<qint32> ParseTimeInput(const QString& input);
