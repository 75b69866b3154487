#include "speech/CCharacterManager.h"

#include "agent/IAgentCharacter.h"
#include "agent/IAgentControl.h"
#include "base/AppPaths.h"
#include "base/CSettings.h"
#include "base/UserMessage.h"
#include "market/PriceFormat.h"
#include "market/StockList.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"
#include "rules/CompanionValues.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// The "NotificationMethod" values.
constexpr qint32 kTalksWithBalloon = 0;
constexpr qint32 kTalksWithoutBalloon = 1;
constexpr qint32 kThinks = 2;
constexpr qint32 kSilent = 3;

bool IsCharacterFileName(const QString& fileName)
{
    return fileName.endsWith(u".acs"_s, Qt::CaseInsensitive);
}

// The regular files of a folder (symbolic links to files included), in name order.
QFileInfoList FilesIn(const QString& folder)
{
    return QDir(folder).entryInfoList(QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}

// Shows the wait cursor for the lifetime of the guard.
class WaitCursor
{
public:
    explicit WaitCursor(const std::function<void(bool)>& hook)
        : m_hook(hook)
    {
        if (m_hook)
            m_hook(true);
    }
    ~WaitCursor()
    {
        if (m_hook)
            m_hook(false);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    const std::function<void(bool)>& m_hook;
};

struct IntroductionLine
{
    const char16_t* gesture; // empty: none
    const char16_t* text;
};

constexpr std::array<IntroductionLine, 17> kIntroduction{{
    {u"Wave", u"Hi There. My name is Penny-Wit."},
    {u"ThumbUp", u"I'm delighted to meet you. I'm here to help you keep track of your favorite stocks."},
    {u"MoneyShow", u"Using my clear voice and smooth animations, you will be notified about the latest prices of "
                   u"your favorite stocks."},
    {u"GraphUp", u"I'll help you in good times."},
    {u"GraphDown", u"And in, not so good, times."},
    {u"Calculator", u"You can customize what I'll say and do."},
    {u"", u"I have a wide range of gestures to reflect different market events. Here are a few examples."},
    {u"SignSell", u"I can remind you when it's time to sell a stock."},
    {u"SignBuy", u"Or when it's time to buy one."},
    {u"", u"I don't recommend stocks or give financial advice. I was not designed for that purpose. Rather, I'm "
          u"here to assist you in following up on your stocks."},
    {u"PotGold", u"I can reflect positive market events."},
    {u"Crash", u"Or, events you wish did not happen."},
    {u"Bear", u"Here is another example."},
    {u"", u"Hopefully, by using Quorvane you will do more of this."},
    {u"Dance", u""},
    {u"Burn", u"And less of this."},
    {u"Advert", u"I would like to thank you on behalf of Brightwold for using Quorvane. I hope you are enjoying the "
                u"product and find it useful. Thank you."},
}};

} // namespace

CCharacterManager::CCharacterManager(IAgentControl& control)
    : m_control(control)
    , m_folders(AppPaths::CharacterFolders())
{}

void CCharacterManager::SetScreenSize(int width, int height)
{
    m_screenArea = QRect(0, 0, width, height);
}

IAgentCharacter* CCharacterManager::Character() const
{
    return m_control.Character(CharacterId());
}

bool CCharacterManager::IsQuiet() const
{
    return QueryGloballyDisabled();
}

QString CCharacterManager::FindCharacterFile(const QString& name) const
{
    if (name.isEmpty())
        return {};
    for (const QString& folder : m_folders) {
        for (const QFileInfo& file : FilesIn(folder)) {
            if (file.fileName().compare(name, Qt::CaseInsensitive) == 0)
                return file.filePath();
        }
    }
    return {};
}

QStringList CCharacterManager::InstalledCharacterFiles() const
{
    QStringList paths;
    for (const QString& folder : m_folders) {
        for (const QFileInfo& file : FilesIn(folder)) {
            if (IsCharacterFileName(file.fileName()))
                paths.append(file.filePath());
        }
    }
    return paths;
}

bool CCharacterManager::LoadCharacter()
{
    CSettings& settings = GetSettings();

    // The chosen file. A name that no file carries is still tried where the user would put it (the
    // message names that path).
    QString path = CharacterPath(settings.character);
    if (LoadFile(path))
        return true;

    // Any installed character, in folder and name order; the one that loads becomes the choice.
    const QString chosen = path;
    for (const QString& candidate : InstalledCharacterFiles()) {
        if (candidate == chosen)
            continue;
        path = candidate;
        if (LoadFile(path)) {
            settings.character = QFileInfo(path).fileName();
            return true;
        }
    }

    ShowLoadFailure(path);
    return false;
}

QString CCharacterManager::CharacterPath(const QString& name) const
{
    const QString path = FindCharacterFile(name);
    return path.isEmpty() ? m_folders.value(0) + u'/' + QFileInfo(name).fileName() : path;
}

void CCharacterManager::ShowLoadFailure(const QString& path) const
{
    // What the reader found wrong with the file (an older 1.5 character, damage at a byte, ...).
    QString text = u"Failed to load character "_s + path + u".\nMake sure that you have an ACS file (e.g. "_s +
                   u"Pennywit.ACS) in the "_s + m_folders.value(0) + u" folder before running Quorvane."_s;
    if (!m_loadError.isEmpty())
        text += u"\n\n"_s + m_loadError;
    ShowUserMessage(text, u"Quorva"_s, MessageIcon::Warning);
}

bool CCharacterManager::LoadNamedCharacter(const QString& name)
{
    const QString path = CharacterPath(name);
    if (LoadFile(path))
        return true;
    ShowLoadFailure(path);
    return false;
}

bool CCharacterManager::LoadFile(const QString& path)
{
    const WaitCursor wait(m_waitCursor);
    m_control.Unload(CharacterId());
    if (m_control.Load(CharacterId(), path, &m_loadError) != IAgentControl::LoadOk)
        return false;
    IAgentCharacter* character = Character();
    if (!character)
        return false;
    character->SetLanguageID(kLanguageId);
    m_loadedFile = path;
    return true;
}

QString CCharacterManager::CharacterName() const
{
    const IAgentCharacter* character = Character();
    if (!character)
        return QString();
    const QString name = character->Name();
    return name.isEmpty() ? QFileInfo(m_loadedFile).completeBaseName() : name;
}

void CCharacterManager::MoveToPosition()
{
    IAgentCharacter* character = Character();
    if (!character)
        return;
    const QString& position = GetSettings().position;
    if (position == u"Stay In Place"_s)
        return;

    const int width = m_screenArea.width();
    const int height = m_screenArea.height();
    int x = width / 2; // any other text, "Center" included: the left and top edges at the middle
    int y = height / 2;
    if (position == u"Top Left"_s) {
        x = 0;
        y = 0;
    } else if (position == u"Top Center"_s) {
        x = width / 2;
        y = 0;
    } else if (position == u"Top Right"_s) {
        x = width - character->Width();
        y = 0;
    } else if (position == u"Bottom Left"_s) {
        x = 0;
        y = height - character->Height();
    } else if (position == u"Bottom Center"_s) {
        x = width / 2;
        y = height - character->Height();
    } else if (position == u"Bottom Right"_s) {
        x = width - character->Width();
        y = height - character->Height();
    }
    character->MoveTo(m_screenArea.x() + x, m_screenArea.y() + y);
}

void CCharacterManager::ShowCharacter(bool force)
{
    if (!force && IsQuiet())
        return;
    if (IAgentCharacter* character = Character())
        character->Show(GetSettings().animateShow == 0);
}

void CCharacterManager::HideCharacter()
{
    const CSettings& settings = GetSettings();
    if (settings.alwaysShow != 0)
        return;
    if (IAgentCharacter* character = Character())
        character->Hide(settings.animateShow == 0);
}

void CCharacterManager::PlayGesture(const QString& gesture, bool overrideMethod, bool force)
{
    if (!force && IsQuiet())
        return;
    if (gesture == NoGesture())
        return;
    if (!overrideMethod && GetSettings().notificationMethod == kSilent)
        return;
    IAgentCharacter* character = Character();
    if (!character)
        return;
    MoveToPosition();
    ShowCharacter(force);
    character->Play(gesture);
}

void CCharacterManager::Say(const QString& text, const QString& gesture, bool overrideMethod, bool hideAfter,
                            bool force)
{
    if (!force && IsQuiet())
        return;
    IAgentCharacter* character = Character();
    if (!character)
        return;

    const CSettings& settings = GetSettings();
    bool speak = true;
    quint32 balloonStyle = IAgentCharacter::BalloonStyleDefault;
    if (!overrideMethod) {
        switch (settings.notificationMethod) {
        case kTalksWithoutBalloon:
            balloonStyle = 0;
            break;
        case kThinks:
            speak = false;
            break;
        case kSilent:
            return;
        case kTalksWithBalloon:
        default:
            break;
        }
    }

    MoveToPosition();
    ShowCharacter(force);
    character->SetBalloonStyle(balloonStyle);
    if (!gesture.isEmpty())
        character->Play(gesture); // a name the character lacks plays nothing
    if (speak)
        character->Speak(SpeechText(settings.speed, settings.pitch, text));
    else
        character->Think(text);
    if (hideAfter)
        HideCharacter();
}

QString CCharacterManager::SpeechText(qint32 speed, qint32 pitch, const QString& text)
{
    return u"\\Spd="_s + QString::number(speed) + u"\\\\Pit="_s + QString::number(pitch) + u"\\"_s + text;
}

void CCharacterManager::StopCharacter()
{
    if (IAgentCharacter* character = Character())
        character->StopAll();
}

void CCharacterManager::PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force)
{
    if ((!force && IsQuiet()) || !announcement)
        return;
    const Stock* stock = rule ? StockList::FindByName(rule->StockName()) : nullptr;
    CAnnouncement expanded(*announcement);
    expanded.SetSayBefore(PriceFormat::ExpandMacros(announcement->SayBefore(), stock));
    expanded.SetSayAfter(PriceFormat::ExpandMacros(announcement->SayAfter(), stock));
    Say(expanded.SayBefore(), expanded.GestureBefore(), false, false, force);
    Say(expanded.SayAfter(), expanded.GestureAfter(), false, false, force);
}

