#pragma once

#include <QString>

// The chart answer of the Yahoo chart service (JSON, "AnswerFormat=yahoo-chart-json" in URL.ini),
// turned into the quote line that QuoteAnswer reads, so that everything after the answer works as
// with a comma-separated quote service. From chart.result[0].meta:
//   price   regularMarketPrice
//   change  price - previousClose (or, without it, chartPreviousClose), rounded to the decimals
//           of the two prices
//   volume  regularMarketVolume ("N/A" when the answer has none)
//   date    M/D/YYYY and time H:MM: regularMarketTime + gmtoffset, the exchange's local clock
namespace ChartAnswer {

// The quote line "price,change,volume,date,time" of the answer, or false when it holds no quote:
// not JSON, a chart.error object, no result, or no price, previous close or market time.
bool ToQuoteLine(const QString& body, QString& line);

// A number as the shortest decimal text that reads back as the same value. Prices sent as
// single-precision values (187.44000244140625) come out as written (187.44).
QString NumberText(double value);

} // namespace ChartAnswer
