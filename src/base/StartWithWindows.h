#pragma once

#include <QStringList>

// Whether Quorvane starts with the desktop session. On Linux this is the XDG autostart entry
// $XDG_CONFIG_HOME/autostart/quorvane.desktop, whose Exec runs this program with "-AUTOSTART"
// (the program then starts hidden, reachable from the tray icon).

// True when the session will start the program (see AutostartEntry::IsEnabled).
bool IsStartWithWindows();

// On: writes the entry for the running program. Off: removes it. Returns whether the entry could be
// written or removed; callers may ignore a failure, the option then simply stays as it was.
bool SetStartWithWindows(bool on);

// True when the command line holds "-AUTOSTART", in any case and anywhere in the line (the
// arguments after the program name, joined by blanks, as the autostart entry passes them).
bool HasAutostartSwitch(const QStringList& arguments);
