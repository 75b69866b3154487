#pragma once

#include "market/HttpRequest.h"

#include <QByteArray>

#include <curl/curl.h>

struct CurlLibrary;

// A libcurl easy handle set up for one request with the session every request of the program
// shares: GET, no cached answer (reload), http and https only, at most 10 redirects, the connect and
// stall time-outs, the user agent and the proxy. The caller adds its own body and progress
// callbacks and performs it on its own (worker) thread; the handle and its header list go with the
// object.
//
// Not valid when libcurl cannot be opened, or when the URL, proxy or user agent holds a control
// character (a line break would smuggle a header into the request).
class CurlEasyRequest
{
public:
    explicit CurlEasyRequest(const HttpRequest& request);
    ~CurlEasyRequest();
    CurlEasyRequest(const CurlEasyRequest&) = delete;
    CurlEasyRequest& operator=(const CurlEasyRequest&) = delete;

    bool IsValid() const { return m_curl != nullptr; }
    const CurlLibrary& Api() const { return *m_api; }
    CURL* Handle() const { return m_curl; }

    // Hands the body to `write` and lets `progress` abandon the transfer (a non-zero return), both
    // called on the performing thread with `data`.
    void SetCallbacks(curl_write_callback write, curl_xferinfo_callback progress, void* data);

    // The host part of a proxy text "host", "host:port", "scheme://host:port" or "[v6]:port".
    static QByteArray ProxyHost(const QByteArray& proxy);

private:
    const CurlLibrary* m_api = nullptr;
    CURL* m_curl = nullptr;
    curl_slist* m_headers = nullptr;
    HttpRequest m_request; // libcurl keeps pointers into these texts until the handle goes
    QByteArray m_noProxy;
};
