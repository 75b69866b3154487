#include "app/WidgetPlacement.h"
#include "support/TestEnvironment.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(WidgetPlacement, ScreensStartWithThePrimaryAtTheOrigin)
{
    const QList<QRect> screens = ScreenRectangles();
    ASSERT_FALSE(screens.isEmpty());
    EXPECT_EQ(screens.first(), QRect(QPoint(0, 0), QGuiApplication::primaryScreen()->geometry().size()));
}

TEST(WidgetPlacement, ReadsStateAsShowCommand)
{
    QWidget window;
    window.setGeometry(40, 50, 300, 200);
    WindowPlacement placement = ReadWidgetPlacement(window);
    EXPECT_EQ(placement.showCmd, ShowCommand::ShowNormal) << "a hidden window reports how it will show";
    EXPECT_EQ(placement.NormalRect(), QRect(40, 50, 300, 200));
    EXPECT_EQ(placement.minX, -1);
    EXPECT_EQ(placement.maxY, -1);

    window.showMaximized();
    placement = ReadWidgetPlacement(window);
    EXPECT_EQ(placement.showCmd, ShowCommand::ShowMaximized);
    EXPECT_EQ(placement.NormalRect(), QRect(40, 50, 300, 200)) << "the normal rectangle, not the maximised one";

    window.setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
    placement = ReadWidgetPlacement(window);
    EXPECT_EQ(placement.showCmd, ShowCommand::ShowMinimized);
    EXPECT_EQ(placement.flags, PlacementRestoreToMaximized);
}

TEST(WidgetPlacement, SavedAndRestoredAcrossWindows)
{
    TestEnvironment env;
    {
        QWidget first;
        first.setGeometry(60, 70, 420, 310);
        first.show();
        SaveWidgetPlacement(u"WindowPos"_s, first);
    }
    QWidget second;
    second.setGeometry(0, 0, 100, 100);
    ASSERT_TRUE(RestoreWidgetPlacement(u"WindowPos"_s, second, ShowCommand::NoOverride));
    EXPECT_TRUE(second.isVisible());
    EXPECT_EQ(second.geometry(), QRect(60, 70, 420, 310));
    EXPECT_FALSE(second.isMaximized());
}

TEST(WidgetPlacement, HiddenStartKeepsTheWindowHidden)
{
    TestEnvironment env;
    WindowPlacement placement;
    placement.showCmd = ShowCommand::ShowMaximized;
    placement.SetNormalRect(QRect(10, 10, 400, 300));
    WindowPlacementStore::Save(u"WindowPos"_s, placement);

    QWidget window;
    ASSERT_TRUE(RestoreWidgetPlacement(u"WindowPos"_s, window, ShowCommand::Hide));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.geometry(), QRect(10, 10, 400, 300));

    QWidget maximised;
    ASSERT_TRUE(RestoreWidgetPlacement(u"WindowPos"_s, maximised, ShowCommand::NoOverride));
    EXPECT_TRUE(maximised.isVisible());
    EXPECT_TRUE(maximised.isMaximized());
    EXPECT_EQ(maximised.normalGeometry(), QRect(10, 10, 400, 300));
}

TEST(WidgetPlacement, RefusedPlacementLeavesTheWindowAlone)
{
    TestEnvironment env;
    QWidget window;
    window.setGeometry(5, 5, 200, 100);
    EXPECT_FALSE(RestoreWidgetPlacement(u"WindowPos"_s, window, ShowCommand::Hide)) << "nothing stored";

    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    WindowPlacement offScreen;
    offScreen.showCmd = ShowCommand::ShowNormal;
    offScreen.SetNormalRect(QRect(screen.width() + 10, 0, 300, 200));
    WindowPlacementStore::Save(u"WindowPos"_s, offScreen);
    if (QGuiApplication::screens().size() == 1) {
        EXPECT_FALSE(RestoreWidgetPlacement(u"WindowPos"_s, window, ShowCommand::NoOverride));
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.geometry(), QRect(5, 5, 200, 100));
    }

    WindowPlacement onePixel = offScreen;
    onePixel.SetNormalRect(QRect(screen.width() - 1, screen.height() - 1, 300, 200));
    WindowPlacementStore::Save(u"WindowPos"_s, onePixel);
    EXPECT_TRUE(RestoreWidgetPlacement(u"WindowPos"_s, window, ShowCommand::NoOverride));
    EXPECT_TRUE(window.isVisible());
}

// A rectangle far larger than the screen (a bigger monitor's, or a hand-edited one) would leave
// the title bar out of reach: it comes back cut to the screen's free area.
TEST(WidgetPlacement, ARectangleLargerThanTheScreenIsFittedIntoIt)
{
    TestEnvironment env;
    WindowPlacement huge;
    huge.showCmd = ShowCommand::ShowNormal;
    huge.SetNormalRect(QRect(-90000, -5, 180000, 100004));
    WindowPlacementStore::Save(u"WindowPos"_s, huge);
    QWidget window;
    ASSERT_TRUE(RestoreWidgetPlacement(u"WindowPos"_s, window, ShowCommand::NoOverride));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.geometry())) << "with room for the window's frame";
    EXPECT_GT(window.geometry().width(), available.width() / 2);
}
