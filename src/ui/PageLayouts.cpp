#include "ui/PageLayouts.h"

#include <array>

namespace {

using namespace StocksPageIds;

constexpr std::array kStocksPage{
    LayoutMoveRule(LayoutTop, Unsort, LayoutBottom, LayoutPageId, -18),
    LayoutMoveRule(LayoutRight, Add, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, Read, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, Disable, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, StocksPageIds::Remove, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, StocksPageIds::Edit, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, AddRule, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, StocksPageIds::Help, LayoutRight, LayoutPageId, -3),
    LayoutStretchRule(LayoutRight, StocksPageIds::List, LayoutLeft, Read, -3),
    LayoutStretchRule(LayoutBottom, StocksPageIds::List, LayoutBottom, LayoutPageId, -20),
    LayoutMoveRule(LayoutTop, Chart, LayoutBottom, LayoutPageId, -18),
    LayoutMoveRule(LayoutTop, News, LayoutBottom, LayoutPageId, -18),
    LayoutMoveRule(LayoutRight, Chart, LayoutLeft, Read, -3),
    LayoutMoveRule(LayoutRight, News, LayoutLeft, Chart, -3),
    LayoutMoveRule(LayoutTop, MoveDown, LayoutBottom, LayoutPageId, -18),
    LayoutMoveRule(LayoutTop, MoveUp, LayoutBottom, LayoutPageId, -18),
    LayoutEndRule(),
};

constexpr std::array kAlertsPage{
    LayoutMoveRule(LayoutRight, AlertsPageIds::EditRule, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, AlertsPageIds::Remove, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, AlertsPageIds::RemoveAll, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, AlertsPageIds::Help, LayoutRight, LayoutPageId, -3),
    LayoutStretchRule(LayoutRight, AlertsPageIds::List, LayoutLeft, AlertsPageIds::Remove, -3),
    LayoutStretchRule(LayoutBottom, AlertsPageIds::List, LayoutBottom, LayoutPageId, -6),
    LayoutEndRule(),
};

constexpr std::array kRulesPage{
    LayoutMoveRule(LayoutRight, RulesPageIds::Add, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, RulesPageIds::Remove, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, RulesPageIds::Edit, LayoutRight, LayoutPageId, -3),
    LayoutMoveRule(LayoutRight, RulesPageIds::Help, LayoutRight, LayoutPageId, -3),
    LayoutStretchRule(LayoutRight, RulesPageIds::List, LayoutLeft, RulesPageIds::Add, -3),
    LayoutStretchRule(LayoutBottom, RulesPageIds::List, LayoutBottom, LayoutPageId, -6),
    LayoutEndRule(),
};

} // namespace

std::span<const LayoutRule> StocksPageLayout()
{
    return kStocksPage;
}

std::span<const LayoutRule> AlertsPageLayout()
{
    return kAlertsPage;
}

std::span<const LayoutRule> RulesPageLayout()
{
    return kRulesPage;
}
