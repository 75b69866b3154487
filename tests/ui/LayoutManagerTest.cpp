#include "ui/LayoutManager.h"
#include "base/AppPaths.h"
#include "support/RecordingMessagePresenter.h"
#include "ui/PageLayouts.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A page built like a dialog template: controls placed in dialog units, found by their ids.
class Page
{
public:
    explicit Page(QSize dialogUnits) { m_page.resize(MapDialogRect(m_page, QRect(QPoint(0, 0), dialogUnits)).size()); }

    QWidget* Add(int id, QRect dialogUnits)
    {
        auto* control = new QPushButton(&m_page);
        if (id != -1)
            SetControlId(control, id);
        control->setGeometry(MapDialogRect(m_page, dialogUnits));
        m_controls[id] = control;
        return control;
    }

    QRect operator[](int id) const { return m_controls.at(id)->geometry(); }
    QWidget& Widget() { return m_page; }
    int X(int dialogUnits) const { return dialogUnits * DialogBaseUnits(m_page).width() / 4; }
    int Y(int dialogUnits) const { return dialogUnits * DialogBaseUnits(m_page).height() / 8; }

    std::map<int, QRect> Geometries() const
    {
        std::map<int, QRect> all;
        for (const auto& [id, control] : m_controls)
            all[id] = control->geometry();
        return all;
    }

private:
    QWidget m_page;
    std::map<int, QWidget*> m_controls;
};

// The Stocks page as its template lays it out (279 × 185 dialog units), plus a label without an id
// and a control no rule names.
void BuildStocksPage(Page& page)
{
    using namespace StocksPageIds;
    page.Add(-1, QRect(7, 1, 60, 8));
    page.Add(List, QRect(7, 10, 203, 150));
    const int buttons[] = {Add, Edit, Disable, StocksPageIds::Remove, AddRule, Read, StocksPageIds::Help};
    int y = 10;
    for (const int id : buttons) {
        page.Add(id, QRect(213, y, 63, 14));
        y += 18;
    }
    page.Add(Unsort, QRect(7, 167, 40, 14));
    page.Add(MoveDown, QRect(50, 167, 14, 14));
    page.Add(MoveUp, QRect(66, 167, 14, 14));
    page.Add(News, QRect(100, 167, 52, 14));
    page.Add(Chart, QRect(155, 167, 55, 14));
    page.Add(4242, QRect(120, 1, 30, 8));
}

class LayoutManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { RecordingMessagePresenter::Instance().Clear(); }
    QList<UserMessage> Messages() { return RecordingMessagePresenter::Instance().Take(); }
};

} // namespace

TEST_F(LayoutManagerTest, StocksTableFollowsAResize)
{
    using namespace StocksPageIds;
    Page page(QSize(279, 185));
    BuildStocksPage(page);
    const auto before = page.Geometries();
    page.Widget().resize(page.Widget().width() + 237, page.Widget().height() + 121);
    const int width = page.Widget().width();
    const int height = page.Widget().height();

    ASSERT_TRUE(ApplyLayoutRules(&page.Widget(), StocksPageLayout()));
    EXPECT_TRUE(Messages().isEmpty());

    // The button column keeps its size and sits 3 units from the right edge.
    for (const int id : {Add, Edit, Disable, StocksPageIds::Remove, AddRule, Read, StocksPageIds::Help}) {
        EXPECT_EQ(page[id].x() + page[id].width(), width - page.X(3)) << id;
        EXPECT_EQ(page[id].size(), before.at(id).size()) << id;
        EXPECT_EQ(page[id].y(), before.at(id).y()) << id;
    }
    // The list grows to 3 units left of "Read" and 20 units above the bottom.
    EXPECT_EQ(page[List].topLeft(), before.at(List).topLeft());
    EXPECT_EQ(page[List].x() + page[List].width(), page[Read].x() - page.X(3));
    EXPECT_EQ(page[List].y() + page[List].height(), height - page.Y(20));
    // The bottom row moves down with the edge; Chart and News follow the right side.
    for (const int id : {Unsort, MoveDown, MoveUp, News, Chart}) {
        EXPECT_EQ(page[id].y(), height - page.Y(18)) << id;
        EXPECT_EQ(page[id].size(), before.at(id).size()) << id;
    }
    for (const int id : {Unsort, MoveDown, MoveUp})
        EXPECT_EQ(page[id].x(), before.at(id).x()) << id;
    EXPECT_EQ(page[Chart].x() + page[Chart].width(), page[Read].x() - page.X(3));
    EXPECT_EQ(page[News].x() + page[News].width(), page[Chart].x() - page.X(3));
    // Controls no rule names keep their place.
    EXPECT_EQ(page[-1], before.at(-1));
    EXPECT_EQ(page[4242], before.at(4242));

    // Shrinking brings everything back where the template had it.
    page.Widget().resize(page.Widget().width() - 237, page.Widget().height() - 121);
    ASSERT_TRUE(ApplyLayoutRules(&page.Widget(), StocksPageLayout()));
    EXPECT_EQ(page[Read], before.at(Read));
    EXPECT_EQ(page[Chart].y(), before.at(Chart).y());
}

