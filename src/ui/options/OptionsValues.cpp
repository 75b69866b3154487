#include "ui/options/OptionsValues.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 kWeekdays = 62; // Monday to Friday
constexpr qint32 kEveryDay = 127;

// Leading blanks skipped, then the digits up to the first non-digit; 0 without digits.
int LeadingNumber(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    int value = 0;
    for (; at < text.size() && text[at].isDigit() && text[at].unicode() < 128; ++at)
        value = value * 10 + (text[at].unicode() - u'0');
    return value;
}

} // namespace

OptionsValues OptionsValues::FromSettings(const CSettings& settings, bool startWithSession, bool paletteDisplay)
{
    OptionsValues values;
    values.settings = settings;
    values.weekdaysOnly = settings.activeDays == kWeekdays;
    values.startWithSession = startWithSession;
    values.broadcastInterval = QString::number(settings.broadcastInterval);
    values.connection = settings.type == u"LAN"_s ? 1 : 0;
    values.paletteDisplay = paletteDisplay;
    return values;
}

void OptionsValues::ToSettings(CSettings& target) const
{
    for (const CSettings::Entry& entry : CSettings::Table()) {
        if (entry.number)
            target.*entry.number = settings.*entry.number;
        else
            target.*entry.text = settings.*entry.text;
    }
    target.activeDays = weekdaysOnly ? kWeekdays : kEveryDay;
    bool isNumber = false;
    const int interval = broadcastInterval.toInt(&isNumber);
    if (isNumber)
        target.broadcastInterval = interval;
    target.type = connection == 1 ? u"LAN"_s : u"Dialup"_s;
}

OptionsSnapshot OptionsSnapshot::Of(const CSettings& settings)
{
    return {settings.character.toLower(), settings.pricesFormat, settings.colorEvenRow, settings.colorOddRow};
}

bool OptionsSnapshot::CharacterChanged(const CSettings& now) const
{
    return now.character.compare(character, Qt::CaseInsensitive) != 0;
}

bool OptionsSnapshot::PriceFormatChanged(const CSettings& now) const
{
    return now.pricesFormat != pricesFormat;
}

bool OptionsSnapshot::StockListLookChanged(const CSettings& now) const
{
    return PriceFormatChanged(now) || now.colorEvenRow != colorEvenRow || now.colorOddRow != colorOddRow;
}

QString TimeInputText(qint32 timeOfDay)
{
    const QTime time = QDateTime::fromSecsSinceEpoch(timeOfDay).time();
    int hour = time.hour();
    const QChar letter = hour < 12 ? u'A' : u'P';
    if (hour == 0)
        hour = 12;
    else if (hour > 12)
        hour -= 12;
    return u"%1%2"_s.arg(hour, 2, 10, QChar(u'0')).arg(time.minute(), 2, 10, QChar(u'0')) + letter;
}

std::optional<qint32> ParseTimeInput(const QString& input)
{
    const QStringView text(input);
    const QStringView hourText = text.mid(0, 2);
    const QStringView minuteText = text.mid(2, 2);
    const QChar letter = text.size() > 4 ? text[4] : QChar(u' ');
    if (hourText.size() != 2 || minuteText.size() != 2 || letter == u' ')
        return std::nullopt;
    int hour = LeadingNumber(hourText);
    const int minute = LeadingNumber(minuteText);
    if (hour < 1 || hour > 12 || minute >= 60)
        return std::nullopt;
    if (letter.toUpper() == u'P') {
        if (hour < 12)
            hour += 12;
    } else if (hour == 12) {
        hour = 0;
    }
    return CSettings::TimeOfDay(hour, minute);
}
