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

using Number = qint32 CSettings::*;
using Text = QString CSettings::*;

constexpr CSettings::Entry N(const char16_t* section, const char16_t* name, Number member, qint32 def)
{
    return {section, name, member, nullptr, def, def, -1, nullptr};
}

// A strip colour whose default differs on a 256-colour display.
constexpr CSettings::Entry P(const char16_t* section, const char16_t* name, Number member, qint32 def,
                             qint32 paletteDef)
{
    return {section, name, member, nullptr, def, paletteDef, -1, nullptr};
}

// A time of day, given in minutes after midnight.
constexpr CSettings::Entry Time(const char16_t* section, const char16_t* name, Number member, int minutes)
{
    return {section, name, member, nullptr, 0, 0, minutes, nullptr};
}

constexpr CSettings::Entry T(const char16_t* section, const char16_t* name, Text member, const char16_t* def)
{
    return {section, name, nullptr, member, 0, 0, -1, def};
}

// Load and Save walk this table from top to bottom.
const CSettings::Entry kTable[] = {
    P(u"Ticker", u"ColorBackground", &S::colorBackground, Rgb(219, 219, 238), Rgb(0, 0, 0)),
    P(u"Ticker", u"ColorStockName", &S::colorStockName, Rgb(0, 0, 0), Rgb(255, 255, 255)),
    P(u"Ticker", u"ColorNoChange", &S::colorNoChange, Rgb(0, 0, 128), Rgb(0, 255, 255)),
    P(u"Ticker", u"ColorPosChange", &S::colorPosChange, Rgb(0, 160, 0), Rgb(0, 255, 0)),
    N(u"Ticker", u"ColorNegChange", &S::colorNegChange, Rgb(255, 0, 0)),
    N(u"Ticker", u"Bold", &S::bold, 1),
    N(u"Ticker", u"BoldThreshPct", &S::boldThreshPct, 5),
    N(u"Ticker", u"AutoAdvance", &S::autoAdvance, 1),
    N(u"Ticker", u"AdvanceInterval", &S::advanceInterval, 30),
    N(u"Ticker", u"Show", &S::show, 1),
    N(u"Ticker", u"HideInactive", &S::hideInactive, 0),
    N(u"Ticker", u"Location", &S::location, 1),

    N(u"General", u"PricesFormat", &S::pricesFormat, 0),
    T(u"General", u"DefaultCountry", &S::defaultCountry, u"United States"),
    N(u"General", u"ColorEvenRow", &S::colorEvenRow, Rgb(219, 219, 238)),
    N(u"General", u"ColorOddRow", &S::colorOddRow, Rgb(197, 197, 226)),
    Time(u"General", u"ActiveStart", &S::activeStart, 0),
    Time(u"General", u"ActiveStop", &S::activeStop, 23 * 60 + 59),
    N(u"General", u"ActiveDays", &S::activeDays, 127),

    N(u"Rules", u"CheckRules", &S::checkRules, 1),
    N(u"Rules", u"Interval", &S::rulesInterval, 1),
    N(u"Rules", u"ReadAnnouncments", &S::readAnnouncments, 1),
    N(u"Rules", u"ReadOnce", &S::readOnce, 1),

    N(u"Broadcast", u"ReadBroadcast", &S::readBroadcast, 1),
    N(u"Broadcast", u"Interval", &S::broadcastInterval, 30),
    N(u"Broadcast", u"SayTime", &S::sayTime, 1),
    T(u"Broadcast", u"SayBefore", &S::sayBefore, u"Here are the latest prices."),
    T(u"Broadcast", u"SayAfter", &S::sayAfter, u"Thank you."),
    T(u"Broadcast", u"GestureBefore", &S::gestureBefore, u"Wave"),
    T(u"Broadcast", u"GestureAfter", &S::gestureAfter, u""),
    T(u"Broadcast", u"Format", &S::format, u"STOCK is CHANGE, at PRICE"),
    T(u"Broadcast", u"SayNoChanges", &S::sayNoChanges, u"Prices haven't changed."),

    N(u"Character", u"AlwaysShow", &S::alwaysShow, 0),
    N(u"Character", u"AnimateShow", &S::animateShow, 0),
    T(u"Character", u"Character", &S::character, u"Pennywit.acs"),
    T(u"Character", u"Position", &S::position, u"Top Right"),
    N(u"Character", u"NotificationMethod", &S::notificationMethod, 0),
    N(u"Character", u"Speed", &S::speed, 150),
    N(u"Character", u"Pitch", &S::pitch, 50),

    T(u"Connection", u"Type", &S::type, u""),
    N(u"Connection", u"AutoDial", &S::autoDial, 0),
    N(u"Connection", u"AutoHangup", &S::autoHangup, 0),
    T(u"Connection", u"ProxyServer", &S::proxyServer, u""),
    T(u"Connection", u"ProxyPort", &S::proxyPort, u""),
};

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
