// The main window as the user meets it: start-up and placement, the close box and the window
// command, the tabs' keys, the status panes, the Quiet and price-update switches, the tray, and
// Exit with its refusal while a dialog is open.

#include "FrameTestSupport.h"

#include "app/CEngine.h"
#include "app/CTrayIcon.h"
#include "base/CSettings.h"
#include "base/CommandIds.h"
#include "base/WindowPlacementStore.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/CompanionValues.h"
#include "ui/CAboutDialog.h"
#include "ui/CHelpTextDialog.h"
#include "ui/CRulesPage.h"
#include "ui/CStocksPage.h"
#include "ui/CTabPage.h"
#include "ui/HelpTopics.h"
#include "ui/strip/CMarkupText.h"
#include "ui/strip/CStockStrip.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QRect Centred()
{
    return CMainFrame::DefaultGeometry(QGuiApplication::primaryScreen()->availableGeometry());
}

void SavePlacement(const QRect& rect, int showCmd = ShowCommand::ShowNormal)
{
    WindowPlacement placement;
    placement.showCmd = showCmd;
    placement.SetNormalRect(rect);
    WindowPlacementStore::Save(WindowPlacementStore::MainWindowSection(), placement);
}

// Runs `inside` with the application's modal dialog once it is open; it must close it.
void WithModalDialog(const std::function<void(QDialog&)>& inside, bool* seen)
{
    QTimer::singleShot(0, [inside, seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        *seen = dialog != nullptr;
        if (dialog)
            inside(*dialog);
    });
}

// Start-up ---------------------------------------------------------------------------------------

TEST_F(FrameTest, FirstStartOpensTheWindowCentredAt500By400)
{
    NoScheduledWork();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), u"Quorvane 3.0"_s);
    EXPECT_EQ(Frame()->size(), QSize(500, 400));
    EXPECT_EQ(Frame()->pos(), Centred().topLeft());
    EXPECT_EQ(Frame()->minimumSize(), QSize(400, 300));
}

TEST_F(FrameTest, APlacementOfTheLastRunIsRestored)
{
    NoScheduledWork();
    SavePlacement(QRect(60, 40, 620, 480));
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->geometry(), QRect(60, 40, 620, 480));
}

TEST_F(FrameTest, APlacementWhollyOffTheScreenIsRefused)
{
    NoScheduledWork();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    SavePlacement(QRect(screen.width() + 200, screen.height() + 100, 600, 450));
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->pos(), Centred().topLeft());
    EXPECT_EQ(Frame()->size(), QSize(500, 400));
}

class AutostartSwitch : public FrameTest, public ::testing::WithParamInterface<QStringList>
{};

TEST_P(AutostartSwitch, StartsHiddenWithASavedPlacement)
{
    NoScheduledWork();
    SavePlacement(QRect(80, 60, 560, 420));
    ASSERT_TRUE(Start(GetParam()));
    EXPECT_FALSE(Frame()->isVisible()) << "reachable from the tray";
    EXPECT_FALSE(Frame()->IsClosed());
    EXPECT_EQ(Frame()->geometry(), QRect(80, 60, 560, 420)) << "in its place when it is shown";
}

TEST_P(AutostartSwitch, IsShownAnywayOnTheFirstRun)
{
    NoScheduledWork();
    ASSERT_TRUE(Start(GetParam()));
    EXPECT_TRUE(Frame()->isVisible()) << "nothing saved yet: the user sees the program once";
    EXPECT_EQ(Frame()->pos(), Centred().topLeft());
}

INSTANTIATE_TEST_SUITE_P(Spellings, AutostartSwitch,
                         ::testing::Values(QStringList{u"-AUTOSTART"_s}, QStringList{u"-autostart"_s},
                                           QStringList{u"--verbose"_s, u"-AutoStart"_s},
                                           QStringList{u"x-AUTOSTARTy"_s}));

