#pragma once

#include "ui/options/COptionsPage.h"

#include <QStringList>

class CCharacterManager;
class QComboBox;
class QPushButton;
class QSlider;

// The Character page: which character, where it stands, how it speaks (balloon, voice, speed and
// pitch) and whether it stays on the screen. Preview tries a character out without choosing it;
// Other Characters opens the web page about more characters.
class CCharacterPPg final : public COptionsPage
{
    Q_OBJECT

public:
    // characters: the loaded character and the installed character files (none: an empty list).
    CCharacterPPg(OptionsValues& values, CCharacterManager* characters, QWidget* parent = nullptr);

    QComboBox* CharacterList() const { return m_name; }
    QComboBox* PositionList() const { return m_position; }
    QPushButton* PreviewButton() const { return m_preview; }

    // Loads the chosen character (when it is not the current one), shows its gestures in the
    // Preview Character Gestures dialog and afterwards puts the current character back.
    void OnPreview();
    void OnOtherCharacters();

protected:
    void Build() override;
    void OnInitPage() override;

private:
    CCharacterManager* m_characters;
    QComboBox* m_name = nullptr;
    QComboBox* m_position = nullptr;
    QPushButton* m_preview = nullptr;
    QStringList m_gestures; // of the character last previewed
};
