#include "ui/wizard/CSetupWizard.h"

#include "base/CSettings.h"
#include "base/StartWithWindows.h"
#include "market/Countries.h"
#include "market/CountryIcon.h"
#include "speech/CCharacterManager.h"
#include "ui/CIconDialog.h"
#include "ui/COXStatic.h"
#include "ui/LayoutManager.h"
#include "ui/wizard/CWizPage.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kCountryTitle = u"Which country's stock market are you most interested in?"_s;
const QString kConnectionTitle = u"How are you connected to the Internet?"_s;
const QString kAutoStartTitle = u"Would you like Quorvane to run when you log in?"_s;
const QString kDefaultCountry = u"United States"_s;

QLabel* WrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

QString CSetupWizard::WelcomeSpeech()
{
    return u"Welcome to the Quorvane setup wizard.\n\nI am now going to help you setup Quorvane.\n"
           u"Please press the 'Next' button now.\n\nThank you."_s;
}

QString CSetupWizard::CountrySpeech()
{
    return kCountryTitle + u" You will still be able to follow-up on stocks traded on other stock markets."_s;
}

QString CSetupWizard::ConnectionSpeech()
{
    return kConnectionTitle +
           u" If NetworkManager dials your connection (a modem, mobile broadband or PPPoE), please select "
           u"Dial-up; otherwise select LAN."_s;
}

QString CSetupWizard::AutoStartSpeech()
{
    return kAutoStartTitle +
           u" You can run Quorvane all the time, and have it activate only when the stock market is open."_s;
}

// What is true of the quote source that the shipped URL.ini uses.
QString CSetupWizard::DataSourceNotice()
{
    return u"Data and information for Quorvane is obtained from the Yahoo Finance chart service. Depending on "
           u"the exchange, quote data may be delayed by 15 minutes or more. Data is obtained free of charge from "
           u"a public service that Brightwold does not run: its data, its terms and its availability are beyond "
           u"the control of Brightwold, and may change in the future."_s;
}

QString CSetupWizard::FinishSpeech()
{
    return u"You have successfully completed the setup of Quorvane. For more assistance, select Overview in the "
           u"Help menu.\n\nPlease press the 'Finish' button now to run Quorvane.\nThank you."_s;
}

CSetupWizard::CSetupWizard(CCharacterManager& characters, QWidget* parent)
    : QWizard(parent)
    , m_characters(characters)
{
    setWizardStyle(QWizard::ClassicStyle);
    // The pages keep what the user chose when Back returns to them.
    setOption(QWizard::IndependentPages, true);
    setOption(QWizard::HaveHelpButton, false);
    setWindowIcon(CIconDialog::ProgramIcon());
    AddWelcome();
    AddProvider();
    AddConnection();
    AddAutoStart();
    AddFinish();
    setStartId(Welcome);
    connect(this, &QWizard::currentIdChanged, this, &CSetupWizard::ShowPage);
}

CWizPage* CSetupWizard::Page(PageId id) const
{
    return qobject_cast<CWizPage*>(page(id));
}

void CSetupWizard::AddWelcome()
{
    auto* welcome = new CWizPage(u"Quorvane Setup Wizard - Welcome"_s, u"Welcome to Quorvane"_s);
    SetControlId(welcome->Title(), 1037);
    m_welcomeText = WithControlId(WrappedLabel(QString(), welcome), 291);
    welcome->Body()->addWidget(m_welcomeText);
    welcome->onShown = [this] {
        if (m_welcomeSpoken)
            return;
        m_welcomeSpoken = true;
        m_welcomeText->setText(WelcomeSpeech());
        Say(WelcomeSpeech(), false);
    };
    welcome->onNext = [this] {
        Stop();
    };
    setPage(Welcome, welcome);
}

void CSetupWizard::AddProvider()
{
    auto* provider = new CWizPage(u"Quorvane Setup Wizard - Primary Country"_s, kCountryTitle);
    SetControlId(provider->Title(), 1049);

    // The flags of the eleven countries.
    auto* flags = new QGridLayout;
    const QStringList& countries = Countries::CountryNames();
    for (int i = 0; i < countries.size(); ++i) {
        auto* flag = new QLabel(provider);
        flag->setPixmap(CountryIcon(countries[i]).pixmap(QSize(24, 16)));
        flag->setToolTip(countries[i]);
        flags->addWidget(flag, i / 6, i % 6);
    }
    flags->setColumnStretch(6, 1);

    m_country = WithControlId(new QComboBox(provider), 1061);
    QStringList sorted = countries;
    sorted.sort(Qt::CaseInsensitive);
    for (const QString& country : sorted)
        m_country->addItem(CountryIcon(country), country);
    m_country->setCurrentText(kDefaultCountry);

    m_realtimeIcon = WithControlId(new QLabel(provider), 1103);
    m_realtimeIcon->setPixmap(QIcon(u":/pages/realtime.svg"_s).pixmap(16, 16));
    m_realtimeText = WithControlId(new QLabel(u"Realtime quotes available"_s, provider), 1104);
    auto* realtime = new QHBoxLayout;
    realtime->addWidget(m_realtimeIcon);
    realtime->addWidget(m_realtimeText);
    realtime->addStretch(1);

    provider->Body()->addLayout(flags);
    provider->Body()->addWidget(m_country);
    provider->Body()->addLayout(realtime);
    UpdateRealtimeNote();
    connect(m_country, &QComboBox::currentIndexChanged, this, &CSetupWizard::UpdateRealtimeNote);

    provider->onShown = [this] {
        Say(CountrySpeech(), false);
    };
    provider->onNext = [this] {
        Stop();
        CSettings& settings = GetSettings();
        settings.defaultCountry = m_country->currentText();
        settings.Save();
    };
    setPage(Provider, provider);
}

