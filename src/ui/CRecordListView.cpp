#include "ui/CRecordListView.h"

#include "ui/CRecordListModel.h"

#include <QHeaderView>

CRecordListView::CRecordListView(CRecordListModel* model, QAbstractItemView::SelectionMode selection, QWidget* parent)
    : QTreeView(parent)
{
    setModel(model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(selection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(false);
}

int CRecordListView::CurrentItem() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CRecordListView::SelectItem(int index)
{
    selectionModel()->clear();
    if (index >= 0 && index < model()->rowCount()) {
        const QModelIndex item = model()->index(index, 0);
        selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(item);
    }
}
