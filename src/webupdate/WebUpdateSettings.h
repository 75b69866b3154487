#pragma once

#include <QString>

// The values the web update keeps in the option store beside the Options sheet's table, read
// afresh at each use:
//   "WebUpdate"/"URL"    the address of the version file (default: DefaultVersionFileUrl());
//   "HasRun"/"Default"   1 once the first-use question about updates has been asked.
namespace WebUpdateSettings {

// The maker's version file. brightwold.example is a reserved example domain (RFC 2606) standing in
// for the maker's update site until it has one: until then the check says that it found nothing.
inline QString DefaultVersionFileUrl()
{
    return QStringLiteral("https://www.brightwold.example/quorvane/update/version.txt");
}

QString VersionFileUrl();

bool HasRun();
void SetHasRun();

// The proxy as for quote requests: with the connection "Type" "LAN", "ProxyServer" followed by ":"
// and "ProxyPort" when that is not empty; otherwise empty (the system's settings).
QString ProxyText();

// The user agent of every request: the application's title.
QString UserAgent();

} // namespace WebUpdateSettings
