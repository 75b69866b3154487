#include "AcsSamples.h"

#include <QtEndian>

#include <cmath>

using namespace Qt::StringLiterals;

namespace AcsSamples {

namespace {

QList<AcsColor> Palette()
{
    QList<AcsColor> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(AcsColor{quint8(i), quint8(255 - i), quint8((i * 37) & 0xFF)});
    palette[kTransparent] = AcsColor{255, 0, 255};
    return palette;
}

// An image with a filled ellipse, a bar whose angle depends on `pose`, and some dither.
AcsImage Drawn(quint16 width, quint16 height, int pose, quint8 colour)
{
    AcsImage image(width, height, kTransparent);
    const double cx = width / 2.0;
    const double cy = height * 0.55;
    const double rx = width * 0.3;
    const double ry = height * 0.35;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x - cx) / rx;
            const double dy = (y - cy) / ry;
            const double d = dx * dx + dy * dy;
            // Shading with a little ordered noise, as dithered drawings have.
            const quint32 noise = (quint32(x) * 73856093u) ^ (quint32(y) * 19349663u) ^ (quint32(pose) * 83492791u);
            if (d < 0.85)
                image.SetPixel(x, y, quint8(colour + (noise % 5 == 0 ? 1 + (noise >> 8) % 3 : 0)));
            else if (d < 1.0)
                image.SetPixel(x, y, quint8(colour + 2));
        }
    }
    const double angle = pose * 0.4;
    for (int t = 0; t < width / 3; ++t) {
        const int x = int(cx + rx * 0.8 + t * std::cos(angle));
        const int y = int(cy - t * std::sin(angle));
        for (int w = -1; w <= 1; ++w)
            image.SetPixel(x, y + w, quint8(colour + 3));
    }
    return image;
}

AcsImage Mouth(quint16 width, quint16 height, int shape)
{
    AcsImage image(width, height, kTransparent);
    const int open = shape == 0 ? 1 : (shape <= 4 ? 1 + shape : 2);
    const int wide = shape == 6 ? 3 : 6;
    image.Fill(AcsRect{width / 2 - wide, height / 2, width / 2 + wide, height / 2 + open}, quint8(200 + shape));
    return image;
}

AcsFrame Frame(std::initializer_list<int> images, quint16 duration, qint16 exitBranch = AcsExit::None)
{
    AcsFrame frame;
    for (int index : images)
        frame.images.append(AcsFrameImage{quint32(index), 0, 0});
    frame.duration = duration;
    frame.exitBranch = exitBranch;
    return frame;
}

QList<AcsOverlay> Overlays(int firstMouthImage)
{
    QList<AcsOverlay> overlays;
    for (int shape = 0; shape <= 6; ++shape) {
        AcsOverlay overlay;
        overlay.mouth = AcsMouthShape(shape);
        overlay.imageIndex = quint16(firstMouthImage + shape);
        overlay.x = 2;
        overlay.y = -1;
        overlay.centerX = 16;
        overlay.centerY = 12;
        overlays.append(overlay);
    }
    return overlays;
}

// A 16 × 16 icon: a 1-bpp mask DIB and a 4-bpp colour DIB, as Windows stores them headerless.
QByteArray Dib(int bitsPerPixel, int colours, int fill)
{
    const int stride = ((16 * bitsPerPixel + 31) / 32) * 4;
    QByteArray dib(40 + 4 * colours + stride * 16, char(fill));
    auto put32 = [&](int at, quint32 v) {
        qToLittleEndian(v, dib.data() + at);
    };
    auto put16 = [&](int at, quint16 v) {
        qToLittleEndian(v, dib.data() + at);
    };
    put32(0, 40);
    put32(4, 16);
    put32(8, 16);
    put16(12, 1);
    put16(14, quint16(bitsPerPixel));
    put32(16, 0);
    put32(20, quint32(stride * 16));
    put32(24, 0);
    put32(28, 0);
    put32(32, 0);
    put32(36, 0);
    return dib;
}

} // namespace

QByteArray Wave(int samples, int seed)
{
    QByteArray wave(44 + samples * 2, 0);
    char* d = wave.data();
    memcpy(d, "RIFF", 4);
    qToLittleEndian<quint32>(quint32(wave.size() - 8), d + 4);
    memcpy(d + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, d + 16);
    qToLittleEndian<quint16>(1, d + 20);     // PCM
    qToLittleEndian<quint16>(1, d + 22);     // mono
    qToLittleEndian<quint32>(11025, d + 24); // rate
    qToLittleEndian<quint32>(22050, d + 28); // bytes per second
    qToLittleEndian<quint16>(2, d + 32);
    qToLittleEndian<quint16>(16, d + 34);
    memcpy(d + 36, "data", 4);
    qToLittleEndian<quint32>(quint32(samples * 2), d + 40);
    for (int i = 0; i < samples; ++i)
        qToLittleEndian<qint16>(qint16(std::sin((i + seed) * 0.2) * 8000), d + 44 + 2 * i);
    return wave;
}

