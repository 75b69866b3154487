#include "app/WindowActivation.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(WindowActivation, HiddenWindowsComeBackVisible)
{
    QWidget window;
    window.setGeometry(20, 20, 300, 200);
    ASSERT_FALSE(window.isVisible());
    BringWindowToFront(window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());

    // Hidden by the close box while maximised: shown maximised again.
    window.showMaximized();
    window.hide();
    BringWindowToFront(window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMaximized());
}

TEST(WindowActivation, MinimisedWindowsAreRestored)
{
    QWidget window;
    window.setGeometry(20, 20, 300, 200);
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());
    BringWindowToFront(window);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_FALSE(window.isMaximized());
    EXPECT_TRUE(window.isVisible());

    window.setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
    BringWindowToFront(window);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isMaximized()) << "back to how it was before minimising";
}

TEST(WindowActivation, TheTokenIsLentNotLeft)
{
    qputenv("XDG_ACTIVATION_TOKEN", "own");
    QWidget window;
    BringWindowToFront(window, u"from-second-start"_s);
    EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN"), QByteArray("own"));
    qunsetenv("XDG_ACTIVATION_TOKEN");
    BringWindowToFront(window, u"again"_s);
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
}
