#pragma once

#include <QString>

class IBrowserLauncher;

// How the pages and their dialogs open web pages (chart, news, symbol lookup): LaunchBrowser with
// every flag on; returns at once. Tests put a launcher of their own in place of the desktop's.
void OpenPageLink(const QString& url);

// nullptr restores the desktop's launcher. The caller keeps ownership.
void SetPageBrowserLauncher(IBrowserLauncher* launcher);
