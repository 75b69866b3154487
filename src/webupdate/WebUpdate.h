#pragma once

class IReachability;
class QWidget;

// The "Download Program Update" command: runs the web update dialog modally over parent with the
// version file's address from the option store, the program's own version and the proxy as for
// quotes. When a download completed, tells the user where the file is and how to install it.
// reachability: the network check; null = the system's.
void RunWebUpdate(QWidget* parent, IReachability* reachability = nullptr);

// The question that Exit asks the first time: whether to check for an update now. Asked only while
// "HasRun" is not set, which is set before asking, so it is never asked again. true when the user
// answered Yes (the caller runs the web update instead of exiting).
bool AskFirstUseWebUpdate();
