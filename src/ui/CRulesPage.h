#pragma once

#include "ui/CRecordListView.h"
#include "ui/CTabPage.h"

#include <memory>

class CRecordListModel;
class CRule;
class QMenu;
class QPushButton;
class Stock;

// The Rules tab: the rule list (description and announcement) with Add, Edit and Remove. It also
// adds rules for the Stocks page (Add Rule), edits them for the Alerts page and removes the rules of
// a stock that is removed. Every change is written to the rule file at once (Commit).
class CRulesPage : public CTabPage
{
    Q_OBJECT

public:
    explicit CRulesPage(IPageHost& host, QWidget* parent = nullptr);

    void UpdateButtons() override;
    bool Commit() override;
    void FitColumns() override;
    // Also commits, so the rule file is rewritten after start-up.
    void Fill() override;
    std::span<const LayoutRule> GetLayout() const override;

    // Adds a rule for the stock name ("(New)" from the Add button: the dialog then picks the first
    // stock) at the current item and edits it; cancelling the dialog removes the rule again.
    void AddRule(const QString& stockName);
    // Edits rule i in the Edit Rule dialog; true on OK.
    bool EditRule(int index);
    // Removes every rule of the stock (its display name, exactly), then commits.
    void RemoveRulesOfStock(const Stock& stock);
    // The list index of a rule, -1 when it is not in the list.
    int IndexOfRule(const CRule* rule) const;

    // The current item (the one with the keyboard focus), -1 when none.
    int CurrentItem() const;
    // Clears the selection; then selects item i and makes it current when it is an item.
    void SelectItem(int index);

    void OnAdd();
    void OnEdit();
    void OnRemove();
    void OnHelp();

    std::unique_ptr<QMenu> BuildContextMenu();

    QTreeView* List() const { return m_list; }

private:
    void ShowContextMenu(const QPoint& position);

    CRecordListView* m_list = nullptr;
    CRecordListModel* m_model = nullptr;
};
