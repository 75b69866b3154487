#include "market/CHttpFetcher.h"

#include "market/CurlEasyRequest.h"
#include "market/CurlLibrary.h"
#include "platform/SystemReachability.h"

#include <QCoreApplication>
#include <QMetaObject>

using namespace Qt::StringLiterals;

// Everything a worker needs, copied when the request starts: the worker never reads the fetcher.
struct CHttpFetcher::Request : HttpRequest
{
    qint64 maxBodySize = 0;
};

namespace {

struct Transfer
{
    QByteArray body;     // CR and LF removed
    qint64 received = 0; // bytes as received
    qint64 limit = 0;
    const std::atomic<bool>* abandon = nullptr;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    transfer->received += qint64(bytes);
    if (transfer->received > transfer->limit)
        return 0; // makes libcurl fail the transfer (CURLE_WRITE_ERROR)
    for (size_t i = 0; i < bytes; ++i) {
        if (data[i] != '\r' && data[i] != '\n')
            transfer->body.append(data[i]);
    }
    return bytes;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* transfer = static_cast<const Transfer*>(user);
    return transfer->abandon->load() ? 1 : 0;
}

} // namespace

CHttpFetcher::CHttpFetcher(IReachability* reachability, QObject* parent)
    : QObject(parent)
    , m_reachability(reachability)
{}

CHttpFetcher::~CHttpFetcher()
{
    if (m_abandon)
        m_abandon->store(true);
    if (m_worker.joinable())
        m_worker.join();
    // A completion the worker already queued is dropped with this object.
}

bool CHttpFetcher::SetProxy(const QString& proxy)
{
    m_proxy = proxy;
    return true;
}

bool CHttpFetcher::SetURL(const QString& url)
{
    m_url = url;
    m_urlValid = !url.isEmpty() && (url.contains(u"http://"_s) || url.contains(u"https://"_s));
    return m_urlValid;
}

void CHttpFetcher::SetUserAgent(const QString& agent)
{
    m_userAgent = agent;
}

void CHttpFetcher::SetMaxBodySize(qint64 bytes)
{
    m_maxBodySize = qMax<qint64>(0, bytes);
}

void CHttpFetcher::SetTimeouts(int connectMs, int stallSeconds)
{
    m_connectMs = qMax(1, connectMs);
    m_stallSeconds = qMax(1, stallSeconds);
}

void CHttpFetcher::SetCaFile(const QString& path)
{
    m_caFile = path;
}

CHttpFetcher::Request CHttpFetcher::MakeRequest() const
{
    Request request;
    request.url = m_url.toUtf8();
    request.proxy = m_proxy.toUtf8();
    request.userAgent = m_userAgent.toUtf8();
    request.caFile = m_caFile.toUtf8();
    request.maxBodySize = m_maxBodySize;
    request.connectMs = m_connectMs;
    request.stallSeconds = m_stallSeconds;
    return request;
}

CHttpFetcher::Outcome CHttpFetcher::Perform(const Request& request, const std::atomic<bool>& abandon)
{
    Outcome outcome;
    CurlEasyRequest easy(request);
    if (!easy.IsValid())
        return outcome;
    const CurlLibrary& api = easy.Api();
    CURL* const curl = easy.Handle();
    Transfer transfer;
    transfer.limit = request.maxBodySize;
    transfer.abandon = &abandon;
    easy.SetCallbacks(&WriteBody, &Progress, &transfer);

    const CURLcode code = api.easy_perform(curl);
    long status = 0;
    if (code == CURLE_OK)
        api.easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);

    if (code == CURLE_OK && status > 0 && status < 300) {
        outcome.code = FETCH_OK;
        outcome.body = std::move(transfer.body);
    }
    return outcome;
}

int CHttpFetcher::Fetch(QString& output)
{
    if (!m_urlValid)
        return FETCH_BAD_URL;
    if (m_busy)
        return FETCH_BUSY;
    m_busy = true;
    m_output = &output;
    m_receiver = nullptr;
    m_eventType = QEvent::None;

    int code = FETCH_NO_CONNECTION;
    IReachability& reachability = m_reachability ? *m_reachability : SystemReachability::Instance();
    if (!m_attemptConnect || reachability.IsConnected()) {
        const std::atomic<bool> never{false};
        Outcome outcome = Perform(MakeRequest(), never);
        code = outcome.code;
        if (code == FETCH_OK)
            output.append(QString::fromUtf8(outcome.body));
    }
    m_output = nullptr;
    m_busy = false;
    return code;
}

int CHttpFetcher::FetchAsync(QObject* receiver, QEvent::Type eventType, QString& output)
{
    if (!m_urlValid)
        return FETCH_BAD_URL;
    if (m_busy)
        return FETCH_BUSY;
    m_output = &output;
    m_busy = true;
    m_receiver = receiver;
    m_eventType = eventType;
    if (m_worker.joinable())
        m_worker.join(); // the previous worker has already handed over its result

    IReachability& reachability = m_reachability ? *m_reachability : SystemReachability::Instance();
    if (m_attemptConnect && !reachability.IsConnected()) {
        QMetaObject::invokeMethod(
            this, [this] { Complete(FETCH_NO_CONNECTION, {}); }, Qt::QueuedConnection);
        return FETCH_PENDING;
    }

    m_abandon = std::make_shared<std::atomic<bool>>(false);
    try {
        m_worker = std::thread([this, request = MakeRequest(), abandon = m_abandon] {
            Outcome outcome = Perform(request, *abandon);
            if (abandon->load())
                return; // the fetcher is going away and waits for this thread
            QMetaObject::invokeMethod(
                this, [this, code = outcome.code, body = std::move(outcome.body)] { Complete(code, body); },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        QMetaObject::invokeMethod(
            this, [this] { Complete(FETCH_FAILED, {}); }, Qt::QueuedConnection);
    }
    return FETCH_PENDING;
}

void CHttpFetcher::Complete(int code, const QByteArray& body)
{
    if (m_worker.joinable())
        m_worker.join();
    if (code == FETCH_OK && m_output != nullptr)
        m_output->append(QString::fromUtf8(body));
    m_output = nullptr;
    m_busy = false;
    QObject* receiver = m_receiver.data();
    const QEvent::Type eventType = m_eventType;
    m_receiver = nullptr;
    m_eventType = QEvent::None;
    if (receiver != nullptr && eventType != QEvent::None)
        QCoreApplication::postEvent(receiver, new FetchDoneEvent(eventType, code));
}
