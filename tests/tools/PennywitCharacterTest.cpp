// The character file the build draws (share/quorvane/chars/Pennywit.acs), read back with the
// program's own reader: everything the program plays must be there and behave.

#include "PennywitCharacter.h"
#include "PennywitPalette.h"

#include "agent/AcsReader.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const AcsCharacter& Character()
{
    static const std::optional<AcsCharacter> character = [] {
        AcsReader reader;
        auto read = reader.ReadFile(QStringLiteral(PENNYWIT_ACS));
        if (!read)
            ADD_FAILURE() << "cannot read " << PENNYWIT_ACS << ": " << reader.ErrorText().toStdString();
        return read;
    }();
    if (!character)
        throw std::runtime_error("Pennywit.acs could not be read");
    return *character;
}

const AcsAnimation& Animation(const QString& name)
{
    const AcsAnimation* animation = Character().FindAnimation(name);
    if (!animation)
        throw std::runtime_error("missing animation " + name.toStdString());
    return *animation;
}

quint32 RestImage()
{
    return Animation(AcsRestPoseName).frames.first().images.first().imageIndex;
}

int Duration(const AcsAnimation& animation)
{
    int total = 0;
    for (const AcsFrame& frame : animation.frames)
        total += frame.duration;
    return total;
}

// Follows the exit branches from `start` as the engine does when an animation is stopped; returns
// the frame where exiting ends, or -1 when the walk loops or leaves the animation.
int ExitFrom(const AcsAnimation& animation, int start)
{
    int frame = start;
    for (int steps = 0; steps <= animation.frames.size(); ++steps) {
        const qint16 exit = animation.frames[frame].exitBranch;
        if (exit == AcsExit::End)
            return frame;
        if (exit < 0 || exit >= animation.frames.size())
            return -1;
        frame = exit;
    }
    return -1;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(PennywitFile, ReadsBackAsOurCharacter)
{
    const AcsCharacter& character = Character();
    EXPECT_EQ(character.Name(), u"Pennywit"_s);
    EXPECT_FALSE(character.Description().isEmpty());
    EXPECT_EQ(character.Width(), 128);
    EXPECT_EQ(character.Height(), 128);
    EXPECT_EQ(character.Info().transparentIndex, PennywitPalette::TransparentIndex);
    ASSERT_TRUE(character.Info().voice.has_value());
    EXPECT_EQ(character.Info().voice->languageId, 0x0409);
    ASSERT_TRUE(character.Info().balloon.has_value());
    EXPECT_FALSE(character.Info().balloon->fontName.isEmpty());
    EXPECT_TRUE(character.Validate().isEmpty()) << character.Validate().toStdString();

    const QList<QRgb>& colours = PennywitPalette::Colours();
    ASSERT_EQ(character.Info().palette.size(), colours.size());
    for (int i = 0; i < colours.size(); ++i) {
        const AcsColor& entry = character.Info().palette[i];
        EXPECT_EQ(qRgb(entry.red, entry.green, entry.blue), (colours[i] & 0xffffff) | 0xff000000) << "entry " << i;
    }
}

TEST(PennywitFile, EveryStateNamesAnimationsHeHas)
{
    const AcsCharacter& character = Character();
    const QStringList states{AcsStates::Showing,      AcsStates::Hiding,       AcsStates::Speaking,
                             u"RESTPOSE"_s,           AcsStates::IdlingLevel1, AcsStates::IdlingLevel2,
                             AcsStates::IdlingLevel3, AcsStates::MovingLeft,   AcsStates::MovingRight,
                             AcsStates::MovingUp,     AcsStates::MovingDown};
    for (const QString& state : states) {
        const AcsState* found = character.FindState(state);
        ASSERT_NE(found, nullptr) << state.toStdString();
        EXPECT_FALSE(found->animations.isEmpty()) << state.toStdString();
        EXPECT_EQ(character.StateAnimations(state).size(), found->animations.size())
            << state.toStdString() << " names an animation he lacks";
    }
    EXPECT_GE(character.StateAnimations(AcsStates::IdlingLevel1).size(), 4);
    for (const QString& idle : {u"IdleWatch"_s, u"IdlePolish"_s, u"IdleTicker"_s})
        EXPECT_TRUE(character.StateAnimations(AcsStates::IdlingLevel1).contains(idle)) << idle.toStdString();
}

class PennywitGesture : public ::testing::TestWithParam<const char*>
{};

TEST_P(PennywitGesture, PlaysSeveralFramesAndReturnsToRest)
{
    const AcsAnimation& gesture = Animation(QString::fromLatin1(GetParam()));
    EXPECT_GE(gesture.frames.size(), 8);
    const int duration = Duration(gesture);
    EXPECT_GE(duration, 80);
    EXPECT_LE(duration, 250);
    EXPECT_EQ(gesture.transition, AcsTransition::ExitBranches);

    // Starts and ends on the rest pose, with the mouth overlays on its last frame so that he can
    // speak right after it.
    ASSERT_FALSE(gesture.frames.first().images.isEmpty());
    EXPECT_EQ(gesture.frames.first().images.first().imageIndex, RestImage());
    ASSERT_FALSE(gesture.frames.last().images.isEmpty());
    EXPECT_EQ(gesture.frames.last().images.first().imageIndex, RestImage());
    EXPECT_FALSE(gesture.frames.last().overlays.isEmpty());

    // The frames in between really show something else.
    QSet<quint32> pictures;
    for (const AcsFrame& frame : gesture.frames) {
        for (const AcsFrameImage& image : frame.images)
            pictures.insert(image.imageIndex);
    }
    EXPECT_GE(pictures.size(), 4);

    // Stopped on any frame, the exit branches walk back to the rest pose.
    for (int i = 0; i < gesture.frames.size(); ++i) {
        const int end = ExitFrom(gesture, i);
        ASSERT_GE(end, 0) << "frame " << i;
        ASSERT_FALSE(gesture.frames[end].images.isEmpty());
        EXPECT_EQ(gesture.frames[end].images.first().imageIndex, RestImage()) << "frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Gestures, PennywitGesture,
                         ::testing::Values("Wave", "ThumbUp", "MoneyShow", "GraphUp", "GraphDown", "Calculator",
                                           "SignSell", "SignBuy", "PotGold", "Crash", "Bear", "Dance", "Burn", "Advert",
                                           "Read"));

TEST(PennywitFile, GestureListMatchesTheFile)
{
    for (const QString& name : Pennywit::GestureNames())
        EXPECT_NE(Character().FindAnimation(name), nullptr) << name.toStdString();
}

TEST(PennywitFile, TheStarterAnnouncementsUseHisGestures)
{
    QFile file(QStringLiteral(QUORVANE_SOURCE_DIR "/data/Announce.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts).mid(1);
    ASSERT_GE(lines.size(), 3);
    for (const QString& line : lines) {
        const QStringList fields = line.split(u',');
        ASSERT_EQ(fields.size(), 5) << line.toStdString();
        for (const QString& gesture : {fields[1], fields[3]})
            EXPECT_NE(Character().FindAnimation(gesture), nullptr) << gesture.toStdString();
    }
}

TEST(PennywitFile, EveryImageIsAFullFrameDrawnOnTransparency)
{
    const AcsCharacter& character = Character();
    const int colours = int(character.Info().palette.size());
    for (int i = 0; i < character.Images().size(); ++i) {
        const AcsImage& image = character.Images()[i];
        ASSERT_EQ(image.Width(), 128) << "image " << i;
        ASSERT_EQ(image.Height(), 128) << "image " << i;
        EXPECT_FALSE(image.ComputeRegion(character.Info().transparentIndex).rects.isEmpty()) << "image " << i;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x)
                ASSERT_LT(image.PixelAt(x, y), colours) << "image " << i;
        }
    }
}

TEST(PennywitFile, RestPoseStandsUpright)
{
    // The hat is at the top of the picture and the shoes at the bottom: rows are not flipped.
    const AcsImage& rest = Character().Images()[qsizetype(RestImage())];
    const int hat = PennywitPalette::NearestIndex(Ink::Hat);
    const int shoe = PennywitPalette::NearestIndex(Ink::Shoe);
    const auto rowsWith = [&rest](int index) {
        QList<int> rows;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                if (rest.PixelAt(x, y) == index) {
                    rows.append(y);
                    break;
                }
            }
        }
        return rows;
    };
    const QList<int> hatRows = rowsWith(hat);
    const QList<int> shoeRows = rowsWith(shoe);
    ASSERT_FALSE(hatRows.isEmpty());
    ASSERT_FALSE(shoeRows.isEmpty());
    EXPECT_LT(hatRows.last(), 45);
    EXPECT_GT(shoeRows.first(), 100);
    // Drawn on transparency: the corners are see-through.
    for (QPoint corner : {QPoint(0, 0), QPoint(127, 0), QPoint(0, 127), QPoint(127, 127)})
        EXPECT_EQ(rest.PixelAt(corner.x(), corner.y()), PennywitPalette::TransparentIndex);
}

