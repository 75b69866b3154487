#include "market/PriceFormat.h"

#include "base/CSettings.h"
#include "market/Stock.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace PriceFormat {

namespace {

// A plain decimal text split into its parts: an optional "-", the digits before the point and the
// digits after it. This is what the system number formatter accepts.
struct DecimalText
{
    bool negative = false;
    QString integerDigits;  // leading zeros removed, at least "0"
    QString fractionDigits; // as written
};

std::optional<DecimalText> ParseDecimalText(const QString& text)
{
    DecimalText number;
    qsizetype i = 0;
    if (i < text.size() && text[i] == u'-') {
        number.negative = true;
        ++i;
    }
    QString integerDigits;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        integerDigits += text[i++];
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            number.fractionDigits += text[i++];
    }
    if (i != text.size() || (integerDigits.isEmpty() && number.fractionDigits.isEmpty()))
        return std::nullopt;
    qsizetype firstSignificant = 0;
    while (firstSignificant < integerDigits.size() - 1 && integerDigits[firstSignificant] == u'0')
        ++firstSignificant;
    number.integerDigits = integerDigits.isEmpty() ? u"0"_s : integerDigits.mid(firstSignificant);
    return number;
}

// Rounds to `decimals` digits after the point, half away from zero, working on the digits so that
// no binary rounding creeps in (0.125 gives 0.13, as the system formatter does).
DecimalText RoundDecimalText(DecimalText number, int decimals)
{
    QString fraction = number.fractionDigits;
    const bool roundUp = fraction.size() > decimals && fraction[decimals] >= u'5';
    fraction = fraction.left(decimals).leftJustified(decimals, u'0');
    QString digits = number.integerDigits + fraction;
    if (roundUp) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0; --i) {
            if (digits[i] == u'9') {
                digits[i] = u'0';
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            digits.prepend(u'1');
    }
    number.integerDigits = digits.left(digits.size() - decimals);
    number.fractionDigits = digits.right(decimals);
    if (std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == u'0'; }))
        number.negative = false; // no "-0.00"
    return number;
}

// The integer digits grouped the way the locale groups them.
QString GroupedInLocale(const QLocale& locale, const QString& integerDigits)
{
    bool ok = false;
    const qulonglong value = integerDigits.toULongLong(&ok);
    if (ok)
        return locale.toString(value);
    // Beyond 64 bits: groups of three with the locale's separator, digits mapped one by one.
    QString grouped;
    const bool group = !(locale.numberOptions() & QLocale::OmitGroupSeparator);
    for (qsizetype i = 0; i < integerDigits.size(); ++i) {
        if (group && i > 0 && (integerDigits.size() - i) % 3 == 0)
            grouped += locale.groupSeparator();
        grouped += locale.toString(integerDigits[i].unicode() - u'0');
    }
    return grouped;
}

// The system number formatter: the locale's separators, grouping, digits and negative sign, with two
// decimals. Text it cannot read as a plain decimal number is returned unchanged.
QString FormatNumber(const QLocale& locale, const QString& text)
{
    const std::optional<DecimalText> parsed = ParseDecimalText(text);
    if (!parsed)
        return text;
    constexpr int decimals = 2;
    const DecimalText number = RoundDecimalText(*parsed, decimals);
    QString result;
    if (number.negative)
        result += locale.negativeSign();
    result += GroupedInLocale(locale, number.integerDigits);
    result += locale.decimalPoint();
    for (const QChar digit : number.fractionDigits)
        result += locale.toString(digit.unicode() - u'0');
    return result;
}

QString MapTag(const QString& spoken, const QString& shown)
{
    return u"\\Map=\""_s + spoken + u"\"=\""_s + shown + u"\"\\"_s;
}

