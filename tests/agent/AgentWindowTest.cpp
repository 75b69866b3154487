#include "AgentTestCharacter.h"

#include "agent/AgentBalloonWindow.h"
#include "agent/AgentFrameComposer.h"
#include "agent/AgentWindow.h"
#include "agent/IAgentCharacter.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

AgentPicture Picture(std::initializer_list<quint32> images)
{
    AgentPicture picture;
    for (const quint32 image : images)
        picture.layers.push_back(AgentPicture::Layer{image, 0, 0});
    return picture;
}

TEST(AgentFrameComposer, TransparentIndexBecomesSeeThrough)
{
    AgentFrameComposer composer(MakeTestCharacter());
    const QImage frame = composer.Compose(Picture({TestImage(RestPose, 0)}));
    ASSERT_EQ(frame.size(), QSize(16, 8));
    // Top row blue, left half red, right half see-through.
    EXPECT_EQ(frame.pixel(10, 0), qRgb(0, 0, 255));
    EXPECT_EQ(frame.pixel(2, 4), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(frame.pixel(2, 4)), 255);
    EXPECT_EQ(qAlpha(frame.pixel(12, 4)), 0);
}

TEST(AgentFrameComposer, LaterLayersLieOnTopAndOffsetsApply)
{
    AgentFrameComposer composer(MakeTestCharacter());
    AgentPicture picture = Picture({TestImage(RestPose, 0), 4});
    picture.layers[1].x = 6; // the mouth image (green at x 4..8, y 5..6) moved 6 to the right
    const QImage frame = composer.Compose(picture);
    EXPECT_EQ(frame.pixel(4, 5), qRgb(255, 0, 0));  // the body shows where the mouth moved away
    EXPECT_EQ(frame.pixel(11, 5), qRgb(0, 255, 0)); // on the see-through half, the mouth is opaque
    EXPECT_EQ(qAlpha(frame.pixel(11, 2)), 0);
}

TEST(AgentFrameComposer, UnknownOrEmptyImagesAreSkipped)
{
    AgentFrameComposer composer(MakeTestCharacter());
    const QImage frame = composer.Compose(Picture({99999, 50}));
    ASSERT_EQ(frame.size(), QSize(16, 8));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(qAlpha(frame.pixel(x, y)), 0);
    }
    EXPECT_TRUE(composer.Image(99999).isNull());
}

TEST(AgentFrameComposer, PixelsPastThePaletteAreSeeThrough)
{
    AcsCharacter character;
    character.Info().width = 4;
    character.Info().height = 1;
    character.Info().transparentIndex = 0;
    character.Info().palette = {AcsColor{0, 0, 0}, AcsColor{1, 2, 3}};
    AcsImage image(4, 1, 1);
    image.SetPixel(3, 0, 200); // no such palette entry
    character.AddImage(image);
    AgentFrameComposer composer(std::make_shared<const AcsCharacter>(character));
    const QImage frame = composer.Compose(Picture({0}));
    EXPECT_EQ(frame.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(qAlpha(frame.pixel(3, 0)), 0);
}

TEST(AgentFrameComposer, KeepsPicturesWithinItsBudgetAndRemakesDroppedOnes)
{
    // Ten 8 x 8 images of one colour each: 256 bytes apiece with alpha, a budget of three.
    AcsCharacter character;
    character.Info().width = 8;
    character.Info().height = 8;
    character.Info().transparentIndex = 0;
    for (int i = 0; i <= 10; ++i)
        character.Info().palette.push_back(AcsColor{quint8(i * 20), 0, 0});
    for (int i = 1; i <= 10; ++i) {
        AcsImage image(8, 8, 1);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                image.SetPixel(x, y, quint8(i));
        character.AddImage(image);
    }
    AgentFrameComposer composer(std::make_shared<const AcsCharacter>(character), 3 * 256);
    for (int round = 0; round < 2; ++round) {
        for (quint32 i = 0; i < 10; ++i) {
            const QImage frame = composer.Compose(Picture({i}));
            EXPECT_EQ(frame.pixel(4, 4), qRgb(int(i + 1) * 20, 0, 0)) << "image " << i << ", round " << round;
            EXPECT_LE(composer.KeptBytes(), 3 * 256);
        }
    }
}

TEST(AgentWindow, IsAFramelessTopmostToolWindowThatTakesNoFocus)
{
    AgentWindow window(MakeTestCharacter());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(window.size(), QSize(16, 8));
}

TEST(AgentWindow, DrawsTheFrameWithTheTransparentIndexSeeThrough)
{
    AgentWindow window(MakeTestCharacter());
    window.MoveWindow(QPoint(40, 50));
    window.DrawFrame(Picture({TestImage(RestPose, 0)}));
    window.ShowWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.WindowPosition(), QPoint(40, 50));

    const QImage grabbed = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(grabbed.size(), QSize(16, 8));
    EXPECT_EQ(grabbed.pixel(2, 4), qRgb(255, 0, 0));
    EXPECT_EQ(grabbed.pixel(10, 0), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(grabbed.pixel(12, 4)), 0);
    // The window is shaped to the opaque pixels, too.
    EXPECT_TRUE(window.mask().contains(QPoint(2, 4)));
    EXPECT_FALSE(window.mask().contains(QPoint(12, 4)));

    window.HideWindow();
    EXPECT_FALSE(window.isVisible());
}

