#pragma once

#include "ui/CQuorvaneDialog.h"

#include <array>

class CCharacterManager;
class COptionsPage;
class QPushButton;
class QTabWidget;
struct OptionsValues;

// The Options sheet: six pages (Strip, Broadcast, Rules, General, Character, Connection) over the
// working copy of the settings, with OK, Cancel and Help. It opens on the page that was shown when
// OK was last pressed in this run. A page can be left only when it accepts what was typed on it; OK
// asks the shown page, and the sheet closes with OK only when it agrees. Alt and a letter that no
// control of the shown page takes switches pages: S, B, R, G, C, N.
class COptionsSheet final : public CQuorvaneDialog
{
    Q_OBJECT

public:
    enum Page
    {
        StripPage,
        BroadcastPage,
        RulesPage,
        GeneralPage,
        CharacterPage,
        ConnectionPage,
        PageCount
    };

    // characters: the loaded character, its gestures and the installed character files (may be null).
    COptionsSheet(OptionsValues& values, CCharacterManager* characters, QWidget* parent = nullptr);
    ~COptionsSheet() override;

    int ActivePage() const { return m_active; }
    // Shows another page once the shown one agrees to be left; false when it keeps the sheet there.
    bool SetActivePage(int index);
    COptionsPage* Page(int index) const;
    template <typename T>
    T* PageAs(int index) const
    {
        return qobject_cast<T*>(Page(index));
    }
    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* HelpButton() const { return m_help; }

    // The page the next sheet opens on (the one shown at the last OK of this run).
    static int RememberedPage();

    void OnOk();
    void OnHelp();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTabChanged(int index);
    // What Alt and this key does on the shown page; performs it when perform is set. False when
    // neither a control nor a page takes the letter.
    bool AltLetter(int key, bool perform);

    CCharacterManager* m_characters;
    QTabWidget* m_tabs = nullptr;
    std::array<COptionsPage*, PageCount> m_pages{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_help = nullptr;
    int m_active = -1;
    bool m_filtering = false;
};
