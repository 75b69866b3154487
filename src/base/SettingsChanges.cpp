#include "base/SettingsChanges.h"

SettingsChanges& SettingsChanges::Instance()
{
    static SettingsChanges changes;
    return changes;
}

SettingsChanges::Section SettingsChanges::SectionNamed(QStringView name)
{
    static constexpr struct
    {
        char16_t const* name;
        Section section;
    } kSections[] = {{u"Ticker", Ticker},       {u"General", General},     {u"Rules", Rules},
                     {u"Broadcast", Broadcast}, {u"Character", Character}, {u"Connection", Connection}};
    for (const auto& entry : kSections) {
        if (name == QStringView(entry.name))
            return entry.section;
    }
    return Section(0);
}
