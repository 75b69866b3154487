#include "app/CEngineWnd.h"

#include "agent/DesktopAgentControl.h"
#include "app/CEngine.h"
#include "app/EngineClock.h"
#include "app/IFrame.h"
#include "base/CSettings.h"
#include "base/CommandIds.h"
#include "base/LaunchBrowser.h"
#include "base/MakerPages.h"
#include "base/StartWithWindows.h"
#include "platform/DesktopNotifications.h"
#include "platform/DialupLink.h"
#include "rules/CompanionValues.h"
#include "rules/RuleChecker.h"
#include "rules/StartupData.h"
#include "speech/CAlertNotifier.h"
#include "speech/CBroadcaster.h"
#include "speech/CCharacterManager.h"
#include "ui/CAboutDialog.h"
#include "ui/CAlertsPage.h"
#include "ui/CHelpTextDialog.h"
#include "ui/CRulesPage.h"
#include "ui/CStocksPage.h"
#include "ui/HelpTopics.h"
#include "ui/options/COptionsSheet.h"
#include "ui/options/OptionsValues.h"
#include "ui/wizard/CSetupWizard.h"
#include "webupdate/WebUpdate.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// How long the window's size must stay put before the current page fits its columns to it.
constexpr int kFitDelayMs = 150;
// How long the engine waits for a shown main window to be exposed before it starts anyway.
constexpr int kStartFallbackMs = 1000;

} // namespace

CEngineWnd::CEngineWnd(IFrame& frame, const EngineServices& services, QWidget* parent)
    : QWidget(parent)
    , m_frame(frame)
    , m_services(services)
{
    setObjectName(u"engineWindow"_s);
    setFocusPolicy(Qt::StrongFocus);
    m_fitTimer = new QTimer(this);
    m_fitTimer->setSingleShot(true);
    m_fitTimer->setInterval(kFitDelayMs);
    connect(m_fitTimer, &QTimer::timeout, this, &CEngineWnd::OnExitSizeMove);
}

CEngineWnd::~CEngineWnd()
{
    Close();
    // The engine first: it may still hold a request of the fetcher, whose completion must not
    // reach anything destroyed below.
    m_engine.reset();
}

bool CEngineWnd::Create()
{
    // The settings, for the screen's colour depth.
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_paletteDisplay = screen && screen->depth() <= 8;
    GetSettings().Load(m_paletteDisplay);

    CreateTabs();

    // The character. Without one the program cannot start: the manager has told the user why.
    m_agent = m_services.makeAgentControl ? m_services.makeAgentControl() : CreateDesktopAgentControl();
    m_characters = std::make_unique<CCharacterManager>(*m_agent);
    // The character's named positions lie in the primary screen's free area, wherever that screen
    // starts on the desktop; followed as screens come, go and change.
    const auto placeArea = [this] {
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            m_characters->SetScreenArea(primary->availableGeometry());
    };
    placeArea();
    const auto follow = [this, placeArea](QScreen* added) {
        connect(added, &QScreen::availableGeometryChanged, this, placeArea);
    };
    for (QScreen* each : QGuiApplication::screens())
        follow(each);
    connect(qApp, &QGuiApplication::screenAdded, this, follow);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, placeArea);
    m_characters->SetWaitCursorHook([this](bool on) { SetWaitCursor(on); });
    if (!m_characters->LoadCharacter())
        return false;

    // A program that was never set up (no connection "Type") asks how it is to run; a cancel ends
    // the start-up, and the wizard comes again next time unless its Connection page was passed.
    if (GetSettings().type.isEmpty()) {
        const bool setUp =
            m_services.runSetupWizard ? m_services.runSetupWizard(*m_characters) : RunSetupWizard(*m_characters);
        if (!setUp)
            return false;
    }

    LoadStartupData();
    for (int index = 0; index < TabCount(); ++index)
        Page(index)->Fill();

    m_broadcaster = std::make_unique<CBroadcaster>(*m_characters);
    // An alert the character will not tell (silent, or quiet) goes to the desktop; clicking the
    // notification shows it on the Alerts page.
    m_notifications = std::make_unique<DesktopNotifications>();
    connect(m_notifications.get(), &DesktopNotifications::Activated, this, [this] {
        if (m_closed)
            return;
        m_tabs->setCurrentWidget(m_alerts);
        m_frame.PostCommand(CommandId::QuorvaneWindow);
    });
    m_alertNotifier = std::make_unique<CAlertNotifier>(*m_characters, *m_notifications);
    m_ruleChecker = std::make_unique<RuleChecker>(*m_alerts, *m_alertNotifier);
    if (m_services.clock == nullptr)
        m_ownClock = std::make_unique<SystemEngineClock>();
    IEngineClock& clock = m_services.clock ? *m_services.clock : *m_ownClock;
    IDialupLink& dialup = m_services.dialup ? *m_services.dialup : DialupLink::Instance();
    m_engine = std::make_unique<CEngine>(*this, *m_broadcaster, *m_ruleChecker, dialup, clock, m_services.reachability);

    m_created = true;
    // The first update, broadcast and rule check run once the event loop turns, with the window up.
    QMetaObject::invokeMethod(this, &CEngineWnd::StartWhenShown, Qt::QueuedConnection);
    return true;
}

