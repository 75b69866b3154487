#include "ui/options/CNumericEdit.h"

#include <QApplication>
#include <QKeyEvent>

CNumericEdit::CNumericEdit(QWidget* parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &CNumericEdit::KeepAcceptedCharacters);
}

bool CNumericEdit::IsAccepted(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.';
}

void CNumericEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    if (!command && !text.isEmpty() && text.front().isPrint()) {
        for (const QChar c : text) {
            if (!IsAccepted(c)) {
                QApplication::beep();
                emit Refused();
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CNumericEdit::KeepAcceptedCharacters(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    int caret = cursorPosition();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsAccepted(text[i]))
            kept.append(text[i]);
        else if (i < cursorPosition())
            --caret;
    }
    if (kept == text)
        return;
    QApplication::beep();
    emit Refused();
    setText(kept);
    setCursorPosition(caret);
}
