#include "market/Countries.h"

#include "base/AppPaths.h"
#include "market/NumberText.h"
#include "market/ProfileFile.h"
#include "market/Stock.h"
#include "market/StockList.h"

#include <algorithm>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace Countries {

namespace {

struct Country
{
    QString name;
    QString flag; // file name under :/flags
};

const QList<Country>& Table()
{
    static const QList<Country> table = {
        {u"United States"_s, u"us"_s}, {u"Canada"_s, u"ca"_s},         {u"Brazil"_s, u"br"_s},
        {u"UK & Ireland"_s, u"gb"_s},  {u"Germany"_s, u"de"_s},        {u"France"_s, u"fr"_s},
        {u"Italy"_s, u"it"_s},         {u"Spain"_s, u"es"_s},          {u"Sweden"_s, u"se"_s},
        {u"Norway"_s, u"no"_s},        {u"Australia & NZ"_s, u"au"_s},
    };
    return table;
}

struct IndexStock
{
    const char16_t* name;
    const char16_t* symbol;
    const char16_t* country;
};

struct DefaultList
{
    const char16_t* country;
    std::vector<IndexStock> stocks;
};

// The market indices added for a primary country, before the two United States indices.
const std::vector<DefaultList> kDefaultStocks = {
    {u"Canada",
     {{u"TSE 300", u"^TSE", u"Canada"},
      {u"MSE", u"^XXM", u"Canada"},
      {u"VSE", u"^VSEI", u"Canada"},
      {u"ASE", u"^ZZZ", u"Canada"}}},
    {u"Brazil", {{u"Bovespa", u"^BVSP", u"Brazil"}, {u"BVRJ", u"^IBV", u"Brazil"}, {u"Merval", u"^MERV", u"Brazil"}}},
    {u"UK & Ireland",
     {{u"FTSE 100", u"UKX.L", u"UK & Ireland"}, {u"CAC 40", u"CAC.PA", u"France"}, {u"DAX 30", u"DAX.FX", u"Germany"}}},
    {u"France",
     {{u"CAC 40", u"CAC.PA", u"France"},
      {u"SBF 120", u"399948.PA", u"France"},
      {u"SBF 250", u"399949.PA", u"France"},
      {u"MIDCAC", u"399950.PA", u"France"},
      {u"FTSE 100", u"UKX.L", u"UK & Ireland"},
      {u"DAX 30", u"DAX.FX", u"Germany"}}},
    {u"Germany",
     {{u"DAX 30", u"DAX.FX", u"Germany"},
      {u"MDAX", u"MDAX.FX", u"Germany"},
      {u"Neuer Markt (Kurs)", u"NMDK.FX", u"Germany"},
      {u"Neuer Markt (Performance)", u"NMDP.FX", u"Germany"},
      {u"CAC 40", u"CAC.PA", u"France"},
      {u"FTSE 100", u"UKX.L", u"UK & Ireland"}}},
    {u"Italy",
     {{u"MIBTEL", u"999.MI", u"Italy"},
      {u"MIB 30", u"930.MI", u"Italy"},
      {u"MIDEX", u"932.MI", u"Italy"},
      {u"FTSE 100", u"UKX.L", u"UK & Ireland"},
      {u"CAC 40", u"CAC.PA", u"France"},
      {u"DAX 30", u"DAX.FX", u"Germany"}}},
    {u"Spain",
     {{u"Madrid General", u"IGEN.MAD", u"Spain"},
      {u"IBEX 35", u"IND.MCE", u"Spain"},
      {u"CAC 40", u"CAC.PA", u"France"},
      {u"FTSE 100", u"UKX.L", u"UK & Ireland"},
      {u"DAX 30", u"DAX.FX", u"Germany"}}},
    {u"Sweden",
     {{u"SX General Index", u"IDX-01.ST", u"Sweden"},
      {u"FTSE 100", u"UKX.L", u"UK & Ireland"},
      {u"CAC 40", u"CAC.PA", u"France"},
      {u"DAX 30", u"DAX.FX", u"Germany"}}},
    {u"Norway",
     {{u"TOTX", u"TOTX.OL", u"Norway"},
      {u"SX General Index", u"IDX-01.ST", u"Sweden"},
      {u"FTSE 100", u"UKX.L", u"UK & Ireland"},
      {u"CAC 40", u"CAC.PA", u"France"},
      {u"DAX 30", u"DAX.FX", u"Germany"}}},
    {u"Australia & NZ",
     {{u"All Ordinaries", u"^AORD", u"Australia & NZ"},
      {u"New Zealand Top 40", u"^NZ40", u"Australia & NZ"},
      {u"FTSE 100", u"UKX.L", u"UK & Ireland"}}},
};

// The profile held by the innermost ConfigurationSnapshot of this thread, if any.
thread_local std::optional<ProfileFile>* t_snapshot = nullptr;

} // namespace

