#pragma once

#include <QtGlobal>

// The Stocks page's sort: the criterion (0 none, n = 1 ... 5 sorts by list column n - 1: name,
// change percent, price, volume, quote time) and order (0 ascending, 1 descending) are the companion
// values QueryStockSortCriteria / QueryStockSortOrder (rules/CompanionValues.h).
namespace StockSort {

inline constexpr int None = 0;
inline constexpr int ByName = 1;
inline constexpr int ByChangePercent = 2;
inline constexpr int ByPrice = 3;
inline constexpr int ByVolume = 4;
inline constexpr int ByWhen = 5;
inline constexpr int CriterionCount = 6;

inline constexpr int Ascending = 0;
inline constexpr int Descending = 1;

// Compares the stocks at storage indices a and b: negative when a sorts before b, zero when they are
// equal, positive when after; negated for a descending order.
//   1: the display names, byte by byte (UTF-8, unsigned; case-sensitive);
//   2: the absolute percent changes (the larger movement after, whatever its sign; empty or
//      non-numeric text counts as 0);
//   3: the prices; 4: the volumes (each as a number, non-numeric text counts as 0);
//   5: the quote times.
// A stock index out of range, or criterion 0, compares equal.
int CompareStocks(int a, int b, int criterion, int order);

// What a click on the header of list column `column` (0 ... 4) makes of the sort: the same column
// again reverses the order; another column becomes the criterion and keeps the order.
struct Choice
{
    int criterion = None;
    int order = Ascending;
};
Choice AfterHeaderClick(Choice current, int column);

} // namespace StockSort
