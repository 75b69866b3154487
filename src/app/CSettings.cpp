#include "app/CSettings.h"

#include "app/SettingsStore.h"
#include "platform/IniSettingsBackend.h"

#include <ctime>

namespace {

constexpr qint32 Rgb(int red, int green, int blue)
{
    return red | (green << 8) | (blue << 16);
}

using S = CSettings;

#define NUMBER(section, name, member, def) {section, name, &S::member, nullptr, def, def, -1, nullptr}
#define PALETTE(section, name, member, def, paletteDef) {section, name, &S::member, nullptr, def, paletteDef, -1, nullptr}
#define TIME(section, name, member, minutes) {section, name, &S::member, nullptr, 0, 0, minutes, nullptr}
#define TEXT(section, name, member, def) {section, name, nullptr, &S::member, 0, 0, -1, def}

// Load and Save walk this table from top to bottom.
const CSettings::Entry kTable[] = {
    PALETTE(u"Ticker", u"ColorBackground", colorBackground, Rgb(219, 219, 238), Rgb(0, 0, 0)),
    PALETTE(u"Ticker", u"ColorStockName", colorStockName, Rgb(0, 0, 0), Rgb(255, 255, 255)),
    PALETTE(u"Ticker", u"ColorNoChange", colorNoChange, Rgb(0, 0, 128), Rgb(0, 255, 255)),
    PALETTE(u"Ticker", u"ColorPosChange", colorPosChange, Rgb(0, 160, 0), Rgb(0, 255, 0)),
    NUMBER(u"Ticker", u"ColorNegChange", colorNegChange, Rgb(255, 0, 0)),
    NUMBER(u"Ticker", u"Bold", bold, 1),
    NUMBER(u"Ticker", u"BoldThreshPct", boldThreshPct, 5),
    NUMBER(u"Ticker", u"AutoAdvance", autoAdvance, 1),
    NUMBER(u"Ticker", u"AdvanceInterval", advanceInterval, 30),
    NUMBER(u"Ticker", u"Show", show, 1),
    NUMBER(u"Ticker", u"HideInactive", hideInactive, 0),
    NUMBER(u"Ticker", u"Location", location, 1),

    NUMBER(u"General", u"PricesFormat", pricesFormat, 0),
    TEXT(u"General", u"DefaultCountry", defaultCountry, u"United States"),
    NUMBER(u"General", u"ColorEvenRow", colorEvenRow, Rgb(219, 219, 238)),
    NUMBER(u"General", u"ColorOddRow", colorOddRow, Rgb(197, 197, 226)),
    TIME(u"General", u"ActiveStart", activeStart, 0),
    TIME(u"General", u"ActiveStop", activeStop, 23 * 60 + 59),
    NUMBER(u"General", u"ActiveDays", activeDays, 127),

    NUMBER(u"Rules", u"CheckRules", checkRules, 1),
    NUMBER(u"Rules", u"Interval", rulesInterval, 1),
    NUMBER(u"Rules", u"ReadAnnouncments", readAnnouncments, 1),
    NUMBER(u"Rules", u"ReadOnce", readOnce, 1),

    NUMBER(u"Broadcast", u"ReadBroadcast", readBroadcast, 1),
    NUMBER(u"Broadcast", u"Interval", broadcastInterval, 30),
    NUMBER(u"Broadcast", u"SayTime", sayTime, 1),
    TEXT(u"Broadcast", u"SayBefore", sayBefore, u"Here are the latest prices."),
    TEXT(u"Broadcast", u"SayAfter", sayAfter, u"Thank you."),
    TEXT(u"Broadcast", u"GestureBefore", gestureBefore, u"Wave"),
    TEXT(u"Broadcast", u"GestureAfter", gestureAfter, u""),
    TEXT(u"Broadcast", u"Format", format, u"STOCK is CHANGE, at PRICE"),
    TEXT(u"Broadcast", u"SayNoChanges", sayNoChanges, u"Prices haven't changed."),

    NUMBER(u"Character", u"AlwaysShow", alwaysShow, 0),
    NUMBER(u"Character", u"AnimateShow", animateShow, 0),
    TEXT(u"Character", u"Character", character, u"Pennywit.acs"),
    TEXT(u"Character", u"Position", position, u"Top Right"),
    NUMBER(u"Character", u"NotificationMethod", notificationMethod, 0),
    NUMBER(u"Character", u"Speed", speed, 150),
    NUMBER(u"Character", u"Pitch", pitch, 50),

    TEXT(u"Connection", u"Type", type, u""),
    NUMBER(u"Connection", u"AutoDial", autoDial, 0),
    NUMBER(u"Connection", u"AutoHangup", autoHangup, 0),
    TEXT(u"Connection", u"ProxyServer", proxyServer, u""),
    TEXT(u"Connection", u"ProxyPort", proxyPort, u""),
};

#undef NUMBER
#undef PALETTE
#undef TIME
#undef TEXT

qint32 DefaultNumber(const CSettings::Entry& entry, bool paletteDisplay)
{
    if (entry.defaultMinutes >= 0)
        return CSettings::TimeOfDay(entry.defaultMinutes / 60, entry.defaultMinutes % 60);
    return paletteDisplay ? entry.paletteDefaultNumber : entry.defaultNumber;
}

} // namespace

CSettings::CSettings()
{
    SetDefaults(false);
}

std::span<const CSettings::Entry> CSettings::Table()
{
    return kTable;
}

qint32 CSettings::TimeOfDay(int hour, int minute)
{
    std::tm local{};
    local.tm_year = 80;
    local.tm_mon = 0;
    local.tm_mday = 1;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    return static_cast<qint32>(std::mktime(&local));
}

void CSettings::SetDefaults(bool paletteDisplay)
{
    for (const Entry& entry : kTable) {
        if (entry.number)
            this->*entry.number = DefaultNumber(entry, paletteDisplay);
        else
            this->*entry.text = QString::fromUtf16(entry.defaultText);
    }
}

bool CSettings::Load(bool paletteDisplay)
{
    const IniSettingsBackend store(ProgramSettingsFile());
    for (const Entry& entry : kTable) {
        const QString section = QString::fromUtf16(entry.section);
        const QString name = QString::fromUtf16(entry.name);
        if (entry.number)
            this->*entry.number = store.ReadNumber(section, name).value_or(DefaultNumber(entry, paletteDisplay));
        else
            this->*entry.text = store.ReadText(section, name).value_or(QString::fromUtf16(entry.defaultText));
    }
    loaded = true;
    return true;
}

bool CSettings::Save() const
{
    IniSettingsBackend store(ProgramSettingsFile());
    for (const Entry& entry : kTable) {
        const QString section = QString::fromUtf16(entry.section);
        const QString name = QString::fromUtf16(entry.name);
        if (entry.number)
            store.WriteNumber(section, name, this->*entry.number);
        else
            store.WriteText(section, name, this->*entry.text);
    }
    store.Sync(); // a failed write is ignored: the values in memory stay in force
    return true;
}

CSettings& GetSettings()
{
    static CSettings settings;
    return settings;
}
