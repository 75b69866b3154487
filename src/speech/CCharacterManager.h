#pragma once

#include "rules/IAnnouncer.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

class IAgentCharacter;
class IAgentControl;

// Drives the animated character: loads the character file chosen in the options (falling back to
// any installed one), places it at the configured screen position, shows and hides it, plays its
// gestures and makes it speak or think in the configured way. Everything the character says goes
// through Say. Nothing is queued here: every operation hands its requests to the character engine,
// which plays them in the order they were made.
//
// The options come from GetSettings() ("Character", "Position", "NotificationMethod", "Speed",
// "Pitch", "AlwaysShow", "AnimateShow") and the quiet switch ("Globally Disable"). Without a loaded
// character every operation does nothing.
//
// It is also the announcer of the rule check.
//
// UI thread only.
class CCharacterManager final : public IAnnouncer
{
public:
    // The id under which the character is always loaded.
    static QString CharacterId() { return QStringLiteral("Quorvan"); }
    // The first entry of every gesture list: no gesture.
    static QString NoGesture() { return QStringLiteral("(None)"); }
    // The language the character speaks in (US English).
    static constexpr quint32 kLanguageId = 1033;

    explicit CCharacterManager(IAgentControl& control);
    CCharacterManager(const CCharacterManager&) = delete;
    CCharacterManager& operator=(const CCharacterManager&) = delete;

    // The screen area, in desktop coordinates, that MoveToPosition places the character in: the
    // primary screen's available area, whose origin need not be (0, 0) (the window keeps it up to
    // date). Empty until set. SetScreenSize(w, h) is SetScreenArea(QRect(0, 0, w, h)).
    void SetScreenArea(const QRect& area) { m_screenArea = area; }
    void SetScreenSize(int width, int height);
    const QRect& ScreenArea() const { return m_screenArea; }
    int ScreenWidth() const { return m_screenArea.width(); }
    int ScreenHeight() const { return m_screenArea.height(); }

    // Called with true before a character file is read and with false afterwards, for the wait cursor.
    void SetWaitCursorHook(std::function<void(bool on)> hook) { m_waitCursor = std::move(hook); }

    // The folders searched for character files, in order (AppPaths::CharacterFolders() unless set).
    // The first one is the folder that messages name.
    void SetCharacterFolders(const QStringList& folders) { m_folders = folders; }
    const QStringList& CharacterFolders() const { return m_folders; }

    // Loads the "Character" file, found in the characters folders with its name compared without
    // regard to case. When it does not load, tries the installed character files in turn; the one
    // that loads becomes the "Character" setting (in memory, stored with the next save). When none
    // loads, tells the user (with the reason the last file tried gave) and returns false.
    bool LoadCharacter();
    // Unloads the character and loads the file at path in its place; false when it does not load
    // (no character is loaded then).
    bool LoadFile(const QString& path);
    // Loads the character file of that name (found as LoadCharacter finds the "Character" file) and
    // no other: when it does not load, tells the user as LoadCharacter does and returns false (no
    // character is loaded then). For trying a character out before it is chosen.
    bool LoadNamedCharacter(const QString& name);
    // The loaded character (fetched by its id for every use), or nullptr.
    IAgentCharacter* Character() const;

    // The loaded character's name (from its file, else the file's base name); empty without one.
    QString CharacterName() const;

    // Moves the character to the "Position" setting.
    void MoveToPosition();
    // Shows the character, unless quiet and not forced.
    void ShowCharacter(bool force);
    // Hides the character, unless "AlwaysShow" is on.
    void HideCharacter();
    // Plays a gesture: nothing for "(None)", when quiet and not forced, or when the character is
    // silent ("NotificationMethod" 3) and the method is not overridden.
    void PlayGesture(const QString& gesture, bool overrideMethod, bool force);
    // Says text with an optional gesture before it (empty: none). overrideMethod ignores the
    // "NotificationMethod" (the character talks with a balloon), hideAfter hides the character when
    // done, force ignores the quiet switch.
    void Say(const QString& text, const QString& gesture, bool overrideMethod, bool hideAfter, bool force);
    // Stops whatever the character is doing and drops every queued request.
    void StopCharacter();

    // Performs an announcement (nothing when it is absent, or when quiet and not forced): a copy of it
    // with STOCK, PRICE and CHANGE expanded for the rule's stock (found by name; no stock without a
    // rule or without such a stock, as in previews), said as two Say calls with its gestures.
    void PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force) override;

    // "(None)" followed by the character's animation names in ascending order without regard to
    // case (equal names in the character's order). False, with just "(None)", without a character.
    bool GetGestureList(QStringList& list) const;
    // The installed character files' names in lower case, for the character choice: each name once
    // (a file in an earlier folder hides one of the same name in a later folder), in name order.
    QStringList ListCharacterFiles() const;

    // The introduction script: the character presents itself with its gestures.
    void IntroduceCharacter();
    // The options were confirmed with another character: load it and let it thank the user.
    bool ChangeCharacter();
    // The Hide command: silence the character, then hide it (unless "AlwaysShow" is on).
    void HideCommand();
    // The window closes: silence the character and unload it.
    void Close();

    // The speech request for text: the speed and pitch tags, then the text as it is.
    static QString SpeechText(qint32 speed, qint32 pitch, const QString& text);

private:
    bool IsQuiet() const;
    QString FindCharacterFile(const QString& name) const;
    // Where a character of that name is loaded from: its file in the characters folders, else the
    // first folder (only the name's file name counts, so a setting cannot reach elsewhere).
    QString CharacterPath(const QString& name) const;
    void ShowLoadFailure(const QString& path) const;
    QStringList InstalledCharacterFiles() const;

    IAgentControl& m_control;
    QRect m_screenArea;
    QStringList m_folders;
    std::function<void(bool)> m_waitCursor;
    QString m_loadError;  // why the last file tried did not load
    QString m_loadedFile; // the file the character was loaded from
};
