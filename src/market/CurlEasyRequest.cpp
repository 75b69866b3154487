#include "market/CurlEasyRequest.h"

#include "market/CurlLibrary.h"

namespace {

bool HasControlCharacters(const QByteArray& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return true;
    }
    return false;
}

} // namespace

CurlEasyRequest::CurlEasyRequest(const HttpRequest& request)
    : m_request(request)
{
    if (m_request.url.isEmpty() || HasControlCharacters(m_request.url) || HasControlCharacters(m_request.proxy) ||
        HasControlCharacters(m_request.userAgent))
        return;
    // Opened by the first request, on the thread that makes it.
    m_api = CurlLibrary::Get();
    if (m_api == nullptr)
        return;
    m_curl = m_api->easy_init();
    if (m_curl == nullptr)
        return;

    const CurlLibrary& api = *m_api;
    m_headers = api.slist_append(m_headers, "Cache-Control: no-cache");
    m_headers = api.slist_append(m_headers, "Pragma: no-cache");
    api.easy_setopt(m_curl, CURLOPT_URL, m_request.url.constData());
    api.easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
    api.easy_setopt(m_curl, CURLOPT_HTTPGET, 1L);
    api.easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, "http,https");
    api.easy_setopt(m_curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    api.easy_setopt(m_curl, CURLOPT_FOLLOWLOCATION, 1L);
    api.easy_setopt(m_curl, CURLOPT_MAXREDIRS, 10L);
    api.easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT_MS, long(m_request.connectMs));
    api.easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    api.easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, long(m_request.stallSeconds));
    api.easy_setopt(m_curl, CURLOPT_HTTPHEADER, m_headers);
    if (!m_request.userAgent.isEmpty())
        api.easy_setopt(m_curl, CURLOPT_USERAGENT, m_request.userAgent.constData());
    if (!m_request.proxy.isEmpty()) {
        api.easy_setopt(m_curl, CURLOPT_PROXY, m_request.proxy.constData());
        // The proxy host itself is reached directly.
        m_noProxy = ProxyHost(m_request.proxy);
        api.easy_setopt(m_curl, CURLOPT_NOPROXY, m_noProxy.constData());
    }
    if (!m_request.caFile.isEmpty())
        api.easy_setopt(m_curl, CURLOPT_CAINFO, m_request.caFile.constData());
}

CurlEasyRequest::~CurlEasyRequest()
{
    if (m_curl != nullptr)
        m_api->easy_cleanup(m_curl);
    if (m_headers != nullptr)
        m_api->slist_free_all(m_headers);
}

QByteArray CurlEasyRequest::ProxyHost(const QByteArray& proxy)
{
    QByteArray host = proxy;
    const qsizetype scheme = host.indexOf("://");
    if (scheme >= 0)
        host = host.mid(scheme + 3);
    if (host.startsWith('[')) {
        const qsizetype close = host.indexOf(']');
        return close > 0 ? host.mid(1, close - 1) : host.mid(1);
    }
    const qsizetype colon = host.indexOf(':');
    return colon >= 0 ? host.left(colon) : host;
}

void CurlEasyRequest::SetCallbacks(curl_write_callback write, curl_xferinfo_callback progress, void* data)
{
    m_api->easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, write);
    m_api->easy_setopt(m_curl, CURLOPT_WRITEDATA, data);
    m_api->easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
    m_api->easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, progress);
    m_api->easy_setopt(m_curl, CURLOPT_XFERINFODATA, data);
}
