#include "ui/PageTestSupport.h"

#include "base/SettingsStore.h"
#include "ui/CEditStockDlg.h"
#include "ui/CQuorvaneDialog.h"
#include "ui/CRulesPage.h"
#include "ui/CSortHeader.h"
#include "ui/CStockListCtrl.h"
#include "ui/CStockListModel.h"
#include "ui/CStocksPage.h"
#include "ui/PageLayouts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace StocksPageIds;

namespace {

class StocksPageTest : public PageTest
{
protected:
    void Build()
    {
        m_window = std::make_unique<QWidget>();
        page = new CStocksPage(host, m_window.get());
        rules = new CRulesPage(host, m_window.get());
        page->SetRulesPage(rules);
        m_window->resize(page->size());
        m_window->show();
        rules->Fill();
        page->Fill();
    }

    // The names shown, row by row.
    QStringList Rows() const
    {
        QStringList names;
        const CStockListModel* model = page->List()->StockModel();
        for (int row = 0; row < model->rowCount(); ++row)
            names.append(model->index(row, CStockListModel::StockColumn).data().toString());
        return names;
    }

    QStringList Stored() const
    {
        QStringList names;
        for (int i = 0; i < StockList::Count(); ++i)
            names.append(StockList::At(i)->Name());
        return names;
    }

    QString Selected() const
    {
        const int row = page->List()->SelectedRow();
        return row < 0 ? QString() : Rows().value(row);
    }

    void SelectName(const QString& name) { page->List()->SelectOnly(static_cast<int>(Rows().indexOf(name))); }

    QString Cell(int row, int column) const { return page->List()->StockModel()->index(row, column).data().toString(); }

    void ClickHeader(int column)
    {
        CSortHeader* header = page->List()->SortHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        ASSERT_TRUE(header->isVisible());
        ASSERT_TRUE(header->sectionsClickable());
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    CStocksPage* page = nullptr;
    CRulesPage* rules = nullptr;

private:
    std::unique_ptr<QWidget> m_window;
};

// Fills the open Edit Stock dialog and presses OK.
void TypeStock(CEditStockDlg& dialog, const QString& name, const QString& symbol)
{
    dialog.NameEdit()->selectAll();
    QTest::keyClicks(dialog.NameEdit(), name);
    QTest::keyClicks(dialog.SymbolEdit(), symbol);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
}

} // namespace

TEST_F(StocksPageTest, FillShowsTheColumnsAndSelectsTheFirstRow)
{
    AddStock(u"Acme"_s, u"12.5"_s, u"0.25"_s, u"2.04%"_s, u"1200"_s, 1700000000);
    AddStock(u"Fresh"_s);
    Build();
    const CStockListModel* model = page->List()->StockModel();
    const QStringList headers{u"Stock"_s, u"Change (%)"_s, u"Price"_s, u"Volume"_s, u"When"_s};
    for (int column = 0; column < 5; ++column)
        EXPECT_EQ(model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), headers[column]);
    EXPECT_EQ(Rows(), (QStringList{u"Acme"_s, u"Fresh"_s}));
    EXPECT_EQ(Selected(), u"Acme"_s);
    EXPECT_EQ(page->StorageIndexOfRow(1), 1);
    EXPECT_EQ(page->StorageIndexOfRow(2), -1);
    EXPECT_EQ(StockList::At(1, true)->Name(), u"Fresh"_s);

    EXPECT_EQ(Cell(0, CStockListModel::ChangeColumn), u"+0.25 (+2.04%)"_s);
    EXPECT_EQ(Cell(0, CStockListModel::PriceColumn), u"12.50"_s);
    EXPECT_EQ(Cell(0, CStockListModel::VolumeColumn), u"1,200"_s);
    EXPECT_FALSE(Cell(0, CStockListModel::WhenColumn).isEmpty());
    EXPECT_EQ(CStockListModel::ImageOf(*StockList::At(0)), CStockListModel::ImageUp);
}

