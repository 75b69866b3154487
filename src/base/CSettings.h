#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <span>

// The options that the Options sheet edits, held in memory for the whole run. Loaded once when the
// main window is created and saved whole after every change made through the user interface. Every
// other part reads them through GetSettings().
//
// Numbers are 32-bit integers: flags (0 off, 1 on), colours (0x00BBGGRR, red in the low byte), times
// of day (a time_t of which only the local hour and minute count) and weekday sets (bit n = weekday
// n, Sunday = 0).
//
// Each value has its valid range (or list of texts) beside its default in the table, and Load
// applies it, so every reader sees a valid value: a flag stored as 5 reads as 1, an "Interval" of 0
// as 1, a "Position" not in the list as the default. After a save that changed something,
// SettingsChanges announces which sections changed.
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

    // Reads every value of the six sections in table order, each falling back to its default and
    // brought into its range (Validate); sets the loaded flag. Always true.
    bool Load(bool paletteDisplay = false);

    // Writes every value of the six sections in table order. Failed writes are ignored. When the
    // values differ from the ones last loaded or saved, SettingsChanges::Changed names the sections
    // that changed (every section after a save of a record that was never loaded).
    bool Save() const;

    // Brings every value into its range: what Load does to the values it reads. For values set in
    // memory, as the Options sheet does before it saves.
    void Validate(bool paletteDisplay = false);

    // The time_t of 1 January 1980 at the given local time: the form in which times of day are stored.
    static qint32 TimeOfDay(int hour, int minute);

    // How a value read from the store is brought into its range.
    enum class Check : quint8
    {
        Any,       // every value is valid (times of day, free texts)
        Flag,      // 0 stays 0, anything else becomes 1
        Clamp,     // a number outside minimum..maximum becomes the nearer end
        OrDefault, // a number outside minimum..maximum, or a text not among the choices, is the default
    };

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
        Check check;
        qint32 minimum; // the range of a number (Clamp, OrDefault)
        qint32 maximum;
        std::span<const char16_t* const> choices; // the valid texts of a text (OrDefault), exact match

        // The entry's default on a true-colour or a 256-colour display.
        qint32 DefaultNumber(bool paletteDisplay = false) const;
        QString DefaultText() const { return QString::fromUtf16(defaultText); }
        // The value brought into the entry's range.
        qint32 Valid(qint32 value, bool paletteDisplay = false) const;
        QString Valid(const QString& value) const;
    };
    static std::span<const Entry> Table();
    // The entry of a member (the options pages take a value's range and choices from it).
    static const Entry& EntryOf(qint32 CSettings::*member);
    static const Entry& EntryOf(QString CSettings::*member);

private:
    // The values as last loaded or saved, one per table entry (empty before either): what Save
    // compares with to tell which sections changed.
    mutable QList<QVariant> m_stored;
    QList<QVariant> Values() const;
};

// The process-wide settings record.
CSettings& GetSettings();
