// The display platform chosen before the application starts: XWayland on a Wayland session that
// offers it, unless the user chose a platform.

#include "platform/DisplayPlatform.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DisplayPlatform, RunsOnXWaylandOnlyWhereItIsThereAndTheUserChoseNothing)
{
    const struct
    {
        const char* name;
        QStringList variables; // NAME=value
        QStringList arguments;
        QByteArray platform;
    } cases[] = {
        {"Wayland with XWayland", {u"WAYLAND_DISPLAY=wayland-0"_s, u"DISPLAY=:0"_s}, {}, "xcb"},
        {"Wayland without XWayland", {u"WAYLAND_DISPLAY=wayland-0"_s}, {}, ""},
        {"X11 alone", {u"DISPLAY=:0"_s}, {}, ""},
        {"the user's platform", {u"WAYLAND_DISPLAY=w"_s, u"DISPLAY=:0"_s, u"QT_QPA_PLATFORM=wayland"_s}, {}, ""},
        {"the user's -platform", {u"WAYLAND_DISPLAY=w"_s, u"DISPLAY=:0"_s}, {u"-platform"_s, u"wayland"_s}, ""},
        {"other arguments", {u"WAYLAND_DISPLAY=w"_s, u"DISPLAY=:0"_s}, {u"-AUTOSTART"_s}, "xcb"},
    };
    for (const auto& c : cases) {
        QProcessEnvironment environment(QProcessEnvironment::InheritFromParent);
        environment.clear();
        for (const QString& variable : c.variables)
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        EXPECT_EQ(DisplayPlatform::Preferred(environment, QStringList{u"quorvane"_s} + c.arguments), c.platform)
            << c.name;
    }
}
