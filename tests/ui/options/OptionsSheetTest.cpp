// The Options sheet as the user drives it, with keys and clicks: the remembered page, the Alt
// letters, the messages that keep a page open without losing what was typed, the enabling rules,
// the gesture and character lists, colours, and Preview leaving the chosen character in place.

#include "ui/PageTestSupport.h"

#include "base/MakerPages.h"
#include "base/SettingsStore.h"
#include "speech/CCharacterManager.h"
#include "speech/RecordingAgent.h"
#include "ui/CHelpTextDialog.h"
#include "ui/HelpTopics.h"
#include "ui/options/CBroadcastPPg.h"
#include "ui/options/CCharacterPPg.h"
#include "ui/options/CConnectionPPg.h"
#include "ui/options/CGeneralPPg.h"
#include "ui/options/CNumericEdit.h"
#include "ui/options/COXMaskedEdit.h"
#include "ui/options/COptionsSheet.h"
#include "ui/options/CPreviewGesturesDlg.h"
#include "ui/options/CRulesPPg.h"
#include "ui/options/CStripPPg.h"
#include "ui/options/CUpDownEdit.h"

#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

class OptionsSheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetSettings().SetDefaults(false);
        RecordingMessagePresenter::Instance().Clear();
        StoreGloballyDisabled(false);
        const QString folder = env.DataHome() + u"/Quorvane/chars"_s;
        QDir().mkpath(folder);
        for (const auto& [name, content] :
             {std::pair{u"Pennywit.acs"_s, "character"}, std::pair{u"Other.ACS"_s, "character"},
              std::pair{u"broken.acs"_s, "damaged"}}) {
            QFile file(folder + u'/' + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        manager.SetCharacterFolders({folder});
        manager.SetScreenSize(1024, 768);
        control.animations = {u"Wave"_s, u"read"_s, u"GraphUp"_s};
        ASSERT_TRUE(manager.LoadCharacter());
        control.Take();
        values = OptionsValues::FromSettings(GetSettings(), false, false);
    }

    void TearDown() override
    {
        sheet.reset();
        GetSettings().SetDefaults(false);
    }

    // Opens a sheet on `values`, shown on the remembered page.
    COptionsSheet& Open()
    {
        sheet = std::make_unique<COptionsSheet>(values, &manager);
        sheet->show();
        sheet->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
        return *sheet;
    }

    // The sheet shown on a page, whichever page it opened on.
    COptionsSheet& OpenOn(int page)
    {
        Open();
        EXPECT_TRUE(sheet->SetActivePage(page));
        return *sheet;
    }

    template <typename T>
    T* Control(int page, int id)
    {
        return FindControl<T>(sheet->Page(page), id);
    }

    // A click on a check box or radio button's box (a button stretched by its layout takes no click
    // beyond its text).
    static void Click(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    // Whether the keyboard focus of the sheet is in this control.
    bool FocusIn(const QWidget* control) const
    {
        const QWidget* focus = sheet->focusWidget();
        return focus != nullptr && (focus == control || control->isAncestorOf(focus));
    }

    static QStringList Messages()
    {
        QStringList texts;
        for (const UserMessage& message : RecordingMessagePresenter::Instance().Take())
            texts.append(message.text);
        return texts;
    }

    TestEnvironment env;
    RecordingAgentControl control;
    CCharacterManager manager{control};
    OptionsValues values;
    std::unique_ptr<COptionsSheet> sheet;
};

TEST_F(OptionsSheetTest, OpensOnThePageOfTheLastOkWhateverCancelDid)
{
    OpenOn(COptionsSheet::GeneralPage);
    QTest::mouseClick(sheet->OkButton(), Qt::LeftButton);
    EXPECT_EQ(sheet->result(), QDialog::Accepted);

    Open();
    EXPECT_EQ(sheet->ActivePage(), COptionsSheet::GeneralPage);
    EXPECT_EQ(sheet->Tabs()->currentIndex(), COptionsSheet::GeneralPage);
    ASSERT_TRUE(sheet->SetActivePage(COptionsSheet::RulesPage));
    QTest::keyClick(sheet->focusWidget() ? sheet->focusWidget() : sheet.get(), Qt::Key_Escape);
    EXPECT_EQ(sheet->result(), QDialog::Rejected);

    Open();
    EXPECT_EQ(sheet->ActivePage(), COptionsSheet::GeneralPage);
}

TEST_F(OptionsSheetTest, HelpOpensTheShownPagesTopic)
{
    Open();
    for (int page = 0; page < COptionsSheet::PageCount; ++page) {
        ASSERT_TRUE(sheet->SetActivePage(page));
        int topic = 0;
        NextModal<CHelpTextDialog> help([&topic](CHelpTextDialog& dialog) { topic = dialog.TopicId(); });
        QTest::mouseClick(sheet->HelpButton(), Qt::LeftButton);
        ASSERT_TRUE(help.Opened());
        EXPECT_EQ(topic, HelpTopics::StripOptions + page);
    }
}

TEST_F(OptionsSheetTest, AltLettersGoToAControlOfThePageFirstThenToThePages)
{
    struct Case
    {
        int from;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int to;
    };
    const Case cases[] = {
        {COptionsSheet::BroadcastPage, Qt::Key_N, Qt::AltModifier, COptionsSheet::ConnectionPage},
        {COptionsSheet::ConnectionPage, Qt::Key_S, Qt::AltModifier, COptionsSheet::StripPage},
        {COptionsSheet::StripPage, Qt::Key_R, Qt::AltModifier, COptionsSheet::RulesPage},
        {COptionsSheet::RulesPage, Qt::Key_G, Qt::AltModifier | Qt::ShiftModifier, COptionsSheet::GeneralPage},
        {COptionsSheet::GeneralPage, Qt::Key_C, Qt::AltModifier, COptionsSheet::CharacterPage},
        {COptionsSheet::CharacterPage, Qt::Key_B, Qt::AltModifier, COptionsSheet::BroadcastPage},
    };
    for (const Case& c : cases) {
        OpenOn(c.from);
        QWidget* target = sheet->focusWidget() ? sheet->focusWidget() : sheet.get();
        QTest::keyClick(target, c.key, c.modifiers);
        EXPECT_EQ(sheet->ActivePage(), c.to) << c.from << " " << c.key;
        EXPECT_EQ(sheet->Tabs()->currentIndex(), c.to);
    }

    // The Strip page's own letters: S ticks "Show Stock Strip", N leads to the name colour's button.
    OpenOn(COptionsSheet::StripPage);
    auto* strip = sheet->PageAs<CStripPPg>(COptionsSheet::StripPage);
    const bool shown = strip->ShowBox()->isChecked();
    QTest::keyClick(sheet->focusWidget(), Qt::Key_S, Qt::AltModifier);
    EXPECT_NE(strip->ShowBox()->isChecked(), shown);
    QTest::keyClick(sheet->focusWidget(), Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(FocusIn(Control<QPushButton>(COptionsSheet::StripPage, 1069)));
    EXPECT_EQ(sheet->ActivePage(), COptionsSheet::StripPage);
}

TEST_F(OptionsSheetTest, IntegersOutOfRangeKeepThePageWithTheTypedText)
{
    struct Case
    {
        int page;
        int id;
        const char16_t* typed;
        const char16_t* message; // empty: accepted
        qint32 CSettings::*member;
        qint32 stored;
    };
    const Case cases[] = {
        {COptionsSheet::StripPage, 1084, u"101", u"Please enter an integer between 0 and 100.", nullptr, 0},
        {COptionsSheet::StripPage, 212, u"0", u"Please enter an integer between 1 and 1000.", nullptr, 0},
        {COptionsSheet::StripPage, 212, u"12abc", u"Please enter an integer.", nullptr, 0},
        {COptionsSheet::StripPage, 1084, u"", u"Please enter an integer.", nullptr, 0},
        {COptionsSheet::RulesPage, 211, u"99999999999", u"Please enter an integer.", nullptr, 0},
        {COptionsSheet::RulesPage, 211, u"10000", u"Please enter an integer between 1 and 9999.", nullptr, 0},
        {COptionsSheet::RulesPage, 211, u" 15 ", u"", &CSettings::rulesInterval, 15},
        {COptionsSheet::StripPage, 212, u"1000", u"", &CSettings::advanceInterval, 1000},
    };
    for (const Case& c : cases) {
        OpenOn(c.page);
        auto* edit = Control<CUpDownEdit>(c.page, c.id);
        ASSERT_NE(edit, nullptr) << c.id;
        edit->Edit()->selectAll();
        edit->Edit()->del();
        QTest::keyClicks(edit->Edit(), QString::fromUtf16(c.typed));
        const QString typed = QString::fromUtf16(c.typed);
        const QString message = QString::fromUtf16(c.message);

        QTest::mouseClick(sheet->OkButton(), Qt::LeftButton);
        if (message.isEmpty()) {
            EXPECT_EQ(sheet->result(), QDialog::Accepted) << typed.toStdString();
            EXPECT_EQ(values.settings.*c.member, c.stored);
            EXPECT_TRUE(Messages().isEmpty());
            continue;
        }
        EXPECT_EQ(Messages(), QStringList{message}) << typed.toStdString();
        EXPECT_TRUE(sheet->isVisible()) << "OK is refused";
        // Switching pages is refused the same way.
        EXPECT_FALSE(sheet->SetActivePage(COptionsSheet::ConnectionPage));
        sheet->Tabs()->setCurrentIndex(COptionsSheet::ConnectionPage); // a click on the tab
        EXPECT_EQ(Messages().size(), 2);
        EXPECT_EQ(sheet->ActivePage(), c.page);
        EXPECT_EQ(sheet->Tabs()->currentIndex(), c.page);
        EXPECT_EQ(edit->Text(), typed) << "the typed text stays";
        EXPECT_TRUE(FocusIn(edit));
    }
}

TEST_F(OptionsSheetTest, ConnectionEnablingAndProxyMessages)
{
    struct Case
    {
        bool lan;
        const char16_t* proxy;
        const char16_t* port;
        const char16_t* message; // empty: accepted
    };
    const Case cases[] = {
        {true, u"", u"8080", u"Please specify a Proxy Server or remove the Port."},
        {true, u"proxy.example", u"80.8", u"Please remove the periods in the Port."},
        {true, u"192.168.0.1", u"", u""},
        {true, u"", u"", u""},
        {true, u"proxy", u"3128", u""},
        // With dial-up the proxy is neither used nor editable: nothing to correct there.
        {false, u"", u"8080", u""},
    };
    for (const Case& c : cases) {
        OpenOn(COptionsSheet::ConnectionPage);
        auto* page = sheet->PageAs<CConnectionPPg>(COptionsSheet::ConnectionPage);
        Click(page->LanButton());
        page->ProxyEdit()->setText(QString::fromUtf16(c.proxy));
        page->PortEdit()->setText(QString::fromUtf16(c.port));
        if (!c.lan)
            Click(page->DialupButton());
        EXPECT_EQ(page->ProxyEdit()->isEnabled(), c.lan);
        EXPECT_EQ(page->PortEdit()->isEnabled(), c.lan);
        EXPECT_EQ(Control<QCheckBox>(COptionsSheet::ConnectionPage, 260)->isEnabled(), !c.lan);
        EXPECT_EQ(Control<QCheckBox>(COptionsSheet::ConnectionPage, 262)->isEnabled(), !c.lan);

        const QString message = QString::fromUtf16(c.message);
        EXPECT_EQ(sheet->SetActivePage(COptionsSheet::RulesPage), message.isEmpty()) << message.toStdString();
        EXPECT_EQ(Messages(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty()) {
            EXPECT_TRUE(FocusIn(page->ProxyEdit()));
            EXPECT_EQ(page->PortEdit()->text(), QString::fromUtf16(c.port));
            continue;
        }
        EXPECT_EQ(values.connection, c.lan ? 1 : 0);
        EXPECT_EQ(values.settings.proxyServer, QString::fromUtf16(c.proxy));
    }
}

TEST_F(OptionsSheetTest, ActiveHoursAreCheckedWhenThePageIsLeft)
{
    struct Case
    {
        const char16_t* start; // typed over the whole edit
        const char16_t* stop;
        int refused; // 0 none, 1 the start time, 2 the stop time
        int startMinutes;
        int stopMinutes;
    };
    const Case cases[] = {
        {u"1200a", u"1159p", 0, 0, 23 * 60 + 59},
        {u"1200P", u"0930A", 0, 12 * 60, 9 * 60 + 30}, // a start after the stop is fine
        {u"0030a", u"0500p", 1, 0, 0},
        {u"0900", u"0500p", 1, 0, 0}, // no letter
        {u"0900a", u"1360p", 2, 0, 0},
        {u"0900a", u"", 2, 0, 0},
    };
    for (const Case& c : cases) {
        OpenOn(COptionsSheet::GeneralPage);
        auto* page = sheet->PageAs<CGeneralPPg>(COptionsSheet::GeneralPage);
        for (const auto& [edit, text] : {std::pair{page->StartEdit(), c.start}, std::pair{page->StopEdit(), c.stop}}) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, QString::fromUtf16(text));
        }
        const QString startShown = page->StartEdit()->displayText();
        const QString stopShown = page->StopEdit()->displayText();
        const bool left = sheet->SetActivePage(COptionsSheet::RulesPage);
        const QStringList messages = Messages();
        if (c.refused == 0) {
            EXPECT_TRUE(left) << startShown.toStdString() << " " << stopShown.toStdString();
            EXPECT_TRUE(messages.isEmpty());
            EXPECT_EQ(values.settings.activeStart, CSettings::TimeOfDay(c.startMinutes / 60, c.startMinutes % 60));
            EXPECT_EQ(values.settings.activeStop, CSettings::TimeOfDay(c.stopMinutes / 60, c.stopMinutes % 60));
            continue;
        }
        EXPECT_FALSE(left) << startShown.toStdString() << " " << stopShown.toStdString();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(c.refused == 1 ? u"Please enter a valid Start time"_s
                                                          : u"Please enter a valid Stop time"_s));
        EXPECT_TRUE(FocusIn(c.refused == 1 ? page->StartEdit() : page->StopEdit()));
        EXPECT_EQ(page->StartEdit()->displayText(), startShown) << "what was typed stays";
        EXPECT_EQ(page->StopEdit()->displayText(), stopShown);
    }
}

