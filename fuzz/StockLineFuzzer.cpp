// Fuzzes the stock file's line parser for versions 1 and 2: a damaged line gives a stock without a
// crash, and what the stock writes back parses to the same stock.
#include "market/Countries.h"
#include "market/DataFile.h"
#include "market/Stock.h"

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Countries::ConfigurationSnapshot configuration; // URL.ini read once per input
    for (QString line : DataFile::SplitLines(bytes)) {
        line.remove(u'\r');
        for (int version : {1, 2}) {
            Stock stock;
            stock.version = version;
            stock.line = line;
            stock.Parse();
            stock.ComputePercent();
            stock.Direction();
            stock.HasQuote();

            stock.Format();
            Stock back;
            back.version = 2;
            back.line = stock.line;
            back.Parse();
            Check(back.SameForDisplay(stock));
            Check(back.Change() == stock.Change());
            Check(back.Percent() == stock.Percent());
            Check(back.State() == stock.State());

            // The quote path: normalization with the multiplier never yields a non-number.
            stock.SetPrice(line.left(64), true);
            Check(!stock.Price().contains(u"inf"_s) && !stock.Price().contains(u"nan"_s));
        }
    }
    return 0;
}
