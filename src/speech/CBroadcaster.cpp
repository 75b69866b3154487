#include "speech/CBroadcaster.h"

#include "base/CSettings.h"
#include "market/PriceFormat.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "speech/CCharacterManager.h"

#include <QDateTime>
#include <QLocale>

using namespace Qt::StringLiterals;

CBroadcaster::CBroadcaster(CCharacterManager& characters)
    : m_characters(characters)
{}

bool CBroadcaster::HasPriceChanged(const Stock& stock)
{
    return stock.Price() != stock.ReportedPrice();
}

bool CBroadcaster::HasPriceChanged()
{
    const int count = StockList::Count();
    for (int index = 0; index < count; ++index) {
        const Stock* stock = StockList::At(index);
        if (stock && HasPriceChanged(*stock))
            return true;
    }
    return false;
}

QString CBroadcaster::DisplayTime(const QDateTime& time)
{
    const QLocale locale;
    return locale.toString(time.toLocalTime().time(),
                           PriceFormat::TimeFormatWithoutSeconds(locale.timeFormat(QLocale::ShortFormat)));
}

QString CBroadcaster::SpokenTime(const QString& display)
{
    QString spoken = display;
    if (!spoken.isEmpty() && spoken[0].isDigit() && spoken[0].digitValue() == 0)
        spoken.remove(0, 1);
    // The separator is the first non-digit after the hour's digits (a day period written before the
    // hour, as some languages do, stays as it is).
    qsizetype at = 0;
    while (at < spoken.size() && !spoken[at].isDigit())
        ++at;
    if (at == spoken.size())
        at = 0;
    for (; at < spoken.size(); ++at) {
        if (!spoken[at].isDigit()) {
            spoken[at] = u':';
            break;
        }
    }
    return spoken;
}

void CBroadcaster::Broadcast(const QDateTime& time, bool changed, bool force)
{
    const CSettings& settings = GetSettings();

    // Anything to say at all?
    if (!changed && !(force && !settings.sayNoChanges.isEmpty()) && settings.sayTime == 0)
        return;

    m_characters.PlayGesture(settings.gestureBefore, false, force);

    if (settings.sayTime != 0) {
        const QString display = DisplayTime(time);
        m_characters.Say(u"The time now is, \\Map=\""_s + SpokenTime(display) + u"\"=\""_s + display + u"\"\\"_s,
                         QString(), false, false, force);
    }

    QString closing;
    if (changed) {
        m_characters.Say(settings.sayBefore, QString(), false, false, force);
        for (int row = 0; row < StockList::Count(); ++row) {
            Stock* stock = StockList::At(row, true);
            if (!stock)
                continue;
            stock->SetReportedPrice(stock->Price());
            if (stock->IsEnabled())
                SayStock(*stock, force);
        }
        closing = settings.sayAfter;
    } else if (force) {
        closing = settings.sayNoChanges;
    } else {
        return; // the time alone
    }
    m_characters.Say(closing, settings.gestureAfter, false, false, force);
}

void CBroadcaster::SayStock(const Stock& stock, bool force)
{
    m_characters.Say(PriceFormat::ExpandMacros(GetSettings().format, &stock), QString(), false, false, force);
}

void CBroadcaster::HideCharacter()
{
    m_characters.HideCharacter();
}
