#include "webupdate/CUpdateCheck.h"

#include <QMetaObject>

namespace {

// Collects a body of bounded size.
class TextReceiver final : public IWebReceiver
{
public:
    explicit TextReceiver(qint64 limit)
        : m_limit(limit)
    {}
    bool Begin(qint64 announcedSize) override { return announcedSize <= m_limit; }
    bool Receive(const char* data, qint64 size) override
    {
        if (m_body.size() + size > m_limit)
            return false;
        m_body.append(data, size);
        return true;
    }
    QByteArray& Body() { return m_body; }

private:
    qint64 m_limit;
    QByteArray m_body;
};

// The text as read line by line: every line followed by a line feed (CR LF and CR end lines too).
QByteArray Lines(const QByteArray& body)
{
    QByteArray lines;
    lines.reserve(body.size() + 1);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\r') {
            lines.append('\n');
            if (i + 1 < body.size() && body[i + 1] == '\n')
                ++i;
        } else {
            lines.append(c);
        }
    }
    if (!lines.isEmpty() && !lines.endsWith('\n'))
        lines.append('\n');
    return lines;
}

} // namespace

CUpdateCheck::CUpdateCheck(QObject* parent)
    : QObject(parent)
{}

CUpdateCheck::~CUpdateCheck()
{
    if (m_flags) {
        m_flags->abandon.store(true);
        m_flags->cancel.store(true);
    }
    if (m_worker.joinable())
        m_worker.join();
}

void CUpdateCheck::Start(const WebTransfer::Request& request, const VersionNumber& installed)
{
    if (m_running)
        return;
    if (m_worker.joinable())
        m_worker.join();
    m_running = true;
    m_flags = std::make_shared<Flags>();
    try {
        m_worker = std::thread([this, request, installed, flags = m_flags] {
            Outcome outcome = Perform(request, installed, flags->cancel);
            if (flags->abandon.load())
                return; // this object is going away and waits for the thread
            QMetaObject::invokeMethod(
                this, [this, outcome = std::move(outcome)]() mutable { Complete(std::move(outcome)); },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        QMetaObject::invokeMethod(
            this, [this] { Complete({}); }, Qt::QueuedConnection);
    }
}

void CUpdateCheck::Cancel()
{
    if (m_flags)
        m_flags->cancel.store(true);
}

CUpdateCheck::Outcome CUpdateCheck::Perform(WebTransfer::Request request, const VersionNumber& installed,
                                            const std::atomic<bool>& cancel)
{
    Outcome outcome;
    TextReceiver versionFile(kMaxVersionFileSize);
    if (WebTransfer::Get(request, versionFile, cancel) != WebTransfer::Result::Ok)
        return outcome;
    outcome.values.Parse(QString::fromUtf8(Lines(versionFile.Body())));
    if (!outcome.values.IsComplete() || !outcome.values.IsChecksumValid())
        return outcome;
    outcome.updateAvailable =
        VersionNumber(outcome.values.latestVersion).Compare(installed) >= VersionNumber::NewerFourth;

    request.url = outcome.values.descriptionUrl.toUtf8();
    TextReceiver description(kMaxDescriptionSize);
    if (WebTransfer::Get(request, description, cancel) != WebTransfer::Result::Ok)
        return outcome;
    outcome.description = Lines(description.Body());
    outcome.code = CHECK_OK;
    return outcome;
}

void CUpdateCheck::Complete(Outcome outcome)
{
    if (m_worker.joinable())
        m_worker.join();
    m_running = false;
    if (outcome.code == CHECK_OK) {
        m_values = std::move(outcome.values);
        m_description = std::move(outcome.description);
        m_updateAvailable = outcome.updateAvailable;
    }
    emit Finished(outcome.code);
}
