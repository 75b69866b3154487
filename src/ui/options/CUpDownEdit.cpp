#include "ui/options/CUpDownEdit.h"

#include <QLineEdit>

#include <algorithm>
#include <limits>

CUpDownEdit::CUpDownEdit(QWidget* parent)
    : QAbstractSpinBox(parent)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setAccelerated(true);
}

QString CUpDownEdit::Text() const
{
    return lineEdit()->text();
}

void CUpDownEdit::SetText(const QString& text)
{
    lineEdit()->setText(text);
}

void CUpDownEdit::stepBy(int steps)
{
    // Text that is no integer counts as 0, as a buddy edit of an up-down control does.
    const qint64 value = qint64(Text().trimmed().toInt()) + steps;
    const qint64 bounded = std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    SetText(QString::number(bounded));
    lineEdit()->selectAll();
}

QValidator::State CUpDownEdit::validate(QString& /*input*/, int& /*position*/) const
{
    return QValidator::Acceptable;
}

void CUpDownEdit::fixup(QString& /*input*/) const
{}

QAbstractSpinBox::StepEnabled CUpDownEdit::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}
