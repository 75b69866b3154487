#pragma once

#include "market/CsvRecord.h"

#include <QString>

// A quote service's answer: one comma-separated line "price,change,volume,date,time", for example
// 23.50,-0.25,880,4/5/2002,4:05pm. Further fields are ignored and missing ones are empty; a
// malformed answer never fails. Answers are only read, never written.
class QuoteAnswer : public CsvRecord
{
public:
    QuoteAnswer() = default;
    // An answer parsed from the text at once (the whole body, line breaks already removed).
    explicit QuoteAnswer(const QString& text);

    bool Parse() override;  // the five fields, then ComputeQuoteTime; timeZone empty; true
    bool Format() override; // answers are never written: builds nothing, true
    virtual void ComputeQuoteTime();

    // The local calendar time of a "month/day/year" date and a time of day in one of the forms
    // 4:05pm, 12:30 PM, 16:05, 16h05, 16.05 (a time without a separator counts as midnight).
    // 0 when the date has fewer than three parts; -1 when the moment cannot be represented as
    // seconds since 1970 in 32 bits (two-digit years among others).
    static qint32 QuoteTimeOf(const QString& date, const QString& time);

    QString price;
    QString change;
    QString volume;
    QString date;
    QString time;
    QString timeZone; // always empty: the stock then takes its country's default zone
    qint32 quoteTime = 0;
};
