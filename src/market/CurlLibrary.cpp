#include "market/CurlLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace {

// The run-time name of the library the program is built against (libcurl4 on Debian).
constexpr const char* kLibraryName = "libcurl.so.4";

template <typename Function>
bool Resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

const CurlLibrary* Open()
{
    static CurlLibrary curl{};
    // Stays open for the life of the program: transfers may run until the very end.
    void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    CURLcode (*globalInit)(long) = nullptr;
    if (!Resolve(library, "curl_global_init", globalInit) || !Resolve(library, "curl_easy_init", curl.easy_init) ||
        !Resolve(library, "curl_easy_setopt", curl.easy_setopt) ||
        !Resolve(library, "curl_easy_perform", curl.easy_perform) ||
        !Resolve(library, "curl_easy_getinfo", curl.easy_getinfo) ||
        !Resolve(library, "curl_easy_cleanup", curl.easy_cleanup) ||
        !Resolve(library, "curl_slist_append", curl.slist_append) ||
        !Resolve(library, "curl_slist_free_all", curl.slist_free_all))
        return nullptr;
    if (globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    return &curl;
}

} // namespace

const CurlLibrary* CurlLibrary::Get()
{
    static std::once_flag once;
    static const CurlLibrary* library = nullptr;
    std::call_once(once, [] { library = Open(); });
    return library;
}
