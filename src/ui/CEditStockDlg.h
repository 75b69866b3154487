#pragma once

#include "ui/CIconDialog.h"

#include <QString>

#include <memory>

class IPageHost;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Stock;

// The Edit Stock dialog: a stock's country, display name, spoken name and symbol. It shows the
// country's flag and whether real-time quotes exist there, and opens the country's symbol lookup page
// with the name typed so far. A new stock is marked by the name "(New)" (title "New Stock").
class CEditStockDlg : public CIconDialog
{
    Q_OBJECT

public:
    CEditStockDlg(IPageHost& host, QWidget* parent = nullptr);

    // The four values: set before exec(), read after OK.
    QString name;
    QString symbol;
    QString country;
    QString spokenName;

    static QString NewStockName() { return QStringLiteral("(New)"); }

    QComboBox* CountryList() const { return m_country; }
    QLineEdit* NameEdit() const { return m_name; }
    QLineEdit* SpokenNameEdit() const { return m_spokenName; }
    QLineEdit* SymbolEdit() const { return m_symbol; }
    QPushButton* OkButton() const { return m_ok; }
    QLabel* RealtimeIcon() const { return m_realtimeIcon; }
    QLabel* RealtimeText() const { return m_realtimeText; }
    QLabel* Flag() const { return m_flag; }

    // Opens the lookup page for the country and name in the controls (the Lookup Symbol button).
    void OnLookupSymbol();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Initialize();
    void UpdateCountryDisplay();
    void UpdateOk();
    void OnOk();

    IPageHost& m_host;
    bool m_initialized = false;
    QComboBox* m_country = nullptr;
    QLabel* m_flag = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_spokenName = nullptr;
    QLineEdit* m_symbol = nullptr;
    QLabel* m_realtimeIcon = nullptr;
    QLabel* m_realtimeText = nullptr;
    QPushButton* m_ok = nullptr;
};

// Runs the dialog on a stock; on OK stores its name, spoken name, symbol and (when one is chosen)
// country, and returns true.
bool RunStockEditor(Stock& stock, IPageHost& host, QWidget* parent);

// Runs the dialog for a new stock ("(New)", the "DefaultCountry" setting); on OK returns a new stock
// with the four values, else null.
std::unique_ptr<Stock> NewStock(IPageHost& host, QWidget* parent);
