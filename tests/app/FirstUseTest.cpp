// The first Exit offers a look for a newer version, once.

#include "FrameTestSupport.h"

#include "base/CommandIds.h"
#include "webupdate/CWebUpdateDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Exits and waits for the window to close; the questions asked on the way.
QList<UserMessage> ExitAndWait(CMainFrame& frame)
{
    QSignalSpy closed(&frame, &CMainFrame::Closed);
    frame.OnCommand(CommandId::Exit);
    EXPECT_TRUE(frame.IsClosed() || closed.wait(10000));
    return RecordingMessagePresenter::Instance().Take();
}

} // namespace

TEST_F(FrameTest, TheFirstExitAsksOnceAndNoGoesOnExiting)
{
    NoScheduledWork();
    StartAndSettle();
    const QList<UserMessage> asked = ExitAndWait(*Frame());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(StoredOption(u"HasRun"_s, u"Default"_s).toInt(), 1);

    StartAndSettle();
    EXPECT_TRUE(ExitAndWait(*Frame()).isEmpty()) << "never asked again";
}

TEST_F(FrameTest, YesRunsTheUpdateInsteadOfExiting)
{
    NoScheduledWork();
    SetOption(u"WebUpdate"_s, u"URL"_s, u"http://127.0.0.1:1/version.txt"_s); // refused at once
    StartAndSettle();
    RecordingMessagePresenter::Instance().QueueAnswer(MessageResult::Yes);
    bool updateShown = false;
    QTimer::singleShot(0, [&updateShown] {
        CWebUpdateDlg* dialog = nullptr;
        (void)QTest::qWaitFor(
            [&dialog] { return (dialog = qobject_cast<CWebUpdateDlg*>(QApplication::activeModalWidget())); });
        ASSERT_NE(dialog, nullptr);
        updateShown = true;
        ASSERT_TRUE(QTest::qWaitFor([dialog] { return !dialog->IsBusy(); }, 10000));
        dialog->findChild<QPushButton*>(u"closeButton"_s)->click();
    });
    Frame()->OnCommand(CommandId::Exit);
    EXPECT_TRUE(updateShown);
    EXPECT_EQ(RecordingMessagePresenter::Instance().Take().size(), 1);
    QTest::qWait(100);
    EXPECT_FALSE(Frame()->IsClosed()) << "the program keeps running";
    EXPECT_TRUE(ExitAndWait(*Frame()).isEmpty());
}
