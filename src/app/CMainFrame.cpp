#include "app/CMainFrame.h"

#include "app/CEngine.h"
#include "app/CTrayIcon.h"
#include "app/WidgetPlacement.h"
#include "app/WindowActivation.h"
#include "base/CSettings.h"
#include "base/CommandIds.h"
#include "base/UserMessage.h"
#include "base/WindowPlacementStore.h"
#include "ui/HelpTopics.h"
#include "ui/OpenDialogCount.h"
#include "ui/strip/CStockStrip.h"
#include "webupdate/WebUpdate.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// The panes' widths are those of their longest texts.
const QString kActivityPaneSample = u" Inactive "_s;
const QString kAlertPaneSample = u" Alerts: 0000   "_s;

// How long Exit waits before trying again to close while an update pass is still unwinding.
constexpr int kCloseRetryMs = 20;

} // namespace

CMainFrame::CMainFrame(const EngineServices& services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(u"mainFrame"_s);
    setWindowTitle(u"Quorvane 3.0"_s);
    setWindowIcon(CTrayIcon::ProgramIcon());
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect geometry =
        DefaultGeometry(screen ? screen->availableGeometry() : QRect(0, 0, kDefaultWidth, kDefaultHeight));
    resize(geometry.size());
    move(geometry.topLeft());

    connect(&OpenDialogCount::Instance(), &OpenDialogCount::CountChanged, this, [this](int count) {
        UpdateCommandStates();
        // An Exit that arrived while a dialog was open is carried out once the last one closes.
        if (count == 0 && m_exitPending && !m_closed)
            PostCommand(CommandId::Exit);
    });
}

CMainFrame::~CMainFrame()
{
    // The window goes without Exit (the program is quitting): the engine still closes in order.
    m_strip.reset();
    if (m_engine)
        m_engine->Close();
    delete m_waitDialog;
}

QRect CMainFrame::DefaultGeometry(const QRect& available)
{
    return QRect(available.x() + (available.width() - kDefaultWidth) / 2,
                 available.y() + (available.height() - kDefaultHeight) / 2, kDefaultWidth, kDefaultHeight);
}

bool CMainFrame::Create()
{
    CreateToolBar();
    CreateStatusBar();
    m_engine = new CEngineWnd(*this, m_services, this);
    if (!m_engine->Create()) {
        delete m_engine;
        m_engine = nullptr;
        return false;
    }
    setCentralWidget(m_engine);
    CreateMenus();
    CreateTray();
    UpdateCommandStates();
    return true;
}

QAction* CMainFrame::MakeAction(int commandId, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setData(commandId);
    connect(action, &QAction::triggered, this, [this, commandId] { OnCommand(commandId); });
    m_actions[commandId].append(action);
    return action;
}

QAction* CMainFrame::Action(int commandId) const
{
    const auto found = m_actions.find(commandId);
    return found == m_actions.end() || found->second.isEmpty() ? nullptr : found->second.first();
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(u"Tool bar"_s, this);
    m_toolBar->setObjectName(u"toolBar"_s);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    struct Button
    {
        int id;
        QString text;
        QString icon;
        QString tip;
    };
    const Button buttons[] = {
        {CommandId::Broadcast, u"&Broadcast"_s, u":/toolbar/broadcast.svg"_s,
         u"Update the prices, read them out and check the rules now"_s},
        {CommandId::Options, u"&Options"_s, u":/toolbar/options.svg"_s,
         u"Change the colours, the schedule, the character and the connection"_s},
        {CommandId::HideCharacter, u"H&ide"_s, u":/toolbar/hide.svg"_s, u"Silence the character and send it away"_s},
        {CommandId::Quiet, u"&Quiet"_s, u":/toolbar/quiet.svg"_s,
         u"Keep the character quiet for scheduled broadcasts and announcements"_s},
    };
    for (const Button& button : buttons) {
        QAction* action = MakeAction(button.id, button.text);
        action->setIcon(QIcon(button.icon));
        // Kept with its ampersand, so that Alt and the letter press the button.
        action->setIconText(button.text);
        action->setToolTip(QString(button.text).remove(u'&'));
        action->setStatusTip(button.tip);
        if (button.id == CommandId::Quiet)
            action->setCheckable(true);
        m_toolBar->addAction(action);
        if (auto* tool = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action)))
            tool->setMinimumSize(63, 58);
    }
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    m_messagePane = new QLabel(bar);
    m_messagePane->setObjectName(u"messagePane"_s);
    m_activityPane = new QLabel(ActivityPaneText(false), bar);
    m_activityPane->setObjectName(u"activityPane"_s);
    m_alertPane = new QLabel(bar);
    m_alertPane->setObjectName(u"alertPane"_s);
    const QFontMetrics metrics(m_activityPane->font());
    m_activityPane->setMinimumWidth(metrics.horizontalAdvance(kActivityPaneSample));
    m_alertPane->setMinimumWidth(metrics.horizontalAdvance(kAlertPaneSample));
    bar->addWidget(m_messagePane, 1);
    bar->addPermanentWidget(m_activityPane);
    bar->addPermanentWidget(m_alertPane);
}