void CEngineWnd::StartWhenShown()
{
    // A shown main window is mapped and painted first: the engine's work (the first download, the
    // character's greeting) would otherwise hold back the window's first appearance. A window
    // started hidden, minimised or already on screen starts the engine at once.
    QWidget* top = window();
    QWindow* handle = top->windowHandle();
    if (m_started || m_closed || !top->isVisible() || top->isMinimized() || handle == nullptr || handle->isExposed()) {
        StartEngine();
        return;
    }
    m_exposeWindow = handle;
    handle->installEventFilter(this);
    // Should the window never be exposed (covered, or a window manager that holds it back), the
    // engine starts all the same.
    QTimer::singleShot(kStartFallbackMs, this, &CEngineWnd::StartEngine);
}

bool CEngineWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_exposeWindow && event->type() == QEvent::Expose) {
        m_exposeWindow->removeEventFilter(this);
        m_exposeWindow = nullptr;
        // Queued: the window paints in this expose event; the engine starts after that.
        QMetaObject::invokeMethod(this, &CEngineWnd::StartEngine, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void CEngineWnd::CreateTabs()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(u"tabs"_s);
    m_tabs->setIconSize(QSize(16, 16));
    layout->addWidget(m_tabs);

    m_stocks = new CStocksPage(*this, m_tabs);
    m_rules = new CRulesPage(*this, m_tabs);
    m_alerts = new CAlertsPage(*this, m_tabs);
    m_stocks->SetRulesPage(m_rules);
    m_alerts->SetRulesPage(m_rules);

    // Each page carries its tab's text and image.
    for (CTabPage* page :
         {static_cast<CTabPage*>(m_stocks), static_cast<CTabPage*>(m_rules), static_cast<CTabPage*>(m_alerts)})
        m_tabs->addTab(page, page->windowIcon(), page->windowTitle());
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { ShowCurrentPage(); });
}

void CEngineWnd::ShowCurrentPage()
{
    CTabPage* page = Page(CurrentTab());
    if (page == nullptr)
        return;
    page->FitColumns();
    page->setFocus();
}

void CEngineWnd::StartEngine()
{
    if (m_closed || m_started || !m_created)
        return;
    m_started = true;
    if (m_exposeWindow) {
        m_exposeWindow->removeEventFilter(this);
        m_exposeWindow = nullptr;
    }
    if (m_stocks) {
        m_stocks->FitColumns();
        m_stocks->setFocus();
    }
    m_engine->Start();
    if (!m_closed)
        emit Started();
}

void CEngineWnd::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_engine)
        m_engine->Stop();
    if (m_characters)
        m_characters->Close();
    // The pages show the lists' records: they go before the records do.
    delete m_tabs;
    m_tabs = nullptr;
    m_stocks = nullptr;
    m_rules = nullptr;
    m_alerts = nullptr;
    if (m_created)
        DeleteAllData();
    while (m_waitCursors > 0)
        SetWaitCursor(false);
}

// Commands ---------------------------------------------------------------------------------------

