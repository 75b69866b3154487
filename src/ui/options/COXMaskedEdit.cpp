#include "ui/options/COXMaskedEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QTimer>

namespace {

QChar FirstOf(const QString& text, QChar fallback)
{
    return text.isEmpty() ? fallback : text.front();
}

// The separator of a date format such as "M/d/yy" or "dd.MM.yy": its first character that is not a
// field letter or a quote.
QChar SeparatorOf(const QString& format, QChar fallback)
{
    for (const QChar c : format)
        if (!c.isLetter() && c != u'\'')
            return c;
    return fallback;
}

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// While one control takes the focus back after a refused validation, the control it takes it from
// does not validate in turn (two refusing controls would pass the focus back and forth for ever).
bool s_reclaimingFocus = false;

} // namespace

COXMaskedEdit::COXMaskedEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAcceptDrops(false);
}

void COXMaskedEdit::SetMask(const QString& mask)
{
    const QLocale locale;
    const QChar decimal = FirstOf(locale.decimalPoint(), u'.');
    const QChar thousands = FirstOf(locale.groupSeparator(), u',');
    const QChar date = SeparatorOf(locale.dateFormat(QLocale::ShortFormat), u'/');

    m_mask = mask;
    m_positions.clear();
    for (qsizetype i = 0; i < mask.size(); ++i) {
        MaskData data;
        const QChar c = mask.at(i);
        switch (c.unicode()) {
        case u'#':
            data.kind = Kind::Digit;
            break;
        case u'A':
            data.kind = Kind::LetterOrDigit;
            break;
        case u'?':
            data.kind = Kind::Letter;
            break;
        case u'>':
            data.kind = Kind::Upper;
            break;
        case u'<':
            data.kind = Kind::Lower;
            break;
        case u'&':
            data.kind = Kind::Printable;
            break;
        case u'+':
            data.kind = Kind::AmPm;
            break;
        case u'.':
            data.current = decimal;
            break;
        case u',':
            data.current = thousands;
            break;
        case u'/':
            data.current = date;
            break;
        case u'\\':
            data.current = i + 1 < mask.size() ? mask.at(++i) : c;
            break;
        default:
            data.current = c;
            break;
        }
        if (data.kind != Kind::Fixed)
            data.current = PromptChar;
        m_positions.append(data);
    }
    Redraw();
    setCursorPosition(NextInput(0));
}

QString COXMaskedEdit::GetInputData() const
{
    if (m_positions.isEmpty())
        return text();
    QString data;
    for (const MaskData& position : m_positions)
        if (position.kind != Kind::Fixed)
            data += position.current;
    return data;
}

bool COXMaskedEdit::SetInputData(const QString& text, int keep, bool raw)
{
    QString data = GetInputData().left(std::max(keep, 0));
    if (raw)
        data += text;
    else
        data += QString(text).remove(PromptChar);
    if (m_positions.isEmpty()) {
        setText(data);
        return true;
    }
    const bool fitted = Fill(data);
    Redraw();
    setCursorPosition(NextInput(0));
    return fitted;
}

bool COXMaskedEdit::IsInput(int index) const
{
    return index >= 0 && index < m_positions.size() && m_positions.at(index).kind != Kind::Fixed;
}

bool COXMaskedEdit::Accepts(Kind kind, QChar c)
{
    switch (kind) {
    case Kind::Fixed:
        return false;
    case Kind::Digit:
        return IsAsciiDigit(c);
    case Kind::LetterOrDigit:
        return c.isLetter() || IsAsciiDigit(c);
    case Kind::Letter:
    case Kind::Upper:
    case Kind::Lower:
        return c.isLetter();
    case Kind::Printable:
        return c >= u' ' && c <= u'~';
    case Kind::AmPm:
        return QStringView(u"APap").contains(c);
    }
    return false;
}

QChar COXMaskedEdit::Stored(Kind kind, QChar c)
{
    if (kind == Kind::Upper || kind == Kind::AmPm)
        return c.toUpper();
    if (kind == Kind::Lower)
        return c.toLower();
    return c;
}

bool COXMaskedEdit::Fill(const QString& data)
{
    bool fitted = true;
    qsizetype next = 0;
    for (MaskData& position : m_positions) {
        if (position.kind == Kind::Fixed)
            continue;
        position.current = PromptChar;
        while (next < data.size()) {
            const QChar c = data.at(next++);
            if (c == PromptChar)
                break;
            if (Accepts(position.kind, c)) {
                position.current = Stored(position.kind, c);
                break;
            }
            fitted = false;
        }
    }
    return fitted;
}

QString COXMaskedEdit::WindowText() const
{
    QString text;
    text.reserve(m_positions.size());
    for (const MaskData& position : m_positions)
        text += position.current;
    return text;
}

void COXMaskedEdit::Redraw()
{
    setText(WindowText());
}

