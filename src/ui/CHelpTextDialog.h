#pragma once

#include "ui/CQuorvaneDialog.h"

class CCharacterManager;
class QLabel;

// The help window that every Help button opens: one help topic (see HelpTopics), which the
// character reads aloud while playing its "Read" gesture. The reading follows the quiet switch, is
// spoken without a word balloon whatever the options say, and stops when the window closes.
class CHelpTextDialog final : public CQuorvaneDialog
{
    Q_OBJECT

public:
    // The gesture played while the text is read.
    static QString ReadGesture() { return QStringLiteral("Read"); }

    // characters: who reads the text; nullptr shows it silently.
    CHelpTextDialog(int topicId, CCharacterManager* characters, QWidget* parent = nullptr);
    ~CHelpTextDialog() override;

    int TopicId() const { return m_topicId; }
    QString Text() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ReadAloud();
    void StopReading();

    int m_topicId;
    CCharacterManager* m_characters;
    QLabel* m_text = nullptr;
    bool m_reading = false;
};

// Shows help topic topicId in a modal help window and returns when the user closes it.
void ShowHelpTopic(int topicId, CCharacterManager* characters, QWidget* parent = nullptr);
