// Writing characters and reading them back; hostile files refused cleanly.

#include "AcsSamples.h"

#include "agent/AcsCompression.h"
#include "agent/AcsReader.h"
#include "agent/AcsWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

quint32 U32At(const QByteArray& bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

void PutU32(QByteArray& bytes, qint64 at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void PutU16(QByteArray& bytes, qint64 at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

// Where the header's locators sit.
enum HeaderBlock
{
    CharacterInfo = 4,
    AnimationList = 12,
    ImageList = 20,
    SoundList = 28,
};

quint32 BlockOffset(const QByteArray& bytes, HeaderBlock block)
{
    return U32At(bytes, block);
}

// The offset of a STRING's end.
qint64 SkipString(const QByteArray& bytes, qint64 at)
{
    const quint32 n = U32At(bytes, at);
    return at + 4 + (n ? 2 * qint64(n) + 2 : 0);
}

// The locator of the index-th animation record, and of the index-th image record.
qint64 AnimationLocatorAt(const QByteArray& bytes, int index)
{
    qint64 at = BlockOffset(bytes, AnimationList) + 4;
    for (int i = 0; i < index; ++i)
        at = SkipString(bytes, at) + 8;
    return SkipString(bytes, at);
}

qint64 AnimationRecord(const QByteArray& bytes, int index)
{
    return U32At(bytes, AnimationLocatorAt(bytes, index));
}

qint64 ImageRecord(const QByteArray& bytes, int index)
{
    return U32At(bytes, BlockOffset(bytes, ImageList) + 4 + 12 * index);
}

// The first frame of an animation record.
qint64 FirstFrame(const QByteArray& bytes, int animation)
{
    qint64 at = SkipString(bytes, AnimationRecord(bytes, animation)); // upper-case name
    at += 1;                                                          // transition
    at = SkipString(bytes, at);                                       // return animation
    return at + 2;                                                    // frame count
}

// Blocks inside the small sample's character info: the balloon info, the palette, the tray icon and
// the state list.
qint64 BalloonAt(const QByteArray& bytes)
{
    // Fixed part (41), voice info (39) and its tail: language, empty dialect, gender, age, "Business".
    return BlockOffset(bytes, CharacterInfo) + 41 + 39 + 2 + 4 + 2 + 2 + (4 + 2 * 8 + 2);
}

qint64 PaletteAt(const QByteArray& bytes)
{
    return SkipString(bytes, BalloonAt(bytes) + 14) + 10;
}

qint64 TrayIconAt(const QByteArray& bytes)
{
    return PaletteAt(bytes) + 4 + 4 * U32At(bytes, PaletteAt(bytes));
}

qint64 StatesAt(const QByteArray& bytes)
{
    const qint64 mask = TrayIconAt(bytes) + 1;
    const qint64 colour = mask + 4 + U32At(bytes, mask);
    return colour + 4 + U32At(bytes, colour);
}

// The small sample with every region filled in as the writer computes it.
AcsCharacter SmallWithRegions()
{
    AcsCharacter c = AcsSamples::Small();
    for (AcsImage& image : c.Images())
        image.SetRegion(image.ComputeRegion(c.Info().transparentIndex));
    return c;
}

QByteArray WrittenSmall(AcsWriteOptions options = {})
{
    const std::optional<QByteArray> bytes = AcsWriter(options).Write(AcsSamples::Small());
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(QByteArray());
}

} // namespace

TEST(AcsReaderWriter, RoundTripsCompressedImagesAndRegions)
{
    const QByteArray bytes = WrittenSmall();
    AcsReader reader;
    const std::optional<AcsCharacter> read = reader.Read(bytes);
    ASSERT_TRUE(read.has_value()) << reader.ErrorText().toStdString();
    EXPECT_EQ(reader.Error(), AcsReadError::None);
    EXPECT_TRUE(reader.ErrorText().isEmpty());

    const AcsCharacter expected = SmallWithRegions();
    // Compare part by part first, for readable failures.
    EXPECT_EQ(read->Info(), expected.Info());
    EXPECT_EQ(read->Sounds(), expected.Sounds());
    ASSERT_EQ(read->Images().size(), expected.Images().size());
    for (qsizetype i = 0; i < expected.Images().size(); ++i)
        EXPECT_EQ(read->Images()[i], expected.Images()[i]) << "image " << i;
    ASSERT_EQ(read->Animations().size(), expected.Animations().size());
    for (qsizetype i = 0; i < expected.Animations().size(); ++i)
        EXPECT_EQ(read->Animations()[i], expected.Animations()[i]) << expected.Animations()[i].name.toStdString();
    EXPECT_EQ(*read, expected);

    // The pictures stay compressed in memory; a change expands one for good, keeping its pixels.
    AcsImage image = read->Images()[0];
    EXPECT_TRUE(image.IsCompressed());
    image.SetPixel(1, 1, 77);
    EXPECT_FALSE(image.IsCompressed());
    AcsImage changed = expected.Images()[0];
    changed.SetPixel(1, 1, 77);
    EXPECT_EQ(image, changed);
    EXPECT_NE(image, expected.Images()[0]);
}

TEST(AcsReaderWriter, RoundTripsUncompressedImagesWithoutRegions)
{
    const QByteArray bytes = WrittenSmall({false, false, false});
    const std::optional<AcsCharacter> read = AcsReader().Read(bytes);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, AcsSamples::Small());
    for (const AcsImage& image : read->Images())
        EXPECT_FALSE(image.Region().has_value());
}

TEST(AcsReaderWriter, RoundTripsUncompressedRegionsAndKeepsGivenRegions)
{
    AcsCharacter c = AcsSamples::Small();
    // A region that differs from the pixels must be kept as given, not recomputed.
    c.Images()[0].SetRegion(AcsRegion{{1, 2, 3, 4}, {{1, 2, 3, 4}}});
    const std::optional<QByteArray> bytes = AcsWriter({true, false, true}).Write(c);
    ASSERT_TRUE(bytes.has_value());
    const std::optional<AcsCharacter> read = AcsReader().Read(*bytes);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Images()[0].Region(), c.Images()[0].Region());
    EXPECT_EQ(read->Images()[1].Region(), c.Images()[1].ComputeRegion(AcsSamples::kTransparent));
}

