#include "base/WindowPlacementStore.h"
#include "base/SettingsStore.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <climits>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QList<QRect> kScreen{QRect(0, 0, 1024, 768)};

WindowPlacement Placed(int left, int top, int right, int bottom, int showCmd = ShowCommand::ShowNormal)
{
    WindowPlacement placement;
    placement.showCmd = showCmd;
    placement.minX = placement.minY = placement.maxX = placement.maxY = -1;
    placement.left = left;
    placement.top = top;
    placement.right = right;
    placement.bottom = bottom;
    return placement;
}

} // namespace

TEST(WindowPlacementStore, NothingStoredIsRefused)
{
    TestEnvironment env;
    EXPECT_FALSE(WindowPlacementStore::HasSaved(u"WindowPos"_s));
    EXPECT_EQ(WindowPlacementStore::Load(u"WindowPos"_s), WindowPlacement());
    EXPECT_FALSE(WindowPlacementStore::Restore(u"WindowPos"_s, kScreen, ShowCommand::NoOverride));
    EXPECT_FALSE(WindowPlacementStore::Restore(u"WindowPos"_s, kScreen, ShowCommand::Hide));
    EXPECT_FALSE(QFile::exists(ProfileSettingsFile())) << "restoring writes nothing";
}

TEST(WindowPlacementStore, TenValuesByName)
{
    TestEnvironment env;
    WindowPlacement placement = Placed(10, 20, 510, 420, ShowCommand::ShowMaximized);
    placement.flags = PlacementRestoreToMaximized;
    placement.minX = -32000;
    placement.maxY = 7;
    WindowPlacementStore::Save(u"WindowPos"_s, placement);

    QFile file(ProfileSettingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The file holds the ten values by their names, as plain numbers.
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    EXPECT_EQ(lines, QStringList({u"[WindowPos]"_s, u"wp.bottom=420"_s, u"wp.flags=2"_s, u"wp.left=10"_s,
                                  u"wp.ptMaxPosition.x=-1"_s, u"wp.ptMaxPosition.y=7"_s, u"wp.ptMinPosition.x=-32000"_s,
                                  u"wp.ptMinPosition.y=-1"_s, u"wp.right=510"_s, u"wp.showCmd=3"_s, u"wp.top=20"_s}));
    EXPECT_TRUE(WindowPlacementStore::HasSaved(u"WindowPos"_s));
    EXPECT_EQ(WindowPlacementStore::Load(u"WindowPos"_s), placement);
}

TEST(WindowPlacementStore, MissingValuesReadAsZero)
{
    TestEnvironment env;
    WriteProfileNumber(u"WindowPos"_s, u"wp.right"_s, 300);
    WriteProfileNumber(u"WindowPos"_s, u"wp.bottom"_s, 200);
    WindowPlacement expected;
    expected.right = 300;
    expected.bottom = 200;
    EXPECT_EQ(WindowPlacementStore::Load(u"WindowPos"_s), expected);
    // The rectangle is on screen, so it is applied, with the stored show command 0.
    const auto restored = WindowPlacementStore::Restore(u"WindowPos"_s, kScreen, ShowCommand::NoOverride);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->showCmd, 0);
}

TEST(WindowPlacementStore, ShowOverrideReplacesTheStoredCommand)
{
    TestEnvironment env;
    WindowPlacementStore::Save(u"WindowPos"_s, Placed(100, 100, 600, 500, ShowCommand::ShowMaximized));
    auto restored = WindowPlacementStore::Restore(u"WindowPos"_s, kScreen, ShowCommand::Hide);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->showCmd, ShowCommand::Hide);
    EXPECT_EQ(restored->NormalRect(), QRect(100, 100, 500, 400));
    restored = WindowPlacementStore::Restore(u"WindowPos"_s, kScreen, ShowCommand::NoOverride);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->showCmd, ShowCommand::ShowMaximized);
}

TEST(WindowPlacementStore, SavedOffScreenIsRefused)
{
    TestEnvironment env;
    // Saved on a larger screen, wholly right of the current one.
    WindowPlacementStore::Save(u"WindowPos"_s, Placed(1900, 100, 2400, 500));
    EXPECT_FALSE(WindowPlacementStore::Restore(u"WindowPos"_s, kScreen, ShowCommand::NoOverride));
    EXPECT_FALSE(WindowPlacementStore::Restore(u"WindowPos"_s, kScreen, ShowCommand::Hide));
    // The same placement is fine where that screen is.
    EXPECT_TRUE(WindowPlacementStore::Restore(u"WindowPos"_s, {QRect(0, 0, 2560, 1440)}, ShowCommand::NoOverride));
}

namespace {

struct IntersectCase
{
    int left, top, right, bottom;
    bool applied;
};

class PlacementIntersection : public ::testing::TestWithParam<IntersectCase>
{};

} // namespace

TEST_P(PlacementIntersection, OnePixelOfOverlapIsEnough)
{
    const IntersectCase& c = GetParam();
    EXPECT_EQ(WindowPlacementStore::IntersectsScreens(Placed(c.left, c.top, c.right, c.bottom), kScreen), c.applied);
}

INSTANTIATE_TEST_SUITE_P(Rectangles, PlacementIntersection,
                         ::testing::Values(IntersectCase{1023, 767, 1500, 1200, true}, // bottom-right pixel
                                           IntersectCase{1024, 0, 1500, 400, false},   // touching the right edge only
                                           IntersectCase{0, 768, 500, 1168, false},    // touching the bottom edge only
                                           IntersectCase{-500, -400, 1, 1, true},      // top-left pixel
                                           IntersectCase{-500, -400, 0, 0, false},     // ends where the screen starts
                                           IntersectCase{-100, 300, 2000, 301, true},  // a one-pixel band across
                                           IntersectCase{100, 100, 100, 500, false},   // zero width
                                           IntersectCase{600, 100, 100, 500, false},   // right before left
                                           IntersectCase{0, 0, 0, 0, false},           // nothing stored
                                           IntersectCase{INT_MIN, INT_MIN, INT_MAX, INT_MAX,
                                                         true})); // hand-edited extremes

TEST(WindowPlacementStore, AnyOfSeveralScreens)
{
    const QList<QRect> screens{QRect(0, 0, 1024, 768), QRect(1024, 0, 1920, 1080)};
    EXPECT_TRUE(WindowPlacementStore::IntersectsScreens(Placed(1900, 100, 2400, 500), screens));
    EXPECT_FALSE(WindowPlacementStore::IntersectsScreens(Placed(3000, 100, 3400, 500), screens));
    EXPECT_FALSE(WindowPlacementStore::IntersectsScreens(Placed(0, 0, 500, 400), {}));
}

TEST(WindowPlacement, NormalRectClampsOddExtents)
{
    EXPECT_EQ(Placed(10, 20, 30, 60).NormalRect(), QRect(10, 20, 20, 40));
    EXPECT_EQ(Placed(10, 20, 5, 10).NormalRect(), QRect(10, 20, 0, 0));
    EXPECT_EQ(Placed(INT_MIN, 0, INT_MAX, 10).NormalRect().width(), INT_MAX);
    WindowPlacement p;
    p.SetNormalRect(QRect(5, 6, 100, 50));
    EXPECT_EQ(p.left, 5);
    EXPECT_EQ(p.top, 6);
    EXPECT_EQ(p.right, 105);
    EXPECT_EQ(p.bottom, 56);
}
