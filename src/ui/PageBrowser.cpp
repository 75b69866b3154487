#include "ui/PageBrowser.h"

#include "base/LaunchBrowser.h"

namespace {
IBrowserLauncher* g_launcher = nullptr;
}

bool OpenPageLink(const QString& url)
{
    if (g_launcher)
        return LaunchBrowser(*g_launcher, url, true, true, true);
    return LaunchBrowser(url, true, true, true);
}

void SetPageBrowserLauncher(IBrowserLauncher* launcher)
{
    g_launcher = launcher;
}
