#pragma once

#include "webupdate/WebTransfer.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

// The web update's download, on a worker thread of its own: fetches the update into a folder (the
// Desktop folder) under a hidden temporary name and renames it into place once it is complete and,
// when a SHA-256 checksum was given, matches it. So an interrupted, cancelled or damaged download
// never leaves a file that looks finished. The file is readable by everyone and never executable.
//
// The body is written in blocks of 4096 bytes; a cancel takes effect after the current block.
// Progress() comes after the first block, then when more than a second has passed since the last
// progress of the program, and when the count reaches the announced size; Finished() ends every download that Start
// began. Both arrive on the object's thread. Destroying the object while a download runs abandons it (the partial file
// is removed); Finished() is not emitted then.
class CUpdateDownload final : public QObject
{
    Q_OBJECT

public:
    // The results of Finished(), as the web update dialog knows them.
    enum Result
    {
        DOWNLOAD_NO_CONNECTION = 2,
        DOWNLOAD_ERROR = 3,
        DOWNLOAD_CANCELLED = 4,
        DOWNLOAD_COMPLETE = 5,
    };
    // What went wrong in a DOWNLOAD_ERROR.
    enum class Error
    {
        None,
        Web,     // no answer, a status of 300 or more, a broken transfer, or a body too large
        File,    // the file could not be written or put in place
        Damaged, // the file arrived but its checksum differs from the announced one
    };

    explicit CUpdateDownload(QObject* parent = nullptr);
    ~CUpdateDownload() override;

    // Starts the download of request.url into folder/fileName (fileName as FileNameOf gives it).
    // expectedSha256: 64 hexadecimal digits, or empty for none. Ignored while a download runs.
    void Start(const WebTransfer::Request& request, const QString& folder, const QString& fileName,
               const QString& expectedSha256);
    // Stops the download after the current block.
    void Cancel();
    bool IsRunning() const { return m_running; }

    // What went wrong in the last download, and where a completed one is.
    Error LastError() const { return m_error; }
    QString FilePath() const { return m_filePath; }

    // The largest download accepted (1 GiB); tests lower it.
    void SetMaxSize(qint64 bytes) { m_maxSize = bytes; }

    // The file name of a download URL: its last path segment, percent-decoded. Empty when that is
    // empty, ".", "..", starts with a dot, or holds "/" or a NUL: such a name is refused.
    static QString FileNameOf(const QString& fileUrl);

    static constexpr qint64 kBlockSize = 4096;
    static constexpr qint64 kDefaultMaxSize = qint64(1) << 30;
    static constexpr qint64 kProgressIntervalMs = 1000;

signals:
    void Progress(qint64 count, qint64 total); // total -1: the server announced no size
    void Finished(int result);

private:
    struct Flags
    {
        std::atomic<bool> cancel{false};
        std::atomic<bool> abandon{false};
    };
    struct Job
    {
        WebTransfer::Request request;
        QString folder;
        QString fileName;
        QString expectedSha256;
        qint64 maxSize = kDefaultMaxSize;
    };
    struct Outcome
    {
        int result = DOWNLOAD_ERROR;
        Error error = Error::Web;
        QString filePath;
    };
    Outcome Perform(const Job& job, const std::shared_ptr<Flags>& flags);
    void Complete(const Outcome& outcome);

    std::thread m_worker;
    std::shared_ptr<Flags> m_flags;
    bool m_running = false;
    qint64 m_maxSize = kDefaultMaxSize;
    Error m_error = Error::None;
    QString m_filePath;
};
