#include "webupdate/WebTransfer.h"

#include "market/CurlEasyRequest.h"
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

// What libcurl hands over at most per call: large pieces keep a long download's cost low.
constexpr long kReceiveBufferSize = 64 * 1024;

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
    CurlEasyRequest easy(request);
    if (!easy.IsValid())
        return Result::Failed;
    const CurlLibrary& api = easy.Api();
    CURL* const curl = easy.Handle();

    Transfer transfer;
    transfer.api = &api;
    transfer.curl = curl;
    transfer.receiver = &receiver;
    transfer.cancel = &cancel;
    api.easy_setopt(curl, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    easy.SetCallbacks(&WriteBody, &Progress, &transfer);

    const CURLcode code = api.easy_perform(curl);
    // An answer without a body never reached the write callback: its status is checked now.
    const bool complete = code == CURLE_OK && transfer.BeginOnce();

    if (cancel.load())
        return Result::Cancelled;
    if (transfer.stopped)
        return Result::Stopped;
    return complete ? Result::Ok : Result::Failed;
}