TEST(AcsReaderWriter, RewritingAReadCharacterGivesTheSameBytes)
{
    const QByteArray bytes = WrittenSmall();
    const std::optional<AcsCharacter> read = AcsReader().Read(bytes);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(AcsWriter().Write(*read), bytes);
}

TEST(AcsReaderWriter, WritesTheEditorsLayout)
{
    const QByteArray bytes = WrittenSmall();
    EXPECT_EQ(U32At(bytes, 0), 0xABCDABC3u);
    // Animation records first, right after the header; the character info last, to the end.
    EXPECT_EQ(AnimationRecord(bytes, 0), 36);
    EXPECT_EQ(BlockOffset(bytes, CharacterInfo) + U32At(bytes, CharacterInfo + 4), quint32(bytes.size()));
    EXPECT_LT(BlockOffset(bytes, AnimationList), BlockOffset(bytes, ImageList));
    EXPECT_LT(BlockOffset(bytes, ImageList), BlockOffset(bytes, SoundList));
    EXPECT_LT(BlockOffset(bytes, SoundList), BlockOffset(bytes, CharacterInfo));

    // Record names upper-case, list names as given: "Wave" / "WAVE" and "WAVERETURN".
    const qint64 listEntry = AnimationLocatorAt(bytes, 1) - 14;
    EXPECT_EQ(bytes.mid(listEntry + 4, 8), QByteArray("W\0a\0v\0e\0", 8));
    const qint64 record = AnimationRecord(bytes, 1);
    EXPECT_EQ(bytes.mid(record, 14), QByteArray("\x04\0\0\0W\0A\0V\0E\0\0\0", 14));
    EXPECT_EQ(bytes[record + 14], 0); // transition: return animation
    EXPECT_EQ(bytes.mid(record + 15, 4), QByteArray("\x0A\0\0\0", 4));
    EXPECT_EQ(bytes.mid(record + 19, 4), QByteArray("W\0A\0", 4));

    // Image records: marker 1, size, compressed, then a zero lead byte and the 0xFF trailer.
    const qint64 image = ImageRecord(bytes, 0);
    EXPECT_EQ(bytes[image], 1);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + image + 1), 30);
    EXPECT_EQ(bytes[image + 5], 1);
    const quint32 pixelBytes = U32At(bytes, image + 6);
    EXPECT_EQ(bytes[image + 10], 0);
    EXPECT_EQ(bytes.mid(image + 10 + pixelBytes - 6, 6), QByteArray(6, char(0xFF)));

    // Style flags: voice and balloon present. Palette entries blue, green, red, 0; balloon colours
    // red, green, blue, 0.
    const qint64 info = BlockOffset(bytes, CharacterInfo);
    EXPECT_EQ(U32At(bytes, info + 33), 0x00110220u);
    EXPECT_EQ(bytes.mid(BalloonAt(bytes), 6), QByteArray("\x03\x20\x01\x02\x03\x00", 6));
    const qint64 palette = PaletteAt(bytes);
    EXPECT_EQ(U32At(bytes, palette), 256u);
    EXPECT_EQ(bytes.mid(palette + 4 + 4 * 1, 4), QByteArray("\x25\xFE\x01\x00", 4)); // entry 1: r1 g254 b37
}

