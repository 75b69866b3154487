#include "market/CsvRecord.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

bool CsvRecord::Parse()
{
    return true;
}

bool CsvRecord::Format()
{
    return true;
}

QString CsvRecord::ReadField()
{
    QString field;
    if (cursor < 0)
        cursor = 0;
    const qsizetype length = line.size();
    if (cursor >= length)
        return field;

    const QChar* text = line.constData();
    const bool quoted = text[cursor] == u'"';
    if (quoted)
        ++cursor;

    bool quotePending = false;
    while (cursor < length) {
        const QChar c = text[cursor++];
        if (c == u',' && (!quoted || quotePending))
            break;
        if (c != u'"') {
            field += c;
        } else if (quotePending) {
            field += u'"';
            quotePending = false;
        } else {
            quotePending = true;
        }
    }
    return field;
}

void CsvRecord::ClearLine()
{
    line.clear();
    m_fieldsWritten = 0;
    m_lengthAfterAppend = 0;
}

void CsvRecord::AppendField(const QString& text)
{
    // `line` changed since the last append (a caller cleared or set it): count what is there now.
    if (line.size() != m_lengthAfterAppend)
        m_fieldsWritten = line.isEmpty() ? 0 : 1;
    if (m_fieldsWritten > 0)
        line += u',';

    const bool quote = text.contains(u',') || text.startsWith(u'"');
    line.reserve(line.size() + text.size() + 2);
    if (quote)
        line += u'"';
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            line += u"\"\""_s;
        } else if (c == u'\r') {
            line += u' ';
            if (i + 1 < length && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            line += u' ';
        } else {
            line += c;
        }
    }
    if (quote)
        line += u'"';

    ++m_fieldsWritten;
    m_lengthAfterAppend = line.size();
}

bool CsvRecord::ReadRecord(QTextStream& in)
{
    if (in.atEnd())
        return false;
    line = in.readLine();
    while (line.endsWith(u'\r'))
        line.chop(1);
    cursor = 0;
    Parse();
    return true;
}

void CsvRecord::WriteRecord(QTextStream& out)
{
    Format();
    out << line << u"\r\n"_s;
}
