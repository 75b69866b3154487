#include "rules/RuleList.h"

#include "base/UserMessage.h"
#include "market/DataFile.h"
#include "rules/CRule.h"
#include "rules/OwnedList.h"

using namespace Qt::StringLiterals;

namespace {

OwnedList<CRule>& Rules()
{
    static OwnedList<CRule> rules;
    return rules;
}

const DataFile::Format& RuleFileFormat()
{
    static const DataFile::Format format{
        u"Rules"_s,
        u"Quorvan Rule File Version : "_s,
        1,
        u"A newer version of the application wrote the rule file."_s,
        u"Quorvane File Error"_s,
        u"An error occurred saving the rules."_s,
    };
    return format;
}

} // namespace

int GetRuleCount()
{
    return Rules().Count();
}

CRule* GetRule(int index)
{
    return Rules().At(index);
}

CRule* FindRuleByDescription(const QString& description)
{
    for (const auto& rule : Rules()) {
        if (rule->Description() == description)
            return rule.get();
    }
    return nullptr;
}

bool InsertRule(int index, std::unique_ptr<CRule> rule)
{
    return Rules().Insert(index, std::move(rule));
}

bool RemoveRule(int index)
{
    return Rules().Remove(index);
}

bool LoadRules()
{
    DataFile::Contents contents;
    const DataFile::Source source = DataFile::Load(RuleFileFormat(), contents);
    if (source == DataFile::Source::None)
        return false;
    for (const QString& line : contents.records) {
        auto rule = std::make_unique<CRule>();
        rule->version = contents.version;
        rule->line = line;
        rule->Parse();
        Rules().Append(std::move(rule));
    }
    if (source == DataFile::Source::Backup)
        ShowUserMessage(u"Backup Rule file used"_s, u"Quorvane File Warning"_s, MessageIcon::Information);
    return true;
}

bool SaveRules()
{
    QStringList lines;
    for (const auto& rule : Rules()) {
        rule->Format();
        lines.append(rule->line);
    }
    return DataFile::Save(RuleFileFormat(), lines);
}

void DeleteAllRules()
{
    Rules().Clear();
}