bool CCharacterManager::GetGestureList(QStringList& list) const
{
    list.clear();
    list.append(NoGesture());
    const IAgentCharacter* character = Character();
    if (!character)
        return false;

    // Insertion before the first name that sorts after the new one keeps equal names in the
    // character's order. The sentinel stays first.
    QStringList keys{QString()};
    for (const QString& name : character->AnimationNames()) {
        const QString key = name.toUpper();
        qsizetype at = 1;
        while (at < keys.size() && !(keys[at] > key))
            ++at;
        keys.insert(at, key);
        list.insert(at, name);
    }
    return true;
}

QStringList CCharacterManager::ListCharacterFiles() const
{
    QStringList names;
    QSet<QString> seen;
    for (const QString& path : InstalledCharacterFiles()) {
        const QString name = QFileInfo(path).fileName().toLower();
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    names.sort();
    return names;
}

void CCharacterManager::IntroduceCharacter()
{
    for (size_t i = 0; i < kIntroduction.size(); ++i) {
        const bool last = i + 1 == kIntroduction.size();
        Say(QString::fromUtf16(kIntroduction[i].text), QString::fromUtf16(kIntroduction[i].gesture), true, last, true);
    }
}

bool CCharacterManager::ChangeCharacter()
{
    const bool loaded = LoadCharacter();
    if (loaded)
        Say(u"Thanks for selecting me."_s, QString(), true, true, true);
    MoveToPosition();
    return loaded;
}

void CCharacterManager::HideCommand()
{
    StopCharacter();
    HideCharacter();
}

void CCharacterManager::Close()
{
    StopCharacter();
    m_control.Unload(CharacterId());
}
