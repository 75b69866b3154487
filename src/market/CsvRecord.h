#pragma once

#include <QString>
#include <QStringView>

class QTextStream;

// Base of every record kept as one comma-separated line: the stock, rule, alert and announcement
// files and the quote answer. A field holding a comma is enclosed in double quotes; a double quote
// inside a field is written twice.
class CsvRecord
{
public:
    CsvRecord() = default;
    CsvRecord(const CsvRecord&) = default;
    CsvRecord& operator=(const CsvRecord&) = default;
    virtual ~CsvRecord() = default;

    // Fills the derived record's fields from `line`; true on success. The base does nothing.
    virtual bool Parse();
    // Builds `line` from the fields; true. The base does nothing.
    virtual bool Format();

    void ResetCursor() { cursor = 0; }

    // The next field of `line` from the cursor; past the end an empty text.
    //  - a field that begins with a double quote is quoted: the quote is skipped;
    //  - a comma ends the field when it is unquoted or when a quote is pending;
    //  - two double quotes in a row read as one; a lone quote in an unquoted field is dropped;
    //  - characters after a closing quote and before the next comma still belong to the field.
    QString ReadField();

    // The next field of `text` from `cursor`, read as ReadField reads it; the cursor moves past it.
    // A field that needs no unquoting is a view into `text`; any other is built in `scratch`, and the
    // view points there until the next call.
    static QStringView ReadFieldView(QStringView text, qsizetype& cursor, QString& scratch);

    // Starts a new line for Format: `line` is emptied and the next AppendField writes the first field.
    void ClearLine();

    // Appends one field to `line`: a separating comma before every field but the first, double quotes
    // around a text holding a comma or beginning with a double quote, and every double quote written
    // twice. A line break inside the text (CR LF, LF or CR) is written as one space, since a record
    // is one line of its file.
    void AppendField(const QString& text);

    // Reads the next line (end-of-line characters removed) into `line` and parses it; false only at
    // the end of the stream. The result of Parse does not count: every line read yields a record.
    bool ReadRecord(QTextStream& in);

    // Formats the record and writes `line` followed by CR LF.
    void WriteRecord(QTextStream& out);

    int version = 1;      // format version of the line to parse (set from the file header)
    QString line;         // one line: the input of Parse, the output of Format
    qsizetype cursor = 0; // characters of `line` already consumed by ReadField

private:
    // Which fields AppendField has written to `line`, so that an empty first field still gets its
    // separator. When `line` was changed by other means, its emptiness tells whether a field is there.
    qsizetype m_fieldsWritten = 0;
    qsizetype m_lengthAfterAppend = 0;
};
