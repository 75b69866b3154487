#pragma once

#include "base/VersionNumber.h"
#include "webupdate/VersionFile.h"
#include "webupdate/WebTransfer.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <memory>
#include <thread>

// The web update's check, on a worker thread of its own: reads the version file, decides whether
// its LATEST VERSION is newer than the installed version, then reads the change description.
// Finished() arrives on the object's thread. Destroying the object while the check runs abandons it
// (within about a second); Finished() is not emitted then.
class CUpdateCheck final : public QObject
{
    Q_OBJECT

public:
    enum Code
    {
        CHECK_OK = 0,
        CHECK_FAILED = 2, // no connection, a file that could not be read, or a version file lacking a key
    };

    explicit CUpdateCheck(QObject* parent = nullptr);
    ~CUpdateCheck() override;

    // Starts the check of the version file at request.url against the installed version. Ignored
    // while a check runs.
    void Start(const WebTransfer::Request& request, const VersionNumber& installed);
    // Ends a running transfer early; the check then fails.
    void Cancel();
    bool IsRunning() const { return m_running; }

    // The results of the last check that succeeded.
    const VersionFile& Values() const { return m_values; }
    const QByteArray& Description() const { return m_description; }
    bool IsUpdateAvailable() const { return m_updateAvailable; }

    // The largest version file and description read; anything longer fails the check.
    static constexpr qint64 kMaxVersionFileSize = 64 * 1024;
    static constexpr qint64 kMaxDescriptionSize = 16 * 1024 * 1024;

signals:
    void Finished(int code);

private:
    struct Outcome
    {
        int code = CHECK_FAILED;
        VersionFile values;
        QByteArray description;
        bool updateAvailable = false;
    };
    static Outcome Perform(WebTransfer::Request request, const VersionNumber& installed,
                           const std::atomic<bool>& cancel);
    void Complete(Outcome outcome);

    // What the worker shares with this object: cancel ends its transfer; abandon (this object is
    // going away) also keeps it from reporting.
    struct Flags
    {
        std::atomic<bool> cancel{false};
        std::atomic<bool> abandon{false};
    };

    std::thread m_worker;
    std::shared_ptr<Flags> m_flags;
    bool m_running = false;
    VersionFile m_values;
    QByteArray m_description;
    bool m_updateAvailable = false;
};
