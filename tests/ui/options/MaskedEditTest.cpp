#include "ui/options/COXMaskedEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t kTime[] = u"##:## +M";

// Sends a key script: plain characters are typed, "{Name}" is a key (a "S-" prefix holds Shift,
// "C-" Ctrl).
void Press(QWidget* widget, QStringView script)
{
    static const QHash<QString, Qt::Key> keys{
        {u"Del"_s, Qt::Key_Delete},  {u"BS"_s, Qt::Key_Backspace}, {u"Left"_s, Qt::Key_Left},
        {u"Right"_s, Qt::Key_Right}, {u"Up"_s, Qt::Key_Up},        {u"Down"_s, Qt::Key_Down},
        {u"Home"_s, Qt::Key_Home},   {u"Ins"_s, Qt::Key_Insert},   {u"x"_s, Qt::Key_X},
        {u"v"_s, Qt::Key_V},
    };
    for (qsizetype i = 0; i < script.size(); ++i) {
        if (script[i] != u'{') {
            QTest::keyClick(widget, script[i].toLatin1());
            continue;
        }
        const qsizetype close = script.indexOf(u'}', i);
        QString name = script.mid(i + 1, close - i - 1).toString();
        Qt::KeyboardModifiers modifiers;
        if (name.startsWith(u"S-"_s))
            modifiers = Qt::ShiftModifier;
        if (name.startsWith(u"C-"_s))
            modifiers = Qt::ControlModifier;
        if (modifiers != Qt::NoModifier)
            name.remove(0, 2);
        EXPECT_TRUE(keys.contains(name)) << name.toStdString();
        QTest::keyClick(widget, keys.value(name), modifiers);
        i = close;
    }
}

struct KeyCase
{
    const char* what;
    const char16_t* mask;
    const char16_t* data; // filled in raw before the keys
    int caret;
    int selected; // characters selected from the caret on
    const char16_t* keys;
    const char16_t* text; // the window text afterwards
    int caretAfter;
    int beeps;
};

const KeyCase kKeyCases[] = {
    {"typing fills the positions", kTime, u"", 0, 0, u"0930p", u"09:30 PM", 8, 0},
    {"a letter where a digit goes", kTime, u"", 0, 0, u"x", u"  :    M", 0, 1},
    {"insert shifts right", kTime, u"93", 0, 0, u"0", u"09:3   M", 1, 0},
    {"insert that pushes a digit into the letter", kTime, u"0930P", 0, 0, u"1", u"09:30 PM", 0, 1},
    {"overwrite", kTime, u"0930P", 0, 0, u"{Ins}1", u"19:30 PM", 1, 0},
    {"overwrite refused, then accepted", kTime, u"0930P", 6, 0, u"{Ins}7a", u"09:30 AM", 8, 1},
    {"typing on a fixed position", kTime, u"0930P", 2, 0, u"5", u"09:30 PM", 3, 1},
    {"typing over a selection", u"&&&&", u"abcd", 1, 2, u"x", u"axd ", 2, 0},
    {"typing over a selection that does not fit", kTime, u"0930P", 0, 2, u"x", u"09:30 PM", 2, 1},
    {"typing over fixed characters only", kTime, u"0930P", 2, 1, u"5", u"09:30 PM", 3, 1},
    {"delete moves the rest left", kTime, u"0930P", 0, 0, u"{Del}", u"93:0   M", 0, 0},
    {"delete a selection", kTime, u"0930P", 0, 4, u"{Del}", u"0 :    M", 0, 0},
    {"delete at the end", kTime, u"0930P", 8, 0, u"{Del}", u"09:30 PM", 8, 1},
    {"delete a selection of fixed characters", kTime, u"0930P", 2, 1, u"{Del}", u"09:30 PM", 3, 1},
    {"backspace over a fixed character", kTime, u"0930P", 3, 0, u"{BS}", u"03:0   M", 1, 0},
    {"backspace at the start", kTime, u"0930P", 0, 0, u"{BS}", u"09:30 PM", 0, 0},
    {"backspace a selection", kTime, u"0930P", 3, 2, u"{BS}", u"09:    M", 3, 0},
    {"right skips fixed characters", kTime, u"0930P", 1, 0, u"{Right}", u"09:30 PM", 3, 0},
    {"down moves as right", kTime, u"0930P", 4, 0, u"{Down}", u"09:30 PM", 6, 0},
    {"left stops after the input before", kTime, u"0930P", 3, 0, u"{Left}", u"09:30 PM", 2, 0},
    {"left twice", kTime, u"0930P", 3, 0, u"{Up}{Left}", u"09:30 PM", 1, 0},
    {"home goes to the first input", u"(###)", u"123", 3, 0, u"{Home}", u"(123)", 1, 0},
    {"shift keeps the plain movement", kTime, u"0930P", 1, 0, u"{S-Right}", u"09:30 PM", 2, 0},
    {"case conversions", u"><?", u"", 0, 0, u"aB1c", u"Abc", 3, 1},
    {"an empty mask is a plain edit", u"", u"", 0, 0, u"ab{BS}", u"a", 1, 0},
};

struct FillCase
{
    const char16_t* mask;
    const char16_t* text;
    int keep; // of "0930P" held before
    bool raw;
    const char16_t* window;
    bool fitted;
};

