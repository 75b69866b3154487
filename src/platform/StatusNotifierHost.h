#pragma once

class QDBusConnection;

// Whether the desktop's tray speaks the StatusNotifierItem protocol: a watcher
// (org.kde.StatusNotifierWatcher) is on the bus and reports a registered host. Qt then shows the
// tray icon through that protocol, which never reports double clicks: a host sends one plain
// activation for the click that opens an item. Asks with a short time-out; false without a bus.
bool IsStatusNotifierHostRegistered(const QDBusConnection& bus);
