#pragma once

#include <QTreeView>

class CSortHeader;
class CStockListModel;

// The Stocks page's list: a report view over CStockListModel with one selected row at a time, the
// whole row selected, the state image in the first column, alternating row colours (from the model)
// and the sort header. Alt+Up and Alt+Down ask for the selected stock to move.
class CStockListCtrl : public QTreeView
{
    Q_OBJECT

public:
    explicit CStockListCtrl(QWidget* parent = nullptr);

    CStockListModel* StockModel() const { return m_model; }
    CSortHeader* SortHeader() const { return m_header; }

    // Shows the arrow on column criterion - 1 (none for criterion 0), ascending when order is 0.
    void ShowSortArrow(int criterion, int order);
    // Clears the selection and current row; then selects and makes current `row` when it is a row.
    void SelectOnly(int row);
    // The first selected row, -1 when none.
    int SelectedRow() const;

signals:
    void MoveUpRequested();
    void MoveDownRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CStockListModel* m_model = nullptr;
    CSortHeader* m_header = nullptr;
};
