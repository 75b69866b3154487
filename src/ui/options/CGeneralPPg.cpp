#include "ui/options/CGeneralPPg.h"

#include "base/UserMessage.h"
#include "market/Countries.h"
#include "ui/HelpTopics.h"
#include "ui/LayoutManager.h"
#include "ui/options/COXMaskedEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The times: two digits of hours, two of minutes, then A or P before the fixed M.
const QString kTimeMask = u"##:## +M"_s;

COXMaskedEdit* TimeEdit(QWidget* parent)
{
    auto* edit = new COXMaskedEdit(parent);
    edit->SetMask(kTimeMask);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(u"00:00 PMM"_s) + 16);
    return edit;
}

} // namespace

CGeneralPPg::CGeneralPPg(OptionsValues& values, QWidget* parent)
    : COptionsPage(values, u"&General"_s, u":/options/general.svg"_s, HelpTopics::GeneralOptions, parent)
{}

void CGeneralPPg::Build()
{
    auto label = [](const QString& text, QWidget* buddy) {
        auto* result = new QLabel(text, buddy->parentWidget());
        result->setBuddy(buddy);
        return result;
    };

    auto* general = new QGroupBox(u" General Settings "_s, this);
    auto* country = WithControlId(new QComboBox(general), 1061);
    country->addItems(Countries::CountryNames());
    auto* prices = WithControlId(new QComboBox(general), 1062);
    prices->addItems({u"Decimals  (e.g. 23.50)"_s, u"Fractions  (e.g. 23 1/2)"_s});
    auto* startWithSession = WithControlId(new QCheckBox(u"Start when I log in"_s, general), 249);
    auto* generalGrid = new QGridLayout(general);
    generalGrid->addWidget(label(u"Primary Country"_s, country), 0, 0);
    generalGrid->addWidget(country, 0, 1);
    generalGrid->addWidget(label(u"Display prices using"_s, prices), 1, 0);
    generalGrid->addWidget(prices, 1, 1);
    generalGrid->addWidget(startWithSession, 2, 0, 1, 2);
    generalGrid->setColumnStretch(1, 1);

    auto* colours = new QGroupBox(u" Stock Colors "_s, this);
    auto* coloursGrid = new QGridLayout(colours);
    struct Row
    {
        QString text;
        int swatchId;
        int chooserId;
        qint32 CSettings::*colour;
    };
    const Row rows[] = {{u"Even rows"_s, 1066, 1067, &CSettings::colorEvenRow},
                        {u"Odd rows"_s, 1068, 1069, &CSettings::colorOddRow}};
    for (int row = 0; row < 2; ++row) {
        auto* swatch = WithControlId(new QLabel(colours), rows[row].swatchId);
        swatch->setAutoFillBackground(true);
        swatch->setFrameShape(QFrame::StyledPanel);
        swatch->setFixedSize(48, 20);
        m_swatches[row] = swatch;
        auto* chooser = WithControlId(new QPushButton(u"..."_s, colours), rows[row].chooserId);
        chooser->setAutoDefault(false);
        chooser->setFixedWidth(32);
        auto* text = label(rows[row].text, chooser);
        coloursGrid->addWidget(text, row, 0);
        coloursGrid->addWidget(swatch, row, 1);
        coloursGrid->addWidget(chooser, row, 2);
        m_colourControls << text << swatch << chooser;
        m_bind.Colour(chooser, rows[row].colour, [this] { PaintSwatches(); });
    }
    m_paletteWarning = WithControlId(
        new QLabel(u"To use this feature, please set your display to show more than 256 colors."_s, colours), 1072);
    m_paletteWarning->setWordWrap(true);
    QPalette warningPalette = m_paletteWarning->palette();
    warningPalette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    m_paletteWarning->setPalette(warningPalette);
    coloursGrid->addWidget(m_paletteWarning, 2, 0, 1, 4);
    coloursGrid->setColumnStretch(3, 1);

    auto* hours = new QGroupBox(u" Hours when active "_s, this);
    m_start = WithControlId(TimeEdit(hours), 1108);
    m_stop = WithControlId(TimeEdit(hours), 1109);
    auto* weekdays = WithControlId(new QCheckBox(u"Active only during Weekdays (Mon - Fri)"_s, hours), 1110);
    auto* hoursGrid = new QGridLayout(hours);
    hoursGrid->addWidget(label(u"Start at"_s, m_start), 0, 0);
    hoursGrid->addWidget(m_start, 0, 1);
    hoursGrid->addWidget(label(u"Stop at"_s, m_stop), 1, 0);
    hoursGrid->addWidget(m_stop, 1, 1);
    hoursGrid->addWidget(weekdays, 2, 0, 1, 3);
    hoursGrid->setColumnStretch(2, 1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(colours, 1);
    lower->addWidget(hours, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addLayout(lower);
    layout->addStretch(1);

    m_bind.Item(country, &CSettings::defaultCountry, OptionBindings::Match::Prefix);
    m_bind.Index(prices, &CSettings::pricesFormat);
    m_bind.Check(startWithSession, &OptionsValues::startWithSession);
    m_bind.Check(weekdays, &OptionsValues::weekdaysOnly);
}

void CGeneralPPg::OnInitPage()
{
    const bool palette = Values().paletteDisplay;
    for (QWidget* control : m_colourControls)
        control->setVisible(!palette);
    m_paletteWarning->setVisible(palette);
    m_start->SetInputData(TimeInputText(Values().settings.activeStart));
    m_stop->SetInputData(TimeInputText(Values().settings.activeStop));
    COptionsPage::OnInitPage();
}

bool CGeneralPPg::OnKillActive()
{
    if (!COptionsPage::OnKillActive())
        return false;
    const std::optional<qint32> start = ParseTimeInput(m_start->GetInputData());
    const std::optional<qint32> stop = ParseTimeInput(m_stop->GetInputData());
    COXMaskedEdit* wrong = nullptr;
    QString message;
    if (!start) {
        wrong = m_start;
        message = u"Please enter a valid Start time between 12:00 AM and 12:59 PM.\nFor example, 09:30 AM is nine "
                  u"thirty in the morning."_s;
    } else if (!stop) {
        wrong = m_stop;
        message = u"Please enter a valid Stop time between 12:00 AM and 12:59 PM.\nFor example, 04:30 PM is four "
                  u"thirty in the afternoon."_s;
    }
    if (wrong != nullptr) {
        ShowUserMessage(message, u"Quorvane"_s, MessageIcon::Error);
        wrong->setFocus(Qt::OtherFocusReason);
        return false;
    }
    Values().settings.activeStart = *start;
    Values().settings.activeStop = *stop;
    return true;
}

void CGeneralPPg::PaintSwatches()
{
    const CSettings& settings = Values().settings;
    const qint32 colours[2] = {settings.colorEvenRow, settings.colorOddRow};
    for (int row = 0; row < 2; ++row) {
        QPalette palette = m_swatches[row]->palette();
        palette.setColor(QPalette::Window, OptionBindings::ColorOf(colours[row]));
        m_swatches[row]->setPalette(palette);
    }
}
