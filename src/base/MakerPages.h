#pragma once

#include <QString>

// The pages that the Help and Character menus open in the browser: pages of the user guide that is
// installed with the program (AppPaths::GuideFolder), as file:// addresses, so that every one of
// them exists on the user's own computer, online or not.
namespace MakerPages {

// "Online Help": the guide's start page.
QString SupportPage();

// "Download Other Characters" (and the Character options page's "Other Characters"): where to put
// more characters and which ones work.
QString CharacterPage();

// "Other Products": the guide's page about Quorvane and its maker.
QString HomePage();

} // namespace MakerPages
