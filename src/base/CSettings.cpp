#include "base/CSettings.h"

#include "base/SettingsChanges.h"
#include "base/SettingsStore.h"
#include "platform/IniSettingsBackend.h"

#include <ctime>

namespace {

constexpr qint32 Rgb(int red, int green, int blue)
{
    return red | (green << 8) | (blue << 16);
}

using S = CSettings;
using Check = CSettings::Check;

using Number = qint32 CSettings::*;
using Text = QString CSettings::*;

constexpr qint32 kWhite = 0xFFFFFF;

// A number kept within minimum..maximum: outside it, the nearer end.
constexpr CSettings::Entry N(const char16_t* section, const char16_t* name, Number member, qint32 def, qint32 minimum,
                             qint32 maximum)
{
    return {section, name, member, nullptr, def, def, -1, nullptr, Check::Clamp, minimum, maximum, {}};
}

// One of the numbers minimum..maximum, each with its own meaning: outside them, the default.
constexpr CSettings::Entry E(const char16_t* section, const char16_t* name, Number member, qint32 def, qint32 minimum,
                             qint32 maximum)
{
    return {section, name, member, nullptr, def, def, -1, nullptr, Check::OrDefault, minimum, maximum, {}};
}

// A flag: 0 off, anything else on (1).
constexpr CSettings::Entry F(const char16_t* section, const char16_t* name, Number member, qint32 def)
{
    return {section, name, member, nullptr, def, def, -1, nullptr, Check::Flag, 0, 1, {}};
}

// A colour; a strip colour's default differs on a 256-colour display.
constexpr CSettings::Entry C(const char16_t* section, const char16_t* name, Number member, qint32 def,
                             qint32 paletteDef)
{
    return {section, name, member, nullptr, def, paletteDef, -1, nullptr, Check::OrDefault, 0, kWhite, {}};
}

constexpr CSettings::Entry C(const char16_t* section, const char16_t* name, Number member, qint32 def)
{
    return C(section, name, member, def, def);
}

// A time of day, given in minutes after midnight.
constexpr CSettings::Entry Time(const char16_t* section, const char16_t* name, Number member, int minutes)
{
    return {section, name, member, nullptr, 0, 0, minutes, nullptr, Check::Any, 0, 0, {}};
}

constexpr CSettings::Entry T(const char16_t* section, const char16_t* name, Text member, const char16_t* def)
{
    return {section, name, nullptr, member, 0, 0, -1, def, Check::Any, 0, 0, {}};
}

// One of the given texts, else the default.
constexpr CSettings::Entry Choice(const char16_t* section, const char16_t* name, Text member, const char16_t* def,
                                  std::span<const char16_t* const> choices)
{
    return {section, name, nullptr, member, 0, 0, -1, def, Check::OrDefault, 0, 0, choices};
}

constexpr const char16_t* kPositions[] = {u"Center",        u"Top Center",  u"Top Left",     u"Top Right",
                                          u"Bottom Center", u"Bottom Left", u"Bottom Right", u"Stay In Place"};

// Load and Save walk this table from top to bottom.
const CSettings::Entry kTable[] = {
    C(u"Ticker", u"ColorBackground", &S::colorBackground, Rgb(219, 219, 238), Rgb(0, 0, 0)),
    C(u"Ticker", u"ColorStockName", &S::colorStockName, Rgb(0, 0, 0), Rgb(255, 255, 255)),
    C(u"Ticker", u"ColorNoChange", &S::colorNoChange, Rgb(0, 0, 128), Rgb(0, 255, 255)),
    C(u"Ticker", u"ColorPosChange", &S::colorPosChange, Rgb(0, 160, 0), Rgb(0, 255, 0)),
    C(u"Ticker", u"ColorNegChange", &S::colorNegChange, Rgb(255, 0, 0)),
    F(u"Ticker", u"Bold", &S::bold, 1),
    N(u"Ticker", u"BoldThreshPct", &S::boldThreshPct, 5, 0, 100),
    F(u"Ticker", u"AutoAdvance", &S::autoAdvance, 1),
    N(u"Ticker", u"AdvanceInterval", &S::advanceInterval, 30, 1, 1000),
    F(u"Ticker", u"Show", &S::show, 1),
    F(u"Ticker", u"HideInactive", &S::hideInactive, 0),
    F(u"Ticker", u"Location", &S::location, 1), // 0 top, 1 bottom

    F(u"General", u"PricesFormat", &S::pricesFormat, 0), // 0 decimals, 1 fractions
    T(u"General", u"DefaultCountry", &S::defaultCountry, u"United States"),
    C(u"General", u"ColorEvenRow", &S::colorEvenRow, Rgb(219, 219, 238)),
    C(u"General", u"ColorOddRow", &S::colorOddRow, Rgb(197, 197, 226)),
    Time(u"General", u"ActiveStart", &S::activeStart, 0),
    Time(u"General", u"ActiveStop", &S::activeStop, 23 * 60 + 59),
    E(u"General", u"ActiveDays", &S::activeDays, 127, 0, 127),

    F(u"Rules", u"CheckRules", &S::checkRules, 1),
    N(u"Rules", u"Interval", &S::rulesInterval, 1, 1, 9999),
    F(u"Rules", u"ReadAnnouncments", &S::readAnnouncments, 1),
    F(u"Rules", u"ReadOnce", &S::readOnce, 1),

    F(u"Broadcast", u"ReadBroadcast", &S::readBroadcast, 1),
    N(u"Broadcast", u"Interval", &S::broadcastInterval, 30, 1, 24 * 60),
    F(u"Broadcast", u"SayTime", &S::sayTime, 1),
    T(u"Broadcast", u"SayBefore", &S::sayBefore, u"Here are the latest prices."),
    T(u"Broadcast", u"SayAfter", &S::sayAfter, u"Thank you."),
    T(u"Broadcast", u"GestureBefore", &S::gestureBefore, u"Wave"),
    T(u"Broadcast", u"GestureAfter", &S::gestureAfter, u""),
    T(u"Broadcast", u"Format", &S::format, u"STOCK is CHANGE, at PRICE"),
    T(u"Broadcast", u"SayNoChanges", &S::sayNoChanges, u"Prices haven't changed."),

    F(u"Character", u"AlwaysShow", &S::alwaysShow, 0),
    F(u"Character", u"AnimateShow", &S::animateShow, 0),
    T(u"Character", u"Character", &S::character, u"Pennywit.acs"),
    Choice(u"Character", u"Position", &S::position, u"Top Right", kPositions),
    E(u"Character", u"NotificationMethod", &S::notificationMethod, 0, 0, 3),
    N(u"Character", u"Speed", &S::speed, 150, 50, 250),
    N(u"Character", u"Pitch", &S::pitch, 50, 50, 400),

    T(u"Connection", u"Type", &S::type, u""), // "LAN" exactly, else dial-up; empty: never set up
    F(u"Connection", u"AutoDial", &S::autoDial, 0),
    F(u"Connection", u"AutoHangup", &S::autoHangup, 0),
    T(u"Connection", u"ProxyServer", &S::proxyServer, u""),
    T(u"Connection", u"ProxyPort", &S::proxyPort, u""),
};

} // namespace

