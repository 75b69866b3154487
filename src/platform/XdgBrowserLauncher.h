#pragma once

#include "platform/IBrowserLauncher.h"

#include <QStringList>

#include <optional>

// Opens web pages with the freedesktop.org tools, found on PATH when called, without ever waiting
// for them on the calling thread (the helper programs run as child processes watched by the event
// loop):
//  - OpenWithDesktop runs "xdg-open URL" and checks its exit code (QDesktopServices only reports
//    that the launcher started). xdg-open may wait for the browser it started, so when it is still
//    running after the time-out the page counts as opened and xdg-open is left to finish.
//  - OpenWithDefaultBrowser asks "xdg-mime query default text/html" for the default browser's
//    desktop entry, finds that file in the applications folders of $XDG_DATA_HOME and
//    $XDG_DATA_DIRS, and starts its Exec line with the URL in place of the URL field code.
// xdg-open gets the time-out, the xdg-mime look-up half of it. Needs a QCoreApplication.
class XdgBrowserLauncher final : public IBrowserLauncher
{
public:
    static constexpr int DefaultTimeoutMs = 2000;

    explicit XdgBrowserLauncher(int timeoutMs = DefaultTimeoutMs);

    void OpenWithDesktop(const QString& url, Done done) override;
    void OpenWithDefaultBrowser(const QString& url, Done done) override;

    // The desktop file id named by the output of "xdg-mime query default" ("firefox-esr.desktop"),
    // empty when it names none.
    static QString BrowserIdFromQuery(const QByteArray& output);
    // The path of the desktop file with that id, empty when none is found.
    static QString FindDesktopFile(const QString& desktopId);
    // The Exec line of the desktop file with that id, split into program and arguments (field codes
    // still in).
    static std::optional<QStringList> BrowserCommand(const QString& desktopId);
    // Starts a browser command line on the URL, detached; true when it started.
    static bool StartBrowser(const QStringList& command, const QString& url);

    // The applications folders searched, most important first.
    static QStringList ApplicationFolders();

private:
    int m_timeoutMs;
};
