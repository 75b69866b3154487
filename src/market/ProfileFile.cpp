#include "market/ProfileFile.h"

#include "market/DataFile.h"

#include <QStringList>

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

QStringView TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

ProfileFile ProfileFile::Read(const QString& path)
{
    QStringList lines;
    if (!DataFile::ReadLines(path, lines))
        return ProfileFile();
    return FromText(lines.join(u'\n'));
}

ProfileFile ProfileFile::FromText(const QString& text)
{
    ProfileFile profile;
    QHash<QString, QString>* section = nullptr; // null: before the first section, or a repeated one
    for (const QStringView rawLine : QStringTokenizer(text, u'\n')) {
        const QStringView line = TrimBlanks(rawLine);
        if (line.isEmpty() || line.front() == u';' || line.front() == u'#')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            const QString name = (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).toString();
            // A section seen before keeps its first body; later copies are not read.
            section = profile.m_sections.contains(name) ? nullptr : &profile.m_sections[name];
            continue;
        }
        if (!section)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = TrimBlanks(line.first(equals)).toString();
        if (key.isEmpty() || section->contains(key))
            continue;
        section->insert(key, TrimBlanks(line.sliced(equals + 1)).left(kMaxValueLength).toString());
    }
    return profile;
}

QString ProfileFile::Value(const QString& section, const QString& key) const
{
    const auto found = m_sections.constFind(section);
    if (found == m_sections.constEnd())
        return QString();
    return found->value(key);
}
