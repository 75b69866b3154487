#pragma once

#include <QString>

#include <span>

// The help texts of the program: one topic per Help button, plus the overview of the main window.
// Every Help button opens the help dialog with its topic's id (see ShowHelpTopic).
namespace HelpTopics {

inline constexpr int StocksTab = 61207;
inline constexpr int RulesTab = 61208;
inline constexpr int AlertsTab = 61209;
inline constexpr int EditRule = 61211;
inline constexpr int EditAnnouncements = 61212;
inline constexpr int EditStock = 61213;
inline constexpr int StockStrip = 61215;
inline constexpr int StripOptions = 61216;
inline constexpr int BroadcastOptions = 61217;
inline constexpr int RulesOptions = 61218;
inline constexpr int GeneralOptions = 61219;
inline constexpr int CharacterOptions = 61220;
inline constexpr int ConnectionOptions = 61221;
inline constexpr int Overview = 61222;

// Every topic id, in ascending order.
std::span<const int> Ids();

// The text of a topic: plain prose, paragraphs separated by empty lines, speaking of the character
// by the name given (empty: "the character"). Empty for an unknown id.
QString Text(int topicId, const QString& characterName = QStringLiteral("Pennywit"));

} // namespace HelpTopics