void CMainFrame::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(u"&File"_s);
    file->addAction(Action(CommandId::Broadcast));
    QAction* readAll = MakeAction(CommandId::ReadAllPrices, u"&Read All Prices"_s);
    readAll->setStatusTip(u"Read out the prices as they are, without an update"_s);
    file->addAction(readAll);
    QAction* updates = MakeAction(CommandId::PriceUpdates, u"Enable Price &Updates"_s);
    updates->setCheckable(true);
    updates->setStatusTip(u"Enable price updates"_s);
    file->addAction(updates);
    file->addSeparator();
    QAction* options = MakeAction(CommandId::Options, u"&Options ..."_s);
    options->setStatusTip(Action(CommandId::Options)->statusTip());
    file->addAction(options);
    file->addSeparator();
    QAction* exit = MakeAction(CommandId::Exit, u"E&xit"_s);
    exit->setStatusTip(u"End Quorvane"_s);
    file->addAction(exit);

    QMenu* character = menuBar()->addMenu(u"&Character"_s);
    QAction* hide = MakeAction(CommandId::HideCharacter, u"&Hide Character"_s);
    hide->setStatusTip(Action(CommandId::HideCharacter)->statusTip());
    character->addAction(hide);
    QAction* quiet = MakeAction(CommandId::Quiet, u"&Quiet"_s);
    quiet->setCheckable(true);
    quiet->setStatusTip(Action(CommandId::Quiet)->statusTip());
    character->addAction(quiet);
    character->addSeparator();
    QAction* introduce = MakeAction(CommandId::AboutCharacter, u"About &Pennywit"_s);
    introduce->setStatusTip(u"Let the character introduce itself"_s);
    character->addAction(introduce);
    QAction* others = MakeAction(CommandId::OtherCharacters, u"&Download Other Characters"_s);
    others->setStatusTip(u"Open the user guide's page on adding characters"_s);
    character->addAction(others);

    QMenu* view = menuBar()->addMenu(u"&View"_s);
    QAction* strip = MakeAction(CommandId::ToggleStrip, u"&Show Stock Strip"_s);
    strip->setCheckable(true);
    strip->setStatusTip(u"Show or hide the Stock Strip"_s);
    view->addAction(strip);
    QAction* previous = MakeAction(CommandId::StripPrevious, u"Show &Previous stocks\tClick"_s);
    previous->setStatusTip(u"Show the Stock Strip's previous set of stocks"_s);
    view->addAction(previous);
    QAction* next = MakeAction(CommandId::StripNext, u"Show &Next stocks\tShift+Click"_s);
    next->setStatusTip(u"Show the Stock Strip's next set of stocks"_s);
    view->addAction(next);
    // The page commands depend on the strip's pages, which change with its width.
    connect(view, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);

    QMenu* help = menuBar()->addMenu(u"&Help"_s);
    QAction* overview = MakeAction(CommandId::Overview, u"&Overview"_s);
    overview->setStatusTip(u"What the main window offers"_s);
    help->addAction(overview);
    QAction* stripHelp = MakeAction(CommandId::StripHelp, u"&Stock Strip Help"_s);
    stripHelp->setStatusTip(u"What the Stock Strip shows and how to use it"_s);
    help->addAction(stripHelp);
    QAction* online = MakeAction(CommandId::OnlineHelp, u"Online &Help"_s);
    online->setStatusTip(u"Open the user guide"_s);
    help->addAction(online);
    QAction* products = MakeAction(CommandId::OtherProducts, u"Other &Products"_s);
    products->setStatusTip(u"Open the user guide's page about Quorvane and its maker"_s);
    help->addAction(products);
    QAction* update = MakeAction(CommandId::WebUpdate, u"Download Program &Update ..."_s);
    update->setStatusTip(u"Look for a newer version of Quorvane and download it"_s);
    help->addAction(update);
    help->addSeparator();
    QAction* about = MakeAction(CommandId::About, u"&About Quorvane ..."_s);
    about->setStatusTip(u"The program's name and version"_s);
    help->addAction(about);
}

