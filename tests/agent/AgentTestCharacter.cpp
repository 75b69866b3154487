#include "AgentTestCharacter.h"

using namespace Qt::StringLiterals;

namespace {

constexpr quint16 FrameWidth = 16;
constexpr quint16 FrameHeight = 8;

// A frame picture: the left half red, the right half see-through, and a blue top row.
AcsImage FramePicture()
{
    AcsImage image(FrameWidth, FrameHeight, 0);
    image.Fill(AcsRect{0, 0, FrameWidth / 2, FrameHeight}, 1);
    image.Fill(AcsRect{0, 0, FrameWidth, 1}, 3);
    return image;
}

// A mouth: a green 2 x 2 block (wider for the open shapes) on a see-through frame.
AcsImage MouthPicture(int shape)
{
    AcsImage image(FrameWidth, FrameHeight, 0);
    image.Fill(AcsRect{4, 5, 6 + (shape >= 1 && shape <= 4 ? shape : 0), 7}, 2);
    return image;
}

void PutImage(AcsCharacter& character, quint32 index, AcsImage image)
{
    while (character.Images().size() <= qsizetype(index))
        character.Images().append(AcsImage());
    character.Images()[qsizetype(index)] = std::move(image);
}

AcsFrame Frame(quint32 image, quint16 duration = 5)
{
    AcsFrame frame;
    frame.images.append(AcsFrameImage{image, 0, 0});
    frame.duration = duration;
    return frame;
}

void AddMouths(AcsFrame& frame)
{
    for (int shape = 0; shape <= 6; ++shape) {
        AcsOverlay overlay;
        overlay.mouth = AcsMouthShape(shape);
        overlay.imageIndex = quint16(1 + shape);
        frame.overlays.append(overlay);
    }
}

AcsAnimation Animation(const QString& name, int number, int frames)
{
    AcsAnimation animation;
    animation.name = name;
    for (int i = 0; i < frames; ++i)
        animation.frames.append(Frame(TestImage(number, i)));
    return animation;
}

} // namespace

quint32 TestImage(int animation, int frame)
{
    return quint32(100 * (animation + 1) + frame);
}

std::shared_ptr<const AcsCharacter> MakeTestCharacter()
{
    AcsCharacter character;
    AcsCharacterInfo& info = character.Info();
    info.width = FrameWidth;
    info.height = FrameHeight;
    info.transparentIndex = 0;
    info.palette = {AcsColor{255, 0, 255}, AcsColor{255, 0, 0}, AcsColor{0, 255, 0}, AcsColor{0, 0, 255}};
    AcsBalloonInfo balloon;
    balloon.fontName = u"DejaVu Sans"_s;
    balloon.backgroundColor = AcsColor{200, 230, 255};
    balloon.textColor = AcsColor{10, 20, 30};
    balloon.borderColor = AcsColor{90, 60, 30};
    info.balloon = balloon;

    for (int shape = 0; shape <= 6; ++shape)
        PutImage(character, quint32(1 + shape), MouthPicture(shape));
    const int counts[] = {1, 2, 2, 3, 1, 4, 2, 2, 1, 2};
    for (int animation = RestPose; animation <= Explain; ++animation) {
        for (int frame = 0; frame < counts[animation]; ++frame)
            PutImage(character, TestImage(animation, frame), FramePicture());
    }

    AcsAnimation rest = Animation(u"RestPose"_s, RestPose, 1);
    AddMouths(rest.frames[0]);
    character.AddAnimation(rest);
    character.AddAnimation(Animation(u"Showing"_s, Showing, 2));
    character.AddAnimation(Animation(u"Hiding"_s, Hiding, 2));

    AcsAnimation wave = Animation(u"Wave"_s, Wave, 3);
    wave.transition = AcsTransition::ReturnAnimation;
    wave.returnAnimation = u"WaveReturn"_s;
    character.AddAnimation(wave);
    character.AddAnimation(Animation(u"WaveReturn"_s, WaveReturn, 1));

    AcsAnimation greet = Animation(u"Greet"_s, Greet, 4);
    greet.transition = AcsTransition::ExitBranches;
    greet.frames[0].exitBranch = 3;
    greet.frames[1].exitBranch = 3;
    greet.frames[2].exitBranch = 3;
    greet.frames[3].exitBranch = AcsExit::End;
    // Played forward it loops over frames 0 and 1; frame 3 is only reached when leaving.
    greet.frames[1].branches.append(AcsBranch{0, 100});
    character.AddAnimation(greet);

    AcsAnimation loop = Animation(u"Loop"_s, Loop, 2);
    loop.frames[1].branches.append(AcsBranch{0, 100});
    character.AddAnimation(loop);

    character.AddAnimation(Animation(u"Walk"_s, Walk, 2));
    character.AddAnimation(Animation(u"Idle1"_s, Idle1, 1));

    AcsAnimation explain = Animation(u"Explain"_s, Explain, 2);
    AddMouths(explain.frames[1]);
    character.AddAnimation(explain);

    character.SetState(AcsStates::Showing, {u"Showing"_s});
    character.SetState(AcsStates::Hiding, {u"Hiding"_s});
    character.SetState(AcsStates::Speaking, {u"RestPose"_s});
    for (const QString& state :
         {AcsStates::MovingLeft, AcsStates::MovingRight, AcsStates::MovingUp, AcsStates::MovingDown})
        character.SetState(state, {u"Walk"_s});
    character.SetState(AcsStates::IdlingLevel1, {u"Idle1"_s});
    return std::make_shared<const AcsCharacter>(std::move(character));
}

void RecordingView::DrawFrame(const AgentPicture& picture)
{
    lastPicture = picture;
    QString line = u"frame"_s;
    for (size_t i = 0; i < picture.layers.size(); ++i)
        line += (i == 0 ? u" "_s : u"+"_s) + QString::number(picture.layers[i].image);
    m_log->append(line);
}

void RecordingView::MoveWindow(QPoint topLeft)
{
    m_position = topLeft;
    m_log->append(u"move %1,%2"_s.arg(topLeft.x()).arg(topLeft.y()));
}

void RecordingView::ShowBalloon(const AgentBalloon& balloon, int revealed)
{
    m_log->append(u"balloon %1 %2/%3 style %4: %5"_s.arg(balloon.thought ? u"think"_s : u"speak"_s)
                      .arg(revealed)
                      .arg(balloon.text.size())
                      .arg(balloon.style)
                      .arg(balloon.text));
}

void RecordingView::RevealBalloon(int revealed)
{
    m_log->append(u"reveal %1"_s.arg(revealed));
}