const QStringList& CountryNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const Country& country : Table())
            list.append(country.name);
        return list;
    }();
    return names;
}

QString FlagResource(const QString& country)
{
    for (const Country& entry : Table()) {
        if (entry.name == country)
            return u":/flags/"_s + entry.flag + u".svg"_s;
    }
    return QString();
}

QString ReadCountrySetting(const QString& country, const QString& key)
{
    if (t_snapshot) {
        if (!t_snapshot->has_value())
            t_snapshot->emplace(ProfileFile::Read(AppPaths::UrlIniFile()));
        return (*t_snapshot)->Value(country, key);
    }
    return ProfileFile::Read(AppPaths::UrlIniFile()).Value(country, key);
}

int PriceMultiplier(const QString& country)
{
    const QString value = ReadCountrySetting(country, u"PriceMultiplier"_s);
    if (value.isEmpty())
        return 1;
    return NumberText::LeadingInt32(value);
}

namespace {

const std::vector<IndexStock> kUnitedStatesIndices = {{u"Dow", u"^DJI", u"United States"},
                                                      {u"Nasdaq", u"^IXIC", u"United States"}};

// The country of the table that a text names, ignoring case; empty for none.
QString CanonicalCountry(QStringView text)
{
    for (const Country& country : Table()) {
        if (text.compare(country.name, Qt::CaseInsensitive) == 0)
            return country.name;
    }
    return QString();
}

bool IsPlainField(QStringView text, qsizetype maxLength)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c == u'<' || c == u'>' || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
    });
}

// The section's "DefaultStocks" list when it has a usable entry, else the built-in one.
std::vector<DefaultStock> DefaultListFor(const QString& section, const std::vector<IndexStock>& builtIn)
{
    std::vector<DefaultStock> list = section.isEmpty()
                                         ? std::vector<DefaultStock>{}
                                         : ParseDefaultStocks(ReadCountrySetting(section, u"DefaultStocks"_s));
    if (list.empty()) {
        for (const IndexStock& entry : builtIn)
            list.push_back(
                {QString::fromUtf16(entry.name), QString::fromUtf16(entry.symbol), QString::fromUtf16(entry.country)});
    }
    return list;
}

} // namespace

std::vector<DefaultStock> ParseDefaultStocks(const QString& value)
{
    std::vector<DefaultStock> result;
    QStringList seen;
    for (const QStringView entry : QStringView(value).split(u';')) {
        if (result.size() >= size_t(kMaxDefaultStocks))
            break;
        const QList<QStringView> fields = entry.split(u'|');
        if (fields.size() != 3)
            continue;
        const QStringView name = fields[0].trimmed();
        const QStringView symbol = fields[1].trimmed();
        const QString country = CanonicalCountry(fields[2].trimmed());
        if (!IsPlainField(name, 64) || !IsPlainField(symbol, 32) || country.isEmpty())
            continue;
        const QString nameText = name.toString();
        if (seen.contains(nameText))
            continue;
        seen.append(nameText);
        result.push_back({nameText, symbol.toString(), country});
    }
    return result;
}

void AddIndexStocks(const QString& defaultCountry)
{
    const ConfigurationSnapshot snapshot;
    std::vector<IndexStock> builtIn;
    for (const DefaultList& list : kDefaultStocks) {
        if (defaultCountry.compare(QStringView(list.country), Qt::CaseInsensitive) == 0) {
            builtIn = list.stocks;
            break;
        }
    }
    // The United States list is only the closing indices: its section's list is read for them.
    QString primary = CanonicalCountry(defaultCountry);
    if (primary == u"United States"_s)
        primary.clear();
    std::vector<DefaultStock> stocks = DefaultListFor(primary, builtIn);
    for (DefaultStock& closing : DefaultListFor(u"United States"_s, kUnitedStatesIndices))
        stocks.push_back(std::move(closing));
    for (const DefaultStock& entry : stocks) {
        if (!StockList::FindByName(entry.name))
            StockList::Add(entry.name, QString(), entry.symbol, entry.country);
    }
}

QString FormatPattern(const QString& pattern, const QStringList& arguments)
{
    QString result;
    result.reserve(pattern.size() + 32);
    qsizetype next = 0;
    const qsizetype length = pattern.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = pattern[i];
        if (c == u'%' && i + 1 < length) {
            if (pattern[i + 1] == u's') {
                if (next < arguments.size())
                    result += arguments[next];
                ++next;
                ++i;
                continue;
            }
            if (pattern[i + 1] == u'%') {
                result += u'%';
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

ConfigurationSnapshot::ConfigurationSnapshot()
    : m_outermost(t_snapshot == nullptr)
{
    if (m_outermost)
        t_snapshot = &m_profile;
}

ConfigurationSnapshot::~ConfigurationSnapshot()
{
    if (m_outermost)
        t_snapshot = nullptr;
}

} // namespace Countries
