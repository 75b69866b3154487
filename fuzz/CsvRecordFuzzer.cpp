// Fuzzes the comma-separated line format: any bytes, decoded as a data file decodes them, must split
// into fields without a crash, and the fields written back with AppendField must read back the same.
#include "market/CsvRecord.h"
#include "market/DataFile.h"

#include <QStringList>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (QString line : DataFile::SplitLines(bytes)) {
        line.remove(u'\r'); // a lone CR is written as a space: leave it out of the round trip

        CsvRecord reader;
        reader.line = line;
        QStringList fields;
        qsizetype previous = -1;
        while (reader.cursor < line.size()) {
            if (reader.cursor <= previous)
                std::abort(); // ReadField must always make progress
            previous = reader.cursor;
            fields.append(reader.ReadField());
        }
        if (!reader.ReadField().isEmpty())
            std::abort(); // past the end there is nothing

        CsvRecord writer;
        for (const QString& field : fields)
            writer.AppendField(field);
        CsvRecord back;
        back.line = writer.line;
        for (const QString& field : fields) {
            if (back.ReadField() != field)
                std::abort();
        }
        if (back.cursor < back.line.size())
            std::abort(); // the written line holds exactly those fields
    }
    return 0;
}
