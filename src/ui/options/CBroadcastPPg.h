#pragma once

#include "ui/options/COptionsPage.h"

class CCharacterManager;
class QComboBox;

// The Broadcast page: whether and how often the prices are read out, and what the character says
// and does before and after them. The gesture lists hold "(None)" and the loaded character's
// animations.
class CBroadcastPPg final : public COptionsPage
{
    Q_OBJECT

public:
    // characters: where the gesture names come from (none: "(None)" only).
    CBroadcastPPg(OptionsValues& values, CCharacterManager* characters, QWidget* parent = nullptr);

    QComboBox* IntervalList() const { return m_interval; }
    QComboBox* GestureBeforeList() const { return m_gestureBefore; }
    QComboBox* GestureAfterList() const { return m_gestureAfter; }

protected:
    void Build() override;
    void OnInitPage() override;

private:
    CCharacterManager* m_characters;
    QComboBox* m_interval = nullptr;
    QComboBox* m_gestureBefore = nullptr;
    QComboBox* m_gestureAfter = nullptr;
};
