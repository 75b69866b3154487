#pragma once

#include "ui/options/OptionsValues.h"

#include <QColor>

#include <functional>
#include <initializer_list>
#include <vector>

class CUpDownEdit;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QWidget;

// The controls of an options page and the values they show, one line per control:
//
//   m_bind.Check(showBox, &CSettings::show);
//   m_bind.Integer(intervalEdit, &CSettings::advanceInterval);  // range from the settings table
//
// Show puts the values into the controls, Store takes them back into the sheet's working copy. A
// number's range and a list's choices come from the settings table (CSettings::EntryOf).
class OptionBindings
{
public:
    explicit OptionBindings(OptionsValues& values)
        : m_values(values)
    {}

    // A check box: a flag of the settings (0 or 1) or a yes/no of the sheet.
    void Check(QAbstractButton* box, qint32 CSettings::*flag);
    void Check(QAbstractButton* box, bool OptionsValues::*flag);
    // Radio buttons: the value is the index of the one that is checked (none checked keeps it).
    void Choice(std::initializer_list<QAbstractButton*> buttons, qint32 CSettings::*number);
    void Choice(std::initializer_list<QAbstractButton*> buttons, int OptionsValues::*number);
    // A drop-down list whose item index is the value (no selection keeps it).
    void Index(QComboBox* list, qint32 CSettings::*number);

    // How a drop-down list finds the item of a text.
    enum class Match
    {
        Exact,
        IgnoreCase, // and the item's text is what is stored
        Prefix,     // the first item that begins with the text, without regard to case
    };
    // What is stored when no item is selected (a stored text that no item matches shows none).
    enum class Unselected
    {
        KeepsValue,
        StoresEmpty,
    };
    // A drop-down list whose selected item's text is the value.
    void Item(QComboBox* list, QString CSettings::*text, Match match, Unselected unselected = Unselected::KeepsValue);
    void Item(QComboBox* list, QString OptionsValues::*text, Match match,
              Unselected unselected = Unselected::KeepsValue);

    // Text typed freely.
    void Text(QLineEdit* edit, QString CSettings::*text);
    void Text(QPlainTextEdit* edit, QString CSettings::*text);
    // An integer within the setting's range. Text that is no integer, or one out of range, is refused
    // with "Please enter an integer." or "Please enter an integer between %1 and %2.", and the focus
    // goes to the edit with its text selected (the text stays as typed).
    void Integer(CUpDownEdit* edit, qint32 CSettings::*number);
    // A slider over the setting's range.
    void Slider(QSlider* slider, qint32 CSettings::*number);
    // A colour (0x00BBGGRR): the button opens the colour dialog on it, and on OK the value changes at
    // once and `shown` repaints whatever shows it. Show calls `shown` too.
    void Colour(QAbstractButton* chooser, qint32 CSettings::*colour, std::function<void()> shown);

    void Show() const;
    // Stores every control's value in order; stops at the first that is refused (the user was told)
    // and returns false.
    bool Store() const;

    OptionsValues& Values() const { return m_values; }

    static QColor ColorOf(qint32 colour);
    static qint32 ColourRefOf(const QColor& color);
    // The colour dialog on a colour; true when the user chose one.
    static bool ChooseColour(QWidget* parent, qint32& colour);

private:
    struct Binding
    {
        std::function<void()> show;
        std::function<bool()> store;
    };
    void Add(std::function<void()> show, std::function<bool()> store);
    void ChoiceOf(std::initializer_list<QAbstractButton*> buttons, qint32* value);
    void ItemOf(QComboBox* list, QString* value, Match match, Unselected unselected);

    OptionsValues& m_values;
    std::vector<Binding> m_bindings;
};
