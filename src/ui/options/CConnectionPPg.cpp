#include "ui/options/CConnectionPPg.h"

#include "base/UserMessage.h"
#include "ui/HelpTopics.h"
#include "ui/LayoutManager.h"
#include "ui/options/CNumericEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CConnectionPPg::CConnectionPPg(OptionsValues& values, QWidget* parent)
    : COptionsPage(values, u"Con&nection"_s, u":/options/connection.svg"_s, HelpTopics::ConnectionOptions, parent)
{}

void CConnectionPPg::Build()
{
    auto* group = new QGroupBox(u" Connection "_s, this);
    m_dialup = WithControlId(new QRadioButton(u"Connected via Dial-up (Modem)"_s, group), 256);
    m_lan = WithControlId(new QRadioButton(u"Connected via LAN (Cable Modem, DSL, etc.)"_s, group), 258);
    for (QRadioButton* radio : {m_dialup, m_lan}) {
        QFont bold = radio->font();
        bold.setBold(true);
        radio->setFont(bold);
    }
    m_autoDial = WithControlId(new QCheckBox(u"Dial the connection if necessary"_s, group), 260);
    m_autoHangup = WithControlId(new QCheckBox(u"Hang up after dialing and retrieving stock quotes"_s, group), 262);
    m_proxyLabel = WithControlId(new QLabel(u"HTTP Proxy Server (e.g. 192.168.0.1)"_s, group), 1055);
    m_proxy = WithControlId(new QLineEdit(group), 1052);
    m_portLabel = WithControlId(new QLabel(u"Port (e.g. 80)"_s, group), 1056);
    m_port = WithControlId(new CNumericEdit(group), 1053);
    m_port->setMaximumWidth(80);

    auto* grid = new QGridLayout(group);
    grid->addWidget(m_dialup, 0, 0, 1, 2);
    grid->addWidget(m_autoDial, 1, 0, 1, 2);
    grid->addWidget(m_autoHangup, 2, 0, 1, 2);
    grid->addWidget(m_lan, 3, 0, 1, 2);
    grid->addWidget(m_proxyLabel, 4, 0);
    grid->addWidget(m_portLabel, 4, 1);
    grid->addWidget(m_proxy, 5, 0);
    grid->addWidget(m_port, 5, 1);
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);

    m_bind.Choice({m_dialup, m_lan}, &OptionsValues::connection);
    m_bind.Check(m_autoDial, &CSettings::autoDial);
    m_bind.Check(m_autoHangup, &CSettings::autoHangup);
    m_bind.Text(m_proxy, &CSettings::proxyServer);
    m_bind.Text(m_port, &CSettings::proxyPort);

    connect(m_dialup, &QRadioButton::clicked, this, &CConnectionPPg::UpdateEnabling);
    connect(m_lan, &QRadioButton::clicked, this, &CConnectionPPg::UpdateEnabling);
}

void CConnectionPPg::OnSetActive()
{
    UpdateEnabling();
}

void CConnectionPPg::UpdateEnabling()
{
    const bool dialup = m_dialup->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{m_autoDial, m_autoHangup})
        control->setEnabled(dialup);
    for (QWidget* control : std::initializer_list<QWidget*>{m_proxyLabel, m_proxy, m_portLabel, m_port})
        control->setEnabled(!dialup);
}

bool CConnectionPPg::OnKillActive()
{
    if (!COptionsPage::OnKillActive())
        return false;
    // The proxy is used (and can be edited) only on a network connection.
    if (!m_lan->isChecked())
        return true;
    const QString proxy = m_proxy->text();
    const QString port = m_port->text();
    QString problem;
    if (!proxy.isEmpty() && port.contains(u'.'))
        problem = u"Please remove the periods in the Port."_s;
    else if (proxy.isEmpty() && !port.isEmpty())
        problem = u"Please specify a Proxy Server or remove the Port."_s;
    if (problem.isEmpty())
        return true;
    ShowUserMessage(problem, u"Quorva"_s, MessageIcon::None);
    m_proxy->setFocus(Qt::OtherFocusReason);
    return false;
}
