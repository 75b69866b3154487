#pragma once

#include "market/CsvRecord.h"

#include <QString>

// An alert records that a rule applied: which rule (by its Description), for which stock, at what
// price and when. `version` holds the version of the file the alert was read from, which selects the
// layout of its line; alerts are always written in the layout of version 2.
class CAlert : public CsvRecord
{
public:
    CAlert() = default;
    CAlert(const QString& ruleDescription, const QString& price, const QString& when, const QString& country,
           const QString& stockName);

    // Version 1: RuleDescription, Price, (ignored), When, Country.
    // Any other version: RuleDescription, Price, When, Country, StockName.
    bool Parse() override;
    // RuleDescription, Price, When, Country, StockName.
    bool Format() override;

    const QString& RuleDescription() const { return m_ruleDescription; }
    const QString& Price() const { return m_price; }
    const QString& When() const { return m_when; }
    const QString& Country() const { return m_country; }
    const QString& StockName() const { return m_stockName; }

    void SetRuleDescription(const QString& description) { m_ruleDescription = description; }
    void SetPrice(const QString& price) { m_price = price; }
    void SetWhen(const QString& when) { m_when = when; }
    void SetCountry(const QString& country) { m_country = country; }
    void SetStockName(const QString& name) { m_stockName = name; }

    // The raw price in the display form the "PricesFormat" setting chooses (fractions or the locale's
    // decimals), passed through the country's "FormatPriceUnitDisplay" pattern when it has one.
    QString DisplayPrice() const;

private:
    QString m_ruleDescription;
    QString m_price;
    QString m_when;
    QString m_country;
    QString m_stockName;
};