TEST_F(LayoutManagerTest, ARuleWhoseSourceMovesLaterIsAppliedInTheSecondPass)
{
    using namespace StocksPageIds;
    // The list's right side depends on "Read", which a later row moves.
    const std::vector<LayoutRule> reordered{
        LayoutStretchRule(LayoutRight, List, LayoutLeft, Read, -3),
        LayoutMoveRule(LayoutRight, News, LayoutLeft, Chart, -3),
        LayoutMoveRule(LayoutRight, Chart, LayoutLeft, Read, -3),
        LayoutMoveRule(LayoutRight, Read, LayoutRight, LayoutPageId, -3),
    };
    Page page(QSize(279, 185));
    BuildStocksPage(page);
    page.Widget().resize(page.Widget().width() + 300, page.Widget().height());
    ASSERT_TRUE(ApplyLayoutRules(&page.Widget(), reordered));
    EXPECT_EQ(page[Read].x() + page[Read].width(), page.Widget().width() - page.X(3));
    EXPECT_EQ(page[List].x() + page[List].width(), page[Read].x() - page.X(3)) << "from Read's new place";
    EXPECT_EQ(page[News].x() + page[News].width(), page[Chart].x() - page.X(3));

    // The whole Stocks table in reverse gives the same result as in order.
    Page forward(QSize(279, 185));
    Page backward(QSize(279, 185));
    BuildStocksPage(forward);
    BuildStocksPage(backward);
    std::vector<LayoutRule> reversed(StocksPageLayout().begin(), StocksPageLayout().end() - 1);
    std::reverse(reversed.begin(), reversed.end());
    for (Page* p : {&forward, &backward})
        p->Widget().resize(p->Widget().width() + 150, p->Widget().height() + 80);
    ASSERT_TRUE(ApplyLayoutRules(&forward.Widget(), StocksPageLayout()));
    ASSERT_TRUE(ApplyLayoutRules(&backward.Widget(), reversed));
    EXPECT_EQ(forward.Geometries(), backward.Geometries());
}

TEST_F(LayoutManagerTest, ZeroSizeOrMinimisedMovesNothing)
{
    Page page(QSize(279, 185));
    BuildStocksPage(page);
    const auto before = page.Geometries();
    for (const QSize size : {QSize(0, 400), QSize(600, 0), QSize(0, 0)}) {
        page.Widget().resize(size);
        EXPECT_TRUE(ApplyLayoutRules(&page.Widget(), StocksPageLayout()));
        EXPECT_EQ(page.Geometries(), before);
    }
    page.Widget().resize(800, 600);
    page.Widget().showMinimized();
    ASSERT_TRUE(page.Widget().isMinimized());
    EXPECT_TRUE(ApplyLayoutRules(&page.Widget(), StocksPageLayout()));
    EXPECT_EQ(page.Geometries(), before);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LayoutManagerTest, AlertsAndRulesTables)
{
    struct Case
    {
        std::span<const LayoutRule> table;
        int list;
        std::vector<int> buttons;
    };
    const Case cases[] = {
        {AlertsPageLayout(),
         AlertsPageIds::List,
         {AlertsPageIds::EditRule, AlertsPageIds::Remove, AlertsPageIds::RemoveAll, AlertsPageIds::Help}},
        {RulesPageLayout(),
         RulesPageIds::List,
         {RulesPageIds::Add, RulesPageIds::Remove, RulesPageIds::Edit, RulesPageIds::Help}},
    };
    for (const Case& c : cases) {
        Page page(QSize(279, 185));
        page.Add(c.list, QRect(7, 7, 203, 170));
        int y = 7;
        for (const int id : c.buttons) {
            page.Add(id, QRect(213, y, 63, 14));
            y += 18;
        }
        page.Widget().resize(700, 500);
        ASSERT_TRUE(ApplyLayoutRules(&page.Widget(), c.table));
        for (const int id : c.buttons)
            EXPECT_EQ(page[id].x() + page[id].width(), 700 - page.X(3));
        EXPECT_EQ(page[c.list].x() + page[c.list].width(), page[c.buttons[1]].x() - page.X(3));
        EXPECT_EQ(page[c.list].y() + page[c.list].height(), 500 - page.Y(6));
    }
}

