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
    QString scratch;
    const QStringView field = ReadFieldView(line, cursor, scratch);
    if (field.isEmpty())
        return QString();
    if (field.data() == scratch.constData())
        return scratch;
    return field.toString();
}

QStringView CsvRecord::ReadFieldView(QStringView text, qsizetype& cursor, QString& scratch)
{
    if (cursor < 0)
        cursor = 0;
    const qsizetype length = text.size();
    if (cursor >= length)
        return {};

    const QChar* data = text.data();
    const bool quoted = data[cursor] == u'"';
    if (quoted)
        ++cursor;

    // The usual fields first: plain text up to a comma, or quoted text whose closing quote ends it.
    const qsizetype start = cursor;
    qsizetype stop = start;
    if (quoted) {
        while (stop < length && data[stop] != u'"')
            ++stop;
        if (stop + 1 == length || (stop + 1 < length && data[stop + 1] == u',')) {
            cursor = qMin(stop + 2, length);
            return text.sliced(start, stop - start);
        }
    } else {
        // Most characters sort after both the comma and the quote: one comparison tells.
        while (stop < length && (data[stop] > u',' || (data[stop] != u',' && data[stop] != u'"')))
            ++stop;
        if (stop == length || data[stop] == u',') {
            cursor = qMin(stop + 1, length);
            return text.sliced(start, stop - start);
        }
    }

    // Runs of ordinary characters are taken whole; only quotes (and commas inside quotes) are looked
    // at one by one. A field of a single run stays a view of it; a second piece goes to scratch.
    QStringView field;
    bool inScratch = false;
    auto add = [&](QStringView piece) {
        if (piece.isEmpty())
            return;
        if (field.isEmpty()) {
            field = piece;
            return;
        }
        if (!inScratch) {
            scratch.clear();
            scratch.append(field);
            inScratch = true;
        }
        scratch.append(piece);
    };
    auto result = [&]() {
        return inScratch ? QStringView(scratch) : field;
    };

    bool quotePending = false;
    qsizetype runStart = cursor;
    while (cursor < length) {
        const QChar c = data[cursor];
        if (c == u',' && (!quoted || quotePending)) {
            add(text.sliced(runStart, cursor - runStart));
            ++cursor; // the comma is consumed
            return result();
        }
        if (c == u'"') {
            add(text.sliced(runStart, cursor - runStart));
            if (quotePending)
                add(text.sliced(cursor, 1)); // the second of two quotes
            quotePending = !quotePending;
            runStart = cursor + 1;
        }
        ++cursor;
    }
    add(text.sliced(runStart, cursor - runStart));
    return result();
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
