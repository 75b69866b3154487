#pragma once

#include <QString>

#include <functional>

// The two ways the program opens a web page, tried in this order by LaunchBrowser (base/LaunchBrowser.h).
// Both return at once; the outcome is handed to `done` on the calling thread, exactly once, from a
// later turn of its event loop or before the call returns.
class IBrowserLauncher
{
public:
    using Done = std::function<void(bool opened)>;

    virtual ~IBrowserLauncher() = default;

    // Opens the URL the way the desktop opens links; done(true) when that worked.
    virtual void OpenWithDesktop(const QString& url, Done done) = 0;

    // Starts the desktop's default web browser on the URL directly; done(true) when it started.
    virtual void OpenWithDefaultBrowser(const QString& url, Done done) = 0;
};
