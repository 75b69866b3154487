// The Options command in the running program: the sheet opens from the tool bar, its changes take
// effect at once (the Stock Strip's too) and survive a restart, Cancel changes nothing, and only
// another character file makes the character reload and thank the user.

#include "FrameTestSupport.h"

#include "app/CEngine.h"
#include "base/CSettings.h"
#include "base/CommandIds.h"
#include "base/StartWithWindows.h"
#include "ui/PageTestSupport.h"
#include "ui/options/CCharacterPPg.h"
#include "ui/options/CConnectionPPg.h"
#include "ui/options/COptionsSheet.h"
#include "ui/options/CUpDownEdit.h"
#include "ui/strip/CStockStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

using namespace Qt::StringLiterals;

namespace {

class OptionsCommand : public FrameTest
{
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        QFile other(m_env.DataHome() + u"/Quorvane/chars/Other.acs"_s);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("character");
    }

    // Runs the Options command with `inside` acting in the sheet; OK closes it unless inside did.
    void RunOptions(const std::function<void(COptionsSheet&)>& inside)
    {
        NextModal<COptionsSheet> sheet([&](COptionsSheet& options) {
            inside(options);
            if (options.isVisible())
                QTest::mouseClick(options.OkButton(), Qt::LeftButton);
        });
        Frame()->Action(CommandId::Options)->trigger();
        ASSERT_TRUE(sheet.Opened());
    }

    template <typename T>
    static T* Control(COptionsSheet& sheet, int page, int id)
    {
        EXPECT_TRUE(sheet.SetActivePage(page));
        T* control = FindControl<T>(sheet.Page(page), id);
        EXPECT_NE(control, nullptr) << id;
        return control;
    }

