#include "ui/options/COptionsPage.h"

COptionsPage::COptionsPage(OptionsValues& values, const QString& caption, const QString& icon, int helpTopic,
                           QWidget* parent)
    : QWidget(parent)
    , m_bind(values)
    , m_caption(caption)
    , m_icon(icon)
    , m_helpTopic(helpTopic)
{}

void COptionsPage::Activate()
{
    if (!m_initialised) {
        m_initialised = true;
        OnInitPage();
    }
    OnSetActive();
}

bool COptionsPage::Leave()
{
    return !m_initialised || OnKillActive();
}

void COptionsPage::OnInitPage()
{
    m_bind.Show();
}

bool COptionsPage::OnKillActive()
{
    return m_bind.Store();
}
