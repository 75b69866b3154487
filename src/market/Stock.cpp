#include "market/Stock.h"

#include "market/Countries.h"
#include "market/NumberText.h"
#include "market/PriceFormat.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kEnabled = u"Enabled"_s;
const QString kNoPrice = u"0."_s;

// The end of a number's text once the trailing zeros of a plain decimal tail are dropped (the point
// itself is kept); "1.5e10" keeps its exponent intact.
qsizetype TrimmedDecimalEnd(QStringView number)
{
    // Back over the digits of the tail: it is a plain decimal tail only when a point precedes them.
    qsizetype point = number.size() - 1;
    while (point >= 0 && number[point] >= u'0' && number[point] <= u'9')
        --point;
    if (point < 0 || number[point] != u'.')
        return number.size();
    qsizetype end = number.size();
    while (end > point + 1 && number[end - 1] == u'0')
        --end;
    return end;
}

bool IsPlainNumber(QStringView text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c == u',' || c.isSpace(); });
}

QString NormalizeNumber(QStringView text, const QString& country, bool applyMultiplier)
{
    const bool plain = IsPlainNumber(text);
    QString result;
    if (!plain) {
        result.reserve(text.size());
        for (const QChar c : text) {
            if (c.isSpace())
                continue; // also the no-break spaces some services group thousands with
            result += c == u',' ? u'.' : c;
        }
    }
    if (applyMultiplier) {
        const double value =
            NumberText::LeadingDouble(plain ? text : QStringView(result)) * Countries::PriceMultiplier(country);
        result = NumberText::Fixed(value, 6);
    } else if (plain) {
        return text.first(TrimmedDecimalEnd(text)).toString(); // the one copy this text needs
    }
    result.truncate(TrimmedDecimalEnd(result));
    return result;
}

// Stores a field (an empty one as the null text that ReadField gives), keeping the member's own string when it holds
// that text already: a stock that was never quoted keeps sharing the default "0." and "0%".
void AssignField(QString& member, QStringView field)
{
    if (field.isEmpty())
        member = QString();
    else if (member != field)
        member = field.toString();
}

void AssignNumber(QString& member, QStringView field)
{
    if (IsPlainNumber(field))
        AssignField(member, field.first(TrimmedDecimalEnd(field)));
    else
        member = NormalizeNumber(field, QString(), false);
}

} // namespace

Stock::Stock()
    : m_country(u"United States"_s)
    , m_price(kNoPrice)
    , m_change(u"0"_s)
    , m_percent(u"0%"_s)
    , m_volume(u"0"_s)
    , m_state(kEnabled)
{}

Stock::Stock(const QString& name, const QString& spokenName, const QString& symbol, const QString& country)
    : Stock()
{
    m_name = name;
    m_spokenName = spokenName;
    m_symbol = symbol;
    SetCountry(country);
}

Stock::Stock(const Stock& other)
    : CsvRecord()
{
    *this = other;
}

Stock& Stock::operator=(const Stock& other)
{
    if (this == &other)
        return *this;
    m_name = other.m_name;
    m_spokenName = other.m_spokenName;
    m_symbol = other.m_symbol;
    m_country = other.m_country;
    m_price = other.m_price;
    m_change = other.m_change;
    m_percent = other.m_percent;
    m_volume = other.m_volume;
    m_quoteTime = other.m_quoteTime;
    m_timeZone = other.m_timeZone;
    m_reportedPrice = other.m_reportedPrice;
    m_state = other.m_state;
    m_lastUrl.clear();
    return *this;
}

bool Stock::Parse()
{
    ResetCursor();
    return ParseFields(line, cursor, nullptr);
}

bool Stock::ParseLine(QStringView text, const Stock* like)
{
    qsizetype position = 0;
    return ParseFields(text, position, like);
}

bool Stock::ParseFields(QStringView text, qsizetype& position, const Stock* like)
{
    // Each field is a view into the text (or into scratch, for one that needed unquoting) and is used
    // before the next one is read.
    QString scratch;
    auto next = [&] {
        return ReadFieldView(text, position, scratch);
    };
    switch (version) {
    case 2:
        AssignField(m_name, next());
        AssignField(m_symbol, next());
        AssignNumber(m_price, next());
        AssignField(m_volume, next());
        m_quoteTime = NumberText::LeadingInt32(next());
        SetStateText(next());
        AssignNumber(m_change, next());
        AssignField(m_percent, next());
        SetCountryText(next());
        SetTimeZoneText(next(), like); // after the country: its default time zone
        AssignField(m_spokenName, next());
        return true;
    case 1:
        AssignField(m_name, next());
        AssignField(m_symbol, next());
        for (int i = 3; i <= 5; ++i)
            next(); // price, volume and time: not kept from this version
        SetStateText(next());
        next();
        next();
        SetCountryText(next());
        SetTimeZoneText(next(), like);
        return true;
    default:
        return true;
    }
}

