#include "market/CountryIcon.h"

#include "market/Countries.h"

QIcon CountryIcon(const QString& country)
{
    const QString resource = Countries::FlagResource(country);
    return resource.isEmpty() ? QIcon() : QIcon(resource);
}
