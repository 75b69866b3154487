#include "ui/options/CCharacterPPg.h"

#include "base/MakerPages.h"
#include "base/SettingsStore.h"
#include "speech/CCharacterManager.h"
#include "ui/HelpTopics.h"
#include "ui/LayoutManager.h"
#include "ui/PageBrowser.h"
#include "ui/options/CPreviewGesturesDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QStringList kBehaviours = {u"Character Talks (With Balloon)"_s, u"Character Talks (No Balloon)"_s,
                                 u"Character Thinks (No Voice)"_s, u"Character Is Silent"_s};

QSlider* Slider(QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setTickPosition(QSlider::NoTicks);
    slider->setMinimumWidth(160);
    return slider;
}

} // namespace

CCharacterPPg::CCharacterPPg(OptionsValues& values, CCharacterManager* characters, QWidget* parent)
    : COptionsPage(values, u"&Character"_s, u":/options/character.svg"_s, HelpTopics::CharacterOptions, parent)
    , m_characters(characters)
{}

void CCharacterPPg::Build()
{
    auto* group = new QGroupBox(u"Character"_s, this);
    m_name = WithControlId(new QComboBox(group), 251);
    m_preview = WithControlId(new QPushButton(u"Preview"_s, group), 290);
    auto* others = WithControlId(new QPushButton(u"Other Characters"_s, group), 289);
    m_position = WithControlId(new QComboBox(group), 255);
    for (const char16_t* position : CSettings::EntryOf(&CSettings::position).choices)
        m_position->addItem(QString::fromUtf16(position));
    auto* behaviour = WithControlId(new QComboBox(group), 256);
    behaviour->addItems(kBehaviours);
    auto* speed = WithControlId(Slider(group), 1045);
    auto* pitch = WithControlId(Slider(group), 1046);
    auto* alwaysShow = WithControlId(new QCheckBox(u"Always show character"_s, group), 245);
    auto* animate = WithControlId(new QCheckBox(u"Animate character when showing or hiding it"_s, group), 247);
    for (QPushButton* button : {m_preview, others})
        button->setAutoDefault(false);

    auto label = [group](const QString& text, QWidget* buddy) {
        auto* result = new QLabel(text, group);
        result->setBuddy(buddy);
        return result;
    };
    auto* grid = new QGridLayout;
    grid->addWidget(label(u"Character Name"_s, m_name), 0, 0);
    grid->addWidget(m_name, 0, 1);
    auto* nameButtons = new QHBoxLayout;
    nameButtons->addWidget(m_preview);
    nameButtons->addWidget(others);
    nameButtons->addStretch(1);
    grid->addLayout(nameButtons, 1, 1);
    grid->addWidget(label(u"Character Position"_s, m_position), 2, 0);
    grid->addWidget(m_position, 2, 1);
    grid->addWidget(label(u"Character Behavior"_s, behaviour), 3, 0);
    grid->addWidget(behaviour, 3, 1);
    auto sliderRow = [group](QSlider* slider, const QString& low, const QString& high) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(low, group));
        row->addWidget(slider, 1);
        row->addWidget(new QLabel(high, group));
        return row;
    };
    grid->addWidget(label(u"Speech Speed"_s, speed), 4, 0);
    grid->addLayout(sliderRow(speed, u"Slow"_s, u"Fast"_s), 4, 1);
    grid->addWidget(label(u"Voice Pitch"_s, pitch), 5, 0);
    grid->addLayout(sliderRow(pitch, u"Low"_s, u"High"_s), 5, 1);
    grid->setColumnStretch(1, 1);

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(grid);
    groupLayout->addWidget(alwaysShow);
    groupLayout->addWidget(animate);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);

    m_bind.Item(m_name, &CSettings::character, OptionBindings::Match::IgnoreCase);
    m_bind.Item(m_position, &CSettings::position, OptionBindings::Match::Exact);
    m_bind.Index(behaviour, &CSettings::notificationMethod);
    m_bind.Slider(speed, &CSettings::speed);
    m_bind.Slider(pitch, &CSettings::pitch);
    m_bind.Check(alwaysShow, &CSettings::alwaysShow);
    m_bind.Check(animate, &CSettings::animateShow);

    connect(m_preview, &QPushButton::clicked, this, &CCharacterPPg::OnPreview);
    connect(others, &QPushButton::clicked, this, &CCharacterPPg::OnOtherCharacters);
}

void CCharacterPPg::OnInitPage()
{
    if (m_characters)
        m_name->addItems(m_characters->ListCharacterFiles());
    COptionsPage::OnInitPage();
}

void CCharacterPPg::OnPreview()
{
    if (m_characters == nullptr || m_name->currentIndex() < 0)
        return;
    const QString chosen = m_name->currentText();
    CSettings& settings = GetSettings();
    const QString before = settings.character;
    if (chosen.compare(before, Qt::CaseInsensitive) != 0) {
        if (!m_characters->LoadNamedCharacter(chosen)) {
            // The user was told; the current character comes back.
            m_characters->LoadCharacter();
            return;
        }
        settings.character = chosen;
    }
    // From the character now loaded (never from its file again): a list kept from an earlier
    // preview of another character would offer that one's gestures.
    m_characters->GetGestureList(m_gestures);

    {
        CPreviewGesturesDlg dialog(m_gestures, *m_characters, this);
        dialog.exec();
    }

    if (settings.character.compare(before, Qt::CaseInsensitive) != 0) {
        m_characters->StopCharacter();
        settings.character = before;
        m_characters->LoadCharacter();
    }
}

void CCharacterPPg::OnOtherCharacters()
{
    OpenPageLink(ReadText(u"ContactInfo"_s, u"CharURL"_s, MakerPages::CharacterPage()));
}