TEST_F(StocksPageTest, AStockWithoutDataShowsNAAndEmptyCellsWithTheNoDataImage)
{
    AddStock(u"Fresh"_s);
    Stock* silent = AddStock(u"Silent"_s, u"4"_s, u"-0.5"_s, u"-11.11%"_s, u"0"_s);
    Build();
    EXPECT_EQ(Cell(0, CStockListModel::PriceColumn), u"N/A"_s);
    EXPECT_EQ(Cell(0, CStockListModel::ChangeColumn), QString());
    EXPECT_EQ(Cell(0, CStockListModel::VolumeColumn), QString());
    EXPECT_EQ(Cell(0, CStockListModel::WhenColumn), QString());
    EXPECT_EQ(CStockListModel::ImageOf(*StockList::At(0)), CStockListModel::ImageNoData);
    EXPECT_FALSE(page->List()->StockModel()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());

    // A volume of "0" is shown empty; a falling stock has the down image, a disabled one the disabled image.
    EXPECT_EQ(Cell(1, CStockListModel::VolumeColumn), QString());
    EXPECT_EQ(CStockListModel::ImageOf(*silent), CStockListModel::ImageDown);
    silent->SetState(u"Disabled"_s);
    EXPECT_EQ(CStockListModel::ImageOf(*silent), CStockListModel::ImageDisabled);
}

TEST_F(StocksPageTest, RowsAlternateBetweenTheTwoColourSettings)
{
    AddStock(u"A"_s);
    AddStock(u"B"_s);
    Build();
    GetSettings().colorEvenRow = 0x00332211; // red 0x11, green 0x22, blue 0x33
    GetSettings().colorOddRow = 0x00ccbbaa;
    const CStockListModel* model = page->List()->StockModel();
    EXPECT_EQ(model->index(0, 2).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(model->index(1, 2).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xaa, 0xbb, 0xcc));
}

TEST_F(StocksPageTest, AddWhileSortedAppendsTheStockAndTheSortPlacesIt)
{
    AddStock(u"Beta"_s);
    AddStock(u"Delta"_s);
    StoreStockSortCriteria(1);
    Build();
    NextModal<CEditStockDlg> dialog([](CEditStockDlg& d) { TypeStock(d, u"Charlie"_s, u"CHR"_s); });
    QTest::mouseClick(page->Button(Add), Qt::LeftButton);
    EXPECT_TRUE(dialog.Opened());
    EXPECT_EQ(Stored(), (QStringList{u"Beta"_s, u"Delta"_s, u"Charlie"_s}));
    EXPECT_EQ(Rows(), (QStringList{u"Beta"_s, u"Charlie"_s, u"Delta"_s}));
    EXPECT_EQ(Selected(), u"Charlie"_s);
    EXPECT_EQ(host.updateCycles, 1);
    EXPECT_TRUE(ReadDataFile(u"Quorvan"_s).contains(u"Charlie"_s));
    EXPECT_EQ(StockList::At(0)->Symbol(), u"BETA"_s);
    EXPECT_EQ(StockList::At(2)->Symbol(), u"CHR"_s);
    EXPECT_EQ(StockList::At(2)->Country(), u"United States"_s);
}

TEST_F(StocksPageTest, AddWhileUnsortedInsertsAtTheSelectedRow)
{
    AddStock(u"One"_s);
    AddStock(u"Two"_s);
    AddStock(u"Three"_s);
    Build();
    SelectName(u"Two"_s);
    NextModal<CEditStockDlg> dialog([](CEditStockDlg& d) { TypeStock(d, u"New one"_s, u"NEW"_s); });
    page->OnAdd();
    EXPECT_EQ(Stored(), (QStringList{u"One"_s, u"New one"_s, u"Two"_s, u"Three"_s}));
    EXPECT_EQ(Rows(), Stored());
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(page->StorageIndexOfRow(row), row);
    EXPECT_EQ(Selected(), u"New one"_s);
}

TEST_F(StocksPageTest, CancelledAddAddsNothing)
{
    AddStock(u"One"_s);
    Build();
    NextModal<CEditStockDlg> dialog([](CEditStockDlg& d) { d.reject(); });
    page->OnAdd();
    EXPECT_TRUE(dialog.Opened());
    EXPECT_EQ(Stored(), QStringList{u"One"_s});
    EXPECT_EQ(host.updateCycles, 0);
}

