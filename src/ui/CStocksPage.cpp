#include "ui/CStocksPage.h"

#include "base/UserMessage.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/CRule.h"
#include "rules/CompanionValues.h"
#include "rules/RuleList.h"
#include "ui/CEditStockDlg.h"
#include "ui/CRulesPage.h"
#include "ui/CSortHeader.h"
#include "ui/CStockListCtrl.h"
#include "ui/CStockListModel.h"
#include "ui/IPageHost.h"
#include "ui/LayoutManager.h"
#include "ui/PageBrowser.h"
#include "ui/PageLayouts.h"
#include "ui/StockSort.h"

#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int HelpTopic = 61207;

const QString& DisableText()
{
    static const QString text = u"D&isable"_s;
    return text;
}

const QString& EnableText()
{
    static const QString text = u"E&nable"_s;
    return text;
}

} // namespace

CStocksPage::CStocksPage(IPageHost& host, QWidget* parent)
    : CTabPage(host, parent)
{
    using namespace StocksPageIds;
    setWindowTitle(u"&Stocks"_s);
    setWindowIcon(QIcon(u":/tabs/stocks.svg"_s));
    resize(MapDialogRect(*this, QRect(0, 0, 279, 185)).size());

    m_list = new CStockListCtrl(this);
    SetControlId(m_list, StocksPageIds::List);
    m_list->setGeometry(MapDialogRect(*this, QRect(7, 7, 203, 156)));

    int y = 7;
    for (const auto& [id, text] :
         {std::pair{Add, u"&Add ..."_s}, std::pair{Edit, u"&Edit ..."_s}, std::pair{Disable, DisableText()},
          std::pair{Remove, u"Re&move"_s}, std::pair{AddRule, u"Add R&ule"_s}, std::pair{Read, u"Rea&d"_s},
          std::pair{Help, u"Hel&p"_s}}) {
        AddButton(id, text, QRect(213, y, 63, 14));
        y += 18;
    }

    QPushButton* unsort = AddButton(Unsort, u"U&nsort"_s, QRect(7, 167, 40, 14));
    unsort->setToolTip(u"Click to display stocks in unsorted order.  Click the top of the stock list to sort on "
                       "that column."_s);
    QPalette blue = unsort->palette();
    blue.setColor(QPalette::ButtonText, QColor(0, 0, 255));
    unsort->setPalette(blue);

    QPushButton* down = AddButton(MoveDown, QString(), QRect(50, 167, 14, 14));
    down->setIcon(QIcon(u":/pages/move-down.svg"_s));
    down->setToolTip(u"Move selected stock down (Alt+Down)"_s);
    down->setAccessibleName(u"Move down"_s);
    QPushButton* up = AddButton(MoveUp, QString(), QRect(66, 167, 14, 14));
    up->setIcon(QIcon(u":/pages/move-up.svg"_s));
    up->setToolTip(u"Move selected stock up (Alt+Up)"_s);
    up->setAccessibleName(u"Move up"_s);
    AddButton(News, u"Ne&ws Stories"_s, QRect(100, 167, 52, 14));
    AddButton(Chart, u"&Chart"_s, QRect(155, 167, 55, 14));
    SetDefaultButton(Chart);

    // Tab order: the list, the buttons down the right side, then the bottom row.
    QWidget* previous = m_list;
    for (const int id : {Add, Edit, Disable, Remove, AddRule, Read, Help, Unsort, MoveDown, MoveUp, News, Chart}) {
        setTabOrder(previous, Button(id));
        previous = Button(id);
    }

    connect(Button(Add), &QPushButton::clicked, this, &CStocksPage::OnAdd);
    connect(Button(Edit), &QPushButton::clicked, this, &CStocksPage::OnEdit);
    connect(Button(Disable), &QPushButton::clicked, this, &CStocksPage::OnDisable);
    connect(Button(Remove), &QPushButton::clicked, this, &CStocksPage::OnRemove);
    connect(Button(AddRule), &QPushButton::clicked, this, &CStocksPage::OnAddRule);
    connect(Button(Read), &QPushButton::clicked, this, &CStocksPage::OnRead);
    connect(Button(Help), &QPushButton::clicked, this, &CStocksPage::OnHelp);
    connect(Button(Chart), &QPushButton::clicked, this, &CStocksPage::OnChart);
    connect(Button(News), &QPushButton::clicked, this, &CStocksPage::OnNews);
    connect(Button(MoveDown), &QPushButton::clicked, this, &CStocksPage::OnMoveDown);
    connect(Button(MoveUp), &QPushButton::clicked, this, &CStocksPage::OnMoveUp);
    connect(Button(Unsort), &QPushButton::clicked, this, &CStocksPage::OnUnsort);

    connect(m_list, &CStockListCtrl::MoveUpRequested, this, &CStocksPage::OnMoveUp);
    connect(m_list, &CStockListCtrl::MoveDownRequested, this, &CStocksPage::OnMoveDown);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { PressDefaultButton(); });
    connect(m_list, &QWidget::customContextMenuRequested, this, &CStocksPage::ShowContextMenu);
    connect(m_list->SortHeader(), &QHeaderView::sectionClicked, this, &CStocksPage::OnHeaderClick);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateButtons(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { UpdateButtons(); });

    UpdateButtons();
}

