#pragma once

#include "ui/CTabPage.h"

#include <QPointer>

#include <memory>

class CRulesPage;
class CStockListCtrl;
class QMenu;
class QPushButton;
class Stock;

// The Stocks tab: the stock list (name, change with percent, price, volume, time of the quote) and
// the commands on it: add, edit, enable or disable, remove, reorder and sort stocks, open the chart
// or news page, have the character read a stock, add a rule for it. After every change it re-sorts,
// fits its columns and saves the stock file (Commit).
class CStocksPage : public CTabPage
{
    Q_OBJECT

public:
    explicit CStocksPage(IPageHost& host, QWidget* parent = nullptr);

    // Remove takes the stock's rules away through this page, Add Rule adds one there.
    void SetRulesPage(CRulesPage* rulesPage) { m_rulesPage = rulesPage; }

    void UpdateButtons() override;
    // Re-sorts, fits the columns, updates the buttons and saves the stock file; the result of the save.
    bool Commit() override;
    void FitColumns() override;
    void Fill() override;
    std::span<const LayoutRule> GetLayout() const override;

    // Re-reads one row from its stock (the update cycle, for a stock whose shown values changed).
    void RedrawRow(int row);
    // The row's item data: the storage index of its stock; -1 outside the rows.
    int StorageIndexOfRow(int row) const;

    // Sorts the rows by the sort criterion, or restores the user's order when there is none (the
    // selection stays on its stock), then refreshes the Stock Strip.
    void ReSort();

    // Inserts a stock made by the Add command: at the end while sorted, else at the selected row.
    void InsertNewStock(std::unique_ptr<Stock> stock);

    // The commands (also the context menu's).
    void OnAdd();
    void OnEdit();
    void OnDisable();
    void OnRemove();
    void OnAddRule();
    void OnRead();
    void OnHelp();
    void OnChart();
    void OnNews();
    void OnMoveDown();
    void OnMoveUp();
    void OnUnsort();
    void OnHeaderClick(int column);
    // What a double click does: the default button's command (when that button is enabled).
    void PressDefaultButton();

    // The context menu as it would open now (greyed items, the Disable item's text, the default item).
    std::unique_ptr<QMenu> BuildContextMenu();

    CStockListCtrl* List() const { return m_list; }
    int DefaultButtonId() const { return m_defaultButtonId; }

private:
    Stock* SelectedStock() const;
    void SetDefaultButton(int id);
    void ShowContextMenu(const QPoint& position);
    void RemoveRulesOf(const Stock& stock);
    bool AskToUnsort(const QString& question);
    void SaveStocks();

    CStockListCtrl* m_list = nullptr;
    int m_defaultButtonId = 0;
    QPointer<CRulesPage> m_rulesPage;
};
