#include "speech/SpeechTestSupport.h"
#include "ui/CHelpTextDialog.h"
#include "ui/HelpTopics.h"
#include "ui/OpenDialogCount.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

class HelpTextDialogTest : public SpeechTest
{
protected:
    // Opens topic in a help window, lets closing (a function of the open window) end it, and
    // returns the character's requests made while it was open and when it closed.
    QStringList RunHelp(int topic, const std::function<void(CHelpTextDialog&)>& close)
    {
        QStringList whileOpen;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CHelpTextDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            seen = true;
            whileOpen = control.Take();
            EXPECT_EQ(OpenDialogCount::Instance().Count(), 1) << "counted as one of the program's dialogs";
            close(*dialog);
        });
        ShowHelpTopic(topic, &manager, nullptr);
        EXPECT_TRUE(seen) << "the help window was shown modally";
        m_atClose = control.Take();
        return whileOpen;
    }

    QStringList m_atClose;
};

TEST_F(HelpTextDialogTest, ShowsTheTopicWithItsCaptionGroupAndOkButton)
{
    CHelpTextDialog dialog(HelpTopics::RulesTab, nullptr);
    EXPECT_EQ(dialog.windowTitle(), u"Quorvane Help "_s);
    const auto* group = dialog.findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), u" Help "_s);
    EXPECT_EQ(dialog.Text(), HelpTopics::Text(HelpTopics::RulesTab));
    const auto* ok = dialog.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), u"&OK"_s);
    EXPECT_TRUE(ok->isDefault());
}

TEST_F(HelpTextDialogTest, ReadsTheTextWithTheReadGestureWithoutBalloonAndStopsWhenClosed)
{
    GetSettings().notificationMethod = 2; // the user's choice: think, without voice
    const QStringList requests = RunHelp(HelpTopics::Overview, [](CHelpTextDialog& dialog) { dialog.accept(); });
    const QString text = HelpTopics::Text(HelpTopics::Overview);
    EXPECT_TRUE(requests.contains(u"Balloon 0"_s)) << requests.join(u'|').toStdString();
    EXPECT_TRUE(requests.contains(u"Play Read"_s));
    EXPECT_TRUE(requests.contains(Spoken(text))) << "spoken aloud, whatever the user chose";
    EXPECT_LT(requests.indexOf(u"Play Read"_s), requests.indexOf(Spoken(text)));
    EXPECT_FALSE(requests.join(u'|').contains(u"Think"_s));
    EXPECT_EQ(GetSettings().notificationMethod, 2) << "the user's choice is put back";
    EXPECT_EQ(m_atClose, QStringList{u"StopAll"_s}) << "the reading ends with the window";
}

TEST_F(HelpTextDialogTest, SpeaksOfTheLoadedCharacter)
{
    control.characterName = u"Genie"_s;
    ASSERT_TRUE(manager.LoadFile(InstalledFolder() + u"/Pennywit.acs"_s));
    for (const int topic : {HelpTopics::Overview, HelpTopics::RulesOptions, HelpTopics::EditStock}) {
        const CHelpTextDialog dialog(topic, &manager);
        EXPECT_TRUE(dialog.Text().contains(u"Genie"_s)) << topic;
        EXPECT_FALSE(dialog.Text().contains(u"Pennywit"_s)) << topic;
    }
}

TEST_F(HelpTextDialogTest, EscapeAndTheCloseBoxStopTheReadingToo)
{
    RunHelp(HelpTopics::StocksTab, [](CHelpTextDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(m_atClose, QStringList{u"StopAll"_s});
    RunHelp(HelpTopics::StocksTab, [](CHelpTextDialog& dialog) { dialog.close(); });
    EXPECT_EQ(m_atClose, QStringList{u"StopAll"_s});
    EXPECT_EQ(OpenDialogCount::Instance().Count(), 0);
}

TEST_F(HelpTextDialogTest, StaysSilentWhileQuiet)
{
    SetQuiet(true);
    QString shown;
    const QStringList requests = RunHelp(HelpTopics::AlertsTab, [&](CHelpTextDialog& dialog) {
        shown = dialog.Text();
        dialog.accept();
    });
    EXPECT_EQ(shown, HelpTopics::Text(HelpTopics::AlertsTab)) << "the text is shown all the same";
    EXPECT_TRUE(requests.isEmpty()) << requests.join(u'|').toStdString();
    EXPECT_FALSE(m_atClose.join(u'|').contains(u"Speak"_s));
}

TEST_F(HelpTextDialogTest, ReadAloudEvenWhenTheCharacterIsSetToBeSilent)
{
    // "Character Is Silent" is the user's choice for everything else; the help is read regardless,
    // without a balloon.
    GetSettings().notificationMethod = 3;
    const QStringList requests = RunHelp(HelpTopics::Overview, [](CHelpTextDialog& dialog) { dialog.accept(); });
    EXPECT_TRUE(requests.contains(Spoken(HelpTopics::Text(HelpTopics::Overview))));
    EXPECT_EQ(GetSettings().notificationMethod, 3);
}

TEST_F(HelpTextDialogTest, WithoutACharacterTheTextIsShownAlone)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CHelpTextDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = dialog->Text() == HelpTopics::Text(HelpTopics::EditStock);
        dialog->accept();
    });
    ShowHelpTopic(HelpTopics::EditStock, nullptr, nullptr);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(control.Take().isEmpty());
}

} // namespace
