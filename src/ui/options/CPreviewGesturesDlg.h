#pragma once

#include "ui/CQuorvaneDialog.h"

#include <QStringList>

class CCharacterManager;
class QPushButton;
class QTreeWidget;

// Preview Character Gestures: the list of a character's gestures; Play (or a double click) has the
// character play the chosen one while it says "Here it is.", Stop silences it.
class CPreviewGesturesDlg final : public CQuorvaneDialog
{
    Q_OBJECT

public:
    // gestures: the names to offer ("(None)" is left out).
    CPreviewGesturesDlg(const QStringList& gestures, CCharacterManager& characters, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_list; }
    QPushButton* PlayButton() const { return m_play; }
    QPushButton* StopButton() const { return m_stop; }

    void OnPlay();
    void OnStop();

private:
    CCharacterManager& m_characters;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_stop = nullptr;
};