void CMainFrame::CreateTray()
{
    m_tray = new CTrayIcon(this);
    m_tray->SetNotificationWindow(this, [this](int commandId) { OnCommand(commandId); });
    m_tray->Create(m_trayAlert ? CTrayIcon::AlertIcon() : CTrayIcon::ProgramIcon(), u"Quorvane"_s,
                   {
                       TrayMenuItem::Command(CommandId::QuorvaneWindow, u"&Quorvane Window"_s),
                       TrayMenuItem::Command(CommandId::ToggleStrip, u"&Show Stock Strip"_s),
                       TrayMenuItem::Separator(),
                       TrayMenuItem::Command(CommandId::Broadcast, u"&Broadcast"_s),
                       TrayMenuItem::Command(CommandId::ReadAllPrices, u"&Read All Prices"_s),
                       TrayMenuItem::Command(CommandId::HideCharacter, u"H&ide Character"_s),
                       TrayMenuItem::Command(CommandId::Quiet, u"&Quiet"_s),
                       TrayMenuItem::Separator(),
                       TrayMenuItem::Command(CommandId::About, u"&About Quorvane ..."_s),
                       TrayMenuItem::Separator(),
                       TrayMenuItem::Command(CommandId::Exit, u"E&xit"_s),
                   },
                   true);
    connect(m_tray, &CTrayIcon::SecondaryDoubleClicked, this, [this] { PostCommand(CommandId::Exit); });
    for (QAction* action : m_tray->Menu()->actions()) {
        if (action->isSeparator())
            continue;
        const int commandId = action->data().toInt();
        if (commandId == CommandId::Quiet || commandId == CommandId::ToggleStrip)
            action->setCheckable(true);
        m_actions[commandId].append(action);
    }
}

// Commands ---------------------------------------------------------------------------------------

void CMainFrame::OnCommand(int commandId)
{
    if (m_closed || !IsCommandEnabled(commandId)) {
        UpdateCommandStates();
        return;
    }
    if (m_engine && m_engine->OnCommand(commandId)) {
        UpdateCommandStates();
        return;
    }
    switch (commandId) {
    case CommandId::Exit:
        ExitCommand();
        break;
    case CommandId::QuorvaneWindow:
        BringWindowToFront(*this);
        break;
    case CommandId::ToggleStrip:
        ToggleStripCommand();
        break;
    case CommandId::HideStrip:
        if (IsStripShown())
            ToggleStripCommand();
        break;
    case CommandId::StripNext:
        if (m_strip)
            m_strip->NextPage();
        break;
    case CommandId::StripPrevious:
        if (m_strip)
            m_strip->PreviousPage();
        break;
    case CommandId::StripHelp:
        if (m_engine)
            m_engine->ShowHelpTopic(HelpTopics::StockStrip);
        break;
    default:
        break;
    }
    UpdateCommandStates();
}

void CMainFrame::PostCommand(int commandId)
{
    QMetaObject::invokeMethod(
        this, [this, commandId] { OnCommand(commandId); }, Qt::QueuedConnection);
}

bool CMainFrame::IsCommandEnabled(int commandId) const
{
    switch (commandId) {
    case CommandId::Exit:
        return OpenDialogCount::Instance().Count() == 0;
    case CommandId::StripNext:
    case CommandId::StripPrevious:
        return m_strip != nullptr && m_strip->PageCount() > 1;
    default:
        return true;
    }
}

void CMainFrame::UpdateCommandStates()
{
    for (const auto& [commandId, actions] : m_actions) {
        const bool enabled = IsCommandEnabled(commandId);
        const bool checked = commandId == CommandId::ToggleStrip
                                 ? IsStripShown()
                                 : m_engine != nullptr && m_engine->IsCommandChecked(commandId);
        for (QAction* action : actions) {
            action->setEnabled(enabled);
            if (action->isCheckable())
                action->setChecked(checked);
        }
    }
}

// Stock Strip ------------------------------------------------------------------------------------

void CMainFrame::ShowStrip()
{
    if (m_strip || m_closing)
        return;
    m_strip = std::make_unique<CStockStrip>(*this);
    m_strip->Create();
    UpdateCommandStates();
}

void CMainFrame::HideStrip()
{
    if (!m_strip)
        return;
    m_strip.reset();
    UpdateCommandStates();
}

void CMainFrame::RebuildStrip()
{
    if (!m_strip)
        return;
    m_strip->RebuildPages();
    UpdateCommandStates();
}

void CMainFrame::ApplyStripOptions()
{
    const CSettings& settings = GetSettings();
    if (settings.show == 0 || (settings.hideInactive != 0 && !m_active)) {
        HideStrip();
        return;
    }
    if (!m_strip) {
        ShowStrip();
        return;
    }
    m_strip->ApplySettings();
    UpdateCommandStates();
}

void CMainFrame::ToggleStripCommand()
{
    CSettings& settings = GetSettings();
    if (IsStripShown()) {
        HideStrip();
    } else if (settings.hideInactive != 0 && !m_active) {
        ShowUserMessage(u"The Stock Strip will not be shown because Quorvane is currently inactive.\nTo show the "
                        u"strip anyway, open the Options, Strip tab and uncheck Hide When Inactive."_s,
                        u"Quorvane"_s, MessageIcon::Information);
        return;
    } else {
        ShowStrip();
    }
    settings.show = IsStripShown() ? 1 : 0;
    settings.Save();
}

