#include "ui/CStockListModel.h"

#include "base/CSettings.h"
#include "market/Stock.h"
#include "ui/StockSort.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

using namespace Qt::StringLiterals;

CStockListModel::CStockListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    for (int image = ImageUnchanged; image <= ImageNoData; ++image)
        m_icons[static_cast<size_t>(image)] = StateIcon(static_cast<StateImage>(image));
    StockList::SetDisplayOrder(this);
}

CStockListModel::~CStockListModel()
{
    StockList::SetDisplayOrder(nullptr);
}

int CStockListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_itemData.size());
}

int CStockListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CStockListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const Stock* stock = StockOfRow(index.row());
        return stock ? ColumnText(*stock, index.column()) : QString();
    }
    case Qt::DecorationRole: {
        const Stock* stock = StockOfRow(index.row());
        if (index.column() != StockColumn || !stock)
            return {};
        return m_icons[static_cast<size_t>(ImageOf(*stock))];
    }
    case Qt::TextAlignmentRole:
        return headerData(index.column(), Qt::Horizontal, role);
    case Qt::BackgroundRole: {
        const CSettings& settings = GetSettings();
        return QBrush(SettingColor(index.row() % 2 != 0 ? settings.colorOddRow : settings.colorEvenRow));
    }
    default:
        return {};
    }
}

QVariant CStockListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        static const std::array<QString, ColumnCount> titles = {u"Stock"_s, u"Change (%)"_s, u"Price"_s, u"Volume"_s,
                                                                u"When"_s};
        return titles[static_cast<size_t>(section)];
    }
    if (role == Qt::TextAlignmentRole) {
        const bool right = section == ChangeColumn || section == PriceColumn || section == VolumeColumn;
        return static_cast<int>((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

int CStockListModel::StorageIndexOfRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return m_itemData[static_cast<size_t>(row)];
}

void CStockListModel::Clear()
{
    beginResetModel();
    m_itemData.clear();
    endResetModel();
}

void CStockListModel::InsertRow(int row, int itemData)
{
    row = std::clamp(row, 0, rowCount());
    beginInsertRows({}, row, row);
    m_itemData.insert(m_itemData.begin() + row, itemData);
    endInsertRows();
}

void CStockListModel::RemoveRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_itemData.erase(m_itemData.begin() + row);
    endRemoveRows();
}

void CStockListModel::SetItemData(int row, int itemData)
{
    if (row < 0 || row >= rowCount())
        return;
    m_itemData[static_cast<size_t>(row)] = itemData;
    RedrawRow(row);
}

void CStockListModel::Renumber()
{
    for (size_t row = 0; row < m_itemData.size(); ++row)
        m_itemData[row] = static_cast<int>(row);
    RedrawAll();
}

int CStockListModel::RowOfItemData(int itemData) const
{
    const auto found = std::find(m_itemData.begin(), m_itemData.end(), itemData);
    return found == m_itemData.end() ? -1 : static_cast<int>(found - m_itemData.begin());
}

void CStockListModel::RedrawRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void CStockListModel::RedrawAll()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void CStockListModel::Sort(int criterion, int order)
{
    if (m_itemData.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    // Which row each old row ends up in, so that persistent indexes (the selection) follow them.
    std::vector<int> rows(m_itemData.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int>(i);
    std::stable_sort(rows.begin(), rows.end(), [&](int left, int right) {
        return StockSort::CompareStocks(m_itemData[static_cast<size_t>(left)], m_itemData[static_cast<size_t>(right)],
                                        criterion, order) < 0;
    });
    std::vector<int> newRowOfOld(rows.size());
    std::vector<int> sorted(rows.size());
    for (size_t newRow = 0; newRow < rows.size(); ++newRow) {
        newRowOfOld[static_cast<size_t>(rows[newRow])] = static_cast<int>(newRow);
        sorted[newRow] = m_itemData[static_cast<size_t>(rows[newRow])];
    }
    m_itemData = std::move(sorted);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newRowOfOld[static_cast<size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString CStockListModel::ColumnText(const Stock& stock, int column)
{
    const int displayType = GetSettings().pricesFormat != 0 ? 1 : 2;
    switch (column) {
    case StockColumn:
        return stock.Name();
    case ChangeColumn:
        if (!stock.HasQuote())
            return {};
        return stock.FormatChange(displayType, 0) + u" ("_s + stock.FormatPercent(1) + u')';
    case PriceColumn:
        return stock.HasQuote() ? stock.FormatPrice(displayType, 1) : u"N/A"_s;
    case VolumeColumn: {
        const QString volume = stock.FormatVolume(true);
        return volume.startsWith(u'0') ? QString() : volume;
    }
    case WhenColumn:
        return stock.HasQuote() ? stock.FormatTime(false) : QString();
    default:
        return {};
    }
}

CStockListModel::StateImage CStockListModel::ImageOf(const Stock& stock)
{
    if (!stock.IsEnabled())
        return ImageDisabled;
    if (!stock.HasQuote())
        return ImageNoData;
    switch (stock.Direction()) {
    case Stock::Up:
        return ImageUp;
    case Stock::Down:
        return ImageDown;
    default:
        return ImageUnchanged;
    }
}

QIcon CStockListModel::StateIcon(StateImage image)
{
    switch (image) {
    case ImageDisabled:
        return QIcon(u":/pages/stock-disabled.svg"_s);
    case ImageUp:
        return QIcon(u":/pages/stock-up.svg"_s);
    case ImageDown:
        return QIcon(u":/pages/stock-down.svg"_s);
    case ImageNoData:
        return QIcon(u":/pages/stock-nodata.svg"_s);
    default:
        return QIcon(u":/pages/stock-unchanged.svg"_s);
    }
}

QColor CStockListModel::SettingColor(qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    return QColor(static_cast<int>(bits & 0xffu), static_cast<int>((bits >> 8) & 0xffu),
                  static_cast<int>((bits >> 16) & 0xffu));
}

const Stock* CStockListModel::StockOfRow(int row) const
{
    return StockList::At(StorageIndexOfRow(row));
}
