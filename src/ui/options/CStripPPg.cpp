#include "ui/options/CStripPPg.h"

#include "ui/HelpTopics.h"
#include "ui/LayoutManager.h"
#include "ui/options/CUpDownEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

struct ColourRow
{
    const char16_t* label;
    const char16_t* sample; // the text shown in the colour; none for the background
    int sampleId;
    int chooserId;
    qint32 CSettings::*colour;
};

constexpr ColourRow kColours[] = {
    {u"&Background", u"", 1083, 1082, &CSettings::colorBackground},
    {u"&Name / Price", u"My Corp  5.25", 1068, 1069, &CSettings::colorStockName},
    {u"No &Change", u"0.00", 1070, 1071, &CSettings::colorNoChange},
    {u"&Pos Change", u"+2.25", 1072, 1073, &CSettings::colorPosChange},
    {u"Ne&g Change", u"-2.25", 1074, 1075, &CSettings::colorNegChange},
};

} // namespace

CStripPPg::CStripPPg(OptionsValues& values, QWidget* parent)
    : COptionsPage(values, u"&Strip"_s, u":/options/strip.svg"_s, HelpTopics::StripOptions, parent)
{}

void CStripPPg::Build()
{
    auto* colours = new QGroupBox(u" Colors "_s, this);
    auto* colourGrid = new QGridLayout(colours);
    QList<QPushButton*> choosers;
    for (int row = 0; row < int(std::size(kColours)); ++row) {
        const ColourRow& colour = kColours[row];
        auto* sample = WithControlId(new QLabel(QString::fromUtf16(colour.sample), colours), colour.sampleId);
        sample->setAutoFillBackground(true);
        sample->setFrameShape(QFrame::StyledPanel);
        sample->setMinimumSize(110, 20);
        sample->setAlignment(Qt::AlignCenter);
        m_samples[row] = sample;
        auto* chooser = WithControlId(new QPushButton(u"..."_s, colours), colour.chooserId);
        chooser->setAutoDefault(false);
        chooser->setFixedWidth(32);
        choosers.append(chooser);
        auto* label = new QLabel(QString::fromUtf16(colour.label), colours);
        label->setBuddy(chooser);
        colourGrid->addWidget(label, row, 0);
        colourGrid->addWidget(sample, row, 1);
        colourGrid->addWidget(chooser, row, 2);
    }

    auto* settings = new QGroupBox(u" Stock Strip Settings "_s, this);
    m_show = WithControlId(new QCheckBox(u"&Show Stock Strip"_s, settings), 1088);
    m_hideInactive = WithControlId(new QCheckBox(u"&Hide during inactive hours"_s, settings), 1112);
    auto* bold = WithControlId(new QCheckBox(u"Bo&ld stock if its price has changed more than"_s, settings), 1080);
    m_boldThreshold = WithControlId(new CUpDownEdit(settings), 1084);
    auto* advance = WithControlId(new QCheckBox(u"&Advance to next set of stocks every"_s, settings), 1081);
    m_advanceInterval = WithControlId(new CUpDownEdit(settings), 212);
    for (CUpDownEdit* edit : {m_boldThreshold, m_advanceInterval})
        edit->setFixedWidth(70);
    auto* settingsGrid = new QGridLayout(settings);
    settingsGrid->addWidget(m_show, 0, 0, 1, 3);
    settingsGrid->addWidget(m_hideInactive, 1, 0, 1, 3);
    settingsGrid->addWidget(bold, 2, 0);
    settingsGrid->addWidget(m_boldThreshold, 2, 1);
    settingsGrid->addWidget(new QLabel(u"percent (%)"_s, settings), 2, 2);
    settingsGrid->addWidget(advance, 3, 0);
    settingsGrid->addWidget(m_advanceInterval, 3, 1);
    settingsGrid->addWidget(new QLabel(u"seconds"_s, settings), 3, 2);
    settingsGrid->setColumnStretch(2, 1);

    m_location = new QGroupBox(u" Location "_s, this);
    auto* top = WithControlId(new QRadioButton(u"Top of Screen"_s, m_location), 1086);
    auto* bottom = WithControlId(new QRadioButton(u"Bottom of Screen"_s, m_location), 1087);
    auto* locationLayout = new QVBoxLayout(m_location);
    locationLayout->addWidget(top);
    locationLayout->addWidget(bottom);
    locationLayout->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(colours, 1);
    lower->addWidget(m_location);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settings);
    layout->addLayout(lower);
    layout->addStretch(1);

    for (int row = 0; row < int(std::size(kColours)); ++row)
        m_bind.Colour(choosers[row], kColours[row].colour, [this] { PaintSamples(); });
    m_bind.Check(m_show, &CSettings::show);
    m_bind.Check(m_hideInactive, &CSettings::hideInactive);
    m_bind.Choice({top, bottom}, &CSettings::location);
    m_bind.Check(bold, &CSettings::bold);
    m_bind.Integer(m_boldThreshold, &CSettings::boldThreshPct);
    m_bind.Check(advance, &CSettings::autoAdvance);
    m_bind.Integer(m_advanceInterval, &CSettings::advanceInterval);

    connect(m_show, &QCheckBox::toggled, this, &CStripPPg::UpdateEnabling);
}

void CStripPPg::OnSetActive()
{
    UpdateEnabling();
}

void CStripPPg::UpdateEnabling()
{
    const bool shown = m_show->isChecked();
    m_hideInactive->setEnabled(shown);
    m_location->setEnabled(shown);
}

void CStripPPg::PaintSamples()
{
    const CSettings& settings = Values().settings;
    const QColor background = OptionBindings::ColorOf(settings.colorBackground);
    for (int row = 0; row < int(std::size(kColours)); ++row) {
        QPalette palette = m_samples[row]->palette();
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::WindowText, OptionBindings::ColorOf(settings.*kColours[row].colour));
        m_samples[row]->setPalette(palette);
    }
}