// Exit -------------------------------------------------------------------------------------------

void CMainFrame::ExitCommand()
{
    // The first time, the user is offered a look for a newer version instead of exiting.
    if (!m_exitPending && AskFirstUseWebUpdate()) {
        OnCommand(CommandId::WebUpdate);
        return;
    }
    CEngine* engine = m_engine ? m_engine->Engine() : nullptr;
    if (engine == nullptr || !engine->IsDownloadRunning()) {
        m_exitPending = false;
        delete m_waitDialog;
        QMetaObject::invokeMethod(this, &CMainFrame::CloseFrame, Qt::QueuedConnection);
        return;
    }
    // A quote is on its way: the engine finishes it, stops the pass and gives Exit again.
    engine->RequestStop();
    m_exitPending = true;
    ShowWaitDialog();
}

void CMainFrame::RequestExit()
{
    m_exitPending = true;
    PostCommand(CommandId::Exit);
}

QDialog* CMainFrame::WaitDialog() const
{
    return m_waitDialog;
}

void CMainFrame::ShowWaitDialog()
{
    if (!m_waitDialog) {
        auto* dialog = new QDialog(this);
        dialog->setObjectName(u"waitDialog"_s);
        dialog->setWindowTitle(u"Quorvane"_s);
        dialog->setModal(false);
        auto* layout = new QHBoxLayout(dialog);
        auto* icon = new QLabel(dialog);
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
        layout->addWidget(icon, 0, Qt::AlignTop);
        auto* text = new QLabel(u"Please wait while Quorvane finishes downloading the current stock quote."_s, dialog);
        text->setObjectName(u"waitText"_s);
        text->setWordWrap(true);
        layout->addWidget(text, 1);
        dialog->resize(360, dialog->sizeHint().height());
        m_waitDialog = dialog;
    }
    m_waitDialog->show();
    m_waitDialog->raise();
}

void CMainFrame::CloseFrame()
{
    if (m_closed)
        return;
    CEngine* engine = m_engine ? m_engine->Engine() : nullptr;
    if (engine != nullptr && engine->IsUpdateRunning()) {
        // An update pass is still unwinding further up: let it end first (it stops at once now).
        engine->RequestStop();
        QTimer::singleShot(kCloseRetryMs, this, &CMainFrame::CloseFrame);
        return;
    }
    if (QThread::currentThread()->loopLevel() > 1) {
        // A menu or a question is open in an event loop of its own, with the code that opened it
        // (a page's) waiting below: the window closes once that loop has ended.
        QTimer::singleShot(kCloseRetryMs, this, &CMainFrame::CloseFrame);
        return;
    }
    m_closing = true;
    delete m_waitDialog;
    HideStrip();
    SavePlacement();
    if (m_engine)
        m_engine->Close();
    if (m_tray)
        m_tray->SetShown(false);
    close();
    m_closed = true;
    UpdateCommandStates();
    emit Closed();
}

void CMainFrame::SavePlacement()
{
    SaveWidgetPlacement(WindowPlacementStore::MainWindowSection(), *this);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    // The close box, Alt+F4 or the window menu's Close: the program goes on in the tray. Without
    // a tray to come back from (many desktops have none), the window only goes to the task bar.
    event->ignore();
    if (CTrayIcon::IsTrayAvailable())
        hide();
    else
        showMinimized();
}

// Status bar -------------------------------------------------------------------------------------

QString CMainFrame::ActivityPaneText(bool active)
{
    return active ? u" Active"_s : u" Inactive"_s;
}

QString CMainFrame::AlertPaneText(long count)
{
    return u" Alerts: "_s + QString::number(count);
}

void CMainFrame::SetStatusText(const QString& text)
{
    if (!m_messagePane)
        return;
    m_messagePane->setText(text);
    m_messagePane->repaint();
}

void CMainFrame::SetActive(bool active)
{
    m_active = active;
    if (m_activityPane)
        m_activityPane->setText(ActivityPaneText(active));
}

void CMainFrame::SetAlertCount(long count)
{
    if (m_alertPane)
        m_alertPane->setText(AlertPaneText(count));
}

QString CMainFrame::StatusText() const
{
    return m_messagePane ? m_messagePane->text() : QString();
}

QString CMainFrame::ActivityText() const
{
    return m_activityPane ? m_activityPane->text() : QString();
}

QString CMainFrame::AlertText() const
{
    return m_alertPane ? m_alertPane->text() : QString();
}

void CMainFrame::SetTrayAlertIcon(bool alert)
{
    m_trayAlert = alert;
    if (m_tray)
        m_tray->SetIcon(alert ? CTrayIcon::AlertIcon() : CTrayIcon::ProgramIcon());
}
