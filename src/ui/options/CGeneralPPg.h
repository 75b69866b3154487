#pragma once

#include "ui/options/COptionsPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The General page: the primary country, how prices are shown, starting with the session, the stock
// list's row colours and the hours when the program is active.
class CGeneralPPg final : public COptionsPage
{
    Q_OBJECT

public:
    explicit CGeneralPPg(OptionsValues& values, QWidget* parent = nullptr);

    QLineEdit* StartEdit() const { return m_start; }
    QLineEdit* StopEdit() const { return m_stop; }
    QLabel* PaletteWarning() const { return m_paletteWarning; }

    // The five input characters of a time edit (hours, minutes, A or P; a blank where nothing was typed).
    static QString TimeInput(const QLineEdit& edit);
    static void SetTimeInput(QLineEdit& edit, const QString& input);

protected:
    void Build() override;
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void PaintSwatches();

    QLabel* m_swatches[2] = {};
    QList<QWidget*> m_colourControls;
    QLabel* m_paletteWarning = nullptr;
    QLineEdit* m_start = nullptr;
    QLineEdit* m_stop = nullptr;
};
