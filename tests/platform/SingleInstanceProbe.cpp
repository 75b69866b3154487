// A tiny program for the single-instance test: claims the instance the way Quorvane does and tells
// what it became on standard output, so that a test can run several real processes against each other.
//
//   single_instance_probe [--never-listen] [--listen-after MS] [--activations N]
//
// First copy: prints "first", then "listening" once it answers, and "activate <token>" for every
// request; quits after N requests (default 1), or after 30 s. Exit codes: 0 first, 3 asked the
// running copy to activate, 4 a copy is still starting, 5 the socket could not be made.

#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void Say(const QByteArray& line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool neverListen = args.contains(u"--never-listen"_s);
    int listenAfterMs = 0;
    int activations = 1;
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--listen-after"_s)
            listenAfterMs = args[i + 1].toInt();
        else if (args[i] == u"--activations"_s)
            activations = args[i + 1].toInt();
    }

    SingleInstance instance(u"quorvane"_s);
    switch (instance.Claim()) {
    case SingleInstance::Start::ActivatedOther:
        Say("activated-other");
        return 3;
    case SingleInstance::Start::OtherStarting:
        return 4;
    case SingleInstance::Start::First:
        break;
    }
    Say("first");

    int received = 0;
    QObject::connect(&instance, &SingleInstance::ActivateRequested, &app, [&](const QString& token) {
        Say("activate " + token.toLatin1());
        if (++received >= activations)
            QCoreApplication::quit();
    });
    if (!neverListen) {
        QTimer::singleShot(listenAfterMs, &app, [&] {
            if (!instance.Listen())
                QCoreApplication::exit(5);
            Say("listening");
        });
    }
    QTimer::singleShot(30000, &app, [] { QCoreApplication::exit(6); });
    return QCoreApplication::exec();
}
