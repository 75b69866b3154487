#include "market/StockList.h"

#include "market/Countries.h"
#include "market/DataFile.h"
#include "market/Stock.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace StockList {

namespace {

std::vector<std::unique_ptr<Stock>> g_stocks;
const IDisplayOrder* g_displayOrder = nullptr;

constexpr int kFileVersion = 2;

const DataFile::Format& StockFile()
{
    static const DataFile::Format format{
        u"Quorvan"_s,
        u"Quorvan File Version : "_s,
        kFileVersion,
        u"A newer version of the application wrote the stock file."_s,
        u"Quorvane File Error"_s,
        u"An error occurred saving the stocks."_s,
    };
    return format;
}

bool InRange(int index)
{
    return index >= 0 && size_t(index) < g_stocks.size();
}

// The storage index of a row of the Stocks page, or the index itself without a display order.
int StorageIndex(int index, bool inDisplayOrder)
{
    if (!inDisplayOrder || !g_displayOrder)
        return index;
    if (!InRange(index))
        return -1;
    return g_displayOrder->StorageIndexOfRow(index);
}

} // namespace

void SetDisplayOrder(const IDisplayOrder* order)
{
    g_displayOrder = order;
}

int Count()
{
    return int(g_stocks.size());
}

Stock* At(int index, bool inDisplayOrder)
{
    const int storage = StorageIndex(index, inDisplayOrder);
    return InRange(storage) ? g_stocks[size_t(storage)].get() : nullptr;
}

Stock* FindByName(const QString& name)
{
    for (const auto& stock : g_stocks) {
        if (stock->Name() == name)
            return stock.get();
    }
    return nullptr;
}

int IndexOfName(const QString& name, bool inDisplayOrder)
{
    const int count = Count();
    for (int index = 0; index < count; ++index) {
        const Stock* stock = At(index, inDisplayOrder);
        if (stock && stock->Name() == name)
            return index;
    }
    return -1;
}

Stock* Add(const QString& name, const QString& spokenName, const QString& symbol, const QString& country)
{
    g_stocks.push_back(std::make_unique<Stock>(name, spokenName, symbol, country));
    return g_stocks.back().get();
}

void Append(std::unique_ptr<Stock> stock)
{
    if (stock)
        g_stocks.push_back(std::move(stock));
}

bool InsertAt(int index, std::unique_ptr<Stock> stock)
{
    if (index < 0 || !stock)
        return false;
    const size_t position = std::min(size_t(index), g_stocks.size());
    g_stocks.insert(g_stocks.begin() + qsizetype(position), std::move(stock));
    return true;
}

bool RemoveAt(int index)
{
    if (!InRange(index))
        return false;
    g_stocks.erase(g_stocks.begin() + index);
    return true;
}

bool Move(int from, int to)
{
    if (!InRange(from) || !InRange(to))
        return false;
    // The stock ends up at `to`; the others keep their order.
    const auto first = g_stocks.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else if (from > to)
        std::rotate(first + to, first + from, first + from + 1);
    return true;
}

void DeleteAll()
{
    g_stocks.clear();
}

bool Load()
{
    // The stocks are parsed straight from the file's text: only the texts a stock keeps are copied.
    DataFile::ContentsView contents;
    if (DataFile::Load(StockFile(), contents) == DataFile::Source::None)
        return false;

    // Stocks without a time zone take their country's default: read URL.ini once for all of them.
    Countries::ConfigurationSnapshot configuration;
    g_stocks.reserve(g_stocks.size() + size_t(contents.records.size()));
    const Stock* previous = nullptr; // neighbours mostly share a time zone: and then its string
    for (const QStringView record : contents.records) {
        auto stock = std::make_unique<Stock>();
        stock->version = contents.version;
        stock->ParseLine(record, previous);
        previous = stock.get();
        g_stocks.push_back(std::move(stock));
    }
    return true;
}

bool Save()
{
    QStringList records;
    records.reserve(qsizetype(g_stocks.size()));
    for (const auto& stock : g_stocks) {
        stock->Format();
        records.append(stock->line);
    }
    return DataFile::Save(StockFile(), records);
}

} // namespace StockList
