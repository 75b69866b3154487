#include "agent/AcsWriter.h"

#include "agent/AcsCompression.h"
#include "agent/AcsFileFormat.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

struct Locator
{
    qint64 offset = 0;
    qint64 length = 0;
};

// Appends little-endian fields.
class ByteWriter
{
public:
    QByteArray& Bytes() { return m_out; }
    qint64 Size() const { return m_out.size(); }

    void U8(quint8 v) { m_out.append(char(v)); }
    void U16(quint16 v)
    {
        U8(quint8(v));
        U8(quint8(v >> 8));
    }
    void S16(qint16 v) { U16(quint16(v)); }
    void U32(quint32 v)
    {
        U16(quint16(v));
        U16(quint16(v >> 16));
    }
    void S32(qint32 v) { U32(quint32(v)); }
    void Raw(QByteArrayView bytes) { m_out.append(bytes); }
    void Block(QByteArrayView bytes)
    {
        U32(quint32(bytes.size()));
        Raw(bytes);
    }
    void String(const QString& text)
    {
        U32(quint32(text.size()));
        if (text.isEmpty())
            return;
        for (QChar ch : text)
            U16(ch.unicode());
        U16(0);
    }
    void Guid(const QUuid& id)
    {
        U32(id.data1);
        U16(id.data2);
        U16(id.data3);
        for (uchar b : id.data4)
            U8(b);
    }
    void Bgr(const AcsColor& c)
    {
        U8(c.blue);
        U8(c.green);
        U8(c.red);
        U8(0);
    }
    void Rgb(const AcsColor& c)
    {
        U8(c.red);
        U8(c.green);
        U8(c.blue);
        U8(0);
    }
    void Rect(const AcsRect& r)
    {
        S32(r.left);
        S32(r.top);
        S32(r.right);
        S32(r.bottom);
    }
    void Locate(const Locator& l)
    {
        U32(quint32(l.offset));
        U32(quint32(l.length));
    }
    void PatchLocator(qint64 at, const Locator& l)
    {
        for (int i = 0; i < 4; ++i) {
            m_out[at + i] = char((quint64(l.offset) >> (8 * i)) & 0xFF);
            m_out[at + 4 + i] = char((quint64(l.length) >> (8 * i)) & 0xFF);
        }
    }

private:
    QByteArray m_out;
};

QByteArray RegionBytes(const AcsRegion& region)
{
    ByteWriter w;
    w.U32(AcsFileFormat::kRegionHeaderSize);
    w.U32(1); // rectangles
    w.U32(quint32(region.rects.size()));
    w.U32(quint32(region.rects.size() * 16));
    w.Rect(region.bounds);
    for (const AcsRect& r : region.rects)
        w.Rect(r);
    return std::move(w.Bytes());
}

void WriteFrame(ByteWriter& w, const AcsFrame& frame)
{
    w.U16(quint16(frame.images.size()));
    for (const AcsFrameImage& image : frame.images) {
        w.U32(image.imageIndex);
        w.S16(image.x);
        w.S16(image.y);
    }
    w.S16(frame.soundIndex);
    w.U16(frame.duration);
    w.S16(frame.exitBranch);
    w.U8(quint8(frame.branches.size()));
    for (const AcsBranch& branch : frame.branches) {
        w.U16(branch.targetFrame);
        w.U16(branch.probability);
    }
    w.U8(quint8(frame.overlays.size()));
    for (const AcsOverlay& overlay : frame.overlays) {
        w.U8(quint8(overlay.mouth));
        w.U8(overlay.replaceTopImage ? 1 : 0);
        w.U16(overlay.imageIndex);
        w.U8(overlay.unknown);
        w.U8(overlay.region ? 1 : 0);
        w.S16(overlay.x);
        w.S16(overlay.y);
        w.U16(overlay.centerX);
        w.U16(overlay.centerY);
        if (overlay.region)
            w.Block(*overlay.region);
    }
}

void WriteAnimation(ByteWriter& w, const AcsAnimation& animation)
{
    w.String(animation.name.toUpper());
    w.U8(quint8(animation.transition));
    w.String(animation.returnAnimation.toUpper());
    w.U16(quint16(animation.frames.size()));
    for (const AcsFrame& frame : animation.frames)
        WriteFrame(w, frame);
}

} // namespace

AcsWriter::AcsWriter(AcsWriteOptions options)
    : m_options(options)
{}

quint32 AcsWriter::StyleFlagsFor(const AcsCharacterInfo& info)
{
    quint32 flags = info.styleFlags & ~(AcsStyle::VoiceDisabled | AcsStyle::VoiceEnabled | AcsStyle::BalloonDisabled |
                                        AcsStyle::BalloonEnabled);
    flags |= info.voice ? AcsStyle::VoiceEnabled : AcsStyle::VoiceDisabled;
    flags |= info.balloon ? AcsStyle::BalloonEnabled : AcsStyle::BalloonDisabled;
    return flags;
}

