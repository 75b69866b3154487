#include "ui/PageTestSupport.h"

#include "rules/CAlert.h"
#include "ui/CAlertsPage.h"
#include "ui/CEditRuleDlg.h"
#include "ui/CRulesPage.h"
#include "ui/PageLayouts.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

class RulesAlertsTest : public PageTest
{
protected:
    void Build()
    {
        m_window = std::make_unique<QWidget>();
        rules = new CRulesPage(host, m_window.get());
        alerts = new CAlertsPage(host, m_window.get());
        alerts->SetRulesPage(rules);
        m_window->resize(rules->size());
        m_window->show();
        rules->Fill();
        alerts->Fill();
    }

    static QStringList RuleNumbers()
    {
        QStringList numbers;
        for (int i = 0; i < GetRuleCount(); ++i)
            numbers.append(GetRule(i)->Number());
        return numbers;
    }

    static QStringList AlertRules()
    {
        QStringList names;
        for (int i = 0; i < GetAlertCount(); ++i)
            names.append(GetAlert(i)->RuleDescription());
        return names;
    }

    QString RuleCell(int row, int column) const { return rules->List()->model()->index(row, column).data().toString(); }
    QString AlertCell(int row, int column) const
    {
        return alerts->List()->model()->index(row, column).data().toString();
    }

    // Adds alerts "R0" ... "R<count - 1>", R0 the newest (first).
    static void AddAlerts(int count)
    {
        for (int i = count - 1; i >= 0; --i)
            InsertNewAlert(u"R"_s + QString::number(i), u"1."_s, u"10:00"_s, u"United States"_s, u"Acme"_s);
    }

    void SelectAlerts(std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = alerts->List()->selectionModel();
        selection->clear();
        for (const int row : rows)
            selection->select(alerts->List()->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(alerts->List()->model()->index(*rows.begin(), 0), QItemSelectionModel::NoUpdate);
    }

    CRulesPage* rules = nullptr;
    CAlertsPage* alerts = nullptr;

private:
    std::unique_ptr<QWidget> m_window;
};

} // namespace

TEST_F(RulesAlertsTest, RulesFillShowsDescriptionAndAnnouncementAndRewritesTheFile)
{
    AddStock(u"Acme"_s);
    AddRuleFor(u"Acme"_s, u"25"_s, u"Cheer"_s);
    ASSERT_FALSE(DataFileExists(u"Rules"_s));
    Build();
    EXPECT_EQ(rules->windowTitle(), u"&Rules"_s);
    EXPECT_EQ(RuleCell(0, 0), u"Acme (Price) > 25"_s);
    EXPECT_EQ(RuleCell(0, 1), u"Cheer"_s);
    EXPECT_EQ(rules->CurrentItem(), 0);
    EXPECT_TRUE(DataFileExists(u"Rules"_s));
    // Column 0 is wider than its contents by "888".
    const int extra = rules->List()->fontMetrics().horizontalAdvance(u"888"_s);
    rules->List()->resizeColumnToContents(0);
    const int fitted = rules->List()->header()->sectionSize(0);
    rules->FitColumns();
    EXPECT_EQ(rules->List()->header()->sectionSize(0), fitted + extra);
}

