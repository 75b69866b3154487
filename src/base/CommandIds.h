#pragma once

// The ids of the program's commands, shared by the main menu, the tray menu, the tool bar and the
// Stock Strip's menu. A command goes to the engine window first, then to the main frame.
namespace CommandId {

// Main frame.
inline constexpr int Exit = 32772;           // "E&xit": disabled while one of the program's dialogs is open
inline constexpr int QuorvaneWindow = 32777; // "&Quorvane Window": restore, show and bring to the front
inline constexpr int ToggleStrip = 32804;    // "&Show Stock Strip"
inline constexpr int HideStrip = 32807;      // "&Hide Stock Strip"
inline constexpr int StripNext = 32806;      // "Show &Next stocks"
inline constexpr int StripPrevious = 32805;  // "Show &Previous stocks"
inline constexpr int StripHelp = 32808;      // "&Stock Strip Help"

// Engine window.
inline constexpr int Options = 32773;         // "&Options ..."
inline constexpr int Broadcast = 32775;       // "&Broadcast": update, read the prices and check the rules now
inline constexpr int ReadAllPrices = 32800;   // "&Read All Prices": the prices as they are, without an update
inline constexpr int HideCharacter = 32771;   // "H&ide": silence the character and hide it
inline constexpr int Quiet = 32811;           // "&Quiet": the quiet switch ("Globally Disable")
inline constexpr int PriceUpdates = 32781;    // price updates and rule checks on or off ("CheckRules")
inline constexpr int About = 32774;           // "&About Quorvane ..."
inline constexpr int AboutCharacter = 32803;  // "About &Pennywit": the character introduces itself
inline constexpr int Overview = 32814;        // "&Overview": the main window's help topic
inline constexpr int WebUpdate = 32801;       // "Download Program &Update ..."
inline constexpr int OnlineHelp = 32783;      // "Online &Help": the maker's support page
inline constexpr int OtherCharacters = 32785; // "&Download Other Characters": the maker's character page
inline constexpr int OtherProducts = 32786;   // "Other &Products": the maker's home page

} // namespace CommandId
