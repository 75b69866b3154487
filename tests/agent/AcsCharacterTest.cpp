// The character model: pixel storage, regions, look-ups and validation.

#include "agent/AcsCharacter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

TEST(AcsImage, StoresRowsBottomUpWithPaddedStride)
{
    AcsImage image(5, 3, 7);
    EXPECT_EQ(image.Stride(), 8);
    ASSERT_EQ(image.Pixels().size(), 24);
    image.SetPixel(1, 0, 42);                         // top row
    image.SetPixel(4, 2, 9);                          // bottom row
    EXPECT_EQ(quint8(image.Pixels()[2 * 8 + 1]), 42); // the top row is stored last
    EXPECT_EQ(quint8(image.Pixels()[4]), 9);
    EXPECT_EQ(image.PixelAt(1, 0), 42);
    EXPECT_EQ(image.PixelAt(4, 2), 9);
    EXPECT_EQ(image.PixelAt(0, 1), 7);
    EXPECT_EQ(image.PixelAt(5, 0), 0); // outside
    image.SetPixel(-1, 0, 1);          // ignored, no crash
    EXPECT_FALSE(image.SetPixels(QByteArray(23, 0)));
    EXPECT_TRUE(image.SetPixels(QByteArray(24, 3)));
    EXPECT_EQ(image.PixelAt(2, 2), 3);
}

TEST(AcsImage, RegionMergesIdenticalRowsIntoBands)
{
    // Transparent index 0. Rows 1-2: one run [1,3); row 3: two runs [0,1) and [3,5).
    AcsImage image(5, 5, 0);
    image.Fill(AcsRect{1, 1, 3, 3}, 4);
    image.SetPixel(0, 3, 1);
    image.Fill(AcsRect{3, 3, 5, 4}, 2);

    const AcsRegion region = image.ComputeRegion(0);
    const QList<AcsRect> expected{{1, 1, 3, 3}, {0, 3, 1, 4}, {3, 3, 5, 4}};
    EXPECT_EQ(region.rects, expected);
    EXPECT_EQ(region.bounds, (AcsRect{0, 1, 5, 4}));

    const AcsRegion empty = AcsImage(4, 4, 9).ComputeRegion(9);
    EXPECT_TRUE(empty.rects.isEmpty());
    EXPECT_EQ(empty.bounds, AcsRect{});

    const AcsRegion full = AcsImage(3, 2, 1).ComputeRegion(0);
    EXPECT_EQ(full.rects, (QList<AcsRect>{{0, 0, 3, 2}}));
}

TEST(AcsCharacter, FindsAnimationsAndStatesCaseInsensitively)
{
    AcsCharacter character;
    character.AddAnimation(AcsAnimation{u"Idle1_1"_s});
    character.AddAnimation(AcsAnimation{u"GestureRight"_s});
    character.SetState(u"IDLINGLEVEL1"_s, {u"IDLE1_1"_s, u"MISSING"_s});

    ASSERT_NE(character.FindAnimation(u"GESTURERIGHT"_s), nullptr);
    EXPECT_EQ(character.FindAnimation(u"gestureright"_s)->name, u"GestureRight"_s);
    EXPECT_EQ(character.AnimationIndex(u"idle1_1"_s), 0);
    EXPECT_EQ(character.FindAnimation(u""_s), nullptr);
    EXPECT_EQ(character.FindAnimation(u"Wave"_s), nullptr);
    EXPECT_EQ(character.StateAnimations(u"IdlingLevel1"_s), QStringList{u"Idle1_1"_s});
    EXPECT_TRUE(character.StateAnimations(u"Speaking"_s).isEmpty());

    character.SetState(u"idlinglevel1"_s, {u"GestureRight"_s});
    EXPECT_EQ(character.Info().states.size(), 1);
    EXPECT_EQ(character.StateAnimations(u"IDLINGLEVEL1"_s), QStringList{u"GestureRight"_s});
}

