#pragma once

#include <curl/curl.h>

// libcurl, opened the first time a download needs it rather than when the program starts: the
// library and the TLS, Kerberos and LDAP libraries it brings add a noticeable share to the start-up
// time, and the first quote request runs on a worker thread after the main window is up. The
// functions are libcurl's own, reached through this table.
struct CurlLibrary
{
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL*, CURLoption, ...);
    CURLcode (*easy_perform)(CURL*);
    CURLcode (*easy_getinfo)(CURL*, CURLINFO, ...);
    void (*easy_cleanup)(CURL*);
    curl_slist* (*slist_append)(curl_slist*, const char*);
    void (*slist_free_all)(curl_slist*);

    // The library, opened and globally initialised on the first call (from any thread, once);
    // nullptr when it cannot be opened or lacks one of the functions above.
    static const CurlLibrary* Get();
};
