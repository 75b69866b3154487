#pragma once

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

class IReachability;

// The completion message of an asynchronous fetch: posted to the object given to FetchAsync with
// the event type given there (the engine uses WM_FETCH_DONE). Code() is the result (0, 3 or 4).
class FetchDoneEvent final : public QEvent
{
public:
    FetchDoneEvent(QEvent::Type type, int code)
        : QEvent(type)
        , m_code(code)
    {}
    int Code() const { return m_code; }

private:
    int m_code;
};

// The engine's completion message for a quote request.
inline constexpr QEvent::Type WM_FETCH_DONE = static_cast<QEvent::Type>(QEvent::User + 1);

// Downloads one web resource by an HTTP GET (libcurl) and appends its body as text, with every CR
// and LF removed, to a string that the caller owns. Synchronous on the calling thread (Fetch), or
// asynchronous on a worker thread of its own that reports by a posted FetchDoneEvent (FetchAsync).
//
// The fetcher knows nothing of quotes. It is long-lived and reused for every request, one at a
// time. Destroying it while a request runs is safe: the transfer is abandoned and the worker is
// waited for; no completion is posted then.
class CHttpFetcher final : public QObject
{
    Q_OBJECT

public:
    enum Result
    {
        FETCH_OK = 0,            // status below 300; the body was appended
        FETCH_BAD_URL = 1,       // empty URL, or no "http://" or "https://" in it; nothing started
        FETCH_NO_CONNECTION = 3, // the system reports no network; nothing sent
        FETCH_FAILED = 4,        // the request failed or the status is 300 or more; nothing appended
        FETCH_PENDING = 7,       // an asynchronous fetch started; the real code follows by message
        FETCH_BUSY = 8,          // a fetch of this object is running; nothing started
    };

    // reachability: the network check made before each request; null = the system's.
    explicit CHttpFetcher(IReachability* reachability = nullptr, QObject* parent = nullptr);
    ~CHttpFetcher() override;

    // A host name, or host and port joined by a colon; empty = the system's proxy settings
    // (the http_proxy / https_proxy / no_proxy environment). Always true.
    bool SetProxy(const QString& proxy);
    // Stores the URL; it is valid when non-empty and it contains "http://" or "https://" (exactly,
    // in lower case). Returns the validity.
    bool SetURL(const QString& url);
    // The User-Agent header; empty sends none.
    void SetUserAgent(const QString& agent);
    // The largest body accepted, in bytes as received; a longer answer fails (code 4).
    void SetMaxBodySize(qint64 bytes);
    // Whether the reachability check may refuse a request (code 3) before it is sent; on by default.
    // Off, every request is tried and the transfer itself finds out whether the network works.
    void SetAttemptConnect(bool check) { m_attemptConnect = check; }
    bool AttemptsConnect() const { return m_attemptConnect; }

    // Give up on a connection after connectMs, and on a transfer that receives nothing for
    // stallSeconds. The defaults (30 s, 60 s) suit the program; tests shorten them.
    void SetTimeouts(int connectMs, int stallSeconds);
    // Trusts the certificates in this file instead of the system's (tests against a local TLS server).
    void SetCaFile(const QString& path);

    const QString& Proxy() const { return m_proxy; }
    const QString& Url() const { return m_url; }
    bool IsUrlValid() const { return m_urlValid; }
    bool IsBusy() const { return m_busy; }

    // Fetches on the calling thread: 1 when the URL is not valid, 8 when busy, else 0, 3 or 4.
    // Never posts a message.
    int Fetch(QString& output);

    // Starts the fetch on a worker thread and returns 7, or 1 / 8 as Fetch. When the request ends,
    // the body (for code 0) is appended to output on this object's thread, the fetcher becomes
    // idle, and a FetchDoneEvent of the given type with the code is posted to receiver, when
    // receiver is non-null (and still alive) and eventType is not QEvent::None. The caller must leave output
    // alone (and alive) until then.
    int FetchAsync(QObject* receiver, QEvent::Type eventType, QString& output);

    static constexpr qint64 kDefaultMaxBodySize = qint64(1) << 20;
    static constexpr int kDefaultConnectMs = 30000;
    static constexpr int kDefaultStallSeconds = 60;

private:
    struct Request;
    struct Outcome
    {
        int code = FETCH_FAILED;
        QByteArray body;
    };
    static Outcome Perform(const Request& request, const std::atomic<bool>& abandon);
    Request MakeRequest() const;
    void Complete(int code, const QByteArray& body);

    IReachability* m_reachability;
    bool m_attemptConnect = true;
    QString m_proxy;
    QString m_url;
    bool m_urlValid = false;
    QString* m_output = nullptr;
    bool m_busy = false;
    QPointer<QObject> m_receiver;
    QEvent::Type m_eventType = QEvent::None;

    QString m_userAgent;
    qint64 m_maxBodySize = kDefaultMaxBodySize;
    int m_connectMs = kDefaultConnectMs;
    int m_stallSeconds = kDefaultStallSeconds;
    QString m_caFile;

    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_abandon;
};
