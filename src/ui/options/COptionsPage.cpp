#include "ui/options/COptionsPage.h"

#include <QHash>

COptionsPage::COptionsPage(OptionsValues& values, const QString& caption, const QString& icon, int helpTopic,
                           QWidget* parent)
    : QWidget(parent)
    , m_bind(values)
    , m_caption(caption)
    , m_icon(icon)
    , m_helpTopic(helpTopic)
{}

QIcon COptionsPage::TabIcon() const
{
    // Drawn once for the run: every sheet shows the same pictures.
    static QHash<QString, QIcon> icons;
    auto found = icons.find(m_icon);
    if (found == icons.end())
        found = icons.insert(m_icon, QIcon(QIcon(m_icon).pixmap(16, 16)));
    return *found;
}

void COptionsPage::Activate()
{
    if (!m_initialised) {
        m_initialised = true;
        Build();
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
