#include "rules/AlertList.h"

#include "base/UserMessage.h"
#include "market/DataFile.h"
#include "rules/CAlert.h"
#include "rules/OwnedList.h"

using namespace Qt::StringLiterals;

namespace {

OwnedList<CAlert>& Alerts()
{
    static OwnedList<CAlert> alerts;
    return alerts;
}

const DataFile::Format& AlertFileFormat()
{
    static const DataFile::Format format{
        u"Alerts"_s,
        u"Quorvan Alert File Version : "_s,
        2,
        u"A newer version of the application wrote the alert file."_s,
        u"Quorvane Alert File Error"_s,
        u"An error occurred saving the alerts."_s,
    };
    return format;
}

} // namespace

int GetAlertCount()
{
    return Alerts().Count();
}

CAlert* GetAlert(int index)
{
    return Alerts().At(index);
}

bool InsertAlert(int index, std::unique_ptr<CAlert> alert)
{
    return Alerts().Insert(index, std::move(alert));
}

bool RemoveAlert(int index)
{
    return Alerts().Remove(index);
}

bool RemoveAllAlerts()
{
    Alerts().Clear();
    return true;
}

bool MoveAlertToTop(int index)
{
    return Alerts().Move(index, 0);
}

int FindAlertByRuleDescription(const QString& description)
{
    for (int i = 0; i < Alerts().Count(); ++i) {
        if (Alerts().At(i)->RuleDescription() == description)
            return i;
    }
    return -1;
}

bool InsertNewAlert(const QString& ruleDescription, const QString& price, const QString& when, const QString& country,
                    const QString& stockName)
{
    return InsertAlert(0, std::make_unique<CAlert>(ruleDescription, price, when, country, stockName));
}

bool RefreshAlertAt(int index, const QString& price, const QString& when)
{
    CAlert* alert = GetAlert(index);
    if (!alert || (alert->Price() == price && alert->When() == when))
        return false;
    alert->SetPrice(price);
    alert->SetWhen(when);
    MoveAlertToTop(index);
    return true;
}

bool LoadAlerts()
{
    DataFile::Contents contents;
    const DataFile::Source source = DataFile::Load(AlertFileFormat(), contents);
    if (source == DataFile::Source::None)
        return false;
    for (const QString& line : contents.records) {
        auto alert = std::make_unique<CAlert>();
        alert->version = contents.version;
        alert->line = line;
        alert->Parse();
        Alerts().Append(std::move(alert));
    }
    if (source == DataFile::Source::Backup)
        ShowUserMessage(u"Backup Alert file used"_s, u"Quorvane Alert File Warning"_s, MessageIcon::Information);
    return true;
}

bool SaveAlerts()
{
    QStringList lines;
    for (const auto& alert : Alerts()) {
        alert->Format();
        lines.append(alert->line);
    }
    return DataFile::Save(AlertFileFormat(), lines);
}