bool Stock::Format()
{
    ClearLine();
    AppendField(m_name);
    AppendField(m_symbol);
    AppendField(m_price);
    AppendField(m_volume);
    AppendField(QString::number(m_quoteTime));
    AppendField(m_state);
    AppendField(m_change);
    AppendField(m_percent);
    AppendField(m_country);
    AppendField(m_timeZone);
    AppendField(m_spokenName);
    return true;
}

void Stock::SetCountry(const QString& country)
{
    if (!country.isEmpty())
        m_country = country;
}

void Stock::SetCountryText(QStringView country)
{
    if (country.isEmpty() || country == m_country)
        return;
    // A file names few countries: share the list's own strings rather than copy each stock's.
    for (const QString& name : Countries::CountryNames()) {
        if (name == country) {
            m_country = name;
            return;
        }
    }
    m_country = country.toString();
}

void Stock::SetStateText(QStringView state)
{
    if (state == kEnabled)
        m_state = kEnabled;
    else
        AssignField(m_state, state);
}

void Stock::SetPrice(const QString& text, bool applyMultiplier)
{
    m_price = NormalizeNumber(text, m_country, applyMultiplier);
}

void Stock::SetChange(const QString& text, bool applyMultiplier)
{
    m_change = NormalizeNumber(text, m_country, applyMultiplier);
}

void Stock::SetTimeZone(const QString& text)
{
    m_timeZone = text.trimmed();
    if (m_timeZone.isEmpty())
        m_timeZone = Countries::ReadCountrySetting(m_country, u"DefaultTimeZone"_s);
}

void Stock::SetTimeZoneText(QStringView text, const Stock* like)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        m_timeZone = Countries::ReadCountrySetting(m_country, u"DefaultTimeZone"_s);
    else if (like && trimmed == like->m_timeZone)
        m_timeZone = like->m_timeZone;
    else
        m_timeZone = trimmed.toString();
}

void Stock::ComputePercent()
{
    const double price = NumberText::LeadingDouble(m_price);
    const double change = NumberText::LeadingDouble(m_change);
    const double previous = price - change;
    if (previous > 0)
        m_percent = NumberText::Fixed(change / previous * 100.0, 2);
    else
        m_percent.clear();
}

int Stock::Direction() const
{
    if (m_change.isEmpty())
        return Unchanged;
    if (m_change.contains(u'-'))
        return Down;
    if (m_change == kNoPrice)
        return Unchanged;
    return Up;
}

bool Stock::HasQuote() const
{
    return m_price != kNoPrice || (m_volume != u"0"_s && m_volume != u"N/A"_s);
}

bool Stock::IsEnabled() const
{
    return m_state == kEnabled;
}

QString Stock::AttributeByName(const QString& name) const
{
    if (name.compare(u"Price"_s, Qt::CaseInsensitive) == 0)
        return m_price;
    if (name.compare(u"Change%"_s, Qt::CaseInsensitive) == 0)
        return m_percent;
    if (name.compare(u"Change"_s, Qt::CaseInsensitive) == 0)
        return m_change;
    if (name.compare(u"Volume"_s, Qt::CaseInsensitive) == 0)
        return m_volume;
    return QString();
}

bool Stock::SameForDisplay(const Stock& other) const
{
    return m_name == other.m_name && m_spokenName == other.m_spokenName && m_symbol == other.m_symbol &&
           m_country == other.m_country && m_price == other.m_price && m_volume == other.m_volume &&
           m_quoteTime == other.m_quoteTime && m_timeZone == other.m_timeZone;
}

// FormatPrice, FormatChange, FormatPercent, FormatVolume and FormatTime (the display and speech
// wording of the quote) follow the URL builders below; their rules are in PriceFormat.

QString Stock::QuoteURL() const
{
    QString pattern = Countries::ReadCountrySetting(m_country, u"QuoteURL_RT"_s);
    if (pattern.isEmpty())
        pattern = Countries::ReadCountrySetting(m_country, u"QuoteURL"_s);
    m_lastUrl = Countries::FormatPattern(pattern, {m_symbol});
    return m_lastUrl;
}

QString Stock::LookupURL() const
{
    QString url = Countries::FormatPattern(Countries::ReadCountrySetting(m_country, u"LookupURL"_s), {m_name});
    // Over the whole text, pattern included: "+" first, so that the pluses standing for spaces stay.
    url.replace(u'+', u"%2B"_s);
    url.replace(u' ', u'+');
    m_lastUrl = url;
    return m_lastUrl;
}

QString Stock::StoriesURL() const
{
    const QString stories = Countries::ReadCountrySetting(m_country, u"StoriesURL"_s);
    if (!stories.isEmpty())
        m_lastUrl = Countries::FormatPattern(stories, {m_symbol.left(1), m_symbol});
    else
        m_lastUrl = Countries::FormatPattern(Countries::ReadCountrySetting(m_country, u"DetailURL"_s), {m_symbol});
    return m_lastUrl;
}

