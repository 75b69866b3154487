#include "platform/DesktopEntry.h"

#include <QFile>

using namespace Qt::StringLiterals;

std::optional<DesktopEntry> DesktopEntry::Load(const QString& path)
{
    constexpr qint64 maxSize = 1 << 20;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxSize)
        return std::nullopt;
    const QByteArray content = file.read(maxSize + 1);
    if (content.size() > maxSize)
        return std::nullopt;
    return Parse(content);
}

DesktopEntry DesktopEntry::Parse(const QByteArray& content)
{
    DesktopEntry entry;
    QHash<QString, QString>* group = nullptr;
    const QString text = QString::fromUtf8(content);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[')) {
            if (!trimmed.endsWith(u']')) {
                group = nullptr;
                continue;
            }
            group = &entry.m_groups[trimmed.mid(1, trimmed.size() - 2).toString()];
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!group || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed().toString();
        if (key.isEmpty() || group->contains(key))
            continue;
        // Blanks around '=' are not part of the value; a value that starts with a blank writes it \s.
        group->insert(key, line.mid(equals + 1).trimmed().toString());
    }
    return entry;
}

bool DesktopEntry::Contains(const QString& key, const QString& group) const
{
    const auto it = m_groups.constFind(group);
    return it != m_groups.cend() && it->contains(key);
}

QString DesktopEntry::Value(const QString& key, const QString& group) const
{
    const auto it = m_groups.constFind(group);
    if (it == m_groups.cend())
        return QString();
    return Unescape(it->value(key));
}

bool DesktopEntry::BoolValue(const QString& key, bool defaultValue, const QString& group) const
{
    const QString value = Value(key, group);
    if (value == u"true"_s || value == u"1"_s)
        return true;
    if (value == u"false"_s || value == u"0"_s)
        return false;
    return defaultValue;
}

QString DesktopEntry::Unescape(const QString& raw)
{
    QString text;
    text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 == raw.size()) {
            text += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case u's':
            text += u' ';
            break;
        case u'n':
            text += u'\n';
            break;
        case u't':
            text += u'\t';
            break;
        case u'r':
            text += u'\r';
            break;
        case u'\\':
            text += u'\\';
            break;
        default:
            text += c;
            text += next;
            break;
        }
    }
    return text;
}

QString DesktopEntry::Escape(const QString& text)
{
    QString raw;
    raw.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\\':
            raw += u"\\\\"_s;
            break;
        case u'\n':
            raw += u"\\n"_s;
            break;
        case u'\t':
            raw += u"\\t"_s;
            break;
        case u'\r':
            raw += u"\\r"_s;
            break;
        case u' ':
            raw += i == 0 ? u"\\s"_s : u" "_s;
            break;
        default:
            raw += c;
            break;
        }
    }
    return raw;
}
