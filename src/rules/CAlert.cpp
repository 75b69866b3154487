#include "rules/CAlert.h"

#include "base/CSettings.h"
#include "market/Countries.h"
#include "market/PriceFormat.h"

using namespace Qt::StringLiterals;

CAlert::CAlert(const QString& ruleDescription, const QString& price, const QString& when, const QString& country,
               const QString& stockName)
    : m_ruleDescription(ruleDescription)
    , m_price(price)
    , m_when(when)
    , m_country(country)
    , m_stockName(stockName)
{}

bool CAlert::Parse()
{
    ResetCursor();
    m_ruleDescription = ReadField();
    m_price = ReadField();
    if (version == 1) {
        ReadField(); // a field that version 1 wrote and nothing reads
        m_when = ReadField();
        m_country = ReadField();
        m_stockName.clear();
    } else {
        m_when = ReadField();
        m_country = ReadField();
        m_stockName = ReadField();
    }
    return true;
}

bool CAlert::Format()
{
    ClearLine();
    AppendField(m_ruleDescription);
    AppendField(m_price);
    AppendField(m_when);
    AppendField(m_country);
    AppendField(m_stockName);
    return true;
}

QString CAlert::DisplayPrice() const
{
    QString text =
        GetSettings().pricesFormat != 0 ? PriceFormat::FractionDisplay(m_price) : PriceFormat::LocaleNumber(m_price);
    const QString pattern = Countries::ReadCountrySetting(m_country, u"FormatPriceUnitDisplay"_s);
    if (!pattern.isEmpty())
        text = Countries::FormatPattern(pattern, {text});
    return text;
}