std::span<const LayoutRule> CStocksPage::GetLayout() const
{
    return StocksPageLayout();
}

Stock* CStocksPage::SelectedStock() const
{
    return StockList::At(StorageIndexOfRow(m_list->SelectedRow()));
}

int CStocksPage::StorageIndexOfRow(int row) const
{
    return m_list->StockModel()->StorageIndexOfRow(row);
}

void CStocksPage::RedrawRow(int row)
{
    m_list->StockModel()->RedrawRow(row);
}

void CStocksPage::SetDefaultButton(int id)
{
    if (QPushButton* previous = Button(m_defaultButtonId))
        previous->setDefault(false);
    m_defaultButtonId = id;
    if (QPushButton* button = Button(id))
        button->setDefault(true);
}

void CStocksPage::UpdateButtons()
{
    using namespace StocksPageIds;
    const Stock* stock = SelectedStock();
    const bool selected = stock != nullptr;
    for (const int id : {Edit, Disable, Remove, AddRule, Read})
        Button(id)->setEnabled(selected);
    const bool chart = selected && !stock->ChartURL().isEmpty();
    const bool news = selected && !stock->StoriesURL().isEmpty();
    Button(Chart)->setEnabled(chart);
    Button(News)->setEnabled(news);
    if (chart)
        SetDefaultButton(Chart);
    else if (news)
        SetDefaultButton(News);
    Button(Disable)->setText(selected && stock->IsEnabled() ? DisableText() : EnableText());
}

void CStocksPage::FitColumns()
{
    for (int column = 0; column < CStockListModel::ColumnCount; ++column)
        m_list->resizeColumnToContents(column);
}

bool CStocksPage::Commit()
{
    ReSort();
    FitColumns();
    UpdateButtons();
    return StockList::Save();
}

void CStocksPage::Fill()
{
    CStockListModel* model = m_list->StockModel();
    model->Clear();
    m_list->ShowSortArrow(QueryStockSortCriteria(), QueryStockSortOrder());
    for (int i = 0; i < StockList::Count(); ++i)
        model->InsertRow(i, i);
    if (model->rowCount() > 0) {
        m_list->SelectOnly(0);
        ReSort();
    }
    FitColumns();
    UpdateButtons();
}

void CStocksPage::ReSort()
{
    CStockListModel* model = m_list->StockModel();
    if (model->rowCount() > 1) {
        const int criterion = QueryStockSortCriteria();
        if (criterion != 0) {
            model->Sort(criterion, QueryStockSortOrder());
        } else {
            const int remembered = StorageIndexOfRow(m_list->SelectedRow());
            model->Renumber();
            m_list->SelectOnly(remembered);
        }
        if (m_list->currentIndex().isValid())
            m_list->scrollTo(m_list->currentIndex());
    }
    Host().RebuildStrip();
}

void CStocksPage::InsertNewStock(std::unique_ptr<Stock> stock)
{
    if (!stock)
        return;
    CStockListModel* model = m_list->StockModel();
    int position = model->rowCount();
    const bool sorted = QueryStockSortCriteria() != 0;
    if (!sorted)
        position = std::max(0, m_list->SelectedRow());
    if (!StockList::InsertAt(position, std::move(stock)))
        return;
    model->InsertRow(position, position);
    if (!sorted) {
        for (int row = position + 1; row < model->rowCount(); ++row)
            model->SetItemData(row, row);
    }
    m_list->SelectOnly(position);
    Host().StartUpdateCycle();
    Commit();
}

void CStocksPage::OnAdd()
{
    InsertNewStock(NewStock(Host(), this));
}

void CStocksPage::OnEdit()
{
    const int row = m_list->SelectedRow();
    Stock* stock = SelectedStock();
    if (!stock)
        return;
    const QString symbol = stock->Symbol();
    if (!RunStockEditor(*stock, Host(), this))
        return;
    RedrawRow(row);
    if (stock->Symbol() != symbol)
        Host().StartUpdateCycle();
    Commit();
}

void CStocksPage::OnDisable()
{
    Stock* stock = SelectedStock();
    if (!stock)
        return;
    stock->SetState(stock->IsEnabled() ? u"Disabled"_s : u"Enabled"_s);
    RedrawRow(m_list->SelectedRow());
    Commit();
    UpdateButtons();
    m_list->setFocus();
}

void CStocksPage::RemoveRulesOf(const Stock& stock)
{
    if (m_rulesPage) {
        m_rulesPage->RemoveRulesOfStock(stock);
        return;
    }
    // Without a Rules page (the page used on its own) the rule list is kept consistent directly.
    bool removed = false;
    for (int i = 0; i < GetRuleCount();) {
        if (GetRule(i)->StockName() == stock.Name()) {
            RemoveRule(i);
            removed = true;
        } else {
            ++i;
        }
    }
    if (removed)
        SaveRules();
}

