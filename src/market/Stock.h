#pragma once

#include "market/CsvRecord.h"

#include <QString>

// One stock the user follows: its identity (country, symbol, display name, spoken name), its latest
// quote as normalized decimal texts, and whether it is enabled.
class Stock : public CsvRecord
{
public:
    // A new stock: empty names and symbol, "United States", price "0.", change "0", percent "0%",
    // volume "0", no time, state "Enabled".
    Stock();
    // A new stock with these four values (the country only when non-empty).
    Stock(const QString& name, const QString& spokenName, const QString& symbol, const QString& country);
    // Copies every field except the line state (version, line and cursor start afresh).
    Stock(const Stock& other);
    Stock& operator=(const Stock& other);

    bool Parse() override; // a stock-file line of `version` 1 or 2
    // Parses `text` as Parse parses `line`, leaving `line` and the cursor alone: a loader can parse
    // straight from the file's text. A time zone equal to that of `like` shares its string.
    bool ParseLine(QStringView text, const Stock* like = nullptr);
    bool Format() override; // the eleven fields of a version-2 line

    // Accessors.
    const QString& Name() const { return m_name; }
    const QString& SpokenName() const { return m_spokenName; }
    const QString& Symbol() const { return m_symbol; }
    const QString& Country() const { return m_country; }
    const QString& Price() const { return m_price; }
    const QString& Change() const { return m_change; }
    const QString& Percent() const { return m_percent; }
    const QString& Volume() const { return m_volume; }
    qint32 QuoteTime() const { return m_quoteTime; }
    const QString& TimeZone() const { return m_timeZone; }
    const QString& ReportedPrice() const { return m_reportedPrice; }
    const QString& State() const { return m_state; }

    void SetName(const QString& name) { m_name = name; }
    void SetSpokenName(const QString& spokenName) { m_spokenName = spokenName; }
    void SetSymbol(const QString& symbol) { m_symbol = symbol; }
    void SetCountry(const QString& country); // ignored when empty
    void SetVolume(const QString& volume) { m_volume = volume; }
    void SetQuoteTime(qint32 quoteTime) { m_quoteTime = quoteTime; }
    void SetState(const QString& state) { m_state = state; }
    void SetPercent(const QString& percent) { m_percent = percent; }
    void SetReportedPrice(const QString& price) { m_reportedPrice = price; }

    // Store the text, then normalize it: spaces removed, commas to points, with applyMultiplier the
    // country's "PriceMultiplier" applied (six decimals), trailing zeros after a point removed (the
    // point itself kept: 23.000000 -> "23.").
    void SetPrice(const QString& text, bool applyMultiplier);
    void SetChange(const QString& text, bool applyMultiplier);

    // Stores the trimmed text; an empty result takes the country's "DefaultTimeZone".
    void SetTimeZone(const QString& text);

    // percent = change / (price - change) * 100 with two decimals, or empty when price - change <= 0.
    void ComputePercent();

    enum Movement
    {
        Up = 0,
        Down = 1,
        Unchanged = 2,
    };
    // From the raw change: empty -> Unchanged, containing "-" -> Down, exactly "0." -> Unchanged, else Up.
    int Direction() const;

    // A price other than "0.", or a volume other than "0" and "N/A".
    bool HasQuote() const;
    // State is exactly "Enabled".
    bool IsEnabled() const;

    // "Price", "Change%", "Change", "Volume" (any case, in this order) give the raw value; else empty.
    QString AttributeByName(const QString& name) const;

    // Name, spoken name, symbol, country, price, volume, quote time and time zone all equal (change
    // and percent are not compared).
    bool SameForDisplay(const Stock& other) const;

    // Formatting for display and speech. type: 0 raw, 1 display fractions, 2 display decimals,
    // 3 speech fractions, 4 speech decimals; unit: 0 none, 1 display pattern, 2 speech pattern.
    QString FormatPrice(int type, int unit) const;
    QString FormatChange(int type, int unit) const;
    QString FormatPercent(int type) const;
    QString FormatVolume(bool grouped) const;
    QString FormatTime(bool longDate) const;

    // URLs built from the country's configuration (URL.ini); each also becomes LastURL().
    QString QuoteURL() const;   // "QuoteURL_RT", else "QuoteURL", with the symbol
    QString LookupURL() const;  // "LookupURL" with the name, then "+" -> "%2B" and " " -> "+"
    QString StoriesURL() const; // "StoriesURL" with the symbol's first letter and the symbol, else "DetailURL"
    QString ChartURL() const;   // "ChartURL" with the symbol
    const QString& LastURL() const { return m_lastUrl; }

private:
    bool ParseFields(QStringView text, qsizetype& position, const Stock* like);
    void SetCountryText(QStringView country);
    void SetStateText(QStringView state);
    void SetTimeZoneText(QStringView text, const Stock* like);

    QString m_name;
    QString m_spokenName;
    QString m_symbol;
    QString m_country;
    QString m_price;
    QString m_change;
    QString m_percent;
    QString m_volume;
    qint32 m_quoteTime = 0;
    QString m_timeZone;
    QString m_reportedPrice;
    QString m_state;
    mutable QString m_lastUrl;
};
