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
    if (cursor < 0)
        cursor = 0;
    const qsizetype length = line.size();
    if (cursor >= length)
        return QString();

    const QChar* text = line.constData();
    const bool quoted = text[cursor] == u'"';
    if (quoted)
        ++cursor;

    // Runs of ordinary characters are copied whole; only quotes (and commas inside quotes) are
    // looked at one by one.
    QString field;
    bool quotePending = false;
    qsizetype runStart = cursor;
    auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            field.append(text + runStart, end - runStart);
    };
    while (cursor < length) {
        const QChar c = text[cursor];
        if (c == u',' && (!quoted || quotePending)) {
            flushRun(cursor);
            ++cursor; // the comma is consumed
            return field;
        }
        if (c == u'"') {
            flushRun(cursor);
            if (quotePending)
                field += u'"';
            quotePending = !quotePending;
            runStart = cursor + 1;
        }
        ++cursor;
    }
    flushRun(cursor);
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
    if (quote)
        line += u'"';
    const qsizetype length = text.size();
    const QChar* data = text.constData();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = data[i];
        if (c != u'"' && c != u'\r' && c != u'\n')
            continue;
        line.append(data + runStart, i - runStart);
        if (c == u'"') {
            line += u"\"\""_s;
        } else {
            line += u' '; // CR LF, LF or CR: one space
            if (c == u'\r' && i + 1 < length && data[i + 1] == u'\n')
                ++i;
        }
        runStart = i + 1;
    }
    line.append(data + runStart, length - runStart);
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
