#include "market/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace NumberText {

namespace {

bool IsBlank(QChar c)
{
    // What isspace() accepts in the C locale.
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

double LeadingDouble(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;

    // Collect the longest prefix that forms a number, as plain ASCII for from_chars.
    std::string number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number.push_back('-');
        ++i;
    }
    qsizetype digits = 0;
    while (i < n && IsDigit(text[i])) {
        number.push_back(char(text[i].unicode()));
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        number.push_back('.');
        ++i;
        while (i < n && IsDigit(text[i])) {
            number.push_back(char(text[i].unicode()));
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        // An exponent counts only when at least one digit follows it ("2e" reads as 2).
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent.push_back(char(text[j].unicode()));
            ++j;
        }
        qsizetype exponentDigits = 0;
        while (j < n && IsDigit(text[j])) {
            // Long runs of exponent digits only make the number overflow; keep a bounded copy.
            if (exponentDigits < 8)
                exponent.push_back(char(text[j].unicode()));
            else
                exponent.back() = '9';
            ++j;
            ++exponentDigits;
        }
        if (exponentDigits > 0)
            number += exponent;
    }

    double value = 0.0;
    const char* first = number.data();
    const auto [end, error] = std::from_chars(first, first + number.size(), value, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value))
        return 0.0;
    (void)end;
    return value;
}

qint64 LeadingInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 maximum = std::numeric_limits<qint64>::max();
    constexpr qint64 minimum = std::numeric_limits<qint64>::min();
    qint64 value = 0; // accumulated as a negative number, whose range is the larger one
    bool clamped = false;
    while (i < n && IsDigit(text[i])) {
        const int digit = text[i].unicode() - u'0';
        if (!clamped) {
            if (value < (minimum + digit) / 10)
                clamped = true;
            else
                value = value * 10 - digit;
        }
        ++i;
    }
    if (clamped)
        return negative ? minimum : maximum;
    if (negative)
        return value;
    return value == minimum ? maximum : -value;
}

qint32 LeadingInt32(QStringView text)
{
    const qint64 value = LeadingInteger(text);
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(value);
}

QString Fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0.0;
    // 309 integer digits at most for a finite double, a sign, a point and the decimals.
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return QString();
    return QString::fromLatin1(buffer, end - buffer);
}

} // namespace NumberText
