#include "ui/options/OptionBindings.h"

#include "base/UserMessage.h"
#include "ui/options/CUpDownEdit.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>

using namespace Qt::StringLiterals;

namespace {

// The caption of the messages that refuse a typed value: the application title.
const QString kCaption = u"Quorva"_s;

int FindItem(const QComboBox& list, const QString& text, OptionBindings::Match match)
{
    for (int i = 0; i < list.count(); ++i) {
        const QString item = list.itemText(i);
        switch (match) {
        case OptionBindings::Match::Exact:
            if (item == text)
                return i;
            break;
        case OptionBindings::Match::IgnoreCase:
            if (item.compare(text, Qt::CaseInsensitive) == 0)
                return i;
            break;
        case OptionBindings::Match::Prefix:
            if (item.startsWith(text, Qt::CaseInsensitive))
                return i;
            break;
        }
    }
    return -1;
}

void RefuseInteger(CUpDownEdit* edit, const QString& message)
{
    ShowUserMessage(message, kCaption, MessageIcon::Warning);
    edit->setFocus(Qt::OtherFocusReason);
    edit->Edit()->selectAll();
}

} // namespace

void OptionBindings::Add(std::function<void()> show, std::function<bool()> store)
{
    m_bindings.push_back({std::move(show), std::move(store)});
}

void OptionBindings::Check(QAbstractButton* box, qint32 CSettings::*flag)
{
    qint32* value = &(m_values.settings.*flag);
    Add([box, value] { box->setChecked(*value != 0); },
        [box, value] {
            *value = box->isChecked() ? 1 : 0;
            return true;
        });
}

void OptionBindings::Check(QAbstractButton* box, bool OptionsValues::*flag)
{
    bool* value = &(m_values.*flag);
    Add([box, value] { box->setChecked(*value); },
        [box, value] {
            *value = box->isChecked();
            return true;
        });
}

void OptionBindings::Choice(std::initializer_list<QAbstractButton*> buttons, qint32 CSettings::*number)
{
    ChoiceOf(buttons, &(m_values.settings.*number));
}

void OptionBindings::Choice(std::initializer_list<QAbstractButton*> buttons, int OptionsValues::*number)
{
    ChoiceOf(buttons, &(m_values.*number));
}

void OptionBindings::ChoiceOf(std::initializer_list<QAbstractButton*> buttons, qint32* value)
{
    const std::vector<QAbstractButton*> list(buttons);
    Add(
        [list, value] {
            for (size_t i = 0; i < list.size(); ++i)
                list[i]->setChecked(qint32(i) == *value);
        },
        [list, value] {
            for (size_t i = 0; i < list.size(); ++i) {
                if (list[i]->isChecked())
                    *value = qint32(i);
            }
            return true;
        });
}

void OptionBindings::Index(QComboBox* list, qint32 CSettings::*number)
{
    qint32* value = &(m_values.settings.*number);
    Add([list, value] { list->setCurrentIndex(*value >= 0 && *value < list->count() ? *value : -1); },
        [list, value] {
            if (list->currentIndex() >= 0)
                *value = list->currentIndex();
            return true;
        });
}

void OptionBindings::Item(QComboBox* list, QString CSettings::*text, Match match, Unselected unselected)
{
    ItemOf(list, &(m_values.settings.*text), match, unselected);
}

void OptionBindings::Item(QComboBox* list, QString OptionsValues::*text, Match match, Unselected unselected)
{
    ItemOf(list, &(m_values.*text), match, unselected);
}

void OptionBindings::ItemOf(QComboBox* list, QString* value, Match match, Unselected unselected)
{
    Add([list, value, match] { list->setCurrentIndex(FindItem(*list, *value, match)); },
        [list, value, unselected] {
            if (list->currentIndex() >= 0)
                *value = list->currentText();
            else if (unselected == Unselected::StoresEmpty)
                value->clear();
            return true;
        });
}

void OptionBindings::Text(QLineEdit* edit, QString CSettings::*text)
{
    QString* value = &(m_values.settings.*text);
    Add([edit, value] { edit->setText(*value); },
        [edit, value] {
            *value = edit->text();
            return true;
        });
}

void OptionBindings::Text(QPlainTextEdit* edit, QString CSettings::*text)
{
    QString* value = &(m_values.settings.*text);
    Add([edit, value] { edit->setPlainText(*value); },
        [edit, value] {
            *value = edit->toPlainText();
            return true;
        });
}

void OptionBindings::Integer(CUpDownEdit* edit, qint32 CSettings::*number)
{
    qint32* value = &(m_values.settings.*number);
    const CSettings::Entry& entry = CSettings::EntryOf(number);
    const qint32 minimum = entry.minimum;
    const qint32 maximum = entry.maximum;
    Add([edit, value] { edit->SetText(QString::number(*value)); },
        [edit, value, minimum, maximum] {
            bool isInteger = false;
            const int typed = edit->Text().trimmed().toInt(&isInteger);
            if (!isInteger) {
                RefuseInteger(edit, u"Please enter an integer."_s);
                return false;
            }
            if (typed < minimum || typed > maximum) {
                RefuseInteger(edit, u"Please enter an integer between %1 and %2."_s.arg(minimum).arg(maximum));
                return false;
            }
            *value = typed;
            return true;
        });
}

void OptionBindings::Slider(QSlider* slider, qint32 CSettings::*number)
{
    qint32* value = &(m_values.settings.*number);
    const CSettings::Entry& entry = CSettings::EntryOf(number);
    slider->setRange(entry.minimum, entry.maximum);
    Add([slider, value] { slider->setValue(*value); },
        [slider, value] {
            *value = slider->value();
            return true;
        });
}

void OptionBindings::Colour(QAbstractButton* chooser, qint32 CSettings::*colour, std::function<void()> shown)
{
    qint32* value = &(m_values.settings.*colour);
    QObject::connect(chooser, &QAbstractButton::clicked, chooser, [chooser, value, shown] {
        if (ChooseColour(chooser->window(), *value) && shown)
            shown();
    });
    Add(
        [shown] {
            if (shown)
                shown();
        },
        [] { return true; });
}

void OptionBindings::Show() const
{
    for (const Binding& binding : m_bindings)
        binding.show();
}

bool OptionBindings::Store() const
{
    for (const Binding& binding : m_bindings) {
        if (!binding.store())
            return false;
    }
    return true;
}

QColor OptionBindings::ColorOf(qint32 colour)
{
    const auto bits = static_cast<quint32>(colour);
    return QColor(int(bits & 0xffu), int((bits >> 8) & 0xffu), int((bits >> 16) & 0xffu));
}

qint32 OptionBindings::ColourRefOf(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return qint32(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

bool OptionBindings::ChooseColour(QWidget* parent, qint32& colour)
{
    // The desktop's colour dialog where there is one; Qt's own shows its custom colours beside the
    // basic ones.
    QColorDialog dialog(ColorOf(colour), parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid())
        return false;
    colour = ColourRefOf(dialog.selectedColor());
    return true;
}
