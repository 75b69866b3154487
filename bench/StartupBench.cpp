// Start-up time and idle memory of the real program beside a bare Qt Widgets program with one
// QMainWindow (bare_window), both started as processes on a private X server (Xvfb):
//   - BM_StartToMapped: from starting the process to its main window being mapped on the X server
//     (seen as the MapNotify of a top-level window with the program's title);
//   - BM_IdleMemory: the resident memory (VmRSS) once the window is up and the program has sat
//     idle for a few seconds; for Quorvane also the decoded size of its character's images, the
//     allowance the memory target adds to the bare program's figure.
// Each start of Quorvane gets fresh XDG folders (a first run after the setup wizard: the default
// stocks, only the connection type saved) and a URL.ini whose quote addresses lead nowhere, so no
// start waits on the network.
//   scripts/build test --target bench_startup && build/test/bench/bench_startup

#include "agent/AcsReader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

extern char** environ;

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMapTimeoutMs = 20000;
constexpr int kIdleSeconds = 5;

// A private X server for the whole run.
class XServer
{
public:
    XServer()
    {
        for (int display = 150 + getpid() % 200; display < 600; ++display) {
            if (QFile::exists(u"/tmp/.X%1-lock"_s.arg(display)))
                continue;
            const std::string name = ":" + std::to_string(display);
            pid_t pid = 0;
            const char* argv[] = {"Xvfb", name.c_str(), "-nolisten", "tcp", "-screen", "0", "1280x1024x24", nullptr};
            if (posix_spawnp(&pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
                return;
            for (int i = 0; i < 250 && !QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            m_connection = xcb_connect(name.c_str(), nullptr);
            if (xcb_connection_has_error(m_connection) == 0) {
                m_pid = pid;
                m_display = name;
                xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
                m_root = screen->root;
                const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
                xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
                xcb_flush(m_connection);
                return;
            }
            xcb_disconnect(m_connection);
            m_connection = nullptr;
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    ~XServer()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }

    bool IsUp() const { return m_pid > 0; }
    const std::string& Display() const { return m_display; }

    // Drops the events of earlier runs.
    void Drain()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
            free(event);
    }

    // Waits for a top-level window titled title to be mapped; false on time-out.
    bool WaitForMapped(const QByteArray& title, int timeoutMs)
    {
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        while (Clock::now() < end) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool map = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window = map ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
                free(event);
                if (map && Title(window) == title)
                    return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            poll(&descriptor, 1, static_cast<int>(qMax<qint64>(1, left)));
        }
        return false;
    }

private:
    QByteArray Title(xcb_window_t window)
    {
        xcb_get_property_cookie_t cookie =
            xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, cookie, nullptr);
        QByteArray title;
        if (reply) {
            title = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
            free(reply);
        }
        return title;
    }

    pid_t m_pid = 0;
    std::string m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

XServer& Server()
{
    static XServer server;
    return server;
}

struct Program
{
    QString path;
    QByteArray title;
    bool quorvane;
};

Program Quorvane()
{
    return {QStringLiteral(QUORVANE_BINARY_DIR "/bin/quorvane"), "Quorvane 3.0", true};
}

Program BareWindow()
{
    return {QStringLiteral(QUORVANE_BINARY_DIR "/bench/bare_window"), "Bare Window", false};
}

// One started program with its own XDG folders.
class Run
{
public:
    explicit Run(const Program& program)
    {
        QDir().mkpath(m_home.path() + u"/runtime"_s);
        // Set up already, so that the setup wizard does not hold the window back.
        QDir().mkpath(m_home.path() + u"/config/Brightwold"_s);
        {
            QFile options(m_home.path() + u"/config/Brightwold/Quorvan.ini"_s);
            if (options.open(QIODevice::WriteOnly))
                options.write("[Connection]\nType=LAN\n");
        }
        QFile::setPermissions(m_home.path() + u"/runtime"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        std::vector<std::string> variables;
        for (char** variable = environ; *variable; ++variable) {
            const std::string entry(*variable);
            if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0 ||
                entry.rfind("QT_QPA_PLATFORM=", 0) == 0 || entry.rfind("XDG_", 0) == 0 ||
                entry.rfind("QUORVANE_URL_INI=", 0) == 0)
                continue;
            variables.push_back(entry);
        }
        const std::string home = m_home.path().toStdString();
        variables.push_back("DISPLAY=" + Server().Display());
        variables.push_back("QT_QPA_PLATFORM=xcb");
        variables.push_back("XDG_CONFIG_HOME=" + home + "/config");
        variables.push_back("XDG_DATA_HOME=" + home + "/data");
        variables.push_back("XDG_CACHE_HOME=" + home + "/cache");
        variables.push_back("XDG_RUNTIME_DIR=" + home + "/runtime");
        variables.push_back("QUORVANE_URL_INI=" QUORVANE_SOURCE_DIR "/tests/data/URL.ini");
        std::vector<char*> envp;
        for (std::string& variable : variables)
            envp.push_back(variable.data());
        envp.push_back(nullptr);

        const std::string path = program.path.toStdString();
        char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
        Server().Drain();
        m_start = Clock::now();
        if (posix_spawn(&m_pid, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
            m_pid = 0;
        else
            m_mapped = Server().WaitForMapped(program.title, kMapTimeoutMs);
        m_startTime = std::chrono::duration<double>(Clock::now() - m_start).count();
    }

    ~Run()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }

    bool Mapped() const { return m_pid > 0 && m_mapped; }
    double StartSeconds() const { return m_startTime; }

    // VmRSS in kilobytes.
    long ResidentKb() const
    {
        QFile status(u"/proc/%1/status"_s.arg(m_pid));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
        return -1;
    }

private:
    QTemporaryDir m_home;
    pid_t m_pid = 0;
    Clock::time_point m_start;
    bool m_mapped = false;
    double m_startTime = 0;
};

// The size of the character's frames as the program holds them: every image decoded to its
// 8-bit palette pixels.
double CharacterImageKb()
{
    AcsReader reader;
    const std::optional<AcsCharacter> character =
        reader.ReadFile(QStringLiteral(QUORVANE_BINARY_DIR "/share/quorvane/chars/Pennywit.acs"));
    if (!character)
        return -1;
    double bytes = 0;
    for (const AcsImage& image : character->Images())
        bytes += image.Pixels().size();
    return bytes / 1024;
}

bool Prepared(benchmark::State& state, const Program& program)
{
    if (!Server().IsUp()) {
        state.SkipWithError("Xvfb did not start (scripts/install-deps test)");
        return false;
    }
    if (!QFileInfo(program.path).isExecutable()) {
        state.SkipWithError("build the program first (scripts/build test)");
        return false;
    }
    return true;
}

void BM_StartToMapped(benchmark::State& state, const Program& program)
{
    if (!Prepared(state, program))
        return;
    for (auto _ : state) {
        Run run(program);
        if (!run.Mapped()) {
            state.SkipWithError("the window did not appear");
            return;
        }
        state.SetIterationTime(run.StartSeconds());
    }
}

void BM_IdleMemory(benchmark::State& state, const Program& program)
{
    if (!Prepared(state, program))
        return;
    long resident = 0;
    for (auto _ : state) {
        Run run(program);
        if (!run.Mapped()) {
            state.SkipWithError("the window did not appear");
            return;
        }
        std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
        resident = run.ResidentKb();
        state.SetIterationTime(run.StartSeconds());
    }
    state.counters["rss_kb"] = double(resident);
    if (program.quorvane)
        state.counters["character_kb"] = CharacterImageKb();
}

BENCHMARK_CAPTURE(BM_StartToMapped, bare_window, BareWindow())
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(BM_StartToMapped, quorvane, Quorvane())
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(BM_IdleMemory, bare_window, BareWindow())
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_IdleMemory, quorvane, Quorvane())->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
