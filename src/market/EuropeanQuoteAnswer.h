#pragma once

#include "market/QuoteAnswer.h"

// The answer form of the French and German quote services: semicolons between the fields and
// decimal commas, for example 23,50;-0,25;880;4/5/2002;16.05. Every "," becomes "." and then every
// ";" becomes "," before the answer is parsed as usual.
class EuropeanQuoteAnswer final : public QuoteAnswer
{
public:
    explicit EuropeanQuoteAnswer(const QString& text);

    static QString ToCommaSeparated(const QString& text);
};
