#include "ui/PageBrowser.h"

#include "base/LaunchBrowser.h"

namespace {
IBrowserLauncher* g_launcher = nullptr;
}

void OpenPageLink(const QString& url)
{
    if (g_launcher)
        LaunchBrowser(*g_launcher, url, true, true, true);
    else
        LaunchBrowser(url, true, true, true);
}

void SetPageBrowserLauncher(IBrowserLauncher* launcher)
{
    g_launcher = launcher;
}
