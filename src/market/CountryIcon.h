#pragma once

#include <QIcon>
#include <QString>

// The flag of a country as an icon for lists and dialogs; a null icon for a name that is not one of
// the eleven countries (names compare exactly).
QIcon CountryIcon(const QString& country);