TEST(PennywitFile, SpeakingFramesCarryTheFiveMouths)
{
    const AcsCharacter& character = Character();
    int speakingFrames = 0;
    for (const AcsAnimation& animation : character.Animations()) {
        for (const AcsFrame& frame : animation.frames) {
            if (frame.overlays.isEmpty())
                continue;
            ++speakingFrames;
            QSet<int> shapes;
            QSet<quint16> images;
            for (const AcsOverlay& overlay : frame.overlays) {
                shapes.insert(int(overlay.mouth));
                images.insert(overlay.imageIndex);
                EXPECT_FALSE(overlay.replaceTopImage);
                // A mouth overlay holds the mouth and a patch of face, nothing else.
                const AcsRect box = character.Images()[overlay.imageIndex].ComputeRegion(0).bounds;
                EXPECT_LE(box.right - box.left, 26) << animation.name.toStdString();
                EXPECT_LE(box.bottom - box.top, 18) << animation.name.toStdString();
                EXPECT_GT(overlay.centerX, 0);
            }
            EXPECT_EQ(shapes.size(), 7) << animation.name.toStdString();
            EXPECT_EQ(images.size(), 5) << animation.name.toStdString();
        }
    }
    EXPECT_GT(speakingFrames, 15);
    for (const QString& name : {AcsRestPoseName, u"Speaking"_s})
        EXPECT_FALSE(Animation(name).frames.first().overlays.isEmpty()) << name.toStdString();
    // The mouths differ from each other.
    const AcsFrame& rest = Animation(u"Speaking"_s).frames.first();
    const AcsOverlay* closed = AcsCharacter::FindOverlay(rest, AcsMouthShape::Closed);
    const AcsOverlay* wide = AcsCharacter::FindOverlay(rest, AcsMouthShape::WideOpen3);
    ASSERT_TRUE(closed && wide);
    EXPECT_NE(character.Images()[closed->imageIndex], character.Images()[wide->imageIndex]);
}

