// Composing frames (image order, offsets and clipping, transparency, mouth overlays) and the tray
// icon's bitmaps.

#include "AcsSamples.h"

#include "agent/AcsRender.h"
#include "agent/AcsTrayIcons.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 kClear = 0;
constexpr quint32 kRed = 0xFFFF0000;
constexpr quint32 kGreen = 0xFF00FF00;
constexpr quint32 kBlue = 0xFF0000FF;

// A 4 × 3 frame; palette 0 transparent (magenta), 1 red, 2 green, 3 blue.
// Images: 0 body (4 × 3 red, with a transparent corner and an index past the palette), 1 eyes
// (2 × 1 green), 2 mouth (2 × 1 blue).
AcsCharacter Character()
{
    AcsCharacter c;
    c.Info().width = 4;
    c.Info().height = 3;
    c.Info().transparentIndex = 0;
    c.Info().palette = {{255, 0, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    AcsImage body(4, 3, 1);
    body.SetPixel(0, 0, 0);
    body.SetPixel(3, 2, 200);
    c.AddImage(body);
    c.AddImage(AcsImage(2, 1, 2));
    c.AddImage(AcsImage(2, 1, 3));
    return c;
}

AcsFrame Frame()
{
    AcsFrame frame;
    frame.images = {{1, 1, 0}, {0, 0, 0}}; // eyes on top of the body
    return frame;
}

QList<quint32> Row(const AcsPicture& picture, int y)
{
    return picture.pixels.mid(qsizetype(y) * picture.width, picture.width);
}

} // namespace

TEST(AcsRender, DrawsTheFirstImageOnTop)
{
    const AcsCharacter c = Character();
    const AcsFrame frame = Frame();
    const AcsPicture picture = AcsRender::RenderFrame(c, &frame);
    ASSERT_EQ(picture.width, 4);
    ASSERT_EQ(picture.height, 3);
    EXPECT_EQ(Row(picture, 0), (QList<quint32>{kClear, kGreen, kGreen, kRed}));
    EXPECT_EQ(Row(picture, 1), (QList<quint32>{kRed, kRed, kRed, kRed}));
    EXPECT_EQ(Row(picture, 2), (QList<quint32>{kRed, kRed, kRed, kClear})); // past the palette
}

TEST(AcsRender, ClipsImagesAtTheFrameEdges)
{
    const AcsCharacter c = Character();
    AcsFrame frame;
    frame.images = {{1, -1, 2}, {1, 3, -1}, {0, 2, 1}};
    const AcsPicture picture = AcsRender::RenderFrame(c, &frame);
    EXPECT_EQ(Row(picture, 0), (QList<quint32>{kClear, kClear, kClear, kClear}));
    EXPECT_EQ(Row(picture, 1), (QList<quint32>{kClear, kClear, kClear, kRed}));
    EXPECT_EQ(Row(picture, 2), (QList<quint32>{kGreen, kClear, kRed, kRed}));
}

TEST(AcsRender, LaysTheMouthOverOrInsteadOfTheTopImage)
{
    const AcsCharacter c = Character();
    const AcsFrame frame = Frame();
    AcsOverlay mouth{AcsMouthShape::Medium, false, 2, 0, 1, 0};
    AcsPicture picture = AcsRender::RenderFrame(c, &frame, &mouth);
    EXPECT_EQ(Row(picture, 0), (QList<quint32>{kClear, kBlue, kBlue, kRed}));

    mouth.x = 2;
    mouth.y = 2;
    mouth.replaceTopImage = true; // the eyes go, the mouth comes
    picture = AcsRender::RenderFrame(c, &frame, &mouth);
    EXPECT_EQ(Row(picture, 0), (QList<quint32>{kClear, kRed, kRed, kRed}));
    EXPECT_EQ(Row(picture, 2), (QList<quint32>{kRed, kRed, kBlue, kBlue}));
}

TEST(AcsRender, NothingToDrawIsTransparent)
{
    const AcsCharacter c = Character();
    const AcsPicture picture = AcsRender::RenderFrame(c, nullptr);
    EXPECT_EQ(picture.pixels, QList<quint32>(12, kClear));
    AcsFrame missing;
    missing.images = {{7, 0, 0}};
    EXPECT_EQ(AcsRender::RenderFrame(c, &missing).pixels, QList<quint32>(12, kClear));

    const AcsPicture eyes = AcsRender::RenderImage(c, c.Images()[1]);
    EXPECT_EQ(eyes.pixels, (QList<quint32>{kGreen, kGreen}));
}

// ---------------------------------------------------------------------------------------------
// The tray icon's bitmaps.

TEST(AcsTrayIcons, RoundTripsAPicture)
{
    AcsPicture picture{18, 17};
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 18; ++x)
            picture.pixels.append((x + y) % 5 == 0 ? 0u
                                                   : 0xFF000000u | quint32(x * 13) << 16 | quint32(y * 7) << 8 | 99);
    const AcsTrayIcon icon = AcsTrayIcons::Encode(picture);
    const std::optional<AcsPicture> decoded = AcsTrayIcons::Decode(icon);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, picture);

    EXPECT_EQ(AcsTrayIcons::Encode(AcsPicture{}), AcsTrayIcon{});
    EXPECT_EQ(AcsTrayIcons::Encode(AcsPicture{300, 1, QList<quint32>(300, 0)}), AcsTrayIcon{});
}

