#include "market/EuropeanQuoteAnswer.h"

EuropeanQuoteAnswer::EuropeanQuoteAnswer(const QString& text)
    : QuoteAnswer(ToCommaSeparated(text))
{}

QString EuropeanQuoteAnswer::ToCommaSeparated(const QString& text)
{
    QString converted = text;
    converted.replace(u',', u'.');
    converted.replace(u';', u',');
    return converted;
}