TEST(AcsReaderWriter, SetsTheVoiceAndBalloonFlagsFromTheInfo)
{
    AcsCharacterInfo info;
    info.styleFlags = AcsStyle::VoiceEnabled | AcsStyle::BalloonDisabled | AcsStyle::BalloonNoAutoPace;
    EXPECT_EQ(AcsWriter::StyleFlagsFor(info),
              AcsStyle::VoiceDisabled | AcsStyle::BalloonDisabled | AcsStyle::BalloonNoAutoPace);
    info.voice = AcsVoiceInfo{};
    info.balloon = AcsBalloonInfo{};
    EXPECT_EQ(AcsWriter::StyleFlagsFor(info),
              AcsStyle::VoiceEnabled | AcsStyle::BalloonEnabled | AcsStyle::BalloonNoAutoPace);

    // A character without voice, balloon, tray icon, sounds or languages reads back the same.
    AcsCharacter bare = AcsSamples::Small();
    bare.Info().voice.reset();
    bare.Info().balloon.reset();
    bare.Info().trayIcon.reset();
    bare.Info().localized.clear();
    bare.Info().styleFlags = AcsWriter::StyleFlagsFor(bare.Info());
    for (AcsAnimation& animation : bare.Animations())
        for (AcsFrame& frame : animation.frames)
            frame.soundIndex = -1;
    bare.Sounds().clear();
    const std::optional<QByteArray> bytes = AcsWriter({false, false, false}).Write(bare);
    ASSERT_TRUE(bytes.has_value());
    const std::optional<AcsCharacter> read = AcsReader().Read(*bytes);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, bare);
}

TEST(AcsReaderWriter, KeepsOverlayRegionsAndUnknownBytes)
{
    AcsCharacter c = AcsSamples::Small();
    AcsOverlay& overlay = c.Animations()[0].frames[0].overlays[2];
    overlay.region = QByteArray("region bytes");
    overlay.unknown = 7;
    c.Info().balloon->fontFlags = 1;
    const std::optional<QByteArray> bytes = AcsWriter({false, false, false}).Write(c);
    ASSERT_TRUE(bytes.has_value());
    const std::optional<AcsCharacter> read = AcsReader().Read(*bytes);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, c);
}

TEST(AcsReaderWriter, WriterRefusesAnInvalidCharacterAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Tester.acs"_s);
    AcsWriter writer;
    ASSERT_TRUE(writer.WriteFile(AcsSamples::Small(), path));
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    AcsCharacter broken = AcsSamples::Small();
    broken.Animations()[1].frames[0].images[0].imageIndex = 99;
    EXPECT_FALSE(writer.WriteFile(broken, path));
    EXPECT_TRUE(writer.ErrorText().contains(u"image 99"_s)) << writer.ErrorText().toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    EXPECT_FALSE(writer.WriteFile(AcsSamples::Small(), dir.filePath(u"missing/folder/x.acs"_s)));
    EXPECT_TRUE(writer.ErrorText().contains(u"cannot be written"_s));
}

