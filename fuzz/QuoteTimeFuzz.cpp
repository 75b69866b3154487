// Any date and time texts (the input split at its first line feed): the quote time is computed
// without overflow and is 0, -1 or a moment after 1970.

#include "market/QuoteAnswer.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = text.indexOf(u'\n');
    const QString date = split < 0 ? text : text.left(split);
    const QString time = split < 0 ? QString() : text.mid(split + 1);
    const qint32 moment = QuoteAnswer::QuoteTimeOf(date, time);
    if (moment < -1)
        __builtin_trap();
    return 0;
}
