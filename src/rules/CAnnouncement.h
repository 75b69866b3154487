#pragma once

#include "market/CsvRecord.h"

#include <QString>

// A named script that the character performs when a rule applies: a gesture and words at the
// beginning, a gesture and words at the end. The words may hold the macros STOCK, PRICE and CHANGE.
//
// In the file a record is one line, while the words come from multi-line edit boxes: a line break
// inside a field is stored as U+2028 LINE SEPARATOR and read back as "\n", so the user's layout
// survives and the record stays on one line.
class CAnnouncement : public CsvRecord
{
public:
    CAnnouncement() = default;

    bool Parse() override;  // Name, GestureBefore, SayBefore, GestureAfter, SayAfter
    bool Format() override; // the same five fields

    const QString& Name() const { return m_name; }
    const QString& GestureBefore() const { return m_gestureBefore; }
    const QString& SayBefore() const { return m_sayBefore; }
    const QString& GestureAfter() const { return m_gestureAfter; }
    const QString& SayAfter() const { return m_sayAfter; }

    void SetName(const QString& name) { m_name = name; }
    void SetGestureBefore(const QString& gesture) { m_gestureBefore = gesture; }
    void SetSayBefore(const QString& text) { m_sayBefore = text; }
    void SetGestureAfter(const QString& gesture) { m_gestureAfter = gesture; }
    void SetSayAfter(const QString& text) { m_sayAfter = text; }

    // The gesture text that stands for no gesture.
    static QString NoGesture() { return QStringLiteral("(None)"); }

private:
    QString m_name;
    QString m_gestureBefore;
    QString m_sayBefore;
    QString m_gestureAfter;
    QString m_sayAfter;
};
