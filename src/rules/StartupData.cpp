#include "rules/StartupData.h"

#include "base/AppPaths.h"
#include "base/CSettings.h"
#include "market/Countries.h"
#include "market/StockList.h"
#include "rules/AlertList.h"
#include "rules/AnnouncementList.h"
#include "rules/CompanionValues.h"
#include "rules/RuleList.h"

bool LoadStartupData()
{
    InstallStarterAnnouncements(AppPaths::StarterAnnouncementFile());
    bool loaded = StockList::Load();
    if (!loaded)
        Countries::AddIndexStocks(GetSettings().defaultCountry);
    loaded = LoadRules() && loaded;
    loaded = LoadAlerts() && loaded;
    LoadCompanionValues();
    return loaded;
}

void DeleteAllData()
{
    StockList::DeleteAll();
    DeleteAllRules();
    RemoveAllAlerts();
    DeleteAllAnnouncements();
}
