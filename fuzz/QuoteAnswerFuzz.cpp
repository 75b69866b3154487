// Any quote service answer read as the comma-separated line: parsing never fails and never reads
// out of bounds.

#include "market/QuoteAnswer.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QuoteAnswer answer(text);
    if (!answer.timeZone.isEmpty() || answer.price.size() > text.size() || answer.time.size() > text.size())
        __builtin_trap();
    return 0;
}
