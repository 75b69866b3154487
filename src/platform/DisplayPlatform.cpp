#include "platform/DisplayPlatform.h"

namespace DisplayPlatform {

QByteArray Preferred(const QProcessEnvironment& environment, const QStringList& arguments)
{
    const auto isSet = [&](const QString& name) {
        return !environment.value(name).isEmpty();
    };
    if (!isSet(QStringLiteral("WAYLAND_DISPLAY")) || !isSet(QStringLiteral("DISPLAY")) ||
        isSet(QStringLiteral("QT_QPA_PLATFORM")))
        return {};
    // Qt takes "-platform NAME" (or "--platform NAME") before the environment.
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QStringLiteral("-platform") || argument == QStringLiteral("--platform"))
            return {};
    }
    return QByteArrayLiteral("xcb");
}

void Choose(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QByteArray platform = Preferred(QProcessEnvironment::systemEnvironment(), arguments);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace DisplayPlatform