TEST(AcsCharacter, PicksTheLocalizedInfoByLanguage)
{
    AcsCharacter character;
    EXPECT_EQ(character.Localized(0x0409), nullptr);
    EXPECT_EQ(character.Name(), QString());

    character.Info().localized = {
        {0x0407, u"Münzi"_s, u"de"_s, {}},
        {0x0009, u"Penny"_s, u"en"_s, {}},
        {0x040C, u"Sou"_s, u"fr"_s, {}},
    };
    EXPECT_EQ(character.Name(0x0407), u"Münzi"_s); // exact
    EXPECT_EQ(character.Name(0x0807), u"Münzi"_s); // same primary language
    EXPECT_EQ(character.Name(0x0409), u"Penny"_s); // primary English
    EXPECT_EQ(character.Name(0x0411), u"Penny"_s); // unknown language: English
    character.Info().localized.removeAt(1);
    EXPECT_EQ(character.Name(0x0411), u"Münzi"_s); // no English: the first entry
    EXPECT_EQ(character.Description(0x040C), u"fr"_s);
}

TEST(AcsCharacter, ChoosesTheNearestMouthOverlay)
{
    using M = AcsMouthShape;
    AcsFrame frame;
    EXPECT_EQ(AcsCharacter::FindOverlay(frame, M::Medium), nullptr);

    for (M shape : {M::Closed, M::WideOpen2, M::Narrow})
        frame.overlays.append(AcsOverlay{shape, false, quint16(quint8(shape) + 10)});
    EXPECT_EQ(AcsCharacter::FindOverlay(frame, M::WideOpen2)->imageIndex, 12);
    EXPECT_EQ(AcsCharacter::FindOverlay(frame, M::WideOpen1)->mouth, M::WideOpen2);
    EXPECT_EQ(AcsCharacter::FindOverlay(frame, M::WideOpen4)->mouth, M::WideOpen2);
    EXPECT_EQ(AcsCharacter::FindOverlay(frame, M::Medium)->mouth, M::Narrow);
    EXPECT_EQ(AcsCharacter::FindOverlay(frame, M::Closed)->mouth, M::Closed);
    frame.overlays.removeFirst();
    EXPECT_EQ(AcsCharacter::FindOverlay(frame, M::Closed), nullptr);
}

TEST(AcsCharacter, UpdatesOverlayCentersFromTheClosedMouth)
{
    AcsCharacter c;
    c.Info().transparentIndex = 0;
    AcsImage closed(20, 10, 0);
    closed.Fill(AcsRect{4, 6, 11, 9}, 3); // opaque box x 4-11, y 6-9: centre (7, 7)
    c.AddImage(closed);
    AcsImage open(20, 10, 0);
    open.Fill(AcsRect{0, 0, 20, 10}, 3);
    c.AddImage(open);
    AcsAnimation a{u"Talk"_s};
    AcsFrame frame;
    frame.overlays = {AcsOverlay{AcsMouthShape::WideOpen2, false, 1}, AcsOverlay{AcsMouthShape::Closed, false, 0}};
    AcsFrame plain;
    plain.overlays = {AcsOverlay{AcsMouthShape::Narrow, false, 1, 0, 0, 0, 5, 5}};
    a.frames = {frame, plain};
    c.AddAnimation(a);

    c.UpdateOverlayCenters();
    for (const AcsOverlay& overlay : c.Animations()[0].frames[0].overlays) {
        EXPECT_EQ(overlay.centerX, 7);
        EXPECT_EQ(overlay.centerY, 7);
    }
    EXPECT_EQ(c.Animations()[0].frames[1].overlays[0].centerX, 5); // no closed mouth: untouched

    // A stored region wins over the pixels.
    c.Images()[0].SetRegion(AcsRegion{{0, 0, 2, 4}, {{0, 0, 2, 4}}});
    c.UpdateOverlayCenters();
    EXPECT_EQ(c.Animations()[0].frames[0].overlays[0].centerX, 1);
    EXPECT_EQ(c.Animations()[0].frames[0].overlays[0].centerY, 2);
}

