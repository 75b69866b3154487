// The Stock Strip on the offscreen platform: its pages (bold threshold, alert marks, N/A, paging
// as the width changes), its page turning by clicks and timer, and the drag to the other edge.

#include "base/CSettings.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/AlertList.h"
#include "rules/CRule.h"
#include "rules/RuleList.h"
#include "ui/strip/CMarkupText.h"
#include "ui/strip/CStockStrip.h"
#include "ui/strip/IStripCommands.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class NoCommands final : public IStripCommands
{
public:
    void PostStripCommand(int) override {}
    bool IsStripCommandEnabled(int) const override { return true; }
};

class StockStripTest : public ::testing::Test
{
protected:
    void SetUp() override { GetSettings() = CSettings(); }

    void TearDown() override
    {
        m_strip.reset();
        StockList::DeleteAll();
        RemoveAllAlerts();
        DeleteAllRules();
        GetSettings() = CSettings();
    }

    // A stock with a quote: price 10, the change and percent given.
    static Stock* AddStock(const QString& name, const QString& percent = u"1"_s, const QString& change = u"0.1"_s)
    {
        Stock* stock = StockList::Add(name, name, name.left(4).toUpper(), u"United States"_s);
        stock->SetPrice(u"10"_s, false);
        stock->SetChange(change, false);
        stock->SetPercent(percent);
        return stock;
    }

    CStockStrip& Strip()
    {
        if (!m_strip) {
            m_strip = std::make_unique<CStockStrip>(m_commands);
            m_strip->SetSlideEnabled(false);
            m_strip->Create();
        }
        return *m_strip;
    }

    // The strip this wide (its text control follows while docked).
    void SetWidth(int width)
    {
        Strip().resize(width, Strip().height());
        ASSERT_EQ(Strip().TextControl()->width(), width);
    }

    // The shown text of every page, tags left out.
    static QString Shown(const QString& page)
    {
        QString text;
        for (const CMarkupText::Segment& segment : CMarkupText::Parse(page))
            text += segment.text;
        return text;
    }

    // Whether the stock's name is bold on the pages.
    bool IsNameBold(const QString& name)
    {
        for (const QString& page : Strip().Pages()) {
            for (const CMarkupText::Segment& segment : CMarkupText::Parse(page)) {
                if (segment.text == name)
                    return segment.bold;
            }
        }
        ADD_FAILURE() << "not on the strip: " << name.toStdString();
        return false;
    }

    NoCommands m_commands;
    std::unique_ptr<CStockStrip> m_strip;
};

} // namespace

TEST_F(StockStripTest, NamesAreBoldOnlyBeyondTheThreshold)
{
    GetSettings().boldThreshPct = 5;
    const struct
    {
        QString name;
        QString percent;
        bool bold;
    } cases[] = {
        {u"Equal"_s, u"5.00"_s, false}, {u"EqualDown"_s, u"-5"_s, false}, {u"Above"_s, u"5.01"_s, true},
        {u"Below"_s, u"-5.01"_s, true}, {u"Text"_s, u"n/a"_s, false},     {u"Trailing"_s, u"7.5%"_s, true},
    };
    for (const auto& c : cases)
        AddStock(c.name, c.percent);
    for (const auto& c : cases)
        EXPECT_EQ(IsNameBold(c.name), c.bold) << c.name.toStdString();

    GetSettings().bold = 0;
    Strip().RebuildPages();
    EXPECT_FALSE(IsNameBold(u"Above"_s)) << "\"Bold\" off";
}

TEST_F(StockStripTest, AlertMarksFollowTheAlertsStockOrItsRule)
{
    AddStock(u"Direct"_s);
    AddStock(u"ByRule"_s);
    AddStock(u"Quiet"_s);
    AddStock(u"Disabled"_s)->SetState(u"Disabled"_s);
    auto rule = std::make_unique<CRule>();
    rule->SetStockName(u"ByRule"_s);
    rule->SetAttribute(u"Price"_s);
    rule->SetOperator(CRule::Greater);
    rule->SetNumber(u"5"_s);
    const QString description = rule->Description();
    InsertRule(0, std::move(rule));
    InsertNewAlert(u"whatever"_s, u"10"_s, u"now"_s, u"United States"_s, u"Direct"_s);
    InsertNewAlert(description, u"10"_s, u"now"_s, u"United States"_s, QString());
    InsertNewAlert(u"none"_s, u"10"_s, u"now"_s, u"United States"_s, u"Disabled"_s);
    InsertNewAlert(u"none"_s, u"10"_s, u"now"_s, u"United States"_s, u"Gone"_s);

    const QString flag = QString::fromUcs4(&CMarkupText::kAlertGlyph, 1);
    const QString shown = Shown(Strip().Pages().join(QString()));
    EXPECT_TRUE(shown.contains(flag + u" Direct"_s)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(flag + u" ByRule"_s)) << shown.toStdString();
    EXPECT_FALSE(shown.contains(flag + u" Quiet"_s));
    EXPECT_FALSE(shown.contains(u"Disabled"_s)) << "a disabled stock is never shown";
    EXPECT_EQ(shown.count(flag), 2);
}

TEST_F(StockStripTest, ItemsShowNameAndPriceOrNotAvailableAndNamesAsTheyAre)
{
    AddStock(u"Quoted"_s);
    StockList::Add(u"Fresh"_s, u"Fresh"_s, u"FRSH"_s, u"United States"_s); // no quote yet
    AddStock(u"<b>A<c00,00,00> & B"_s);
    const QString shown = Shown(Strip().Pages().join(QString()));
    EXPECT_TRUE(shown.contains(u"    Quoted 10.00, +0.10    "_s)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(u"    Fresh N/A, +0.00    "_s)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(u"<b>A<c00,00,00> & B "_s)) << shown.toStdString();
    EXPECT_FALSE(IsNameBold(u"Quoted"_s)) << "a name's tags do not leak into the next items";
}

