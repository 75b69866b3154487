#pragma once

#include "rules/IAlertSink.h"
#include "ui/CRecordListView.h"
#include "ui/CTabPage.h"

#include <QPointer>

#include <memory>

class CRecordListModel;
class CRulesPage;
class QMenu;
class QPushButton;

// The Alerts tab: the alerts, newest first (rule, price, when), with Edit Rule, Remove (of every
// selected alert) and Remove All. Rule checking raises and refreshes alerts through it (IAlertSink):
// the list is saved and the tray shows the alert icon; any selection the user makes, and Remove All,
// switch the tray back to the program icon.
class CAlertsPage : public CTabPage, public IAlertSink
{
    Q_OBJECT

public:
    explicit CAlertsPage(IPageHost& host, QWidget* parent = nullptr);

    // Edit Rule opens the alert's rule through this page.
    void SetRulesPage(CRulesPage* rulesPage) { m_rulesPage = rulesPage; }

    // Also shows the alert count in the status bar.
    void UpdateButtons() override;
    bool Commit() override;
    void FitColumns() override;
    void Fill() override;
    std::span<const LayoutRule> GetLayout() const override;

    // IAlertSink
    void RaiseAlert(const QString& ruleDescription, const QString& price, const QString& when, const QString& country,
                    const QString& stockName) override;
    void RefreshAlert(int index, const QString& price, const QString& when) override;

    int CurrentItem() const;
    void SelectItem(int index);

    void OnEditRule();
    void OnRemove();
    void OnRemoveAll();
    void OnHelp();

    std::unique_ptr<QMenu> BuildContextMenu();

    QTreeView* List() const { return m_list; }

private:
    void OnItemStateChanged();
    void ShowContextMenu(const QPoint& position);

    CRecordListView* m_list = nullptr;
    CRecordListModel* m_model = nullptr;
    QPointer<CRulesPage> m_rulesPage;
};
