// agentplay: shows a character file on the desktop and has it play and speak, so that anyone can
// check a character by eye and ear.
//
//   agentplay FILE.acs [--list] [--play NAME]... [--say TEXT]... [--think TEXT]... [options]
//
// The requests run in the order given, after the character has appeared; then it hides and the
// program ends. See --help for the options.

#include "agent/AcsReader.h"
#include "agent/DesktopAgentControl.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString CharacterId = u"agentplay"_s;

struct Action
{
    enum class Kind
    {
        Play,
        Say,
        Think,
        Move,
    };
    Kind kind;
    QString text;
    QPoint at;
};

struct Options
{
    QString file;
    bool list = false;
    bool fast = false;
    int speed = 150;
    int pitch = 50;
    std::optional<QPoint> at;
    int staySeconds = 0;
    int idleSeconds = -1;
    int screenshotMs = -1;
    QString screenshotFile;
    std::vector<Action> actions;
};

void PrintUsage(FILE* to)
{
    std::fputs("usage: agentplay FILE.acs [--list] [--play NAME]... [--say TEXT]... [--think TEXT]...\n"
               "                 [--move X,Y]... [--fast] [--speed N] [--pitch N] [--at X,Y] [--stay SECONDS]\n"
               "                 [--idle SECONDS] [--screenshot MS FILE.png]\n"
               "\n"
               "  --list          print the character's animation names, one a line, and exit\n"
               "  --play NAME     play an animation\n"
               "  --say TEXT      speak a text (Agent speech tags allowed) with the speed and pitch\n"
               "  --think TEXT    show a text in a thought balloon\n"
               "  --move X,Y      glide to a screen position\n"
               "  --fast          show and hide without the Showing and Hiding animations\n"
               "  --speed N       speech speed, 50-250 (default 150)\n"
               "  --pitch N       speech pitch, 50-400 (default 50)\n"
               "  --at X,Y        where the character appears (default: the middle of the screen)\n"
               "  --stay SECONDS  stay on the screen this long after the requests before hiding\n"
               "  --idle SECONDS  show the character, leave it idle this long, then print the\n"
               "                  processor time it used while idle and exit\n"
               "  --screenshot MS FILE.png  save a picture of the screen MS milliseconds after the\n"
               "                  character was asked to appear (for checking it on a headless display)\n",
               to);
}

std::optional<QPoint> ParsePoint(const QString& text)
{
    const QStringList parts = text.split(u',');
    bool okX = false;
    bool okY = false;
    if (parts.size() != 2)
        return std::nullopt;
    const int x = parts[0].trimmed().toInt(&okX);
    const int y = parts[1].trimmed().toInt(&okY);
    if (!okX || !okY)
        return std::nullopt;
    return QPoint(x, y);
}

// Reads the command line; on a mistake prints what is wrong and returns nothing.
std::optional<Options> ParseArguments(const QStringList& arguments)
{
    Options options;
    const auto fail = [](const QString& message) -> std::optional<Options> {
        std::fprintf(stderr, "agentplay: %s\n", qPrintable(message));
        PrintUsage(stderr);
        return std::nullopt;
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        const auto number = [&](int& into, int low, int high) {
            const std::optional<QString> text = value();
            bool ok = false;
            const int parsed = text ? text->toInt(&ok) : 0;
            if (!ok || parsed < low || parsed > high)
                return false;
            into = parsed;
            return true;
        };
        if (argument == u"--help"_s || argument == u"-h"_s) {
            PrintUsage(stdout);
            std::exit(0);
        } else if (argument == u"--list"_s) {
            options.list = true;
        } else if (argument == u"--fast"_s) {
            options.fast = true;
        } else if (argument == u"--play"_s || argument == u"--say"_s || argument == u"--think"_s) {
            const std::optional<QString> text = value();
            if (!text)
                return fail(argument + u" needs a value"_s);
            const Action::Kind kind = argument == u"--play"_s  ? Action::Kind::Play
                                      : argument == u"--say"_s ? Action::Kind::Say
                                                               : Action::Kind::Think;
            options.actions.push_back(Action{kind, *text, {}});
        } else if (argument == u"--move"_s || argument == u"--at"_s) {
            const std::optional<QString> text = value();
            const std::optional<QPoint> point = text ? ParsePoint(*text) : std::nullopt;
            if (!point)
                return fail(argument + u" needs a position X,Y"_s);
            if (argument == u"--at"_s)
                options.at = point;
            else
                options.actions.push_back(Action{Action::Kind::Move, {}, *point});
        } else if (argument == u"--speed"_s) {
            if (!number(options.speed, 1, 1000))
                return fail(u"--speed needs a number from 1 to 1000"_s);
        } else if (argument == u"--pitch"_s) {
            if (!number(options.pitch, 1, 1000))
                return fail(u"--pitch needs a number from 1 to 1000"_s);
        } else if (argument == u"--stay"_s) {
            if (!number(options.staySeconds, 0, 86400))
                return fail(u"--stay needs a number of seconds"_s);
        } else if (argument == u"--idle"_s) {
            if (!number(options.idleSeconds, 1, 86400))
                return fail(u"--idle needs a number of seconds"_s);
        } else if (argument == u"--screenshot"_s) {
            if (!number(options.screenshotMs, 0, 3600 * 1000))
                return fail(u"--screenshot needs milliseconds and a file name"_s);
            const std::optional<QString> file = value();
            if (!file)
                return fail(u"--screenshot needs milliseconds and a file name"_s);
            options.screenshotFile = *file;
        } else if (argument.startsWith(u"-"_s)) {
            return fail(u"unknown option "_s + argument);
        } else if (options.file.isEmpty()) {
            options.file = argument;
        } else {
            return fail(u"only one character file, please"_s);
        }
    }
    if (options.file.isEmpty())
        return fail(u"which character file?"_s);
    return options;
}

