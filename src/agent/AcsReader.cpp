#include "agent/AcsReader.h"

#include "agent/AcsCompression.h"
#include "agent/AcsFileFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Why parsing stopped; the first fault wins.
struct ParseState
{
    AcsReadError error = AcsReadError::None;
    QString detail;
    qint64 offset = 0;

    bool Ok() const { return error == AcsReadError::None; }
    void Fail(AcsReadError kind, const QString& text, qint64 at)
    {
        if (!Ok())
            return;
        error = kind;
        detail = text;
        offset = at;
    }
};

// Reads little-endian fields from one block of the file, never past the block's end. After a fault
// every read returns zero and the state keeps the first fault.
class Cursor
{
public:
    Cursor(const uchar* file, qint64 begin, qint64 end, ParseState& state)
        : m_file(file)
        , m_pos(begin)
        , m_end(end)
        , m_state(state)
    {}

    bool Ok() const { return m_state.Ok(); }
    qint64 Position() const { return m_pos; }
    qint64 Remaining() const { return m_end - m_pos; }

    void Fail(const QString& text) { m_state.Fail(AcsReadError::Damaged, text, m_pos); }

    // True when n more bytes are there; otherwise records the fault.
    bool Has(qint64 n, const char* what)
    {
        if (!Ok())
            return false;
        if (n < 0 || n > Remaining()) {
            Fail(u"%1 runs past the end of its block"_s.arg(QLatin1StringView(what)));
            return false;
        }
        return true;
    }

    // Checks that `count` items of at least `itemSize` bytes each can fit before allocating them.
    bool CountFits(qint64 count, qint64 itemSize, const char* what)
    {
        if (!Ok())
            return false;
        if (count * itemSize > Remaining()) {
            Fail(u"the %1 count (%2) runs past the end of its block"_s.arg(QLatin1StringView(what)).arg(count));
            return false;
        }
        return true;
    }

