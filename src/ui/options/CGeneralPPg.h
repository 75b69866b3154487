#pragma once

#include "ui/options/COptionsPage.h"

class COXMaskedEdit;
class QLabel;
class QPushButton;

// The General page: the primary country, how prices are shown, starting with the session, the stock
// list's row colours and the hours when the program is active.
class CGeneralPPg final : public COptionsPage
{
    Q_OBJECT

public:
    explicit CGeneralPPg(OptionsValues& values, QWidget* parent = nullptr);

    // The time edits (mask "##:## +M"): made when the page is first shown.
    COXMaskedEdit* StartEdit() const { return m_start; }
    COXMaskedEdit* StopEdit() const { return m_stop; }

protected:
    void Build() override;
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void PaintSwatches();

    QLabel* m_swatches[2] = {};
    QList<QWidget*> m_colourControls;
    QLabel* m_paletteWarning = nullptr;
    COXMaskedEdit* m_start = nullptr;
    COXMaskedEdit* m_stop = nullptr;
};
