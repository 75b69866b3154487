#pragma once

#include <QString>

#include <memory>

class QuoteAnswer;
class Stock;

// What a quote answer becomes, and how it reaches the stock.
namespace QuoteRetrieval {

// The form of a country's quote answers: the optional URL.ini key "AnswerFormat".
enum class AnswerFormat
{
    Csv,       // absent or "csv": one comma-separated line (semicolons for France and Germany)
    ChartJson, // "yahoo-chart-json": the chart JSON answer
    Unknown,   // anything else: no answer is read, so a typing error never wipes a stock's values
};
AnswerFormat AnswerFormatOf(const QString& country);
AnswerFormat ParseAnswerFormat(const QString& value); // the value as written, case and blanks ignored

// The answer to a stock of the country, or null when the body holds no quote (a chart answer with
// an error or without a price, or an unknown answer format): the stock then keeps its values.
// CSV answers always yield one: a malformed line gives empty and "0." values, as the service meant.
std::unique_ptr<QuoteAnswer> ParseAnswer(const QString& country, AnswerFormat format, const QString& body);

// Stores an answer into a stock: price and change (with the country's multiplier), the percent
// computed from them, the volume as received, the quote time, and the time zone (empty, so the
// country's default).
void ApplyQuote(Stock& stock, const QuoteAnswer& answer);

// The User-Agent header sent for the country's quotes: URL.ini's "UserAgent", empty when absent.
QString UserAgentOf(const QString& country);

// The largest quote answer accepted.
inline constexpr qint64 kMaxAnswerSize = qint64(1) << 20;

} // namespace QuoteRetrieval
