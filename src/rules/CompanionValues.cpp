#include "rules/CompanionValues.h"

#include "base/SettingsStore.h"

#include <QString>

using namespace Qt::StringLiterals;

namespace {

struct CompanionValue
{
    const char16_t* section;
    const char16_t* name;
    qint32 lowest;
    qint32 highest;
    qint32 held = 0;

    void Load()
    {
        const qint32 value = ReadNumber(QString::fromUtf16(section), QString::fromUtf16(name), 0);
        held = value >= lowest && value <= highest ? value : 0;
    }

    void Store(qint32 value)
    {
        if (value == held)
            return;
        held = value;
        WriteNumber(QString::fromUtf16(section), QString::fromUtf16(name), value);
    }
};

CompanionValue g_sortCriteria{u"Stock Sort", u"Criteria", 0, 5};
CompanionValue g_sortOrder{u"Stock Sort", u"Order", 0, 1};
CompanionValue g_globallyDisabled{u"Character", u"Globally Disable", INT32_MIN, INT32_MAX};

} // namespace

void LoadCompanionValues()
{
    g_sortCriteria.Load();
    g_sortOrder.Load();
    g_globallyDisabled.Load();
}

qint32 QueryStockSortCriteria()
{
    return g_sortCriteria.held;
}

void StoreStockSortCriteria(qint32 criteria)
{
    g_sortCriteria.Store(criteria);
}

qint32 QueryStockSortOrder()
{
    return g_sortOrder.held;
}

void StoreStockSortOrder(qint32 order)
{
    g_sortOrder.Store(order);
}

bool QueryGloballyDisabled()
{
    return g_globallyDisabled.held != 0;
}

void StoreGloballyDisabled(bool disabled)
{
    g_globallyDisabled.Store(disabled ? 1 : 0);
}
