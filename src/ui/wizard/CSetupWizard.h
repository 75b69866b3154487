#pragma once

#include <QWizard>

class CCharacterManager;
class CWizPage;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

// The wizard that sets Quorvane up on its first run: welcome, primary country, connection, start
// with the session, finish. The character reads each page: the welcome and finish texts the first
// time those pages are shown, the others every time. Next writes the page's answer at once, so a
// wizard cancelled later keeps the answers given before.
class CSetupWizard : public QWizard
{
    Q_OBJECT

public:
    enum PageId
    {
        Welcome,
        Provider,
        Connection,
        AutoStart,
        Finish,
    };

    explicit CSetupWizard(CCharacterManager& characters, QWidget* parent = nullptr);

    CWizPage* Page(PageId id) const;
    QComboBox* CountryList() const { return m_country; }
    QLabel* RealtimeText() const { return m_realtimeText; }
    QLabel* RealtimeIcon() const { return m_realtimeIcon; }
    QRadioButton* DialupButton() const { return m_dialup; }
    QRadioButton* LanButton() const { return m_lan; }
    QCheckBox* AutoStartBox() const { return m_autoStart; }
    QLabel* WelcomeText() const { return m_welcomeText; }
    QLabel* NoticeText() const { return m_noticeText; }
    QLabel* FinishText() const { return m_finishText; }

    // The texts the character reads.
    static QString WelcomeSpeech();
    static QString CountrySpeech();
    static QString ConnectionSpeech();
    static QString AutoStartSpeech();
    static QString DataSourceNotice();
    static QString FinishSpeech();

private:
    void AddWelcome();
    void AddProvider();
    void AddConnection();
    void AddAutoStart();
    void AddFinish();
    void ShowPage(int id);
    void UpdateRealtimeNote();
    void Say(const QString& text, bool hideAfter);
    void Stop();

    CCharacterManager& m_characters;
    QComboBox* m_country = nullptr;
    QLabel* m_realtimeText = nullptr;
    QLabel* m_realtimeIcon = nullptr;
    QRadioButton* m_dialup = nullptr;
    QRadioButton* m_lan = nullptr;
    QCheckBox* m_autoStart = nullptr;
    QLabel* m_welcomeText = nullptr;
    QLabel* m_noticeText = nullptr;
    QLabel* m_finishText = nullptr;
    bool m_welcomeSpoken = false;
    bool m_finishSpoken = false;
};

// Runs the setup wizard when Quorvane was never set up (the connection "Type" is empty). True to
// go on with the start-up: at once when it was set up, else when the wizard ends with Finish; false
// when it is cancelled.
bool RunSetupWizard(CCharacterManager& characters, QWidget* parent = nullptr);
