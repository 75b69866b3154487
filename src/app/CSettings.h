#pragma once

#include <QString>

#include <span>

// The options that the Options sheet edits, held in memory for the whole run. Loaded once when the
// main window is created and saved whole after every change made through the user interface. Every
// other part reads them through GetSettings().
//
// Numbers are 32-bit integers: flags (0 off, anything else on), colours (0x00BBGGRR, red in the low
// byte), times of day (a time_t of which only the local hour and minute count) and weekday sets (bit n
// = weekday n, Sunday = 0).
class CSettings
{
public:
    // "Ticker": the Stock Strip.
    qint32 colorBackground = 0;
    qint32 colorStockName = 0;
    qint32 colorNoChange = 0;
    qint32 colorPosChange = 0;
    qint32 colorNegChange = 0;
    qint32 bold = 0;
    qint32 boldThreshPct = 0;
    qint32 autoAdvance = 0;
    qint32 advanceInterval = 0;
    qint32 show = 0;
    qint32 hideInactive = 0;
    qint32 location = 0;

    // "General"
    qint32 pricesFormat = 0; // 0 decimals, anything else fractions
    QString defaultCountry;
    qint32 colorEvenRow = 0;
    qint32 colorOddRow = 0;
    qint32 activeStart = 0;
    qint32 activeStop = 0;
    qint32 activeDays = 0;

    // "Rules"
    qint32 checkRules = 0;
    qint32 rulesInterval = 0; // minutes
    qint32 readAnnouncments = 0;
    qint32 readOnce = 0;

    // "Broadcast"
    qint32 readBroadcast = 0;
    qint32 broadcastInterval = 0; // minutes
    qint32 sayTime = 0;
    QString sayBefore;
    QString sayAfter;
    QString gestureBefore;
    QString gestureAfter;
    QString format;
    QString sayNoChanges;

    // "Character"
    qint32 alwaysShow = 0;
    qint32 animateShow = 0;
    QString character;
    QString position;
    qint32 notificationMethod = 0;
    qint32 speed = 0;
    qint32 pitch = 0;

    // "Connection"
    QString type; // "LAN", "Dialup", or empty when the program was never set up
    qint32 autoDial = 0;
    qint32 autoHangup = 0;
    QString proxyServer;
    QString proxyPort;

    bool loaded = false;

    // A record holding every default (the four palette-dependent strip colours for a true-colour display).
    CSettings();

    // Every value takes its default; paletteDisplay selects the strip colours of a 256-colour display.
    void SetDefaults(bool paletteDisplay);

    // Reads every value of the six sections in table order, each falling back to its default; sets
    // the loaded flag. Always true.
    bool Load(bool paletteDisplay = false);

    // Writes every value of the six sections in table order. Failed writes are ignored.
    bool Save() const;

    // The time_t of 1 January 1980 at the given local time: the form in which times of day are stored.
    static qint32 TimeOfDay(int hour, int minute);

    // One row of the table that Load and Save walk.
    struct Entry
    {
        const char16_t* section;
        const char16_t* name;
        qint32 CSettings::*number;   // set for a number value
        QString CSettings::*text;    // set for a text value
        qint32 defaultNumber;        // true-colour default of a number
        qint32 paletteDefaultNumber; // default on a 256-colour display (equal to defaultNumber elsewhere)
        int defaultMinutes;          // >= 0: a time of day, default TimeOfDay(minutes / 60, minutes % 60)
        const char16_t* defaultText;
    };
    static std::span<const Entry> Table();
};

// The process-wide settings record.
CSettings& GetSettings();
