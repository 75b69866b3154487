// Price wording and the rule / alert / announcement records fed with arbitrary text: nothing may
// crash, and a record written to its line reads back with the same fields.

#include "market/PriceFormat.h"
#include "rules/CAlert.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString LineBreaksAsNewLines(QString text)
{
    return text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(QChar(0x2028), u'\n');
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    PriceFormat::GroupThousands(text);
    PriceFormat::LocaleNumber(text);
    PriceFormat::FractionDisplay(text);
    PriceFormat::FractionSpeech(text);
    PriceFormat::DecimalSpeech(text);
    PriceFormat::TimeFormatWithoutSeconds(text);
    PriceFormat::ExpandMacros(text, nullptr);

    // The text as a line of each file.
    CRule parsedRule;
    parsedRule.line = text;
    parsedRule.Parse();
    parsedRule.Description();
    CAlert parsedAlert;
    parsedAlert.version = size % 3;
    parsedAlert.line = text;
    parsedAlert.Parse();
    CAnnouncement parsedAnnouncement;
    parsedAnnouncement.line = text;
    parsedAnnouncement.Parse();

    // The text as five fields: written and read back unchanged (line breaks come back as "\n").
    QStringList fields = text.split(QChar(1));
    while (fields.size() < 5)
        fields.append(QString());
    CAnnouncement announcement;
    announcement.SetName(fields[0]);
    announcement.SetGestureBefore(fields[1]);
    announcement.SetSayBefore(fields[2]);
    announcement.SetGestureAfter(fields[3]);
    announcement.SetSayAfter(fields[4]);
    announcement.Format();
    Require(!announcement.line.contains(u'\n') && !announcement.line.contains(u'\r'));
    CAnnouncement back;
    back.line = announcement.line;
    back.Parse();
    Require(back.Name() == LineBreaksAsNewLines(fields[0]));
    Require(back.GestureBefore() == LineBreaksAsNewLines(fields[1]));
    Require(back.SayBefore() == LineBreaksAsNewLines(fields[2]));
    Require(back.GestureAfter() == LineBreaksAsNewLines(fields[3]));
    Require(back.SayAfter() == LineBreaksAsNewLines(fields[4]));

    CRule rule;
    rule.SetStockName(fields[0]);
    rule.SetAttribute(fields[1]);
    rule.SetOperator(fields[2]);
    rule.SetNumber(fields[3]);
    rule.SetAnnouncement(fields[4]);
    rule.Format();
    CRule ruleBack;
    ruleBack.line = rule.line;
    ruleBack.Parse();
    if (!fields.join(QString()).contains(u'\n') && !fields.join(QString()).contains(u'\r'))
        Require(ruleBack.Description() == rule.Description() && ruleBack.Announcement() == rule.Announcement());
    return 0;
}
