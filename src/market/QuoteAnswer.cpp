#include "market/QuoteAnswer.h"

#include <QStringList>

#include <climits>
#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The decimal integer at the start of the text: leading white space, an optional sign, digits;
// 0 when there are none. Saturates at +-1e9, far from overflow (and from any valid date or time).
int LeadingInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 limit = 1000000000;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = qMin(limit, value * 10 + (text[i].unicode() - u'0'));
    return int(negative ? -value : value);
}

} // namespace

QuoteAnswer::QuoteAnswer(const QString& text)
{
    line = text;
    QuoteAnswer::Parse();
}

bool QuoteAnswer::Parse()
{
    ResetCursor();
    price = ReadField();
    change = ReadField();
    volume = ReadField();
    date = ReadField();
    time = ReadField();
    ComputeQuoteTime();
    timeZone.clear();
    return true;
}

bool QuoteAnswer::Format()
{
    return true;
}

void QuoteAnswer::ComputeQuoteTime()
{
    quoteTime = QuoteTimeOf(date, time);
}

qint32 QuoteAnswer::QuoteTimeOf(const QString& date, const QString& time)
{
    const QStringList parts = date.split(u'/');
    if (parts.size() < 3)
        return 0;
    const int month = LeadingInteger(parts.at(0));
    const int day = LeadingInteger(parts.at(1));
    const int year = LeadingInteger(parts.at(2));

    int hour = 0;
    int minute = 0;
    QChar separator;
    for (const QChar candidate : {u':', u'h', u'.'}) {
        if (time.contains(candidate)) {
            separator = candidate;
            break;
        }
    }
    if (!separator.isNull()) {
        const qsizetype at = time.indexOf(separator);
        hour = LeadingInteger(QStringView(time).left(at));
        const QStringView rest = QStringView(time).mid(at + 1);
        minute = LeadingInteger(rest);
        // A 12-hour time carries am or pm after the minutes: the first letter after the separator
        // decides (4:05pm, 12:30 AM, 4:05:30 PM). Without one the time is on the 24-hour clock.
        for (const QChar c : rest) {
            if (!c.isLetter())
                continue;
            const QChar letter = c.toLower();
            if (letter == u'a' || letter == u'p') {
                hour %= 12;
                if (letter == u'p')
                    hour += 12;
            }
            break;
        }
    }

    // Far outside the 32-bit range whatever the other fields say: no time.
    if (year < 1800 || year > 2200 || qAbs(month) > 100000 || qAbs(day) > 100000 || qAbs(hour) > 100000 ||
        qAbs(minute) > 100000)
        return -1;
    std::tm moment{};
    moment.tm_year = year - 1900;
    moment.tm_mon = month - 1;
    moment.tm_mday = day;
    moment.tm_hour = hour;
    moment.tm_min = minute;
    moment.tm_sec = 0;
    moment.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&moment);
    if (seconds < 0 || seconds > std::numeric_limits<qint32>::max())
        return -1;
    return qint32(seconds);
}