int ListAnimations(const QString& file)
{
    AcsReader reader;
    const std::optional<AcsCharacter> character = reader.ReadFile(file);
    if (!character) {
        std::fprintf(stderr, "agentplay: %s\n", qPrintable(reader.ErrorText()));
        return 1;
    }
    for (const QString& name : character->AnimationNames())
        std::printf("%s\n", qPrintable(name));
    return 0;
}

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const std::optional<Options> parsed = ParseArguments(arguments);
    if (!parsed)
        return 2;
    const Options& options = *parsed;
    if (options.list) {
        QCoreApplication app(argc, argv);
        return ListAnimations(options.file);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"agentplay"_s);
    std::unique_ptr<AgentControl> control = CreateDesktopAgentControl();
    QString error;
    if (control->Load(CharacterId, options.file, &error) != IAgentControl::LoadOk) {
        std::fprintf(stderr, "agentplay: %s\n", qPrintable(error));
        return 1;
    }
    AgentCharacter* character = control->Loaded(CharacterId);
    character->SetLanguageID(1033);

    QPoint at;
    if (options.at) {
        at = *options.at;
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        at = area.center() - QPoint(character->Width() / 2, character->Height() / 2);
    }
    character->MoveTo(at.x(), at.y());
    character->Show(options.fast);
    if (options.screenshotMs >= 0) {
        QTimer::singleShot(options.screenshotMs, &app, [&options] {
            QScreen* screen = QGuiApplication::primaryScreen();
            if (!screen || !screen->grabWindow(0).save(options.screenshotFile))
                std::fprintf(stderr, "agentplay: could not save %s\n", qPrintable(options.screenshotFile));
        });
    }

    if (options.idleSeconds > 0) {
        // Measure only the idle time: from when the character has appeared and rests.
        double cpuAtStart = 0;
        QElapsedTimer clock;
        QObject::connect(character, &AgentCharacter::Idle, &app, [&] {
            if (clock.isValid())
                return;
            cpuAtStart = ProcessCpuSeconds();
            clock.start();
            QTimer::singleShot(options.idleSeconds * 1000, &app, [&] {
                const double cpu = ProcessCpuSeconds() - cpuAtStart;
                const double seconds = double(clock.elapsed()) / 1000.0;
                std::printf("idle %.1f s: processor time %.3f s = %.3f %% of a core\n", seconds, cpu,
                            100.0 * cpu / seconds);
                std::fflush(stdout);
                QApplication::quit();
            });
        });
        return QApplication::exec();
    }

    const QString tags = u"\\Spd=%1\\\\Pit=%2\\"_s.arg(options.speed).arg(options.pitch);
    for (const Action& action : options.actions) {
        switch (action.kind) {
        case Action::Kind::Play:
            if (character->Character().AnimationIndex(action.text) < 0)
                std::fprintf(stderr, "agentplay: the character has no animation \"%s\" (see --list)\n",
                             qPrintable(action.text));
            character->Play(action.text);
            break;
        case Action::Kind::Say:
            character->Speak(tags + action.text);
            break;
        case Action::Kind::Think:
            character->Think(action.text);
            break;
        case Action::Kind::Move:
            character->MoveTo(action.at.x(), action.at.y());
            break;
        }
    }

    // When everything has played: stay a while if asked, hide, and end once the character is gone.
    bool hiding = false;
    QObject::connect(character, &AgentCharacter::Idle, &app, [&] {
        if (hiding) {
            QTimer::singleShot(100, &app, &QApplication::quit);
            return;
        }
        hiding = true;
        QTimer::singleShot(std::max(1000, options.staySeconds * 1000), &app, [&] { character->Hide(options.fast); });
    });
    return QApplication::exec();
}