TEST(AcsReaderWriter, ReadFileReportsFileProblems)
{
    QTemporaryDir dir;
    AcsReader reader;
    EXPECT_FALSE(reader.ReadFile(dir.filePath(u"none.acs"_s)));
    EXPECT_EQ(reader.Error(), AcsReadError::CannotOpen);
    EXPECT_TRUE(reader.ErrorText().contains(u"none.acs"_s));

    EXPECT_FALSE(reader.ReadFile(dir.path()));
    EXPECT_EQ(reader.Error(), AcsReadError::CannotOpen);

    const QString path = dir.filePath(u"Tester.acs"_s);
    ASSERT_TRUE(AcsWriter().WriteFile(AcsSamples::Small(), path));
    EXPECT_TRUE(reader.ReadFile(path).has_value());
    EXPECT_EQ(reader.Error(), AcsReadError::None);

    AcsReader strict(AcsReadLimits{1000});
    EXPECT_FALSE(strict.ReadFile(path));
    EXPECT_EQ(strict.Error(), AcsReadError::TooLarge);

    QFile text(dir.filePath(u"notes.acs"_s));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("These are not the frames you are looking for.");
    text.close();
    EXPECT_FALSE(reader.ReadFile(text.fileName()));
    EXPECT_EQ(reader.Error(), AcsReadError::NotCharacterFile);
    EXPECT_TRUE(reader.ErrorText().contains(u"notes.acs"_s));
    EXPECT_TRUE(reader.ErrorText().contains(u"not a character file"_s));
}

TEST(AcsReaderWriter, MendsSlipsThatDoNotStopPlaying)
{
    QByteArray bytes = WrittenSmall();
    const qint64 wave = FirstFrame(bytes, 1);
    PutU32(bytes, wave + 2, 99);           // image index
    PutU16(bytes, wave + 10, quint16(50)); // sound index
    PutU16(bytes, wave + 14, quint16(77)); // exit branch
    const qint64 idle = FirstFrame(bytes, 3) + 2 * 18;
    ASSERT_EQ(bytes[idle + 16], 1); // one branch
    PutU16(bytes, idle + 17, 9);    // to a frame that does not exist
    const qint64 returnName = AnimationRecord(bytes, 1) + 15 + 4;
    bytes.replace(returnName + 8, 12, QByteArray("X\0X\0X\0X\0X\0X\0", 12)); // WAVEXXXXXX
    PutU32(bytes, BlockOffset(bytes, ImageList) + 4 + 12 * 11 + 4, 1);       // image 11: a 1-byte slot
    // An unknown transition type.
    bytes[AnimationRecord(bytes, 2) + 4 + 20 + 2] = 9;

    AcsReader reader;
    const std::optional<AcsCharacter> read = reader.Read(bytes);
    ASSERT_TRUE(read.has_value()) << reader.ErrorText().toStdString();
    const AcsFrame& frame = read->Animations()[1].frames[0];
    EXPECT_TRUE(frame.images.isEmpty());
    EXPECT_EQ(frame.soundIndex, -1);
    EXPECT_EQ(frame.exitBranch, AcsExit::End);
    EXPECT_TRUE(read->Animations()[3].frames[2].branches.isEmpty());
    EXPECT_TRUE(read->Animations()[1].returnAnimation.isEmpty());
    EXPECT_TRUE(read->Images()[11].IsEmpty());
    EXPECT_EQ(read->Animations()[2].transition, AcsTransition::None);
    EXPECT_EQ(read->Animations()[2].name, u"WaveReturn"_s);
    // What was not touched is intact.
    EXPECT_EQ(read->Animations()[1].frames[2], AcsSamples::Small().Animations()[1].frames[2]);
    EXPECT_EQ(read->Validate(), QString());
}

