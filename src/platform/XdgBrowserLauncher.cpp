#include "platform/XdgBrowserLauncher.h"

#include "platform/DesktopEntry.h"
#include "platform/DesktopExec.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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

bool XdgBrowserLauncher::OpenWithDesktop(const QString& url)
{
    const QString xdgOpen = QStandardPaths::findExecutable(u"xdg-open"_s);
    if (xdgOpen.isEmpty())
        return false;
    // Owned by the application, so that a launcher still running after the time-out can finish.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    process->start(xdgOpen, {url});
    if (!process->waitForStarted(m_timeoutMs))
        return false;
    if (!process->waitForFinished(m_timeoutMs))
        return process->state() == QProcess::Running; // still busy with the browser: it started
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

QString XdgBrowserLauncher::DefaultBrowserId() const
{
    const QString xdgMime = QStandardPaths::findExecutable(u"xdg-mime"_s);
    if (xdgMime.isEmpty())
        return QString();
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(xdgMime, {u"query"_s, u"default"_s, u"text/html"_s});
    // Only a look-up: half the launcher's time.
    if (!process.waitForFinished(m_timeoutMs / 2)) {
        process.kill();
        process.waitForFinished(1000);
        return QString();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    // The first line names the entry; some versions list several separated by ';'.
    const QString output = QString::fromUtf8(process.readAllStandardOutput().left(4096));
    const QString id = output.section(u'\n', 0, 0).section(u';', 0, 0).trimmed();
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

std::optional<QStringList> XdgBrowserLauncher::DefaultBrowserCommand() const
{
    const QString file = FindDesktopFile(DefaultBrowserId());
    if (file.isEmpty())
        return std::nullopt;
    const std::optional<DesktopEntry> entry = DesktopEntry::Load(file);
    if (!entry)
        return std::nullopt;
    return DesktopExec::SplitExec(entry->Value(u"Exec"_s));
}

bool XdgBrowserLauncher::OpenWithDefaultBrowser(const QString& url)
{
    const std::optional<QStringList> command = DefaultBrowserCommand();
    if (!command)
        return false;
    QStringList arguments = DesktopExec::ExpandFieldCodes(*command, url);
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