TEST_F(LayoutManagerTest, FaultyTablesAreReportedAndMoveNothing)
{
    struct Case
    {
        LayoutRule rule;
        const char16_t* message;
    };
    const Case cases[] = {
        {LayoutMoveRule(LayoutRight, 999, LayoutRight, LayoutPageId, -3), u"Child not found in child list"},
        {LayoutMoveRule(LayoutRight, 216, LayoutRight, 998, -3), u"Child not found in child list"},
        {LayoutMoveRule(LayoutWidth, 216, LayoutRight, LayoutPageId, -3), u"Invalid side"},
        {LayoutStretchRule(9, 216, LayoutRight, LayoutPageId, -3), u"Invalid metric"},
        {LayoutStretchRule(LayoutRight, 216, -1, LayoutPageId, -3), u"Invalid metric"},
        {LayoutRule{7, LayoutRight, 216, 216, LayoutRight, LayoutPageId, 100, 0, 0, 0}, u"Invalid action"},
    };
    for (const Case& c : cases) {
        Page page(QSize(100, 100));
        page.Add(216, QRect(10, 10, 20, 10));
        page.Add(217, QRect(10, 30, 20, 10));
        page.Widget().resize(400, 400);
        const auto before = page.Geometries();
        const LayoutRule table[] = {LayoutMoveRule(LayoutRight, 217, LayoutRight, LayoutPageId, -3), c.rule};
        EXPECT_FALSE(ApplyLayoutRules(&page.Widget(), table));
        const QList<UserMessage> messages = Messages();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0].text, QString::fromUtf16(c.message));
        EXPECT_EQ(messages[0].caption, u"Assertion Failed"_s);
        EXPECT_EQ(messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(page.Geometries(), before);
    }

    // Rules that wait on each other are never solved.
    Page page(QSize(100, 100));
    page.Add(216, QRect(10, 10, 20, 10));
    page.Add(217, QRect(40, 10, 20, 10));
    const auto before = page.Geometries();
    const LayoutRule circle[] = {LayoutMoveRule(LayoutLeft, 216, LayoutRight, 217, 2),
                                 LayoutMoveRule(LayoutLeft, 217, LayoutRight, 216, 2)};
    EXPECT_FALSE(ApplyLayoutRules(&page.Widget(), circle));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(page.Geometries(), before);

    // A page without controls cannot be laid out; an empty table is fine.
    QWidget empty;
    empty.resize(100, 100);
    EXPECT_FALSE(ApplyLayoutRules(&empty, StocksPageLayout()));
    EXPECT_TRUE(ApplyLayoutRules(&page.Widget(), {}));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LayoutManagerTest, StretchPercentAndTheEndRow)
{
    Page page(QSize(100, 100));
    page.Add(1, QRect(0, 0, 10, 10));
    page.Add(2, QRect(0, 20, 10, 10));
    page.Widget().resize(400, 300);
    const LayoutRule table[] = {
        // Half the page's width, as the width of control 1.
        LayoutRule{LayoutStretch, LayoutWidth, 1, 1, LayoutWidth, LayoutPageId, 50, 0, 0, 0},
        LayoutEndRule(),
        // Past the end: never applied (its id does not even exist).
        LayoutMoveRule(LayoutLeft, 77, LayoutLeft, LayoutPageId, 0),
    };
    ASSERT_TRUE(ApplyLayoutRules(&page.Widget(), table));
    EXPECT_EQ(page[1], QRect(0, 0, 200, page[1].height()));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LayoutManagerTest, CentringAGroupKeepsItsArrangement)
{
    Page page(QSize(200, 100));
    page.Add(10, QRect(10, 80, 40, 14));
    page.Add(11, QRect(60, 80, 40, 14));
    page.Add(20, QRect(10, 10, 40, 14));
    page.Widget().resize(600, 300);
    const LayoutRule table[] = {
        // 11 sits 4 units right of 10; the pair is centred across the page.
        LayoutMoveRule(LayoutLeft, 11, LayoutRight, 10, 4),
        LayoutRule{LayoutCenterHorizontal, 0, 10, 11, LayoutExtent, LayoutPageId, 100, 0, 0, 0},
    };
    ASSERT_TRUE(ApplyLayoutRules(&page.Widget(), table));
    EXPECT_EQ(page[11].x(), page[10].x() + page[10].width() + page.X(4));
    const int groupLeft = page[10].x();
    const int groupRight = page[11].x() + page[11].width();
    EXPECT_LE(std::abs((groupLeft + groupRight) / 2 - 300), 1);
    EXPECT_EQ(page[10].y(), page.Y(80)) << "only the horizontal axis moves";
    EXPECT_EQ(page[20], MapDialogRect(page.Widget(), QRect(10, 10, 40, 14)));
}

TEST_F(LayoutManagerTest, DialogUnitsFollowTheFont)
{
    QWidget page;
    QFont font = page.font();
    font.setPixelSize(13);
    page.setFont(font);
    const QSize base = DialogBaseUnits(page);
    ASSERT_GT(base.width(), 0);
    EXPECT_EQ(base.height(), page.fontMetrics().height());
    EXPECT_EQ(MapDialogRect(page, QRect(0, 0, 4, 8)), QRect(0, 0, base.width(), base.height()));
    // A larger font gives larger units.
    font.setPixelSize(26);
    page.setFont(font);
    EXPECT_GT(DialogBaseUnits(page).width(), base.width());
    EXPECT_GT(DialogBaseUnits(page).height(), base.height());

    QWidget control(&page);
    EXPECT_EQ(ControlId(&control), -1);
    SetControlId(&control, 215);
    EXPECT_EQ(ControlId(&control), 215);
    control.setProperty(kControlIdProperty, u"not a number"_s);
    EXPECT_EQ(ControlId(&control), -1);
}
