#include "base/StartWithWindows.h"

#include "base/AppPaths.h"
#include "platform/AutostartEntry.h"

using namespace Qt::StringLiterals;

namespace {

AutostartEntry Entry()
{
    return AutostartEntry(u"quorvane.desktop"_s);
}

} // namespace

bool IsStartWithWindows()
{
    return Entry().IsEnabled();
}

bool SetStartWithWindows(bool on)
{
    if (on)
        return Entry().Enable(u"Quorvane"_s, AppPaths::ProgramFile(), {u"-AUTOSTART"_s});
    return Entry().Disable(u"Quorvane"_s, AppPaths::ProgramFile());
}

bool HasAutostartSwitch(const QStringList& arguments)
{
    return arguments.mid(1).join(u' ').toUpper().contains(u"-AUTOSTART"_s);
}
