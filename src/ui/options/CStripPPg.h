#pragma once

#include "ui/options/COptionsPage.h"

class CUpDownEdit;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

// The Strip page: the Stock Strip's colours (shown on samples of its text), whether it is shown, on
// which screen edge, when a stock is bold and how fast the strip moves on to the next stocks.
class CStripPPg final : public COptionsPage
{
    Q_OBJECT

public:
    explicit CStripPPg(OptionsValues& values, QWidget* parent = nullptr);

    QCheckBox* ShowBox() const { return m_show; }
    QCheckBox* HideInactiveBox() const { return m_hideInactive; }
    QGroupBox* LocationGroup() const { return m_location; }
    CUpDownEdit* BoldThresholdEdit() const { return m_boldThreshold; }
    CUpDownEdit* AdvanceIntervalEdit() const { return m_advanceInterval; }
    // The five samples: background, name and price, no change, rise, fall.
    QLabel* Sample(int index) const { return m_samples[index]; }

protected:
    void Build() override;
    void OnSetActive() override;

private:
    void UpdateEnabling();
    void PaintSamples();

    QCheckBox* m_show = nullptr;
    QCheckBox* m_hideInactive = nullptr;
    QGroupBox* m_location = nullptr;
    CUpDownEdit* m_boldThreshold = nullptr;
    CUpDownEdit* m_advanceInterval = nullptr;
    QLabel* m_samples[5] = {};
};