TEST(AcsReaderWriter, LeavesOutWhatCanNeverPlay)
{
    QByteArray bytes = WrittenSmall();
    // "Hide" (animation 5) renamed "show" in the list: a second "Show" that no name can reach.
    const qint64 hideName = AnimationLocatorAt(bytes, 5) - 10;
    bytes.replace(hideName, 8, QByteArray("s\0h\0o\0w\0", 8));
    // Idle1_1 frame 2: one branch of 150 %.
    const qint64 idle = FirstFrame(bytes, 3) + 2 * 18;
    PutU16(bytes, idle + 19, 150);

    const std::optional<AcsCharacter> read = AcsReader().Read(bytes);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->AnimationNames(),
              (QStringList{u"RestPose"_s, u"Wave"_s, u"WaveReturn"_s, u"Idle1_1"_s, u"Show"_s, u"Speak"_s}));
    EXPECT_EQ(read->Animations()[3].frames[2].branches, (QList<AcsBranch>{{1, 100}}));
    EXPECT_TRUE(read->StateAnimations(u"Hiding"_s).isEmpty());
    EXPECT_EQ(read->Validate(), QString());
}

// ---------------------------------------------------------------------------------------------
// Hostile and damaged files.

namespace {

struct HostileFile
{
    const char* name;
    std::function<void(QByteArray&)> spoil;
    AcsReadError expected;
    const char* detail; // a part of the error text
};

class AcsReaderHostile : public ::testing::TestWithParam<HostileFile>
{};

// A record's locator in a 12-byte list entry (image and sound lists).
qint64 ListEntry(const QByteArray& bytes, HeaderBlock list, int index)
{
    return BlockOffset(bytes, list) + 4 + 12 * index;
}

// An image record replaced by one declaring `width` × `height` with the given pixel block (the
// new record goes at the end of the file).
void ReplaceImage(QByteArray& bytes, int index, quint16 width, quint16 height, bool compressed,
                  const QByteArray& pixels)
{
    QByteArray record(10, 0);
    record[0] = 1;
    PutU16(record, 1, width);
    PutU16(record, 3, height);
    record[5] = compressed ? 1 : 0;
    PutU32(record, 6, quint32(pixels.size()));
    record += pixels + QByteArray(8, 0);
    const qint64 at = ListEntry(bytes, ImageList, index);
    PutU32(bytes, at, quint32(bytes.size()));
    PutU32(bytes, at + 4, quint32(record.size()));
    bytes += record;
}

} // namespace

TEST_P(AcsReaderHostile, IsRefusedCleanly)
{
    QByteArray bytes = WrittenSmall();
    GetParam().spoil(bytes);
    AcsReader reader(AcsReadLimits{qint64(64) << 20, qint64(8) << 20, 2048});
    EXPECT_FALSE(reader.Read(bytes).has_value());
    EXPECT_EQ(reader.Error(), GetParam().expected);
    EXPECT_TRUE(reader.ErrorText().contains(QString::fromUtf8(GetParam().detail))) << reader.ErrorText().toStdString();
}

