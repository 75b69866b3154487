#include "base/LaunchBrowser.h"

#include "base/UserMessage.h"
#include "platform/XdgBrowserLauncher.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace {

// True when the clipboard holds the text afterwards.
bool CopyToClipboard(const QString& text)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
    return clipboard->text(QClipboard::Clipboard) == text;
}

} // namespace

bool LaunchBrowser(const QString& url, bool maximize, bool reportFailure, bool copyToClipboard)
{
    XdgBrowserLauncher launcher;
    return LaunchBrowser(launcher, url, maximize, reportFailure, copyToClipboard);
}

bool LaunchBrowser(IBrowserLauncher& launcher, const QString& url, bool /*maximize*/, bool reportFailure,
                   bool copyToClipboard)
{
    const bool launchable = !url.trimmed().isEmpty() && !url.startsWith(u'-');
    if (launchable && (launcher.OpenWithDesktop(url) || launcher.OpenWithDefaultBrowser(url)))
        return true;

    const bool copied = copyToClipboard && CopyToClipboard(url);
    if (reportFailure) {
        QString text = u"Please open your browser and goto the following link:\n"_s + url;
        if (copied) {
            text += u"\n\nFor your convenience, the link has been copied to the Clipboard.\n"_s;
            text += u"Select Edit | Paste in your browser to quickly paste the link."_s;
        }
        ShowUserMessage(text, u"Could not launch browser"_s, MessageIcon::Error);
    }
    return false;
}
