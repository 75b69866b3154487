#include "webupdate/WebTransfer.h"

#include "market/CurlLibrary.h"

namespace {

struct Transfer
{
    const CurlLibrary* api = nullptr;
    CURL* curl = nullptr;
    IWebReceiver* receiver = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    bool begun = false;
    bool refusedStatus = false;
    bool stopped = false;

    // Checks the status and announces the size, once.
    bool BeginOnce()
    {
        if (begun)
            return true;
        begun = true;
        long status = 0;
        api->easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        if (status <= 0 || status >= 300) {
            refusedStatus = true;
            return false;
        }
        curl_off_t length = -1;
        if (api->easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
            length = -1;
        if (!receiver->Begin(length < 0 ? -1 : qint64(length))) {
            stopped = true;
            return false;
        }
        return true;
    }
};

size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (!transfer->BeginOnce())
        return 0; // libcurl fails the transfer (CURLE_WRITE_ERROR)
    if (!transfer->receiver->Receive(data, qint64(bytes))) {
        transfer->stopped = true;
        return 0;
    }
    return bytes;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* transfer = static_cast<const Transfer*>(user);
    return transfer->cancel->load() ? 1 : 0;
}

// The host part of a proxy text "host" or "host:port" ("[v6]:port" too).
QByteArray ProxyHost(const QByteArray& proxy)
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

// What libcurl hands over at most per call: large pieces keep a long download's cost low.
constexpr long kReceiveBufferSize = 64 * 1024;

bool HasControlCharacters(const QByteArray& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return true;
    }
    return false;
}

} // namespace

WebTransfer::Request WebTransfer::Request::Make(const QString& url, const QString& proxy, const QString& userAgent)
{
    Request request;
    request.url = url.trimmed().toUtf8();
    request.proxy = proxy.toUtf8();
    request.userAgent = userAgent.toUtf8();
    return request;
}

WebTransfer::Result WebTransfer::Get(const Request& request, IWebReceiver& receiver, const std::atomic<bool>& cancel)
{
    // A line break in a URL or proxy text would smuggle a header into the request.
    if (request.url.isEmpty() || HasControlCharacters(request.url) || HasControlCharacters(request.proxy) ||
        HasControlCharacters(request.userAgent))
        return Result::Failed;
    const CurlLibrary* const api = CurlLibrary::Get();
    if (api == nullptr)
        return Result::Failed;
    CURL* curl = api->easy_init();
    if (curl == nullptr)
        return Result::Failed;

    Transfer transfer;
    transfer.api = api;
    transfer.curl = curl;
    transfer.receiver = &receiver;
    transfer.cancel = &cancel;

    curl_slist* headers = nullptr;
    headers = api->slist_append(headers, "Cache-Control: no-cache");
    headers = api->slist_append(headers, "Pragma: no-cache");

    api->easy_setopt(curl, CURLOPT_URL, request.url.constData());
    api->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    api->easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    api->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    api->easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    api->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    api->easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    api->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(request.connectMs));
    api->easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    api->easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(request.stallSeconds));
    api->easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    api->easy_setopt(curl, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    api->easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteBody);
    api->easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    api->easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    api->easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Progress);
    api->easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    if (!request.userAgent.isEmpty())
        api->easy_setopt(curl, CURLOPT_USERAGENT, request.userAgent.constData());
    QByteArray noProxy;
    if (!request.proxy.isEmpty()) {
        api->easy_setopt(curl, CURLOPT_PROXY, request.proxy.constData());
        // The proxy host itself is reached directly.
        noProxy = ProxyHost(request.proxy);
        api->easy_setopt(curl, CURLOPT_NOPROXY, noProxy.constData());
    }

    const CURLcode code = api->easy_perform(curl);
    // An answer without a body never reached the write callback: its status is checked now.
    const bool complete = code == CURLE_OK && transfer.BeginOnce();
    api->easy_cleanup(curl);
    api->slist_free_all(headers);

    if (cancel.load())
        return Result::Cancelled;
    if (transfer.stopped)
        return Result::Stopped;
    return complete ? Result::Ok : Result::Failed;
}