int COXMaskedEdit::NextInput(int index) const
{
    const int size = int(m_positions.size());
    for (int i = std::max(index, 0); i < size; ++i)
        if (IsInput(i))
            return i;
    return size;
}

int COXMaskedEdit::InputOrdinal(int index) const
{
    int ordinal = 0;
    for (int i = 0; i < index && i < m_positions.size(); ++i)
        if (IsInput(i))
            ++ordinal;
    return ordinal;
}

void COXMaskedEdit::MoveForward(int index)
{
    const int caret = NextInput(index);
    setCursorPosition(caret);
    if (m_autoTab && caret == m_positions.size())
        focusNextChild();
}

void COXMaskedEdit::MoveBack(int index)
{
    if (IsInput(index)) {
        setCursorPosition(index);
        return;
    }
    for (int i = std::min(index, int(m_positions.size())) - 1; i >= 0; --i) {
        if (IsInput(i)) {
            setCursorPosition(i + 1);
            return;
        }
    }
    MoveForward(index);
}

void COXMaskedEdit::Beep()
{
    QApplication::beep();
    emit Beeped();
}

int COXMaskedEdit::RemoveInputs(int from, int to)
{
    QString data;
    int first = -1;
    for (int i = 0; i < m_positions.size(); ++i) {
        if (!IsInput(i))
            continue;
        if (i >= from && i < to) {
            if (first < 0)
                first = i;
            continue;
        }
        data += m_positions.at(i).current;
    }
    if (first >= 0)
        Fill(data);
    return first;
}

bool COXMaskedEdit::InsertAt(int index, QChar c)
{
    QString data = GetInputData();
    data.insert(InputOrdinal(NextInput(index)), c);
    return Fill(data);
}

void COXMaskedEdit::TypeCharacter(QChar c)
{
    const QList<MaskData> before = m_positions;
    if (hasSelectedText()) {
        const int start = selectionStart();
        const int end = selectionEnd();
        const int first = RemoveInputs(start, end);
        if (first < 0) {
            Beep();
            MoveForward(start);
            return;
        }
        // A character that does not fit leaves the selection as it was, not deleted.
        if (!InsertAt(first, c)) {
            m_positions = before;
            Beep();
            return;
        }
        Redraw();
        MoveForward(first + 1);
        return;
    }

    const int caret = cursorPosition();
    if (!IsInput(caret)) {
        Beep();
        MoveForward(caret);
        return;
    }
    if (m_insertMode) {
        if (!InsertAt(caret, c)) {
            m_positions = before;
            Beep();
            return;
        }
    } else {
        MaskData& position = m_positions[caret];
        if (c != PromptChar && !Accepts(position.kind, c)) {
            Beep();
            return;
        }
        position.current = c == PromptChar ? PromptChar : Stored(position.kind, c);
    }
    Redraw();
    MoveForward(caret + 1);
}

void COXMaskedEdit::DeleteKey()
{
    if (hasSelectedText()) {
        const int start = selectionStart();
        const int first = RemoveInputs(start, selectionEnd());
        if (first < 0) {
            Beep();
            MoveForward(start);
            return;
        }
        Redraw();
        MoveForward(first);
        return;
    }
    const int caret = cursorPosition();
    if (!IsInput(caret)) {
        Beep();
        return;
    }
    RemoveInputs(caret, caret + 1);
    Redraw();
    MoveForward(caret);
}

void COXMaskedEdit::BackspaceKey()
{
    if (hasSelectedText()) {
        const int start = selectionStart();
        const int first = RemoveInputs(start, selectionEnd());
        if (first < 0) {
            MoveBack(start);
            return;
        }
        Redraw();
        setCursorPosition(first);
        return;
    }
    const int caret = cursorPosition();
    int before = std::min(caret, int(m_positions.size())) - 1;
    while (before >= 0 && !IsInput(before))
        --before;
    if (before < 0) {
        MoveBack(caret);
        return;
    }
    RemoveInputs(before, before + 1);
    Redraw();
    setCursorPosition(before);
}

void COXMaskedEdit::Cut()
{
    if (!hasSelectedText())
        return;
    const int start = selectionStart();
    const int end = selectionEnd();
    copy();
    if (isReadOnly())
        return;
    RemoveInputs(start, end);
    Redraw();
    setCursorPosition(start);
}

void COXMaskedEdit::Paste(QClipboard::Mode mode)
{
    if (isReadOnly())
        return;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : start;
    // The pasted text goes between the input characters before the selection and those after it;
    // the fixed characters of the window text take no part, so a mask whose input positions accept
    // its own fixed characters does not take them in as input.
    QString before;
    QString after;
    for (int i = 0; i < m_positions.size(); ++i) {
        if (!IsInput(i))
            continue;
        if (i < start)
            before += m_positions.at(i).current;
        else if (i >= end)
            after += m_positions.at(i).current;
    }
    QString data = before + QApplication::clipboard()->text(mode) + after;
    Fill(data.remove(PromptChar));
    Redraw();
    int caret = NextInput(start);
    while (caret < m_positions.size() && (!IsInput(caret) || m_positions.at(caret).current != PromptChar))
        ++caret;
    setCursorPosition(caret);
}

