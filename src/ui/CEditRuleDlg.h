#pragma once

#include "ui/CIconDialog.h"

#include <QString>

class IPageHost;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Edit Rule dialog: which stock, which attribute compared how with which number, and which
// announcement to perform. A rule being added from the Rules page (stock name "(New)") opens as
// "New Rule" with the first stock and the first announcement chosen. OK needs a number (any
// non-empty text); while there is none the hint "Type a number" shows.
class CEditRuleDlg : public CIconDialog
{
    Q_OBJECT

public:
    CEditRuleDlg(IPageHost& host, QWidget* parent = nullptr);

    // The five values: set before exec(), read after OK (a list without a selection gives "").
    QString stockName;
    QString attribute;
    QString operatorText;
    QString number;
    QString announcement;

    QComboBox* StockList() const { return m_stock; }
    QComboBox* AttributeList() const { return m_attribute; }
    QComboBox* OperatorList() const { return m_operator; }
    QLineEdit* NumberEdit() const { return m_number; }
    QLabel* Hint() const { return m_hint; }
    QComboBox* AnnouncementList() const { return m_announcement; }
    QPushButton* OkButton() const { return m_ok; }

    void OnPreview();
    void OnAnnouncements();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Initialize();
    void FillAnnouncements();
    void ApplyNumberRule();
    void OnOk();

    IPageHost& m_host;
    bool m_initialized = false;
    QComboBox* m_stock = nullptr;
    QComboBox* m_attribute = nullptr;
    QComboBox* m_operator = nullptr;
    QLineEdit* m_number = nullptr;
    QLabel* m_hint = nullptr;
    QComboBox* m_announcement = nullptr;
    QPushButton* m_ok = nullptr;
};