void CStocksPage::OnRemove()
{
    const int row = m_list->SelectedRow();
    const int storage = StorageIndexOfRow(row);
    const Stock* stock = StockList::At(storage);
    if (!stock)
        return;
    RemoveRulesOf(*stock);

    CStockListModel* model = m_list->StockModel();
    for (int other = 0; other < model->rowCount(); ++other) {
        const int itemData = model->StorageIndexOfRow(other);
        if (itemData > storage)
            model->SetItemData(other, itemData - 1);
    }
    StockList::RemoveAt(storage);
    model->RemoveRow(row);
    m_list->SelectOnly(std::min(row, model->rowCount() - 1));
    Commit();
    m_list->setFocus();
}

void CStocksPage::OnAddRule()
{
    const Stock* stock = SelectedStock();
    if (stock && m_rulesPage)
        m_rulesPage->AddRule(stock->Name());
}

void CStocksPage::OnRead()
{
    if (const Stock* stock = SelectedStock())
        Host().SayStock(*stock, true);
}

void CStocksPage::OnHelp()
{
    Host().ShowHelpTopic(HelpTopic);
}

void CStocksPage::OnChart()
{
    if (const Stock* stock = SelectedStock()) {
        const QString url = stock->ChartURL();
        if (!url.isEmpty())
            OpenPageLink(url);
    }
}

void CStocksPage::OnNews()
{
    if (const Stock* stock = SelectedStock()) {
        const QString url = stock->StoriesURL();
        if (!url.isEmpty())
            OpenPageLink(url);
    }
}

bool CStocksPage::AskToUnsort(const QString& question)
{
    if (QueryStockSortCriteria() == 0)
        return false;
    if (ShowUserMessage(question, u"Quorvane"_s, MessageIcon::Question, MessageButtons::YesNo) == MessageResult::Yes)
        OnUnsort();
    return true;
}

void CStocksPage::SaveStocks()
{
    StockList::Save();
}

void CStocksPage::OnMoveDown()
{
    if (AskToUnsort(u"Your stocks are currently sorted and cannot be moved.\nWould you like to unsort your stocks so "
                    "you that you can re-order them?"_s))
        return;
    m_list->setFocus();
    const int row = m_list->SelectedRow();
    if (row < 0 || row >= m_list->StockModel()->rowCount() - 1)
        return;
    if (!StockList::Move(row, row + 1))
        return;
    m_list->SelectOnly(row + 1);
    RedrawRow(row);
    RedrawRow(row + 1);
    Host().RebuildStrip();
    SaveStocks();
}

void CStocksPage::OnMoveUp()
{
    if (AskToUnsort(u"Your stocks are currently sorted and cannot be moved.\nWould you like to switch to Unsorted "
                    "order so you can re-order your stocks?"_s))
        return;
    m_list->setFocus();
    const int row = m_list->SelectedRow();
    if (row <= 0 || row >= m_list->StockModel()->rowCount())
        return;
    if (!StockList::Move(row, row - 1))
        return;
    m_list->SelectOnly(row - 1);
    RedrawRow(row);
    RedrawRow(row - 1);
    Host().RebuildStrip();
    SaveStocks();
}

void CStocksPage::OnUnsort()
{
    if (QueryStockSortCriteria() != 0) {
        StoreStockSortCriteria(0);
        m_list->ShowSortArrow(0, QueryStockSortOrder());
        ReSort();
        FitColumns();
    }
    m_list->setFocus();
}

void CStocksPage::OnHeaderClick(int column)
{
    if (column < 0 || column >= CStockListModel::ColumnCount)
        return;
    const StockSort::Choice choice =
        StockSort::AfterHeaderClick({QueryStockSortCriteria(), QueryStockSortOrder()}, column);
    StoreStockSortCriteria(choice.criterion);
    StoreStockSortOrder(choice.order);
    m_list->ShowSortArrow(choice.criterion, choice.order);
    ReSort();
    FitColumns(); // the sorted column's title needs room for the arrow
}

void CStocksPage::PressDefaultButton()
{
    QPushButton* button = Button(m_defaultButtonId);
    if (button && button->isEnabled())
        button->click();
}

std::unique_ptr<QMenu> CStocksPage::BuildContextMenu()
{
    using namespace StocksPageIds;
    auto menu = std::make_unique<QMenu>(this);
    menu->setDefaultAction(AddMenuItem(*menu, Chart, u"&Goto Chart"_s));
    AddMenuItem(*menu, News, u"Goto &Stories"_s);
    menu->addSeparator();
    AddMenuItem(*menu, Add, u"&Add"_s);
    AddMenuItem(*menu, Edit, u"&Edit"_s);
    menu->addSeparator();
    AddMenuItem(*menu, AddRule, u"Add R&ule"_s);
    AddMenuItem(*menu, Read, u"R&ead"_s);
    menu->addSeparator();
    AddMenuItem(*menu, Disable, Button(Disable)->text());
    AddMenuItem(*menu, Remove, u"&Remove"_s);
    return menu;
}

void CStocksPage::ShowContextMenu(const QPoint& position)
{
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    ExecMenu(*menu, *m_list, position, MenuSide::LeftEdgeAtPoint);
}