TEST(AcsTrayIcons, DecodesPaletteBitmapsBitByBit)
{
    // The sample's mask bytes are 0x0F: in each byte the first four pixels show, the last four not.
    const AcsTrayIcon icon = *AcsSamples::Small().Info().trayIcon;
    const std::optional<AcsPicture> decoded = AcsTrayIcons::Decode(icon);
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->width, 16);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(decoded->At(x, 5), x % 8 < 4 ? 0xFF353535u : 0u) << x;
}

namespace {

struct DamagedIcon
{
    const char* name;
    std::function<void(AcsTrayIcon&)> spoil;
};

class AcsTrayIconsDamaged : public ::testing::TestWithParam<DamagedIcon>
{};

void Put32(QByteArray& bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

const DamagedIcon kDamagedIcons[] = {
    {"Empty",
     [](AcsTrayIcon& i) {
         i.colorBitmap.clear();
     }},
    {"TruncatedRows",
     [](AcsTrayIcon& i) {
         i.colorBitmap.chop(1);
     }},
    {"HeaderTooBig",
     [](AcsTrayIcon& i) {
         Put32(i.colorBitmap, 0, 5000);
     }},
    {"ZeroWidth",
     [](AcsTrayIcon& i) {
         Put32(i.colorBitmap, 4, 0);
     }},
    {"HugeHeight",
     [](AcsTrayIcon& i) {
         Put32(i.colorBitmap, 8, 0x80000000);
     }},
    {"OddBitCount",
     [](AcsTrayIcon& i) {
         i.colorBitmap[14] = 7;
     }},
    {"Compressed",
     [](AcsTrayIcon& i) {
         Put32(i.colorBitmap, 16, 2);
     }},
    {"TooManyColours",
     [](AcsTrayIcon& i) {
         Put32(i.colorBitmap, 32, 300);
     }},
    {"MaskNotOneBit",
     [](AcsTrayIcon& i) {
         i.maskBitmap[14] = 4;
     }},
    {"MaskOtherSize",
     [](AcsTrayIcon& i) {
         Put32(i.maskBitmap, 8, 8);
     }},
};

} // namespace

TEST_P(AcsTrayIconsDamaged, IsRefused)
{
    AcsTrayIcon icon = *AcsSamples::Small().Info().trayIcon;
    ASSERT_TRUE(AcsTrayIcons::Decode(icon).has_value());
    GetParam().spoil(icon);
    EXPECT_FALSE(AcsTrayIcons::Decode(icon).has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, AcsTrayIconsDamaged, ::testing::ValuesIn(kDamagedIcons),
                         [](const auto& info) { return std::string(info.param.name); });
