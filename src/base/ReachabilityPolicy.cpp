#include "base/ReachabilityPolicy.h"

#include "base/CSettings.h"

using namespace Qt::StringLiterals;

bool ReachabilityHoldsRequestsBack()
{
    const CSettings& settings = GetSettings();
    return settings.type == u"Dialup"_s && settings.autoDial == 0;
}