namespace {

// A small valid character: two images, one sound, animations A (2 frames) and B.
AcsCharacter ValidCharacter()
{
    AcsCharacter c;
    c.Info().palette = QList<AcsColor>(16);
    c.AddImage(AcsImage(4, 4));
    c.AddImage(AcsImage(4, 4));
    c.AddSound(QByteArray("RIFF"));
    AcsAnimation a{u"A"_s, AcsTransition::ReturnAnimation, u"b"_s};
    a.frames = {AcsFrame{{{0, 0, 0}}}, AcsFrame{{{1, 0, 0}}}};
    c.AddAnimation(a);
    AcsAnimation b{u"B"_s};
    b.frames = {AcsFrame{{{1, 0, 0}}}};
    c.AddAnimation(b);
    return c;
}

struct ValidationCase
{
    const char* name;
    std::function<void(AcsCharacter&)> spoil;
    const char* expected; // a part of the message
};

class AcsCharacterValidation : public ::testing::TestWithParam<ValidationCase>
{};

AcsFrame& FirstFrame(AcsCharacter& c)
{
    return c.Animations()[0].frames[0];
}

} // namespace

TEST(AcsCharacter, ValidCharacterPassesValidation)
{
    EXPECT_EQ(ValidCharacter().Validate(), QString());
}

TEST_P(AcsCharacterValidation, RefusesWhatCannotBeWritten)
{
    AcsCharacter c = ValidCharacter();
    GetParam().spoil(c);
    const QString message = c.Validate();
    EXPECT_TRUE(message.contains(QString::fromUtf8(GetParam().expected))) << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcsCharacterValidation,
    ::testing::Values(
        ValidationCase{"Palette", [](AcsCharacter& c) { c.Info().palette.resize(257); }, "257 colours"},
        ValidationCase{"NoName", [](AcsCharacter& c) { c.Animations()[1].name.clear(); }, "no name"},
        ValidationCase{"DuplicateName", [](AcsCharacter& c) { c.Animations()[1].name = u"a"_s; }, "used twice"},
        ValidationCase{"ReturnMissing", [](AcsCharacter& c) { c.Animations()[0].returnAnimation = u"C"_s; },
                       "\"C\", which"},
        ValidationCase{"ImageIndex", [](AcsCharacter& c) { FirstFrame(c).images[0].imageIndex = 2; }, "image 2"},
        ValidationCase{"SoundIndex", [](AcsCharacter& c) { FirstFrame(c).soundIndex = 1; }, "sound 1"},
        ValidationCase{"SoundNegative", [](AcsCharacter& c) { FirstFrame(c).soundIndex = -2; }, "sound -2"},
        ValidationCase{"ExitBranch", [](AcsCharacter& c) { FirstFrame(c).exitBranch = 2; }, "exit branch 2"},
        ValidationCase{"ExitBranchNegative", [](AcsCharacter& c) { FirstFrame(c).exitBranch = -3; }, "exit branch -3"},
        ValidationCase{"BranchTarget",
                       [](AcsCharacter& c) {
                           FirstFrame(c).branches = {{2, 10}};
                       },
                       "frame 2"},
        ValidationCase{"BranchPercent",
                       [](AcsCharacter& c) {
                           FirstFrame(c).branches = {{0, 60}, {1, 41}};
                       },
                       "101 %"},
        ValidationCase{"TooManyBranches", [](AcsCharacter& c) { FirstFrame(c).branches = QList<AcsBranch>(256); },
                       "255 branches"},
        ValidationCase{"OverlayImage",
                       [](AcsCharacter& c) {
                           FirstFrame(c).overlays = {AcsOverlay{AcsMouthShape::Medium, false, 5}};
                       },
                       "image 5"},
        ValidationCase{"StateName", [](AcsCharacter& c) { c.SetState({}, {}); }, "state has no name"}),
    [](const auto& info) { return std::string(info.param.name); });
