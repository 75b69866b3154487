#include "ui/CRecordListModel.h"

CRecordListModel::CRecordListModel(QStringList headers, CountFunction count, TextFunction text, QIcon icon,
                                   QObject* parent)
    : QAbstractTableModel(parent)
    , m_headers(std::move(headers))
    , m_count(std::move(count))
    , m_text(std::move(text))
    , m_icon(std::move(icon))
{}

int CRecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count();
}

int CRecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant CRecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_text(index.row(), index.column());
    if (role == Qt::DecorationRole && index.column() == 0)
        return m_icon;
    return {};
}

QVariant CRecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers.at(section);
    return {};
}

void CRecordListModel::BeginMove(int from, int to)
{
    // Qt names the destination as the row before which the moved row lands (in the old numbering).
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
}

void CRecordListModel::RowChanged(int row)
{
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}
