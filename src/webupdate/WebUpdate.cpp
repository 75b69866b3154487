#include "webupdate/WebUpdate.h"

#include "base/AppPaths.h"
#include "base/UserMessage.h"
#include "webupdate/CWebUpdateDlg.h"
#include "webupdate/WebUpdateSettings.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

void RunWebUpdate(QWidget* parent, IReachability* reachability)
{
    CWebUpdateDlg dialog(WebUpdateSettings::VersionFileUrl(), AppPaths::ProgramFile(), WebUpdateSettings::ProxyText(),
                         reachability, parent);
    dialog.exec();
    const QString file = dialog.DownloadedFile();
    if (file.isEmpty())
        return;
    ShowUserMessage(u"Please install the update at your convenience.\nExit this program and execute the file called "
                    "\"%1\",\nlocated in your Desktop folder.\n\nAfter installing, you may delete this file or move "
                    "it to a different location."_s.arg(QFileInfo(file).fileName()),
                    u"Update ready for installation"_s, MessageIcon::Information);
}

bool AskFirstUseWebUpdate()
{
    if (WebUpdateSettings::HasRun())
        return false;
    WebUpdateSettings::SetHasRun();
    const MessageResult answer =
        ShowUserMessage(u"This is the first time you close Quorvane.\n\nNewer versions of Quorvane bring new features "
                        "and fixes. Would you like to look on the web for a newer version now?\n\nYou will not be "
                        "asked this again. To look for a newer version at any time, choose Download Program Update "
                        "in the Help menu."_s,
                        u"Check for a Newer Version"_s, MessageIcon::Question, MessageButtons::YesNo);
    return answer == MessageResult::Yes;
}
