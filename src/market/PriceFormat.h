#pragma once

#include <QString>

class Stock;

// Price wording for display and speech. Raw values are normalized decimal texts ("23.5", "-0.25").
// Spoken forms use the character's map tag \Map="spoken"="shown"\ so that the character says words
// while its balloon shows figures. Locale formatting follows QLocale() (the user's locale; tests pin
// one with QLocale::setDefault).
namespace PriceFormat {

// Format types and unit kinds used by Stock::FormatPrice / FormatChange.
enum Type
{
    Raw = 0,
    DisplayFractions = 1,
    DisplayDecimals = 2,
    SpeechFractions = 3,
    SpeechDecimals = 4,
};
enum Unit
{
    NoUnit = 0,
    DisplayUnit = 1,
    SpeechUnit = 2,
};

// The first character of the user's thousands separator.
QChar ThousandsSeparator();

// The five rewriting steps.
QString GroupThousands(const QString& text);
QString LocaleNumber(const QString& text);
QString FractionDisplay(const QString& text);
QString FractionSpeech(const QString& text);
QString DecimalSpeech(const QString& text);

// One entry of the table of 64ths (k = 0 ... 63).
struct Fraction
{
    QString decimal;  // "%g" of k/64, "0." for k = 0
    QString fraction; // reduced "n/d", empty for k = 0
    QString speech;   // the rest of a map tag: and a half"="1/2"\ ... ; empty for k = 0
};
const Fraction& FractionEntry(int k);

// A locale time format without its seconds (and fractions of a second) and the separator before
// them: "h:mm:ss AP" gives "h:mm AP". Quoted literal text is kept.
QString TimeFormatWithoutSeconds(const QString& format);

// A QLocale date format with the year in four digits: a two-digit year field ("yy", outside quoted
// text) becomes "yyyy" ("M/d/yy" -> "M/d/yyyy", "dd.MM.yy" -> "dd.MM.yyyy"); the rest is kept.
QString DateFormatWithFullYear(const QString& format);

// Expands STOCK, PRICE and CHANGE (exact, case-sensitive, also inside other words) for the stock;
// without a stock they become "Preview Stock", "Preview Price" and "Preview Change".
QString ExpandMacros(const QString& text, const Stock* stock);

} // namespace PriceFormat