const HostileFile kHostileFiles[] = {
    HostileFile{"Empty", [](QByteArray& b) { b.clear(); }, AcsReadError::NotCharacterFile, "not a character"},
    HostileFile{"Signature", [](QByteArray& b) { b[0] = 'X'; }, AcsReadError::NotCharacterFile, "not a character"},
    HostileFile{"OldFormat", [](QByteArray& b) { b = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + b.mid(8); },
                AcsReadError::OldFormat, "1.5"},
    HostileFile{"WebFormat", [](QByteArray& b) { b[0] = char(0xC4); }, AcsReadError::WebFormat, ".acf"},
    HostileFile{"ShortHeader", [](QByteArray& b) { b.truncate(20); }, AcsReadError::Damaged, "file header"},
    HostileFile{"Truncated", [](QByteArray& b) { b.truncate(b.size() / 2); }, AcsReadError::Damaged,
                "outside the file"},
    HostileFile{"LocatorPastEnd", [](QByteArray& b) { PutU32(b, ImageList, quint32(b.size())); }, AcsReadError::Damaged,
                "image list"},
    HostileFile{"FourGigabyteLength", [](QByteArray& b) { PutU32(b, CharacterInfo + 4, 0xFFFFFFFF); },
                AcsReadError::Damaged, "4294967295 bytes"},
    HostileFile{"OffsetWraps",
                [](QByteArray& b) {
                    PutU32(b, SoundList, 0xFFFFFFF0);
                    PutU32(b, SoundList + 4, 0x20);
                },
                AcsReadError::Damaged, "sound list"},
    HostileFile{"AnimationCount", [](QByteArray& b) { PutU32(b, BlockOffset(b, AnimationList), 0xFFFFFFFF); },
                AcsReadError::Damaged, "animation count (4294967295)"},
    HostileFile{"ImageCount", [](QByteArray& b) { PutU32(b, BlockOffset(b, ImageList), 0x10000000); },
                AcsReadError::Damaged, "image count"},
    HostileFile{"SoundCount", [](QByteArray& b) { PutU32(b, BlockOffset(b, SoundList), 3); }, AcsReadError::Damaged,
                "sound count"},
    HostileFile{"FrameCount", [](QByteArray& b) { PutU16(b, FirstFrame(b, 1) - 2, 0xFFFF); }, AcsReadError::Damaged,
                "frame count (65535)"},
    HostileFile{"FrameImageCount", [](QByteArray& b) { PutU16(b, FirstFrame(b, 1), 0x4000); }, AcsReadError::Damaged,
                "frame image count"},
    HostileFile{"HugeString", [](QByteArray& b) { PutU32(b, BlockOffset(b, AnimationList) + 4, 0x7FFFFFFF); },
                AcsReadError::Damaged, "animation name"},
    HostileFile{"AnimationLocator", [](QByteArray& b) { PutU32(b, AnimationLocatorAt(b, 2) + 4, quint32(b.size())); },
                AcsReadError::Damaged, "animation ("},
    HostileFile{"AnimationRecordTooShort", [](QByteArray& b) { PutU32(b, AnimationLocatorAt(b, 2) + 4, 12); },
                AcsReadError::Damaged, "runs past the end"},
    HostileFile{"PaletteCount", [](QByteArray& b) { PutU32(b, PaletteAt(b), 300); }, AcsReadError::Damaged,
                "300 colours"},
    HostileFile{"PaletteCountPastBlock",
                [](QByteArray& b) {
                    // The character info block made to end inside the palette.
                    PutU32(b, CharacterInfo + 4, quint32(PaletteAt(b) + 100 - BlockOffset(b, CharacterInfo)));
                },
                AcsReadError::Damaged, "palette count (256)"},
    HostileFile{"LocalizedLocator",
                [](QByteArray& b) { PutU32(b, BlockOffset(b, CharacterInfo) + 4, quint32(b.size()) - 2); },
                AcsReadError::Damaged, "localized info list"},
    HostileFile{"LocalizedCount",
                [](QByteArray& b) {
                    const qint64 at = U32At(b, BlockOffset(b, CharacterInfo) + 4);
                    PutU16(b, at, 0xFFFF);
                },
                AcsReadError::Damaged, "localized info count"},
    HostileFile{"CompressedPixels", [](QByteArray& b) { b[ImageRecord(b, 0) + 10] = 5; }, AcsReadError::Damaged,
                "pixels of an image cannot be decompressed"},
    HostileFile{"CompressedPixelsCorrupt",
                [](QByteArray& b) {
                    const qint64 data = ImageRecord(b, 1) + 10;
                    for (int i = 1; i < 12; ++i)
                        b[data + i] = char(0xFF);
                },
                AcsReadError::Damaged, "cannot be decompressed"},
    HostileFile{"ImageTooBigForItsData",
                [](QByteArray& b) { ReplaceImage(b, 0, 65535, 65535, true, QByteArray(40, 0)); }, AcsReadError::Damaged,
                "65535 × 65535 pixels cannot fit in 40 bytes"},
    HostileFile{"RawImageTooShort", [](QByteArray& b) { ReplaceImage(b, 0, 64, 64, false, QByteArray(100, 0)); },
                AcsReadError::Damaged, "cannot fit in 100 bytes"},
    HostileFile{"ImageSideLimit", [](QByteArray& b) { ReplaceImage(b, 0, 4000, 1, false, QByteArray(4000, 0)); },
                AcsReadError::LimitExceeded, "4000 × 1 pixels"},
    HostileFile{"DecodedBytesLimit",
                [](QByteArray& b) {
                    // Three 2048 × 2048 images of zeros: tiny in the file, 12 MB decoded.
                    const QByteArray block = AcsCompression::Compress(QByteArray(2048 * 2048, 0));
                    for (int i = 0; i < 3; ++i)
                        ReplaceImage(b, i, 2048, 2048, true, block);
                },
                AcsReadError::LimitExceeded, "more than 8 MB"},
    HostileFile{"SharedSoundRecord",
                [](QByteArray& b) {
                    // 200 entries naming one 100 KB sound: 20 MB to hold, in a file of 100 KB.
                    QByteArray list(4, 0);
                    PutU32(list, 0, 200);
                    for (int i = 0; i < 200; ++i) {
                        QByteArray entry(12, 0);
                        PutU32(entry, 0, quint32(b.size()));
                        PutU32(entry, 4, 100000);
                        list += entry;
                    }
                    PutU32(b, SoundList, quint32(b.size() + 100000));
                    PutU32(b, SoundList + 4, quint32(list.size()));
                    b += QByteArray(100000, 'w') + list;
                },
                AcsReadError::LimitExceeded, "more than 8 MB"},
    HostileFile{"SharedAnimationRecord",
                [](QByteArray& b) {
                    // 3000 entries naming one record of 400 frames.
                    QByteArray record("\0\0\0\0\x02\0\0\0\0\x90\x01",
                                      11); // no name, no transition, no return, 400 frames
                    for (int f = 0; f < 400; ++f)
                        record += QByteArray("\0\0\xFF\xFF\x0A\0\xFE\xFF\0\0", 10);
                    QByteArray list(4, 0);
                    PutU32(list, 0, 3000);
                    for (int i = 0; i < 3000; ++i) {
                        QByteArray entry("\x01\0\0\0A\0\0\0", 8); // the name "A"
                        entry += QByteArray(8, 0);
                        PutU32(entry, 8, quint32(b.size()));
                        PutU32(entry, 12, quint32(record.size()));
                        list += entry;
                    }
                    PutU32(b, AnimationList, quint32(b.size() + record.size()));
                    PutU32(b, AnimationList + 4, quint32(list.size()));
                    b += record + list;
                },
                AcsReadError::LimitExceeded, "more than 8 MB"},
    HostileFile{"RegionCount",
                [](QByteArray& b) {
                    QByteArray region(32, 0);
                    PutU32(region, 0, 32);
                    PutU32(region, 4, 1);
                    PutU32(region, 8, 0x01000000);
                    QByteArray record(10, 0);
                    record[0] = 1;
                    PutU16(record, 1, 1);
                    PutU16(record, 3, 1);
                    PutU32(record, 6, 4);
                    record += QByteArray(4, 0);
                    record += QByteArray(4, 0);
                    record += QByteArray("\x20\0\0\0", 4);
                    record += region;
                    const qint64 at = ListEntry(b, ImageList, 0);
                    PutU32(b, at, quint32(b.size()));
                    PutU32(b, at + 4, quint32(record.size()));
                    b += record;
                },
                AcsReadError::Damaged, "region rectangle count"},
    HostileFile{"RegionTooBig",
                [](QByteArray& b) {
                    const qint64 image = ImageRecord(b, 0);
                    const qint64 region = image + 10 + U32At(b, image + 6);
                    PutU32(b, region + 4, 0x7FFFFFFF);
                },
                AcsReadError::Damaged, "region of 2147483647 bytes"},
    HostileFile{"TrayIconLength", [](QByteArray& b) { PutU32(b, TrayIconAt(b) + 1, 0x7FFFFFF0); },
                AcsReadError::Damaged, "tray icon mask"},
    HostileFile{"StateCount", [](QByteArray& b) { PutU16(b, StatesAt(b), 0xFFFF); }, AcsReadError::Damaged,
                "state count"},
    HostileFile{"StateAnimationCount", [](QByteArray& b) { PutU16(b, SkipString(b, StatesAt(b) + 2), 0x8000); },
                AcsReadError::Damaged, "state animation count"},
};

INSTANTIATE_TEST_SUITE_P(Cases, AcsReaderHostile, ::testing::ValuesIn(kHostileFiles),
                         [](const auto& info) { return std::string(info.param.name); });
