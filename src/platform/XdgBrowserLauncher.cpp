#include "platform/XdgBrowserLauncher.h"

#include "platform/DesktopEntry.h"
#include "platform/DesktopExec.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A desktop file id is a plain file name; anything that could climb out of the folders is refused.
bool IsPlausibleDesktopId(const QString& id)
{
    return id.endsWith(u".desktop"_s) && !id.contains(u'/') && !id.startsWith(u'.') && id.size() < 256 &&
           std::none_of(id.cbegin(), id.cend(),
                        [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; });
}

} // namespace

XdgBrowserLauncher::XdgBrowserLauncher(int timeoutMs)
    : m_timeoutMs(timeoutMs)
{}

namespace {

// Hands the outcome on once, whichever of the watched events comes first.
class Outcome
{
public:
    explicit Outcome(IBrowserLauncher::Done done)
        : m_done(std::make_shared<IBrowserLauncher::Done>(std::move(done)))
    {}
    void operator()(bool opened) const
    {
        if (!*m_done)
            return;
        const IBrowserLauncher::Done done = std::move(*m_done);
        *m_done = nullptr;
        done(opened);
    }

private:
    std::shared_ptr<IBrowserLauncher::Done> m_done;
};

// A helper program run without waiting for it: `finished` gets its exit code (-1 when it could not
// run or crashed), or, once timeoutMs have passed, `timedOut` is called and the program left alone
// (killed when kill is set). Owned by the application, it deletes itself when it ends.
QProcess* RunWatched(const QString& program, const QStringList& arguments, int timeoutMs, bool captureOutput,
                     std::function<void(int exitCode, const QByteArray& output)> finished,
                     std::function<void(QProcess*)> timedOut)
{
    auto* process = new QProcess(QCoreApplication::instance());
    process->setStandardInputFile(QProcess::nullDevice());
    if (!captureOutput)
        process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    auto* timer = new QTimer(process);
    timer->setSingleShot(true);
    auto ended = std::make_shared<bool>(false);
    QObject::connect(process, &QProcess::finished, process,
                     [process, timer, finished, ended](int code, QProcess::ExitStatus status) {
                         timer->stop();
                         process->deleteLater();
                         if (*ended)
                             return;
                         *ended = true;
                         finished(status == QProcess::NormalExit ? code : -1, process->readAllStandardOutput());
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, timer, finished, ended](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         timer->stop();
                         process->deleteLater();
                         if (*ended)
                             return;
                         *ended = true;
                         finished(-1, {});
                     });
    QObject::connect(timer, &QTimer::timeout, process, [process, timedOut, ended] {
        if (*ended)
            return;
        *ended = true;
        timedOut(process);
    });
    timer->start(timeoutMs);
    process->start(program, arguments);
    return process;
}

} // namespace

void XdgBrowserLauncher::OpenWithDesktop(const QString& url, Done done)
{
    const Outcome outcome(std::move(done));
    const QString xdgOpen = QStandardPaths::findExecutable(u"xdg-open"_s);
    if (xdgOpen.isEmpty()) {
        outcome(false);
        return;
    }
    RunWatched(
        xdgOpen, {url}, m_timeoutMs, false, [outcome](int code, const QByteArray&) { outcome(code == 0); },
        // Still busy with the browser it started: the page is opening. xdg-open finishes on its own.
        [outcome](QProcess* process) { outcome(process->state() == QProcess::Running); });
}

void XdgBrowserLauncher::OpenWithDefaultBrowser(const QString& url, Done done)
{
    const Outcome outcome(std::move(done));
    const QString xdgMime = QStandardPaths::findExecutable(u"xdg-mime"_s);
    if (xdgMime.isEmpty()) {
        outcome(false);
        return;
    }
    // Only a look-up: half the launcher's time, and given up on after that.
    RunWatched(
        xdgMime, {u"query"_s, u"default"_s, u"text/html"_s}, m_timeoutMs / 2, true,
        [outcome, url](int code, const QByteArray& output) {
            const std::optional<QStringList> command =
                code == 0 ? BrowserCommand(BrowserIdFromQuery(output)) : std::nullopt;
            outcome(command && StartBrowser(*command, url));
        },
        [outcome](QProcess* process) {
            process->kill();
            outcome(false);
        });
}

QString XdgBrowserLauncher::BrowserIdFromQuery(const QByteArray& output)
{
    // The first line names the entry; some versions list several separated by ';'.
    const QString text = QString::fromUtf8(output.left(4096));
    const QString id = text.section(u'\n', 0, 0).section(u';', 0, 0).trimmed();
    return IsPlausibleDesktopId(id) ? id : QString();
}

QStringList XdgBrowserLauncher::ApplicationFolders()
{
    QStringList folders{QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)};
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = u"/usr/local/share:/usr/share"_s;
    for (const QString& dir : dataDirs.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            folders.append(dir);
    }
    for (QString& folder : folders)
        folder = QDir::cleanPath(folder) + u"/applications"_s;
    folders.removeDuplicates();
    return folders;
}

QString XdgBrowserLauncher::FindDesktopFile(const QString& desktopId)
{
    if (!IsPlausibleDesktopId(desktopId))
        return QString();
    for (const QString& folder : ApplicationFolders()) {
        const QString direct = folder + u'/' + desktopId;
        if (QFileInfo(direct).isFile())
            return direct;
        // An entry in a subfolder has the folder in its id with '-' for '/': kde-foo.desktop is kde/foo.desktop.
        if (!desktopId.contains(u'-'))
            continue;
        QDirIterator it(folder, {u"*.desktop"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = QDir(folder).relativeFilePath(path);
            id.replace(u'/', u'-');
            if (id == desktopId)
                return path;
        }
    }
    return QString();
}

std::optional<QStringList> XdgBrowserLauncher::BrowserCommand(const QString& desktopId)
{
    const QString file = FindDesktopFile(desktopId);
    if (file.isEmpty())
        return std::nullopt;
    const std::optional<DesktopEntry> entry = DesktopEntry::Load(file);
    if (!entry)
        return std::nullopt;
    return DesktopExec::SplitExec(entry->Value(u"Exec"_s));
}

bool XdgBrowserLauncher::StartBrowser(const QStringList& command, const QString& url)
{
    QStringList arguments = DesktopExec::ExpandFieldCodes(command, url);
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    const QString executable = QDir::isAbsolutePath(program) ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(executable);
    if (executable.isEmpty() || !info.isFile() || !info.isExecutable())
        return false;
    QProcess browser;
    browser.setProgram(executable);
    browser.setArguments(arguments);
    browser.setStandardInputFile(QProcess::nullDevice());
    browser.setStandardOutputFile(QProcess::nullDevice());
    browser.setStandardErrorFile(QProcess::nullDevice());
    return browser.startDetached();
}