AcsCharacter Small()
{
    AcsCharacter c;
    AcsCharacterInfo& info = c.Info();
    info.guid = QUuid(u"{2F4A7C10-5B1E-4D3A-9C2B-7E6F5A4B3C2D}"_s);
    info.width = 32;
    info.height = 24;
    info.transparentIndex = kTransparent;
    info.styleFlags = AcsStyle::VoiceEnabled | AcsStyle::BalloonEnabled | AcsStyle::BalloonSizeToText |
                      AcsStyle::StandardAnimationSet;
    info.palette = Palette();

    AcsVoiceInfo voice;
    voice.engineId = QUuid(u"{11111111-2222-3333-4444-555566667777}"_s);
    voice.modeId = QUuid(u"{88888888-9999-AAAA-BBBB-CCCCDDDDEEEE}"_s);
    voice.speed = 157;
    voice.pitch = 120;
    voice.hasExtra = true;
    voice.languageId = 0x0409;
    voice.gender = 2;
    voice.age = 30;
    voice.style = u"Business"_s;
    info.voice = voice;

    AcsBalloonInfo balloon;
    balloon.lines = 3;
    balloon.charactersPerLine = 32;
    balloon.textColor = AcsColor{1, 2, 3};
    balloon.backgroundColor = AcsColor{255, 255, 225};
    balloon.borderColor = AcsColor{40, 50, 60};
    balloon.fontName = u"DejaVu Sans"_s;
    balloon.fontHeight = -13;
    balloon.fontWeight = 700;
    balloon.italic = true;
    info.balloon = balloon;

    info.trayIcon = AcsTrayIcon{Dib(1, 2, 0x0F), Dib(4, 16, 0x35)};
    info.localized = {
        {0x0409, u"Tester"_s, u"A character for tests"_s, u"Hello^^Goodbye"_s},
        {0x0407, u"Prüfer"_s, u"Eine Figur für Tests ✓"_s, {}},
    };

    // Images: 0-3 body poses (odd width 30 for row padding), 4-10 mouths, 11 a larger one.
    for (int pose = 0; pose < 4; ++pose)
        c.AddImage(Drawn(30, 24, pose, quint8(20 + pose * 8)));
    for (int shape = 0; shape <= 6; ++shape)
        c.AddImage(Mouth(32, 24, shape));
    c.AddImage(Drawn(41, 37, 2, 80));

    c.AddSound(Wave(40, 0));
    c.AddSound(Wave(25, 7));

    AcsAnimation rest{u"RestPose"_s, AcsTransition::None};
    rest.frames = {Frame({0}, 10, AcsExit::End)};
    rest.frames[0].overlays = Overlays(4);
    c.AddAnimation(rest);

    AcsAnimation wave{u"Wave"_s, AcsTransition::ReturnAnimation, u"WaveReturn"_s};
    wave.frames = {Frame({0}, 10, 2), Frame({1}, 20, 2), Frame({2, 11}, 15, AcsExit::End)};
    wave.frames[1].soundIndex = 1;
    wave.frames[1].images[0].x = -1;
    wave.frames[1].images[0].y = 2;
    c.AddAnimation(wave);

    AcsAnimation waveReturn{u"WaveReturn"_s};
    waveReturn.frames = {Frame({1}, 10, AcsExit::End)};
    c.AddAnimation(waveReturn);

    AcsAnimation idle{u"Idle1_1"_s, AcsTransition::ExitBranches};
    idle.frames = {Frame({0}, 30, 3), Frame({3}, 10, 0), Frame({2}, 10, 3), Frame({}, 0, AcsExit::End)};
    idle.frames[2].branches = {AcsBranch{1, 60}};
    idle.frames[0].soundIndex = 0;
    c.AddAnimation(idle);

    AcsAnimation show{u"Show"_s};
    show.frames = {Frame({3}, 5), Frame({0}, 5, AcsExit::End)};
    c.AddAnimation(show);

    AcsAnimation hide{u"Hide"_s};
    hide.frames = {Frame({0}, 5), Frame({3}, 5, AcsExit::End)};
    c.AddAnimation(hide);

    AcsAnimation speak{u"Speak"_s};
    speak.frames = {Frame({0}, 10, AcsExit::End)};
    speak.frames[0].overlays = Overlays(4);
    speak.frames[0].overlays[3].replaceTopImage = true;
    c.AddAnimation(speak);

    c.SetState(u"SHOWING"_s, {u"SHOW"_s});
    c.SetState(u"HIDING"_s, {u"HIDE"_s});
    c.SetState(u"SPEAKING"_s, {u"SPEAK"_s});
    c.SetState(u"IDLINGLEVEL1"_s, {u"IDLE1_1"_s});
    c.SetState(u"IDLINGLEVEL2"_s, {u"IDLE1_1"_s});
    return c;
}

AcsCharacter Large(int images)
{
    AcsCharacter c;
    AcsCharacterInfo& info = c.Info();
    info.guid = QUuid(u"{0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9}"_s);
    info.transparentIndex = kTransparent;
    info.palette = Palette();
    info.balloon = AcsBalloonInfo{};
    info.localized = {{0x0409, u"Large"_s, u"A large character"_s, {}}};
    for (int i = 0; i < images; ++i)
        c.AddImage(Drawn(128, 128, i, quint8(20 + (i % 12) * 16)));
    for (int i = 0; i < 8; ++i)
        c.AddSound(Wave(2000, i));
    for (int start = 0; start < images; start += 8) {
        AcsAnimation animation{u"Animation%1"_s.arg(start / 8)};
        for (int i = start; i < std::min(images, start + 8); ++i)
            animation.frames.append(Frame({i}, 10, qint16(i + 1 - start)));
        animation.frames.last().exitBranch = AcsExit::End;
        c.AddAnimation(animation);
    }
    return c;
}

} // namespace AcsSamples