TEST(PennywitFile, StillWhenAtRest)
{
    // The rest pose is a single frame: a character at rest needs no timer at all.
    EXPECT_EQ(Animation(AcsRestPoseName).frames.size(), 1);
    // Idle animations never flicker faster than the eye can follow.
    for (const QString& idle : Character().StateAnimations(AcsStates::IdlingLevel2)) {
        for (const AcsFrame& frame : Animation(idle).frames)
            EXPECT_GE(frame.duration, 4) << idle.toStdString();
    }
}

TEST(PennywitFile, ShowingArrivesAndHidingLeavesNothing)
{
    const AcsAnimation& showing = Animation(u"Showing"_s);
    EXPECT_EQ(showing.frames.last().images.first().imageIndex, RestImage());
    const AcsAnimation& hiding = Animation(u"Hiding"_s);
    EXPECT_TRUE(hiding.frames.last().images.isEmpty());
    EXPECT_EQ(hiding.frames.last().exitBranch, AcsExit::End);
    for (int i = 0; i < hiding.frames.size(); ++i)
        EXPECT_EQ(ExitFrom(hiding, i), hiding.frames.size() - 1) << "frame " << i;
}

TEST(PennywitFile, StaysCompact)
{
    // Shared pictures are stored once: far fewer images than frames.
    int frames = 0;
    for (const AcsAnimation& animation : Character().Animations())
        frames += int(animation.frames.size());
    EXPECT_LT(Character().Images().size(), frames);
    EXPECT_LT(QFile(QStringLiteral(PENNYWIT_ACS)).size(), 1024 * 1024);
}

TEST(Mkchar, WritesTheSameBytesEveryTime)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto draw = [&dir](const QString& name) {
        QProcess mkchar;
        mkchar.start(QStringLiteral(MKCHAR_PATH), {dir.filePath(name)});
        EXPECT_TRUE(mkchar.waitForFinished(240000));
        EXPECT_EQ(mkchar.exitCode(), 0) << mkchar.readAllStandardError().toStdString();
        return ReadAll(dir.filePath(name));
    };
    const QByteArray first = draw(u"first.acs"_s);
    const QByteArray second = draw(u"second.acs"_s);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_TRUE(first == second);
    EXPECT_TRUE(first == ReadAll(QStringLiteral(PENNYWIT_ACS)));
}

TEST(Mkchar, RefusesAMissingOutputAndAnUnwritableFile)
{
    QProcess mkchar;
    mkchar.start(QStringLiteral(MKCHAR_PATH), QStringList{});
    ASSERT_TRUE(mkchar.waitForFinished(60000));
    EXPECT_NE(mkchar.exitCode(), 0);

    mkchar.start(QStringLiteral(MKCHAR_PATH), {u"/nonexistent-folder/Pennywit.acs"_s});
    ASSERT_TRUE(mkchar.waitForFinished(240000));
    EXPECT_NE(mkchar.exitCode(), 0);
    EXPECT_FALSE(mkchar.readAllStandardError().isEmpty());
}

TEST(PennywitPalette, MapsCoverageAndInks)
{
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(1, 0, qRgba(242, 182, 50, 100)); // less than half covered: transparent
    picture.setPixel(2, 0, Ink::Gold);
    picture.setPixel(3, 0, Ink::Outline);
    const QImage indexed = PennywitPalette::ToIndexed(picture);
    ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
    EXPECT_EQ(indexed.pixelIndex(0, 0), PennywitPalette::TransparentIndex);
    EXPECT_EQ(indexed.pixelIndex(1, 0), PennywitPalette::TransparentIndex);
    EXPECT_EQ(indexed.color(indexed.pixelIndex(2, 0)), Ink::Gold);
    EXPECT_EQ(indexed.color(indexed.pixelIndex(3, 0)), Ink::Outline);
    // A colour between inks never maps onto the transparent entry.
    EXPECT_NE(PennywitPalette::NearestIndex(qRgb(255, 0, 255)), PennywitPalette::TransparentIndex);
}
