#pragma once

#include <QByteArray>

// What every HTTP GET of the program asks for, whoever makes it (quotes, the web update).
struct HttpRequest
{
    QByteArray url;
    QByteArray proxy;     // "host" or "host:port"; its host is reached directly. Empty: the environment's
    QByteArray userAgent; // empty: libcurl sends none
    QByteArray caFile;    // empty: the system's certificates
    int connectMs = 30000;
    int stallSeconds = 60; // a transfer that receives nothing for this long fails
};