TEST_F(StocksPageTest, EditStoresTheValuesAndUpdatesOnlyWhenTheSymbolChanged)
{
    AddStock(u"Acme"_s);
    Build();
    NextModal<CEditStockDlg> rename([](CEditStockDlg& d) {
        EXPECT_EQ(d.windowTitle(), u"Edit Stock"_s);
        d.NameEdit()->setText(u"Acme Corp"_s);
        d.SpokenNameEdit()->setText(u"Acme Corporation"_s);
        d.CountryList()->setCurrentText(u"Canada"_s);
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    page->OnEdit();
    const Stock* stock = StockList::At(0);
    EXPECT_EQ(stock->Name(), u"Acme Corp"_s);
    EXPECT_EQ(stock->SpokenName(), u"Acme Corporation"_s);
    EXPECT_EQ(stock->Country(), u"Canada"_s);
    EXPECT_EQ(Rows(), QStringList{u"Acme Corp"_s});
    EXPECT_EQ(host.updateCycles, 0);
    EXPECT_TRUE(ReadDataFile(u"Quorvan"_s).contains(u"Acme Corporation"_s));

    NextModal<CEditStockDlg> resymbol([](CEditStockDlg& d) {
        d.SymbolEdit()->setText(u"ACMC"_s);
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    page->OnEdit();
    EXPECT_EQ(StockList::At(0)->Symbol(), u"ACMC"_s);
    EXPECT_EQ(host.updateCycles, 1);
}

TEST_F(StocksPageTest, RemoveTakesTheStocksRulesAndKeepsTheOtherRowsOnTheirStocks)
{
    for (const QString& name : {u"W"_s, u"X"_s, u"Y"_s, u"Z"_s})
        AddStock(name);
    AddRuleFor(u"X"_s, u"1"_s);
    AddRuleFor(u"Y"_s, u"2"_s);
    AddRuleFor(u"Y"_s, u"3"_s);
    AddRuleFor(u"Z"_s, u"4"_s);
    StoreStockSortCriteria(1);
    StoreStockSortOrder(1);
    Build();
    EXPECT_EQ(Rows(), (QStringList{u"Z"_s, u"Y"_s, u"X"_s, u"W"_s}));
    SelectName(u"Y"_s);
    QTest::mouseClick(page->Button(Remove), Qt::LeftButton);

    EXPECT_EQ(Rows(), (QStringList{u"Z"_s, u"X"_s, u"W"_s}));
    EXPECT_EQ(Stored(), (QStringList{u"W"_s, u"X"_s, u"Z"_s}));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(StockList::At(row, true)->Name(), Rows()[row]);
    EXPECT_EQ(Selected(), u"X"_s); // the row at the same position
    ASSERT_EQ(GetRuleCount(), 2);
    EXPECT_EQ(GetRule(0)->StockName(), u"X"_s);
    EXPECT_EQ(GetRule(1)->StockName(), u"Z"_s);
    EXPECT_EQ(rules->List()->model()->rowCount(), 2);
    EXPECT_FALSE(ReadDataFile(u"Rules"_s).contains(u"Y (Price)"_s));
    EXPECT_TRUE(ReadDataFile(u"Quorvan"_s).contains(u"\nX,"_s));
    EXPECT_FALSE(ReadDataFile(u"Quorvan"_s).contains(u"\nY,"_s));

    // Removing the last row selects the new last row.
    SelectName(u"W"_s);
    page->OnRemove();
    EXPECT_EQ(Rows(), (QStringList{u"Z"_s, u"X"_s}));
    EXPECT_EQ(Selected(), u"X"_s);
}

TEST_F(StocksPageTest, MovesAtTheEndsDoNothingAndMovesInBetweenSwapNeighbours)
{
    for (const QString& name : {u"A"_s, u"B"_s, u"C"_s})
        AddStock(name);
    Build();
    SelectName(u"C"_s);
    QTest::mouseClick(page->Button(MoveDown), Qt::LeftButton);
    EXPECT_EQ(Stored(), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
    SelectName(u"A"_s);
    QTest::mouseClick(page->Button(MoveUp), Qt::LeftButton);
    EXPECT_EQ(Stored(), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());

    // Alt+Down in the list moves the selected stock one down and keeps it selected; Alt+Up back.
    const int rebuilds = host.stripRebuilds;
    QTest::keyClick(page->List(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Stored(), (QStringList{u"B"_s, u"A"_s, u"C"_s}));
    EXPECT_EQ(Rows(), Stored());
    EXPECT_EQ(Selected(), u"A"_s);
    EXPECT_GT(host.stripRebuilds, rebuilds);
    // The user's order is kept on disk.
    const QString file = ReadDataFile(u"Quorvan"_s);
    ASSERT_GE(file.indexOf(u"\nB,"_s), 0);
    EXPECT_LT(file.indexOf(u"\nB,"_s), file.indexOf(u"\nA,"_s));
    QTest::keyClick(page->List(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Stored(), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
    EXPECT_EQ(Selected(), u"A"_s);
}

TEST_F(StocksPageTest, MovingWhileSortedAsksToUnsortFirst)
{
    for (const QString& name : {u"B"_s, u"A"_s, u"C"_s})
        AddStock(name);
    StoreStockSortCriteria(1);
    Build();
    SelectName(u"B"_s);
    auto& messages = RecordingMessagePresenter::Instance();
    messages.QueueAnswer(MessageResult::No);
    page->OnMoveDown();
    ASSERT_EQ(messages.Messages().size(), 1);
    const UserMessage down = messages.Take().front();
    EXPECT_EQ(down.caption, u"Quorvane"_s);
    EXPECT_EQ(down.buttons, MessageButtons::YesNo);
    EXPECT_EQ(down.text, u"Your stocks are currently sorted and cannot be moved.\nWould you like to unsort your "
                         "stocks so you that you can re-order them?"_s);
    EXPECT_EQ(QueryStockSortCriteria(), 1);
    EXPECT_EQ(Stored(), (QStringList{u"B"_s, u"A"_s, u"C"_s}));

    messages.QueueAnswer(MessageResult::Yes);
    page->OnMoveUp();
    ASSERT_EQ(messages.Messages().size(), 1);
    EXPECT_EQ(messages.Take().front().text, u"Your stocks are currently sorted and cannot be moved.\nWould you like "
                                            "to switch to Unsorted order so you can re-order your stocks?"_s);
    EXPECT_EQ(QueryStockSortCriteria(), 0);
    EXPECT_EQ(Stored(), (QStringList{u"B"_s, u"A"_s, u"C"_s}));
    EXPECT_EQ(Rows(), Stored());
    EXPECT_EQ(Selected(), u"B"_s);
}

TEST_F(StocksPageTest, UnsortRestoresTheUsersOrderAndKeepsTheSelectedStock)
{
    for (const QString& name : {u"Delta"_s, u"Alpha"_s, u"Charlie"_s, u"Bravo"_s})
        AddStock(name);
    StoreStockSortCriteria(1);
    Build();
    EXPECT_EQ(Rows(), (QStringList{u"Alpha"_s, u"Bravo"_s, u"Charlie"_s, u"Delta"_s}));
    EXPECT_EQ(page->List()->SortHeader()->SortColumn(), 0);
    SelectName(u"Charlie"_s);
    QTest::mouseClick(page->Button(Unsort), Qt::LeftButton);
    EXPECT_EQ(QueryStockSortCriteria(), 0);
    EXPECT_EQ(Rows(), (QStringList{u"Delta"_s, u"Alpha"_s, u"Charlie"_s, u"Bravo"_s}));
    EXPECT_EQ(Selected(), u"Charlie"_s);
    EXPECT_EQ(page->List()->SortHeader()->SortColumn(), -1);
    EXPECT_EQ(ReadNumber(u"Stock Sort"_s, u"Criteria"_s, -1), 0);
}

TEST_F(StocksPageTest, HeaderClicksChooseTheColumnAndReverseTheOrder)
{
    AddStock(u"Cheap"_s, u"5"_s, u"0.1"_s, u"2.00%"_s, u"300"_s, 300);
    AddStock(u"Dear"_s, u"90"_s, u"-2.7"_s, u"-3.00%"_s, u"100"_s, 100);
    AddStock(u"Mid"_s, u"40"_s, u"0"_s, u""_s, u"200"_s, 200);
    Build();

    ClickHeader(CStockListModel::PriceColumn);
    EXPECT_EQ(QueryStockSortCriteria(), 3);
    EXPECT_EQ(QueryStockSortOrder(), 0);
    EXPECT_EQ(Rows(), (QStringList{u"Cheap"_s, u"Mid"_s, u"Dear"_s}));
    ClickHeader(CStockListModel::PriceColumn);
    EXPECT_EQ(QueryStockSortOrder(), 1);
    EXPECT_EQ(Rows(), (QStringList{u"Dear"_s, u"Mid"_s, u"Cheap"_s}));
    EXPECT_FALSE(page->List()->SortHeader()->SortAscending());
    EXPECT_EQ(page->List()->SortHeader()->SortColumn(), CStockListModel::PriceColumn);

    ClickHeader(CStockListModel::StockColumn);
    EXPECT_EQ(QueryStockSortCriteria(), 1);
    EXPECT_EQ(QueryStockSortOrder(), 1);
    EXPECT_EQ(Rows(), (QStringList{u"Mid"_s, u"Dear"_s, u"Cheap"_s}));

    // Change percent, ascending: the empty percent counts as 0, -3.00 moved more than +2.00.
    ClickHeader(CStockListModel::ChangeColumn);
    ClickHeader(CStockListModel::ChangeColumn);
    EXPECT_EQ(QueryStockSortCriteria(), 2);
    EXPECT_EQ(QueryStockSortOrder(), 0);
    EXPECT_EQ(Rows(), (QStringList{u"Mid"_s, u"Cheap"_s, u"Dear"_s}));

    ClickHeader(CStockListModel::VolumeColumn);
    EXPECT_EQ(Rows(), (QStringList{u"Dear"_s, u"Mid"_s, u"Cheap"_s}));
    ClickHeader(CStockListModel::WhenColumn);
    EXPECT_EQ(Rows(), (QStringList{u"Dear"_s, u"Mid"_s, u"Cheap"_s}));

    // The choice is kept in the settings for the next start.
    EXPECT_EQ(ReadNumber(u"Stock Sort"_s, u"Criteria"_s, -1), 5);
    EXPECT_EQ(ReadNumber(u"Stock Sort"_s, u"Order"_s, -1), 0);
}

TEST_F(StocksPageTest, ButtonsFollowTheSelection)
{
    AddStock(u"Acme"_s)->SetState(u"Disabled"_s);
    auto stock = std::make_unique<Stock>(u"Maple"_s, u"Maple"_s, u"MPL"_s, u"Canada"_s);
    StockList::Append(std::move(stock));
    Build();
    EXPECT_EQ(page->Button(Disable)->text(), u"E&nable"_s);
    EXPECT_TRUE(page->Button(Chart)->isEnabled());
    EXPECT_EQ(page->DefaultButtonId(), Chart);

    page->List()->SelectOnly(-1);
    for (const int id : {Edit, Disable, Remove, AddRule, Read, Chart, News})
        EXPECT_FALSE(page->Button(id)->isEnabled()) << id;
    EXPECT_TRUE(page->Button(Add)->isEnabled());
    EXPECT_EQ(page->Button(Disable)->text(), u"E&nable"_s);
    std::unique_ptr<QMenu> menu = page->BuildContextMenu();
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        texts.append(action->text());
        EXPECT_EQ(action->isEnabled(), action->data().toInt() == Add) << action->text().toStdString();
    }
    EXPECT_EQ(texts, (QStringList{u"&Goto Chart"_s, u"Goto &Stories"_s, u"&Add"_s, u"&Edit"_s, u"Add R&ule"_s,
                                  u"R&ead"_s, u"E&nable"_s, u"&Remove"_s}));
    EXPECT_EQ(menu->defaultAction()->data().toInt(), Chart);

    // Canada's configuration has a chart page but no stories page.
    SelectName(u"Maple"_s);
    EXPECT_EQ(page->Button(Disable)->text(), u"D&isable"_s);
    EXPECT_TRUE(page->Button(Chart)->isEnabled());
    EXPECT_EQ(page->BuildContextMenu()->actions().at(9)->text(), u"D&isable"_s);
}

TEST_F(StocksPageTest, DisableTogglesTheStateAndSaves)
{
    AddStock(u"Acme"_s);
    Build();
    QTest::mouseClick(page->Button(Disable), Qt::LeftButton);
    EXPECT_EQ(StockList::At(0)->State(), u"Disabled"_s);
    EXPECT_EQ(page->Button(Disable)->text(), u"E&nable"_s);
    EXPECT_TRUE(ReadDataFile(u"Quorvan"_s).contains(u"Disabled"_s));
    QTest::mouseClick(page->Button(Disable), Qt::LeftButton);
    EXPECT_EQ(StockList::At(0)->State(), u"Enabled"_s);
    EXPECT_EQ(page->Button(Disable)->text(), u"D&isable"_s);
}

TEST_F(StocksPageTest, PerStockCommandsReachTheHostAndTheBrowser)
{
    AddStock(u"Acme"_s);
    Build();
    QTest::mouseClick(page->Button(Read), Qt::LeftButton);
    EXPECT_EQ(host.saidStocks, QStringList{u"Acme"_s});
    EXPECT_TRUE(host.lastSayForce);
    QTest::mouseClick(page->Button(Help), Qt::LeftButton);
    EXPECT_EQ(host.helpTopics, std::vector<int>{61207});

    // A double click presses the default button: the chart page.
    const QRect row = page->List()->visualRect(page->List()->StockModel()->index(0, 0));
    QTest::mouseClick(page->List()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(page->List()->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(browser.urls.size(), 1);
    EXPECT_EQ(browser.urls[0], u"http://127.0.0.1:9/us/chart?s=ACME"_s);
    QTest::mouseClick(page->Button(News), Qt::LeftButton);
    ASSERT_EQ(browser.urls.size(), 2);
    EXPECT_EQ(browser.urls[1], u"http://127.0.0.1:9/us/stories/A/ACME.html"_s);
}

TEST_F(StocksPageTest, EnterAndEscapeLeaveThePageUnchanged)
{
    AddStock(u"Acme"_s);
    AddStock(u"Beta"_s);
    Build();
    page->List()->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(page->List(), key);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(Rows(), (QStringList{u"Acme"_s, u"Beta"_s}));
    EXPECT_EQ(Selected(), u"Acme"_s);
    EXPECT_TRUE(browser.urls.isEmpty());
    EXPECT_EQ(CQuorvaneDialog::OpenCount(), 0);
}

TEST_F(StocksPageTest, TheLayoutFollowsTheSizeButNotZero)
{
    Build();
    QWidget* list = page->List();
    QPushButton* read = page->Button(Read);
    QPushButton* chart = page->Button(Chart);
    QPushButton* unsort = page->Button(Unsort);
    page->resize(page->width() + 10, page->height() + 10); // the first layout pass
    const QRect listBefore = list->geometry();
    const QRect readBefore = read->geometry();
    const QRect chartBefore = chart->geometry();
    const QRect unsortBefore = unsort->geometry();

    page->resize(page->width() + 120, page->height() + 60);
    EXPECT_EQ(read->geometry(), readBefore.translated(120, 0));
    EXPECT_EQ(list->geometry(), listBefore.adjusted(0, 0, 120, 60));
    EXPECT_EQ(chart->geometry(), chartBefore.translated(120, 60));
    EXPECT_EQ(unsort->geometry(), unsortBefore.translated(0, 60));

    const QRect listAfter = list->geometry();
    page->resize(0, 0);
    EXPECT_EQ(read->geometry(), readBefore.translated(120, 0));
    EXPECT_EQ(list->geometry(), listAfter);
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Messages().isEmpty());
}