bool CEngineWnd::OnCommand(int commandId)
{
    if (m_closed || !m_created)
        return false;
    switch (commandId) {
    case CommandId::Options:
        ApplyOptions();
        return true;
    case CommandId::Broadcast:
        m_engine->BroadcastCommand();
        return true;
    case CommandId::ReadAllPrices:
        ReadAllPrices();
        return true;
    case CommandId::HideCharacter:
        m_characters->HideCommand();
        return true;
    case CommandId::Quiet:
        ToggleQuiet();
        return true;
    case CommandId::PriceUpdates:
        TogglePriceUpdates();
        return true;
    case CommandId::About:
        ShowAbout();
        return true;
    case CommandId::AboutCharacter:
        m_characters->IntroduceCharacter();
        return true;
    case CommandId::Overview:
        ShowHelpTopic(HelpTopics::Overview);
        return true;
    case CommandId::WebUpdate:
        RunWebUpdate(window(), m_services.reachability);
        return true;
    case CommandId::OnlineHelp:
        LaunchBrowser(MakerPages::SupportPage(), true, true, true);
        return true;
    case CommandId::OtherCharacters:
        LaunchBrowser(MakerPages::CharacterPage(), true, true, true);
        return true;
    case CommandId::OtherProducts:
        LaunchBrowser(MakerPages::HomePage(), true, true, true);
        return true;
    default:
        return false;
    }
}

bool CEngineWnd::IsCommandChecked(int commandId) const
{
    switch (commandId) {
    case CommandId::Quiet:
        return QueryGloballyDisabled();
    case CommandId::PriceUpdates:
        return GetSettings().checkRules != 0;
    default:
        return false;
    }
}

void CEngineWnd::ReadAllPrices()
{
    const QDateTime now = m_services.clock ? m_services.clock->Now() : m_ownClock->Now();
    m_broadcaster->Broadcast(now, true, true);
    m_broadcaster->HideCharacter();
}

void CEngineWnd::ToggleQuiet()
{
    StoreGloballyDisabled(!QueryGloballyDisabled());
}

void CEngineWnd::TogglePriceUpdates()
{
    CSettings& settings = GetSettings();
    settings.checkRules = settings.checkRules != 0 ? 0 : 1;
    settings.Save();
}

void CEngineWnd::ShowAbout()
{
    CAboutDialog about(window());
    about.exec();
}

void CEngineWnd::ApplyOptions()
{
    CSettings& settings = GetSettings();
    if (!settings.loaded && !settings.Load(m_paletteDisplay))
        return;
    OptionsValues values = OptionsValues::FromSettings(settings, IsStartWithWindows(), m_paletteDisplay);
    const OptionsSnapshot before = OptionsSnapshot::Of(settings);
    {
        COptionsSheet sheet(values, m_characters.get(), window());
        if (sheet.exec() != QDialog::Accepted || m_closed)
            return;
    }

    values.ToSettings(settings);
    SetStartWithWindows(values.startWithSession);
    settings.Validate(m_paletteDisplay);
    settings.Save();

    // The new character thanks the user (and is placed); the same one only moves to its place.
    if (before.CharacterChanged(settings))
        m_characters->ChangeCharacter();
    else
        m_characters->MoveToPosition();
    if (before.StockListLookChanged(settings))
        RefreshPage(m_stocks);
    if (before.PriceFormatChanged(settings))
        RefreshPage(m_alerts);
    m_frame.ApplyStripOptions();
    m_engine->ComputeActive(m_services.clock ? m_services.clock->Now() : m_ownClock->Now());
}

void CEngineWnd::RefreshPage(CTabPage* page)
{
    if (page == nullptr)
        return;
    for (QAbstractItemView* view : page->findChildren<QAbstractItemView*>())
        view->viewport()->update();
    page->FitColumns();
}

// Tabs -------------------------------------------------------------------------------------------

int CEngineWnd::TabCount() const
{
    return m_tabs ? m_tabs->count() : 0;
}

int CEngineWnd::CurrentTab() const
{
    return m_tabs ? m_tabs->currentIndex() : -1;
}

