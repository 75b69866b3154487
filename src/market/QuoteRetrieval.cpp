#include "market/QuoteRetrieval.h"

#include "market/ChartAnswer.h"
#include "market/Countries.h"
#include "market/EuropeanQuoteAnswer.h"
#include "market/QuoteAnswer.h"
#include "market/Stock.h"

using namespace Qt::StringLiterals;

namespace QuoteRetrieval {

AnswerFormat ParseAnswerFormat(const QString& value)
{
    const QString format = value.trimmed().toLower();
    if (format.isEmpty() || format == u"csv"_s)
        return AnswerFormat::Csv;
    if (format == u"yahoo-chart-json"_s)
        return AnswerFormat::ChartJson;
    return AnswerFormat::Unknown;
}

AnswerFormat AnswerFormatOf(const QString& country)
{
    return ParseAnswerFormat(Countries::ReadCountrySetting(country, u"AnswerFormat"_s));
}

QString UserAgentOf(const QString& country)
{
    return Countries::ReadCountrySetting(country, u"UserAgent"_s).trimmed();
}

std::unique_ptr<QuoteAnswer> ParseAnswer(const QString& country, AnswerFormat format, const QString& body)
{
    switch (format) {
    case AnswerFormat::Csv:
        if (country == u"France"_s || country == u"Germany"_s)
            return std::make_unique<EuropeanQuoteAnswer>(body);
        return std::make_unique<QuoteAnswer>(body);
    case AnswerFormat::ChartJson: {
        QString line;
        if (!ChartAnswer::ToQuoteLine(body, line))
            return nullptr;
        return std::make_unique<QuoteAnswer>(line);
    }
    case AnswerFormat::Unknown:
        break;
    }
    return nullptr;
}

void ApplyQuote(Stock& stock, const QuoteAnswer& answer)
{
    stock.SetPrice(answer.price, true);
    stock.SetChange(answer.change, true);
    stock.ComputePercent();
    stock.SetVolume(answer.volume);
    stock.SetQuoteTime(answer.quoteTime);
    stock.SetTimeZone(answer.timeZone);
}

} // namespace QuoteRetrieval
