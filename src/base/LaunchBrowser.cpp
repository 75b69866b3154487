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

void LaunchBrowser(const QString& url, bool maximize, bool reportFailure, bool copyToClipboard,
                   std::function<void(bool)> done)
{
    static XdgBrowserLauncher launcher;
    LaunchBrowser(launcher, url, maximize, reportFailure, copyToClipboard, std::move(done));
}

void LaunchBrowser(IBrowserLauncher& launcher, const QString& url, bool /*maximize*/, bool reportFailure,
                   bool copyToClipboard, std::function<void(bool)> done)
{
    const auto fail = [url, reportFailure, copyToClipboard, done] {
        const bool copied = copyToClipboard && CopyToClipboard(url);
        if (reportFailure) {
            QString text = u"Please open your browser and goto the following link:\n"_s + url;
            if (copied) {
                text += u"\n\nFor your convenience, the link has been copied to the Clipboard.\n"_s;
                text += u"Select Edit | Paste in your browser to quickly paste the link."_s;
            }
            ShowUserMessage(text, u"Could not launch browser"_s, MessageIcon::Error);
        }
        if (done)
            done(false);
    };
    const auto succeed = [done] {
        if (done)
            done(true);
    };
    if (url.trimmed().isEmpty() || url.startsWith(u'-')) {
        fail();
        return;
    }
    launcher.OpenWithDesktop(url, [&launcher, url, fail, succeed](bool opened) {
        if (opened) {
            succeed();
            return;
        }
        launcher.OpenWithDefaultBrowser(url, [fail, succeed](bool started) {
            if (started)
                succeed();
            else
                fail();
        });
    });
}