void CEngineWnd::SelectTab(int index)
{
    if (m_tabs && index >= 0 && index < m_tabs->count())
        m_tabs->setCurrentIndex(index);
}

void CEngineWnd::SelectNextTab(bool backwards)
{
    const int count = TabCount();
    if (count == 0)
        return;
    const int current = qMax(0, CurrentTab());
    SelectTab(backwards ? (count + current - 1) % count : (current + 1) % count);
}

QAbstractButton* CEngineWnd::PageMnemonicButton(QKeyCombination key) const
{
    CTabPage* page = Page(CurrentTab());
    if (page == nullptr || !page->isVisible())
        return nullptr;
    const QKeySequence wanted(key);
    QAbstractButton* found = nullptr;
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || !button->isEnabled() || QKeySequence::mnemonic(button->text()) != wanted)
            continue;
        if (found != nullptr)
            return nullptr; // several: Qt's own handling moves the focus between them
        found = button;
    }
    return found;
}

CTabPage* CEngineWnd::Page(int index) const
{
    if (!m_tabs || index < 0 || index >= m_tabs->count())
        return nullptr;
    return qobject_cast<CTabPage*>(m_tabs->widget(index));
}

void CEngineWnd::OnExitSizeMove()
{
    if (CTabPage* page = Page(CurrentTab()))
        page->FitColumns();
}

void CEngineWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_fitTimer->start();
}

void CEngineWnd::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (CTabPage* page = Page(CurrentTab()))
        page->setFocus();
}

// IEngineView ------------------------------------------------------------------------------------

void CEngineWnd::SetStatusText(const QString& text)
{
    m_frame.SetStatusText(text);
}

void CEngineWnd::SetActive(bool active)
{
    m_frame.SetActive(active);
}

void CEngineWnd::RedrawStockRow(int row)
{
    if (m_stocks)
        m_stocks->RedrawRow(row);
}

void CEngineWnd::CommitStocks()
{
    if (m_stocks)
        m_stocks->Commit();
}

bool CEngineWnd::IsStripShown() const
{
    return m_frame.IsStripShown();
}

void CEngineWnd::ShowStrip()
{
    m_frame.ShowStrip();
}

void CEngineWnd::HideStrip()
{
    m_frame.HideStrip();
}

void CEngineWnd::RefreshStrip()
{
    // Only a shown strip has text to rebuild.
    if (m_frame.IsStripShown())
        m_frame.RebuildStrip();
}

void CEngineWnd::PostExitCommand()
{
    m_frame.PostCommand(CommandId::Exit);
}

void CEngineWnd::SetWaitCursor(bool on)
{
    if (on) {
        ++m_waitCursors;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_waitCursors > 0) {
        --m_waitCursors;
        QGuiApplication::restoreOverrideCursor();
    }
}

// IPageHost --------------------------------------------------------------------------------------

void CEngineWnd::StartUpdateCycle()
{
    // The page goes on at once; the cycle runs from the next turn of the event loop.
    QTimer::singleShot(0, this, [this] {
        if (!m_closed && m_engine)
            m_engine->UpdateCycle();
    });
}

void CEngineWnd::SayStock(const Stock& stock, bool force)
{
    if (m_broadcaster && !m_closed)
        m_broadcaster->SayStock(stock, force);
}

void CEngineWnd::PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force)
{
    if (m_characters && !m_closed)
        m_characters->PlayAnnouncement(announcement, rule, force);
}

QStringList CEngineWnd::GetGestureList()
{
    QStringList list;
    if (m_characters)
        m_characters->GetGestureList(list);
    else
        list.append(CCharacterManager::NoGesture());
    return list;
}

void CEngineWnd::SetTrayAlertIcon(bool alert)
{
    m_frame.SetTrayAlertIcon(alert);
}

void CEngineWnd::SetAlertCount(int count)
{
    m_frame.SetAlertCount(count);
}

void CEngineWnd::RebuildStrip()
{
    if (m_frame.IsStripShown())
        m_frame.RebuildStrip();
}

void CEngineWnd::ShowHelpTopic(int topicId)
{
    ::ShowHelpTopic(topicId, m_closed ? nullptr : m_characters.get(), window());
}