TEST(AgentWindow, ANewFrameReplacesTheOldOne)
{
    AgentWindow window(MakeTestCharacter());
    window.DrawFrame(Picture({TestImage(RestPose, 0)}));
    AgentPicture mouth = Picture({4});
    window.DrawFrame(mouth);
    const QImage& frame = window.Frame();
    EXPECT_EQ(qAlpha(frame.pixel(2, 4)), 0);
    EXPECT_EQ(frame.pixel(4, 5), qRgb(0, 255, 0));
    EXPECT_TRUE(window.mask().contains(QPoint(4, 5)));
    EXPECT_FALSE(window.mask().contains(QPoint(2, 4)));
}

TEST(AgentWindow, DraggingMovesTheWindowAndTheBalloonFollows)
{
    AgentWindow window(MakeTestCharacter());
    window.MoveWindow(QPoint(300, 300));
    window.DrawFrame(Picture({TestImage(RestPose, 0)}));
    window.ShowWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.ShowBalloon(AgentBalloon{u"Hello"_s, false, IAgentCharacter::BalloonStyleDefault}, 5);
    AgentBalloonWindow* balloon = window.Balloon();
    ASSERT_TRUE(balloon->isVisible());
    const QPoint balloonBefore = balloon->pos();

    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(2, 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(42, 32), QPointF(window.mapToGlobal(QPoint(42, 32))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(42, 32));

    EXPECT_EQ(window.WindowPosition(), QPoint(340, 330));
    EXPECT_EQ(balloon->pos(), balloonBefore + QPoint(40, 30));
}

TEST(AgentWindow, StaysOnAScreenWhenItsMonitorGoesAway)
{
    const QRect left(0, 0, 1920, 1080);
    const QRect window(2500, 900, 128, 128); // on a right-hand monitor that was just unplugged
    EXPECT_EQ(AgentWindow::PlaceOnScreens(window, {left, QRect(1920, 0, 1280, 1024)}, left), window.topLeft());
    EXPECT_EQ(AgentWindow::PlaceOnScreens(window, {left}, QRect(0, 24, 1920, 1056)), QPoint(1792, 900));
    EXPECT_EQ(AgentWindow::PlaceOnScreens(QRect(-900, -500, 128, 128), {left}, QRect(0, 24, 1920, 1056)),
              QPoint(0, 24));
}

class AgentBalloonTest : public ::testing::Test
{
protected:
    QRect CharacterAt(int x, int y) const { return QRect(x, y, 128, 128); }
    QRect Screen() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(AgentBalloonTest, UsesTheCharactersColoursAndFont)
{
    const std::shared_ptr<const AcsCharacter> character = MakeTestCharacter();
    AgentBalloonWindow balloon(&*character->Info().balloon);
    EXPECT_EQ(balloon.BackgroundColor(), QColor(200, 230, 255));
    EXPECT_EQ(balloon.TextColor(), QColor(10, 20, 30));
    EXPECT_EQ(balloon.BorderColor(), QColor(90, 60, 30));
    EXPECT_EQ(balloon.TextFont().pixelSize(), 13);
    EXPECT_EQ(balloon.TextFont().family(), u"DejaVu Sans"_s);

    balloon.SetBalloon(AgentBalloon{u"Hi"_s, false, IAgentCharacter::BalloonStyleDefault}, 2, CharacterAt(400, 400));
    balloon.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&balloon));
    const QImage image = balloon.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // Inside the box, away from the words: the background colour.
    const QRect text = balloon.TextRect();
    EXPECT_EQ(image.pixel(text.right() - 1, text.bottom() - 1), QColor(200, 230, 255).rgb());
    // Outside the rounded corner: see-through.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

TEST_F(AgentBalloonTest, DefaultsWithoutBalloonInfo)
{
    AgentBalloonWindow balloon(nullptr);
    EXPECT_EQ(balloon.BackgroundColor(), QColor(255, 255, 225));
    EXPECT_EQ(balloon.TextColor(), QColor(0, 0, 0));
}

TEST_F(AgentBalloonTest, SizedToTheTextAndWrapped)
{
    AgentBalloonWindow balloon(nullptr);
    balloon.SetBalloon(AgentBalloon{u"Hi"_s, false, IAgentCharacter::BalloonStyleDefault}, 2, CharacterAt(400, 400));
    const QSize small = balloon.size();
    balloon.SetBalloon(AgentBalloon{u"The Dow is up twelve and a half at ten thousand two hundred and thirty four, "
                                    u"and the market closes in an hour."_s,
                                    false, IAgentCharacter::BalloonStyleDefault},
                       0, CharacterAt(400, 400));
    const QSize large = balloon.size();
    EXPECT_GT(large.width(), small.width());
    EXPECT_GT(large.height(), small.height()); // wrapped onto more lines
    EXPECT_LE(large.width(), 420);
}

TEST_F(AgentBalloonTest, WithoutSizeToTextKeepsTheCharactersLines)
{
    AcsBalloonInfo info;
    info.lines = 2;
    AgentBalloonWindow balloon(&info);
    balloon.SetBalloon(AgentBalloon{u"Hi"_s, false, IAgentCharacter::BalloonOn}, 2, CharacterAt(400, 400));
    const QSize shortText = balloon.size();
    balloon.SetBalloon(
        AgentBalloon{QString(400, u'x').replace(u"xxxxx"_s, u"word "_s), false, IAgentCharacter::BalloonOn}, 0,
        CharacterAt(400, 400));
    EXPECT_EQ(balloon.size(), shortText);
    EXPECT_EQ(balloon.TextRect().height(), 2 * QFontMetrics(balloon.TextFont()).lineSpacing());
}

TEST_F(AgentBalloonTest, SitsAboveTheCharacterOrBelowWhenThereIsNoRoom)
{
    AgentBalloonWindow balloon(nullptr);
    const QRect low = CharacterAt(Screen().center().x(), Screen().bottom() - 200);
    balloon.SetBalloon(AgentBalloon{u"Above"_s, false, IAgentCharacter::BalloonStyleDefault}, 5, low);
    EXPECT_EQ(balloon.geometry().bottom(), low.top() - 1);
    EXPECT_LE(balloon.geometry().left(), low.center().x());
    EXPECT_GE(balloon.geometry().right(), low.center().x());

    const QRect high = CharacterAt(Screen().left() + 10, Screen().top());
    balloon.SetBalloon(AgentBalloon{u"Below"_s, false, IAgentCharacter::BalloonStyleDefault}, 5, high);
    EXPECT_EQ(balloon.geometry().top(), high.bottom() + 1);
    EXPECT_GE(balloon.geometry().left(), Screen().left()); // kept on the screen
}

TEST_F(AgentBalloonTest, RevealsTheTextAsTheWordsAreSpoken)
{
    AgentBalloonWindow balloon(nullptr);
    balloon.SetBalloon(AgentBalloon{u"One two three"_s, false, IAgentCharacter::BalloonStyleDefault}, 0,
                       CharacterAt(400, 400));
    balloon.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&balloon));
    const auto inkInText = [&balloon] {
        const QImage image = balloon.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QRect text = balloon.TextRect();
        int dark = 0;
        for (int y = text.top(); y <= text.bottom(); ++y) {
            for (int x = text.left(); x <= text.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
        return dark;
    };
    EXPECT_EQ(inkInText(), 0);
    balloon.Reveal(3);
    const int oneWord = inkInText();
    EXPECT_GT(oneWord, 0);
    balloon.Reveal(13);
    EXPECT_GT(inkInText(), oneWord);
    EXPECT_EQ(balloon.Revealed(), 13);
    balloon.Reveal(1000);
    EXPECT_EQ(balloon.Revealed(), 13);
}

TEST_F(AgentBalloonTest, ThoughtBalloonIsACloud)
{
    AgentBalloonWindow speech(nullptr);
    AgentBalloonWindow thought(nullptr);
    speech.SetBalloon(AgentBalloon{u"Hmm"_s, false, IAgentCharacter::BalloonStyleDefault}, 3, CharacterAt(400, 400));
    thought.SetBalloon(AgentBalloon{u"Hmm"_s, true, IAgentCharacter::BalloonStyleDefault}, 3, CharacterAt(400, 400));
    EXPECT_TRUE(thought.IsThought());
    // The cloud has room for its puffs and its bubbles, and its shape differs from the box.
    EXPECT_GT(thought.height(), speech.height());
    EXPECT_NE(thought.mask(), speech.mask());
    EXPECT_FALSE(thought.mask().isEmpty());
}

} // namespace
