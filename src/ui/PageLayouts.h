#pragma once

#include "ui/LayoutRule.h"

#include <span>

// The layout tables of the main window's three tab pages, and the ids their controls carry (set
// them with SetControlId, LayoutManager.h). Offsets are in dialog units.

// Stocks page (dialog 202).
namespace StocksPageIds {
inline constexpr int List = 215;      // the stock list
inline constexpr int Add = 216;       // "&Add ..."
inline constexpr int Remove = 217;    // "Re&move"
inline constexpr int Edit = 218;      // "&Edit ..."
inline constexpr int AddRule = 219;   // "Add R&ule"
inline constexpr int Read = 220;      // "Rea&d"
inline constexpr int Disable = 221;   // "D&isable" / "E&nable"
inline constexpr int Help = 222;      // "Hel&p"
inline constexpr int MoveDown = 1089; // bitmap button, move the selected stock down
inline constexpr int MoveUp = 1090;   // bitmap button, move the selected stock up
inline constexpr int Unsort = 1091;   // "U&nsort"
inline constexpr int News = 32797;    // "Ne&ws Stories"
inline constexpr int Chart = 32798;   // "&Chart"
} // namespace StocksPageIds

// Alerts page (dialog 203).
namespace AlertsPageIds {
inline constexpr int Remove = 217;     // "Re&move"
inline constexpr int EditRule = 218;   // "&Edit Rule"
inline constexpr int List = 221;       // the alert list
inline constexpr int Help = 224;       // "Hel&p"
inline constexpr int RemoveAll = 1042; // "Remo&ve All"
} // namespace AlertsPageIds

// Rules page (dialog 204).
namespace RulesPageIds {
inline constexpr int Add = 216;    // "&Add ..."
inline constexpr int Remove = 217; // "Re&move"
inline constexpr int Edit = 218;   // "&Edit ..."
inline constexpr int List = 223;   // the rule list
inline constexpr int Help = 294;   // "Hel&p"
} // namespace RulesPageIds

// Each table ends with a LayoutEnd row.
std::span<const LayoutRule> StocksPageLayout();
std::span<const LayoutRule> AlertsPageLayout();
std::span<const LayoutRule> RulesPageLayout();