TEST_F(FrameTest, AMissingConfigurationFileEndsTheStartWithAMessage)
{
    m_env.Set("QUORVANE_URL_INI", QFile::encodeName(m_env.Root() + u"/nowhere/URL.ini"_s));
    EXPECT_FALSE(Start());
    EXPECT_EQ(Frame(), nullptr) << "no window";
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text,
              u"One of the main configuration files for Quorvane is missing.  Please re-install the program."_s);
    EXPECT_EQ(messages[0].caption, u"Quorva"_s);
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(QFile::exists(ProgramSettingsFile())) << "no setting is read or written";
}

class NoCharacterControl final : public IAgentControl
{
public:
    int Load(const QString&, const QString&, QString* errorText) override
    {
        if (errorText)
            *errorText = u"unreadable"_s;
        return LoadFormatError;
    }
    void Unload(const QString&) override {}
    IAgentCharacter* Character(const QString&) override { return nullptr; }
};

TEST_F(FrameTest, WithoutALoadableCharacterTheProgramDoesNotStart)
{
    EngineServices services;
    services.makeAgentControl = [] {
        return std::make_unique<NoCharacterControl>();
    };
    m_app = std::make_unique<CQuorvaneApp>(services);
    EXPECT_FALSE(m_app->InitInstance({u"quorvane"_s}));
    EXPECT_EQ(m_app->MainFrame(), nullptr);
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.startsWith(u"Failed to load character "_s)) << messages[0].text.toStdString();
}

TEST_F(FrameTest, TheStartRunsTheFirstUpdateAndStartsTheTimer)
{
    // Every quote address of the test configuration leads nowhere: the update fails, so the
    // scheduled broadcast is skipped, and the status says so.
    StartAndSettle();
    EXPECT_TRUE(EngineWnd()->Engine()->IsTimerRunning());
    EXPECT_TRUE(Frame()->StatusText().startsWith(u"Error during update: "_s)) << Frame()->StatusText().toStdString();
    EXPECT_EQ(Frame()->ActivityText(), u" Active"_s) << "active all day by default";
    EXPECT_EQ(EngineWnd()->CurrentTab(), 0);
}

// The close box and the window command -----------------------------------------------------------

TEST_F(FrameTest, TheCloseBoxHidesTheWindowAndTheWindowCommandBringsItBack)
{
    NoScheduledWork();
    StartAndSettle();
    EXPECT_FALSE(Frame()->close()) << "the close box never closes the window";
    if (CTrayIcon::IsTrayAvailable()) {
        EXPECT_FALSE(Frame()->isVisible()) << "hidden: the tray brings it back";
    } else {
        // No tray here (the offscreen platform has none): a hidden window could not be found again.
        EXPECT_TRUE(Frame()->isVisible());
        EXPECT_TRUE(Frame()->isMinimized());
        Frame()->hide();
    }
    EXPECT_FALSE(Frame()->IsClosed()) << "the program goes on";
    EXPECT_TRUE(EngineWnd()->Engine()->IsTimerRunning());

    Frame()->OnCommand(CommandId::QuorvaneWindow);
    EXPECT_TRUE(Frame()->isVisible());

    Frame()->showMinimized();
    Frame()->OnCommand(CommandId::QuorvaneWindow);
    EXPECT_FALSE(Frame()->isMinimized());
    EXPECT_TRUE(Frame()->isVisible());
}

TEST_F(FrameTest, TheTrayIconsActivationShowsTheWindowAndItsMenuLeadsWithIt)
{
    NoScheduledWork();
    StartAndSettle({u"-AUTOSTART"_s});
    Frame()->hide();
    CTrayIcon* tray = Frame()->Tray();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->DefaultCommand(), CommandId::QuorvaneWindow);
    EXPECT_EQ(tray->Menu()->actions().first()->text(), u"&Quorvane Window"_s);
    EXPECT_TRUE(tray->Menu()->actions().first()->font().bold());
    EXPECT_TRUE(tray->OnTrayNotification(QSystemTrayIcon::DoubleClick));
    EXPECT_TRUE(Frame()->isVisible());
}

