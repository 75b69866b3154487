#include "webupdate/CUpdateDownload.h"

#include "webupdate/Sha256.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>
#include <QTemporaryFile>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// When the program's last progress report was made (steady clock, milliseconds).
std::atomic<qint64> g_lastProgressMs{std::numeric_limits<qint64>::min() / 2};

qint64 NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Writes the body into a hidden temporary file beside the target, in blocks.
class FileReceiver final : public IWebReceiver
{
public:
    // hash: compute the SHA-256 of what arrives.
    FileReceiver(const QString& folder, qint64 maxSize, bool hash, const std::atomic<bool>& cancel,
                 std::function<void(qint64, qint64)> progress)
        : m_folder(folder)
        , m_maxSize(maxSize)
        , m_cancel(cancel)
        , m_progress(std::move(progress))
        , m_hash(hash ? std::make_unique<Sha256>() : nullptr)
    {}

    bool Begin(qint64 announcedSize) override
    {
        m_total = announcedSize;
        if (m_total > m_maxSize) {
            tooLarge = true;
            return false;
        }
        QDir().mkpath(m_folder);
        m_file = std::make_unique<QTemporaryFile>(QDir(m_folder).filePath(u".quorvane-download-XXXXXX"_s));
        if (!m_file->open()) {
            fileError = true;
            return false;
        }
        return true;
    }

    bool Receive(const char* data, qint64 size) override
    {
        // Hashed whole: a piece that is not written in full never counts (the file is dropped).
        if (m_hash)
            m_hash->AddData(QByteArrayView(data, size));
        for (qint64 offset = 0; offset < size; offset += CUpdateDownload::kBlockSize) {
            const qint64 block = qMin(CUpdateDownload::kBlockSize, size - offset);
            if (m_count + block > m_maxSize || (m_total >= 0 && m_count + block > m_total)) {
                tooLarge = true;
                return false;
            }
            if (m_file->write(data + offset, block) != block) {
                fileError = true;
                return false;
            }
            m_count += block;
            const qint64 now = NowMs();
            if (!m_reported || now - g_lastProgressMs.load() > CUpdateDownload::kProgressIntervalMs ||
                m_count == m_total) {
                m_reported = true;
                g_lastProgressMs.store(now);
                m_progress(m_count, m_total);
            }
            if (m_cancel.load()) {
                cancelled = true;
                return false;
            }
        }
        return true;
    }

    // Puts the complete file in place as target; false (the file removed) on a write error.
    bool Commit(const QString& target)
    {
        if (!m_file->flush())
            return false;
        m_file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                               QFileDevice::ReadOther);
        m_file->close();
        // rename(2) replaces a file of that name (a symbolic link itself, never what it points to).
        if (std::rename(QFile::encodeName(m_file->fileName()).constData(), QFile::encodeName(target).constData()) != 0)
            return false;
        m_file->setAutoRemove(false);
        return true;
    }

    QString Checksum() const { return m_hash ? QString::fromLatin1(m_hash->HexResult()) : QString(); }
    bool HasFile() const { return m_file != nullptr; }

    bool tooLarge = false;
    bool fileError = false;
    bool cancelled = false;

private:
    QString m_folder;
    qint64 m_maxSize;
    const std::atomic<bool>& m_cancel;
    std::function<void(qint64, qint64)> m_progress;
    std::unique_ptr<QTemporaryFile> m_file; // removed when destroyed, unless committed
    std::unique_ptr<Sha256> m_hash;
    qint64 m_total = -1;
    qint64 m_count = 0;
    bool m_reported = false;
};

} // namespace

CUpdateDownload::CUpdateDownload(QObject* parent)
    : QObject(parent)
{}

CUpdateDownload::~CUpdateDownload()
{
    if (m_flags) {
        m_flags->abandon.store(true);
        m_flags->cancel.store(true);
    }
    if (m_worker.joinable())
        m_worker.join();
}

QString CUpdateDownload::FileNameOf(const QString& fileUrl)
{
    // The segment is taken before decoding, so that an encoded "/" (%2F) stays inside it.
    const QString path = QUrl(fileUrl.trimmed()).path(QUrl::FullyEncoded);
    const QString segment = path.mid(path.lastIndexOf(u'/') + 1);
    const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(segment.toUtf8()));
    if (name.isEmpty() || name.startsWith(u'.') || name.contains(u'/') || name.contains(QChar(u'\0')))
        return {};
    return name;
}

void CUpdateDownload::Start(const WebTransfer::Request& request, const QString& folder, const QString& fileName,
                            const QString& expectedSha256)
{
    if (m_running)
        return;
    if (m_worker.joinable())
        m_worker.join();
    m_running = true;
    m_error = Error::None;
    m_filePath.clear();
    m_flags = std::make_shared<Flags>();
    Job job{request, folder, fileName, expectedSha256.toLower(), m_maxSize};
    try {
        m_worker = std::thread([this, job = std::move(job), flags = m_flags] {
            const Outcome outcome = Perform(job, flags);
            if (flags->abandon.load())
                return; // this object is going away and waits for the thread
            QMetaObject::invokeMethod(
                this, [this, outcome] { Complete(outcome); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        QMetaObject::invokeMethod(
            this, [this] { Complete({}); }, Qt::QueuedConnection);
    }
}

void CUpdateDownload::Cancel()
{
    if (m_flags)
        m_flags->cancel.store(true);
}

CUpdateDownload::Outcome CUpdateDownload::Perform(const Job& job, const std::shared_ptr<Flags>& flags)
{
    Outcome outcome;
    const bool check = !job.expectedSha256.isEmpty();
    FileReceiver receiver(job.folder, job.maxSize, check, flags->cancel, [this, flags](qint64 count, qint64 total) {
        if (!flags->abandon.load())
            QMetaObject::invokeMethod(
                this, [this, count, total] { emit Progress(count, total); }, Qt::QueuedConnection);
    });
    const WebTransfer::Result result = WebTransfer::Get(job.request, receiver, flags->cancel);
    if (receiver.cancelled || result == WebTransfer::Result::Cancelled) {
        outcome.result = DOWNLOAD_CANCELLED;
        outcome.error = Error::None;
        return outcome;
    }
    if (receiver.fileError) {
        outcome.error = Error::File;
        return outcome;
    }
    if (result != WebTransfer::Result::Ok || !receiver.HasFile())
        return outcome; // a web error (a body too large included)
    if (check && receiver.Checksum() != job.expectedSha256) {
        outcome.error = Error::Damaged;
        return outcome;
    }
    const QString target = QDir(job.folder).filePath(job.fileName);
    if (!receiver.Commit(target)) {
        outcome.error = Error::File;
        return outcome;
    }
    outcome.result = DOWNLOAD_COMPLETE;
    outcome.error = Error::None;
    outcome.filePath = target;
    return outcome;
}

void CUpdateDownload::Complete(const Outcome& outcome)
{
    if (m_worker.joinable())
        m_worker.join();
    m_running = false;
    m_error = outcome.error;
    m_filePath = outcome.filePath;
    emit Finished(outcome.result);
}