    quint8 U8(const char* what)
    {
        if (!Has(1, what))
            return 0;
        return m_file[m_pos++];
    }
    quint16 U16(const char* what)
    {
        if (!Has(2, what))
            return 0;
        const quint16 v = quint16(m_file[m_pos] | (m_file[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    qint16 S16(const char* what) { return qint16(U16(what)); }
    quint32 U32(const char* what)
    {
        if (!Has(4, what))
            return 0;
        const quint32 v = quint32(m_file[m_pos]) | (quint32(m_file[m_pos + 1]) << 8) |
                          (quint32(m_file[m_pos + 2]) << 16) | (quint32(m_file[m_pos + 3]) << 24);
        m_pos += 4;
        return v;
    }
    qint32 S32(const char* what) { return qint32(U32(what)); }

    QByteArrayView Bytes(qint64 n, const char* what)
    {
        if (!Has(n, what))
            return {};
        const QByteArrayView view(reinterpret_cast<const char*>(m_file + m_pos), n);
        m_pos += n;
        return view;
    }

    void Skip(qint64 n, const char* what)
    {
        if (Has(n, what))
            m_pos += n;
    }

    // A count, a UTF-16LE text, and a terminator when the text is not empty.
    QString String(const char* what)
    {
        const quint32 length = U32(what);
        if (!Ok() || length == 0)
            return {};
        if (!Has(qint64(length) * 2 + 2, what))
            return {};
        QString text(qsizetype(length), Qt::Uninitialized);
        auto* out = reinterpret_cast<char16_t*>(text.data());
        for (quint32 i = 0; i < length; ++i)
            out[i] = char16_t(m_file[m_pos + 2 * i] | (m_file[m_pos + 2 * i + 1] << 8));
        m_pos += qint64(length) * 2 + 2;
        return text;
    }

    QUuid Guid(const char* what)
    {
        const quint32 d1 = U32(what);
        const quint16 d2 = U16(what);
        const quint16 d3 = U16(what);
        const QByteArrayView d4 = Bytes(8, what);
        if (!Ok())
            return {};
        const auto b = [&](int i) {
            return uchar(d4[i]);
        };
        return QUuid(d1, d2, d3, b(0), b(1), b(2), b(3), b(4), b(5), b(6), b(7));
    }

    // A palette entry: blue, green, red, 0.
    AcsColor Bgr(const char* what)
    {
        const QByteArrayView bytes = Bytes(4, what);
        if (!Ok())
            return {};
        return AcsColor{quint8(bytes[2]), quint8(bytes[1]), quint8(bytes[0])};
    }

    // A balloon colour (a Windows COLORREF): red, green, blue, 0.
    AcsColor Rgb(const char* what)
    {
        const QByteArrayView bytes = Bytes(4, what);
        if (!Ok())
            return {};
        return AcsColor{quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2])};
    }

    AcsRect Rect(const char* what)
    {
        AcsRect r;
        r.left = S32(what);
        r.top = S32(what);
        r.right = S32(what);
        r.bottom = S32(what);
        return r;
    }

private:
    const uchar* m_file;
    qint64 m_pos;
    qint64 m_end;
    ParseState& m_state;
};

struct Locator
{
    quint32 offset = 0;
    quint32 length = 0;
};

class Parser
{
public:
    Parser(QByteArrayView data, const AcsReadLimits& limits)
        : m_data(reinterpret_cast<const uchar*>(data.data()))
        , m_size(data.size())
        , m_limits(limits)
    {}

    std::optional<AcsCharacter> Run();
    const ParseState& State() const { return m_state; }

private:
    Cursor At(const Locator& locator)
    {
        return Cursor(m_data, locator.offset, qint64(locator.offset) + locator.length, m_state);
    }
    Locator ReadLocator(Cursor& c, const char* what);
    bool Check(const Locator& locator, const char* what);

    void ReadCharacterInfo(const Locator& where);
    void ReadVoice(Cursor& c);
    void ReadBalloon(Cursor& c);
    void ReadTrayIcon(Cursor& c);
    void ReadStates(Cursor& c);
    void ReadLocalized(const Locator& where);
    void ReadAnimations(const Locator& where);
    void ReadAnimation(const QString& name, const Locator& where);
    void ReadFrame(Cursor& c, AcsFrame& frame);
    void ReadImages(const Locator& where);
    AcsImage ReadImage(const Locator& where);
    std::optional<AcsRegion> ReadRegion(Cursor& c);
    void ReadSounds(const Locator& where);
    bool Budget(qint64 bytes, Cursor& c);
    void Mend();

    const uchar* m_data;
    qint64 m_size;
    const AcsReadLimits& m_limits;
    ParseState m_state;
    qint64 m_decoded = 0;
    AcsCharacter m_character;
};

Locator Parser::ReadLocator(Cursor& c, const char* what)
{
    Locator locator;
    locator.offset = c.U32(what);
    locator.length = c.U32(what);
    return locator;
}

bool Parser::Check(const Locator& locator, const char* what)
{
    if (!m_state.Ok())
        return false;
    if (qint64(locator.offset) + locator.length > m_size) {
        m_state.Fail(AcsReadError::Damaged,
                     u"the %1 (%2 bytes at byte %3) lies outside the file"_s.arg(QLatin1StringView(what))
                         .arg(locator.length)
                         .arg(locator.offset),
                     locator.offset);
        return false;
    }
    return true;
}

std::optional<AcsCharacter> Parser::Run()
{
    Cursor header(m_data, 0, m_size, m_state);
    header.Skip(4, "the signature");
    const Locator info = ReadLocator(header, "the file header");
    const Locator animations = ReadLocator(header, "the file header");
    const Locator images = ReadLocator(header, "the file header");
    const Locator sounds = ReadLocator(header, "the file header");
    if (!Check(info, "character info") || !Check(animations, "animation list") || !Check(images, "image list") ||
        !Check(sounds, "sound list"))
        return std::nullopt;

    ReadCharacterInfo(info);
    ReadImages(images);
    ReadSounds(sounds);
    ReadAnimations(animations);
    if (!m_state.Ok())
        return std::nullopt;
    Mend();
    return std::move(m_character);
}

void Parser::ReadCharacterInfo(const Locator& where)
{
    Cursor c = At(where);
    AcsCharacterInfo& info = m_character.Info();
    info.minorVersion = c.U16("the character info");
    info.majorVersion = c.U16("the character info");
    const Locator localized = ReadLocator(c, "the character info");
    info.guid = c.Guid("the character info");
    info.width = c.U16("the character info");
    info.height = c.U16("the character info");
    info.transparentIndex = c.U8("the character info");
    info.styleFlags = c.U32("the character info");
    info.animationSetMajor = c.U16("the character info");
    info.animationSetMinor = c.U16("the character info");
    if (info.styleFlags & AcsStyle::VoiceEnabled)
        ReadVoice(c);
    if (info.styleFlags & AcsStyle::BalloonEnabled)
        ReadBalloon(c);

    const quint32 colours = c.U32("the palette");
    if (c.Ok() && colours > 256) {
        c.Fail(u"the palette has %1 colours; at most 256 are possible"_s.arg(colours));
        return;
    }
    if (!c.CountFits(colours, 4, "palette"))
        return;
    info.palette.reserve(colours);
    for (quint32 i = 0; i < colours; ++i)
        info.palette.append(c.Bgr("the palette"));

    ReadTrayIcon(c);
    ReadStates(c);
    if (Check(localized, "localized info list"))
        ReadLocalized(localized);
}

void Parser::ReadVoice(Cursor& c)
{
    AcsVoiceInfo voice;
    voice.engineId = c.Guid("the voice info");
    voice.modeId = c.Guid("the voice info");
    voice.speed = c.U32("the voice info");
    voice.pitch = c.U16("the voice info");
    voice.hasExtra = c.U8("the voice info") != 0;
    if (voice.hasExtra) {
        voice.languageId = c.U16("the voice info");
        voice.dialect = c.String("the voice dialect");
        voice.gender = c.U16("the voice info");
        voice.age = c.U16("the voice info");
        voice.style = c.String("the voice style");
    }
    m_character.Info().voice = voice;
}

void Parser::ReadBalloon(Cursor& c)
{
    AcsBalloonInfo balloon;
    balloon.lines = c.U8("the balloon info");
    balloon.charactersPerLine = c.U8("the balloon info");
    balloon.textColor = c.Rgb("the balloon info");
    balloon.backgroundColor = c.Rgb("the balloon info");
    balloon.borderColor = c.Rgb("the balloon info");
    balloon.fontName = c.String("the balloon font name");
    balloon.fontHeight = c.S32("the balloon info");
    balloon.fontWeight = c.S32("the balloon info");
    balloon.italic = c.U8("the balloon info") != 0;
    balloon.fontFlags = c.U8("the balloon info");
    m_character.Info().balloon = balloon;
}

void Parser::ReadTrayIcon(Cursor& c)
{
    if (c.U8("the tray icon") == 0)
        return;
    AcsTrayIcon icon;
    icon.maskBitmap = c.Bytes(c.U32("the tray icon"), "the tray icon mask").toByteArray();
    icon.colorBitmap = c.Bytes(c.U32("the tray icon"), "the tray icon picture").toByteArray();
    if (c.Ok())
        m_character.Info().trayIcon = icon;
}

void Parser::ReadStates(Cursor& c)
{
    const quint16 count = c.U16("the state list");
    if (!c.CountFits(count, 6, "state"))
        return;
    QList<AcsState>& states = m_character.Info().states;
    states.reserve(count);
    for (quint16 i = 0; i < count && c.Ok(); ++i) {
        AcsState state;
        state.name = c.String("a state name");
        const quint16 names = c.U16("a state");
        if (!c.CountFits(names, 4, "state animation"))
            return;
        state.animations.reserve(names);
        for (quint16 n = 0; n < names && c.Ok(); ++n)
            state.animations.append(c.String("a state's animation name"));
        states.append(std::move(state));
    }
}

void Parser::ReadLocalized(const Locator& where)
{
    Cursor c = At(where);
    const quint16 count = c.U16("the localized info list");
    if (!c.CountFits(count, 14, "localized info"))
        return;
    QList<AcsLocalizedInfo>& list = m_character.Info().localized;
    list.reserve(count);
    for (quint16 i = 0; i < count && c.Ok(); ++i) {
        AcsLocalizedInfo info;
        info.languageId = c.U16("the localized info");
        info.name = c.String("a localized name");
        info.description = c.String("a localized description");
        info.extraData = c.String("localized extra data");
        list.append(std::move(info));
    }
}

void Parser::ReadAnimations(const Locator& where)
{
    Cursor c = At(where);
    const quint32 count = c.U32("the animation list");
    if (!c.CountFits(count, 12, "animation"))
        return;
    m_character.Animations().reserve(count);
    for (quint32 i = 0; i < count && c.Ok(); ++i) {
        const QString name = c.String("an animation name");
        const Locator record = ReadLocator(c, "the animation list");
        if (Check(record, "animation"))
            ReadAnimation(name, record);
    }
}

void Parser::ReadAnimation(const QString& name, const Locator& where)
{
    Cursor c = At(where);
    // Several list entries may name the same record: what is built from it counts every time.
    if (!Budget(qint64(where.length) * AcsFileFormat::kAnimationMemoryFactor, c))
        return;
    AcsAnimation animation;
    const QString storedName = c.String("an animation name");
    animation.name = name.isEmpty() ? storedName : name;
    const quint8 transition = c.U8("an animation");
    animation.transition = transition <= 2 ? AcsTransition(transition) : AcsTransition::None;
    animation.returnAnimation = c.String("a return animation name");
    const quint16 frames = c.U16("an animation");
    if (!c.CountFits(frames, AcsFileFormat::kMinFrameSize, "frame"))
        return;
    animation.frames.resize(frames);
    for (AcsFrame& frame : animation.frames) {
        ReadFrame(c, frame);
        if (!c.Ok())
            return;
    }
    m_character.Animations().append(std::move(animation));
}

void Parser::ReadFrame(Cursor& c, AcsFrame& frame)
{
    const quint16 images = c.U16("a frame");
    if (!c.CountFits(images, 8, "frame image"))
        return;
    frame.images.reserve(images);
    for (quint16 i = 0; i < images; ++i) {
        AcsFrameImage image;
        image.imageIndex = c.U32("a frame image");
        image.x = c.S16("a frame image");
        image.y = c.S16("a frame image");
        frame.images.append(image);
    }
    frame.soundIndex = c.S16("a frame");
    frame.duration = c.U16("a frame");
    frame.exitBranch = c.S16("a frame");
    const quint8 branches = c.U8("a frame");
    if (!c.CountFits(branches, 4, "branch"))
        return;
    frame.branches.reserve(branches);
    for (quint8 i = 0; i < branches; ++i) {
        AcsBranch branch;
        branch.targetFrame = c.U16("a branch");
        branch.probability = c.U16("a branch");
        frame.branches.append(branch);
    }
    const quint8 overlays = c.U8("a frame");
    if (!c.CountFits(overlays, 14, "mouth overlay"))
        return;
    frame.overlays.reserve(overlays);
    for (quint8 i = 0; i < overlays && c.Ok(); ++i) {
        AcsOverlay overlay;
        overlay.mouth = AcsMouthShape(c.U8("a mouth overlay"));
        overlay.replaceTopImage = c.U8("a mouth overlay") != 0;
        overlay.imageIndex = c.U16("a mouth overlay");
        overlay.unknown = c.U8("a mouth overlay");
        const bool hasRegion = c.U8("a mouth overlay") != 0;
        overlay.x = c.S16("a mouth overlay");
        overlay.y = c.S16("a mouth overlay");
        overlay.centerX = c.U16("a mouth overlay");
        overlay.centerY = c.U16("a mouth overlay");
        if (hasRegion)
            overlay.region = c.Bytes(c.U32("a mouth overlay region"), "a mouth overlay region").toByteArray();
        frame.overlays.append(std::move(overlay));
    }
}

void Parser::ReadImages(const Locator& where)
{
    Cursor c = At(where);
    const quint32 count = c.U32("the image list");
    if (!c.CountFits(count, 12, "image"))
        return;
    m_character.Images().reserve(count);
    for (quint32 i = 0; i < count && m_state.Ok(); ++i) {
        const Locator record = ReadLocator(c, "the image list");
        c.U32("the image list"); // checksum, of unknown algorithm
        if (Check(record, "image"))
            m_character.Images().append(ReadImage(record));
    }
}

bool Parser::Budget(qint64 bytes, Cursor& c)
{
    m_decoded += bytes;
    if (m_decoded > m_limits.maxDecodedBytes) {
        m_state.Fail(AcsReadError::LimitExceeded,
                     u"it would need more than %1 MB of memory"_s.arg(m_limits.maxDecodedBytes >> 20), c.Position());
        return false;
    }
    return true;
}

AcsImage Parser::ReadImage(const Locator& where)
{
    // Some editors leave unused image slots shorter than a header: such an image is empty.
    if (where.length < AcsFileFormat::kImageHeaderSize)
        return {};
    Cursor c = At(where);
    c.U8("an image"); // always 1 in practice; meaning unknown
    const quint16 width = c.U16("an image");
    const quint16 height = c.U16("an image");
    const bool compressed = c.U8("an image") != 0;
    const quint32 dataSize = c.U32("an image");
    const QByteArrayView data = c.Bytes(dataSize, "the image's pixel data");
    if (!c.Ok())
        return {};
    const qint64 expected = qint64(AcsImage::StrideFor(width)) * height;
    const qint64 dataStart = c.Position() - dataSize;
    if (compressed ? expected > AcsCompression::MaxExpandedSize(dataSize) : expected > dataSize) {
        m_state.Fail(AcsReadError::Damaged,
                     u"an image of %1 × %2 pixels cannot fit in %3 bytes"_s.arg(width).arg(height).arg(dataSize),
                     dataStart);
        return {};
    }
    if (width > m_limits.maxImageSide || height > m_limits.maxImageSide) {
        m_state.Fail(AcsReadError::LimitExceeded,
                     u"an image is %1 × %2 pixels; at most %3 pixels a side are accepted"_s.arg(width).arg(height).arg(
                         m_limits.maxImageSide),
                     c.Position());
        return {};
    }
    if (!Budget(expected, c))
        return {};

    AcsImage image;
    if (compressed) {
        // Expanded once to prove the data sound, then kept as stored: the character's pictures
        // take a fraction of the memory, and each is expanded again when it is drawn.
        QString why;
        if (!AcsCompression::Decompress(data, expected, &why)) {
            m_state.Fail(AcsReadError::Damaged, u"the pixels of an image cannot be decompressed: "_s + why, dataStart);
            return {};
        }
        image.ResetCompressed(width, height, data.toByteArray());
    } else {
        image.Reset(width, height, data.first(expected).toByteArray());
    }
    // Older writers end the record after the pixels: no region then.
    if (c.Remaining() > 0)
        image.SetRegion(ReadRegion(c));
    return image;
}

std::optional<AcsRegion> Parser::ReadRegion(Cursor& c)
{
    const quint32 compressedSize = c.U32("an image region");
    const quint32 size = c.U32("an image region");
    if (!c.Ok() || (compressedSize == 0 && size == 0))
        return std::nullopt;
    if (compressedSize != 0 ? size > AcsCompression::MaxExpandedSize(compressedSize) : size > c.Remaining()) {
        c.Fail(u"an image region of %1 bytes cannot fit in its record"_s.arg(size));
        return std::nullopt;
    }
    if (!Budget(size, c))
        return std::nullopt;
    QByteArray bytes;
    if (compressedSize != 0) {
        const QByteArrayView block = c.Bytes(compressedSize, "an image region");
        if (!c.Ok())
            return std::nullopt;
        QString why;
        std::optional<QByteArray> decoded = AcsCompression::Decompress(block, size, &why);
        if (!decoded) {
            m_state.Fail(AcsReadError::Damaged, u"the region of an image cannot be decompressed: "_s + why,
                         c.Position() - compressedSize);
            return std::nullopt;
        }
        bytes = std::move(*decoded);
    } else {
        bytes = c.Bytes(size, "an image region").toByteArray();
    }

    // A Windows RGNDATA: 32-byte header, then the rectangles.
    ParseState local;
    Cursor r(reinterpret_cast<const uchar*>(bytes.constData()), 0, bytes.size(), local);
    const quint32 headerSize = r.U32("the region header");
    r.U32("the region header"); // type: rectangles
    const quint32 count = r.U32("the region header");
    r.U32("the region header"); // buffer size: not reliable
    AcsRegion region;
    region.bounds = r.Rect("the region header");
    if (local.Ok() && (headerSize < 32 || headerSize > quint32(bytes.size())))
        r.Fail(u"header size %1"_s.arg(headerSize));
    else
        r.Skip(qint64(headerSize) - 32, "the region header");
    if (r.CountFits(count, 16, "region rectangle")) {
        region.rects.reserve(count);
        for (quint32 i = 0; i < count; ++i)
            region.rects.append(r.Rect("a region rectangle"));
    }
    if (!local.Ok()) {
        m_state.Fail(AcsReadError::Damaged, u"the region of an image is damaged ("_s + local.detail + u")"_s,
                     c.Position());
        return std::nullopt;
    }
    return region;
}

void Parser::ReadSounds(const Locator& where)
{
    Cursor c = At(where);
    const quint32 count = c.U32("the sound list");
    if (!c.CountFits(count, 12, "sound"))
        return;
    m_character.Sounds().reserve(count);
    for (quint32 i = 0; i < count && m_state.Ok(); ++i) {
        const Locator record = ReadLocator(c, "the sound list");
        c.U32("the sound list"); // checksum
        if (!Check(record, "sound") || !Budget(record.length, c))
            return;
        const auto* bytes = reinterpret_cast<const char*>(m_data + record.offset);
        m_character.Sounds().append(AcsSound{QByteArray(bytes, record.length)});
    }
}

void Parser::Mend()
{
    // Animations are found by name: one without a name, or a second one of the same name, can
    // never play.
    QSet<QString> names;
    m_character.Animations().removeIf([&](const AcsAnimation& animation) {
        const QString key = animation.name.toUpper();
        if (key.isEmpty() || names.contains(key))
            return true;
        names.insert(key);
        return false;
    });
    m_character.Info().states.removeIf([](const AcsState& state) { return state.name.isEmpty(); });

    // Frames name sounds by a 16-bit signed index.
    if (m_character.Sounds().size() > 32767)
        m_character.Sounds().resize(32767);

    const qsizetype imageCount = m_character.Images().size();
    const qsizetype soundCount = m_character.Sounds().size();
    for (AcsAnimation& animation : m_character.Animations()) {
        const qsizetype frameCount = animation.frames.size();
        if (!animation.returnAnimation.isEmpty()) {
            if (const AcsAnimation* target = m_character.FindAnimation(animation.returnAnimation))
                animation.returnAnimation = target->name;
            else
                animation.returnAnimation.clear();
        }
        for (AcsFrame& frame : animation.frames) {
            frame.images.removeIf([&](const AcsFrameImage& i) { return i.imageIndex >= quint32(imageCount); });
            frame.overlays.removeIf([&](const AcsOverlay& o) { return o.imageIndex >= imageCount; });
            frame.branches.removeIf([&](const AcsBranch& b) { return b.targetFrame >= frameCount; });
            // Branches are drawn from 0-99: past 100 % in total they can never be taken.
            int total = 0;
            for (qsizetype i = 0; i < frame.branches.size(); ++i) {
                if (total >= 100) {
                    frame.branches.resize(i);
                    break;
                }
                AcsBranch& branch = frame.branches[i];
                branch.probability = quint16(std::min<int>(branch.probability, 100 - total));
                total += branch.probability;
            }
            if (frame.soundIndex < -1 || frame.soundIndex >= soundCount)
                frame.soundIndex = -1;
            if (frame.exitBranch < AcsExit::End || frame.exitBranch >= frameCount)
                frame.exitBranch = AcsExit::End;
        }
    }
}

} // namespace

AcsReader::AcsReader(AcsReadLimits limits)
    : m_limits(limits)
{}

std::optional<AcsCharacter> AcsReader::Fail(AcsReadError error, const QString& text)
{
    m_error = error;
    m_errorText = text;
    return std::nullopt;
}

std::optional<AcsCharacter> AcsReader::ReadFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Fail(AcsReadError::CannotOpen, u"The character file %1 does not exist."_s.arg(path));
    if (!info.isFile())
        return Fail(AcsReadError::CannotOpen, u"%1 is not a character file but a folder or device."_s.arg(path));
    if (info.size() > m_limits.maxFileSize)
        return Fail(AcsReadError::TooLarge,
                    u"The character file %1 is too large (%2 MB; at most %3 MB are read)."_s.arg(path)
                        .arg(info.size() >> 20)
                        .arg(m_limits.maxFileSize >> 20));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(AcsReadError::CannotOpen,
                    u"The character file %1 cannot be opened: %2."_s.arg(path, file.errorString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(AcsReadError::CannotOpen,
                    u"The character file %1 cannot be read: %2."_s.arg(path, file.errorString()));
    std::optional<AcsCharacter> character = Read(data);
    if (!character)
        m_errorText = u"The character file %1 cannot be used. %2"_s.arg(path, m_errorText);
    return character;
}

std::optional<AcsCharacter> AcsReader::Read(QByteArrayView data)
{
    m_error = AcsReadError::None;
    m_errorText.clear();
    if (data.size() > m_limits.maxFileSize)
        return Fail(AcsReadError::TooLarge,
                    u"The character is too large (%1 MB; at most %2 MB are read)."_s.arg(data.size() >> 20)
                        .arg(m_limits.maxFileSize >> 20));
    if (data.startsWith(AcsFileFormat::kOldSignature))
        return Fail(AcsReadError::OldFormat,
                    u"It is a character of the older 1.5 format, which cannot be read; a 2.0 character is needed."_s);
    if (data.size() >= 4 && AcsFileFormat::ReadU32(data, 0) == AcsFileFormat::kWebSignature)
        return Fail(AcsReadError::WebFormat,
                    u"It is a web character (.acf) that needs its separate animation files; a complete .acs "
                    u"character is needed."_s);
    if (data.size() < 4 || AcsFileFormat::ReadU32(data, 0) != AcsFileFormat::kSignature)
        return Fail(AcsReadError::NotCharacterFile, u"It is not a character file."_s);

    Parser parser(data, m_limits);
    std::optional<AcsCharacter> character = parser.Run();
    if (!character) {
        const ParseState& state = parser.State();
        if (state.error == AcsReadError::LimitExceeded)
            return Fail(state.error, u"The character is too big to load: "_s + state.detail + u"."_s);
        return Fail(state.error,
                    u"The character file is damaged: %1 (at byte %2)."_s.arg(state.detail).arg(state.offset));
    }
    return character;
}
