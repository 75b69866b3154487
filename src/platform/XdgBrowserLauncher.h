#pragma once

#include "platform/IBrowserLauncher.h"

#include <QStringList>

#include <optional>

// Opens web pages with the freedesktop.org tools, found on PATH when called:
//  - OpenWithDesktop runs "xdg-open URL" and checks its exit code (QDesktopServices only reports
//    that the launcher started). xdg-open may wait for the browser it started, so when it is still
//    running after the time-out the page counts as opened and xdg-open is left to finish.
//  - OpenWithDefaultBrowser asks "xdg-mime query default text/html" for the default browser's
//    desktop entry, finds that file in the applications folders of $XDG_DATA_HOME and
//    $XDG_DATA_DIRS, and starts its Exec line with the URL in place of the URL field code.
// xdg-open gets the time-out, the xdg-mime look-up half of it: a failing launch blocks its caller
// for at most about one and a half time-outs.
class XdgBrowserLauncher final : public IBrowserLauncher
{
public:
    static constexpr int DefaultTimeoutMs = 2000;

    explicit XdgBrowserLauncher(int timeoutMs = DefaultTimeoutMs);

    bool OpenWithDesktop(const QString& url) override;
    bool OpenWithDefaultBrowser(const QString& url) override;

    // The desktop file id of the default browser ("firefox-esr.desktop"), empty when there is none.
    QString DefaultBrowserId() const;
    // The path of the desktop file with that id, empty when none is found.
    static QString FindDesktopFile(const QString& desktopId);
    // The default browser's Exec line, split into program and arguments (field codes still in).
    std::optional<QStringList> DefaultBrowserCommand() const;

    // The applications folders searched, most important first.
    static QStringList ApplicationFolders();

private:
    int m_timeoutMs;
};