std::optional<QByteArray> AcsWriter::Write(const AcsCharacter& character)
{
    m_errorText = character.Validate();
    if (!m_errorText.isEmpty())
        return std::nullopt;

    const AcsCharacterInfo& info = character.Info();
    ByteWriter w;
    w.Raw(QByteArray(AcsFileFormat::kHeaderSize, 0));

    QList<Locator> animations;
    for (const AcsAnimation& animation : character.Animations()) {
        const qint64 start = w.Size();
        WriteAnimation(w, animation);
        animations.append({start, w.Size() - start});
    }

    QList<Locator> images;
    for (const AcsImage& image : character.Images()) {
        const qint64 start = w.Size();
        w.U8(1);
        w.U16(image.Width());
        w.U16(image.Height());
        w.U8(m_options.compressImages ? 1 : 0);
        w.Block(m_options.compressImages ? AcsCompression::Compress(image.Pixels()) : image.Pixels());
        std::optional<AcsRegion> region = image.Region();
        if (!region && m_options.addRegions)
            region = image.ComputeRegion(info.transparentIndex);
        if (!region) {
            w.U32(0);
            w.U32(0);
        } else {
            const QByteArray bytes = RegionBytes(*region);
            if (m_options.compressRegions) {
                const QByteArray packed = AcsCompression::Compress(bytes);
                w.U32(quint32(packed.size()));
                w.U32(quint32(bytes.size()));
                w.Raw(packed);
            } else {
                w.U32(0);
                w.U32(quint32(bytes.size()));
                w.Raw(bytes);
            }
        }
        images.append({start, w.Size() - start});
    }

    QList<Locator> sounds;
    for (const AcsSound& sound : character.Sounds()) {
        sounds.append({w.Size(), sound.wave.size()});
        w.Raw(sound.wave);
    }

    const qint64 animationListStart = w.Size();
    w.U32(quint32(animations.size()));
    for (qsizetype i = 0; i < animations.size(); ++i) {
        w.String(character.Animations()[i].name);
        w.Locate(animations[i]);
    }
    const Locator animationList{animationListStart, w.Size() - animationListStart};

    const auto writeList = [&](const QList<Locator>& entries) {
        const qint64 start = w.Size();
        w.U32(quint32(entries.size()));
        for (const Locator& entry : entries) {
            w.Locate(entry);
            w.U32(0); // checksum
        }
        return Locator{start, w.Size() - start};
    };
    const Locator imageList = writeList(images);
    const Locator soundList = writeList(sounds);

    const qint64 infoStart = w.Size();
    w.U16(info.minorVersion);
    w.U16(info.majorVersion);
    const qint64 localizedLocatorAt = w.Size();
    w.Locate({});
    w.Guid(info.guid);
    w.U16(info.width);
    w.U16(info.height);
    w.U8(info.transparentIndex);
    w.U32(StyleFlagsFor(info));
    w.U16(info.animationSetMajor);
    w.U16(info.animationSetMinor);
    if (info.voice) {
        const AcsVoiceInfo& voice = *info.voice;
        w.Guid(voice.engineId);
        w.Guid(voice.modeId);
        w.U32(voice.speed);
        w.U16(voice.pitch);
        w.U8(voice.hasExtra ? 1 : 0);
        if (voice.hasExtra) {
            w.U16(voice.languageId);
            w.String(voice.dialect);
            w.U16(voice.gender);
            w.U16(voice.age);
            w.String(voice.style);
        }
    }
    if (info.balloon) {
        const AcsBalloonInfo& balloon = *info.balloon;
        w.U8(balloon.lines);
        w.U8(balloon.charactersPerLine);
        w.Rgb(balloon.textColor);
        w.Rgb(balloon.backgroundColor);
        w.Rgb(balloon.borderColor);
        w.String(balloon.fontName);
        w.S32(balloon.fontHeight);
        w.S32(balloon.fontWeight);
        w.U8(balloon.italic ? 1 : 0);
        w.U8(balloon.fontFlags);
    }
    w.U32(quint32(info.palette.size()));
    for (const AcsColor& colour : info.palette)
        w.Bgr(colour);
    if (info.trayIcon) {
        w.U8(1);
        w.Block(info.trayIcon->maskBitmap);
        w.Block(info.trayIcon->colorBitmap);
    } else {
        w.U8(0);
    }
    w.U16(quint16(info.states.size()));
    for (const AcsState& state : info.states) {
        w.String(state.name.toUpper());
        w.U16(quint16(state.animations.size()));
        for (const QString& name : state.animations)
            w.String(name.toUpper());
    }
    const qint64 localizedStart = w.Size();
    w.U16(quint16(info.localized.size()));
    for (const AcsLocalizedInfo& localized : info.localized) {
        w.U16(localized.languageId);
        w.String(localized.name);
        w.String(localized.description);
        w.String(localized.extraData);
    }
    w.PatchLocator(localizedLocatorAt, {localizedStart, w.Size() - localizedStart});
    const Locator characterInfo{infoStart, w.Size() - infoStart};

    if (w.Size() > qint64(0xFFFFFFFF)) {
        m_errorText = u"The character would need a file larger than 4 GB."_s;
        return std::nullopt;
    }

    ByteWriter h;
    h.U32(AcsFileFormat::kSignature);
    h.Locate(characterInfo);
    h.Locate(animationList);
    h.Locate(imageList);
    h.Locate(soundList);
    w.Bytes().replace(0, AcsFileFormat::kHeaderSize, h.Bytes());
    return std::move(w.Bytes());
}

bool AcsWriter::WriteFile(const AcsCharacter& character, const QString& path)
{
    std::optional<QByteArray> bytes = Write(character);
    if (!bytes)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_errorText = u"%1 cannot be written: %2."_s.arg(path, file.errorString());
        return false;
    }
    if (file.write(*bytes) != bytes->size() || !file.commit()) {
        m_errorText = u"%1 cannot be written: %2."_s.arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}