std::array<Fraction, 64> BuildFractionTable()
{
    std::array<Fraction, 64> table;
    table[0].decimal = u"0."_s;
    for (int k = 1; k < 64; ++k) {
        Fraction& entry = table[k];
        entry.decimal = QString::number(k / 64.0, 'g', 6);
        int power = 32;
        while (k % power != 0)
            power /= 2;
        const int denominator = 64 / power;
        const int numerator = k * denominator / 64;
        entry.fraction = QString::number(numerator) + u'/' + QString::number(denominator);

        QString unit;
        switch (denominator) {
        case 2:
            unit = u"half"_s;
            break;
        case 4:
            unit = u"fourth"_s;
            break;
        case 8:
            unit = u"eighth"_s;
            break;
        case 16:
            unit = u"sixteenth"_s;
            break;
        case 32:
            unit = u"thirty second"_s;
            break;
        default:
            unit = u"sixty fourth"_s;
            break;
        }
        if (numerator > 1)
            unit += u's';
        QString first;
        if (numerator == 1)
            first = u"aeiouAEIOU"_s.contains(unit[0]) ? u"an"_s : u"a"_s;
        else
            first = QString::number(numerator);
        entry.speech = u"and "_s + first + u' ' + unit + u"\"=\""_s + entry.fraction + u"\"\\"_s;
    }
    return table;
}

const std::array<Fraction, 64>& FractionTable()
{
    static const std::array<Fraction, 64> table = BuildFractionTable();
    return table;
}

const Fraction* FindFraction(const QString& decimal)
{
    for (const Fraction& entry : FractionTable()) {
        if (entry.decimal == decimal)
            return &entry;
    }
    return nullptr;
}

// The grouped text and the table entry of its part from the point on, shared by the two fraction
// forms. No entry when the text has no point or is not a multiple of 1/64; `stop` when the point is
// the first character.
struct FractionMatch
{
    QString grouped;
    qsizetype point = -1;
    const Fraction* entry = nullptr;
    bool stop = false;
};

FractionMatch MatchFraction(const QString& text)
{
    FractionMatch match;
    match.grouped = GroupThousands(text);
    match.point = match.grouped.indexOf(u'.');
    if (match.point == 0) {
        match.stop = true;
        return match;
    }
    const QString tail = u'0' + (match.point < 0 ? match.grouped : match.grouped.mid(match.point));
    match.entry = FindFraction(tail);
    return match;
}

} // namespace

QChar ThousandsSeparator()
{
    const QString separator = QLocale().groupSeparator();
    return separator.isEmpty() ? QChar(u',') : separator[0];
}

QString GroupThousands(const QString& text)
{
    if (text.isEmpty() || text.contains(ThousandsSeparator()))
        return text;
    const bool negative = text.startsWith(u'-');
    const qsizetype start = negative ? 1 : 0;
    qsizetype point = text.indexOf(u'.', start);
    if (point < 0)
        point = text.size();
    QString digits = text.mid(start, point - start);
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return text; // not a number ("N/A"): shown as received
    }
    while (digits.size() > 1 && digits[0] == u'0')
        digits.remove(0, 1);
    if (digits.isEmpty())
        digits = u"0"_s;
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += u',';
        grouped += digits[i];
    }
    return (negative ? u"-"_s : QString()) + grouped + text.mid(point);
}

QString LocaleNumber(const QString& text)
{
    return FormatNumber(QLocale(), text);
}

const Fraction& FractionEntry(int k)
{
    return FractionTable()[static_cast<size_t>(qBound(0, k, 63))];
}

QString FractionDisplay(const QString& text)
{
    const FractionMatch match = MatchFraction(text);
    if (match.stop)
        return match.grouped;
    if (!match.entry)
        return LocaleNumber(text);
    QString result = match.grouped.left(match.point);
    if (!match.entry->fraction.isEmpty())
        result += u' ' + match.entry->fraction;
    return result;
}

QString FractionSpeech(const QString& text)
{
    const FractionMatch match = MatchFraction(text);
    if (match.stop)
        return match.grouped;
    if (!match.entry)
        return DecimalSpeech(text);
    QString result = match.grouped.left(match.point);
    if (!match.entry->speech.isEmpty())
        result += u" \\Map=\""_s + match.entry->speech;
    return result;
}

