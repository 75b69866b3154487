#pragma once

#include <QString>

#include <memory>

class Stock;

// The one process-wide ordered list of stocks, in the user's own order (the order of the stock file).
// The list owns its stocks: removing one deletes it. Stocks are found by display name, exactly and
// case-sensitively.
namespace StockList {

// Maps a row of the Stocks page to a storage index (its item data). Installed by the Stocks page;
// without one, display order is storage order.
class IDisplayOrder
{
public:
    virtual ~IDisplayOrder() = default;
    virtual int StorageIndexOfRow(int row) const = 0; // -1 outside the rows
};
void SetDisplayOrder(const IDisplayOrder* order);

int Count();
// The stock at a storage index, or, with inDisplayOrder, at a row of the Stocks page. Null out of range.
Stock* At(int index, bool inDisplayOrder = false);
Stock* FindByName(const QString& name);
int IndexOfName(const QString& name, bool inDisplayOrder = false);

Stock* Add(const QString& name, const QString& spokenName, const QString& symbol, const QString& country);
void Append(std::unique_ptr<Stock> stock);
bool InsertAt(int index, std::unique_ptr<Stock> stock); // false for a negative index; past the end appends
bool RemoveAt(int index);                               // false outside 0..Count()-1
bool Move(int from, int to);                            // false when either index is out of range
void DeleteAll();

// Reads Quorvan.csv, else Quorvan.bak; false when neither could be read (the caller then adds the
// default stocks of the primary country). Messages go through ShowUserMessage.
bool Load();
// Rotates Quorvan.csv to Quorvan.bak and writes the whole list; false (with a message, the previous
// file restored) on a write error.
bool Save();

} // namespace StockList
