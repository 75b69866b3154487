#include "speech/SpeechTestSupport.h"
#include "ui/PageTestSupport.h"

#include "base/SettingsStore.h"
#include "base/StartWithWindows.h"
#include "ui/wizard/CSetupWizard.h"
#include "ui/wizard/CWizPage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

class SetupWizardTest : public SpeechTest
{
protected:
    void SetUp() override
    {
        SpeechTest::SetUp();
        QFile::remove(ProgramSettingsFile());
        SetStartWithWindows(false);
    }

    // What the character was asked since the last call: the texts spoken, "StopAll" and "Hide".
    QStringList Said()
    {
        QStringList said;
        for (const QString& request : control.Take()) {
            if (request.startsWith(u"Speak "_s))
                said.append(request.mid(request.lastIndexOf(u'\\') + 1));
            else if (request == u"StopAll"_s || request.startsWith(u"Hide"_s))
                said.append(request.section(u' ', 0, 0));
        }
        return said;
    }

    static QVariant Stored(const QString& key)
    {
        return QSettings(ProgramSettingsFile(), QSettings::IniFormat).value(key);
    }

    static void Press(QWizard& wizard, QWizard::WizardButton which) { wizard.button(which)->click(); }
};

} // namespace

TEST_F(SetupWizardTest, EachPageSpeaksAsItShouldAndNextWritesItsAnswer)
{
    CSetupWizard wizard(manager);
    wizard.show();
    const QString welcome = CSetupWizard::WelcomeSpeech();
    const QString country = CSetupWizard::CountrySpeech();
    const QString connection = CSetupWizard::ConnectionSpeech();
    const QString autoStart = CSetupWizard::AutoStartSpeech();
    const QString notice = CSetupWizard::DataSourceNotice();
    const QString finish = CSetupWizard::FinishSpeech();

    struct Step
    {
        std::function<void()> act;
        int page;
        QStringList said;
    };
    const Step steps[] = {
        {[] {}, CSetupWizard::Welcome, {welcome}},
        {[&] { Press(wizard, QWizard::NextButton); }, CSetupWizard::Provider, {u"StopAll"_s, country}},
        {[&] { Press(wizard, QWizard::BackButton); }, CSetupWizard::Welcome, {}},
        {[&] { Press(wizard, QWizard::NextButton); }, CSetupWizard::Provider, {u"StopAll"_s, country}},
        {[&] {
             EXPECT_EQ(wizard.CountryList()->currentText(), u"United States"_s);
             EXPECT_TRUE(wizard.RealtimeText()->isVisibleTo(&wizard)) << "the test URL.ini has a realtime URL";
             wizard.CountryList()->setCurrentText(u"Germany"_s);
             EXPECT_FALSE(wizard.RealtimeText()->isVisibleTo(&wizard));
             EXPECT_FALSE(wizard.RealtimeIcon()->isVisibleTo(&wizard));
             EXPECT_FALSE(Stored(u"General/DefaultCountry"_s).isValid()) << "nothing written before Next";
             Press(wizard, QWizard::NextButton);
         },
         CSetupWizard::Connection,
         {u"StopAll"_s, connection}},
        {[&] {
             EXPECT_EQ(Stored(u"General/DefaultCountry"_s).toString(), u"Germany"_s);
             EXPECT_TRUE(wizard.DialupButton()->isChecked());
             wizard.LanButton()->click();
             Press(wizard, QWizard::NextButton);
         },
         CSetupWizard::AutoStart,
         {u"StopAll"_s, autoStart}},
        {[&] {
             EXPECT_EQ(Stored(u"Connection/Type"_s).toString(), u"LAN"_s);
             EXPECT_EQ(GetSettings().type, u"LAN"_s);
             EXPECT_TRUE(wizard.AutoStartBox()->isChecked());
             Press(wizard, QWizard::NextButton);
         },
         CSetupWizard::Finish,
         {u"StopAll"_s, notice, u"Hide"_s, finish, u"Hide"_s}},
        {[&] {
             EXPECT_TRUE(IsStartWithWindows());
             EXPECT_EQ(wizard.NoticeText()->text(), notice);
             Press(wizard, QWizard::BackButton);
         },
         CSetupWizard::AutoStart,
         {autoStart}},
        {[&] {
             wizard.AutoStartBox()->setChecked(false);
             Press(wizard, QWizard::NextButton);
         },
         CSetupWizard::Finish,
         {u"StopAll"_s}},
    };
    for (const Step& step : steps) {
        step.act();
        SCOPED_TRACE(wizard.windowTitle().toStdString());
        EXPECT_EQ(wizard.currentId(), step.page);
        EXPECT_EQ(wizard.windowTitle(), wizard.Page(CSetupWizard::PageId(step.page))->Caption());
        EXPECT_EQ(Said(), step.said);
    }
    EXPECT_FALSE(IsStartWithWindows()) << "Next wrote the cleared box";
    Press(wizard, QWizard::FinishButton);
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(Said(), QStringList{u"StopAll"_s});
}

TEST_F(SetupWizardTest, ACancelBeforeTheConnectionPageRunsItAgain)
{
    NextModal<CSetupWizard> toConnection([](CSetupWizard& wizard) {
        wizard.next();
        wizard.CountryList()->setCurrentText(u"Canada"_s);
        wizard.next();
        ASSERT_EQ(wizard.currentId(), CSetupWizard::Connection);
        wizard.reject();
    });
    EXPECT_FALSE(RunSetupWizard(manager));
    EXPECT_TRUE(toConnection.Opened());
    EXPECT_EQ(Stored(u"General/DefaultCountry"_s).toString(), u"Canada"_s) << "answers given stay";
    EXPECT_FALSE(Stored(u"Connection/Type"_s).toBool());

    NextModal<CSetupWizard> again([](CSetupWizard& wizard) { QTest::keyClick(&wizard, Qt::Key_Escape); });
    EXPECT_FALSE(RunSetupWizard(manager));
    EXPECT_TRUE(again.Opened());

    // Once the Connection page was passed, the wizard does not come again.
    NextModal<CSetupWizard> toStart([](CSetupWizard& wizard) {
        for (int page = CSetupWizard::Welcome; page < CSetupWizard::AutoStart; ++page)
            wizard.next();
        wizard.reject();
    });
    EXPECT_FALSE(RunSetupWizard(manager));
    EXPECT_EQ(Stored(u"Connection/Type"_s).toString(), u"Dialup"_s);
    NextModal<CSetupWizard> never([](CSetupWizard&) {});
    EXPECT_TRUE(RunSetupWizard(manager));
    EXPECT_FALSE(never.Opened());
}

TEST_F(SetupWizardTest, TheDataSourceNoticeNamesTheShippedQuoteSource)
{
    QFile file(QStringLiteral(QUORVANE_SOURCE_DIR "/data/URL.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int patterns = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.startsWith("QuoteURL=") && !line.startsWith("QuoteURL_RT="))
            continue;
        const QString url = QString::fromUtf8(line.mid(line.indexOf('=') + 1).trimmed());
        if (url.isEmpty())
            continue;
        ++patterns;
        EXPECT_TRUE(QUrl(url).host().endsWith(u".finance.yahoo.com"_s)) << url.toStdString();
    }
    EXPECT_GT(patterns, 0);
    EXPECT_TRUE(CSetupWizard::DataSourceNotice().contains(u"Yahoo Finance"_s));
}
