#pragma once

#include <QLineEdit>

// An edit for digits and periods (a port number): control keys, digits and "." are typed, any other
// printable character is refused with a beep. Text pasted or dropped in keeps only its digits and
// periods.
class CNumericEdit final : public QLineEdit
{
    Q_OBJECT

public:
    explicit CNumericEdit(QWidget* parent = nullptr);

    static bool IsAccepted(QChar c);

signals:
    // A character was refused (the edit beeped).
    void Refused();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void KeepAcceptedCharacters(const QString& text);
};
