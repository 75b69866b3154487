#include "app/CTrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWindow = 32777;
constexpr int kStrip = 32804;
constexpr int kExit = 32772;

class TrayIconTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_receiver = std::make_unique<QObject>();
        m_tray.SetNotificationWindow(m_receiver.get(), [this](int id) { m_commands.append(id); });
    }

    bool CreateStandard(bool shown = true)
    {
        return m_tray.Create(CTrayIcon::ProgramIcon(), u"Quorvane"_s,
                             {TrayMenuItem::Command(kWindow, u"&Quorvane Window"_s),
                              TrayMenuItem::Command(kStrip, u"&Show Stock Strip"_s), TrayMenuItem::Separator(),
                              TrayMenuItem::Command(kExit, u"E&xit"_s)},
                             shown);
    }

    std::unique_ptr<QObject> m_receiver;
    CTrayIcon m_tray;
    QList<int> m_commands;
};

} // namespace

TEST_F(TrayIconTest, OurIconsLoad)
{
    for (const QIcon& icon : {CTrayIcon::ProgramIcon(), CTrayIcon::AlertIcon()}) {
        ASSERT_FALSE(icon.isNull());
        const QImage image = icon.pixmap(QSize(16, 16)).toImage();
        ASSERT_FALSE(image.isNull());
        // Drawn, not blank: the coin's centre is opaque gold.
        const QColor centre = image.pixelColor(8, 10);
        EXPECT_EQ(centre.alpha(), 255);
        EXPECT_GT(centre.red(), 150);
        EXPECT_GT(centre.green(), 100);
    }
    // The alert icon differs by its red badge in the lower right corner.
    const QImage plain = CTrayIcon::ProgramIcon().pixmap(QSize(64, 64)).toImage();
    const QImage alert = CTrayIcon::AlertIcon().pixmap(QSize(64, 64)).toImage();
    EXPECT_GT(alert.pixelColor(49, 47).red(), 180);
    EXPECT_LT(alert.pixelColor(44, 50).green(), 80);
    EXPECT_NE(plain.pixelColor(44, 50), alert.pixelColor(44, 50));
}

TEST_F(TrayIconTest, MenuHasTheFirstItemBoldAsDefault)
{
    EXPECT_TRUE(CreateStandard());
    QMenu* menu = m_tray.Menu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), u"&Quorvane Window"_s);
    EXPECT_TRUE(actions[0]->font().bold());
    EXPECT_FALSE(actions[1]->font().bold());
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(menu->defaultAction(), actions[0]);
    EXPECT_EQ(m_tray.DefaultCommand(), kWindow);
    EXPECT_EQ(m_tray.Action(kExit), actions[3]);
    EXPECT_EQ(m_tray.Action(12345), nullptr);
    EXPECT_EQ(m_tray.ToolTip(), u"Quorvane"_s);

    // Menu items send their own commands.
    actions[3]->trigger();
    actions[1]->trigger();
    EXPECT_EQ(m_commands, QList<int>({kExit, kStrip}));

    // A second Create replaces the menu.
    m_tray.Create(CTrayIcon::ProgramIcon(), u"Quorvane"_s, {TrayMenuItem::Command(kExit, u"E&xit"_s)}, true);
    ASSERT_EQ(m_tray.Menu()->actions().size(), 1);
    EXPECT_TRUE(m_tray.Menu()->actions()[0]->font().bold());
}

TEST_F(TrayIconTest, DoubleClickRunsTheFirstCommand)
{
    CreateStandard();
    m_tray.SetTriggerRunsDefault(false);
    EXPECT_TRUE(m_tray.OnTrayNotification(QSystemTrayIcon::DoubleClick));
    EXPECT_EQ(m_commands, QList<int>{kWindow});

    // A plain click of an XEmbed tray is not handled; the middle button neither.
    EXPECT_FALSE(m_tray.OnTrayNotification(QSystemTrayIcon::Trigger));
    EXPECT_FALSE(m_tray.OnTrayNotification(QSystemTrayIcon::MiddleClick));
    EXPECT_EQ(m_commands.size(), 1);

    // StatusNotifierItem trays report the opening click as a plain activation.
    m_tray.SetTriggerRunsDefault(true);
    EXPECT_TRUE(m_tray.OnTrayNotification(QSystemTrayIcon::Trigger));
    EXPECT_EQ(m_commands, QList<int>({kWindow, kWindow}));

    // The signal Qt sends reaches the same handling.
    emit m_tray.findChild<QSystemTrayIcon*>()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(m_commands.size(), 3);
}

TEST_F(TrayIconTest, ContextDoubleClickIsReportedOnce)
{
    CreateStandard();
    QSignalSpy exits(&m_tray, &CTrayIcon::SecondaryDoubleClicked);
    EXPECT_TRUE(m_tray.OnTrayNotification(QSystemTrayIcon::Context));
    EXPECT_EQ(exits.count(), 0);
    EXPECT_TRUE(m_tray.OnTrayNotification(QSystemTrayIcon::Context));
    EXPECT_EQ(exits.count(), 1);
    // A third click starts a new pair.
    EXPECT_TRUE(m_tray.OnTrayNotification(QSystemTrayIcon::Context));
    EXPECT_EQ(exits.count(), 1);
    // Clicks further apart than the double-click interval are two single clicks.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    m_tray.OnTrayNotification(QSystemTrayIcon::Context);
    EXPECT_EQ(exits.count(), 1);
    EXPECT_TRUE(m_commands.isEmpty());
}

TEST_F(TrayIconTest, CommandsStopWhenTheReceiverIsGone)
{
    CreateStandard();
    m_receiver.reset();
    EXPECT_TRUE(m_tray.OnTrayNotification(QSystemTrayIcon::DoubleClick));
    m_tray.Menu()->actions()[0]->trigger();
    EXPECT_TRUE(m_commands.isEmpty());

    // No items at all: nothing to run, nothing breaks.
    CTrayIcon empty;
    empty.Create(CTrayIcon::ProgramIcon(), QString(), {}, false);
    EXPECT_EQ(empty.DefaultCommand(), 0);
    EXPECT_TRUE(empty.OnTrayNotification(QSystemTrayIcon::DoubleClick));
}

TEST_F(TrayIconTest, WithoutATrayHostEverythingStaysCallable)
{
    ASSERT_FALSE(CTrayIcon::IsTrayAvailable()) << "the offscreen platform has no tray";
    EXPECT_TRUE(CreateStandard(true)) << "Create reports success even so";
    EXPECT_TRUE(m_tray.IsShown());
    EXPECT_FALSE(m_tray.IsInTray()) << "the add failed";

    EXPECT_TRUE(m_tray.SetShown(true)) << "nothing to change";
    EXPECT_FALSE(m_tray.SetIcon(CTrayIcon::AlertIcon())) << "no tray takes the new icon";
    EXPECT_TRUE(m_tray.SetShown(false)) << "after a failed add, removing has nothing to do";
    EXPECT_FALSE(m_tray.IsShown());
    EXPECT_TRUE(m_tray.SetShown(false));
    EXPECT_TRUE(m_tray.SetIcon(CTrayIcon::ProgramIcon())) << "not shown: nothing to update";
    EXPECT_FALSE(m_tray.IsInTray());

    // A null icon means no icon in the tray, which needs no tray.
    m_tray.SetShown(true);
    EXPECT_TRUE(m_tray.SetIcon(QIcon()));
    EXPECT_FALSE(m_tray.IsInTray());
}
