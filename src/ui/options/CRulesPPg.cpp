#include "ui/options/CRulesPPg.h"

#include "ui/HelpTopics.h"
#include "ui/LayoutManager.h"
#include "ui/options/CUpDownEdit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CRulesPPg::CRulesPPg(OptionsValues& values, QWidget* parent)
    : COptionsPage(values, u"&Rules"_s, u":/options/rules.svg"_s, HelpTopics::RulesOptions, parent)
{}

void CRulesPPg::Build()
{
    auto* group = new QGroupBox(u" Rule Checking Settings "_s, this);
    auto* check = WithControlId(new QCheckBox(u"Check rules every"_s, group), 241);
    m_interval = WithControlId(new CUpDownEdit(group), 211);
    m_interval->setMaximumWidth(80);
    auto* read = WithControlId(new QCheckBox(u"Read rule announcements"_s, group), 243);
    auto* once = WithControlId(new QCheckBox(u"Read announcement, for the same rule, just once"_s, group), 253);

    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(check);
    intervalRow->addWidget(m_interval);
    intervalRow->addWidget(new QLabel(u"minute(s)"_s, group));
    intervalRow->addStretch(1);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(intervalRow);
    groupLayout->addWidget(read);
    groupLayout->addWidget(once);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch(1);

    m_bind.Check(check, &CSettings::checkRules);
    m_bind.Integer(m_interval, &CSettings::rulesInterval);
    m_bind.Check(read, &CSettings::readAnnouncments);
    m_bind.Check(once, &CSettings::readOnce);
}
