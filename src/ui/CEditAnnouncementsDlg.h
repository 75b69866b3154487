#pragma once

#include "ui/CIconDialog.h"

#include <QString>

class IPageHost;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The Edit Announcements dialog: edits the whole announcement list (name, gesture and words at the
// beginning, gesture and words at the end) and saves it. The announcement in the controls is stored
// and the file saved whenever another one is chosen, before a preview, and when the dialog closes by
// any means (Close, Escape, the window's close box), so edits are always kept.
class CEditAnnouncementsDlg : public CIconDialog
{
    Q_OBJECT

public:
    CEditAnnouncementsDlg(IPageHost& host, QWidget* parent = nullptr);
    ~CEditAnnouncementsDlg() override;

    // Set before exec(): the dialog starts on the first announcement whose name begins with it.
    QString presetName;

    void done(int result) override;

    void OnAdd();
    void OnRemove();
    void OnPreview();

    // The index of the announcement whose fields are in the controls, -1 for none.
    int CurrentIndex() const { return m_current; }

    QListWidget* List() const { return m_list; }
    QLineEdit* NameEdit() const { return m_name; }
    QComboBox* GestureBeforeList() const { return m_gestureBefore; }
    QPlainTextEdit* SayBeforeEdit() const { return m_sayBefore; }
    QComboBox* GestureAfterList() const { return m_gestureAfter; }
    QLineEdit* SayAfterEdit() const { return m_sayAfter; }
    QPushButton* RemoveButton() const { return m_remove; }
    QPushButton* PreviewButton() const { return m_preview; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Initialize();
    void LoadSelection();
    void StoreCurrent();
    void ShowGesture(QComboBox* list, const QString& gesture);
    void OnNameEdited(const QString& text);

    IPageHost& m_host;
    bool m_initialized = false;
    bool m_closed = false;
    int m_current = -1;
    // The gestures of the announcement in the controls, as stored: one the current character lacks
    // is kept unless the user picks another.
    QString m_storedGestureBefore;
    QString m_storedGestureAfter;

    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_gestureBefore = nullptr;
    QPlainTextEdit* m_sayBefore = nullptr;
    QComboBox* m_gestureAfter = nullptr;
    QLineEdit* m_sayAfter = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_preview = nullptr;
};
