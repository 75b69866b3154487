#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// The one request and its answer, each a line.
constexpr char kActivate[] = "activate";
constexpr char kAnswer[] = "ok\n";
constexpr qsizetype kMaxRequest = 512;
constexpr int kClientTimeoutMs = 3000;

QString RuntimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

// An activation token is an opaque printable text; anything else is not passed on.
QString SanitisedToken(const QByteArray& token)
{
    if (token.size() > 256)
        return QString();
    for (const char c : token) {
        if (c < 0x21 || c > 0x7e)
            return QString();
    }
    return QString::fromLatin1(token);
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent)
    , m_name(name)
{}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::LockFilePath() const
{
    return RuntimeFolder() + u'/' + m_name + u".lock"_s;
}

QString SingleInstance::SocketPath() const
{
    return RuntimeFolder() + u'/' + m_name + u".socket"_s;
}

SingleInstance::Start SingleInstance::Claim(int timeoutMs)
{
    QDir().mkpath(RuntimeFolder());
    auto lock = std::make_unique<QLockFile>(LockFilePath());
    // A live holder is never stale, however long it has run; a dead one is, at once.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        return Start::First;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        // No lock can be made here at all: run without the guard rather than not at all.
        return Start::First;
    }
    return AskRunningCopy(timeoutMs);
}

SingleInstance::Start SingleInstance::AskRunningCopy(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(timeoutMs))
        return Start::OtherStarting;

    QByteArray request(kActivate);
    QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (token.isEmpty())
        token = qgetenv("DESKTOP_STARTUP_ID");
    if (!SanitisedToken(token).isEmpty())
        request += ' ' + token;
    request += '\n';
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs))
        return Start::OtherStarting;

    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < 16) {
        if (!socket.waitForReadyRead(timeoutMs))
            break;
        answer += socket.read(16);
    }
    return answer.startsWith(kAnswer) ? Start::ActivatedOther : Start::OtherStarting;
}

bool SingleInstance::Listen()
{
    if (m_server && m_server->isListening())
        return true;
    if (!m_server) {
        m_server = new QLocalServer(this);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    }
    // A socket file left by a crashed copy would refuse the name. Removing it is safe only while we
    // hold the lock: otherwise it could be a live first copy's.
    if (m_lock)
        QLocalServer::removeServer(SocketPath());
    return m_server->listen(SocketPath());
}

bool SingleInstance::IsListening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::OnNewConnection()
{
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { OnClientData(client); });
        // A client that says nothing is dropped.
        QTimer::singleShot(kClientTimeoutMs, client, [client] { client->abort(); });
        if (client->bytesAvailable() > 0)
            OnClientData(client);
    }
}

void SingleInstance::OnClientData(QLocalSocket* client)
{
    if (client->property("answered").toBool())
        return;
    if (!client->canReadLine()) {
        if (client->bytesAvailable() > kMaxRequest)
            client->abort();
        return;
    }
    const QByteArray line = client->readLine(kMaxRequest).trimmed();
    const qsizetype blank = line.indexOf(' ');
    const QByteArray command = blank < 0 ? line : line.left(blank);
    if (command != kActivate) {
        client->abort();
        return;
    }
    client->setProperty("answered", true);
    client->write(kAnswer);
    client->flush();
    client->disconnectFromServer();
    emit ActivateRequested(blank < 0 ? QString() : SanitisedToken(line.mid(blank + 1)));
}