QString DecimalSpeech(const QString& text)
{
    // Spoken in United States English whatever the user's locale; shown in the user's locale.
    QString spoken = FormatNumber(QLocale(QLocale::English, QLocale::UnitedStates), text);
    QString shown = LocaleNumber(text);
    const qsizetype point = spoken.indexOf(u'.');
    if (point >= 0) {
        const QString integerPart = spoken.left(point);
        const QString decimals = spoken.mid(point + 1);
        if (integerPart == u"0"_s) {
            spoken = spoken.mid(point);
        } else if (decimals.count(u'0') == decimals.size()) {
            spoken.truncate(point);
            // The shown text has its own decimal separator (and may group differently): cut there.
            const qsizetype shownPoint = shown.lastIndexOf(QLocale().decimalPoint());
            if (shownPoint >= 0)
                shown.truncate(shownPoint);
        } else if (decimals.startsWith(u'0')) {
            spoken = integerPart + u" oh"_s + decimals.mid(1);
        } else {
            spoken = integerPart + u' ' + decimals;
        }
    }
    return MapTag(spoken, shown);
}

QString TimeFormatWithoutSeconds(const QString& format)
{
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            result += c;
            continue;
        }
        if (quoted || (c != u's' && c != u'z')) {
            result += c;
            continue;
        }
        // Drop the separator before the field (":", ".", a space ...), back to the previous field.
        while (!result.isEmpty() && !result.back().isLetter() && result.back() != u'\'')
            result.chop(1);
        while (i + 1 < format.size() && (format[i + 1] == u's' || format[i + 1] == u'z'))
            ++i;
    }
    return result;
}

QString DateFormatWithFullYear(const QString& format)
{
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u'y') {
            result += c;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == u'y')
            ++run;
        result += QString(run == 2 ? 4 : run, u'y');
        i += run - 1;
    }
    return result;
}

namespace {

// A text inside a map tag ends at a double quote and the tag at a backslash: a name holding either
// would cut the tag short, so they are given as an apostrophe and a slash.
QString MapTagText(QString text)
{
    return text.replace(u'"', u'\'').replace(u'\\', u'/');
}

} // namespace

QString ExpandMacros(const QString& text, const Stock* stock)
{
    static const QString stockWord = u"STOCK"_s;
    static const QString priceWord = u"PRICE"_s;
    static const QString changeWord = u"CHANGE"_s;

    const int speechType = GetSettings().pricesFormat != 0 ? SpeechFractions : SpeechDecimals;
    QString out;
    qsizetype position = 0;
    while (position < text.size()) {
        qsizetype next = text.size();
        for (const QString* word : {&stockWord, &priceWord, &changeWord}) {
            const qsizetype found = text.indexOf(*word, position);
            if (found >= 0 && found < next)
                next = found;
        }
        out += QStringView(text).mid(position, next - position);
        position = next;
        if (position >= text.size())
            break;

        const QStringView rest = QStringView(text).mid(position);
        if (rest.startsWith(stockWord)) {
            if (!stock)
                out += u"Preview Stock"_s;
            else if (!stock->SpokenName().isEmpty())
                out += u"\\map=\""_s + MapTagText(stock->SpokenName()) + u"\"=\""_s + MapTagText(stock->Name()) +
                       u"\"\\"_s;
            else
                out += stock->Name();
            position += stockWord.size();
        } else if (rest.startsWith(priceWord)) {
            if (!stock)
                out += u"Preview Price"_s;
            else if (!stock->HasQuote())
                out += u"Not Available"_s;
            else
                out += stock->FormatPrice(speechType, SpeechUnit);
            position += priceWord.size();
        } else {
            if (!stock) {
                out += u"Preview Change"_s;
            } else if (stock->HasQuote()) {
                switch (stock->Direction()) {
                case Stock::Up:
                    out += u"up "_s + stock->FormatChange(speechType, SpeechUnit);
                    break;
                case Stock::Down:
                    out += u"down "_s + stock->FormatChange(speechType, SpeechUnit);
                    break;
                default:
                    out += u"unchanged"_s;
                    break;
                }
            }
            position += changeWord.size();
        }
    }
    return out;
}

} // namespace PriceFormat