TEST_F(OptionsSheetTest, ThePortTakesDigitsAndPeriodsOnly)
{
    OpenOn(COptionsSheet::ConnectionPage);
    auto* page = sheet->PageAs<CConnectionPPg>(COptionsSheet::ConnectionPage);
    Click(page->LanButton());
    QSignalSpy refused(page->PortEdit(), &CNumericEdit::Refused);
    QTest::keyClicks(page->PortEdit(), u"8a0 .-8"_s);
    EXPECT_EQ(page->PortEdit()->text(), u"80.8"_s);
    EXPECT_EQ(refused.count(), 3);
    QTest::keyClick(page->PortEdit(), Qt::Key_Backspace);
    EXPECT_EQ(page->PortEdit()->text(), u"80."_s);

    QGuiApplication::clipboard()->setText(u"x12:3"_s);
    page->PortEdit()->paste();
    EXPECT_EQ(page->PortEdit()->text(), u"80.123"_s);
}

TEST_F(OptionsSheetTest, TheStripPageEnablesItsScreenChoicesWithTheStrip)
{
    values.settings.show = 1;
    values.settings.hideInactive = 1;
    OpenOn(COptionsSheet::StripPage);
    auto* page = sheet->PageAs<CStripPPg>(COptionsSheet::StripPage);
    auto* bottom = Control<QRadioButton>(COptionsSheet::StripPage, 1087);
    EXPECT_TRUE(page->HideInactiveBox()->isEnabled());
    EXPECT_TRUE(bottom->isEnabled());
    Click(page->ShowBox());
    EXPECT_FALSE(page->HideInactiveBox()->isEnabled());
    EXPECT_FALSE(page->LocationGroup()->isEnabled());
    EXPECT_FALSE(bottom->isEnabled());
    Click(Control<QRadioButton>(COptionsSheet::StripPage, 1086)); // disabled: no effect
    QTest::mouseClick(sheet->OkButton(), Qt::LeftButton);
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(values.settings.show, 0);
    EXPECT_EQ(values.settings.hideInactive, 1) << "still stored";
    EXPECT_EQ(values.settings.location, 1);
}

