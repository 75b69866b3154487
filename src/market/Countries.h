#pragma once

#include <QString>
#include <QStringList>

#include "market/ProfileFile.h"

#include <optional>
#include <vector>

// The eleven countries, their flags and default index stocks, and the per-country market
// configuration kept in URL.ini (one section per country, named exactly as below).
namespace Countries {

// "United States", "Canada", "Brazil", "UK & Ireland", "Germany", "France", "Italy", "Spain",
// "Sweden", "Norway", "Australia & NZ": the order of every country list shown to the user.
const QStringList& CountryNames();

// The Qt resource path of a country's flag image (":/flags/...svg"); empty for an unknown name.
// Names compare exactly.
QString FlagResource(const QString& country);

// The value of a key in the country's section of URL.ini, read afresh at every call; empty when the
// file, section or key is missing. At most 2047 characters.
QString ReadCountrySetting(const QString& country, const QString& key);

// The integer at the start of "PriceMultiplier" (0 for a non-numeric text); 1 when the value is empty.
int PriceMultiplier(const QString& country);

// Appends the default index stocks for the primary country (compared ignoring case), always ending
// with the two United States indices. The primary country's section of URL.ini may list its own
// stocks in "DefaultStocks", and the "United States" section the closing ones: each list read there
// (see ParseDefaultStocks) takes the place of the built-in one when it holds at least one usable
// entry. A name already on the list is not added twice.
void AddIndexStocks(const QString& defaultCountry);

// One entry of a default stock list.
struct DefaultStock
{
    QString name;
    QString symbol;
    QString country;
    bool operator==(const DefaultStock&) const = default;
};

// The most entries taken from one "DefaultStocks" value.
inline constexpr int kMaxDefaultStocks = 40;

// Reads a "DefaultStocks" value: entries "Name|Symbol|Country" separated by ";", blanks around each
// field trimmed. An entry is used when it has exactly three fields, a name of at most 64 and a symbol
// of at most 32 characters without control characters or markup ('<', '>'), and a country of the
// table (compared ignoring case; the table's spelling is kept). Other entries are skipped, as are
// names seen before in the value and everything after the first kMaxDefaultStocks entries used.
std::vector<DefaultStock> ParseDefaultStocks(const QString& value);

// Fills a URL or unit pattern from URL.ini: each "%s" takes the next argument (an empty text once the
// arguments run out), "%%" is a percent sign, and any other "%" sequence stays as literal text. The
// user-editable pattern is never handed to printf.
QString FormatPattern(const QString& pattern, const QStringList& arguments);

// While one exists on this thread, ReadCountrySetting reads URL.ini once and answers from that copy:
// loading thousands of stocks would otherwise read the file again for every one. Make one around a
// single bulk operation only, so that edits of URL.ini are still seen by the next one. Nested
// snapshots share the outermost one.
class ConfigurationSnapshot
{
public:
    ConfigurationSnapshot();
    ~ConfigurationSnapshot();
    ConfigurationSnapshot(const ConfigurationSnapshot&) = delete;
    ConfigurationSnapshot& operator=(const ConfigurationSnapshot&) = delete;

private:
    std::optional<ProfileFile> m_profile; // read on first use
    bool m_outermost = false;
};

} // namespace Countries
