#pragma once

#include <QString>

#include <functional>

class IBrowserLauncher;

// Opens a web page in the user's browser: the one way the program opens a link. Tries the
// desktop's own way of opening links (xdg-open), then the default browser for web pages directly;
// when neither starts, copies the link to the clipboard (copyToClipboard) and tells the user to
// open it by hand (reportFailure).
//
// Returns at once: the launchers run as child processes watched by the event loop, so a browser
// that is slow to answer never holds up the window. The fallback follows when the launchers have
// failed; then `done` (when given) learns whether a browser was started.
//
// maximize is accepted for the callers' sake; on Linux the browser and the window manager decide
// how its window opens, so it has no effect. A URL starting with '-' is never handed to a program
// (it would be read as an option): it goes straight to the clipboard fallback. Needs a
// QGuiApplication for the clipboard.
void LaunchBrowser(const QString& url, bool maximize, bool reportFailure, bool copyToClipboard,
                   std::function<void(bool launched)> done = {});

// The same with a given launcher (the default is an XdgBrowserLauncher), which must outlive the launch.
void LaunchBrowser(IBrowserLauncher& launcher, const QString& url, bool maximize, bool reportFailure,
                   bool copyToClipboard, std::function<void(bool launched)> done = {});
