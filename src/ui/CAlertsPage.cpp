#include "ui/CAlertsPage.h"

#include "rules/AlertList.h"
#include "rules/CAlert.h"
#include "rules/RuleList.h"
#include "ui/CRecordListModel.h"
#include "ui/CRecordListView.h"
#include "ui/CRulesPage.h"
#include "ui/IPageHost.h"
#include "ui/LayoutManager.h"
#include "ui/PageLayouts.h"

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

constexpr int HelpTopic = 61209;

QString AlertText(int row, int column)
{
    const CAlert* alert = GetAlert(row);
    if (!alert)
        return {};
    switch (column) {
    case 0:
        return alert->RuleDescription();
    case 1:
        return alert->DisplayPrice();
    default:
        return alert->When();
    }
}

} // namespace

CAlertsPage::CAlertsPage(IPageHost& host, QWidget* parent)
    : CTabPage(host, parent)
{
    using namespace AlertsPageIds;
    setWindowTitle(u"A&lerts"_s);
    setWindowIcon(QIcon(u":/tabs/alerts.svg"_s));
    resize(MapDialogRect(*this, QRect(0, 0, 279, 185)).size());

    m_model = new CRecordListModel({u"Rule"_s, u"Price"_s, u"When"_s}, &GetAlertCount, &AlertText,
                                   QIcon(u":/pages/alert.svg"_s), this);
    m_list = new CRecordListView(m_model, QAbstractItemView::ExtendedSelection, this);
    SetControlId(m_list, AlertsPageIds::List);
    m_list->setGeometry(MapDialogRect(*this, QRect(7, 7, 203, 171)));

    int y = 7;
    for (const auto& [id, text] : {std::pair{EditRule, u"&Edit Rule"_s}, std::pair{Remove, u"Re&move"_s},
                                   std::pair{RemoveAll, u"Remo&ve All"_s}, std::pair{Help, u"Hel&p"_s}}) {
        AddButton(id, text, QRect(213, y, 63, 14));
        y += 18;
    }
    Button(EditRule)->setDefault(true);

    connect(Button(EditRule), &QPushButton::clicked, this, &CAlertsPage::OnEditRule);
    connect(Button(Remove), &QPushButton::clicked, this, &CAlertsPage::OnRemove);
    connect(Button(RemoveAll), &QPushButton::clicked, this, &CAlertsPage::OnRemoveAll);
    connect(Button(Help), &QPushButton::clicked, this, &CAlertsPage::OnHelp);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &CAlertsPage::OnEditRule);
    connect(m_list, &QWidget::customContextMenuRequested, this, &CAlertsPage::ShowContextMenu);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CAlertsPage::OnItemStateChanged);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &CAlertsPage::OnItemStateChanged);

    UpdateButtons();
}

std::span<const LayoutRule> CAlertsPage::GetLayout() const
{
    return AlertsPageLayout();
}

int CAlertsPage::CurrentItem() const
{
    return m_list->CurrentItem();
}

void CAlertsPage::SelectItem(int index)
{
    m_list->SelectItem(index);
}

void CAlertsPage::OnItemStateChanged()
{
    UpdateButtons();
    Host().SetTrayAlertIcon(false);
}

void CAlertsPage::UpdateButtons()
{
    using namespace AlertsPageIds;
    const bool current = CurrentItem() != -1;
    Button(EditRule)->setEnabled(current);
    Button(Remove)->setEnabled(current);
    Button(RemoveAll)->setEnabled(m_model->rowCount() > 0);
    Host().SetAlertCount(GetAlertCount());
}

void CAlertsPage::FitColumns()
{
    for (int column = 0; column < 3; ++column)
        m_list->resizeColumnToContents(column);
    QHeaderView* header = m_list->header();
    header->resizeSection(0, header->sectionSize(0) + m_list->fontMetrics().horizontalAdvance(u"888"_s));
    header->resizeSection(1, header->sectionSize(1) + m_list->fontMetrics().horizontalAdvance(u"88"_s));
    m_list->resizeColumnToContents(2);
}

bool CAlertsPage::Commit()
{
    FitColumns();
    Host().RebuildStrip();
    const bool saved = SaveAlerts();
    UpdateButtons();
    return saved;
}

void CAlertsPage::Fill()
{
    m_model->BeginReset();
    m_model->EndReset();
    FitColumns();
    SelectItem(0);
    UpdateButtons();
}

void CAlertsPage::RaiseAlert(const QString& ruleDescription, const QString& price, const QString& when,
                             const QString& country, const QString& stockName)
{
    const int before = GetAlertCount();
    m_model->BeginInsert(0);
    InsertNewAlert(ruleDescription, price, when, country, stockName);
    m_model->EndInsert();
    if (GetAlertCount() == before) {
        // Nothing was inserted after all: let the view read the list afresh.
        m_model->BeginReset();
        m_model->EndReset();
        return;
    }
    Commit();
    Host().SetTrayAlertIcon(true);
}

void CAlertsPage::RefreshAlert(int index, const QString& price, const QString& when)
{
    const CAlert* alert = GetAlert(index);
    if (!alert || (alert->Price() == price && alert->When() == when))
        return;
    if (index > 0)
        m_model->BeginMove(index, 0);
    RefreshAlertAt(index, price, when);
    if (index > 0)
        m_model->EndMove();
    m_model->RowChanged(0);
    Commit();
    Host().SetTrayAlertIcon(true);
}

void CAlertsPage::OnEditRule()
{
    const CAlert* alert = GetAlert(CurrentItem());
    if (!alert || !m_rulesPage)
        return;
    const CRule* rule = FindRuleByDescription(alert->RuleDescription());
    if (!rule)
        return;
    const int index = m_rulesPage->IndexOfRule(rule);
    if (index != -1)
        m_rulesPage->EditRule(index);
}

void CAlertsPage::OnRemove()
{
    int last = -1;
    for (;;) {
        const QModelIndexList selected = m_list->selectionModel()->selectedRows();
        if (selected.isEmpty())
            break;
        int first = selected.front().row();
        for (const QModelIndex& index : selected)
            first = std::min(first, index.row());
        m_model->BeginRemove(first);
        RemoveAlert(first);
        m_model->EndRemove();
        last = first;
    }
    if (last == -1)
        return;
    SelectItem(last);
    Commit();
}

void CAlertsPage::OnRemoveAll()
{
    m_model->BeginReset();
    RemoveAllAlerts();
    m_model->EndReset();
    Host().SetTrayAlertIcon(false);
    Commit();
}

void CAlertsPage::OnHelp()
{
    Host().ShowHelpTopic(HelpTopic);
}

std::unique_ptr<QMenu> CAlertsPage::BuildContextMenu()
{
    using namespace AlertsPageIds;
    auto menu = std::make_unique<QMenu>(this);
    AddMenuItem(*menu, EditRule, u"&Edit Rule"_s);
    AddMenuItem(*menu, Remove, u"&Remove"_s);
    menu->addSeparator();
    AddMenuItem(*menu, RemoveAll, u"Remove &All"_s);
    return menu;
}

void CAlertsPage::ShowContextMenu(const QPoint& position)
{
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    // Opened with its right edge at the pointer.
    ExecMenu(*menu, *m_list, position, MenuSide::RightEdgeAtPoint);
}
