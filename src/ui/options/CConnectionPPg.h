#pragma once

#include "ui/options/COptionsPage.h"

class CNumericEdit;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The Connection page: dial-up or network connection; dialling and hanging up for the one, the HTTP
// proxy for the other.
class CConnectionPPg final : public COptionsPage
{
    Q_OBJECT

public:
    explicit CConnectionPPg(OptionsValues& values, QWidget* parent = nullptr);

    QRadioButton* DialupButton() const { return m_dialup; }
    QRadioButton* LanButton() const { return m_lan; }
    QLineEdit* ProxyEdit() const { return m_proxy; }
    CNumericEdit* PortEdit() const { return m_port; }

protected:
    void Build() override;
    void OnSetActive() override;
    bool OnKillActive() override;

private:
    void UpdateEnabling();

    QRadioButton* m_dialup = nullptr;
    QRadioButton* m_lan = nullptr;
    QCheckBox* m_autoDial = nullptr;
    QCheckBox* m_autoHangup = nullptr;
    QLabel* m_proxyLabel = nullptr;
    QLineEdit* m_proxy = nullptr;
    QLabel* m_portLabel = nullptr;
    CNumericEdit* m_port = nullptr;
};
