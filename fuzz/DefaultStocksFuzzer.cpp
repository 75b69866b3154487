// Any "DefaultStocks" value: the parser takes at most kMaxDefaultStocks entries, each with a usable
// name, symbol and one of the eleven countries, and never a name twice.

#include "market/Countries.h"

#include <QSet>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<Countries::DefaultStock> stocks = Countries::ParseDefaultStocks(value);
    if (stocks.size() > size_t(Countries::kMaxDefaultStocks))
        __builtin_trap();
    QSet<QString> names;
    for (const Countries::DefaultStock& stock : stocks) {
        if (stock.name.isEmpty() || stock.symbol.isEmpty() || stock.name.contains(u'<') ||
            stock.symbol.contains(u'|') || !Countries::CountryNames().contains(stock.country) ||
            names.contains(stock.name))
            __builtin_trap();
        names.insert(stock.name);
    }
    return 0;
}
