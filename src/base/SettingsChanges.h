#pragma once

#include <QFlags>
#include <QObject>

// Announces which sections of the program's options changed, after a save that changed something,
// so that the windows re-apply only what changed (the strip its colours, the character its voice,
// and so on). One object for the whole program: the options live in one store.
class SettingsChanges final : public QObject
{
    Q_OBJECT

public:
    enum Section
    {
        Ticker = 0x01,
        General = 0x02,
        Rules = 0x04,
        Broadcast = 0x08,
        Character = 0x10,
        Connection = 0x20,
    };
    Q_DECLARE_FLAGS(Sections, Section)
    Q_FLAG(Sections)

    static SettingsChanges& Instance();

    // The section of that name ("Ticker", "General", …); 0 for a name that is none of the six.
    static Section SectionNamed(QStringView name);

signals:
    // Emitted by CSettings::Save when the saved values differ from the ones last loaded or saved.
    void Changed(SettingsChanges::Sections sections);

private:
    SettingsChanges() = default;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SettingsChanges::Sections)
