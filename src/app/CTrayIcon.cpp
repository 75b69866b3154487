#include "app/CTrayIcon.h"

#include "platform/StatusNotifierHost.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QMenu>

using namespace Qt::StringLiterals;

CTrayIcon::CTrayIcon(QObject* parent)
    : QObject(parent)
    , m_menu(std::make_unique<QMenu>())
    , m_tray(new QSystemTrayIcon(this))
{
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { OnTrayNotification(reason); });
}

CTrayIcon::~CTrayIcon()
{
    SetShown(false);
    // The tray icon must let go of the menu before the menu goes.
    m_tray->setContextMenu(nullptr);
}

void CTrayIcon::SetNotificationWindow(QObject* receiver, CommandHandler handler)
{
    m_receiver = receiver;
    m_handler = std::move(handler);
}

bool CTrayIcon::Create(const QIcon& icon, const QString& tip, const QList<TrayMenuItem>& menu, bool shown)
{
    m_icon = icon;
    m_tip = tip;
    m_tray->setToolTip(tip);

    m_menu->clear();
    bool first = true;
    for (const TrayMenuItem& item : menu) {
        if (item.separator) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(item.text);
        action->setData(item.commandId);
        const int id = item.commandId;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        if (first) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            m_menu->setDefaultAction(action);
            first = false;
        }
    }
    m_tray->setContextMenu(m_menu.get());
    m_triggerRunsDefault = IsStatusNotifierHostRegistered(QDBusConnection::sessionBus());

    SetShown(shown);
    return true;
}

bool CTrayIcon::SetIcon(const QIcon& icon)
{
    m_icon = icon;
    return UpdateTray();
}

bool CTrayIcon::SetShown(bool shown)
{
    if (shown == m_shown)
        return true;
    m_shown = shown;
    return UpdateTray();
}

bool CTrayIcon::UpdateTray()
{
    if (m_shown && !m_icon.isNull()) {
        m_tray->setIcon(m_icon);
        // Shown even without a tray host: Qt adds the icon when one appears.
        if (!m_tray->isVisible())
            m_tray->show();
        m_inTray = IsTrayAvailable();
        return m_inTray;
    }
    if (m_tray->isVisible())
        m_tray->hide();
    m_inTray = false;
    return true;
}

QAction* CTrayIcon::Action(int commandId) const
{
    for (QAction* action : m_menu->actions()) {
        if (!action->isSeparator() && action->data().toInt() == commandId)
            return action;
    }
    return nullptr;
}

int CTrayIcon::DefaultCommand() const
{
    for (QAction* action : m_menu->actions()) {
        if (!action->isSeparator())
            return action->data().toInt();
    }
    return 0;
}

bool CTrayIcon::OnTrayNotification(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        RunCommand(DefaultCommand());
        return true;
    case QSystemTrayIcon::Trigger:
        if (!m_triggerRunsDefault)
            return false;
        RunCommand(DefaultCommand());
        return true;
    case QSystemTrayIcon::Context: {
        // Qt opens the menu itself; a second context click soon after is a double click.
        const bool twice =
            m_lastContextClick.isValid() && m_lastContextClick.elapsed() <= QApplication::doubleClickInterval();
        if (twice) {
            m_lastContextClick.invalidate();
            emit SecondaryDoubleClicked();
        } else {
            m_lastContextClick.start();
        }
        return true;
    }
    default:
        return false;
    }
}

void CTrayIcon::RunCommand(int commandId)
{
    if (commandId == 0 || !m_receiver || !m_handler)
        return;
    m_handler(commandId);
}

QIcon CTrayIcon::ProgramIcon()
{
    return QIcon(u":/icons/quorvane.svg"_s);
}

QIcon CTrayIcon::AlertIcon()
{
    return QIcon(u":/icons/quorvane-alert.svg"_s);
}

bool CTrayIcon::IsTrayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