void CSetupWizard::AddConnection()
{
    auto* connection = new CWizPage(u"Quorvane Setup Wizard - Connection"_s, kConnectionTitle);
    SetControlId(connection->Title(), 303);
    m_dialup = WithControlId(new QRadioButton(u"I'm connected via Dial-up (Modem)"_s, connection), 256);
    m_lan = WithControlId(new QRadioButton(u"I'm connected via LAN (Cable Modem,  DSL, etc.)"_s, connection), 258);
    auto* group = new QButtonGroup(connection);
    group->addButton(m_dialup);
    group->addButton(m_lan);
    m_dialup->setChecked(true);
    connection->Body()->addWidget(m_dialup);
    connection->Body()->addWidget(m_lan);

    connection->onShown = [this] {
        Say(ConnectionSpeech(), false);
    };
    connection->onNext = [this] {
        Stop();
        CSettings& settings = GetSettings();
        settings.type = m_dialup->isChecked() ? u"Dialup"_s : u"LAN"_s;
        settings.Save();
    };
    setPage(Connection, connection);
}

void CSetupWizard::AddAutoStart()
{
    auto* autoStart = new CWizPage(u"Quorvane Setup Wizard - Start"_s, kAutoStartTitle);
    SetControlId(autoStart->Title(), 301);
    m_autoStart = WithControlId(new QCheckBox(u"Start when I log in"_s, autoStart), 300);
    m_autoStart->setChecked(true);
    autoStart->Body()->addWidget(m_autoStart);

    autoStart->onShown = [this] {
        Say(AutoStartSpeech(), false);
    };
    autoStart->onNext = [this] {
        Stop();
        SetStartWithWindows(m_autoStart->isChecked());
    };
    setPage(AutoStart, autoStart);
}

void CSetupWizard::AddFinish()
{
    auto* finish = new CWizPage(u"Quorvane Setup Wizard - Finish"_s, u"Quote Data Source (FYI)"_s);
    SetControlId(finish->Title(), 1047);
    m_noticeText = WithControlId(WrappedLabel(QString(), finish), 1048);
    m_finishText = WithControlId(WrappedLabel(QString(), finish), 293);
    finish->Body()->addWidget(m_noticeText);
    finish->Body()->addSpacing(12);
    finish->Body()->addWidget(m_finishText);

    finish->onShown = [this] {
        if (m_finishSpoken)
            return;
        m_finishSpoken = true;
        m_noticeText->setText(DataSourceNotice());
        m_finishText->setText(FinishSpeech());
        Say(DataSourceNotice(), true);
        Say(FinishSpeech(), true);
        setButtonText(QWizard::FinishButton, u"&Finish"_s);
    };
    finish->onNext = [this] {
        Stop();
    };
    setPage(Finish, finish);
}

void CSetupWizard::ShowPage(int id)
{
    CWizPage* shown = qobject_cast<CWizPage*>(page(id));
    if (shown == nullptr)
        return;
    setWindowTitle(shown->Caption());
    if (shown->onShown)
        shown->onShown();
}

void CSetupWizard::UpdateRealtimeNote()
{
    const bool realtime = !Countries::ReadCountrySetting(m_country->currentText(), u"QuoteURL_RT"_s).isEmpty();
    m_realtimeIcon->setVisible(realtime);
    m_realtimeText->setVisible(realtime);
}

void CSetupWizard::Say(const QString& text, bool hideAfter)
{
    // Read aloud whatever the user chose for the character's notifications and the quiet switch.
    m_characters.Say(text, QString(), true, hideAfter, true);
}

void CSetupWizard::Stop()
{
    m_characters.StopCharacter();
}

bool RunSetupWizard(CCharacterManager& characters, QWidget* parent)
{
    if (!GetSettings().type.isEmpty())
        return true;
    CSetupWizard wizard(characters, parent);
    return wizard.exec() == QDialog::Accepted;
}
