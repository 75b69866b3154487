#pragma once

#include <QString>

class IBrowserLauncher;

// Opens a web page in the user's browser: the one way the program opens a link. Tries the
// desktop's own way of opening links (xdg-open), then the default browser for web pages directly;
// when neither starts, copies the link to the clipboard (copyToClipboard) and tells the user to
// open it by hand (reportFailure). Returns true when a browser was started.
//
// maximize is accepted for the callers' sake; on Linux the browser and the window manager decide
// how its window opens, so it has no effect. A URL starting with '-' is never handed to a program
// (it would be read as an option): it goes straight to the clipboard fallback.
//
// Blocks for at most a few seconds (the launcher's time-outs); needs a QGuiApplication for the
// clipboard.
bool LaunchBrowser(const QString& url, bool maximize, bool reportFailure, bool copyToClipboard);

// The same with a given launcher (the default is an XdgBrowserLauncher).
bool LaunchBrowser(IBrowserLauncher& launcher, const QString& url, bool maximize, bool reportFailure,
                   bool copyToClipboard);
