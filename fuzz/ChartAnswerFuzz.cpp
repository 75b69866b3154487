// Any chart answer: the adapter either finds no quote or yields a line of exactly five fields,
// with no quoting needed, that the quote answer reads back field for field.

#include "market/ChartAnswer.h"
#include "market/QuoteAnswer.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString body = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString line;
    if (!ChartAnswer::ToQuoteLine(body, line))
        return 0;
    const QStringList fields = line.split(u',');
    if (fields.size() != 5 || line.contains(u'"'))
        __builtin_trap();
    const QuoteAnswer answer(line);
    if (answer.price != fields[0] || answer.change != fields[1] || answer.volume != fields[2] ||
        answer.date != fields[3] || answer.time != fields[4])
        __builtin_trap();
    return 0;
}