TEST_F(RulesAlertsTest, AddRuleFromTheRulesPageOpensANewRuleAndStoresIt)
{
    AddStock(u"Acme"_s);
    AddStock(u"Beta"_s);
    AddAnnouncement(u"Cheer"_s);
    AddAnnouncement(u"Grumble"_s);
    AddRuleFor(u"Beta"_s, u"1"_s);
    Build();
    NextModal<CEditRuleDlg> dialog([](CEditRuleDlg& d) {
        EXPECT_EQ(d.windowTitle(), u"New Rule"_s);
        EXPECT_EQ(d.StockList()->currentText(), u"Acme"_s);
        EXPECT_EQ(d.AttributeList()->currentText(), u"Price"_s);
        EXPECT_EQ(d.OperatorList()->currentText(), u">"_s);
        EXPECT_EQ(d.AnnouncementList()->currentText(), u"Cheer"_s);
        EXPECT_TRUE(d.NumberEdit()->text().isEmpty());
        EXPECT_FALSE(d.OkButton()->isEnabled());
        EXPECT_FALSE(d.Hint()->isHidden());
        QTest::keyClicks(d.NumberEdit(), u"30"_s);
        EXPECT_TRUE(d.OkButton()->isEnabled());
        EXPECT_TRUE(d.Hint()->isHidden());
        d.OperatorList()->setCurrentIndex(2);
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(rules->Button(RulesPageIds::Add), Qt::LeftButton);
    EXPECT_TRUE(dialog.Opened());
    ASSERT_EQ(GetRuleCount(), 2);
    EXPECT_EQ(GetRule(0)->Description(), u"Acme (Price) < 30"_s);
    EXPECT_EQ(GetRule(0)->Announcement(), u"Cheer"_s);
    EXPECT_EQ(RuleCell(0, 0), u"Acme (Price) < 30"_s);
    EXPECT_EQ(rules->CurrentItem(), 0);
    EXPECT_TRUE(ReadDataFile(u"Rules"_s).contains(u"Acme"_s));
}

TEST_F(RulesAlertsTest, CancellingTheRuleOpenedByAddLeavesTheListAndRewritesTheFile)
{
    AddStock(u"Acme"_s);
    AddRuleFor(u"Acme"_s, u"1"_s);
    AddRuleFor(u"Acme"_s, u"2"_s);
    Build();
    rules->SelectItem(1);
    QFile::remove(AppPaths::DataFile(u"Rules"_s, u".csv"_s));
    NextModal<CEditRuleDlg> dialog([](CEditRuleDlg& d) { d.reject(); });
    rules->OnAdd();
    EXPECT_TRUE(dialog.Opened());
    EXPECT_EQ(RuleNumbers(), (QStringList{u"1"_s, u"2"_s}));
    EXPECT_EQ(rules->List()->model()->rowCount(), 2);
    EXPECT_TRUE(DataFileExists(u"Rules"_s));
    EXPECT_EQ(rules->CurrentItem(), 1);
}

TEST_F(RulesAlertsTest, EditAndRemoveRules)
{
    AddStock(u"Acme"_s);
    AddRuleFor(u"Acme"_s, u"1"_s);
    AddRuleFor(u"Gone"_s, u"2"_s);
    AddRuleFor(u"Acme"_s, u"3"_s);
    Build();

    // A rule whose stock is gone shows no stock; confirming stores an empty stock name.
    rules->SelectItem(1);
    NextModal<CEditRuleDlg> edit([](CEditRuleDlg& d) {
        EXPECT_EQ(d.windowTitle(), u"Edit Rule"_s);
        EXPECT_EQ(d.StockList()->currentIndex(), -1);
        EXPECT_EQ(d.NumberEdit()->text(), u"2"_s);
        d.NumberEdit()->setText(u"abc"_s); // any text is a number to the dialog
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(rules->Button(RulesPageIds::Edit), Qt::LeftButton);
    EXPECT_EQ(GetRule(1)->StockName(), QString());
    EXPECT_EQ(GetRule(1)->Number(), u"abc"_s);
    EXPECT_EQ(RuleCell(1, 0), u" (Price) > abc"_s);

    // Removing the last rule selects the new last one.
    rules->SelectItem(2);
    QTest::mouseClick(rules->Button(RulesPageIds::Remove), Qt::LeftButton);
    EXPECT_EQ(RuleNumbers(), (QStringList{u"1"_s, u"abc"_s}));
    EXPECT_EQ(rules->CurrentItem(), 1);
    EXPECT_FALSE(ReadDataFile(u"Rules"_s).contains(u",3,"_s));

    QTest::mouseClick(rules->Button(RulesPageIds::Help), Qt::LeftButton);
    EXPECT_EQ(host.helpTopics, std::vector<int>{61208});
}

// An alert without a stock name is marked on the strip through its rule: a change of rules moves the mark.
TEST_F(RulesAlertsTest, ChangingTheRulesRebuildsTheStrip)
{
    AddStock(u"Acme"_s);
    AddRuleFor(u"Acme"_s, u"1"_s);
    Build();
    const int rebuilds = host.stripRebuilds;
    rules->SelectItem(0);
    QTest::mouseClick(rules->Button(RulesPageIds::Remove), Qt::LeftButton);
    EXPECT_GT(host.stripRebuilds, rebuilds);
}

TEST_F(RulesAlertsTest, RulesContextMenuGreysEditAndRemoveWithoutACurrentItem)
{
    Build();
    EXPECT_FALSE(rules->Button(RulesPageIds::Edit)->isEnabled());
    std::unique_ptr<QMenu> menu = rules->BuildContextMenu();
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        texts.append(action->text());
        EXPECT_EQ(action->isEnabled(), action->data().toInt() == RulesPageIds::Add);
    }
    EXPECT_EQ(texts, (QStringList{u"&Add"_s, u"&Edit"_s, u"&Remove"_s}));
}

TEST_F(RulesAlertsTest, RaisingAndRefreshingAlerts)
{
    Build();
    EXPECT_EQ(host.alertCount, 0);
    alerts->RaiseAlert(u"Acme (Price) > 25"_s, u"26.5"_s, u"10:01"_s, u"United States"_s, u"Acme"_s);
    alerts->RaiseAlert(u"Beta (Price) > 1"_s, u"2"_s, u"10:02"_s, u"United States"_s, u"Beta"_s);
    EXPECT_EQ(host.trayAlert, true);
    EXPECT_EQ(host.alertCount, 2);
    EXPECT_EQ(AlertRules(), (QStringList{u"Beta (Price) > 1"_s, u"Acme (Price) > 25"_s}));
    EXPECT_EQ(AlertCell(1, 0), u"Acme (Price) > 25"_s);
    EXPECT_EQ(AlertCell(1, 1), u"26.50"_s);
    EXPECT_EQ(AlertCell(1, 2), u"10:01"_s);
    EXPECT_TRUE(ReadDataFile(u"Alerts"_s).contains(u"Beta (Price) > 1"_s));

    // Seen again unchanged: nothing happens.
    host.trayAlert = false;
    const int rebuilds = host.stripRebuilds;
    alerts->RefreshAlert(1, u"26.5"_s, u"10:01"_s);
    EXPECT_EQ(host.trayAlert, false);
    EXPECT_EQ(host.stripRebuilds, rebuilds);
    EXPECT_EQ(AlertRules(), (QStringList{u"Beta (Price) > 1"_s, u"Acme (Price) > 25"_s}));

    // Seen with a new price: refreshed and moved to the top.
    alerts->RefreshAlert(1, u"27"_s, u"10:05"_s);
    EXPECT_EQ(host.trayAlert, true);
    EXPECT_EQ(AlertRules(), (QStringList{u"Acme (Price) > 25"_s, u"Beta (Price) > 1"_s}));
    EXPECT_EQ(AlertCell(0, 2), u"10:05"_s);
    EXPECT_TRUE(ReadDataFile(u"Alerts"_s).contains(u"10:05"_s));

    // The user touching the list switches the tray back.
    alerts->SelectItem(1);
    EXPECT_EQ(host.trayAlert, false);
}

TEST_F(RulesAlertsTest, RemovingSeveralSelectedAlertsRemovesExactlyThose)
{
    AddAlerts(5);
    Build();
    SelectAlerts({1, 3});
    QTest::mouseClick(alerts->Button(AlertsPageIds::Remove), Qt::LeftButton);
    EXPECT_EQ(AlertRules(), (QStringList{u"R0"_s, u"R2"_s, u"R4"_s}));
    EXPECT_EQ(alerts->List()->model()->rowCount(), 3);
    // The selection rests on the index of the last one removed (3 - 1 after the first removal).
    EXPECT_EQ(alerts->CurrentItem(), 2);
    EXPECT_EQ(host.alertCount, 3);
    EXPECT_FALSE(ReadDataFile(u"Alerts"_s).contains(u"R3"_s));

    // The last item removed: nothing is left selected past the end.
    SelectAlerts({2});
    alerts->OnRemove();
    EXPECT_EQ(AlertRules(), (QStringList{u"R0"_s, u"R2"_s}));
    EXPECT_EQ(alerts->CurrentItem(), -1);
    EXPECT_FALSE(alerts->Button(AlertsPageIds::Remove)->isEnabled());

    // Without a selection Remove does nothing.
    alerts->OnRemove();
    EXPECT_EQ(GetAlertCount(), 2);
}

TEST_F(RulesAlertsTest, RemoveAllEmptiesTheListAndRestoresTheIcon)
{
    AddAlerts(3);
    Build();
    alerts->RaiseAlert(u"R9"_s, u"1"_s, u"11:00"_s, u"United States"_s, u"Acme"_s);
    EXPECT_EQ(host.trayAlert, true);
    QTest::mouseClick(alerts->Button(AlertsPageIds::RemoveAll), Qt::LeftButton);
    EXPECT_EQ(GetAlertCount(), 0);
    EXPECT_EQ(alerts->List()->model()->rowCount(), 0);
    EXPECT_EQ(host.alertCount, 0);
    EXPECT_EQ(host.trayAlert, false);
    EXPECT_FALSE(alerts->Button(AlertsPageIds::RemoveAll)->isEnabled());
    EXPECT_FALSE(ReadDataFile(u"Alerts"_s).contains(u"R9"_s));

    std::unique_ptr<QMenu> menu = alerts->BuildContextMenu();
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        texts.append(action->text());
        EXPECT_FALSE(action->isEnabled());
    }
    EXPECT_EQ(texts, (QStringList{u"&Edit Rule"_s, u"&Remove"_s, u"Remove &All"_s}));
}

TEST_F(RulesAlertsTest, EditRuleOnAnAlertOpensItsRuleOrNothing)
{
    AddStock(u"Acme"_s);
    AddRuleFor(u"Acme"_s, u"5"_s);
    AddRuleFor(u"Acme"_s, u"25"_s);
    InsertNewAlert(u"Acme (Price) > 99"_s, u"100"_s, u"10:00"_s, u"United States"_s, u"Acme"_s);
    InsertNewAlert(u"Acme (Price) > 25"_s, u"26"_s, u"10:00"_s, u"United States"_s, u"Acme"_s);
    Build();

    NextModal<CEditRuleDlg> edit([](CEditRuleDlg& d) {
        EXPECT_EQ(d.NumberEdit()->text(), u"25"_s);
        d.NumberEdit()->setText(u"26"_s);
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    alerts->SelectItem(0);
    QTest::mouseClick(alerts->Button(AlertsPageIds::EditRule), Qt::LeftButton);
    EXPECT_TRUE(edit.Opened());
    EXPECT_EQ(RuleNumbers(), (QStringList{u"5"_s, u"26"_s}));

    // The second alert's rule does not exist: nothing opens.
    NextModal<CEditRuleDlg> none([](CEditRuleDlg&) {});
    alerts->SelectItem(1);
    alerts->OnEditRule();
    EXPECT_FALSE(none.Opened());
    EXPECT_EQ(RuleNumbers(), (QStringList{u"5"_s, u"26"_s}));
}