TEST_F(FrameTest, ARightDoubleClickOnTheTrayIconEndsTheProgram)
{
    NoScheduledWork();
    StartAndSettle();
    QSignalSpy closed(Frame(), &CMainFrame::Closed);
    Frame()->Tray()->OnTrayNotification(QSystemTrayIcon::Context);
    Frame()->Tray()->OnTrayNotification(QSystemTrayIcon::Context);
    ASSERT_TRUE(closed.wait(5000));
    EXPECT_TRUE(Frame()->IsClosed());
    EXPECT_FALSE(Frame()->isVisible());
}

// Tabs -------------------------------------------------------------------------------------------

TEST_F(FrameTest, CtrlTabCyclesThroughTheTabsBothWays)
{
    NoScheduledWork();
    StartAndSettle();
    QWidget* focus = EngineWnd()->Page(0);
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(EngineWnd()->CurrentTab(), 0);
    QTest::keyClick(focus, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(EngineWnd()->CurrentTab(), 2) << "Ctrl+Shift+Tab on Stocks selects Alerts";
    QTest::keyClick(EngineWnd()->Page(2), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(EngineWnd()->CurrentTab(), 0);
    QTest::keyClick(EngineWnd()->Page(0), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(EngineWnd()->CurrentTab(), 1);
    QTest::keyClick(EngineWnd()->Page(1), Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(EngineWnd()->Page(2), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(EngineWnd()->CurrentTab(), 0) << "round from the last tab to the first";
}

TEST_F(FrameTest, AltWithTheTabLettersSelectsTheTabs)
{
    NoScheduledWork();
    StartAndSettle();
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    QTest::keyClick(Frame(), Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(EngineWnd()->CurrentTab(), 2) << "Alt+L: Alerts";
    QTest::keyClick(Frame(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(EngineWnd()->CurrentTab(), 1) << "Alt+R: Rules";
    QTest::keyClick(Frame(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(EngineWnd()->CurrentTab(), 0) << "Alt+S: Stocks";
}

// "D&isable" on the Stocks page and the tool bar's "H&ide" share Alt+I: the shown page's own button
// takes the letter, and the tool bar gets it on the pages that have no such button.
TEST_F(FrameTest, AltLettersOfThePageGoBeforeTheToolBar)
{
    NoScheduledWork();
    StartAndSettle();
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    ASSERT_GT(StockList::Count(), 0);
    ASSERT_TRUE(StockList::At(0, true)->IsEnabled());
    m_agent->Take();
    QTest::keyClick(Frame(), Qt::Key_I, Qt::AltModifier);
    QTest::qWait(300); // a button's mnemonic clicks with a short animation
    EXPECT_FALSE(StockList::At(0, true)->IsEnabled()) << "Alt+I on the Stocks page: Disable";
    EXPECT_TRUE(m_agent->Take().isEmpty()) << "the character is left alone";

    QTest::keyClick(Frame(), Qt::Key_R, Qt::AltModifier);
    ASSERT_EQ(EngineWnd()->CurrentTab(), 1);
    QTest::keyClick(Frame(), Qt::Key_I, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_TRUE(m_agent->Take().contains(u"StopAll"_s)) << "Alt+I on the Rules page: the tool bar's Hide";
}

TEST_F(FrameTest, TheTabsAreStocksRulesAndAlertsWithTheirImages)
{
    NoScheduledWork();
    StartAndSettle();
    QTabWidget* tabs = EngineWnd()->Tabs();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), u"&Stocks"_s);
    EXPECT_EQ(tabs->tabText(1), u"&Rules"_s);
    EXPECT_EQ(tabs->tabText(2), u"A&lerts"_s);
    for (int index = 0; index < 3; ++index)
        EXPECT_FALSE(tabs->tabIcon(index).pixmap(16, 16).isNull()) << index;
}

// Status panes -----------------------------------------------------------------------------------

TEST_F(FrameTest, TheStatusPanesShowTheActivityAndTheAlertCount)
{
    EXPECT_EQ(CMainFrame::ActivityPaneText(true), u" Active"_s);
    EXPECT_EQ(CMainFrame::ActivityPaneText(false), u" Inactive"_s);
    EXPECT_EQ(CMainFrame::AlertPaneText(0), u" Alerts: 0"_s);
    EXPECT_EQ(CMainFrame::AlertPaneText(2147483647L), u" Alerts: 2147483647"_s);
    EXPECT_EQ(CMainFrame::AlertPaneText(-3), u" Alerts: -3"_s);

    // Active hours that never include now: the start finds the program inactive.
    SetOption(u"General"_s, u"ActiveDays"_s, 0);
    StartAndSettle();
    EXPECT_EQ(Frame()->ActivityText(), u" Inactive"_s);
    EXPECT_EQ(Frame()->AlertText(), u" Alerts: 0"_s) << "set by the Alerts page when it is filled";
    EngineWnd()->SetAlertCount(12);
    EXPECT_EQ(Frame()->AlertText(), u" Alerts: 12"_s);
    EngineWnd()->SetStatusText(u"Updating %s 100%"_s);
    EXPECT_EQ(Frame()->StatusText(), u"Updating %s 100%"_s) << "shown as given, never as a format";
    EngineWnd()->SetActive(true);
    EXPECT_EQ(Frame()->ActivityText(), u" Active"_s);
    EXPECT_TRUE(Frame()->IsActive());
}

// Quiet and price updates ------------------------------------------------------------------------

TEST_F(FrameTest, TheQuietButtonTogglesAndStoresTheQuietSwitch)
{
    NoScheduledWork();
    SetOption(u"Character"_s, u"Globally Disable"_s, 1);
    StartAndSettle();
    QAction* quiet = Frame()->Action(CommandId::Quiet);
    ASSERT_NE(quiet, nullptr);
    EXPECT_TRUE(quiet->isCheckable());
    EXPECT_TRUE(quiet->isChecked()) << "the stored state is read at start";
    auto* button = qobject_cast<QToolButton*>(Frame()->ToolBar()->widgetForAction(quiet));
    ASSERT_NE(button, nullptr);

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(QueryGloballyDisabled());
    EXPECT_FALSE(quiet->isChecked());
    EXPECT_EQ(StoredOption(u"Character"_s, u"Globally Disable"_s).toInt(), 0);
    QAction* trayQuiet = Frame()->Tray()->Action(CommandId::Quiet);
    ASSERT_NE(trayQuiet, nullptr);
    EXPECT_FALSE(trayQuiet->isChecked()) << "the tray menu agrees";

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(QueryGloballyDisabled());
    EXPECT_TRUE(quiet->isChecked());
    EXPECT_TRUE(trayQuiet->isChecked());
    EXPECT_EQ(StoredOption(u"Character"_s, u"Globally Disable"_s).toInt(), 1);
}

TEST_F(FrameTest, ThePriceUpdateSwitchTogglesAndSavesCheckRules)
{
    NoScheduledWork();
    StartAndSettle();
    QAction* updates = Frame()->Action(CommandId::PriceUpdates);
    ASSERT_NE(updates, nullptr);
    EXPECT_FALSE(updates->isChecked());
    updates->trigger();
    EXPECT_TRUE(updates->isChecked());
    EXPECT_EQ(GetSettings().checkRules, 1);
    EXPECT_EQ(StoredOption(u"Rules"_s, u"CheckRules"_s).toInt(), 1);
    updates->trigger();
    EXPECT_FALSE(updates->isChecked());
    EXPECT_EQ(StoredOption(u"Rules"_s, u"CheckRules"_s).toInt(), 0);
}

TEST_F(FrameTest, TheToolBarHasBroadcastOptionsHideAndQuietWithTheirLetters)
{
    NoScheduledWork();
    StartAndSettle();
    const QList<QAction*> actions = Frame()->ToolBar()->actions();
    ASSERT_EQ(actions.size(), 4);
    const QStringList texts = {u"&Broadcast"_s, u"&Options"_s, u"H&ide"_s, u"&Quiet"_s};
    for (int index = 0; index < 4; ++index) {
        auto* button = qobject_cast<QToolButton*>(Frame()->ToolBar()->widgetForAction(actions[index]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), texts[index]);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_FALSE(actions[index]->icon().pixmap(32, 32).isNull());
    }
}

TEST_F(FrameTest, MenusOfferEveryCommand)
{
    NoScheduledWork();
    StartAndSettle();
    for (const int present :
         {CommandId::Exit, CommandId::Options, CommandId::Broadcast, CommandId::ReadAllPrices, CommandId::HideCharacter,
          CommandId::Quiet, CommandId::PriceUpdates, CommandId::About, CommandId::AboutCharacter, CommandId::Overview,
          CommandId::OnlineHelp, CommandId::OtherCharacters, CommandId::OtherProducts, CommandId::ToggleStrip,
          CommandId::StripNext, CommandId::StripPrevious, CommandId::StripHelp, CommandId::WebUpdate})
        EXPECT_NE(Frame()->Action(present), nullptr) << present;
}

// Character commands -----------------------------------------------------------------------------

TEST_F(FrameTest, ReadAllPricesSpeaksEvenWhenQuietAndHidesTheCharacterAfterwards)
{
    NoScheduledWork();
    SetOption(u"Character"_s, u"Globally Disable"_s, 1);
    StartAndSettle();
    m_agent->Take();
    Frame()->OnCommand(CommandId::ReadAllPrices);
    const QStringList log = m_agent->Take();
    EXPECT_TRUE(log.join(u'|').contains(u"Speak"_s)) << log.join(u'|').toStdString();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.last().startsWith(u"Hide"_s));
}

TEST_F(FrameTest, HideSilencesAndHidesTheCharacter)
{
    NoScheduledWork();
    StartAndSettle();
    m_agent->Take();
    Frame()->Action(CommandId::HideCharacter)->trigger();
    const QStringList log = m_agent->Take();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0], u"StopAll"_s);
    EXPECT_TRUE(log[1].startsWith(u"Hide"_s));
}

TEST_F(FrameTest, AboutPennywitLetsTheCharacterIntroduceItself)
{
    NoScheduledWork();
    StartAndSettle();
    m_agent->Take();
    Frame()->OnCommand(CommandId::AboutCharacter);
    const QString log = m_agent->Take().join(u'|');
    EXPECT_TRUE(log.contains(u"Hi There. My name is Penny-Wit."_s)) << log.toStdString();
}

TEST_F(FrameTest, AboutShowsTheNameAndVersion)
{
    NoScheduledWork();
    StartAndSettle();
    bool seen = false;
    QString version;
    WithModalDialog(
        [&](QDialog& dialog) {
            EXPECT_NE(qobject_cast<CAboutDialog*>(&dialog), nullptr);
            if (auto* label = dialog.findChild<QLabel*>(u"versionText"_s))
                version = label->text();
            EXPECT_FALSE(Frame()->Action(CommandId::Exit)->isEnabled()) << "no Exit under an open dialog";
            dialog.accept();
        },
        &seen);
    Frame()->OnCommand(CommandId::About);
    EXPECT_TRUE(seen);
    EXPECT_EQ(version, u"Version 3.0.0.0"_s);
    EXPECT_EQ(CAboutDialog::VersionText(), u"Version 3.0.0.0"_s);
    EXPECT_TRUE(Frame()->Action(CommandId::Exit)->isEnabled());
}

TEST_F(FrameTest, OverviewAndStockStripHelpOpenTheirHelpTopics)
{
    NoScheduledWork();
    StartAndSettle();
    for (const auto& [command, wanted] : {std::pair{CommandId::Overview, HelpTopics::Overview},
                                          std::pair{CommandId::StripHelp, HelpTopics::StockStrip}}) {
        bool seen = false;
        int topic = 0;
        WithModalDialog(
            [&](QDialog& dialog) {
                if (auto* help = qobject_cast<CHelpTextDialog*>(&dialog))
                    topic = help->TopicId();
                dialog.accept();
            },
            &seen);
        Frame()->OnCommand(command);
        EXPECT_TRUE(seen) << command;
        EXPECT_EQ(topic, wanted);
    }
}

// Stock Strip ------------------------------------------------------------------------------------

TEST_F(FrameTest, TheStripCommandsShowHideAndTurnTheStripAndRememberIt)
{
    NoScheduledWork();
    StartAndSettle();
    ASSERT_TRUE(Frame()->IsStripShown()) << "shown by default";
    EXPECT_TRUE(Frame()->Action(CommandId::ToggleStrip)->isChecked());

    // Enough stocks for several pages: the page commands turn them.
    for (int i = 0; i < 60; ++i)
        StockList::Add(u"Stock number %1"_s.arg(i), QString(), u"S%1"_s.arg(i), u"United States"_s);
    EngineWnd()->StocksPage()->Fill(); // the strip shows them in the page's order
    Frame()->RebuildStrip();
    ASSERT_GT(Frame()->Strip()->PageCount(), 1);
    EXPECT_TRUE(Frame()->Action(CommandId::StripNext)->isEnabled());
    Frame()->OnCommand(CommandId::StripNext);
    EXPECT_EQ(Frame()->Strip()->CurrentPage(), 1);
    Frame()->OnCommand(CommandId::StripPrevious);
    Frame()->OnCommand(CommandId::StripPrevious);
    EXPECT_EQ(Frame()->Strip()->CurrentPage(), Frame()->Strip()->PageCount() - 1) << "round from the first page";

    Frame()->OnCommand(CommandId::HideStrip);
    EXPECT_FALSE(Frame()->IsStripShown());
    EXPECT_FALSE(Frame()->Action(CommandId::ToggleStrip)->isChecked());
    EXPECT_FALSE(Frame()->Action(CommandId::StripNext)->isEnabled()) << "no strip, no pages to turn";
    EXPECT_EQ(StoredOption(u"Ticker"_s, u"Show"_s).toInt(), 0);
    Frame()->OnCommand(CommandId::HideStrip);
    EXPECT_FALSE(Frame()->IsStripShown()) << "hiding a hidden strip shows nothing";
    Frame()->OnCommand(CommandId::ToggleStrip);
    EXPECT_TRUE(Frame()->IsStripShown());
    EXPECT_EQ(StoredOption(u"Ticker"_s, u"Show"_s).toInt(), 1);
}

TEST_F(FrameTest, OutsideTheActiveHoursTheStripStaysHiddenAndTheCommandSaysWhy)
{
    NoScheduledWork();
    SetOption(u"Ticker"_s, u"HideInactive"_s, 1);
    SetOption(u"General"_s, u"ActiveDays"_s, 0);
    StartAndSettle();
    EXPECT_FALSE(Frame()->IsStripShown());
    RecordingMessagePresenter::Instance().Clear();
    Frame()->OnCommand(CommandId::ToggleStrip);
    EXPECT_FALSE(Frame()->IsStripShown());
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(
        messages[0].text.startsWith(u"The Stock Strip will not be shown because Quorvane is currently inactive."_s));
    EXPECT_EQ(GetSettings().show, 1) << "the user's choice stands";
}

TEST_F(FrameTest, AppliedOptionsMoveHideAndShowTheStrip)
{
    NoScheduledWork();
    StartAndSettle();
    ASSERT_TRUE(Frame()->IsStripShown());
    EXPECT_EQ(Frame()->Strip()->State(), CAppBarDlg::Bottom) << "\"Location\" 1 by default";
    GetSettings().location = 0;
    GetSettings().colorBackground = 0x00123456;
    Frame()->ApplyStripOptions();
    EXPECT_EQ(Frame()->Strip()->State(), CAppBarDlg::Top);
    EXPECT_EQ(Frame()->Strip()->TextControl()->Background(), QColor(0x56, 0x34, 0x12));
    GetSettings().show = 0;
    Frame()->ApplyStripOptions();
    EXPECT_FALSE(Frame()->IsStripShown());
    GetSettings().show = 1;
    Frame()->ApplyStripOptions();
    EXPECT_TRUE(Frame()->IsStripShown());
}

// Exit -------------------------------------------------------------------------------------------

TEST_F(FrameTest, ExitClosesTheWindowFreesTheListsAndSavesThePlacement)
{
    NoScheduledWork();
    StartAndSettle();
    Frame()->setGeometry(QRect(30, 50, 640, 460));
    QSignalSpy closed(Frame(), &CMainFrame::Closed);
    m_agent->Take();
    Frame()->OnCommand(CommandId::Exit);
    ASSERT_TRUE(closed.wait(5000));
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_FALSE(Frame()->IsStripShown());
    EXPECT_EQ(GetSettings().show, 1) << "closing is not the user hiding the strip";
    EXPECT_FALSE(EngineWnd()->Engine()->IsTimerRunning());
    const QStringList log = m_agent->Take();
    EXPECT_TRUE(log.contains(u"StopAll"_s));
    EXPECT_TRUE(log.contains(u"Unload Quorvan"_s));
    const WindowPlacement saved = WindowPlacementStore::Load(WindowPlacementStore::MainWindowSection());
    EXPECT_EQ(saved.NormalRect(), QRect(30, 50, 640, 460));
    EXPECT_EQ(saved.showCmd, ShowCommand::ShowNormal);
}

TEST_F(FrameTest, ExitIsRefusedWhileOneOfTheProgramsDialogsIsOpen)
{
    NoScheduledWork();
    StartAndSettle();
    QSignalSpy closed(Frame(), &CMainFrame::Closed);
    bool seen = false;
    WithModalDialog(
        [&](QDialog& dialog) {
            EXPECT_FALSE(Frame()->Action(CommandId::Exit)->isEnabled());
            EXPECT_FALSE(Frame()->Tray()->Action(CommandId::Exit)->isEnabled());
            EXPECT_FALSE(Frame()->IsCommandEnabled(CommandId::Exit));
            Frame()->OnCommand(CommandId::Exit);
            QTest::qWait(50);
            EXPECT_TRUE(closed.isEmpty()) << "not under an open dialog";
            dialog.accept();
        },
        &seen);
    Frame()->OnCommand(CommandId::Overview);
    ASSERT_TRUE(seen);
    QTest::qWait(50);
    EXPECT_TRUE(closed.isEmpty()) << "a refused Exit is not carried out later";
    EXPECT_TRUE(Frame()->Action(CommandId::Exit)->isEnabled());
    Frame()->OnCommand(CommandId::Exit);
    EXPECT_TRUE(closed.wait(5000));
}

} // namespace

// A page's context menu (or one of its questions) runs an event loop of its own, with the page's
// code waiting below it. An Exit arriving meanwhile (the tray, the end of a download) closes the
// window once the menu is gone, never under it.
TEST_F(FrameTest, ExitWaitsForAMenuThatIsStillOpen)
{
    NoScheduledWork();
    StartAndSettle();
    QSignalSpy closed(Frame(), &CMainFrame::Closed);
    auto* list = EngineWnd()->StocksPage()->findChild<QAbstractItemView*>();
    ASSERT_NE(list, nullptr);
    bool menuSeen = false;
    QEventLoop program; // the program's own loop; the menu runs a second one inside it
    QTimer::singleShot(0, list, [&] {
        emit list->customContextMenuRequested(QPoint(4, 4));
        program.quit();
    });
    QTimer::singleShot(100, Frame(), [&] {
        QPointer<QWidget> menu = QApplication::activePopupWidget();
        menuSeen = menu != nullptr;
        Frame()->OnCommand(CommandId::Exit);
        QTimer::singleShot(200, Frame(), [&, menu] {
            EXPECT_FALSE(Frame()->IsClosed()) << "not while the menu is open";
            if (menu)
                menu->close();
        });
    });
    program.exec();
    EXPECT_TRUE(menuSeen);
    ASSERT_TRUE(Frame()->IsClosed() || closed.wait(5000));
    EXPECT_EQ(EngineWnd()->TabCount(), 0) << "the engine window closed in order";
}