TEST_F(OptionsSheetTest, ColoursAreChosenInTheColourDialogAndShownAtOnce)
{
    OpenOn(COptionsSheet::StripPage);
    NextModal<QColorDialog> choose([](QColorDialog& dialog) {
        dialog.setCurrentColor(QColor(10, 20, 30));
        dialog.accept();
    });
    QTest::mouseClick(Control<QPushButton>(COptionsSheet::StripPage, 1082), Qt::LeftButton);
    ASSERT_TRUE(choose.Opened());
    EXPECT_EQ(values.settings.colorBackground, 10 | (20 << 8) | (30 << 16));
    auto* page = sheet->PageAs<CStripPPg>(COptionsSheet::StripPage);
    for (int sample = 0; sample < 5; ++sample)
        EXPECT_EQ(page->Sample(sample)->palette().color(QPalette::Window), QColor(10, 20, 30)) << sample;

    const qint32 before = values.settings.colorNegChange;
    NextModal<QColorDialog> cancel([](QColorDialog& dialog) {
        dialog.setCurrentColor(QColor(1, 2, 3));
        dialog.reject();
    });
    QTest::mouseClick(Control<QPushButton>(COptionsSheet::StripPage, 1075), Qt::LeftButton);
    ASSERT_TRUE(cancel.Opened());
    EXPECT_EQ(values.settings.colorNegChange, before);
}

