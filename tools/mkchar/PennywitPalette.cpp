#include "PennywitPalette.h"

#include <array>
#include <limits>

namespace PennywitPalette {

namespace {

constexpr QRgb Magenta = 0xffff00ff;

constexpr std::array Inks{
    Ink::Outline,     Ink::Gold,        Ink::GoldShade,   Ink::GoldDark,   Ink::GoldLight, Ink::GoldGlint,
    Ink::EyeWhite,    Ink::EyeShade,    Ink::MouthInside, Ink::Tongue,     Ink::Blush,     Ink::GloveShade,
    Ink::Shoe,        Ink::ShoeLight,   Ink::Hat,         Ink::HatShade,   Ink::HatLight,  Ink::HatBand,
    Ink::Note,        Ink::NoteShade,   Ink::NoteLight,   Ink::NoteInk,    Ink::Green,     Ink::GreenShade,
    Ink::Red,         Ink::RedShade,    Ink::Paper,       Ink::PaperShade, Ink::PaperLine, Ink::Grid,
    Ink::Device,      Ink::DeviceShade, Ink::DeviceLight, Ink::Screen,     Ink::ScreenDim, Ink::ScreenInk,
    Ink::Wood,        Ink::WoodShade,   Ink::Blue,        Ink::BlueShade,  Ink::BlueLight, Ink::Iron,
    Ink::IronLight,   Ink::Star,        Ink::StarShade,   Ink::Sparkle,    Ink::Flame,     Ink::FlameOrange,
    Ink::FlameYellow, Ink::Ash,         Ink::AshDark,     Ink::Char,       Ink::Bear,      Ink::BearShade,
    Ink::BearLight,   Ink::BearEye,     Ink::Cloth,       Ink::ClothShade,
};

// Pairs of inks that meet without an outline between them; their anti-aliased edges get blends.
struct Meeting
{
    QRgb a;
    QRgb b;
};
constexpr std::array Meetings{
    Meeting{Ink::Gold, Ink::GoldShade},
    Meeting{Ink::Gold, Ink::GoldLight},
    Meeting{Ink::GoldLight, Ink::GoldGlint},
    Meeting{Ink::GoldShade, Ink::GoldDark},
    Meeting{Ink::EyeWhite, Ink::Gold},
    Meeting{Ink::Glove, Ink::GloveShade},
    Meeting{Ink::MouthInside, Ink::Tongue},
    Meeting{Ink::EyeWhite, Ink::MouthInside},
    Meeting{Ink::Gold, Ink::Blush},
    Meeting{Ink::Hat, Ink::HatShade},
    Meeting{Ink::Hat, Ink::HatLight},
    Meeting{Ink::Paper, Ink::Red},
    Meeting{Ink::Paper, Ink::Green},
    Meeting{Ink::Paper, Ink::Grid},
    Meeting{Ink::Paper, Ink::PaperLine},
    Meeting{Ink::Red, Ink::EyeWhite},
    Meeting{Ink::Green, Ink::EyeWhite},
    Meeting{Ink::Blue, Ink::Star},
    Meeting{Ink::Screen, Ink::ScreenInk},
    Meeting{Ink::Note, Ink::NoteInk},
    Meeting{Ink::Note, Ink::NoteShade},
    Meeting{Ink::Flame, Ink::FlameOrange},
    Meeting{Ink::FlameOrange, Ink::FlameYellow},
    Meeting{Ink::Bear, Ink::BearShade},
    Meeting{Ink::Bear, Ink::BearLight},
    Meeting{Ink::Ash, Ink::AshDark},
    Meeting{Ink::Star, Ink::StarShade},
    Meeting{Ink::Iron, Ink::IronLight},
    Meeting{Ink::Iron, Ink::Gold},
    Meeting{Ink::Cloth, Ink::ClothShade},
};

QRgb Blend(QRgb a, QRgb b, int numerator, int denominator)
{
    const auto mix = [&](int x, int y) {
        return (x * (denominator - numerator) + y * numerator) / denominator;
    };
    return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
}

void AddUnique(QList<QRgb>& colours, QRgb colour)
{
    if (!colours.contains(colour))
        colours.append(colour);
}

QList<QRgb> BuildColours()
{
    QList<QRgb> colours{Magenta};
    for (QRgb ink : Inks)
        AddUnique(colours, ink);
    // Every ink meets the outline somewhere: two steps of blend for its anti-aliased edge.
    for (QRgb ink : Inks) {
        if (ink == Ink::Outline)
            continue;
        AddUnique(colours, Blend(ink, Ink::Outline, 1, 3));
        AddUnique(colours, Blend(ink, Ink::Outline, 2, 3));
    }
    for (const Meeting& meeting : Meetings)
        AddUnique(colours, Blend(meeting.a, meeting.b, 1, 2));
    Q_ASSERT(colours.size() <= ColourCount);
    // The unused tail repeats the outline colour: a full 256-entry table keeps every byte value valid.
    while (colours.size() < ColourCount)
        colours.append(Ink::Outline);
    return colours;
}

// Perceptual distance between two colours ("redmean" weighting), squared and scaled.
int Distance(QRgb a, QRgb b)
{
    const int meanRed = (qRed(a) + qRed(b)) / 2;
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return ((512 + meanRed) * dr * dr >> 8) + 4 * dg * dg + ((767 - meanRed) * db * db >> 8);
}

} // namespace

const QList<QRgb>& Colours()
{
    static const QList<QRgb> colours = BuildColours();
    return colours;
}

int NearestIndex(QRgb colour)
{
    const QList<QRgb>& colours = Colours();
    int best = 1;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 1; i < colours.size(); ++i) {
        const int distance = Distance(colour, colours[i]);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

QImage ToIndexed(const QImage& picture)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_Indexed8);
    result.setColorTable(Colours());
    QHash<QRgb, uchar> nearest;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* out = result.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = in[x];
            if (qAlpha(pixel) < 128) {
                out[x] = TransparentIndex;
                continue;
            }
            const QRgb opaque = pixel | 0xff000000;
            auto found = nearest.constFind(opaque);
            if (found == nearest.constEnd())
                found = nearest.insert(opaque, static_cast<uchar>(NearestIndex(opaque)));
            out[x] = *found;
        }
    }
    return result;
}

} // namespace PennywitPalette
