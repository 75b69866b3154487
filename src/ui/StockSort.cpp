#include "ui/StockSort.h"

#include "market/NumberText.h"
#include "market/Stock.h"
#include "market/StockList.h"

#include <QByteArray>

#include <cmath>
#include <cstring>

namespace StockSort {
namespace {

int Sign(double difference)
{
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

int CompareNames(const Stock& a, const Stock& b)
{
    const QByteArray left = a.Name().toUtf8();
    const QByteArray right = b.Name().toUtf8();
    const auto common = static_cast<size_t>(std::min(left.size(), right.size()));
    const int bytes = std::memcmp(left.constData(), right.constData(), common);
    if (bytes != 0)
        return bytes < 0 ? -1 : 1;
    return Sign(static_cast<double>(left.size() - right.size()));
}

int CompareUnordered(const Stock& a, const Stock& b, int criterion)
{
    switch (criterion) {
    case ByName:
        return CompareNames(a, b);
    case ByChangePercent:
        return Sign(std::fabs(NumberText::LeadingDouble(a.Percent())) -
                    std::fabs(NumberText::LeadingDouble(b.Percent())));
    case ByPrice:
        return Sign(NumberText::LeadingDouble(a.Price()) - NumberText::LeadingDouble(b.Price()));
    case ByVolume:
        return Sign(NumberText::LeadingDouble(a.Volume()) - NumberText::LeadingDouble(b.Volume()));
    case ByWhen:
        // The difference of two 32-bit times, taken in 64 bits so that it cannot overflow.
        return Sign(static_cast<double>(static_cast<qint64>(a.QuoteTime()) - b.QuoteTime()));
    default:
        return 0;
    }
}

} // namespace

int CompareStocks(int a, int b, int criterion, int order)
{
    const Stock* left = StockList::At(a);
    const Stock* right = StockList::At(b);
    if (!left || !right)
        return 0;
    const int result = CompareUnordered(*left, *right, criterion);
    return order == Descending ? -result : result;
}

Choice AfterHeaderClick(Choice current, int column)
{
    if (current.criterion == column + 1)
        return {current.criterion, current.order == Ascending ? Descending : Ascending};
    return {column + 1, current.order};
}

} // namespace StockSort
