#pragma once

#include <QTreeView>

class CRecordListModel;

// The list of the Rules and Alerts pages: a flat report list of one record per row, whole rows
// selected, nothing edited in place, columns sized by the page, a context menu asked of the page.
class CRecordListView : public QTreeView
{
    Q_OBJECT

public:
    CRecordListView(CRecordListModel* model, QAbstractItemView::SelectionMode selection, QWidget* parent);

    // The row of the current item, -1 when there is none.
    int CurrentItem() const;
    // Makes the row the only selected and current one and scrolls to it; an index outside the list
    // only clears the selection.
    void SelectItem(int index);
};
