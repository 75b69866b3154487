#pragma once

#include <QString>
#include <QStringView>

// Conversions between numbers and the decimal texts that quotes and data files hold. They read the
// leading numeric part of a text the way C's atof / strtol do, but never depend on the C locale (a
// German desktop must not turn "23.5" into 23) and never hand outside text to a printf format.
namespace NumberText {

// The value of the longest leading decimal number: optional white space, an optional sign, digits
// with at most one point, an optional exponent ("1.5e3"). 0 when the text does not start with a
// number. Never infinite or NaN: a number too large for a double gives 0.
double LeadingDouble(QStringView text);

// The integer at the start of the text: optional white space, an optional sign, decimal digits.
// 0 when there are no digits; a value outside the range of qint64 is clamped to it.
qint64 LeadingInteger(QStringView text);

// Like LeadingInteger, but 0 when the value does not fit in a 32-bit int.
qint32 LeadingInt32(QStringView text);

// The value written like printf's "%.<decimals>f" in the C locale ("-0.250000" for -0.25 with 6),
// correctly rounded, with "-" kept on a negative zero. A value that is not finite gives "0" with the
// decimals.
QString Fixed(double value, int decimals);

} // namespace NumberText
