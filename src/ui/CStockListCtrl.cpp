#include "ui/CStockListCtrl.h"

#include "ui/CSortHeader.h"
#include "ui/CStockListModel.h"

#include <QKeyEvent>

CStockListCtrl::CStockListCtrl(QWidget* parent)
    : QTreeView(parent)
    , m_model(new CStockListModel(this))
    , m_header(new CSortHeader(this))
{
    setHeader(m_header);
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setContextMenuPolicy(Qt::CustomContextMenu);
    m_header->setStretchLastSection(false);
    m_header->setSectionsClickable(true); // after setModel, which resets it
}

void CStockListCtrl::ShowSortArrow(int criterion, int order)
{
    m_header->SetSortColumn(criterion > 0 ? criterion - 1 : -1, order == 0);
}

void CStockListCtrl::SelectOnly(int row)
{
    selectionModel()->clear();
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
}

int CStockListCtrl::SelectedRow() const
{
    int first = -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) {
        if (first == -1 || index.row() < first)
            first = index.row();
    }
    return first;
}

void CStockListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::AltModifier) {
        if (event->key() == Qt::Key_Up) {
            emit MoveUpRequested();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Down) {
            emit MoveDownRequested();
            event->accept();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}
