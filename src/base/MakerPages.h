#pragma once

#include <QString>

// The maker's web pages that the program opens in the browser. brightwold.example is a reserved
// example domain (RFC 2606) standing in for the maker's site until it has a real one.
namespace MakerPages {

// "Online Help".
inline QString SupportPage()
{
    return QStringLiteral("https://www.brightwold.example/quorvane/support");
}

// "Download Other Characters" (and the Character options page's "Other Characters").
inline QString CharacterPage()
{
    return QStringLiteral("https://www.brightwold.example/quorvane/characters");
}

// "Other Products".
inline QString HomePage()
{
    return QStringLiteral("https://www.brightwold.example/");
}

} // namespace MakerPages