QString Stock::ChartURL() const
{
    m_lastUrl.clear();
    m_lastUrl = Countries::FormatPattern(Countries::ReadCountrySetting(m_country, u"ChartURL"_s), {m_symbol});
    return m_lastUrl;
}

// ---------------------------------------------------------------------------------------------
// Formatting for display and speech (price wording: market/PriceFormat.h)
// ---------------------------------------------------------------------------------------------

namespace {

// The country's unit pattern ("%s p") around the text, for unit 1 (display) or 2 (speech).
QString ApplyUnit(const QString& text, const QString& country, int unit)
{
    if (unit != PriceFormat::DisplayUnit && unit != PriceFormat::SpeechUnit)
        return text;
    const QString key = unit == PriceFormat::DisplayUnit ? u"FormatPriceUnitDisplay"_s : u"FormatPriceUnitSay"_s;
    const QString pattern = Countries::ReadCountrySetting(country, key);
    return pattern.isEmpty() ? text : Countries::FormatPattern(pattern, {text});
}

} // namespace

QString Stock::FormatPrice(int type, int unit) const
{
    QString text = m_price;
    switch (type) {
    case PriceFormat::DisplayFractions:
        text = PriceFormat::FractionDisplay(text);
        break;
    case PriceFormat::DisplayDecimals:
        text = PriceFormat::LocaleNumber(text);
        break;
    case PriceFormat::SpeechFractions:
        text = PriceFormat::FractionSpeech(text);
        break;
    case PriceFormat::SpeechDecimals:
        text = PriceFormat::DecimalSpeech(text);
        break;
    default:
        break;
    }
    return ApplyUnit(text, m_country, unit);
}

QString Stock::FormatChange(int type, int unit) const
{
    QString text = m_change;
    switch (type) {
    case PriceFormat::DisplayFractions:
        text = PriceFormat::FractionDisplay(text);
        if (m_change.startsWith(u'-') && text.startsWith(u"-0 "_s))
            text = u'-' + text.mid(3);
        else if (text.startsWith(u"0 "_s))
            text.remove(0, 2);
        break;
    case PriceFormat::DisplayDecimals:
        text = PriceFormat::LocaleNumber(text);
        break;
    case PriceFormat::SpeechDecimals:
        // "up" and "down" carry the sign in speech.
        if (text.startsWith(u'-'))
            text.remove(0, 1);
        text = PriceFormat::DecimalSpeech(text);
        break;
    case PriceFormat::SpeechFractions:
        if (text.startsWith(u'-'))
            text.remove(0, 1);
        text = PriceFormat::FractionSpeech(text);
        if (text.startsWith(u"0 "_s)) {
            text.remove(0, 2);
            const qsizetype andWord = text.indexOf(u"and "_s);
            if (andWord >= 0)
                text.remove(andWord, 4);
        }
        break;
    default:
        break;
    }
    text = ApplyUnit(text, m_country, unit);
    if ((type == PriceFormat::DisplayFractions || type == PriceFormat::DisplayDecimals) && Direction() == Up)
        text.prepend(u'+');
    return text;
}

QString Stock::FormatPercent(int type) const
{
    if (type == PriceFormat::Raw)
        return m_percent;
    // The percent cannot be computed without a previous close: nothing is shown, not a lone "%".
    QString number = m_percent;
    if (number.endsWith(u'%'))
        number.chop(1);
    if (number.isEmpty())
        return QString();
    QString text = PriceFormat::LocaleNumber(number);
    if (Direction() == Up)
        text.prepend(u'+');
    return text + u'%';
}

QString Stock::FormatVolume(bool grouped) const
{
    return grouped ? PriceFormat::GroupThousands(m_volume) : m_volume;
}

QString Stock::FormatTime(bool longDate) const
{
    if (m_quoteTime <= 0)
        return QString();
    const QLocale locale;
    const QDateTime local = QDateTime::fromSecsSinceEpoch(m_quoteTime).toLocalTime();
    QString datePart;
    if (local.date().year() > 1980) {
        const QString picture =
            longDate ? u"dddd "_s + PriceFormat::DateFormatWithFullYear(locale.dateFormat(QLocale::ShortFormat))
                     : u"ddd"_s;
        datePart = locale.toString(local.date(), picture);
    }
    QString timePart;
    if (local.time().hour() != 0 || local.time().minute() != 0) {
        timePart = locale.toString(local.time(),
                                   PriceFormat::TimeFormatWithoutSeconds(locale.timeFormat(QLocale::ShortFormat)));
        if (!m_timeZone.isEmpty())
            timePart += u' ' + m_timeZone;
    }
    if (!datePart.isEmpty() && !timePart.isEmpty())
        return datePart + u' ' + timePart;
    return datePart + timePart;
}
