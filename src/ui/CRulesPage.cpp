#include "ui/CRulesPage.h"

#include "market/Stock.h"
#include "rules/CRule.h"
#include "rules/RuleList.h"
#include "ui/CEditRuleDlg.h"
#include "ui/CRecordListModel.h"
#include "ui/CRecordListView.h"
#include "ui/IPageHost.h"
#include "ui/LayoutManager.h"
#include "ui/PageLayouts.h"

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

constexpr int HelpTopic = 61208;

QString RuleText(int row, int column)
{
    const CRule* rule = GetRule(row);
    if (!rule)
        return {};
    return column == 0 ? rule->Description() : rule->Announcement();
}

} // namespace

CRulesPage::CRulesPage(IPageHost& host, QWidget* parent)
    : CTabPage(host, parent)
{
    using namespace RulesPageIds;
    setWindowTitle(u"&Rules"_s);
    setWindowIcon(QIcon(u":/tabs/rules.svg"_s));
    resize(MapDialogRect(*this, QRect(0, 0, 279, 185)).size());

    m_model = new CRecordListModel({u"Rule"_s, u"Announcement"_s}, &GetRuleCount, &RuleText,
                                   QIcon(u":/pages/rule.svg"_s), this);
    m_list = new CRecordListView(m_model, QAbstractItemView::SingleSelection, this);
    SetControlId(m_list, RulesPageIds::List);
    m_list->setGeometry(MapDialogRect(*this, QRect(7, 7, 203, 171)));

    int y = 7;
    for (const auto& [id, text] : {std::pair{Add, u"&Add ..."_s}, std::pair{Edit, u"&Edit ..."_s},
                                   std::pair{Remove, u"Re&move"_s}, std::pair{Help, u"Hel&p"_s}}) {
        AddButton(id, text, QRect(213, y, 63, 14));
        y += 18;
    }
    Button(Edit)->setDefault(true);

    connect(Button(Add), &QPushButton::clicked, this, &CRulesPage::OnAdd);
    connect(Button(Edit), &QPushButton::clicked, this, &CRulesPage::OnEdit);
    connect(Button(Remove), &QPushButton::clicked, this, &CRulesPage::OnRemove);
    connect(Button(Help), &QPushButton::clicked, this, &CRulesPage::OnHelp);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &CRulesPage::OnEdit);
    connect(m_list, &QWidget::customContextMenuRequested, this, &CRulesPage::ShowContextMenu);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateButtons(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { UpdateButtons(); });

    UpdateButtons();
}

std::span<const LayoutRule> CRulesPage::GetLayout() const
{
    return RulesPageLayout();
}

int CRulesPage::CurrentItem() const
{
    return m_list->CurrentItem();
}

void CRulesPage::SelectItem(int index)
{
    m_list->SelectItem(index);
    UpdateButtons();
}

void CRulesPage::UpdateButtons()
{
    const bool current = CurrentItem() != -1;
    Button(RulesPageIds::Edit)->setEnabled(current);
    Button(RulesPageIds::Remove)->setEnabled(current);
}

void CRulesPage::FitColumns()
{
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);
    QHeaderView* header = m_list->header();
    header->resizeSection(0, header->sectionSize(0) + m_list->fontMetrics().horizontalAdvance(u"888"_s));
    m_list->resizeColumnToContents(1);
}

bool CRulesPage::Commit()
{
    FitColumns();
    Host().RebuildStrip(); // an alert without a stock name is marked through its rule
    const bool saved = SaveRules();
    UpdateButtons();
    return saved;
}

void CRulesPage::Fill()
{
    m_model->BeginReset();
    m_model->EndReset();
    FitColumns();
    SelectItem(0);
    Commit();
}

void CRulesPage::AddRule(const QString& stockName)
{
    auto rule = std::make_unique<CRule>();
    rule->SetStockName(stockName);
    const int index = std::max(0, CurrentItem());
    m_model->BeginInsert(index);
    const bool inserted = InsertRule(index, std::move(rule));
    m_model->EndInsert();
    if (!inserted)
        return;
    SelectItem(index);
    if (!EditRule(CurrentItem()))
        OnRemove();
}

bool CRulesPage::EditRule(int index)
{
    CRule* rule = GetRule(index);
    if (!rule)
        return false;
    CEditRuleDlg dialog(Host(), this);
    dialog.stockName = rule->StockName();
    dialog.attribute = rule->Attribute();
    dialog.operatorText = rule->OperatorText();
    dialog.number = rule->Number();
    dialog.announcement = rule->Announcement();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The rule may have gone while the dialog was open (it is modal, but be safe): look it up again.
    rule = GetRule(index);
    if (!rule)
        return false;
    rule->SetStockName(dialog.stockName);
    rule->SetAttribute(dialog.attribute);
    rule->SetOperator(dialog.operatorText);
    rule->SetNumber(dialog.number);
    rule->SetAnnouncement(dialog.announcement);
    m_model->RowChanged(index);
    Commit();
    return true;
}

void CRulesPage::RemoveRulesOfStock(const Stock& stock)
{
    for (int i = 0; i < GetRuleCount();) {
        if (GetRule(i)->StockName() == stock.Name()) {
            m_model->BeginRemove(i);
            RemoveRule(i);
            m_model->EndRemove();
        } else {
            ++i;
        }
    }
    Commit();
}

int CRulesPage::IndexOfRule(const CRule* rule) const
{
    for (int i = 0; i < GetRuleCount(); ++i) {
        if (GetRule(i) == rule)
            return i;
    }
    return -1;
}

void CRulesPage::OnAdd()
{
    AddRule(CRule::NewStockName());
}

void CRulesPage::OnEdit()
{
    const int current = CurrentItem();
    if (current != -1)
        EditRule(current);
}

void CRulesPage::OnRemove()
{
    const int current = CurrentItem();
    if (current == -1)
        return;
    m_model->BeginRemove(current);
    RemoveRule(current);
    m_model->EndRemove();
    if (m_model->rowCount() > 0)
        SelectItem(std::min(current, m_model->rowCount() - 1));
    Commit();
}

void CRulesPage::OnHelp()
{
    Host().ShowHelpTopic(HelpTopic);
}

std::unique_ptr<QMenu> CRulesPage::BuildContextMenu()
{
    using namespace RulesPageIds;
    auto menu = std::make_unique<QMenu>(this);
    AddMenuItem(*menu, Add, u"&Add"_s);
    AddMenuItem(*menu, Edit, u"&Edit"_s);
    menu->addSeparator();
    AddMenuItem(*menu, Remove, u"&Remove"_s);
    return menu;
}

void CRulesPage::ShowContextMenu(const QPoint& position)
{
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    // Opened with its right edge at the pointer.
    ExecMenu(*menu, *m_list, position, MenuSide::RightEdgeAtPoint);
}
