#pragma once

#include "ui/options/COptionsPage.h"

class CUpDownEdit;
class QCheckBox;

// The Rules page: whether and how often the rules are checked, and how their announcements are read.
class CRulesPPg final : public COptionsPage
{
    Q_OBJECT

public:
    explicit CRulesPPg(OptionsValues& values, QWidget* parent = nullptr);

    CUpDownEdit* IntervalEdit() const { return m_interval; }

protected:
    void Build() override;

private:
    CUpDownEdit* m_interval = nullptr;
};
