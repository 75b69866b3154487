#pragma once

#include "market/HttpRequest.h"

#include <QByteArray>
#include <QString>

#include <atomic>

// Receives the body of a transfer as it arrives (on the worker's thread).
class IWebReceiver
{
public:
    virtual ~IWebReceiver() = default;
    // Called once, before any Receive, when the answer's head has arrived with a status below 300
    // (also for an empty body). announcedSize: the Content-Length, -1 when the server gave none.
    // false stops the transfer.
    virtual bool Begin(qint64 announcedSize) = 0;
    // One piece of the body; false stops the transfer.
    virtual bool Receive(const char* data, qint64 size) = 0;
};

// One HTTP GET of the web update over libcurl, made on the calling thread (a worker's). The
// session is that of the quote fetcher: the given user agent, the proxy when one is set (its host
// reached directly), no cached answer (reload), http and https only, at most 10 redirects, and the
// connect and stall time-outs below.
class WebTransfer
{
public:
    struct Request : HttpRequest
    {
        // The request as copied for a worker from the texts the dialog holds.
        static Request Make(const QString& url, const QString& proxy, const QString& userAgent);
    };

    enum class Result
    {
        Ok,        // status below 300 and the whole body received
        Failed,    // no answer, a status of 300 or more, a broken or timed-out transfer
        Cancelled, // the cancel flag was set
        Stopped,   // the receiver stopped it
    };

    // Performs the request, handing the body to the receiver. cancel is watched while the transfer
    // waits or receives: setting it ends the transfer within about a second.
    static Result Get(const Request& request, IWebReceiver& receiver, const std::atomic<bool>& cancel);

    static constexpr int kDefaultConnectMs = 30000;
    static constexpr int kDefaultStallSeconds = 60;
};
