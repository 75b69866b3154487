#include "ui/CIconDialog.h"
#include "ui/CTabPage.h"
#include "ui/LayoutManager.h"
#include "ui/OpenDialogCount.h"
#include "ui/PageLayouts.h"
#include "ui/RecordingPageHost.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A tab page with the Rules page's ids and table.
class TablePage : public CTabPage
{
public:
    explicit TablePage(IPageHost& host)
        : CTabPage(host)
    {
        resize(MapDialogRect(*this, QRect(0, 0, 279, 185)).size());
        list = new QTreeView(this);
        SetControlId(list, RulesPageIds::List);
        list->setGeometry(MapDialogRect(*this, QRect(7, 7, 203, 170)));
        int y = 7;
        for (const int id : {RulesPageIds::Add, RulesPageIds::Edit, RulesPageIds::Remove, RulesPageIds::Help}) {
            auto* button = new QPushButton(u"Button"_s, this);
            SetControlId(button, id);
            button->setGeometry(MapDialogRect(*this, QRect(213, y, 63, 14)));
            y += 18;
        }
    }

    void UpdateButtons() override { ++updates; }
    bool Commit() override { return true; }
    void FitColumns() override {}
    void Fill() override {}
    std::span<const LayoutRule> GetLayout() const override { return RulesPageLayout(); }

    QTreeView* list = nullptr;
    int updates = 0;
};

} // namespace

TEST(TabPageTest, ResizeStretchesTheListAndMovesTheButtons)
{
    RecordingPageHost host;
    TablePage page(host);
    page.show();
    const QRect before = page.list->geometry();
    page.resize(page.width() + 100, page.height() + 50);
    const QRect after = page.list->geometry();
    EXPECT_EQ(after.topLeft(), before.topLeft());
    EXPECT_EQ(after.width(), before.width() + 100);
    EXPECT_EQ(after.height(), before.height() + 50);

    // Zero size: nothing moves.
    page.resize(0, page.height());
    EXPECT_EQ(page.list->geometry(), after);
}

TEST(TabPageTest, EnterAndEscapeLeaveThePageOpenAndUnchanged)
{
    RecordingPageHost host;
    QWidget window;
    auto* page = new TablePage(host);
    page->setParent(&window);
    window.show();
    page->list->setFocus();
    const QRect before = page->list->geometry();
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(page->list, static_cast<Qt::Key>(key));
    EXPECT_TRUE(page->isVisible());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(page->list->geometry(), before);
}

TEST(QuorvaneDialogTest, CountsOpenDialogsWhileShown)
{
    auto& count = OpenDialogCount::Instance();
    QSignalSpy changes(&count, &OpenDialogCount::CountChanged);
    const int before = count.Count();
    int whileOpen = -1;
    {
        CIconDialog dialog;
        EXPECT_FALSE(dialog.windowIcon().isNull());
        QTimer::singleShot(0, &dialog, [&] {
            whileOpen = CQuorvaneDialog::OpenCount();
            dialog.reject();
        });
        dialog.exec();
        EXPECT_EQ(count.Count(), before);

        // Shown again and destroyed while open: uncounted by the destructor.
        dialog.show();
        EXPECT_EQ(count.Count(), before + 1);
    }
    EXPECT_EQ(whileOpen, before + 1);
    EXPECT_EQ(count.Count(), before);
    ASSERT_EQ(changes.size(), 4);
    EXPECT_EQ(changes.at(0).at(0).toInt(), before + 1);
    EXPECT_EQ(changes.at(1).at(0).toInt(), before);
}
