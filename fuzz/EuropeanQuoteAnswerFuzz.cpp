// Any answer in the French and German form: converted and parsed without failing; the conversion
// leaves no semicolon and no decimal comma behind.

#include "market/EuropeanQuoteAnswer.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString converted = EuropeanQuoteAnswer::ToCommaSeparated(text);
    if (converted.size() != text.size() || converted.contains(u';'))
        __builtin_trap();
    const EuropeanQuoteAnswer answer(text);
    for (const QString* field : {&answer.price, &answer.change, &answer.volume, &answer.date, &answer.time}) {
        if (field->contains(u';'))
            __builtin_trap();
    }
    if (!answer.timeZone.isEmpty())
        __builtin_trap();
    return 0;
}
