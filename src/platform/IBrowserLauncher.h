#pragma once

#include <QString>

// The two ways the program opens a web page, tried in this order by LaunchBrowser (base/LaunchBrowser.h).
class IBrowserLauncher
{
public:
    virtual ~IBrowserLauncher() = default;

    // Opens the URL the way the desktop opens links; true when that worked.
    virtual bool OpenWithDesktop(const QString& url) = 0;

    // Starts the desktop's default web browser on the URL directly; true when it started.
    virtual bool OpenWithDefaultBrowser(const QString& url) = 0;
};