TEST_F(OptionsSheetTest, GestureListsComeFromTheLoadedCharacter)
{
    values.settings.gestureBefore = u"Wave"_s;
    values.settings.gestureAfter = u"Missing"_s; // the character has no such animation
    values.broadcastInterval = u"7"_s;           // written by hand: no item
    OpenOn(COptionsSheet::BroadcastPage);
    auto* page = sheet->PageAs<CBroadcastPPg>(COptionsSheet::BroadcastPage);
    QStringList items;
    for (int i = 0; i < page->GestureAfterList()->count(); ++i)
        items.append(page->GestureAfterList()->itemText(i));
    EXPECT_EQ(items, (QStringList{u"(None)"_s, u"GraphUp"_s, u"read"_s, u"Wave"_s}));
    EXPECT_EQ(page->GestureBeforeList()->currentText(), u"Wave"_s);
    EXPECT_EQ(page->GestureAfterList()->currentIndex(), -1);
    EXPECT_EQ(page->IntervalList()->currentIndex(), -1);
    EXPECT_TRUE(control.loadedPaths.size() == 1) << "the character file is not read again";

    QTest::mouseClick(sheet->OkButton(), Qt::LeftButton);
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(values.settings.gestureBefore, u"Wave"_s);
    EXPECT_EQ(values.settings.gestureAfter, QString());
    EXPECT_EQ(values.broadcastInterval, u"7"_s) << "no choice keeps the stored interval";
}

