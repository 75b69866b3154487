#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

class QAction;
class QMenu;

// One item of the tray menu: a command (its id goes to the command handler) or a separator.
struct TrayMenuItem
{
    int commandId = 0;
    QString text;
    bool separator = false;

    static TrayMenuItem Command(int id, const QString& text) { return {id, text, false}; }
    static TrayMenuItem Separator() { return {0, QString(), true}; }
};

// The program's icon in the notification area, over QSystemTrayIcon. It keeps the program reachable
// while the main window is hidden: a right click opens the tray menu, whose first item is the
// default (drawn bold), and a double click runs that first item's command. Trays that speak the
// StatusNotifierItem protocol never report double clicks; there the plain activation (the host's
// click) runs it instead.
//
// Without a tray host (QSystemTrayIcon::isSystemTrayAvailable() false) everything stays callable:
// adding the icon reports failure, and Qt adds it by itself should a tray host appear later.
//
//   m_tray.SetNotificationWindow(this, [this](int id) { OnCommand(id); });
//   m_tray.Create(CTrayIcon::ProgramIcon(), u"Quorvane"_s, {TrayMenuItem::Command(32777, u"&Quorvane Window"_s), ...},
//   true); connect(&m_tray, &CTrayIcon::SecondaryDoubleClicked, this, [this] { OnCommand(32772); }); // Exit
//   m_tray.SetIcon(CTrayIcon::AlertIcon());   // an alert was raised
class CTrayIcon : public QObject
{
    Q_OBJECT

public:
    using CommandHandler = std::function<void(int commandId)>;

    explicit CTrayIcon(QObject* parent = nullptr);
    // Removes the icon from the notification area.
    ~CTrayIcon() override;

    // Who receives the menu's commands: the handler runs while the receiver exists; once it is
    // destroyed, commands are dropped.
    void SetNotificationWindow(QObject* receiver, CommandHandler handler);

    // Stores the icon, the tip and the menu, then SetShown(shown). Always true, as the icon may
    // still appear once a tray host starts; IsInTray() tells whether it is there now.
    bool Create(const QIcon& icon, const QString& tip, const QList<TrayMenuItem>& menu, bool shown);

    // Replaces the icon; a null icon takes it out of the notification area. True when the icon is
    // where it should be afterwards (false: it should be shown but no tray takes it).
    bool SetIcon(const QIcon& icon);

    // Whether the icon should be in the notification area: true adds it once, false removes it.
    // True when nothing had to change or the change took effect.
    bool SetShown(bool shown);

    bool IsShown() const { return m_shown; }
    // True while the icon is in a notification area.
    bool IsInTray() const { return m_inTray; }
    QIcon Icon() const { return m_icon; }
    QString ToolTip() const { return m_tip; }

    // The tray menu (for check marks and enabled states, e.g. on aboutToShow), and its item of a command.
    QMenu* Menu() const { return m_menu.get(); }
    QAction* Action(int commandId) const;
    // The first item's command, 0 without one.
    int DefaultCommand() const;

    // What a tray activation does: a double click (and, on StatusNotifierItem trays, a plain
    // activation) runs the default command; two context clicks within the double-click interval
    // emit SecondaryDoubleClicked. True when the activation was handled.
    bool OnTrayNotification(QSystemTrayIcon::ActivationReason reason);

    // Whether a plain activation runs the default command. Create() sets it from the session's
    // tray (true when a StatusNotifierItem host is registered).
    void SetTriggerRunsDefault(bool runs) { m_triggerRunsDefault = runs; }
    bool TriggerRunsDefault() const { return m_triggerRunsDefault; }

    // The program icon and the alert icon (the program icon with a red badge).
    static QIcon ProgramIcon();
    static QIcon AlertIcon();
    static bool IsTrayAvailable();

signals:
    // The right button was double-clicked on the icon (the main window ends the program on it).
    void SecondaryDoubleClicked();

private:
    bool UpdateTray();
    void RunCommand(int commandId);

    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_tray = nullptr;
    QPointer<QObject> m_receiver;
    CommandHandler m_handler;
    QIcon m_icon;
    QString m_tip;
    bool m_shown = false;
    bool m_inTray = false;
    bool m_triggerRunsDefault = false;
    QElapsedTimer m_lastContextClick;
};
