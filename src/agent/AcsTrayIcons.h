#pragma once

#include "agent/AcsModel.h"
#include "agent/AcsRender.h"

#include <optional>

// The character's tray icon (two headerless Windows DIBs) to and from a picture.
namespace AcsTrayIcons {

// Decodes the icon: the colour bitmap (1, 4, 8, 24 or 32 bits per pixel, uncompressed, at most
// 256 × 256) with the mask's 1 bits transparent. std::nullopt for a damaged or unknown bitmap.
std::optional<AcsPicture> Decode(const AcsTrayIcon& icon);

// Encodes a picture (alpha below 128 counts as transparent) as a 1-bit mask and a 24-bit colour
// bitmap. An empty picture, or one larger than 256 × 256, gives an empty icon.
AcsTrayIcon Encode(const AcsPicture& picture);

} // namespace AcsTrayIcons
