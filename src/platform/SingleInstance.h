#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One running copy per user. A lock file in $XDG_RUNTIME_DIR decides who is first; the first copy
// then answers later starts on a local socket beside it, once its main window exists:
//
//   SingleInstance instance(u"quorvane"_s);
//   if (instance.Claim() != SingleInstance::Start::First)
//       return 0;                    // the running copy shows its window, or is still starting
//   ... build the main window ...
//   QObject::connect(&instance, &SingleInstance::ActivateRequested, &window, [&] { ... show, raise ... });
//   instance.Listen();
//
// A start while the first copy is still starting (lock held, no socket yet) cannot reach it and
// exits silently, without showing anything. The lock is released when the object is destroyed or
// the process ends; a lock left by a crashed copy is recognised as stale and taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Start
    {
        First,          // this is the first copy: run, and call Listen() once the window exists
        ActivatedOther, // the running copy was asked to show its window: exit
        OtherStarting,  // a copy holds the lock but does not answer (still starting): exit silently
    };

    // name: the base name of the lock and socket files ("quorvane" → quorvane.lock, quorvane.socket).
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Decides who is first; a later start asks the first copy to activate, waiting at most
    // timeoutMs for it to answer. When no lock can be made at all (no writable runtime folder) the
    // program runs as First rather than not at all.
    Start Claim(int timeoutMs = 1000);

    // First copy: starts answering later starts. False when the socket could not be made (later
    // starts then exit silently, as during start-up).
    bool Listen();
    bool IsListening() const;

    QString LockFilePath() const;
    QString SocketPath() const;

signals:
    // A later start asked this copy to show its main window, restored and in front. The token is the
    // later start's XDG_ACTIVATION_TOKEN or DESKTOP_STARTUP_ID (empty when it had none), which a
    // window may use to be allowed to take the focus.
    void ActivateRequested(const QString& activationToken);

private:
    void OnNewConnection();
    void OnClientData(QLocalSocket* client);
    Start AskRunningCopy(int timeoutMs);

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