TEST_F(StockStripTest, PagesFitTheWidthTurnRoundAndFollowAWiderStrip)
{
    for (int i = 1; i <= 6; ++i)
        AddStock(u"Stock %1"_s.arg(i));
    SetWidth(100000);
    ASSERT_EQ(Strip().PageCount(), 1);
    const int item = Strip().TextControl()->Measure(Strip().Pages()[0]).width() / 6;

    SetWidth(2 * item + 1);
    ASSERT_EQ(Strip().PageCount(), 3);
    for (const QString& page : Strip().Pages())
        EXPECT_EQ(Strip().TextControl()->Measure(page).width(), 2 * item);
    EXPECT_TRUE(Strip().NextPage());
    EXPECT_TRUE(Strip().NextPage());
    EXPECT_EQ(Strip().CurrentPage(), 2);
    EXPECT_TRUE(Strip().NextPage());
    EXPECT_EQ(Strip().CurrentPage(), 0) << "round after the last";
    EXPECT_TRUE(Strip().PreviousPage());
    EXPECT_EQ(Strip().CurrentPage(), 2) << "round before the first";

    SetWidth(3 * item);
    EXPECT_EQ(Strip().PageCount(), 2);
    EXPECT_EQ(Strip().CurrentPage(), 1) << "kept within the pages";

    SetWidth(item / 2);
    EXPECT_EQ(Strip().PageCount(), 6) << "narrower than one item: one item a page";
    EXPECT_FALSE(Strip().Pages().contains(QString())) << "and no empty page";
}

TEST_F(StockStripTest, WithoutEnabledStocksThereIsOneEmptyPageThatNeverTurns)
{
    AddStock(u"Off"_s)->SetState(u"Disabled"_s);
    EXPECT_EQ(Strip().Pages(), QStringList{QString()});
    EXPECT_FALSE(Strip().NextPage());
    EXPECT_FALSE(Strip().PreviousPage());
}

TEST_F(StockStripTest, ClicksTurnThePagesAndRestartTheAdvanceTimer)
{
    GetSettings().advanceInterval = 3;
    for (int i = 1; i <= 6; ++i)
        AddStock(u"Stock %1"_s.arg(i));
    SetWidth(Strip().TextControl()->Measure(Strip().Pages().join(QString())).width() / 3 + 1);
    ASSERT_EQ(Strip().PageCount(), 3);
    ASSERT_TRUE(Strip().IsAdvanceTimerRunning());
    EXPECT_EQ(Strip().AdvancePeriodMs(), 3000);

    QTest::qWait(500);
    QTest::mouseClick(&Strip(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(Strip().CurrentPage(), 2) << "a click shows the previous page";
    EXPECT_GT(Strip().AdvanceRemainingMs(), 2700) << "the new page stays a full period";
    QTest::mouseClick(&Strip(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
    EXPECT_EQ(Strip().CurrentPage(), 0) << "Shift+click the next";
    QTest::mouseDClick(&Strip(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
    EXPECT_EQ(Strip().CurrentPage(), 2) << "a double click turns twice";

    GetSettings().autoAdvance = 0;
    Strip().ApplyAdvanceTimer();
    EXPECT_FALSE(Strip().IsAdvanceTimerRunning());
    GetSettings().autoAdvance = 1;
    GetSettings().advanceInterval = 1;
    Strip().ApplyAdvanceTimer();
    EXPECT_EQ(Strip().AdvancePeriodMs(), 1000);
    const int before = Strip().CurrentPage();
    QTest::qWait(1300);
    EXPECT_EQ(Strip().CurrentPage(), (before + 1) % 3) << "the timer turns the page";
}

TEST_F(StockStripTest, DraggedToTheOtherEdgeItDocksThereAndRemembersIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_EQ(Strip().State(), CAppBarDlg::Bottom);
    EXPECT_EQ(Strip().geometry(),
              QRect(screen.left(), screen.bottom() + 1 - Strip().height(), screen.width(), Strip().height()));
    EXPECT_EQ(Strip().height(), Strip().TextControl()->LineHeight() * 5 / 4);

    const QPoint press(screen.width() / 2, Strip().height() / 2);
    QTest::mousePress(&Strip(), Qt::LeftButton, Qt::NoModifier, press);
    // Above the middle of the screen: the top.
    QTest::mouseMove(&Strip(), Strip().mapFromGlobal(QPoint(press.x(), screen.top() + screen.height() / 2 - 10)));
    EXPECT_EQ(Strip().ProposedState(), CAppBarDlg::Top);
    EXPECT_EQ(Strip().geometry().top(), screen.top()) << "follows the drag";
    QTest::mouseRelease(&Strip(), Qt::LeftButton, Qt::NoModifier, Strip().mapFromGlobal(QCursor::pos()));
    EXPECT_EQ(Strip().State(), CAppBarDlg::Top);
    EXPECT_EQ(Strip().ProposedState(), CAppBarDlg::Unregistered);
    EXPECT_EQ(GetSettings().location, 0);

    // Back below the middle: the bottom again.
    QTest::mousePress(&Strip(), Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseMove(&Strip(), Strip().mapFromGlobal(QPoint(press.x(), screen.top() + screen.height() / 2 + 10)));
    QTest::mouseRelease(&Strip(), Qt::LeftButton, Qt::NoModifier, Strip().mapFromGlobal(QCursor::pos()));
    EXPECT_EQ(Strip().State(), CAppBarDlg::Bottom);
    EXPECT_EQ(GetSettings().location, 1);
}
