#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QList>

// A line edit that takes input only in the positions its mask allows, shows the mask's fixed
// characters between them and a prompt character (a space) in the empty ones.
//
// Mask characters: "#" a digit, "A" a letter or digit, "?" a letter, ">" a letter stored in upper
// case, "<" a letter stored in lower case, "&" any printable ASCII character, "+" one of A, P (either
// case, stored in upper case). Fixed: "." "," "/" the user locale's decimal, thousands and date
// separator, ":" itself, "\" followed by any character that character, and every other character
// itself. With an empty mask the control is a plain line edit.
//
// Fill and read it through SetInputData and GetInputData (the characters of the input positions
// only), not through setText.
class COXMaskedEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit COXMaskedEdit(QWidget* parent = nullptr);

    // What the control asks its owner when it loses the focus. Clearing valid takes the focus back
    // (with a beep) and puts the caret at caretPosition.
    struct Validation
    {
        bool valid = true;
        bool defaultValidation = true;
        int caretPosition = 0;
    };

    // Rebuilds the positions from the mask, all input positions empty, caret on the first of them.
    void SetMask(const QString& mask);
    QString GetMask() const { return m_mask; }

    // The characters of the input positions in order, an empty one as the prompt character.
    QString GetInputData() const;

    // Keeps the first keep characters of the input data and appends text (without its prompt
    // characters unless raw), then fills the input positions in order from that: a prompt character
    // empties a position, a character the position does not take is skipped, positions left over
    // become empty and surplus characters are dropped. True when no character was skipped. The caret
    // goes to the first input position.
    bool SetInputData(const QString& text, int keep = 0, bool raw = false);

    void SetInsertMode(bool insert) { m_insertMode = insert; }
    bool GetInsertMode() const { return m_insertMode; }

    // When on, moving past the last position moves the focus to the next control. Off by default.
    void SetAutoTab(bool autoTab) { m_autoTab = autoTab; }
    bool GetAutoTab() const { return m_autoTab; }

    static constexpr QChar PromptChar = u' ';

signals:
    // Sent when the focus leaves the control (not when the window merely loses activation);
    // handlers may clear validation.valid to keep the focus here.
    void ValidateInput(COXMaskedEdit::Validation& validation);
    // The control refused something (a character that does not fit, nothing to delete).
    void Beeped();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class Kind : quint8
    {
        Fixed,
        Digit,
        LetterOrDigit,
        Letter,
        Upper,
        Lower,
        Printable,
        AmPm,
    };
    struct MaskData
    {
        Kind kind = Kind::Fixed;
        QChar current;
    };

    bool IsInput(int index) const;
    static bool Accepts(Kind kind, QChar c);
    static QChar Stored(Kind kind, QChar c);
    // Fills the input positions from data as SetInputData describes; true when nothing was skipped.
    bool Fill(const QString& data);
    QString WindowText() const;
    void Redraw();
    // The first input position at or after index (the end of the text when there is none).
    int NextInput(int index) const;
    // How many input positions come before index.
    int InputOrdinal(int index) const;

    // The caret rules: forward to the next input position (with auto tab, past the last one to the
    // next control), back to an input position or just after the one before.
    void MoveForward(int index);
    void MoveBack(int index);
    void Beep();

    // Removes the input characters of the positions [from, to) from the input data and refills, so
    // later characters move left. Returns the first position removed, -1 when there was none.
    int RemoveInputs(int from, int to);
    // Inserts c into the input data before the first input position at or after index and refills.
    bool InsertAt(int index, QChar c);

    void TypeCharacter(QChar c);
    void DeleteKey();
    void BackspaceKey();
    void Cut();
    void Paste(QClipboard::Mode mode);

    QString m_mask;
    QList<MaskData> m_positions;
    bool m_insertMode = true;
    bool m_autoTab = false;
};
