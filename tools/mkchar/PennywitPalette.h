#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QRgb>

// Pennywit's colours. Every picture of the character is drawn with these inks only (plus the
// blends anti-aliasing makes between them), then mapped onto one fixed 256-colour palette whose
// index 0 is transparent.
namespace Ink {
// Outlines and everything drawn as a line (arms, legs, brows, pupils).
inline constexpr QRgb Outline = 0xff2a1a10;

// The coin.
inline constexpr QRgb Gold = 0xfff2b632;
inline constexpr QRgb GoldShade = 0xffc98a1b;
inline constexpr QRgb GoldDark = 0xff9a6412;
inline constexpr QRgb GoldLight = 0xffffd970;
inline constexpr QRgb GoldGlint = 0xfffff4c8;

// Face.
inline constexpr QRgb EyeWhite = 0xffffffff;
inline constexpr QRgb EyeShade = 0xffdfe3ec;
inline constexpr QRgb MouthInside = 0xff7a1f24;
inline constexpr QRgb Tongue = 0xffe2606c;
inline constexpr QRgb Blush = 0xfff59a7a;

// Gloves and shoes.
inline constexpr QRgb Glove = 0xffffffff;
inline constexpr QRgb GloveShade = 0xffcfd5e2;
inline constexpr QRgb Shoe = 0xff5a3b30;
inline constexpr QRgb ShoeLight = 0xff9c7a68;

// The little top hat.
inline constexpr QRgb Hat = 0xff2f8f58;
inline constexpr QRgb HatShade = 0xff1e6a3f;
inline constexpr QRgb HatLight = 0xff63c486;
inline constexpr QRgb HatBand = 0xff163f28;

// Banknotes and everything green and good.
inline constexpr QRgb Note = 0xff93d3a0;
inline constexpr QRgb NoteShade = 0xff5aa56b;
inline constexpr QRgb NoteLight = 0xffcdeed4;
inline constexpr QRgb NoteInk = 0xff2f6e3d;
inline constexpr QRgb Green = 0xff1fa04a;
inline constexpr QRgb GreenShade = 0xff147236;
inline constexpr QRgb Red = 0xffd7283d;
inline constexpr QRgb RedShade = 0xffa0182b;

// Paper: the chart board, the newspaper, the calculator's keys.
inline constexpr QRgb Paper = 0xfffbf8ee;
inline constexpr QRgb PaperShade = 0xffd9d4c2;
inline constexpr QRgb PaperLine = 0xff9a958a;
inline constexpr QRgb Grid = 0xffc3cfdc;

// The calculator.
inline constexpr QRgb Device = 0xff56606e;
inline constexpr QRgb DeviceShade = 0xff3a414d;
inline constexpr QRgb DeviceLight = 0xff8893a3;
inline constexpr QRgb Screen = 0xffaecf9c;
inline constexpr QRgb ScreenDim = 0xff8ca77d;
inline constexpr QRgb ScreenInk = 0xff1f3a22;

// Wood of placard sticks and banner poles.
inline constexpr QRgb Wood = 0xffb57d47;
inline constexpr QRgb WoodShade = 0xff7f5530;

// The banner.
inline constexpr QRgb Blue = 0xff2e5ea8;
inline constexpr QRgb BlueShade = 0xff1d3f78;
inline constexpr QRgb BlueLight = 0xff6f9be0;

// The pot of gold and other iron things.
inline constexpr QRgb Iron = 0xff34343e;
inline constexpr QRgb IronLight = 0xff62626f;

// Stars, sparkles and fire.
inline constexpr QRgb Star = 0xffffd93b;
inline constexpr QRgb StarShade = 0xffe3a500;
inline constexpr QRgb Sparkle = 0xfffffbe6;
inline constexpr QRgb Flame = 0xffe8461e;
inline constexpr QRgb FlameOrange = 0xffff8c1f;
inline constexpr QRgb FlameYellow = 0xffffd447;
inline constexpr QRgb Ash = 0xff84807c;
inline constexpr QRgb AshDark = 0xff4b4846;
inline constexpr QRgb Char = 0xff231f1e;

// The bear looming behind him.
inline constexpr QRgb Bear = 0xff6d4428;
inline constexpr QRgb BearShade = 0xff4b2d19;
inline constexpr QRgb BearLight = 0xff93643f;
inline constexpr QRgb BearEye = 0xffffc23a;

// The polishing cloth and a drop of sweat.
inline constexpr QRgb Cloth = 0xff8cc4ea;
inline constexpr QRgb ClothShade = 0xff5a97c8;
} // namespace Ink

namespace PennywitPalette {

inline constexpr int TransparentIndex = 0;
inline constexpr int ColourCount = 256;

// The palette every image of the character file uses: index 0 is the transparent colour (magenta,
// never shown), then each ink and its blends towards the outline colour, padded to 256 entries.
const QList<QRgb>& Colours();

// Maps a drawn picture (any format with alpha) onto the palette: pixels at least half covered take
// the nearest palette colour, the rest become the transparent index. The result is an 8-bit indexed
// image carrying Colours() as its colour table.
QImage ToIndexed(const QImage& picture);

// The palette index nearest to an opaque colour (never the transparent index).
int NearestIndex(QRgb colour);

} // namespace PennywitPalette