TEST_F(OptionsSheetTest, TheStoredCharacterIsFoundInAnyCaseAndStoredInLowerCase)
{
    values.settings.character = u"PENNYWIT.ACS"_s;
    OpenOn(COptionsSheet::CharacterPage);
    auto* page = sheet->PageAs<CCharacterPPg>(COptionsSheet::CharacterPage);
    EXPECT_EQ(page->CharacterList()->count(), 3);
    EXPECT_EQ(page->CharacterList()->currentText(), u"pennywit.acs"_s);
    QTest::mouseClick(sheet->OkButton(), Qt::LeftButton);
    EXPECT_EQ(values.settings.character, u"pennywit.acs"_s);
}

TEST_F(OptionsSheetTest, PreviewPlaysAnotherCharacterAndPutsTheChosenOneBack)
{
    OpenOn(COptionsSheet::CharacterPage);
    auto* page = sheet->PageAs<CCharacterPPg>(COptionsSheet::CharacterPage);
    page->CharacterList()->setCurrentText(u"other.acs"_s);
    control.animations = {u"Bow"_s, u"Wave"_s};
    QStringList shown;
    QStringList requests;
    NextModal<CPreviewGesturesDlg> preview([&](CPreviewGesturesDlg& dialog) {
        QTreeWidget* list = dialog.List();
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            shown.append(list->topLevelItem(i)->text(0));
        control.Take();
        list->setCurrentItem(list->topLevelItem(1));
        QTest::mouseClick(dialog.PlayButton(), Qt::LeftButton);
        const QRect bow = list->visualItemRect(list->topLevelItem(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, bow.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, bow.center());
        QTest::mouseClick(dialog.StopButton(), Qt::LeftButton);
        requests = control.Take();
        QTest::mouseClick(FindControl<QPushButton>(&dialog, 1), Qt::LeftButton);
    });
    StoreGloballyDisabled(true); // the preview plays all the same
    GetSettings().notificationMethod = 3;
    QTest::mouseClick(page->PreviewButton(), Qt::LeftButton);
    ASSERT_TRUE(preview.Opened());
    EXPECT_EQ(shown, (QStringList{u"Bow"_s, u"Wave"_s}));
    EXPECT_EQ(requests.filter(u"Play"_s), (QStringList{u"Play Wave"_s, u"Play Bow"_s}));
    EXPECT_EQ(requests.filter(u"Here it is."_s).size(), 2);
    EXPECT_EQ(requests.last(), u"StopAll"_s);

    EXPECT_EQ(GetSettings().character, u"Pennywit.acs"_s);
    ASSERT_FALSE(control.loadedPaths.isEmpty());
    EXPECT_TRUE(control.loadedPaths.last().endsWith(u"/Pennywit.acs"_s));
    EXPECT_NE(manager.Character(), nullptr);
    EXPECT_EQ(page->CharacterList()->currentText(), u"other.acs"_s) << "the choice on the page stays";
}

TEST_F(OptionsSheetTest, APreviewThatDoesNotLoadSaysSoAndKeepsTheCharacter)
{
    OpenOn(COptionsSheet::CharacterPage);
    auto* page = sheet->PageAs<CCharacterPPg>(COptionsSheet::CharacterPage);
    page->CharacterList()->setCurrentText(u"broken.acs"_s);
    NextModal<CPreviewGesturesDlg> preview([](CPreviewGesturesDlg&) {});
    QTest::mouseClick(page->PreviewButton(), Qt::LeftButton);
    EXPECT_FALSE(preview.Opened());
    const QStringList messages = Messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(u"Failed to load character "_s)) << messages[0].toStdString();
    EXPECT_EQ(GetSettings().character, u"Pennywit.acs"_s);
    EXPECT_TRUE(control.loadedPaths.last().endsWith(u"/Pennywit.acs"_s));
    EXPECT_NE(manager.Character(), nullptr);
}

TEST_F(OptionsSheetTest, OtherCharactersOpensTheConfiguredPage)
{
    RecordingBrowserLauncher browser;
    SetPageBrowserLauncher(&browser);
    OpenOn(COptionsSheet::CharacterPage);
    auto* others = Control<QPushButton>(COptionsSheet::CharacterPage, 289);
    QTest::mouseClick(others, Qt::LeftButton);
    WriteText(u"ContactInfo"_s, u"CharURL"_s, u"https://characters.example/more"_s);
    QTest::mouseClick(others, Qt::LeftButton);
    SetPageBrowserLauncher(nullptr);
    ASSERT_EQ(browser.urls.size(), 2);
    EXPECT_EQ(browser.urls[0], MakerPages::CharacterPage());
    EXPECT_EQ(browser.urls[1], u"https://characters.example/more"_s);
}

} // namespace