    QByteArray StoredFile() const
    {
        QFile file(ProgramSettingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(OptionsCommand, ChangesTakeEffectAtOnceAndSurviveARestart)
{
    NoScheduledWork();
    StartAndSettle();
    m_agent->Take();
    RunOptions([&](COptionsSheet& sheet) {
        EXPECT_FALSE(Frame()->IsCommandEnabled(CommandId::Exit)) << "the sheet counts as an open dialog";
        Control<QCheckBox>(sheet, COptionsSheet::GeneralPage, 1110)->setChecked(true);
        Control<QCheckBox>(sheet, COptionsSheet::GeneralPage, 249)->setChecked(true);
        Control<QComboBox>(sheet, COptionsSheet::GeneralPage, 1062)->setCurrentIndex(1);
        Control<QComboBox>(sheet, COptionsSheet::CharacterPage, 255)->setCurrentText(u"Bottom Left"_s);
        Control<QSlider>(sheet, COptionsSheet::CharacterPage, 1045)->setValue(200);
        Control<CUpDownEdit>(sheet, COptionsSheet::RulesPage, 211)->SetText(u"5"_s);
        Control<QComboBox>(sheet, COptionsSheet::BroadcastPage, 1043)->setCurrentText(u"15"_s);
        Control<QRadioButton>(sheet, COptionsSheet::ConnectionPage, 258)->setChecked(true);
        Control<QLineEdit>(sheet, COptionsSheet::ConnectionPage, 1052)->setText(u"proxy.example"_s);
        Control<QLineEdit>(sheet, COptionsSheet::ConnectionPage, 1053)->setText(u"3128"_s);
    });
    EXPECT_TRUE(Frame()->IsCommandEnabled(CommandId::Exit));

    const QStringList log = m_agent->Take();
    EXPECT_TRUE(log.filter(u"Load"_s).isEmpty()) << "the same character stays loaded";
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.last().startsWith(u"MoveTo 0,"_s)) << "moved to the bottom left at once";
    const CSettings& settings = GetSettings();
    EXPECT_EQ(Frame()->IsActive(), CEngine::IsWithinActiveHours(QDateTime::currentDateTime(), 62, settings.activeStart,
                                                                settings.activeStop));
    Frame()->OnCommand(CommandId::AboutCharacter);
    EXPECT_TRUE(m_agent->Take().join(u'|').contains(u"\\Spd=200\\"_s)) << "the new speed is spoken at once";

    m_app.reset();
    GetSettings().SetDefaults(false);
    ASSERT_TRUE(Start());
    EXPECT_EQ(settings.activeDays, 62);
    EXPECT_TRUE(IsStartWithWindows());
    EXPECT_EQ(settings.pricesFormat, 1);
    EXPECT_EQ(settings.position, u"Bottom Left"_s);
    EXPECT_EQ(settings.speed, 200);
    EXPECT_EQ(settings.rulesInterval, 5);
    EXPECT_EQ(settings.broadcastInterval, 15);
    EXPECT_EQ(settings.type, u"LAN"_s);
    EXPECT_EQ(settings.proxyServer, u"proxy.example"_s);
    EXPECT_EQ(settings.proxyPort, u"3128"_s);
}

TEST_F(OptionsCommand, OnlyAnotherCharacterFileIsLoadedAndThanksTheUser)
{
    NoScheduledWork();
    SetOption(u"Character"_s, u"Character"_s, u"PennyWit.ACS"_s);
    StartAndSettle();
    for (const auto& [choice, reloads] :
         {std::pair{u"pennywit.acs"_s, false}, std::pair{u"other.acs"_s, true}, std::pair{u"other.acs"_s, false}}) {
        m_agent->Take();
        const QString name = choice; // clang 14 lets no lambda capture a structured binding
        RunOptions([&](COptionsSheet& sheet) {
            Control<QComboBox>(sheet, COptionsSheet::CharacterPage, 251)->setCurrentText(name);
        });
        const QString log = m_agent->Take().join(u'|');
        EXPECT_EQ(log.contains(u"Load Quorvan"_s), reloads) << choice.toStdString() << ": " << log.toStdString();
        EXPECT_EQ(log.contains(u"Thanks for selecting me."_s), reloads) << log.toStdString();
        EXPECT_EQ(GetSettings().character, choice);
        EXPECT_EQ(StoredOption(u"Character"_s, u"Character"_s).toString(), choice);
    }
}

TEST_F(OptionsCommand, CancelChangesNothing)
{
    NoScheduledWork();
    StartAndSettle();
    GetSettings().Save();
    const QByteArray stored = StoredFile();
    const CSettings before = GetSettings();
    m_agent->Take();
    RunOptions([&](COptionsSheet& sheet) {
        Control<QSlider>(sheet, COptionsSheet::CharacterPage, 1046)->setValue(300);
        Control<QComboBox>(sheet, COptionsSheet::CharacterPage, 251)->setCurrentText(u"other.acs"_s);
        Control<QCheckBox>(sheet, COptionsSheet::GeneralPage, 249)->setChecked(true);
        Control<QCheckBox>(sheet, COptionsSheet::StripPage, 1088)->setChecked(false);
        EXPECT_TRUE(sheet.SetActivePage(COptionsSheet::RulesPage));
        sheet.reject();
    });
    EXPECT_EQ(StoredFile(), stored);
    EXPECT_FALSE(IsStartWithWindows());
    EXPECT_TRUE(m_agent->Take().isEmpty());
    for (const CSettings::Entry& entry : CSettings::Table()) {
        if (entry.number)
            EXPECT_EQ(GetSettings().*entry.number, before.*entry.number)
                << QString::fromUtf16(entry.name).toStdString();
        else
            EXPECT_EQ(GetSettings().*entry.text, before.*entry.text) << QString::fromUtf16(entry.name).toStdString();
    }
}

TEST_F(OptionsCommand, HandEditedValuesAreStoredValidAfterOk)
{
    NoScheduledWork();
    SetOption(u"Character"_s, u"Position"_s, u"Nowhere"_s);
    SetOption(u"Character"_s, u"Character"_s, u"gone.acs"_s);
    SetOption(u"Rules"_s, u"Interval"_s, 0);
    SetOption(u"General"_s, u"ColorEvenRow"_s, -1);
    SetOption(u"General"_s, u"ActiveDays"_s, 65);
    SetOption(u"Broadcast"_s, u"Interval"_s, 7);
    StartAndSettle();
    m_agent->Take();
    RunOptions([](COptionsSheet&) {});
    EXPECT_FALSE(m_agent->Take().join(u'|').contains(u"Thanks for selecting me."_s));
    EXPECT_EQ(StoredOption(u"Character"_s, u"Position"_s).toString(), u"Top Right"_s);
    // The missing file gave way to the first installed one at start-up. Its name is stored in the
    // list's lower case when the Character page was shown (the sheet opens on the page last left
    // with OK in this run), else as the file is named.
    EXPECT_EQ(StoredOption(u"Character"_s, u"Character"_s).toString().toLower(), u"other.acs"_s);
    EXPECT_EQ(StoredOption(u"Rules"_s, u"Interval"_s).toInt(), 1);
    EXPECT_EQ(StoredOption(u"General"_s, u"ColorEvenRow"_s).toInt(),
              CSettings::EntryOf(&CSettings::colorEvenRow).DefaultNumber());
    EXPECT_EQ(StoredOption(u"General"_s, u"ActiveDays"_s).toInt(), 127);
    EXPECT_EQ(StoredOption(u"Broadcast"_s, u"Interval"_s).toInt(), 7);
}

} // namespace

TEST_F(OptionsCommand, TheStripTakesItsPageAtOnce)
{
    NoScheduledWork();
    StartAndSettle();
    ASSERT_TRUE(Frame()->IsStripShown());
    RunOptions([&](COptionsSheet& sheet) {
        Control<QRadioButton>(sheet, COptionsSheet::StripPage, 1086)->setChecked(true); // Top of Screen
    });
    ASSERT_TRUE(Frame()->IsStripShown());
    EXPECT_EQ(Frame()->Strip()->State(), CAppBarDlg::Top);
    RunOptions([&](COptionsSheet& sheet) {
        Control<QCheckBox>(sheet, COptionsSheet::StripPage, 1088)->setChecked(false); // Show Stock Strip
    });
    EXPECT_FALSE(Frame()->IsStripShown());
}
