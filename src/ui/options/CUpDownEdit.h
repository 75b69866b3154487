#pragma once

#include <QAbstractSpinBox>

class QLineEdit;

// A number edit with an up-down control on its right: the arrows (and the Up and Down keys) add or
// take one from the integer typed there. It holds text, not a number: whatever is typed or pasted
// stays as it is, and the page that reads it checks it (a message on text that is no integer, or is
// out of range), so a typed value is never lost or corrected behind the user's back. The arrows have
// no range of their own.
class CUpDownEdit final : public QAbstractSpinBox
{
    Q_OBJECT

public:
    explicit CUpDownEdit(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    // The edit inside (for selecting and placing the caret).
    QLineEdit* Edit() const { return lineEdit(); }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& position) const override;
    void fixup(QString& input) const override;

protected:
    StepEnabled stepEnabled() const override;
};