const FillCase kFillCases[] = {
    {u"#A?><&+", u"9zxyY~a", 0, false, u"9zxYy~A", true}, {u"A?&&+", u"-1é-éb", 0, false, u"1é-b ", false},
    {u"\\#\\A#", u"5", 0, false, u"#A5", true},           {u"##", u"1234", 0, false, u"12", true},
    {kTime, u"45", 2, false, u"09:45  M", true},          {kTime, u"1 2", 0, false, u"12:    M", true},
    {kTime, u"1 2", 0, true, u"1 :2   M", true},          {kTime, u"12:45 am", 0, false, u"12:45 AM", false},
};

class MaskedEditTest : public ::testing::Test
{
protected:
    COXMaskedEdit edit;
    QSignalSpy beeps{&edit, &COXMaskedEdit::Beeped};

    void Prepare(QStringView mask, QStringView data, int caret, int selected)
    {
        edit.SetMask(mask.toString());
        edit.SetInsertMode(true);
        if (!data.isEmpty())
            edit.SetInputData(data.toString(), 0, true);
        edit.setSelection(caret, selected);
        if (selected == 0)
            edit.setCursorPosition(caret);
        beeps.clear();
    }
};

} // namespace

TEST_F(MaskedEditTest, KeysEditOnlyTheInputPositions)
{
    for (const KeyCase& c : kKeyCases) {
        SCOPED_TRACE(c.what);
        Prepare(c.mask, c.data, c.caret, c.selected);
        Press(&edit, c.keys);
        EXPECT_EQ(edit.text(), QStringView(c.text));
        EXPECT_EQ(edit.cursorPosition(), c.caretAfter);
        EXPECT_EQ(beeps.count(), c.beeps);
    }
}

TEST_F(MaskedEditTest, SetInputDataFillsAndConverts)
{
    for (const FillCase& c : kFillCases) {
        SCOPED_TRACE(QString::fromUtf16(c.mask).toStdString() + " <- " + QString::fromUtf16(c.text).toStdString());
        edit.SetMask(QString::fromUtf16(c.mask));
        edit.SetInputData(u"0930P"_s);
        EXPECT_EQ(edit.SetInputData(QString::fromUtf16(c.text), c.keep, c.raw), c.fitted);
        EXPECT_EQ(edit.text(), QStringView(c.window));
    }
}

TEST_F(MaskedEditTest, SeparatorsFollowTheLocale)
{
    const QLocale before;
    for (const auto& [locale, window] :
         {std::pair{QLocale(QLocale::German, QLocale::Germany), u"1,2.3.4:5."_s},
          std::pair{QLocale(QLocale::English, QLocale::UnitedStates), u"1.2,3/4:5."_s}}) {
        QLocale::setDefault(locale);
        edit.SetMask(u"#.#,#/#:#\\."_s);
        edit.SetInputData(u"12345"_s);
        EXPECT_EQ(edit.text(), window);
    }
    QLocale::setDefault(before);
}

TEST_F(MaskedEditTest, CutAndPasteGoThroughThePositions)
{
    QClipboard* clipboard = QApplication::clipboard();
    Prepare(kTime, u"0930P", 0, 8);
    Press(&edit, u"{C-x}");
    EXPECT_EQ(clipboard->text(), u"09:30 PM"_s);
    EXPECT_EQ(edit.text(), u"  :    M"_s);
    EXPECT_EQ(edit.cursorPosition(), 0);

    clipboard->setText(u"12:45 am"_s);
    Press(&edit, u"{C-v}");
    EXPECT_EQ(edit.text(), u"12:45 AM"_s);
    EXPECT_EQ(edit.cursorPosition(), 8) << "no empty position left";

    // Over a selection: the pasted text goes between the data before and after it.
    clipboard->setText(u"1"_s);
    Prepare(kTime, u"0930P", 0, 2);
    Press(&edit, u"{C-v}");
    EXPECT_EQ(edit.text(), u"13:0   M"_s);
    EXPECT_EQ(edit.cursorPosition(), 4) << "on the first empty position";

    // Fixed characters that an input position would take stay out of the data.
    clipboard->setText(u"x"_s);
    Prepare(u"&&-&&", u"abcd", 2, 0);
    Press(&edit, u"{C-v}");
    EXPECT_EQ(edit.text(), u"ab-xc"_s);
}

TEST_F(MaskedEditTest, FocusRulesAutoTabAndValidation)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new COXMaskedEdit;
    auto* second = new COXMaskedEdit;
    layout->addWidget(first);
    layout->addWidget(second);
    first->SetMask(u"(##)"_s);
    second->SetMask(QString::fromUtf16(kTime));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // Tabbing in puts the caret on the first input position instead of selecting everything.
    first->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), second);
    EXPECT_FALSE(second->hasSelectedText());
    QTest::keyClick(second, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(first->cursorPosition(), 1);

    // Auto tab: typing into the last position moves on.
    first->SetAutoTab(true);
    Press(first, u"42");
    EXPECT_EQ(first->text(), u"(42)"_s);
    EXPECT_EQ(QApplication::focusWidget(), second);

    // A refused validation takes the focus back, beeps and puts the caret where the owner said.
    QSignalSpy secondBeeps(second, &COXMaskedEdit::Beeped);
    int asked = 0;
    QObject::connect(second, &COXMaskedEdit::ValidateInput, second, [&](COXMaskedEdit::Validation& v) {
        EXPECT_TRUE(v.valid);
        EXPECT_TRUE(v.defaultValidation);
        v.valid = ++asked > 1;
        v.caretPosition = 3;
    });
    first->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == second; }));
    EXPECT_EQ(second->cursorPosition(), 3);
    EXPECT_EQ(secondBeeps.count(), 1);
    first->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), first) << "accepted the second time";
    EXPECT_EQ(asked, 2);
}
