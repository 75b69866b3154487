#pragma once

#include "market/StockList.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <vector>

class Stock;

// The rows of the Stocks page's list. Each row holds only its "item data", the storage index of its
// stock in the stock list; every text, icon and colour is read from that stock when the view asks.
// Installed as the stock list's display order, so StockList::At(row, true) follows the rows.
//
// Columns: "Stock", "Change (%)", "Price", "Volume", "When". Rows alternate between the background
// colours "ColorEvenRow" and "ColorOddRow" (0x00BBGGRR).
class CStockListModel : public QAbstractTableModel, public StockList::IDisplayOrder
{
    Q_OBJECT

public:
    enum Column
    {
        StockColumn = 0,
        ChangeColumn = 1,
        PriceColumn = 2,
        VolumeColumn = 3,
        WhenColumn = 4,
        ColumnCount = 5,
    };

    // The state images, in the order of the list's image list.
    enum StateImage
    {
        ImageUnchanged = 0,
        ImageDisabled = 1,
        ImageUp = 2,
        ImageDown = 3,
        ImageNoData = 4,
    };

    explicit CStockListModel(QObject* parent = nullptr);
    ~CStockListModel() override; // uninstalls itself as the display order

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // StockList::IDisplayOrder: the row's item data, -1 outside the rows.
    int StorageIndexOfRow(int row) const override;

    // Row operations; item data are plain numbers that the page keeps in step with the stock list.
    void Clear();
    void InsertRow(int row, int itemData);
    void RemoveRow(int row);
    void SetItemData(int row, int itemData);
    // Sets every row's item data to its row number (the user's order).
    void Renumber();
    // The first row holding this item data, -1 when none does.
    int RowOfItemData(int itemData) const;

    // Re-reads one row, or every row, from the stocks.
    void RedrawRow(int row);
    void RedrawAll();

    // Sorts the rows with StockSort::CompareStocks (a stable sort: rows that compare equal keep their
    // order). Selections and other persistent indexes follow their rows.
    void Sort(int criterion, int order);

    // The texts and the image of a stock as the list shows them.
    static QString ColumnText(const Stock& stock, int column);
    static StateImage ImageOf(const Stock& stock);
    static QIcon StateIcon(StateImage image);
    // A colour setting (0x00BBGGRR) as a colour.
    static QColor SettingColor(qint32 value);

private:
    const Stock* StockOfRow(int row) const;

    std::vector<int> m_itemData;
    std::array<QIcon, 5> m_icons;
};