void COXMaskedEdit::keyPressEvent(QKeyEvent* event)
{
    if (m_positions.isEmpty() || isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event == QKeySequence::Cut) {
        Cut();
        return;
    }
    if (event == QKeySequence::Paste) {
        Paste(QClipboard::Clipboard);
        return;
    }
    // The plain edit's word and line deletions and its undo history know nothing of the positions.
    for (const auto key :
         {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine})
        if (event == key)
            return;

    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const auto moveAs = [&](Qt::Key key, bool forward) {
        QKeyEvent moved(QEvent::KeyPress, key, event->modifiers());
        QLineEdit::keyPressEvent(&moved);
        if (shift)
            return;
        if (forward)
            MoveForward(cursorPosition());
        else
            MoveBack(cursorPosition());
    };
    const Qt::KeyboardModifiers commands =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (event->key()) {
    case Qt::Key_Home:
        moveAs(Qt::Key_Home, true);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveAs(Qt::Key_Right, true);
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveAs(Qt::Key_Left, false);
        return;
    case Qt::Key_Insert:
        if (commands == Qt::NoModifier && !shift) {
            m_insertMode = !m_insertMode;
            return;
        }
        break;
    case Qt::Key_Delete:
        if (commands == Qt::NoModifier) {
            DeleteKey();
            return;
        }
        break;
    case Qt::Key_Backspace:
        if (commands == Qt::NoModifier) {
            BackspaceKey();
            return;
        }
        break;
    default:
        break;
    }

    // Printable text: with no command modifier, or with AltGr (reported as Ctrl+Alt).
    const QString typed = event->text();
    const bool altGr = commands == (Qt::ControlModifier | Qt::AltModifier);
    if (!typed.isEmpty() && typed.front().isPrint() && (commands == Qt::NoModifier || altGr)) {
        for (const QChar c : typed)
            TypeCharacter(c);
        return;
    }

    event->ignore();
    QLineEdit::keyPressEvent(event);
    // Whatever else the plain edit did, it never changes the positions.
    if (text() != WindowText()) {
        const int caret = cursorPosition();
        Redraw();
        setCursorPosition(caret);
    }
}

void COXMaskedEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (m_positions.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    for (const QChar c : event->commitString())
        if (c.isPrint())
            TypeCharacter(c);
    event->accept();
}

void COXMaskedEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the selection clipboard: through the positions, as Paste does.
    if (event->button() == Qt::MiddleButton && !m_positions.isEmpty() && !isReadOnly()) {
        deselect();
        setCursorPosition(cursorPositionAt(event->position().toPoint()));
        Paste(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void COXMaskedEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (!m_positions.isEmpty() && hasSelectedText() && selectionStart() == 0 && selectionEnd() == text().size())
        setCursorPosition(NextInput(0));
}

void COXMaskedEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (m_positions.isEmpty() || s_reclaimingFocus || reason == Qt::ActiveWindowFocusReason ||
        reason == Qt::PopupFocusReason)
        return;
    Validation validation;
    emit ValidateInput(validation);
    if (validation.valid)
        return;
    Beep();
    // Taken back once the focus change under way has ended.
    const int caret = std::clamp(validation.caretPosition, 0, int(m_positions.size()));
    QTimer::singleShot(0, this, [self = QPointer<COXMaskedEdit>(this), caret] {
        if (self == nullptr || !self->isVisible())
            return;
        s_reclaimingFocus = true;
        self->setFocus(Qt::OtherFocusReason);
        s_reclaimingFocus = false;
        self->setCursorPosition(caret);
    });
}

void COXMaskedEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_positions.isEmpty()) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    // The plain edit's menu would edit the text past the positions: the same entries, through them.
    QMenu menu(this);
    const bool editable = !isReadOnly();
    menu.addAction(tr("Cu&t"), this, &COXMaskedEdit::Cut)->setEnabled(editable && hasSelectedText());
    menu.addAction(tr("&Copy"), this, &QLineEdit::copy)->setEnabled(hasSelectedText());
    menu.addAction(tr("&Paste"), this, [this] { Paste(QClipboard::Clipboard); })
        ->setEnabled(editable && !QApplication::clipboard()->text().isEmpty());
    menu.addAction(tr("Delete"), this, &COXMaskedEdit::DeleteKey)->setEnabled(editable && hasSelectedText());
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, &QLineEdit::selectAll)->setEnabled(!text().isEmpty());
    menu.exec(event->globalPos());
}
