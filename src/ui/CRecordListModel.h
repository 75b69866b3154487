#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

#include <functional>

// A report list over one of the process-wide record lists (rules, alerts): row i is record i, and
// every text is read from the record when the view asks. The page changes the record list between
// the Begin/End calls below, so the view always sees the list as it is.
class CRecordListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using CountFunction = std::function<int()>;
    using TextFunction = std::function<QString(int row, int column)>;

    CRecordListModel(QStringList headers, CountFunction count, TextFunction text, QIcon icon,
                     QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void BeginInsert(int row) { beginInsertRows({}, row, row); }
    void EndInsert() { endInsertRows(); }
    void BeginRemove(int row) { beginRemoveRows({}, row, row); }
    void EndRemove() { endRemoveRows(); }
    // The record at `from` moved to `to` (both valid rows).
    void BeginMove(int from, int to);
    void EndMove() { endMoveRows(); }
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    void RowChanged(int row);

private:
    QStringList m_headers;
    CountFunction m_count;
    TextFunction m_text;
    QIcon m_icon;
};