qint32 CSettings::Entry::DefaultNumber(bool paletteDisplay) const
{
    if (defaultMinutes >= 0)
        return CSettings::TimeOfDay(defaultMinutes / 60, defaultMinutes % 60);
    return paletteDisplay ? paletteDefaultNumber : defaultNumber;
}

qint32 CSettings::Entry::Valid(qint32 value, bool paletteDisplay) const
{
    switch (check) {
    case Check::Any:
        return value;
    case Check::Flag:
        return value != 0 ? 1 : 0;
    case Check::Clamp:
        return qBound(minimum, value, maximum);
    case Check::OrDefault:
        return value >= minimum && value <= maximum ? value : DefaultNumber(paletteDisplay);
    }
    return value;
}

QString CSettings::Entry::Valid(const QString& value) const
{
    if (check != Check::OrDefault)
        return value;
    for (const char16_t* choice : choices) {
        if (value == QStringView(choice))
            return value;
    }
    return DefaultText();
}

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

const CSettings::Entry& CSettings::EntryOf(qint32 CSettings::*member)
{
    for (const Entry& entry : kTable) {
        if (entry.number == member)
            return entry;
    }
    Q_ASSERT_X(false, "CSettings::EntryOf", "a number without its row in the table");
    return kTable[0];
}

const CSettings::Entry& CSettings::EntryOf(QString CSettings::*member)
{
    for (const Entry& entry : kTable) {
        if (entry.text == member)
            return entry;
    }
    Q_ASSERT_X(false, "CSettings::EntryOf", "a text without its row in the table");
    return kTable[0];
}

void CSettings::SetDefaults(bool paletteDisplay)
{
    for (const Entry& entry : kTable) {
        if (entry.number)
            this->*entry.number = entry.DefaultNumber(paletteDisplay);
        else
            this->*entry.text = entry.DefaultText();
    }
}

void CSettings::Validate(bool paletteDisplay)
{
    for (const Entry& entry : kTable) {
        if (entry.number)
            this->*entry.number = entry.Valid(this->*entry.number, paletteDisplay);
        else
            this->*entry.text = entry.Valid(this->*entry.text);
    }
}

QList<QVariant> CSettings::Values() const
{
    QList<QVariant> values;
    values.reserve(std::size(kTable));
    for (const Entry& entry : kTable)
        values.append(entry.number ? QVariant(this->*entry.number) : QVariant(this->*entry.text));
    return values;
}

bool CSettings::Load(bool paletteDisplay)
{
    const IniSettingsBackend store(ProgramSettingsFile());
    for (const Entry& entry : kTable) {
        const QString section = QString::fromUtf16(entry.section);
        const QString name = QString::fromUtf16(entry.name);
        if (entry.number)
            this->*entry.number = store.ReadNumber(section, name).value_or(entry.DefaultNumber(paletteDisplay));
        else
            this->*entry.text = store.ReadText(section, name).value_or(entry.DefaultText());
    }
    Validate(paletteDisplay);
    m_stored = Values();
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

    const QList<QVariant> values = Values();
    SettingsChanges::Sections changed;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (m_stored.size() != values.size() || m_stored[i] != values[i])
            changed |= SettingsChanges::SectionNamed(QStringView(kTable[i].section));
    }
    m_stored = values;
    if (changed)
        emit SettingsChanges::Instance().Changed(changed);
    return true;
}

CSettings& GetSettings()
{
    static CSettings settings;
    return settings;
}
