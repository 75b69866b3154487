#include "ui/options/CBroadcastPPg.h"

#include "speech/CCharacterManager.h"
#include "ui/HelpTopics.h"
#include "ui/LayoutManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The broadcast intervals offered, in minutes.
const QStringList kIntervals = {u"1"_s, u"5"_s, u"10"_s, u"15"_s, u"20"_s, u"30"_s, u"60"_s};

QPlainTextEdit* MultiLineEdit(QWidget* parent)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setTabChangesFocus(true);
    const int lines = 3;
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * lines + 2 * edit->frameWidth() + 8);
    return edit;
}

} // namespace

CBroadcastPPg::CBroadcastPPg(OptionsValues& values, CCharacterManager* characters, QWidget* parent)
    : COptionsPage(values, u"&Broadcast"_s, u":/options/broadcast.svg"_s, HelpTopics::BroadcastOptions, parent)
    , m_characters(characters)
{}

void CBroadcastPPg::Build()
{
    auto* group = new QGroupBox(u"Broadcast"_s, this);
    auto* read = WithControlId(new QCheckBox(u"Read broadcast every"_s, group), 275);
    m_interval = WithControlId(new QComboBox(group), 1043);
    m_interval->addItems(kIntervals);
    auto* sayTime = WithControlId(new QCheckBox(u"Say the time at the beginning of the broadcast"_s, group), 285);
    m_gestureBefore = WithControlId(new QComboBox(group), 276);
    auto* sayBefore = WithControlId(MultiLineEdit(group), 278);
    m_gestureAfter = WithControlId(new QComboBox(group), 280);
    auto* sayAfter = WithControlId(new QLineEdit(group), 282);
    auto* sayNoChanges = WithControlId(MultiLineEdit(group), 279);
    auto* format = WithControlId(new QLineEdit(group), 284);
    for (QComboBox* list : {m_gestureBefore, m_gestureAfter}) {
        list->setMaxVisibleItems(15);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(14);
    }

    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(read);
    intervalRow->addWidget(m_interval);
    intervalRow->addWidget(new QLabel(u"minute(s)"_s, group));
    intervalRow->addStretch(1);

    auto* grid = new QGridLayout;
    auto label = [group](const QString& text, QWidget* buddy) {
        auto* result = new QLabel(text, group);
        result->setBuddy(buddy);
        return result;
    };
    grid->addWidget(label(u"Gesture before broadcast"_s, m_gestureBefore), 0, 0);
    grid->addWidget(label(u"Say before broadcast"_s, sayBefore), 0, 1);
    grid->addWidget(m_gestureBefore, 1, 0, Qt::AlignTop);
    grid->addWidget(sayBefore, 1, 1);
    grid->addWidget(label(u"Gesture after broadcast"_s, m_gestureAfter), 2, 0);
    grid->addWidget(label(u"Say after broadcast"_s, sayAfter), 2, 1);
    grid->addWidget(m_gestureAfter, 3, 0);
    grid->addWidget(sayAfter, 3, 1);
    grid->addWidget(label(u"Say this, if prices haven't changed"_s, sayNoChanges), 4, 1);
    grid->addWidget(sayNoChanges, 5, 1);
    grid->addWidget(label(u"Broadcast format"_s, format), 6, 0, 1, 2);
    grid->addWidget(format, 7, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(intervalRow);
    groupLayout->addWidget(sayTime);
    groupLayout->addLayout(grid);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);

    m_bind.Check(read, &CSettings::readBroadcast);
    m_bind.Item(m_interval, &OptionsValues::broadcastInterval, OptionBindings::Match::Exact);
    m_bind.Check(sayTime, &CSettings::sayTime);
    m_bind.Text(sayNoChanges, &CSettings::sayNoChanges);
    m_bind.Item(m_gestureBefore, &CSettings::gestureBefore, OptionBindings::Match::Exact,
                OptionBindings::Unselected::StoresEmpty);
    m_bind.Text(sayBefore, &CSettings::sayBefore);
    m_bind.Item(m_gestureAfter, &CSettings::gestureAfter, OptionBindings::Match::Exact,
                OptionBindings::Unselected::StoresEmpty);
    m_bind.Text(sayAfter, &CSettings::sayAfter);
    m_bind.Text(format, &CSettings::format);
}

void CBroadcastPPg::OnInitPage()
{
    // The loaded character's gestures: never read from its file again.
    QStringList gestures;
    if (m_characters)
        m_characters->GetGestureList(gestures);
    else
        gestures.append(CCharacterManager::NoGesture());
    m_gestureBefore->addItems(gestures);
    m_gestureAfter->addItems(gestures);
    COptionsPage::OnInitPage();
}
